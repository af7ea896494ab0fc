// Runs from the wizard: the Kestrix built beside it where a run fails early, the fake engine for the outcomes that a
// whole run would take minutes to reach, and the export of the result with the kestrix-export built beside it.
#include "wizard/EngineOutput.h"
#include "wizard/KestrixWizard.h"
#include "tests/wizard/WizardTestSupport.h"

#include <QPushButton>
#include <QtTest>

#include <csignal>

using namespace kxwiztest;

namespace {

// Fills the pages for a gcc-like compiler as a user would, and arrives on the review page by Next.
void FillPages(KestrixWizard& wizard, const QString& compiler, const QString& dest, const QString& extension = "o")
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
    QTest::keyClicks(wizard.CmpObjExtFlagEdit, extension);
    for (int page = 1; page < 4; ++page)
        wizard.button(QWizard::NextButton)->click();
    QVERIFY(wizard.currentPage() == wizard.Page4 && wizard.button(QWizard::FinishButton)->isEnabled());
}

struct Outcome {
    const char* Name;
    QString Mode;                       // of the fake engine; "absent": none on PATH; "real": the built Kestrix
    QString Compiler, Extension;        // and its object file extension
    QString Dialog;                     // the kind of message box, if any
    QStringList LogHas;                 // in this order; %1 is the personality
    QString LogEnd;
    bool Written;                       // the personality is there and may be saved
    QString Status;
};

std::vector<Outcome> Outcomes()
{
    const QString failed = "Run failed after 0:0", gcc = QStandardPaths::findExecutable("gcc");
    return {
        // Notes of a successful run do not read as errors, nor phases with doubled blanks.
        {"success", "ok", "sh", "o", "",
         {"Note: the value of __has_include cannot be printed by a test program. Names that the preprocessor handles "
          "itself, such as __has_include, have no such value; this is no error and the run goes on.\n"
          "Conducting Keyword Tests...\n"},
         "writes its facts beside it for clang-based tools, cppcheck and as a header.", true,
         "Personality written after 0:0"},
        {"missing data", "missing", "sh", "o", "warning", {"Warning: The personality was written to %1"},
         "The messages in the log name what was missing.", true, "Personality written with missing data after 0:0"},
        {"failure", "fail", "sh", "o", "critical", {"[stderr] Kestrix: Error: cannot write %1: Permission denied"},
         "inctest.c:1: fatal error: fake.h: No such file", false, failed},
        {"signal death", "crash", "sh", "o", "critical", {"Kestrix was ended by signal " + QString::number(SIGSEGV)},
         "The run made no compile before it ended; the messages above give the reason.", false, failed},
        {"no engine", "absent", "sh", "o", "critical", {"). It is looked for in the folders of PATH"},
         "or add the folder that holds Kestrix to PATH.", false, "Kestrix could not be started"},
        // A second wizard's run holds the directory: the advice is for the wizard, not the engine's command line.
        {"directory in use", "locked", "sh", "o", "critical",
         {"[stderr] Kestrix did not start: another run is using the working directory "},
         "Kestrix failed with exit status 1.", false, failed},
        // The real engine: the failed compile as it left it (the script naming the compiler, then what the compiler
        // said), or, where the compile writes another extension, the command and what it wrote.
        {"a compiler that writes no object", "real", Fake("noobjcc"), "o", "critical",
         {"Command Attempted:", Fake("noobjcc"), "---- stderr details ----", "noobjcc: cannot write object files"}, "",
         false, failed},
        {"a wrong object file extension", "real", gcc, "obj", "critical",
         {"The object build \"" + gcc + " -c test.c\" wrote test.o, but no file ending in \".obj\"",
          "Set the extension to \".o\""},
         "", false, failed},
    };
}

QString Log(const KestrixWizard& wizard) { return wizard.DetailsText->toPlainText(); }

bool Matches(const QString& pattern, const QString& text) { return QRegularExpression(pattern).match(text).hasMatch(); }

} // namespace

