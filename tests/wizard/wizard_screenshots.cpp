// Renders the wizard's five pages, the review page during and after a real run, and the
// save dialog to PNG files, on whatever platform Qt is given (offscreen in the build):
//   kxwiz_screenshots OUTPUT_DIR
// (cmake --build build --target wizard-screenshots writes them into build/screenshots).
// The pages are drawn twice: at the default size, and at the smallest size the window
// allows ("min_" pictures), where nothing may be cut off.
#include "KestrixWizard.h"
#include "SaveCompilerDetails.h"
#include "WizardLook.h"
#include "WizardTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLibraryInfo>
#include <QTest>
#include <QTranslator>

#include <cstdio>

using namespace kxwiztest;

namespace {

bool Save(QWidget& widget, const QDir& out, const QString& name)
{
    QCoreApplication::processEvents();
    const QString file = out.filePath(name + ".png");
    if (!widget.grab().save(file)) {
        std::fprintf(stderr, "kxwiz_screenshots: Error: cannot write %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

bool SavePages(KestrixWizard& wizard, const QDir& out, const QString& prefix)
{
    const char* const names[] = {"page0_product_output", "page1_compiler_command", "page2_search_directories",
                                 "page3_defines_switches", "page4_review"};
    bool ok = true;
    for (int page = 0; page < 5; ++page) {
        wizard.showPage(wizard.page(page));
        if (page == 4)
            wizard.BuildReviewText();
        ok = Save(wizard, out, prefix + names[page]) && ok;
    }
    return ok;
}

// Processes events until `done` holds or ten minutes have passed.
template <typename Condition>
void WaitFor(Condition done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Usage: kxwiz_screenshots OUTPUT_DIR\n");
        return 2;
    }
    ApplyWizardLook();
    // The pictures follow the locale (LANG=de_DE.UTF-8 shows the German pages).
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(), "qt", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);
    QTranslator translator;
    if (translator.load(QLocale(), "kxwiz", "_", EngineDir()))
        QCoreApplication::installTranslator(&translator);

    const QDir out(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[1])));
    QDir().mkpath(out.path());
    ScratchDeployment deployment;
    FakeDialogs dialogs;
    qputenv("PATH", (EngineDir() + ":" + qEnvironmentVariable("PATH")).toLocal8Bit());
    deployment.Write("work/compilers.txt",
                     "<CompilerFamily>GNU</CompilerFamily>\n<CompilerFamily>Embedded</CompilerFamily>\n\n"
                     "<Compiler>\n<Name>Host gcc - C</Name>\n<Family>GNU</Family>\n</Compiler>\n"
                     "<Compiler>\n<Name>Host g++ - C++</Name>\n<Family>GNU</Family>\n</Compiler>\n");

    KestrixWizard wizard;
    wizard.show();
    wizard.PersonDestEdit->setText("~");
    wizard.PersonNameEdit->setText("host-gcc");
    wizard.CmpExeEdit->setText("gcc");
    wizard.CmpExeFlagEdit->setText("-o");
    wizard.CmpExeFlagChkBox->setChecked(true);
    wizard.CmpDefFlagEdit->setText("-D");
    wizard.CmpCmpFlagEdit->setText("-c");
    wizard.CmpObjExtFlagEdit->setText(".o");
    wizard.CmpHdrDirListBox->addItems({"/usr/lib/gcc/x86_64-linux-gnu/12/include", "/usr/include",
                                       "/opt/removed/include"});
    wizard.CmpDefEdit->setPlainText("_REENTRANT\nNDEBUG=1");
    wizard.CmpSwtchEdit->setPlainText("-O2");
    wizard.updateCmdOrder();
    bool ok = SavePages(wizard, out, "");
    const QSize normal = wizard.size();
    wizard.resize(wizard.minimumSizeHint());
    ok = SavePages(wizard, out, "min_") && ok;
    wizard.resize(normal);

    // A real run, kept short: no header directories to walk.
    wizard.CmpHdrDirListBox->clear();
    wizard.showPage(wizard.Page4);
    wizard.BuildReviewText();
    wizard.button(QWizard::FinishButton)->click();
    WaitFor([&] { return !wizard.EngineRunning() || wizard.DetailsText->toPlainText().contains("defines ..."); });
    QTest::qWait(1100); // one tick of the elapsed time
    ok = Save(wizard, out, "page4_running") && ok;
    wizard.showPage(wizard.Page1);
    ok = Save(wizard, out, "page1_during_run") && ok;
    WaitFor([&] { return !wizard.EngineRunning(); });
    wizard.showPage(wizard.Page4);
    wizard.ReviewTabs->setCurrentWidget(wizard.LogTab);
    ok = Save(wizard, out, "page4_after_run") && ok;

    SaveCompilerDetails dialog(&wizard);
    dialog.SetCatalogue(wizard.FamilyList, wizard.CompilerList, "GNU", "Host gcc - C");
    dialog.show();
    ok = Save(dialog, out, "save_compiler_details") && ok;
    dialog.NewSaveRadioButton->click();
    ok = Save(dialog, out, "save_compiler_details_new") && ok;
    return ok ? 0 : 1;
}
