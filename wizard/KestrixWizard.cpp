#include "wizard/KestrixWizard.h"

#include "wizard/CommandPreview.h"
#include "wizard/CompilerDirectories.h"
#include "wizard/ProcessGroup.h"
#include "wizard/SubPopupMenu.h"
#include "wizard/UserPath.h"
#include "wizard/WizardDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <csignal>

namespace {

// Keys of the order items. They are stored in settings.txt, so they stay untranslated;
// the list shows their translation.
const char* const OrderKeys[] = {
    QT_TRANSLATE_NOOP("KestrixWizard", "Exe Command"),  QT_TRANSLATE_NOOP("KestrixWizard", "Output Flag"),
    QT_TRANSLATE_NOOP("KestrixWizard", "<exe file>"),   QT_TRANSLATE_NOOP("KestrixWizard", "Define Flag"),
    QT_TRANSLATE_NOOP("KestrixWizard", "Object Flag"), QT_TRANSLATE_NOOP("KestrixWizard", "<src file>")};

const char* const ImageNames[] = {"product_output", "compiler_command", "search_directories",
                                  "defines_switches", "review"};

// The define every probe adds, shown in the command preview.
const QString ExampleDefine = QStringLiteral("EXAMPLE=1");

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

QStringList ListFieldEntries(const QString& text)
{
    QStringList entries;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        for (const QString& piece : line.split(QLatin1Char(','))) {
            const QString entry = piece.trimmed();
            if (!entry.isEmpty())
                entries.append(entry);
        }
    }
    return entries;
}

QString CommaSeparatedLines(const QString& text)
{
    return ListFieldEntries(text).join(QLatin1Char(','));
}

