#include <gtest/gtest.h>

#include "KestrixEngine.h"

namespace {

KestrixEngine MakeEngine(const std::string& defFlag, const std::string& order = "%c %d%j %o%e %s")
{
    return KestrixEngine("zanth", "cmp", "cc", "-o ", "-c", defFlag, ".o", order);
}

}  // namespace

TEST(CommandComposition, WorkedExample)
{
    KestrixEngine engine = MakeEngine("-D");
    engine.ImplicitSwitches = {"-g"};
    engine.ImplicitDefines = {"X=1"};
    EXPECT_EQ(engine.GetCompleteCommandStr("t.c", false, ""), "cc -g -DX=1 -c  t.c");
    EXPECT_EQ(engine.GetCompleteCommandStr("t.c", true, ""), "cc -g -DX=1  -o t.c.exe t.c");
}

TEST(CommandComposition, DefineFlagForms)
{
    EXPECT_EQ(MakeEngine("DF", "%d%c%s%j%o%e").GetCompleteCommandStr("s", false, "X"), "DF(X) ccs-c");
    EXPECT_EQ(MakeEngine("DF ", "%d%c%s%j%o%e").GetCompleteCommandStr("s", false, "X"), "DF (X) ccs-c");
    EXPECT_EQ(MakeEngine("-D", "%d%c%s%j%o%e").GetCompleteCommandStr("s", false, "X"), "-DX ccs-c");
    EXPECT_EQ(MakeEngine("-D", "%d%c%s%j%o%e").GetCompleteCommandStr("s", false, ""), "ccs-c");
}

TEST(CommandComposition, SwitchesThenDefinesThenExtraDefine)
{
    KestrixEngine engine = MakeEngine("-D", "%d|%c%s%j%o%e");
    engine.ImplicitDefines = {"A", "B"};
    engine.ImplicitSwitches = {"-x", ""};
    EXPECT_EQ(engine.GetCompleteCommandStr("s", false, "E"), "-x  -DA -DB -DE |ccs-c");
}

TEST(CommandComposition, ExecutableNameAndSecondPlaceholderStays)
{
    KestrixEngine engine = MakeEngine("-D", "%c %s %d%j%o%e %s");
    EXPECT_EQ(engine.GetCompleteCommandStr("typetest.c", true, ""), "cc typetest.c -o typetest.c.exe %s");
}

TEST(CommandComposition, PlaceholderBroughtInByAnEarlierReplacement)
{
    KestrixEngine engine("zanth", "cmp", "cc%s", "-o ", "-c", "-D", ".o", "%c %d%j%o%e %s");
    EXPECT_EQ(engine.GetCompleteCommandStr("t.c", false, ""), "cct.c -c %s");
}

TEST(CommandComposition, MissingPlaceholderEndsTheRun)
{
    for (const char* order : {"%s%j%o%e%d", "%c%j%o%e%d", "%c%s%o%e%d", "%c%s%j%e%d", "%c%s%j%o%d", "%c%s%j%o%e"})
        EXPECT_THROW(MakeEngine("-D", order).GetCompleteCommandStr("t.c", false, ""), std::out_of_range) << order;
}
