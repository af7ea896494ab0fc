#include "KestrixWizard.h"

#include "SubPopupMenu.h"
#include "WizardDialogs.h"

#include <QAbstractButton>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QMenu>
#include <QToolButton>

namespace {

// Keys of the order items. They are stored in settings.txt, so they stay untranslated;
// the list shows their translation.
const char* const OrderKeys[] = {
    QT_TRANSLATE_NOOP("KestrixWizard", "Exe Command"),  QT_TRANSLATE_NOOP("KestrixWizard", "Output Flag"),
    QT_TRANSLATE_NOOP("KestrixWizard", "<exe file>"),   QT_TRANSLATE_NOOP("KestrixWizard", "Define Flag"),
    QT_TRANSLATE_NOOP("KestrixWizard", "Object Flag"), QT_TRANSLATE_NOOP("KestrixWizard", "<src file>")};

const char* const ImageNames[] = {"product_output", "compiler_command", "search_directories",
                                  "defines_switches", "review"};

QString OrderKey(const QListWidgetItem* item)
{
    const QVariant key = item->data(Qt::UserRole);
    return key.isValid() ? key.toString() : item->text();
}

} // namespace

QStringList DefaultCommandOrder()
{
    QStringList keys;
    for (const char* key : OrderKeys)
        keys.append(QLatin1String(key));
    return keys;
}

QString CommaSeparatedLines(const QString& text)
{
    QString value = text;
    value.replace(QLatin1Char('\n'), QLatin1Char(','));
    value.replace(QLatin1String(",,"), QLatin1String(","));
    return value;
}

KestrixWizard::KestrixWizard(QWidget* parent) : KestrixWizardBase(parent)
{
    TopMenu = new QMenu(this);
    DestTipMsg = tr("Destination folder for the Personality.");
    DestMissingMsg = tr("Destination folder does not exist please select a different folder.");
    CmdTipMsg = tr("Specify the command required to invoke the compiler from the command line.");
    CmdNotOnPathMsg = tr("Command specified is not on the path, please amend the path or fully qualify this command.");
    CmdSpecifyMsg = tr("Please complete the command as per the <specify> entries.");

    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::HaveHelpButton, false);
    for (QWizardPage* page : {static_cast<QWizardPage*>(Page0), static_cast<QWizardPage*>(Page1),
                              static_cast<QWizardPage*>(Page2), static_cast<QWizardPage*>(Page3),
                              static_cast<QWizardPage*>(Page4)})
        setNextEnabled(page, false);
    for (QLabel* preview : {CmpCmdOrder, SearchCompileCmdTxt, DefSwitchCompileCmdTxt})
        preview->setTextFormat(Qt::PlainText);
    // The error labels take room only while they have something to say.
    DestErrorLabel->setTextFormat(Qt::PlainText);
    DestErrorLabel->hide();
    CmpPathErrorLabel->setTextFormat(Qt::PlainText);
    CmpPathErrorLabel->hide();
    RestoreDefaultOrder();

    connect(ZanthRadioButton, &QRadioButton::clicked, this, &KestrixWizard::ProductRadioBtn_clicked);
    connect(ZANTHPPRadioButton, &QRadioButton::clicked, this, &KestrixWizard::ProductRadioBtn_clicked);
    connect(PersonDestBrowseBtn, &QPushButton::clicked, this, &KestrixWizard::PersonDestBrowseBtn_clicked);
    connect(PersonDestEdit, &QLineEdit::textChanged, this, &KestrixWizard::Page0LineEdit_textchanged);
    connect(PersonNameEdit, &QLineEdit::textChanged, this, &KestrixWizard::Page0LineEdit_textchanged);
    connect(CmpExeEdit, &QLineEdit::textChanged, this, &KestrixWizard::Page1LineEdit_textchanged);
    connect(CrossCmpCheckBox, &QCheckBox::clicked, this, &KestrixWizard::CrossCmpCheckBox_clicked);
    connect(CmpExeFlagChkBox, &QCheckBox::clicked, this, &KestrixWizard::CmpExeFlagChkBox_clicked);
    connect(CmpDefFlagChkBox, &QCheckBox::clicked, this, &KestrixWizard::CmpDefFlagChkBox_clicked);
    connect(CmdOrderUpBtn, &QPushButton::clicked, this, &KestrixWizard::CmdOrderUpBtn_clicked);
    connect(CmdOrderDwnBtn, &QPushButton::clicked, this, &KestrixWizard::CmdOrderDwnBtn_clicked);
    connect(CmpHdrDirAddBtn, &QPushButton::clicked, this, &KestrixWizard::CmpHdrDirAddBtn_clicked);
    connect(CmpHdrDirEditBtn, &QPushButton::clicked, this, &KestrixWizard::CmpHdrDirEditBtn_clicked);
    connect(CmpHdrDirDeleteBtn, &QPushButton::clicked, this, &KestrixWizard::CmpHdrDirDeleteBtn_clicked);
    connect(AddCompilerBtn, &QPushButton::clicked, this, &KestrixWizard::AddCompilerBtn_clicked);
    connect(SaveLogBtn, &QPushButton::clicked, this, &KestrixWizard::SaveLogBtn_clicked);
    // Pasted or programmatically set flags must show in the preview as well as typed ones.
    for (QLineEdit* flag : {CmpExeFlagEdit, CmpCmpFlagEdit, CmpDefFlagEdit})
        connect(flag, &QLineEdit::textChanged, this, &KestrixWizard::updateCmdOrder);
    ConnectNavigation();
    for (QWidget* watched : {static_cast<QWidget*>(CmpExeEdit), static_cast<QWidget*>(PersonDestEdit),
                             static_cast<QWidget*>(PersonNameEdit), static_cast<QWidget*>(CmpExeFlagEdit),
                             static_cast<QWidget*>(CmpCmpFlagEdit), static_cast<QWidget*>(CmpDefFlagEdit)})
        watched->installEventFilter(this);

    SelectedFamily.clear();
    SelectedName.clear();
    TemplateStr.clear();
    ForceIncludeStr.clear();
    SubHeadersStr.clear();
    Product = QStringLiteral("zanth");

    // The settings come first: they may restrict which families the catalogue shows.
    ReadSettings();
    PopulateCompilerList();
    BuildAndAssignMenusToMainMenu();
    ExeCommandBtn->setMenu(TopMenu);

    updateCmdOrder();
    ApplyCommandCheck();
    CheckPage0();

    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Base, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);
    for (WizardButton which : {QWizard::NextButton, QWizard::BackButton, QWizard::CancelButton, QWizard::FinishButton}) {
        QPalette buttonPalette = button(which)->palette();
        buttonPalette.setColor(QPalette::Button, Qt::white);
        button(which)->setPalette(buttonPalette);
    }
    LoadImages();
    ApplyProductFilter();
}

