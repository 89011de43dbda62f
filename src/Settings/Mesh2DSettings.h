#pragma once

#include <vector>

#include "Settings/EdgeSeedingParameters.h"
#include "Settings/MeshingEnumerations.h"

namespace Tarnel {

// How a face is meshed. The element size feeds "Mesh.MeshSizeMin" (x 0.8) and
// "Mesh.MeshSizeMax" (x 1.2); the other values feed the gmsh options named in
// MeshingEnumerations.h and "Mesh.RecombineMinimumQuality",
// "Mesh.RecombineOptimizeTopology"; edge seeds become transfinite curves.
// Algorithm and recombination algorithm are fixed at construction.
class Mesh2DSettings {
public:
    Mesh2DSettings(double elementSize, MeshElementOrder order, Mesh2DAlgorithmChoice algorithm,
                   RecombineAll recombineAll, RecombinationAlgorithm recombinationAlgorithm,
                   float recombineMinimumQuality, RecombineNodePositioning nodePositioning,
                   int recombineOptimizeTopology);

    // Plain triangles: order 0, Delaunay, no recombination (recombination
    // algorithm 1, minimum quality 0.5, repositioning on, topology
    // optimisation 5), no seeds.
    static Mesh2DSettings GetDefaultTriaMeshSettings(double elementSize);

    double GetElementSize() const;
    MeshElementOrder GetElementOrder() const;
    Mesh2DAlgorithmChoice GetMeshAlgorithmChoice() const;
    RecombineAll GetRecombineAll() const;
    RecombinationAlgorithm GetRecombinationAlgorithm() const;
    float GetRecombineMinimumQuality() const;
    RecombineNodePositioning GetRecombineNodePositioning() const;
    int GetRecombineOptimizeTopology() const;
    std::vector<EdgeSeedingParameters> GetEdgeSeedingParameters() const;

    void SetElementSize(double size);
    void SetElementOrder(MeshElementOrder order);
    void SetRecombineAll(RecombineAll recombine);
    void SetRecombineMinimumQuality(float quality);
    void SetRecombineNodePositioning(RecombineNodePositioning positioning);
    void SetRecombineOptimizeTopology(int passes);
    void SetEdgeSeedingParameters(std::vector<EdgeSeedingParameters> seeds);

private:
    double elementSize;
    MeshElementOrder elementOrder;
    Mesh2DAlgorithmChoice meshAlgorithmChoice;
    RecombineAll recombineAll;
    RecombinationAlgorithm recombinationAlgorithm;
    float recombineMinimumQuality;
    RecombineNodePositioning recombineNodePositioning;
    int recombineOptimizeTopology;
    std::vector<EdgeSeedingParameters> edgeSeedingParameters;
};

}  // namespace Tarnel
