// Classification of the extension keywords: each keyword is tried against a directory of
// small test sources in which XXX stands for it; the first source that the compiler accepts
// says how the analyser must treat the keyword.
#include "KestrixEngine.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <iostream>

namespace {

const char* const kPassMarker = "pass.txt";
const char* const kBuiltinMarker = "_builtin_";
const char* const kStringifyName = "_VMT_STRINGIFY";

bool CanOpen(const std::string& path)
{
    return std::ifstream(path, std::ios::binary).is_open();
}

// The value of a key in one of the keyword lists; an absent key counts as an empty value.
std::string ValueOf(const std::map<std::string, std::string>& list, const std::string& key)
{
    const auto found = list.find(key);
    return found == list.end() ? std::string() : found->second;
}

// One header line of a test source, without the carriage return that a source saved with
// DOS line ends carries; it would otherwise end up inside a personality line.
std::string ReadHeaderLine(std::istream& in)
{
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

// A header text: everything after the first ":" of the line, when the line carries its
// marker.
std::string HeaderText(const std::string& line, const std::string& marker)
{
    if (line.find(marker) == std::string::npos)
        return {};
    return line.substr(line.find(':') + 1);
}

}  // namespace

bool KestrixEngine::ScanTestDir(const std::string& directory, std::set<std::string>& sources)
{
    Say("Scanning for compiler tests ...");
    const std::string extension = SourceExt();
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr)
        return false;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.find(extension) != std::string::npos)
            sources.insert(directory + S_PATH_SEPARATOR + name);
    }
    closedir(dir);
    return true;
}

bool KestrixEngine::ConductTest(const std::string& testSource, const std::string& defineText,
                                std::string& result)
{
    std::string errorText;
    std::string successText;
    bool execute = false;
    {
        std::ifstream in(testSource, std::ios::binary);
        if (in.is_open()) {
            errorText = HeaderText(ReadHeaderLine(in), S_ERROR);
            successText = HeaderText(ReadHeaderLine(in), S_SUCCESS);
            execute = ReadHeaderLine(in).find(S_EXECUTE) != std::string::npos;
        }
    }

    // The compiler may write the object beside the source or into the working directory;
    // a stale object of an earlier test must count for neither.
    const std::size_t dot = testSource.rfind('.');
    const std::string stem = dot == std::string::npos ? testSource : testSource.substr(0, dot);
    const std::size_t slash = stem.rfind(S_PATH_SEPARATOR);
    const std::string base = slash == std::string::npos ? stem : stem.substr(slash + 1);
    const std::string stemObject = stem + S_OBJEXT;
    const std::string baseObject = base + S_OBJEXT;
    std::remove(stemObject.c_str());
    std::remove(baseObject.c_str());

    // A program cannot run on the host of a cross compiler, so such a test never decides
    // there and building it would only cost a compiler run.
    if (execute && IsCrossCompiler)
        return false;
    SystemUsingBatchFile(GetCompleteCommandStr(testSource, execute, defineText));

    bool outcome = false;
    if (execute) {
        const std::string program = testSource + S_EXE_EXT;
        std::cout.flush();
        const std::string run = "./" + program + " >" + S_STDOUT_LOG + " 2>" + S_STDERR_LOG;
        [[maybe_unused]] const int status = std::system(run.c_str());
        result = ReadStdoutAndStderr();
        if (result.find("-bits") == std::string::npos)
            result.clear();
        // The program ends its report with a line end; inside the personality that would
        // become an empty line of its own.
        while (!result.empty() && (result.back() == '\n' || result.back() == '\r'))
            result.pop_back();
        std::remove(program.c_str());
        outcome = true;
    } else {
        outcome = CanOpen(stemObject) || CanOpen(baseObject) || CanOpen(kPassMarker);
        result = outcome ? successText : errorText;
        std::remove(stemObject.c_str());
        std::remove(baseObject.c_str());
    }

    if (result.find(' ') != std::string::npos && result.find(S_OPT_EXTENSION) == std::string::npos)
        result = '"' + result + '"';
    return outcome;
}

std::string KestrixEngine::TestPublicProtectedPrivate(const std::string& keyword)
{
    const std::string declaration = "class X {" + keyword + ":int a;};\n";
    int objectSize = 0;
    std::string output;
    if (!CompileThisString(declaration, objectSize, output))
        return {};
    if (CompileThisString(declaration + "X x;\nint main() {x.a = 3;}\n", objectSize, output))
        return S_PUBLIC;
    if (CompileThisString(declaration + "class Y : public X {void x(void) {int b = a;}};\n",
                          objectSize, output))
        return S_PROTECTED;
    return S_PRIVATE;
}

