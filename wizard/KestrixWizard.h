#pragma once

#include "Compiler.h"
#include "KestrixWizardBase.h"

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QProcess>

#include <array>

class QMenu;
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

    // State that the pages and the catalogue share; public so that tests and the
    // screenshot tool can look at it.
    QString Product = QStringLiteral("zanth");
    bool CommandValid = false;
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
    void AddCompilerBtn_clicked();
    void SaveLogBtn_clicked();

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
    void processExit(int exitCode, QProcess::ExitStatus exitStatus);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
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
    QString ReviewFieldsText();
    Compiler CompilerFromPages(const Compiler& base) const;
    bool EngineRunning() const;
    void AppendParagraph(const QString& text);
    void AppendStream(const QString& text);
    void ProcessFailedToStart(QProcess::ProcessError error);

    QPointer<QProcess> Engine;
    bool Jumping = false;
    std::array<QIcon, RoleCount> NormalImages;
    std::array<QIcon, RoleCount> ShadedImages;
    QList<QPair<QToolButton*, NavRole>> NavButtons;

    QString DestTipMsg;
    QString DestMissingMsg;
    QString CmdTipMsg;
    QString CmdNotOnPathMsg;
    QString CmdSpecifyMsg;
};

// The order items of the compiler page, in their default order.
QStringList DefaultCommandOrder();

// The engine's -xd/-xs value for a multi-line field: one entry per line, comma-separated.
QString CommaSeparatedLines(const QString& text);

// The program name of a compiler command: its first word, or the text between the leading
// double quotes.
QString CompilerProgramName(const QString& command);

// Whether `program` can be run the way the shell that runs compile.sh would find it: a name
// with "/" is taken as a path, any other is looked up in the directories of `path`.
bool CompilerProgramFound(const QString& program, const QString& path);
