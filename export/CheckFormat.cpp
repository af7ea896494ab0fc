// The check format: a source with one compile-time assertion per measured fact and one use
// of each keyword a test classified. Run through an analyser configured for the compiler,
// it stops at every fact the analyser does not honour, with the fact as the message.
#include <map>

#include "export/FactNotes.h"
#include "export/ClangKeywords.h"
#include "export/Formats.h"
#include "export/MacroText.h"

namespace kxexport {

namespace {

class CheckSource {
public:
    explicit CheckSource(const Personality& personality)
        : Facts(personality), Assert(personality.IsCpp ? "static_assert" : "_Static_assert")
    {
    }

    std::string Text()
    {
        Sizes();
        Alignments();
        Signedness();
        Macros();
        Keywords();
        for (const auto& notes : {IncludeDirNotes(Facts), LanguageNotes(Facts), SystemDirNotes(Facts)})
            Unchecked.insert(Unchecked.end(), notes.begin(), notes.end());
        for (const std::string& file : Facts.ForceIncludes)
            Unchecked.push_back("Read before every source: " + file);
        std::string head = "/* Compile-time checks of the facts measured of the compiler of the personality\n * "
                           + InCComment(Facts.Path) + ".\n"
                           " * An analyser configured for that compiler must accept this source: each fact it does\n"
                           " * not honour stops it at an assertion that names the fact.\n";
        if (!Unchecked.empty())
            head += " *\n * Facts that no assertion here checks:\n" + InCComment(CommentLines(Unchecked, " *   "));
        head += " */\n";
        if (!Facts.Intrinsics.empty())
            head += "#include <stddef.h>\n";
        head += "\ntypedef void (*kx_code_pointer)(void);\n";
        return head + Body;
    }

private:
    void Check(const std::string& condition, const std::string& fact)
    {
        Body += Assert + "(" + condition + ", " + CStringLiteral(fact) + ");\n";
    }

    static std::string TypeName(BaseType type)
    {
        return type == BaseType::CodePtr ? "kx_code_pointer" : SourceSpelling(type);
    }

    void Sizes()
    {
        Body += "\n/* Sizes of the base types. */\n";
        const int charBits = Facts.Layout(BaseType::Char).SizeBits;
        if (charBits != 0 && charBits <= 64) {
            const unsigned long long all = charBits == 64 ? ~0ULL : (1ULL << charBits) - 1;
            Check("(unsigned char)-1 == " + Hex(all), "char is " + std::to_string(charBits) + " bits");
        }
        const int unit = charBits != 0 ? charBits : 8;
        for (std::size_t i = 1; i < BaseTypeCount; ++i) {
            const auto type = static_cast<BaseType>(i);
            const int bits = Facts.Types[i].SizeBits;
            if (bits == 0)
                continue;
            const std::string fact = std::string(Description(type)) + " is " + std::to_string(bits) + " bits";
            if (bits % unit != 0)
                Unchecked.push_back("The " + std::string(Description(type)) + " is " + std::to_string(bits)
                                    + " bits, which sizeof cannot show in chars of " + std::to_string(unit) + " bits.");
            else
                Check("sizeof(" + TypeName(type) + ") == " + std::to_string(bits / unit), fact);
        }
    }

    void Alignments()
    {
        Body += "\n/* Alignments inside structures: the gap a type leaves after a char. */\n";
        for (std::size_t i = 0; i < BaseTypeCount; ++i) {
            const int align = Facts.Types[i].AlignBytes;
            if (align == 0)
                continue;
            const auto type = static_cast<BaseType>(i);
            const std::string tag = std::string("kx_align_") + PersonalityName(type);
            Body += "struct " + tag + " { char c; " + TypeName(type) + " m; };\n";
            Check("sizeof(struct " + tag + ") == " + std::to_string(align) + " + sizeof(" + TypeName(type) + ")",
                  std::string(Description(type)) + " is aligned on " + std::to_string(align)
                      + (align == 1 ? " byte" : " bytes") + " in structures");
        }
    }

    void Signedness()
    {
        Body += "\n/* Plain char and the standard typedefs. */\n";
        if (Facts.CharUnsigned)
            Check(*Facts.CharUnsigned ? "(char)-1 > 0" : "(char)-1 < 0",
                  std::string("plain char is ") + (*Facts.CharUnsigned ? "unsigned" : "signed"));
        for (const IntrinsicType& type : Facts.Intrinsics) {
            const std::string base = (type.Unsigned ? "unsigned " : "") + TypeName(type.Base);
            std::string condition = "sizeof(" + type.Name + ") == sizeof(" + base + ")";
            if (type.Base != BaseType::DataPtr && type.Base != BaseType::CodePtr)
                condition += std::string(" && (") + type.Name + ")-1 " + (type.Unsigned ? "> 0" : "< 0");
            Check(condition, type.Name + " is " + base);
        }
    }

