#include "CommandLine.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <unistd.h>

#include "KestrixEngine.h"

void PrintUsage()
{
    Say("Usage: Kestrix <zanth|zanthpp> <ccmp|cmp> <compiler_command> <compiler_exe_flag> "
        "<compiler_obj_flag> <compiler_def_flag> <object_file_extension> <compiler_order_str> "
        "<-i <search__dir>... [-op peronality_destination_file] "
        "[-xd comma_separated_implicit_compiler_defines] "
        "[-xs comma_separated_implicit_compiler_switches] [-rfs]");
}

std::string FullyQualifyPath(const std::string& path)
{
    if (!path.empty() && path[0] == '/')
        return path;
    // getcwd with a null buffer allocates as much as the path needs.
    char* cwd = getcwd(nullptr, 0);
    if (cwd == nullptr) {
        Say(std::string("Error: Cannot read the working directory to complete the search directory \"") +
            path + "\": " + std::strerror(errno));
        throw KestrixExit{1};
    }
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
        const std::string piece = value.substr(pos, comma == std::string::npos ? std::string::npos : comma - pos);
        if (keepEmpty || !piece.empty())
            pieces.push_back(piece);
        if (comma == std::string::npos)
            break;
        pos = comma + 1;
    }
    return pieces;
}

bool ApplyOptions(KestrixEngine& engine, const std::vector<std::string>& args)
{
    static const char* const valueOptions[] = {"-i", "-op", "-xd", "-xs", "-tpl", "-fi", "-sub"};
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-rfs") {
            engine.ReduceFileSize = true;
            continue;
        }
        bool takesValue = false;
        for (const char* option : valueOptions)
            takesValue = takesValue || arg == option;
        if (!takesValue)
            continue;
        if (i + 1 >= args.size())
            return false;
        // The value is examined as an argument in its own right in the next step too.
        const std::string& value = args[i + 1];
        if (arg == "-i") {
            engine.SearchDirs.insert(FullyQualifyPath(value));
        } else if (arg == "-op") {
            engine.PersonalityFile = value;
        } else if (arg == "-xd") {
            for (const std::string& define : SplitAtCommas(value, false))
                engine.ImplicitDefines.push_back(define);
        } else if (arg == "-xs") {
            for (const std::string& sw : SplitAtCommas(value, true))
                engine.ImplicitSwitches.push_back(sw);
        } else if (arg == "-tpl") {
            engine.TemplatePersonality = value;
        } else if (arg == "-fi") {
            engine.ForceIncludeFile = value;
        } else if (arg == "-sub") {
            engine.SubstituteHeaderDir = value;
        }
    }
    return true;
}

int KestrixMain(int argc, char** argv)
{
    try {
        if (argc <= 9) {
            PrintUsage();
            return 0;
        }
        const std::vector<std::string> args(argv, argv + argc);
        KestrixEngine engine(args[1], args[2], args[3], args[4], args[5], args[6], args[7], args[8]);
        if (!ApplyOptions(engine, args))
            return 1;
        const int status = engine.GenPersonality();
        std::cout.flush();
        return status;
    } catch (const KestrixExit& exitRequest) {
        std::cout.flush();
        return exitRequest.Status;
    } catch (...) {
        std::cout.flush();
        return 1;
    }
}
