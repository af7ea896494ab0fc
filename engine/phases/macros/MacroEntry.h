// The define entry of one macro: the last step of every method that reads macro values, so
// it lies below them all.
#pragma once

#include <set>
#include <string>

// Cleans a value the compiler showed for the macro and records its entry (NAME=VALUE, quoted
// when the value holds a blank, and the stringify helper when the value was a string
// literal).
void TidyAndAddDefine(std::string value, const std::string& name, std::set<std::string>& foundDefines);
