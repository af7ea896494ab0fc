// The pages: their checks, choosers, directory list, command preview, the engine's arguments, settings.txt,
// navigation and the translation.
#include "common/CompileTemplate.h"
#include "wizard/KestrixWizard.h"
#include "tests/wizard/WizardTestSupport.h"

#include <QProcess>
#include <QTranslator>
#include <QtTest>

using namespace kxwiztest;

namespace {

bool Red(const QWidget* field) { return field->palette().color(QPalette::Text) == QColor(255, 0, 0); }

QString MakeProgram(const QString& path, bool executable = true)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | (executable ? QFile::ExeOwner : QFile::Permissions()));
    return path;
}

// What /bin/sh -c prints for the command; empty when the shell refuses it.
QString ShellOutput(const QString& command)
{
    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    const bool ran = shell.waitForFinished(10000) && shell.exitStatus() == QProcess::NormalExit && shell.exitCode() == 0;
    return ran ? QString::fromUtf8(shell.readAllStandardOutput()) : QString();
}

} // namespace

class PagesTest : public WizardTest {
    Q_OBJECT

private slots:
    void firstPageNeedsAnExistingFolderAndAFileName()
    {
        KestrixWizard wizard;
        wizard.show();
        // The first start offers the home directory, nothing red.
        QCOMPARE(wizard.PersonDestEdit->text(), Deployment->Path("home"));
        QVERIFY(!Red(wizard.PersonDestEdit) && wizard.DestErrorLabel->text() == "Enter the personality name to go on.");
        QDir(Deployment->Path("home")).mkpath("out");
        // Folder ("~" and relative ones are home's), name, personality (none: Next is off), whether a problem is red,
        // and the start of what is said, which a disabled Next's tooltip says too.
        const std::tuple<QString, QString, QString, bool, QString> cases[] = {
            {"", "p", "", false, "Enter the destination folder"}, // nothing typed is not yet a problem
            {"~/nowhere", "p", "", true, "Destination folder does not exist"},
            {"~", "", "", false, "Enter the personality name"},
            {"~", "p/q", "", true, "The personality name is a file name"},
            {"~", "p", "home/p.p_c", false, ""},
            {"~/out", "p.p_c", "home/out/p.p_c", false, ""},
            {"out", "p", "home/out/p.p_c", false, ""},
            {Deployment->Path(), "p", "p.p_c", false, ""}};
        for (const auto& [dest, name, personality, problem, said] : cases) {
            wizard.PersonDestEdit->setText(dest);
            wizard.PersonNameEdit->setText(name);
            QCOMPARE(wizard.nextEnabled(wizard.Page0), !personality.isEmpty());
            if (!personality.isEmpty())
                QCOMPARE(wizard.PersonalityPath(), Deployment->Path(personality));
            const QString text = wizard.DestErrorLabel->text();
            QVERIFY2(said.isEmpty() ? text.isEmpty() : text.startsWith(said), qPrintable(text));
            QCOMPARE(wizard.button(QWizard::NextButton)->toolTip(), wizard.DestErrorLabel->text());
            QCOMPARE(Red(wizard.PersonDestEdit) || Red(wizard.PersonNameEdit), problem);
        }
    }

