#include "Compiler.h"

#include <QTextStream>

const std::array<const char*, Compiler::FieldCount> Compiler::TagWords = {
    "Name", "Family", "ExeCommand", "CrossCompiler", "OutputFlag", "DefineFlag", "ObjectFlag",
    "ObjectFileExtension", "Order", "ReduceFileSize", "CompilerDefines", "CompilerSwitches",
    "Template", "ForceIncludeFile", "SubHeaders"};

QString& Compiler::Field(int i)
{
    return const_cast<QString&>(static_cast<const Compiler*>(this)->Field(i));
}

const QString& Compiler::Field(int i) const
{
    const QString* fields[FieldCount] = {&Name, &Family, &ExeCommand, &CrossCompiler, &OutputFlag,
                                         &DefineFlag, &ObjectFlag, &ObjectFileExtension, &Order,
                                         &ReduceFileSize, &CompilerDefines, &CompilerSwitches,
                                         &Template, &ForceIncludeFile, &SubHeaders};
    return *fields[i];
}

bool Compiler::operator==(const Compiler& other) const
{
    for (int i = 0; i < FieldCount; ++i) {
        if (Field(i) != other.Field(i))
            return false;
    }
    return true;
}

namespace {

const QString FamilyOpen = QStringLiteral("<CompilerFamily>");
const QString FamilyClose = QStringLiteral("</CompilerFamily>");
const QString EntryOpen = QStringLiteral("<Compiler>");
const QString EntryClose = QStringLiteral("</Compiler>");

QString OpenTag(int field)
{
    return QStringLiteral("<%1>").arg(QLatin1String(Compiler::TagWords[field]));
}

QString CloseTag(int field)
{
    return QStringLiteral("</%1>").arg(QLatin1String(Compiler::TagWords[field]));
}

} // namespace

void ReadCompilerCatalogue(const QString& text, CompilerCatalogue& catalogue)
{
    // Indentation and runs of blanks carry no meaning in the file, so every line is
    // simplified before it is looked at; values therefore lose doubled inner blanks.
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i].simplified();
        if (line.startsWith(FamilyOpen)) {
            line.remove(FamilyOpen);
            line.remove(FamilyClose);
            catalogue.Families.append(line);
        } else if (line.startsWith(EntryOpen)) {
            Compiler entry;
            for (++i; i < lines.size(); ++i) {
                QString fieldLine = lines[i].simplified();
                if (fieldLine == EntryClose)
                    break;
                for (int f = 0; f < Compiler::FieldCount; ++f) {
                    const QString open = OpenTag(f);
                    if (fieldLine.startsWith(open)) {
                        fieldLine.remove(open);
                        fieldLine.remove(CloseTag(f));
                        entry.Field(f) = fieldLine;
                        break;
                    }
                }
            }
            catalogue.Compilers.append(entry);
        }
    }
}

QString CompilerCatalogueText(const CompilerCatalogue& catalogue)
{
    QString text;
    QTextStream out(&text);
    for (const QString& family : catalogue.Families)
        out << FamilyOpen << family << FamilyClose << '\n';
    out << '\n';
    for (const Compiler& entry : catalogue.Compilers) {
        out << ' ' << EntryOpen << '\n';
        for (int f = 0; f < Compiler::FieldCount; ++f)
            out << "  " << OpenTag(f) << entry.Field(f) << CloseTag(f) << '\n';
        out << ' ' << EntryClose << '\n' << '\n';
    }
    out.flush();
    return text;
}

bool CompilerNameFitsProduct(const QString& name, const QString& product)
{
    if (product == QLatin1String("zanth"))
        return !(name == QLatin1String("C++") || name.endsWith(QLatin1String("- C++")));
    return !(name == QLatin1String("C") || name.endsWith(QLatin1String("- C")));
}
