#include "Settings/Mesh1DSettings.h"

#include <utility>

namespace Tarnel {

Mesh1DSettings::Mesh1DSettings(double elementSize, MeshElementOrder order) : elementSize(elementSize), elementOrder(order)
{
}

double Mesh1DSettings::GetElementSize() const { return elementSize; }
MeshElementOrder Mesh1DSettings::GetElementOrder() const { return elementOrder; }
std::vector<EdgeSeedingParameters> Mesh1DSettings::GetEdgeSeedingParameters() const { return edgeSeedingParameters; }
std::size_t Mesh1DSettings::GetMaximumElementCount() const { return maximumElementCount; }
void Mesh1DSettings::SetElementSize(double size) { elementSize = size; }
void Mesh1DSettings::SetElementOrder(MeshElementOrder order) { elementOrder = order; }
void Mesh1DSettings::SetEdgeSeedingParameters(std::vector<EdgeSeedingParameters> seeds)
{
    edgeSeedingParameters = std::move(seeds);
}

void Mesh1DSettings::SetMaximumElementCount(std::size_t count) { maximumElementCount = count; }

}  // namespace Tarnel
