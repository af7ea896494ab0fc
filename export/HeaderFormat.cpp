// The header format: one file to read before every source (-include, cppcheck's
// --include=, an IDE's forced includes). It holds the compiler's macros and keyword
// treatments; what a define cannot express stands in its opening comment.
#include <cctype>

#include "export/ClangKeywords.h"
#include "export/ExportedMacro.h"
#include "export/FactNotes.h"
#include "export/Formats.h"

namespace kxexport {

namespace {

std::string GuardName(const std::string& name)
{
    std::string guard = "KESTRIX_";
    for (const char c : name)
        guard += std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : '_';
    return guard + "_H";
}

std::string DefineLine(const Macro& macro)
{
    return "#define " + macro.Head + (macro.Body.empty() ? "" : " " + macro.Body) + "\n";
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
        keywords += DefineLine(block);
    for (const Define& define : personality.Defines) {
        const std::optional<Macro> macro = ExportedMacro(define, true);
        if (!macro || IsVendorBlockKeyword(personality, define.Name))
            continue;
        if (define.Kind == DefineKind::Macro)
            // The tool's own predefined value gives way to the compiler's.
            macros += "#undef " + define.Name + "\n" + DefineLine(*macro);
        else if (ClangReadsItself(define.Name, personality.IsCpp))
            ownKeywords += DefineLine(*macro);
        else
            keywords += DefineLine(*macro);
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
            text += "#include \"" + file + "\"\n";
    }
    text += "\n#endif /* " + guard + " */\n";
    return {{personality.Name + ".h", text}};
}

}  // namespace kxexport
