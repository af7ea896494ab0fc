#include "wizard/KestrixWizard.h"
#include "wizard/WizardLook.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Translations are looked for next to the program first, so that a build tree or a
// relocated installation brings its own, then in the shared places.
bool LoadTranslation(QTranslator& translator, const QString& name, const QStringList& dirs)
{
    for (const QString& dir : dirs) {
        if (translator.load(QLocale(), name, QStringLiteral("_"), dir))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ApplyWizardLook();

    const QString programDir = QCoreApplication::applicationDirPath();
    const QString sharedDir = QDir(programDir).filePath(QStringLiteral("../share/kestrix/translations"));
    QTranslator qtTranslator;
    if (LoadTranslation(qtTranslator, QStringLiteral("qt"),
                        {programDir, QLibraryInfo::path(QLibraryInfo::TranslationsPath)}))
        QCoreApplication::installTranslator(&qtTranslator);
    QTranslator wizardTranslator;
    if (LoadTranslation(wizardTranslator, QStringLiteral("kxwiz"), {programDir, sharedDir}))
        QCoreApplication::installTranslator(&wizardTranslator);

    KestrixWizard wizard;
    wizard.show();
    return app.exec();
}
