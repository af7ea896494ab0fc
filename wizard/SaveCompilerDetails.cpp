#include "wizard/SaveCompilerDetails.h"

#include "wizard/WizardDialogs.h"

#include <QLineEdit>
#include <QSignalBlocker>

SaveCompilerDetails::SaveCompilerDetails(QWidget* parent) : SaveCompilerDetailsBase(parent)
{
    // The editors of the two "new" combo boxes carry names of their own, so that typing
    // into them can be told apart from choosing an item.
    NewCmpFamEdit = new QLineEdit(NewCmpFamComboBox);
    NewCmpFamEdit->setObjectName(QStringLiteral("NewCmpFamEdit"));
    NewCmpFamComboBox->setLineEdit(NewCmpFamEdit);
    NewCmpNameEdit = new QLineEdit(NewCmpNameComboBox);
    NewCmpNameEdit->setObjectName(QStringLiteral("NewCmpNameEdit"));
    NewCmpNameComboBox->setLineEdit(NewCmpNameEdit);
    // Typed text must stay in the editor only; the combo box must not grow an item for it.
    NewCmpFamComboBox->setInsertPolicy(QComboBox::NoInsert);
    NewCmpNameComboBox->setInsertPolicy(QComboBox::NoInsert);
    NewCmpFamEdit->setPlaceholderText(tr("Select or Enter New ..."));
    NewCmpNameEdit->setPlaceholderText(tr("Select or Enter New ..."));

    connect(ExstSaveRadioButton, &QRadioButton::clicked, this, &SaveCompilerDetails::ExstSaveRadioButton_clicked);
    connect(NewSaveRadioButton, &QRadioButton::clicked, this, &SaveCompilerDetails::NewSaveRadioButton_clicked);
    connect(ExstCmpFamComboBox, &QComboBox::activated, this, &SaveCompilerDetails::ExstCmpFamComboBox_selected);
    connect(NewCmpFamComboBox, &QComboBox::activated, this, &SaveCompilerDetails::NewCmpFamComboBox_selected);
    connect(NewCmpNameComboBox, &QComboBox::activated, this, &SaveCompilerDetails::NewCmpNameComboBox_selected);
    connect(NewCmpFamEdit, &QLineEdit::textEdited, this, &SaveCompilerDetails::NewCmpFamLineEdit_textchanged);
    connect(NewCmpNameEdit, &QLineEdit::textEdited, this, &SaveCompilerDetails::NewCmpNameEditLineEdit_textchanged);
    connect(buttonOk, &QPushButton::clicked, this, &SaveCompilerDetails::accept);
    connect(buttonCancel, &QPushButton::clicked, this, &SaveCompilerDetails::reject);
}

void SaveCompilerDetails::SetCatalogue(const QStringList& families, const QList<Compiler>& compilers,
                                       const QString& selectedFamily, const QString& selectedName)
{
    Families = families;
    Compilers = compilers;
    SelectedFamily = selectedFamily;
    SelectedName = selectedName;
    FillCombos();
}

QStringList SaveCompilerDetails::NamesOfFamily(const QString& family) const
{
    QStringList names;
    for (const Compiler& entry : Compilers) {
        if (entry.Family == family)
            names.append(entry.Name);
    }
    return names;
}

