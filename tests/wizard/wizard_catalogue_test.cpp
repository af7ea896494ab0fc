// The compiler catalogue: reading and writing compilers.txt, the family menus and their
// product filter, choosing an entry, and saving the current settings into the file.
#include "AtomicFile.h"
#include "Compiler.h"
#include "KestrixWizard.h"
#include "SaveCompilerDetails.h"
#include "SubPopupMenu.h"
#include "WizardTestSupport.h"

#include <QAction>
#include <QtTest>

using namespace kxwiztest;

namespace {

const char* const AcmeCatalogue =
    "<CompilerFamily>Acme</CompilerFamily>\n"
    "<CompilerFamily>Empty</CompilerFamily>\n"
    "\n"
    " <Compiler>\n"
    "  <Name>X - C</Name>\n"
    "  <Family>Acme</Family>\n"
    "  <ExeCommand>sh</ExeCommand>\n"
    "  <CrossCompiler>no</CrossCompiler>\n"
    "  <OutputFlag>-o</OutputFlag>\n"
    "  <DefineFlag>-D</DefineFlag>\n"
    "  <ObjectFlag>-c</ObjectFlag>\n"
    "  <ObjectFileExtension>.o</ObjectFileExtension>\n"
    "  <Order>%c %o %e %d%j %s </Order>\n"
    "  <ReduceFileSize>no</ReduceFileSize>\n"
    "  <CompilerDefines>A=1,B</CompilerDefines>\n"
    "  <CompilerSwitches>-g</CompilerSwitches>\n"
    "  <Template>acme.p_c</Template>\n"
    "  <ForceIncludeFile>acme.h</ForceIncludeFile>\n"
    "  <SubHeaders>acme_sub</SubHeaders>\n"
    " </Compiler>\n"
    "\n"
    " <Compiler>\n"
    "  <Name>X - C++</Name>\n"
    "  <Family>Acme</Family>\n"
    "  <ExeCommand>sh -x</ExeCommand>\n"
    " </Compiler>\n"
    "\n";

QStringList MenuItems(const SubPopupMenu* menu)
{
    QStringList items;
    for (int id = 0; id < menu->Count(); ++id)
        items.append(menu->ItemText(id) + (menu->actions()[id]->isEnabled() ? "" : " [off]"));
    return items;
}

// Answers the save dialog with "Save As New", the given family, name and language.
std::function<void(QDialog&)> SaveAsNew(const QString& family, const QString& name, const char* language)
{
    return [=](QDialog& dialog) {
        auto& save = static_cast<SaveCompilerDetails&>(dialog);
        save.NewSaveRadioButton->click();
        save.NewCmpFamEdit->setText(family);
        save.NewCmpFamLineEdit_textchanged(family);
        save.NewCmpNameEdit->setText(name);
        save.NewCmpNameEditLineEdit_textchanged(name);
        save.findChild<QRadioButton*>(language)->setChecked(true);
        save.accept();
    };
}

} // namespace

class CatalogueTest : public QObject {
    Q_OBJECT

private slots:
    void readerIgnoresLayoutAndKeepsLastValue()
    {
        CompilerCatalogue catalogue;
        ReadCompilerCatalogue(QStringLiteral("<CompilerFamily>GNU</CompilerFamily>\n"
                                             "junk line\n"
                                             "\t<Compiler>\n"
                                             "\t\t<Family>GNU</Family>\n"
                                             "\t\t<Name>cc - C</Name>\n"
                                             "<CompilerSwitches>a  b\t c</CompilerSwitches>\n"
                                             "<Order>%c %o%e %d %j %s </Order>\n"
                                             "<Name>gcc - C</Name>\n"
                                             "<Unknown>x</Unknown>\n"
                                             "</Compiler>\n"
                                             "<Compiler>\n<Name>half</Name>\n<ExeCommand>cc"),
                              catalogue);
        QCOMPARE(catalogue.Families, QStringList{"GNU"});
        QCOMPARE(catalogue.Compilers.size(), 2);
        const Compiler& c = catalogue.Compilers[0];
        QCOMPARE(c.Name, QString("gcc - C"));
        QCOMPARE(c.Family, QString("GNU"));
        QCOMPARE(c.CompilerSwitches, QString("a b c"));
        QCOMPARE(c.Order, QString("%c %o%e %d %j %s ")); // the blank before the closing tag survives
        QVERIFY(c.ExeCommand.isEmpty());
        QCOMPARE(catalogue.Compilers[1].Name, QString("half")); // cut off by the end of the file, kept
    }

