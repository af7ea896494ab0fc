// Finds which of the scanned directories the compiler searches on its own for
// #include <...>, and in which order, from its diagnostics alone.
#include "KestrixEngine.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace {

const char* const kErrorLine = "this will cause an error - but not a file not found one!";

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

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

}  // namespace

// Compiles one include test and returns the captured standard output and standard error;
// the test source and the logs are removed afterwards.
std::pair<std::string, std::string> KestrixEngine::CompileIncludeTest(const std::string& text)
{
    const std::string source = "inctest" + SourceExt();
    WriteWholeFile(source, text);
    SystemUsingBatchFile(GetCompleteCommandStr(source, false, ""));
    std::remove(source.c_str());
    std::pair<std::string, std::string> output(ReadFileOrEmpty(S_STDOUT_LOG), ReadFileOrEmpty(S_STDERR_LOG));
    std::remove(S_STDOUT_LOG.c_str());
    std::remove(S_STDERR_LOG.c_str());
    return output;
}

// A name of the given length that surely names no header. Compilers that underline the
// offending include name (a caret and a row of tildes under it) make the message depend on
// the length of the name, so the reference must use a name of the same length.
std::string KestrixEngine::MissingHeaderName(std::size_t length) const
{
    if (length <= S_UNDEFINED_ID.size())
        return S_UNDEFINED_ID.substr(0, std::max<std::size_t>(length, 1));
    return S_UNDEFINED_ID + std::string(length - S_UNDEFINED_ID.size(), 'q');
}

bool KestrixEngine::TestHeader1(const std::string& header)
{
    // Both sources fail on the same line, so only a missing header changes the message.
    auto reference = HeaderReferences.find(header.size());
    if (reference == HeaderReferences.end()) {
        const std::string missing = MissingHeaderName(header.size());
        const auto output = CompileIncludeTest("#include <" + missing + ">\n" + kErrorLine + "\n");
        std::string cleaned = output.first + output.second;
        RemoveNumbersAndFilename(cleaned, missing);
        reference = HeaderReferences.emplace(header.size(), std::move(cleaned)).first;
    }
    const auto output = CompileIncludeTest("#include <" + header + ">\n" + kErrorLine + "\n");
    std::string cleaned = output.first + output.second;
    RemoveNumbersAndFilename(cleaned, header);
    return cleaned != reference->second;
}

bool KestrixEngine::TestHeader2(const std::string& directory, const std::string& header)
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

int KestrixEngine::TestHeader3(const std::string& dirA, const std::string& dirB, const std::string& header)
{
    const auto output = CompileIncludeTest("int x[\n#include <" + header + ">\n");
    std::string text = output.first + output.second;
    CorrectPathnames(text);
    const bool a = text.find(dirA + S_PATH_SEPARATOR + header) != std::string::npos;
    const bool b = text.find(dirB + S_PATH_SEPARATOR + header) != std::string::npos;
    if (a && b)
        return 0;
    return b ? 2 : 1;
}

void KestrixEngine::GetIncludes(std::ostream& personality)
{
    Say("Scanning for compiler include directories ...");

    // How many directories hold each relative path: a file held by one directory only
    // tells that directory apart from all others.
    std::map<std::string, int> holders;
    for (const auto& [directory, files] : DirFiles)
        for (const std::string& file : files)
            ++holders[file];

    std::set<std::string> covered;
    std::vector<std::string> ambiguous;
    // A large tree means a compile for nearly every directory: a short line every hundred
    // directories shows that the engine is alive and how far it has come.
    std::size_t tested = 0;
    for (const auto& [directory, files] : DirFiles) {
        if (++tested % 100 == 0)
            Say("  [includes] " + std::to_string(tested) + " of " + std::to_string(DirFiles.size()) +
                " directories tested");
        const std::string* firstUnique = nullptr;
        for (const std::string& file : files) {
            if (holders[file] == 1) {
                firstUnique = &file;
                break;
            }
        }
        if (firstUnique != nullptr) {
            if (TestHeader1(*firstUnique)) {
                IncludeDirs.push_back(directory);
                covered.insert(files.begin(), files.end());
            }
        } else if (!files.empty()) {
            if (TestHeader1(*files.begin()))
                ambiguous.push_back(directory);
        }
    }

    for (const std::string& directory : ambiguous) {
        const std::set<std::string>& files = DirFiles[directory];
        for (const std::string& file : files) {
            if (covered.count(file) != 0)
                continue;
            if (TestHeader1(file) && TestHeader2(directory, file))
                IncludeDirs.push_back(directory);
            break;
        }
    }

    // One pass of exchanges over the pairs of the list as discovered; not a full sort.
    std::vector<std::string> ordered = IncludeDirs;
    for (std::size_t p = 0; p < IncludeDirs.size(); ++p) {
        for (std::size_t q = p + 1; q < IncludeDirs.size(); ++q) {
            const std::set<std::string>& filesP = DirFiles[IncludeDirs[p]];
            const std::set<std::string>& filesQ = DirFiles[IncludeDirs[q]];
            for (const std::string& header : filesP) {
                if (filesQ.count(header) == 0)
                    continue;
                const int verdict = TestHeader3(IncludeDirs[p], IncludeDirs[q], header);
                if (verdict == 0)
                    continue;
                if (verdict == 2) {
                    auto atP = std::find(ordered.begin(), ordered.end(), IncludeDirs[p]);
                    auto atQ = std::find(ordered.begin(), ordered.end(), IncludeDirs[q]);
                    std::iter_swap(atP, atQ);
                }
                break;
            }
        }
    }
    IncludeDirs = ordered;

    for (const std::string& directory : IncludeDirs)
        Say(directory);
    if (IncludeDirs.size() > 1)
        Say("The order of these header directories may need to be reviewed.");
    if (IncludeDirs.empty()) {
        Say("Couldn't determine compiler include paths.");
        Say("The search directory(s) you have specified are either not on the compiler path, or the compiler does not have an implicit include path.");
        Say("Please review the search directories and the compile command to ensure that the compiler can locate its own standard header files.");
        return;
    }
    for (const std::string& directory : IncludeDirs) {
        personality << (IsC ? "-i " : "-si ") << '"' << directory << "\"\n";
        personality << "-q " << '"' << directory << "\"\n";
    }
}
