// Judging many items from a few compiles of a model whose items are words: "good" compiles, "bad" errs on its line,
// "spill" and "runs" err on into one and two lines after, "twin" clashes with an earlier twin (a note points back).
// Whatever the compiler, an item is only called accepted or rejected when that is what it is on its own.
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
    long ReadsLines = 0;      // when not 0: silently reads no further than this many lines
    bool Recovers = false;    // an error on the line right after an error goes unreported
    bool IgnoresLine = false; // names every line by the source's own name and line

    CompileResult operator()(const BatchSource& source) const
    {
        std::string messages, file = source.FileName(), firstTwin;
        long line = 0, lastError = -1;
        int spilling = 0, errors = 0;  // spilling: lines still to come that the last error runs on into
        auto say = [&](long at, const std::string& what) {
            messages += file + ":" + std::to_string(WrongLines ? 1 : at) + ":1: " + what + "\n";
        };
        bool stopped = false;
        for (const std::string& text : Lines(source.Text())) {
            ++line;
            if (text.rfind("#line ", 0) == 0) {
                const std::size_t quote = text.find('"');
                if (!IgnoresLine) {
                    file = text.substr(quote + 1, text.size() - quote - 2);
                    line = std::stol(text.substr(6)) - 1;
                }
                continue;
            }
            stopped = StopsAtFirstError && errors > 0;
            if (stopped || (ReadsLines != 0 && line > ReadsLines))
                break;
            if (spilling > 0) {
                say(line, "error: expected ';'");
                ++errors;
                --spilling;
            }
            if (text == "bad" || text == "spill" || text == "runs" || text.rfind("#error", 0) == 0) {
                if (!Recovers || lastError != line - 1)
                    say(line, "error: " + text);
                lastError = line;
                ++errors;
                spilling = text == "spill" ? 1 : text == "runs" ? 2 : 0;
            } else if (text == "twin") {
                if (firstTwin.empty()) {
                    firstTwin = file + ":" + std::to_string(line);
                } else {
                    say(line, "error: redeclared");
                    messages += firstTwin + ":1: note: previous declaration\n";
                    ++errors;
                }
            }
        }
        if (spilling > 0 && !stopped)
            say(line + 1, "error: expected ';' at end of input");
        return errors == 0 ? Accept() : Reject(messages);
    }
};

// Items on lines of their own (separated only when asked), or each in a file of its own between separators.
JointVerdicts Judge(const std::vector<std::string>& items, const ModelCompiler& compiler, bool files,
                    LoneRejections lone = LoneRejections::GiveUp)
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
        compiler, nullptr, lone);
}

bool Fails(const std::string& item) { return item != "good" && item != "twin"; }

}  // namespace

TEST(JointCompile, ACompilerThatNamesEveryErrorDecidesEverythingInFourCompiles)
{
    const std::vector<std::string> items{"good", "bad", "good", "good", "bad", "bad", "good"};
    for (bool files : {false, true}) {
        const JointVerdicts verdicts = Judge(items, ModelCompiler{}, files);
        for (std::size_t i = 0; i < items.size(); ++i)
            EXPECT_EQ(verdicts.Verdicts[i], Fails(items[i]) ? Judgement::Rejected : Judgement::Accepted) << i;
        // The compile of what is left is accepted, and then the same with an error at its end.
        EXPECT_EQ(verdicts.Compiles, 4);
        EXPECT_EQ(verdicts.Said[1].find(files ? "copy1.c:6:1: error: bad\n" : "batch.c:2:1: error: bad\n"), 0u);
    }
    EXPECT_EQ(Judge({"bad"}, ModelCompiler{}, false).Verdicts[0], Judgement::Undecided) << "one item is its own test";
    // Two items that a note ties together are left to their own tests; the others are still told.
    const JointVerdicts tied = Judge({"good", "twin", "bad", "twin"}, ModelCompiler{}, false);
    EXPECT_EQ(tied.Verdicts, (std::vector<Judgement>{Judgement::Accepted, Judgement::Suspect, Judgement::Rejected,
                                                     Judgement::Suspect}));
}

TEST(JointCompile, NoItemIsMisjudgedWhateverTheCompilerDoes)
{
    const struct {
        const char* What;
        ModelCompiler Compiler;
    } compilers[] = {
        {"names every error", {}},
        {"stops at its first error", {true, false}},
        {"names the wrong lines", {false, true}},
        {"silently reads only its first lines", {false, false, 6}},
        {"recovers from an error by skipping the next one", {false, false, 0, true}},
        {"ignores #line", {false, false, 0, false, true}},
    };
    std::mt19937 random(7);
    const char* kinds[] = {"good", "good", "good", "bad", "spill", "twin", "runs"};
    for (const auto& c : compilers) {
        int decided = 0;
        for (int round = 0; round < 200; ++round) {
            std::vector<std::string> items(2 + random() % 12);
            for (std::string& item : items)
                item = kinds[random() % std::size(kinds)];
            for (const auto& [files, lone] : {std::pair{false, LoneRejections::GiveUp}, {true, LoneRejections::GiveUp},
                                              {false, LoneRejections::GoOn}, {true, LoneRejections::GoOn}}) {
                const JointVerdicts verdicts = Judge(items, c.Compiler, files, lone);
                for (std::size_t i = 0; i < items.size(); ++i) {
                    const Judgement verdict = verdicts.Verdicts[i];
                    if (verdict == Judgement::Accepted || verdict == Judgement::Rejected) {
                        EXPECT_EQ(verdict == Judgement::Rejected, Fails(items[i]))
                            << c.What << ", item " << i << " of " << testing::PrintToString(items) << (files ? " in files" : "")
                            << (lone == LoneRejections::GoOn ? ", going on" : "");
                    }
                    decided += verdict == Judgement::Accepted || verdict == Judgement::Rejected;
                }
            }
        }
        EXPECT_GT(decided, 0) << c.What;
    }
}
