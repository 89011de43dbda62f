#include "Settings/Mesh2DSettings.h"

#include <utility>

namespace Tarnel {

Mesh2DSettings::Mesh2DSettings(double elementSize, MeshElementOrder order, Mesh2DAlgorithmChoice algorithm,
                               RecombineAll recombineAll, RecombinationAlgorithm recombinationAlgorithm,
                               float recombineMinimumQuality, RecombineNodePositioning nodePositioning,
                               int recombineOptimizeTopology)
    : elementSize(elementSize),
      elementOrder(order),
      meshAlgorithmChoice(algorithm),
      recombineAll(recombineAll),
      recombinationAlgorithm(recombinationAlgorithm),
      recombineMinimumQuality(recombineMinimumQuality),
      recombineNodePositioning(nodePositioning),
      recombineOptimizeTopology(recombineOptimizeTopology)
{
}

Mesh2DSettings Mesh2DSettings::GetDefaultTriaMeshSettings(double elementSize)
{
    return Mesh2DSettings(elementSize, MeshElementOrder::Default, Mesh2DAlgorithmChoice::Delaunay,
                          RecombineAll::Disabled, RecombinationAlgorithm::Blossom, 0.5f, RecombineNodePositioning::On,
                          5);
}

double Mesh2DSettings::GetElementSize() const { return elementSize; }
MeshElementOrder Mesh2DSettings::GetElementOrder() const { return elementOrder; }
Mesh2DAlgorithmChoice Mesh2DSettings::GetMeshAlgorithmChoice() const { return meshAlgorithmChoice; }
RecombineAll Mesh2DSettings::GetRecombineAll() const { return recombineAll; }
RecombinationAlgorithm Mesh2DSettings::GetRecombinationAlgorithm() const { return recombinationAlgorithm; }
float Mesh2DSettings::GetRecombineMinimumQuality() const { return recombineMinimumQuality; }
RecombineNodePositioning Mesh2DSettings::GetRecombineNodePositioning() const { return recombineNodePositioning; }
int Mesh2DSettings::GetRecombineOptimizeTopology() const { return recombineOptimizeTopology; }
std::vector<EdgeSeedingParameters> Mesh2DSettings::GetEdgeSeedingParameters() const { return edgeSeedingParameters; }
std::size_t Mesh2DSettings::GetMaximumElementCount() const { return maximumElementCount; }

void Mesh2DSettings::SetElementSize(double size) { elementSize = size; }
void Mesh2DSettings::SetElementOrder(MeshElementOrder order) { elementOrder = order; }
void Mesh2DSettings::SetRecombineAll(RecombineAll recombine) { recombineAll = recombine; }
void Mesh2DSettings::SetRecombineMinimumQuality(float quality) { recombineMinimumQuality = quality; }
void Mesh2DSettings::SetRecombineNodePositioning(RecombineNodePositioning positioning)
{
    recombineNodePositioning = positioning;
}
void Mesh2DSettings::SetRecombineOptimizeTopology(int passes) { recombineOptimizeTopology = passes; }
void Mesh2DSettings::SetEdgeSeedingParameters(std::vector<EdgeSeedingParameters> seeds)
{
    edgeSeedingParameters = std::move(seeds);
}

void Mesh2DSettings::SetMaximumElementCount(std::size_t count) { maximumElementCount = count; }

}  // namespace Tarnel
