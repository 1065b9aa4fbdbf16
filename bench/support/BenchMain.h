#pragma once
// The benchmarks' common start: Google Benchmark takes its flags, the files the
// run measures on are made once and kept until every benchmark asked for has
// run, then they go.
#include <benchmark/benchmark.h>
#include <functional>

namespace bench {

// `Files` makes the inputs in its constructor and removes them in its
// destructor; `described` may add context once they exist. Returns the exit
// status.
template <class Files>
int RunOnFiles(int& argc, char** argv, const std::function<void()>& described = {}) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Files files;
    if (described)
        described();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
