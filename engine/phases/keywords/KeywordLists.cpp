#include "engine/phases/keywords/KeywordLists.h"

#include "engine/core/Files.h"
#include "engine/core/ListIterators.h"
#include "engine/core/Reporter.h"

#include <sstream>

namespace {

template <typename Iterator, typename Container>
void LoadList(const std::string& directory, const std::string& file, Container& container, int& missing)
{
    std::string content;
    if (!ReadWholeFile(directory + file, content)) {
        Say("Error: Cannot open " + file);
        ++missing;
        return;
    }
    std::istringstream in(content);
    container.insert(Iterator(in), Iterator());
}

}  // namespace

KeywordLists LoadKeywordLists(bool isC, const std::string& directory)
{
    const std::string dir = directory.empty() || directory.back() == '/' ? directory : directory + "/";
    KeywordLists lists;
    LoadList<map_iterator>(dir, isC ? "c_replace_keywords.txt" : "cpp_replace_keywords.txt",
                           lists.ReplaceKeywords, lists.Missing);
    LoadList<line_iterator>(dir, "ignore_keywords.txt", lists.IgnoreKeywords, lists.Missing);
    LoadList<line_iterator>(dir, "ignore_reserved_words.txt", lists.IgnoreReservedWords, lists.Missing);
    LoadList<map_iterator>(dir, "zan_extension_keywords.txt", lists.ZanExtensionKeywords, lists.Missing);
    LoadList<map_iterator>(dir, "builtin_replace_keywords.txt", lists.BuiltinReplaceKeywords, lists.Missing);
    LoadList<line_iterator>(dir, isC ? "c_keywords.txt" : "cpp_keywords.txt", lists.LanguageKeywords, lists.Missing);
    LoadList<line_iterator>(dir, "candidate_keywords.txt", lists.CandidateKeywords, lists.Missing);
    return lists;
}
