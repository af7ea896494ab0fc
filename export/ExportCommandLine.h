// The command line of kestrix-export: FORMAT PERSONALITY [-o DIR].
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace kxexport {

// Runs the whole program on the arguments after the program name and returns its exit
// status: 0 when the files are written (or help was asked for), 1 otherwise, with the
// reason on err.
int ExportMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace kxexport
