#pragma once

#include <string>

namespace Tarnel {

// The text without leading and trailing blanks, tabs, carriage returns and
// line feeds.
std::string TrimWhitespace(const std::string& text);

}  // namespace Tarnel
