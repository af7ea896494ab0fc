// What the exported facts cost an analyser in time: each analyser of tests/analysers reads the
// standard headers of every compiler's library (or a whole tree) three times, with no facts,
// with the compiler's include directories alone, and with the files kestrix-export writes,
// and the wall time of each is printed with the ratios. With no facts an analyser finds none
// of the compiler's headers and reads only the source itself, so the include directories
// alone are the yardstick of what reading the headers costs.
//
//   bench_analysers [cppcheck|clang-tidy|clangd] [headers|treeA|treeB]
// The personalities come from the build tree's tests/personalities (ctest -L personality).
#include <cstdio>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

namespace {

struct Times {
    std::map<std::string, double> ByMode;  // none, dirs, facts
    std::map<std::string, int> Errors;
};

}  // namespace

int main(int argc, char** argv)
{
    const std::string tool = argc > 1 ? argv[1] : "cppcheck";
    const std::string set = argc > 2 ? argv[2] : "headers";
    const std::string command = std::string("KESTRIX_ANALYSERS_MODES='none dirs facts' KESTRIX_EXPORT='") +
                                KESTRIX_EXPORT_BINARY + "' KESTRIX_PERSONALITIES='" + KESTRIX_PERSONALITIES_DIR +
                                "' bash '" + KESTRIX_SOURCE_DIR + "/tests/analysers/analysers.sh' " + set + " " + tool +
                                " 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        std::fprintf(stderr, "Cannot start %s.\n", command.c_str());
        return 1;
    }
    const std::regex line(R"(^\S+ \S+ (\S+) (none|dirs|facts) files=\d+ errors=(\d+) .* seconds=([0-9.]+))");
    std::vector<std::string> order;
    std::map<std::string, Times> units;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe.get())) {
        std::cmatch match;
        if (!std::regex_search(buffer, match, line)) {
            if (std::string(buffer).rfind("No personality", 0) == 0 || std::string(buffer).find("not installed") != std::string::npos)
                std::fputs(buffer, stderr);
            continue;
        }
        if (units.count(match[1]) == 0)
            order.push_back(match[1]);
        units[match[1]].ByMode[match[2]] = std::stod(match[4]);
        units[match[1]].Errors[match[2]] = std::stoi(match[3]);
    }
    std::printf("%s on %s: wall time (s) and parse errors per compiler\n", tool.c_str(), set.c_str());
    std::printf("%-22s %8s %8s %8s %11s %11s   errors none/dirs/facts\n", "compiler", "none", "dirs", "facts",
                "facts/none", "facts/dirs");
    for (const std::string& unit : order) {
        Times& t = units[unit];
        auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
        std::printf("%-22s %8.2f %8.2f %8.2f %11.1f %11.2f   %d/%d/%d\n", unit.c_str(), t.ByMode["none"],
                    t.ByMode["dirs"], t.ByMode["facts"], ratio(t.ByMode["facts"], t.ByMode["none"]),
                    ratio(t.ByMode["facts"], t.ByMode["dirs"]), t.Errors["none"], t.Errors["dirs"], t.Errors["facts"]);
    }
    std::printf("dirs: the compiler's include directories alone. A tool that stops at an error in a mode\n"
                "reads less there, so compare times only where the errors are alike.\n");
    return 0;
}
