// The compiler catalogue: compilers.txt read and written, the family menus, choosing an entry with its directories,
// and saving the compiler of the last run through the save dialog.
#include "wizard/KestrixWizard.h"
#include "wizard/SaveCompilerDetails.h"
#include "wizard/SubPopupMenu.h"
#include "tests/wizard/WizardTestSupport.h"

#include <QAction>
#include <QtTest>

using namespace kxwiztest;

namespace {

// An entry as versions before escaping and directories wrote it.
QString Entry(const QString& family, const QString& name, const QString& fields = {})
{
    return " <Compiler>\n  <Name>" + name + "</Name>\n  <Family>" + family + "</Family>\n" + fields + " </Compiler>\n";
}

// The entry that matters is not the first, so that choosing it is told from taking the first.
const QString AcmeCatalogue =
    "<CompilerFamily>Acme</CompilerFamily>\n<CompilerFamily>Empty</CompilerFamily>\n\n"
    + Entry("Acme", "X - C++", "<ExeCommand>sh -x</ExeCommand>\n")
    + Entry("Acme", "X - C",
            "<ExeCommand>sh</ExeCommand>\n<CrossCompiler>no</CrossCompiler>\n<OutputFlag>-o</OutputFlag>\n"
            "<DefineFlag>-D</DefineFlag>\n<ObjectFlag>-c</ObjectFlag>\n<ObjectFileExtension>.o</ObjectFileExtension>\n"
            "<Order>%c %o %e %d%j %s </Order>\n<ReduceFileSize>no</ReduceFileSize>\n<CompilerDefines>A=1,B</CompilerDefines>\n"
            "<CompilerSwitches>-g</CompilerSwitches>\n<Template>acme.p_c</Template>\n"
            "<ForceIncludeFile>acme.h</ForceIncludeFile>\n<SubHeaders>acme_sub</SubHeaders>\n");

QStringList MenuItems(const SubPopupMenu* menu)
{
    QStringList items;
    for (int id = 0; id < menu->Count(); ++id)
        items.append(menu->ItemText(id) + (menu->actions()[id]->isEnabled() ? "" : " [off]"));
    return items;
}

// Answers the save dialog with "Save As New", the family and name typed and the language.
std::function<void(QDialog&)> SaveAsNew(const QString& family, const QString& name, const char* language)
{
    return [=](QDialog& dialog) {
        auto& save = static_cast<SaveCompilerDetails&>(dialog);
        save.NewSaveRadioButton->click();
        save.NewCmpFamEdit->clear(), save.NewCmpNameEdit->clear();
        QTest::keyClicks(save.NewCmpFamEdit, family), QTest::keyClicks(save.NewCmpNameEdit, name);
        save.findChild<QRadioButton*>(language)->setChecked(true);
        save.accept();
    };
}

} // namespace

class CatalogueTest : public WizardTest {
    Q_OBJECT

private slots:
    void oldCataloguesLoad()
    {
        // As earlier versions or a hand wrote them: layout and unknown lines mean nothing, the last of a repeated field
        // counts, an entry cut off by the end is kept, text like markup but no escape is taken as it stands.
        CompilerCatalogue catalogue;
        ReadCompilerCatalogue(AcmeCatalogue + "junk line\n<CompilerFamily>R&D</CompilerFamily>\n\t<Compiler>\n"
                                              "\t\t<Family>R&D</Family>\n<Name>cc - C</Name>\n<Name>Lab &x - C</Name>\n"
                                              "<CompilerSwitches>a  b\t c</CompilerSwitches>\n<Unknown>x</Unknown>\n"
                                              "<ExeCommand>mycc <specify target> -q</ExeCommand>\n</Compiler>\n"
                                              "<Compiler>\n<Name>half</Name>\n<ExeCommand>cc",
                              catalogue);
        QCOMPARE(catalogue.Families, (QStringList{"Acme", "Empty", "R&D"}));
        QCOMPARE(catalogue.Compilers.size(), 4);
        const Compiler& x = catalogue.Compilers[1];
        QCOMPARE((QStringList{x.Name, x.ExeCommand, x.Order, x.CompilerDefines, x.SubHeaders}),
                 (QStringList{"X - C", "sh", "%c %o %e %d%j %s ", "A=1,B", "acme_sub"}));
        QVERIFY(x.HeaderDirectories.isEmpty());
        const Compiler& lab = catalogue.Compilers[2];
        QCOMPARE((QStringList{lab.Name, lab.Family, lab.CompilerSwitches, lab.ExeCommand}),
                 (QStringList{"Lab &x - C", "R&D", "a b c", "mycc <specify target> -q"}));
        QCOMPARE(catalogue.Compilers[3].ExeCommand, QString("cc"));
    }