void SaveCompilerDetails::FillCombos()
{
    ExstCmpFamComboBox->clear();
    ExstCmpNameComboBox->clear();
    NewCmpFamComboBox->clear();
    NewCmpNameComboBox->clear();

    NewCmpFamComboBox->addItem(QString());
    ExstCmpFamComboBox->addItems(Families);
    NewCmpFamComboBox->addItems(Families);
    qsizetype familyIndex = Families.indexOf(SelectedFamily);
    if (familyIndex < 0)
        familyIndex = Families.size();
    ExstCmpFamComboBox->setCurrentIndex(int(familyIndex));
    NewCmpFamComboBox->setCurrentIndex(int(familyIndex) + 1);

    NewCmpNameComboBox->addItem(QString());
    const QStringList names = NamesOfFamily(SelectedFamily);
    ExstCmpNameComboBox->addItems(names);
    NewCmpNameComboBox->addItems(names);
    qsizetype nameIndex = names.indexOf(SelectedName);
    if (nameIndex < 0)
        nameIndex = names.size();
    ExstCmpNameComboBox->setCurrentIndex(int(nameIndex));
    NewCmpNameComboBox->setCurrentIndex(int(nameIndex) + 1);

    // With an entry to overwrite, offer that; without one there is only "new". The language
    // starts at "Both", which adds no suffix to a typed name.
    const bool haveExisting = ExstCmpNameComboBox->currentIndex() >= 0;
    ExstSaveRadioButton->setEnabled(ExstCmpFamComboBox->count() > 0);
    if (haveExisting) {
        ExstSaveRadioButton->setChecked(true);
        ExstSaveRadioButton_clicked();
    } else {
        NewSaveRadioButton->setChecked(true);
        NewSaveRadioButton_clicked();
    }
}

void SaveCompilerDetails::show()
{
    FillCombos();
    SaveCompilerDetailsBase::show();
}

void SaveCompilerDetails::ExstSaveRadioButton_clicked()
{
    ExstSaveRadioButton->setChecked(true);
    ExstCmpFamComboBox->setEnabled(true);
    ExstCmpNameComboBox->setEnabled(true);
    NewCmpFamComboBox->setEnabled(false);
    NewCmpNameComboBox->setEnabled(false);
    NewCmpFamEdit->setEnabled(false);
    NewCmpNameEdit->setEnabled(false);
    LanguageGroup->setEnabled(false);
    NewSaveRadioButton->setChecked(false);
}

void SaveCompilerDetails::NewSaveRadioButton_clicked()
{
    NewSaveRadioButton->setChecked(true);
    NewCmpFamComboBox->setEnabled(true);
    NewCmpNameComboBox->setEnabled(true);
    NewCmpFamEdit->setEnabled(true);
    NewCmpNameEdit->setEnabled(true);
    LanguageGroup->setEnabled(true);
    NewCmpFamEdit->setText(NewCmpFamComboBox->itemText(NewCmpFamComboBox->currentIndex()));
    NewCmpNameEdit->setText(NewCmpNameComboBox->itemText(NewCmpNameComboBox->currentIndex()));
    ExstCmpFamComboBox->setEnabled(false);
    ExstCmpNameComboBox->setEnabled(false);
    ExstSaveRadioButton->setChecked(false);
}

void SaveCompilerDetails::ExstCmpFamComboBox_selected(int index)
{
    ExstCmpNameComboBox->clear();
    ExstCmpNameComboBox->addItems(NamesOfFamily(ExstCmpFamComboBox->itemText(index)));
}

void SaveCompilerDetails::NewCmpFamComboBox_selected(int index)
{
    const QString family = NewCmpFamComboBox->itemText(index);
    NewCmpFamEdit->setText(family);
    NewCmpNameComboBox->clear();
    NewCmpNameComboBox->addItem(QString());
    NewCmpNameComboBox->addItems(NamesOfFamily(family));
    NewCmpNameComboBox->setCurrentIndex(0);
    NewCmpNameEdit->setText(NewCmpNameComboBox->itemText(0));
}

void SaveCompilerDetails::NewCmpNameComboBox_selected(int index)
{
    NewCmpNameEdit->setText(NewCmpNameComboBox->itemText(index));
}

void SaveCompilerDetails::NewCmpFamLineEdit_textchanged(const QString& text)
{
    // Resetting the box must not overwrite what is being typed.
    const QSignalBlocker block(NewCmpFamComboBox);
    NewCmpFamComboBox->setCurrentIndex(0);
    NewCmpFamEdit->setText(text);
}

void SaveCompilerDetails::NewCmpNameEditLineEdit_textchanged(const QString& text)
{
    const QSignalBlocker block(NewCmpNameComboBox);
    NewCmpNameComboBox->setCurrentIndex(0);
    NewCmpNameEdit->setText(text);
}

