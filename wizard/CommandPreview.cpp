#include "wizard/CommandPreview.h"

#include <stdexcept>

#include "common/CompileTemplate.h"

namespace {

std::vector<std::string> Words(const QStringList& list)
{
    std::vector<std::string> words;
    for (const QString& item : list)
        words.push_back(item.toStdString());
    return words;
}

} // namespace

QString ComposeCompileCommand(const CompileTemplate& t, const QString& source, bool executable,
                              const QString& extraDefine)
{
    // The engine's own composition, so that the preview shows what the shell will run.
    const kxcommon::CompileTemplate compile{t.Order.toStdString(),   t.Command.toStdString(), t.ExeFlag.toStdString(),
                                            t.ObjFlag.toStdString(), t.DefFlag.toStdString(), Words(t.Switches),
                                            Words(t.Defines)};
    try {
        return QString::fromStdString(
            kxcommon::ComposeCompileCommand(compile, source.toStdString(), executable, extraDefine.toStdString()));
    } catch (const std::invalid_argument& lacking) {
        // The engine refuses such a template too; the preview says why instead of a command.
        return QString::fromStdString(lacking.what());
    }
}
