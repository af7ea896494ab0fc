// The wizard's catalogue reader on any text: what it reads, written back and read again, gives
// the same families and compilers, or a saved catalogue would lose or change entries.
#include "tests/fuzz/Harness.h"
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
