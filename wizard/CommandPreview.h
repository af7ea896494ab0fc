#pragma once

#include <QString>
#include <QStringList>

// What the engine makes of the compile-command template, so that the compiler page can show
// the commands that will really run: the order string's placeholders "%c", "%s", "%j", "%o",
// "%e" and "%d" are filled by the engine's own composition (common/CompileTemplate.h).
struct CompileTemplate {
    QString Order;
    QString Command;
    QString ExeFlag;
    QString ObjFlag;
    QString DefFlag;
    QStringList Switches;
    QStringList Defines;
};

// The command for `source`: an object build, or with `executable` a program build named
// source + ".exe". `extraDefine` is one more define, as the probes add one.
QString ComposeCompileCommand(const CompileTemplate& t, const QString& source, bool executable,
                              const QString& extraDefine);
