#include "engine/phases/keywords/KeywordLists.h"

#include "common/DeploymentLayout.h"
#include "engine/core/Files.h"
#include "engine/core/ListIterators.h"
#include "engine/core/Reporter.h"

#include <sstream>

namespace {

template <typename Iterator, typename Container>
void LoadList(Reporter& report, const std::string& directory, const std::string& file, Container& container, int& missing)
{
    std::string content;
    if (!ReadWholeFile(directory + file, content)) {
        report.Say("Error: Cannot open " + file);
        ++missing;
        return;
    }
    std::istringstream in(content);
    container.insert(Iterator(in), Iterator());
}

}  // namespace

KeywordLists LoadKeywordLists(bool isC, Reporter& report, const std::string& directory)
{
    const std::string dir = directory.empty() || directory.back() == '/' ? directory : directory + "/";
    KeywordLists lists;
    namespace layout = kxcommon::layout;
    LoadList<map_iterator>(report, dir, layout::ReplaceList(isC), lists.ReplaceKeywords, lists.Missing);
    LoadList<line_iterator>(report, dir, layout::IgnoreList, lists.IgnoreKeywords, lists.Missing);
    LoadList<line_iterator>(report, dir, layout::IgnoreReservedList, lists.IgnoreReservedWords, lists.Missing);
    LoadList<map_iterator>(report, dir, layout::ExtensionList, lists.ZanExtensionKeywords, lists.Missing);
    LoadList<map_iterator>(report, dir, layout::BuiltinReplaceList, lists.BuiltinReplaceKeywords, lists.Missing);
    LoadList<line_iterator>(report, dir, layout::KeywordList(isC), lists.LanguageKeywords, lists.Missing);
    LoadList<line_iterator>(report, dir, layout::CandidateList, lists.CandidateKeywords, lists.Missing);
    return lists;
}
