// Acceptance of the shipped deployment data against real compilers: one full run per
// compiler through kestrix-run, with the compiler's own include directories, and every
// keyword line of the personality checked against a table of how that compiler really
// treats the keyword.
#include <gtest/gtest.h>

#include <algorithm>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

namespace fs = std::filesystem;

// How a keyword must come out.
enum class Treatment {
    Alias,     // D "K=value": a spelling of a standard or extension keyword
    Drop,      // D "K=": a test accepted it as a word the analyser can leave out
    Paren,     // D "K=_ignore_paren": ignored together with its parenthesised argument
    Asm,       // D "K=asm"
    IntType,   // D "K=[unsigned ]T" with T an integer base type of at least `value` bits
    FloatType, // D "K=T" with T a floating base type
    AnyType,   // D "K=T": handed to the type tests, whatever base type they choose
    Builtin,   // D value (from builtin_replace_keywords.txt)
    Replace,   // D K=value (from the replace list, no test accepted the keyword)
    Nothing,   // D K= (no test accepted it and nothing replaces it)
};

struct Row {
    const char* Keyword;
    Treatment How;
    const char* Value;  // alias target, replacement, built-in definition or minimum bits
    bool Required;      // the run must find the keyword at all
};

struct Facts {
    int Status = -1;
    std::string Stderr;
    std::string Personality;
    std::vector<std::string> Lines;
    std::string Stdout;
    bool KeywordPhase = false;
    bool TypePhase = false;
    std::string SkipReason;
};

std::string Quote(const std::string& text) { return "\"" + text + "\""; }

// The include directories sdcc searches for one port, from its own report.
std::vector<std::string> SdccIncludeDirs(const std::string& port)
{
    std::vector<std::string> dirs;
    const kxtest::RunResult r = kxtest::RunShell("sdcc " + port + " --print-search-dirs");
    bool inIncludes = false;
    for (const std::string& line : kxtest::Lines(r.Stdout)) {
        if (line == "includedir:") {
            inIncludes = true;
            continue;
        }
        if (!line.empty() && line.back() == ':') {
            inIncludes = false;
            continue;
        }
        if (!inIncludes || line.empty())
            continue;
        std::error_code ec;
        const fs::path canonical = fs::canonical(line, ec);
        if (ec)
            continue;
        if (std::find(dirs.begin(), dirs.end(), canonical.string()) == dirs.end())
            dirs.push_back(canonical.string());
    }
    return dirs;
}

