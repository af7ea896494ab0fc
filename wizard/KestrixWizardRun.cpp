#include "KestrixWizard.h"

#include "AtomicFile.h"
#include "WizardDialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextStream>

namespace {

QString InCatalogueFolder(const QString& value, const QString& folder)
{
    if (value.contains(QLatin1Char('/')))
        return value;
    return QStringLiteral("../") + folder + QLatin1Char('/') + value;
}

} // namespace

QStringList KestrixWizard::EngineArguments() const
{
    QStringList args;
    args << Product;
    args << (CrossCmpCheckBox->isChecked() ? QStringLiteral("ccmp") : QStringLiteral("cmp"));

    // The engine writes the command into a shell script; a program path with blanks must
    // reach it quoted, while a command followed by its own options must not be.
    QString command = CmpExeEdit->text();
    if (command.contains(QLatin1Char(' ')) && !command.startsWith(QLatin1Char('"'))
        && !command.endsWith(QLatin1Char('"')) && QFileInfo(command).isFile())
        command = QLatin1Char('"') + command + QLatin1Char('"');
    args << command;

    args << CmpExeFlagEdit->text() << CmpCmpFlagEdit->text() << CmpDefFlagEdit->text();
    QString extension = CmpObjExtFlagEdit->text();
    if (!extension.isEmpty() && !extension.startsWith(QLatin1Char('.')))
        extension.prepend(QLatin1Char('.'));
    args << extension;
    args << getCmdOrderStr();

    for (int i = 0; i < CmpHdrDirListBox->count(); ++i)
        args << QStringLiteral("-i") << CmpHdrDirListBox->item(i)->text();

    QString name = PersonNameEdit->text();
    if (!name.endsWith(QLatin1String(".p_c")))
        name += QLatin1String(".p_c");
    args << QStringLiteral("-op") << PersonDestEdit->text() + QLatin1Char('/') + name;

    const QString defines = CmpDefEdit->toPlainText();
    if (!defines.isEmpty())
        args << QStringLiteral("-xd") << CommaSeparatedLines(defines);
    const QString switches = CmpSwtchEdit->toPlainText();
    if (!switches.isEmpty())
        args << QStringLiteral("-xs") << CommaSeparatedLines(switches);
    if (!TemplateStr.isEmpty())
        args << QStringLiteral("-tpl") << InCatalogueFolder(TemplateStr, QStringLiteral("TemplatePersonalities"));
    if (!ForceIncludeStr.isEmpty())
        args << QStringLiteral("-fi") << InCatalogueFolder(ForceIncludeStr, QStringLiteral("ForceIncludeFiles"));
    if (!SubHeadersStr.isEmpty())
        args << QStringLiteral("-sub") << InCatalogueFolder(SubHeadersStr, QStringLiteral("SubstituteHeaders"));
    if (ReduceFileSizeCheckBox->isChecked())
        args << QStringLiteral("-rfs");
    return args;
}

bool KestrixWizard::EngineRunning() const
{
    return Engine && Engine->state() != QProcess::NotRunning;
}

void KestrixWizard::AppendParagraph(const QString& text)
{
    QTextCursor cursor(DetailsText->document());
    cursor.movePosition(QTextCursor::End);
    if (!cursor.block().text().isEmpty())
        cursor.insertBlock();
    cursor.insertText(text);
    DetailsText->moveCursor(QTextCursor::End);
}

void KestrixWizard::AppendStream(const QString& text)
{
    // Output is shown as plain text exactly as it arrives; a chunk may end in the middle
    // of a line, which the next chunk then continues.
    QTextCursor cursor(DetailsText->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    DetailsText->moveCursor(QTextCursor::End);
}

void KestrixWizard::accept()
{
    // Two engines must never share the working directory: their probe files would collide.
    if (EngineRunning())
        return;
    const QStringList args = EngineArguments();
    DetailsText->setPlainText(tr("Initialising Compiler Personality Generation ...\n"));

    if (Engine)
        Engine->deleteLater();
    Engine = new QProcess(this);
    // The engine reports on standard output; its standard error goes where ours goes.
    Engine->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(Engine, &QProcess::readyReadStandardOutput, this, &KestrixWizard::readFromStdout);
    connect(Engine, &QProcess::finished, this, &KestrixWizard::processExit);
    connect(Engine, &QProcess::errorOccurred, this, &KestrixWizard::ProcessFailedToStart);
    setNextEnabled(Page4, false);
    Engine->start(QStringLiteral("Kestrix"), args);
}

void KestrixWizard::ProcessFailedToStart(QProcess::ProcessError error)
{
    if (error != QProcess::FailedToStart)
        return;
    AppendParagraph(tr("Compiler Personality Generation could not be executed: Please ensure Kestrix is set on the path.\n"));
}

void KestrixWizard::readFromStdout()
{
    if (!Engine)
        return;
    const QByteArray chunk = Engine->readAllStandardOutput();
    if (!chunk.isEmpty())
        AppendStream(QString::fromLocal8Bit(chunk));
}

void KestrixWizard::processExit(int exitCode, QProcess::ExitStatus exitStatus)
{
    readFromStdout();
    if (exitStatus == QProcess::NormalExit) {
        SaveLogBtn->setEnabled(true);
        if (exitCode == 0) {
            AppendParagraph(tr("Personality Generated Successfully!"));
            setButtonText(QWizard::CancelButton, tr("Close"));
            AddCompilerBtn->setEnabled(true);
        } else {
            WizardDialogs::Current().Information(
                nullptr, tr("Compiler Personality Generator"),
                tr("Personality Generation Failed!\nPlease check the details on screen and try again."));
            AppendParagraph(QStringLiteral("\n\nCommand Attempted:\n"));
            DisplayFileStrings(QStringLiteral("compile.sh"));
            AppendParagraph(QStringLiteral("\n ---- stdout details ----\n"));
            DisplayFileStrings(QStringLiteral("stdout.log"));
            AppendParagraph(QStringLiteral("\n ---- stderr details ----\n"));
            DisplayFileStrings(QStringLiteral("stderr.log"));
        }
    }
    WriteSettings();
}

void KestrixWizard::DisplayFileStrings(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    QTextStream in(&file);
    QStringList lines;
    while (!in.atEnd())
        lines.append(in.readLine());
    if (!lines.isEmpty())
        AppendParagraph(lines.join(QLatin1Char('\n')));
}

void KestrixWizard::reject()
{
    if (EngineRunning()) {
        Engine->kill();
        Engine->waitForFinished(3000);
    }
    KestrixWizardBase::reject();
}

void KestrixWizard::SaveLogBtn_clicked()
{
    WizardDialogs& dialogs = WizardDialogs::Current();
    const QString fileName = dialogs.SaveFileName(this, tr("Save Log File as .."), PersonDestEdit->text(),
                                                  tr("Log Files (*.txt *.log)"), QStringLiteral("save log dialog"));
    if (fileName.isEmpty())
        return;
    QString error;
    if (!WriteTextFileAtomically(fileName, DetailsText->toPlainText(), &error))
        dialogs.Critical(this, tr("Compiler Personality Generator"),
                         tr("The log could not be saved to %1: %2").arg(fileName, error));
}
