#include "engine/app/RunLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "engine/core/Files.h"

namespace {
const char* const kLockName = "kestrix.lock";
}

RunLock::~RunLock()
{
    if (Fd >= 0)
        close(Fd);
}

bool RunLock::Take(const std::string& directory, std::string& error)
{
    const std::string path = directory + "/" + kLockName;
    // The file stays: removing it would let a third run lock a new file while the second
    // still holds the old one.
    Fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (Fd < 0) {
        error = "Error: Cannot take the lock file \"" + path + "\" of the working directory: " + ErrnoText() + ".";
        return false;
    }
    while (flock(Fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno == EWOULDBLOCK)
            error = "Error: Another Kestrix run is using the working directory \"" + directory +
                    "\"; two runs must not share one (kestrix-run gives each run a directory of its own).";
        else
            error = "Error: Cannot lock \"" + path + "\": " + ErrnoText() + ".";
        close(Fd);
        Fd = -1;
        return false;
    }
    return true;
}
