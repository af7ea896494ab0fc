#include "engine/core/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

std::string ErrnoText()
{
    return std::strerror(errno);
}

bool ReadWholeFile(const std::string& path, std::string& content, std::string* error, std::size_t maxBytes)
{
    content.clear();
    // Non-blocking: a named pipe put where a file was expected must not stall the run.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (error)
            *error = ErrnoText();
        return false;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        if (error)
            *error = S_ISDIR(info.st_mode) ? "it is a directory" : "it is not a regular file";
        close(fd);
        return false;
    }
    if (static_cast<std::size_t>(info.st_size) > maxBytes) {
        if (error)
            *error = "it is larger than " + std::to_string(maxBytes) + " bytes";
        close(fd);
        return false;
    }
    content.resize(info.st_size > 0 ? static_cast<std::size_t>(info.st_size) : 4096);
    std::size_t used = 0;
    for (;;) {
        if (used == content.size()) {
            if (content.size() >= maxBytes) {
                if (error)
                    *error = "it is larger than " + std::to_string(maxBytes) + " bytes";
                close(fd);
                content.clear();
                return false;
            }
            content.resize(content.size() * 2);
        }
        const ssize_t got = read(fd, content.data() + used, content.size() - used);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            if (error)
                *error = ErrnoText();
            close(fd);
            content.clear();
            return false;
        }
        if (got == 0)
            break;
        used += static_cast<std::size_t>(got);
    }
    close(fd);
    content.resize(used);
    return true;
}

std::string ReadFileOrEmpty(const std::string& path)
{
    std::string content;
    ReadWholeFile(path, content);
    return content;
}

namespace {

bool WriteAll(int fd, std::string_view content, std::string* error)
{
    while (!content.empty()) {
        const ssize_t put = write(fd, content.data(), content.size());
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0) {
            if (error)
                *error = ErrnoText();
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

}  // namespace

bool WriteWholeFile(const std::string& path, std::string_view content, std::string* error)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (error)
            *error = ErrnoText();
        return false;
    }
    bool ok = WriteAll(fd, content, error);
    if (close(fd) != 0 && ok) {
        ok = false;
        if (error)
            *error = ErrnoText();
    }
    return ok;
}

bool SortedDirectoryEntries(const std::string& directory, std::vector<std::string>& names)
{
    names.clear();
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr)
        return false;
    while (dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return true;
}
