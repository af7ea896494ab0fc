// The save dialog: what it offers, how it validates, and the language suffixes it adds.
#include "SaveCompilerDetails.h"
#include "WizardTestSupport.h"

#include <QtTest>

using namespace kxwiztest;

namespace {

QList<Compiler> Catalogue()
{
    QList<Compiler> list;
    for (const auto& [family, name] : {std::pair{"Acme", "A - C"}, {"Acme", "B - C++"}, {"Zeta", "Z"}}) {
        Compiler c;
        c.Family = QString::fromLatin1(family);
        c.Name = QString::fromLatin1(name);
        list.append(c);
    }
    return list;
}

QStringList Items(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

} // namespace

class SaveDialogTest : public QObject {
    Q_OBJECT

private slots:
    void offersTheCatalogueAndTheSelectedEntry()
    {
        SaveCompilerDetails dialog;
        dialog.SetCatalogue({"Acme", "Zeta"}, Catalogue(), "Acme", "B - C++");
        QCOMPARE(Items(dialog.ExstCmpFamComboBox), (QStringList{"Acme", "Zeta"}));
        QCOMPARE(Items(dialog.NewCmpFamComboBox), (QStringList{"", "Acme", "Zeta"}));
        QCOMPARE(dialog.ExstCmpFamComboBox->currentText(), QString("Acme"));
        QCOMPARE(Items(dialog.ExstCmpNameComboBox), (QStringList{"A - C", "B - C++"}));
        QCOMPARE(dialog.ExstCmpNameComboBox->currentText(), QString("B - C++"));
        QCOMPARE(dialog.NewCmpNameComboBox->currentIndex(), 2);
        QVERIFY(dialog.ExstSaveRadioButton->isChecked());
        QVERIFY(!dialog.LanguageGroup->isEnabled());

        // Choosing another existing family lists its compilers.
        dialog.ExstCmpFamComboBox->setCurrentIndex(1);
        dialog.ExstCmpFamComboBox_selected(1);
        QCOMPARE(Items(dialog.ExstCmpNameComboBox), QStringList{"Z"});

        dialog.NewSaveRadioButton->click();
        QVERIFY(dialog.LanguageGroup->isEnabled());
        QVERIFY(!dialog.ExstCmpFamComboBox->isEnabled());
        QVERIFY(!dialog.ExstSaveRadioButton->isChecked());
        QCOMPARE(dialog.NewCmpFamEdit->text(), QString("Acme"));
        QCOMPARE(dialog.NewCmpNameEdit->text(), QString("B - C++"));

        dialog.NewCmpFamComboBox->setCurrentIndex(2);
        dialog.NewCmpFamComboBox_selected(2);
        QCOMPARE(dialog.NewCmpFamEdit->text(), QString("Zeta"));
        QCOMPARE(Items(dialog.NewCmpNameComboBox), (QStringList{"", "Z"}));
        QCOMPARE(dialog.NewCmpNameEdit->text(), QString());
    }

