#pragma once

#include <vector>

#include "Entities/Element.h"
#include "Settings/ElementCoupling.h"

namespace Tarnel {

// One coupling that follows a copy or cut-paste of its representation beams.
struct CouplingMigration {
    ElementCoupling coupling;
    // Whether it came from the kinematic couplings (else the distributing).
    bool isKinematic;
    // For each of its beams, the beam's position among the LINE_2NODE
    // elements of the selection (counting only those, from 0).
    std::vector<int> lineIndices;
};

// The couplings all of whose representation beams are among `elements`:
// the kinematic ones first, then the distributing ones. A partly selected
// coupling is left out with a warning. A beam of a kinematic and a
// distributing coupling at once counts for the kinematic one.
std::vector<CouplingMigration> FindFullySelectedCouplings(const std::vector<Element>& elements,
                                                          const std::vector<ElementCoupling>& kinematicCouplings,
                                                          const std::vector<ElementCoupling>& distributingCouplings);

}  // namespace Tarnel
