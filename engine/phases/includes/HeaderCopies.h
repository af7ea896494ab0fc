// What a copy of a header defines, read from its text: the names that tell two copies of
// one header apart once the compiler has included one of them.
#pragma once

#include <set>
#include <string>

struct CopyDefinitions {
    // Every name a #define line of the copy defines, wherever it stands.
    std::set<std::string> All;
    // The names that reading the copy surely leaves defined: defined outside any
    // conditional (or inside the include guard that encloses the whole copy), not
    // undefined after that, and never tested by it (predefining them changes nothing else).
    std::set<std::string> Sure;
    // The copy has an #include, #include_next or #import line: reading it may lead to
    // another copy.
    bool Includes = false;
};

CopyDefinitions ReadDefinitions(const std::string& text);