    void writtenCatalogueReadsBackUnchanged()
    {
        CompilerCatalogue catalogue;
        ReadCompilerCatalogue(AcmeCatalogue, catalogue);
        // Values that the file's own syntax, or its folding of white space, would damage.
        Compiler odd;
        odd.Name = "a </Name> b & &amp; - C", odd.Family = "Tom & </CompilerFamily> Co";
        odd.ExeCommand = "mycc <specify target>", odd.CompilerDefines = "line\nend";
        odd.CompilerSwitches = " two  blanks,\ttab,trailing  ";
        odd.HeaderDirectories = {"/opt/x  y/include", "/usr/include"};
        catalogue.Families.append(odd.Family);
        catalogue.Compilers.append(odd);
        const QString text = CompilerCatalogueText(catalogue);
        QVERIFY(text.contains("\n  <Order>%c %o %e %d%j %s </Order>\n")); // plain values stay readable
        CompilerCatalogue again;
        ReadCompilerCatalogue(text, again);
        QVERIFY(again.Families == catalogue.Families && again.Compilers == catalogue.Compilers);
        QCOMPARE(CompilerCatalogueText(again), text);
    }

    void menusOfferTheCatalogueAndAnEntryFillsThePages()
    {
        Deployment->Write("work/compilers.txt",
                          AcmeCatalogue + Entry("Acme", "C++") + Entry("Acme", "Both") + "<CompilerFamily>R&amp;D</CompilerFamily>\n"
                              + Entry("Acme", "cross", "<CrossCompiler>yes</CrossCompiler>\n<OutputFlag>-e</OutputFlag>\n"
                                                       "<Order>%c %o%e %d %j %s </Order>\n")
                              + Entry("Acme", "get", "<Template>Integration - Acme 1.2</Template>\n"));
        {
            KestrixWizard wizard;
            wizard.show();
            QCOMPARE(wizard.SubMenus.size(), 3);
            QCOMPARE(MenuItems(wizard.SubMenus[0]), (QStringList{"X - C++ [off]", "X - C", "C++ [off]", "Both", "cross", "get"}));
            QCOMPARE(MenuItems(wizard.SubMenus[1]), QStringList{});
            QCOMPARE(wizard.TopMenu->actions()[2]->text(), QString("R&&D")); // shown, not a shortcut
            wizard.SubMenus[0]->actions()[1]->trigger();
            QCOMPARE(CompilerPages(wizard), (QStringList{"sh", "native", "-o", "exe flag spaced", "-D", "-", "-c", ".o",
                                                         "%c %o %e %d%j %s ", "-", "", "A=1,B", "-g", "acme.p_c", "acme.h",
                                                         "acme_sub", "Acme", "X - C"}));
            // The blanks after the flags come from the order; a cross compiler's output flag is shown, not editable.
            wizard.SubMenus[0]->actions()[4]->trigger();
            QCOMPARE(CompilerPages(wizard).mid(1, 5), (QStringList{"cross", "-e", "-", "", "define flag spaced"}));
            QVERIFY(!wizard.CmpExeFlagEdit->isEnabled());
            // An entry naming an integration package opens its address and closes the wizard, the pages untouched.
            const QStringList before = CompilerPages(wizard);
            wizard.SubMenus[0]->actions()[5]->trigger();
            QVERIFY(Dialogs->Texts.last().endsWith("/downloads/Windows/Acme 1.2") && !wizard.isVisible());
            QCOMPARE(CompilerPages(wizard), before);
            wizard.ZANTHPPRadioButton->click();
            QCOMPARE(MenuItems(wizard.SubMenus[0]), (QStringList{"X - C++", "X - C [off]", "C++", "Both", "cross", "get"}));
        }
        // Only the families that settings.txt allows are offered.
        Deployment->Write("work/settings.txt", "Compiler Family Set:*\nAcme-Empt\n");
        KestrixWizard wizard;
        QCOMPARE(wizard.SubMenus.size(), 1);
        QCOMPARE(wizard.SubMenus[0]->Family(), QString("Acme"));
    }

