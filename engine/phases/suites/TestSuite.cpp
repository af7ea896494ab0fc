#include "engine/phases/suites/TestSuite.h"

#include <algorithm>
#include <filesystem>

#include "common/PersonalityFormat.h"
#include "engine/core/Files.h"
#include "engine/core/Reporter.h"
#include "engine/core/TextUtilities.h"

namespace fs = std::filesystem;

namespace {

// Suite sources are small; a larger file is no test of ours.
constexpr std::size_t kMaxTestBytes = 1u << 20;

// A header text: everything after the first ":" of the line without the blanks around it,
// when the line carries its marker.
std::string HeaderText(const std::string& line, const std::string& marker)
{
    if (line.find(marker) == std::string::npos)
        return {};
    // "//Success: -x+" is written as naturally as "//Success:-x+"; the blank would start the
    // personality line, which then reads as no option.
    std::string text = line.substr(line.find(':') + 1);
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

std::optional<std::vector<SuiteTest>> ScanTestDir(const std::string& directory, const std::string& extension,
                                                  int& unreadable, Reporter& report)
{
    report.Say("Scanning for compiler tests ...");
    std::error_code ec;
    fs::directory_iterator entries(directory, ec);
    if (ec)
        return std::nullopt;
    std::vector<SuiteTest> tests;
    for (const fs::directory_entry& entry : entries) {
        const std::string name = entry.path().filename().string();
        // Only sources of the product: a ".cpp" file is no C test, nor is a backup copy.
        if (!EndsWith(name, extension))
            continue;
        SuiteTest test;
        test.Path = directory + "/" + name;
        test.FileName = name;
        std::string error;
        if (!ReadWholeFile(test.Path, test.Source, &error, kMaxTestBytes)) {
            report.Say("Error: Cannot read the test source " + test.Path + ": " + error);
            ++unreadable;
            continue;
        }
        const std::vector<std::string> lines = SplitLines(test.Source.substr(0, 4096));
        auto line = [&](std::size_t i) { return i < lines.size() ? lines[i] : std::string(); };
        test.ErrorText = HeaderText(line(0), "Error:");
        test.SuccessText = HeaderText(line(1), "Success:");
        test.Execute = line(2).find("Execute") != std::string::npos;
        tests.push_back(std::move(test));
    }
    std::sort(tests.begin(), tests.end(), [](const SuiteTest& a, const SuiteTest& b) { return a.Path < b.Path; });
    return tests;
}

bool ConductTest(const RunContext& context, const SuiteTest& test, const std::string& defineText, std::string& result)
{
    bool outcome = false;
    if (test.Execute) {
        // A program cannot run on the host of a cross compiler, so such a test never decides
        // there and building it would only cost a compiler run.
        if (context.Target.IsCrossCompiler)
            return false;
        const ProgramResult program = context.BuildAndRun(test.Source, test.FileName, defineText);
        outcome = program.Built;
        result = program.Built ? program.Run.Stdout + program.Run.Stderr : std::string();
        if (result.find("-bits") == std::string::npos)
            result.clear();
        // The program reports one line; anything after its line end would become a line of
        // its own in the personality.
        result = result.substr(0, result.find_first_of("\r\n"));
    } else {
        outcome = context.CompileFile(test.Source, test.FileName, defineText).Accepted();
        result = outcome ? test.SuccessText : test.ErrorText;
    }

    result = QuotedTestText(result);
    return outcome;
}

std::string QuotedTestText(const std::string& text)
{
    const std::string extension = kxcommon::OptionOf(kxcommon::LineKind::Extension) + std::string(" ");
    if (text.find(' ') != std::string::npos && text.find(extension) == std::string::npos)
        return kxcommon::QuoteText(text);
    return text;
}
