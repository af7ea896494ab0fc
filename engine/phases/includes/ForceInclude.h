// Headers produced beside the personality for the analyser: a copy of the user's
// substitute header tree, and the force-include header that declares identifiers the
// compiler knows without a declaration.
#pragma once

#include <set>
#include <string>
#include <vector>

#include <optional>

#include "engine/core/Reporter.h"

struct SubstituteCopy {
    std::vector<std::string> Directories;  // the directories made, in the order of their lines
    int Skipped = 0;                       // entries left out, each reported with its reason
    // The run's own folder the copy is made in (Staged) until it takes its place (Final);
    // empty when the tree is its own copy.
    std::string Stage;
    std::string Staged;
    std::string Final;

    // Where a directory of the copy is until the copy takes its place.
    std::string Staging(const std::string& directory) const
    {
        return Stage.empty() ? directory : Staged + directory.substr(Final.size());
    }
};

// Puts the staged copy in its place and the previous copy (if any) in the staging folder;
// called again, it undoes that. False, with the reason, when the file system refuses.
bool SwapSubstituteCopy(const SubstituteCopy& copy, std::string& error);

// Removes the run's staging folder when the run ends, whatever it held by then.
struct SubstituteStage {
    const SubstituteCopy& Copy;
    ~SubstituteStage();
};

// Copies the tree below source into a staging folder in parent (which ends in "/"); every
// directory is named in the result as it will be named in its place, in the order of its lines. Only what lies inside the tree is copied: a link leading out of
// it is reported and skipped, a link to a directory inside it is made again as a link, and
// anything but regular files and directories is skipped. Throws RunFailure when a directory
// or file of the copy cannot be written.
SubstituteCopy CreateAndCopyAllFiles(const std::string& source, const std::string& parent, Reporter& report);

// The user's force-include file with the declarations of the entries added after each line
// that holds "Any other items"; every line ends with a line end.
std::string ForceIncludeText(const std::string& userContent, const std::set<std::string>& entries);

// Writes the force-include file into directory (created when missing) and returns its path.
// With the user's file (userFile equal to name), the file is the user's copied line
// by line, the entries declared after its "Any other items" line; otherwise it is a
// generated header of the entries named name. Throws RunFailure when the file cannot be
// written.
std::string CopyCreateForceIncludeFile(const std::string& directory, const std::string& name, const std::string& userFile,
                                       const std::set<std::string>& entries, Reporter& report);
