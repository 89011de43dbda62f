#include "Operations/MeshHelper.h"

#include <cmath>
#include <string>
#include <unordered_set>

#include "Entities/MostCommonValue.h"
#include "GEOMImpl_Gen.hxx"
#include "GEOMImpl_IBasicOperations.hxx"
#include "GEOM_Object.hxx"
#include "Internal/LogMacros.h"
#include "MeshEngineWrapper.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Operations/MeshHelper";

// A quadrangle survives as a triangle when exactly two adjacent corners
// became one: three distinct corners, the repeated one at neighbouring
// positions (0-1, 1-2, 2-3 or 0-3). Two pairs merged, (a, a, b, b), leave a
// line, and a diagonal pair leaves no area: both are dropped.
ElementShape degradeQuadrangle(const std::vector<int>& nodeIds, std::size_t distinct,
                               std::vector<int>& resultNodeIds)
{
    if (nodeIds.size() != 4 || distinct != 3) return INVALID;
    const MostCommonValue repeated(nodeIds);
    if ((repeated.indices[1] - repeated.indices[0]) % 2 == 0) return INVALID;
    resultNodeIds.clear();
    for (std::size_t i = 0; i < nodeIds.size(); ++i)
        if (static_cast<int>(i) != repeated.indices[1]) resultNodeIds.push_back(nodeIds[i]);
    return TRIANGLE_3NODE;
}

}  // namespace

ElementShape MeshHelper::ComputeDegradedElement(std::vector<int>& nodeIds, ElementShape shape,
                                                std::vector<int>& resultNodeIds)
{
    const std::unordered_set<int> distinct(nodeIds.begin(), nodeIds.end());
    if (distinct.size() == nodeIds.size()) {
        resultNodeIds = nodeIds;
        return shape;
    }
    switch (shape) {
    case QUAD_4NODE: return degradeQuadrangle(nodeIds, distinct.size(), resultNodeIds);
    case POINT_1NODE:
    case LINE_2NODE:
    case TRIANGLE_3NODE:
    case TETRA_4NODE:
    case HEXA_8NODE:
    case PRISM_6NODE:
    case PYRAMID_5NODE: return INVALID;
    default:
        TARNEL_LOG_WARN("We are not handling element type " + std::to_string(static_cast<int>(shape)) +
                            " after node merging! This means we are simply deleting the resulting element!",
                        "Tarnel::MeshHelper::ComputeDegradedElement");
        return INVALID;
    }
}

opencascade::handle<GEOM_Object> MeshHelper::ConstructEdgeFromNodes(const Node& first, const Node& second)
{
    GEOMImpl_IBasicOperations* operations = MeshEngineWrapper::getInstance().GetGeomEngine()->GetIBasicOperations();
    Handle(GEOM_Object) start = operations->MakePointXYZ(first.position.X(), first.position.Y(), first.position.Z());
    Handle(GEOM_Object) end = operations->MakePointXYZ(second.position.X(), second.position.Y(), second.position.Z());
    return operations->MakeLineTwoPnt(start, end);
}

double MeshHelper::Distance(const Node& a, const Node& b)
{
    const double dx = a.position.X() - b.position.X();
    const double dy = a.position.Y() - b.position.Y();
    const double dz = a.position.Z() - b.position.Z();
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace Tarnel
