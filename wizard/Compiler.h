#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

// One entry of the compiler catalogue. The fields are kept in the order in which they are
// written to compilers.txt, and each is stored under the tag of the same name.
struct Compiler {
    QString Name;
    QString Family;
    QString ExeCommand;
    QString CrossCompiler;
    QString OutputFlag;
    QString DefineFlag;
    QString ObjectFlag;
    QString ObjectFileExtension;
    QString Order;
    QString ReduceFileSize;
    QString CompilerDefines;
    QString CompilerSwitches;
    QString Template;
    QString ForceIncludeFile;
    QString SubHeaders;
    // The compiler's header directories, in search order. Each is stored on a line of its
    // own under <HeaderDirectory>, after the fifteen fields, so that catalogues without
    // them still read as before.
    QStringList HeaderDirectories;

    static constexpr int FieldCount = 15;
    // The tag word of field i ("Name" is stored between <Name> and </Name>).
    static const std::array<const char*, FieldCount> TagWords;

    QString& Field(int i);
    const QString& Field(int i) const;

    bool operator==(const Compiler& other) const;
};

// The catalogue file is two flat lists: family names, and compilers that name their family.
struct CompilerCatalogue {
    QStringList Families;
    QList<Compiler> Compilers;
};

// Appends what `text` holds to `catalogue`. Lines the reader does not understand are
// skipped; an entry cut off by the end of the text is kept with the fields read so far, so
// that a damaged file loses as little as possible. Values are unescaped (see
// EscapeCatalogueValue); text that is no escape is taken as it stands, so files written by
// hand or by earlier versions read as before.
void ReadCompilerCatalogue(const QString& text, CompilerCatalogue& catalogue);

// The text of compilers.txt for `catalogue`, in the layout that ReadCompilerCatalogue reads.
QString CompilerCatalogueText(const CompilerCatalogue& catalogue);

// A value as it is written between its tags: "&" and "<" become "&amp;" and "&lt;", so that
// no value can close its own tag; line ends, tabs, other white space and the second of two
// blanks become numeric escapes ("&#10;", "&#9;", "&#32;"), which the reader's folding of
// white space would otherwise lose.
QString EscapeCatalogueValue(const QString& value);
QString UnescapeCatalogueValue(const QString& text);

// Whether a catalogue entry named `name` is offered for `product`: C++ entries are hidden
// from the C analyser and C entries from the C++ analyser.
bool CompilerNameFitsProduct(const QString& name, const QString& product);
