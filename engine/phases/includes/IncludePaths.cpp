#include "engine/phases/includes/IncludePaths.h"

#include <algorithm>
#include <future>
#include <set>

#include "engine/core/Files.h"
#include "engine/phases/batch/Diagnostics.h"
#include "engine/phases/includes/HeaderCopies.h"
#include "engine/phases/includes/IncludeBatches.h"
#include "engine/phases/includes/IncludeDiagnostics.h"
#include "engine/phases/includes/IncludeOrder.h"
#include "engine/core/Reporter.h"
#include "engine/core/TextUtilities.h"

namespace {

const char* const kErrorLine = "this will cause an error - but not a file not found one!";
// Made-up names are cut into components of this length: a component longer than the file
// system allows (255 bytes on most, 14 on old ones) would make the compiler answer "File
// name too long" instead of "No such file", and every long header would look found.
constexpr std::size_t kComponentLength = 12;
// Headers asked by one __has_include compile, and with -rfs, for compilers with small limits.
constexpr std::size_t kHeadersPerBatch = 256;
constexpr std::size_t kReducedHeadersPerBatch = 32;
// Names of each copy asked about in one compile: a few tell the copies apart as well as all.
constexpr std::size_t kNamesPerCopy = 16;
// Headers of a pair tried by what they define, at most; and headers named in a review line.
constexpr std::size_t kDefinitionHeadersPerPair = 4;
constexpr std::size_t kHeadersNamed = 3;

// The components of a directory path, found by cutting at the last "/" repeatedly.
std::vector<std::string> PathComponents(std::string path)
{
    std::vector<std::string> components;
    for (std::size_t slash = path.rfind('/'); slash != std::string::npos; slash = path.rfind('/')) {
        components.push_back(path.substr(slash + 1));
        path.erase(slash);
    }
    if (!path.empty())
        components.push_back(path);
    return components;
}

// A name of the given length that surely names no header (for the __has_include batches,
// whose answers are bits of an object, not messages).
std::string MissingHeaderName(std::size_t length)
{
    if (length <= kUndefinedId.size())
        return kUndefinedId.substr(0, std::max<std::size_t>(length, 1));
    std::string name = kUndefinedId + std::string(length - kUndefinedId.size(), 'q');
    for (std::size_t at = kComponentLength; at + 1 < name.size(); at += kComponentLength + 1)
        name[at] = '/';
    return name;
}

// The missing header whose message a header's message is held against. The compiler may
// show a name differently from its bytes: a caret line as wide as the name in columns (a
// non-ASCII letter is one column of two bytes, a tab several), a warning about a trigraph,
// a component too long for the file system. So the reference keeps every byte of the name
// and its components' lengths, and only its ASCII letters and digits are replaced by others,
// which no compiler shows differently: the two messages can then differ only in the name.
// Empty when the header cannot be told this way: a name with no letter or digit, or one that
// no #include <...> line can hold (a ">" ends it early, a line end ends the directive).
std::string ReferenceName(const std::string& header)
{
    if (header.find_first_of(">\r\n", 0) != std::string::npos || header.find('\0') != std::string::npos)
        return "";
    for (const char* replacement : {"q7", "k3"}) {
        std::string name = header;
        for (char& c : name) {
            if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))
                c = replacement[0];
            else if (c >= '0' && c <= '9')
                c = replacement[1];
        }
        if (name != header)
            return name;
    }
    return "";
}

// The place on the command line of the -i directory a directory was found by: its own, or
// that of the nearest -i directory above it. Directories of no -i come last.
std::size_t CommandLineRank(const std::vector<std::string>& searchDirs, const std::string& directory)
{
    std::size_t rank = searchDirs.size();
    std::size_t nearest = 0;
    for (std::size_t i = 0; i < searchDirs.size(); ++i) {
        const std::string& given = searchDirs[i];
        if (given == directory)
            return i;
        if (given.size() > nearest && directory.size() > given.size() && directory.compare(0, given.size(), given) == 0 &&
            directory[given.size()] == '/') {
            rank = i;
            nearest = given.size();
        }
    }
    return rank;
}

}  // namespace

