#include "engine/app/CommandLine.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <iostream>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "common/CompileTemplate.h"
#include "engine/probe/CompilerProbe.h"
#include "engine/core/Files.h"
#include "engine/app/Generation.h"
#include "engine/probe/Interrupt.h"
#include "engine/probe/ProcessRunner.h"
#include "engine/core/Reporter.h"
#include "engine/core/RunEnd.h"
#include "engine/app/RunLock.h"
#include "engine/output/TemplateMerge.h"
#include "engine/core/TextUtilities.h"

namespace {

const char* const kUsage =
    "Usage: Kestrix <zanth|zanthpp> <ccmp|cmp> <compiler_command> <compiler_exe_flag> "
    "<compiler_obj_flag> <compiler_def_flag> <object_file_extension> <compiler_order_str> "
    "<-i <search__dir>... [-op peronality_destination_file] "
    "[-xd comma_separated_implicit_compiler_defines] "
    "[-xs comma_separated_implicit_compiler_switches] [-rfs]";
const char* const kOptionsLine =
    "Options: -i DIR, -op FILE, -xd DEFINES, -xs SWITCHES, -rfs, -tpl TEMPLATE, -fi FORCE_INCLUDE, "
    "-sub SUBSTITUTE_DIR, -j JOBS (default: the number of cores), -timeout SECONDS (per compile, default 120), "
    "-exact (one question per compile, no fast paths)";

// What a named input must be.
enum class Kind { Directory, File };

// Empty when the path can be used as the kind; otherwise the reason.
std::string Unusable(const std::string& path, Kind kind)
{
    if (HoldsLineEnd(path))
        return "its name holds a line end, which no personality line can carry";
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? "it does not exist" : ErrnoText();
    if (kind == Kind::Directory) {
        if (!S_ISDIR(info.st_mode))
            return "it is not a directory";
        DIR* dir = opendir(path.c_str());
        if (dir == nullptr)
            return "it cannot be read: " + ErrnoText();
        closedir(dir);
        return {};
    }
    if (S_ISDIR(info.st_mode))
        return "it is a directory";
    if (!S_ISREG(info.st_mode))
        return "it is not a regular file";
    if (static_cast<std::size_t>(info.st_size) > kMaxTextFileBytes)
        return "it is larger than " + std::to_string(kMaxTextFileBytes) + " bytes, too large for a text file of its kind";
    if (access(path.c_str(), R_OK) != 0)
        return "it cannot be read: " + ErrnoText();
    return {};
}

// The first fault of a template's section syntax, or empty. Found now, it costs the user no
// run: at the end the broken section could only be left out.
std::string TemplateFault(const std::string& path)
{
    std::string content;
    std::string error;
    if (!ReadWholeFile(path, content, &error, kMaxTextFileBytes))
        return "it cannot be read: " + error;
    const TemplateSections sections = ReadTemplateSections(SplitLines(content));
    return sections.Problems.empty() ? std::string() : sections.Problems.front();
}

// The substitute header directory without trailing slashes. Its copy is named after its last
// component, so a name without one (empty, "/", or ending in "." or "..") would spread the
// copy over the personality's folder or beyond it; such a name is refused (why says why).
std::string SubstituteDirName(const std::string& value, std::string& why)
{
    std::string name = value;
    while (name.size() > 1 && name.back() == '/')
        name.pop_back();
    const std::string last = name.substr(name.rfind('/') == std::string::npos ? 0 : name.rfind('/') + 1);
    if (value.empty())
        why = "the name is empty";
    else if (last.empty())
        why = "it is the root directory, whose copy would have no name of its own";
    else if (last == "." || last == "..")
        why = "its last component is \"" + last + "\", which gives its copy no name of its own; name the directory itself";
    return name;
}

bool ReadCount(const std::string& text, unsigned low, unsigned high, unsigned& value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 9)
        return false;
    const unsigned long parsed = std::strtoul(text.c_str(), nullptr, 10);
    if (parsed < low || parsed > high)
        return false;
    value = static_cast<unsigned>(parsed);
    return true;
}

}  // namespace

void PrintUsage(Reporter& report)
{
    report.Say(kUsage);
    report.Say(kOptionsLine);
}

