// Headers produced beside the personality for the analyser: a copy of the user's substitute
// header tree, and the force-include header that declares identifiers the compiler knows
// without a declaration.
#include "engine/phases/includes/ForceInclude.h"

#include "engine/core/Files.h"
#include "engine/core/Reporter.h"
#include "engine/core/TextUtilities.h"
#include "engine/core/RunEnd.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace fs = std::filesystem;

namespace {

using FileId = std::pair<std::uint64_t, std::uint64_t>;

// The text after the last "/" of a path (all of it when there is none).
std::string LastComponent(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string RealPath(const std::string& path)
{
    char* real = realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return {};
    std::string result(real);
    free(real);
    return result;
}

// Makes a directory, or takes one this user made before. A link at the place, or a directory
// of another user, would let someone else choose where the headers go or change them later
// (the default place is the shared /tmp).
// Why an existing entry at the place cannot be taken for a directory of this user's: a link,
// something else than a directory, or a directory of another user. Empty when it can.
std::string NotOwnDirectory(const std::string& path)
{
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0)
        return ErrnoText();
    if (S_ISLNK(info.st_mode))
        return "it is a symbolic link, and the copy is never written through a link";
    if (!S_ISDIR(info.st_mode))
        return "it exists and is not a directory";
    if (info.st_uid != geteuid())
        return "it belongs to another user";
    return "";
}

bool MakeOwnDirectory(const std::string& path, std::string& error)
{
    if (mkdir(path.c_str(), 0775) == 0)
        return true;
    if (errno != EEXIST) {
        error = ErrnoText();
        return false;
    }
    error = NotOwnDirectory(path);
    return error.empty();
}

class TreeCopy {
public:
    // The copy is made below staged and named in the personality as if below final.
    TreeCopy(std::string root, std::string staged, std::string final, Reporter& report)
        : Root(std::move(root)), Staged(std::move(staged)), Final(std::move(final)), Report(report)
    {
    }

    // Copies the directory source (its real path: no link is passed on the way) to target.
    void Directory(const std::string& source, const std::string& target)
    {
        // A copy placed inside its own source must not be copied into itself.
        const FileId sourceId = Identify(source);
        if (Own.count(sourceId) != 0)
            return;
        std::string error;
        if (!MakeOwnDirectory(target, error))
            throw RunFailure{"Error: Cannot create the substitute header directory \"" + target + "\": " + error + "."};
        const FileId targetId = Identify(target);
        Own.insert(targetId);
        Made(target);
        // The copy's place may be the tree itself (the tree lies beside the personality):
        // its files are then already where they belong.
        const bool inPlace = sourceId == targetId;

        std::vector<std::string> names;
        if (!SortedDirectoryEntries(source, names)) {
            Skip(source, "it cannot be read: " + ErrnoText());
            return;
        }
        for (const std::string& name : names)
            Entry(source + "/" + name, target + "/" + name, source, inPlace);
    }

    SubstituteCopy Result;

    void Exclude(const std::string& directory) { Own.insert(Identify(directory)); }

private:
    void Entry(const std::string& from, const std::string& to, const std::string& sourceDir, bool inPlace)
    {
        struct stat info {};
        if (lstat(from.c_str(), &info) != 0) {
            Skip(from, ErrnoText());
            return;
        }
        if (S_ISLNK(info.st_mode)) {
            Link(from, to, sourceDir, inPlace);
            return;
        }
        if (S_ISDIR(info.st_mode)) {
            if (HoldsLineEnd(from))
                Skip(from, "its name holds a line end, which no personality line can carry");
            else
                Directory(from, to);
            return;
        }
        if (!S_ISREG(info.st_mode)) {
            // A named pipe would stall the copy until someone writes to it.
            Skip(from, "it is neither a regular file nor a directory");
            return;
        }
        if (!inPlace)
            CopyFile(from, to);
    }