    void directoriesFollowTheChosenCompiler()
    {
        const QString a = Deployment->Path(), b = Deployment->Work(), c = Deployment->Path("home");
        const auto dir = [](const QString& d) { return "<HeaderDirectory>" + d + "</HeaderDirectory>\n"; };
        Deployment->Write("work/compilers.txt",
                         Entry("F", "carries", "<ExeCommand>sh</ExeCommand>\n" + dir(a) + dir(b))
                             + Entry("F", "asks", "<ExeCommand>" + Fake("listcc") + "</ExeCommand>\n<CompilerSwitches>-mfake</CompilerSwitches>\n")
                             + Entry("F", "gone", "<ExeCommand>nosuchcc</ExeCommand>\n"));
        Deployment->Write("work/settings.txt", "Compiler Header Directories:\n/old/host/include\n\n");
        KestrixWizard wizard;
        // The listed directories belong to the compiler chosen before: replaced only on Yes, which Enter gives.
        Dialogs->Answers = {false, true};
        wizard.LoadCompilerSettings("F", "carries");
        QCOMPARE(ListedDirectories(wizard), QString("/old/host/include"));
        wizard.LoadCompilerSettings("F", "carries");
        QVERIFY(Dialogs->Kinds == QStringList({"question", "question"}) && Dialogs->Texts.last().endsWith(a + "\n" + b));
        QCOMPARE(Dialogs->EnterSaysYes, (QList<bool>{true, true}));
        QCOMPARE(ListedDirectories(wizard), a + "|" + b);
        // An entry without them asks its compiler, with the entry's switches; Find Directories asks again, as the
        // C++ compiler now. The same list needs no question.
        ScopedEnv listed("KXWIZ_FAKE_DIRS", c);
        wizard.LoadCompilerSettings("F", "asks");
        QCOMPARE(ListedDirectories(wizard), c);
        QVERIFY(Deployment->Read("work/listcc-args.txt").startsWith("-mfake\n-xc\n-E\n-v\n"));
        wizard.ZANTHPPRadioButton->click();
        wizard.CmpHdrDirFindBtn->click();
        QVERIFY(Deployment->Read("work/listcc-args.txt").contains("-xc++\n"));
        QVERIFY(Dialogs->Kinds.size() == 4 && Dialogs->Kinds.last() == "information" && Dialogs->Texts.last().contains("unchanged"));
        {
            ScopedEnv none("KXWIZ_FAKE_DIRS", "");
            wizard.CmpHdrDirFindBtn->click();
            QVERIFY(Dialogs->Kinds.last() == "critical" && Dialogs->Texts.last().contains("named no header directories"));
            QCOMPARE(ListedDirectories(wizard), c);
        }
        // Directories that the compiler does not name stay in their places: without a word when it names nothing new,
        // else unless the user drops them (Enter keeps them).
        wizard.CmpHdrDirListBox->insertItem(0, a);
        wizard.CmpHdrDirFindBtn->click();
        QVERIFY(Dialogs->Kinds.last() == "information" && Dialogs->Texts.last().endsWith("stay:\n\n" + a));
        QCOMPARE(ListedDirectories(wizard), a + "|" + c);
        {
            ScopedEnv more("KXWIZ_FAKE_DIRS", c + " " + b);
            Dialogs->Answers = {true, false};
            wizard.CmpHdrDirFindBtn->click();
            QVERIFY(Dialogs->Texts.last().contains("does not name:\n\n" + a + "\n\nKeep them") && Dialogs->EnterSaysYes.last());
            QCOMPARE(ListedDirectories(wizard), a + "|" + c + "|" + b);
            wizard.CmpHdrDirListBox->clear(), wizard.CmpHdrDirListBox->addItems({"/dropped", c});
            wizard.CmpHdrDirFindBtn->click();
            QCOMPARE(ListedDirectories(wizard), c + "|" + b);
        }
        // An entry whose compiler cannot be run brings none; the old list goes only on Yes.
        wizard.ZanthRadioButton->click();
        wizard.LoadCompilerSettings("F", "gone");
        QVERIFY(Dialogs->Texts.last().startsWith("No header directories come with the catalogue entry \"gone\".")
                && ListedDirectories(wizard).isEmpty());
        wizard.CmpHdrDirFindBtn->click();
        QVERIFY(Dialogs->Texts.last().contains("cannot be run"));
        // A compiler whose path has blanks is asked as well, typed with quotes or without.
        const QString tools = Deployment->Path("my tools");
        QVERIFY(QDir().mkpath(tools) && QFile::copy(Fake("listcc"), tools + "/listcc"));
        ScopedEnv spaced("KXWIZ_FAKE_DIRS", b);
        for (const QString& command : {tools + "/listcc -mfake", "\"" + tools + "/listcc\" -mfake"}) {
            wizard.CmpHdrDirListBox->clear(), wizard.CmpExeEdit->setText(command);
            wizard.CmpHdrDirFindBtn->click();
            QCOMPARE(ListedDirectories(wizard), b);
        }
    }

