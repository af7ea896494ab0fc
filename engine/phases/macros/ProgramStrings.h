// The names the compiler's own programs spell: a compiler defines most of its macros from
// strings of its driver and of the programs of its installation (cc1 and the like), and
// no header need mention them. Read in-process as candidates only; each is still probed.
#pragma once

#include <cstdint>
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
    // Names with one "%s" that the compiler fills to make a macro name ("__%s_FBIT__").
    std::set<std::string> Templates;
};

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
