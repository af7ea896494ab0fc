// The compiler keywords and built-ins that clang's front end reads the way the compiler does.
#pragma once

#include <string>
#include <vector>

namespace kxexport {

// True when clang-based tools know the keyword or built-in name themselves, in C or (cpp)
// in C++, on every target. Their native reading keeps what the personality's stand-in
// loses: __attribute__((mode(QI))) sets a type's width, __builtin_offsetof is a constant,
// and __alignof__ is no C keyword under the name the personality maps it to.
bool ClangReadsItself(const std::string& name, bool cpp);

// All of them, for the test that holds the list against clang.
std::vector<std::string> ClangOwnKeywords(bool cpp);

}  // namespace kxexport
