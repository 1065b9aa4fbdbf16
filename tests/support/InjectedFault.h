#pragma once
// A system call that fails with a given errno while the object lives, by
// libfiu's POSIX preload library (the test executable runs with it in
// LD_PRELOAD). Points are libfiu's names, e.g. "posix/io/rw/write".
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fiu-control.h>
#include <fiu.h>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <random>
#include <string>

#include "FailureText.h"

namespace testsupport {

// libfiu crashes when its preload library is missing, and without it no
// fault could be injected: every test would pass for the wrong reason.
inline bool FaultsCanBeInjected() {
    const char* preload = std::getenv("LD_PRELOAD");
    if (!preload || !std::strstr(preload, "fiu_posix_preload")) {
        ADD_FAILURE() << "no fault injected: run with LD_PRELOAD=.../fiu_posix_preload.so";
        return false;
    }
    static const bool ready = fiu_init(0) == 0;
    EXPECT_TRUE(ready);
    return ready;
}

class InjectedFault {
public:
    // `once`: only the next call fails.
    InjectedFault(const char* point, int error, bool once = false) : point_(point) {
        if (!FaultsCanBeInjected())
            return;
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

// The text of the failure `action` throws while `point` fails with
// `error`, or "no failure".
inline std::string FailureUnder(const char* point, int error, const std::function<void()>& action) {
    InjectedFault fault(point, error);
    return FailureText(action);
}

// Counts the calls of a point while the object lives and fails, with the
// given errno, the call numbered `failAt` (from 1; 0 fails none) and each
// call with the chance `chance` (drawn from a generator seeded with
// `seed`, so a run can be repeated). Calls from any thread count.
class CountedFault {
public:
    CountedFault(const char* point, int error, long failAt, double chance = 0, unsigned seed = 1)
        : point_(point) {
        if (!FaultsCanBeInjected())
            return;
        State& s = TheState();
        s.calls = 0;
        s.failures = 0;
        s.failAt = failAt;
        s.chance = chance;
        s.random.seed(seed);
        enabled_ = fiu_enable_external(point, 1, reinterpret_cast<void*>(std::intptr_t{error}), 0,
                                       &Decide) == 0;
        EXPECT_TRUE(enabled_) << point;
    }
    ~CountedFault() {
        if (enabled_)
            fiu_disable(point_);
    }
    CountedFault(const CountedFault&) = delete;
    CountedFault& operator=(const CountedFault&) = delete;

    long Calls() const { return TheState().calls; }
    long Failures() const { return TheState().failures; }

private:
    struct State {
        std::atomic<long> calls{0};
        std::atomic<long> failures{0};
        long failAt = 0;
        double chance = 0;
        std::mutex lock;
        std::mt19937 random;
    };
    static State& TheState() {
        static State state;
        return state;
    }
    static int Decide(const char*, int*, void**, unsigned*) {
        State& s = TheState();
        const long call = ++s.calls;
        bool fail = call == s.failAt;
        if (!fail && s.chance > 0) {
            const std::lock_guard<std::mutex> hold(s.lock);
            fail = std::uniform_real_distribution<double>(0, 1)(s.random) < s.chance;
        }
        if (fail)
            ++s.failures;
        return fail ? 1 : 0;
    }

    const char* point_;
    bool enabled_ = false;
};

} // namespace testsupport
