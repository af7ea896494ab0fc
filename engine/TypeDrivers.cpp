// The type lines of the personality: base type sizes and alignments, plain char's
// signedness, the standard typedefs and the compiler's own type keywords.
#include "KestrixEngine.h"

#include <cstdlib>
#include <ostream>

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
        if (base.Kind == type.Kind && base.SizeBits == type.SizeBits)
            return &base;
    return nullptr;
}

const DataType* NearestBaseType(const std::vector<DataType>& bases, const DataType& type)
{
    const DataType* choice = nullptr;
    for (const DataType& base : bases) {
        if (base.Kind != type.Kind)
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

void KestrixEngine::ConductBaseTypeTests(std::ostream& personality)
{
    Say("Conducting Type Tests ...");
    for (DataType& type : BaseTypes) {
        TestType("", type);
        TestTypeAlignment(type);
        if (type.SizeBits != 0) {
            personality << S_OPT_S << type.PersonalityName << "=" << type.SizeBits << "\n";
            personality << S_OPT_A << type.PersonalityName << "=" << type.AlignBytes << "\n";
        }
        if (IsC && type.TypeName == S_CHAR)
            personality << (type.IsUnsigned ? "-u+" : "-u-") << "\n";
    }
    ConductIntrinsicTypeTests(personality);
}

void KestrixEngine::ConductIntrinsicTypeTests(std::ostream& personality)
{
    std::vector<DataType> intrinsics;
    intrinsics.emplace_back(S_SIZE_T, 0, 0, 0, false, S_SIZE_T);
    intrinsics.emplace_back(S_PTRDIFF_T, 0, 0, 0, false, S_PTRDIFF_T);
    DataType wideChar(S_WCHAR_T, 0, 0, 0, false, S_WCHAR_T);
    // In C++ wchar_t is a type of the language; the analyser knows it already.
    if (!IsC)
        TestType("", wideChar);
    if (IsC || wideChar.SizeBits == 0)
        intrinsics.push_back(wideChar);

    for (DataType& type : intrinsics) {
        for (const std::string* prefix : {&S_INCLUDE_STDDEF, &S_INCLUDE_STDIO, &S_INCLUDE_STDLIB, &S_EMPTY}) {
            TestType(*prefix, type);
            if (type.SizeBits != 0)
                break;
        }
        const std::string& name = type.PersonalityName;
        if (type.SizeBits == 0) {
            Say(name + " test failed, " + name +
                " may not be a type, however if it is please check that stddef.h/stdio.h/stdlib.h exists and is on the compile path");
            continue;
        }
        const DataType* base = FirstSameKindAndSize(BaseTypes, type);
        if (base == nullptr) {
            Say(name + " is " + KindWord(type.Kind) + " of " + std::to_string(type.SizeBits) +
                " bits, which matches no base type; no intrinsic type line is written for it");
            continue;
        }
        personality << S_OPT_IT << "\"" << name << "=" << (type.IsUnsigned ? S_UNSIGNED : S_EMPTY)
                    << base->PersonalityName << "\"\n";
    }
}

void KestrixEngine::ConductKWTypeTests(const std::set<std::string>& typeKeywords,
                                       std::ostream& personality)
{
    Say("Conducting Keyword Type Tests ...");
    for (const std::string& keyword : typeKeywords) {
        DataType type(keyword, 0, 0, 0, false, keyword);
        TestType("", type);
        const DataType* base = NearestBaseType(BaseTypes, type);
        if (base == nullptr) {
            Say(keyword + " is " + KindWord(type.Kind) +
                ", of which there is no base type; no definition is written for it");
            continue;
        }
        personality << DefineOption << "\"" << keyword << "="
                    << (type.IsUnsigned ? S_UNSIGNED : S_EMPTY) << base->TypeName << "\"\n";
        if (IsC && base->TypeName == S_LONG_LONG)
            personality << S_OPT_EXTENSION << S_LONGLONG << "\n";
    }
}
