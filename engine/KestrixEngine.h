// The engine of Kestrix: one object per generation run. Its member functions are the
// discovery phases; each phase reads the configuration fields and fills or consumes the
// collections declared here. The compiler is reached only through the probe files in the
// working directory (see CompilerRun.cpp).
#pragma once

#include <cstdint>
#include <fstream>
#include <iosfwd>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "DataType.h"
#include "IdentifierTable.h"
#include "ListIterators.h"

// Process-wide results of the object-extension probe; fixed for the rest of the run.
extern std::string S_OBJEXT;
extern bool S_OBJ_IS_BINARY;

extern const std::string S_PATH_SEPARATOR;
extern const std::string S_C_TESTS_DIR;
extern const std::string S_CPP_TESTS_DIR;
extern const std::string S_C_KEYWORD_TESTS_DIR;
extern const std::string S_C_CONTEXT_KEYWORD_TESTS_DIR;
extern const std::string S_CPP_KEYWORD_TESTS_DIR;
extern const std::string S_CPP_CONTEXT_KEYWORD_TESTS_DIR;
extern const std::string S_DEFAULT_PERSONALITY;
extern const std::string S_STRINGIFY_MACRO;
extern const std::string S_EXPAND_MACRO;
extern const std::string S_INCLUDE_STDDEF;
extern const std::string S_INCLUDE_STDIO;
extern const std::string S_INCLUDE_STDLIB;
extern const std::string S_PRINTF_DECL_C;
extern const std::string S_PRINTF_DECL_CPP;
extern const std::string S_MAIN_BEGIN;
extern const std::string S_RETURN_ZERO;
extern const std::string S_MAIN_END;
extern const std::string S_EXE_EXT;
extern const std::string S_IFDEF;
extern const std::string S_IFNDEF;
extern const std::string S_ENDIF;
extern const std::string S_EXTERN;
extern const std::string S_PUBLIC;
extern const std::string S_PROTECTED;
extern const std::string S_PRIVATE;
extern const std::string S_OPT_EXTENSION;
extern const std::string S_OPT_S;
extern const std::string S_OPT_A;
extern const std::string S_OPT_IT;
extern const std::string S_OPT_XN;
extern const std::string S_OPT_NA;
extern const std::string S_UNSIGNED;
extern const std::string S_EMPTY;
extern const std::string S_ERROR;
extern const std::string S_SUCCESS;
extern const std::string S_EXECUTE;
extern const std::string S_STDOUT_LOG;
extern const std::string S_STDERR_LOG;
extern const std::string S_UNDEFINED_ID;
extern const std::string S_MODIFY_BEGIN;
extern const std::string S_MODIFY_END;
extern const std::string S_ADD_BEGIN;
extern const std::string S_ADD_END;
extern const std::string S_REMOVE_BEGIN;
extern const std::string S_REMOVE_END;

// Names of the types under test (base type table and intrinsic types).
extern const std::string S_CHAR;
extern const std::string S_SHORT;
extern const std::string S_INT;
extern const std::string S_LONG;
extern const std::string S_LONG_LONG;
extern const std::string S_LONGLONG;
extern const std::string S_FLOAT;
extern const std::string S_DOUBLE;
extern const std::string S_LONG_DOUBLE;
extern const std::string S_LDOUBLE;
extern const std::string S_INT_PTR;
extern const std::string S_DATAPTR;
extern const std::string S_CODEPTR;
extern const std::string S_SIZE_T;
extern const std::string S_PTRDIFF_T;
extern const std::string S_WCHAR_T;

// Ends the run with an exit status from deep inside a phase (the object-extension probe
// when no object file appears). main() turns it into the process's exit status; throwing
// instead of calling exit() keeps the engine usable from tests.
struct KestrixExit {
    int Status;
};

// Writes one line of progress or diagnostics to standard output and flushes it, so that a
// reader on a pipe (the wizard's log) sees it at once.
void Say(const std::string& line);

// Raw file access for the probe files in the working directory.
bool ReadWholeFile(const std::string& path, std::string& content);
bool WriteWholeFile(const std::string& path, const std::string& content);
std::string ReadFileOrEmpty(const std::string& path);
// True when the last compile script recorded success ("pass.txt" exists).
bool PassMarkerExists();

// True when the first 1024 bytes of the file hold no NUL byte (an unreadable file counts
// as text).
bool isTextFile(const std::string& path);

class KestrixEngine {
public:
    KestrixEngine(const std::string& product, const std::string& compilerKind,
                  const std::string& compilerCommand, const std::string& exeFlag,
                  const std::string& objFlag, const std::string& defFlag,
                  const std::string& objectFileExtension, const std::string& orderStr);
    ~KestrixEngine() = default;
    KestrixEngine(const KestrixEngine&) = delete;
    KestrixEngine& operator=(const KestrixEngine&) = delete;

    // Generation sequence
    int GenPersonality();
    void LoadKeywordLists();

    // Compile command composition
    std::string GetCompleteCommandStr(const std::string& source, bool buildExecutable,
                                      const std::string& extraDefine) const;

    // Running the compiler
    void SystemUsingBatchFile(const std::string& command);
    bool CompileThisString(const std::string& text, int& objectSize, std::string& output);
    std::string ReadStdoutAndStderr();
    // Number of compiler runs made so far through the script (probes of every phase).
    long CompilerRuns() const { return CompilerRunCount; }

    // Object extension and host execution check
    void GetObjectFileExtension(std::string& objExt, const std::string& expectedExt);
    void CheckExeFileRunWorks();

