#include "Entities/TextTools.h"

namespace Tarnel {

std::string TrimWhitespace(const std::string& text)
{
    static const char* const kWhitespace = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kWhitespace);
    if (first == std::string::npos) return "";
    const std::size_t last = text.find_last_not_of(kWhitespace);
    return text.substr(first, last - first + 1);
}

}  // namespace Tarnel
