// Renders the wizard's five pages, the review page during and after a real run and with
// its exported files, and the save dialog to PNG files, on whatever platform Qt is given (offscreen in the build):
//   kxwiz-make-screenshots DATA_DIR OUTPUT_DIR
// (cmake --build build --target wizard-screenshots writes them into build/screenshots).
// The pages are drawn twice: at the default size, and at the smallest size the window
// allows ("min_" pictures), where nothing may be cut off. The wizard runs in a scratch
// deployment with a scratch home directory, so the user's own settings stay untouched.
#include "wizard/KestrixWizard.h"
#include "wizard/SaveCompilerDetails.h"
#include "wizard/WizardDialogs.h"
#include "wizard/WizardLook.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLibraryInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>

#include <cstdio>

namespace {

// A picture must never wait on a window: messages go to standard error, questions are
// answered Yes and choosers are cancelled.
class LoggedDialogs : public WizardDialogs {
public:
    void Information(QWidget*, const QString&, const QString& text) override { Log(text); }
    void Warning(QWidget*, const QString&, const QString& text) override { Log(text); }
    void Critical(QWidget*, const QString&, const QString& text) override { Log(text); }
    bool Question(QWidget*, const QString&, const QString& text, bool) override
    {
        Log(text);
        return true;
    }
    QString ExistingDirectory(QWidget*, const QString&, const QString&) override { return {}; }
    QString SaveFileName(QWidget*, const QString&, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    int RunModal(QDialog& dialog) override
    {
        dialog.reject();
        return dialog.result();
    }
    bool OpenUrl(const QUrl&) override { return false; }

private:
    static void Log(const QString& text) { std::fprintf(stderr, "kxwiz-make-screenshots: %s\n", qPrintable(text)); }
};

// Lays out a deployment under `root` with the launcher, as a user's is laid out, and
// returns its working directory; empty when the launcher failed.
QString PrepareDeployment(const QString& launcher, const QString& data, const QString& root)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KESTRIX_DATA"), data);
    env.insert(QStringLiteral("KESTRIX_WIZARD_HOME"), root);
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(launcher, {QStringLiteral("--prepare-only")});
    if (!process.waitForFinished() || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
}

bool Save(QWidget& widget, const QDir& out, const QString& name)
{
    QCoreApplication::processEvents();
    const QString file = out.filePath(name + ".png");
    if (!widget.grab().save(file)) {
        std::fprintf(stderr, "kxwiz-make-screenshots: Error: cannot write %s.\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

// The smallest size the window manager would allow on the page shown.
void ShrinkToMinimum(QWidget& widget)
{
    QCoreApplication::processEvents();
    widget.resize(QSize(1, 1));
}

bool SavePages(KestrixWizard& wizard, const QDir& out, const QString& prefix, bool smallest)
{
    const char* const names[] = {"page0_product_output", "page1_compiler_command", "page2_search_directories",
                                 "page3_defines_switches", "page4_review"};
    bool ok = true;
    for (int page = 0; page < 5; ++page) {
        wizard.showPage(wizard.page(page));
        if (page == 4)
            wizard.BuildReviewText();
        if (smallest)
            ShrinkToMinimum(wizard);
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
    if (argc != 3) {
        std::fprintf(stderr, "Usage: kxwiz-make-screenshots DATA_DIR OUTPUT_DIR\n");
        return 2;
    }
    ApplyWizardLook();
    // The pictures follow the locale (LANG=de_DE.UTF-8 shows the German pages); the
    // engine and the translations are the ones built beside this program.
    const QString programDir = QCoreApplication::applicationDirPath();
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(), "qt", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);
    QTranslator translator;
    if (translator.load(QLocale(), "kxwiz", "_", programDir))
        QCoreApplication::installTranslator(&translator);
    qputenv("PATH", (programDir + ":" + qEnvironmentVariable("PATH")).toLocal8Bit());

    const QDir out(QDir::current().absoluteFilePath(QString::fromLocal8Bit(argv[2])));
    QTemporaryDir scratch;
    const QString launcher = programDir + QStringLiteral("/kestrix-wizard-launch");
    const QString work = scratch.isValid() ? PrepareDeployment(launcher, QString::fromLocal8Bit(argv[1]), scratch.path()) : QString();
    const QString home = scratch.filePath(QStringLiteral("home"));
    if (work.isEmpty() || !QDir().mkpath(home) || !out.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "kxwiz-make-screenshots: Error: %s could not lay out a scratch deployment in %s, or %s could not be created.\n",
                     qPrintable(launcher), qPrintable(scratch.path()), qPrintable(out.path()));
        return 1;
    }
    qputenv("HOME", home.toLocal8Bit());
    QDir::setCurrent(work);
    // A small catalogue of its own, so that the menus look the same in every picture.
    QFile catalogue(QStringLiteral("compilers.txt"));
    if (catalogue.open(QIODevice::WriteOnly))
        catalogue.write("<CompilerFamily>GNU</CompilerFamily>\n<CompilerFamily>Embedded</CompilerFamily>\n\n"
                        "<Compiler>\n<Name>Host gcc - C</Name>\n<Family>GNU</Family>\n</Compiler>\n"
                        "<Compiler>\n<Name>Host g++ - C++</Name>\n<Family>GNU</Family>\n</Compiler>\n");
    catalogue.close();
    LoggedDialogs dialogs;
    WizardDialogs::Install(&dialogs);

    bool ok = true;
    {
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
        ok = SavePages(wizard, out, "", false) && ok;
        const QSize normal = wizard.size();
        ok = SavePages(wizard, out, "min_", true) && ok;
        wizard.resize(normal);

        // A real run, kept short: no header directories to walk.
        wizard.CmpHdrDirListBox->clear();
        wizard.showPage(wizard.Page4);
        wizard.BuildReviewText();
        wizard.button(QWizard::FinishButton)->click();
        WaitFor([&] { return !wizard.EngineRunning() || wizard.DetailsText->toPlainText().contains("defines ..."); });
        // One tick of the elapsed time.
        QElapsedTimer tick;
        tick.start();
        WaitFor([&] { return tick.elapsed() > 1100; });
        ok = Save(wizard, out, "page4_running") && ok;
        ShrinkToMinimum(wizard);
        ok = Save(wizard, out, "min_page4_running") && ok;
        wizard.resize(normal);
        wizard.showPage(wizard.Page1);
        ok = Save(wizard, out, "page1_during_run") && ok;
        WaitFor([&] { return !wizard.EngineRunning(); });
        wizard.showPage(wizard.Page4);
        wizard.ReviewTabs->setCurrentWidget(wizard.LogTab);
        ok = Save(wizard, out, "page4_after_run") && ok;
        wizard.ExportBtn->click();
        ok = Save(wizard, out, "page4_exported") && ok;
        ShrinkToMinimum(wizard);
        ok = Save(wizard, out, "min_page4_exported") && ok;
        wizard.resize(normal);

        SaveCompilerDetails dialog(&wizard);
        dialog.SetCatalogue(wizard.FamilyList, wizard.CompilerList, "GNU", "Host gcc - C");
        dialog.show();
        ok = Save(dialog, out, "save_compiler_details") && ok;
        dialog.NewSaveRadioButton->click();
        ok = Save(dialog, out, "save_compiler_details_new") && ok;
    }
    WizardDialogs::Install(nullptr);
    return ok ? 0 : 1;
}
