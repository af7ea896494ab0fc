#include "wizard/WizardPage.h"

WizardPage::WizardPage(QWidget* parent) : QWizardPage(parent) {}

void WizardPage::SetNextEnabled(bool enabled)
{
    if (Enabled == enabled)
        return;
    Enabled = enabled;
    emit completeChanged();
}

bool WizardPage::isComplete() const
{
    return Enabled;
}