std::string ShellQuote(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// One full run through kestrix-run; the personality and the output are kept for all rows.
// The run gets a private copy of the data: the suite folders receive the programs that
// Execute tests build, and parallel runs must not meet there.
std::unique_ptr<Facts> RunOnce(const std::string& product, const std::string& kind,
                               const std::string& command, const std::string& objExt,
                               const std::vector<std::string>& includeDirs,
                               const std::vector<std::string>& extra = {})
{
    auto facts = std::make_unique<Facts>();
    const std::string runDir = kxtest::MakeTempDir("data-accept");
    fs::copy(KESTRIX_DATA_DIR, runDir + "/data", fs::copy_options::recursive);
    std::vector<std::string> argv = {KESTRIX_RUN_SCRIPT, "--run-dir", runDir + "/run"};
    for (const std::string& arg : kxtest::GccLikeArgs(product, kind, command, objExt))
        argv.push_back(arg);
    for (const std::string& dir : includeDirs) {
        argv.push_back("-i");
        argv.push_back(dir);
    }
    for (const std::string& arg : extra)
        argv.push_back(arg);
    argv.push_back("-op");
    argv.push_back(runDir + "/out.p_c");
    std::string shell = "KESTRIX_DATA=" + ShellQuote(runDir + "/data");
    for (const std::string& arg : argv)
        shell += " " + ShellQuote(arg);
    const kxtest::RunResult r = kxtest::RunShell(shell, runDir);
    facts->Status = r.Status;
    facts->Stdout = r.Stdout;
    facts->Stderr = r.Stderr;
    facts->Personality = kxtest::ReadFile(runDir + "/out.p_c");
    facts->Lines = kxtest::Lines(facts->Personality);
    facts->KeywordPhase = r.Stdout.find("Keyword Tests...") != std::string::npos &&
                          r.Stdout.find("Scanning for compiler extension keywords") != std::string::npos;
    facts->TypePhase = r.Stdout.find("Conducting Keyword Type Tests") != std::string::npos;
    if (std::getenv("KESTRIX_KEEP_TEST_DIRS") == nullptr)
        kxtest::RemoveTree(runDir);
    return facts;
}

void ExpectCompletedRun(const Facts& facts)
{
    EXPECT_EQ(facts.Status, 0) << facts.Stdout << facts.Stderr;
    EXPECT_FALSE(facts.Lines.empty());
}

// The lines of the personality that define the keyword (quoted or not).
std::vector<std::string> LinesFor(const Facts& facts, const std::string& define, const std::string& keyword)
{
    std::vector<std::string> found;
    for (const std::string& line : facts.Lines) {
        for (const std::string& start : {define + "\"" + keyword + "=", define + keyword + "=",
                                         define + "\"" + keyword + "(", define + keyword + "("}) {
            if (line.rfind(start, 0) == 0) {
                found.push_back(line);
                break;
            }
        }
    }
    return found;
}

bool Has(const Facts& facts, const std::string& line)
{
    return std::find(facts.Lines.begin(), facts.Lines.end(), line) != facts.Lines.end();
}

int IntegerBits(const std::string& type)
{
    std::string base = type.rfind("unsigned ", 0) == 0 ? type.substr(9) : type;
    static const std::map<std::string, int> minimum = {
        {"char", 8}, {"short", 16}, {"int", 16}, {"long", 32}, {"long long", 64}};
    const auto it = minimum.find(base);
    return it == minimum.end() ? -1 : it->second;
}

// Checks every row against the run; a keyword that the run did not find fails only required rows.
void CheckRows(const Facts& facts, const std::string& define, const std::vector<Row>& rows)
{
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("keyword ") + row.Keyword);
        const std::string k = row.Keyword;
        const std::vector<std::string> lines = LinesFor(facts, define, k);
        const bool isType =
            row.How == Treatment::IntType || row.How == Treatment::FloatType || row.How == Treatment::AnyType;
        if (isType && !facts.TypePhase)
            continue;  // the keyword type tests write these lines
        if (lines.empty()) {
            if (row.Required)
                ADD_FAILURE() << k << " has no line in the personality:\n" << facts.Personality;
            continue;
        }
        if (lines.size() != 1) {
            ADD_FAILURE() << "more than one line defines " << k;
            continue;
        }
        const std::string& line = lines.front();
        switch (row.How) {
        case Treatment::Alias:
            EXPECT_EQ(line, define + Quote(k + "=" + row.Value));
            break;
        case Treatment::Drop:
            EXPECT_EQ(line, define + Quote(k + "="));
            break;
        case Treatment::Paren:
            EXPECT_EQ(line, define + Quote(k + "=_ignore_paren"));
            break;
        case Treatment::Asm:
            EXPECT_EQ(line, define + Quote(k + "=asm"));
            break;
        case Treatment::Builtin:
            EXPECT_EQ(line, define + row.Value);
            break;
        case Treatment::Replace:
            EXPECT_EQ(line, define + k + "=" + row.Value);
            if (std::string(row.Value).find("_VMT_STRINGIFY") != std::string::npos) {
                EXPECT_TRUE(Has(facts, define + "_VMT_STRINGIFY(x)=#x"));
            }
            break;
        case Treatment::Nothing:
            EXPECT_EQ(line, define + k + "=");
            break;
        case Treatment::IntType: {
            const std::string prefix = define + "\"" + k + "=";
            if (line.rfind(prefix, 0) != 0 || line.back() != '"') {
                ADD_FAILURE() << "not a type line: " << line;
                break;
            }
            const std::string type = line.substr(prefix.size(), line.size() - prefix.size() - 1);
            EXPECT_GE(IntegerBits(type), std::stoi(row.Value)) << line;
            break;
        }
        case Treatment::AnyType:
            EXPECT_TRUE(line.rfind(define + "\"" + k + "=", 0) == 0 && line.back() == '"' &&
                        line != define + Quote(k + "="))
                << "not a type line: " << line;
            break;
        case Treatment::FloatType: {
            const std::string prefix = define + "\"" + k + "=";
            if (line.rfind(prefix, 0) != 0 || line.back() != '"') {
                ADD_FAILURE() << "not a type line: " << line;
                break;
            }
            const std::string type = line.substr(prefix.size(), line.size() - prefix.size() - 1);
            EXPECT_TRUE(type == "float" || type == "double" || type == "long double") << line;
            break;
        }
        }
    }
}

