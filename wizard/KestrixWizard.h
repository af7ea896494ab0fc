#pragma once

#include "wizard/Compiler.h"
#include "wizard/EngineOutput.h"
#include "wizard/KestrixWizardBase.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QProcess>

#include <array>

class QMenu;
class QPushButton;
class QTimer;
class QToolButton;
class SubPopupMenu;

// The wizard: collects what the engine needs on five pages, runs Kestrix as a child process
// in the working directory, streams its output into the review page and keeps the compiler
// catalogue (compilers.txt) and the last settings (settings.txt) of that directory.
class KestrixWizard : public KestrixWizardBase {
    Q_OBJECT

public:
    explicit KestrixWizard(QWidget* parent = nullptr);
    ~KestrixWizard() override;

    // Catalogue (compilers.txt).
    void PopulateCompilerList();
    bool SaveCompilerList(QString* error = nullptr);
    void BuildAndAssignMenusToMainMenu();
    void LoadCompilerSettings(const QString& family, const QString& name);

    // Settings (settings.txt) and the review summary.
    void ReadSettings();
    bool WriteSettings();
    void BuildReviewText();

    // The engine run.
    QString getCmdOrderStr() const;
    QStringList EngineArguments() const;
    void DisplayFileStrings(const QString& fileName);
    bool CheckCompilerOnPath();
    void updateCmdOrder();
    // The personality file the next run writes: the destination folder (with "~" and
    // relative names taken from the home directory) and the name with ".p_c".
    QString PersonalityPath() const;
    // The listed header directories that do not exist; a run leaves them out.
    QStringList MissingDirectories() const;
    // Ends the running engine with everything it started; the wizard stays open.
    void StopEngine();
    bool EngineRunning() const;
    // Offers `dirs` in place of the listed header directories: the list is replaced at once
    // when it is empty, after a question when it differs; `source` names where they come
    // from. With `keepListed` (the compiler's own list, which may lack directories an entry
    // brings) the listed directories that `dirs` lacks are kept in their places unless the
    // user chooses to drop them. True when the list now holds `dirs`.
    bool ProposeDirectories(const QStringList& dirs, const QString& source, bool keepListed = false);
    // Whether the pages hold exactly the settings of the last successful run: only then
    // may "Save Compiler" store them, and only then does the export describe them.
    bool PagesMatchRun() const;
    // Writes the clang and cppcheck files and the header of the last run's personality
    // beside it with kestrix-export, and shows them with the command line for each.
    void ExportBtn_clicked();

    // State that the pages and the catalogue share; public so that tests and the
    // screenshot tool can look at it.
    QString Product = QStringLiteral("zanth");
    bool CommandValid = false;
    // The compiler page is complete: the command is valid and the flags every probe needs
    // are given.
    bool CompilerPageComplete = false;
    QString SelectedFamily;
    QString SelectedName;
    QString TemplateStr;
    QString ForceIncludeStr;
    QString SubHeadersStr;
    QString FamilyRestriction;
    QString SettingsText;
    QStringList FamilyList;
    QList<Compiler> CompilerList;
    QList<SubPopupMenu*> SubMenus;
    QMenu* TopMenu;
    // The compiler settings of the last run, which "Save Compiler" stores once they have
    // worked (not what the pages hold by then), the entry they came from and the product.
    Compiler RunCompiler;
    QString RunFamily;
    QString RunName;
    QString RunProduct;
    bool RunSucceeded = false;
    // The folder the last file or folder chooser ended in; the next one opens there.
    QString LastBrowseDir;
    // Shown in the button row on every page once a run has started: its elapsed time and
    // phase, then how it ended. Clicking it shows the run log.
    QPushButton* RunStatusBtn;
    // How long each stop waits for the engine to end on SIGTERM before it is killed.
    int StopGraceMs = 3000;

    QProcess* EngineProcess() const { return Engine; }
    void showPage(QWizardPage* page);
    void setNextEnabled(QWizardPage* page, bool enabled);
    bool nextEnabled(QWizardPage* page) const;

public slots:
    void ProductRadioBtn_clicked();
    void PersonDestBrowseBtn_clicked();
    void Page0LineEdit_textchanged();
    void Page1LineEdit_textchanged();
    void CrossCmpCheckBox_clicked();
    void CmpExeFlagChkBox_clicked();
    void CmpDefFlagChkBox_clicked();
    void CmdOrderUpBtn_clicked();
    void CmdOrderDwnBtn_clicked();
    void CmpHdrDirAddBtn_clicked();
    void CmpHdrDirEditBtn_clicked();
    void CmpHdrDirDeleteBtn_clicked();
    void CmpHdrDirFindBtn_clicked();
    void AddCompilerBtn_clicked();
    void SaveLogBtn_clicked();
    void StopBtn_clicked();
    void RunStatusBtn_clicked();

