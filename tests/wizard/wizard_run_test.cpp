// Runs of the engine from the wizard: against the Kestrix built beside it, and against the
// fake engine for the outcomes a real compiler cannot be made to show on demand (a stop in
// the middle, a signal death, missing data).
#include "Compiler.h"
#include "EngineOutput.h"
#include "KestrixWizard.h"
#include "SaveCompilerDetails.h"
#include "SubPopupMenu.h"
#include "WizardTestSupport.h"

#include <QAction>
#include <QPushButton>
#include <QtTest>

#include <csignal>

using namespace kxwiztest;

namespace {

QString EnginePath()
{
    return EngineDir() + ":" + qEnvironmentVariable("PATH");
}

// Fills the pages for a gcc-like compiler the way a user would and arrives on the review
// page by Next.
void FillPages(KestrixWizard& wizard, const QString& compiler, const QString& dest)
{
    wizard.show();
    wizard.PersonDestEdit->setText(dest);
    QTest::keyClicks(wizard.PersonNameEdit, "probe");
    wizard.button(QWizard::NextButton)->click();
    QCOMPARE(wizard.currentPage(), wizard.Page1);
    QTest::keyClicks(wizard.CmpExeEdit, compiler);
    QTest::keyClicks(wizard.CmpExeFlagEdit, "-o");
    wizard.CmpExeFlagChkBox->click();
    QTest::keyClicks(wizard.CmpDefFlagEdit, "-D");
    QTest::keyClicks(wizard.CmpCmpFlagEdit, "-c");
    QTest::keyClicks(wizard.CmpObjExtFlagEdit, "o");
    wizard.button(QWizard::NextButton)->click();
    QCOMPARE(wizard.currentPage(), wizard.Page2);
    wizard.button(QWizard::NextButton)->click();
    QCOMPARE(wizard.currentPage(), wizard.Page3);
    wizard.CmpDefEdit->setPlainText("KX_WIZARD_TEST=1");
    wizard.button(QWizard::NextButton)->click();
    QCOMPARE(wizard.currentPage(), wizard.Page4);
    QVERIFY(wizard.button(QWizard::FinishButton)->isEnabled());
}

#define REQUIRE_GCC()                                                \
    if (QStandardPaths::findExecutable("gcc").isEmpty())             \
        QSKIP("gcc is not installed")

QString Log(const KestrixWizard& wizard)
{
    return wizard.DetailsText->toPlainText();
}

} // namespace

class RunTest : public QObject {
    Q_OBJECT

private slots:
    void outputIsTakenLineByLine()
    {
        // A pipe may cut a line anywhere; only whole lines reach the log, and only the
        // unindented ones that end in "..." open a phase.
        OutputLines lines;
        QCOMPARE(lines.Feed("Scann"), QStringList{});
        QCOMPARE(lines.Feed("ing for compiler defines ...\n  [macros] 1 of"), QStringList{"Scanning for compiler defines ..."});
        QCOMPARE(lines.Feed(" 2\n\nConducting Tests...\nlast"), (QStringList{"  [macros] 1 of 2", "", "Conducting Tests..."}));
        QCOMPARE(lines.Flush(), QString("last"));
        QCOMPARE(lines.Flush(), QString());
        QCOMPARE(PhaseOfLine("Scanning for compiler defines ..."), QString("Scanning for compiler defines"));
        QCOMPARE(PhaseOfLine("Conducting  Keyword Tests..."), QString("Conducting Keyword Tests"));
        QCOMPARE(PhaseOfLine("  [macros] batches of 4 ..."), QString());
        QCOMPARE(PhaseOfLine("Couldn't determine compiler include paths."), QString());
    }

