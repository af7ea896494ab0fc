#include "engine/output/PersonalityWriter.h"

#include "engine/core/RunEnd.h"

using kxcommon::FormatLine;
using kxcommon::LineKind;
using kxcommon::QuotePath;

std::string PersonalityWriter::Define(const std::string& define) const
{
    return FormatLine(kxcommon::DefineKindFor(IsC), define);
}

std::string PersonalityWriter::QuotedDefine(const std::string& define) const
{
    return FormatLine(kxcommon::DefineKindFor(IsC), kxcommon::QuoteText(define));
}

std::string PersonalityWriter::Extension(const std::string& spec)
{
    return FormatLine(LineKind::Extension, spec);
}

void PersonalityWriter::SubstituteDir(const std::string& dir)
{
    Line(FormatLine(LineKind::IncludeDir, QuotePath(dir)));
    Line(FormatLine(LineKind::SystemDir, QuotePath(dir)));
}

void PersonalityWriter::IncludeDir(const std::string& dir)
{
    Line(FormatLine(kxcommon::IncludeKindFor(IsC), QuotePath(dir)));
    Line(FormatLine(LineKind::SystemDir, QuotePath(dir)));
}

void PersonalityWriter::Size(const std::string& type, int bits)
{
    Line(FormatLine(LineKind::Size, type + "=" + std::to_string(bits)));
}

void PersonalityWriter::Align(const std::string& type, int bytes)
{
    Line(FormatLine(LineKind::Align, type + "=" + std::to_string(bytes)));
}

void PersonalityWriter::PlainCharUnsigned(bool isUnsigned)
{
    Line(FormatLine(isUnsigned ? LineKind::CharUnsigned : LineKind::CharSigned));
}

void PersonalityWriter::IntrinsicType(const std::string& name, bool isUnsigned, const std::string& base)
{
    const std::string type = (isUnsigned ? std::string(kxcommon::UnsignedPrefix) : std::string()) + base;
    Line(FormatLine(LineKind::IntrinsicType, kxcommon::QuoteText(name + "=" + type)));
}

void PersonalityWriter::IdentifierLength(bool external, int length)
{
    Line(FormatLine(external ? LineKind::ExternalLength : LineKind::LocalLength, std::to_string(length)));
}

void PersonalityWriter::ForceInclude(const std::string& dir, const std::string& file)
{
    Line(FormatLine(LineKind::SystemDir, QuotePath(dir)));
    Line(FormatLine(LineKind::ForceInclude, QuotePath(file)));
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