    void directoryList()
    {
        const QString a = Deployment->Path(), b = Deployment->Path("images"), home = Deployment->Path("home"),
                      gone = Deployment->Path("gone");
        QDir().mkpath(gone);
        Deployment->Write("work/settings.txt", "Compiler Header Directories:\n" + gone + "\n\n");
        KestrixWizard wizard;
        wizard.show();
        // Choosers open at the folder typed or edited, else the one chosen last, else home (never the hidden working
        // directory); cancelling one changes nothing.
        Dialogs->Directories = {a, "", b, "", home};
        wizard.PersonDestEdit->clear();
        for (QPushButton* button :
             {wizard.PersonDestBrowseBtn, wizard.PersonDestBrowseBtn, wizard.CmpHdrDirAddBtn, wizard.CmpHdrDirAddBtn})
            button->click();
        QCOMPARE(wizard.PersonDestEdit->text(), a);
        wizard.CmpHdrDirListBox->setCurrentRow(1);
        wizard.CmpHdrDirEditBtn->click();
        QCOMPARE(Dialogs->Texts, (QStringList{home, a, a, b, b}));
        QCOMPARE(ListedDirectories(wizard), gone + "|" + home);

        // A directory that has gone is marked whenever the page is shown, and named before a run, which starts only
        // if the user agrees to go without it.
        QDir().rmdir(gone);
        wizard.setCurrentId(2);
        QVERIFY(wizard.CmpHdrDirListBox->item(0)->foreground().color() == QColor(255, 0, 0)
                && wizard.CmpHdrDirListBox->item(0)->toolTip().contains("does not exist")
                && wizard.CmpHdrDirListBox->item(1)->toolTip().isEmpty());
        Dialogs->Answers = {false};
        wizard.accept();
        QVERIFY(Dialogs->Kinds.last() == "question" && Dialogs->Texts.last().contains(gone) && !wizard.EngineProcess());
        QVERIFY(wizard.SummaryText->toPlainText().contains(gone + " (does not exist; left out of the run)"));
        wizard.CmpHdrDirListBox->setCurrentRow(0);
        wizard.CmpHdrDirDeleteBtn->click();
        QCOMPARE(ListedDirectories(wizard), home);
    }

    void previewShowsTheCommandsThatRun()
    {
        KestrixWizard wizard;
        Fill({{wizard.CmpExeEdit, "cc"}, {wizard.CmpExeFlagEdit, "-o"}, {wizard.CmpDefFlagEdit, "-D"}, {wizard.CmpCmpFlagEdit, "-c"}});
        wizard.CmpExeFlagChkBox->click();
        wizard.CmpSwtchEdit->setPlainText("-m32\n");
        QCOMPARE(wizard.CmpCmdOrder->text(), QString("Object build: cc -m32 -DEXAMPLE=1 -c test.c\n"
                                                     "Program build: cc -o test.c.exe -m32 -DEXAMPLE=1 test.c"));
        // The ends of the order list stay put; a move shows at once, on every page.
        wizard.CmpOrderListBox->setCurrentRow(0), wizard.CmdOrderUpBtn->click();
        wizard.CmpOrderListBox->setCurrentRow(5), wizard.CmdOrderDwnBtn->click();
        QCOMPARE(wizard.getCmdOrderStr(), QString("%c %o %e %d%j %s "));
        wizard.CmdOrderUpBtn->click();
        QVERIFY(wizard.SearchCompileCmdTxt->text().startsWith("Object build: cc -m32 -DEXAMPLE=1 test.c -c\n"));
        // A cross compiler's programs are never built: no output flag. A define flag "DF" takes its argument in
        // parentheses, quoted for the shell.
        wizard.CrossCmpCheckBox->click();
        wizard.ZANTHPPRadioButton->click();
        wizard.CmpDefFlagEdit->setText("DF");
        QCOMPARE(wizard.DefSwitchCompileCmdTxt->text(), QString("Object build: cc -m32 DF'(EXAMPLE=1)' test.cpp -c"));
        // The shown command runs under /bin/sh as the engine's does, handing the compiler the same words. (No "%s" in
        // the format: the template's placeholders are filled in the text that the earlier ones left.)
        wizard.CmpExeEdit->setText("printf [%b]");
        const QString shown = wizard.DefSwitchCompileCmdTxt->text().section(QStringLiteral(": "), 1);
        const kxcommon::CompileTemplate engine{wizard.getCmdOrderStr().toStdString(), "printf [%b]", "", "-c", "DF", {"-m32"}, {}};
        const QString run = QString::fromStdString(kxcommon::ComposeCompileCommand(engine, "test.cpp", false, "EXAMPLE=1"));
        QCOMPARE(ShellOutput(shown), QString("[-m32][DF(EXAMPLE=1)][test.cpp][-c]"));
        QCOMPARE(ShellOutput(run), ShellOutput(shown));
        wizard.CmpExeEdit->setText("cc");
        QVERIFY(wizard.CmpExeFlagEdit->text().isEmpty() && !wizard.CmpExeFlagChkBox->isChecked());
        // A catalogue entry of the other language goes as a whole when the product changes, on Yes (what Enter
        // gives). (That No keeps it is the catalogue test's.)
        wizard.SelectedName = "Acme - C++", wizard.TemplateStr = "t.p_c";
        wizard.CmpObjExtFlagEdit->setText(".o");
        wizard.CmpHdrDirListBox->addItem("/inc");
        wizard.ZanthRadioButton->click();
        QVERIFY(Dialogs->Kinds == QStringList{"question"} && Dialogs->EnterSaysYes == QList<bool>{true});
        QVERIFY(Dialogs->Texts.last().contains("with the Catalogue button on the Compiler page"));
        QCOMPARE(CompilerPages(wizard), (QStringList{"", "native", "", "-", "", "-", "", "", "%c %o%e %d%j %s ", "-", "",
                                                     "", "", "", "", "", "", ""}));
    }

