// Which of many headers the compiler finds, from one compile: every header is asked with
// __has_include, and each header found leaves a variable of its own in the object.
#pragma once

#include <optional>
#include <string>
#include <vector>

// True when the header's name can be written between the angle brackets of __has_include
// without a character that ends, escapes or comments out what follows.
bool AskableByHasInclude(const std::string& header);

// The source asking for each header. Two controls make every compile check itself: the
// made-up name `missing`, asked first, must not be found, and the source's own file name,
// asked last in quotes, must.
std::string HasIncludeSource(const std::vector<std::string>& headers, const std::string& sourceName,
                             const std::string& missing);

// The answers read from the object of that source (binary, or text such as assembler, where
// the names stand as they are), or nothing when the controls did not come out as they must.
std::optional<std::vector<bool>> ReadHasIncludeAnswers(const std::string& object, std::size_t count);
