#include "KestrixWizard.h"

#include "AtomicFile.h"

#include <QHash>

namespace {

const QString SettingsFile = QStringLiteral("settings.txt");

QString YesNo(bool value, bool capitalised)
{
    if (capitalised)
        return value ? QStringLiteral("Yes") : QStringLiteral("No");
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

QString Entry(const QString& label, const QString& value)
{
    return label + QLatin1Char('\n') + value + QLatin1String("\n\n");
}

} // namespace

QString KestrixWizard::ReviewFieldsText()
{
    Product = ZanthRadioButton->isChecked() ? QStringLiteral("zanth") : QStringLiteral("zanthpp");
    // A blank that belongs after a flag is carried by its trailing-space box, never by the
    // field, so stray blanks in the fields are dropped here.
    for (QLineEdit* field : {CmpExeEdit, CmpExeFlagEdit, CmpCmpFlagEdit, CmpDefFlagEdit, CmpObjExtFlagEdit}) {
        const QString simplified = field->text().simplified();
        if (simplified != field->text())
            field->setText(simplified);
    }

    QString text;
    text += Entry(QStringLiteral("Product:"), Product);
    text += Entry(QStringLiteral("Personality Destination Directory:"), PersonDestEdit->text());
    text += Entry(QStringLiteral("Personality Name:"), PersonNameEdit->text());
    text += Entry(QStringLiteral("Compiler:"), CmpExeEdit->text());
    text += Entry(QStringLiteral("Cross Compiler:"), YesNo(CrossCmpCheckBox->isChecked(), true));
    text += Entry(QStringLiteral("Compiler Output Flag:"), CmpExeFlagEdit->text());
    text += Entry(QStringLiteral("Compiler Object File Generation Flag:"), CmpCmpFlagEdit->text());
    text += Entry(QStringLiteral("Compiler Define Flag:"), CmpDefFlagEdit->text());
    text += Entry(QStringLiteral("Object File Extension:"), CmpObjExtFlagEdit->text());
    text += Entry(QStringLiteral("Reduce File Size:"), YesNo(ReduceFileSizeCheckBox->isChecked(), true));
    text += QLatin1String("Compiler Header Directories:\n");
    for (int i = 0; i < CmpHdrDirListBox->count(); ++i)
        text += CmpHdrDirListBox->item(i)->text() + QLatin1Char('\n');
    text += QLatin1Char('\n');
    text += Entry(QStringLiteral("Compiler Defines:"), CmpDefEdit->toPlainText());
    text += Entry(QStringLiteral("Compiler Switches:"), CmpSwtchEdit->toPlainText());
    return text;
}

void KestrixWizard::BuildReviewText()
{
    // While the engine runs, the review page shows its log, which must not be replaced.
    if (EngineRunning())
        return;
    const QString fields = ReviewFieldsText();
    DetailsText->setPlainText(fields);
    AppendParagraph(QStringLiteral("Compiler Command Order:\n") + CmpCmdOrder->text() + QLatin1Char('\n'));
    DetailsText->moveCursor(QTextCursor::Start);

    SettingsText = fields + QLatin1String("Compiler Command Order:\n");
    for (int i = 0; i < CmpOrderListBox->count(); ++i) {
        const QListWidgetItem* item = CmpOrderListBox->item(i);
        const QVariant key = item->data(Qt::UserRole);
        SettingsText += (key.isValid() ? key.toString() : item->text()) + QLatin1Char('\n');
    }
    SettingsText += QLatin1Char('\n');

    setButtonText(QWizard::CancelButton, tr("Cancel"));
    setNextEnabled(Page4, true);
}

bool KestrixWizard::WriteSettings()
{
    QString text = SettingsText;
    text += Entry(QStringLiteral("Exe Trailing Space:"), YesNo(CmpExeFlagChkBox->isChecked(), false));
    text += Entry(QStringLiteral("Def Trailing Space:"), YesNo(CmpDefFlagChkBox->isChecked(), false));
    text += Entry(QStringLiteral("Selected Compiler Family:"), SelectedFamily);
    text += Entry(QStringLiteral("Selected Compiler Name:"), SelectedName);
    text += Entry(QStringLiteral("Template Personality File:"), TemplateStr);
    text += Entry(QStringLiteral("Force Include File:"), ForceIncludeStr);
    text += QLatin1String("Substitute Headers:\n") + SubHeadersStr + QLatin1Char('\n');
    QString error;
    if (WriteTextFileAtomically(SettingsFile, text, &error))
        return true;
    AppendParagraph(tr("The settings could not be saved to %1: %2").arg(SettingsFile, error));
    return false;
}

void KestrixWizard::ReadSettings()
{
    QString content;
    if (!ReadTextFile(SettingsFile, content))
        return;
    const QStringList lines = content.split(QLatin1Char('\n'));

    const QHash<QString, QLineEdit*> lineEntries = {
        {QStringLiteral("Personality Destination Directory:"), PersonDestEdit},
        {QStringLiteral("Personality Destination Directory:*"), PersonDestEdit},
        {QStringLiteral("Personality Name:"), PersonNameEdit},
        {QStringLiteral("Personality Name:*"), PersonNameEdit},
        {QStringLiteral("Compiler:"), CmpExeEdit},
        {QStringLiteral("Compiler Output Flag:"), CmpExeFlagEdit},
        {QStringLiteral("Compiler Object File Generation Flag:"), CmpCmpFlagEdit},
        {QStringLiteral("Compiler Define Flag:"), CmpDefFlagEdit},
        {QStringLiteral("Object File Extension:"), CmpObjExtFlagEdit}};
    // The two capitalised answers and the two lower-case ones are told apart on purpose:
    // each box is checked only by the spelling the writer uses for it.
    const QHash<QString, QPair<QCheckBox*, QString>> boxEntries = {
        {QStringLiteral("Cross Compiler:"), {CrossCmpCheckBox, QStringLiteral("Yes")}},
        {QStringLiteral("Reduce File Size:"), {ReduceFileSizeCheckBox, QStringLiteral("Yes")}},
        {QStringLiteral("Exe Trailing Space:"), {CmpExeFlagChkBox, QStringLiteral("yes")}},
        {QStringLiteral("Def Trailing Space:"), {CmpDefFlagChkBox, QStringLiteral("yes")}}};
    const QHash<QString, QString*> stringEntries = {
        {QStringLiteral("Selected Compiler Family:"), &SelectedFamily},
        {QStringLiteral("Selected Compiler Name:"), &SelectedName},
        {QStringLiteral("Template Personality File:"), &TemplateStr},
        {QStringLiteral("Force Include File:"), &ForceIncludeStr},
        {QStringLiteral("Substitute Headers:"), &SubHeadersStr},
        {QStringLiteral("Compiler Family Set:*"), &FamilyRestriction}};

    // Lines up to the next empty line (or the end), from the line after `i`.
    const auto block = [&lines](qsizetype& i) {
        QStringList values;
        while (i + 1 < lines.size() && !lines[i + 1].isEmpty())
            values.append(lines[++i]);
        return values;
    };

    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& label = lines[i];
        if (label == QLatin1String("Compiler Header Directories:")) {
            CmpHdrDirListBox->clear();
            CmpHdrDirListBox->addItems(block(i));
            continue;
        }
        if (label == QLatin1String("Compiler Command Order:")) {
            CmpOrderListBox->clear();
            for (const QString& key : block(i))
                AppendOrderItem(key);
            continue;
        }
        if (label == QLatin1String("Compiler Defines:") || label == QLatin1String("Compiler Switches:")) {
            QString text;
            for (const QString& line : block(i))
                text += line + QLatin1Char('\n');
            (label == QLatin1String("Compiler Defines:") ? CmpDefEdit : CmpSwtchEdit)->setPlainText(text);
            continue;
        }

        const bool oneLine = label == QLatin1String("Product:") || label == QLatin1String("Product:*")
                             || lineEntries.contains(label) || boxEntries.contains(label)
                             || stringEntries.contains(label);
        if (!oneLine || i + 1 >= lines.size())
            continue;
        const QString value = lines[++i];
        if (label.startsWith(QLatin1String("Product:"))) {
            Product = value;
            ZanthRadioButton->setChecked(value == QLatin1String("zanth"));
            ZANTHPPRadioButton->setChecked(value != QLatin1String("zanth"));
            if (label.endsWith(QLatin1Char('*'))) {
                ZanthRadioButton->setEnabled(false);
                ZANTHPPRadioButton->setEnabled(false);
            }
        } else if (QLineEdit* field = lineEntries.value(label)) {
            field->setText(value);
            if (label.endsWith(QLatin1Char('*'))) {
                field->setEnabled(false);
                if (field == PersonDestEdit)
                    PersonDestBrowseBtn->setEnabled(false);
            }
        } else if (boxEntries.contains(label)) {
            const auto& [box, checked] = boxEntries[label];
            box->setChecked(value == checked);
        } else {
            *stringEntries.value(label) = value;
        }
    }
    // A cross compiler has no output flag to edit; the stored one stays visible.
    CmpExeFlagEdit->setEnabled(!CrossCmpCheckBox->isChecked());
    CmpExeFlagChkBox->setEnabled(!CrossCmpCheckBox->isChecked());
}