KestrixWizard::~KestrixWizard()
{
    if (EngineRunning()) {
        disconnect(Engine, nullptr, this, nullptr);
        Engine->kill();
        Engine->waitForFinished(3000);
    }
    ClearMenus();
}

void KestrixWizard::ConnectNavigation()
{
    struct PageButtons {
        QWizardPage* Page;
        const char* Prefix;
    };
    // The buttons of the search page carry P3_ and those of the defines page P2_.
    const PageButtons pages[] = {{Page0, "P0"}, {Page1, "P1"}, {Page2, "P3"}, {Page3, "P2"}, {Page4, "P4"}};
    const char* const roles[] = {"Prdct", "Cmp", "Srch", "Def", "Rev"};
    for (const PageButtons& page : pages) {
        for (int role = 0; role < RoleCount; ++role) {
            const QString name = QStringLiteral("%1_%2Btn").arg(QLatin1String(page.Prefix), QLatin1String(roles[role]));
            auto* btn = page.Page->findChild<QToolButton*>(name);
            if (!btn)
                continue;
            NavButtons.append({btn, NavRole(role)});
            btn->installEventFilter(this);
            const bool onPage0 = page.Page == Page0;
            const bool onPage1 = page.Page == Page1;
            void (KestrixWizard::*slot)() = nullptr;
            switch (role) {
            case RoleProduct: slot = &KestrixWizard::PrdctBtn_clicked; break;
            case RoleCompiler: slot = onPage0 ? &KestrixWizard::P0_CmpBtn_clicked : &KestrixWizard::CmpBtn_clicked; break;
            case RoleSearch:
                slot = onPage0 ? &KestrixWizard::P0_SrchBtn_clicked
                               : onPage1 ? &KestrixWizard::P1_SrchBtn_clicked : &KestrixWizard::SrchBtn_clicked;
                break;
            case RoleDefines:
                slot = onPage0 ? &KestrixWizard::P0_DefBtn_clicked
                               : onPage1 ? &KestrixWizard::P1_DefBtn_clicked : &KestrixWizard::DefBtn_clicked;
                break;
            default:
                slot = onPage0 ? &KestrixWizard::P0_RevBtn_clicked
                               : onPage1 ? &KestrixWizard::P1_RevBtn_clicked : &KestrixWizard::RevBtn_clicked;
                break;
            }
            connect(btn, &QToolButton::clicked, this, slot);
        }
    }
}

