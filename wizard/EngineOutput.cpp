#include "wizard/EngineOutput.h"

#include <QCoreApplication>
#include <QRegularExpression>

QStringList OutputLines::Feed(const QByteArray& chunk)
{
    Pending += chunk;
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype end = Pending.indexOf('\n'); end >= 0; end = Pending.indexOf('\n', start)) {
        lines.append(QString::fromLocal8Bit(Pending.mid(start, end - start)));
        start = end + 1;
    }
    Pending.remove(0, start);
    return lines;
}

QString OutputLines::Flush()
{
    const QString rest = QString::fromLocal8Bit(Pending);
    Pending.clear();
    return rest;
}

QString PhaseOfLine(const QString& line)
{
    if (line.isEmpty() || line.front().isSpace() || !line.endsWith(QLatin1String("...")))
        return {};
    QString phase = line;
    while (phase.endsWith(QLatin1Char('.')) || phase.endsWith(QLatin1Char(' ')))
        phase.chop(1);
    return phase.simplified();
}

bool WorkDirectoryTaken(const QString& line)
{
    return line.contains(QLatin1String("Another Kestrix run is using the working directory"));
}

QString ShownEngineLine(const QString& line)
{
    static const QRegularExpression noValue(QStringLiteral("^(\\S+) failed to compile! can't find value of: (\\S+)$"));
    if (const QRegularExpressionMatch match = noValue.match(line); match.hasMatch())
        return QCoreApplication::translate("EngineOutput",
                                           "Note: the value of %1 cannot be printed by a test program. Names that the "
                                           "preprocessor handles itself, such as __has_include, have no such value; this "
                                           "is no error and the run goes on.")
            .arg(match.captured(2));
    if (WorkDirectoryTaken(line)) {
        static const QRegularExpression dir(QStringLiteral("working directory \"([^\"]*)\""));
        return QCoreApplication::translate("EngineOutput",
                                           "Kestrix did not start: another run is using the working directory %1, most likely "
                                           "from a second wizard window. Wait for that run to end, or stop it there, then press "
                                           "Generate again.")
            .arg(dir.match(line).captured(1));
    }
    if (!PhaseOfLine(line).isEmpty() && line.contains(QLatin1String("  ")))
        return PhaseOfLine(line) + QLatin1String("...");
    return line;
}