KestrixWizard::KestrixWizard(QWidget* parent) : KestrixWizardBase(parent)
{
    TopMenu = new QMenu(this);
    DestTipMsg = tr("Destination folder for the Personality.");
    DestMissingMsg = tr("Destination folder does not exist please select a different folder.");
    CmdTipMsg = tr("Specify the command required to invoke the compiler from the command line.");
    CmdNotOnPathMsg = tr("Command specified is not on the path, please amend the path or fully qualify this command.");
    CmdSpecifyMsg = tr("Please complete the command as per the <specify> entries.");
    NameSlashMsg = tr("The personality name is a file name and cannot contain \"/\"; choose the folder as the destination.");

    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::HaveHelpButton, false);
    // The button that starts a run says so.
    setButtonText(QWizard::FinishButton, tr("&Generate"));
    // The state of the run shows in the button row, whatever page is open.
    RunStatusBtn = new QPushButton(this);
    RunStatusBtn->setObjectName(QStringLiteral("RunStatusBtn"));
    RunStatusBtn->setFlat(true);
    setButton(QWizard::CustomButton1, RunStatusBtn);
    setButtonLayout({QWizard::CustomButton1, QWizard::Stretch, QWizard::BackButton, QWizard::NextButton,
                     QWizard::FinishButton, QWizard::CancelButton});
    RunTicker = new QTimer(this);
    RunTicker->setInterval(1000);
    connect(RunTicker, &QTimer::timeout, this, &KestrixWizard::UpdateRunStatus);
    for (QWizardPage* page : {static_cast<QWizardPage*>(Page0), static_cast<QWizardPage*>(Page1),
                              static_cast<QWizardPage*>(Page2), static_cast<QWizardPage*>(Page3),
                              static_cast<QWizardPage*>(Page4)})
        setNextEnabled(page, false);
    for (QLabel* preview : {CmpCmdOrder, SearchCompileCmdTxt, DefSwitchCompileCmdTxt}) {
        preview->setTextFormat(Qt::PlainText);
        // The two commands wrap in a narrow window; the window's smallest size must leave
        // room for that, or the fields above are squeezed instead.
        preview->ensurePolished();
        preview->setMinimumHeight(3 * preview->fontMetrics().lineSpacing() + 12);
    }
    // A flag such as "-mmcu=" must be readable in its field at the smallest window size.
    for (QLineEdit* flag : {CmpExeFlagEdit, CmpDefFlagEdit, CmpCmpFlagEdit, CmpObjExtFlagEdit})
        flag->setMinimumWidth(flag->fontMetrics().horizontalAdvance(QStringLiteral("-mmcu=xx")) + 16);
    // The review page keeps a few lines of the log in sight however small the window.
    ReviewTabs->setMinimumHeight(8 * DetailsText->fontMetrics().lineSpacing() + 40);
    // The error labels take room only while they have something to say.
    DestErrorLabel->setTextFormat(Qt::PlainText);
    DestErrorLabel->hide();
    CmpPathErrorLabel->setTextFormat(Qt::PlainText);
    CmpPathErrorLabel->hide();
    // The exported files are shown once there are some.
    ReviewTabs->setTabVisible(ReviewTabs->indexOf(ExportTab), false);
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
    connect(CmpHdrDirFindBtn, &QPushButton::clicked, this, &KestrixWizard::CmpHdrDirFindBtn_clicked);
    connect(AddCompilerBtn, &QPushButton::clicked, this, &KestrixWizard::AddCompilerBtn_clicked);
    connect(SaveLogBtn, &QPushButton::clicked, this, &KestrixWizard::SaveLogBtn_clicked);
    connect(StopBtn, &QPushButton::clicked, this, &KestrixWizard::StopBtn_clicked);
    connect(RunStatusBtn, &QPushButton::clicked, this, &KestrixWizard::RunStatusBtn_clicked);
    connect(ExportBtn, &QPushButton::clicked, this, &KestrixWizard::ExportBtn_clicked);
    // "Save Compiler" follows every change of the pages: it stores the settings of the last
    // run only while the pages still hold them.
    for (QLineEdit* field : {CmpExeEdit, CmpExeFlagEdit, CmpCmpFlagEdit, CmpDefFlagEdit, CmpObjExtFlagEdit})
        connect(field, &QLineEdit::textChanged, this, &KestrixWizard::UpdateSaveCompiler);
    for (QAbstractButton* box : {static_cast<QAbstractButton*>(CrossCmpCheckBox), static_cast<QAbstractButton*>(CmpExeFlagChkBox),
                                 static_cast<QAbstractButton*>(CmpDefFlagChkBox), static_cast<QAbstractButton*>(ReduceFileSizeCheckBox)})
        connect(box, &QAbstractButton::toggled, this, &KestrixWizard::UpdateSaveCompiler);
    for (QPlainTextEdit* list : {CmpSwtchEdit, CmpDefEdit})
        connect(list, &QPlainTextEdit::textChanged, this, &KestrixWizard::UpdateSaveCompiler);
    for (QListWidget* list : {CmpHdrDirListBox, CmpOrderListBox}) {
        QAbstractItemModel* model = list->model();
        connect(model, &QAbstractItemModel::rowsInserted, this, &KestrixWizard::UpdateSaveCompiler);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &KestrixWizard::UpdateSaveCompiler);
        connect(model, &QAbstractItemModel::rowsMoved, this, &KestrixWizard::UpdateSaveCompiler);
        connect(model, &QAbstractItemModel::dataChanged, this, &KestrixWizard::UpdateSaveCompiler);
        connect(model, &QAbstractItemModel::modelReset, this, &KestrixWizard::UpdateSaveCompiler);
    }
    // Pasted or programmatically set flags must show in the preview, and count for the
    // page check, as well as typed ones.
    for (QLineEdit* flag : {CmpExeFlagEdit, CmpCmpFlagEdit, CmpDefFlagEdit})
        connect(flag, &QLineEdit::textChanged, this, &KestrixWizard::Page1LineEdit_textchanged);
    // The switches and defines are part of every command the preview shows.
    for (QPlainTextEdit* list : {CmpSwtchEdit, CmpDefEdit})
        connect(list, &QPlainTextEdit::textChanged, this, &KestrixWizard::updateCmdOrder);
    // Directories may come and go while the wizard is open.
    connect(this, &QWizard::currentIdChanged, this, [this] {
        if (currentPage() == Page2)
            MarkMissingDirectories();
        UpdateNextReason();
        FitRunStatus();
    });
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
    if (PersonDestEdit->text().isEmpty() && PersonDestEdit->isEnabled())
        PersonDestEdit->setText(QDir::homePath());
    MarkMissingDirectories();
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
    UpdateSaveCompiler();
    KeepWrappedLabelsWhole();
}

