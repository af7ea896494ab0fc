#include "export/ClangTargets.h"

#include <algorithm>
#include <tuple>

namespace kxexport {

namespace {

using Layouts = std::array<TypeLayout, BaseTypeCount>;

DataModel Model(const Layouts& types, bool charUnsigned, int wcharBits, bool wcharUnsigned, int sizeTypeBits)
{
    return DataModel{types, charUnsigned, wcharBits, wcharUnsigned, sizeTypeBits};
}

// Each row as clang 14 lays the types out (sizeof, and the offset of the type after a char
// in a structure); tests/export holds the rows against clang's own answers.
// Type order: char, int, short, long, long long, float, double, long double, data pointer,
// code pointer.
std::vector<ClangTarget> MakeTargets()
{
    const Layouts lp64{{{8, 1}, {32, 4}, {16, 2}, {64, 8}, {64, 8}, {32, 4}, {64, 8}, {128, 16}, {64, 8}, {64, 8}}};
    const Layouts ilp32{{{8, 1}, {32, 4}, {16, 2}, {32, 4}, {64, 8}, {32, 4}, {64, 8}, {64, 8}, {32, 4}, {32, 4}}};
    Layouts ilp32Quad = ilp32;
    ilp32Quad[static_cast<std::size_t>(BaseType::LongDouble)] = {128, 16};
    const Layouts i386{{{8, 1}, {32, 4}, {16, 2}, {32, 4}, {64, 4}, {32, 4}, {64, 4}, {96, 4}, {32, 4}, {32, 4}}};
    const Layouts avr{{{8, 1}, {16, 1}, {16, 2}, {32, 1}, {64, 1}, {32, 1}, {32, 1}, {32, 1}, {16, 1}, {16, 1}}};
    const Layouts msp430{{{8, 1}, {16, 2}, {16, 2}, {32, 2}, {64, 2}, {32, 2}, {64, 2}, {64, 2}, {16, 2}, {16, 2}}};
    const Layouts xcore{{{8, 1}, {32, 4}, {16, 2}, {32, 4}, {64, 4}, {32, 4}, {64, 4}, {64, 4}, {32, 4}, {32, 4}}};
    Layouts llp64 = ilp32;
    llp64[static_cast<std::size_t>(BaseType::DataPtr)] = {64, 8};
    llp64[static_cast<std::size_t>(BaseType::CodePtr)] = {64, 8};
    Layouts s390x = lp64;
    s390x[static_cast<std::size_t>(BaseType::LongDouble)] = {128, 8};

    Layouts mingw64 = llp64;
    mingw64[static_cast<std::size_t>(BaseType::LongDouble)] = {128, 16};
    // 32-bit Windows aligns 8-byte types on 8 in structures, unlike the System V ABI.
    Layouts mingw32 = i386;
    mingw32[static_cast<std::size_t>(BaseType::LongLong)] = {64, 8};
    mingw32[static_cast<std::size_t>(BaseType::Double)] = {64, 8};

    const TypeSwitch x86_64LongDouble64{"-mlong-double-64", {{BaseType::LongDouble, {64, 8}}}};
    const TypeSwitch i386LongDouble64{"-mlong-double-64", {{BaseType::LongDouble, {64, 4}}}};
    const TypeSwitch i386LongDouble128{"-mlong-double-128", {{BaseType::LongDouble, {128, 16}}}};
    const TypeSwitch ppcLongDouble64{"-mlong-double-64", {{BaseType::LongDouble, {64, 8}}}};
    const TypeSwitch avrDouble64{"-mdouble=64", {{BaseType::Double, {64, 1}}, {BaseType::LongDouble, {64, 1}}}};

    constexpr ByteOrder little = ByteOrder::Little;
    constexpr ByteOrder big = ByteOrder::Big;
    const std::vector<std::string> int128{"__int128", "__int128_t", "__uint128_t"};
    const std::vector<std::string> x86_64Types{"__int128", "__int128_t", "__uint128_t", "__float128"};

    return {
        {"x86_64-linux-gnu", "__x86_64__", Model(lp64, false, 32, false, 64), {x86_64LongDouble64}, little, x86_64Types},
        {"i686-linux-gnu", "__i386__", Model(i386, false, 32, false, 32), {i386LongDouble64, i386LongDouble128}, little, {}},
        {"aarch64-linux-gnu", "__aarch64__", Model(lp64, true, 32, true, 64), {}, little, int128},
        {"arm-none-eabi", "__arm__", Model(ilp32, true, 32, true, 32), {}, little, {}},
        {"riscv32-unknown-elf", "__riscv", Model(ilp32Quad, true, 32, false, 32), {}, little, {}},
        {"riscv64-unknown-elf", "__riscv", Model(lp64, true, 32, false, 64), {}, little, int128},
        {"avr", "__AVR__", Model(avr, false, 16, false, 16), {avrDouble64}, little, {}},
        {"msp430", "__MSP430__", Model(msp430, false, 16, false, 16), {}, little, {}},
        {"m68k-linux-gnu", "__m68k__", Model(ilp32, false, 32, false, 32), {}, big, {}},
        {"powerpc-linux-gnu", "__powerpc__", Model(ilp32Quad, true, 32, false, 32), {ppcLongDouble64}, big, {}},
        {"powerpc64le-linux-gnu", "__powerpc64__", Model(lp64, true, 32, false, 64), {ppcLongDouble64}, little, int128},
        {"mips-linux-gnu", "__mips__", Model(ilp32, false, 32, false, 32), {}, big, {}},
        {"mipsel-linux-gnu", "__mips__", Model(ilp32, false, 32, false, 32), {}, little, {}},
        {"mips64-linux-gnuabi64", "__mips64", Model(lp64, false, 32, false, 64), {}, big, int128},
        {"sparc-unknown-elf", "__sparc__", Model(ilp32, false, 32, false, 32), {}, big, {}},
        {"sparcv9-unknown-elf", "__sparc_v9__", Model(lp64, false, 32, false, 64), {}, big, int128},
        {"x86_64-w64-windows-gnu", "__MINGW64__", Model(mingw64, false, 16, true, 64), {}, little, int128},
        {"i686-w64-windows-gnu", "__MINGW32__", Model(mingw32, false, 16, true, 32), {}, little, {}},
        {"x86_64-windows-msvc", "_WIN64", Model(llp64, false, 16, true, 64), {}, little, {}},
        {"i686-windows-msvc", "_WIN32", Model(ilp32, false, 16, true, 32), {}, little, {}},
        {"xcore", "__XS1B__", Model(xcore, true, 8, true, 32), {}, little, {}},
        {"hexagon", "__hexagon__", Model(ilp32, true, 32, false, 32), {}, little, {}},
        {"s390x-linux-gnu", "__s390x__", Model(s390x, true, 32, false, 64), {}, big, int128},
    };
}

// The facts of the personality that a data model can match; 0 and unset where it has none.
struct Measured {
    const Personality& Facts;
    int WcharBits = 0;
    bool WcharUnsigned = false;
    int SizeTypeBits = 0;
    int PtrdiffBits = 0;

