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

// gcc's version macros (__GNUC__, __GNUC_MINOR__, __GNUC_PATCHLEVEL__): the clang format
// gives clang-based tools at most gcc 4.9 in them, the check source does not assert them there.
bool IsGnucVersionMacro(const std::string& name);

// _Float16, _Float32x, ...: type keywords of gcc 7 and later, which the C library's headers
// declare themselves for the older gcc that the clang format claims; it leaves them to the
// headers, and the check source does not use them under clang.
bool IsFloatNType(const std::string& name);

}  // namespace kxexport
