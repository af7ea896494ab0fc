// Judging many items from a few compiles, against a model compiler whose items are words:
// "good" compiles, "bad" is an error on its line, "spill" is an error that runs on into the
// line after it, "twin" clashes with an earlier twin (an error with a note pointing back).
// Whatever the compiler, an item is only ever called accepted or rejected when that is what
// it is on its own.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/FakeProbe.h"
#include "engine/phases/batch/JointCompile.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace kxtest;

struct ModelCompiler {
    bool StopsAtFirstError = false;
    bool WrongLines = false;  // names line 1 of the file for every error

    CompileResult operator()(const BatchSource& source) const
    {
        std::string messages, file = source.FileName(), firstTwin;
        long line = 0;
        int errors = 0;
        bool spilling = false;
        auto say = [&](long at, const std::string& what) {
            messages += file + ":" + std::to_string(WrongLines ? 1 : at) + ":1: error: " + what + "\n";
            ++errors;
        };
        for (const std::string& text : Lines(source.Text())) {
            if (StopsAtFirstError && errors > 0)
                return Reject(messages);
            ++line;
            if (text.rfind("#line 1 \"", 0) == 0) {
                file = text.substr(9, text.size() - 10);
                line = 0;
                continue;
            }
            if (spilling)
                say(line, "expected ';'");
            spilling = text == "spill";
            if (text == "bad" || spilling) {
                say(line, text);
            } else if (text == "twin" && firstTwin.empty()) {
                firstTwin = file + ":" + std::to_string(line);
            } else if (text == "twin") {
                say(line, "redeclared");
                messages += firstTwin + ":1: note: previous declaration\n";
            }
        }
        if (spilling)
            say(line + 1, "expected ';' at end of input");
        return errors == 0 ? Accept() : Reject(messages);
    }
};

// Items on lines of their own (separated only when asked), or each in a file of its own
// between separators.
JointVerdicts Judge(const std::vector<std::string>& items, const ModelCompiler& compiler, bool files)
{
    return JudgeTogether(
        items.size(),
        [&](const std::vector<std::size_t>& order, bool separated) {
            BatchSource source("batch.c");
            for (std::size_t item : order) {
                if (files)
                    source.StartFile("copy" + std::to_string(item) + ".c");
                source.AddItem(item, items[item] + "\n");
                if (files)
                    source.StartFile("sep" + std::to_string(item) + ".c");
                if (files || separated)
                    source.AddShared("separator\n");
            }
            return source;
        },
        compiler);
}

bool Fails(const std::string& item)
{
    return item != "good" && item != "twin";
}

}  // namespace

TEST(JointCompile, ACompilerThatNamesEveryErrorDecidesEverythingInThreeCompiles)
{
    const std::vector<std::string> items{"good", "bad", "good", "good", "bad", "bad", "good"};
    for (bool files : {false, true}) {
        const JointVerdicts verdicts = Judge(items, ModelCompiler{}, files);
        for (std::size_t i = 0; i < items.size(); ++i)
            EXPECT_EQ(verdicts.Verdicts[i], Fails(items[i]) ? Judgement::Rejected : Judgement::Accepted) << i;
        EXPECT_EQ(verdicts.Compiles, 3);
        EXPECT_EQ(verdicts.Said[1].find(files ? "copy1.c:1:1: error: bad\n" : "batch.c:2:1: error: bad\n"), 0u);
    }
    EXPECT_EQ(Judge({"bad"}, ModelCompiler{}, false).Verdicts[0], Judgement::Undecided) << "one item is its own test";
}

TEST(JointCompile, NoItemIsMisjudgedWhateverTheCompilerDoes)
{
    const std::pair<const char*, ModelCompiler> compilers[] = {
        {"names every error", {}}, {"stops at its first error", {true, false}}, {"names the wrong lines", {false, true}}};
    std::mt19937 random(7);
    const char* kinds[] = {"good", "good", "good", "bad", "spill", "twin"};
    for (const auto& [what, compiler] : compilers) {
        int decided = 0;
        for (int round = 0; round < 200; ++round) {
            std::vector<std::string> items(2 + random() % 12);
            for (std::string& item : items)
                item = kinds[random() % 6];
            for (bool files : {false, true}) {
                const JointVerdicts verdicts = Judge(items, compiler, files);
                for (std::size_t i = 0; i < items.size(); ++i) {
                    const Judgement verdict = verdicts.Verdicts[i];
                    if (verdict != Judgement::Accepted && verdict != Judgement::Rejected)
                        continue;
                    ++decided;
                    EXPECT_EQ(verdict == Judgement::Rejected, Fails(items[i]))
                        << what << ", item " << i << " of " << testing::PrintToString(items) << (files ? " in files" : "");
                }
            }
        }
        EXPECT_GT(decided, 0) << what;
    }
}