void KestrixEngine::ConductKWTests(std::ostream& personality, bool contextTests)
{
    // The context-dependent suites share the classification rules; only the sources differ.
    const std::string directory =
        IsC ? (contextTests ? S_C_CONTEXT_KEYWORD_TESTS_DIR : S_C_KEYWORD_TESTS_DIR)
            : (contextTests ? S_CPP_CONTEXT_KEYWORD_TESTS_DIR : S_CPP_KEYWORD_TESTS_DIR);
    std::set<std::string> tests;
    ScanTestDir(directory, tests);
    Say("Conducting  Keyword Tests...");

    const std::string& D = DefineOption;
    const std::string Q = "\"";
    std::set<std::string> lines;
    std::set<std::string> typeKeywords;

    if (!IsC) {
        lines.insert(D + "vmt_ignore_paren=_ignore_paren");
        lines.insert(D + Q + "_vmt_null_expression=0 _vmt_ignore_paren" + Q);
        for (const std::string& word : IgnoreReservedWords)
            ExtensionKeywords.erase(word);
    }

    const std::set<std::string>& languageKeywords = IsC ? CKeywords : CppKeywords;
    // A keyword spelt with extra underscores around a keyword the analyser already knows
    // is that keyword; returns the name it stands for, or empty.
    auto underscoreAlias = [&](const std::string& keyword) -> std::string {
        if (keyword.empty() || (keyword.front() != '_' && keyword.back() != '_'))
            return {};
        const std::string stripped = RemovePreAndTrailChars('_', keyword);
        if (languageKeywords.count(stripped) != 0 || ExtensionKeywords.count(stripped) != 0)
            return stripped;
        return {};
    };

    for (const std::string& keyword : ExtensionKeywords) {
        if (keyword.find(kBuiltinMarker) != std::string::npos) {
            const std::string value = ValueOf(BuiltinReplaceKeywords, keyword);
            if (!value.empty())
                lines.insert(D + value);
            continue;
        }

        bool passed = false;
        std::string result;
        for (const std::string& test : tests) {
            result.clear();
            if (ConductTest(test, "XXX=" + keyword + " ", result)) {
                passed = true;
                break;
            }
        }

        if (passed) {
            if (result == "type") {
                typeKeywords.insert(keyword);
                continue;
            }
            bool handled = false;
            std::string name = keyword;
            const std::string alias = underscoreAlias(keyword);
            if (!alias.empty()) {
                lines.insert(D + Q + keyword + "=" + alias + Q);
                handled = true;
                name = alias;
            }
            if (!IsC) {
                const std::string stripped = RemovePreAndTrailChars('_', name);
                const std::string own = ValueOf(ZanExtensionKeywords, name);
                const std::string plain = ValueOf(ZanExtensionKeywords, stripped);
                if (!own.empty()) {
                    lines.insert(S_OPT_EXTENSION + own);
                    continue;
                }
                if (!plain.empty()) {
                    lines.insert(S_OPT_EXTENSION + plain);
                    lines.insert(D + Q + keyword + "=" + stripped + Q);
                    continue;
                }
            }
            if (handled)
                continue;
            if (result == "decl") {
                ForceIncludeEntries.insert(keyword);
                NeedForceInclude = true;
                continue;
            }
            lines.insert(D + Q + keyword + "=" + result + Q);
            continue;
        }

        if (!IsC) {
            const std::string access = TestPublicProtectedPrivate(keyword);
            if (!access.empty()) {
                lines.insert(D + Q + keyword + "=" + access + Q);
                continue;
            }
        }
        const std::string alias = underscoreAlias(keyword);
        if (!alias.empty()) {
            lines.insert(D + Q + keyword + "=" + alias + Q);
            continue;
        }
        const std::string replacement = ValueOf(ReplaceKeywords, keyword);
        if (replacement.empty()) {
            KeywordDefineEntries.push_back(D + keyword + "=");
            lines.insert(D + keyword + "=");
        } else {
            if (replacement.find(kStringifyName) != std::string::npos)
                lines.insert(D + "_VMT_STRINGIFY(x)=#x");
            lines.insert(D + keyword + "=" + replacement);
        }
    }

    for (const std::string& line : lines)
        personality << line << '\n';
    ConductKWTypeTests(typeKeywords, personality);
}
