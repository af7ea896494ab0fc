// The copy of a user's force-include file on any bytes: every line of the user's file comes
// back in order, ended by a line end, with the declarations after each marked line.
#include <set>

#include "engine/phases/includes/ForceInclude.h"
#include "tests/fuzz/Harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string user(reinterpret_cast<const char*>(data), size);
    static const std::set<std::string> entries{"PORTA", "PORTB"};
    const std::string text = ForceIncludeText(user, entries);
    if (!user.empty() && text.back() != '\n')
        std::abort();
    // Without the declarations, the copy is the user's file with a line end at its end.
    std::string plain;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        const std::string line = text.substr(at, end - at);
        if (line != "int PORTA;" && line != "int PORTB;")
            plain += line + "\n";
        at = end + 1;
    }
    std::string expected = user;
    if (!expected.empty() && expected.back() != '\n')
        expected += '\n';
    if (plain != expected && user.find("int PORT") == std::string::npos)
        std::abort();
    return 0;
}