std::pair<std::string, std::string> IncludeProber::CompileIncludeTest(const std::string& text)
{
    // The same source draws the same messages: the questions about every directory that holds
    // a header of one name read the one compile of its source. The first asker compiles it;
    // those asking at the same time wait for it.
    using Output = std::pair<std::string, std::string>;
    std::promise<Output> mine;
    std::shared_future<Output> answer;
    bool compileHere = false;
    {
        std::lock_guard<std::mutex> guard(CompiledLock);
        const auto found = Compiled.find(text);
        if (found != Compiled.end()) {
            answer = found->second;
        } else {
            answer = mine.get_future().share();
            Compiled.emplace(text, answer);
            compileHere = true;
        }
    }
    if (compileHere) {
        try {
            CompileResult result = Context.Compile(text, "inctest");
            mine.set_value({std::move(result.Stdout), std::move(result.Stderr)});
        } catch (...) {
            mine.set_exception(std::current_exception());
            throw;
        }
    }
    return answer.get();
}

std::string IncludeProber::Reference(const std::string& missing)
{
    const auto output = CompileIncludeTest("#include <" + missing + ">\n" + kErrorLine + "\n");
    std::string cleaned = output.first + output.second;
    RemoveNumbersAndFilename(cleaned, missing);
    return cleaned;
}

bool IncludeProber::TestHeader1(const std::string& header)
{
    const std::string missing = ReferenceName(header);
    if (missing.empty())
        return false;
    // Both sources fail on the same line, so only a missing header changes the message.
    const auto output = CompileIncludeTest("#include <" + header + ">\n" + kErrorLine + "\n");
    std::string cleaned = output.first + output.second;
    RemoveNumbersAndFilename(cleaned, header);
    return cleaned != Reference(missing);
}

bool IncludeProber::TestHeader2(const std::string& directory, const std::string& header)
{
    // The unfinished declaration makes the compiler report an error inside the header,
    // and such a report names the header's path.
    const auto output = CompileIncludeTest("int x[\n#include <" + header + ">\n");
    const std::string text = output.first + output.second;
    bool namesFilesHere = false;
    for (const HeaderMention& mention : MentionsOf(text, header)) {
        if (SameFile(mention.Path, directory + "/" + header))
            return true;
        namesFilesHere = namesFilesHere || NamesFileHere(mention.Path);
    }
    if (namesFilesHere)
        return false;
    // A compiler that spells paths in a form of its own: the first line that names the
    // header must hold every component of the directory.
    for (const std::string& line : SplitLines(text)) {
        if (line.find(header) == std::string::npos)
            continue;
        for (const std::string& component : PathComponents(directory))
            if (line.find(component) == std::string::npos)
                return false;
        return true;
    }
    return false;
}

int IncludeProber::TestHeader3(const std::string& dirA, const std::string& dirB, const std::string& header)
{
    const auto output = CompileIncludeTest("int x[\n#include <" + header + ">\n");
    const std::string fileA = dirA + "/" + header;
    const std::string fileB = dirB + "/" + header;
    bool readA = false, readB = false, includesAgainA = false, includesAgainB = false;
    for (const HeaderMention& mention : MentionsOf(output.first + output.second, header)) {
        if (SameFile(mention.Path, fileA)) {
            readA = true;
            includesAgainA = includesAgainA || LineIncludes(fileA, mention.Line, header);
        } else if (SameFile(mention.Path, fileB)) {
            readB = true;
            includesAgainB = includesAgainB || LineIncludes(fileB, mention.Line, header);
        }
    }
    if (readA != readB)
        return readA ? 1 : 2;
    // Both copies were read: the first one found goes on to the next of the same name
    // (#include_next), and the messages' chain of "included from" lines names it with the
    // line of that directive.
    if (readA && includesAgainA != includesAgainB)
        return includesAgainA ? 1 : 2;
    return 0;
}

