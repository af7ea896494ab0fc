#include "wizard/WizardLook.h"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

void ApplyWizardLook()
{
    // The same style on every desktop keeps the pages' alignment as laid out in the form.
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style);
    // Compact, yet legible on current screens: the pages are laid out for this size.
    QFont font = QApplication::font();
    font.setPointSize(9);
    QApplication::setFont(font);
}
