#include "export/Formats.h"

#include <array>
#include <utility>

namespace kxexport {

namespace {

constexpr std::array<std::pair<const char*, Exporter>, 4> Table{{
    {"clang", &ExportClang},
    {"cppcheck", &ExportCppcheck},
    {"header", &ExportHeader},
    {"check", &ExportCheck},
}};

}  // namespace

Exporter FindFormat(const std::string& name)
{
    for (const auto& [formatName, exporter] : Table) {
        if (name == formatName)
            return exporter;
    }
    return nullptr;
}

std::string FormatNames()
{
    std::string names;
    for (const auto& entry : Table)
        names += (names.empty() ? "" : ", ") + std::string(entry.first);
    return names;
}

}  // namespace kxexport