std::string FullyQualifyPath(const std::string& path)
{
    if (!path.empty() && path[0] == '/')
        return path;
    // getcwd with a null buffer allocates as much as the path needs.
    char* cwd = getcwd(nullptr, 0);
    if (cwd == nullptr)
        throw RunFailure{"Error: Cannot read the working directory to complete the path \"" + path + "\": " + ErrnoText()};
    std::string dir(cwd);
    free(cwd);
    if (path == ".")
        return dir;
    return dir + "/" + path;
}

std::vector<std::string> SplitAtCommas(const std::string& value, bool keepEmpty)
{
    std::vector<std::string> pieces;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t comma = value.find(',', pos);
        std::string piece = value.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
        if (keepEmpty || !piece.empty())
            pieces.push_back(std::move(piece));
        if (comma == std::string::npos)
            break;
        pos = comma + 1;
    }
    return pieces;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLine line;
    if (args.size() <= 9) {
        line.What = CommandLine::Usage;
        return line;
    }
    auto refuse = [&](std::string message) {
        line.What = CommandLine::Refused;
        line.Error = "Error: " + std::move(message);
        return line;
    };

    Options& o = line.Opts;
    o.IsC = args[1] == "zanth";
    o.CrossCompilerGiven = args[2] == "ccmp";
    o.CompilerCommand = args[3];
    o.ExeFlag = args[4];
    o.ObjFlag = args[5];
    o.DefFlag = args[6];
    o.ObjectFileExtension = args[7];
    o.OrderStr = args[8];
    if (const char* missing = kxcommon::MissingPlaceholder(o.OrderStr))
        return refuse("The compile-command template \"" + o.OrderStr + "\" lacks the placeholder " + missing +
                      "; it needs all of %c, %s, %j, %o, %e and %d.");

    // Options follow the positional arguments; an option's value is never read as an option.
    static const char* const valueOptions[] = {"-i", "-op", "-xd", "-xs", "-tpl", "-fi", "-sub", "-j", "-timeout"};
    std::set<std::string> given;
    for (std::size_t i = 9; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-rfs" || arg == "-exact") {
            (arg == "-rfs" ? o.ReduceFileSize : o.Exact) = true;
            continue;
        }
        if (std::find(std::begin(valueOptions), std::end(valueOptions), arg) == std::end(valueOptions)) {
            if (!arg.empty() && arg[0] == '-')
                return refuse("Unknown option \"" + arg + "\".");
            return refuse("Unexpected argument \"" + arg + "\": every value needs its option (give -i once per directory).");
        }
        if (i + 1 >= args.size())
            return refuse("The option " + arg + " needs a value.");
        const std::string& value = args[++i];
        // One file or folder of each kind: a second one would silently win or be lost.
        static const char* const singleOptions[] = {"-op", "-tpl", "-fi", "-sub"};
        if (std::find(std::begin(singleOptions), std::end(singleOptions), arg) != std::end(singleOptions) &&
            !given.insert(arg).second)
            return refuse("The option " + arg + " is given twice; give it once.");
        if (arg == "-i" && value.empty())
            return refuse("Cannot use the search directory \"\" (-i): the name is empty.");
        if (arg == "-i") {
            const std::string dir = FullyQualifyPath(value);
            if (const std::string why = Unusable(dir, Kind::Directory); !why.empty())
                return refuse("Cannot use the search directory \"" + value + "\" (-i): " + why + ".");
            if (std::find(o.SearchDirs.begin(), o.SearchDirs.end(), dir) == o.SearchDirs.end())
                o.SearchDirs.push_back(dir);
        } else if (arg == "-op") {
            struct stat info {};
            if (value.empty() || value.back() == '/')
                return refuse("Cannot use the personality file \"" + value + "\" (-op): it names no file.");
            if (HoldsLineEnd(value))
                return refuse("Cannot use the personality file \"" + value +
                              "\" (-op): its name holds a line end, which no personality line can carry.");
            if (stat(value.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
                return refuse("Cannot use the personality file \"" + value + "\" (-op): it is a directory.");
            o.PersonalityFile = value;
        } else if ((arg == "-xd" || arg == "-xs") && HoldsLineEnd(value)) {
            return refuse("The value of " + arg + " starting \"" + value.substr(0, value.find_first_of("\r\n")) +
                          "\" holds a line end, which neither a compile command nor a personality line can carry.");
        } else if (arg == "-xd") {
            for (std::string& define : SplitAtCommas(value, false))
                o.ImplicitDefines.push_back(std::move(define));
        } else if (arg == "-xs") {
            for (std::string& sw : SplitAtCommas(value, true))
                o.ImplicitSwitches.push_back(std::move(sw));
        } else if (arg == "-tpl" || arg == "-fi") {
            std::string why = Unusable(value, Kind::File);
            if (why.empty() && arg == "-tpl")
                why = TemplateFault(value);
            if (!why.empty()) {
                if (why.back() != '.')
                    why += '.';
                return refuse("Cannot use the " + std::string(arg == "-tpl" ? "template personality" : "force-include file") +
                              " \"" + value + "\" (" + arg + "): " + why);
            }
            (arg == "-tpl" ? o.TemplatePersonality : o.ForceIncludeFile) = value;
        } else if (arg == "-sub") {
            std::string why;
            const std::string dir = SubstituteDirName(value, why);
            if (why.empty())
                why = Unusable(dir, Kind::Directory);
            if (!why.empty())
                return refuse("Cannot use the substitute header directory \"" + value + "\" (-sub): " + why + ".");
            o.SubstituteHeaderDir = dir;
        } else if (arg == "-j") {
            if (!ReadCount(value, 1, kMaxJobs, o.Jobs))
                return refuse("The number of jobs \"" + value + "\" (-j) must be a whole number from 1 to " +
                              std::to_string(kMaxJobs) + ".");
        } else if (arg == "-timeout") {
            if (!ReadCount(value, 1, 24 * 3600, o.CompileTimeout))
                return refuse("The time limit \"" + value + "\" (-timeout) must be a whole number of seconds from 1 to 86400.");
            // The last -timeout counts, for compiles and programs alike.
            o.ProgramTimeout = std::min(Options().ProgramTimeout, o.CompileTimeout);
        }
    }
    return line;
}

