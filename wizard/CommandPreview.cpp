#include "wizard/CommandPreview.h"

namespace {

void ReplaceFirst(QString& text, QLatin1String placeholder, const QString& value)
{
    const qsizetype at = text.indexOf(placeholder);
    if (at >= 0)
        text.replace(at, placeholder.size(), value);
}

} // namespace

QString ComposeCompileCommand(const CompileTemplate& t, const QString& source, bool executable,
                              const QString& extraDefine)
{
    QString command = t.Order;
    ReplaceFirst(command, QLatin1String("%c"), t.Command);
    ReplaceFirst(command, QLatin1String("%s"), source);
    ReplaceFirst(command, QLatin1String("%j"), executable ? QString() : t.ObjFlag);
    ReplaceFirst(command, QLatin1String("%o"), executable ? t.ExeFlag : QString());
    ReplaceFirst(command, QLatin1String("%e"), executable ? source + QLatin1String(".exe") : QString());

    // A define flag of the form DF takes its argument in parentheses.
    const bool parenthesised = t.DefFlag == QLatin1String("DF") || t.DefFlag == QLatin1String("DF ");
    const auto define = [&](const QString& d) {
        return parenthesised ? t.DefFlag + QLatin1Char('(') + d + QLatin1String(") ") : t.DefFlag + d + QLatin1Char(' ');
    };
    QString options;
    for (const QString& sw : t.Switches)
        options += sw + QLatin1Char(' ');
    for (const QString& d : t.Defines)
        options += define(d);
    if (!extraDefine.isEmpty())
        options += define(extraDefine);
    ReplaceFirst(command, QLatin1String("%d"), options);
    return command;
}
