#pragma once

#include "WizardDialogs.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>

class KestrixWizard;

namespace kxwiztest {

// Stands in for every modal window of the wizard while it lives: records what would have
// been shown and answers from its queues, so that no test waits on a dialog.
class FakeDialogs : public WizardDialogs {
public:
    struct Message {
        QString Kind;
        QString Caption;
        QString Text;
    };

    FakeDialogs() { Install(this); }
    ~FakeDialogs() override { Install(nullptr); }

    void Information(QWidget*, const QString& caption, const QString& text) override
    {
        Messages.append({QStringLiteral("information"), caption, text});
    }
    void Warning(QWidget*, const QString& caption, const QString& text) override
    {
        Messages.append({QStringLiteral("warning"), caption, text});
    }
    void Critical(QWidget*, const QString& caption, const QString& text) override
    {
        Messages.append({QStringLiteral("critical"), caption, text});
    }
    bool Question(QWidget*, const QString& caption, const QString& text) override
    {
        Messages.append({QStringLiteral("question"), caption, text});
        return Answers.isEmpty() ? true : Answers.takeFirst();
    }
    QString ExistingDirectory(QWidget*, const QString& caption, const QString& start) override
    {
        Messages.append({QStringLiteral("directory"), caption, start});
        return Directories.isEmpty() ? QString() : Directories.takeFirst();
    }
    QString SaveFileName(QWidget*, const QString& caption, const QString&, const QString& filter,
                         const QString&) override
    {
        Messages.append({QStringLiteral("save"), caption, filter});
        return SaveName;
    }
    int RunModal(QDialog& dialog) override
    {
        if (Modal)
            Modal(dialog);
        else
            dialog.reject();
        return dialog.result();
    }
    bool OpenUrl(const QUrl& url) override
    {
        Opened.append(url);
        return true;
    }

    QStringList Kinds() const
    {
        QStringList kinds;
        for (const Message& m : Messages)
            kinds.append(m.Kind);
        return kinds;
    }

    QList<Message> Messages;
    QList<bool> Answers;
    QStringList Directories;
    QString SaveName;
    std::function<void(QDialog&)> Modal;
    QList<QUrl> Opened;
};

// A scratch deployment: Root()/work holds the keyword lists and becomes the current
// directory (the wizard's working directory) until the object goes away; Root()/home is the
// home directory meanwhile.
class ScratchDeployment {
public:
    ScratchDeployment();
    ~ScratchDeployment();

    QString Root() const { return Dir.path(); }
    QString Work() const { return Dir.filePath(QStringLiteral("work")); }
    QString Path(const QString& relative) const { return Dir.filePath(relative); }
    // Writes `content` to Root()/relative, creating folders; returns the full path.
    QString Write(const QString& relative, const QString& content) const;
    QString Read(const QString& relative) const;

private:
    QTemporaryDir Dir;
    QString PreviousDir;
    QByteArray PreviousHome;
};

// Sets an environment variable for the life of the object and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value);
    ~ScopedEnv();

private:
    const char* Name;
    QByteArray Previous;
    bool Had;
};

// PATH for the life of the object.
class ScopedPath : public ScopedEnv {
public:
    explicit ScopedPath(const QString& path) : ScopedEnv("PATH", path) {}
};

// The fake engine of tests/wizard/fakes (see its header for the modes) first on PATH, in
// `mode`. A compile it starts writes its process id to ChildPidFile().
class FakeEngine {
public:
    explicit FakeEngine(const QString& mode);
    QString ChildPidFile() const { return Child.filePath(QStringLiteral("child.pid")); }
    // The process id the fake compile wrote, once it has; 0 before.
    qint64 ChildPid() const;

private:
    QTemporaryDir Child;
    ScopedPath Path;
    ScopedEnv Mode;
    ScopedEnv ChildFile;
};

// Starts a run (Generate) and waits until the engine has ended; false after `timeoutMs`.
bool RunToEnd(KestrixWizard& wizard, int timeoutMs = 20000);

// Whether process `pid` has ended (a zombie that nobody has reaped yet counts as ended).
bool ProcessGone(qint64 pid);

QString EngineDir();                 // the directory of the Kestrix built with these tests
QString Fake(const QString& name);   // a fake compiler of tests/wizard/fakes
QString SourceDataDir();             // the source tree's data/

} // namespace kxwiztest
