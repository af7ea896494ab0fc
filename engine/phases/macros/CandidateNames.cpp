// Builds candidate names from the parts of names: the cross of family heads and endings,
// the programs' patterns filled, and the underscore spellings of words.
#include "engine/phases/macros/CandidateNames.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Where a name splits into a head that ends with an underscore and an ending that starts a
// word: after the leading underscores and the first word.
void SplitIntoFamily(const std::string& name, std::map<std::string, int>& heads, std::map<std::string, int>& endings)
{
    std::size_t lead = 0;
    while (lead < name.size() && name[lead] == '_')
        ++lead;
    for (std::size_t i = lead + 1; i < name.size(); ++i)
        if (name[i - 1] == '_' && name[i] != '_') {
            ++heads[name.substr(0, i)];
            ++endings[name.substr(i)];
        }
}

void AddWords(const std::string& name, std::set<std::string>& words)
{
    std::size_t at = 0;
    while (at < name.size()) {
        while (at < name.size() && name[at] == '_')
            ++at;
        std::size_t end = at;
        while (end < name.size() && name[end] != '_')
            ++end;
        if (end > at && !IsDigit(name[at]))
            words.insert(name.substr(at, end - at));
        at = end;
    }
    // The word of a name that is a word with underscores around it, as a whole: "unix" of
    // "__unix__", "SDCC_FLOAT_REENT" of "__SDCC_FLOAT_REENT".
    std::size_t first = name.find_first_not_of('_');
    std::size_t last = name.find_last_not_of('_');
    if (first != std::string::npos && !IsDigit(name[first]))
        words.insert(name.substr(first, last - first + 1));
}

// The word without the number it ends in, when it ends in one after a letter: "mc" of
// "mc68000"; empty otherwise.
std::string NumberStem(const std::string& word)
{
    std::size_t end = word.size();
    while (end > 0 && IsDigit(word[end - 1]))
        --end;
    if (end == word.size() || end == 0 || word[end - 1] == '_')
        return {};
    return word.substr(0, end);
}

// Where the pattern's "%s" or "%d" is.
std::size_t PatternFormat(const std::string& pattern)
{
    const std::size_t text = pattern.find("%s");
    return text != std::string::npos ? text : pattern.find("%d");
}

// The names a compiler makes of a word of its tables: the word with two underscores before it
// and around it, and after each lower-case head the programs keep ("__tune_" + "k8" + "__").
// Only the words and heads kept beside a name that is defined, or beside a name spelled
// with such a head, are the compiler's tables of the target: its programs hold thousands
// of short words.
std::set<std::string> HeadedWords(const std::vector<std::string>& found, const ProgramWords& words)
{
    const std::set<std::string> defined(found.begin(), found.end());
    auto besideDefined = [&](const std::set<std::string>& beside) {
        return std::any_of(beside.begin(), beside.end(),
                           [&](const std::string& name) { return defined.count(name) != 0; });
    };
    std::set<std::string> heads;
    for (const auto& [head, beside] : words.Beside) {
        if (!IsLowerHead(head))
            continue;
        // The programs spell names of the head whole ("__tune_pentium3__").
        bool spellsNames = false;
        for (auto name = words.Identifiers.upper_bound(head);
             !spellsNames && name != words.Identifiers.end() && name->compare(0, head.size(), head) == 0; ++name)
            spellsNames = name->size() > head.size() + 2 && name->compare(name->size() - 2, 2, "__") == 0;
        if (spellsNames || besideDefined(beside))
            heads.insert(head);
    }
    std::set<std::string> names;
    for (const auto& [word, beside] : words.Beside) {
        if (!IsShortLowerWord(word))
            continue;
        const bool besideHeaded = std::any_of(beside.begin(), beside.end(), [&](const std::string& name) {
            return std::any_of(heads.begin(), heads.end(),
                               [&](const std::string& head) { return name.compare(0, head.size(), head) == 0; });
        });
        if (!besideHeaded && !besideDefined(beside))
            continue;
        names.insert({"__" + word, "__" + word + "__"});
        for (const std::string& head : heads)
            names.insert(head + word + "__");
    }
    return names;
}

}  // namespace

