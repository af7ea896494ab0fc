// The type lines of the personality: base type sizes and alignments, plain char's
// signedness, the standard typedefs and the compiler's own type keywords.
#include "engine/phases/types/TypeTests.h"

#include "engine/core/Reporter.h"

#include <cstdlib>
#include <utility>

namespace {

const char* KindWord(std::int32_t kind)
{
    switch (kind) {
    case DataType::Integer:
        return "an integer type";
    case DataType::Pointer:
        return "a pointer type";
    case DataType::Floating:
        return "a floating type";
    default:
        return "a type of unknown kind";
    }
}

}  // namespace

const DataType* FirstSameKindAndSize(const std::vector<DataType>& bases, const DataType& type)
{
    for (const DataType& base : bases)
        if (base.Kind == type.Kind && base.SizeBits == type.SizeBits && base.SizeBits != 0)
            return &base;
    return nullptr;
}

const DataType* NearestBaseType(const std::vector<DataType>& bases, const DataType& type)
{
    const DataType* choice = nullptr;
    for (const DataType& base : bases) {
        // A base type the compiler does not have is no type to write another one as.
        if (base.Kind != type.Kind || base.SizeBits == 0)
            continue;
        if (choice == nullptr) {
            choice = &base;
            continue;
        }
        const long distance = std::labs(static_cast<long>(base.SizeBits) - type.SizeBits);
        const long chosen = std::labs(static_cast<long>(choice->SizeBits) - type.SizeBits);
        if (distance < chosen || (distance == chosen && base.SizeBits >= choice->SizeBits))
            choice = &base;
    }
    return choice;
}

std::vector<DataType> MakeBaseTypes()
{
    // What each base type is taken to be until a test tells otherwise, in the format's order.
    struct Assumed {
        std::int32_t Kind;
        std::int32_t Bits;
        std::int32_t AlignBytes;
    };
    static constexpr Assumed kAssumed[kxcommon::BaseTypeCount] = {
        {DataType::Integer, 8, 1},   {DataType::Integer, 32, 4},  {DataType::Integer, 16, 2}, {DataType::Integer, 32, 4},
        {DataType::Integer, 64, 8},  {DataType::Floating, 32, 4}, {DataType::Floating, 64, 8}, {DataType::Floating, 64, 8},
        {DataType::Pointer, 32, 4},  {DataType::Pointer, 32, 4},
    };
    std::vector<DataType> types;
    for (std::size_t i = 0; i < kxcommon::BaseTypeCount; ++i) {
        const kxcommon::BaseType type = kxcommon::AllBaseTypes[i];
        types.emplace_back(kxcommon::TestSpelling(type), kAssumed[i].Kind, kAssumed[i].Bits, kAssumed[i].AlignBytes,
                           false, kxcommon::PersonalityName(type));
        types.back().KindKnown = true;
    }
    return types;
}

namespace {

kxcommon::BaseType BaseOf(const DataType& base)
{
    return *kxcommon::BaseTypeFromPersonalityName(base.PersonalityName);
}

}  // namespace

std::vector<DataType> ConductBaseTypeTests(const RunContext& context)
{
    context.Report.Say("Conducting Type Tests ...");
    const TypeProber prober(context);
    std::vector<DataType> types = MakeBaseTypes();
    const std::vector<bool> together = MeasureTypesTogether(context, "", true, types);
    // Every other type is measured on its own; the alignment test needs only that type's size. The
    // sizes MakeBaseTypes starts from are no facts of this compiler: a type it does not
    // have is left without a size, and so without lines, rather than given one of them.
    context.ForEach(
        types.size(),
        [&](std::size_t i) {
            DataType type = types[i];
            if (together[i])
                return std::make_pair(type, std::string());
            type.SizeBits = 0;
            type.AlignBytes = 0;
            const std::string unmeasured = prober.TestType("", type);
            if (unmeasured.empty())
                prober.TestTypeAlignment(type);
            return std::make_pair(type, unmeasured);
        },
        [&](std::size_t i, std::pair<DataType, std::string> measured) {
            types[i] = std::move(measured.first);
            const DataType& type = types[i];
            // Every compiler has int: where the probes found none, the compile options may
            // reject their sources whatever they ask.
            if (!measured.second.empty() && type.TypeName == "int")
                context.RequireAccepted(std::string("int main(void) {int a; (void)a; return 0; }\n"),
                                        std::string("typetest") + context.Opts.SourceExt(), "the sizes of the types");
            if (!measured.second.empty())
                context.Report.Say("The base type " + CastType(type.TypeName) + " is left out: " + measured.second +
                    ", so it is taken to be no type of this compiler and no size or alignment line is written for it");
            else if (type.AlignBytes == 0)
                context.Report.Say("The alignment of " + CastType(type.TypeName) +
                    " could not be measured: the compiler makes no structure arrays with it and does not state "
                    "the size of a structure holding it, so no alignment line is written for it");
        });
    return types;
}