    void PrdctBtn_clicked();
    void CmpBtn_clicked();
    void SrchBtn_clicked();
    void DefBtn_clicked();
    void RevBtn_clicked();
    void P0_CmpBtn_clicked();
    void P0_SrchBtn_clicked();
    void P0_DefBtn_clicked();
    void P0_RevBtn_clicked();
    void P1_SrchBtn_clicked();
    void P1_DefBtn_clicked();
    void P1_RevBtn_clicked();

    void next();
    void accept() override;
    void reject() override;
    void readFromStdout();
    void readFromStderr();
    void processExit(int exitCode, QProcess::ExitStatus exitStatus);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool validateCurrentPage() override;

private:
    enum NavRole { RoleProduct, RoleCompiler, RoleSearch, RoleDefines, RoleReview, RoleCount };

    void ConnectNavigation();
    void LoadImages();
    void ApplyProductFilter();
    void ClearMenus();
    void ResetCompilerPage();
    void RestoreDefaultOrder();
    void AppendOrderItem(const QString& key);
    bool CheckPage0();
    void ApplyCommandCheck();
    void SetFieldColour(QWidget* field, const QColor& colour);
    QString ResolvedDestination() const;
    // One entry of the review summary and of settings.txt: the label (stored as it is,
    // shown translated) and the value as stored and as shown.
    struct SummaryEntry {
        struct Value {
            QString Stored;
            QString Shown;
        };
        const char* Label;
        Value Text;
        bool List = false;      // one item per line, each ended by a line end
        bool ShownOnly = false; // on the review page only; settings.txt keeps it elsewhere
    };
    QList<SummaryEntry> ReviewEntries();
    QString SummaryEntriesText(const QList<SummaryEntry>& entries, bool shown) const;
    Compiler CompilerFromPages(const Compiler& base) const;
    void UpdateSaveCompiler();
    void UpdateNextReason();
    void KeepWrappedLabelsWhole();
    void ShowPageMessage(QLabel* label, const QStringList& lines, bool error);
    void EnableGenerate();
    void FinishRun();
    // Repeats the run's object build in a scratch folder and says what it wrote; sets
    // *wrongExtension when it wrote files, none with the extension given.
    QString ObjectBuildDiagnosis(bool* wrongExtension) const;
    QString LogHeader() const;
    QString CatalogueFilePath(const QString& value, const QString& folder) const;
    Compiler WithRunSettings(const Compiler& base) const;
    QStringList SwitchList() const;
    QString Language() const;
    QString ChooseDirectory(const QString& caption, const QString& start);
    void MarkMissingDirectories();
    QStringList ListedDirectories() const;
    void OfferEntryDirectories(const Compiler& entry);
    void AppendParagraph(const QString& text);
    void AppendOutputLines(const QStringList& lines, bool fromStderr);
    void ClearProbeFiles();
    // The failing compile that the engine recorded, or `instead` when it recorded none.
    void AppendRunFiles(const QString& instead = {});
    void ProcessFailedToStart(QProcess::ProcessError error);
    void ShowRunStatus(const QString& text);
    void FitRunStatus();
    void UpdateRunStatus();
    void EndRun(const QString& status);
    QString Elapsed() const;

    QString CommandProblem;
    QPointer<QProcess> Engine;
    qint64 EnginePid = 0;
    bool StopRequested = false;
    QElapsedTimer RunClock;
    QDateTime RunStarted;
    QTimer* RunTicker;
    QString RunPhase;
    QString RunPersonality;
    bool RunHadPersonality = false;
    bool WorkDirTaken = false;
    QString RunSummary;
    QString RunStatusText;
    // Labels that settings.txt marks with "*" (the field is locked); they keep the mark.
    QStringList LockedLabels;
    OutputLines StdoutLines;
    OutputLines StderrLines;
    bool Jumping = false;
    std::array<QIcon, RoleCount> NormalImages;
    std::array<QIcon, RoleCount> ShadedImages;
    QList<QPair<QToolButton*, NavRole>> NavButtons;

    QString DestTipMsg;
    QString DestMissingMsg;
    QString CmdTipMsg;
    QString CmdNotOnPathMsg;
    QString CmdSpecifyMsg;
    QString NameSlashMsg;
};

// The order items of the compiler page, in their default order.
QStringList DefaultCommandOrder();

// The entries of a multi-line field of defines or switches: one per line or between commas,
// blanks around them dropped, empty ones left out (the engine would pass an empty switch
// on to the compiler).
QStringList ListFieldEntries(const QString& text);

// The engine's -xd/-xs value for such a field: its entries, comma-separated.
QString CommaSeparatedLines(const QString& text);

// The program name of a compiler command: the text between leading double quotes, else the
// longest run of its first words that names an executable file by path (a path with blanks
// may be typed unquoted), else its first word.
QString CompilerProgramName(const QString& command);

// The command with its program quoted where the program's path has blanks, as a shell
// must be given it; other commands as they are.
QString QuotedCompilerCommand(const QString& command);

// Whether `program` can be run the way the shell that runs compile.sh would find it: a name
// with "/" is taken as a path, any other is looked up in the directories of `path`.
bool CompilerProgramFound(const QString& program, const QString& path);
