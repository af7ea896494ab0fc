// Whole-file reads and writes, and files that replace their target only when complete.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text files that a user names or a header tree holds (headers, templates, force-include
// files) are small; a larger one is no such file, and reading it whole would cost its size
// in memory.
constexpr std::size_t kMaxTextFileBytes = 64u << 20;

// Reads a regular file completely. False (with the reason in error) when it cannot be
// opened, is not a regular file, or is larger than maxBytes.
bool ReadWholeFile(const std::string& path, std::string& content, std::string* error = nullptr,
                   std::size_t maxBytes = static_cast<std::size_t>(-1));
std::string ReadFileOrEmpty(const std::string& path);
// Writes a file completely; false (with the reason) when any write or the close fails.
bool WriteWholeFile(const std::string& path, std::string_view content, std::string* error = nullptr);

// "reason" text for the current errno.
std::string ErrnoText();

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
    bool Commit(std::string_view content, std::string& error);
    // Removes the temporary file; the target stays as it was.
    void Discard();

private:
    int Fd = -1;
    std::string TargetPath;
    std::string TempPath;
};

// Writes content to path through an AtomicFile.
bool WriteFileAtomically(const std::string& path, std::string_view content, std::string& error);
