#include "wizard/KestrixWizard.h"

#include "common/AtomicFileQt.h"
#include "wizard/CommandPreview.h"
#include "wizard/ProcessGroup.h"
#include "wizard/UserPath.h"
#include "wizard/WizardDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
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

// The engine's words when no produced file had the object file extension given.
const QLatin1String ObjectExtensionFailure("Can't discover object file extension");

} // namespace

QString KestrixWizard::CatalogueFilePath(const QString& value, const QString& folder) const
{
    return QDir::cleanPath(QDir::current().absoluteFilePath(InCatalogueFolder(value, folder)));
}

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
    // reach it quoted, while the options after it must not be.
    args << QuotedCompilerCommand(CmpExeEdit->text());

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
        if (fromStderr && WorkDirectoryTaken(line))
            WorkDirTaken = true;
        const QString shown = ShownEngineLine(line);
        cursor.insertText(fromStderr ? tr("[stderr] %1").arg(shown) : shown);
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
    RunStatusText = text;
    FitRunStatus();
}

void KestrixWizard::FitRunStatus()
{
    if (RunStatusText.isEmpty())
        return;
    // The button row must keep its size at the smallest window, so the status gets the room
    // the other buttons leave and is shortened at its end; the whole text is in the tooltip.
    // The wizard puts a button's text back on every change of page, so it is given to the
    // wizard, not to the button.
    int room = width() - 2 * style()->pixelMetric(QStyle::PM_LayoutLeftMargin) - 40;
    for (WizardButton which : {QWizard::BackButton, QWizard::NextButton, QWizard::FinishButton, QWizard::CancelButton}) {
        if (button(which)->isVisible())
            room -= button(which)->sizeHint().width() + style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing);
    }
    room = std::clamp(room - 2 * RunStatusBtn->fontMetrics().averageCharWidth(), 60, 420);
    setButtonText(QWizard::CustomButton1, RunStatusBtn->fontMetrics().elidedText(RunStatusText, Qt::ElideRight, room));
}

void KestrixWizard::resizeEvent(QResizeEvent* event)
{
    KestrixWizardBase::resizeEvent(event);
    FitRunStatus();
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

    // A personality of that name may be the result of a long run, or another compiler's.
    RunHadPersonality = QFileInfo::exists(PersonalityPath());
    if (RunHadPersonality
        && !WizardDialogs::Current().Question(
            this, tr("Compiler Personality Generator"),
            tr("The personality %1 exists already. Replace it with the result of this run?\n\nIt is replaced only when the run succeeds.")
                .arg(PersonalityPath())))
        return;

    const QStringList args = EngineArguments();
    DetailsText->setPlainText(tr("Initialising Compiler Personality Generation ...\n"));
    ReviewTabs->setCurrentWidget(LogTab);
    ClearProbeFiles();

    RunCompiler = CompilerFromPages(Compiler());
    RunFamily = SelectedFamily;
    RunName = SelectedName;
    RunProduct = Product;
    RunSucceeded = false;
    RunPersonality = PersonalityPath();
    RunSummary = SummaryText->toPlainText();
    RunPhase.clear();
    StopRequested = false;
    WorkDirTaken = false;
    SaveLogBtn->setEnabled(false);
    AddCompilerBtn->setEnabled(false);
    ExportBtn->setEnabled(false);
    ReviewTabs->setTabVisible(ReviewTabs->indexOf(ExportTab), false);
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
    UpdateNextReason();
}

