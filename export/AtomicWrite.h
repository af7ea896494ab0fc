// Writing the exported files so that a reader never sees half of one.
#pragma once

#include <string>
#include <vector>

#include "export/Formats.h"

namespace kxexport {

// Writes the files into dir (made when missing). Each is written to a temporary file beside
// its target first; only when all are written are they renamed over their targets, so a
// failure leaves every earlier file as it was. Throws ExportError naming the file and the
// reason.
void WriteFilesAtomically(const std::string& dir, const std::vector<OutputFile>& files);

}  // namespace kxexport
