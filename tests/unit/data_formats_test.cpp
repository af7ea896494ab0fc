// The shipped deployment data must follow the formats the engine and the wizard read: a
// malformed line in a list file or a suite header silently changes what a personality says.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "KestrixEngine.h"
#include "TestSupport.h"

namespace {

namespace fs = std::filesystem;

const std::string Data = KESTRIX_DATA_DIR;

std::string Read(const std::string& relative) { return kxtest::ReadFile(Data + "/" + relative); }

std::set<std::string> WordList(const std::string& name)
{
    std::ifstream in(Data + "/lists/" + name, std::ios::binary);
    std::set<std::string> words{line_iterator(in), line_iterator()};
    return words;
}

std::map<std::string, std::string> KeyValueList(const std::string& name)
{
    std::ifstream in(Data + "/lists/" + name, std::ios::binary);
    std::map<std::string, std::string> pairs{map_iterator(in), map_iterator()};
    return pairs;
}

bool IsIdentifier(const std::string& word)
{
    if (word.empty() || !(std::isalpha(static_cast<unsigned char>(word[0])) || word[0] == '_'))
        return false;
    for (char c : word)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_'))
            return false;
    return true;
}

TEST(DataListFiles, AreCleanTextEndedByANewline)
{
    for (const char* name : {"c_keywords.txt", "cpp_keywords.txt", "ignore_keywords.txt", "ignore_reserved_words.txt",
                             "zan_extension_keywords.txt", "builtin_replace_keywords.txt", "c_replace_keywords.txt",
                             "cpp_replace_keywords.txt"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(fs::exists(Data + "/lists/" + name));
        const std::string text = Read(std::string("lists/") + name);
        EXPECT_EQ(text.find('\r'), std::string::npos);
        // A key/value list loses an unterminated last line; a blank line would be an entry.
        if (!text.empty()) {
            EXPECT_EQ(text.back(), '\n');
        }
        EXPECT_EQ(text.find("\n\n"), std::string::npos);
    }
}

TEST(DataListFiles, WordListsHoldOnlyIdentifiers)
{
    for (const char* name : {"c_keywords.txt", "cpp_keywords.txt", "ignore_keywords.txt", "ignore_reserved_words.txt"})
        for (const std::string& word : WordList(name))
            EXPECT_TRUE(IsIdentifier(word)) << name << ": '" << word << "'";
}

TEST(DataListFiles, IgnoreListsNeverHideWhatTheOtherListsHandle)
{
    // A word the replacement lists or the built-in list know must reach the keyword tests.
    const std::set<std::string> ignored = WordList("ignore_keywords.txt");
    const std::set<std::string> reserved = WordList("ignore_reserved_words.txt");
    for (const char* name : {"builtin_replace_keywords.txt", "c_replace_keywords.txt", "cpp_replace_keywords.txt",
                             "zan_extension_keywords.txt"})
        for (const auto& [key, value] : KeyValueList(name)) {
            EXPECT_EQ(ignored.count(key), 0u) << key << " of " << name;
            EXPECT_EQ(reserved.count(key), 0u) << key << " of " << name;
        }
    // Keywords of the standard languages are never ignored.
    for (const char* name : {"c_keywords.txt", "cpp_keywords.txt"})
        for (const std::string& word : WordList(name))
            EXPECT_EQ(ignored.count(word), 0u) << word;
}

TEST(DataListFiles, KeyValueListsFollowTheirFormats)
{
    for (const auto& [key, value] : KeyValueList("builtin_replace_keywords.txt")) {
        EXPECT_NE(key.find("_builtin_"), std::string::npos) << key;
        // The value is a whole define: the key (maybe with parameters) and its replacement.
        std::string define = value;
        if (define.size() >= 2 && define.front() == '"' && define.back() == '"')
            define = define.substr(1, define.size() - 2);
        else
            EXPECT_EQ(define.find(' '), std::string::npos) << "a define with blanks must be quoted: " << value;
        EXPECT_EQ(define.rfind(key, 0), 0u) << value;
        EXPECT_NE(define.find('='), std::string::npos) << value;
    }
    for (const char* name : {"c_replace_keywords.txt", "cpp_replace_keywords.txt", "zan_extension_keywords.txt"})
        for (const auto& [key, value] : KeyValueList(name)) {
            EXPECT_TRUE(IsIdentifier(key)) << name << ": " << key;
            EXPECT_EQ(value.find(' '), std::string::npos) << name << ": the line is written unquoted: " << value;
        }
}

// Every suite source: the header lines the test runner reads, compiled as part of the source.
std::vector<fs::path> SuiteSources(const std::string& folder, const std::string& extension)
{
    std::vector<fs::path> sources;
    for (const auto& entry : fs::directory_iterator(Data + "/" + folder))
        if (entry.path().filename().string().find(extension) != std::string::npos)
            sources.push_back(entry.path());
    std::sort(sources.begin(), sources.end());
    return sources;
}

TEST(DataSuites, KeywordTestsCarryTheHeaderAndThePlaceholder)
{
    for (const auto& [folder, ext] : {std::pair{"c_keyword_tests", ".c"}, std::pair{"cpp_keyword_tests", ".cpp"}}) {
        const std::vector<fs::path> sources = SuiteSources(folder, ext);
        ASSERT_GE(sources.size(), 10u) << folder;
        std::set<std::string> results;
        for (const fs::path& source : sources) {
            SCOPED_TRACE(source.string());
            const std::vector<std::string> lines = kxtest::Lines(kxtest::ReadFile(source.string()));
            ASSERT_GE(lines.size(), 4u);
            EXPECT_NE(lines[0].find("Error:"), std::string::npos);
            ASSERT_NE(lines[1].find("Success:"), std::string::npos);
            EXPECT_EQ(lines[2].find("Execute"), std::string::npos) << "keyword tests only compile";
            EXPECT_NE(kxtest::ReadFile(source.string()).find("XXX"), std::string::npos);
            results.insert(lines[1].substr(lines[1].find(':') + 1));
        }
        // The results the classification needs to tell apart.
        for (const char* needed : {"type", "", "_ignore_paren", "asm", "decl"})
            EXPECT_EQ(results.count(needed), 1u) << folder << " lacks a test with the result '" << needed << "'";
        if (std::string(folder) == "cpp_keyword_tests") {
            for (const char* access : {"public", "protected", "private"})
                EXPECT_EQ(results.count(access), 1u) << access;
        }
    }
}

TEST(DataSuites, KeywordTestOrderPutsTheGreedyTestsFirst)
{
    // The first passing test decides, so the order of the file names is part of the data.
    for (const auto& [folder, ext] : {std::pair{"c_keyword_tests", ".c"}, std::pair{"cpp_keyword_tests", ".cpp"}}) {
        std::vector<std::string> results;
        for (const fs::path& source : SuiteSources(folder, ext)) {
            const std::vector<std::string> lines = kxtest::Lines(kxtest::ReadFile(source.string()));
            results.push_back(lines[1].substr(lines[1].find(':') + 1));
        }
        auto first = [&](const std::string& r) { return std::find(results.begin(), results.end(), r) - results.begin(); };
        auto last = [&](const std::string& r) {
            return results.rend() - std::find(results.rbegin(), results.rend(), r) - 1;
        };
        EXPECT_EQ(results.front(), "asm") << "an assembler block swallows any later test text";
        EXPECT_LT(first(""), first("type")) << "words that combine with int must not become types";
        EXPECT_LT(last("_ignore_paren"), last("")) << "keywords with arguments before the bare ones";
        EXPECT_EQ(results.back(), "decl");
    }
}

TEST(DataSuites, GeneralTestsWriteAPersonalityLineEitherWay)
{
    for (const auto& [folder, ext] : {std::pair{"c_tests", ".c"}, std::pair{"cpp_tests", ".cpp"}}) {
        const std::vector<fs::path> sources = SuiteSources(folder, ext);
        ASSERT_GE(sources.size(), 5u);
        bool executes = false;
        for (const fs::path& source : sources) {
            SCOPED_TRACE(source.string());
            const std::string text = kxtest::ReadFile(source.string());
            const std::vector<std::string> lines = kxtest::Lines(text);
            ASSERT_GE(lines.size(), 4u);
            ASSERT_NE(lines[0].find("Error:"), std::string::npos);
            ASSERT_NE(lines[1].find("Success:"), std::string::npos);
            const std::string error = lines[0].substr(lines[0].find(':') + 1);
            const std::string success = lines[1].substr(lines[1].find(':') + 1);
            if (lines[2].find("Execute") != std::string::npos) {
                executes = true;
                EXPECT_NE(text.find("-bits"), std::string::npos) << "the program's output is kept only with -bits";
                continue;
            }
            EXPECT_FALSE(success.empty());
            EXPECT_NE(success, error);
            for (const std::string& result : {success, error})
                if (!result.empty()) {
                    EXPECT_EQ(result[0], '-') << "a personality line starts with its option";
                }
            EXPECT_EQ(text.find("XXX"), std::string::npos);
        }
        EXPECT_TRUE(executes) << folder << " has no bit-field signedness test";
    }
}

TEST(DataCatalogue, EntriesAreCompleteAndFollowTheNamingConvention)
{
    const std::vector<std::string> lines = kxtest::Lines(Read("compilers.txt"));
    std::set<std::string> families;
    std::vector<std::map<std::string, std::string>> entries;
    std::map<std::string, std::string>* current = nullptr;
    for (const std::string& raw : lines) {
        std::string line = raw.substr(std::min(raw.find_first_not_of(' '), raw.size()));
        if (line.rfind("<CompilerFamily>", 0) == 0) {
            families.insert(line.substr(16, line.size() - 16 - 17));
        } else if (line == "<Compiler>") {
            entries.emplace_back();
            current = &entries.back();
        } else if (line == "</Compiler>") {
            current = nullptr;
        } else if (current != nullptr && line.size() > 2 && line[0] == '<') {
            const std::string tag = line.substr(1, line.find('>') - 1);
            const std::string close = "</" + tag + ">";
            ASSERT_EQ(line.size() >= close.size() && line.compare(line.size() - close.size(), close.size(), close), 0)
                << line;
            (*current)[tag] = line.substr(tag.size() + 2, line.size() - tag.size() - 2 - close.size());
        }
    }
    ASSERT_GE(entries.size(), 6u);
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.at("Name"));
        // The fifteen fields, and the compiler's header directories (the last one read is kept).
        EXPECT_EQ(entry.size(), 16u);
        EXPECT_EQ(entry.at("HeaderDirectory").rfind('/', 0), 0u) << "directories are absolute";
        EXPECT_EQ(families.count(entry.at("Family")), 1u);
        const std::string& name = entry.at("Name");
        const bool cpp = name.size() > 6 && name.compare(name.size() - 6, 6, " - C++") == 0;
        const bool c = name.size() > 4 && name.compare(name.size() - 4, 4, " - C") == 0;
        EXPECT_TRUE(c || cpp);
        EXPECT_TRUE(entry.at("CrossCompiler") == "yes" || entry.at("CrossCompiler") == "no");
        EXPECT_FALSE(entry.at("ExeCommand").empty());
        EXPECT_FALSE(entry.at("ObjectFileExtension").empty());
        EXPECT_NE(entry.at("ObjectFileExtension")[0], '.');
        for (const char* placeholder : {"%c", "%o", "%e", "%d", "%j", "%s"})
            EXPECT_NE(entry.at("Order").find(placeholder), std::string::npos) << placeholder;
        if (!entry.at("ForceIncludeFile").empty()) {
            EXPECT_TRUE(fs::exists(Data + "/ForceIncludeFiles/" + entry.at("ForceIncludeFile")));
        }
        if (!entry.at("Template").empty()) {
            EXPECT_TRUE(fs::exists(Data + "/TemplatePersonalities/" + entry.at("Template")));
        }
    }
}

TEST(DataCatalogue, ForceIncludeFilesCloseTheirHandledSection)
{
    for (const auto& entry : fs::directory_iterator(Data + "/ForceIncludeFiles")) {
        if (entry.path().filename().string()[0] == '.')
            continue;
        SCOPED_TRACE(entry.path().string());
        const std::vector<std::string> lines = kxtest::Lines(kxtest::ReadFile(entry.path().string()));
        bool inSection = false;
        bool closed = false;
        for (const std::string& line : lines) {
            if (line.find("Any other items") != std::string::npos) {
                EXPECT_FALSE(inSection);
                inSection = true;
            } else if (inSection && line.find("#else") != std::string::npos) {
                inSection = false;
                closed = true;
            }
        }
        EXPECT_TRUE(closed) << "the section of handled items must end at an #else line";
        EXPECT_FALSE(inSection);
    }
}

}  // namespace
