// The cppcheck format: a platform file (--platform=), a library file (--library=) and the
// include directories (--includes-file=). The facts neither file can hold are listed in
// their comments.
#include "export/ExportedMacro.h"
#include "export/FactNotes.h"
#include "export/Formats.h"
#include "export/TextSafety.h"

namespace kxexport {

namespace {

// An XML comment may not hold "--" nor end with "-", nor any character XML forbids.
std::string XmlComment(const std::string& title, const std::vector<std::string>& notes)
{
    std::string text = VisibleText(title) + "\n";
    std::vector<std::string> visible;
    for (const std::string& note : notes)
        visible.push_back(VisibleText(note));
    if (!visible.empty())
        text += "\n     Facts of the personality that this file cannot hold:\n" + CommentLines(visible, "       ");
    if (text.find("--") != std::string::npos) {
        for (std::size_t at = text.find("--"); at != std::string::npos; at = text.find("--"))
            text.replace(at, 2, "- -");
        text += "\n     (An XML comment cannot hold a double hyphen: options are written with \"- -\".)\n";
    }
    return "<!-- " + text + "-->\n";
}

struct PlatformSize {
    const char* Element;
    int Bits;  // 0 when the personality has no size
    std::string What;
};

OutputFile Platform(const Personality& personality)
{
    std::vector<std::string> notes;
    const int charBits = personality.Layout(BaseType::Char).SizeBits != 0 ? personality.Layout(BaseType::Char).SizeBits : 8;
    auto intrinsicBits = [&](const std::string& name) {
        const IntrinsicType* type = personality.Intrinsic(name);
        return type ? personality.Layout(type->Base).SizeBits : 0;
    };
    auto bits = [&](BaseType type) { return personality.Layout(type).SizeBits; };
    const std::vector<PlatformSize> sizes = {
        // No type test measures bool; every compiler met so far stores it in one char.
        {"bool", charBits, "bool"},
        {"short", bits(BaseType::Short), "short"},
        {"int", bits(BaseType::Int), "int"},
        {"long", bits(BaseType::Long), "long"},
        {"long-long", bits(BaseType::LongLong), "long long"},
        {"float", bits(BaseType::Float), "float"},
        {"double", bits(BaseType::Double), "double"},
        {"long-double", bits(BaseType::LongDouble), "long double"},
        {"pointer", bits(BaseType::DataPtr), "data pointer"},
        {"size_t", intrinsicBits("size_t"), "size_t"},
        {"wchar_t", intrinsicBits("wchar_t"), "wchar_t"},
    };

    std::string body = "<platform>\n  <char_bit>" + std::to_string(charBits) + "</char_bit>\n";
    if (personality.CharUnsigned)
        body += std::string("  <default-sign>") + (*personality.CharUnsigned ? "unsigned" : "signed") + "</default-sign>\n";
    else
        notes.push_back("The personality does not say whether plain char is signed; cppcheck keeps its own default.");
    body += "  <sizeof>\n";
    notes.push_back("The size of bool is not measured; it is given as 1 char.");
    for (const PlatformSize& size : sizes) {
        if (size.Bits == 0) {
            notes.push_back("The size of " + size.What + " is not measured; cppcheck keeps its own.");
            continue;
        }
        const int chars = (size.Bits + charBits - 1) / charBits;
        if (size.Bits % charBits != 0)
            notes.push_back("The " + size.What + " is " + std::to_string(size.Bits) + " bits, not a whole number of chars; it is given as "
                            + std::to_string(chars) + " chars.");
        body += std::string("    <") + size.Element + ">" + std::to_string(chars) + "</" + size.Element + ">\n";
    }
    body += "  </sizeof>\n</platform>\n";

    const int codeBits = bits(BaseType::CodePtr);
    if (codeBits != 0 && codeBits != bits(BaseType::DataPtr))
        notes.push_back("The code pointer is " + std::to_string(codeBits) + " bits; cppcheck has one size for all pointers.");
    for (std::size_t i = 0; i < BaseTypeCount; ++i) {
        const int align = personality.Types[i].AlignBytes;
        if (align != 0)
            notes.push_back(std::string("The ") + Description(static_cast<BaseType>(i)) + " is aligned on " + std::to_string(align)
                            + (align == 1 ? " byte" : " bytes") + " in structures; cppcheck has no alignments.");
    }
    for (const IntrinsicType& type : personality.Intrinsics) {
        if (type.Name != "size_t" && type.Name != "wchar_t")
            notes.push_back("The " + type.Name + " is " + (type.Unsigned ? "unsigned " : "") + SourceSpelling(type.Base)
                            + "; a platform file has no size for it.");
        else if (type.Name == "wchar_t")
            notes.push_back(std::string("The wchar_t is ") + (type.Unsigned ? "unsigned" : "signed")
                            + "; a platform file gives only its size.");
    }

    const std::string title = "cppcheck platform (--platform=" + personality.Name + ".platform.xml) of the compiler of the personality "
                              + personality.Path + ".";
    return {personality.Name + ".platform.xml", "<?xml version=\"1.0\"?>\n" + XmlComment(title, notes) + body};
}

OutputFile Library(const Personality& personality)
{
    std::vector<std::string> notes;
    for (const std::string& file : personality.ForceIncludes)
        notes.push_back("The compiler's sources are read after " + file + ": pass --include=" + file + ".");
    for (const std::string& dir : personality.SystemDirs)
        notes.push_back("Headers below " + dir + " are system headers: pass --suppress=*:" + dir + "/* to hear nothing from them.");
    if (const Define* version = personality.FindDefine(personality.IsCpp ? "__cplusplus" : "__STDC_VERSION__"))
        notes.push_back("The language version is " + version->Value + "; cppcheck's --std= option sets the language it parses.");
    const std::vector<std::string> language = LanguageNotes(personality);
    notes.insert(notes.end(), language.begin(), language.end());

    // cppcheck makes a #define line of each: a line end in a value would start a directive.
    const std::string name = personality.Name + ".cfg";
    std::string body = "<def format=\"2\">\n";
    std::vector<Macro> macros = VendorBlockMacros(personality);
    for (const Define& define : personality.Defines) {
        if (IsVendorBlockKeyword(personality, define.Name))
            continue;
        if (const std::optional<Macro> macro = ExportedMacro(define, true))
            macros.push_back(*macro);
    }
    for (const Macro& macro : macros) {
        const ExportPlace place{name, personality.Path, "the define of " + macro.Head};
        body += "  <define name=\"" + XmlAttributeText(macro.Head, place) + "\" value=\""
                + XmlAttributeText(macro.Body, place) + "\"/>\n";
    }
    body += "</def>\n";
    const std::string title = "cppcheck library (--library=" + personality.Name + ".cfg) of the compiler of the personality "
                              + personality.Path + ": its predefined macros and its keywords.";
    return {name, "<?xml version=\"1.0\"?>\n" + XmlComment(title, notes) + body};
}

OutputFile Includes(const Personality& personality)
{
    const std::string name = personality.Name + ".includes.txt";
    std::string lines;
    for (const std::string& dir : personality.IncludeDirs) {
        RefuseControlCharacters(dir, {name, personality.Path, "the include directory"}, false);
        lines += dir + "\n";
    }
    return {name, lines};
}

// The project file pins cppcheck to the one configuration the compiler sees. Given no
// -D, cppcheck checks a file once for every combination of the macros its #if lines test
// (the documentation branch of a C library, other compilers' branches, ...), up to twelve,
// reads branches no compiler takes, and reports their errors; defines in a project act as
// -D, and cppcheck then checks that configuration alone. It names the other files by
// absolute path: cppcheck reads them relative to its working directory, not to the project.
OutputFile Project(const Personality& personality)
{
    const std::string base = (personality.ExportDir.empty() ? "" : personality.ExportDir + "/") + personality.Name;
    const std::string name = personality.Name + ".cppcheck";
    auto XmlAttribute = [&](const std::string& text) {
        return XmlAttributeText(text, {name, personality.Path, "\"" + VisibleText(text) + "\""});
    };
    std::string body = "<project version=\"1\">\n";
    body += "  <platform>" + XmlAttribute(base + ".platform.xml") + "</platform>\n";
    body += "  <libraries>\n    <library>" + XmlAttribute(base + ".cfg") + "</library>\n  </libraries>\n";
    body += "  <includedir>\n";
    for (const std::string& dir : personality.IncludeDirs)
        body += "    <dir name=\"" + XmlAttribute(dir + "/") + "\"/>\n";
    body += "  </includedir>\n  <defines>\n";
    for (const Define& define : personality.Defines) {
        if (define.Kind != DefineKind::Macro || define.FunctionLike())
            continue;
        if (const std::optional<Macro> macro = ExportedMacro(define, true))
            body += "    <define name=\"" + XmlAttribute(macro->Head + "=" + macro->Body) + "\"/>\n";
    }
    body += "  </defines>\n</project>\n";

    std::vector<std::string> notes;
    for (const std::string& file : personality.ForceIncludes)
        notes.push_back("The compiler's sources are read after " + file + ": pass --include=" + file + ".");
    const std::string title = "cppcheck project (--project=" + personality.Name + ".cppcheck, with the files to check named on "
                              "the command line) of the compiler of the personality " + personality.Path
                              + ": its platform, library and include directories, and its predefined macros as the one "
                                "configuration to check.";
    return {personality.Name + ".cppcheck", "<?xml version=\"1.0\"?>\n" + XmlComment(title, notes) + body};
}

}  // namespace

std::vector<OutputFile> ExportCppcheck(const Personality& personality)
{
    return {Platform(personality), Library(personality), Includes(personality), Project(personality)};
}

}  // namespace kxexport
