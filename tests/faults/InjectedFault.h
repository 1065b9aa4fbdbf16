#pragma once
// A system call that fails with a given errno while the object lives, by
// libfiu's POSIX preload library (the test executable runs with it in
// LD_PRELOAD). Points are libfiu's names, e.g. "posix/io/rw/write".
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fiu-control.h>
#include <fiu.h>
#include <gtest/gtest.h>

namespace testsupport {

class InjectedFault {
public:
    // `once`: only the next call fails.
    InjectedFault(const char* point, int error, bool once = false) : point_(point) {
        // libfiu itself crashes when its preload library is missing.
        const char* preload = std::getenv("LD_PRELOAD");
        if (!preload || !std::strstr(preload, "fiu_posix_preload")) {
            ADD_FAILURE() << "no fault injected: run with LD_PRELOAD=.../fiu_posix_preload.so";
            return;
        }
        static const bool ready = fiu_init(0) == 0;
        EXPECT_TRUE(ready);
        enabled_ = fiu_enable(point, 1, reinterpret_cast<void*>(std::intptr_t{error}),
                              once ? FIU_ONETIME : 0) == 0;
        EXPECT_TRUE(enabled_) << point;
    }
    ~InjectedFault() {
        if (enabled_)
            fiu_disable(point_);
    }
    InjectedFault(const InjectedFault&) = delete;
    InjectedFault& operator=(const InjectedFault&) = delete;

private:
    const char* point_;
    bool enabled_ = false;
};

} // namespace testsupport
