// The pages: their checks, the command preview, the order and directory lists, the product
// switch, the compiler-command check, the engine's argument vector and settings.txt.
#include "KestrixWizard.h"
#include "SaveCompilerDetails.h"
#include "WizardTestSupport.h"

#include <QTranslator>
#include <QtTest>

using namespace kxwiztest;

namespace {

QStringList OrderKeys(const KestrixWizard& wizard)
{
    QStringList keys;
    for (int i = 0; i < wizard.CmpOrderListBox->count(); ++i)
        keys.append(wizard.CmpOrderListBox->item(i)->data(Qt::UserRole).toString());
    return keys;
}

QColor TextColour(const QWidget* w)
{
    return w->palette().color(QPalette::Text);
}

QString MakeProgram(const QString& path, bool executable = true)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("#!/bin/sh\n");
    file.close();
    file.setPermissions(executable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                   : QFile::ReadOwner | QFile::WriteOwner);
    return path;
}

} // namespace

class PagesTest : public QObject {
    Q_OBJECT

private slots:
    void page0NeedsExistingDestinationAndFileName()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        KestrixWizard wizard;
        // The first start offers the home directory, and nothing is red.
        QCOMPARE(wizard.PersonDestEdit->text(), deployment.Path("home"));
        QCOMPARE(TextColour(wizard.PersonDestEdit), QColor(0, 0, 0));
        QVERIFY(wizard.DestErrorLabel->text().isEmpty());
        QVERIFY(!wizard.nextEnabled(wizard.Page0));
        wizard.PersonDestEdit->clear();
        QCOMPARE(TextColour(wizard.PersonDestEdit), QColor(0, 0, 0));
        QVERIFY(wizard.DestErrorLabel->text().isEmpty());

        wizard.PersonDestEdit->setText(deployment.Path("nowhere"));
        QCOMPARE(TextColour(wizard.PersonDestEdit), QColor(255, 0, 0));
        QCOMPARE(wizard.DestErrorLabel->text(), QString("Destination folder does not exist please select a different folder."));
        wizard.PersonDestEdit->setText(deployment.Root());
        QCOMPARE(TextColour(wizard.PersonDestEdit), QColor(0, 0, 0));
        QVERIFY(wizard.DestErrorLabel->text().isEmpty());
        QCOMPARE(wizard.PersonDestEdit->toolTip(), QString("Destination folder for the Personality."));
        QVERIFY(!wizard.nextEnabled(wizard.Page0));
        QTest::keyClick(wizard.PersonNameEdit, Qt::Key_P);
        QVERIFY(wizard.nextEnabled(wizard.Page0));

        // A name is a file name: "/" is refused with a message.
        QTest::keyClicks(wizard.PersonNameEdit, "/q");
        QVERIFY(!wizard.nextEnabled(wizard.Page0));
        QVERIFY(wizard.DestErrorLabel->text().contains("cannot contain \"/\""));
        QCOMPARE(TextColour(wizard.PersonNameEdit), QColor(255, 0, 0));
        wizard.PersonNameEdit->setText("p");

        // "~" and relative folders are the home directory's.
        QDir(deployment.Path("home")).mkpath("out");
        for (const QString& typed : {QString("~/out"), QString("out"), QString("~")}) {
            wizard.PersonDestEdit->setText(typed);
            QVERIFY2(wizard.nextEnabled(wizard.Page0), qPrintable(typed));
        }
        QCOMPARE(wizard.PersonalityPath(), deployment.Path("home") + "/p.p_c");
        wizard.PersonDestEdit->setText("~/out");
        QCOMPARE(wizard.PersonalityPath(), deployment.Path("home/out/p.p_c"));
        QCOMPARE(wizard.EngineArguments().mid(wizard.EngineArguments().indexOf("-op"), 2),
                 (QStringList{"-op", deployment.Path("home/out/p.p_c")}));

