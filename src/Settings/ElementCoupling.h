#pragma once

#include <string>
#include <unordered_set>
#include <vector>

namespace Tarnel {

// Ties one master node to a set of slave nodes, kinematically or by
// distribution. The host draws it as a fan of representation beams, whose
// element IDs the coupling remembers. A coupling with exactly six weights is
// kinematic; any other count makes it distributing.
class ElementCoupling {
public:
    ElementCoupling(int meshComponentId, int masterNodeId);

    int GetMeshComponentId() const;
    int GetMasterNodeId() const;
    void SetSlaveNodes(const std::unordered_set<int>& slaveNodeIds);
    const std::unordered_set<int>& GetNodeIDs() const;
    void SetRepresentationBeamIds(const std::unordered_set<int>& beamIds);
    std::unordered_set<int> GetRepresentationBeamIds() const;
    void SetWeights(const std::vector<double>& weights);
    const std::vector<double>& GetWeights() const;
    bool IsKinematicCoupling() const;

    // Logs the coupling report as one Info message.
    void LogElementCoupling() const;
    // The text of that report.
    std::string GetReport() const;

private:
    int meshComponentId;
    std::unordered_set<int> representationBeamIds;
    int masterNodeId;
    std::unordered_set<int> slaveNodeIds;
    std::vector<double> weights;
};

}  // namespace Tarnel