int IncludeProber::TestHeaderDefinitions(const std::string& dirA, const std::string& dirB, const std::string& header,
                                         bool onlyTheseTwo)
{
    const std::string fileA = dirA + "/" + header;
    const std::string fileB = dirB + "/" + header;
    std::string textA, textB;
    if (!ReadWholeFile(fileA, textA, nullptr, static_cast<std::size_t>(kHarvestLimit)) ||
        !ReadWholeFile(fileB, textB, nullptr, static_cast<std::size_t>(kHarvestLimit)))
        return 0;
    const CopyDefinitions copyA = ReadDefinitions(textA);
    const CopyDefinitions copyB = ReadDefinitions(textB);

    // A name that only one copy surely defines, and the other never does, is defined after
    // the include exactly when that copy was read. A copy none of whose names are defined
    // was not read, so it is not the one found first: when no other directory holds the
    // header, the other copy is; and a copy that was read while the other was not comes
    // before it in any case (#include_next would have passed the other on its way).
    auto onlyIn = [](const CopyDefinitions& copy, const CopyDefinitions& other) {
        std::vector<std::string> names;
        for (const std::string& name : copy.Sure)
            if (other.All.count(name) == 0 && names.size() < kNamesPerCopy)
                names.push_back(name);
        return names;
    };
    const std::vector<std::string> namesA = onlyIn(copyA, copyB);
    const std::vector<std::string> namesB = onlyIn(copyB, copyA);
    auto anyDefined = [](const std::vector<std::string>& names) {
        std::string condition;
        for (const std::string& name : names)
            condition += (condition.empty() ? "" : " || ") + std::string("defined(") + name + ")";
        return "(" + (condition.empty() ? std::string("0") : condition) + ")";
    };
    if (!namesA.empty() || !namesB.empty()) {
        const std::string a = anyDefined(namesA);
        const std::string b = anyDefined(namesB);
        const std::string missing = MissingHeaderName(kUndefinedId.size());
        const auto output = CompileIncludeTest("#include <" + header + ">\n#if " + a + " && !" + b + "\n#include \"" +
                                               missing + "_a_only\"\n#elif " + b + " && !" + a + "\n#include \"" +
                                               missing + "_b_only\"\n#elif !" + a + " && !" + b + "\n#include \"" +
                                               missing + "_neither\"\n#endif\n");
        const std::string text = output.first + output.second;
        const bool aOnly = text.find(missing + "_a_only") != std::string::npos;
        const bool bOnly = text.find(missing + "_b_only") != std::string::npos;
        const bool neither = text.find(missing + "_neither") != std::string::npos;
        if (aOnly + bOnly + neither == 1) {
            const bool aUnread = !namesA.empty() && !aOnly;
            const bool bUnread = !namesB.empty() && !bOnly;
            if (aOnly && bUnread)
                return 1;
            if (bOnly && aUnread)
                return 2;
            if (onlyTheseTwo && aUnread != bUnread)
                return bUnread ? 1 : 2;
            // A copy read while the other includes nothing was not reached through the
            // other: it was found first.
            if (onlyTheseTwo && aOnly && !copyB.Includes)
                return 1;
            if (onlyTheseTwo && bOnly && !copyA.Includes)
                return 2;
        }
    }

    // A copy of preprocessor lines only draws no error inside it. A name it defines draws
    // one when poisoned beforehand (compilers that know the pragma), or a warning when
    // defined differently beforehand (compilers that warn outside their system headers).
    // The copy whose named line includes another file led the compiler to the other one:
    // the test source includes only the header, so that copy is the one found first.
    std::string poisoned;
    std::string predefined;
    std::size_t count = 0;
    for (const CopyDefinitions* copy : {&copyA, &copyB})
        for (const std::string& name : copy->Sure) {
            if (count == 2 * kNamesPerCopy)
                break;
            if (count++ % 2 == 0)
                poisoned += " " + name;
            else
                predefined += "#define " + name + " kx_redefined_before(1)\n";
        }
    if (count == 0)
        return 0;
    predefined += "#pragma GCC poison" + poisoned + "\n";
    const auto output = CompileIncludeTest(predefined + "#include <" + header + ">\n");
    bool readA = false, readB = false, includesA = false, includesB = false;
    for (const HeaderMention& mention : MentionsOf(output.first + output.second, header)) {
        if (SameFile(mention.Path, fileA)) {
            readA = true;
            includesA = includesA || LineIncludes(fileA, mention.Line, "");
        } else if (SameFile(mention.Path, fileB)) {
            readB = true;
            includesB = includesB || LineIncludes(fileB, mention.Line, "");
        }
    }
    if (readA != readB)
        return readA ? 1 : 2;
    if (readA && includesA != includesB)
        return includesA ? 1 : 2;
    return 0;
}

bool IncludeProber::HasIncludeWorks()
{
    if (!HasInclude)
        HasInclude = AskBatch({}).has_value();
    return *HasInclude;
}

std::optional<std::vector<bool>> IncludeProber::AskBatch(const std::vector<std::string>& headers)
{
    const std::string source = std::string("inctest") + Context.Opts.SourceExt();
    const CompileResult result =
        Context.Compile(HasIncludeSource(headers, source, MissingHeaderName(kUndefinedId.size() + 2 * kComponentLength)),
                        "inctest");
    if (!result.MadeObject())
        return std::nullopt;
    return ReadHasIncludeAnswers(*result.Object, headers.size());
}

