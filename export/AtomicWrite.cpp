#include "export/AtomicWrite.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "export/ExportError.h"

namespace kxexport {

namespace {

std::string Reason(int error) { return std::strerror(error); }

// Writes the content to a new temporary file beside target and returns its path.
std::string WriteTemporary(const std::string& target, const std::string& content)
{
    std::string path = target + ".XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd < 0)
        throw ExportError("Cannot create a temporary file for " + target + ": " + Reason(errno) + ".");
    // mkstemp makes the file private; an exported file is for whoever the umask lets read it.
    const mode_t mask = umask(0);
    umask(mask);
    int error = fchmod(fd, 0666 & ~mask) == 0 ? 0 : errno;
    for (std::size_t done = 0; error == 0 && done < content.size();) {
        const ssize_t n = write(fd, content.data() + done, content.size() - done);
        if (n >= 0)
            done += static_cast<std::size_t>(n);
        else if (errno != EINTR)
            error = errno;
    }
    if (close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        std::remove(path.c_str());
        throw ExportError("Cannot write " + target + ": " + Reason(error) + ".");
    }
    return path;
}

}  // namespace

void WriteFilesAtomically(const std::string& dir, const std::vector<OutputFile>& files)
{
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error)
        throw ExportError("Cannot make the output directory " + dir + ": " + error.message() + ".");

    std::vector<std::pair<std::string, std::string>> staged;  // temporary, target
    try {
        for (const OutputFile& file : files) {
            const std::string target = (std::filesystem::path(dir) / file.Name).string();
            staged.emplace_back(WriteTemporary(target, file.Content), target);
        }
    } catch (const ExportError&) {
        for (const auto& [temporary, target] : staged)
            std::remove(temporary.c_str());
        throw;
    }
    for (std::size_t i = 0; i < staged.size(); ++i) {
        if (std::rename(staged[i].first.c_str(), staged[i].second.c_str()) != 0) {
            const int renameError = errno;
            for (std::size_t j = i; j < staged.size(); ++j)
                std::remove(staged[j].first.c_str());
            throw ExportError("Cannot replace " + staged[i].second + ": " + Reason(renameError) + ".");
        }
    }
}

}  // namespace kxexport
