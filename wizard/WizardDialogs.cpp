#include "wizard/WizardDialogs.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace {
WizardDialogs RealDialogs;
WizardDialogs* Installed = nullptr;
} // namespace

void WizardDialogs::Information(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox::information(parent, caption, text);
}

void WizardDialogs::Warning(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox::warning(parent, caption, text);
}

void WizardDialogs::Critical(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox::critical(parent, caption, text);
}

bool WizardDialogs::Question(QWidget* parent, const QString& caption, const QString& text, bool defaultYes)
{
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No,
                                 defaultYes ? QMessageBox::Yes : QMessageBox::No) == QMessageBox::Yes;
}

QString WizardDialogs::ExistingDirectory(QWidget* parent, const QString& caption, const QString& start)
{
    return QFileDialog::getExistingDirectory(parent, caption, start);
}

QString WizardDialogs::SaveFileName(QWidget* parent, const QString& caption, const QString& start,
                                    const QString& filter, const QString& objectName)
{
    QFileDialog dialog(parent, caption, start, filter);
    dialog.setObjectName(objectName);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

int WizardDialogs::RunModal(QDialog& dialog)
{
    return dialog.exec();
}

bool WizardDialogs::OpenUrl(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}

WizardDialogs& WizardDialogs::Current()
{
    return Installed ? *Installed : RealDialogs;
}

void WizardDialogs::Install(WizardDialogs* dialogs)
{
    Installed = dialogs;
}
