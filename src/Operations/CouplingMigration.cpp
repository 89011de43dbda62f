#include "Operations/CouplingMigration.h"

#include <string>
#include <unordered_map>

#include "Internal/LogMacros.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Operations/CouplingMigration";

// Beam ID -> position of the coupling in `couplings`; a beam that several
// couplings name belongs to the last of them.
std::unordered_map<int, std::size_t> indexByBeam(const std::vector<ElementCoupling>& couplings)
{
    std::unordered_map<int, std::size_t> index;
    for (std::size_t i = 0; i < couplings.size(); ++i)
        for (int beam : couplings[i].GetRepresentationBeamIds()) index[beam] = i;
    return index;
}

// The couplings whose every beam was hit, in list order; a partly hit one is
// named in a warning and left out.
void collectFullyHit(const std::vector<ElementCoupling>& couplings, const std::vector<std::vector<int>>& hits,
                     bool isKinematic, std::vector<CouplingMigration>& migrations)
{
    for (std::size_t i = 0; i < couplings.size(); ++i) {
        if (hits[i].empty()) continue;
        if (hits[i].size() == couplings[i].GetRepresentationBeamIds().size()) {
            migrations.push_back({couplings[i], isKinematic, hits[i]});
            continue;
        }
        TARNEL_LOG_WARN(std::string(isKinematic ? "Kinematic" : "Distributing") + " coupling with master node ID " +
                            std::to_string(couplings[i].GetMasterNodeId()) +
                            " is only partially selected for copy/cut-paste; its coupling definition will not "
                            "migrate.",
                        "Tarnel::FindFullySelectedCouplings");
    }
}

}  // namespace

std::vector<CouplingMigration> FindFullySelectedCouplings(const std::vector<Element>& elements,
                                                          const std::vector<ElementCoupling>& kinematicCouplings,
                                                          const std::vector<ElementCoupling>& distributingCouplings)
{
    const std::unordered_map<int, std::size_t> kinematicByBeam = indexByBeam(kinematicCouplings);
    const std::unordered_map<int, std::size_t> distributingByBeam = indexByBeam(distributingCouplings);
    // Per coupling, the line indices of its selected beams.
    std::vector<std::vector<int>> kinematicHits(kinematicCouplings.size());
    std::vector<std::vector<int>> distributingHits(distributingCouplings.size());

    int lineIndex = 0;
    for (const Element& element : elements) {
        if (element.shape != LINE_2NODE) continue;
        const auto kinematic = kinematicByBeam.find(element.id);
        if (kinematic != kinematicByBeam.end()) {
            kinematicHits[kinematic->second].push_back(lineIndex);
        } else {
            const auto distributing = distributingByBeam.find(element.id);
            if (distributing != distributingByBeam.end()) distributingHits[distributing->second].push_back(lineIndex);
        }
        ++lineIndex;
    }

    std::vector<CouplingMigration> migrations;
    collectFullyHit(kinematicCouplings, kinematicHits, true, migrations);
    collectFullyHit(distributingCouplings, distributingHits, false, migrations);
    return migrations;
}

}  // namespace Tarnel