    // Text utilities
    std::string RemovePreAndTrailChars(char c, const std::string& s) const;
    std::string RemoveAllChar(char c, const std::string& s) const;
    std::string RemoveParen(const std::string& s) const;
    std::string RemoveMismatchedQuotes(const std::string& s) const;
    void CorrectPathnames(std::string& path) const;
    void RemoveNumbersAndFilename(std::string& text, const std::string& name) const;

    // Header tree scanning
    bool ScanDirectory(const std::string& directory);
    void ScanFile(const std::string& path);
    void Parse(const std::string& word);
    void ParseBuffer(const char* data, std::size_t size);   // text file content
    void HarvestBinary(const std::string& content);          // binary file content

    // Include path discovery
    void GetIncludes(std::ostream& personality);
    bool TestHeader1(const std::string& header);
    bool TestHeader2(const std::string& directory, const std::string& header);
    int TestHeader3(const std::string& dirA, const std::string& dirB, const std::string& header);

    // Substitute headers and force include
    void CreateAndCopyAllFiles(const std::string& source, const std::string& parent,
                               std::ostream& personality);
    void CopyCreateForceIncludeFile(const std::string& directory, const std::string& name,
                                    std::ostream& personality);

    // Predefined macro discovery
    void FindPreDefines(std::ostream& personality);
    std::string PrintPossibleDefines(const std::string& name) const;
    void TidyAndAddDefine(std::string& value, const std::string& name);

    // Extension keyword discovery
    void FindExtensionKeywords();
    std::string PrintKeywords(const std::string& candidate) const;
    void RemoveAlreadyHandledKWsInFInc();

    // Keyword classification tests
    void ConductKWTests(std::ostream& personality, bool contextTests);
    bool ConductTest(const std::string& testSource, const std::string& defineText,
                     std::string& result);
    bool ScanTestDir(const std::string& directory, std::set<std::string>& sources);
    std::string TestPublicProtectedPrivate(const std::string& keyword);

    // General test suite and identifier tests
    void ConductZanTests(std::ostream& personality);
    void ConductIdentTest(std::ostream& personality, bool external);
    bool RunIdentTest(std::ostream& personality, const std::string& sourceName,
                      std::ofstream& source, bool external, int length);

    // Type model tests
    void ConductBaseTypeTests(std::ostream& personality);
    void ConductIntrinsicTypeTests(std::ostream& personality);
    void ConductKWTypeTests(const std::set<std::string>& typeKeywords,
                            std::ostream& personality);
    void TestType(const std::string& prefix, DataType& type);
    void TestTypeAlignment(DataType& type);

    // Personality output
    void IncorporateTemplatePersonality(const std::string& personalityFile,
                                        const std::string& templatePersonality);
    bool EntriesMatch(const std::string& a, const std::string& b) const;

    // The base type table, in testing order.
    static std::vector<DataType> MakeBaseTypes();

    // Configuration, from the command line
    bool IsC;
    bool IsCrossCompiler;
    std::string CompilerCommand;
    std::string ExeFlag;
    std::string ObjFlag;
    std::string DefFlag;
    std::string ObjectFileExtension;
    std::string OrderStr;
    std::set<std::string> SearchDirs;
    std::vector<std::string> ImplicitDefines;
    std::vector<std::string> ImplicitSwitches;
    std::string PersonalityFile;
    std::string TemplatePersonality;
    std::string ForceIncludeFile;
    std::string SubstituteHeaderDir;
    bool ReduceFileSize;

    // Collections filled by the phases
    std::vector<DataType> BaseTypes;
    std::map<std::string, std::set<std::string>> DirFiles;
    std::vector<std::string> IncludeDirs;
    std::set<std::string> PossibleDefines;
    std::set<std::string> FoundDefines;
    std::string DefineOption;
    std::set<std::string> ExtensionKeywords;
    std::set<std::string> IgnoreKeywords;
    std::set<std::string> IgnoreReservedWords;
    std::set<std::string> CKeywords;
    std::set<std::string> CppKeywords;
    std::map<std::string, std::string> ReplaceKeywords;
    std::map<std::string, std::string> ZanExtensionKeywords;
    std::map<std::string, std::string> BuiltinReplaceKeywords;
    std::set<std::string> PossibleKeywords;
    std::set<std::string> ForceIncludeEntries;
    std::vector<std::string> KeywordDefineEntries;
    bool NeedForceInclude;

private:
    // The extension of test sources for the product: ".c" or ".cpp".
    std::string SourceExt() const { return IsC ? ".c" : ".cpp"; }
    void RecordIdentifier(const char* begin, std::size_t length, std::uint64_t hash);
    void FlushPendingIdentifiers();
    void ParseText(const char* data, std::size_t size);
    void HarvestRuns(const std::string& content);
    void HarvestFile(const std::string& path);
    void RecordPieces(const char* begin, const char* end);
    bool ScanDirectoryGuarded(const std::string& directory, std::vector<std::pair<std::uint64_t, std::uint64_t>>& active);
    std::pair<std::string, std::string> CompileIncludeTest(const std::string& text);
    std::string MissingHeaderName(std::size_t length) const;

    // Type tests
    bool BuildAndRunProgram(const std::string& source, const std::string& text, std::string& output);
    void MeasureBySurvivingBytes(const std::string& prefix, DataType& type);
    int CompareMinusOneWithZero(const std::string& prefix, const std::string& name);
    int StructArrayGrowth(const std::string& type, const std::string& member,
                          const std::string& initialiser);

    // Every identifier the header walk has met, ignored ones included, so that the
    // ordered candidate sets are consulted once per distinct name only.
    IdentifierTable ScannedIdentifiers;
    std::vector<std::string> PendingIdentifiers;
    std::string ScanBuffer;

    long CompilerRunCount = 0;
    // Reference diagnostics for a missing header, by length of the header name.
    std::map<std::size_t, std::string> HeaderReferences;
};
