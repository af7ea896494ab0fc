#pragma once

#include <QDialog>

#include "ui_SaveCompilerDetailsBase.h"

// The save dialog as laid out in SaveCompilerDetailsBase.ui.
class SaveCompilerDetailsBase : public QDialog, public Ui_SaveCompilerDetailsBase {
    Q_OBJECT

public:
    explicit SaveCompilerDetailsBase(QWidget* parent = nullptr);
};