// Keyword rows every gcc-based C compiler shares.
std::vector<Row> GnuCRows()
{
    using T = Treatment;
    return {
        {"__inline", T::Alias, "inline", true},
        {"__inline__", T::Alias, "inline", true},
        {"__restrict", T::Alias, "restrict", false},
        {"__restrict__", T::Alias, "restrict", false},
        {"__const", T::Alias, "const", false},
        {"__const__", T::Alias, "const", false},
        {"__volatile", T::Alias, "volatile", false},
        {"__volatile__", T::Alias, "volatile", true},
        {"__signed", T::Alias, "signed", false},
        {"__signed__", T::Alias, "signed", false},
        {"__typeof", T::Alias, "typeof", false},
        {"__typeof__", T::Alias, "typeof", true},
        {"__alignof", T::Alias, "alignof", false},
        {"__alignof__", T::Alias, "alignof", true},
        {"__asm", T::Alias, "asm", false},
        {"__asm__", T::Alias, "asm", true},
        {"asm", T::Asm, "", true},
        {"__attribute", T::Paren, "", false},
        {"__attribute__", T::Paren, "", true},
        {"__extension__", T::Drop, "", true},
        {"__thread", T::Drop, "", false},
        {"__complex__", T::Drop, "", false},
        {"__real__", T::Drop, "", false},
        {"__imag__", T::Drop, "", false},
        {"__auto_type", T::Replace, "auto", true},
        {"__null", T::Replace, "((void*)0)", true},
        {"__func__", T::Replace, "_VMT_STRINGIFY(__func__)", true},
        {"__FUNCTION__", T::Replace, "_VMT_STRINGIFY(__FUNCTION__)", false},
        {"__PRETTY_FUNCTION__", T::Replace, "_VMT_STRINGIFY(__PRETTY_FUNCTION__)", false},
        {"__builtin_va_list", T::Builtin, "__builtin_va_list=char*", true},
        {"__builtin_va_arg", T::Builtin, "__builtin_va_arg(v,t)=(*(t*)(v))", true},
        {"__builtin_offsetof", T::Builtin, "\"__builtin_offsetof(t,m)=((unsigned long)&((t*)0)->m)\"", true},
        {"__builtin_types_compatible_p", T::Builtin, "__builtin_types_compatible_p(a,b)=1", false},
        {"__builtin_choose_expr", T::Builtin, "__builtin_choose_expr(c,a,b)=((c)?(a):(b))", false},
    };
}

void Append(std::vector<Row>& rows, const std::vector<Row>& more) { rows.insert(rows.end(), more.begin(), more.end()); }

bool SkipIfNeeded(const Facts* facts)
{
    return facts == nullptr || !facts->KeywordPhase;
}

// ---- gcc, C product ---------------------------------------------------------------------

class GccData : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!kxtest::HaveCommand("gcc"))
            return;
        facts = RunOnce("zanth", "cmp", "gcc", ".o", kxtest::SearchList("gcc", "c"));
    }
    static void TearDownTestSuite() { facts.reset(); }
    void SetUp() override
    {
        if (!kxtest::HaveCommand("gcc"))
            GTEST_SKIP() << "gcc is not installed";
        if (SkipIfNeeded(facts.get()))
            GTEST_SKIP() << "this build has no extension keyword classification yet";
    }
    static std::unique_ptr<Facts> facts;
};
std::unique_ptr<Facts> GccData::facts;

TEST_F(GccData, PersonalityMatchesGcc)
{
    ExpectCompletedRun(*facts);
    using T = Treatment;
    std::vector<Row> rows = GnuCRows();
    Append(rows, {
        {"__int128", T::IntType, "64", true},
        {"__int128_t", T::IntType, "64", false},
        {"__uint128_t", T::IntType, "64", false},
        {"_Float128", T::FloatType, "", true},
        {"_Float16", T::FloatType, "", false},
        {"_Float32", T::FloatType, "", false},
        {"_Float64", T::FloatType, "", false},
        {"_Float32x", T::FloatType, "", false},
        {"_Float64x", T::FloatType, "", false},
        {"__float128", T::FloatType, "", false},
        {"__float80", T::FloatType, "", false},
        {"_Accum", T::Nothing, "", false},
        {"_Sat", T::Nothing, "", false},
        {"_Fract", T::Nothing, "", false},
        {"_Float128x", T::Nothing, "", false},
    });
    CheckRows(*facts, "-d ", rows);
    // The general suite, from the same run.
    for (const char* line : {"-slc+", "-ex longlong", "-bin+", "-dollar+", "-es+", "-zla+", "-anon+", "-cr+", "-se+",
                             "-bitsu-"})
        EXPECT_TRUE(Has(*facts, line)) << line << " missing from\n" << facts->Personality;
}