void KestrixWizard::KeepWrappedLabelsWhole()
{
    // A wrapped label asks for the height of its text at the width it has now; the window's
    // smallest size is worked out from that, and at a narrower width the label's extra lines
    // are taken from the fields below it, which are then cut in half. Each is given the
    // height its text needs at a width narrower than any page allows.
    constexpr int NarrowestText = 500;
    for (QLabel* label : findChildren<QLabel*>()) {
        if (label->wordWrap())
            label->setMinimumHeight(label->text().isEmpty() ? 0 : label->heightForWidth(NarrowestText));
    }
}

KestrixWizard::~KestrixWizard()
{
    // The lists empty themselves as they go, after this object's part is gone.
    for (QListWidget* list : {CmpHdrDirListBox, CmpOrderListBox})
        disconnect(list->model(), nullptr, this, nullptr);
    if (EngineRunning()) {
        disconnect(Engine, nullptr, this, nullptr);
        SignalProcessGroup(EnginePid, SIGTERM);
        if (!Engine->waitForFinished(StopGraceMs))
            SignalProcessGroup(EnginePid, SIGKILL);
        Engine->waitForFinished(1000);
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
            // Alt+1 to Alt+5 work on every page; only the shown page's buttons take them.
            btn->setShortcut(QKeySequence(Qt::ALT | Qt::Key(Qt::Key_1 + role)));
            btn->setToolTip(tr("%1 (Alt+%2)").arg(btn->toolTip()).arg(role + 1));
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

void KestrixWizard::keyPressEvent(QKeyEvent* event)
{
    // Escape reaches the wizard from any field that does not use it, the directory list
    // among them; pressed by habit there it must not end the wizard unasked. (During a run
    // closing asks anyway.)
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && !EngineRunning()) {
        if (WizardDialogs::Current().Question(this, tr("Compiler Personality Generator"),
                                              tr("Close the wizard? The settings entered are kept for the next start.")))
            reject();
        return;
    }
    KestrixWizardBase::keyPressEvent(event);
}

void KestrixWizard::showPage(QWizardPage* target)
{
    qsizetype to = -1;
    for (int id : pageIds()) {
        if (page(id) == target)
            to = pageIds().indexOf(id);
    }
    if (to < 0)
        return;
    // A jump walks the pages one by one, so that the wizard's history stays the straight
    // line that Back follows. Leaving a page forward validates it, as Next does; a jump
    // must not count as Next.
    Jumping = true;
    while (pageIds().indexOf(currentId()) < to) {
        const int before = currentId();
        QWizard::next();
        if (currentId() == before)
            break;
    }
    while (pageIds().indexOf(currentId()) > to) {
        const int before = currentId();
        QWizard::back();
        if (currentId() == before)
            break;
    }
    Jumping = false;
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

QString KestrixWizard::ResolvedDestination() const
{
    return ResolveUserPath(PersonDestEdit->text());
}

bool KestrixWizard::CheckPage0()
{
    const QString dest = ResolvedDestination();
    const bool exists = !dest.isEmpty() && QFileInfo(dest).isDir();
    // An empty field is not yet an error: it only keeps Next off.
    const bool destOk = exists || dest.isEmpty();
    SetFieldColour(PersonDestEdit, destOk ? QColor(0, 0, 0) : QColor(255, 0, 0));
    PersonDestEdit->setToolTip(!destOk ? DestMissingMsg
                               : dest == PersonDestEdit->text() || dest.isEmpty() ? DestTipMsg
                                                                                  : DestTipMsg + QLatin1Char('\n') + dest);
    const QString name = PersonNameEdit->text();
    const bool nameOk = !name.contains(QLatin1Char('/'));
    SetFieldColour(PersonNameEdit, nameOk ? QColor(0, 0, 0) : QColor(255, 0, 0));

    QStringList problems;
    if (!destOk)
        problems << DestMissingMsg;
    if (!nameOk)
        problems << NameSlashMsg;
    const bool complete = exists && nameOk && !name.trimmed().isEmpty();
    // Next is never off without a word: what is still missing is said in grey, what is
    // wrong in red.
    QStringList missing;
    if (problems.isEmpty() && dest.isEmpty())
        missing << tr("Enter the destination folder of the personality to go on.");
    if (problems.isEmpty() && name.trimmed().isEmpty())
        missing << tr("Enter the personality name to go on.");
    ShowPageMessage(DestErrorLabel, problems.isEmpty() ? missing : problems, !problems.isEmpty());
    setNextEnabled(Page0, complete);
    UpdateNextReason();
    return complete;
}

void KestrixWizard::ApplyCommandCheck()
{
    CommandValid = CheckCompilerOnPath();
    QStringList problems;
    if (!CommandProblem.isEmpty())
        problems << CommandProblem;
    // Every probe defines macros and compiles to an object, so the run cannot do without
    // these two flags.
    if (!CmpExeEdit->text().isEmpty()) {
        if (CmpDefFlagEdit->text().trimmed().isEmpty())
            problems << tr("The define flag is empty: every test defines macros with it (for example -D).");
        if (CmpCmpFlagEdit->text().trimmed().isEmpty())
            problems << tr("The object flag is empty: every test compiles to an object file with it (for example -c).");
    }
    CompilerPageComplete = CommandValid && problems.isEmpty();
    if (CmpExeEdit->text().isEmpty())
        ShowPageMessage(CmpPathErrorLabel,
                        {tr("Enter the compiler command, or choose one with the Catalogue button, to go on.")}, false);
    else
        ShowPageMessage(CmpPathErrorLabel, problems, true);
    for (QWizardPage* page : {static_cast<QWizardPage*>(Page1), static_cast<QWizardPage*>(Page2),
                              static_cast<QWizardPage*>(Page3)})
        setNextEnabled(page, CompilerPageComplete);
    UpdateNextReason();
}

void KestrixWizard::ShowPageMessage(QLabel* label, const QStringList& lines, bool error)
{
    label->setText(lines.join(QLatin1Char('\n')));
    label->setMinimumHeight(lines.isEmpty() ? 0 : label->heightForWidth(500));
    label->setStyleSheet(error ? QStringLiteral("color: rgb(200, 0, 0);") : QStringLiteral("color: rgb(90, 90, 90);"));
    label->setVisible(!lines.isEmpty());
}

void KestrixWizard::UpdateNextReason()
{
    // A disabled Next says why in its tooltip, whichever page is shown.
    QString reason;
    QWizardPage* shown = currentPage();
    if (shown == Page0 && !nextEnabled(Page0))
        reason = DestErrorLabel->text();
    else if ((shown == Page1 || shown == Page2 || shown == Page3) && !CompilerPageComplete)
        reason = CmpPathErrorLabel->text().isEmpty() ? tr("The compiler page is not complete.") : CmpPathErrorLabel->text();
    button(QWizard::NextButton)->setToolTip(reason);
    if (shown == Page4)
        button(QWizard::FinishButton)->setToolTip(
            EngineRunning() ? tr("A run is in progress; Generate is available again when it ends.")
                            : tr("Runs Kestrix with these settings and writes %1.").arg(PersonalityPath()));
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
    updateCmdOrder();
    // A personality for the other language is another run's result.
    UpdateSaveCompiler();

    if (SelectedName.isEmpty() || CompilerNameFitsProduct(SelectedName, Product))
        return;
    // The entry's settings go together or stay together: a half-cleared page would mix two
    // compilers.
    const bool toC = Product == QLatin1String("zanth");
    const QString question =
        (toC ? tr("The compiler \"%1\" was chosen from the catalogue for C++, and Zanth analyses C.")
             : tr("The compiler \"%1\" was chosen from the catalogue for C, and Zanth++ analyses C++."))
            .arg(SelectedName)
        + QLatin1String("\n\n")
        + tr("Clear everything that came with it (the command, flags, object file extension, switches, defines, header directories and its files), so that another compiler can be chosen with the Catalogue button on the Compiler page?\n\nNo keeps the settings as they are.");
    if (WizardDialogs::Current().Question(this, tr("Compiler Personality Generator"), question, true))
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
    CmpExeFlagChkBox->setChecked(false);
    CmpCmpFlagEdit->clear();
    CmpDefFlagEdit->clear();
    CmpDefFlagChkBox->setChecked(false);
    CmpObjExtFlagEdit->clear();
    RestoreDefaultOrder();
    ReduceFileSizeCheckBox->setChecked(false);
    CmpSwtchEdit->clear();
    CmpDefEdit->clear();
    CmpHdrDirListBox->clear();
    TemplateStr.clear();
    ForceIncludeStr.clear();
    SubHeadersStr.clear();
    SelectedFamily.clear();
    SelectedName.clear();
    updateCmdOrder();
    ApplyCommandCheck();
    UpdateSaveCompiler();
}

QString KestrixWizard::ChooseDirectory(const QString& caption, const QString& start)
{
    const QString dir = WizardDialogs::Current().ExistingDirectory(this, caption, start);
    if (!dir.isEmpty())
        LastBrowseDir = dir;
    return dir;
}

void KestrixWizard::PersonDestBrowseBtn_clicked()
{
    const QString typed = PersonDestEdit->text().trimmed();
    const QString dir = ChooseDirectory(tr("Select the Compiler Personality Destination Directory"),
                                        ChooserStart(typed.isEmpty() ? LastBrowseDir : typed));
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
    const QString dir = ChooseDirectory(tr("Select The Compiler Header File Directory"), ChooserStart(LastBrowseDir));
    if (!dir.isEmpty()) {
        CmpHdrDirListBox->addItem(dir);
        MarkMissingDirectories();
    }
}

void KestrixWizard::CmpHdrDirEditBtn_clicked()
{
    QListWidgetItem* item = CmpHdrDirListBox->currentItem();
    if (!item)
        return;
    const QString dir = ChooseDirectory(tr("Select The Compiler Header File Directory"), ChooserStart(item->text()));
    if (!dir.isEmpty()) {
        item->setText(dir);
        MarkMissingDirectories();
    }
}

void KestrixWizard::CmpHdrDirDeleteBtn_clicked()
{
    delete CmpHdrDirListBox->currentItem();
}

QStringList KestrixWizard::ListedDirectories() const
{
    QStringList dirs;
    for (int i = 0; i < CmpHdrDirListBox->count(); ++i)
        dirs.append(CmpHdrDirListBox->item(i)->text());
    return dirs;
}

QStringList KestrixWizard::MissingDirectories() const
{
    QStringList missing;
    for (const QString& dir : ListedDirectories()) {
        if (!QFileInfo(dir).isDir())
            missing.append(dir);
    }
    return missing;
}

void KestrixWizard::MarkMissingDirectories()
{
    const QStringList missing = MissingDirectories();
    for (int i = 0; i < CmpHdrDirListBox->count(); ++i) {
        QListWidgetItem* item = CmpHdrDirListBox->item(i);
        const bool gone = missing.contains(item->text());
        item->setForeground(gone ? QBrush(QColor(255, 0, 0)) : QBrush());
        item->setToolTip(gone ? tr("%1 does not exist; a run leaves it out.").arg(item->text()) : QString());
    }
}

QString KestrixWizard::Language() const
{
    return ZanthRadioButton->isChecked() ? QStringLiteral("c") : QStringLiteral("c++");
}

QStringList KestrixWizard::SwitchList() const
{
    return ListFieldEntries(CmpSwtchEdit->toPlainText());
}

bool KestrixWizard::ProposeDirectories(const QStringList& dirs, const QString& source, bool keepListed)
{
    WizardDialogs& dialogs = WizardDialogs::Current();
    const QString caption = tr("Search Directories");
    const QStringList listed = ListedDirectories();
    if (dirs == listed)
        return true;
    QStringList chosen = dirs;
    if (!listed.isEmpty() && keepListed) {
        // A compiler's own list may lack directories that a catalogue entry adds on
        // purpose; dropping one loses every macro and keyword of its headers.
        const QStringList merged = MergeDirectories(dirs, listed);
        QStringList extra;
        for (const QString& dir : listed) {
            if (!dirs.contains(dir))
                extra.append(dir);
        }
        if (merged == listed) {
            dialogs.Information(this, caption,
                                tr("Every header directory of %1 is listed already, in its order; the list is unchanged. These listed directories are not among the compiler's and stay:\n\n%2")
                                    .arg(source, extra.join(QLatin1Char('\n'))));
            return false;
        }
        if (!extra.isEmpty()) {
            const bool keep = dialogs.Question(
                this, caption,
                tr("%1 searches these header directories:\n\n%2\n\nThe list also holds these, which %1 does not name:\n\n%3\n\nKeep them in their places? No removes them.")
                    .arg(source, dirs.join(QLatin1Char('\n')), extra.join(QLatin1Char('\n'))),
                true);
            chosen = keep ? merged : dirs;
        } else if (!dialogs.Question(this, caption,
                                     tr("Replace the header directories listed now with those of %1?\n\n%2")
                                         .arg(source, dirs.join(QLatin1Char('\n'))),
                                     true)) {
            return false;
        }
    } else if (!listed.isEmpty()) {
        // The listed directories belong to the compiler chosen before; the new entry's are
        // what the user came for, so Enter takes them.
        const QString question =
            dirs.isEmpty()
                ? tr("No header directories come with %1. Remove the directories listed now, which may belong to another compiler?")
                      .arg(source)
                : tr("Replace the header directories listed now with those of %1?\n\n%2")
                      .arg(source, dirs.join(QLatin1Char('\n')));
        if (!dialogs.Question(this, caption, question, true))
            return false;
    }
    CmpHdrDirListBox->clear();
    CmpHdrDirListBox->addItems(chosen);
    MarkMissingDirectories();
    return chosen == dirs;
}

void KestrixWizard::CmpHdrDirFindBtn_clicked()
{
    WizardDialogs& dialogs = WizardDialogs::Current();
    const QString command = CmpExeEdit->text().simplified();
    if (!CommandValid) {
        dialogs.Critical(this, tr("Search Directories"),
                         tr("The compiler command \"%1\" cannot be run; complete it on the compiler page first.").arg(command));
        return;
    }
    QString error;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QStringList dirs = FindCompilerDirectories(SearchDirsScript(), command, Language(), SwitchList(), &error);
    QApplication::restoreOverrideCursor();
    if (dirs.isEmpty()) {
        dialogs.Critical(this, tr("Search Directories"), error);
        return;
    }
    const QString source = tr("the compiler \"%1\"").arg(command);
    if (dirs == ListedDirectories()) {
        dialogs.Information(this, tr("Search Directories"),
                            tr("The header directories of %1 are those listed, in the same order; the list is unchanged.").arg(source));
        return;
    }
    ProposeDirectories(dirs, source, true);
}

void KestrixWizard::updateCmdOrder()
{
    // The commands as the engine will compose them: every probe compiles to an object, and
    // only a native compiler also builds programs, which it runs.
    const CompileTemplate compile{getCmdOrderStr(),
                                  CmpExeEdit->text(),
                                  CmpExeFlagEdit->text(),
                                  CmpCmpFlagEdit->text(),
                                  CmpDefFlagEdit->text(),
                                  ListFieldEntries(CmpSwtchEdit->toPlainText()),
                                  ListFieldEntries(CmpDefEdit->toPlainText())};
    const QString source = Language() == QLatin1String("c") ? QStringLiteral("test.c") : QStringLiteral("test.cpp");
    QString preview = tr("Object build: %1").arg(ComposeCompileCommand(compile, source, false, ExampleDefine).simplified());
    if (!CrossCmpCheckBox->isChecked())
        preview += QLatin1Char('\n')
                   + tr("Program build: %1").arg(ComposeCompileCommand(compile, source, true, ExampleDefine).simplified());
    CmpCmdOrder->setText(preview);
    SearchCompileCmdTxt->setText(preview);
    DefSwitchCompileCmdTxt->setText(preview);
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
    if (nextEnabled(Page0) && CompilerPageComplete)
        showPage(Page2);
}

void KestrixWizard::P0_DefBtn_clicked()
{
    if (nextEnabled(Page0) && CompilerPageComplete)
        showPage(Page3);
}

void KestrixWizard::P0_RevBtn_clicked()
{
    // The summary is rebuilt here too: settings.txt is written from it after the run, so a
    // stale summary would store stale settings.
    if (nextEnabled(Page0) && CompilerPageComplete)
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
