#include "engine/core/Files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
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

AtomicFile::~AtomicFile()
{
    Discard();
}

AtomicFile::AtomicFile(AtomicFile&& other) noexcept
    : Fd(std::exchange(other.Fd, -1)), TargetPath(std::move(other.TargetPath)),
      TempPath(std::move(other.TempPath))
{
}

AtomicFile& AtomicFile::operator=(AtomicFile&& other) noexcept
{
    if (this != &other) {
        Discard();
        Fd = std::exchange(other.Fd, -1);
        TargetPath = std::move(other.TargetPath);
        TempPath = std::move(other.TempPath);
    }
    return *this;
}

bool AtomicFile::Open(const std::string& target, std::string& error)
{
    Discard();
    const std::size_t slash = target.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    if (name.empty()) {
        error = "the name ends in \"/\"; it names a directory, not a file";
        return false;
    }
    std::string pattern = dir + "." + name + ".XXXXXX";
    // mkostemp creates the file exclusively under a name nobody can predict, so a link that
    // another user planted cannot redirect the write.
    const int fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) {
        error = ErrnoText();
        return false;
    }
    // The file is the user's product like any other they create: the usual permissions.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    Fd = fd;
    TargetPath = target;
    TempPath = pattern;
    return true;
}

bool AtomicFile::Commit(std::string_view content, std::string& error)
{
    if (Fd < 0) {
        error = "the temporary file is not open";
        return false;
    }
    bool ok = ftruncate(Fd, 0) == 0 && lseek(Fd, 0, SEEK_SET) == 0;
    if (!ok)
        error = ErrnoText();
    ok = ok && WriteAll(Fd, content, &error);
    if (ok && fsync(Fd) != 0) {
        error = ErrnoText();
        ok = false;
    }
    if (close(std::exchange(Fd, -1)) != 0 && ok) {
        error = ErrnoText();
        ok = false;
    }
    if (ok && rename(TempPath.c_str(), TargetPath.c_str()) != 0) {
        error = ErrnoText();
        ok = false;
    }
    if (!ok)
        unlink(TempPath.c_str());
    TempPath.clear();
    return ok;
}

void AtomicFile::Discard()
{
    if (Fd >= 0)
        close(std::exchange(Fd, -1));
    if (!TempPath.empty())
        unlink(TempPath.c_str());
    TempPath.clear();
}

bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error)
{
    AtomicFile file;
    return file.Open(path, error) && file.Commit(content, error);
}