    void oldCataloguesLoadAsBefore()
    {
        // Written before values were escaped and entries carried directories: text that
        // looks like markup but is no escape is taken as it stands.
        CompilerCatalogue catalogue;
        ReadCompilerCatalogue(QString::fromLatin1(AcmeCatalogue)
                                  + "<CompilerFamily>R&D</CompilerFamily>\n"
                                    " <Compiler>\n  <Name>Lab &x - C</Name>\n  <Family>R&D</Family>\n"
                                    "  <ExeCommand>mycc <specify target> -q</ExeCommand>\n </Compiler>\n",
                              catalogue);
        QCOMPARE(catalogue.Families, (QStringList{"Acme", "Empty", "R&D"}));
        QCOMPARE(catalogue.Compilers.size(), 3);
        QCOMPARE(catalogue.Compilers[0].Name, QString("X - C"));
        QCOMPARE(catalogue.Compilers[0].CompilerDefines, QString("A=1,B"));
        QCOMPARE(catalogue.Compilers[0].SubHeaders, QString("acme_sub"));
        QVERIFY(catalogue.Compilers[0].HeaderDirectories.isEmpty());
        QCOMPARE(catalogue.Compilers[1].ExeCommand, QString("sh -x"));
        QCOMPARE(catalogue.Compilers[2].Name, QString("Lab &x - C"));
        QCOMPARE(catalogue.Compilers[2].ExeCommand, QString("mycc <specify target> -q"));
    }

    void writerOutputReadsBackUnchanged()
    {
        CompilerCatalogue catalogue;
        ReadCompilerCatalogue(QString::fromLatin1(AcmeCatalogue), catalogue);
        // Values that the file's own syntax, or its folding of white space, would damage.
        catalogue.Families.append("Tom & </CompilerFamily> Co");
        Compiler odd;
        odd.Name = "a </Name> b & &amp; - C";
        odd.Family = "Tom & </CompilerFamily> Co";
        odd.ExeCommand = "mycc <specify target>";
        odd.CompilerSwitches = " two  blanks,\ttab,trailing  ";
        odd.CompilerDefines = "line\nend";
        odd.HeaderDirectories = {"/opt/x  y/include", "/usr/include"};
        catalogue.Compilers.append(odd);

        const QString text = CompilerCatalogueText(catalogue);
        QVERIFY(text.startsWith("<CompilerFamily>Acme</CompilerFamily>\n<CompilerFamily>Empty</CompilerFamily>\n"));
        QVERIFY(text.contains("\n <Compiler>\n  <Name>X - C</Name>\n"));
        QVERIFY(text.contains("  <Order>%c %o %e %d%j %s </Order>\n")); // plain values stay readable
        QVERIFY(text.contains("  <HeaderDirectory>/usr/include</HeaderDirectory>\n </Compiler>\n"));
        CompilerCatalogue again;
        ReadCompilerCatalogue(text, again);
        QCOMPARE(again.Families, catalogue.Families);
        QCOMPARE(again.Compilers.size(), catalogue.Compilers.size());
        for (qsizetype i = 0; i < again.Compilers.size(); ++i) {
            for (int f = 0; f < Compiler::FieldCount; ++f)
                QCOMPARE(again.Compilers[i].Field(f), catalogue.Compilers[i].Field(f));
            QCOMPARE(again.Compilers[i].HeaderDirectories, catalogue.Compilers[i].HeaderDirectories);
        }
        QCOMPARE(CompilerCatalogueText(again), text);
    }

