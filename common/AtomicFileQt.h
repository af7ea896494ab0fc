// The atomic file writer for the Qt programs, which hold paths and text as QString. Only
// the conversion lives here; the writing is common/AtomicFile's, as for every program.
#pragma once

#include <QFile>
#include <QString>

#include "common/AtomicFile.h"

// Writes text (UTF-8) to path through kxcommon::AtomicFile. On failure returns false, leaves
// the old file as it was and puts the reason into *error when given.
inline bool WriteTextFileAtomically(const QString& path, const QString& text, QString* error = nullptr)
{
    std::string reason;
    const QByteArray bytes = text.toUtf8();
    if (kxcommon::WriteFileAtomically(QFile::encodeName(path).toStdString(),
                                      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                                      reason))
        return true;
    if (error)
        *error = QString::fromLocal8Bit(reason.c_str());
    return false;
}

// The whole file as UTF-8 text; false when it cannot be opened.
inline bool ReadTextFile(const QString& path, QString& text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    text = QString::fromUtf8(file.readAll());
    return true;
}
