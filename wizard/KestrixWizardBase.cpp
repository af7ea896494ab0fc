#include "KestrixWizardBase.h"

KestrixWizardBase::KestrixWizardBase(QWidget* parent) : QWizard(parent)
{
    setupUi(this);
}
