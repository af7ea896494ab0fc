#include "IncludePaths.h"

#include <algorithm>
#include <set>

#include "Reporter.h"
#include "TextUtilities.h"

namespace {

const char* const kErrorLine = "this will cause an error - but not a file not found one!";
// The start of every made-up header name: no header of any compiler is called so.
const std::string kUndefinedId = "ak12345";

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

// A name of the given length that surely names no header. Compilers that underline the
// offending include name (a caret and a row of tildes under it) make the message depend on
// the length of the name, so the reference must use a name of the same length.
std::string MissingHeaderName(std::size_t length)
{
    if (length <= kUndefinedId.size())
        return kUndefinedId.substr(0, std::max<std::size_t>(length, 1));
    return kUndefinedId + std::string(length - kUndefinedId.size(), 'q');
}

}  // namespace

std::pair<std::string, std::string> IncludeProber::CompileIncludeTest(const std::string& text)
{
    CompileResult result = Context.Compile(text, "inctest");
    return {std::move(result.Stdout), std::move(result.Stderr)};
}

std::string IncludeProber::Reference(std::size_t length)
{
    std::promise<std::string> mine;
    std::shared_future<std::string> reference;
    bool computeHere = false;
    {
        std::lock_guard<std::mutex> guard(ReferenceLock);
        const auto found = References.find(length);
        if (found != References.end()) {
            reference = found->second;
        } else {
            reference = mine.get_future().share();
            References.emplace(length, reference);
            computeHere = true;
        }
    }
    // The first test of a length compiles the reference; tests running at the same time
    // wait for it.
    if (computeHere) {
        try {
            const std::string missing = MissingHeaderName(length);
            const auto output = CompileIncludeTest("#include <" + missing + ">\n" + kErrorLine + "\n");
            std::string cleaned = output.first + output.second;
            RemoveNumbersAndFilename(cleaned, missing);
            mine.set_value(std::move(cleaned));
        } catch (...) {
            mine.set_exception(std::current_exception());
            throw;
        }
    }
    return reference.get();
}

bool IncludeProber::TestHeader1(const std::string& header)
{
    // Both sources fail on the same line, so only a missing header changes the message.
    const auto output = CompileIncludeTest("#include <" + header + ">\n" + kErrorLine + "\n");
    std::string cleaned = output.first + output.second;
    RemoveNumbersAndFilename(cleaned, header);
    return cleaned != Reference(header.size());
}

bool IncludeProber::TestHeader2(const std::string& directory, const std::string& header)
{
    // The unfinished declaration makes the compiler report an error inside the header,
    // and such a report names the header's path.
    const auto output = CompileIncludeTest("int x[\n#include <" + header + ">\n");
    std::vector<std::string> lines = SplitLines(output.first);
    for (std::string& line : SplitLines(output.second))
        lines.push_back(std::move(line));
    for (const std::string& line : lines) {
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
    std::string text = output.first + output.second;
    CorrectPathnames(text);
    const bool a = text.find(dirA + "/" + header) != std::string::npos;
    const bool b = text.find(dirB + "/" + header) != std::string::npos;
    if (a && b)
        return 0;
    return b ? 2 : 1;
}

std::vector<std::string> GetIncludes(const RunContext& context, const HeaderTrees& trees)
{
    Say("Scanning for compiler include directories ...");
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
        const std::string* Header;  // the header to test, or null for an empty directory
        bool Unique;
    };
    std::vector<Candidate> candidates;
    for (const auto& [directory, files] : trees.DirFiles) {
        Candidate candidate{&directory, &files, nullptr, false};
        for (const std::string& file : files) {
            if (holders[file] == 1) {
                candidate.Header = &file;
                candidate.Unique = true;
                break;
            }
        }
        if (candidate.Header == nullptr && !files.empty())
            candidate.Header = &*files.begin();
        candidates.push_back(candidate);
    }

    std::vector<std::string> includeDirs;
    std::set<std::string> covered;
    std::vector<const Candidate*> ambiguous;
    // A large tree means a compile for nearly every directory: a short line every hundred
    // directories shows that the engine is alive and how far it has come.
    context.ForEach(
        candidates.size(),
        [&](std::size_t i) { return candidates[i].Header != nullptr && prober.TestHeader1(*candidates[i].Header); },
        [&](std::size_t i, bool found) {
            const Candidate& candidate = candidates[i];
            if (found && candidate.Unique) {
                includeDirs.push_back(*candidate.Directory);
                covered.insert(candidate.Files->begin(), candidate.Files->end());
            } else if (found) {
                ambiguous.push_back(&candidate);
            }
            if ((i + 1) % 100 == 0)
                Say("  [includes] " + std::to_string(i + 1) + " of " + std::to_string(candidates.size()) +
                    " directories tested");
        });

    // A directory whose files all lie in other directories too is an include directory when
    // the compiler finds a header of it that no include directory found so far holds, and
    // names this directory when reporting an error inside that header.
    context.ForEach(
        ambiguous.size(),
        [&](std::size_t i) {
            for (const std::string& file : *ambiguous[i]->Files) {
                if (covered.count(file) != 0)
                    continue;
                return prober.TestHeader1(file) && prober.TestHeader2(*ambiguous[i]->Directory, file);
            }
            return false;
        },
        [&](std::size_t i, bool found) {
            if (found)
                includeDirs.push_back(*ambiguous[i]->Directory);
        });

    // One pass of exchanges over the pairs of the list as discovered; not a full sort. Every
    // pair is judged by the first header both hold that the compiler's messages tell apart.
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    for (std::size_t p = 0; p < includeDirs.size(); ++p)
        for (std::size_t q = p + 1; q < includeDirs.size(); ++q)
            pairs.emplace_back(p, q);
    std::vector<std::string> ordered = includeDirs;
    context.ForEach(
        pairs.size(),
        [&](std::size_t i) {
            const std::string& dirP = includeDirs[pairs[i].first];
            const std::string& dirQ = includeDirs[pairs[i].second];
            const std::set<std::string>& filesQ = trees.DirFiles.at(dirQ);
            for (const std::string& header : trees.DirFiles.at(dirP)) {
                if (filesQ.count(header) == 0)
                    continue;
                if (const int verdict = prober.TestHeader3(dirP, dirQ, header); verdict != 0)
                    return verdict;
            }
            return 0;
        },
        [&](std::size_t i, int verdict) {
            if (verdict != 2)
                return;
            auto atP = std::find(ordered.begin(), ordered.end(), includeDirs[pairs[i].first]);
            auto atQ = std::find(ordered.begin(), ordered.end(), includeDirs[pairs[i].second]);
            std::iter_swap(atP, atQ);
        });
    includeDirs = ordered;

    for (const std::string& directory : includeDirs)
        Say(directory);
    if (includeDirs.size() > 1)
        Say("The order of these header directories may need to be reviewed.");
    if (includeDirs.empty()) {
        Say("Couldn't determine compiler include paths.");
        Say("The search directory(s) you have specified are either not on the compiler path, or the compiler does not have an implicit include path.");
        Say("Please review the search directories and the compile command to ensure that the compiler can locate its own standard header files.");
    }
    return includeDirs;
}
