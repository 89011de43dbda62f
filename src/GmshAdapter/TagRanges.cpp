// The range check of node and element tags, made before any tag reaches gmsh.

#include <cstdint>
#include <string>

#include "GmshAdapter/GmshAdapterInternal.h"

namespace Tarnel::GmshAdapter {

std::string tagAsPassed(std::size_t tag)
{
    if (tag > static_cast<std::size_t>(INT64_MAX)) return std::to_string(static_cast<std::int64_t>(tag));
    return std::to_string(tag);
}

void checkTagRange(const char* kind, std::size_t tag)
{
    if (tag == 0 || tag > kLargestTag)
        fail(std::string(kind) + " tag " + tagAsPassed(tag) + " is out of range (1 to " + std::to_string(kLargestTag) +
             ")");
}

void checkTagRanges(const char* kind, const std::vector<std::size_t>& tags)
{
    for (std::size_t tag : tags) checkTagRange(kind, tag);
}

void checkTagRanges(const char* kind, const std::vector<std::vector<std::size_t>>& tags)
{
    for (const std::vector<std::size_t>& group : tags) checkTagRanges(kind, group);
}

}  // namespace Tarnel::GmshAdapter
