// Whole-file reads and writes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "common/AtomicFile.h"

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

// The names in a directory but "." and "..", in byte order: listing order differs between
// file systems, and what a run writes must not. False (errno set) when it cannot be read.
bool SortedDirectoryEntries(const std::string& directory, std::vector<std::string>& names);

// Files that replace their target only when complete are written as every program of the
// system writes them.
using kxcommon::AtomicFile;
using kxcommon::WriteFileAtomically;
