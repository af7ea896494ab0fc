#include "engine/app/Generation.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <optional>
#include <unistd.h>
#include <future>
#include <sys/stat.h>

#include "common/DeploymentLayout.h"
#include "engine/phases/keywords/ExtensionKeywords.h"
#include "engine/core/Files.h"
#include "engine/phases/includes/ForceInclude.h"
#include "engine/phases/suites/GeneralTests.h"
#include "engine/phases/includes/HeaderScan.h"
#include "engine/phases/includes/IncludePaths.h"
#include "engine/phases/keywords/KeywordLists.h"
#include "engine/phases/keywords/KeywordTests.h"
#include "engine/phases/macros/MacroDiscovery.h"
#include "engine/phases/macros/ProgramStrings.h"
#include "engine/phases/target/ObjectExtension.h"
#include "engine/output/PersonalityWriter.h"
#include "engine/core/Reporter.h"
#include "engine/core/TextUtilities.h"
#include "engine/core/RunEnd.h"
#include "engine/output/TemplateMerge.h"
#include "engine/phases/types/TypeTests.h"

namespace {

// The directory part of a path, up to and including its last "/". The personality names its
// companions by this path and the analyser reads it from anywhere, so a relative one is made
// absolute (the directory exists: the personality is being written there).
std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    if (dir[0] == '/')
        return dir;
    char* real = realpath(dir.c_str(), nullptr);
    if (real == nullptr)
        throw RunFailure{"Error: Cannot find the folder \"" + dir + "\" of the personality: " + ErrnoText() + "."};
    const std::string absolute(real);
    free(real);
    return absolute == "/" ? absolute : absolute + "/";
}

// The companions written at the start must still be there when the personality names them;
// a compiler that removed them is caught here rather than by the analyser.
void CheckStillThere(const std::vector<std::string>& directories)
{
    for (const std::string& directory : directories) {
        struct stat info {};
        if (stat(directory.c_str(), &info) != 0)
            throw RunFailure{"Error: The substitute header directory \"" + directory +
                             "\" was removed during the run: " + ErrnoText() + "."};
        if (!S_ISDIR(info.st_mode))
            throw RunFailure{"Error: The substitute header directory \"" + directory +
                             "\" was replaced during the run by something that is not a directory."};
    }
}

// The suite folder's tests, or none when the folder cannot be read (counted as missing, as is
// each source of it that cannot be read).
std::vector<SuiteTest> ReadSuite(const std::string& directory, const Options& options, int& missing, Reporter& report)
{
    std::optional<std::vector<SuiteTest>> tests = ScanTestDir(directory, options.SourceExt(), missing, report);
    if (tests)
        return std::move(*tests);
    report.Say("Error: Cannot open the test directory " + directory);
    ++missing;
    return {};
}

// The companion of PATH/NAME.EXT: PATH/NAME.facts.
std::string CompanionFacts(const std::string& personality)
{
    const std::size_t slash = personality.rfind('/');
    const std::size_t dot = personality.rfind('.');
    const std::size_t end = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1) ? dot : personality.size();
    return personality.substr(0, end) + ".facts";
}

}  // namespace

std::set<std::string> KeywordLines(const PersonalityWriter& writer, const std::set<KeywordTreatment>& treatments)
{
    std::set<std::string> lines;
    for (const KeywordTreatment& treatment : treatments) {
        switch (treatment.How) {
        case KeywordTreatment::Define:
            lines.insert(writer.Define(treatment.Text));
            break;
        case KeywordTreatment::QuotedDefine:
            lines.insert(writer.QuotedDefine(treatment.Text));
            break;
        case KeywordTreatment::Extension:
            lines.insert(PersonalityWriter::Extension(treatment.Text));
            break;
        }
    }
    return lines;
}

