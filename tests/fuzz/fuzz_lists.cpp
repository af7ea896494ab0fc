// The keyword list readers on any bytes: every line (or key and value split at the first
// "=") comes back once, carriage returns dropped, and nothing is read past the end.
#include <map>
#include <set>
#include <sstream>

#include "engine/core/ListIterators.h"
#include "tests/fuzz/Harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::size_t lines = 0;
    {
        std::istringstream in(text);
        for (line_iterator it(in), end; it != end; ++it) {
            if (it->find_first_of("\r\n") != std::string::npos)
                std::abort();
            ++lines;
        }
    }
    std::istringstream in(text);
    std::size_t pairs = 0;
    for (map_iterator it(in), end; it != end; ++it) {
        if (it->first.find('=') != std::string::npos)
            std::abort();
        ++pairs;
    }
    // Both readers see the same lines.
    if (lines != pairs)
        std::abort();
    std::istringstream again(text);
    const std::set<std::string> set{line_iterator(again), line_iterator()};
    if (set.size() > lines)
        std::abort();
    return 0;
}
