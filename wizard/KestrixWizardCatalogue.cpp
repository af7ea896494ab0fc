#include "wizard/KestrixWizard.h"

#include "common/AtomicFileQt.h"
#include "wizard/CompilerDirectories.h"
#include "wizard/SaveCompilerDetails.h"
#include "wizard/SubPopupMenu.h"
#include "wizard/WizardDialogs.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QUrl>

namespace {

const QString CatalogueFile = QStringLiteral("compilers.txt");
const QString DownloadMarker = QStringLiteral("Integration - ");
// Where integration packages are offered; the package name is appended as it stands.
const QString DownloadAddress = QStringLiteral("https://www.kestrix.org/downloads/Windows/");

} // namespace

void KestrixWizard::PopulateCompilerList()
{
    QString text;
    if (!ReadTextFile(CatalogueFile, text))
        return;
    CompilerCatalogue catalogue{FamilyList, CompilerList};
    ReadCompilerCatalogue(text, catalogue);
    FamilyList = catalogue.Families;
    CompilerList = catalogue.Compilers;
}

bool KestrixWizard::SaveCompilerList(QString* error)
{
    return WriteTextFileAtomically(CatalogueFile, CompilerCatalogueText({FamilyList, CompilerList}), error);
}

void KestrixWizard::ClearMenus()
{
    TopMenu->clear();
    for (SubPopupMenu* menu : SubMenus)
        delete menu;
    SubMenus.clear();
}

void KestrixWizard::BuildAndAssignMenusToMainMenu()
{
    for (const QString& family : FamilyList) {
        if (!FamilyRestriction.isEmpty() && !FamilyRestriction.contains(family))
            continue;
        auto* menu = new SubPopupMenu(this, family);
        QPalette white = menu->palette();
        white.setColor(QPalette::Button, Qt::white);
        white.setColor(QPalette::Window, Qt::white);
        menu->setPalette(white);
        menu->setAutoFillBackground(true);
        for (const Compiler& entry : CompilerList) {
            if (entry.Family == family)
                menu->InsertItem(entry.Name);
        }
        SubMenus.append(menu);
        TopMenu->addMenu(menu);
    }
}

void KestrixWizard::LoadCompilerSettings(const QString& family, const QString& name)
{
    // With duplicates the last entry of that family and name is the one that counts.
    for (auto it = CompilerList.crbegin(); it != CompilerList.crend(); ++it) {
        const Compiler& entry = *it;
        if (entry.Family != family || entry.Name != name)
            continue;

        if (entry.Template.contains(DownloadMarker)) {
            const QString package = entry.Template.mid(DownloadMarker.size());
            WizardDialogs::Current().Information(
                nullptr, tr("Compiler Personality Generator"),
                tr("The generator will now close and take you to the download site for the latest integration package to be installed.")
                    + QLatin1String("\n(") + DownloadAddress + package + QLatin1Char(')'));
            WizardDialogs::Current().OpenUrl(QUrl(DownloadAddress + package));
            reject();
            return;
        }

        CmpExeEdit->setText(entry.ExeCommand);
        CrossCmpCheckBox->setChecked(entry.CrossCompiler == QLatin1String("yes"));
        CrossCmpCheckBox_clicked();
        CmpExeFlagEdit->setText(entry.OutputFlag);
        CmpCmpFlagEdit->setText(entry.ObjectFlag);
        CmpDefFlagEdit->setText(entry.DefineFlag);
        CmpObjExtFlagEdit->setText(entry.ObjectFileExtension);
        ReduceFileSizeCheckBox->setChecked(entry.ReduceFileSize == QLatin1String("yes"));

        CmpOrderListBox->clear();
        const QStringList sections = entry.Order.split(QLatin1Char('%'));
        for (int i = 0; i < 7; ++i) {
            const QString section = i < sections.size() ? sections[i] : QString();
            const bool blankAfter = section.endsWith(QLatin1Char(' '));
            if (section.contains(QLatin1Char('c'))) {
                AppendOrderItem(QStringLiteral("Exe Command"));
            } else if (section.contains(QLatin1Char('j'))) {
                AppendOrderItem(QStringLiteral("Object Flag"));
            } else if (section.contains(QLatin1Char('d'))) {
                AppendOrderItem(QStringLiteral("Define Flag"));
                CmpDefFlagChkBox->setChecked(blankAfter);
            } else if (section.contains(QLatin1Char('o'))) {
                AppendOrderItem(QStringLiteral("Output Flag"));
                CmpExeFlagChkBox->setChecked(blankAfter);
            } else if (section.contains(QLatin1Char('e'))) {
                AppendOrderItem(QStringLiteral("<exe file>"));
            } else if (section.contains(QLatin1Char('s'))) {
                AppendOrderItem(QStringLiteral("<src file>"));
            }
        }
        updateCmdOrder();

        CmpDefEdit->setPlainText(entry.CompilerDefines);
        CmpSwtchEdit->setPlainText(entry.CompilerSwitches);
        TemplateStr = entry.Template;
        ForceIncludeStr = entry.ForceIncludeFile;
        SubHeadersStr = entry.SubHeaders;
        SelectedFamily = family;
        SelectedName = name;
        OfferEntryDirectories(entry);
        UpdateSaveCompiler();
        return;
    }
}