    void Macros()
    {
        Body += "\n/* Predefined macros. */\n";
        for (const Define& define : Facts.Defines) {
            if (define.Kind != DefineKind::Macro)
                continue;
            if (IsGnucVersionMacro(define.Name)) {
                // clang-based tools (which have __is_identifier) are given a gcc version
                // whose paths clang reads.
                Body += "#ifndef __is_identifier\n";
                Check("(" + define.Name + ") == (" + define.Value + ")", define.Name + " is " + CollapseBlanks(define.Value));
                Body += "#endif\n";
                continue;
            }
            if (!define.FunctionLike() && define.HasValue && IsIntegerValue(define.Value)) {
                Check("(" + define.Name + ") == (" + define.Value + ")", define.Name + " is " + CollapseBlanks(define.Value));
                continue;
            }
            // A value that is no integer cannot be compared in C; that the macro exists can.
            Body += "#ifndef " + define.Name + "\n#error \"" + define.Name + " is not predefined\"\n#endif\n";
        }
    }

    void Keywords()
    {
        Body += "\n/* One use of each keyword as its classification allows. */\n";
        std::string unused;
        for (const Define& define : Facts.Defines) {
            if (define.Classified() && IsFloatNType(define.Name))
                Body += "#ifndef __is_identifier\n" + KeywordUse(define) + "#endif\n";
            else if (define.Classified())
                Body += KeywordUse(define);
            else if (define.Kind != DefineKind::Macro && define.Kind != DefineKind::Helper)
                unused += (unused.empty() ? "" : ", ") + define.Name;
        }
        if (!unused.empty())
            Unchecked.push_back("Keywords and built-ins that no test classified, defined for the analysis only: " + unused + ".");
    }

    // A use of the keyword that the compiler accepts as well as an analyser that reads the
    // keyword as the personality says. A dropped keyword may be a qualifier, a storage
    // class or an operator, which the personality does not tell apart; its use is written
    // only where the keyword is a macro, as the exported treatments make it.
    static std::string KeywordUse(const Define& define)
    {
        static const std::map<std::string, std::string> aliasUses = {
            {"const", "extern {k} int {n};\n"},       {"volatile", "extern {k} int {n};\n"},
            {"signed", "extern {k} int {n};\n"},      {"unsigned", "extern {k} int {n};\n"},
            {"restrict", "extern int *{k} {n};\n"},   {"inline", "static {k} int {n}(void) { return 0; }\n"},
            {"typeof", "extern {k}(int) {n};\n"},     {"alignof", "extern int {n}[{k}(int)];\n"},
            {"decltype", "extern {k}(0) {n};\n"},     {"constinit", "{k} int {n} = 0;\n"},
        };
        std::string use;
        switch (define.Kind) {
        case DefineKind::Asm:
            use = "void {n}(void) { {k}(\"\"); }\n";
            break;
        case DefineKind::IgnoreParen:
            use = "extern int {n} {k}((unused));\n";
            break;
        case DefineKind::Type:
            // The jump makes the use read well also where the keyword declares a local label
            // that the analyser is to read as a type: labels have a name space of their own.
            use = "void {n}(void) { {k} kx_value; goto kx_value; kx_value:; }\n";
            break;
        case DefineKind::Alias:
            if (const auto alias = aliasUses.find(define.Value); alias != aliasUses.end())
                use = alias->second;
            break;
        default:
            break;
        }
        if (use.empty())
            use = "#ifdef {k}\nextern {k} int {n};\n#endif\n";
        for (const auto& [placeholder, text] : {std::pair<std::string, std::string>{"{k}", define.Name}, {"{n}", "kx_kw_" + define.Name}}) {
            for (std::size_t at = use.find(placeholder); at != std::string::npos; at = use.find(placeholder, at + text.size()))
                use.replace(at, placeholder.size(), text);
        }
        return use;
    }

    static std::string Hex(unsigned long long value)
    {
        static const char digits[] = "0123456789ABCDEF";
        std::string text;
        do {
            text.insert(text.begin(), digits[value % 16]);
            value /= 16;
        } while (value != 0);
        return "0x" + text + "u";
    }

    const Personality& Facts;
    const std::string Assert;
    std::string Body;
    std::vector<std::string> Unchecked;
};

}  // namespace

std::vector<OutputFile> ExportCheck(const Personality& personality)
{
    CheckSource source(personality);
    return {{personality.Name + (personality.IsCpp ? ".check.cpp" : ".check.c"), source.Text()}};
}

}  // namespace kxexport
