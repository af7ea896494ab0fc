#include "engine/output/PersonalityWriter.h"

#include "engine/core/RunEnd.h"

std::string PersonalityWriter::Define(const std::string& define) const
{
    return DefineOption() + define;
}

std::string PersonalityWriter::QuotedDefine(const std::string& define) const
{
    return DefineOption() + ("\"" + define + "\"");
}

std::string PersonalityWriter::Extension(const std::string& spec)
{
    return "-ex " + spec;
}

std::string PersonalityWriter::Quote(const std::string& value)
{
    std::string quoted = "\"";
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '"') {
            quoted += "\\\"";
        } else if (c == '\\') {
            // Only a backslash that a reader would take for the start of an escape is doubled,
            // so that ordinary paths read as they always did.
            const bool escapeLike = i + 1 == value.size() || value[i + 1] == '"' || value[i + 1] == '\\';
            quoted += escapeLike ? "\\\\" : "\\";
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

void PersonalityWriter::SubstituteDir(const std::string& dir)
{
    Line("-i " + Quote(dir));
    Line("-q " + Quote(dir));
}

void PersonalityWriter::IncludeDir(const std::string& dir)
{
    Line((IsC ? "-i " : "-si ") + Quote(dir));
    Line("-q " + Quote(dir));
}

void PersonalityWriter::Size(const std::string& type, int bits)
{
    Line("-s " + type + "=" + std::to_string(bits));
}

void PersonalityWriter::Align(const std::string& type, int bytes)
{
    Line("-a " + type + "=" + std::to_string(bytes));
}

void PersonalityWriter::PlainCharUnsigned(bool isUnsigned)
{
    Line(isUnsigned ? "-u+" : "-u-");
}

void PersonalityWriter::IntrinsicType(const std::string& name, bool isUnsigned, const std::string& base)
{
    Line("-it \"" + name + "=" + (isUnsigned ? "unsigned " : "") + base + "\"");
}

void PersonalityWriter::IdentifierLength(bool external, int length)
{
    Line((external ? "-xn " : "-na ") + std::to_string(length));
}

void PersonalityWriter::ForceInclude(const std::string& dir, const std::string& file)
{
    Line("-q " + Quote(dir));
    Line("-fi " + Quote(file));
}

void PersonalityWriter::Line(const std::string& line)
{
    // A line end inside a value would make the rest of it a personality line of its own.
    if (line.find_first_of("\r\n") != std::string::npos)
        throw RunFailure{"Error: A personality line would hold a line end and is refused: " + line.substr(0, line.find_first_of("\r\n"))};
    Written.push_back(line);
}

std::string PersonalityWriter::Text() const
{
    std::string text;
    for (const std::string& line : Written) {
        text += line;
        text += '\n';
    }
    return text;
}
