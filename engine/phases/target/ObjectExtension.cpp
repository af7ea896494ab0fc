#include "engine/phases/target/ObjectExtension.h"

#include "engine/core/Reporter.h"
#include "engine/core/RunEnd.h"

TargetFacts GetObjectFileExtension(Probe& probe, const Options& options, Reporter& report)
{
    CompileJob job;
    job.Source = "char c;\n";
    job.FileName = "typetest.c";
    job.ExtraDefine = "XXX";
    job.ListFiles = true;
    const CompileResult result = probe.Compile(job);

    TargetFacts facts;
    facts.IsCrossCompiler = options.CrossCompilerGiven;
    const std::string* accepted = nullptr;
    if (!result.Killed()) {
        for (const auto& [name, bytes] : result.Files) {
            const std::size_t dot = name.rfind('.');
            if (name.compare(0, 8, "typetest") != 0 || dot == std::string::npos)
                continue;
            const std::string ext = name.substr(dot);
            if (!options.ObjectFileExtension.empty() && ext != options.ObjectFileExtension)
                continue;
            facts.ObjectExtension = ext;
            accepted = &bytes;
            break;
        }
    }
    if (accepted == nullptr) {
        report.Say("Can't discover object file extension, or the compile command failed to produce an object file of the specified extension!");
        report.Say("Please check the specified compile flags if this command is malformed.");
        throw KestrixExit{1};
    }

    // Some compilers for small targets write their objects as text (assembler or
    // relocatable listings); only their content tells whether they are binary.
    facts.ObjectIsBinary = true;
    if (facts.ObjectExtension == ".asm")
        facts.ObjectExtension = ".rel";
    if (facts.ObjectExtension == ".rel") {
        facts.ObjectIsBinary = false;
        for (char ch : *accepted) {
            if (static_cast<signed char>(ch) <= 0) {
                facts.ObjectIsBinary = true;
                break;
            }
        }
    }
    return facts;
}

bool CheckExeFileRunWorks(Probe& probe, const Options& options, Reporter& report)
{
    CompileJob job;
    job.FileName = std::string("hello_world") + options.SourceExt();
    job.Source = std::string(RunContext::PrintfDecl(options.IsC)) +
                 "\nint main(void) { printf(\"hello world\"); return 0; }\n";
    const ProgramResult result = probe.BuildAndRun(job);
    if (!result.Built) {
        report.Say("Failed to compile a test file for execution! Please check the compile options used (or the compiler linker environment) for next time, however continuing in Cross Compiler mode");
        return false;
    }
    if (result.Run.Succeeded() && result.Run.Stdout == "hello world")
        return true;
    report.Say("Failed on executing a test file on this host system! Continuing in Cross Compiler mode");
    report.Say("Debug: " + result.Run.Stdout);
    report.Say("Please set the Cross Compiler checkbox if this is indeed the case.");
    return false;
}