class RunTest : public WizardTest {
    Q_OBJECT

private slots:
    void outputIsTakenLineByLine()
    {
        // A pipe may cut a line anywhere: only whole lines reach the log; unindented ones ending in "..." open phases.
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

    void outcomesOfARun_data()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(Outcomes().size()); ++row)
            QTest::newRow(Outcomes()[row].Name) << row;
    }

    void outcomesOfARun()
    {
        QFETCH(int, row);
        const Outcome o = Outcomes()[row];
        if (o.Compiler.isEmpty())
            QSKIP("gcc is not installed");
        FakeEngine engine(o.Mode);
        const ScopedEnv real("PATH", (o.Mode == "real" ? EngineDir() + ":" : "") + qEnvironmentVariable("PATH"));
        // An earlier run's compile must not pass for this run's.
        Deployment->Write("work/compile.sh", "gcc -c deftest.c\n");
        Deployment->Write("work/stderr.log", "deftest.c: stale\n");
        KestrixWizard wizard;
        FillPages(wizard, o.Compiler, Deployment->Path(), o.Extension);
        const ScopedEnv path("PATH", o.Mode == "absent" ? Deployment->Path("bin") : qEnvironmentVariable("PATH"));
        QVERIFY(RunToEnd(wizard));
        const QString log = Log(wizard), personality = Deployment->Path("probe.p_c");
        QCOMPARE(Dialogs->Kinds, o.Dialog.isEmpty() ? QStringList() : QStringList{o.Dialog});
        const auto withPersonality = [&](const QString& text) { return text.contains("%1") ? text.arg(personality) : text; };
        qsizetype at = 0;
        for (const QString& part : o.LogHas)
            QVERIFY2((at = log.indexOf(withPersonality(part), at)) >= 0, qPrintable(part + "\n----\n" + log));
        QVERIFY2(log.trimmed().endsWith(withPersonality(o.LogEnd)), qPrintable(log));
        QVERIFY(!log.contains("deftest.c") && !log.contains("kestrix-run"));
        if (o.Mode == "locked")
            QVERIFY(log.contains("directory " + Deployment->Work() + ", most likely from a second wizard window.")
                    && Dialogs->Texts.last().contains("from a second wizard window"));
        if (o.Mode == "real")
            QVERIFY(wizard.EngineProcess()->exitCode() == 1 && !log.contains("The run made no compile")
                    && Deployment->Read("work/settings.txt").contains("Compiler:\n" + o.Compiler + "\n\n"));
        QCOMPARE((QList<bool>{wizard.AddCompilerBtn->isEnabled(), wizard.ExportBtn->isEnabled(),
                              QFileInfo::exists(personality)}),
                 (QList<bool>{o.Written, o.Written, o.Written}));
        // However the run ended, its log can be saved and the next run started.
        QVERIFY(wizard.SaveLogBtn->isEnabled() && wizard.button(QWizard::FinishButton)->isEnabled()
                && !wizard.StopBtn->isEnabled());
        QVERIFY(wizard.RunStatusBtn->toolTip().startsWith(o.Status));
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
        const QString log = Log(wizard), dir = Deployment->Path() + "/";
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
        // Offered beside the personality under its name and the time of the run; saved with a header naming the run.
        const QString offered = Dialogs->Texts[Dialogs->Kinds.indexOf("save")], saved = Deployment->Read("run.txt");
        QVERIFY2(Matches("^" + QRegularExpression::escape(dir + "probe-") + "\\d{8}-\\d{6}\\.log$", offered),
                 qPrintable(offered));
        QVERIFY2(Matches("^Kestrix run log\nKestrix version: \\d+\\.\\d+\\.\\d+\nStarted: \\d{4}-\\d\\d-\\d\\dT[0-9:]{8}\n"
                         "Compiler: sh\nPersonality: " + QRegularExpression::escape(dir + "probe.p_c")
                             + "\n\nSettings of the run:\nProduct:\nzanth\n",
                         saved),
                 qPrintable(saved));
        QVERIFY(saved.endsWith("\nLog:\n" + log + "\n"));
        QCOMPARE(Deployment->Read("run.log"), saved);
        QVERIFY(Dialogs->Kinds.last() == "critical" && Dialogs->Texts.last().contains(Dialogs->SaveName));

        // One click writes the other tools' files beside the personality and shows each command line; files of
        // those names are replaced only on Yes.
        Deployment->Write("compile_flags.txt", "mine\n");
        Dialogs->Answers = {false, true};
        wizard.ExportBtn->click();
        QVERIFY(Dialogs->Texts.last().contains(Deployment->Path("compile_flags.txt")));
        QCOMPARE(Deployment->Read("compile_flags.txt"), QString("mine\n"));
        wizard.ExportBtn->click();
        QCOMPARE(Dialogs->Kinds.mid(Dialogs->Kinds.size() - 2), (QStringList{"question", "question"}));
        QCOMPARE(wizard.ReviewTabs->currentWidget(), wizard.ExportTab);
        const QString exported = wizard.ExportText->toPlainText();
        for (const char* file : {"compile_flags.txt", "probe.clangd", "probe.platform.xml", "probe.cfg", "probe.includes.txt", "probe.h"})
            QVERIFY2(QFileInfo::exists(Deployment->Path(file)) && exported.contains("  " + Deployment->Path(file) + "\n"), file);
        QVERIFY2(exported.contains("  clang @" + dir + "compile_flags.txt -fsyntax-only main.c\n")
                     && exported.contains("  cppcheck --platform=" + dir + "probe.platform.xml --library=" + dir
                                          + "probe.cfg --includes-file=" + dir + "probe.includes.txt main.c\n")
                     && exported.contains("  -include " + dir + "probe.h\n"),
                 qPrintable(exported));
        QVERIFY(Deployment->Read("compile_flags.txt").contains("-D__FAKE__=1"));

        // During the next run nothing of the earlier one can be saved, no second engine can start in the same
        // directory, and the run's state is in sight on every page.
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
        QTRY_VERIFY(wizard.RunStatusBtn->toolTip().startsWith("Running for 0:0")
                    && wizard.RunStatusBtn->toolTip().endsWith(": Scanning for compiler defines"));
        // A stopped run proves nothing about the compiler; Generate starts the next at once.
        wizard.StopBtn->click();
        QTRY_VERIFY(!wizard.EngineRunning());
        QVERIFY(!wizard.AddCompilerBtn->isEnabled() && !wizard.ExportBtn->isEnabled() && wizard.SaveLogBtn->isEnabled());
        wizard.RunStatusBtn->click();
        wizard.button(QWizard::FinishButton)->click();
        QVERIFY(wizard.EngineRunning());
        wizard.StopBtn->click();
        QTRY_VERIFY(!wizard.EngineRunning());
    }

    void stopEndsTheWholeRun_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<bool>("close");   // by closing the wizard, which asks first, rather than by Stop
        QTest::addColumn<bool>("earlier"); // a personality of that name was there before
        QTest::newRow("engine ignores SIGTERM") << "stubborn" << false << true;
        QTest::newRow("engine ends on SIGTERM, first run") << "slow" << false << false;
        QTest::newRow("closing the wizard") << "slow" << true << true;
    }

    void stopEndsTheWholeRun()
    {
        QFETCH(QString, mode);
        QFETCH(bool, close);
        QFETCH(bool, earlier);
        FakeEngine engine(mode);
        if (earlier)
            Deployment->Write("probe.p_c", "earlier\n");
        KestrixWizard wizard;
        wizard.StopGraceMs = 300;
        FillPages(wizard, "sh", Deployment->Path());
        // An earlier personality is replaced only on Yes, and Enter says No.
        if (earlier) {
            Dialogs->Answers = {false};
            wizard.button(QWizard::FinishButton)->click();
            QVERIFY(!wizard.EngineProcess() && Dialogs->Texts.last().contains(Deployment->Path("probe.p_c")));
            QVERIFY(Dialogs->EnterSaysYes == QList<bool>{false});
            Dialogs.emplace();
        }
        wizard.button(QWizard::FinishButton)->click();
        QTRY_VERIFY(FakeCompilePid() > 0);
        const qint64 enginePid = wizard.EngineProcess()->processId();
        if (close) {
            Dialogs->Answers = {false, false, true}; // the replacement has been answered
            QTest::keyClick(&wizard, Qt::Key_Escape);
            wizard.close();
            QVERIFY(wizard.isVisible() && wizard.EngineRunning());
            wizard.button(QWizard::CancelButton)->click();
            QCOMPARE(Dialogs->Kinds, (QStringList{"question", "question", "question", "question"}));
        } else {
            wizard.StopBtn->click();
        }
        QTRY_VERIFY_WITH_TIMEOUT(!wizard.EngineRunning(), 5000);
        QTRY_VERIFY(ProcessGone(enginePid));
        QTRY_VERIFY(ProcessGone(FakeCompilePid())); // the compile that ignored SIGTERM too
        QCOMPARE(Deployment->Read("probe.p_c"), earlier ? QString("earlier\n") : QString());
        QCOMPARE(wizard.isVisible(), !close);
        if (!close) {
            // The replacement only: the stop was asked for, so it is no failure.
            QCOMPARE(Dialogs->Kinds, earlier ? QStringList{"question"} : QStringList());
            QVERIFY(Log(wizard).contains("Scanning for compiler defines ..."));
            const QString end = earlier ? Deployment->Path("probe.p_c") + " is as it was before the run."
                                        : "There was no personality at " + Deployment->Path("probe.p_c") + " before the run, and there is none now.";
            QVERIFY2(Log(wizard).trimmed().endsWith(end), qPrintable(Log(wizard)));
            QVERIFY(wizard.RunStatusBtn->toolTip().startsWith("Run stopped after")
                    && wizard.button(QWizard::FinishButton)->isEnabled());
        }
    }
};

QTEST_MAIN(RunTest)
#include "wizard_run_test.moc"