std::vector<bool> IncludeProber::FindHeaders(const std::vector<std::string>& headers)
{
    std::vector<std::optional<bool>> answers(headers.size());
    std::vector<std::size_t> askable;
    for (std::size_t i = 0; i < headers.size() && !Context.Opts.Exact; ++i)
        if (AskableByHasInclude(headers[i]))
            askable.push_back(i);
    if (!askable.empty() && HasIncludeWorks()) {
        const std::size_t perBatch = Context.Limits.HeadersPerBatch;
        std::vector<std::vector<std::size_t>> batches;
        for (std::size_t at = 0; at < askable.size(); at += perBatch)
            batches.emplace_back(askable.begin() + static_cast<std::ptrdiff_t>(at),
                                 askable.begin() + static_cast<std::ptrdiff_t>(std::min(at + perBatch, askable.size())));
        Context.Report.Say("  [includes] " + std::to_string(askable.size()) + (askable.size() == 1 ? " header" : " headers") +
            " asked with __has_include, " + std::to_string(batches.size()) +
            (batches.size() == 1 ? " compiler run" : " compiler runs"));
        bool anyFound = false;
        Context.ForEach(
            batches.size(),
            [&](std::size_t b) {
                std::vector<std::string> batch;
                for (std::size_t i : batches[b])
                    batch.push_back(headers[i]);
                return AskBatch(batch);
            },
            [&](std::size_t b, const std::optional<std::vector<bool>>& found) {
                for (std::size_t k = 0; found && k < batches[b].size(); ++k) {
                    answers[batches[b][k]] = (*found)[k];
                    anyFound = anyFound || (*found)[k];
                }
            });
        // An operator that does not see the compiler's own search list finds nothing at all;
        // the headers are then asked one by one, as without it.
        if (!anyFound)
            answers.assign(headers.size(), std::nullopt);
    }

    std::vector<std::size_t> rest;
    for (std::size_t i = 0; i < headers.size(); ++i)
        if (!answers[i])
            rest.push_back(i);
    // A large tree means a compile for nearly every directory: a short line every hundred
    // headers shows that the engine is alive and how far it has come.
    Context.ForEach(
        rest.size(), [&](std::size_t k) { return TestHeader1(headers[rest[k]]); },
        [&](std::size_t k, bool found) {
            answers[rest[k]] = found;
            if ((k + 1) % 100 == 0)
                Context.Report.Say("  [includes] " + std::to_string(k + 1) + " of " + std::to_string(rest.size()) + " headers tested");
        });

    std::vector<bool> found;
    for (const std::optional<bool>& answer : answers)
        found.push_back(*answer);
    return found;
}