    void savingStoresTheCompilerThatRan()
    {
        Deployment->Write("work/compilers.txt", AcmeCatalogue);
        KestrixWizard wizard;
        wizard.LoadCompilerSettings("Acme", "X - C");
        // The changes of the run, on every page.
        const std::function<void()> changes[] = {
            [&] { wizard.CmpExeEdit->setText("sh -e"); }, [&] { wizard.CmpSwtchEdit->setPlainText("-O2\n-g\n"); },
            [&] { wizard.CmpOrderListBox->setCurrentRow(3), wizard.CmdOrderUpBtn->click(); },
            [&] { wizard.ReduceFileSizeCheckBox->setChecked(true); }, [&] { wizard.CmpHdrDirListBox->addItem(Deployment->Path()); }};
        for (const auto& change : changes)
            change();
        {
            FakeEngine engine("ok");
            QVERIFY(RunToEnd(wizard));
        }
        QStringList ran = CompilerPages(wizard);
        ran[12] = "-O2,-g"; // stored as the engine's comma-separated value
        // Only the settings that the run proved can be saved: Save is off as soon as the pages differ, another entry
        // chosen included, and on again once they are back.
        QVERIFY(wizard.AddCompilerBtn->isEnabled());
        wizard.CmpExeEdit->setText("sh -x");
        QVERIFY(!wizard.AddCompilerBtn->isEnabled() && wizard.AddCompilerBtn->toolTip().contains("no longer hold"));
        Dialogs->Answers = {true}; // the directories of the entry
        wizard.LoadCompilerSettings("Acme", "X - C++");
        QVERIFY(!wizard.AddCompilerBtn->isEnabled());
        wizard.LoadCompilerSettings("Acme", "X - C");
        for (const auto& change : changes) {
            QVERIFY(!wizard.AddCompilerBtn->isEnabled());
            change();
        }
        QVERIFY(wizard.AddCompilerBtn->isEnabled());
        Dialogs->Answers = {false}; // the entry's settings stay for the other language
        wizard.ZANTHPPRadioButton->click();
        QVERIFY(!wizard.AddCompilerBtn->isEnabled());
        wizard.ZanthRadioButton->click();
        QVERIFY(wizard.AddCompilerBtn->isEnabled());
        wizard.SelectedName = "X - C++"; // whatever is chosen, the run's entry is offered

        // Over the entry it came from (Enter does that), only once the question is answered Yes; the entry keeps its
        // place and its files, and the user is told.
        Dialogs.emplace();
        Dialogs->Answers = {false, true};
        Dialogs->Modal = [](QDialog& dialog) {
            QCOMPARE(static_cast<SaveCompilerDetails&>(dialog).ExstCmpNameComboBox->currentText(), QString("X - C"));
            dialog.accept();
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            dialog.accept();
        };
        wizard.AddCompilerBtn->click();
        QCOMPARE(Dialogs->Kinds, (QStringList{"question", "question", "information"}));
        QVERIFY(Dialogs->Texts.last().contains("as the compiler \"X - C\" of the family \"Acme\""));
        // As new entries: one more of the family, which takes the entry's files, and one of a new family.
        Dialogs->Modal = SaveAsNew("Acme", "Y", "CRadioButton");
        wizard.AddCompilerBtn->click();
        Dialogs->Modal = SaveAsNew("Zeta", "", "CPPRadioButton");
        wizard.AddCompilerBtn->click();
        CompilerCatalogue saved;
        ReadCompilerCatalogue(Deployment->Read("work/compilers.txt"), saved);
        QCOMPARE(saved.Families, (QStringList{"Acme", "Empty", "Zeta"}));
        QStringList names;
        for (const Compiler& entry : saved.Compilers)
            names.append(entry.Family + "/" + entry.Name + "/" + entry.Template + "/" + entry.ExeCommand);
        QCOMPARE(names, (QStringList{"Acme/X - C++//sh -x", "Acme/X - C/acme.p_c/sh -e", "Acme/Y - C/acme.p_c/sh -e",
                                     "Zeta/C++/acme.p_c/sh -e"}));
        QCOMPARE(wizard.SubMenus.size(), 3);
        // A fresh wizard brings the saved compiler back whole from the menu.
        {
            QFile::remove("settings.txt");
            KestrixWizard again;
            again.SubMenus[0]->actions()[1]->trigger();
            QCOMPARE(CompilerPages(again), ran);
        }

        // A catalogue that cannot be written is named; the entry stays for the session, so that the next save stores
        // it too. Cancel leaves the file alone.
        QVERIFY(QFile::remove("compilers.txt") && QDir().mkdir("compilers.txt"));
        Dialogs->Modal = SaveAsNew("Mine", "first", "BothRadioButton");
        wizard.AddCompilerBtn->click();
        QVERIFY(Dialogs->Kinds.last() == "critical" && Dialogs->Texts.last().contains(Deployment->Path("work/compilers.txt")));
        QCOMPARE(MenuItems(wizard.SubMenus.last()), QStringList{"first"});
        QVERIFY(QDir().rmdir("compilers.txt"));
        Dialogs->Modal = SaveAsNew("Mine", "second", "BothRadioButton");
        wizard.AddCompilerBtn->click();
        const QString text = Deployment->Read("work/compilers.txt");
        QVERIFY(text.contains("<Name>first</Name>") && text.contains("<Name>second</Name>"));
        Dialogs->Modal = nullptr;
        wizard.AddCompilerBtn->click();
        QCOMPARE(Deployment->Read("work/compilers.txt"), text);
    }

