#include "common/AtomicFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kxcommon {

namespace {

std::string ErrnoText()
{
    return std::strerror(errno);
}

bool WriteAll(int fd, std::string_view content, std::string& error)
{
    while (!content.empty()) {
        const ssize_t put = write(fd, content.data(), content.size());
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0) {
            error = ErrnoText();
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

}  // namespace

AtomicFile::~AtomicFile()
{
    Discard();
}

AtomicFile::AtomicFile(AtomicFile&& other) noexcept
    : Fd(std::exchange(other.Fd, -1)), Written(std::exchange(other.Written, false)),
      TargetPath(std::move(other.TargetPath)), TempPath(std::move(other.TempPath))
{
    other.TempPath.clear();
}

AtomicFile& AtomicFile::operator=(AtomicFile&& other) noexcept
{
    if (this != &other) {
        Discard();
        Fd = std::exchange(other.Fd, -1);
        Written = std::exchange(other.Written, false);
        TargetPath = std::move(other.TargetPath);
        TempPath = std::move(other.TempPath);
        other.TempPath.clear();
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
    if (fchmod(fd, 0666 & ~mask) != 0) {
        error = ErrnoText();
        close(fd);
        unlink(pattern.c_str());
        return false;
    }
    Fd = fd;
    Written = false;
    TargetPath = target;
    TempPath = pattern;
    return true;
}

bool AtomicFile::Write(std::string_view content, std::string& error)
{
    if (Fd < 0) {
        error = Written ? "the file was written already" : "the temporary file is not open";
        return false;
    }
    bool ok = ftruncate(Fd, 0) == 0 && lseek(Fd, 0, SEEK_SET) == 0;
    if (!ok)
        error = ErrnoText();
    ok = ok && WriteAll(Fd, content, error);
    if (ok && fsync(Fd) != 0) {
        error = ErrnoText();
        ok = false;
    }
    if (close(std::exchange(Fd, -1)) != 0 && ok) {
        error = ErrnoText();
        ok = false;
    }
    if (!ok) {
        Discard();
        return false;
    }
    Written = true;
    return true;
}

bool AtomicFile::Rename(std::string& error)
{
    if (!Written) {
        error = "the temporary file was not written";
        Discard();
        return false;
    }
    Written = false;
    if (rename(TempPath.c_str(), TargetPath.c_str()) != 0) {
        error = ErrnoText();
        Discard();
        return false;
    }
    TempPath.clear();
    return true;
}

void AtomicFile::Discard()
{
    if (Fd >= 0)
        close(std::exchange(Fd, -1));
    if (!TempPath.empty())
        unlink(TempPath.c_str());
    TempPath.clear();
    Written = false;
}

bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error)
{
    AtomicFile file;
    return file.Open(path, error) && file.Commit(content, error);
}

}  // namespace kxcommon
