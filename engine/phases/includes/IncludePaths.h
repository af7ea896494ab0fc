// Which of the scanned directories the compiler searches on its own for #include <...>, and
// in which order, learnt from its diagnostics alone.
#pragma once

#include <future>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engine/phases/includes/HeaderScan.h"
#include "engine/probe/RunContext.h"

class IncludeProber {
public:
    explicit IncludeProber(const RunContext& context) : Context(context) {}

    // True when the compiler finds the header (its message differs from the one for a
    // header that surely does not exist).
    bool TestHeader1(const std::string& header);
    // True when the compiler, reporting an error inside the header, shows that it read the
    // directory's copy.
    bool TestHeader2(const std::string& directory, const std::string& header);
    // Which of two directories holding the header the compiler searches first: 1 or 2, or 0
    // when its messages do not show it.
    int TestHeader3(const std::string& dirA, const std::string& dirB, const std::string& header);
    // The same question for two copies that differ in what they define, from the names
    // defined once the compiler has included the header (onlyTheseTwo: no other include
    // directory holds it); else from the messages about names of the copies poisoned or
    // defined beforehand: the compiler names the copy that defines one, and the copy that
    // included it. 0 when neither shows it.
    int TestHeaderDefinitions(const std::string& dirA, const std::string& dirB, const std::string& header,
                              bool onlyTheseTwo);
    // TestHeader1 for every header. Where the compiler has __has_include, many headers are
    // asked in one compile (not with -exact); a batch whose answer cannot be trusted is
    // asked header by header.
    std::vector<bool> FindHeaders(const std::vector<std::string>& headers);

private:
    std::pair<std::string, std::string> CompileIncludeTest(const std::string& text);
    std::string Reference(const std::string& missing);
    std::optional<std::vector<bool>> AskBatch(const std::vector<std::string>& headers);
    bool HasIncludeWorks();

    const RunContext& Context;
    std::mutex CompiledLock;
    // The compiler's messages about each source, compiled once.
    std::map<std::string, std::shared_future<std::pair<std::string, std::string>>> Compiled;
    // Whether __has_include answers as the plain test does; asked once, when first needed.
    std::optional<bool> HasInclude;
};

// The compiler's include directories among the scanned ones, in its search order.
std::vector<std::string> GetIncludes(const RunContext& context, const HeaderTrees& trees);