    void realEngineRunStreamsLogAndSavesSettings()
    {
        REQUIRE_GCC();
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        ScopedPath path(EnginePath());
        KestrixWizard wizard;
        const QString gcc = QStandardPaths::findExecutable("gcc");
        FillPages(wizard, gcc, deployment.Root());

        // What the log held each time output arrived while the engine was still running.
        QStringList snapshots;
        wizard.button(QWizard::FinishButton)->click();
        QVERIFY(wizard.EngineProcess());
        QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
        connect(wizard.EngineProcess(), &QProcess::readyReadStandardOutput, this, [&] {
            if (wizard.EngineRunning())
                snapshots.append(Log(wizard));
        });
        QTRY_VERIFY_WITH_TIMEOUT(!wizard.EngineRunning(), 300000);
        QCOMPARE(wizard.EngineProcess()->exitCode(), 0);

        const QString log = Log(wizard);
        QVERIFY(log.startsWith("Initialising Compiler Personality Generation ...\n"));
        QVERIFY(!snapshots.isEmpty());
        QVERIFY(snapshots.first().contains("Scanning")); // output was shown before the engine ended
        QVERIFY(snapshots.first().size() < log.size());
        const QString personality = deployment.Path("probe.p_c");
        QVERIFY2(log.trimmed().endsWith("Personality Generated Successfully! It was written to " + personality + "."),
                 qPrintable(log));
        QVERIFY(QFileInfo::exists(personality));
        QCOMPARE(wizard.button(QWizard::CancelButton)->text(), QString("Close"));
        QVERIFY(wizard.SaveLogBtn->isEnabled());
        QVERIFY(wizard.AddCompilerBtn->isEnabled());
        QVERIFY(!wizard.StopBtn->isEnabled());
        QVERIFY(dialogs.Messages.isEmpty());

        const QString settings = deployment.Read("work/settings.txt");
        QVERIFY(settings.startsWith("Product:\nzanth\n\n"));
        QVERIFY(settings.contains("Compiler:\n" + gcc + "\n\n"));
        QVERIFY(settings.contains("Compiler Defines:\nKX_WIZARD_TEST=1\n"));
        QVERIFY(settings.contains("Exe Trailing Space:\nyes\n"));
    }

    void realEngineFailureShowsItsCompile()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        ScopedPath path(EnginePath());
        KestrixWizard wizard;
        FillPages(wizard, Fake("noobjcc"), deployment.Root());
        wizard.button(QWizard::FinishButton)->click();
        QTRY_VERIFY_WITH_TIMEOUT(!wizard.EngineRunning(), 300000);
        QCOMPARE(wizard.EngineProcess()->exitCode(), 1);

