// The header format: one file to read before every source (-include, cppcheck's
// --include=, an IDE's forced includes). It holds the compiler's macros and keyword
// treatments; what a define cannot express stands in its opening comment.
#include <cctype>

#include "export/ClangKeywords.h"
#include "export/ExportError.h"
#include "export/ExportedMacro.h"
#include "export/FactNotes.h"
#include "export/Formats.h"
#include "export/TextSafety.h"

namespace kxexport {

namespace {

std::string GuardName(const std::string& name)
{
    std::string guard = "KESTRIX_";
    for (const char c : name)
        guard += std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : '_';
    return guard + "_H";
}

// A define line that ends where it is written, whatever the value holds: read before every
// source, a line that ran on would take the lines after it (other defines, the source itself)
// into a comment or into the value. A carriage return ends a line for the compilers too.
std::string DefineLine(const Macro& macro, const std::string& name, const Personality& personality)
{
    const std::string text = macro.Head + (macro.Body.empty() ? "" : " " + macro.Body);
    const ExportPlace place{personality.Name + ".h", personality.Path, "the define of " + name};
    RefuseControlCharacters(text, place);
    const CLineEnd end = ScanCLine(text);
    if (end.OpenComment)
        throw ExportError("Cannot write " + place.File + " for the personality " + personality.Path + ": the define of " + name
                          + " (\"" + VisibleText(text) + "\") opens a comment or a raw string literal that it does not close, "
                          "which would hide the lines after it.");
    if (end.Splices && end.LineComment)
        throw ExportError("Cannot write " + place.File + " for the personality " + personality.Path + ": the define of " + name
                          + " (\"" + VisibleText(text) + "\") ends in a comment and a backslash, which would join the next line to it.");
    // An empty comment after a closing backslash keeps it from joining the next line.
    return "#define " + text + (end.Splices ? "/**/" : "") + "\n";
}

// The directive that includes the file. A quoted name has no escapes, so a name holding a
// double quote is written between angle brackets (the same file for an absolute name); a
// backslash at its end or a trigraph would change the name for some readers.
std::string IncludeLine(const std::string& file, const Personality& personality)
{
    const ExportPlace place{personality.Name + ".h", personality.Path, "the force-include file"};
    RefuseControlCharacters(file, place, false);
    const bool angled = file.find('"') != std::string::npos;
    bool trigraph = false;
    for (std::size_t at = file.find("??"); at != std::string::npos && !trigraph; at = file.find("??", at + 1))
        trigraph = at + 2 < file.size() && std::string("=(/)'<!>-").find(file[at + 2]) != std::string::npos;
    if ((angled && file.find('>') != std::string::npos) || (!file.empty() && file.back() == '\\') || trigraph)
        throw ExportError("Cannot write " + place.File + " for the personality " + personality.Path + ": the force-include file \""
                          + VisibleText(file) + "\" holds a double quote together with \">\", ends in a backslash or holds "
                          "a trigraph, so no #include line names it for every reader.");
    return angled ? "#include <" + file + ">\n" : "#include \"" + file + "\"\n";
}

std::string CComment(const std::vector<std::string>& lines)
{
    std::string text = "/*";
    for (const std::string& line : lines)
        text += (text == "/*" ? " " : line.empty() ? " *" : " * ") + InCComment(line) + "\n";
    return text + " */\n";
}

}  // namespace

std::vector<OutputFile> ExportHeader(const Personality& personality)
{
    std::vector<std::string> notes;
    for (const auto& part : {IncludeDirNotes(personality), TypeNotes(personality), LanguageNotes(personality),
                             SystemDirNotes(personality)})
        notes.insert(notes.end(), part.begin(), part.end());

    std::vector<std::string> opening = {
        "Read before every source by a tool that analyses code for the compiler of the personality",
        personality.Path + ".",
        "",
        "Facts that a define cannot express, for the tool's own settings:",
    };
    const std::string noteText = CommentLines(notes, "  ");
    for (std::size_t start = 0; start < noteText.size();) {
        const std::size_t end = noteText.find('\n', start);
        opening.push_back(noteText.substr(start, end - start));
        start = end + 1;
    }

    std::string macros;
    std::string keywords;
    std::string ownKeywords;
    for (const Macro& block : VendorBlockMacros(personality))
        keywords += DefineLine(block, block.Head, personality);
    for (const Define& define : personality.Defines) {
        const std::optional<Macro> macro = ExportedMacro(define, true);
        if (!macro || IsVendorBlockKeyword(personality, define.Name))
            continue;
        if (define.Kind == DefineKind::Macro)
            // The tool's own predefined value gives way to the compiler's.
            macros += "#undef " + define.Name + "\n" + DefineLine(*macro, define.Name, personality);
        else if (ClangReadsItself(define.Name, personality.IsCpp))
            ownKeywords += DefineLine(*macro, define.Name, personality);
        else
            keywords += DefineLine(*macro, define.Name, personality);
    }

    const std::string guard = GuardName(personality.Name);
    std::string text = CComment(opening) + "#ifndef " + guard + "\n#define " + guard + "\n\n";
    text += "/* The compiler's predefined macros. */\n" + macros + "\n";
    text += "/* The compiler's keywords, as the analysis is to read them. */\n" + keywords;
    if (!ownKeywords.empty()) {
        text += "\n/* A tool built on clang's front end reads these as the compiler does; others need them. */\n"
                "#ifndef __is_identifier\n" + ownKeywords + "#endif\n";
    }
    if (!personality.ForceIncludes.empty()) {
        text += "\n/* The compiler's own force-include files. */\n";
        for (const std::string& file : personality.ForceIncludes)
            text += IncludeLine(file, personality);
    }
    text += "\n#endif /* " + guard + " */\n";
    return {{personality.Name + ".h", text}};
}

}  // namespace kxexport
