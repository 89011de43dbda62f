#pragma once

#include <cstdint>

#include "Entities/XYZ.h"

namespace Tarnel {

// A node read from a mesh. A node that could not be read is
// {false, 0, (0, 0, 0) valid}.
struct Node {
    bool isValid = false;
    std::int64_t id = 0;
    XYZ position;

    Node() = default;
    Node(bool isValid, std::int64_t id, const XYZ& position) : isValid(isValid), id(id), position(position) {}
};

}  // namespace Tarnel
