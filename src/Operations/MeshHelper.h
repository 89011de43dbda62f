#pragma once

#include <vector>

#include "Entities/ElementShape.h"
#include "Entities/Node.h"
#include "GEOM_Object.hxx"

namespace Tarnel {

// Pieces shared by the master mesh's editing operations, which rebuild every
// element they touch instead of editing it in place.
class MeshHelper {
public:
    // The shape an element has once some of its nodes were merged into one,
    // with its node list in `resultNodeIds`; INVALID when the element must be
    // dropped (then `resultNodeIds` is left as it was). Only a quadrangle
    // with two adjacent corners merged survives a collapse, as a triangle;
    // second-order shapes are dropped with a warning.
    static ElementShape ComputeDegradedElement(std::vector<int>& nodeIds, ElementShape shape,
                                               std::vector<int>& resultNodeIds);
    // A straight GEOM edge from `first` to `second`; a null handle when GEOM
    // gives none.
    static opencascade::handle<GEOM_Object> ConstructEdgeFromNodes(const Node& first, const Node& second);
    static double Distance(const Node& a, const Node& b);
};

}  // namespace Tarnel
