// The names the compiler's own programs spell: a compiler defines most of its macros from
// strings of its driver and of the programs of its installation (cc1 and the like), and
// no header need mention them. Read in-process as candidates only; each is still probed.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/core/Options.h"

struct ProgramWords {
    // Every identifier the programs spell, and the reserved names glued to one or two
    // option letters ("-D__SDCCCALL=%d" gives "__SDCCCALL" besides "D__SDCCCALL").
    std::set<std::string> Identifiers;
    // Whole strings of at most five capitals and digits, and their tails, that hold a
    // capital: the entries of the compiler's tables (machine modes, architectures) that it
    // pastes into macro names.
    std::set<std::string> ShortNames;
    // Names with one "%s" or "%d" that the compiler fills to make a macro name
    // ("__%s_FBIT__", "__SIZEOF_INT%d__").
    std::set<std::string> Templates;
    // The pieces a compiler pastes into names, with the reserved names it keeps within a few
    // strings of each: a program keeps the strings of one source file together, so a piece
    // lies beside the names built or spelled where it is used ("_FMT" beside "_MAX__",
    // "k8" beside "__tune_athlon_sse__"). The pieces are whole strings of three forms: a
    // capital word after one underscore ("_FMT"), a lower-case head with one underscore at
    // either end of it ("__tune_"), and a short lower-case word ("k8").
    std::map<std::string, std::set<std::string>> Beside;
    // The letters of whole strings of two to four letters: a compiler walks such a string
    // to paste one letter at a time ("di", "ouxX", the conversions of printf).
    std::set<char> Letters;
};

// The forms of the pieces kept in ProgramWords::Beside.
bool IsCapitalPiece(const std::string& text);
bool IsLowerHead(const std::string& text);
bool IsShortLowerWord(const std::string& text);

// No program is read past this size, nor more than this in all: the compiler proper of a
// language is some tens of MiB, and reading is bounded whatever lies there.
constexpr std::uint64_t kProgramReadLimit = std::uint64_t{64} << 20;
constexpr std::uint64_t kProgramsReadInAll = std::uint64_t{72} << 20;

// The compiler's programs: the executable the command names, as the shell finds it through PATH;
// the programs beside it that it names, and the libraries it names in its own installation; the
// executables in the directories that hold the -i directories (a compiler keeps its private
// headers beside its passes); and the driver's configuration files (its `specs`) there, which
// define the macros of each target device. Each file once, in a fixed order: the driver, the
// programs it names, the configuration files, then the passes, those the driver names most first.
std::vector<std::string> CompilerPrograms(const Options& options);

// The words of the files, each read up to the limits above (a file past its limit is
// read up to it); unreadable files give nothing.
ProgramWords ReadProgramWords(const std::vector<std::string>& files);