void KestrixWizard::ProcessFailedToStart(QProcess::ProcessError error)
{
    if (error != QProcess::FailedToStart)
        return;
    const QString text = tr("Kestrix could not be started (%1). It is looked for in the folders of PATH (%2). Start the wizard with kestrix-wizard-launch, which puts Kestrix on PATH, or add the folder that holds Kestrix to PATH.")
                             .arg(Engine ? Engine->errorString() : QString(), qEnvironmentVariable("PATH"));
    AppendParagraph(text);
    EndRun(tr("Kestrix could not be started"));
    FinishRun();
    WizardDialogs::Current().Critical(this, tr("Compiler Personality Generator"), text);
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

void KestrixWizard::EnableGenerate()
{
    // Generate is offered again after any end of a run; a changed page is checked as
    // Next checks it.
    setNextEnabled(Page4, nextEnabled(Page0) && CompilerPageComplete);
    UpdateNextReason();
}

void KestrixWizard::FinishRun()
{
    SaveLogBtn->setEnabled(true);
    EnableGenerate();
    UpdateSaveCompiler();
    WriteSettings();
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
    const QString untouched =
        RunHadPersonality ? tr("%1 is as it was before the run.").arg(RunPersonality)
                          : tr("There was no personality at %1 before the run, and there is none now.").arg(RunPersonality);
    if (normal && (exitCode == 0 || exitCode == ExitMissingData)) {
        setButtonText(QWizard::CancelButton, tr("Close"));
        RunSucceeded = true;
        ExportBtn->setEnabled(true);
        if (exitCode == 0) {
            AppendParagraph(tr("Personality Generated Successfully! It was written to %1.").arg(RunPersonality));
            AppendParagraph(tr("\"Export for clang, cppcheck\" writes its facts beside it for clang-based tools, cppcheck and as a header."));
            EndRun(tr("Personality written after %1").arg(Elapsed()));
        } else {
            const QString text = tr("The personality was written to %1, but data that the run needs was missing: some results may be absent. The messages in the log name what was missing.")
                                     .arg(RunPersonality);
            AppendParagraph(tr("Warning: %1").arg(text));
            EndRun(tr("Personality written with missing data after %1").arg(Elapsed()));
            dialogs.Warning(this, caption, text);
        }
    } else if (StopRequested) {
        AppendParagraph(tr("The run was stopped after %1. No new personality was written; %2").arg(Elapsed(), untouched));
        EndRun(tr("Run stopped after %1").arg(Elapsed()));
    } else {
        QString reason;
        if (!normal)
            reason = tr("Kestrix was ended by signal %1 (%2).").arg(exitCode).arg(QString::fromLocal8Bit(strsignal(exitCode)));
        else if (exitCode == ExitInterrupted || exitCode == ExitTerminated)
            reason = tr("Kestrix was interrupted (exit status %1); %2").arg(exitCode).arg(untouched);
        else
            reason = tr("Kestrix failed with exit status %1.").arg(exitCode);
        AppendParagraph(reason);
        EndRun(tr("Run failed after %1").arg(Elapsed()));
        if (WorkDirTaken) {
            // The engine's own line has been reworded in the log; the dialog says the same.
            dialogs.Critical(this, caption,
                             tr("Another run of Kestrix is using the working directory %1, most likely from a second wizard window. Wait for that run to end, or stop it there, then press Generate again.")
                                 .arg(QDir::currentPath()));
        } else {
            // A compile that worked but wrote another extension leaves the engine no failing
            // compile to show; the wizard's own repeat of it names the command and the files.
            bool wrongExtension = false;
            const QString diagnosis = DetailsText->toPlainText().contains(ObjectExtensionFailure)
                                          ? ObjectBuildDiagnosis(&wrongExtension)
                                          : QString();
            if (wrongExtension) {
                AppendParagraph(diagnosis);
                dialogs.Critical(this, caption, tr("Personality Generation Failed!") + QLatin1String("\n\n") + diagnosis);
            } else {
                dialogs.Critical(this, caption, tr("Personality Generation Failed!\nPlease check the details on screen and try again."));
                AppendRunFiles(diagnosis);
            }
        }
    }
    FinishRun();
}

QString KestrixWizard::ObjectBuildDiagnosis(bool* wrongExtension) const
{
    // The engine only says that no file had the extension; the object build is repeated
    // here, in a scratch folder, to name the command and what it wrote.
    QTemporaryDir scratch;
    if (!scratch.isValid())
        return {};
    const QString source = RunProduct == QLatin1String("zanth") ? QStringLiteral("test.c") : QStringLiteral("test.cpp");
    QFile file(scratch.filePath(source));
    if (!file.open(QIODevice::WriteOnly) || file.write("char c;\n") < 0)
        return {};
    file.close();
    const CompileTemplate compile{RunCompiler.Order,
                                  QuotedCompilerCommand(RunCompiler.ExeCommand),
                                  RunCompiler.OutputFlag,
                                  RunCompiler.ObjectFlag,
                                  RunCompiler.DefineFlag,
                                  ListFieldEntries(RunCompiler.CompilerSwitches),
                                  ListFieldEntries(RunCompiler.CompilerDefines)};
    const QString command = ComposeCompileCommand(compile, source, false, QString()).simplified();
    QProcess process;
    RunInOwnProcessGroup(process);
    process.setWorkingDirectory(scratch.path());
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    const bool finished = process.waitForStarted() && process.waitForFinished(20000);
    SignalProcessGroup(process.processId(), SIGKILL);
    if (!finished) {
        process.waitForFinished(1000);
        return tr("The object build \"%1\" did not end within 20 seconds.").arg(command);
    }
    QStringList written = QDir(scratch.path()).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    written.removeAll(source);
    QString extension = RunCompiler.ObjectFileExtension;
    if (!extension.isEmpty() && !extension.startsWith(QLatin1Char('.')))
        extension.prepend(QLatin1Char('.'));
    for (const QString& name : written) {
        if (!extension.isEmpty() && name.endsWith(extension))
            return {}; // the extension is right; the log names the cause
    }
    if (!written.isEmpty()) {
        *wrongExtension = true;
        const QString found = QFileInfo(written.constFirst()).suffix();
        return tr("The object build \"%1\" wrote %2, but no file ending in \"%3\", the object file extension on the compiler page. Set the extension to \"%4\" and press Generate again.")
            .arg(command, written.join(QLatin1String(", ")), extension, QLatin1Char('.') + found);
    }
    const QString output = QString::fromLocal8Bit(process.readAll()).trimmed();
    return tr("The object build \"%1\" wrote no file (exit status %2); check the object flag on the compiler page.%3")
        .arg(command)
        .arg(process.exitCode())
        .arg(output.isEmpty() ? QString() : QLatin1String("\n\n") + output);
}

void KestrixWizard::AppendRunFiles(const QString& instead)
{
    // Only what this run wrote: the files were removed when it started, and one that could
    // not be removed is older than the run (allowing for file times kept in whole seconds).
    const auto fromThisRun = [this](const char* name) {
        const QFileInfo info{QString::fromLatin1(name)};
        return info.isFile() && info.lastModified() >= RunStarted.addSecs(-1);
    };
    if (std::none_of(std::begin(ProbeFiles), std::end(ProbeFiles), fromThisRun)) {
        AppendParagraph(!instead.isEmpty() ? instead : tr("The run made no compile before it ended; the messages above give the reason."));
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
    } else {
        // What was entered since the last run is kept for the next start, as after a run.
        BuildReviewText();
        if (!WriteSettings()
            && !WizardDialogs::Current().Question(
                this, tr("Compiler Personality Generator"),
                tr("The settings could not be saved to %1. Close the wizard anyway? What was entered since the last run is then lost.")
                    .arg(QDir::current().absoluteFilePath(QStringLiteral("settings.txt")))))
            return;
    }
    KestrixWizardBase::reject();
}

void KestrixWizard::SaveLogBtn_clicked()
{
    WizardDialogs& dialogs = WizardDialogs::Current();
    // Offered: the personality's name and the run's start, in the folder chosen last or else
    // beside the personality.
    const QString folder = ChooserStart(LastBrowseDir.isEmpty() ? QFileInfo(RunPersonality).absolutePath() : LastBrowseDir);
    const QString suggested = QStringLiteral("%1-%2.log")
                                  .arg(QFileInfo(RunPersonality).completeBaseName(), RunStarted.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    QString fileName = dialogs.SaveFileName(this, tr("Save Log File as .."), QDir(folder).filePath(suggested),
                                            tr("Log Files (*.txt *.log)"), QStringLiteral("save log dialog"));
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QLatin1String(".txt");
    LastBrowseDir = QFileInfo(fileName).absolutePath();
    QString error;
    if (!WriteTextFileAtomically(fileName, LogHeader() + DetailsText->toPlainText() + QLatin1Char('\n'), &error))
        dialogs.Critical(this, tr("Compiler Personality Generator"),
                         tr("The log could not be saved to %1: %2").arg(fileName, error));
}

QString KestrixWizard::LogHeader() const
{
    // A log read later, or sent to someone else, must say what run it belongs to.
    return tr("Kestrix run log") + QLatin1Char('\n') + tr("Kestrix version: %1").arg(QStringLiteral(KESTRIX_VERSION))
           + QLatin1Char('\n') + tr("Started: %1").arg(RunStarted.toString(Qt::ISODate)) + QLatin1Char('\n')
           + tr("Compiler: %1").arg(RunCompiler.ExeCommand) + QLatin1Char('\n')
           + tr("Personality: %1").arg(RunPersonality) + QLatin1String("\n\n") + tr("Settings of the run:")
           + QLatin1Char('\n') + RunSummary.trimmed() + QLatin1String("\n\n") + tr("Log:") + QLatin1Char('\n');
}