        // Choosers open where the user works, never in the hidden working directory.
        dialogs.Directories = {deployment.Root(), ""};
        wizard.PersonDestBrowseBtn->click();
        QCOMPARE(wizard.PersonDestEdit->text(), deployment.Root());
        QCOMPARE(dialogs.Messages[0].Text, deployment.Path("home/out"));
        wizard.PersonDestBrowseBtn->click(); // cancelled: nothing changes
        QCOMPARE(wizard.PersonDestEdit->text(), deployment.Root());
        QCOMPARE(dialogs.Messages[1].Text, deployment.Root());
        QCOMPARE(dialogs.Messages[0].Caption, QString("Select the Compiler Personality Destination Directory"));
        wizard.CmpHdrDirAddBtn->click(); // opens in the folder last chosen
        QCOMPARE(dialogs.Messages[2].Text, deployment.Root());
    }

    void previewShowsTheCommandsThatRun()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        KestrixWizard wizard;
        QCOMPARE(OrderKeys(wizard), DefaultCommandOrder());
        wizard.CmpExeEdit->setText("cc");
        wizard.CmpExeFlagEdit->setText("-o");
        wizard.CmpExeFlagChkBox->click();
        wizard.CmpDefFlagEdit->setText("-D");
        wizard.CmpCmpFlagEdit->setText("-c");
        wizard.CmpSwtchEdit->setPlainText("-m32\n");
        QCOMPARE(wizard.getCmdOrderStr(), QString("%c %o %e %d%j %s "));
        QCOMPARE(wizard.CmpCmdOrder->text(), QString("Object build: cc -m32 -DEXAMPLE=1 -c test.c\n"
                                                     "Program build: cc -o test.c.exe -m32 -DEXAMPLE=1 test.c"));
        QCOMPARE(wizard.SearchCompileCmdTxt->text(), wizard.CmpCmdOrder->text());

        wizard.CmpOrderListBox->setCurrentRow(0);
        wizard.CmdOrderUpBtn->click();
        QCOMPARE(OrderKeys(wizard), DefaultCommandOrder());
        wizard.CmpOrderListBox->setCurrentRow(5);
        wizard.CmdOrderDwnBtn->click();
        QCOMPARE(OrderKeys(wizard), DefaultCommandOrder());
        wizard.CmdOrderUpBtn->click();
        QCOMPARE(wizard.CmpOrderListBox->currentRow(), 4);
        QCOMPARE(OrderKeys(wizard)[4], QString("<src file>"));
        QCOMPARE(wizard.getCmdOrderStr(), QString("%c %o %e %d%s %j "));
        QVERIFY(wizard.CmpCmdOrder->text().startsWith("Object build: cc -m32 -DEXAMPLE=1 test.c -c\n"));
        wizard.CmdOrderDwnBtn->click();

        wizard.CrossCmpCheckBox->click(); // a cross compiler's programs are never built
        QCOMPARE(wizard.DefSwitchCompileCmdTxt->text(), QString("Object build: cc -m32 -DEXAMPLE=1 -c test.c"));
        wizard.ZANTHPPRadioButton->click();
        wizard.CmpDefFlagEdit->setText("DF");
        QCOMPARE(wizard.CmpCmdOrder->text(), QString("Object build: cc -m32 DF(EXAMPLE=1) -c test.cpp"));

        QVERIFY(wizard.CmpExeFlagEdit->text().isEmpty());
        QVERIFY(!wizard.CmpExeFlagEdit->isEnabled());
        QVERIFY(!wizard.CmpExeFlagChkBox->isChecked());
        QVERIFY(!wizard.CmpExeFlagChkBox->isEnabled());
        wizard.CrossCmpCheckBox->click();
        QVERIFY(wizard.CmpExeFlagEdit->isEnabled());
        QVERIFY(wizard.CmpExeFlagChkBox->isEnabled());
    }

    void directoryList()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        KestrixWizard wizard;
        const QString a = deployment.Root(), b = deployment.Work(), c = deployment.Path("home");
        dialogs.Directories = {a, b, "", c};
        wizard.CmpHdrDirAddBtn->click();
        wizard.CmpHdrDirAddBtn->click();
        wizard.CmpHdrDirAddBtn->click(); // cancelled
        QCOMPARE(wizard.CmpHdrDirListBox->count(), 2);
        QCOMPARE(dialogs.Messages[0].Caption, QString("Select The Compiler Header File Directory"));
        wizard.CmpHdrDirListBox->setCurrentRow(0);
        wizard.CmpHdrDirEditBtn->click();
        QCOMPARE(dialogs.Messages.last().Text, a); // opens on the current directory
        QCOMPARE(wizard.CmpHdrDirListBox->item(0)->text(), c);
        wizard.CmpHdrDirDeleteBtn->click();
        QCOMPARE(wizard.CmpHdrDirListBox->count(), 1);
        QCOMPARE(wizard.CmpHdrDirListBox->item(0)->text(), b);
    }

    void missingDirectoriesAreMarkedAndNamedBeforeTheRun()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        const QString gone = deployment.Path("gone");
        QDir().mkpath(gone);
        deployment.Write("work/settings.txt", "Compiler Header Directories:\n" + deployment.Root() + "\n" + gone + "\n\n");
        KestrixWizard wizard;
        wizard.show();
        QDir().rmdir(gone);
        wizard.setCurrentId(2); // the list is checked again whenever the page is shown
        QCOMPARE(wizard.MissingDirectories(), QStringList{gone});
        QCOMPARE(wizard.CmpHdrDirListBox->item(1)->foreground().color(), QColor(255, 0, 0));
        QVERIFY(wizard.CmpHdrDirListBox->item(1)->toolTip().contains("does not exist"));
        QCOMPARE(wizard.CmpHdrDirListBox->item(0)->toolTip(), QString());
        QVERIFY(!wizard.EngineArguments().contains(gone));
        QVERIFY(wizard.EngineArguments().contains(deployment.Root()));
        wizard.BuildReviewText();
        QVERIFY(wizard.SummaryText->toPlainText().contains(gone + " (does not exist; left out of the run)"));

        // The run is not started unless the user agrees to go without it.
        dialogs.Answers = {false};
        wizard.accept();
        QCOMPARE(dialogs.Kinds(), QStringList{"question"});
        QVERIFY(dialogs.Messages[0].Text.contains(gone));
        QVERIFY(!wizard.EngineProcess());
        QCOMPARE(wizard.CmpHdrDirListBox->count(), 2); // nothing is dropped from the list
    }

    void productSwitchResetsMismatchedEntry()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        KestrixWizard wizard;
        wizard.CmpExeEdit->setText("cc");
        wizard.SelectedName = "Acme - C";
        wizard.TemplateStr = "t.p_c";
        wizard.ReduceFileSizeCheckBox->setChecked(true);
        wizard.CmpOrderListBox->setCurrentRow(5);
        wizard.CmdOrderUpBtn->click();
        wizard.ZanthRadioButton->click(); // same product: nothing happens
        QVERIFY(dialogs.Messages.isEmpty());
        wizard.ZANTHPPRadioButton->click();
        QCOMPARE(wizard.Product, QString("zanthpp"));
        QCOMPARE(dialogs.Kinds(), QStringList{"information"});
        QCOMPARE(dialogs.Messages[0].Text, QString("You have selected Zanth++ for a currently selected C execution command.\nPlease choose the compiler again from the catalogue below."));
        QVERIFY(wizard.CmpExeEdit->text().isEmpty());
        QVERIFY(wizard.TemplateStr.isEmpty());
        QVERIFY(wizard.SelectedName.isEmpty());
        QVERIFY(!wizard.ReduceFileSizeCheckBox->isChecked());
        QCOMPARE(OrderKeys(wizard), DefaultCommandOrder());

        wizard.SelectedName = "Acme - C++";
        wizard.ZanthRadioButton->click();
        QCOMPARE(dialogs.Messages.size(), 2);
        QVERIFY(dialogs.Messages[1].Text.startsWith("You have selected Zanth for a currently selected C++"));
    }

    void programNameExtraction()
    {
        QCOMPARE(CompilerProgramName("cc -c"), QString("cc"));
        QCOMPARE(CompilerProgramName("\"/opt/my cc/bin/cc\" -O2"), QString("/opt/my cc/bin/cc"));
        QCOMPARE(CompilerProgramName("\"/opt/unclosed cc"), QString("/opt/unclosed cc"));
        QCOMPARE(CompilerProgramName("gcc"), QString("gcc"));
    }

    void commandCheckSearchesPathLikeTheShell()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        const QString first = deployment.Path("bin1");
        const QString second = deployment.Path("bin2");
        QDir().mkpath(first);
        MakeProgram(second + "/mycc");
        MakeProgram(first + "/plain", false);
        MakeProgram(deployment.Path("my dir/cc"));
        QVERIFY(CompilerProgramFound("mycc", first + ":" + second));
        QVERIFY(!CompilerProgramFound("mycc", first));
        QVERIFY(!CompilerProgramFound("plain", first)); // not executable: the shell cannot run it
        QVERIFY(!CompilerProgramFound("bin2", deployment.Root())); // a directory is no program
        MakeProgram(deployment.Work() + "/here");
        QVERIFY(CompilerProgramFound("here", first + ":")); // an empty entry is the working directory
        QVERIFY(!CompilerProgramFound("here", first));
        QVERIFY(!CompilerProgramFound("mycc", QString()));

        ScopedPath path(first + ":" + second);
        KestrixWizard wizard;
        QVERIFY(!wizard.CommandValid);
        QPalette before = wizard.CmpExeEdit->palette();
        QVERIFY(!wizard.CheckCompilerOnPath()); // empty: nothing touched
        QCOMPARE(wizard.CmpExeEdit->palette().color(QPalette::Text), before.color(QPalette::Text));

        wizard.CmpExeEdit->setText("mycc -c");
        QVERIFY(wizard.CommandValid);
        QCOMPARE(TextColour(wizard.CmpExeEdit), QColor(0, 0, 0));
        // Every probe needs the define and the object flag.
        QVERIFY(!wizard.nextEnabled(wizard.Page1));
        QCOMPARE(wizard.CmpPathErrorLabel->text(),
                 QString("The define flag is empty: every test defines macros with it (for example -D).\n"
                         "The object flag is empty: every test compiles to an object file with it (for example -c)."));
        wizard.CmpDefFlagEdit->setText("-D");
        wizard.CmpCmpFlagEdit->setText(" ");
        QVERIFY(!wizard.nextEnabled(wizard.Page1));
        wizard.CmpCmpFlagEdit->setText("-c");
        QVERIFY(wizard.nextEnabled(wizard.Page1));
        QVERIFY(wizard.nextEnabled(wizard.Page2));
        QVERIFY(wizard.CmpPathErrorLabel->text().isEmpty());
        QCOMPARE(wizard.CmpExeEdit->toolTip(), QString("Specify the command required to invoke the compiler from the command line."));

        wizard.CmpExeEdit->setText("mycc <specify target>");
        QVERIFY(!wizard.CommandValid);
        QVERIFY(!wizard.nextEnabled(wizard.Page1));
        QCOMPARE(TextColour(wizard.CmpExeEdit), QColor(255, 0, 0));
        QCOMPARE(wizard.CmpPathErrorLabel->text(), QString("Please complete the command as per the <specify> entries."));

        wizard.CmpExeEdit->setText(deployment.Path("missing/cc"));
        QCOMPARE(wizard.CmpPathErrorLabel->text(), QString("Command specified is not on the path, please amend the path or fully qualify this command."));
        QCOMPARE(wizard.CmpExeEdit->toolTip(), wizard.CmpPathErrorLabel->text());

        wizard.CmpExeEdit->setText("\"" + deployment.Path("my dir/cc") + "\" -O2");
        QVERIFY(wizard.CommandValid);
    }

    void engineArguments()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        const QString spaced = MakeProgram(deployment.Path("my dir/cc"));
        KestrixWizard wizard;
        wizard.ZANTHPPRadioButton->click();
        wizard.CmpExeEdit->setText(spaced);
        wizard.CmpExeFlagEdit->setText("-o");
        wizard.CmpExeFlagChkBox->setChecked(true);
        wizard.CmpCmpFlagEdit->setText("-c");
        wizard.CmpDefFlagEdit->setText("-D");
        wizard.CmpObjExtFlagEdit->setText("o");
        wizard.PersonDestEdit->setText("/tmp");
        wizard.PersonNameEdit->setText("probe");
        wizard.CmpDefEdit->setPlainText("A\n\nB=1\n\n\nC");
        wizard.CmpSwtchEdit->setPlainText("-g\n");
        wizard.TemplateStr = "bare.p_c";
        wizard.ForceIncludeStr = "/abs/force.h";
        wizard.SubHeadersStr = "subs";
        wizard.ReduceFileSizeCheckBox->setChecked(true);
        QCOMPARE(wizard.EngineArguments(),
                 (QStringList{"zanthpp", "cmp", "\"" + spaced + "\"", "-o", "-c", "-D", ".o", "%c %o %e %d%j %s ",
                              "-op", "/tmp/probe.p_c", "-xd", "A,B=1,C", "-xs", "-g",
                              "-tpl", "../TemplatePersonalities/bare.p_c", "-fi", "/abs/force.h",
                              "-sub", "../SubstituteHeaders/subs", "-rfs"}));

        // Commands with options stay as typed, so do quoted ones; no directories, no -i.
        wizard.CmpExeEdit->setText("gcc -m32");
        wizard.CrossCmpCheckBox->click();
        wizard.CmpObjExtFlagEdit->clear();
        wizard.PersonNameEdit->setText("probe.p_c");
        wizard.CmpDefEdit->clear();
        wizard.CmpSwtchEdit->clear();
        wizard.TemplateStr.clear();
        wizard.ForceIncludeStr.clear();
        wizard.SubHeadersStr.clear();
        wizard.ReduceFileSizeCheckBox->setChecked(false);
        wizard.CmpHdrDirListBox->addItems({deployment.Work(), deployment.Root()});
        QCOMPARE(wizard.EngineArguments(),
                 (QStringList{"zanthpp", "ccmp", "gcc -m32", "", "-c", "-D", "", "%c %o%e %d%j %s ",
                              "-i", deployment.Work(), "-i", deployment.Root(), "-op", "/tmp/probe.p_c"}));
        wizard.CmpExeEdit->setText("\"" + spaced + "\"");
        QCOMPARE(wizard.EngineArguments()[2], "\"" + spaced + "\"");
    }

    void settingsRoundTripRestoresEveryField()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        {
            KestrixWizard wizard;
            wizard.ZANTHPPRadioButton->click();
            wizard.PersonDestEdit->setText(deployment.Root());
            wizard.PersonNameEdit->setText("probe");
            wizard.CmpExeEdit->setText("  sh   -x ");
            wizard.CrossCmpCheckBox->click();
            wizard.CmpCmpFlagEdit->setText("-c ");
            wizard.CmpDefFlagEdit->setText("-D");
            wizard.CmpDefFlagChkBox->setChecked(true);
            wizard.CmpObjExtFlagEdit->setText(".obj");
            wizard.ReduceFileSizeCheckBox->setChecked(true);
            wizard.CmpHdrDirListBox->addItems({"/inc/one", "/inc/two"});
            wizard.CmpDefEdit->setPlainText("A=1\nB");
            wizard.CmpSwtchEdit->setPlainText("-g");
            wizard.CmpOrderListBox->setCurrentRow(1);
            wizard.CmdOrderDwnBtn->click();
            wizard.SelectedFamily = "Fam";
            wizard.SelectedName = "Name - C++";
            wizard.TemplateStr = "t.p_c";
            wizard.ForceIncludeStr = "f.h";
            wizard.SubHeadersStr = "subs";
            wizard.BuildReviewText();
            QVERIFY(wizard.nextEnabled(wizard.Page4));
            const QString summary = wizard.SummaryText->toPlainText();
            QVERIFY(summary.startsWith("Product:\nzanthpp\n\nPersonality Destination Directory:\n"));
            QVERIFY(summary.contains("Compiler:\nsh -x\n\nCross Compiler:\nYes\n"));
            QVERIFY(summary.contains("Compiler Command Order:\nObject build: sh -x -g -DA=1 -DB -DEXAMPLE=1 -c test.cpp\n"));
            QVERIFY(wizard.WriteSettings());
        }
        const QString text = deployment.Read("work/settings.txt");
        QVERIFY(text.contains("Compiler Command Order:\nExe Command\n<exe file>\nOutput Flag\nDefine Flag\n"));
        QVERIFY(text.endsWith("Def Trailing Space:\nyes\n\nSelected Compiler Family:\nFam\n\nSelected Compiler Name:\nName - C++\n\n"
                              "Template Personality File:\nt.p_c\n\nForce Include File:\nf.h\n\nSubstitute Headers:\nsubs\n"));
        QVERIFY(QDir(deployment.Work()).entryList(QDir::Files | QDir::Hidden).filter("settings").size() == 1);

        KestrixWizard wizard;
        QVERIFY(wizard.ZANTHPPRadioButton->isChecked());
        QCOMPARE(wizard.Product, QString("zanthpp"));
        QCOMPARE(wizard.PersonDestEdit->text(), deployment.Root());
        QCOMPARE(wizard.PersonNameEdit->text(), QString("probe"));
        QCOMPARE(wizard.CmpExeEdit->text(), QString("sh -x"));
        QVERIFY(wizard.CrossCmpCheckBox->isChecked());
        QVERIFY(!wizard.CmpExeFlagEdit->isEnabled());
        QCOMPARE(wizard.CmpCmpFlagEdit->text(), QString("-c"));
        QCOMPARE(wizard.CmpDefFlagEdit->text(), QString("-D"));
        QVERIFY(wizard.CmpDefFlagChkBox->isChecked());
        QVERIFY(!wizard.CmpExeFlagChkBox->isChecked());
        QCOMPARE(wizard.CmpObjExtFlagEdit->text(), QString(".obj"));
        QVERIFY(wizard.ReduceFileSizeCheckBox->isChecked());
        QCOMPARE(wizard.CmpHdrDirListBox->count(), 2);
        QCOMPARE(wizard.CmpHdrDirListBox->item(1)->text(), QString("/inc/two"));
        QCOMPARE(wizard.CmpDefEdit->toPlainText(), QString("A=1\nB\n"));
        QCOMPARE(wizard.CmpSwtchEdit->toPlainText(), QString("-g\n"));
        QCOMPARE(OrderKeys(wizard), (QStringList{"Exe Command", "<exe file>", "Output Flag", "Define Flag", "Object Flag", "<src file>"}));
        QCOMPARE(wizard.CmpOrderListBox->item(1)->text(), QString("<exe file>"));
        QCOMPARE(wizard.SelectedFamily, QString("Fam"));
        QCOMPARE(wizard.SelectedName, QString("Name - C++"));
        QCOMPARE(wizard.TemplateStr, QString("t.p_c"));
        QCOMPARE(wizard.ForceIncludeStr, QString("f.h"));
        QCOMPARE(wizard.SubHeadersStr, QString("subs"));
        QVERIFY(wizard.nextEnabled(wizard.Page0));
        QVERIFY(wizard.CommandValid);
    }

    void unwritableSettingsAreReportedInTheLog()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        QVERIFY(QDir(deployment.Work()).mkdir("settings.txt"));
        KestrixWizard wizard;
        wizard.BuildReviewText();
        QVERIFY(!wizard.WriteSettings());
        QVERIFY(wizard.DetailsText->toPlainText().contains("The settings could not be saved to settings.txt: "));
        QVERIFY(QFileInfo(deployment.Path("work/settings.txt")).isDir());
    }

    void settingsLocksAndStrictAnswers()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        deployment.Write("work/settings.txt",
                         "Personality Name:*\nlocked\n\nCross Compiler:\nyes\n\nExe Trailing Space:\nYes\n\n"
                         "Reduce File Size:\nYes\n\nCompiler Header Directories:\n/x\n/y");
        {
            KestrixWizard wizard;
            QCOMPARE(wizard.PersonNameEdit->text(), QString("locked"));
            QVERIFY(!wizard.PersonNameEdit->isEnabled());
            QVERIFY(wizard.PersonDestEdit->isEnabled());
            QVERIFY(wizard.ZanthRadioButton->isEnabled());
            QVERIFY(!wizard.CrossCmpCheckBox->isChecked());
            QVERIFY(!wizard.CmpExeFlagChkBox->isChecked());
            QVERIFY(wizard.ReduceFileSizeCheckBox->isChecked());
            QCOMPARE(wizard.CmpHdrDirListBox->count(), 2); // the list at the end of the file is whole
            QCOMPARE(OrderKeys(wizard), DefaultCommandOrder());
        }
        deployment.Write("work/settings.txt", "Product:*\nzanthpp\nPersonality Destination Directory:*\n/tmp\n");
        KestrixWizard wizard;
        QVERIFY(wizard.ZANTHPPRadioButton->isChecked());
        QVERIFY(!wizard.ZanthRadioButton->isEnabled());
        QVERIFY(!wizard.ZANTHPPRadioButton->isEnabled());
        QVERIFY(!wizard.PersonDestEdit->isEnabled());
        QVERIFY(!wizard.PersonDestBrowseBtn->isEnabled());
        QCOMPARE(wizard.PersonDestEdit->text(), QString("/tmp"));
    }

    void navigationButtonsFollowTheChecks()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        KestrixWizard wizard;
        wizard.show();
        QCOMPARE(wizard.currentPage(), wizard.Page0);
        wizard.P0_CmpBtn->click(); // page 0 not complete
        QCOMPARE(wizard.currentPage(), wizard.Page0);
        wizard.PersonDestEdit->setText(deployment.Root());
        wizard.PersonNameEdit->setText("p");
        wizard.P0_SrchBtn->click(); // no valid command yet
        QCOMPARE(wizard.currentPage(), wizard.Page0);
        wizard.P0_CmpBtn->click();
        QCOMPARE(wizard.currentPage(), wizard.Page1);
        wizard.CmpExeEdit->setText("sh");
        wizard.P1_DefBtn->click(); // no flags yet
        QCOMPARE(wizard.currentPage(), wizard.Page1);
        wizard.CmpDefFlagEdit->setText("-D");
        wizard.CmpCmpFlagEdit->setText("-c");
        wizard.P1_DefBtn->click();
        QCOMPARE(wizard.currentPage(), wizard.Page3);
        wizard.P2_SrchBtn->click(); // the defines page carries P2_
        QCOMPARE(wizard.currentPage(), wizard.Page2);
        QVERIFY(!wizard.nextEnabled(wizard.Page4));
        wizard.P3_RevBtn->click();
        QCOMPARE(wizard.currentPage(), wizard.Page4);
        QVERIFY(wizard.nextEnabled(wizard.Page4));
        QCOMPARE(wizard.button(QWizard::FinishButton)->text(), QString("&Generate"));
        QVERIFY(wizard.SummaryText->toPlainText().startsWith("Product:\nzanth\n"));
        QVERIFY(wizard.ReviewIntroLabel->text().contains("Generate starts a run"));

        // Back always leads one page back, whatever jumps came before.
        wizard.P4_PrdctBtn->click();
        QCOMPARE(wizard.currentPage(), wizard.Page0);
        QVERIFY(!wizard.button(QWizard::BackButton)->isEnabled());
        wizard.P0_DefBtn->click();
        QCOMPARE(wizard.currentPage(), wizard.Page3);
        wizard.button(QWizard::BackButton)->click();
        QCOMPARE(wizard.currentPage(), wizard.Page2);
        wizard.P3_DefBtn->click();
        wizard.CmpSwtchEdit->setPlainText("-Wall");
        wizard.button(QWizard::NextButton)->click(); // Next on the defines page rebuilds the summary
        QCOMPARE(wizard.currentPage(), wizard.Page4);
        QVERIFY(wizard.SummaryText->toPlainText().contains("Compiler Switches:\n-Wall\n"));
        QVERIFY(wizard.button(QWizard::FinishButton)->isEnabled());

        // The page bar is reached by keyboard: Tab stops on it, Alt+1 to Alt+5 jump.
        QCOMPARE(wizard.P4_RevBtn->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
        wizard.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&wizard));
        QTest::keyClick(&wizard, Qt::Key_2, Qt::AltModifier);
        QTRY_COMPARE(wizard.currentPage(), wizard.Page1); // a shortcut clicks after a short delay
        QTest::keyClick(&wizard, Qt::Key_1, Qt::AltModifier);
        QTRY_COMPARE(wizard.currentPage(), wizard.Page0);
        QVERIFY(!wizard.button(QWizard::BackButton)->isEnabled());
    }

    void everyFieldHasAMnemonic()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        KestrixWizard wizard;
        SaveCompilerDetails dialog;
        for (const QWidget* window : {static_cast<QWidget*>(&wizard), static_cast<QWidget*>(&dialog)}) {
            for (const QLabel* label : window->findChildren<QLabel*>()) {
                if (label->buddy())
                    QVERIFY2(label->text().contains('&'), qPrintable(label->objectName()));
            }
            // Buttons with a text of their own; the page bar is reached by Tab and Alt+1 to 5,
            // the languages by the mnemonic of their group and the arrow keys.
            for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
                const bool exempt = button->text().isEmpty() || button->text() == "Cancel" || button == wizard.RunStatusBtn
                                    || button == wizard.button(QWizard::CommitButton) // no page commits
                                    || qobject_cast<const QToolButton*>(button) || button->parentWidget() == dialog.LanguageGroup;
                if (!exempt)
                    QVERIFY2(button->text().contains('&'), qPrintable(button->objectName()));
            }
        }
        QVERIFY(dialog.LanguageGroup->title().contains('&'));
    }

    void hoverShowsTheShadedImage()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        KestrixWizard wizard;
        const qint64 normal = wizard.P0_RevBtn->icon().cacheKey();
        QVERIFY(!wizard.P0_RevBtn->icon().isNull());
        QEvent enter(QEvent::Enter);
        QCoreApplication::sendEvent(wizard.P0_RevBtn, &enter);
        QVERIFY(wizard.P0_RevBtn->icon().cacheKey() != normal);
        QVERIFY(!wizard.P0_RevBtn->icon().isNull());
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(wizard.P0_RevBtn, &leave);
        QCOMPARE(wizard.P0_RevBtn->icon().cacheKey(), normal);
    }

    void germanTranslationKeepsStoredKeys()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        QTranslator german;
        QVERIFY(german.load(QLocale(QLocale::German), "kxwiz", "_", EngineDir()));
        QCoreApplication::installTranslator(&german);
        {
            KestrixWizard wizard;
            QCOMPARE(wizard.CmpExeFlagChkBox->text(), QString("Leerzeichen &danach"));
            QCOMPARE(wizard.CmpOrderListBox->item(0)->text(), QString("Compilerbefehl"));
            QCOMPARE(wizard.getCmdOrderStr(), QString("%c %o%e %d%j %s "));
            wizard.ReduceFileSizeCheckBox->setChecked(true);
            wizard.BuildReviewText();
            // The summary is shown in the user's language.
            QVERIFY2(wizard.SummaryText->toPlainText().startsWith("Produkt:\nzanth\n"), qPrintable(wizard.SummaryText->toPlainText()));
            QVERIFY(wizard.SummaryText->toPlainText().contains("Dateigröße verringern:\nJa\n"));
            // So is what the wizard adds to the log of a run.
            FakeEngine engine("fail");
            QVERIFY(RunToEnd(wizard));
            const QString log = wizard.DetailsText->toPlainText();
            QVERIFY2(log.contains("Versuchter Befehl:\nfakecc -c inctest.c"), qPrintable(log));
            QVERIFY(log.contains("---- Standardfehlerausgabe ----"));
            QVERIFY(log.contains("Kestrix ist mit Exit-Status 1 gescheitert."));
        }
        QCoreApplication::removeTranslator(&german);
        // settings.txt keeps the untranslated labels and keys, so it reads back in any language.
        const QString settings = deployment.Read("work/settings.txt");
        QVERIFY(settings.contains("Compiler Command Order:\nExe Command\nOutput Flag\n"));
        QVERIFY(settings.contains("Reduce File Size:\nYes\n"));
    }

    void shippedImagesAreAllThere()
    {
        for (const char* name : {"product_output", "compiler_command", "search_directories", "defines_switches", "review"}) {
            for (const char* suffix : {".bmp", "_shd.bmp"}) {
                const QImage image(SourceDataDir() + "/images/" + name + suffix);
                QVERIFY2(!image.isNull(), name);
                QCOMPARE(image.size(), QSize(32, 32));
            }
        }
    }
};

QTEST_MAIN(PagesTest)
#include "wizard_pages_test.moc"
