// Headers produced beside the personality for the analyser: a copy of the user's
// substitute header tree, and the force-include header that declares identifiers the
// compiler knows without a declaration.
#pragma once

#include <set>
#include <string>

#include "PersonalityWriter.h"

// Copies the tree below source into parent (which ends in "/" or is empty), one directory
// level after the other, and writes an -i and -q line for every directory made.
void CreateAndCopyAllFiles(const std::string& source, const std::string& parent, PersonalityWriter& writer);

// Writes the force-include file into directory (created when missing) and its -q and -fi
// lines. With the user's file (userFile equal to name), the file is the user's copied line
// by line, the entries declared after its "Any other items" line; otherwise it is a
// generated header of the entries named name. Returns false, having said why, when the file
// cannot be written.
bool CopyCreateForceIncludeFile(const std::string& directory, const std::string& name, const std::string& userFile,
                                const std::set<std::string>& entries, PersonalityWriter& writer);