void KestrixWizard::LoadImages()
{
    const QString dir = QDir(QStringLiteral("..")).filePath(QStringLiteral("images"));
    for (int role = 0; role < RoleCount; ++role) {
        const QString base = QDir(dir).filePath(QLatin1String(ImageNames[role]));
        NormalImages[role] = QIcon(QPixmap(base + QLatin1String(".bmp")));
        ShadedImages[role] = QIcon(QPixmap(base + QLatin1String("_shd.bmp")));
    }
    for (const auto& [btn, role] : NavButtons)
        btn->setIcon(NormalImages[role]);
}

bool KestrixWizard::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease) {
        if (watched == PersonDestEdit || watched == PersonNameEdit)
            CheckPage0();
        else if (watched == CmpExeEdit)
            ApplyCommandCheck();
        else if (watched == CmpExeFlagEdit || watched == CmpCmpFlagEdit || watched == CmpDefFlagEdit)
            updateCmdOrder();
    } else if (event->type() == QEvent::Enter || event->type() == QEvent::Leave) {
        for (const auto& [btn, role] : NavButtons) {
            if (btn == watched) {
                btn->setIcon(event->type() == QEvent::Enter ? ShadedImages[role] : NormalImages[role]);
                break;
            }
        }
    }
    return KestrixWizardBase::eventFilter(watched, event);
}

void KestrixWizard::showPage(QWizardPage* target)
{
    for (int id : pageIds()) {
        if (page(id) == target) {
            if (currentId() != id) {
                // setCurrentId validates the page it leaves, as Next does; a jump must not
                // count as Next.
                Jumping = true;
                setCurrentId(id);
                Jumping = false;
            }
            return;
        }
    }
}

void KestrixWizard::setNextEnabled(QWizardPage* target, bool enabled)
{
    static_cast<WizardPage*>(target)->SetNextEnabled(enabled);
}

bool KestrixWizard::nextEnabled(QWizardPage* target) const
{
    return static_cast<WizardPage*>(target)->NextEnabled();
}

void KestrixWizard::SetFieldColour(QWidget* field, const QColor& colour)
{
    QPalette pal = field->palette();
    pal.setColor(QPalette::Text, colour);
    field->setPalette(pal);
}

bool KestrixWizard::CheckPage0()
{
    const QString dest = PersonDestEdit->text();
    const bool exists = !dest.isEmpty() && QFileInfo(dest).isDir();
    SetFieldColour(PersonDestEdit, exists ? QColor(0, 0, 0) : QColor(255, 0, 0));
    PersonDestEdit->setToolTip(exists ? DestTipMsg : DestMissingMsg);
    DestErrorLabel->setText(exists ? QString() : DestMissingMsg);
    DestErrorLabel->setVisible(!exists);
    const bool complete = exists && !PersonNameEdit->text().isEmpty();
    setNextEnabled(Page0, complete);
    return complete;
}

void KestrixWizard::ApplyCommandCheck()
{
    CommandValid = CheckCompilerOnPath();
    setNextEnabled(Page1, CommandValid);
    if (CommandValid) {
        setNextEnabled(Page2, true);
        setNextEnabled(Page3, true);
    }
}

void KestrixWizard::Page0LineEdit_textchanged()
{
    CheckPage0();
}

void KestrixWizard::Page1LineEdit_textchanged()
{
    ApplyCommandCheck();
    updateCmdOrder();
}

void KestrixWizard::ApplyProductFilter()
{
    for (SubPopupMenu* menu : SubMenus) {
        menu->EnableAll();
        menu->DisableByProduct(Product);
    }
}

