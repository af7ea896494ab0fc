// The test-suite folders: small sources whose first three lines name the personality text
// for failure ("Error:") and success ("Success:"), and whether the source is a program to
// run ("Execute"). Shared by the keyword classification and the general suite.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/probe/RunContext.h"

struct SuiteTest {
    std::string Path;         // where it was read from
    std::string FileName;     // the name it is compiled under
    std::string Source;
    std::string ErrorText;
    std::string SuccessText;
    bool Execute = false;
};

// Reads the test sources of the product (".c" or ".cpp") in the folder, in ascending order
// of their names. Nothing (no value) when the folder cannot be read; a source that cannot be
// read is said, left out and counted in `unreadable`, as its facts are then missing.
std::optional<std::vector<SuiteTest>> ScanTestDir(const std::string& directory, const std::string& extension,
                                                  int& unreadable, Reporter& report);

// A test's text as the personality takes it: in double quotes when it holds a blank, unless
// it is an extension line ("-ex ...").
std::string QuotedTestText(const std::string& text);

// Runs one test with the define text added to its command. True when the compiler accepted
// it (or, for a program, built it); result receives the test's text for the outcome.
bool ConductTest(const RunContext& context, const SuiteTest& test, const std::string& defineText, std::string& result);
