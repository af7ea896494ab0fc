#include "engine/phases/keywords/KeywordTests.h"

#include <algorithm>

#include "engine/core/Reporter.h"
#include "engine/phases/batch/JointCompile.h"
#include "engine/phases/suites/SuiteBatch.h"
#include "engine/core/TextUtilities.h"

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

std::string AccessDeclaration(const std::string& className, const std::string& keyword)
{
    return "class " + className + " {" + keyword + ":int a;};\n";
}

// Which member access a keyword that stands where an access specifier does gives, once the
// class with it compiles.
std::string AccessGiven(const RunContext& context, const std::string& keyword)
{
    const std::string declaration = AccessDeclaration("X", keyword);
    if (context.Compile(declaration + "X x;\nint main() {x.a = 3;}\n", "typetest").MadeObject())
        return "public";
    if (context.Compile(declaration + "class Y : public X {void x(void) {int b = a; (void)b;}};\n", "typetest").MadeObject())
        return "protected";
    return "private";
}

// The access of every keyword, as TestPublicProtectedPrivate tells it. Most keywords are
// no access specifier at all: their classes are compiled together first, and only the
// keywords whose class compiles, or whose rejection the messages cannot tell, go on alone.
std::vector<std::string> AccessOfEach(const RunContext& context, const std::vector<std::string>& keywords)
{
    std::vector<std::string> access(keywords.size());
    std::vector<Judgement> verdicts(keywords.size(), Judgement::Undecided);
    if (!context.Opts.Exact && keywords.size() > 1) {
        const JointVerdicts joint = JudgeTogether(
            keywords.size(),
            [&](const std::vector<std::size_t>& order, bool separated) {
                BatchSource source(std::string("typetest") + context.Opts.SourceExt());
                for (std::size_t item : order) {
                    source.AddItem(item, AccessDeclaration("kx" + std::to_string(item) + "_X", keywords[item]));
                    if (separated)
                        source.AddShared(BatchSeparator(item));
                }
                // An error at the end of the source falls on no keyword's line.
                source.AddShared("extern int kx_access_end;\n");
                return source;
            },
            [&](const BatchSource& source) { return context.CompileFile(source.Text(), source.FileName()); });
        verdicts = joint.Verdicts;
    }
    context.ForEach(
        keywords.size(),
        [&](std::size_t k) {
            if (verdicts[k] == Judgement::Rejected)
                return std::string();
            if (verdicts[k] == Judgement::Accepted)
                return AccessGiven(context, keywords[k]);
            return TestPublicProtectedPrivate(context, keywords[k]);
        },
        [&](std::size_t k, std::string given) { access[k] = std::move(given); });
    return access;
}

}  // namespace

std::string TestPublicProtectedPrivate(const RunContext& context, const std::string& keyword)
{
    if (!context.Compile(AccessDeclaration("X", keyword), "typetest").MadeObject())
        return {};
    return AccessGiven(context, keyword);
}