// ---- g++, C++ product -------------------------------------------------------------------

class GxxData : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!kxtest::HaveCommand("g++"))
            return;
        facts = RunOnce("zanthpp", "cmp", "g++", ".o", kxtest::SearchList("g++", "c++"));
    }
    static void TearDownTestSuite() { facts.reset(); }
    void SetUp() override
    {
        if (!kxtest::HaveCommand("g++"))
            GTEST_SKIP() << "g++ is not installed";
        if (SkipIfNeeded(facts.get()))
            GTEST_SKIP() << "this build has no extension keyword classification yet";
    }
    static std::unique_ptr<Facts> facts;
};
std::unique_ptr<Facts> GxxData::facts;

TEST_F(GxxData, PersonalityMatchesGxx)
{
    ExpectCompletedRun(*facts);
    using T = Treatment;
    const std::vector<Row> rows = {
        {"__inline", T::Alias, "inline", true},
        {"__inline__", T::Alias, "inline", true},
        {"__restrict", T::Alias, "restrict", false},
        {"__restrict__", T::Alias, "restrict", true},
        {"__const", T::Alias, "const", false},
        {"__volatile__", T::Alias, "volatile", true},
        {"__signed__", T::Alias, "signed", false},
        {"__alignof__", T::Alias, "alignof", true},
        {"__decltype", T::Alias, "decltype", false},
        {"__asm__", T::Alias, "asm", true},
        {"__attribute__", T::Paren, "", true},
        {"__extension__", T::Drop, "", true},
        {"__typeof__", T::Alias, "typeof", false},
        {"typeof", T::Replace, "decltype", false},
        {"__null", T::Replace, "0", true},
        {"__int128", T::IntType, "64", true},
        {"__float128", T::FloatType, "", false},
        {"__builtin_va_list", T::Builtin, "__builtin_va_list=char*", true},
    };
    CheckRows(*facts, "-sd ", rows);
    // restrict is no C++ keyword: the analyser is told about it as an extension.
    if (!LinesFor(*facts, "-sd ", "__restrict__").empty()) {
        EXPECT_TRUE(Has(*facts, "-ex restrict"));
    }
    // Built-in functions and namespaces are never classified.
    for (const char* word : {"__atomic_load_n", "__sync_synchronize", "std", "__is_class", "main"})
        EXPECT_TRUE(LinesFor(*facts, "-sd ", word).empty()) << word;
    EXPECT_TRUE(Has(*facts, "-sd vmt_ignore_paren=_ignore_paren"));
    // The general suite, from the same run.
    for (const char* line : {"-bin+", "-dollar+", "-zla+", "-cr+", "-se+", "-vla+", "-bitsu-"})
        EXPECT_TRUE(Has(*facts, line)) << line << " missing from\n" << facts->Personality;
}

// ---- clang, C product -------------------------------------------------------------------

class ClangData : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!kxtest::HaveCommand("clang"))
            return;
        // The catalogue's settings: clang predeclares library functions and a few types, and
        // a clash with one of them hides the keywords of a whole batch of candidates. Without
        // -fno-builtin every batch clashes; small batches (-rfs) that stop at their first error
        // keep the losses to the neighbours of the predeclared types.
        facts = RunOnce("zanth", "cmp", "clang", ".o", kxtest::SearchList("clang", "c"),
                        {"-xs", "-fno-builtin,-ferror-limit=1", "-rfs"});
    }
    static void TearDownTestSuite() { facts.reset(); }
    void SetUp() override
    {
        if (!kxtest::HaveCommand("clang"))
            GTEST_SKIP() << "clang is not installed";
        if (SkipIfNeeded(facts.get()))
            GTEST_SKIP() << "this build has no extension keyword classification yet";
    }
    static std::unique_ptr<Facts> facts;
};
std::unique_ptr<Facts> ClangData::facts;

