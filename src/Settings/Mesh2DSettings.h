#pragma once

#include <cstddef>
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
    // The 2D mesher refuses a request whose estimated element count is
    // above the maximum before gmsh starts: a size far too small for the face
    // would otherwise hold the host for hours. The estimate counts triangles
    // of the smallest size gmsh is given, about twice what gmsh makes; ten
    // million estimated (some five million triangles) take gmsh minutes and
    // gigabytes, five times the meshes the master mesh is measured with.
    static constexpr std::size_t kDefaultMaximumElementCount = 10000000;

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
    std::size_t GetMaximumElementCount() const;

    void SetElementSize(double size);
    void SetElementOrder(MeshElementOrder order);
    void SetRecombineAll(RecombineAll recombine);
    void SetRecombineMinimumQuality(float quality);
    void SetRecombineNodePositioning(RecombineNodePositioning positioning);
    void SetRecombineOptimizeTopology(int passes);
    void SetEdgeSeedingParameters(std::vector<EdgeSeedingParameters> seeds);
    void SetMaximumElementCount(std::size_t count);

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
    std::size_t maximumElementCount = kDefaultMaximumElementCount;
};

}  // namespace Tarnel
