// Renders the wizard's five pages, the save dialog and the review page after a real run to
// PNG files, on whatever platform Qt is given (offscreen in the build):
//   kxwiz_screenshots OUTPUT_DIR
// (cmake --build build --target wizard-screenshots writes them into build/screenshots).
#include "KestrixWizard.h"
#include "SaveCompilerDetails.h"
#include "WizardLook.h"
#include "WizardTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
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
    wizard.PersonDestEdit->setText(deployment.Root());
    wizard.PersonNameEdit->setText("host-gcc");
    bool ok = Save(wizard, out, "page0_product_output");
    wizard.setCurrentId(1);
    wizard.CmpExeEdit->setText("gcc");
    wizard.CmpExeFlagEdit->setText("-o");
    wizard.CmpExeFlagChkBox->setChecked(true);
    wizard.CmpDefFlagEdit->setText("-D");
    wizard.CmpCmpFlagEdit->setText("-c");
    wizard.CmpObjExtFlagEdit->setText(".o");
    wizard.updateCmdOrder();
    ok = Save(wizard, out, "page1_compiler_command") && ok;
    wizard.setCurrentId(2);
    wizard.CmpHdrDirListBox->addItems({"/usr/lib/gcc/x86_64-linux-gnu/include", "/usr/include"});
    ok = Save(wizard, out, "page2_search_directories") && ok;
    wizard.setCurrentId(3);
    wizard.CmpDefEdit->setPlainText("_REENTRANT\nNDEBUG=1");
    wizard.CmpSwtchEdit->setPlainText("-O2");
    ok = Save(wizard, out, "page3_defines_switches") && ok;
    wizard.CmpHdrDirListBox->clear(); // keeps the real run short
    wizard.button(QWizard::NextButton)->click();
    ok = Save(wizard, out, "page4_review") && ok;

    wizard.button(QWizard::FinishButton)->click();
    QElapsedTimer timer;
    timer.start();
    while (wizard.EngineProcess() && wizard.EngineProcess()->state() != QProcess::NotRunning && timer.elapsed() < 600000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    ok = Save(wizard, out, "page4_after_run") && ok;

    SaveCompilerDetails dialog(&wizard);
    dialog.SetCatalogue(wizard.FamilyList, wizard.CompilerList, "GNU", "Host gcc - C");
    dialog.show();
    ok = Save(dialog, out, "save_compiler_details") && ok;
    dialog.NewSaveRadioButton->click();
    ok = Save(dialog, out, "save_compiler_details_new") && ok;
    return ok ? 0 : 1;
}
