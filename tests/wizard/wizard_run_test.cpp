// End to end: the wizard runs the Kestrix built beside it, in a scratch deployment, and
// reports what happened; settings and catalogue survive a restart.
#include "Compiler.h"
#include "KestrixWizard.h"
#include "SaveCompilerDetails.h"
#include "SubPopupMenu.h"
#include "WizardTestSupport.h"

#include <QAction>
#include <QtTest>

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

// The fake compilers hand their work to the host gcc.
#define REQUIRE_GCC()                                                \
    if (QStandardPaths::findExecutable("gcc").isEmpty())             \
        QSKIP("gcc is not installed; the fake compilers wrap it")

bool Finished(const KestrixWizard& wizard)
{
    return wizard.EngineProcess() && wizard.EngineProcess()->state() == QProcess::NotRunning;
}

} // namespace

class RunTest : public QObject {
    Q_OBJECT

private slots:
    void successfulRunStreamsLogAndSavesSettings()
    {
        REQUIRE_GCC();
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        ScopedPath path(EnginePath());
        KestrixWizard wizard;
        FillPages(wizard, Fake("slowcc"), deployment.Root());

        // What the log held each time output arrived while the engine was still running.
        QStringList snapshots;
        wizard.button(QWizard::FinishButton)->click();
        QVERIFY(wizard.EngineProcess());
        QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
        connect(wizard.EngineProcess(), &QProcess::readyReadStandardOutput, this, [&] {
            if (wizard.EngineProcess()->state() != QProcess::NotRunning)
                snapshots.append(wizard.DetailsText->toPlainText());
        });
        QTRY_VERIFY_WITH_TIMEOUT(Finished(wizard), 300000);
        QCOMPARE(wizard.EngineProcess()->exitCode(), 0);

        const QString log = wizard.DetailsText->toPlainText();
        QVERIFY(log.startsWith("Initialising Compiler Personality Generation ...\n"));
        QVERIFY(log.contains("Scanning"));
        QVERIFY2(log.trimmed().endsWith("Personality Generated Successfully!"), qPrintable(log));
        QVERIFY(!snapshots.isEmpty());
        QVERIFY(snapshots.first().contains("Scanning")); // output was shown before the engine ended
        QVERIFY(snapshots.first().size() < log.size());
        QCOMPARE(wizard.button(QWizard::CancelButton)->text(), QString("Close"));
        QVERIFY(wizard.SaveLogBtn->isEnabled());
        QVERIFY(wizard.AddCompilerBtn->isEnabled());
        QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
        QVERIFY(dialogs.Messages.isEmpty());
        QVERIFY(QFileInfo::exists(deployment.Path("probe.p_c")));

        const QString settings = deployment.Read("work/settings.txt");
        QVERIFY(settings.startsWith("Product:\nzanth\n\n"));
        QVERIFY(settings.contains("Compiler:\n" + Fake("slowcc") + "\n\n"));
        QVERIFY(settings.contains("Compiler Defines:\nKX_WIZARD_TEST=1\n"));
        QVERIFY(settings.contains("Exe Trailing Space:\nyes\n"));

        // The log can be saved as shown.
        dialogs.SaveName = deployment.Path("run.log");
        wizard.SaveLogBtn->click();
        QCOMPARE(deployment.Read("run.log"), log);
        dialogs.SaveName = deployment.Path("no/such/dir/run.log");
        wizard.SaveLogBtn->click();
        QCOMPARE(dialogs.Kinds().last(), QString("critical"));
        QVERIFY(dialogs.Messages.last().Text.contains(dialogs.SaveName));
    }

    void failingCompilerShowsTheEngineFiles()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        ScopedPath path(EnginePath());
        KestrixWizard wizard;
        FillPages(wizard, Fake("noobjcc"), deployment.Root());
        wizard.button(QWizard::FinishButton)->click();
        QTRY_VERIFY_WITH_TIMEOUT(Finished(wizard), 300000);
        QCOMPARE(wizard.EngineProcess()->exitCode(), 1);

