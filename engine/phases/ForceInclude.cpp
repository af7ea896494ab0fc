// Headers produced beside the personality for the analyser: a copy of the user's substitute
// header tree, and the force-include header that declares identifiers the compiler knows
// without a declaration.
#include "ForceInclude.h"

#include "Files.h"
#include "Reporter.h"

#include <cerrno>
#include <cstdint>
#include <dirent.h>
#include <fstream>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace {

using DirectoryId = std::pair<std::uint64_t, std::uint64_t>;

// The text after the last "/" of a path (all of it when there is none).
std::string LastComponent(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IdentifyDirectory(const std::string& path, DirectoryId& id)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return false;
    id = DirectoryId(info.st_dev, info.st_ino);
    return true;
}

bool Contains(const std::vector<DirectoryId>& ids, const DirectoryId& id)
{
    for (const DirectoryId& known : ids) {
        if (known == id)
            return true;
    }
    return false;
}

void CopyFileBytes(const std::string& from, const std::string& to)
{
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    if (!out.is_open())
        return;
    std::ifstream in(from, std::ios::binary);
    if (in.is_open())
        out << in.rdbuf();
}

// Copies one directory level. `visiting` holds the source directories being copied (a link
// back to one of them would make the copy endless) and `made` the directories this copy
// created (a copy placed inside its own source would otherwise be copied into itself).
void CopyTree(const std::string& source, const std::string& parent,
              PersonalityWriter& writer, std::vector<DirectoryId>& visiting,
              std::vector<DirectoryId>& made)
{
    const std::string target = parent + LastComponent(source);
    mkdir(target.c_str(), 0775);
    writer.SubstituteDir(target);

    DirectoryId targetId;
    if (IdentifyDirectory(target, targetId) && !Contains(made, targetId))
        made.push_back(targetId);

    DIR* dir = opendir(source.c_str());
    if (dir == nullptr)
        return;
    DirectoryId sourceId;
    const bool identified = IdentifyDirectory(source, sourceId);
    if (identified)
        visiting.push_back(sourceId);

    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string from = source + "/" + name;
        struct stat info {};
        if (stat(from.c_str(), &info) != 0)
            continue;
        if (S_ISDIR(info.st_mode)) {
            const DirectoryId id(info.st_dev, info.st_ino);
            if (Contains(visiting, id) || Contains(made, id))
                continue;
            CopyTree(from, target + "/", writer, visiting, made);
        } else if (S_ISREG(info.st_mode)) {
            // Only regular files: opening a named pipe would wait for a writer for ever.
            CopyFileBytes(from, target + "/" + name);
        }
    }
    closedir(dir);
    if (identified)
        visiting.pop_back();
}

}  // namespace

void CreateAndCopyAllFiles(const std::string& source, const std::string& parent, PersonalityWriter& writer)
{
    std::vector<DirectoryId> visiting;
    std::vector<DirectoryId> made;
    CopyTree(source, parent, writer, visiting, made);
}

bool CopyCreateForceIncludeFile(const std::string& directory, const std::string& name, const std::string& userFile,
                                const std::set<std::string>& entries, PersonalityWriter& writer)
{
    if (mkdir(directory.c_str(), 0775) != 0 && errno != EEXIST && errno != EACCES && errno != EIO) {
        Say("Couldn't create directory to write a force include file too.");
        return true;
    }

    std::string destination;
    std::string text;
    if (name == userFile) {
        destination = directory + "/" + LastComponent(userFile);
        // The user's file is read completely before the copy is written: both may name the
        // same file.
        std::string content;
        if (ReadWholeFile(userFile, content)) {
            std::size_t start = 0;
            while (start < content.size()) {
                std::size_t end = content.find('\n', start);
                const std::string line = content.substr(start, end == std::string::npos ? std::string::npos : end - start);
                text += line + "\n";
                if (line.find("Any other items") != std::string::npos)
                    for (const std::string& entry : entries)
                        text += "int " + entry + ";\n";
                if (end == std::string::npos)
                    break;
                start = end + 1;
            }
        }
    } else {
        destination = directory + "/" + name;
        text = "#ifndef VMT_FORCECINCLUDE_H\n"
               "#define VMT_FORCECINCLUDE_H\n"
               "/*file containing declarations for identifiers deemed to be direct access registers*/\n";
        for (const std::string& entry : entries)
            text += "int " + entry + ";\n";
        text += "#endif /*VMT_FORCECINCLUDE_H*/\n";
    }

    std::string error;
    if (!WriteFileAtomically(destination, text, error)) {
        SayError("Error: Cannot write the force-include file \"" + destination + "\": " + error);
        return false;
    }
    writer.ForceInclude(directory, destination);
    return true;
}