    void compilerCommandIsCheckedAsTheShellRunsIt()
    {
        const QString first = Deployment->Path("bin1"), second = Deployment->Path("bin2");
        MakeProgram(second + "/mycc");
        MakeProgram(first + "/plain", false);
        MakeProgram(Deployment->Work() + "/here");
        const QString spaced = MakeProgram(Deployment->Path("my dir/cc"));
        // "plain" is not executable, "bin2" a directory; an empty entry of PATH is the working directory.
        const std::tuple<QString, QString, bool> lookups[] = {
            {"mycc", first + ":" + second, true}, {"mycc", first, false}, {"mycc", QString(), false}, {"plain", first, false},
            {"bin2", Deployment->Path(), false}, {"here", first + ":", true}, {"here", first, false}};
        for (const auto& [program, path, found] : lookups)
            QCOMPARE(CompilerProgramFound(program, path), found);

        ScopedEnv path("PATH", first + ":" + second);
        KestrixWizard wizard;
        // Every probe needs the define and the object flag.
        wizard.CmpExeEdit->setText("mycc -c");
        QVERIFY(!wizard.nextEnabled(wizard.Page1) && wizard.CmpPathErrorLabel->text().contains("The define flag is empty"));
        Fill({{wizard.CmpDefFlagEdit, "-D"}, {wizard.CmpCmpFlagEdit, " "}});
        QVERIFY(!wizard.nextEnabled(wizard.Page1));
        wizard.CmpCmpFlagEdit->setText("-c");
        QVERIFY(wizard.nextEnabled(wizard.Page1) && wizard.nextEnabled(wizard.Page3));
        // A path with blanks may be typed with or without quotes; the engine gets it quoted.
        const std::pair<QString, bool> commands[] = {
            {"mycc <specify target>", false}, {Deployment->Path("missing/cc"), false}, {"\"" + spaced + "\" -O2", true},
            {spaced + " -O2", true}};
        for (const auto& [command, valid] : commands) {
            wizard.CmpExeEdit->setText(command);
            QCOMPARE(wizard.nextEnabled(wizard.Page1), valid);
            QVERIFY(Red(wizard.CmpExeEdit) != valid && wizard.CmpPathErrorLabel->text().isEmpty() == valid);
            if (valid)
                QCOMPARE(wizard.EngineArguments()[2], "\"" + spaced + "\" -O2");
        }
        wizard.CmpExeEdit->clear();
        QVERIFY(wizard.CmpPathErrorLabel->text().startsWith("Enter the compiler command") && !Red(wizard.CmpPathErrorLabel));
    }

