// Runs of the engine from the wizard: the Kestrix built beside it once to success and once
// to failure, and the fake engine for what a real compiler cannot be made to show on
// demand (a stop in the middle, a signal death, missing data).
#include "wizard/EngineOutput.h"
#include "wizard/KestrixWizard.h"
#include "tests/wizard/WizardTestSupport.h"

#include <QPushButton>
#include <QtTest>

#include <csignal>

using namespace kxwiztest;

namespace {

// Fills the pages for a gcc-like compiler as a user would, and arrives on the review page by
// Next.
void FillPages(KestrixWizard& wizard, const QString& compiler, const QString& dest)
{
    wizard.show();
    wizard.PersonDestEdit->setText(dest);
    QTest::keyClicks(wizard.PersonNameEdit, "probe");
    wizard.button(QWizard::NextButton)->click();
    QTest::keyClicks(wizard.CmpExeEdit, compiler);
    QTest::keyClicks(wizard.CmpExeFlagEdit, "-o");
    wizard.CmpExeFlagChkBox->click();
    QTest::keyClicks(wizard.CmpDefFlagEdit, "-D");
    QTest::keyClicks(wizard.CmpCmpFlagEdit, "-c");
    QTest::keyClicks(wizard.CmpObjExtFlagEdit, "o");
    for (int page = 1; page < 4; ++page)
        wizard.button(QWizard::NextButton)->click();
    QVERIFY(wizard.currentPage() == wizard.Page4 && wizard.button(QWizard::FinishButton)->isEnabled());
}

QString Log(const KestrixWizard& wizard)
{
    return wizard.DetailsText->toPlainText();
}

} // namespace

class RunTest : public WizardTest {
    Q_OBJECT

private slots:
    void outputIsTakenLineByLine()
    {
        // A pipe may cut a line anywhere; only whole lines reach the log, and only the
        // unindented ones that end in "..." open a phase.
        OutputLines lines;
        QCOMPARE(lines.Feed("Scann"), QStringList{});
        QCOMPARE(lines.Feed("ing defines ...\n  [macros] 1 of"), QStringList{"Scanning defines ..."});
        QCOMPARE(lines.Feed(" 2\n\nConducting Tests...\nlast"), (QStringList{"  [macros] 1 of 2", "", "Conducting Tests..."}));
        QCOMPARE(lines.Flush(), QString("last"));
        QCOMPARE(lines.Flush(), QString());
        QCOMPARE(PhaseOfLine("Conducting  Keyword Tests..."), QString("Conducting Keyword Tests"));
        QCOMPARE(PhaseOfLine("  [macros] batches of 4 ..."), QString());
        QCOMPARE(PhaseOfLine("Couldn't determine compiler include paths."), QString());
    }

    void realEngineRun_data()
    {
        QTest::addColumn<QString>("compiler");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("gcc") << QStandardPaths::findExecutable("gcc") << 0;
        QTest::newRow("a compiler that writes no object") << Fake("noobjcc") << 1;
    }

    void realEngineRun()
    {
        QFETCH(QString, compiler);
        QFETCH(int, exitCode);
        if (compiler.isEmpty())
            QSKIP("gcc is not installed");
        ScopedEnv path("PATH", EngineDir() + ":" + qEnvironmentVariable("PATH"));
        KestrixWizard wizard;
        FillPages(wizard, compiler, Deployment->Path());
        wizard.button(QWizard::FinishButton)->click();
        QTRY_VERIFY_WITH_TIMEOUT(!wizard.EngineRunning(), 300000);
        QCOMPARE(wizard.EngineProcess()->exitCode(), exitCode);
        QCOMPARE(wizard.AddCompilerBtn->isEnabled(), exitCode == 0);
        QVERIFY(Deployment->Read("work/settings.txt").contains("Compiler:\n" + compiler + "\n\n"));
        const QString log = Log(wizard);
        if (exitCode == 0) {
            QVERIFY(Dialogs->Kinds.isEmpty());
            QVERIFY2(log.trimmed().endsWith("It was written to " + Deployment->Path("probe.p_c") + "."), qPrintable(log));
            QVERIFY(QFileInfo::exists(Deployment->Path("probe.p_c")));
        } else {
            // The compile that failed, as the engine left it: the script naming the
            // compiler, then what the compiler said.
            QCOMPARE(Dialogs->Kinds, QStringList{"critical"});
            const qsizetype attempted = log.indexOf("Command Attempted:");
            const qsizetype err = log.indexOf("---- stderr details ----");
            QVERIFY2(attempted > 0 && log.indexOf(compiler, attempted) > attempted && err > attempted, qPrintable(log));
            QVERIFY(log.indexOf("noobjcc: cannot write object files") > err);
        }
    }

