// One whole run of the built Kestrix with a substitute tree, a user force-include file and a
// template: where their lines land in the personality and what the merge makes of them.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestSupport.h"

namespace {

class FullRunWithHeadersAndTemplate : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Deploy = new kxtest::Deployment(false);
        const kxtest::Deployment& d = *Deploy;
        d.Write("c_tests/01_plus.c", "//Error:-zz-\n//Success:-zz+\n\n");
        d.Write("c_tests/02_keep.c", "//Error:-kept-\n//Success:-kept+\n\n");
        d.Write("c_tests/03_value.c", "//Error:\n//Success:-mod=1\n\n");
        d.Write("subs/stdio.h", "/* substitute stdio */\n");
        d.Write("subs/sys/types.h", "/* substitute types */\n");
        d.Write("fi/regs.h", "#ifndef REGS\n/* Any other items */\n#else\n#endif\n");
        d.Write("t.tpl", "<modify>\n-mod = 2\n-new=5\n</modify>\n<remove>\n-zz+\n</remove>\n<add>\n-ex longlong\n</add>\n");
        d.Write("out/.keep", "");
        std::vector<std::string> args = kxtest::GccLikeArgs("zanth", "ccmp", kxtest::Fake("fake-suite-cc"));
        const std::vector<std::string> options{"-op",  d.InRoot("out/kx.p_c"), "-sub", d.InRoot("subs"),
                                               "-fi",  d.InRoot("fi/regs.h"),  "-tpl", d.InRoot("t.tpl")};
        args.insert(args.end(), options.begin(), options.end());
        Result = new kxtest::RunResult(d.Run(args));
        Lines = new std::vector<std::string>(kxtest::Lines(kxtest::ReadFile(d.InRoot("out/kx.p_c"))));
    }
    static void TearDownTestSuite()
    {
        delete Lines;
        delete Result;
        delete Deploy;
    }

    static long IndexOf(const std::string& line)
    {
        const auto it = std::find(Lines->begin(), Lines->end(), line);
        return it == Lines->end() ? -1 : static_cast<long>(it - Lines->begin());
    }
    static std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

    static kxtest::Deployment* Deploy;
    static kxtest::RunResult* Result;
    static std::vector<std::string>* Lines;
};

kxtest::Deployment* FullRunWithHeadersAndTemplate::Deploy = nullptr;
kxtest::RunResult* FullRunWithHeadersAndTemplate::Result = nullptr;
std::vector<std::string>* FullRunWithHeadersAndTemplate::Lines = nullptr;

}  // namespace

TEST_F(FullRunWithHeadersAndTemplate, RunCompletes)
{
    EXPECT_EQ(Result->Status, 0) << Result->Stdout << Result->Stderr;
    EXPECT_NE(Result->Stdout.find("Incorporating Template Personality\n"), std::string::npos);
    EXPECT_NE(Result->Stdout.find("The following keywords may need to be reviewed:\n"), std::string::npos);
}

TEST_F(FullRunWithHeadersAndTemplate, SubstituteLinesComeFirstAndTheTreeIsCopied)
{
    const std::string target = Deploy->InRoot("out/subs");
    ASSERT_GE(Lines->size(), 4u);
    EXPECT_EQ((*Lines)[0], "-i " + Quoted(target));
    EXPECT_EQ((*Lines)[1], "-q " + Quoted(target));
    EXPECT_EQ((*Lines)[2], "-i " + Quoted(target + "/sys"));
    EXPECT_EQ((*Lines)[3], "-q " + Quoted(target + "/sys"));
    EXPECT_EQ(kxtest::ReadFile(target + "/stdio.h"), "/* substitute stdio */\n");
    EXPECT_EQ(kxtest::ReadFile(target + "/sys/types.h"), "/* substitute types */\n");
}

TEST_F(FullRunWithHeadersAndTemplate, TemplateModifiesInPlaceRemovesAndAdds)
{
    ASSERT_NE(IndexOf("-na 1024"), -1);
    EXPECT_EQ(IndexOf("-xn 1024"), IndexOf("-na 1024") - 1);
    EXPECT_EQ(IndexOf("-zz+"), -1);
    EXPECT_EQ(IndexOf("-kept+"), IndexOf("-na 1024") + 1);
    EXPECT_EQ(IndexOf("-mod = 2"), IndexOf("-kept+") + 1);
    EXPECT_EQ(IndexOf("-mod=1"), -1);
    // Template additions first, then the modify entries that matched no line.
    ASSERT_GE(Lines->size(), 2u);
    EXPECT_EQ((*Lines)[Lines->size() - 2], "-ex longlong");
    EXPECT_EQ(Lines->back(), "-new=5");
}

TEST_F(FullRunWithHeadersAndTemplate, UserForceIncludeIsCopiedAndAnnouncedLast)
{
    const std::string directory = Deploy->InRoot("out/vmtforceinclude");
    ASSERT_GE(Lines->size(), 4u);
    EXPECT_EQ((*Lines)[Lines->size() - 4], "-q " + Quoted(directory));
    EXPECT_EQ((*Lines)[Lines->size() - 3], "-fi " + Quoted(directory + "/regs.h"));
    EXPECT_EQ(kxtest::ReadFile(directory + "/regs.h"), "#ifndef REGS\n/* Any other items */\n#else\n#endif\n");
    EXPECT_FALSE(kxtest::FileExists(directory + "/vmt_forceinclude.h"));
}
