#pragma once
// Another program run from a benchmark, as a peer or as the command itself.
#include <filesystem>
#include <string>
#include <vector>

namespace bench {

// Processor time (user and system) of the child processes waited for so far.
double ChildCpuSeconds();

// Starts the program with `args` ("OUT" standing for the output directory),
// its output thrown away, and waits for it; true when it exits with 0. No
// shell comes between, so only the program itself is timed.
bool RunProgram(const std::string& program, const std::vector<std::string>& args,
                const std::filesystem::path& out);

} // namespace bench
