// Loads the keyword list files from the working directory, one range insertion each.
#include "KestrixEngine.h"

#include <fstream>

namespace {

template <typename Container, typename Iterator>
void LoadList(const std::string& file, Container& container)
{
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open()) {
        Say("Error: Cannot open " + file);
        return;
    }
    container.insert(Iterator(in), Iterator());
}

}  // namespace

void KestrixEngine::LoadKeywordLists()
{
    using Set = std::set<std::string>;
    using Map = std::map<std::string, std::string>;
    LoadList<Map, map_iterator>(IsC ? "c_replace_keywords.txt" : "cpp_replace_keywords.txt",
                                ReplaceKeywords);
    LoadList<Set, line_iterator>("ignore_keywords.txt", IgnoreKeywords);
    LoadList<Set, line_iterator>("ignore_reserved_words.txt", IgnoreReservedWords);
    LoadList<Map, map_iterator>("zan_extension_keywords.txt", ZanExtensionKeywords);
    LoadList<Map, map_iterator>("builtin_replace_keywords.txt", BuiltinReplaceKeywords);
    if (IsC)
        LoadList<Set, line_iterator>("c_keywords.txt", CKeywords);
    else
        LoadList<Set, line_iterator>("cpp_keywords.txt", CppKeywords);
}
