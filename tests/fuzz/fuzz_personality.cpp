// The exporter's reader and formats on any bytes: a personality read exports to files where no
// control byte can pass for syntax and no define of the header runs on, or is refused.
#include "export/ExportError.h"
#include "export/Formats.h"
#include "export/PersonalityReader.h"
#include "tests/fuzz/Harness.h"

namespace {

bool HoldsControl(const std::string& text, const std::string& allowed)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 || byte == 0x7F) && allowed.find(c) == std::string::npos)
            return true;
    }
    return false;
}

void Check(const kxexport::OutputFile& file)
{
    const std::string& text = file.Content;
    const std::string& name = file.Name;
    if (name == "compile_flags.txt") {
        // A tab is carried inside a quoted argument, which clang's response files keep whole.
        if (HoldsControl(text, "\n\t"))
            std::abort();
        for (std::size_t start = 0, end = text.find('\n'); end != std::string::npos; start = end + 1, end = text.find('\n', start))
            if (text.substr(start, end - start).find('\t') != std::string::npos && text[start] != '"')
                std::abort();
    } else if (name.ends_with(".clangd") || name.ends_with(".cfg") || name.ends_with(".xml") || name.ends_with(".includes.txt")) {
        if (HoldsControl(text, "\n"))
            std::abort();
    } else if (name.ends_with(".h")) {
        if (text.find('\r') != std::string::npos || text.find('\0') != std::string::npos)
            std::abort();
        std::size_t start = 0;
        for (std::size_t end = text.find('\n'); end != std::string::npos; start = end + 1, end = text.find('\n', start)) {
            const std::string line = text.substr(start, end - start);
            if (line.starts_with("#define ") && line.ends_with('\\'))
                std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    kxexport::Personality personality;
    try {
        personality = kxexport::ParsePersonality(text, "/fuzz/fuzz.p_c");
    } catch (const kxexport::ExportError&) {
        return 0;
    }
    for (const kxexport::Exporter exporter :
         {kxexport::ExportClang, kxexport::ExportCppcheck, kxexport::ExportHeader, kxexport::ExportCheck}) {
        try {
            for (const kxexport::OutputFile& file : exporter(personality))
                Check(file);
        } catch (const kxexport::ExportError&) {
        }
    }
    return 0;
}