    void productFilterFollowsNameConvention()
    {
        QVERIFY(!CompilerNameFitsProduct("C++", "zanth"));
        QVERIFY(!CompilerNameFitsProduct("Acme - C++", "zanth"));
        QVERIFY(CompilerNameFitsProduct("Acme - C", "zanth"));
        QVERIFY(CompilerNameFitsProduct("CPP", "zanth"));
        QVERIFY(!CompilerNameFitsProduct("C", "zanthpp"));
        QVERIFY(!CompilerNameFitsProduct("Acme - C", "zanthpp"));
        QVERIFY(CompilerNameFitsProduct("Acme - C++", "zanthpp"));
        QVERIFY(CompilerNameFitsProduct("Acme Both", "zanthpp"));
    }

    void atomicWriteReplacesWholeFileOrNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("f.txt");
        QVERIFY(WriteTextFileAtomically(path, "first\n"));
        QVERIFY(WriteTextFileAtomically(path, "second\n"));
        QString text;
        QVERIFY(ReadTextFile(path, text));
        QCOMPARE(text, QString("second\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"f.txt"}); // no temporary left
        QString error;
        QVERIFY(!WriteTextFileAtomically(dir.filePath("missing/f.txt"), "x", &error));
        QVERIFY(!error.isEmpty());
    }

    void menusFollowFamiliesRestrictionAndProduct()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        deployment.Write("work/compilers.txt", QString::fromLatin1(AcmeCatalogue)
                                                   + "<CompilerFamily>Acme</CompilerFamily>\n"
                                                     "<Compiler>\n<Name>orphan</Name>\n<Family>Nobody</Family>\n</Compiler>\n");
        {
            KestrixWizard wizard;
            QCOMPARE(wizard.SubMenus.size(), 3); // a family listed twice gets two submenus
            QCOMPARE(wizard.SubMenus[0]->Family(), QString("Acme"));
            QCOMPARE(MenuItems(wizard.SubMenus[0]), (QStringList{"X - C", "X - C++ [off]"}));
            QCOMPARE(MenuItems(wizard.SubMenus[1]), QStringList{}); // family without compilers
            QCOMPARE(wizard.TopMenu->actions().size(), 3);
            QCOMPARE(wizard.ExeCommandBtn->menu(), wizard.TopMenu);

            wizard.ZANTHPPRadioButton->click();
            QCOMPARE(MenuItems(wizard.SubMenus[0]), (QStringList{"X - C [off]", "X - C++"}));
        }
        // "&" in a family name is shown, not taken as a shortcut.
        deployment.Write("work/compilers.txt", "<CompilerFamily>R&amp;D</CompilerFamily>\n");
        {
            KestrixWizard wizard;
            QCOMPARE(wizard.SubMenus[0]->Family(), QString("R&D"));
            QCOMPARE(wizard.TopMenu->actions()[0]->text(), QString("R&&D"));
        }
        deployment.Write("work/settings.txt", "Compiler Family Set:*\nGNU-SPARC-Empt\n");
        deployment.Write("work/compilers.txt", "<CompilerFamily>GNU</CompilerFamily>\n<CompilerFamily>SPARC</CompilerFamily>\n"
                                               "<CompilerFamily>gnu</CompilerFamily>\n<CompilerFamily>Empty</CompilerFamily>\n");
        KestrixWizard wizard;
        QStringList shown;
        for (const SubPopupMenu* menu : wizard.SubMenus)
            shown.append(menu->Family());
        QCOMPARE(shown, (QStringList{"GNU", "SPARC"}));
    }

    void choosingAnEntryFillsTheCompilerPage()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        deployment.Write("work/compilers.txt", QString::fromLatin1(AcmeCatalogue));
        KestrixWizard wizard;
        wizard.CmpExeFlagChkBox->setChecked(true);
        wizard.SubMenus[0]->actions()[0]->trigger();

