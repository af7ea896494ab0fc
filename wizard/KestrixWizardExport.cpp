#include "wizard/KestrixWizard.h"

#include "wizard/UserPath.h"
#include "wizard/WizardDialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

const QString ExportProgram = QStringLiteral("kestrix-export");

// The formats written with one click: what clang-based tools and cppcheck read, and the
// header for any other tool.
const char* const ExportedFormats[] = {"clang", "cppcheck", "header"};

QString ExportProgramPath()
{
    return SiblingProgram(ExportProgram);
}

// A path as a shell takes it, so that the command lines shown can be pasted.
QString ShellWord(const QString& word)
{
    static const QString plain = QStringLiteral("+-./:=@_,%");
    bool quote = word.isEmpty();
    for (const QChar c : word)
        quote = quote || !(c.isLetterOrNumber() || plain.contains(c));
    if (!quote)
        return word;
    QString quoted = word;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

} // namespace

void KestrixWizard::ExportBtn_clicked()
{
    WizardDialogs& dialogs = WizardDialogs::Current();
    const QString caption = tr("Export for clang, cppcheck");
    if (EngineRunning() || !RunSucceeded)
        return;
    const QString program = ExportProgramPath();
    if (program.isEmpty()) {
        dialogs.Critical(this, caption,
                         tr("%1 was found neither beside the wizard nor in the folders of PATH, so %2 cannot be exported.")
                             .arg(ExportProgram, RunPersonality));
        return;
    }
    const QFileInfo personality(RunPersonality);
    if (!personality.isFile()) {
        dialogs.Critical(this, caption, tr("The personality %1 is gone; generate it again before exporting it.").arg(RunPersonality));
        return;
    }
    // The files are named after the personality, except compile_flags.txt, whose name clang's
    // tools look for: one of the user's own may lie in that folder.
    const QDir dir = personality.absoluteDir();
    const QString name = personality.completeBaseName();
    QStringList existing;
    for (const QString& file : {QStringLiteral("compile_flags.txt"), name + QLatin1String(".clangd"),
                                name + QLatin1String(".platform.xml"), name + QLatin1String(".cfg"),
                                name + QLatin1String(".includes.txt"), name + QLatin1String(".h")}) {
        if (QFileInfo::exists(dir.filePath(file)))
            existing.append(dir.filePath(file));
    }
    if (!existing.isEmpty()
        && !dialogs.Question(this, caption,
                             tr("These files exist already and are replaced by the export:\n\n%1\n\nExport anyway?")
                                 .arg(existing.join(QLatin1Char('\n')))))
        return;

    QStringList written;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString failure;
    for (const char* format : ExportedFormats) {
        QProcess process;
        process.setStandardInputFile(QProcess::nullDevice());
        process.start(program, {QLatin1String(format), personality.absoluteFilePath()});
        if (!process.waitForStarted() || !process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished(1000);
            failure = tr("%1 %2 did not finish within a minute, or could not be started: %3")
                          .arg(program, QLatin1String(format), process.errorString());
            break;
        }
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            failure = tr("%1 could not export %2 for %3 (exit status %4):\n\n%5")
                          .arg(program, RunPersonality, QLatin1String(format))
                          .arg(process.exitCode())
                          .arg(QString::fromLocal8Bit(process.readAllStandardError()).trimmed());
            break;
        }
        for (const QString& line : QString::fromLocal8Bit(process.readAllStandardOutput()).split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("Wrote ")))
                written.append(line.mid(6));
        }
    }
    QApplication::restoreOverrideCursor();
    if (!failure.isEmpty()) {
        AppendParagraph(failure);
        dialogs.Critical(this, caption, failure);
        return;
    }

    const auto path = [&](const QString& file) { return dir.filePath(file); };
    const QString source = RunProduct == QLatin1String("zanth") ? QStringLiteral("main.c") : QStringLiteral("main.cpp");
    QString text = tr("Exported from %1; every file lists in its comments the facts that its format cannot hold.").arg(RunPersonality)
                   + QLatin1String("\n\n") + tr("Files written:") + QLatin1Char('\n');
    for (const QString& file : written)
        text += QLatin1String("  ") + file + QLatin1Char('\n');
    text += QLatin1Char('\n') + tr("clang-based tools (clang, clang-tidy, clangd):") + QLatin1Char('\n') + QLatin1String("  clang @")
            + ShellWord(path(QStringLiteral("compile_flags.txt"))) + QLatin1String(" -fsyntax-only ") + source + QLatin1Char('\n')
            + QLatin1String("  ")
            + tr("clangd and clang-tidy read compile_flags.txt in the folder of the sources or above it; %1 holds the same flags for a .clangd file.")
                  .arg(path(name + QLatin1String(".clangd")))
            + QLatin1String("\n\n") + tr("cppcheck:") + QLatin1Char('\n') + QLatin1String("  cppcheck --platform=")
            + ShellWord(path(name + QLatin1String(".platform.xml"))) + QLatin1String(" --library=")
            + ShellWord(path(name + QLatin1String(".cfg"))) + QLatin1String(" --includes-file=")
            + ShellWord(path(name + QLatin1String(".includes.txt"))) + QLatin1Char(' ') + source + QLatin1String("\n\n")
            + tr("Other tools, as a forced include (the option as compilers spell it):") + QLatin1Char('\n')
            + QLatin1String("  -include ") + ShellWord(path(name + QLatin1String(".h"))) + QLatin1Char('\n');
    ExportText->setPlainText(text);
    ReviewTabs->setTabVisible(ReviewTabs->indexOf(ExportTab), true);
    ReviewTabs->setCurrentWidget(ExportTab);
    AppendParagraph(tr("Exported %1 for clang-based tools and cppcheck, and as a header: %2 files beside it, listed with their use on the Exported Files tab.")
                        .arg(RunPersonality)
                        .arg(written.size()));
}
