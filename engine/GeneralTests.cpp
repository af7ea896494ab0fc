// The general test suite: test sources that name in their header the personality line to
// record, together with the type tests and the significant length of identifiers.
#include "KestrixEngine.h"

#include <cstdio>
#include <fstream>

namespace {

// Lengths tried by the identifier test, longest first: the first length at which two
// names differing only in their last character are told apart is the answer.
std::vector<int> IdentifierLengths()
{
    std::vector<int> lengths{1024, 512, 256, 128, 64, 32};
    for (int length = 31; length >= 3; --length)
        lengths.push_back(length);
    return lengths;
}

const int kDefaultIdentifierLength = 31;

}  // namespace

void KestrixEngine::ConductZanTests(std::ostream& personality)
{
    std::set<std::string> tests;
    ScanTestDir(IsC ? S_C_TESTS_DIR : S_CPP_TESTS_DIR, tests);
    Say("Conducting Tests...");

    std::set<std::string> lines;
    for (const std::string& test : tests) {
        std::string result;
        ConductTest(test, S_EMPTY, result);
        if (!result.empty())
            lines.insert(result);
    }

    ConductBaseTypeTests(personality);
    ConductIdentTest(personality, true);
    ConductIdentTest(personality, false);

    for (const std::string& line : lines)
        personality << line << '\n';
}

void KestrixEngine::ConductIdentTest(std::ostream& personality, bool external)
{
    // The C++ analyser takes identifiers at their full length.
    if (!IsC)
        return;
    const std::string sourceName = "idtest.c";
    std::ofstream source;
    for (int length : IdentifierLengths()) {
        if (RunIdentTest(personality, sourceName, source, external, length))
            return;
    }
    personality << (external ? S_OPT_XN : S_OPT_NA) << kDefaultIdentifierLength << '\n';
}

bool KestrixEngine::RunIdentTest(std::ostream& personality, const std::string& sourceName,
                                 std::ofstream& source, bool external, int length)
{
    const std::string first(static_cast<std::size_t>(length), 'a');
    const std::string second = std::string(static_cast<std::size_t>(length - 1), 'a') + "b";
    source.open(sourceName, std::ios::out | std::ios::trunc);
    if (external) {
        // Declaring one external name twice is legal C, so a compiler that cuts the two
        // names to the same one would accept the source anyway; different types make the
        // collision an error.
        source << "\n";
        source << S_EXTERN << "int " << first << ";\n";
        source << S_EXTERN << "char " << second << ";\n";
        source << "\n";
    } else {
        source << S_MAIN_BEGIN << "\n";
        source << "int " << first << ";\n";
        source << "int " << second << ";\n";
        source << S_MAIN_END << "\n";
    }
    source.close();

    SystemUsingBatchFile(GetCompleteCommandStr(sourceName, false, S_EMPTY));
    const std::size_t dot = sourceName.rfind('.');
    const std::string object =
        (dot == std::string::npos ? sourceName : sourceName.substr(0, dot)) + S_OBJEXT;
    const bool compiled = std::ifstream(object, std::ios::binary).is_open();
    std::remove(object.c_str());

    // Two names of this length that differ only in their last character compiled as two
    // declarations: the compiler tells at least this many initial characters apart. The
    // lengths are tried longest first, so the first success is the answer.
    if (!compiled)
        return false;
    personality << (external ? S_OPT_XN : S_OPT_NA) << length << '\n';
    return true;
}
