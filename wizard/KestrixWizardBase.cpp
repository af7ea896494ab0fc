#include "wizard/KestrixWizardBase.h"

KestrixWizardBase::KestrixWizardBase(QWidget* parent) : QWizard(parent)
{
    setupUi(this);
}
