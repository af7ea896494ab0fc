// Failures of the machine rather than answers of the compiler: a compile that ran out of
// disk space or met an I/O error says nothing about the source, and a probe that counted it
// as a rejection would write a wrong fact.
#pragma once

#include <string>

// The line of the compiler's output that reports such a failure (the system's own text for
// a full disk, a disk quota, a read-only file system, an I/O error, too many open files or
// no memory, in the C locale and in the user's), or an empty string.
std::string SystemFailureIn(const std::string& output);
