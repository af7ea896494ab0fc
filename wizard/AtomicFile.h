#pragma once

#include <QString>

// Writes `text` (UTF-8) to `path` through a temporary file beside it that is renamed over
// the target only when everything was written, so a crash or a full disk never leaves a
// half-written file behind. On failure returns false, leaves the old file as it was and
// puts the reason into *error when given.
bool WriteTextFileAtomically(const QString& path, const QString& text, QString* error = nullptr);

// The whole file as UTF-8 text; false when it cannot be opened.
bool ReadTextFile(const QString& path, QString& text);