void KestrixWizard::OfferEntryDirectories(const Compiler& entry)
{
    // The directories listed so far belong to the compiler chosen before. An entry brings
    // its own; one without them is asked for by asking its compiler, when it can be run.
    QStringList dirs = entry.HeaderDirectories;
    QString source = tr("the catalogue entry \"%1\"").arg(entry.Name);
    if (dirs.isEmpty() && CommandValid) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        dirs = FindCompilerDirectories(SearchDirsScript(), CmpExeEdit->text().simplified(), Language(), SwitchList(), nullptr);
        QApplication::restoreOverrideCursor();
        if (!dirs.isEmpty())
            source = tr("the compiler \"%1\"").arg(CmpExeEdit->text().simplified());
    }
    ProposeDirectories(dirs, source);
}

Compiler KestrixWizard::CompilerFromPages(const Compiler& base) const
{
    Compiler entry = base;
    entry.ExeCommand = CmpExeEdit->text();
    entry.CrossCompiler = CrossCmpCheckBox->isChecked() ? QStringLiteral("yes") : QStringLiteral("no");
    entry.OutputFlag = CmpExeFlagEdit->text();
    entry.DefineFlag = CmpDefFlagEdit->text();
    entry.ObjectFlag = CmpCmpFlagEdit->text();
    entry.ObjectFileExtension = CmpObjExtFlagEdit->text();
    entry.Order = getCmdOrderStr();
    entry.ReduceFileSize = ReduceFileSizeCheckBox->isChecked() ? QStringLiteral("yes") : QStringLiteral("no");
    entry.CompilerDefines = CommaSeparatedLines(CmpDefEdit->toPlainText());
    entry.CompilerSwitches = CommaSeparatedLines(CmpSwtchEdit->toPlainText());
    entry.Template = TemplateStr;
    entry.ForceIncludeFile = ForceIncludeStr;
    entry.SubHeaders = SubHeadersStr;
    entry.HeaderDirectories = ListedDirectories();
    return entry;
}

Compiler KestrixWizard::WithRunSettings(const Compiler& base) const
{
    // The settings that a successful run has proven, not what the pages hold by now: all
    // of them, the files that came with the entry included, or an entry would describe a
    // mix of two compilers.
    Compiler entry = base;
    for (int f = 2; f < Compiler::FieldCount; ++f) // ExeCommand to SubHeaders
        entry.Field(f) = RunCompiler.Field(f);
    entry.HeaderDirectories = RunCompiler.HeaderDirectories;
    return entry;
}

bool KestrixWizard::PagesMatchRun() const
{
    if (!RunSucceeded || Product != RunProduct)
        return false;
    const Compiler pages = CompilerFromPages(Compiler());
    for (int f = 2; f < Compiler::FieldCount; ++f) {
        // Blanks around a field are dropped before every run, so they make no difference.
        if (pages.Field(f).trimmed() != RunCompiler.Field(f).trimmed())
            return false;
    }
    return pages.HeaderDirectories == RunCompiler.HeaderDirectories;
}

void KestrixWizard::UpdateSaveCompiler()
{
    const bool match = !EngineRunning() && PagesMatchRun();
    AddCompilerBtn->setEnabled(match);
    if (match)
        AddCompilerBtn->setToolTip(tr("Stores the settings of the last run, which wrote %1, in the compiler catalogue.").arg(RunPersonality));
    else if (RunSucceeded && !EngineRunning())
        AddCompilerBtn->setToolTip(tr("The pages no longer hold the settings of the last successful run. Press Generate with these settings before saving them, or put the settings of that run back."));
    else
        AddCompilerBtn->setToolTip(tr("Available after a successful run: only settings that have produced a personality are stored."));
}

void KestrixWizard::AddCompilerBtn_clicked()
{
    SaveCompilerDetails dialog(this);
    dialog.setModal(true);
    // The entry the run's settings came from is offered, whatever was chosen since.
    dialog.SetCatalogue(FamilyList, CompilerList, RunFamily, RunName);
    WizardDialogs::Current().RunModal(dialog);
    const QString family = dialog.ResultFamily();
    const QString name = dialog.ResultName();
    if (family.isEmpty() || name.isEmpty())
        return;

    Compiler* existing = nullptr;
    if (FamilyList.contains(family)) {
        for (Compiler& entry : CompilerList) {
            if (entry.Family == family && entry.Name == name) {
                existing = &entry;
                break;
            }
        }
    } else {
        FamilyList.append(family);
    }
    if (existing) {
        *existing = WithRunSettings(*existing);
    } else {
        Compiler fresh;
        fresh.Name = name;
        fresh.Family = family;
        CompilerList.append(WithRunSettings(fresh));
    }

    QString error;
    const bool saved = SaveCompilerList(&error);
    ClearMenus();
    if (saved) {
        // The menus show what the file now holds.
        FamilyList.clear();
        CompilerList.clear();
        PopulateCompilerList();
        WizardDialogs::Current().Information(
            this, tr("Compiler Personality Generator"),
            tr("The settings of the last run are saved in the catalogue %1 as the compiler \"%2\" of the family \"%3\".")
                .arg(QDir::current().absoluteFilePath(CatalogueFile), name, family));
    } else {
        // The entry stays in memory, and in the menus, so that the user can save again
        // once the file can be written.
        WizardDialogs::Current().Critical(
            this, tr("Compiler Personality Generator"),
            tr("The compiler catalogue %1 could not be written: %2\n\nThe entry \"%3\" is kept for this session; press \"Save Compiler\" again once the file can be written.")
                .arg(QDir::current().absoluteFilePath(CatalogueFile), error, name));
    }
    BuildAndAssignMenusToMainMenu();
    ExeCommandBtn->setMenu(TopMenu);
    ApplyProductFilter();
    SelectedName = name;
    SelectedFamily = family;
    RunName = name;
    RunFamily = family;
}
