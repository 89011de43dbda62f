#pragma once

namespace Tarnel {

// Element shapes; the values are gmsh's element type codes, so a shape passes
// to and from gmsh unchanged. gmsh types 19 and above are not shapes of this
// system.
enum ElementShape : int {
    INVALID = 0,
    LINE_2NODE = 1,
    TRIANGLE_3NODE = 2,
    QUAD_4NODE = 3,
    TETRA_4NODE = 4,
    HEXA_8NODE = 5,
    PRISM_6NODE = 6,
    PYRAMID_5NODE = 7,
    LINE_3NODE = 8,
    TRIANGLE_6NODE = 9,
    QUAD_9NODE = 10,
    TETRA_10NODE = 11,
    HEXA_27NODE = 12,
    PRISM_18NODE = 13,
    PYRAMID_14NODE = 14,
    POINT_1NODE = 15,
    QUAD_8NODE = 16,
    HEXA_20NODE = 17,
    PRISM_15NODE = 18
};

// 0 to 3; throws MorvaneException "Unknown ElementShape" for INVALID and
// values outside the table.
int GetShapeDimension(ElementShape shape);
// The same without throwing: -1 for INVALID and values outside the table.
int GetShapeDimensionOrInvalid(ElementShape shape);
// 0 for INVALID; throws MorvaneException "Unsupported element type" for values
// outside the table.
int GetShapeNodeCount(ElementShape shape);

}  // namespace Tarnel
