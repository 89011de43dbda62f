#include "Operations/CouplingMigration.h"

namespace Tarnel {

std::vector<CouplingMigration> FindFullySelectedCouplings(const std::vector<Element>&,
                                                          const std::vector<ElementCoupling>&,
                                                          const std::vector<ElementCoupling>&)
{
    return {};
}

}  // namespace Tarnel
