#include "WizardTestSupport.h"

#include "KestrixWizard.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QTextStream>

#include <csignal>

namespace kxwiztest {

ScratchDeployment::ScratchDeployment() : PreviousDir(QDir::currentPath()), PreviousHome(qgetenv("HOME"))
{
    QDir root(Dir.path());
    root.mkpath(QStringLiteral("work"));
    root.mkpath(QStringLiteral("home"));
    qputenv("HOME", root.filePath(QStringLiteral("home")).toLocal8Bit());
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
    qputenv("HOME", PreviousHome);
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

ScopedEnv::ScopedEnv(const char* name, const QString& value)
    : Name(name), Previous(qgetenv(name)), Had(qEnvironmentVariableIsSet(name))
{
    qputenv(name, value.toLocal8Bit());
}

ScopedEnv::~ScopedEnv()
{
    if (Had)
        qputenv(Name, Previous);
    else
        qunsetenv(Name);
}

FakeEngine::FakeEngine(const QString& mode)
    : Path(QStringLiteral(KXWIZ_FAKES_DIR ":") + qEnvironmentVariable("PATH")),
      Mode("KXWIZ_FAKE_MODE", mode),
      ChildFile("KXWIZ_FAKE_CHILD", Child.filePath(QStringLiteral("child.pid")))
{
}

qint64 FakeEngine::ChildPid() const
{
    QFile file(ChildPidFile());
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return file.readAll().trimmed().toLongLong();
}

bool RunToEnd(KestrixWizard& wizard, int timeoutMs)
{
    wizard.accept();
    const QDeadlineTimer deadline(timeoutMs);
    while (wizard.EngineRunning() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return !wizard.EngineRunning();
}

bool ProcessGone(qint64 pid)
{
    if (::kill(pid_t(pid), 0) != 0)
        return true;
    // "pid (name) S ...": the state follows the closing parenthesis.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close >= 0 && text.mid(close + 2, 1) == "Z";
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
