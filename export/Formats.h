// The formats a personality can be exported in. Each builds the text of its files from the
// facts alone; writing them is the caller's business.
#pragma once

#include <string>
#include <vector>

#include "export/PersonalityFacts.h"

namespace kxexport {

struct OutputFile {
    std::string Name;  // file name inside the output directory
    std::string Content;
};

// compile_flags.txt and NAME.clangd: flags for clang, clangd and clang-tidy.
std::vector<OutputFile> ExportClang(const Personality& personality);
// NAME.platform.xml, NAME.cfg and NAME.includes.txt for cppcheck.
std::vector<OutputFile> ExportCppcheck(const Personality& personality);
// NAME.h: one header for any tool that reads a file before every source.
std::vector<OutputFile> ExportHeader(const Personality& personality);
// NAME.check.c (.cpp for C++): a source that asserts every measured fact at compile time.
std::vector<OutputFile> ExportCheck(const Personality& personality);

using Exporter = std::vector<OutputFile> (*)(const Personality&);

// The exporter of a format named on the command line, or nullptr.
Exporter FindFormat(const std::string& name);
// The format names, for the usage text.
std::string FormatNames();

}  // namespace kxexport
