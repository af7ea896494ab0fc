#include "wizard/CompilerDirectories.h"

#include "wizard/ProcessGroup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <csignal>

namespace {

const QString ScriptName = QStringLiteral("kestrix-search-dirs");

} // namespace

QString SearchDirsScript()
{
    const QFileInfo beside(QDir(QCoreApplication::applicationDirPath()).filePath(ScriptName));
    if (beside.isFile() && beside.isExecutable())
        return beside.absoluteFilePath();
    return QStandardPaths::findExecutable(ScriptName);
}

QStringList DirectoriesFromSearchDirsOutput(const QString& output)
{
    QStringList dirs;
    for (const QString& line : output.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("-i ")) && line.size() > 3)
            dirs.append(line.mid(3));
    }
    return dirs;
}

QStringList FindCompilerDirectories(const QString& script, const QString& command, const QString& language,
                                    const QStringList& switches, QString* error, int timeoutMs)
{
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return QStringList();
    };
    if (script.isEmpty())
        return fail(QCoreApplication::translate("CompilerDirectories", "%1 was found neither beside the wizard nor on PATH.").arg(ScriptName));

    QProcess process;
    // A compiler that hangs must not keep the wizard waiting: the whole group is ended.
    RunInOwnProcessGroup(process);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(script, QStringList{command, language} + switches);
    if (!process.waitForStarted())
        return fail(QCoreApplication::translate("CompilerDirectories", "%1 could not be started: %2").arg(script, process.errorString()));
    const qint64 group = process.processId();
    if (!process.waitForFinished(timeoutMs)) {
        SignalProcessGroup(group, SIGKILL);
        process.waitForFinished(1000);
        return fail(QCoreApplication::translate("CompilerDirectories", "%1 did not answer within %2 seconds and was stopped.").arg(command).arg(timeoutMs / 1000));
    }
    // Whatever the script's compiler left behind goes with it.
    SignalProcessGroup(group, SIGKILL);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString reason = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return fail(QCoreApplication::translate("CompilerDirectories", "%1 failed for %2 (exit status %3). %4")
                        .arg(script, command)
                        .arg(process.exitCode())
                        .arg(reason)
                        .trimmed());
    }
    const QStringList dirs = DirectoriesFromSearchDirsOutput(QString::fromLocal8Bit(process.readAllStandardOutput()));
    if (dirs.isEmpty())
        return fail(QCoreApplication::translate("CompilerDirectories", "%1 named no header directories. It may not be gcc-like, or the command may be wrong; add its directories with Add.")
                        .arg(command));
    return dirs;
}
