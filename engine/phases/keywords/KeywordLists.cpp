#include "engine/phases/keywords/KeywordLists.h"

#include "common/DeploymentLayout.h"
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
    namespace layout = kxcommon::layout;
    LoadList<map_iterator>(dir, layout::ReplaceList(isC), lists.ReplaceKeywords, lists.Missing);
    LoadList<line_iterator>(dir, layout::IgnoreList, lists.IgnoreKeywords, lists.Missing);
    LoadList<line_iterator>(dir, layout::IgnoreReservedList, lists.IgnoreReservedWords, lists.Missing);
    LoadList<map_iterator>(dir, layout::ExtensionList, lists.ZanExtensionKeywords, lists.Missing);
    LoadList<map_iterator>(dir, layout::BuiltinReplaceList, lists.BuiltinReplaceKeywords, lists.Missing);
    LoadList<line_iterator>(dir, layout::KeywordList(isC), lists.LanguageKeywords, lists.Missing);
    LoadList<line_iterator>(dir, layout::CandidateList, lists.CandidateKeywords, lists.Missing);
    return lists;
}
