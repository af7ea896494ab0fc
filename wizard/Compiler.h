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
// that a damaged file loses as little as possible.
void ReadCompilerCatalogue(const QString& text, CompilerCatalogue& catalogue);

// The text of compilers.txt for `catalogue`, in the layout that ReadCompilerCatalogue reads.
QString CompilerCatalogueText(const CompilerCatalogue& catalogue);

// Whether a catalogue entry named `name` is offered for `product`: C++ entries are hidden
// from the C analyser and C entries from the C++ analyser.
bool CompilerNameFitsProduct(const QString& name, const QString& product);
