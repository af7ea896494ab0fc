#include "WizardTestSupport.h"

#include <QFileInfo>
#include <QTextStream>

namespace kxwiztest {

ScratchDeployment::ScratchDeployment() : PreviousDir(QDir::currentPath())
{
    QDir root(Dir.path());
    root.mkpath(QStringLiteral("work"));
    const QDir lists(SourceDataDir() + QStringLiteral("/lists"));
    for (const QString& name : lists.entryList(QDir::Files))
        QFile::copy(lists.filePath(name), root.filePath(QStringLiteral("work/") + name));
    root.mkpath(QStringLiteral("images"));
    const QDir images(SourceDataDir() + QStringLiteral("/images"));
    for (const QString& name : images.entryList({QStringLiteral("*.bmp")}, QDir::Files))
        QFile::copy(images.filePath(name), root.filePath(QStringLiteral("images/") + name));
    QDir::setCurrent(Work());
}

ScratchDeployment::~ScratchDeployment()
{
    QDir::setCurrent(PreviousDir);
}

QString ScratchDeployment::Write(const QString& relative, const QString& content) const
{
    const QString path = Dir.filePath(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content.toUtf8());
    return path;
}

QString ScratchDeployment::Read(const QString& relative) const
{
    QFile file(Dir.filePath(relative));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

ScopedPath::ScopedPath(const QString& path) : Previous(qgetenv("PATH")), HadPath(qEnvironmentVariableIsSet("PATH"))
{
    qputenv("PATH", path.toLocal8Bit());
}

ScopedPath::~ScopedPath()
{
    if (HadPath)
        qputenv("PATH", Previous);
    else
        qunsetenv("PATH");
}

QString EngineDir()
{
    return QStringLiteral(KESTRIX_BIN_DIR);
}

QString Fake(const QString& name)
{
    return QStringLiteral(KXWIZ_FAKES_DIR "/") + name;
}

QString SourceDataDir()
{
    return QStringLiteral(KESTRIX_DATA_DIR);
}

} // namespace kxwiztest