std::set<std::string> FilledTemplates(const ProgramWords& words, const std::vector<std::string>& found)
{
    // A number pasted into a name is one that the names found hold: the widths and kinds of
    // the target's types (__SIZEOF_INT%d__ with the 128 of __FLT128_MAX__).
    std::set<std::string> numbers;
    for (const std::string& name : found)
        for (std::size_t at = 0; at < name.size();) {
            std::size_t end = at;
            while (end < name.size() && IsDigit(name[end]))
                ++end;
            if (end > at)
                numbers.insert(name.substr(at, end - at));
            at = end + 1;
        }
    std::set<std::string> names;
    for (const std::string& pattern : words.Templates) {
        const std::size_t at = PatternFormat(pattern);
        const std::string head = pattern.substr(0, at);
        const std::string ending = pattern.substr(at + 2);
        // The pattern's family: names found that have its head and its ending, where these
        // are more than underscores (__ARM_ARCH_%s__ of __ARM_ARCH_ISA_ARM), the pattern
        // filled with nothing among them (__FP_FAST_FMA of __FP_FAST_FMA%s).
        const bool headCounts = head.find_first_not_of('_') != std::string::npos;
        const bool endingCounts = ending.find_first_not_of('_') != std::string::npos;
        bool makesOne = false;
        bool lowerCase = false;
        for (const std::string& name : found)
            if ((headCounts || endingCounts) && name.size() >= head.size() + ending.size() &&
                (!headCounts || name.compare(0, head.size(), head) == 0) &&
                (!endingCounts || name.compare(name.size() - ending.size(), ending.size(), ending) == 0)) {
                makesOne = true;
                lowerCase = lowerCase ||
                            (name.size() > head.size() && name[head.size()] >= 'a' && name[head.size()] <= 'z');
            }
        if (!makesOne)
            continue;
        if (pattern[at + 1] == 'd') {
            for (const std::string& number : numbers)
                names.insert(head + number + ending);
            continue;
        }
        for (const std::string& entry : words.ShortNames)
            names.insert(head + entry + ending);
        // A family spelled in lower case is filled from the lower-case tables: the letters
        // of the letter tables ("__riscv_%s" with the "a" of "imafdc") and the short words
        // kept beside a name of the family ("zicsr" beside "__riscv_arch_test").
        if (!lowerCase)
            continue;
        for (const char letter : words.Letters)
            if (letter >= 'a' && letter <= 'z')
                names.insert(head + letter + ending);
        for (const auto& [word, beside] : words.Beside)
            if (IsShortLowerWord(word) && std::any_of(beside.begin(), beside.end(), [&](const std::string& name) {
                    return headCounts && name.compare(0, head.size(), head) == 0;
                }))
                names.insert(head + word + ending);
    }
    return names;
}