    explicit Measured(const Personality& facts) : Facts(facts)
    {
        WcharBits = IntrinsicBits("wchar_t");
        SizeTypeBits = IntrinsicBits("size_t");
        PtrdiffBits = IntrinsicBits("ptrdiff_t");
        if (const IntrinsicType* wchar = facts.Intrinsic("wchar_t"))
            WcharUnsigned = wchar->Unsigned;
    }

    int IntrinsicBits(const std::string& name) const
    {
        const IntrinsicType* type = Facts.Intrinsic(name);
        return type ? Facts.Layout(type->Base).SizeBits : 0;
    }
};

// Weights: a size the analyser gets wrong changes the types of expressions and every
// sizeof; an alignment only changes layouts.
constexpr int SizeMiss = 4;
constexpr int TypedefMiss = 2;
constexpr int AlignMiss = 1;
// A wrong byte order changes every value read through a type other than the one written:
// it counts more than one wrong size (m68k gcc, big-endian with a 96-bit long double, is
// nearer to clang's m68k than to i686).
constexpr int OrderMiss = SizeMiss + 1;

struct Candidate {
    std::size_t Index = 0;
    std::vector<std::string> Switches;
    DataModel Model;
    int Cost = 0;
};

int Cost(const Measured& measured, const DataModel& model, ByteOrder order)
{
    int cost = 0;
    if (measured.Facts.Order != ByteOrder::Unknown && measured.Facts.Order != order)
        cost += OrderMiss;
    for (std::size_t i = 0; i < BaseTypeCount; ++i) {
        const TypeLayout& fact = measured.Facts.Types[i];
        // clang's char is always 8 bits: a char of another size is missed by every target.
        if (fact.SizeBits != 0 && i != static_cast<std::size_t>(BaseType::Char) && fact.SizeBits != model.Types[i].SizeBits)
            cost += SizeMiss;
        if (fact.AlignBytes != 0 && fact.AlignBytes != model.Types[i].AlignBytes)
            cost += AlignMiss;
    }
    if (measured.WcharBits != 0 && (measured.WcharBits != model.WcharBits || measured.WcharUnsigned != model.WcharUnsigned))
        cost += TypedefMiss;
    if (measured.SizeTypeBits != 0 && measured.SizeTypeBits != model.SizeTypeBits)
        cost += TypedefMiss;
    if (measured.PtrdiffBits != 0 && measured.PtrdiffBits != model.SizeTypeBits)
        cost += TypedefMiss;
    return cost;
}

// Every combination of one type switch (or none), a structure packing (or none) and a
// 16-bit wchar_t (or not) on one target.
std::vector<Candidate> CandidatesOf(std::size_t index, const ClangTarget& target)
{
    std::vector<const TypeSwitch*> typeSwitches{nullptr};
    for (const TypeSwitch& typeSwitch : target.Switches)
        typeSwitches.push_back(&typeSwitch);
    std::vector<Candidate> candidates;
    for (const TypeSwitch* typeSwitch : typeSwitches) {
        for (const int pack : {0, 1, 2, 4, 8}) {
            for (const bool shortWchar : {false, true}) {
                Candidate candidate{index, {}, target.Model, 0};
                if (typeSwitch) {
                    candidate.Switches.push_back(typeSwitch->Switch);
                    for (const auto& [type, layout] : typeSwitch->Changes)
                        candidate.Model.Types[static_cast<std::size_t>(type)] = layout;
                }
                if (pack != 0) {
                    candidate.Switches.push_back("-fpack-struct=" + std::to_string(pack));
                    for (TypeLayout& layout : candidate.Model.Types)
                        layout.AlignBytes = std::min(layout.AlignBytes, pack);
                }
                if (shortWchar) {
                    candidate.Switches.push_back("-fshort-wchar");
                    candidate.Model.WcharBits = 16;
                    candidate.Model.WcharUnsigned = true;
                }
                candidates.push_back(candidate);
            }
        }
    }
    return candidates;
}

std::string Signedness(bool isUnsigned) { return isUnsigned ? "unsigned" : "signed"; }

const char* OrderName(ByteOrder order) { return order == ByteOrder::Big ? "big-endian" : "little-endian"; }

std::vector<std::string> Misses(const Measured& measured, const DataModel& model, const std::string& target, ByteOrder order)
{
    std::vector<std::string> misses;
    const std::string chosen = "--target=" + target;
    if (measured.Facts.Order != ByteOrder::Unknown && measured.Facts.Order != order)
        misses.push_back(std::string("The compiler is ") + OrderName(measured.Facts.Order) + "; " + chosen + " is "
                         + OrderName(order) + ".");
    for (std::size_t i = 0; i < BaseTypeCount; ++i) {
        const auto type = static_cast<BaseType>(i);
        const TypeLayout& fact = measured.Facts.Types[i];
        const TypeLayout& given = model.Types[i];
        if (fact.SizeBits != 0 && fact.SizeBits != given.SizeBits) {
            misses.push_back(std::string("The ") + Description(type) + " is " + std::to_string(fact.SizeBits)
                             + " bits; " + (type == BaseType::Char ? "clang's char is always 8 bits." : chosen + " gives "
                             + std::to_string(given.SizeBits) + " bits."));
        }
        if (fact.AlignBytes != 0 && fact.AlignBytes != given.AlignBytes) {
            misses.push_back(std::string("The ") + Description(type) + " is aligned on " + std::to_string(fact.AlignBytes)
                             + " bytes in structures; " + chosen + " aligns it on " + std::to_string(given.AlignBytes) + ".");
        }
    }
    if (measured.WcharBits != 0 && (measured.WcharBits != model.WcharBits || measured.WcharUnsigned != model.WcharUnsigned)) {
        misses.push_back("The wchar_t is " + std::to_string(measured.WcharBits) + " bits, " + Signedness(measured.WcharUnsigned)
                         + "; " + chosen + " gives " + std::to_string(model.WcharBits) + " bits, "
                         + Signedness(model.WcharUnsigned) + ".");
    }
    for (const auto& [name, bits] : {std::pair<std::string, int>{"size_t", measured.SizeTypeBits}, {"ptrdiff_t", measured.PtrdiffBits}}) {
        if (bits != 0 && bits != model.SizeTypeBits) {
            misses.push_back("The " + name + " is " + std::to_string(bits) + " bits; " + chosen + " gives "
                             + std::to_string(model.SizeTypeBits) + " bits.");
        }
    }
    return misses;
}

}  // namespace

const std::vector<ClangTarget>& ClangTargets()
{
    static const std::vector<ClangTarget> targets = MakeTargets();
    return targets;
}

ClangTargetChoice ChooseClangTarget(const Personality& personality)
{
    const Measured measured(personality);
    const std::vector<ClangTarget>& targets = ClangTargets();
    // Nearest model first; then fewer switches, counting the char signedness switch where
    // it changes the target's own (a compiler that names no architecture macro, such as a
    // bare-metal RISC-V gcc without a C library, is still told from x86 by its unsigned
    // char); then a target whose compilers define a macro the personality has (same
    // architecture); then the table's order.
    auto rank = [&](const Candidate& c) {
        const bool sameArch = personality.FindDefine(targets[c.Index].ArchMacro) != nullptr;
        const bool charSwitched = personality.CharUnsigned && *personality.CharUnsigned != c.Model.CharUnsigned;
        return std::make_tuple(c.Cost, c.Switches.size() + (charSwitched ? 1 : 0), !sameArch, c.Index);
    };
    Candidate best;
    bool any = false;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        for (Candidate& candidate : CandidatesOf(i, targets[i])) {
            candidate.Cost = Cost(measured, candidate.Model, targets[i].Order);
            if (!any || rank(candidate) < rank(best)) {
                best = candidate;
                any = true;
            }
        }
    }

    ClangTargetChoice choice;
    choice.Triple = targets[best.Index].Triple;
    if (personality.CharUnsigned)
        choice.Switches.push_back(*personality.CharUnsigned ? "-funsigned-char" : "-fsigned-char");
    choice.Switches.insert(choice.Switches.end(), best.Switches.begin(), best.Switches.end());
    choice.Unexpressed = Misses(measured, best.Model, choice.Triple, targets[best.Index].Order);
    choice.ExtendedTypes = targets[best.Index].ExtendedTypes;
    return choice;
}

}  // namespace kxexport
