#include "export/FactNotes.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <utility>

namespace kxexport {

namespace {

// What the general suite's option words say, for "+" and for "-".
const std::map<std::string, std::pair<std::string, std::string>>& GeneralMeanings()
{
    static const std::map<std::string, std::pair<std::string, std::string>> meanings = {
        {"-bitsu", {"A plain int bit-field is unsigned.", "A plain int bit-field is signed."}},
        {"-slc", {"// starts a comment that runs to the end of the line.", "// does not start a comment."}},
        {"-bin", {"Binary integer constants (0b101) are accepted.", "Binary integer constants (0b101) are rejected."}},
        {"-dollar", {"$ may appear in identifiers.", "$ may not appear in identifiers."}},
        {"-es", {"A structure may be empty.", "A structure may not be empty."}},
        {"-zla", {"Arrays of zero elements are accepted.", "Arrays of zero elements are rejected."}},
        {"-anon", {"Unnamed structure and union members are accepted.", "Unnamed structure and union members are rejected."}},
        {"-cr", {"Case ranges (case 1 ... 3:) are accepted.", "Case ranges (case 1 ... 3:) are rejected."}},
        {"-se", {"Statement expressions are accepted.", "Statement expressions are rejected."}},
        {"-vla", {"Arrays with a run-time size are accepted.", "Arrays with a run-time size are rejected."}},
    };
    return meanings;
}

std::string Bytes(int count) { return std::to_string(count) + (count == 1 ? " byte" : " bytes"); }

}  // namespace

std::vector<std::string> TypeNotes(const Personality& personality)
{
    std::vector<std::string> notes;
    for (std::size_t i = 0; i < BaseTypeCount; ++i) {
        const TypeLayout& layout = personality.Types[i];
        std::string note = std::string("The ") + Description(static_cast<BaseType>(i));
        if (layout.SizeBits != 0)
            note += " is " + std::to_string(layout.SizeBits) + " bits";
        if (layout.AlignBytes != 0)
            note += std::string(layout.SizeBits != 0 ? " and" : "") + " is aligned on " + Bytes(layout.AlignBytes)
                    + " in structures";
        if (layout.SizeBits != 0 || layout.AlignBytes != 0)
            notes.push_back(note + ".");
    }
    if (personality.CharUnsigned)
        notes.push_back(std::string("Plain char is ") + (*personality.CharUnsigned ? "unsigned." : "signed."));
    for (const IntrinsicType& type : personality.Intrinsics)
        notes.push_back("The " + type.Name + " is " + (type.Unsigned ? "unsigned " : "") + SourceSpelling(type.Base) + ".");
    return notes;
}

std::vector<std::string> LanguageNotes(const Personality& personality, const std::set<std::string>& expressed)
{
    std::vector<std::string> notes;
    if (personality.ExternalIdentifierLength)
        notes.push_back("External identifiers are told apart by their first "
                        + std::to_string(*personality.ExternalIdentifierLength) + " characters.");
    if (personality.LocalIdentifierLength)
        notes.push_back("Local identifiers are told apart by their first "
                        + std::to_string(*personality.LocalIdentifierLength) + " characters.");
    for (const std::string& line : personality.GeneralResults) {
        if (expressed.count(line) != 0)
            continue;
        const std::string stem = line.substr(0, line.size() - 1);
        const auto meaning = GeneralMeanings().find(stem);
        if (meaning != GeneralMeanings().end() && (line.back() == '+' || line.back() == '-'))
            notes.push_back(line.back() == '+' ? meaning->second.first : meaning->second.second);
        else
            notes.push_back("The general test suite found \"" + line + "\".");
    }
    for (const std::string& extension : personality.Extensions)
        notes.push_back("The analyser is to know the extension keyword " + extension + " by itself.");
    for (const Define& define : personality.Defines) {
        if (define.Kind == DefineKind::Type && BaseTypeFromSpelling(define.Value) == BaseType::CodePtr)
            notes.push_back("The type keyword " + define.Name + " is a code pointer; it stands as void* here.");
    }
    return notes;
}

std::vector<std::string> SystemDirNotes(const Personality& personality)
{
    std::vector<std::string> notes;
    for (const std::string& dir : personality.SystemDirs) {
        if (std::find(personality.IncludeDirs.begin(), personality.IncludeDirs.end(), dir) == personality.IncludeDirs.end())
            notes.push_back("Headers below " + dir + " are system headers: nothing is to be reported inside them.");
    }
    return notes;
}

std::vector<std::string> IncludeDirNotes(const Personality& personality)
{
    std::vector<std::string> notes;
    for (const std::string& dir : personality.IncludeDirs)
        notes.push_back("System include directory, searched in this order: " + dir);
    return notes;
}

std::string InCComment(std::string text)
{
    for (std::size_t at = text.find("*/"); at != std::string::npos; at = text.find("*/", at))
        text.replace(at, 2, "* /");
    // A carriage return or a NUL is harmless inside a comment to a compiler, but not to every
    // tool that shows or reads the file by lines: control characters are written visibly.
    std::string visible;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\n' && c != '\t') || byte == 0x7F) {
            static const char digits[] = "0123456789ABCDEF";
            visible += std::string("\\x") + digits[byte >> 4] + digits[byte & 15];
        } else {
            visible += c;
        }
    }
    return visible;
}

std::string CommentLines(const std::vector<std::string>& notes, const std::string& prefix, std::size_t width)
{
    std::string text;
    for (const std::string& note : notes) {
        std::istringstream words(note);
        std::string line = prefix;
        bool first = true;
        for (std::string word; words >> word;) {
            if (!first && line.size() + 1 + word.size() > width) {
                text += line + "\n";
                line = prefix + "  ";
                first = true;
            }
            line += (first ? "" : " ") + word;
            first = false;
        }
        text += line + "\n";
    }
    return text;
}

}  // namespace kxexport
