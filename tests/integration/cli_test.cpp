// The command-line contract of the built Kestrix: usage line, exit statuses, options whose
// values are scanned as options too, and the list files it reads.
#include <gtest/gtest.h>

#include "TestSupport.h"

using namespace kxtest;

namespace {

const char* const kUsage =
    "Usage: Kestrix <zanth|zanthpp> <ccmp|cmp> <compiler_command> <compiler_exe_flag> <compiler_obj_flag> "
    "<compiler_def_flag> <object_file_extension> <compiler_order_str> <-i <search__dir>... "
    "[-op peronality_destination_file] [-xd comma_separated_implicit_compiler_defines] "
    "[-xs comma_separated_implicit_compiler_switches] [-rfs]\n";

// A compiler that only records that it was run.
std::string RecordingCompiler(const Deployment& d)
{
    const std::string path = d.InRoot("recording-cc");
    WriteFile(path, "#!/bin/sh\necho run >> " + d.InRoot("runs.log") + "\nexec gcc \"$@\"\n");
    RunShell("chmod +x '" + path + "'");
    return path;
}

}  // namespace

TEST(CommandLine, TooFewArgumentsPrintTheUsageLine)
{
    Deployment d(false);
    for (std::size_t count : {0u, 1u, 8u}) {
        std::vector<std::string> args;
        for (std::size_t i = 0; i < count; ++i)
            args.push_back("x");
        const RunResult r = d.Run(args);
        EXPECT_EQ(r.Status, 0) << count;
        EXPECT_EQ(r.Stdout, kUsage) << count;
    }
}

TEST(CommandLine, ValueOptionWithoutValueEndsSilentlyBeforeAnyCompilerRun)
{
    Deployment d(false);
    const std::string cc = RecordingCompiler(d);
    for (const char* option : {"-i", "-op", "-xd", "-xs", "-tpl", "-fi", "-sub"}) {
        std::vector<std::string> args = GccLikeArgs("zanth", "cmp", cc);
        args.push_back("-op");
        args.push_back(d.InRoot("never.p_c"));
        args.push_back(option);
        const RunResult r = d.Run(args);
        EXPECT_EQ(r.Status, 1) << option;
        EXPECT_EQ(r.Stdout, "") << option;
        EXPECT_FALSE(FileExists(d.InRoot("never.p_c"))) << option;
    }
    EXPECT_FALSE(FileExists(d.InRoot("runs.log")));
}

TEST(CommandLine, UnwritablePersonalityEndsSilentlyWithStatusOne)
{
    Deployment d(false);
    const std::string cc = RecordingCompiler(d);
    for (const std::string& target : {d.InRoot("missing-dir/out.p_c"), std::string()}) {
        std::vector<std::string> args = GccLikeArgs("zanth", "cmp", cc);
        args.insert(args.end(), {"-op", target});
        const RunResult r = d.Run(args);
        EXPECT_EQ(r.Status, 1) << target;
        EXPECT_EQ(r.Stdout, "") << target;
    }
    EXPECT_FALSE(FileExists(d.InRoot("runs.log")));
}

TEST(CommandLine, OrderStringWithoutAPlaceholderEndsWithStatusOne)
{
    Deployment d(false);
    std::vector<std::string> args = GccLikeArgs("zanth", "ccmp", "gcc");
    args[7] = "%c %j %o%e %s";  // no %d
    args.insert(args.end(), {"-op", d.Personality()});
    const RunResult r = d.Run(args);
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Stdout, "");
}

