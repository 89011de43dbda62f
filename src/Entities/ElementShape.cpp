#include "Entities/ElementShape.h"

#include "Diagnostics/MorvaneException.h"

namespace Tarnel {

namespace {

struct ShapeProperties {
    int nodeCount;
    int dimension;
};

// Indexed by the shape value.
constexpr ShapeProperties kShapeTable[] = {
    {0, -1},  {2, 1},  {3, 2},  {4, 2},  {4, 3},  {8, 3},  {6, 3},  {5, 3},  {3, 1},  {6, 2},
    {9, 2},   {10, 3}, {27, 3}, {18, 3}, {14, 3}, {1, 0},  {8, 2},  {20, 3}, {15, 3}};
constexpr int kShapeCount = static_cast<int>(sizeof(kShapeTable) / sizeof(kShapeTable[0]));

bool inTable(ElementShape shape)
{
    return shape >= 0 && shape < kShapeCount;
}

}  // namespace

int GetShapeDimension(ElementShape shape)
{
    const int dimension = GetShapeDimensionOrInvalid(shape);
    if (dimension < 0) throw MorvaneException("Unknown ElementShape");
    return dimension;
}

int GetShapeDimensionOrInvalid(ElementShape shape)
{
    return inTable(shape) ? kShapeTable[shape].dimension : -1;
}

int GetShapeNodeCount(ElementShape shape)
{
    if (!inTable(shape)) throw MorvaneException("Unsupported element type");
    return kShapeTable[shape].nodeCount;
}

}  // namespace Tarnel
