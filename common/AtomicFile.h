// The one way every program of the system writes a file that others read: under a
// temporary name beside the target, renamed over it only when complete, so that a reader
// never sees half a file and a failed run leaves the previous one in place.
#pragma once

#include <string>
#include <string_view>

namespace kxcommon {

// A file written under a temporary, unpredictable name in the target's directory and renamed
// over the target by Commit. Until then the target keeps its old content; a file that is
// never committed is removed. A link planted at the target is replaced, never followed.
class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();
    AtomicFile(AtomicFile&& other) noexcept;
    AtomicFile& operator=(AtomicFile&& other) noexcept;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Creates the temporary file. False, with the reason in error, when the directory does
    // not allow it.
    bool Open(const std::string& target, std::string& error);
    bool IsOpen() const { return Fd >= 0; }
    const std::string& Target() const { return TargetPath; }

    // Replaces whatever was written so far by content, then renames the file over the target.
    bool Commit(std::string_view content, std::string& error) { return Write(content, error) && Rename(error); }
    // The two halves of Commit, for a set of files that replace their targets together:
    // Write leaves the complete file on disk under its temporary name (closed), Rename puts
    // it in place.
    bool Write(std::string_view content, std::string& error);
    bool Rename(std::string& error);
    // Removes the temporary file; the target stays as it was.
    void Discard();

private:
    int Fd = -1;
    bool Written = false;
    std::string TargetPath;
    std::string TempPath;
};

// Writes content to path through an AtomicFile.
bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error);

}  // namespace kxcommon
