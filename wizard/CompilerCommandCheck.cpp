#include "wizard/KestrixWizard.h"

#include <QFileInfo>

QString CompilerProgramName(const QString& command)
{
    if (command.startsWith(QLatin1Char('"'))) {
        const qsizetype close = command.indexOf(QLatin1Char('"'), 1);
        return close < 0 ? command.mid(1) : command.mid(1, close - 1);
    }
    // A path with blanks, typed as it is: the longest run of words that is an executable
    // file is the program, so that "/opt/my tools/cc -m32" runs "/opt/my tools/cc".
    const QStringList words = command.split(QLatin1Char(' '));
    for (qsizetype n = words.size(); n > 1; --n) {
        const QString prefix = words.mid(0, n).join(QLatin1Char(' '));
        const QFileInfo info(prefix);
        if (prefix.contains(QLatin1Char('/')) && info.isFile() && info.isExecutable())
            return prefix;
    }
    return words.constFirst();
}

QString QuotedCompilerCommand(const QString& command)
{
    if (command.startsWith(QLatin1Char('"')))
        return command;
    const QString program = CompilerProgramName(command);
    if (!program.contains(QLatin1Char(' ')))
        return command;
    return QLatin1Char('"') + program + QLatin1Char('"') + command.mid(program.size());
}

bool CompilerProgramFound(const QString& program, const QString& path)
{
    // The engine hands the command to /bin/sh, so a program counts as found only where the
    // shell would run it: an executable file, by path or in a PATH directory (an empty
    // PATH entry being the working directory).
    const auto runnable = [](const QString& candidate) {
        const QFileInfo info(candidate);
        return info.isFile() && info.isExecutable();
    };
    if (program.isEmpty())
        return false;
    if (program.contains(QLatin1Char('/')))
        return runnable(program);
    if (path.isNull())
        return false;
    for (QString dir : path.split(QLatin1Char(':'))) {
        if (dir.isEmpty())
            dir = QStringLiteral(".");
        if (runnable(dir + QLatin1Char('/') + program))
            return true;
    }
    return false;
}

bool KestrixWizard::CheckCompilerOnPath()
{
    const QString command = CmpExeEdit->text();
    if (command.isEmpty()) {
        CommandProblem.clear();
        return false;
    }

    const bool found = CompilerProgramFound(CompilerProgramName(command),
                                            qEnvironmentVariableIsSet("PATH") ? qEnvironmentVariable("PATH") : QString());
    QString message;
    if (!found)
        message = CmdNotOnPathMsg;
    else if (command.contains(QLatin1String("<specify")))
        message = CmdSpecifyMsg;

    // The page's error label also names missing flags; ApplyCommandCheck puts it together.
    const bool valid = message.isEmpty();
    SetFieldColour(CmpExeEdit, valid ? QColor(0, 0, 0) : QColor(255, 0, 0));
    CmpExeEdit->setToolTip(valid ? CmdTipMsg : message);
    CommandProblem = message;
    return valid;
}
