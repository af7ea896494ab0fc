#include "wizard/KestrixWizard.h"

#include "common/AtomicFileQt.h"
#include "wizard/ProcessGroup.h"
#include "wizard/UserPath.h"
#include "wizard/WizardDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstring>

namespace {

// The files in which the engine leaves its last compile: the script and what it printed.
const char* const ProbeFiles[] = {"compile.sh", "stdout.log", "stderr.log"};

// Exit statuses of Kestrix besides 0 (done) and 1 (failed).
constexpr int ExitMissingData = 3;
constexpr int ExitInterrupted = 130;
constexpr int ExitTerminated = 143;

QString InCatalogueFolder(const QString& value, const QString& folder)
{
    if (value.contains(QLatin1Char('/')))
        return value;
    return QStringLiteral("../") + folder + QLatin1Char('/') + value;
}

} // namespace

QString KestrixWizard::PersonalityPath() const
{
    QString name = PersonNameEdit->text();
    if (!name.endsWith(QLatin1String(".p_c")))
        name += QLatin1String(".p_c");
    return ResolvedDestination() + QLatin1Char('/') + name;
}

QStringList KestrixWizard::EngineArguments() const
{
    QStringList args;
    args << Product;
    args << (CrossCmpCheckBox->isChecked() ? QStringLiteral("ccmp") : QStringLiteral("cmp"));

    // The engine writes the command into a shell script; a program path with blanks must
    // reach it quoted, while a command followed by its own options must not be.
    QString command = CmpExeEdit->text();
    if (command.contains(QLatin1Char(' ')) && !command.startsWith(QLatin1Char('"'))
        && !command.endsWith(QLatin1Char('"')) && QFileInfo(command).isFile())
        command = QLatin1Char('"') + command + QLatin1Char('"');
    args << command;

    args << CmpExeFlagEdit->text() << CmpCmpFlagEdit->text() << CmpDefFlagEdit->text();
    QString extension = CmpObjExtFlagEdit->text();
    if (!extension.isEmpty() && !extension.startsWith(QLatin1Char('.')))
        extension.prepend(QLatin1Char('.'));
    args << extension;
    args << getCmdOrderStr();

    // A directory that is gone cannot be searched; the user is told before the run.
    const QStringList missing = MissingDirectories();
    for (const QString& dir : ListedDirectories()) {
        if (!missing.contains(dir))
            args << QStringLiteral("-i") << dir;
    }

    args << QStringLiteral("-op") << PersonalityPath();

    const QString defines = CommaSeparatedLines(CmpDefEdit->toPlainText());
    if (!defines.isEmpty())
        args << QStringLiteral("-xd") << defines;
    const QString switches = CommaSeparatedLines(CmpSwtchEdit->toPlainText());
    if (!switches.isEmpty())
        args << QStringLiteral("-xs") << switches;
    if (!TemplateStr.isEmpty())
        args << QStringLiteral("-tpl") << InCatalogueFolder(TemplateStr, QStringLiteral("TemplatePersonalities"));
    if (!ForceIncludeStr.isEmpty())
        args << QStringLiteral("-fi") << InCatalogueFolder(ForceIncludeStr, QStringLiteral("ForceIncludeFiles"));
    if (!SubHeadersStr.isEmpty())
        args << QStringLiteral("-sub") << InCatalogueFolder(SubHeadersStr, QStringLiteral("SubstituteHeaders"));
    if (ReduceFileSizeCheckBox->isChecked())
        args << QStringLiteral("-rfs");
    return args;
}

bool KestrixWizard::EngineRunning() const
{
    return Engine && Engine->state() != QProcess::NotRunning;
}

void KestrixWizard::AppendParagraph(const QString& text)
{
    QTextCursor cursor(DetailsText->document());
    cursor.movePosition(QTextCursor::End);
    if (!cursor.block().text().isEmpty())
        cursor.insertBlock();
    cursor.insertText(text);
    DetailsText->moveCursor(QTextCursor::End);
}

void KestrixWizard::AppendOutputLines(const QStringList& lines, bool fromStderr)
{
    if (lines.isEmpty())
        return;
    QTextCursor cursor(DetailsText->document());
    cursor.movePosition(QTextCursor::End);
    for (const QString& line : lines) {
        if (!cursor.block().text().isEmpty())
            cursor.insertBlock();
        // The engine's reasons for failing come on standard error; they are marked so
        // that they stand out from its progress.
        cursor.insertText(fromStderr ? tr("[stderr] %1").arg(line) : line);
        if (!fromStderr) {
            const QString phase = PhaseOfLine(line);
            if (!phase.isEmpty())
                RunPhase = phase;
        }
    }
    DetailsText->moveCursor(QTextCursor::End);
}

