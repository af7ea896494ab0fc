// Kestrix beside a peer that probes compilers for the same kind of facts (ccconfig, from
// Debian's libconvert-binary-c-perl), as a yardstick: the wall time of a whole Kestrix run
// (the built program, default jobs, in a scratch deployment) and of "ccconfig --cc COMPILER
// --nostatus", one after the other on the same machine, for gcc with its four include
// directories and avr-gcc with its catalogue entry.
//
// Beside the times, each tool's recall of the compiler's predefined macros: how many of the
// object-like macros of the compiler's own list (-dM -E with the switches both tools were
// given) it reports with the same value, blanks collapsed. Kestrix's are the define lines
// of its personality, ccconfig's the "Define" list of the Perl hash it prints; a faster run
// that finds fewer macros is no gain.
//
//   bench_vs_peer [gcc|avr-gcc]...
//
// KESTRIX_BENCH_BINARY, when set, names another Kestrix program to time (an older build, to
// set before and after side by side on the same machine state).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

#include "bench/BenchSetup.h"
#include "common/PersonalityFormat.h"
#include "export/MacroText.h"

namespace fs = std::filesystem;

namespace {

// The switches both tools give the compiler beyond its name.
std::vector<std::string> CompilerSwitches(const std::string& compiler)
{
    if (compiler == "avr-gcc")
        return {"-mmcu=atmega2560"};
    return {};
}

// ccconfig's command line for each of the benchmark's compilers.
std::vector<std::string> PeerArgs(const std::string& compiler)
{
    std::vector<std::string> args{"--cc", compiler, "--nostatus"};
    const std::vector<std::string> switches = CompilerSwitches(compiler);
    if (!switches.empty()) {
        args.push_back("--");
        args.insert(args.end(), switches.begin(), switches.end());
    }
    return args;
}

std::string Quoted(const std::string& word)
{
    std::string quoted = "'";
    for (char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs the command in the directory, its output into the file (or discarded); the wall time
// in seconds, or a negative number when it failed.
double TimeCommand(const std::string& directory, const std::string& program, const std::vector<std::string>& args,
                   const std::string& output = "/dev/null")
{
    std::string command = "cd " + Quoted(directory) + " && " + Quoted(program);
    for (const std::string& arg : args)
        command += " " + Quoted(arg);
    command += " >" + Quoted(output) + " 2>/dev/null";
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (status != 0) {
        std::fprintf(stderr, "The command %s failed (status %d).\n", command.c_str(), status);
        return -1;
    }
    return seconds;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// NAME=VALUE split at the first '=', the value's blanks collapsed; false for a function-like
// define or one without '='.
bool AddDefine(const std::string& define, std::map<std::string, std::string>& macros)
{
    const std::size_t equals = define.find('=');
    if (equals == std::string::npos || define.find('(') < equals)
        return false;
    macros[define.substr(0, equals)] = kxexport::CollapseBlanks(define.substr(equals + 1));
    return true;
}

// The compiler's own object-like predefined macros, name to value.
std::map<std::string, std::string> ListedMacros(const std::string& compiler, const std::string& file)
{
    std::vector<std::string> args = CompilerSwitches(compiler);
    args.insert(args.end(), {"-dM", "-E", "-x", "c", "/dev/null"});
    std::map<std::string, std::string> macros;
    if (TimeCommand(".", compiler, args, file) < 0)
        return macros;
    std::istringstream lines(ReadFile(file));
    const std::string prefix = "#define ";
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(prefix, 0) != 0)
            continue;
        std::string define = line.substr(prefix.size());
        const std::size_t blank = define.find(' ');
        if (blank == std::string::npos)
            define += "=";
        else
            define[blank] = '=';
        AddDefine(define, macros);
    }
    return macros;
}

// The define lines of a personality, a string literal's helper resolved back into the literal.
std::map<std::string, std::string> PersonalityMacros(const std::string& file)
{
    std::map<std::string, std::string> macros;
    std::istringstream lines(ReadFile(file));
    for (std::string line; std::getline(lines, line);) {
        const std::size_t blank = line.find(' ');
        const auto kind = kxcommon::LineKindOf(line.substr(0, blank));
        if (blank == std::string::npos || (kind != kxcommon::LineKind::CDefine && kind != kxcommon::LineKind::CppDefine))
            continue;
        try {
            bool quoted = false;
            const std::string define = kxcommon::InsideQuotes(line.substr(blank + 1), quoted);
            const std::size_t equals = define.find('=');
            if (equals != std::string::npos && define.find('(') > equals)
                AddDefine(define.substr(0, equals + 1) + kxexport::ResolveStringHelper(define.substr(equals + 1), ""),
                          macros);
        } catch (const std::invalid_argument&) {
            std::fprintf(stderr, "The personality %s has a define line that does not parse: %s\n", file.c_str(),
                         line.c_str());
        }
    }
    return macros;
}

// The 'NAME=VALUE' strings of the "Define" list in the Perl hash ccconfig prints (single
// quoted, with \\ and \' as their only escapes).
std::map<std::string, std::string> PeerMacros(const std::string& file)
{
    std::map<std::string, std::string> macros;
    const std::string text = ReadFile(file);
    const std::size_t list = text.find("'Define' => [");
    if (list == std::string::npos)
        return macros;
    for (std::size_t at = list + 13; at < text.size() && text[at] != ']'; ++at) {
        if (text[at] != '\'')
            continue;
        std::string define;
        for (++at; at < text.size() && text[at] != '\''; ++at) {
            if (text[at] == '\\' && at + 1 < text.size() && (text[at + 1] == '\\' || text[at + 1] == '\''))
                ++at;
            define += text[at];
        }
        AddDefine(define, macros);
    }
    return macros;
}

bool IsIdentifierChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The value with the listed macros in it replaced by their values, as both tools write a
// value that names another macro (__BYTE_ORDER__ as 1234).
std::string Expanded(const std::string& value, const std::map<std::string, std::string>& listed,
                     std::vector<std::string>& active)
{
    std::string out;
    for (std::size_t i = 0; i < value.size();) {
        if (!IsIdentifierChar(value[i]) || (value[i] >= '0' && value[i] <= '9')) {
            // A number's letters (0x7f, 1.0e5L) stay with it.
            do
                out += value[i++];
            while (i < value.size() && IsIdentifierChar(value[i]) && IsIdentifierChar(value[i - 1]));
            continue;
        }
        std::size_t end = i;
        while (end < value.size() && IsIdentifierChar(value[end]))
            ++end;
        const std::string word = value.substr(i, end - i);
        const auto macro = listed.find(word);
        if (macro != listed.end() && std::find(active.begin(), active.end(), word) == active.end()) {
            active.push_back(word);
            out += Expanded(macro->second, listed, active);
            active.pop_back();
        } else {
            out += word;
        }
        i = end;
    }
    return out;
}

// How many of the listed macros the tool reports with their value, as listed or expanded.
std::size_t Recalled(const std::map<std::string, std::string>& listed, const std::map<std::string, std::string>& reported)
{
    std::size_t found = 0;
    for (const auto& [name, value] : listed) {
        const auto entry = reported.find(name);
        std::vector<std::string> active{name};
        found += entry != reported.end() &&
                         (entry->second == value || entry->second == Expanded(value, listed, active))
                     ? 1
                     : 0;
    }
    return found;
}

std::string Share(std::size_t found, std::size_t of)
{
    char text[32];
    std::snprintf(text, sizeof text, "%zu/%zu", found, of);
    return text;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool havePeer = std::system("command -v ccconfig >/dev/null 2>&1") == 0;
    if (!havePeer)
        std::printf("ccconfig is not installed (Debian package libconvert-binary-c-perl): Kestrix alone.\n");
    std::printf("%-10s %12s %12s %8s %16s %16s\n", "compiler", "Kestrix s", "ccconfig s", "ratio", "Kestrix recall",
                "ccconfig recall");
    const std::string root = (fs::temp_directory_path() / ("kestrix-vs-peer-" + std::to_string(getpid()))).string();
    for (const BenchCompiler& subject : BenchCompilers()) {
        bool wanted = argc == 1 && (subject.Name == "gcc" || subject.Name == "avr-gcc");
        for (int i = 1; i < argc; ++i)
            wanted = wanted || subject.Name == argv[i];
        if (!wanted || std::system(("command -v " + subject.Name + " >/dev/null 2>&1").c_str()) != 0)
            continue;

        const std::string work = MakeBenchDeployment(root);
        std::vector<std::string> args = subject.Args;
        args.insert(args.end(), {"-op", root + "/out.p_c"});
        const char* other = std::getenv("KESTRIX_BENCH_BINARY");
        const double kestrix = TimeCommand(work, other != nullptr && *other != '\0' ? other : KESTRIX_BINARY, args);
        double peer = -1;
        if (havePeer) {
            fs::create_directories(root + "/peer");
            peer = TimeCommand(root + "/peer", "ccconfig", PeerArgs(subject.Name), root + "/peer.pl");
        }
        const std::map<std::string, std::string> listed = ListedMacros(subject.Name, root + "/listed.txt");
        const std::string ownRecall = Share(Recalled(listed, PersonalityMacros(root + "/out.p_c")), listed.size());
        const std::string peerRecall = peer > 0 ? Share(Recalled(listed, PeerMacros(root + "/peer.pl")), listed.size()) : "-";
        fs::remove_all(root);
        if (peer > 0 && kestrix > 0)
            std::printf("%-10s %12.2f %12.2f %8.2f %16s %16s\n", subject.Name.c_str(), kestrix, peer, kestrix / peer,
                        ownRecall.c_str(), peerRecall.c_str());
        else
            std::printf("%-10s %12.2f %12s %8s %16s %16s\n", subject.Name.c_str(), kestrix, "-", "-", ownRecall.c_str(),
                        peerRecall.c_str());
    }
    std::printf("ratio: Kestrix's wall time divided by ccconfig's; recall: the compiler's own predefined macros\n"
                "(-dM -E) that each tool reports with the same value.\n");
    return 0;
}