    void everyFieldReachesTheEngineAndSurvivesARestart()
    {
        const QString spaced = MakeProgram(Deployment->Path("my dir/cc"));
        QStringList pages;
        {
            KestrixWizard wizard;
            wizard.ZANTHPPRadioButton->click();
            Fill({{wizard.PersonDestEdit, Deployment->Path()}, {wizard.PersonNameEdit, "probe"}, {wizard.CmpExeEdit, spaced},
                  {wizard.CmpExeFlagEdit, "-o"}, {wizard.CmpCmpFlagEdit, "-c "}, {wizard.CmpDefFlagEdit, "-D"},
                  {wizard.CmpObjExtFlagEdit, "o"}});
            for (QCheckBox* box : {wizard.CmpExeFlagChkBox, wizard.CmpDefFlagChkBox, wizard.ReduceFileSizeCheckBox})
                box->setChecked(true);
            wizard.CmpHdrDirListBox->addItems({Deployment->Work(), "/inc/gone"});
            // A blank line inside a list field must not end it in the settings file.
            wizard.CmpDefEdit->setPlainText("A\n\nB=1,C");
            wizard.CmpSwtchEdit->setPlainText("-g\n");
            wizard.CmpOrderListBox->setCurrentRow(1), wizard.CmdOrderDwnBtn->click();
            wizard.SelectedFamily = "Fam", wizard.SelectedName = "Name - C++", wizard.TemplateStr = "bare.p_c";
            wizard.ForceIncludeStr = "/abs/force.h", wizard.SubHeadersStr = "subs";
            wizard.BuildReviewText();
            QCOMPARE(wizard.EngineArguments(),
                     (QStringList{"zanthpp", "cmp", "\"" + spaced + "\"", "-o", "-c", "-D", ".o", "%c %e %o %d %j %s ",
                                  "-i", Deployment->Work(), "-op", Deployment->Path("probe.p_c"), "-xd", "A,B=1,C", "-xs", "-g",
                                  "-tpl", "../TemplatePersonalities/bare.p_c", "-fi", "/abs/force.h",
                                  "-sub", "../SubstituteHeaders/subs", "-rfs"}));
            QVERIFY(wizard.WriteSettings());
            pages = CompilerPages(wizard);
        }
        QCOMPARE(QDir(Deployment->Work()).entryList({"*settings*"}, QDir::Files | QDir::Hidden), QStringList{"settings.txt"});
        KestrixWizard wizard;
        QVERIFY(wizard.ZANTHPPRadioButton->isChecked() && wizard.PersonalityPath() == Deployment->Path("probe.p_c"));
        QCOMPARE(CompilerPages(wizard), pages);

        // A command with options of its own is passed as typed; what is empty is left out.
        Fill({{wizard.CmpExeEdit, "gcc -m32"}, {wizard.CmpObjExtFlagEdit, ""}, {wizard.PersonNameEdit, "probe.p_c"}});
        wizard.CrossCmpCheckBox->click();
        wizard.CmpHdrDirListBox->clear(), wizard.CmpDefEdit->clear(), wizard.CmpSwtchEdit->clear();
        wizard.TemplateStr = wizard.ForceIncludeStr = wizard.SubHeadersStr = QString();
        wizard.ReduceFileSizeCheckBox->setChecked(false);
        QCOMPARE(wizard.EngineArguments(), (QStringList{"zanthpp", "ccmp", "gcc -m32", "", "-c", "-D", "",
                                                        "%c %e %o%d %j %s ", "-op", Deployment->Path("probe.p_c")}));
    }

