#include "wizard/Compiler.h"

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
    return HeaderDirectories == other.HeaderDirectories;
}

namespace {

const QString FamilyOpen = QStringLiteral("<CompilerFamily>");
const QString FamilyClose = QStringLiteral("</CompilerFamily>");
const QString EntryOpen = QStringLiteral("<Compiler>");
const QString EntryClose = QStringLiteral("</Compiler>");
const QString DirectoryOpen = QStringLiteral("<HeaderDirectory>");
const QString DirectoryClose = QStringLiteral("</HeaderDirectory>");

QString OpenTag(int field)
{
    return QStringLiteral("<%1>").arg(QLatin1String(Compiler::TagWords[field]));
}

QString CloseTag(int field)
{
    return QStringLiteral("</%1>").arg(QLatin1String(Compiler::TagWords[field]));
}

// The value between `open` and `close` on a simplified line. Every occurrence of both tags
// is removed, as the catalogue has always been read; escaped values hold neither.
QString TagValue(QString line, const QString& open, const QString& close)
{
    line.remove(open);
    line.remove(close);
    return UnescapeCatalogueValue(line);
}

} // namespace

QString EscapeCatalogueValue(const QString& value)
{
    QString text;
    text.reserve(value.size());
    for (const QChar c : value) {
        const bool blankAfterBlank = c == QLatin1Char(' ') && text.endsWith(QLatin1Char(' '));
        if (c == QLatin1Char('&'))
            text += QLatin1String("&amp;");
        else if (c == QLatin1Char('<'))
            text += QLatin1String("&lt;");
        else if (c.unicode() < 0x20 || blankAfterBlank || (c.isSpace() && c != QLatin1Char(' ')))
            text += QStringLiteral("&#%1;").arg(c.unicode());
        else
            text += c;
    }
    return text;
}

QString UnescapeCatalogueValue(const QString& text)
{
    QString value;
    value.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            const qsizetype end = text.indexOf(QLatin1Char(';'), i + 1);
            const QStringView name = end < 0 ? QStringView() : QStringView(text).mid(i + 1, end - i - 1);
            bool numeric = false;
            const uint code = name.startsWith(QLatin1Char('#')) ? name.mid(1).toUInt(&numeric) : 0;
            QString decoded;
            if (name == QLatin1String("amp"))
                decoded = QStringLiteral("&");
            else if (name == QLatin1String("lt"))
                decoded = QStringLiteral("<");
            else if (name == QLatin1String("gt"))
                decoded = QStringLiteral(">");
            else if (numeric && code <= 0xFFFF)
                decoded = QChar(char16_t(code));
            if (!decoded.isNull()) {
                value += decoded;
                i = end;
                continue;
            }
        }
        value += text[i];
    }
    return value;
}

void ReadCompilerCatalogue(const QString& text, CompilerCatalogue& catalogue)
{
    // Indentation and runs of blanks carry no meaning in the file, so every line is
    // simplified before it is looked at; values therefore lose doubled inner blanks.
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i].simplified();
        if (line.startsWith(FamilyOpen)) {
            catalogue.Families.append(TagValue(line, FamilyOpen, FamilyClose));
        } else if (line.startsWith(EntryOpen)) {
            Compiler entry;
            for (++i; i < lines.size(); ++i) {
                const QString fieldLine = lines[i].simplified();
                if (fieldLine == EntryClose)
                    break;
                if (fieldLine.startsWith(DirectoryOpen)) {
                    entry.HeaderDirectories.append(TagValue(fieldLine, DirectoryOpen, DirectoryClose));
                    continue;
                }
                for (int f = 0; f < Compiler::FieldCount; ++f) {
                    if (fieldLine.startsWith(OpenTag(f))) {
                        entry.Field(f) = TagValue(fieldLine, OpenTag(f), CloseTag(f));
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
        out << FamilyOpen << EscapeCatalogueValue(family) << FamilyClose << '\n';
    out << '\n';
    for (const Compiler& entry : catalogue.Compilers) {
        out << ' ' << EntryOpen << '\n';
        for (int f = 0; f < Compiler::FieldCount; ++f)
            out << "  " << OpenTag(f) << EscapeCatalogueValue(entry.Field(f)) << CloseTag(f) << '\n';
        for (const QString& dir : entry.HeaderDirectories)
            out << "  " << DirectoryOpen << EscapeCatalogueValue(dir) << DirectoryClose << '\n';
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