void KestrixWizard::ProductRadioBtn_clicked()
{
    Product = ZanthRadioButton->isChecked() ? QStringLiteral("zanth") : QStringLiteral("zanthpp");
    ApplyProductFilter();

    QString message;
    if (Product == QLatin1String("zanth") && SelectedName.endsWith(QLatin1String("C++")))
        message = tr("You have selected Zanth for a currently selected C++ execution command.\nPlease reselect the Exe Command below.");
    else if (Product != QLatin1String("zanth") && SelectedName.endsWith(QLatin1String("C")))
        message = tr("You have selected Zanth++ for a currently selected C execution command.\nPlease reselect the Exe Command below.");
    if (message.isEmpty())
        return;
    WizardDialogs::Current().Information(this, tr("Compiler Personality Generator"), message);
    ResetCompilerPage();
}

void KestrixWizard::RestoreDefaultOrder()
{
    CmpOrderListBox->clear();
    for (const QString& key : DefaultCommandOrder())
        AppendOrderItem(key);
}

void KestrixWizard::AppendOrderItem(const QString& key)
{
    auto* item = new QListWidgetItem(tr(key.toUtf8().constData()), CmpOrderListBox);
    item->setData(Qt::UserRole, key);
}

void KestrixWizard::ResetCompilerPage()
{
    CmpExeEdit->clear();
    CrossCmpCheckBox->setChecked(false);
    CrossCmpCheckBox_clicked();
    CmpExeFlagEdit->clear();
    CmpCmpFlagEdit->clear();
    CmpDefFlagEdit->clear();
    RestoreDefaultOrder();
    ReduceFileSizeCheckBox->setChecked(false);
    TemplateStr.clear();
    ForceIncludeStr.clear();
    SubHeadersStr.clear();
    SelectedName.clear();
    updateCmdOrder();
}

void KestrixWizard::PersonDestBrowseBtn_clicked()
{
    const QString dir = WizardDialogs::Current().ExistingDirectory(
        this, tr("Select the Compiler Personality Destination Directory"), PersonDestEdit->text());
    if (!dir.isEmpty())
        PersonDestEdit->setText(dir);
}

void KestrixWizard::CrossCmpCheckBox_clicked()
{
    // A cross compiler's executables never run on this machine, so it has no output flag.
    const bool cross = CrossCmpCheckBox->isChecked();
    if (cross) {
        CmpExeFlagEdit->clear();
        CmpExeFlagChkBox->setChecked(false);
    }
    CmpExeFlagEdit->setEnabled(!cross);
    CmpExeFlagChkBox->setEnabled(!cross);
    updateCmdOrder();
}

void KestrixWizard::CmpExeFlagChkBox_clicked()
{
    updateCmdOrder();
}

void KestrixWizard::CmpDefFlagChkBox_clicked()
{
    updateCmdOrder();
}

void KestrixWizard::CmdOrderUpBtn_clicked()
{
    const int row = CmpOrderListBox->currentRow();
    if (row <= 0)
        return;
    CmpOrderListBox->insertItem(row - 1, CmpOrderListBox->takeItem(row));
    CmpOrderListBox->setCurrentRow(row - 1);
    updateCmdOrder();
}

void KestrixWizard::CmdOrderDwnBtn_clicked()
{
    const int row = CmpOrderListBox->currentRow();
    if (row < 0 || row >= CmpOrderListBox->count() - 1)
        return;
    CmpOrderListBox->insertItem(row + 1, CmpOrderListBox->takeItem(row));
    CmpOrderListBox->setCurrentRow(row + 1);
    updateCmdOrder();
}

void KestrixWizard::CmpHdrDirAddBtn_clicked()
{
    const QString dir = WizardDialogs::Current().ExistingDirectory(
        this, tr("Select The Compiler Header File Directory"), QString());
    if (!dir.isEmpty())
        CmpHdrDirListBox->addItem(dir);
}

void KestrixWizard::CmpHdrDirEditBtn_clicked()
{
    QListWidgetItem* item = CmpHdrDirListBox->currentItem();
    if (!item)
        return;
    const QString dir = WizardDialogs::Current().ExistingDirectory(
        this, tr("Select The Compiler Header File Directory"), item->text());
    if (!dir.isEmpty())
        item->setText(dir);
}

void KestrixWizard::CmpHdrDirDeleteBtn_clicked()
{
    delete CmpHdrDirListBox->currentItem();
}

