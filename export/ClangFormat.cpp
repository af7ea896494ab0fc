// The clang format: compile_flags.txt, one argument a line as clangd reads it and as clang
// takes it with @compile_flags.txt, and NAME.clangd, the same arguments as a fragment of
// clangd's configuration with a comment for every fact no flag can express.
#include <algorithm>
#include <map>
#include <set>

#include "export/ClangKeywords.h"
#include "export/ClangTargets.h"
#include "export/ExportedMacro.h"
#include "export/FactNotes.h"
#include "export/Formats.h"
#include "export/MacroText.h"
#include "export/TextSafety.h"

namespace kxexport {

namespace {

// Macros that clang defines even under -undef: they are undefined first so that the
// personality's value does not meet clang's as a redefinition.
const std::set<std::string> KeptUnderUndef = {
    "__STDC__", "__STDC_HOSTED__", "__STDC_UTF_16__", "__STDC_UTF_32__", "__STDC_VERSION__", "__cplusplus",
    "__GCC_HAVE_DWARF2_CFI_ASM", "__STDCPP_DEFAULT_NEW_ALIGNMENT__", "__STDCPP_THREADS__",
};

// clang answers gcc's version test as gcc 4.2.1 (-fgnuc-version) but does not read every
// extension that later gcc versions brought: headers that test the version take paths it
// cannot parse for a compiler that claims more. glibc's sys/cdefs.h, for one, gives gcc 11
// and later __attribute__((__malloc__(f, n))); from gcc 7 on it leaves the _FloatN types to
// the compiler, which clang lacks. clang's own 4.2.1 is too little for the compiler's
// library instead: glibc enables __float128 on x86-64 from gcc 4.3 on, and its <tgmath.h>
// refuses the type combination of an older gcc (clang normally shadows that header with its
// own, which -nostdinc keeps away). The clang formats therefore claim at most gcc 4.9, the
// last gcc 4, whose extensions clang reads; the compiler's own values are named in the
// comment of NAME.clangd.
const std::map<std::string, std::string> ClangGnucVersion = {
    {"__GNUC__", "4"}, {"__GNUC_MINOR__", "9"}, {"__GNUC_PATCHLEVEL__", "0"}};  // IsGnucVersionMacro

bool ClaimsLaterGnuc(const Personality& personality)
{
    auto number = [&](const char* name) {
        const Define* define = personality.FindDefine(name);
        return define && IsIntegerValue(define->Value) ? std::stol(define->Value) : 0L;
    };
    return std::make_pair(number("__GNUC__"), number("__GNUC_MINOR__")) > std::make_pair(4L, 9L);
}

// C++ features that clang has only behind a switch, by the feature macro that says the
// compiler has them: libstdc++ calls sized operator delete where the macro is defined.
const std::map<std::string, std::string> CppFeatureSwitches = {
    {"__cpp_sized_deallocation", "-fsized-deallocation"},
};

// The language standard whose version macro has the personality's value.
std::string StandardSwitch(const Personality& personality, std::vector<std::string>& notes)
{
    static const std::map<std::string, std::string> c = {
        {"199409L", "iso9899:199409"}, {"199901L", "gnu99"}, {"201112L", "gnu11"},
        {"201710L", "gnu17"}, {"202000L", "gnu2x"},
    };
    static const std::map<std::string, std::string> cpp = {
        {"199711L", "gnu++98"}, {"201103L", "gnu++11"}, {"201402L", "gnu++14"},
        {"201703L", "gnu++17"}, {"202002L", "gnu++20"},
    };
    const std::string macro = personality.IsCpp ? "__cplusplus" : "__STDC_VERSION__";
    const Define* version = personality.FindDefine(macro);
    if (!version)
        return personality.IsCpp ? "" : "-std=gnu89";  // C90 has no version macro
    const auto& standards = personality.IsCpp ? cpp : c;
    const auto standard = standards.find(version->Value);
    if (standard == standards.end()) {
        notes.push_back("No language standard of clang has " + macro + " " + version->Value
                        + "; the macro has the value, the language stays clang's default.");
        return "";
    }
    return "-std=" + standard->second;
}

// clang reads @file arguments the way a shell splits words: blanks separate, quotes and
// backslashes are taken away. A comment is a blank to the preprocessor, so a blank between
// tokens of a macro's value becomes one; inside a literal it cannot.
std::string WithoutBlanks(const std::string& value)
{
    return CollapseBlanks(value, "/**/");
}

// The word clang knows for an alias whose standard keyword it lacks at the exported language
// level: C has alignof only as _Alignof before C23, and constinit came with C++20, where the
// keyword may simply be left out.
std::optional<std::string> ClangAliasWord(const Define& define, const Personality& personality)
{
    if (define.Kind != DefineKind::Alias)
        return std::nullopt;
    if (!personality.IsCpp && define.Value == "alignof")
        return "_Alignof";
    const Define* version = personality.FindDefine("__cplusplus");
    const bool beforeCpp20 = !version || !IsIntegerValue(version->Value) || std::stol(version->Value) < 202002L;
    if (personality.IsCpp && define.Value == "constinit" && beforeCpp20)
        return "";
    return std::nullopt;
}

struct ClangFlags {
    std::vector<std::string> Arguments;
    std::vector<std::string> Notes;
};

ClangFlags BuildFlags(const Personality& personality)
{
    ClangFlags flags;
    std::vector<std::string>& args = flags.Arguments;
    std::vector<std::string>& notes = flags.Notes;

    const ClangTargetChoice target = ChooseClangTarget(personality);
    args.push_back("--target=" + target.Triple);
    if (personality.IsCpp)
        args.insert(args.end(), {"-x", "c++"});
    const std::string standard = StandardSwitch(personality, notes);
    if (!standard.empty())
        args.push_back(standard);
    if (const Define* hosted = personality.FindDefine("__STDC_HOSTED__"); hosted && hosted->Value == "0")
        args.push_back("-ffreestanding");
    for (const auto& [feature, flag] : CppFeatureSwitches) {
        if (personality.IsCpp && personality.FindDefine(feature))
            args.push_back(flag);
    }
    args.insert(args.end(), target.Switches.begin(), target.Switches.end());
    notes.insert(notes.end(), target.Unexpressed.begin(), target.Unexpressed.end());

    std::set<std::string> expressed;
    for (const std::string& result : personality.GeneralResults) {
        if (result == "-dollar+" || result == "-dollar-") {
            args.push_back(result == "-dollar+" ? "-fdollars-in-identifiers" : "-fno-dollars-in-identifiers");
            expressed.insert(result);
        }
    }

    // Only the compiler's directories and macros: clang's own would hide the compiler's.
    args.insert(args.end(), {"-nostdinc", "-undef"});
    for (const std::string& dir : personality.IncludeDirs)
        args.insert(args.end(), {"-isystem", dir});

    // Opening and closing keyword of each assembler block, in pairs.
    const std::vector<Macro> blocks = VendorBlockMacros(personality);
    for (std::size_t i = 0; i + 1 < blocks.size(); i += 2) {
        args.insert(args.end(), {"-D" + blocks[i].Head + "=" + blocks[i].Body, "-D" + blocks[i + 1].Head + "=" + blocks[i + 1].Body});
        notes.push_back("Each assembler block from " + blocks[i].Head + " to " + blocks[i + 1].Head
                        + " is one error for clang (\"expected string literal in 'asm'\").");
    }
    const bool laterGnuc = ClaimsLaterGnuc(personality);
    std::vector<std::string> ownKeywords;
    for (const Define& define : personality.Defines) {
        if (IsVendorBlockKeyword(personality, define.Name))
            continue;
        const bool extendedType = define.Kind == DefineKind::Type
                                  && std::find(target.ExtendedTypes.begin(), target.ExtendedTypes.end(), define.Name)
                                         != target.ExtendedTypes.end();
        if ((define.Kind != DefineKind::Macro && define.Kind != DefineKind::Helper
             && ClangReadsItself(define.Name, personality.IsCpp)) || extendedType) {
            ownKeywords.push_back(define.Name);
            continue;
        }
        if (laterGnuc && define.Kind != DefineKind::Macro && IsFloatNType(define.Name)) {
            notes.push_back(define.Name + " is a type of the compiler; it is left to the headers, which declare it for "
                            "the gcc version given to clang.");
            continue;
        }
        if (define.Kind == DefineKind::Macro && laterGnuc && ClangGnucVersion.count(define.Name) != 0) {
            const std::string& claim = ClangGnucVersion.at(define.Name);
            notes.push_back(define.Name + " is " + define.Value + "; it is given as " + claim
                            + " (gcc 4.9 at most), so that headers take the paths clang reads.");
            args.push_back("-D" + define.Name + "=" + claim);
            continue;
        }
        // The string helper stays: string literals cannot pass through an @file argument.
        std::optional<Macro> macro = ExportedMacro(define, false);
        if (const std::optional<std::string> word = ClangAliasWord(define, personality)) {
            notes.push_back(define.Name + " is a spelling of " + define.Value + ", which clang lacks at this language level; "
                            + (word->empty() ? "it is left out." : "it stands for " + *word + "."));
            macro->Body = *word;
        }
        if (KeptUnderUndef.count(define.Name) != 0)
            args.push_back("-U" + define.Name);
        args.push_back("-D" + macro->Head + "=" + WithoutBlanks(macro->Body));
    }
    if (!ownKeywords.empty()) {
        std::string names;
        for (const std::string& name : ownKeywords)
            names += (names.empty() ? "" : ", ") + name;
        notes.push_back("Left to clang, which reads them as the compiler does: " + names + ".");
    }

    for (const std::string& file : personality.ForceIncludes)
        args.insert(args.end(), {"-include", file});

    for (const std::string& argument : args) {
        if (argument.find_first_of(" \t\"'\\") != std::string::npos)
            notes.push_back("The argument " + argument + " holds a blank, a quote or a backslash: compile_flags.txt has it "
                            "quoted for clang's @compile_flags.txt, and clangd, which reads that file line by line, takes the "
                            "quotes as part of it; clangd reads it right from this fragment.");
    }
    for (const auto& part : {LanguageNotes(personality, expressed), SystemDirNotes(personality)})
        notes.insert(notes.end(), part.begin(), part.end());
    return flags;
}

}  // namespace

std::vector<OutputFile> ExportClang(const Personality& personality)
{
    const ClangFlags flags = BuildFlags(personality);

    // clang reads the file as a response file, splitting at blanks and taking quotes and
    // backslashes away: an argument holding them is quoted for that reading, so that no part
    // of a value can become an argument of its own.
    std::string compileFlags;
    for (const std::string& argument : flags.Arguments)
        compileFlags += ResponseFileWord(argument, {"compile_flags.txt", personality.Path, "the argument"}) + "\n";

    // A line end of any kind would end a YAML comment and start configuration.
    std::vector<std::string> notes;
    for (const std::string& note : flags.Notes)
        notes.push_back(VisibleText(note));
    const std::string name = personality.Name + ".clangd";
    std::string fragment = "# clangd configuration fragment for the compiler of the personality " + VisibleText(personality.Path)
                           + ".\n# The same arguments are in compile_flags.txt, which has no room for comments.\n";
    if (!notes.empty()) {
        fragment += "#\n# What these flags do not express:\n";
        fragment += CommentLines(notes, "#   ");
    }
    fragment += "CompileFlags:\n  Add: [\n";
    for (std::size_t i = 0; i < flags.Arguments.size(); ++i)
        fragment += "    " + YamlQuoted(flags.Arguments[i], {name, personality.Path, "the argument"})
                    + (i + 1 < flags.Arguments.size() ? ",\n" : "\n");
    fragment += "  ]\n";

    return {{"compile_flags.txt", compileFlags}, {name, fragment}};
}

}  // namespace kxexport