        QCOMPARE(dialogs.Kinds(), QStringList{"critical"});
        QCOMPARE(dialogs.Messages[0].Text, QString("Personality Generation Failed!\nPlease check the details on screen and try again."));
        const QString log = Log(wizard);
        const qsizetype attempted = log.indexOf("Command Attempted:");
        const qsizetype out = log.indexOf("---- stdout details ----");
        const qsizetype err = log.indexOf("---- stderr details ----");
        QVERIFY2(attempted > 0 && out > attempted && err > out, qPrintable(log));
        QVERIFY(log.indexOf(Fake("noobjcc")) > attempted); // the compile script names the compiler
        QVERIFY(log.indexOf("noobjcc: cannot write object files") > err);
        QVERIFY(!wizard.AddCompilerBtn->isEnabled());
        QVERIFY(wizard.SaveLogBtn->isEnabled());
        QCOMPARE(wizard.button(QWizard::CancelButton)->text(), QString("Cancel"));
        QVERIFY(QFileInfo::exists(deployment.Path("work/settings.txt")));
    }

    void outcomesOfARun_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("dialog");     // the kind of message box, if any
        QTest::addColumn<QString>("logEnd");     // what the log ends with
        QTest::addColumn<bool>("saveCompiler");  // whether the compiler may be saved afterwards
        QTest::addColumn<QString>("status");
        QTest::newRow("success") << "ok" << "" << "It was written to %1." << true << "Personality written";
        QTest::newRow("missing data") << "missing" << "warning" << "The messages in the log name what was missing." << true
                                      << "Personality written with missing data";
        QTest::newRow("failure") << "fail" << "critical" << "inctest.c:1: fatal error: fake.h: No such file" << false
                                 << "Run failed";
        QTest::newRow("signal death") << "crash" << "critical"
                                      << "The run made no compile before it ended; the messages above give the reason."
                                      << false << "Run failed";
    }

    void outcomesOfARun()
    {
        QFETCH(QString, mode);
        QFETCH(QString, dialog);
        QFETCH(QString, logEnd);
        QFETCH(bool, saveCompiler);
        QFETCH(QString, status);
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        FakeEngine engine(mode);
        KestrixWizard wizard;
        FillPages(wizard, "sh", deployment.Root());
        QVERIFY(RunToEnd(wizard));
        const QString personality = deployment.Path("probe.p_c");
        QCOMPARE(dialogs.Kinds(), dialog.isEmpty() ? QStringList() : QStringList{dialog});
        QVERIFY2(Log(wizard).trimmed().endsWith(logEnd.arg(personality)), qPrintable(Log(wizard)));
        QCOMPARE(wizard.AddCompilerBtn->isEnabled(), saveCompiler);
        QCOMPARE(QFileInfo::exists(personality), saveCompiler);
        QVERIFY(wizard.SaveLogBtn->isEnabled());
        QVERIFY(wizard.RunStatusBtn->toolTip().startsWith(status));
        if (mode == "fail") // the engine's own reason, marked as standard error
            QVERIFY(Log(wizard).contains("[stderr] Kestrix: Error: cannot write " + personality + ": Permission denied"));
        if (mode == "crash")
            QVERIFY(Log(wizard).contains("Kestrix was ended by signal " + QString::number(SIGSEGV)));
    }

    void failureShowsOnlyWhatThisRunProduced()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        FakeEngine engine("early");
        deployment.Write("work/compile.sh", "gcc -c deftest.c\n");
        deployment.Write("work/stderr.log", "deftest.c: stale\n");
        KestrixWizard wizard;
        FillPages(wizard, "sh", deployment.Root());
        QVERIFY(RunToEnd(wizard));
        const QString log = Log(wizard);
        QVERIFY(!log.contains("deftest.c"));
        QVERIFY(log.contains("[stderr] Kestrix: Error: bad personality name: " + deployment.Path("probe.p_c")));
        QVERIFY(log.contains("The run made no compile before it ended"));
        QVERIFY(!QFileInfo::exists(deployment.Path("work/compile.sh")));
    }

    void buttonsFollowTheRun()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        KestrixWizard wizard;
        FillPages(wizard, "sh", deployment.Root());
        {
            FakeEngine engine("ok");
            QVERIFY(RunToEnd(wizard));
            QVERIFY(wizard.AddCompilerBtn->isEnabled());
        }
        // During the next run nothing of the earlier one can be saved, and after its failure
        // the compiler still cannot be.
        FakeEngine engine("slow");
        wizard.P4_DefBtn->click();
        wizard.button(QWizard::NextButton)->click();
        wizard.button(QWizard::FinishButton)->click();
        QVERIFY(wizard.EngineRunning());
        QVERIFY(!wizard.SaveLogBtn->isEnabled());
        QVERIFY(!wizard.AddCompilerBtn->isEnabled());
        QVERIFY(wizard.StopBtn->isEnabled());
        QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
        // The review buttons must not start a second engine in the same directory; the
        // run's state stays in sight on every page.
        wizard.P4_CmpBtn->click();
        QVERIFY(wizard.RunStatusBtn->text().startsWith("Running for"));
        wizard.P1_RevBtn->click();
        QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
        QTRY_VERIFY(wizard.RunStatusBtn->isVisible());
        QTRY_VERIFY(wizard.RunStatusBtn->toolTip().contains("Running for 0:0"));
        QTRY_VERIFY(wizard.RunStatusBtn->toolTip().endsWith(": Scanning for compiler defines"));
        wizard.StopBtn->click();
        QTRY_VERIFY(!wizard.EngineRunning());
        QVERIFY(!wizard.AddCompilerBtn->isEnabled());
        QVERIFY(wizard.SaveLogBtn->isEnabled());
    }

    void stopEndsTheWholeRunAndKeepsTheWizard_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("engine ends on SIGTERM") << "slow";
        QTest::newRow("engine ignores SIGTERM") << "stubborn";
    }

    void stopEndsTheWholeRunAndKeepsTheWizard()
    {
        QFETCH(QString, mode);
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        FakeEngine engine(mode);
        deployment.Write("probe.p_c", "earlier\n");
        KestrixWizard wizard;
        wizard.StopGraceMs = 300;
        FillPages(wizard, "sh", deployment.Root());
        wizard.button(QWizard::FinishButton)->click();
        QTRY_VERIFY(engine.ChildPid() > 0);
        const qint64 enginePid = wizard.EngineProcess()->processId();
        wizard.StopBtn->click();
        QTRY_VERIFY_WITH_TIMEOUT(!wizard.EngineRunning(), 5000);
        QTRY_VERIFY(ProcessGone(enginePid));
        QTRY_VERIFY(ProcessGone(engine.ChildPid())); // the compile that ignored SIGTERM too
        QVERIFY(wizard.isVisible());
        QVERIFY(dialogs.Messages.isEmpty()); // asked for, so no failure
        const QString log = Log(wizard);
        QVERIFY(log.contains("Scanning for compiler defines ..."));
        QVERIFY2(log.trimmed().endsWith("is as it was before the run."), qPrintable(log));
        QCOMPARE(deployment.Read("probe.p_c"), QString("earlier\n"));
        QVERIFY(wizard.RunStatusBtn->toolTip().startsWith("Run stopped after"));
    }

    void closingDuringARunAsksFirst()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        FakeEngine engine("slow");
        KestrixWizard wizard;
        wizard.StopGraceMs = 300;
        FillPages(wizard, "sh", deployment.Root());
        wizard.button(QWizard::FinishButton)->click();
        QTRY_VERIFY(engine.ChildPid() > 0);

        dialogs.Answers = {false, false, true};
        QTest::keyClick(&wizard, Qt::Key_Escape);
        wizard.close();
        QCOMPARE(dialogs.Kinds(), (QStringList{"question", "question"}));
        QVERIFY(dialogs.Messages[0].Text.startsWith("A personality is being generated. Stop the run and close the wizard?"));
        QVERIFY(wizard.isVisible());
        QVERIFY(wizard.EngineRunning());

        wizard.button(QWizard::CancelButton)->click();
        QVERIFY(!wizard.isVisible());
        QCOMPARE(wizard.result(), int(QDialog::Rejected));
        QVERIFY(!wizard.EngineRunning());
        QTRY_VERIFY(ProcessGone(engine.ChildPid()));
    }

    void logIsKeptApartFromTheSummary()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        FakeEngine engine("ok");
        KestrixWizard wizard;
        FillPages(wizard, "sh", deployment.Root());
        wizard.P4_SrchBtn->click(); // the run ends while another page is shown
        QVERIFY(RunToEnd(wizard));
        QVERIFY(wizard.RunStatusBtn->isVisible());
        QVERIFY(wizard.RunStatusBtn->toolTip().startsWith("Personality written after 0:0"));
        const QString log = Log(wizard);

        // Coming back shows the settings again; the log stays, and is what Save Log saves.
        wizard.P3_RevBtn->click();
        QCOMPARE(wizard.ReviewTabs->currentWidget(), wizard.SummaryTab);
        QVERIFY(wizard.SummaryText->toPlainText().startsWith("Product:\nzanth\n"));
        QCOMPARE(Log(wizard), log);
        wizard.RunStatusBtn->click();
        QCOMPARE(wizard.ReviewTabs->currentWidget(), wizard.LogTab);

        dialogs.SaveName = deployment.Path("home/run");
        wizard.SaveLogBtn->click();
        QCOMPARE(deployment.Read("home/run.txt"), log);
        QCOMPARE(dialogs.Messages.last().Text, QString("Log Files (*.txt *.log)"));
        dialogs.SaveName = deployment.Path("home/run.log");
        wizard.SaveLogBtn->click();
        QCOMPARE(deployment.Read("home/run.log"), log);
        dialogs.SaveName = deployment.Path("no/such/dir/run.log");
        wizard.SaveLogBtn->click();
        QCOMPARE(dialogs.Kinds().last(), QString("critical"));
        QVERIFY(dialogs.Messages.last().Text.contains(dialogs.SaveName));
    }

    void engineNotOnPath()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        KestrixWizard wizard;
        FillPages(wizard, "sh", deployment.Root());
        ScopedPath path(deployment.Path("empty-bin"));
        wizard.button(QWizard::FinishButton)->click();
        QTRY_VERIFY(Log(wizard).contains(
            "Compiler Personality Generation could not be executed: Please ensure Kestrix is set on the path."));
        QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
        QVERIFY(!wizard.SaveLogBtn->isEnabled());
        QVERIFY(!wizard.StopBtn->isEnabled());
        QVERIFY(dialogs.Messages.isEmpty());
        // Back to the review page offers Generate again.
        wizard.P4_DefBtn->click();
        wizard.button(QWizard::NextButton)->click();
        QVERIFY(wizard.button(QWizard::FinishButton)->isEnabled());
    }

    void savedCompilerIsTheOneThatRan()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        FakeEngine engine("ok");
        deployment.Write("work/compilers.txt", "<CompilerFamily>Host</CompilerFamily>\n");
        KestrixWizard wizard;
        FillPages(wizard, "sh", deployment.Root());
        wizard.CmpOrderListBox->setCurrentRow(3);
        wizard.CmdOrderUpBtn->click();
        wizard.CmpSwtchEdit->setPlainText("-O1\n");
        wizard.ReduceFileSizeCheckBox->setChecked(true);
        wizard.CmpHdrDirListBox->addItem(deployment.Root());
        wizard.TemplateStr = "tpl.p_c";
        QVERIFY(RunToEnd(wizard));
        const auto snapshot = [](const KestrixWizard& w) {
            return QStringList{w.CmpExeEdit->text(), w.CmpExeFlagEdit->text(), w.CmpDefFlagEdit->text(),
                               w.CmpCmpFlagEdit->text(), w.CmpObjExtFlagEdit->text(),
                               w.CmpExeFlagChkBox->isChecked() ? "exe-space" : "-",
                               w.CmpDefFlagChkBox->isChecked() ? "def-space" : "-",
                               w.ReduceFileSizeCheckBox->isChecked() ? "rfs" : "-",
                               w.CrossCmpCheckBox->isChecked() ? "cross" : "-",
                               w.getCmdOrderStr(), w.CmpCmdOrder->text(), w.TemplateStr,
                               w.CmpSwtchEdit->toPlainText(), w.CmpDefEdit->toPlainText()}
                   + QStringList{w.MissingDirectories().join(",") + "|" + QString::number(w.CmpHdrDirListBox->count())};
        };
        QStringList ran = snapshot(wizard);
        ran[12] = "-O1"; // stored as the engine's comma-separated value

        // What is typed after the run is not what the run proved.
        wizard.CmpExeEdit->setText("sh -x");
        dialogs.Modal = [](QDialog& dialog) {
            auto& save = static_cast<SaveCompilerDetails&>(dialog);
            save.NewSaveRadioButton->click();
            save.NewCmpFamComboBox->setCurrentIndex(1);
            save.NewCmpFamComboBox_selected(1);
            QTest::keyClicks(save.NewCmpNameEdit, "slow");
            save.CRadioButton->setChecked(true);
            save.accept();
        };
        wizard.AddCompilerBtn->click();
        QCOMPARE(wizard.SubMenus.size(), 1);
        QCOMPARE(wizard.SubMenus[0]->ItemText(0), QString("slow - C"));

        // Another entry in between, then the saved one again from a fresh wizard's menus.
        KestrixWizard again;
        again.CmpExeEdit->setText("something else");
        again.CmpExeFlagChkBox->setChecked(false);
        again.CmpHdrDirListBox->addItem("/elsewhere");
        again.SubMenus[0]->actions()[0]->trigger();
        QCOMPARE(snapshot(again), ran);
        QCOMPARE(again.CmpHdrDirListBox->item(0)->text(), deployment.Root());
        QCOMPARE(again.SelectedName, QString("slow - C"));
        QVERIFY(again.CompilerPageComplete);
    }
};

QTEST_MAIN(RunTest)
#include "wizard_run_test.moc"
