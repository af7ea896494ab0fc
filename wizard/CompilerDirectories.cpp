#include "wizard/CompilerDirectories.h"

#include "wizard/UserPath.h"
#include "wizard/KestrixWizard.h"
#include "wizard/ProcessGroup.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <csignal>

namespace {

const QString ScriptName = QStringLiteral("kestrix-search-dirs");

} // namespace

QString SearchDirsScript()
{
    return SiblingProgram(ScriptName);
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

    // The script splits the command at blanks, so a program whose path has blanks is given
    // as a wrapper without them that runs it under its own name.
    QString shellCommand = command;
    QTemporaryDir wrapperDir;
    const QString program = CompilerProgramName(command);
    if (program.contains(QLatin1Char(' '))) {
        const QString wrapper = wrapperDir.filePath(QStringLiteral("cc"));
        QFile file(wrapper);
        QString quoted = program;
        quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
        if (!wrapperDir.isValid() || !file.open(QIODevice::WriteOnly)
            || file.write(QStringLiteral("#!/bin/sh\nexec '%1' \"$@\"\n").arg(quoted).toLocal8Bit()) < 0
            || !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return fail(QCoreApplication::translate("CompilerDirectories", "A wrapper for the compiler %1, whose path has blanks, could not be written to %2.").arg(program, wrapper));
        file.close();
        const qsizetype after = command.startsWith(QLatin1Char('"')) ? program.size() + 2 : program.size();
        shellCommand = wrapper + command.mid(after);
    }

    QProcess process;
    // A compiler that hangs must not keep the wizard waiting: the whole group is ended.
    RunInOwnProcessGroup(process);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(script, QStringList{shellCommand, language} + switches);
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

QStringList MergeDirectories(const QStringList& found, const QStringList& listed)
{
    QStringList merged = found;
    qsizetype insertAt = 0;
    for (const QString& dir : listed) {
        const qsizetype at = merged.indexOf(dir);
        if (at >= 0) {
            insertAt = at + 1;
        } else {
            merged.insert(insertAt, dir);
            ++insertAt;
        }
    }
    return merged;
}