    void settingsFileLocksAndReportsItsFailure()
    {
        // "*" after a label locks the field; a list at the end of the file needs no empty line after it.
        Deployment->Write("work/settings.txt", "Product:*\nzanthpp\n\nPersonality Name:*\nlocked\n\n"
                                              "Personality Destination Directory:*\n/tmp\n\nCompiler Header Directories:\n/x\n/y");
        KestrixWizard wizard;
        QVERIFY(wizard.ZANTHPPRadioButton->isChecked() && !wizard.ZanthRadioButton->isEnabled()
                && !wizard.ZANTHPPRadioButton->isEnabled());
        QVERIFY(!wizard.PersonNameEdit->isEnabled() && wizard.PersonNameEdit->text() == "locked");
        QVERIFY(!wizard.PersonDestEdit->isEnabled() && !wizard.PersonDestBrowseBtn->isEnabled());
        QCOMPARE(ListedDirectories(wizard), QString("/x|/y"));
        // What the deployment locked or restricted stays so after the settings are saved.
        Deployment->Write("work/settings.txt", Deployment->Read("work/settings.txt") + "\n\nCompiler Family Set:*\nAVR\n");
        {
            KestrixWizard again;
            again.BuildReviewText();
            QVERIFY(again.WriteSettings());
        }
        const QString written = Deployment->Read("work/settings.txt");
        for (const char* kept : {"Product:*\nzanthpp\n", "Personality Name:*\nlocked\n",
                                 "Personality Destination Directory:*\n/tmp\n", "Compiler Family Set:*\nAVR\n"})
            QVERIFY2(written.contains(kept), qPrintable(written));
        // A settings file that cannot be written is reported in the log.
        QVERIFY(QFile::remove("settings.txt") && QDir().mkdir("settings.txt") && !wizard.WriteSettings());
        QVERIFY(wizard.DetailsText->toPlainText().contains("The settings could not be saved to settings.txt: "));
    }

    void pageBarFollowsTheChecksAndCancelKeepsTheEntries()
    {
        KestrixWizard wizard;
        wizard.show();
        wizard.PersonNameEdit->setText("p");
        wizard.P0_SrchBtn->click(); // no valid command yet
        QCOMPARE(wizard.currentPage(), wizard.Page0);
        wizard.P0_CmpBtn->click();
        wizard.CmpExeEdit->setText("sh");
        wizard.P1_DefBtn->click(); // no flags yet
        QCOMPARE(wizard.currentPage(), wizard.Page1);
        Fill({{wizard.CmpDefFlagEdit, "-D"}, {wizard.CmpCmpFlagEdit, "-c"}});
        wizard.P1_DefBtn->click();
        QCOMPARE(wizard.currentPage(), wizard.Page3);
        // Escape in a list asks before it closes the wizard (Enter says No); Cancel keeps what
        // was entered for the next start.
        Dialogs->Answers = {false};
        QTest::keyClick(wizard.CmpHdrDirListBox, Qt::Key_Escape);
        QVERIFY(wizard.isVisible() && Dialogs->EnterSaysYes == QList<bool>{false});
        wizard.button(QWizard::CancelButton)->click();
        KestrixWizard again;
        QVERIFY(!wizard.isVisible() && again.CmpExeEdit->text() == "sh" && again.CmpCmpFlagEdit->text() == "-c");
    }

    void germanPagesKeepTheStoredKeys()
    {
        QTranslator german;
        QVERIFY(german.load(QLocale(QLocale::German), "kxwiz", "_", EngineDir()));
        QCoreApplication::installTranslator(&german);
        {
            KestrixWizard wizard;
            QCOMPARE(wizard.CmpOrderListBox->item(0)->text(), QString("Compilerbefehl"));
            wizard.ReduceFileSizeCheckBox->setChecked(true);
            // What the wizard adds to the summary and to the log of a run is translated too.
            FakeEngine engine("fail");
            QVERIFY(RunToEnd(wizard));
            QVERIFY(wizard.SummaryText->toPlainText().contains("Dateigröße verringern:\nJa\n")
                    && wizard.DetailsText->toPlainText().contains("Versuchter Befehl:\nfakecc -c inctest.c"));
        }
        QCoreApplication::removeTranslator(&german);
        // settings.txt keeps the untranslated labels and keys, so it reads back in any language.
        const QString settings = Deployment->Read("work/settings.txt");
        QVERIFY(settings.contains("Compiler Command Order:\nExe Command\nOutput Flag\n")
                && settings.contains("Reduce File Size:\nYes\n"));
    }
};

QTEST_MAIN(PagesTest)
#include "wizard_pages_test.moc"
