#include "KeywordTests.h"

#include "Reporter.h"
#include "TextUtilities.h"

namespace {

const char* const kBuiltinMarker = "_builtin_";
const char* const kStringifyName = "_VMT_STRINGIFY";

// The value of a key in one of the keyword lists; an absent key counts as an empty value.
std::string ValueOf(const std::map<std::string, std::string>& list, const std::string& key)
{
    const auto found = list.find(key);
    return found == list.end() ? std::string() : found->second;
}

// What the compiler said about one keyword.
struct Verdict {
    bool Passed = false;
    std::string Result;  // the text of the test that passed
    std::string Access;  // C++: the access specifier it behaves as
};

}  // namespace

std::string TestPublicProtectedPrivate(const RunContext& context, const std::string& keyword)
{
    const std::string declaration = "class X {" + keyword + ":int a;};\n";
    if (!context.Compile(declaration, "typetest").MadeObject())
        return {};
    if (context.Compile(declaration + "X x;\nint main() {x.a = 3;}\n", "typetest").MadeObject())
        return "public";
    if (context.Compile(declaration + "class Y : public X {void x(void) {int b = a;}};\n", "typetest").MadeObject())
        return "protected";
    return "private";
}

KeywordFindings ConductKWTests(const RunContext& context, const PersonalityWriter& vocabulary,
                               std::set<std::string> extensionKeywords, const KeywordLists& lists,
                               const std::vector<SuiteTest>& tests)
{
    Say("Conducting  Keyword Tests...");
    const bool isC = context.Opts.IsC;
    KeywordFindings found;
    auto quoted = [&](const std::string& define) { return vocabulary.QuotedDefine(define); };

    if (!isC) {
        found.Lines.insert(vocabulary.Define("vmt_ignore_paren=_ignore_paren"));
        found.Lines.insert(quoted("_vmt_null_expression=0 _vmt_ignore_paren"));
        for (const std::string& word : lists.IgnoreReservedWords)
            extensionKeywords.erase(word);
    }

    // A keyword spelt with extra underscores around a keyword the analyser already knows
    // is that keyword; returns the name it stands for, or empty.
    auto underscoreAlias = [&](const std::string& keyword) -> std::string {
        if (keyword.empty() || (keyword.front() != '_' && keyword.back() != '_'))
            return {};
        const std::string stripped = RemovePreAndTrailChars('_', keyword);
        if (lists.LanguageKeywords.count(stripped) != 0 || extensionKeywords.count(stripped) != 0)
            return stripped;
        return {};
    };

    const std::vector<std::string> keywords(extensionKeywords.begin(), extensionKeywords.end());
    context.ForEach(
        keywords.size(),
        [&](std::size_t i) {
            const std::string& keyword = keywords[i];
            Verdict verdict;
            if (keyword.find(kBuiltinMarker) != std::string::npos)
                return verdict;
            for (const SuiteTest& test : tests) {
                verdict.Result.clear();
                if (ConductTest(context, test, "XXX=" + keyword + " ", verdict.Result)) {
                    verdict.Passed = true;
                    return verdict;
                }
            }
            if (!isC)
                verdict.Access = TestPublicProtectedPrivate(context, keyword);
            return verdict;
        },
        [&](std::size_t i, const Verdict& verdict) {
            const std::string& keyword = keywords[i];
            auto& lines = found.Lines;
            if (keyword.find(kBuiltinMarker) != std::string::npos) {
                const std::string value = ValueOf(lists.BuiltinReplaceKeywords, keyword);
                if (!value.empty())
                    lines.insert(vocabulary.Define(value));
                return;
            }
            if (verdict.Passed) {
                if (verdict.Result == "type") {
                    found.TypeKeywords.insert(keyword);
                    return;
                }
                bool handled = false;
                std::string name = keyword;
                const std::string alias = underscoreAlias(keyword);
                if (!alias.empty()) {
                    lines.insert(quoted(keyword + "=" + alias));
                    handled = true;
                    name = alias;
                }
                if (!isC) {
                    const std::string stripped = RemovePreAndTrailChars('_', name);
                    const std::string own = ValueOf(lists.ZanExtensionKeywords, name);
                    const std::string plain = ValueOf(lists.ZanExtensionKeywords, stripped);
                    if (!own.empty()) {
                        lines.insert(PersonalityWriter::Extension(own));
                        return;
                    }
                    if (!plain.empty()) {
                        lines.insert(PersonalityWriter::Extension(plain));
                        lines.insert(quoted(keyword + "=" + stripped));
                        return;
                    }
                }
                if (handled)
                    return;
                if (verdict.Result == "decl") {
                    found.ForceIncludeEntries.insert(keyword);
                    found.NeedForceInclude = true;
                    return;
                }
                lines.insert(quoted(keyword + "=" + verdict.Result));
                return;
            }

            if (!verdict.Access.empty()) {
                lines.insert(quoted(keyword + "=" + verdict.Access));
                return;
            }
            const std::string alias = underscoreAlias(keyword);
            if (!alias.empty()) {
                lines.insert(quoted(keyword + "=" + alias));
                return;
            }
            const std::string replacement = ValueOf(lists.ReplaceKeywords, keyword);
            if (replacement.empty()) {
                found.KeywordDefineEntries.push_back(vocabulary.Define(keyword + "="));
                lines.insert(vocabulary.Define(keyword + "="));
            } else {
                if (replacement.find(kStringifyName) != std::string::npos)
                    lines.insert(vocabulary.Define("_VMT_STRINGIFY(x)=#x"));
                lines.insert(vocabulary.Define(keyword + "=" + replacement));
            }
        });
    return found;
}
