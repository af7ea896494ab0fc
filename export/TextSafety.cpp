#include "export/TextSafety.h"

#include <cctype>
#include <cstdio>

#include "export/ExportError.h"
#include "export/MacroText.h"

namespace kxexport {

namespace {

// The code point of the UTF-8 sequence at i and its length, or -1 when the bytes there are
// not one (overlong forms and surrogates included, which a strict reader refuses).
long DecodeUtf8(const std::string& text, std::size_t i, std::size_t& length)
{
    const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    length = 1;
    if (lead < 0x80)
        return lead;
    long point = 0;
    long smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, point = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, point = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, point = lead & 0x07, smallest = 0x10000;
    } else {
        length = 1;
        return -1;
    }
    if (i + length > text.size()) {
        length = 1;
        return -1;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            length = 1;
            return -1;
        }
        point = (point << 6) | (byte(i + k) & 0x3F);
    }
    if (point < smallest || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
        length = 1;
        return -1;
    }
    return point;
}

bool IsControl(long point) { return point < 0x20 || point == 0x7F; }

// Characters that XML 1.0 and YAML 1.1 readers both accept written as they are.
bool IsPlainPrintable(long point)
{
    return !IsControl(point) && !(point >= 0x80 && point <= 0x9F) && point != 0xFFFE && point != 0xFFFF;
}

std::string Hex(long value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*lX", digits, value);
    return text;
}

[[noreturn]] void Refuse(const std::string& text, const ExportPlace& place, const std::string& problem)
{
    throw ExportError("Cannot write " + place.File + " for the personality " + place.PersonalityPath + ": " + place.What
                      + " (\"" + VisibleText(text) + "\") holds " + problem + ", which " + place.File + " cannot carry.");
}

bool IsIdentifierByte(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }

// One reading of a line: ordinary literals end at their quote or the line's end; with
// digitSeparators a quote inside a number is part of it (C++14, C23); with rawStrings a
// prefix R opens a raw literal, which a compiler may carry over the line's end.
CLineEnd ScanOnce(const std::string& line, bool digitSeparators, bool rawStrings)
{
    CLineEnd end;
    bool inNumber = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        const bool afterWord = i > 0 && IsIdentifierByte(line[i - 1]);
        if (std::isdigit(static_cast<unsigned char>(c)) && !afterWord)
            inNumber = true;
        else if (!IsIdentifierByte(c) && c != '.' && c != '\'')
            inNumber = false;
        if (c == '\'' && inNumber && digitSeparators) {
            continue;
        }
        if (c == '"' && rawStrings && afterWord && line[i - 1] == 'R') {
            const std::size_t open = line.find('(', i + 1);
            const std::string close = open == std::string::npos ? "" : ")" + line.substr(i + 1, open - i - 1) + "\"";
            const std::size_t closeAt = close.empty() ? std::string::npos : line.find(close, open + 1);
            if (closeAt == std::string::npos) {
                end.OpenComment = true;
                return end;
            }
            i = closeAt + close.size() - 1;
            inNumber = false;
            continue;
        }
        if (c == '"' || c == '\'') {
            std::size_t k = i + 1;
            while (k < line.size() && line[k] != c)
                k += line[k] == '\\' ? 2 : 1;
            i = k;
            inNumber = false;
            continue;
        }
        if (c == '/' && i + 1 < line.size() && line[i + 1] == '/') {
            end.LineComment = true;
            break;
        }
        if (c == '/' && i + 1 < line.size() && line[i + 1] == '*') {
            const std::size_t close = line.find("*/", i + 2);
            if (close == std::string::npos) {
                end.OpenComment = true;
                break;
            }
            i = close + 1;
        }
    }
    return end;
}

}  // namespace

void RefuseControlCharacters(const std::string& text, const ExportPlace& place, bool tabAllowed)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsControl(byte) && !(tabAllowed && c == '\t'))
            Refuse(text, place, "the control character 0x" + Hex(byte, 2));
    }
}

void RefuseNonUtf8(const std::string& text, const ExportPlace& place)
{
    std::size_t length = 0;
    for (std::size_t i = 0; i < text.size(); i += length) {
        if (DecodeUtf8(text, i, length) < 0)
            Refuse(text, place, "the byte 0x" + Hex(static_cast<unsigned char>(text[i]), 2) + " (not UTF-8 text)");
    }
}

std::string VisibleText(const std::string& text)
{
    std::string visible;
    std::size_t length = 0;
    for (std::size_t i = 0; i < text.size(); i += length) {
        const long point = DecodeUtf8(text, i, length);
        if (point < 0)
            visible += "\\x" + Hex(static_cast<unsigned char>(text[i]), 2);
        else if (!IsPlainPrintable(point))
            visible += point < 0x100 ? "\\x" + Hex(point, 2) : "\\u" + Hex(point, 4);
        else
            visible += text.substr(i, length);
    }
    return visible;
}

std::string ResponseFileWord(const std::string& argument, const ExportPlace& place)
{
    RefuseControlCharacters(argument, place);
    if (!argument.empty() && argument[0] == '@')
        Refuse(argument, place, "a leading \"@\" (clang would read a further response file named by it)");
    if (!argument.empty() && argument.find_first_of(" \t\"'\\") == std::string::npos)
        return argument;
    // The response files' quoting escapes exactly what a C string literal escapes.
    return CStringLiteral(argument);
}

std::string YamlQuoted(const std::string& text, const ExportPlace& place)
{
    RefuseNonUtf8(text, place);
    std::string scalar = "\"";
    std::size_t length = 0;
    for (std::size_t i = 0; i < text.size(); i += length) {
        const long point = DecodeUtf8(text, i, length);
        if (point == '"' || point == '\\')
            scalar += "\\" + text.substr(i, 1);
        else if (!IsPlainPrintable(point) || point == '\t')
            scalar += "\\u" + Hex(point, 4);
        else
            scalar += text.substr(i, length);
    }
    return scalar + "\"";
}

std::string XmlAttributeText(const std::string& text, const ExportPlace& place)
{
    RefuseControlCharacters(text, place);
    RefuseNonUtf8(text, place);
    std::string escaped;
    std::size_t length = 0;
    for (std::size_t i = 0; i < text.size(); i += length) {
        const long point = DecodeUtf8(text, i, length);
        switch (point) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        case '\'': escaped += "&apos;"; break;
        // A parser turns a raw tab inside an attribute into a blank.
        case '\t': escaped += "&#9;"; break;
        default:
            if (point == 0xFFFE || point == 0xFFFF)
                Refuse(text, place, "the character U+" + Hex(point, 4));
            escaped += text.substr(i, length);
        }
    }
    return escaped;
}

CLineEnd ScanCLine(const std::string& line)
{
    // The language level of the reader is not known here: a line is taken as open when any
    // of the readings leaves it open.
    CLineEnd end;
    for (const auto& [separators, raw] : {std::pair{false, false}, std::pair{true, false}, std::pair{true, true}}) {
        const CLineEnd one = ScanOnce(line, separators, raw);
        end.OpenComment = end.OpenComment || one.OpenComment;
        end.LineComment = end.LineComment || one.LineComment;
    }
    const auto endsWith = [&](const std::string& tail) {
        return line.size() >= tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0;
    };
    end.Splices = endsWith("\\") || endsWith("?\?/");
    return end;
}

}  // namespace kxexport
