#pragma once

#include <QWizard>

#include "ui_KestrixWizardBase.h"

// The wizard's window as laid out in KestrixWizardBase.ui: pages, widgets and texts.
class KestrixWizardBase : public QWizard, public Ui_KestrixWizardBase {
    Q_OBJECT

public:
    explicit KestrixWizardBase(QWidget* parent = nullptr);
};
