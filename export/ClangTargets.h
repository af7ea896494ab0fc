// The data models of the targets clang knows, and the choice of the target (with corrective
// switches) whose model comes nearest to a personality's measured types.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "export/PersonalityFacts.h"

namespace kxexport {

// What a target gives the base types (bits, and bytes of alignment inside a structure),
// plain char, wchar_t and size_t (ptrdiff_t has the size of size_t on every target here).
struct DataModel {
    std::array<TypeLayout, BaseTypeCount> Types{};
    bool CharUnsigned = false;
    int WcharBits = 32;
    bool WcharUnsigned = false;
    int SizeTypeBits = 32;
};

// A switch that changes the layout of some base types on one target.
struct TypeSwitch {
    std::string Switch;
    std::vector<std::pair<BaseType, TypeLayout>> Changes;
};

struct ClangTarget {
    std::string Triple;
    std::string ArchMacro;  // a macro the target's own compilers predefine
    DataModel Model;
    std::vector<TypeSwitch> Switches;  // at most one of them applies
    ByteOrder Order = ByteOrder::Little;
    // Type keywords clang has on this target: a personality that has them as type keywords
    // leaves them to clang rather than to a base type of the nearest size, which would make
    // two overloads or specialisations of one type in the C++ library.
    std::vector<std::string> ExtendedTypes;
};

// The targets the choice considers, most common first (the earlier one wins a tie).
const std::vector<ClangTarget>& ClangTargets();

struct ClangTargetChoice {
    std::string Triple;
    std::vector<std::string> Switches;     // char signedness and layout corrections
    std::vector<std::string> Unexpressed;  // each measured fact that the choice still misses
    std::vector<std::string> ExtendedTypes;  // of the chosen target
};

ClangTargetChoice ChooseClangTarget(const Personality& personality);

}  // namespace kxexport