bool SaveCompilerDetails::EntryExists(const QString& family, const QString& name) const
{
    for (const Compiler& entry : Compilers) {
        if (entry.Family == family && entry.Name == name)
            return true;
    }
    return false;
}

void SaveCompilerDetails::accept()
{
    WizardDialogs& dialogs = WizardDialogs::Current();
    const QString caption = tr("Save Compiler Details");
    const QString overwrite = tr("Compiler Family and Compiler Name match an existing compiler, do you want to overwrite this?");
    if (ExstSaveRadioButton->isChecked()) {
        const QString family = ExstCmpFamComboBox->currentText();
        const QString name = ExstCmpNameComboBox->currentText();
        if (family.isEmpty() || name.isEmpty()) {
            dialogs.Critical(this, caption, tr("Choose the family and the name of the compiler to overwrite."));
            return;
        }
        // Enter takes this path too: an entry, shipped ones included, is never replaced
        // without a question.
        if (!dialogs.Question(this, caption,
                              tr("Overwrite the compiler \"%1\" of the family \"%2\" with the current settings? This cannot be undone.")
                                  .arg(name, family)))
            return;
        FamilyResult = family;
        NameResult = name;
        QDialog::accept();
        return;
    }

    const QString family = NewCmpFamEdit->text().trimmed();
    QString name = NewCmpNameEdit->text().trimmed();
    if (family.isEmpty() && name.isEmpty()) {
        dialogs.Critical(this, caption, tr("Compiler Family and Compiler Name cannot be empty."));
        return;
    }
    // An entry without a family would be written but shown in no menu.
    if (family.isEmpty()) {
        dialogs.Critical(this, caption, tr("Compiler Family cannot be empty: the catalogue shows compilers by family."));
        return;
    }
    // The combo boxes hold the item last chosen; typing resets them to the blank item, so
    // a match means the pair was picked from the catalogue.
    const QString chosenFamily = NewCmpFamComboBox->itemText(NewCmpFamComboBox->currentIndex());
    const QString chosenName = NewCmpNameComboBox->itemText(NewCmpNameComboBox->currentIndex());
    bool confirmed = false;
    if (family == chosenFamily && name == chosenName) {
        if (!dialogs.Question(this, caption, overwrite))
            return;
        confirmed = true;
    } else if (BothRadioButton->isChecked() && name.isEmpty()) {
        dialogs.Critical(this, caption, tr("Compiler Name cannot be empty if language: Both is selected."));
        return;
    }

    bool mismatch = false;
    if (CPPRadioButton->isChecked())
        mismatch = name == QLatin1String("C");
    else if (CRadioButton->isChecked())
        mismatch = name == QLatin1String("C++") || name == QLatin1String("Cpp") || name == QLatin1String("CPP");
    else
        mismatch = name == QLatin1String("C") || name == QLatin1String("C++") || name == QLatin1String("Cpp")
                   || name == QLatin1String("CPP");
    if (mismatch
        && !dialogs.Question(this, caption,
                             tr("Compiler Name provided does not match the language selected,\nor describes a specific language when 'Both' is selected.\n\nIt is advisable to ensure that the compiler name reflects the language. Are you sure you wish to continue with this name?")))
        return;

    if (CRadioButton->isChecked())
        name = name.isEmpty() ? QStringLiteral("C") : name + QLatin1String(" - C");
    else if (CPPRadioButton->isChecked())
        name = name.isEmpty() ? QStringLiteral("C++") : name + QLatin1String(" - C++");
    // A typed pair, or the language suffix, may also land on an entry that exists.
    if (!confirmed && EntryExists(family, name) && !dialogs.Question(this, caption, overwrite))
        return;
    FamilyResult = family;
    NameResult = name;
    QDialog::accept();
}

void SaveCompilerDetails::reject()
{
    FamilyResult.clear();
    NameResult.clear();
    QDialog::reject();
}
