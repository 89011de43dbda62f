#include "Entities/ElementShapeToModel.h"

#include <initializer_list>
#include <utility>

namespace Tarnel {

namespace {

bool inRanges(int value, std::initializer_list<std::pair<int, int>> ranges)
{
    for (const auto& range : ranges)
        if (value >= range.first && value <= range.second) return true;
    return false;
}

bool accepts(ElementShape shape, int type)
{
    switch (shape) {
    case LINE_2NODE:
    case LINE_3NODE: return inRanges(type, {{2, 11}, {29, 41}});
    case TRIANGLE_3NODE:
    case TRIANGLE_6NODE: return inRanges(type, {{12, 13}, {43, 45}});
    case QUAD_4NODE:
    case QUAD_9NODE:
    case QUAD_8NODE: return inRanges(type, {{15, 16}, {47, 49}, {51, 51}});
    case TETRA_4NODE:
    case TETRA_10NODE: return inRanges(type, {{21, 22}, {53, 54}});
    case HEXA_8NODE:
    case HEXA_27NODE:
    case HEXA_20NODE: return inRanges(type, {{21, 21}, {59, 61}, {63, 63}});
    case PRISM_6NODE:
    case PRISM_18NODE:
    case PRISM_15NODE: return inRanges(type, {{21, 21}, {57, 58}});
    case PYRAMID_5NODE:
    case PYRAMID_14NODE: return inRanges(type, {{21, 21}, {55, 56}});
    case POINT_1NODE: return inRanges(type, {{1, 1}, {24, 26}});
    case INVALID: return false;
    }
    return false;
}

}  // namespace

ElementShapeToModel::ElementShapeToModel(ElementShape shape, SolverElementType solverType)
{
    if (!accepts(shape, solverType)) return;
    this->shape = shape;
    this->solverType = solverType;
    isValid = true;
}

}  // namespace Tarnel
