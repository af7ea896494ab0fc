#include "wizard/KestrixWizard.h"

#include "common/AtomicFileQt.h"

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

QList<KestrixWizard::SummaryEntry> KestrixWizard::ReviewEntries()
{
    Product = ZanthRadioButton->isChecked() ? QStringLiteral("zanth") : QStringLiteral("zanthpp");
    // A blank that belongs after a flag is carried by its trailing-space box, never by the
    // field, so stray blanks in the fields are dropped here.
    for (QLineEdit* field : {CmpExeEdit, CmpExeFlagEdit, CmpCmpFlagEdit, CmpDefFlagEdit, CmpObjExtFlagEdit}) {
        const QString simplified = field->text().simplified();
        if (simplified != field->text())
            field->setText(simplified);
    }
    const auto yesNo = [](bool value) {
        return SummaryEntry::Value{value ? QStringLiteral("Yes") : QStringLiteral("No"), value ? tr("Yes") : tr("No")};
    };
    const auto same = [](const QString& value) { return SummaryEntry::Value{value, value}; };
    // Stored one entry a line: an empty line would end the entry for the reader and lose
    // everything after it.
    const auto listField = [](const QString& value) {
        return SummaryEntry::Value{ListFieldEntries(value).join(QLatin1Char('\n')), value};
    };

    SummaryEntry::Value dirs;
    const QStringList missing = MissingDirectories();
    for (const QString& dir : ListedDirectories()) {
        dirs.Stored += dir + QLatin1Char('\n');
        dirs.Shown += (missing.contains(dir) ? tr("%1 (does not exist; left out of the run)").arg(dir) : dir)
                      + QLatin1Char('\n');
    }
    // The files an entry brings are part of the run as much as the fields; they are shown
    // where the run takes them from.
    const auto catalogueFile = [this](const QString& value, const char* folder) {
        return SummaryEntry::Value{value, value.isEmpty() ? tr("(none)") : CatalogueFilePath(value, QLatin1String(folder))};
    };
    return {{QT_TR_NOOP("Product:"), same(Product)},
            {QT_TR_NOOP("Personality Destination Directory:"), {PersonDestEdit->text(), ResolvedDestination()}},
            {QT_TR_NOOP("Personality Name:"), same(PersonNameEdit->text())},
            {QT_TR_NOOP("Personality File:"), same(PersonalityPath()), false, true},
            {QT_TR_NOOP("Compiler:"), same(CmpExeEdit->text())},
            {QT_TR_NOOP("Cross Compiler:"), yesNo(CrossCmpCheckBox->isChecked())},
            {QT_TR_NOOP("Compiler Output Flag:"), same(CmpExeFlagEdit->text())},
            {QT_TR_NOOP("Compiler Object File Generation Flag:"), same(CmpCmpFlagEdit->text())},
            {QT_TR_NOOP("Compiler Define Flag:"), same(CmpDefFlagEdit->text())},
            {QT_TR_NOOP("Object File Extension:"), same(CmpObjExtFlagEdit->text())},
            {QT_TR_NOOP("Reduce File Size:"), yesNo(ReduceFileSizeCheckBox->isChecked())},
            {QT_TR_NOOP("Compiler Header Directories:"), dirs, true},
            {QT_TR_NOOP("Compiler Defines:"), listField(CmpDefEdit->toPlainText())},
            {QT_TR_NOOP("Compiler Switches:"), listField(CmpSwtchEdit->toPlainText())},
            {QT_TR_NOOP("Template Personality File:"), catalogueFile(TemplateStr, "TemplatePersonalities"), false, true},
            {QT_TR_NOOP("Force Include File:"), catalogueFile(ForceIncludeStr, "ForceIncludeFiles"), false, true},
            {QT_TR_NOOP("Substitute Headers:"), catalogueFile(SubHeadersStr, "SubstituteHeaders"), false, true}};
}

QString KestrixWizard::SummaryEntriesText(const QList<SummaryEntry>& entries, bool shown) const
{
    // Each entry is its label, its value and an empty line; a list's items already end in
    // line ends, so only the empty line follows them. A field that settings.txt locked stays
    // locked there.
    QString text;
    for (const SummaryEntry& entry : entries) {
        if (entry.ShownOnly && !shown)
            continue;
        const QString label = QLatin1String(entry.Label);
        text += (shown ? tr(entry.Label) : LockedLabels.contains(label) ? label + QLatin1Char('*') : label) + QLatin1Char('\n');
        text += (shown ? entry.Text.Shown : entry.Text.Stored) + (entry.List ? QStringLiteral("\n") : QStringLiteral("\n\n"));
    }
    return text;
}

void KestrixWizard::BuildReviewText()
{
    const QList<SummaryEntry> entries = ReviewEntries();
    SummaryText->setPlainText(SummaryEntriesText(entries, true) + tr("Compiler Command Order:") + QLatin1Char('\n')
                              + CmpCmdOrder->text() + QLatin1Char('\n'));

    SettingsText = SummaryEntriesText(entries, false) + QLatin1String("Compiler Command Order:\n");
    for (int i = 0; i < CmpOrderListBox->count(); ++i) {
        const QListWidgetItem* item = CmpOrderListBox->item(i);
        const QVariant key = item->data(Qt::UserRole);
        SettingsText += (key.isValid() ? key.toString() : item->text()) + QLatin1Char('\n');
    }
    SettingsText += QLatin1Char('\n');

    // While the engine runs, its log stays in front and Generate stays off.
    if (EngineRunning())
        return;
    ReviewTabs->setCurrentWidget(SummaryTab);
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
    // The restriction of the catalogue is set by whoever deployed the wizard, never in the
    // wizard; it must outlive the first run.
    if (!FamilyRestriction.isEmpty())
        text += QLatin1String("\n") + Entry(QStringLiteral("Compiler Family Set:*"), FamilyRestriction);
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
        if (label.endsWith(QLatin1Char('*')))
            LockedLabels.append(label.chopped(1));
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
