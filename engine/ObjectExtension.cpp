#include "KestrixEngine.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>

void KestrixEngine::GetObjectFileExtension(std::string& objExt, const std::string& expectedExt)
{
    [[maybe_unused]] const int cleaned = std::system("rm typetest.* -f");
    WriteWholeFile("typetest.c", "char c;\n");
    SystemUsingBatchFile(GetCompleteCommandStr("typetest.c", false, "XXX"));

    DIR* dir = opendir(".");
    if (dir == nullptr)
        return;
    std::string accepted;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, 8, "typetest") != 0 || name.size() < 8 || name == "typetest.c")
            continue;
        const std::size_t dot = name.rfind('.');
        if (dot == std::string::npos)
            continue;
        const std::string ext = name.substr(dot);
        if (!expectedExt.empty() && ext != expectedExt)
            continue;
        objExt = ext;
        accepted = name;
        break;
    }
    closedir(dir);

    if (accepted.empty()) {
        Say("Can't discover object file extension, or the compile command failed to produce an object file of the specified extension!");
        Say("Please check the specified compile flags if this command is malformed.");
        throw KestrixExit{1};
    }

    S_OBJ_IS_BINARY = true;
    // Some compilers for small targets write their objects as text (assembler or
    // relocatable listings); only their content tells whether they are binary.
    if (objExt == ".asm")
        objExt = ".rel";
    if (objExt == ".rel") {
        const std::string content = ReadFileOrEmpty(accepted);
        S_OBJ_IS_BINARY = false;
        for (char ch : content) {
            if (static_cast<signed char>(ch) <= 0) {
                S_OBJ_IS_BINARY = true;
                break;
            }
        }
    }
}

void KestrixEngine::CheckExeFileRunWorks()
{
    const std::string source = "hello_world" + SourceExt();
    WriteWholeFile(source, (IsC ? S_PRINTF_DECL_C : S_PRINTF_DECL_CPP) + "\n" +
                               "int main() { printf(\"hello world\"); return 0; }\n");
    SystemUsingBatchFile(GetCompleteCommandStr(source, true, ""));
    std::remove(S_STDOUT_LOG.c_str());
    std::remove(S_STDERR_LOG.c_str());

    const std::string executable = source + S_EXE_EXT;
    if (!std::ifstream(executable).is_open()) {
        Say("Failed to compile a test file for execution! Please check the compile options used (or the compiler linker environment) for next time, however continuing in Cross Compiler mode");
        IsCrossCompiler = true;
        return;
    }
    std::fflush(stdout);
    const std::string run = "./" + executable + " >" + S_STDOUT_LOG;
    [[maybe_unused]] const int status = std::system(run.c_str());
    const std::string printed = ReadStdoutAndStderr();
    if (printed == "hello world")
        return;
    Say("Failed on executing a test file on this host system! Continuing in Cross Compiler mode");
    Say("Debug: " + printed);
    Say("Please set the Cross Compiler checkbox if this is indeed the case.");
    IsCrossCompiler = true;
}
