// Text of macro definitions as the personality writes them and as C sources need them.
#pragma once

#include <string>
#include <vector>

namespace kxexport {

// The analyser's helper macro: a predefined macro whose value is a string literal is
// written as NAME=_VMT_STRINGIFY(text).
inline constexpr const char* StringHelperName = "_VMT_STRINGIFY";

bool IsIdentifier(const std::string& text);

// The names of a parameter list such as "(t,m)" or "(a,...)"; "..." is kept as a name.
std::vector<std::string> ParameterNames(const std::string& parameters);

// The value with every use of the string helper replaced by the string literal it stands
// for; inside a function-like define, the helper applied to a parameter becomes "#param".
std::string ResolveStringHelper(const std::string& value, const std::string& parameters);

// A C string literal holding the text.
std::string CStringLiteral(const std::string& text);

// True when the value is an integer constant expression made only of integer literals,
// parentheses and the operators + - ~ * (so that a source may compare a macro with it).
bool IsIntegerValue(const std::string& value);

// Runs of blanks and tabs outside string and character literals replaced by one separator,
// none at either end.
std::string CollapseBlanks(const std::string& text, const std::string& separator = " ");

}  // namespace kxexport
