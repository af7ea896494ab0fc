#pragma once

#include "wizard/Compiler.h"
#include "wizard/SaveCompilerDetailsBase.h"

#include <QLineEdit>

// Asks under which family and name the current compiler settings go into the catalogue,
// and for which language. It only chooses and validates; the wizard writes the catalogue.
class SaveCompilerDetails : public SaveCompilerDetailsBase {
    Q_OBJECT

public:
    explicit SaveCompilerDetails(QWidget* parent = nullptr);

    // What the dialog offers: the catalogue and the entry chosen last.
    void SetCatalogue(const QStringList& families, const QList<Compiler>& compilers,
                      const QString& selectedFamily, const QString& selectedName);

    // Both empty after Cancel.
    QString ResultFamily() const { return FamilyResult; }
    QString ResultName() const { return NameResult; }

    QLineEdit* NewCmpFamEdit;
    QLineEdit* NewCmpNameEdit;

public slots:
    void show();
    void ExstSaveRadioButton_clicked();
    void NewSaveRadioButton_clicked();
    void ExstCmpFamComboBox_selected(int index);
    void NewCmpFamComboBox_selected(int index);
    void NewCmpNameComboBox_selected(int index);
    void NewCmpFamLineEdit_textchanged(const QString& text);
    void NewCmpNameEditLineEdit_textchanged(const QString& text);
    void accept() override;
    void reject() override;

private:
    // Fills the combo boxes from the catalogue; show() does this before the dialog appears.
    void FillCombos();
    QStringList NamesOfFamily(const QString& family) const;
    bool EntryExists(const QString& family, const QString& name) const;

    QStringList Families;
    QList<Compiler> Compilers;
    QString SelectedFamily;
    QString SelectedName;
    QString FamilyResult;
    QString NameResult;
};