void KestrixWizard::updateCmdOrder()
{
    QString preview;
    for (int i = 0; i < CmpOrderListBox->count(); ++i) {
        const QListWidgetItem* item = CmpOrderListBox->item(i);
        const QString key = OrderKey(item);
        if (key == QLatin1String("Exe Command"))
            preview += CmpExeEdit->text() + QLatin1Char(' ');
        else if (key == QLatin1String("Output Flag"))
            preview += CmpExeFlagEdit->text() + (CmpExeFlagChkBox->isChecked() ? QStringLiteral(" ") : QString());
        else if (key == QLatin1String("Define Flag"))
            preview += CmpDefFlagEdit->text() + (CmpDefFlagChkBox->isChecked() ? QStringLiteral(" ") : QString())
                       + QLatin1String("XXX ");
        else if (key == QLatin1String("Object Flag"))
            preview += CmpCmpFlagEdit->text() + QLatin1Char(' ');
        else
            preview += item->text() + QLatin1Char(' ');
    }
    CmpCmdOrder->setText(preview);
    SearchCompileCmdTxt->setText(tr("Compile Command - ") + preview);
    DefSwitchCompileCmdTxt->setText(tr("Compile Command - ") + preview);
}

QString KestrixWizard::getCmdOrderStr() const
{
    QString order;
    for (int i = 0; i < CmpOrderListBox->count(); ++i) {
        const QString key = OrderKey(CmpOrderListBox->item(i));
        if (key == QLatin1String("Exe Command"))
            order += QLatin1String("%c ");
        else if (key == QLatin1String("Output Flag"))
            order += CmpExeFlagChkBox->isChecked() ? QLatin1String("%o ") : QLatin1String("%o");
        else if (key == QLatin1String("<exe file>"))
            order += QLatin1String("%e ");
        else if (key == QLatin1String("Define Flag"))
            order += CmpDefFlagChkBox->isChecked() ? QLatin1String("%d ") : QLatin1String("%d");
        else if (key == QLatin1String("Object Flag"))
            order += QLatin1String("%j ");
        else if (key == QLatin1String("<src file>"))
            order += QLatin1String("%s ");
    }
    return order;
}

// Navigation. The generic slots serve the pages whose buttons need no check.
void KestrixWizard::PrdctBtn_clicked()
{
    showPage(Page0);
}

void KestrixWizard::CmpBtn_clicked()
{
    showPage(Page1);
}

void KestrixWizard::SrchBtn_clicked()
{
    showPage(Page2);
}

void KestrixWizard::DefBtn_clicked()
{
    showPage(Page3);
}

void KestrixWizard::RevBtn_clicked()
{
    // On the review page itself the text shown is the log of the last run; rebuilding the
    // summary there would throw that log away.
    if (currentPage() == Page4)
        return;
    BuildReviewText();
    showPage(Page4);
}

void KestrixWizard::P0_CmpBtn_clicked()
{
    if (nextEnabled(Page0))
        showPage(Page1);
}

void KestrixWizard::P0_SrchBtn_clicked()
{
    if (nextEnabled(Page0) && CommandValid)
        showPage(Page2);
}

void KestrixWizard::P0_DefBtn_clicked()
{
    if (nextEnabled(Page0) && CommandValid)
        showPage(Page3);
}

void KestrixWizard::P0_RevBtn_clicked()
{
    // The summary is rebuilt here too: settings.txt is written from it after the run, so a
    // stale summary would store stale settings.
    if (nextEnabled(Page0) && CommandValid)
        RevBtn_clicked();
}

void KestrixWizard::P1_SrchBtn_clicked()
{
    if (nextEnabled(Page1))
        showPage(Page2);
}

void KestrixWizard::P1_DefBtn_clicked()
{
    if (nextEnabled(Page1))
        showPage(Page3);
}

void KestrixWizard::P1_RevBtn_clicked()
{
    if (nextEnabled(Page1))
        RevBtn_clicked();
}

void KestrixWizard::next()
{
    QWizard::next();
}

bool KestrixWizard::validateCurrentPage()
{
    // Leaving the defines page forward leads to the review page, which shows the summary.
    if (currentPage() == Page3 && !Jumping)
        BuildReviewText();
    return KestrixWizardBase::validateCurrentPage();
}
