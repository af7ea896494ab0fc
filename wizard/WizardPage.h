#pragma once

#include <QWizardPage>

// A wizard page whose Next (or, on the last page, Finish) button the wizard switches on and
// off itself, according to its own checks of the page's fields.
class WizardPage : public QWizardPage {
    Q_OBJECT

public:
    explicit WizardPage(QWidget* parent = nullptr);

    void SetNextEnabled(bool enabled);
    bool NextEnabled() const { return Enabled; }
    bool isComplete() const override;

private:
    bool Enabled = false;
};
