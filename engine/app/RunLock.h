// One run per working directory. The run's probe directories, the record of its last failing
// compile and the list files all live in its working directory, so a second run there would
// mix its files with the first one's; it is refused at once instead.
#pragma once

#include <string>

class RunLock {
public:
    RunLock() = default;
    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    // Takes the lock file in the directory. False, with a complete message in error, when
    // another run holds it or the file cannot be made. The lock ends with the process, however
    // it ends.
    bool Take(const std::string& directory, std::string& error);

private:
    int Fd = -1;
};