namespace {

// Scratch folders that earlier runs in this directory left when they were killed or the
// machine stopped. The run lock shows that no run uses them now, and one named with this
// run's process id again (a container, a PID namespace) would stop its first probe.
void RemoveStaleScratch(const std::string& workDir)
{
    namespace fs = std::filesystem;
    const std::string prefix = "kestrix-probes.";
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(workDir, error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) != 0 || name.size() == prefix.size() ||
            name.find_first_not_of("0123456789", prefix.size()) != std::string::npos)
            continue;
        std::error_code removeError;
        fs::remove_all(entry.path(), removeError);
        if (removeError)
            throw RunFailure{"Error: Cannot remove the scratch folder \"" + entry.path().string() +
                             "\" that an earlier run left: " + removeError.message() + "."};
    }
}

}  // namespace

int KestrixMain(int argc, char** argv)
{
    Interrupt::Install();
    AdoptProcessesLeftBehind();
    struct EndLeftBehind {
        ~EndLeftBehind() { EndProcessesLeftBehind(); }
    } endLeftBehind;
    StreamReporter report(std::cout, std::cerr);
    try {
        const CommandLine line = ParseCommandLine(std::vector<std::string>(argv, argv + argc));
        if (line.What == CommandLine::Usage) {
            PrintUsage(report);
            return 0;
        }
        if (line.What == CommandLine::Refused)
            throw RunFailure{line.Error};
        const std::string workDir = FullyQualifyPath(".");
        RunLock lock;
        if (std::string error; !lock.Take(workDir, error))
            throw RunFailure{error};
        RemoveStaleScratch(workDir);
        CompilerProbe probe(line.Opts.Template(), line.Opts.Limits(), workDir, report);
        struct KeepFailure {
            CompilerProbe& Probe;
            ~KeepFailure() { Probe.KeepLastFailure(); }
        } keep{probe};
        return GenPersonality(line.Opts, probe, report);
    } catch (const KestrixExit& exitRequest) {
        return exitRequest.Status;
    } catch (const RunFailure& failure) {
        report.SayError(failure.Message);
        return 1;
    } catch (const RunInterrupted& interrupted) {
        report.SayError(std::string("Kestrix: Interrupted by ") + Interrupt::SignalName(interrupted.Signal) +
                 "; the run was stopped and the previous personality is left as it was.");
        return 128 + interrupted.Signal;
    } catch (const std::exception& error) {
        report.SayError(std::string("Error: ") + error.what());
        return 1;
    } catch (...) {
        report.SayError("Error: The run failed for an unknown reason.");
        return 1;
    }
}
