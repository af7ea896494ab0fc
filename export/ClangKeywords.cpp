#include "export/ClangKeywords.h"

#include <algorithm>
#include <iterator>

namespace kxexport {

namespace {

enum Languages { Both, COnly, CppOnly };

struct OwnKeyword {
    const char* Name;
    Languages In;
};

// Extended types (__int128, _Float16, __float128, __bf16, fixed-point types) and __thread
// are not here: clang accepts them only on some targets, so the personality's stand-in is
// the safer reading.
constexpr OwnKeyword OwnKeywords[] = {
    {"asm", Both},           {"__asm", Both},          {"__asm__", Both},
    {"__attribute", Both},   {"__attribute__", Both},  {"__alignof", Both},
    {"__alignof__", Both},   {"__typeof", Both},       {"__typeof__", Both},
    {"__const", Both},       {"__const__", Both},      {"__volatile", Both},
    {"__volatile__", Both},  {"__signed", Both},       {"__signed__", Both},
    {"__inline", Both},      {"__inline__", Both},     {"__restrict", Both},
    {"__restrict__", Both},  {"__extension__", Both},  {"__complex", Both},
    {"__complex__", Both},   {"_Complex", Both},       {"__real", Both},
    {"__real__", Both},      {"__imag", Both},         {"__imag__", Both},
    {"__label__", Both},     {"__auto_type", Both},    {"__func__", Both},
    {"__FUNCTION__", Both},  {"__PRETTY_FUNCTION__", Both},
    {"__builtin_offsetof", Both},       {"__builtin_va_arg", Both},
    {"__builtin_va_list", Both},        {"__builtin_types_compatible_p", COnly},
    {"__builtin_choose_expr", Both},    {"__builtin_convertvector", Both},
    {"__builtin_shufflevector", Both},  {"__builtin_bit_cast", Both},
    {"__builtin_FILE", Both},           {"__builtin_FUNCTION", Both},
    {"__builtin_LINE", Both},
    {"__decltype", CppOnly},     {"__null", CppOnly},          {"typeof", CppOnly},
};

}  // namespace

bool ClangReadsItself(const std::string& name, bool cpp)
{
    return std::any_of(std::begin(OwnKeywords), std::end(OwnKeywords), [&](const OwnKeyword& keyword) {
        return name == keyword.Name && keyword.In != (cpp ? COnly : CppOnly);
    });
}

std::vector<std::string> ClangOwnKeywords(bool cpp)
{
    std::vector<std::string> names;
    for (const OwnKeyword& keyword : OwnKeywords) {
        if (keyword.In != (cpp ? COnly : CppOnly))
            names.push_back(keyword.Name);
    }
    return names;
}

bool IsGnucVersionMacro(const std::string& name)
{
    return name == "__GNUC__" || name == "__GNUC_MINOR__" || name == "__GNUC_PATCHLEVEL__";
}

bool IsFloatNType(const std::string& name)
{
    const std::string prefix = "_Float";
    if (name.rfind(prefix, 0) != 0 || name.size() == prefix.size())
        return false;
    std::string digits = name.substr(prefix.size());
    if (digits.back() == 'x')
        digits.pop_back();
    return !digits.empty() && digits.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace kxexport
