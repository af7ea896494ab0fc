// The compile command of one probe, made from the user's template.
#pragma once

#include <string>

#include "engine/core/Options.h"

// The six placeholders of a compile-command template, and whether the template holds each.
// Returns the first one missing, or nullptr.
const char* MissingPlaceholder(const std::string& orderStr);

// Fills the template for the source file: an object build, or with buildExecutable a program
// named source + ".exe"; extraDefine is one more definition for this command only. Throws
// std::invalid_argument when the template lacks a placeholder.
std::string GetCompleteCommandStr(const Options& options, const std::string& source,
                                  bool buildExecutable, const std::string& extraDefine);