        QCOMPARE(dialogs.Kinds(), QStringList{"information"});
        QCOMPARE(dialogs.Messages[0].Text, QString("Personality Generation Failed!\nPlease check the details on screen and try again."));
        const QString log = wizard.DetailsText->toPlainText();
        const qsizetype attempted = log.indexOf("Command Attempted:");
        const qsizetype out = log.indexOf("---- stdout details ----");
        const qsizetype err = log.indexOf("---- stderr details ----");
        QVERIFY2(attempted > 0 && out > attempted && err > out, qPrintable(log));
        QVERIFY(log.indexOf(Fake("noobjcc")) > attempted); // the compile script names the compiler
        QVERIFY(log.indexOf("noobjcc: cannot write object files") > err);
        QVERIFY(log.contains("Can't discover object file extension"));
        QVERIFY(!wizard.AddCompilerBtn->isEnabled());
        QVERIFY(wizard.SaveLogBtn->isEnabled());
        QCOMPARE(wizard.button(QWizard::CancelButton)->text(), QString("Cancel"));
        QVERIFY(QFileInfo::exists(deployment.Path("work/settings.txt")));
    }

    void engineNotOnPath()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        const QString gcc = QStandardPaths::findExecutable("gcc");
        if (gcc.isEmpty())
            QSKIP("gcc is not installed");
        KestrixWizard wizard;
        FillPages(wizard, gcc, deployment.Root());
        ScopedPath path(deployment.Path("empty-bin"));
        wizard.button(QWizard::FinishButton)->click();
        QTRY_VERIFY(wizard.DetailsText->toPlainText().contains(
            "Compiler Personality Generation could not be executed: Please ensure Kestrix is set on the path."));
        QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
        QVERIFY(!wizard.SaveLogBtn->isEnabled());
        QVERIFY(dialogs.Messages.isEmpty());
        // Back to the review page offers Finish again.
        wizard.P4_DefBtn->click();
        wizard.button(QWizard::NextButton)->click();
        QVERIFY(wizard.button(QWizard::FinishButton)->isEnabled());
    }

    void cancelDuringRunStopsTheEngine()
    {
        REQUIRE_GCC();
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        ScopedPath path(EnginePath());
        KestrixWizard wizard;
        FillPages(wizard, Fake("slowcc"), deployment.Root());
        wizard.button(QWizard::FinishButton)->click();
        QTRY_VERIFY(wizard.EngineProcess()->state() == QProcess::Running);
        // The review buttons must not start a second engine in the same directory.
        wizard.P4_CmpBtn->click();
        wizard.P1_RevBtn->click();
        QVERIFY(!wizard.button(QWizard::FinishButton)->isEnabled());
        wizard.button(QWizard::CancelButton)->click();
        QCOMPARE(wizard.EngineProcess()->state(), QProcess::NotRunning);
        QCOMPARE(wizard.result(), int(QDialog::Rejected));
    }

    void savedCompilerComesBackFromTheMenus()
    {
        REQUIRE_GCC();
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        ScopedPath path(EnginePath());
        deployment.Write("work/compilers.txt", "<CompilerFamily>Host</CompilerFamily>\n");
        KestrixWizard wizard;
        FillPages(wizard, Fake("slowcc"), deployment.Root());
        wizard.CmpOrderListBox->setCurrentRow(3);
        wizard.CmdOrderUpBtn->click();
        wizard.CmpSwtchEdit->setPlainText("-O1");
        wizard.ReduceFileSizeCheckBox->setChecked(true);
        wizard.TemplateStr = "tpl.p_c";
        wizard.button(QWizard::FinishButton)->setEnabled(true);
        wizard.AddCompilerBtn->setEnabled(true);

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

        const QString order = wizard.getCmdOrderStr();
        QStringList fields;
        const auto snapshot = [&] {
            return QStringList{wizard.CmpExeEdit->text(), wizard.CmpExeFlagEdit->text(), wizard.CmpDefFlagEdit->text(),
                               wizard.CmpCmpFlagEdit->text(), wizard.CmpObjExtFlagEdit->text(),
                               wizard.CmpExeFlagChkBox->isChecked() ? "exe-space" : "-",
                               wizard.CmpDefFlagChkBox->isChecked() ? "def-space" : "-",
                               wizard.ReduceFileSizeCheckBox->isChecked() ? "rfs" : "-",
                               wizard.CrossCmpCheckBox->isChecked() ? "cross" : "-",
                               wizard.getCmdOrderStr(), wizard.CmpCmdOrder->text(), wizard.TemplateStr};
        };
        fields = snapshot();

        // Another entry in between, then the saved one again from a fresh wizard's menus.
        KestrixWizard again;
        again.CmpExeEdit->setText("something else");
        again.CmpExeFlagChkBox->setChecked(false);
        again.SubMenus[0]->actions()[0]->trigger();
        const QStringList restored = {again.CmpExeEdit->text(), again.CmpExeFlagEdit->text(), again.CmpDefFlagEdit->text(),
                                      again.CmpCmpFlagEdit->text(), again.CmpObjExtFlagEdit->text(),
                                      again.CmpExeFlagChkBox->isChecked() ? "exe-space" : "-",
                                      again.CmpDefFlagChkBox->isChecked() ? "def-space" : "-",
                                      again.ReduceFileSizeCheckBox->isChecked() ? "rfs" : "-",
                                      again.CrossCmpCheckBox->isChecked() ? "cross" : "-",
                                      again.getCmdOrderStr(), again.CmpCmdOrder->text(), again.TemplateStr};
        QCOMPARE(restored, fields);
        QCOMPARE(again.CmpSwtchEdit->toPlainText(), QString("-O1"));
        QCOMPARE(again.CmpDefEdit->toPlainText(), QString("KX_WIZARD_TEST=1"));
        QCOMPARE(again.SelectedName, QString("slow - C"));
        QVERIFY(again.CommandValid);
        QCOMPARE(order, QString("%c %o %d%e %j %s "));
    }
};

QTEST_MAIN(RunTest)
#include "wizard_run_test.moc"
