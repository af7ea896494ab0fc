#pragma once

#include <QString>

// A folder as the user typed it, made absolute the way a shell user expects: "~" and "~/..."
// name the home directory, and a relative name is taken from the home directory too (the
// wizard's own working directory is a hidden deployment folder that means nothing to the
// user). Empty stays empty.
QString ResolveUserPath(const QString& typed);

// Where a file or folder chooser opens: `preferred` when it is an existing folder, else the
// home directory.
QString ChooserStart(const QString& preferred);

// One of the system's own programs: the one installed beside the wizard, else the first on
// PATH; empty when there is neither.
QString SiblingProgram(const QString& name);