std::vector<TypeAsBase> ConductIntrinsicTypeTests(const RunContext& context, const std::vector<DataType>& baseTypes)
{
    std::vector<TypeAsBase> found;
    const TypeProber prober(context);
    std::vector<DataType> intrinsics;
    intrinsics.emplace_back("size_t", 0, 0, 0, false, "size_t");
    intrinsics.emplace_back("ptrdiff_t", 0, 0, 0, false, "ptrdiff_t");
    DataType wideChar("wchar_t", 0, 0, 0, false, "wchar_t");
    // In C++ wchar_t is a type of the language; the analyser knows it already.
    if (!context.Opts.IsC)
        prober.TestType("", wideChar);
    if (context.Opts.IsC || wideChar.SizeBits == 0)
        intrinsics.push_back(wideChar);

    static const char* const kPrefixes[] = {"#include <stddef.h>\n", "#include <stdio.h>\n",
                                            "#include <stdlib.h>\n", ""};
    // Where stddef.h declares them all, as it does in every C library, the first prefix is
    // the one the tests of one type at a time would settle on.
    for (DataType& type : intrinsics)
        type.Kind = DataType::Integer;
    const std::vector<bool> together = MeasureTypesTogether(context, kPrefixes[0], false, intrinsics);
    context.ForEach(
        intrinsics.size(),
        [&](std::size_t i) {
            DataType type = intrinsics[i];
            if (together[i])
                return type;
            for (const char* prefix : kPrefixes) {
                prober.TestType(prefix, type);
                if (type.SizeBits != 0)
                    break;
            }
            return type;
        },
        [&](std::size_t, const DataType& type) {
            const std::string& name = type.PersonalityName;
            if (type.SizeBits == 0) {
                context.Report.Say(name + " test failed, " + name +
                    " may not be a type, however if it is please check that stddef.h/stdio.h/stdlib.h exists and is on the compile path");
                return;
            }
            const DataType* base = FirstSameKindAndSize(baseTypes, type);
            if (base == nullptr) {
                context.Report.Say(name + " is " + KindWord(type.Kind) + " of " + std::to_string(type.SizeBits) +
                    " bits, which matches no base type; no intrinsic type line is written for it");
                return;
            }
            found.push_back({name, type.IsUnsigned, BaseOf(*base)});
        });
    return found;
}

std::vector<TypeAsBase> ConductKWTypeTests(const RunContext& context, const std::vector<DataType>& baseTypes,
                                           const std::set<std::string>& typeKeywords)
{
    std::vector<TypeAsBase> found;
    context.Report.Say("Conducting Keyword Type Tests ...");
    // The definition names the base type as source text, and "codeptr" is no C type: a
    // pointer keyword is mapped onto the data pointer instead.
    std::vector<DataType> candidates;
    for (const DataType& base : baseTypes)
        if (base.TypeName != "codeptr")
            candidates.push_back(base);
    const TypeProber prober(context);
    std::vector<DataType> types;
    for (const std::string& keyword : typeKeywords)
        types.emplace_back(keyword, 0, 0, 0, false, keyword);

    // Where the objects can be read, only the kinds take compiles of their own: the sizes
    // and signedness of all the keywords come from one object. A keyword that cannot
    // declare an object is measured by constant expressions, one at a time, and so are the
    // others then.
    std::vector<bool> together(types.size(), false);
    if (!context.Opts.Exact && !types.empty()) {
        std::vector<DataType> kinds = types;
        bool declareAll = true;
        const std::vector<KindAnswers> known = KindProbesTogether(context, kinds);
        context.ForEach(
            kinds.size(),
            [&](std::size_t i) {
                DataType type = kinds[i];
                bool declares = false;
                return std::make_pair(prober.TestKind("", type, declares, &known[i]) && declares, type);
            },
            [&](std::size_t i, std::pair<bool, DataType> measured) {
                declareAll = declareAll && measured.first;
                kinds[i] = std::move(measured.second);
            });
        if (declareAll) {
            together = MeasureTypesTogether(context, "", false, kinds);
            for (std::size_t i = 0; i < types.size(); ++i)
                if (together[i])
                    types[i] = kinds[i];
        }
    }
    context.ForEach(
        types.size(),
        [&](std::size_t i) {
            DataType type = types[i];
            std::string unmeasured;
            if (!together[i])
                unmeasured = prober.TestType("", type);
            return std::make_pair(type, unmeasured);
        },
        [&](std::size_t, const std::pair<DataType, std::string>& measured) {
            const DataType& type = measured.first;
            const std::string& keyword = type.TypeName;
            // The keyword is a type all the same, and the analyser needs some type for it.
            if (!measured.second.empty())
                context.Report.Say("The size of " + keyword + " is unknown: " + measured.second +
                    "; it is written as the smallest base type of its kind");
            const DataType* base = NearestBaseType(candidates, type);
            if (base == nullptr) {
                context.Report.Say(keyword + " is " + KindWord(type.Kind) +
                    ", of which there is no base type; no definition is written for it");
                return;
            }
            found.push_back({keyword, type.IsUnsigned, BaseOf(*base)});
        });
    return found;
}