    void Link(const std::string& from, const std::string& to, const std::string& sourceDir, bool inPlace)
    {
        const std::string real = RealPath(from);
        if (real.empty()) {
            Skip(from, "it is a link that leads nowhere");
            return;
        }
        if (real != Root && real.compare(0, Root.size() + 1, Root + "/") != 0) {
            Skip(from, "it is a link that leads out of the substitute header tree \"" + Root + "\"");
            return;
        }
        struct stat info {};
        if (stat(real.c_str(), &info) != 0) {
            Skip(from, ErrnoText());
            return;
        }
        if (S_ISREG(info.st_mode)) {
            if (!inPlace)
                CopyFile(real, to);
            return;
        }
        if (!S_ISDIR(info.st_mode)) {
            Skip(from, "it leads to neither a regular file nor a directory");
            return;
        }
        if (HoldsLineEnd(from)) {
            Skip(from, "its name holds a line end, which no personality line can carry");
            return;
        }
        // The directory is copied where it lies in the tree; the copy links to that copy as
        // the tree does, so links that form a cycle or lead many ways to one place cost nothing.
        if (!inPlace) {
            const std::string relative = fs::path(real).lexically_relative(sourceDir).string();
            struct stat existing {};
            if (lstat(to.c_str(), &existing) == 0 && S_ISLNK(existing.st_mode))
                unlink(to.c_str());
            if (symlink(relative.c_str(), to.c_str()) != 0)
                throw RunFailure{"Error: Cannot make the link \"" + to + "\" of the substitute headers: " + ErrnoText() + "."};
        }
        Made(to);
    }

    void CopyFile(const std::string& from, const std::string& to)
    {
        std::string content;
        std::string error;
        if (!ReadWholeFile(from, content, &error, kMaxTextFileBytes)) {
            Skip(from, error);
            return;
        }
        if (!WriteFileAtomically(to, content, error))
            throw RunFailure{"Error: Cannot write the substitute header \"" + to + "\": " + error + "."};
    }

    void Made(const std::string& directory) { Result.Directories.push_back(Final + directory.substr(Staged.size())); }

    void Skip(const std::string& path, const std::string& why)
    {
        Report.Say("Error: Skipping \"" + path + "\" of the substitute headers: " + why + ".");
        ++Result.Skipped;
    }

    static FileId Identify(const std::string& path)
    {
        struct stat info {};
        if (stat(path.c_str(), &info) != 0)
            return {0, 0};
        return {info.st_dev, info.st_ino};
    }

    const std::string Root;  // the tree's real path
    const std::string Staged;
    const std::string Final;
    std::set<FileId> Own;    // the directories this copy made
    Reporter& Report;
};

}  // namespace

SubstituteCopy CreateAndCopyAllFiles(const std::string& source, const std::string& parent, Reporter& report)
{
    const std::string root = RealPath(source);
    if (root.empty())
        throw RunFailure{"Error: Cannot read the substitute header directory \"" + source + "\": " + ErrnoText() + "."};
    if (root == "/")
        throw RunFailure{"Error: The substitute header directory \"" + source +
                         "\" is the root directory; its copy would have no name of its own."};
    // Named as the user named it: a link given as the tree names its copy, not its target.
    const std::string final = parent + LastComponent(source);
    // The copy is made in a folder of the run's own beside its place, and takes the place of
    // the previous copy only when the run completes: a failed or interrupted run leaves the
    // previous personality with the headers it was written with. A tree that lies at the
    // copy's place already is its own copy.
    const std::string realFinal = RealPath(final);
    if (realFinal == root) {
        TreeCopy copy(root, final, final, report);
        copy.Directory(root, final);
        return std::move(copy.Result);
    }
    // The previous copy is replaced only where it is a directory of this user's.
    struct stat existing {};
    if (lstat(final.c_str(), &existing) == 0) {
        if (const std::string why = NotOwnDirectory(final); !why.empty())
            throw RunFailure{"Error: Cannot create the substitute header directory \"" + final + "\": " + why + "."};
    }
    const std::string stage = parent + ".kestrix-substitutes." + std::to_string(getpid());
    std::error_code ignored;
    fs::remove_all(stage, ignored);
    std::string error;
    if (!MakeOwnDirectory(stage, error))
        throw RunFailure{"Error: Cannot create the folder \"" + stage + "\" for the copy of the substitute headers: " + error + "."};
    const std::string staged = stage + "/" + LastComponent(source);
    TreeCopy copy(root, staged, final, report);
    copy.Result.Stage = stage;
    copy.Result.Staged = staged;
    copy.Result.Final = final;
    // The staging folder may lie inside the tree (the personality is kept in it): it is no
    // part of the tree.
    copy.Exclude(stage);
    try {
        copy.Directory(root, staged);
    } catch (...) {
        fs::remove_all(stage, ignored);
        throw;
    }
    return std::move(copy.Result);
}

