// The one failure of the exporter: a message for the user, a complete sentence that names
// the file or value involved and the reason.
#pragma once

#include <stdexcept>
#include <string>

namespace kxexport {

class ExportError : public std::runtime_error {
public:
    explicit ExportError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace kxexport