TEST(CommandLine, MissingListFilesAreReportedInLoadOrderAndTheRunGoesOn)
{
    Deployment d(false);  // no list files at all
    for (const char* product : {"zanth", "zanthpp"}) {
        std::vector<std::string> args = GccLikeArgs(product, "ccmp", "gcc");
        args.insert(args.end(), {"-op", d.Personality()});
        const RunResult r = d.Run(args);
        EXPECT_EQ(r.Status, 0) << r.Stdout;
        const bool c = std::string(product) == "zanth";
        const std::string expected = std::string("Error: Cannot open ") +
                                     (c ? "c_replace_keywords.txt" : "cpp_replace_keywords.txt") + "\n" +
                                     "Error: Cannot open ignore_keywords.txt\n"
                                     "Error: Cannot open ignore_reserved_words.txt\n"
                                     "Error: Cannot open zan_extension_keywords.txt\n"
                                     "Error: Cannot open builtin_replace_keywords.txt\n" +
                                     "Error: Cannot open " + (c ? "c_keywords.txt" : "cpp_keywords.txt") + "\n";
        std::string errors;
        for (const std::string& line : Lines(r.Stdout))
            if (line.rfind("Error: Cannot open", 0) == 0)
                errors += line + "\n";
        EXPECT_EQ(errors, expected);
        EXPECT_NE(r.Stdout.find("Scanning All Directories ..."), std::string::npos);
    }
}

TEST(CommandLine, DefaultPersonalityPathAndBareFileName)
{
    Deployment d(false);
    // A bare file name lands in the working directory.
    std::vector<std::string> args = GccLikeArgs("zanth", "ccmp", "gcc");
    args.insert(args.end(), {"-op", "bare.p_c"});
    ASSERT_EQ(d.Run(args).Status, 0);
    EXPECT_TRUE(FileExists(d.InWork("bare.p_c")));

    // "-op" followed by "-rfs": the value is the path and the flag is set as well.
    std::vector<std::string> rfs = GccLikeArgs("zanth", "ccmp", "gcc");
    rfs.insert(rfs.end(), {"-op", "-rfs"});
    ASSERT_EQ(d.Run(rfs).Status, 0);
    EXPECT_TRUE(FileExists(d.InWork("-rfs")));
}

TEST(CommandLine, CompileScriptHoldsTheLastCommand)
{
    Deployment d(false);
    std::vector<std::string> args = GccLikeArgs("zanth", "ccmp", "gcc");
    args.insert(args.end(), {"-op", d.Personality(), "-xs", "-Wall", "-xd", "KX_ONE=1"});
    ASSERT_EQ(d.Run(args).Status, 0);
    // The last probe's script holds its command as line 5, with the switches before the defines.
    const std::vector<std::string> script = Lines(ReadFile(d.InWork("compile.sh")));
    ASSERT_EQ(script.size(), 8u);
    EXPECT_EQ(script[0], "#!/bin/sh");
    EXPECT_NE(script[4].find("gcc -Wall -DKX_ONE=1 "), std::string::npos) << script[4];
    EXPECT_EQ(script[6], "   echo \"Pass\" > pass.txt");
}

TEST(CommandLine, UnreadableWorkingDirectoryIsAnErrorForRelativeSearchDirectories)
{
    Deployment d(false);
    // The working directory is removed under the engine's feet: a relative -i cannot be
    // completed, and guessing a path would scan the wrong tree.
    const std::string command = "mkdir gone && cd gone && rmdir ../gone && exec '" + std::string(KESTRIX_BINARY) +
                                "' zanth ccmp gcc '-o ' -c -D .o '%c %d%j %o%e %s' -op '" + d.Personality() +
                                "' -i include";
    const RunResult r = RunShell(command, d.Root());
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Stdout.rfind("Error: ", 0), 0u) << r.Stdout;
    EXPECT_NE(r.Stdout.find("\"include\""), std::string::npos) << r.Stdout;
    EXPECT_EQ(Lines(r.Stdout).size(), 1u);

    // An absolute directory needs no working directory.
    const std::string absolute = "mkdir gone2 && cd gone2 && rmdir ../gone2 && exec '" + std::string(KESTRIX_BINARY) +
                                 "' zanth ccmp gcc '-o ' -c -D .o '%c %d%j %o%e %s' -op '" + d.Personality() +
                                 "' -i /usr/include";
    EXPECT_NE(RunShell(absolute, d.Root()).Stdout.rfind("Error: Cannot read the working directory", 0), 0u);
}
