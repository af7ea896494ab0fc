#include "ClangKeywords.h"

#include <algorithm>
#include <iterator>

namespace kxexport {

namespace {

struct OwnKeyword {
    const char* Name;
    bool CppOnly;
};

// Extended types (__int128, _Float16, __float128, __bf16, fixed-point types) and __thread
// are not here: clang accepts them only on some targets, so the personality's stand-in is
// the safer reading.
constexpr OwnKeyword OwnKeywords[] = {
    {"asm", false},           {"__asm", false},          {"__asm__", false},
    {"__attribute", false},   {"__attribute__", false},  {"__alignof", false},
    {"__alignof__", false},   {"__typeof", false},       {"__typeof__", false},
    {"__const", false},       {"__const__", false},      {"__volatile", false},
    {"__volatile__", false},  {"__signed", false},       {"__signed__", false},
    {"__inline", false},      {"__inline__", false},     {"__restrict", false},
    {"__restrict__", false},  {"__extension__", false},  {"__complex", false},
    {"__complex__", false},   {"_Complex", false},       {"__real", false},
    {"__real__", false},      {"__imag", false},         {"__imag__", false},
    {"__label__", false},     {"__auto_type", false},    {"__func__", false},
    {"__FUNCTION__", false},  {"__PRETTY_FUNCTION__", false},
    {"__builtin_offsetof", false},       {"__builtin_va_arg", false},
    {"__builtin_va_list", false},        {"__builtin_types_compatible_p", false},
    {"__builtin_choose_expr", false},    {"__builtin_convertvector", false},
    {"__builtin_shufflevector", false},  {"__builtin_bit_cast", false},
    {"__builtin_FILE", false},           {"__builtin_FUNCTION", false},
    {"__builtin_LINE", false},
    {"__decltype", true},     {"__null", true},          {"typeof", true},
};

}  // namespace

bool ClangReadsItself(const std::string& name, bool cpp)
{
    return std::any_of(std::begin(OwnKeywords), std::end(OwnKeywords), [&](const OwnKeyword& keyword) {
        return name == keyword.Name && (cpp || !keyword.CppOnly);
    });
}

std::vector<std::string> ClangOwnKeywords(bool cpp)
{
    std::vector<std::string> names;
    for (const OwnKeyword& keyword : OwnKeywords) {
        if (cpp || !keyword.CppOnly)
            names.push_back(keyword.Name);
    }
    return names;
}

}  // namespace kxexport
