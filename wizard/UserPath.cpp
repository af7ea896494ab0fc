#include "wizard/UserPath.h"

#include <QStandardPaths>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString ResolveUserPath(const QString& typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return {};
    const QString home = QDir::homePath();
    if (text == QLatin1String("~"))
        return home;
    if (text.startsWith(QLatin1String("~/")))
        return QDir::cleanPath(home + text.mid(1));
    if (QDir::isAbsolutePath(text))
        return QDir::cleanPath(text);
    return QDir::cleanPath(home + QLatin1Char('/') + text);
}

QString ChooserStart(const QString& preferred)
{
    const QString resolved = ResolveUserPath(preferred);
    if (!resolved.isEmpty() && QFileInfo(resolved).isDir())
        return resolved;
    return QDir::homePath();
}

QString SiblingProgram(const QString& name)
{
    const QFileInfo beside(QDir(QCoreApplication::applicationDirPath()).filePath(name));
    if (beside.isFile() && beside.isExecutable())
        return beside.absoluteFilePath();
    return QStandardPaths::findExecutable(name);
}
