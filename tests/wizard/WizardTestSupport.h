#pragma once

#include "wizard/WizardDialogs.h"

#include <QDialog>
#include <QLineEdit>
#include <QObject>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <optional>

class KestrixWizard;

namespace kxwiztest {

// Stands in for every modal window so that no test waits on one: records each kind and text (a chooser's start
// folder, a save dialog's suggested file, an address opened) and answers from its queues.
class FakeDialogs : public WizardDialogs {
public:
    FakeDialogs() { Install(this); }
    ~FakeDialogs() override { Install(nullptr); }

    void Information(QWidget*, const QString&, const QString& text) override { Record("information", text); }
    void Warning(QWidget*, const QString&, const QString& text) override { Record("warning", text); }
    void Critical(QWidget*, const QString&, const QString& text) override { Record("critical", text); }
    bool Question(QWidget*, const QString&, const QString& text, bool defaultYes) override
    {
        Record("question", text), EnterSaysYes.append(defaultYes);
        return Answers.isEmpty() || Answers.takeFirst();
    }
    QString ExistingDirectory(QWidget*, const QString&, const QString& start) override
    {
        return Record("directory", start), Directories.isEmpty() ? QString() : Directories.takeFirst();
    }
    QString SaveFileName(QWidget*, const QString&, const QString& start, const QString&, const QString&) override
    {
        return Record("save", start), SaveName;
    }
    int RunModal(QDialog& dialog) override { return Modal ? Modal(dialog) : dialog.reject(), dialog.result(); }
    bool OpenUrl(const QUrl& url) override { return Record("url", url.toString()), true; }

    QStringList Kinds, Texts;
    QList<bool> Answers;                 // for questions; Yes once empty
    QList<bool> EnterSaysYes;            // of each question asked, whether Enter answers Yes
    QStringList Directories;             // for choosers; cancelled once empty
    QString SaveName;                    // for the save dialog
    std::function<void(QDialog&)> Modal; // answers a modal dialog; rejects it when unset

private:
    void Record(const char* kind, const QString& text) { Kinds.append(kind), Texts.append(text); }
};

// A scratch deployment laid out as the launcher lays out a user's, without a catalogue: Work() is the current
// directory and Path("home") the home directory while it lives.
class ScratchDeployment {
public:
    ScratchDeployment();
    ~ScratchDeployment();

    QString Work() const { return Path("work"); }
    QString Path(const QString& relative = {}) const { return relative.isEmpty() ? Dir.path() : Dir.filePath(relative); }
    void Write(const QString& relative, const QString& content) const; // creates the folders
    QString Read(const QString& relative) const;

private:
    QTemporaryDir Dir;
    QString PreviousDir;
    QByteArray PreviousHome;
};

// Sets an environment variable while it lives.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value) : Name(name), Previous(qgetenv(name)), Had(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value.toLocal8Bit());
    }
    ~ScopedEnv() { Had ? qputenv(Name, Previous) : qunsetenv(Name); }

private:
    const char* Name;
    QByteArray Previous;
    bool Had;
};

// The fake engine of tests/wizard/fakes (its header lists the modes) first on PATH, in `mode`, while it lives.
struct FakeEngine {
    explicit FakeEngine(const QString& mode)
        : Path("PATH", KXWIZ_FAKES_DIR ":" + qEnvironmentVariable("PATH")), Mode("KXWIZ_FAKE_MODE", mode) {}
    ScopedEnv Path, Mode;
};

// Every test function (and every row of one) runs in a fresh scratch deployment, with the fake dialogs.
class WizardTest : public QObject {
    Q_OBJECT

protected:
    std::optional<ScratchDeployment> Deployment;
    std::optional<FakeDialogs> Dialogs;

private slots:
    void init() { Deployment.emplace(), Dialogs.emplace(); }
    void cleanup() { Dialogs.reset(), Deployment.reset(); }
};

inline void Fill(std::initializer_list<std::pair<QLineEdit*, QString>> fields)
{
    for (const auto& [field, text] : fields)
        field->setText(text);
}

qint64 FakeCompilePid();                               // of the compile the fake engine started; 0 before
QString ListedDirectories(const KestrixWizard& wizard); // joined by "|"
// One field an item of the compiler, directory and defines pages: what a restart or a catalogue entry brings back.
QStringList CompilerPages(const KestrixWizard& wizard);
bool RunToEnd(KestrixWizard& wizard); // Generate, then false unless the engine ended within 20 seconds
bool ProcessGone(qint64 pid);         // a zombie that nobody has reaped yet counts as gone

inline QString EngineDir() { return KESTRIX_BIN_DIR; }                    // holds the Kestrix built with the tests
inline QString Fake(const QString& name) { return KXWIZ_FAKES_DIR "/" + name; } // a fake of tests/wizard/fakes

} // namespace kxwiztest
