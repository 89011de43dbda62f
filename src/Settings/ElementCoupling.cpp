#include "Settings/ElementCoupling.h"

#include <sstream>

#include "Internal/LogMacros.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Settings/ElementCoupling";

}  // namespace

ElementCoupling::ElementCoupling(int meshComponentId, int masterNodeId)
    : meshComponentId(meshComponentId), masterNodeId(masterNodeId)
{
}

int ElementCoupling::GetMeshComponentId() const
{
    return meshComponentId;
}

int ElementCoupling::GetMasterNodeId() const
{
    return masterNodeId;
}

void ElementCoupling::SetSlaveNodes(const std::unordered_set<int>& slaveNodeIds)
{
    this->slaveNodeIds = slaveNodeIds;
}

const std::unordered_set<int>& ElementCoupling::GetNodeIDs() const
{
    return slaveNodeIds;
}

void ElementCoupling::SetRepresentationBeamIds(const std::unordered_set<int>& beamIds)
{
    representationBeamIds = beamIds;
}

std::unordered_set<int> ElementCoupling::GetRepresentationBeamIds() const
{
    return representationBeamIds;
}

void ElementCoupling::SetWeights(const std::vector<double>& weights)
{
    this->weights = weights;
}

const std::vector<double>& ElementCoupling::GetWeights() const
{
    return weights;
}

bool ElementCoupling::IsKinematicCoupling() const
{
    return weights.size() == 6;
}

std::string ElementCoupling::GetReport() const
{
    std::ostringstream report;
    report << "========= Element Coupling Report =========\n";
    report << "Mesh Component ID: " << meshComponentId << "\n";
    report << "Master Node ID:    " << masterNodeId << "\n";
    report << "Slave Nodes Count: " << slaveNodeIds.size() << "\n";
    report << "Slave Node IDs:    ";
    for (int id : slaveNodeIds) report << id << " ";
    report << "\nRepresentation Beam IDs: ";
    for (int id : representationBeamIds) report << id << " ";
    report << "\nWeights: ";
    for (double weight : weights) report << weight << " ";
    report << "\n===========================================";
    return report.str();
}

void ElementCoupling::LogElementCoupling() const
{
    TARNEL_LOG_INFO(GetReport(), "Tarnel::ElementCoupling::LogElementCoupling");
}

}  // namespace Tarnel