    void outcomesOfARun_data()
    {
        QTest::addColumn<QString>("mode");    // of the fake engine; "absent": none on PATH
        QTest::addColumn<QString>("dialog");  // the kind of message box, if any
        QTest::addColumn<QString>("logHas");  // %1 is the personality
        QTest::addColumn<QString>("logEnd");
        QTest::addColumn<bool>("written");    // the personality is there and may be saved
        QTest::addColumn<QString>("status");
        QTest::newRow("success") << "ok" << "" << "Scanning All Directories ..." << "It was written to %1." << true
                                 << "Personality written after 0:0";
        QTest::newRow("missing data") << "missing" << "warning" << "Warning: The personality was written to %1"
                                      << "The messages in the log name what was missing." << true
                                      << "Personality written with missing data after 0:0";
        QTest::newRow("failure") << "fail" << "critical" << "[stderr] Kestrix: Error: cannot write %1: Permission denied"
                                 << "inctest.c:1: fatal error: fake.h: No such file" << false << "Run failed after 0:0";
        QTest::newRow("signal death") << "crash" << "critical" << "Kestrix was ended by signal " + QString::number(SIGSEGV)
                                      << "The run made no compile before it ended; the messages above give the reason."
                                      << false << "Run failed after 0:0";
        QTest::newRow("no engine") << "absent" << "" << "Initialising" << "Please ensure Kestrix is set on the path."
                                   << false << "Kestrix could not be started";
    }

    void outcomesOfARun()
    {
        QFETCH(QString, mode);
        QFETCH(QString, dialog);
        QFETCH(QString, logHas);
        QFETCH(QString, logEnd);
        QFETCH(bool, written);
        QFETCH(QString, status);
        FakeEngine engine(mode);
        // An earlier run's compile must not pass for this run's.
        Deployment->Write("work/compile.sh", "gcc -c deftest.c\n");
        Deployment->Write("work/stderr.log", "deftest.c: stale\n");
        KestrixWizard wizard;
        FillPages(wizard, "sh", Deployment->Path());
        const ScopedEnv path("PATH", mode == "absent" ? Deployment->Path("bin") : qEnvironmentVariable("PATH"));
        QVERIFY(RunToEnd(wizard));
        const QString log = Log(wizard);
        const QString personality = Deployment->Path("probe.p_c");
        QCOMPARE(Dialogs->Kinds, dialog.isEmpty() ? QStringList() : QStringList{dialog});
        QVERIFY2(log.contains(logHas.arg(personality)) && log.trimmed().endsWith(logEnd.arg(personality)), qPrintable(log));
        QVERIFY(!log.contains("deftest.c"));
        QCOMPARE(wizard.AddCompilerBtn->isEnabled(), written);
        QCOMPARE(QFileInfo::exists(personality), written);
        QCOMPARE(wizard.SaveLogBtn->isEnabled(), mode != "absent");
        QVERIFY(!wizard.StopBtn->isEnabled());
        QVERIFY(wizard.RunStatusBtn->toolTip().startsWith(status));
    }

