#include "tests/wizard/WizardTestSupport.h"

#include "wizard/KestrixWizard.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <cerrno>
#include <cstring>

namespace kxwiztest {

ScratchDeployment::ScratchDeployment() : PreviousDir(QDir::currentPath()), PreviousHome(qgetenv("HOME"))
{
    // As the launcher does it, which would take too long to start for every test: the lists in the working
    // directory, the other folders of the data linked one level up.
    const QDir data(KESTRIX_DATA_DIR);
    bool ok = QDir(Path()).mkpath("work") && QDir(Path()).mkpath("home");
    for (const QString& name : data.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        ok = ok && (name == "lists" || QFile::link(data.filePath(name), Path(name)));
    for (const QString& name : QDir(data.filePath("lists")).entryList(QDir::Files))
        ok = ok && QFile::copy(data.filePath("lists/" + name), Path("work/" + name));
    if (!ok)
        qFatal("Cannot lay out a deployment from %s in %s: %s.", KESTRIX_DATA_DIR, qPrintable(Path()), strerror(errno));
    qputenv("HOME", Path("home").toLocal8Bit());
    QDir::setCurrent(Work());
}

ScratchDeployment::~ScratchDeployment()
{
    QDir::setCurrent(PreviousDir), qputenv("HOME", PreviousHome);
}

void ScratchDeployment::Write(const QString& relative, const QString& content) const
{
    QDir().mkpath(QFileInfo(Path(relative)).path());
    QFile file(Path(relative));
    if (!file.open(QIODevice::WriteOnly) || file.write(content.toUtf8()) != content.toUtf8().size())
        qFatal("Cannot write %s: %s.", qPrintable(file.fileName()), qPrintable(file.errorString()));
}

QString ScratchDeployment::Read(const QString& relative) const
{
    QFile file(Path(relative));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

qint64 FakeCompilePid()
{
    QFile file("child.pid");
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toLongLong() : 0;
}

QString ListedDirectories(const KestrixWizard& wizard)
{
    QStringList dirs;
    for (int i = 0; i < wizard.CmpHdrDirListBox->count(); ++i)
        dirs.append(wizard.CmpHdrDirListBox->item(i)->text());
    return dirs.join('|');
}

QStringList CompilerPages(const KestrixWizard& w)
{
    return {w.CmpExeEdit->text(), w.CrossCmpCheckBox->isChecked() ? "cross" : "native", w.CmpExeFlagEdit->text(),
            w.CmpExeFlagChkBox->isChecked() ? "exe flag spaced" : "-", w.CmpDefFlagEdit->text(),
            w.CmpDefFlagChkBox->isChecked() ? "define flag spaced" : "-", w.CmpCmpFlagEdit->text(),
            w.CmpObjExtFlagEdit->text(), w.getCmdOrderStr(), w.ReduceFileSizeCheckBox->isChecked() ? "reduce" : "-",
            ListedDirectories(w), ListFieldEntries(w.CmpDefEdit->toPlainText()).join(','),
            ListFieldEntries(w.CmpSwtchEdit->toPlainText()).join(','),
            w.TemplateStr, w.ForceIncludeStr, w.SubHeadersStr, w.SelectedFamily, w.SelectedName};
}

bool RunToEnd(KestrixWizard& wizard)
{
    wizard.accept();
    const QDeadlineTimer deadline(20000);
    while (wizard.EngineRunning() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return !wizard.EngineRunning();
}

bool ProcessGone(qint64 pid)
{
    // "pid (name) S ...": the state follows the closing parenthesis.
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    const QByteArray text = stat.open(QIODevice::ReadOnly) ? stat.readAll() : QByteArray();
    return text.isEmpty() || text.mid(text.lastIndexOf(')') + 2, 1) == "Z";
}

} // namespace kxwiztest
