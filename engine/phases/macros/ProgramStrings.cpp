// Reads the names the compiler's programs spell. Binary programs keep their strings
// NUL-terminated, so the printable run before each NUL is one string; text files (driver
// files) are read line by line.
#include "engine/phases/macros/ProgramStrings.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <string_view>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "engine/core/Files.h"
#include "engine/core/TextUtilities.h"
#include "engine/phases/includes/IdentifierTable.h"

namespace {

// Programs the driver names that are read beside it, at most: a driver names a handful of
// passes, and a word that merely happens to name some other program costs no more than this.
constexpr std::size_t kMostNamedPrograms = 32;
// Strings longer than this are messages, not names; a string is read back this far from
// its NUL at most.
constexpr std::size_t kLongestString = 255;
constexpr std::size_t kLongestShortName = 5;
// An option glued to the name it defines: "D" or "U" of -D and -U, "Wp" and the like.
constexpr std::size_t kLongestOptionLetters = 2;
// How many whole strings on either side of a piece count as beside it: the strings of one
// function of the compiler lie this close; those of its neighbours in the file a little
// further.
constexpr std::size_t kBesideReach = 8;
constexpr std::size_t kLongestLowerWord = 6;
constexpr std::size_t kLongestLetterTable = 4;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsLower(char c)
{
    return c >= 'a' && c <= 'z';
}

bool IsCapital(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool IsLetter(char c)
{
    return IsLower(c) || IsCapital(c);
}

bool CapitalPiece(std::string_view text)
{
    return text.size() >= 3 && text.size() <= kLongestShortName + 1 && text[0] == '_' && IsCapital(text[1]) &&
           std::all_of(text.begin() + 2, text.end(), [](char c) { return IsCapital(c) || IsDigit(c); });
}

// "__tune_", "__code_model_": the head ends in one underscore after a word, so that the
// compiler's names ("__code_model___") are no heads.
bool LowerHead(std::string_view text)
{
    return text.size() >= 5 && text.compare(0, 2, "__") == 0 && IsLower(text[2]) && text.back() == '_' &&
           text[text.size() - 2] != '_' &&
           std::all_of(text.begin() + 2, text.end(), [](char c) { return IsLower(c) || IsDigit(c) || c == '_'; });
}

bool ShortLowerWord(std::string_view text)
{
    return text.size() >= 2 && text.size() <= kLongestLowerWord && IsLower(text[0]) &&
           std::all_of(text.begin(), text.end(), [](char c) { return IsLower(c) || IsDigit(c); });
}

bool ReservedIdentifier(std::string_view text)
{
    return text.size() >= 2 && text[0] == '_' && std::all_of(text.begin(), text.end(), IsIdentifierChar);
}

bool IsPrintable(unsigned char c)
{
    return c >= 0x20 && c <= 0x7E;
}

bool IsRegularFile(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsExecutableFile(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

std::string Parent(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string Join(const std::string& dir, const std::string& name)
{
    return dir == "/" ? "/" + name : dir + "/" + name;
}

std::string RealPath(const std::string& path)
{
    char* real = realpath(path.c_str(), nullptr);
    if (real == nullptr)
        return path;
    std::string result(real);
    free(real);
    return result;
}

// The executable as the shell finds it: a name with a slash as it is, any other through PATH.
std::string FindExecutable(const std::string& name)
{
    if (name.empty())
        return {};
    if (name.find('/') != std::string::npos)
        return IsExecutableFile(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    const std::string dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    for (std::size_t begin = 0; begin <= dirs.size();) {
        std::size_t end = dirs.find(':', begin);
        if (end == std::string::npos)
            end = dirs.size();
        const std::string dir = end == begin ? "." : dirs.substr(begin, end - begin);
        if (IsExecutableFile(dir + "/" + name))
            return dir + "/" + name;
        begin = end + 1;
    }
    return {};
}

std::vector<std::string> SortedEntries(const std::string& dir)
{
    std::vector<std::string> names;
    SortedDirectoryEntries(dir, names);
    return names;
}

// Up to `limit` bytes of a regular file; nothing for anything else (a pipe or a device
// would block or never end).
std::string ReadBounded(const std::string& path, std::uint64_t limit)
{
    std::string content;
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return content;
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        content.resize(static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(info.st_size), limit)));
        std::size_t done = 0;
        while (done < content.size()) {
            const ssize_t got = read(fd, content.data() + done, content.size() - done);
            if (got <= 0)
                break;
            done += static_cast<std::size_t>(got);
        }
        content.resize(done);
    }
    close(fd);
    return content;
}

// How often the text names the program as a word of its own ("cc1", not the start of
// "cc1plus").
std::size_t Mentions(const std::string& text, const std::string& name)
{
    auto partOfName = [](char c) { return IsIdentifierChar(c) || c == '-' || c == '.' || c == '+'; };
    std::size_t count = 0;
    for (std::size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1))
        if ((at == 0 || !partOfName(text[at - 1])) &&
            (at + name.size() == text.size() || !partOfName(text[at + name.size()])))
            ++count;
    return count;
}

class WordCollector {
public:
    explicit WordCollector(ProgramWords& words) : Words(words) {}

    // One string of the program: its identifiers, and, when it is known to be the whole
    // string (it follows a NUL or starts a line), what the string is.
    void String(const char* begin, const char* end, bool whole)
    {
        const std::size_t length = static_cast<std::size_t>(end - begin);
        bool allIdent = true;
        bool capitals = length <= kLongestShortName;
        std::size_t formats = 0;
        bool onlyFormat = true;
        for (const char* p = begin; p < end;) {
            if (IsIdentifierChar(*p)) {
                const char* start = p;
                while (p < end && IsIdentifierChar(*p)) {
                    capitals = capitals && ((*p >= 'A' && *p <= 'Z') || IsDigit(*p));
                    ++p;
                }
                Piece(start, p);
                continue;
            }
            allIdent = false;
            if (*p == '%' && p + 1 < end && (p[1] == 's' || p[1] == 'd')) {
                ++formats;
                p += 2;
                continue;
            }
            onlyFormat = false;
            ++p;
        }
        if (!whole)
            return;
        Whole(std::string_view(begin, length));
        if (allIdent && length >= 2 && length <= kLongestLetterTable && std::all_of(begin, end, IsLetter))
            Words.Letters.insert(begin, end);
        // A linker stores a string that ends another one as that string's tail ("QQ" in
        // "UQQ"), so the tails of a table entry are entries too.
        // An entry pasted after an underscore may start with a digit ("4T" of
        // __ARM_ARCH_4T__), but holds a capital.
        if (allIdent && capitals)
            for (const char* tail = begin; tail < end; ++tail)
                if (std::any_of(tail, end, [](char c) { return c >= 'A' && c <= 'Z'; }))
                    Words.ShortNames.emplace(tail, static_cast<std::size_t>(end - tail));
        if (!allIdent && onlyFormat && formats == 1 && *begin == '_')
            Words.Templates.emplace(begin, length);
    }

    // The strings of one file are not beside those of the next.
    void FileEnd()
    {
        for (; Unsettled > 0; --Unsettled)
            Settle(Recent.size() - Unsettled);
        Recent.clear();
    }

private:
    // The whole strings in the order the file holds them; a string's neighbours are known
    // once kBesideReach more have come.
    void Whole(std::string_view text)
    {
        Recent.push_back(text);
        ++Unsettled;
        if (Unsettled > kBesideReach) {
            Settle(Recent.size() - Unsettled);
            --Unsettled;
        }
        while (Recent.size() - Unsettled > kBesideReach)
            Recent.pop_front();
    }

    void Settle(std::size_t at)
    {
        const std::string_view piece = Recent[at];
        if (!CapitalPiece(piece) && !LowerHead(piece) && !ShortLowerWord(piece))
            return;
        const std::size_t first = at > kBesideReach ? at - kBesideReach : 0;
        const std::size_t last = std::min(Recent.size(), at + kBesideReach + 1);
        // A head is kept alone too: the names spelled with it may lie elsewhere.
        std::set<std::string>* beside = LowerHead(piece) ? &Words.Beside[std::string(piece)] : nullptr;
        for (std::size_t i = first; i < last; ++i)
            if (i != at && ReservedIdentifier(Recent[i])) {
                if (beside == nullptr)
                    beside = &Words.Beside[std::string(piece)];
                beside->emplace(Recent[i]);
            }
    }

    void Piece(const char* begin, const char* end)
    {
        if (IsDigit(*begin))
            return;
        Add(begin, end);
        // A reserved name glued to an option letter: "-D__X" holds "__X". Longer words
        // before two underscores are a name of their own (Ada's package__entity symbols).
        for (const char* p = begin + 1; p + 2 < end && p <= begin + kLongestOptionLetters; ++p)
            if (p[0] == '_' && p[1] == '_' && p[-1] != '_' && p[2] != '_')
                Add(p, end);
    }

    void Add(const char* begin, const char* end)
    {
        const std::size_t length = static_cast<std::size_t>(end - begin);
        if (Seen.Insert(std::string_view(begin, length), IdentifierTable::Hash(begin, length)))
            Words.Identifiers.emplace(begin, length);
    }

    ProgramWords& Words;
    IdentifierTable Seen;
    std::deque<std::string_view> Recent;
    std::size_t Unsettled = 0;
};

void Collect(const std::string& content, WordCollector& collector)
{
    const char* const data = content.data();
    const char* const end = data + content.size();
    const std::size_t head = std::min<std::size_t>(content.size(), 1024);
    if (std::memchr(data, '\0', head) == nullptr) {
        // Text: every line is a string.
        for (const char* line = data; line < end;) {
            const char* stop = static_cast<const char*>(std::memchr(line, '\n', static_cast<std::size_t>(end - line)));
            if (stop == nullptr)
                stop = end;
            const char* from = line;
            for (const char* p = line; p <= stop; ++p) {
                if (p == stop || !IsPrintable(static_cast<unsigned char>(*p)) || *p == ' ') {
                    if (p > from)
                        collector.String(from, p, from == line);
                    from = p + 1;
                }
            }
            line = stop + 1;
        }
        return;
    }
    for (const char* nul = static_cast<const char*>(std::memchr(data, '\0', content.size())); nul != nullptr;) {
        const char* start = nul;
        while (start > data && static_cast<std::size_t>(nul - start) < kLongestString &&
               IsPrintable(static_cast<unsigned char>(start[-1])))
            --start;
        if (start < nul)
            collector.String(start, nul, start == data || start[-1] == '\0');
        const char* next = nul + 1;
        nul = next < end ? static_cast<const char*>(std::memchr(next, '\0', static_cast<std::size_t>(end - next))) : nullptr;
    }
}

}  // namespace

std::vector<std::string> CompilerPrograms(const Options& options)
{
    std::vector<std::string> programs;
    std::set<std::string> seen;
    auto add = [&](const std::string& path) {
        if (IsExecutableFile(path) && seen.insert(RealPath(path)).second)
            programs.push_back(path);
    };

    const std::string command = options.CompilerCommand.substr(0, options.CompilerCommand.find_first_of(" \t"));
    const std::string driver = FindExecutable(command);
    std::string text;
    if (!driver.empty()) {
        add(driver);
        // The passes the driver runs by name and keeps beside itself (sdcc's sdcpp), beside
        // the name the shell found or the file it leads to.
        const std::string realDriver = RealPath(driver);
        // Its passes are named after it (avr-gcc runs avr-as, sdcc runs sdcpp); other words
        // that happen to name a program there (date, less) are not its.
        const std::string base = command.substr(command.rfind('/') + 1);
        const std::size_t dash = base.rfind('-');
        const std::string stem = dash != std::string::npos && dash > 0 ? base.substr(0, dash + 1) : base.substr(0, 2);
        text = ReadBounded(driver, kProgramReadLimit);
        // A driver whose code lies in libraries of its own installation (clang's
        // libclang-cpp beside its bin directory) spells its names there; the system's
        // libraries it shares with every program are not its.
        const std::string installation = Parent(Parent(realDriver));
        const std::string libraries = Join(installation, "lib");
        // The system's prefixes hold every program's libraries (the loader among them).
        const bool ownPrefix = installation != "/" && installation != "/usr" && installation != "/usr/local";
        for (const std::string& name : ownPrefix ? SortedEntries(libraries) : std::vector<std::string>{}) {
            const std::string path = Join(libraries, name);
            const std::string real = RealPath(path);
            if (name.find(".so") != std::string::npos && text.find(name) != std::string::npos &&
                real.rfind(installation + "/", 0) == 0 && IsRegularFile(real) && seen.insert(real).second)
                programs.push_back(path);
        }
        std::size_t named = 0;
        for (const std::string& dir : {Parent(driver), Parent(realDriver)})
            for (const std::string& name : SortedEntries(dir))
                if (named < kMostNamedPrograms && name.size() > stem.size() && name.rfind(stem, 0) == 0 &&
                    text.find(name) != std::string::npos) {
                    const std::size_t before = programs.size();
                    add(Join(dir, name));
                    named += programs.size() - before;
                }
    }

    // A compiler keeps its private headers beside its passes and its configuration files.
    std::set<std::string> installations;
    for (const std::string& dir : options.SearchDirs)
        installations.insert(Parent(dir));
    // The configuration files are small and come first; the passes follow by how often the driver
    // names them (cc1 for every C source, the Fortran pass for a few options), so that the
    // bound on reading leaves out the rarely run ones.
    std::vector<std::pair<std::size_t, std::string>> passes;
    for (const std::string& dir : installations) {
        for (const std::string& name : SortedEntries(dir)) {
            const std::string path = Join(dir, name);
            struct stat info {};
            if (stat(path.c_str(), &info) != 0)
                continue;
            if (S_ISREG(info.st_mode) && name.rfind("specs", 0) == 0) {
                if (seen.insert(RealPath(path)).second)
                    programs.push_back(path);
            } else if (S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0) {
                if (seen.insert(RealPath(path)).second)
                    passes.emplace_back(Mentions(text, name), path);
            } else if (S_ISDIR(info.st_mode)) {
                for (const std::string& below : SortedEntries(path))
                    if (below.rfind("specs", 0) == 0 && seen.insert(RealPath(Join(path, below))).second)
                        programs.push_back(Join(path, below));
            }
        }
    }
    std::stable_sort(passes.begin(), passes.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (auto& pass : passes)
        programs.push_back(std::move(pass.second));
    return programs;
}

ProgramWords ReadProgramWords(const std::vector<std::string>& files)
{
    ProgramWords words;
    WordCollector collector(words);
    std::uint64_t budget = kProgramsReadInAll;
    for (const std::string& file : files) {
        if (budget == 0)
            break;
        const std::string content = ReadBounded(file, std::min(budget, kProgramReadLimit));
        budget -= content.size();
        Collect(content, collector);
        collector.FileEnd();
    }
    return words;
}

bool IsCapitalPiece(const std::string& text)
{
    return CapitalPiece(text);
}

bool IsLowerHead(const std::string& text)
{
    return LowerHead(text);
}

bool IsShortLowerWord(const std::string& text)
{
    return ShortLowerWord(text);
}
