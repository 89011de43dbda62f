#pragma once

#include <sstream>
#include <string>

namespace Tarnel {

// Concatenates the parts as a default-formatted stream writes them: integers
// in decimal, doubles in general notation with 6 significant digits.
template <class... Parts>
std::string MessageText(const Parts&... parts)
{
    std::ostringstream stream;
    (stream << ... << parts);
    return stream.str();
}

}  // namespace Tarnel
