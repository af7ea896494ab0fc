// The wizard's catalogue reader (compilers.txt) on any text. Whatever it reads is written
// back by the catalogue's writer and read again: the second reading must give the same
// families and compilers, field by field, or a saved catalogue would lose or change entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "wizard/Compiler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CompilerCatalogue read;
    ReadCompilerCatalogue(text, read);
    CompilerCatalogue again;
    ReadCompilerCatalogue(CompilerCatalogueText(read), again);
    if (again.Families != read.Families || again.Compilers != read.Compilers)
        std::abort();
    return 0;
}
