#include "engine/phases/includes/IncludeBatches.h"

namespace {

// The variable of answer i. The closing "x" keeps one name from being the start of another
// (kxhas1x is no part of kxhas17x).
std::string AnswerName(const std::string& which)
{
    return "kxhas" + which + "x";
}

bool Holds(const std::string& object, const std::string& name)
{
    return object.find(name) != std::string::npos;
}

}  // namespace

bool AskableByHasInclude(const std::string& header)
{
    // Comment starts, quotes and trigraphs would be read as such by compilers that take the
    // operand apart as tokens.
    if (header.empty() || header.find("/*") != std::string::npos || header.find("//") != std::string::npos ||
        header.find("??") != std::string::npos || header.find('\'') != std::string::npos)
        return false;
    for (char c : header) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '>' || c == '"' || c == '\\' || u < 0x20 || u > 0x7E)
            return false;
    }
    return true;
}

std::string HasIncludeSource(const std::vector<std::string>& headers, const std::string& sourceName,
                             const std::string& missing)
{
    // A compiler without the operator skips everything, and then the found control is
    // absent; so it is when anything in between derailed the compiler.
    std::string text = "#if defined(__has_include)\n";
    text += "#if __has_include(<" + missing + ">)\nint " + AnswerName("no") + " = 1;\n#endif\n";
    for (std::size_t i = 0; i < headers.size(); ++i)
        text += "#if __has_include(<" + headers[i] + ">)\nint " + AnswerName(std::to_string(i)) + " = 1;\n#endif\n";
    text += "#if __has_include(\"" + sourceName + "\")\nint " + AnswerName("ok") + " = 1;\n#endif\n";
    text += "#endif\n";
    return text;
}

std::optional<std::vector<bool>> ReadHasIncludeAnswers(const std::string& object, std::size_t count)
{
    if (!Holds(object, AnswerName("ok")) || Holds(object, AnswerName("no")))
        return std::nullopt;
    std::vector<bool> found(count);
    for (std::size_t i = 0; i < count; ++i)
        found[i] = Holds(object, AnswerName(std::to_string(i)));
    return found;
}