KeywordFindings ConductKWTests(const RunContext& context, std::set<std::string> extensionKeywords,
                               const KeywordLists& lists, const std::vector<SuiteTest>& tests)
{
    context.Report.Say("Conducting Keyword Tests...");
    const bool isC = context.Opts.IsC;
    KeywordFindings found;
    auto quoted = [](const std::string& define) { return KeywordTreatment{KeywordTreatment::QuotedDefine, define}; };
    auto plain = [](const std::string& define) { return KeywordTreatment{KeywordTreatment::Define, define}; };
    auto extension = [](const std::string& name) { return KeywordTreatment{KeywordTreatment::Extension, name}; };

    if (!isC) {
        found.Treatments.insert(plain("vmt_ignore_paren=_ignore_paren"));
        found.Treatments.insert(quoted("_vmt_null_expression=0 _vmt_ignore_paren"));
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
    auto isBuiltin = [&](std::size_t i) { return keywords[i].find(kBuiltinMarker) != std::string::npos; };
    // In C a keyword spelt around one the analyser knows is written as that one, unless the
    // first test it passes makes it a type: the tests after the last that can are not asked.
    std::size_t typeTests = 0;
    for (std::size_t t = 0; t < tests.size(); ++t)
        if (QuotedTestText(tests[t].SuccessText) == "type")
            typeTests = t + 1;
    auto testsFor = [&](std::size_t i) {
        return isC && !underscoreAlias(keywords[i]).empty() ? typeTests : tests.size();
    };
    std::vector<Verdict> verdicts(keywords.size());
    if (context.Opts.Exact) {
        context.ForEach(
            keywords.size(),
            [&](std::size_t i) {
                Verdict verdict;
                if (isBuiltin(i))
                    return verdict;
                for (std::size_t t = 0; t < testsFor(i); ++t) {
                    verdict.Result.clear();
                    if (ConductTest(context, tests[t], "XXX=" + keywords[i] + " ", verdict.Result)) {
                        verdict.Passed = true;
                        return verdict;
                    }
                }
                if (!isC)
                    verdict.Access = TestPublicProtectedPrivate(context, keywords[i]);
                return verdict;
            },
            [&](std::size_t i, Verdict verdict) { verdicts[i] = std::move(verdict); });
    } else {
        // The same order of tests for every keyword, one test at a time for all the keywords
        // that no earlier test took.
        std::vector<std::size_t> open;
        for (std::size_t i = 0; i < keywords.size(); ++i)
            if (!isBuiltin(i))
                open.push_back(i);
        // Every test with every keyword first, in a few sources: most keywords fail most
        // tests, and one compile per test and keyword is left only for what those cannot
        // tell of the tests that are reached in order.
        // pair[t][i]: where test t with keyword i stands in every, when it is asked at all.
        std::vector<std::vector<std::optional<std::size_t>>> pair(tests.size(),
                                                                  std::vector<std::optional<std::size_t>>(keywords.size()));
        std::vector<SuiteRun> every;
        for (std::size_t t = 0; t < tests.size(); ++t)
            for (std::size_t i : open)
                if (t < testsFor(i)) {
                    pair[t][i] = every.size();
                    every.push_back({&tests[t], keywords[i]});
                }
        const std::vector<std::optional<SuiteOutcome>> early = DecideTogether(context, every);
        const bool told = std::any_of(early.begin(), early.end(), [](const auto& outcome) { return outcome.has_value(); });
        bool jointTells = true;
        for (std::size_t t = 0; t < tests.size(); ++t) {
            std::vector<SuiteRun> runs;
            std::vector<std::size_t> asked;
            std::vector<std::optional<SuiteOutcome>> outcomes;
            for (std::size_t i : open) {
                outcomes.push_back(pair[t][i] ? early[*pair[t][i]] : SuiteOutcome{false, {}});
                if (!outcomes.back()) {
                    asked.push_back(outcomes.size() - 1);
                    runs.push_back({&tests[t], keywords[i]});
                }
            }
            const std::vector<SuiteOutcome> answers = ConductTests(context, runs, told, &jointTells);
            for (std::size_t a = 0; a < asked.size(); ++a)
                outcomes[asked[a]] = answers[a];
            std::vector<std::size_t> stillOpen;
            for (std::size_t k = 0; k < open.size(); ++k) {
                if (outcomes[k]->Passed)
                    verdicts[open[k]] = {true, outcomes[k]->Result, {}};
                else
                    stillOpen.push_back(open[k]);
            }
            open = std::move(stillOpen);
        }
        if (!isC) {
            std::vector<std::string> names;
            for (std::size_t i : open)
                names.push_back(keywords[i]);
            const std::vector<std::string> access = AccessOfEach(context, names);
            for (std::size_t k = 0; k < open.size(); ++k)
                verdicts[open[k]].Access = access[k];
        }
    }

    for (std::size_t i = 0; i < keywords.size(); ++i) {
        const std::string& keyword = keywords[i];
        const Verdict& verdict = verdicts[i];
        auto& lines = found.Treatments;
        if (isBuiltin(i)) {
            const std::string value = ValueOf(lists.BuiltinReplaceKeywords, keyword);
            if (!value.empty())
                lines.insert(plain(value));
            continue;
        }
        if (verdict.Passed) {
            if (verdict.Result == "type") {
                found.TypeKeywords.insert(keyword);
                continue;
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
                const std::string plainName = ValueOf(lists.ZanExtensionKeywords, stripped);
                if (!own.empty()) {
                    lines.insert(extension(own));
                    continue;
                }
                if (!plainName.empty()) {
                    lines.insert(extension(plainName));
                    lines.insert(quoted(keyword + "=" + stripped));
                    continue;
                }
            }
            if (handled)
                continue;
            if (verdict.Result == "decl") {
                found.ForceIncludeEntries.insert(keyword);
                found.NeedForceInclude = true;
                continue;
            }
            lines.insert(quoted(keyword + "=" + verdict.Result));
            continue;
        }

        if (!verdict.Access.empty()) {
            lines.insert(quoted(keyword + "=" + verdict.Access));
            continue;
        }
        const std::string alias = underscoreAlias(keyword);
        if (!alias.empty()) {
            lines.insert(quoted(keyword + "=" + alias));
            continue;
        }
        const std::string replacement = ValueOf(lists.ReplaceKeywords, keyword);
        if (replacement.empty()) {
            found.DroppedKeywords.push_back(keyword + "=");
            lines.insert(plain(keyword + "="));
        } else {
            if (replacement.find(kStringifyName) != std::string::npos)
                lines.insert(plain("_VMT_STRINGIFY(x)=#x"));
            lines.insert(plain(keyword + "=" + replacement));
        }
    }
    return found;
}
