#include "wizard/EngineOutput.h"

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
