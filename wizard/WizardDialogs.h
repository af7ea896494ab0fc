#pragma once

#include <QString>
#include <QUrl>

class QDialog;
class QWidget;

// Everything the wizard does that waits on the user in a modal window, or hands work to
// the desktop, goes through this one object. The program uses the real dialogs; tests
// install a replacement that answers at once, so no test ever blocks on a window.
class WizardDialogs {
public:
    virtual ~WizardDialogs() = default;

    virtual void Information(QWidget* parent, const QString& caption, const QString& text);
    virtual void Warning(QWidget* parent, const QString& caption, const QString& text);
    virtual void Critical(QWidget* parent, const QString& caption, const QString& text);
    // True when the user answers Yes. `defaultYes` picks the answer that Enter gives: Yes
    // where it is the step the user came for, No where Yes gives something up.
    virtual bool Question(QWidget* parent, const QString& caption, const QString& text, bool defaultYes = false);
    // Empty when the user cancels.
    virtual QString ExistingDirectory(QWidget* parent, const QString& caption, const QString& start);
    virtual QString SaveFileName(QWidget* parent, const QString& caption, const QString& start,
                                 const QString& filter, const QString& objectName);
    // Runs a modal dialog to its end and returns its result code.
    virtual int RunModal(QDialog& dialog);
    // Opens a web address in the user's browser; false when that could not be started.
    virtual bool OpenUrl(const QUrl& url);

    // The object in use. Install(nullptr) returns to the real dialogs; the installer keeps
    // ownership of what it installs.
    static WizardDialogs& Current();
    static void Install(WizardDialogs* dialogs);
};