    void saveDialogChecksANewEntry()
    {
        CompilerCatalogue catalogue;
        ReadCompilerCatalogue("<CompilerFamily>Acme</CompilerFamily>\n" + Entry("Acme", "B - C++"), catalogue);
        // Family, name, language, the answer to a question, the kinds of message shown, and family/name ("/" while the
        // dialog stays open).
        const std::tuple<QString, QString, const char*, bool, QString, QString> cases[] = {
            {"Acme", "", "CRadioButton", true, "", "Acme/C"},
            {" Acme ", " Cross ", "BothRadioButton", true, "", "Acme/Cross"},
            {"", "X", "CRadioButton", true, "critical", "/"},
            {"Acme", "", "BothRadioButton", true, "critical", "/"},
            {"Acme", "Cpp", "CRadioButton", false, "question", "/"},
            {"Acme", "Cpp", "CRadioButton", true, "question", "Acme/Cpp - C"},
            {"Acme", "B", "CPPRadioButton", false, "question", "/"},
            {"Acme", "B", "CPPRadioButton", true, "question", "Acme/B - C++"}};
        for (const auto& [family, name, language, yes, shown, result] : cases) {
            Dialogs.emplace();
            Dialogs->Answers = {yes};
            SaveCompilerDetails dialog;
            dialog.SetCatalogue(catalogue.Families, catalogue.Compilers, "", "");
            SaveAsNew(family, name, language)(dialog);
            QCOMPARE(Dialogs->Kinds.join(","), shown);
            QCOMPARE(dialog.result(), int(result == "/" ? QDialog::Rejected : QDialog::Accepted));
            QCOMPARE(dialog.ResultFamily() + "/" + dialog.ResultName(), result);
        }
    }
};

QTEST_MAIN(CatalogueTest)
#include "wizard_catalogue_test.moc"
