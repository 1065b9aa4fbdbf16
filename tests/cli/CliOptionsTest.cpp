// The command line read into options, and the usage errors it can hold.
#include <gtest/gtest.h>

#include "cli/CliOptions.h"

namespace {

std::string Describe(const CliOptions& o) {
    const char* policy[] = {"no", "yes", "ask"};
    std::string s = "o=" + o.outputDir + " start=" + std::to_string(o.start) +
                    " overwrite=" + policy[static_cast<int>(o.overwrite)];
    s += o.resources ? " resources" : "";
    s += o.json ? " json" : "";
    s += o.quiet ? " quiet" : "";
    s += o.help ? " help" : "";
    s += o.version ? " version" : "";
    for (const std::string& f : o.files)
        s += " [" + f + "]";
    return s;
}

} // namespace

TEST(CliOptions, ArgumentsAreReadIntoOptionsOrRefusedWithTheReason) {
    struct Case {
        std::vector<std::string> args;
        std::string options; // Describe() of the result, or
        std::string problem; // the usage error
    };
    const Case cases[] = {
        {{"a.exe"}, "o= start=1 overwrite=no [a.exe]", ""},
        {{"-o", "out", "--start", "7", "--overwrite", "ask", "a.exe", "b.exe"},
         "o=out start=7 overwrite=ask [a.exe] [b.exe]",
         ""},
        {{"--output=out dir", "--start=0", "--overwrite=yes", "--resources", "--json", "-q", "x"},
         "o=out dir start=0 overwrite=yes resources json quiet [x]",
         ""},
        // Options and files mix; "--" ends the options, "-" is a file.
        {{"a", "--json", "--", "-q", "-"}, "o= start=1 overwrite=no json [a] [-q] [-]", ""},
        {{"--help"}, "o= start=1 overwrite=no help", ""},
        {{"--version"}, "o= start=1 overwrite=no version", ""},
        {{}, "", "no FILE given"},
        {{"-q", "--json"}, "", "no FILE given"},
        {{"-o"}, "", "option -o needs a directory"},
        {{"--output=", "a"}, "", "option --output needs a directory"},
        {{"a", "--start"}, "", "--start needs a number from 0 to 1000000000"},
        {{"--start", "-1", "a"}, "", "--start needs a number from 0 to 1000000000"},
        {{"--start", "12x", "a"}, "", "--start needs a number from 0 to 1000000000"},
        {{"--start", "1000000001", "a"}, "", "--start needs a number from 0 to 1000000000"},
        {{"--start", "99999999999999999999", "a"},
         "",
         "--start needs a number from 0 to 1000000000"},
        {{"--overwrite", "all", "a"}, "", "--overwrite needs yes, no or ask"},
        {{"--overwrite"}, "", "--overwrite needs yes, no or ask"},
        {{"--json=1", "a"}, "", "unknown option --json=1"},
        {{"-x", "a"}, "", "unknown option -x"},
        {{"--resource", "a"}, "", "unknown option --resource"},
    };
    for (const Case& c : cases) {
        std::string joined;
        for (const std::string& a : c.args)
            joined += a + " ";
        SCOPED_TRACE(joined);
        CliOptions options;
        const std::string problem = ParseOptions(c.args, options);
        EXPECT_EQ(problem, c.problem);
        if (c.problem.empty()) {
            EXPECT_EQ(Describe(options), c.options);
        }
    }
}
