#include "wizard/SaveCompilerDetailsBase.h"

SaveCompilerDetailsBase::SaveCompilerDetailsBase(QWidget* parent) : QDialog(parent)
{
    setupUi(this);
}
