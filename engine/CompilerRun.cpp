// The one path between the engine and the compiler under test: the compile script, the
// captured logs and the probe files in the working directory.
#include "KestrixEngine.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>

namespace {
const char* const kScriptName = "compile.sh";
const char* const kPassMarker = "pass.txt";
}  // namespace

void Say(const std::string& line)
{
    std::cout << line << '\n' << std::flush;
}

bool ReadWholeFile(const std::string& path, std::string& content)
{
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open())
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    content = buffer.str();
    return true;
}

std::string ReadFileOrEmpty(const std::string& path)
{
    std::string content;
    ReadWholeFile(path, content);
    return content;
}

bool WriteWholeFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.is_open())
        return false;
    out << content;
    out.close();
    return !out.fail();
}

void KestrixEngine::SystemUsingBatchFile(const std::string& command)
{
    // The script keeps the compiler's exit status observable through the marker file and
    // leaves the last command on disk for the user to inspect after a failure.
    std::string script;
    script += "#!/bin/sh\n";
    script += "if [ -f pass.txt ]; then\n";
    script += "   rm -f pass.txt\n";
    script += "fi\n";
    script += command + "\n";
    script += "if [ $? -eq 0 ]; then\n";
    script += "   echo \"Pass\" > pass.txt\n";
    script += "fi\n";
    WriteWholeFile(kScriptName, script);
    chmod(kScriptName, 0777);
    ++CompilerRunCount;
    std::cout.flush();
    const std::string run = std::string("./") + kScriptName + " >" + S_STDOUT_LOG + " 2>" + S_STDERR_LOG;
    [[maybe_unused]] const int status = std::system(run.c_str());
}

bool PassMarkerExists()
{
    struct stat info {};
    return stat(kPassMarker, &info) == 0;
}

std::string KestrixEngine::ReadStdoutAndStderr()
{
    return ReadFileOrEmpty(S_STDOUT_LOG) + ReadFileOrEmpty(S_STDERR_LOG);
}

bool KestrixEngine::CompileThisString(const std::string& text, int& objectSize, std::string& output)
{
    const std::string object = "typetest" + S_OBJEXT;
    const std::string source = "typetest" + SourceExt();
    WriteWholeFile(source, text);
    std::remove(object.c_str());
    SystemUsingBatchFile(GetCompleteCommandStr(source, false, ""));
    output = ReadStdoutAndStderr();

    std::ifstream probe(object, std::ios::binary);
    if (!probe.is_open()) {
        objectSize = 0;
        return false;
    }
    struct stat info {};
    objectSize = stat(object.c_str(), &info) == 0 ? static_cast<int>(info.st_size) : -1;
    return true;
}
