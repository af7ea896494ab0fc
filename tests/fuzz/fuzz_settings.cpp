// The wizard's settings reader on any bytes: saved, read and saved again, the save is the same,
// or every start of the wizard would change the user's settings a little.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/fuzz/Harness.h"
#include "wizard/KestrixWizard.h"

namespace {

KestrixWizard& Wizard()
{
    // The wizard keeps settings.txt in the working directory: a folder of its own.
    static QTemporaryDir* folder = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_settings";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
        auto* dir = new QTemporaryDir;
        QDir::setCurrent(dir->path());
        return dir;
    }();
    (void)folder;
    static KestrixWizard* wizard = new KestrixWizard;
    return *wizard;
}

QByteArray Saved(KestrixWizard& wizard)
{
    if (!wizard.WriteSettings())
        std::abort();
    QFile file(QStringLiteral("settings.txt"));
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    KestrixWizard& wizard = Wizard();
    {
        QFile file(QStringLiteral("settings.txt"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    wizard.ReadSettings();
    const QByteArray first = Saved(wizard);
    wizard.ReadSettings();
    if (Saved(wizard) != first)
        std::abort();
    return 0;
}