TEST_F(ClangData, PersonalityMatchesClang)
{
    ExpectCompletedRun(*facts);
    using T = Treatment;
    std::vector<Row> rows = GnuCRows();
    for (Row& row : rows)
        row.Required = false;  // which keywords clang's run finds depends on its batches
    Append(rows, {
        {"__attribute__", T::Paren, "", true},
        {"__asm__", T::Alias, "asm", true},
        {"__alignof__", T::Alias, "alignof", true},
        {"__volatile__", T::Alias, "volatile", true},
        {"__restrict__", T::Alias, "restrict", true},
        {"__signed__", T::Alias, "signed", true},
        {"__typeof__", T::Alias, "typeof", true},
        {"__inline__", T::Alias, "inline", true},
        {"__const", T::Alias, "const", true},
        {"__extension__", T::Drop, "", true},
        {"__int128", T::IntType, "64", true},
        {"__float128", T::FloatType, "", false},
        {"_Float16", T::Nothing, "", false},  // clang 14 supports it on ARM targets only
        {"__bf16", T::Nothing, "", false},  // not supported on this target by clang 14
        {"__fp16", T::AnyType, "", false},
        {"_Nonnull", T::Drop, "", false},
        {"_Nullable", T::Drop, "", false},
        {"_Null_unspecified", T::Drop, "", false},
    });
    CheckRows(*facts, "-d ", rows);
}

// ---- avr-gcc (avr-libc) -----------------------------------------------------------------

std::string AvrProgramDir()
{
    const kxtest::RunResult r = kxtest::RunShell("avr-gcc -print-prog-name=cc1");
    std::string path = r.Stdout;
    while (!path.empty() && (path.back() == '\n' || path.back() == '\r'))
        path.pop_back();
    return fs::path(path).parent_path().string();
}

class AvrData : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!kxtest::HaveCommand("avr-gcc"))
            return;
        // The address spaces and 24-bit types appear in no header; the compiler's own
        // program directory holds its keyword table, so it is scanned too. The catalogue's
        // device has more than 64 KiB of flash, so all flash address spaces are usable.
        std::vector<std::string> dirs = kxtest::SearchList("avr-gcc", "c");
        dirs.push_back(AvrProgramDir());
        facts = RunOnce("zanth", "ccmp", "avr-gcc", ".o", dirs, {"-xs", "-mmcu=atmega2560"});
    }
    static void TearDownTestSuite() { facts.reset(); }
    void SetUp() override
    {
        if (!kxtest::HaveCommand("avr-gcc"))
            GTEST_SKIP() << "avr-gcc is not installed";
        if (SkipIfNeeded(facts.get()))
            GTEST_SKIP() << "this build has no extension keyword classification yet";
    }
    static std::unique_ptr<Facts> facts;
};
std::unique_ptr<Facts> AvrData::facts;

TEST_F(AvrData, PersonalityMatchesAvrGcc)
{
    ExpectCompletedRun(*facts);
    using T = Treatment;
    std::vector<Row> rows = GnuCRows();
    for (Row& row : rows)
        if (std::string(row.Keyword) == "__null" || std::string(row.Keyword) == "__func__")
            row.Required = false;
    Append(rows, {
        {"__flash", T::Drop, "", true},
        {"__flash1", T::Drop, "", false},
        {"__flash2", T::Drop, "", false},
        {"__flash3", T::Drop, "", false},
        // The ATmega2560 has 256 KiB of flash: the segments beyond it cannot be used at all.
        {"__flash4", T::Nothing, "", false},
        {"__flash5", T::Nothing, "", false},
        {"__memx", T::Drop, "", true},
        {"__label__", T::Alias, "int", false},
        {"_Sat", T::Drop, "", false},
        {"__int128", T::Nothing, "", false},
        {"__transaction_atomic", T::Nothing, "", false},
        {"__int24", T::IntType, "16", true},
        {"__uint24", T::IntType, "16", true},
    });
    CheckRows(*facts, "-d ", rows);
    // A cross compiler's programs cannot run, so no bit-field line can be found.
    for (const std::string& line : facts->Lines)
        EXPECT_EQ(line.find("-bitsu"), std::string::npos) << line;
    EXPECT_TRUE(Has(*facts, "-dollar-"));
}

