#include "export/ExportCommandLine.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <vector>

#include "common/AtomicFile.h"

#include "export/ExportError.h"
#include "export/Formats.h"
#include "export/PersonalityReader.h"

namespace kxexport {

namespace {

// Writes the files into dir (made when missing). All are written completely under their
// temporary names before the first is renamed over its target, so that a failure leaves
// every earlier file as it was rather than a set that mixes two personalities.
void WriteFilesAtomically(const std::string& dir, const std::vector<OutputFile>& files)
{
    std::error_code made;
    std::filesystem::create_directories(dir, made);
    if (made)
        throw ExportError("Cannot make the output directory " + dir + ": " + made.message() + ".");
    std::vector<kxcommon::AtomicFile> staged(files.size());
    std::string error;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string target = (std::filesystem::path(dir) / files[i].Name).string();
        if (!staged[i].Open(target, error) || !staged[i].Write(files[i].Content, error))
            throw ExportError("Cannot write " + target + ": " + error + ".");
    }
    for (kxcommon::AtomicFile& file : staged)
        if (!file.Rename(error))
            throw ExportError("Cannot replace " + file.Target() + ": " + error + ".");
}

void Usage(std::ostream& stream)
{
    stream << "Usage: kestrix-export FORMAT PERSONALITY [-o DIR]\n"
              "Writes the facts of a compiler personality (.p_c) in a format other tools read.\n"
              "FORMAT is one of: " << FormatNames() << ".\n"
              "DIR defaults to the personality's folder; the files are named after the personality.\n";
}

struct Arguments {
    std::string Format;
    std::string Personality;
    std::optional<std::string> OutputDir;
    bool Help = false;
};

// The arguments, or the reason they cannot be used.
std::optional<Arguments> Parse(const std::vector<std::string>& args, std::string& problem)
{
    Arguments parsed;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-h" || args[i] == "--help") {
            parsed.Help = true;
        } else if (args[i] == "-o") {
            if (i + 1 == args.size() || args[i + 1].empty()) {
                problem = "The option -o needs the output directory after it.";
                return std::nullopt;
            }
            parsed.OutputDir = args[++i];
        } else if (args[i].size() > 1 && args[i][0] == '-') {
            problem = "The option " + args[i] + " is not known.";
            return std::nullopt;
        } else {
            positional.push_back(args[i]);
        }
    }
    if (parsed.Help)
        return parsed;
    if (positional.size() != 2) {
        problem = "kestrix-export takes a format and a personality, " + std::to_string(positional.size()) + " "
                  + (positional.size() == 1 ? "argument was" : "arguments were") + " given.";
        return std::nullopt;
    }
    parsed.Format = positional[0];
    parsed.Personality = positional[1];
    if (!FindFormat(parsed.Format)) {
        problem = "The format " + parsed.Format + " is not known.";
        return std::nullopt;
    }
    return parsed;
}

}  // namespace

int ExportMain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string problem;
    const std::optional<Arguments> parsed = Parse(args, problem);
    if (!parsed) {
        err << "kestrix-export: " << problem << "\n";
        Usage(err);
        return 1;
    }
    if (parsed->Help) {
        Usage(out);
        return 0;
    }
    try {
        Personality personality = ReadPersonality(parsed->Personality);
        std::string dir = parsed->OutputDir.value_or(std::filesystem::path(parsed->Personality).parent_path().string());
        if (dir.empty())
            dir = ".";
        std::error_code error;
        personality.ExportDir = std::filesystem::absolute(dir, error).lexically_normal().string();
        const std::vector<OutputFile> files = FindFormat(parsed->Format)(personality);
        WriteFilesAtomically(dir, files);
        for (const OutputFile& file : files)
            out << "Wrote " << (std::filesystem::path(dir) / file.Name).string() << "\n";
    } catch (const ExportError& error) {
        err << "kestrix-export: " << error.what() << "\n";
        return 1;
    }
    return 0;
}

}  // namespace kxexport