QString KestrixWizard::Elapsed() const
{
    const qint64 seconds = RunClock.isValid() ? RunClock.elapsed() / 1000 : 0;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void KestrixWizard::ShowRunStatus(const QString& text)
{
    setOption(QWizard::HaveCustomButton1, true);
    RunStatusBtn->setToolTip(text);
    // The button row must keep its size at the smallest window; the whole text is in the
    // tooltip. The wizard puts a button's text back on every change of page, so it is
    // given to the wizard, not to the button.
    setButtonText(QWizard::CustomButton1, RunStatusBtn->fontMetrics().elidedText(text, Qt::ElideRight, 380));
}

void KestrixWizard::UpdateRunStatus()
{
    if (!EngineRunning())
        return;
    ShowRunStatus(RunPhase.isEmpty() ? tr("Running for %1").arg(Elapsed())
                                     : tr("Running for %1: %2").arg(Elapsed(), RunPhase));
}

void KestrixWizard::RunStatusBtn_clicked()
{
    showPage(Page4);
    ReviewTabs->setCurrentWidget(LogTab);
}

void KestrixWizard::ClearProbeFiles()
{
    // What a failure shows must come from this run: files an earlier run left would
    // otherwise pass for the cause.
    for (const char* name : ProbeFiles) {
        QFile file{QString::fromLatin1(name)};
        if (file.exists() && !file.remove())
            AppendParagraph(tr("The earlier probe file %1 could not be removed: %2. It is not shown for this run.")
                                .arg(QDir::current().absoluteFilePath(file.fileName()), file.errorString()));
    }
}

void KestrixWizard::accept()
{
    // Two engines must never share the working directory: their probe files would collide.
    if (EngineRunning())
        return;
    BuildReviewText();
    const QStringList missing = MissingDirectories();
    if (!missing.isEmpty()
        && !WizardDialogs::Current().Question(
            this, tr("Compiler Personality Generator"),
            tr("These header directories do not exist and are left out of the run:\n\n%1\n\nGenerate the personality without them?")
                .arg(missing.join(QLatin1Char('\n')))))
        return;

    const QStringList args = EngineArguments();
    DetailsText->setPlainText(tr("Initialising Compiler Personality Generation ...\n"));
    ReviewTabs->setCurrentWidget(LogTab);
    ClearProbeFiles();

    RunCompiler = CompilerFromPages(Compiler());
    RunPersonality = PersonalityPath();
    RunPhase.clear();
    StopRequested = false;
    SaveLogBtn->setEnabled(false);
    AddCompilerBtn->setEnabled(false);
    setNextEnabled(Page4, false);

    if (Engine)
        Engine->deleteLater();
    Engine = new QProcess(this);
    // Stopping the run must reach the compile script and the compiler as well.
    RunInOwnProcessGroup(*Engine);
    Engine->setStandardInputFile(QProcess::nullDevice());
    connect(Engine, &QProcess::readyReadStandardOutput, this, &KestrixWizard::readFromStdout);
    connect(Engine, &QProcess::readyReadStandardError, this, &KestrixWizard::readFromStderr);
    connect(Engine, &QProcess::finished, this, &KestrixWizard::processExit);
    connect(Engine, &QProcess::errorOccurred, this, &KestrixWizard::ProcessFailedToStart);
    RunStarted = QDateTime::currentDateTime();
    RunClock.start();
    StopBtn->setEnabled(true);
    RunTicker->start();
    Engine->start(QStringLiteral("Kestrix"), args);
    EnginePid = Engine->processId();
    UpdateRunStatus();
}

void KestrixWizard::ProcessFailedToStart(QProcess::ProcessError error)
{
    if (error != QProcess::FailedToStart)
        return;
    AppendParagraph(tr("Compiler Personality Generation could not be executed: Please ensure Kestrix is set on the path.\n"));
    EndRun(tr("Kestrix could not be started"));
}

void KestrixWizard::readFromStdout()
{
    if (Engine)
        AppendOutputLines(StdoutLines.Feed(Engine->readAllStandardOutput()), false);
}

void KestrixWizard::readFromStderr()
{
    if (Engine)
        AppendOutputLines(StderrLines.Feed(Engine->readAllStandardError()), true);
}

void KestrixWizard::StopBtn_clicked()
{
    StopEngine();
}

void KestrixWizard::StopEngine()
{
    if (!EngineRunning())
        return;
    StopRequested = true;
    StopBtn->setEnabled(false);
    AppendParagraph(tr("Stopping the run ..."));
    // The engine ends its compiles and leaves the previous personality on SIGTERM; what is
    // still there after the grace period is killed.
    SignalProcessGroup(EnginePid, SIGTERM);
    const qint64 group = EnginePid;
    QTimer::singleShot(StopGraceMs, this, [group] {
        if (ProcessGroupAlive(group))
            SignalProcessGroup(group, SIGKILL);
    });
}

void KestrixWizard::EndRun(const QString& status)
{
    RunTicker->stop();
    StopBtn->setEnabled(false);
    ShowRunStatus(status);
    // A run that ends while another page or window is in front must still be noticed.
    QApplication::alert(this);
}

void KestrixWizard::processExit(int exitCode, QProcess::ExitStatus exitStatus)
{
    readFromStdout();
    readFromStderr();
    for (const bool fromStderr : {false, true}) {
        const QString unfinished = (fromStderr ? StderrLines : StdoutLines).Flush();
        if (!unfinished.isEmpty())
            AppendOutputLines({unfinished}, fromStderr);
    }
    // Compiles the engine could not end any more must not outlive it.
    if (ProcessGroupAlive(EnginePid))
        SignalProcessGroup(EnginePid, SIGKILL);

    WizardDialogs& dialogs = WizardDialogs::Current();
    const QString caption = tr("Compiler Personality Generator");
    const bool normal = exitStatus == QProcess::NormalExit;
    SaveLogBtn->setEnabled(true);
    if (normal && (exitCode == 0 || exitCode == ExitMissingData)) {
        setButtonText(QWizard::CancelButton, tr("Close"));
        AddCompilerBtn->setEnabled(true);
        if (exitCode == 0) {
            AppendParagraph(tr("Personality Generated Successfully! It was written to %1.").arg(RunPersonality));
            EndRun(tr("Personality written after %1").arg(Elapsed()));
        } else {
            const QString text = tr("The personality was written to %1, but data that the run needs was missing: some results may be absent. The messages in the log name what was missing.")
                                     .arg(RunPersonality);
            AppendParagraph(tr("Warning: %1").arg(text));
            EndRun(tr("Personality written with missing data after %1").arg(Elapsed()));
            dialogs.Warning(this, caption, text);
        }
    } else if (StopRequested) {
        AppendParagraph(tr("The run was stopped after %1. No new personality was written; %2 is as it was before the run.")
                            .arg(Elapsed(), RunPersonality));
        EndRun(tr("Run stopped after %1").arg(Elapsed()));
    } else {
        QString reason;
        if (!normal)
            reason = tr("Kestrix was ended by signal %1 (%2).").arg(exitCode).arg(QString::fromLocal8Bit(strsignal(exitCode)));
        else if (exitCode == ExitInterrupted || exitCode == ExitTerminated)
            reason = tr("Kestrix was interrupted (exit status %1); %2 is as it was before the run.").arg(exitCode).arg(RunPersonality);
        else
            reason = tr("Kestrix failed with exit status %1.").arg(exitCode);
        AppendParagraph(reason);
        EndRun(tr("Run failed after %1").arg(Elapsed()));
        dialogs.Critical(this, caption, tr("Personality Generation Failed!\nPlease check the details on screen and try again."));
        AppendRunFiles();
    }
    WriteSettings();
}

void KestrixWizard::AppendRunFiles()
{
    // Only what this run wrote: the files were removed when it started, and one that could
    // not be removed is older than the run (allowing for file times kept in whole seconds).
    const auto fromThisRun = [this](const char* name) {
        const QFileInfo info{QString::fromLatin1(name)};
        return info.isFile() && info.lastModified() >= RunStarted.addSecs(-1);
    };
    if (std::none_of(std::begin(ProbeFiles), std::end(ProbeFiles), fromThisRun)) {
        AppendParagraph(tr("The run made no compile before it ended; the messages above give the reason."));
        return;
    }
    const QString headings[] = {tr("\n\nCommand Attempted:\n"), tr("\n ---- stdout details ----\n"),
                                tr("\n ---- stderr details ----\n")};
    for (int i = 0; i < 3; ++i) {
        AppendParagraph(headings[i]);
        if (fromThisRun(ProbeFiles[i]))
            DisplayFileStrings(QString::fromLatin1(ProbeFiles[i]));
    }
}

void KestrixWizard::DisplayFileStrings(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&file);
    QStringList lines;
    while (!in.atEnd())
        lines.append(in.readLine());
    if (!lines.isEmpty())
        AppendParagraph(lines.join(QLatin1Char('\n')));
}

void KestrixWizard::reject()
{
    if (EngineRunning()) {
        if (!WizardDialogs::Current().Question(
                this, tr("Compiler Personality Generator"),
                tr("A personality is being generated. Stop the run and close the wizard?\n\nThe previous personality is left as it was.")))
            return;
        StopEngine();
        if (!Engine->waitForFinished(StopGraceMs)) {
            SignalProcessGroup(EnginePid, SIGKILL);
            Engine->waitForFinished(1000);
        }
    }
    KestrixWizardBase::reject();
}

void KestrixWizard::SaveLogBtn_clicked()
{
    WizardDialogs& dialogs = WizardDialogs::Current();
    QString fileName = dialogs.SaveFileName(this, tr("Save Log File as .."), ChooserStart(LastBrowseDir),
                                            tr("Log Files (*.txt *.log)"), QStringLiteral("save log dialog"));
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QLatin1String(".txt");
    LastBrowseDir = QFileInfo(fileName).absolutePath();
    QString error;
    if (!WriteTextFileAtomically(fileName, DetailsText->toPlainText(), &error))
        dialogs.Critical(this, tr("Compiler Personality Generator"),
                         tr("The log could not be saved to %1: %2").arg(fileName, error));
}
