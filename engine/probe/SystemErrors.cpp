#include "engine/probe/SystemErrors.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <locale.h>
#include <vector>

namespace {

// The system's texts for the failures, as compilers print them through strerror: in the C
// locale and in the one the compilers inherit from the environment.
const std::vector<std::string>& FailureTexts()
{
    static const std::vector<std::string> texts = [] {
        std::vector<std::string> all;
        const int errors[] = {ENOSPC, EDQUOT, EROFS, EIO, EMFILE, ENFILE, ENOMEM};
        for (const char* name : {"C", ""}) {
            const locale_t locale = newlocale(LC_MESSAGES_MASK, name, static_cast<locale_t>(nullptr));
            if (locale == static_cast<locale_t>(nullptr))
                continue;
            for (const int error : errors) {
                const std::string text = strerror_l(error, locale);
                if (!text.empty() && std::find(all.begin(), all.end(), text) == all.end())
                    all.push_back(text);
            }
            freelocale(locale);
        }
        return all;
    }();
    return texts;
}

}  // namespace

std::string SystemFailureIn(const std::string& output)
{
    for (const std::string& text : FailureTexts()) {
        const std::size_t at = output.find(text);
        if (at == std::string::npos)
            continue;
        const std::size_t start = output.rfind('\n', at);
        const std::size_t end = output.find('\n', at);
        return output.substr(start == std::string::npos ? 0 : start + 1,
                             end == std::string::npos ? std::string::npos : end - (start == std::string::npos ? 0 : start + 1));
    }
    return "";
}