std::set<std::string> FamilyNames(const std::vector<std::string>& found, const ProgramWords& words)
{
    // A part that one name alone has makes no family: crossing it would try every ending
    // with every head for no more than the name itself.
    std::map<std::string, int> headCount;
    std::map<std::string, int> endingCount;
    for (const std::string& name : found)
        SplitIntoFamily(name, headCount, endingCount);
    std::set<std::string> heads;
    std::set<std::string> endings;
    for (const auto& [head, count] : headCount)
        // Unless the programs keep the head as a piece of its own ("__SIG_ATOMIC" of
        // __SIG_ATOMIC_WIDTH__): a compiler pastes the endings to a head it keeps apart, and
        // only those it is asked for get defined.
        if (count > 1 || words.Identifiers.count(head) != 0 ||
            words.Identifiers.count(head.substr(0, head.size() - 1)) != 0)
            heads.insert(head);
    for (const auto& [ending, count] : endingCount)
        if (count > 1)
            endings.insert(ending);
    // A capital piece kept beside an ending of the families ("_FMT" beside "_MAX__") is pasted
    // where that ending is, followed by one letter of the programs' letter tables: the names
    // a compiler builds in a loop over the letters of a string ("_FMT" and "di" or "ouxX").
    std::set<std::string> pasted;
    for (const auto& [piece, beside] : words.Beside)
        if (IsCapitalPiece(piece) && std::any_of(beside.begin(), beside.end(), [&](const std::string& name) {
                return name.size() > 1 && name[0] == '_' && endings.count(name.substr(1)) != 0;
            }))
            for (const char letter : words.Letters)
                pasted.insert(piece.substr(1) + letter + "__");
    endings.insert(pasted.begin(), pasted.end());
    // A pattern's text around "%s" is a head and an ending of the family it makes; one
    // around "%d" numbers the family's members instead (__SIZEOF_INT%d__).
    for (const std::string& pattern : words.Templates) {
        const std::size_t at = pattern.find("%s");
        if (at == std::string::npos)
            continue;
        const std::string head = pattern.substr(0, at);
        if (head.find_first_not_of('_') != std::string::npos && head.back() == '_')
            heads.insert(head);
        std::string ending = pattern.substr(at + 2);
        ending.erase(0, ending.find_first_not_of('_'));
        if (!ending.empty() && !IsDigit(ending[0]))
            endings.insert(ending);
    }
    std::set<std::string> names;
    for (const std::string& head : heads)
        for (const std::string& ending : endings)
            names.insert(head + ending);
    const std::set<std::string> headed = HeadedWords(found, words);
    names.insert(headed.begin(), headed.end());
    return names;
}

std::set<std::string> SpelledWords(const std::vector<std::string>& found, const std::set<std::string>& moreWords,
                                   const ProgramWords& words)
{
    std::set<std::string> parts;
    for (const std::string& name : found)
        AddWords(name, parts);
    std::set<std::string> numbered;
    for (const std::string& part : parts)
        if (const std::string stem = NumberStem(part); !stem.empty())
            numbered.insert(stem);
    for (const std::string& word : moreWords)
        AddWords(word, parts);
    std::set<std::string> names;
    for (const std::string& part : parts) {
        std::string capitals = part;
        for (char& c : capitals)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        for (const std::string& word : {part, capitals})
            names.insert({word, "_" + word, "__" + word, "__" + word + "__"});
    }
    for (const std::string& word : words.Identifiers)
        if (const std::string stem = NumberStem(word); !stem.empty() && numbered.count(stem) != 0)
            names.insert({word, "_" + word, "__" + word, "__" + word + "__"});
    return names;
}

bool IsProgramCandidate(const std::string& name)
{
    if (name.size() < 2 || name[0] != '_')
        return false;
    if (name[1] == '_')
        return true;
    const bool capital = name[1] >= 'A' && name[1] <= 'Z';
    const bool mangled = name[1] == 'Z' && name.size() > 2 && ((name[2] >= 'A' && name[2] <= 'Z') || IsDigit(name[2]));
    return capital && !mangled;
}

bool IsPreprocessorName(const std::string& name)
{
    static const std::set<std::string> kNames{
        // Operators: they take an argument and answer in #if lines only.
        "defined", "__has_include", "__has_include_next", "__has_attribute", "__has_cpp_attribute",
        "__has_c_attribute", "__has_builtin", "__has_feature", "__has_extension", "__has_warning",
        "__has_declspec_attribute", "__is_identifier", "__has_embed", "__has_constexpr_builtin", "__building_module",
        "__is_target_arch", "__is_target_vendor", "__is_target_os", "__is_target_environment",
        "__is_target_variant_os", "__is_target_variant_environment",
        // Names whose value changes with the place or the time of use: frozen at the probe's
        // values they would be wrong everywhere else (__FILE__ as "deftest.c").
        "__FILE__", "__LINE__", "__DATE__", "__TIME__", "__TIMESTAMP__", "__COUNTER__", "__INCLUDE_LEVEL__",
        "__BASE_FILE__", "__FILE_NAME__",
        // Names that have a meaning in macro definitions or as operators of their own.
        "_Pragma", "__VA_ARGS__", "__VA_OPT__"};
    return kNames.count(name) != 0;
}