bool SwapSubstituteCopy(const SubstituteCopy& copy, std::string& error)
{
    if (copy.Stage.empty())
        return true;
    struct stat info {};
    const bool previous = lstat(copy.Final.c_str(), &info) == 0;
    const bool staged = lstat(copy.Staged.c_str(), &info) == 0;
    // Exchanged in one step where there is a previous copy, so that the place never lacks
    // one; the one swapped out is removed with the run's folder.
    const int done = previous && staged ? renameat2(AT_FDCWD, copy.Staged.c_str(), AT_FDCWD, copy.Final.c_str(), RENAME_EXCHANGE)
                     : staged           ? rename(copy.Staged.c_str(), copy.Final.c_str())
                                        : rename(copy.Final.c_str(), copy.Staged.c_str());
    if (done != 0)
        error = ErrnoText();
    return done == 0;
}

SubstituteStage::~SubstituteStage()
{
    if (Copy.Stage.empty())
        return;
    std::error_code ignored;
    fs::remove_all(Copy.Stage, ignored);
}

std::string ForceIncludeText(const std::string& userContent, const std::set<std::string>& entries)
{
    std::string text;
    std::size_t start = 0;
    while (start < userContent.size()) {
        const std::size_t end = userContent.find('\n', start);
        const std::string_view line =
            std::string_view(userContent).substr(start, end == std::string::npos ? std::string::npos : end - start);
        text.append(line);
        text += '\n';
        if (line.find("Any other items") != std::string_view::npos)
            for (const std::string& entry : entries)
                text += "int " + entry + ";\n";
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return text;
}

std::string CopyCreateForceIncludeFile(const std::string& directory, const std::string& name, const std::string& userFile,
                                       const std::set<std::string>& entries, Reporter& report)
{
    std::string error;
    if (!MakeOwnDirectory(directory, error)) {
        report.Say("Couldn't create directory to write a force include file too.");
        throw RunFailure{"Error: Cannot use the force-include directory \"" + directory + "\": " + error + "."};
    }

    std::string destination;
    std::string text;
    if (name == userFile) {
        destination = directory + "/" + LastComponent(userFile);
        // The user's file is read completely before the copy is written: both may name the
        // same file.
        std::string content;
        if (!ReadWholeFile(userFile, content, &error, kMaxTextFileBytes))
            throw RunFailure{"Error: Cannot read the force-include file \"" + userFile + "\": " + error + "."};
        text = ForceIncludeText(content, entries);
    } else {
        destination = directory + "/" + name;
        text = "#ifndef VMT_FORCECINCLUDE_H\n"
               "#define VMT_FORCECINCLUDE_H\n"
               "/*file containing declarations for identifiers deemed to be direct access registers*/\n";
        for (const std::string& entry : entries)
            text += "int " + entry + ";\n";
        text += "#endif /*VMT_FORCECINCLUDE_H*/\n";
    }

    if (!WriteFileAtomically(destination, text, error))
        throw RunFailure{"Error: Cannot write the force-include file \"" + destination + "\": " + error + "."};
    return destination;
}