int GenPersonality(const Options& options, Probe& probe, Reporter& report, const std::string& workDir,
                   const std::function<void(const char* phase)>& onPhase)
{
    auto phase = [&](const char* name) {
        if (onPhase)
            onPhase(name);
    };
    // The personality is written under a temporary name beside its place and renamed over it
    // at the end, so that a failed or interrupted run leaves the previous one in place.
    AtomicFile personality;
    std::string error;
    if (!personality.Open(options.PersonalityFile, error))
        throw RunFailure{"Error: Cannot write the personality file \"" + options.PersonalityFile + "\": " + error};

    phase("object extension");
    TargetFacts target = GetObjectFileExtension(probe, options, report);
    if (!target.IsCrossCompiler)
        target.IsCrossCompiler = !CheckExeFileRunWorks(probe, options, report);
    const RunContext context(options, probe, target, report);
    PersonalityWriter writer(options.IsC);

    const KeywordLists lists = LoadKeywordLists(options.IsC, report, workDir);
    int missing = lists.Missing;
    const std::string personalityDir = DirectoryOf(options.PersonalityFile);

    SubstituteCopy substitutes;
    const SubstituteStage stage{substitutes};
    if (!options.SubstituteHeaderDir.empty()) {
        substitutes = CreateAndCopyAllFiles(options.SubstituteHeaderDir, personalityDir, report);
        missing += substitutes.Skipped;
        for (const std::string& directory : substitutes.Directories)
            writer.SubstituteDir(directory);
    }

    // The compiler's programs are read beside the header walk and the include probes, on
    // a core of their own: they are needed only by the macro phase.
    std::future<ProgramWords> programReading =
        std::async(std::launch::async, [&options] { return ReadProgramWords(CompilerPrograms(options)); });

    phase("header scan");
    report.Say("Scanning All Directories ...");
    HeaderScanner scanner(lists.IgnoreKeywords, report, kHarvestLimit, options.Jobs);
    scanner.ScanSearchDirectories(options.SearchDirs);
    // Extension keywords that no header spells are tested like the names found in headers.
    for (const std::string& word : lists.CandidateKeywords)
        scanner.Parse(word);
    HeaderTrees trees = scanner.Take();
    missing += trees.Unreadable;

    phase("include directories");
    for (const std::string& directory : GetIncludes(context, trees)) {
        if (HoldsLineEnd(directory)) {
            report.Say("Error: The include directory \"" + directory.substr(0, directory.find_first_of("\r\n")) +
                "...\" is left out: its name holds a line end, which no personality line can carry.");
            ++missing;
            continue;
        }
        writer.IncludeDir(directory);
    }

    phase("macros");
    // The compiler's programs spell most of its macro names, and the names completed from
    // the macros found spell those it builds from parts; the keywords are looked for among
    // the same names.
    const ProgramWords programWords = programReading.get();
    std::set<std::string> beyond;
    const std::set<std::string> defines = FindPreDefines(context, trees.Identifiers, lists.LanguageKeywords,
                                                         programWords, lists.CandidateKeywords, &beyond);
    // The ignore list holds the built-in functions a compiler predeclares (sdcc's __fsadd):
    // its programs spell them too, and a declaration of one fails as a keyword's would.
    for (const std::string& name : beyond)
        if (lists.IgnoreKeywords.count(name) == 0)
            trees.Identifiers.insert(name);
    for (const std::string& define : options.ImplicitDefines)
        writer.Line(writer.Define(define));
    for (const std::string& define : defines)
        writer.Line(writer.Define(define));

    phase("extension keywords");
    const std::set<std::string> extensionKeywords =
        FindExtensionKeywords(context, trees.Identifiers, lists.LanguageKeywords);

    phase("general suite");
    const std::string suites = workDir + "/..";
    const std::vector<SuiteTest> generalTests =
        ReadSuite(suites + "/" + kxcommon::layout::GeneralSuite(options.IsC), options, missing, report);
    const std::set<std::string> suiteLines = ConductZanTests(context, generalTests);
    phase("types");
    const std::vector<DataType> baseTypes = ConductBaseTypeTests(context);
    for (const DataType& type : baseTypes) {
        // A type the compiler rejects, or whose alignment nothing showed, gets no line rather
        // than an assumed value.
        if (type.SizeBits != 0)
            writer.Size(type.PersonalityName, type.SizeBits);
        if (type.AlignBytes != 0)
            writer.Align(type.PersonalityName, type.AlignBytes);
        // The C++ analyser knows plain char's signedness from the C++ rules; without char
        // measured, its signedness was not measured either.
        if (options.IsC && type.TypeName == "char" && type.SizeBits != 0)
            writer.PlainCharUnsigned(type.IsUnsigned);
    }
    const std::string byteOrder = MeasureByteOrder(context);
    for (const TypeAsBase& type : ConductIntrinsicTypeTests(context, baseTypes))
        writer.IntrinsicType(type.Name, type.IsUnsigned, kxcommon::PersonalityName(type.Base));
    // The C++ analyser takes identifiers at their full length.
    phase("identifiers");
    if (options.IsC) {
        writer.IdentifierLength(true, ConductIdentTest(context, true));
        writer.IdentifierLength(false, ConductIdentTest(context, false));
    }
    for (const std::string& line : suiteLines)
        writer.Line(line);

    phase("keyword classification");
    const std::vector<SuiteTest> keywordTests =
        ReadSuite(suites + "/" + kxcommon::layout::KeywordSuite(options.IsC), options, missing, report);
    const KeywordFindings keywords = ConductKWTests(context, extensionKeywords, lists, keywordTests);
    for (const std::string& line : KeywordLines(writer, keywords.Treatments))
        writer.Line(line);
    phase("keyword types");
    for (const TypeAsBase& type : ConductKWTypeTests(context, baseTypes, keywords.TypeKeywords)) {
        // The define names the base type as source text.
        writer.Line(writer.QuotedDefine(type.Name + "=" + (type.IsUnsigned ? "unsigned " : "") +
                                        kxcommon::TestSpelling(type.Base)));
        // The C analyser takes long long only as an extension.
        if (options.IsC && type.Base == kxcommon::BaseType::LongLong)
            writer.Line(PersonalityWriter::Extension("longlong"));
    }
    phase("force include and template");

    const std::string forceIncludeDir = personalityDir + "vmtforceinclude";
    if (!options.ForceIncludeFile.empty())
        writer.ForceInclude(forceIncludeDir,
                            CopyCreateForceIncludeFile(forceIncludeDir, options.ForceIncludeFile,
                                                       options.ForceIncludeFile, keywords.ForceIncludeEntries, report));
    else if (keywords.NeedForceInclude)
        writer.ForceInclude(forceIncludeDir, CopyCreateForceIncludeFile(forceIncludeDir, "vmt_forceinclude.h", "",
                                                                        keywords.ForceIncludeEntries, report));

    if (!options.TemplatePersonality.empty()) {
        std::vector<std::string> dropped;
        for (const std::string& entry : keywords.DroppedKeywords)
            dropped.push_back(writer.Define(entry));
        IncorporateTemplatePersonality(writer.Lines(), options.TemplatePersonality, dropped, report);
    }

    phase("end");
    std::vector<std::string> staged;
    for (const std::string& directory : substitutes.Directories)
        staged.push_back(substitutes.Staging(directory));
    CheckStillThere(staged);
    if (!SwapSubstituteCopy(substitutes, error))
        throw RunFailure{"Error: Cannot put the copy of the substitute headers in the place of \"" + substitutes.Final +
                         "\": " + error + "."};
    if (!personality.Commit(writer.Text(), error)) {
        // The previous personality stays, and with it the headers it was written with.
        std::string undo;
        SwapSubstituteCopy(substitutes, undo);
        throw RunFailure{"Error: Cannot write the personality file \"" + options.PersonalityFile + "\": " + error};
    }
    // The byte order has no personality line, which the analyser would refuse: it goes to a
    // companion file beside the personality for the tools that read it (kestrix-export). A
    // companion left from an earlier run is removed where this run measured none.
    const std::string companion = CompanionFacts(options.PersonalityFile);
    if (companion == options.PersonalityFile) {
        report.Say("The personality file \"" + companion + "\" has the name of its own companion file; the byte order (" +
            (byteOrder.empty() ? std::string("not measured") : byteOrder) + ") is not written.");
    } else if (!byteOrder.empty()) {
        if (!WriteFileAtomically(companion, "byte-order " + byteOrder + "\n", error))
            throw RunFailure{"Error: Cannot write the companion file \"" + companion + "\": " + error};
    } else if (unlink(companion.c_str()) != 0 && errno != ENOENT) {
        throw RunFailure{"Error: Cannot remove the companion file \"" + companion + "\" of an earlier run: " + ErrnoText()};
    }
    if (missing != 0) {
        report.Say("The personality was written, but " + std::to_string(missing) +
            (missing == 1 ? " input was" : " inputs were") +
            " left out (list files or test folders of the deployment, substitute headers or include directories, "
            "each named above); their facts are missing.");
        return kStatusMissingData;
    }
    return kStatusDone;
}
