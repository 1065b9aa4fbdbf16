// The drive table is made by whichever thread asks first, as when the
// command line's workers are the first to look a path up. Built with
// ThreadSanitizer, so a data race fails the run; every thread must also see
// the same table.
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/Drives.h"
#include "platform/Paths.h"

int main() {
    constexpr int kThreads = 8;
    std::vector<std::string> seen(kThreads);
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i)
        threads.emplace_back([&seen, i] {
            std::string host;
            platform::ToHostPath(i % 2 ? "tool.exe" : "C:\\tmp\\tool.exe", host);
            seen[static_cast<std::size_t>(i)] = platform::ToWindowsPath("/tmp") + " " + host;
        });
    for (std::thread& t : threads)
        t.join();
    for (int i = 2; i < kThreads; ++i)
        if (seen[static_cast<std::size_t>(i)] != seen[static_cast<std::size_t>(i % 2)]) {
            std::fprintf(stderr, "thread %d saw %s\n", i,
                         seen[static_cast<std::size_t>(i)].c_str());
            return 1;
        }
    if (seen[0].rfind("C:\\tmp ", 0) != 0) {
        std::fprintf(stderr, "the default table maps /tmp to %s\n", seen[0].c_str());
        return 1;
    }
    return 0;
}