    void existingChoiceIsTheResultOnceConfirmed()
    {
        FakeDialogs dialogs;
        SaveCompilerDetails dialog;
        dialog.SetCatalogue({"Acme", "Zeta"}, Catalogue(), "Acme", "A - C");
        // Enter lands here: a catalogue entry is never replaced without a question.
        dialogs.Answers = {false, true};
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialog.ResultName().isEmpty());
        dialog.accept();
        QCOMPARE(dialogs.Kinds(), (QStringList{"question", "question"}));
        QCOMPARE(dialogs.Messages[0].Text,
                 QString("Overwrite the compiler \"A - C\" of the family \"Acme\" with the current settings? This cannot be undone."));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.ResultFamily(), QString("Acme"));
        QCOMPARE(dialog.ResultName(), QString("A - C"));
    }

    void newEntryGetsLanguageSuffix_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("result");
        QTest::newRow("blank name, C++") << "Acme" << "" << "CPPRadioButton" << "C++";
        QTest::newRow("blank name, C") << "Acme" << "" << "CRadioButton" << "C";
        QTest::newRow("name, C") << "Acme" << "Cross" << "CRadioButton" << "Cross - C";
        QTest::newRow("name, C++") << "Acme" << "Cross" << "CPPRadioButton" << "Cross - C++";
        QTest::newRow("name, Both") << "Acme" << "Cross" << "BothRadioButton" << "Cross";
        QTest::newRow("blanks around") << " Acme " << " Cross " << "BothRadioButton" << "Cross";
    }

    void newEntryGetsLanguageSuffix()
    {
        QFETCH(QString, family);
        QFETCH(QString, name);
        QFETCH(QString, language);
        QFETCH(QString, result);
        FakeDialogs dialogs;
        SaveCompilerDetails dialog;
        dialog.SetCatalogue({"Acme", "Zeta"}, Catalogue(), "", "");
        dialog.NewSaveRadioButton->click();
        QTest::keyClicks(dialog.NewCmpFamEdit, family);
        QTest::keyClicks(dialog.NewCmpNameEdit, name);
        dialog.findChild<QRadioButton*>(language)->setChecked(true);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.ResultFamily(), family.trimmed());
        QCOMPARE(dialog.ResultName(), result);
        QVERIFY(dialogs.Messages.isEmpty());
    }

    void validationKeepsTheDialogOpen()
    {
        FakeDialogs dialogs;
        SaveCompilerDetails dialog;
        dialog.SetCatalogue({"Acme"}, Catalogue(), "", "");
        dialog.NewSaveRadioButton->click();
        dialog.accept();
        QCOMPARE(dialogs.Kinds(), QStringList{"critical"});
        QCOMPARE(dialogs.Messages[0].Text, QString("Compiler Family and Compiler Name cannot be empty."));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));

        // A family is needed: an entry without one would be shown in no menu.
        dialogs.Messages.clear();
        QTest::keyClicks(dialog.NewCmpNameEdit, "X");
        dialog.accept();
        QCOMPARE(dialogs.Kinds(), QStringList{"critical"});
        QVERIFY(dialogs.Messages[0].Text.startsWith("Compiler Family cannot be empty"));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        dialog.NewCmpNameEdit->clear();

        dialogs.Messages.clear();
        QTest::keyClicks(dialog.NewCmpFamEdit, "Acme");
        dialog.BothRadioButton->setChecked(true);
        dialog.accept();
        QCOMPARE(dialogs.Kinds(), QStringList{"critical"});
        QCOMPARE(dialogs.Messages[0].Text, QString("Compiler Name cannot be empty if language: Both is selected."));

        // A name that names the other language asks first; No keeps the dialog open.
        dialogs.Messages.clear();
        QTest::keyClicks(dialog.NewCmpNameEdit, "Cpp");
        dialog.CRadioButton->setChecked(true);
        dialogs.Answers = {false};
        dialog.accept();
        QCOMPARE(dialogs.Kinds(), QStringList{"question"});
        QVERIFY(dialogs.Messages[0].Text.startsWith("Compiler Name provided does not match the language selected"));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        dialogs.Answers = {true};
        dialog.accept();
        QCOMPARE(dialog.ResultName(), QString("Cpp - C"));
    }

    void choosingAnExistingPairAsNewAsksToOverwrite()
    {
        FakeDialogs dialogs;
        SaveCompilerDetails dialog;
        dialog.SetCatalogue({"Acme"}, Catalogue(), "Acme", "A - C");
        dialog.NewSaveRadioButton->click();
        dialog.BothRadioButton->setChecked(true);
        dialogs.Answers = {false};
        dialog.accept();
        QCOMPARE(dialogs.Kinds(), QStringList{"question"});
        QVERIFY(dialogs.Messages[0].Text.contains("match an existing compiler"));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        dialogs.Answers = {true};
        dialog.accept();
        QCOMPARE(dialog.ResultName(), QString("A - C"));
    }

    void typedNameOfAnExistingEntryAsksToOverwrite()
    {
        FakeDialogs dialogs;
        SaveCompilerDetails dialog;
        dialog.SetCatalogue({"Acme"}, Catalogue(), "", "");
        dialog.NewSaveRadioButton->click();
        QTest::keyClicks(dialog.NewCmpFamEdit, "Acme");
        QTest::keyClicks(dialog.NewCmpNameEdit, "B"); // becomes "B - C++", which exists
        dialog.CPPRadioButton->setChecked(true);
        dialogs.Answers = {false};
        dialog.accept();
        QCOMPARE(dialogs.Kinds(), QStringList{"question"});
        QVERIFY(dialogs.Messages[0].Text.contains("match an existing compiler"));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void cancelYieldsNothing()
    {
        FakeDialogs dialogs;
        SaveCompilerDetails dialog;
        dialog.SetCatalogue({"Acme"}, Catalogue(), "Acme", "A - C");
        dialog.accept();
        dialog.reject();
        QVERIFY(dialog.ResultFamily().isEmpty());
        QVERIFY(dialog.ResultName().isEmpty());
    }
};

QTEST_MAIN(SaveDialogTest)
#include "wizard_save_dialog_test.moc"
