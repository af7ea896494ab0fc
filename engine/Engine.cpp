#include "KestrixEngine.h"

#include <fstream>

KestrixEngine::KestrixEngine(const std::string& product, const std::string& compilerKind,
                             const std::string& compilerCommand, const std::string& exeFlag,
                             const std::string& objFlag, const std::string& defFlag,
                             const std::string& objectFileExtension, const std::string& orderStr)
    : IsC(product == "zanth"),
      IsCrossCompiler(compilerKind == "ccmp"),
      CompilerCommand(compilerCommand),
      ExeFlag(exeFlag),
      ObjFlag(objFlag),
      DefFlag(defFlag),
      ObjectFileExtension(objectFileExtension),
      OrderStr(orderStr),
      PersonalityFile(S_DEFAULT_PERSONALITY),
      ReduceFileSize(false),
      NeedForceInclude(false)
{
    DefineOption = IsC ? "-d " : "-sd ";
}

std::vector<DataType> KestrixEngine::MakeBaseTypes()
{
    return {
        {S_CHAR, DataType::Integer, 8, 1, false, S_CHAR},
        {S_INT, DataType::Integer, 32, 4, false, S_INT},
        {S_SHORT, DataType::Integer, 16, 2, false, S_SHORT},
        {S_LONG, DataType::Integer, 32, 4, false, S_LONG},
        {S_LONG_LONG, DataType::Integer, 64, 8, false, S_LONGLONG},
        {S_FLOAT, DataType::Floating, 32, 4, false, S_FLOAT},
        {S_DOUBLE, DataType::Floating, 64, 8, false, S_DOUBLE},
        {S_LONG_DOUBLE, DataType::Floating, 64, 8, false, S_LDOUBLE},
        {S_INT_PTR, DataType::Pointer, 32, 4, false, S_DATAPTR},
        {S_CODEPTR, DataType::Pointer, 32, 4, false, S_CODEPTR},
    };
}

int KestrixEngine::GenPersonality()
{
    std::ofstream personality(PersonalityFile, std::ios::out | std::ios::trunc);
    if (!personality.is_open())
        return 1;

    GetObjectFileExtension(S_OBJEXT, ObjectFileExtension);
    if (!IsCrossCompiler)
        CheckExeFileRunWorks();

    BaseTypes = MakeBaseTypes();
    LoadKeywordLists();

    const std::size_t slash = PersonalityFile.rfind(S_PATH_SEPARATOR);
    const std::string personalityDir =
        slash == std::string::npos ? std::string() : PersonalityFile.substr(0, slash + 1);

    if (!SubstituteHeaderDir.empty())
        CreateAndCopyAllFiles(SubstituteHeaderDir, personalityDir, personality);

    Say("Scanning All Directories ...");
    for (const std::string& directory : SearchDirs)
        ScanDirectory(directory);

    GetIncludes(personality);
    FindPreDefines(personality);
    FindExtensionKeywords();
    ConductZanTests(personality);
    ConductKWTests(personality, false);

    const std::string forceIncludeDir = personalityDir + "vmtforceinclude";
    if (!ForceIncludeFile.empty())
        CopyCreateForceIncludeFile(forceIncludeDir, ForceIncludeFile, personality);
    else if (NeedForceInclude)
        CopyCreateForceIncludeFile(forceIncludeDir, "vmt_forceinclude.h", personality);

    personality.close();

    if (!TemplatePersonality.empty())
        IncorporateTemplatePersonality(PersonalityFile, TemplatePersonality);
    return 0;
}
