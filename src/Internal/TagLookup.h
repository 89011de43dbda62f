#pragma once

#include <cstddef>
#include <unordered_map>
#include <vector>

namespace Tarnel {

// Maps gmsh tags to values. gmsh numbers nodes and elements densely in
// practice, so the map is a vector indexed by tag when the tags are dense
// enough, and a hash map otherwise.
template <class Value>
class TagLookup {
public:
    TagLookup(std::size_t expectedCount, std::size_t maxTag, Value missing) : missing(missing)
    {
        dense = maxTag <= 4 * expectedCount + 1024;
        if (dense)
            byTag.assign(maxTag + 1, missing);
        else
            byHash.reserve(expectedCount);
    }

    // The value of the tag, or the missing value.
    Value Get(std::size_t tag) const
    {
        if (dense) return tag < byTag.size() ? byTag[tag] : missing;
        const auto found = byHash.find(tag);
        return found == byHash.end() ? missing : found->second;
    }

    void Set(std::size_t tag, Value value)
    {
        if (!dense) {
            byHash[tag] = value;
            return;
        }
        if (tag >= byTag.size()) {
            // A tag beyond the announced range: fall back to hashing.
            for (std::size_t known = 0; known < byTag.size(); ++known)
                if (!(byTag[known] == missing)) byHash.emplace(known, byTag[known]);
            std::vector<Value>().swap(byTag);
            dense = false;
            byHash[tag] = value;
            return;
        }
        byTag[tag] = value;
    }

private:
    Value missing;
    bool dense = true;
    std::vector<Value> byTag;
    std::unordered_map<std::size_t, Value> byHash;
};

}  // namespace Tarnel