// ---- sdcc -mmcs51 -----------------------------------------------------------------------

class SdccData : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!kxtest::HaveCommand("sdcc"))
            return;
        facts = RunOnce("zanth", "ccmp", "sdcc -mmcs51", ".rel", SdccIncludeDirs("-mmcs51"));
    }
    static void TearDownTestSuite() { facts.reset(); }
    void SetUp() override
    {
        if (!kxtest::HaveCommand("sdcc"))
            GTEST_SKIP() << "sdcc is not installed";
        if (SkipIfNeeded(facts.get()))
            GTEST_SKIP() << "this build has no extension keyword classification yet";
    }
    static std::unique_ptr<Facts> facts;
};
std::unique_ptr<Facts> SdccData::facts;

TEST_F(SdccData, PersonalityMatchesSdcc)
{
    ExpectCompletedRun(*facts);
    using T = Treatment;
    const std::vector<Row> rows = {
        {"__data", T::Drop, "", true},
        {"__idata", T::Drop, "", true},
        {"__pdata", T::Drop, "", true},
        {"__xdata", T::Drop, "", true},
        {"__code", T::Drop, "", true},
        {"__near", T::Drop, "", true},
        {"__far", T::Drop, "", true},
        {"__bit", T::IntType, "1", true},
        {"__sbit", T::IntType, "1", true},
        {"__sfr", T::IntType, "8", true},
        // 16- and 32-bit registers cannot be measured like ordinary objects on this target.
        {"__sfr16", T::AnyType, "", true},
        {"__sfr32", T::AnyType, "", true},
        {"__at", T::Paren, "", true},
        {"__interrupt", T::Paren, "", true},
        {"__using", T::Paren, "", true},
        {"__preserves_regs", T::Paren, "", false},
        {"__critical", T::Drop, "", true},
        {"__naked", T::Drop, "", true},
        {"__reentrant", T::Drop, "", true},
        {"__banked", T::Drop, "", true},
        {"__nonbanked", T::Drop, "", false},
        {"__asm", T::Asm, "", true},
    };
    CheckRows(*facts, "-d ", rows);
    // The float support routines are ordinary functions, never keywords.
    for (const char* word : {"__fsadd", "__fs2sint", "__memcpy"})
        EXPECT_TRUE(LinesFor(*facts, "-d ", word).empty()) << word;
    // The general suite, from the same run; a cross compiler's programs never run.
    for (const std::string& line : facts->Lines)
        EXPECT_EQ(line.find("-bitsu"), std::string::npos) << line;
    for (const char* line : {"-slc+", "-ex longlong", "-bin+", "-dollar-", "-es-", "-zla+", "-cr-", "-se-"})
        EXPECT_TRUE(Has(*facts, line)) << line << " missing from\n" << facts->Personality;
}

// ---- arm-none-eabi-gcc (newlib) ---------------------------------------------------------

class ArmData : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!kxtest::HaveCommand("arm-none-eabi-gcc"))
            return;
        facts = RunOnce("zanth", "ccmp", "arm-none-eabi-gcc", ".o", kxtest::SearchList("arm-none-eabi-gcc", "c"));
    }
    static void TearDownTestSuite() { facts.reset(); }
    void SetUp() override
    {
        if (!kxtest::HaveCommand("arm-none-eabi-gcc"))
            GTEST_SKIP() << "arm-none-eabi-gcc is not installed";
        if (SkipIfNeeded(facts.get()))
            GTEST_SKIP() << "this build has no extension keyword classification yet";
    }
    static std::unique_ptr<Facts> facts;
};
std::unique_ptr<Facts> ArmData::facts;

TEST_F(ArmData, PersonalityMatchesArmGcc)
{
    ExpectCompletedRun(*facts);
    using T = Treatment;
    std::vector<Row> rows = GnuCRows();
    Append(rows, {
        {"__bf16", T::AnyType, "", false},  // storage only: no arithmetic to measure it by
        {"_Sat", T::Drop, "", false},
        // No 128-bit types on this target: every use fails, so nothing replaces them.
        {"__int128", T::Nothing, "", false},
        {"_Float128", T::Nothing, "", false},
    });
    CheckRows(*facts, "-d ", rows);
    EXPECT_TRUE(Has(*facts, "-dollar+"));
}

}  // namespace