        QCOMPARE(wizard.CmpExeEdit->text(), QString("sh"));
        QCOMPARE(wizard.CmpExeFlagEdit->text(), QString("-o"));
        QCOMPARE(wizard.CmpDefFlagEdit->text(), QString("-D"));
        QCOMPARE(wizard.CmpCmpFlagEdit->text(), QString("-c"));
        QCOMPARE(wizard.CmpObjExtFlagEdit->text(), QString(".o"));
        QStringList order;
        for (int i = 0; i < wizard.CmpOrderListBox->count(); ++i)
            order.append(wizard.CmpOrderListBox->item(i)->data(Qt::UserRole).toString());
        QCOMPARE(order, DefaultCommandOrder());
        QVERIFY(wizard.CmpExeFlagChkBox->isChecked());
        QVERIFY(!wizard.CmpDefFlagChkBox->isChecked());
        QCOMPARE(wizard.getCmdOrderStr(), QString("%c %o %e %d%j %s "));
        QCOMPARE(wizard.CmpDefEdit->toPlainText(), QString("A=1,B"));
        QCOMPARE(wizard.TemplateStr, QString("acme.p_c"));
        QCOMPARE(wizard.ForceIncludeStr, QString("acme.h"));
        QCOMPARE(wizard.SubHeadersStr, QString("acme_sub"));
        QCOMPARE(wizard.SelectedFamily, QString("Acme"));
        QCOMPARE(wizard.SelectedName, QString("X - C"));
        QVERIFY(wizard.CommandValid); // sh is on PATH
    }

    void directoriesFollowTheChosenCompiler()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        const QString a = deployment.Root(), b = deployment.Work(), c = deployment.Path("home");
        ScopedEnv listed("KXWIZ_FAKE_DIRS", c);
        const auto entry = [](const QString& name, const QString& command, const QStringList& dirs) {
            QString text = " <Compiler>\n  <Name>" + name + "</Name>\n  <Family>F</Family>\n  <ExeCommand>" + command
                           + "</ExeCommand>\n  <CompilerSwitches>-mfake</CompilerSwitches>\n";
            for (const QString& dir : dirs)
                text += "  <HeaderDirectory>" + dir + "</HeaderDirectory>\n";
            return text + " </Compiler>\n";
        };
        deployment.Write("work/compilers.txt", "<CompilerFamily>F</CompilerFamily>\n" + entry("carries", "sh", {a, b})
                                                   + entry("asks", Fake("listcc"), {}) + entry("gone", "nosuchcc", {}));
        deployment.Write("work/settings.txt", "Compiler Header Directories:\n/old/host/include\n\n");
        KestrixWizard wizard;

        // The listed directories belong to the compiler before: replaced only on Yes.
        dialogs.Answers = {false, true};
        wizard.LoadCompilerSettings("F", "carries");
        QCOMPARE(wizard.CmpHdrDirListBox->count(), 1);
        wizard.LoadCompilerSettings("F", "carries");
        QCOMPARE(dialogs.Kinds(), (QStringList{"question", "question"}));
        QVERIFY(dialogs.Messages[0].Text.contains("catalogue entry \"carries\""));
        QVERIFY(dialogs.Messages[0].Text.endsWith(a + "\n" + b));
        QCOMPARE(wizard.MissingDirectories(), QStringList{});
        QCOMPARE(wizard.CmpHdrDirListBox->item(1)->text(), b);

        // An entry without directories asks its compiler, with the entry's switches.
        wizard.LoadCompilerSettings("F", "asks");
        QCOMPARE(wizard.CmpHdrDirListBox->count(), 1);
        QCOMPARE(wizard.CmpHdrDirListBox->item(0)->text(), c);
        QVERIFY(dialogs.Messages[2].Text.contains("the compiler \"" + Fake("listcc") + "\""));
        QVERIFY(deployment.Read("work/listcc-args.txt").startsWith("-mfake\n-xc\n-E\n-v\n"));
        wizard.LoadCompilerSettings("F", "asks"); // the same list: nothing to ask
        QCOMPARE(dialogs.Messages.size(), 3);

        // Find Directories asks again, as the C++ compiler now.
        ScopedEnv more("KXWIZ_FAKE_DIRS", a + " " + c);
        wizard.ZANTHPPRadioButton->click();
        wizard.CmpHdrDirFindBtn->click();
        QCOMPARE(wizard.CmpHdrDirListBox->count(), 2);
        QVERIFY(deployment.Read("work/listcc-args.txt").contains("-xc++\n"));
        {
            ScopedEnv none("KXWIZ_FAKE_DIRS", "");
            wizard.CmpHdrDirFindBtn->click();
            QCOMPARE(dialogs.Kinds().last(), QString("critical"));
            QVERIFY(dialogs.Messages.last().Text.contains("named no header directories"));
            QCOMPARE(wizard.CmpHdrDirListBox->count(), 2);
        }

        // A compiler that cannot be run names none; the old list goes only on Yes.
        wizard.ZanthRadioButton->click();
        dialogs.Messages.clear();
        wizard.LoadCompilerSettings("F", "gone");
        QVERIFY(!wizard.CommandValid);
        QCOMPARE(dialogs.Kinds(), QStringList{"question"});
        QVERIFY(dialogs.Messages[0].Text.startsWith("No header directories come with the catalogue entry \"gone\"."));
        QCOMPARE(wizard.CmpHdrDirListBox->count(), 0);
        wizard.CmpHdrDirFindBtn->click();
        QVERIFY(dialogs.Messages.last().Text.contains("cannot be run"));
    }

    void orderWithBlankAfterDefineChecksItsBox()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        deployment.Write("work/compilers.txt", "<CompilerFamily>F</CompilerFamily>\n<Compiler>\n<Name>n</Name>\n"
                                               "<Family>F</Family>\n<CrossCompiler>yes</CrossCompiler>\n"
                                               "<OutputFlag>-e</OutputFlag>\n<Order>%c %o%e %d %j %s </Order>\n</Compiler>\n");
        KestrixWizard wizard;
        wizard.CmpExeFlagChkBox->setChecked(true);
        wizard.LoadCompilerSettings("F", "n");
        QVERIFY(!wizard.CmpExeFlagChkBox->isChecked());
        QVERIFY(wizard.CmpDefFlagChkBox->isChecked());
        QVERIFY(wizard.CrossCmpCheckBox->isChecked());
        QVERIFY(!wizard.CmpExeFlagEdit->isEnabled());
        QCOMPARE(wizard.CmpExeFlagEdit->text(), QString("-e")); // shown even though disabled
    }

    void downloadEntryOpensTheAddressAndCloses()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        deployment.Write("work/compilers.txt", "<CompilerFamily>F</CompilerFamily>\n<Compiler>\n<Name>get</Name>\n"
                                               "<Family>F</Family>\n<Template>Integration - Acme 1.2</Template>\n</Compiler>\n");
        KestrixWizard wizard;
        wizard.show();
        wizard.CmpExeEdit->setText("untouched");
        wizard.LoadCompilerSettings("F", "get");
        QCOMPARE(dialogs.Opened.size(), 1);
        QVERIFY(dialogs.Opened[0].isValid());
        QVERIFY(dialogs.Opened[0].toString().endsWith("/downloads/Windows/Acme 1.2"));
        QCOMPARE(dialogs.Kinds(), QStringList{"information"});
        QVERIFY(dialogs.Messages[0].Text.contains("Acme 1.2)"));
        QCOMPARE(wizard.result(), int(QDialog::Rejected));
        QVERIFY(!wizard.isVisible());
        QCOMPARE(wizard.CmpExeEdit->text(), QString("untouched"));
    }

    void savingUpdatesInPlaceAppendsNewAndKeepsEntryStrings()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        deployment.Write("work/compilers.txt", QString::fromLatin1(AcmeCatalogue));
        KestrixWizard wizard;
        wizard.PersonNameEdit->setText("probe");
        wizard.LoadCompilerSettings("Acme", "X - C");
        wizard.CmpExeEdit->setText("sh -e");
        wizard.CmpSwtchEdit->setPlainText("-O2\n-g\n");
        wizard.CmpHdrDirListBox->addItem(deployment.Root());
        {
            FakeEngine engine("ok");
            QVERIFY(RunToEnd(wizard));
        }

        // Over the existing entry: place, template, force include and substitute headers stay.
        dialogs.Modal = [](QDialog& dialog) {
            auto& save = static_cast<SaveCompilerDetails&>(dialog);
            QVERIFY(save.ExstSaveRadioButton->isChecked());
            QCOMPARE(save.ExstCmpNameComboBox->currentText(), QString("X - C"));
            save.accept();
        };
        wizard.AddCompilerBtn_clicked();
        QCOMPARE(dialogs.Kinds(), QStringList{"question"}); // overwriting is confirmed
        dialogs.Messages.clear();
        CompilerCatalogue saved;
        ReadCompilerCatalogue(deployment.Read("work/compilers.txt"), saved);
        QCOMPARE(saved.Compilers.size(), 2);
        QCOMPARE(saved.Compilers[0].Name, QString("X - C"));
        QCOMPARE(saved.Compilers[0].ExeCommand, QString("sh -e"));
        QCOMPARE(saved.Compilers[0].CompilerSwitches, QString("-O2,-g"));
        QCOMPARE(saved.Compilers[0].HeaderDirectories, QStringList{deployment.Root()});
        QCOMPARE(saved.Compilers[0].Template, QString("acme.p_c"));
        QCOMPARE(saved.Compilers[0].SubHeaders, QString("acme_sub"));

        // A new name under a known family goes to the end and inherits the entry strings.
        dialogs.Modal = SaveAsNew("Acme", "Y", "CRadioButton");
        wizard.AddCompilerBtn_clicked();
        // A new family is appended after the existing family lines.
        dialogs.Modal = SaveAsNew("Zeta", "", "CPPRadioButton");
        wizard.AddCompilerBtn_clicked();
        saved = {};
        ReadCompilerCatalogue(deployment.Read("work/compilers.txt"), saved);
        QCOMPARE(saved.Families, (QStringList{"Acme", "Empty", "Zeta"}));
        QCOMPARE(saved.Compilers.size(), 4);
        QCOMPARE(saved.Compilers[2].Name, QString("Y - C"));
        QCOMPARE(saved.Compilers[2].Template, QString("acme.p_c"));
        QCOMPARE(saved.Compilers[3].Name, QString("C++"));
        QCOMPARE(saved.Compilers[3].Family, QString("Zeta"));
        QCOMPARE(wizard.SelectedFamily, QString("Zeta"));
        QCOMPARE(wizard.SelectedName, QString("C++"));
        QCOMPARE(wizard.SubMenus.size(), 3);

        // Cancel leaves the file as it is.
        const QString before = deployment.Read("work/compilers.txt");
        dialogs.Modal = nullptr;
        wizard.AddCompilerBtn_clicked();
        QCOMPARE(deployment.Read("work/compilers.txt"), before);
        QVERIFY(dialogs.Kinds().isEmpty());
    }

    void unwritableCatalogueReportsAndKeepsTheEntry()
    {
        ScratchDeployment deployment;
        FakeDialogs dialogs;
        // A directory where the file should be cannot be replaced, not even by root.
        QVERIFY(QDir(deployment.Work()).mkdir("compilers.txt"));
        KestrixWizard wizard;
        wizard.CmpExeEdit->setText("sh");
        {
            FakeEngine engine("ok");
            QVERIFY(RunToEnd(wizard));
        }
        dialogs.Modal = SaveAsNew("Mine", "first", "BothRadioButton");
        wizard.AddCompilerBtn_clicked();

        QCOMPARE(dialogs.Kinds(), QStringList{"critical"});
        QVERIFY(dialogs.Messages[0].Text.contains(QDir(deployment.Work()).absoluteFilePath("compilers.txt")));
        QCOMPARE(wizard.CompilerList.size(), 1);
        QCOMPARE(wizard.SubMenus.size(), 1);
        QCOMPARE(MenuItems(wizard.SubMenus[0]), QStringList{"first"});

        // Once the file can be written, the next save stores the kept entry too.
        QVERIFY(QDir(deployment.Work()).rmdir("compilers.txt"));
        dialogs.Modal = SaveAsNew("Mine", "second", "BothRadioButton");
        wizard.AddCompilerBtn_clicked();
        CompilerCatalogue saved;
        ReadCompilerCatalogue(deployment.Read("work/compilers.txt"), saved);
        QCOMPARE(saved.Families, QStringList{"Mine"});
        QCOMPARE(saved.Compilers.size(), 2);
        QCOMPARE(saved.Compilers[0].Name, QString("first"));
        QCOMPARE(saved.Compilers[1].Name, QString("second"));
    }
};

QTEST_MAIN(CatalogueTest)
#include "wizard_catalogue_test.moc"