std::vector<std::string> GetIncludes(const RunContext& context, const HeaderTrees& trees)
{
    context.Report.Say("Scanning for compiler include directories ...");
    IncludeProber prober(context);

    // How many directories hold each relative path: a file held by one directory only
    // tells that directory apart from all others.
    std::map<std::string, int> holders;
    for (const auto& [directory, files] : trees.DirFiles)
        for (const std::string& file : files)
            ++holders[file];

    struct Candidate {
        const std::string* Directory;
        const std::set<std::string>* Files;
        const std::string* Header;  // the header to test
        bool Unique;
    };
    std::vector<Candidate> candidates;
    for (const auto& [directory, files] : trees.DirFiles) {
        if (files.empty())
            continue;
        Candidate candidate{&directory, &files, &*files.begin(), false};
        for (const std::string& file : files) {
            if (holders[file] == 1) {
                candidate.Header = &file;
                candidate.Unique = true;
                break;
            }
        }
        candidates.push_back(candidate);
    }

    std::vector<std::string> headers;
    for (const Candidate& candidate : candidates)
        headers.push_back(*candidate.Header);
    const std::vector<bool> found = prober.FindHeaders(headers);
    std::vector<std::string> includeDirs;
    std::set<std::string> covered;
    std::vector<const Candidate*> ambiguous;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (!found[i])
            continue;
        if (candidates[i].Unique) {
            includeDirs.push_back(*candidates[i].Directory);
            covered.insert(candidates[i].Files->begin(), candidates[i].Files->end());
        } else {
            ambiguous.push_back(&candidates[i]);
        }
    }

    // A directory whose files all lie in other directories too is an include directory when
    // the compiler finds a header of it that no include directory found so far holds, and
    // shows the directory's copy when reporting an error inside that header.
    std::vector<const Candidate*> uncovered;
    headers.clear();
    for (const Candidate* candidate : ambiguous) {
        for (const std::string& file : *candidate->Files) {
            if (covered.count(file) == 0) {
                uncovered.push_back(candidate);
                headers.push_back(file);
                break;
            }
        }
    }
    const std::vector<bool> reachable = prober.FindHeaders(headers);
    context.ForEach(
        uncovered.size(),
        [&](std::size_t i) { return reachable[i] && prober.TestHeader2(*uncovered[i]->Directory, headers[i]); },
        [&](std::size_t i, bool taken) {
            if (taken)
                includeDirs.push_back(*uncovered[i]->Directory);
        });
    std::sort(includeDirs.begin(), includeDirs.end());

    // Every pair of directories that hold a header of the same name is asked which of them
    // the compiler searches first, header by header until one shows it. A header whose two
    // copies are one file (linked) shows nothing.
    std::vector<DirectoryPair> pairs;
    std::vector<std::vector<std::string>> shared;
    for (std::size_t p = 0; p < includeDirs.size(); ++p) {
        for (std::size_t q = p + 1; q < includeDirs.size(); ++q) {
            const std::set<std::string>& filesP = trees.DirFiles.at(includeDirs[p]);
            const std::set<std::string>& filesQ = trees.DirFiles.at(includeDirs[q]);
            std::vector<std::string> common;
            for (const std::string& header : filesP)
                if (filesQ.count(header) != 0 &&
                    !SameFile(includeDirs[p] + "/" + header, includeDirs[q] + "/" + header))
                    common.push_back(header);
            if (!common.empty()) {
                pairs.push_back({p, q});
                shared.push_back(std::move(common));
            }
        }
    }
    std::vector<DirectoryPair> decided;
    context.ForEach(
        pairs.size(),
        [&](std::size_t i) {
            const std::string& first = includeDirs[pairs[i].First];
            const std::string& second = includeDirs[pairs[i].Second];
            for (const std::string& header : shared[i])
                if (const int verdict = prober.TestHeader3(first, second, header); verdict != 0)
                    return verdict;
            // Headers of preprocessor lines only draw no error inside them; what they define
            // tells the copies apart. A few headers are enough where any can tell.
            std::size_t tried = 0;
            for (const std::string& header : shared[i]) {
                if (tried++ == kDefinitionHeadersPerPair)
                    break;
                const bool onlyTheseTwo =
                    std::count_if(includeDirs.begin(), includeDirs.end(), [&](const std::string& directory) {
                        return trees.DirFiles.at(directory).count(header) != 0;
                    }) == 2;
                if (const int verdict = prober.TestHeaderDefinitions(first, second, header, onlyTheseTwo); verdict != 0)
                    return verdict;
            }
            return 0;
        },
        [&](std::size_t i, int verdict) {
            if (verdict == 1)
                decided.push_back(pairs[i]);
            else if (verdict == 2)
                decided.push_back({pairs[i].Second, pairs[i].First});
        });

    std::vector<std::size_t> ranks;
    for (const std::string& directory : includeDirs)
        ranks.push_back(CommandLineRank(context.Opts.SearchDirs, directory));
    const SearchOrder order = OrderSearchDirectories(includeDirs.size(), ranks, decided, pairs);
    std::vector<std::string> ordered;
    for (std::size_t index : order.Order)
        ordered.push_back(includeDirs[index]);

    for (const std::string& directory : ordered)
        context.Report.Say(directory);
    for (const DirectoryPair& pair : order.Undecided) {
        // The headers both hold, named so that the user can compare the copies.
        const auto at = std::find(pairs.begin(), pairs.end(), DirectoryPair{std::min(pair.First, pair.Second),
                                                                           std::max(pair.First, pair.Second)});
        std::string headers;
        if (at != pairs.end()) {
            const std::vector<std::string>& common = shared[static_cast<std::size_t>(at - pairs.begin())];
            for (std::size_t k = 0; k < common.size() && k < kHeadersNamed; ++k)
                headers += (k == 0 ? "\"" : ", \"") + common[k] + "\"";
            if (common.size() > kHeadersNamed)
                headers += " and " + std::to_string(common.size() - kHeadersNamed) + " more";
        }
        context.Report.Say("The order of these header directories may need to be reviewed: neither the compiler's messages nor the names "
            "the copies define show whether it searches \"" + includeDirs[pair.First] + "\" or \"" +
            includeDirs[pair.Second] + "\" first, and both hold " + (headers.empty() ? std::string("headers of the same name") : headers) +
            "; where nothing decides, the order of the command line is kept.");
    }
    if (ordered.empty()) {
        context.Report.Say("Couldn't determine compiler include paths.");
        context.Report.Say("The search directory(s) you have specified are either not on the compiler path, or the compiler does not have an implicit include path.");
        context.Report.Say("Please review the search directories and the compile command to ensure that the compiler can locate its own standard header files.");
    }
    return ordered;
}