    void logAndButtonsFollowTheRun()
    {
        KestrixWizard wizard;
        FillPages(wizard, "sh", Deployment->Path());
        {
            FakeEngine engine("ok");
            wizard.P4_SrchBtn->click(); // the run ends while another page is shown
            QVERIFY(RunToEnd(wizard));
        }
        QVERIFY(wizard.RunStatusBtn->isVisible() && wizard.AddCompilerBtn->isEnabled());
        const QString log = Log(wizard);
        // Coming back shows the settings again; the log stays, and is what Save Log saves.
        wizard.P3_RevBtn->click();
        QCOMPARE(wizard.ReviewTabs->currentWidget(), wizard.SummaryTab);
        QVERIFY(wizard.SummaryText->toPlainText().startsWith("Product:\nzanth\n"));
        wizard.P4_SrchBtn->click();
        wizard.RunStatusBtn->click();
        QVERIFY(wizard.currentPage() == wizard.Page4 && wizard.ReviewTabs->currentWidget() == wizard.LogTab);
        for (const char* name : {"run", "run.log", "no/such/dir/run.log"}) {
            Dialogs->SaveName = Deployment->Path(name);
            wizard.SaveLogBtn->click();
        }
        QCOMPARE(Deployment->Read("run.txt"), log);
        QCOMPARE(Deployment->Read("run.log"), log);
        QVERIFY(Dialogs->Kinds.last() == "critical" && Dialogs->Texts.last().contains(Dialogs->SaveName));

        // During the next run nothing of the earlier one can be saved, no second engine can
        // be started in the same directory, and the run's state is in sight on every page.
        FakeEngine engine("slow");
        wizard.P4_DefBtn->click();
        wizard.button(QWizard::NextButton)->click();
        wizard.button(QWizard::FinishButton)->click();
        QVERIFY(wizard.EngineRunning() && wizard.StopBtn->isEnabled());
        QVERIFY(!wizard.SaveLogBtn->isEnabled() && !wizard.AddCompilerBtn->isEnabled());
        wizard.P4_CmpBtn->click();
        wizard.P1_RevBtn->click();
        QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
        wizard.P4_CmpBtn->click();
        QVERIFY(wizard.RunStatusBtn->isVisible());
        QTRY_VERIFY(wizard.RunStatusBtn->toolTip().startsWith("Running for 0:0"));
        QTRY_VERIFY(wizard.RunStatusBtn->toolTip().endsWith(": Scanning for compiler defines"));
        // A stopped run proves nothing about the compiler.
        wizard.StopBtn->click();
        QTRY_VERIFY(!wizard.EngineRunning());
        QVERIFY(!wizard.AddCompilerBtn->isEnabled() && wizard.SaveLogBtn->isEnabled());
    }

    void stopEndsTheWholeRun_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("close"); // by closing the wizard, which asks first, rather than by Stop
        QTest::newRow("engine ends on SIGTERM") << "slow" << false;
        QTest::newRow("engine ignores SIGTERM") << "stubborn" << false;
        QTest::newRow("closing the wizard") << "slow" << true;
    }

    void stopEndsTheWholeRun()
    {
        QFETCH(QString, mode);
        QFETCH(bool, close);
        FakeEngine engine(mode);
        Deployment->Write("probe.p_c", "earlier\n");
        KestrixWizard wizard;
        wizard.StopGraceMs = 300;
        FillPages(wizard, "sh", Deployment->Path());
        wizard.button(QWizard::FinishButton)->click();
        QTRY_VERIFY(FakeCompilePid() > 0);
        const qint64 enginePid = wizard.EngineProcess()->processId();
        if (close) {
            Dialogs->Answers = {false, false, true};
            QTest::keyClick(&wizard, Qt::Key_Escape);
            wizard.close();
            QVERIFY(wizard.isVisible() && wizard.EngineRunning());
            wizard.button(QWizard::CancelButton)->click();
            QCOMPARE(Dialogs->Kinds, (QStringList{"question", "question", "question"}));
        } else {
            wizard.StopBtn->click();
        }
        QTRY_VERIFY_WITH_TIMEOUT(!wizard.EngineRunning(), 5000);
        QTRY_VERIFY(ProcessGone(enginePid));
        QTRY_VERIFY(ProcessGone(FakeCompilePid())); // the compile that ignored SIGTERM too
        QCOMPARE(Deployment->Read("probe.p_c"), QString("earlier\n"));
        QCOMPARE(wizard.isVisible(), !close);
        if (!close) {
            QVERIFY(Dialogs->Kinds.isEmpty()); // asked for, so no failure
            QVERIFY(Log(wizard).contains("Scanning for compiler defines ..."));
            QVERIFY2(Log(wizard).trimmed().endsWith("is as it was before the run."), qPrintable(Log(wizard)));
            QVERIFY(wizard.RunStatusBtn->toolTip().startsWith("Run stopped after"));
        }
    }
};

QTEST_MAIN(RunTest)
#include "wizard_run_test.moc"
