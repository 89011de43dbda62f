// Placement of a generated triangle mesh into an empty master mesh, next to
// the cheapest possible copy of the same mesh between two gmsh models: what
// gmsh itself needs to hold the elements.

#include <string>
#include <vector>

#include <benchmark/benchmark.h>
#include <gmsh.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "Log.h"
#include "MeshEngineWrapper.h"
#include "SyntheticMeshes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;

namespace {

void quietSession()
{
    Log::SetDefaultSinkLevel(LogLevel::Error);
    MeshEngineWrapper::getInstance();
}

// gmsh's own calls, without the library: one getNodes and one getElements of
// the source model, then one addNodes and one addElementsByType per type into
// a fresh model, tags renumbered from 1.
void rawBulkCopy(const std::string& sourceModel, const std::string& targetModel)
{
    gmsh::model::setCurrent(sourceModel);
    std::vector<std::size_t> nodeTags;
    std::vector<double> coordinates, parametric;
    gmsh::model::mesh::getNodes(nodeTags, coordinates, parametric, -1, -1, false, false);
    std::vector<int> types;
    std::vector<std::vector<std::size_t>> elementTags, elementNodes;
    gmsh::model::mesh::getElements(types, elementTags, elementNodes, -1, -1);

    std::size_t maxTag = 0;
    for (std::size_t tag : nodeTags) maxTag = std::max(maxTag, tag);
    std::vector<std::size_t> renumbered(maxTag + 1, 0);
    std::vector<std::size_t> newNodeTags(nodeTags.size());
    for (std::size_t i = 0; i < nodeTags.size(); ++i) renumbered[nodeTags[i]] = newNodeTags[i] = i + 1;

    gmsh::model::add(targetModel);
    const int points = gmsh::model::addDiscreteEntity(0);
    gmsh::model::mesh::addNodes(0, points, newNodeTags, coordinates);
    std::size_t nextElement = 1;
    for (std::size_t t = 0; t < types.size(); ++t) {
        const int dimension = types[t] == 15 ? 0 : types[t] == 1 ? 1 : types[t] <= 3 ? 2 : 3;
        const int entity = gmsh::model::addDiscreteEntity(dimension);
        std::vector<std::size_t> tags(elementTags[t].size());
        for (std::size_t& tag : tags) tag = nextElement++;
        std::vector<std::size_t> nodes(elementNodes[t].size());
        for (std::size_t i = 0; i < nodes.size(); ++i) nodes[i] = renumbered[elementNodes[t][i]];
        gmsh::model::mesh::addElementsByType(entity, types[t], tags, nodes);
    }
}

void BM_RawGmshBulkCopy(benchmark::State& state)
{
    quietSession();
    gm::model::add("bench-source");
    const std::size_t triangles = TarnelBench::AddTriangleGrid(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        rawBulkCopy("bench-source", "bench-target");
        state.PauseTiming();
        gm::model::setCurrent("bench-target");
        gm::model::remove();
        state.ResumeTiming();
    }
    state.counters["triangles"] = static_cast<double>(triangles);
    gm::model::setCurrent("bench-source");
    gm::model::remove();
}

void BM_PlaceIntoEmptyMasterMesh(benchmark::State& state)
{
    quietSession();
    std::size_t triangles = 0;
    std::unordered_map<ElementShape, SolverElementType> solverTypes{
        {TRIANGLE_3NODE, static_cast<SolverElementType>(12)}};
    for (auto _ : state) {
        state.PauseTiming();
        MasterMesh::deleteInstance();
        MasterMesh& master = MasterMesh::getInstance();
        Mesh source(true);
        triangles = TarnelBench::AddTriangleGrid(static_cast<std::size_t>(state.range(0)));
        ComponentMesh component(1, 10, 11, 12, 13);
        state.ResumeTiming();

        master.ExtendComponentMesh(component, source, solverTypes, false);
        benchmark::DoNotOptimize(component.GetElementsByDimension(DIMENSION_2D)->GetElementCount());
    }
    state.counters["triangles"] = static_cast<double>(triangles);
    MasterMesh::deleteInstance();
}

}  // namespace

BENCHMARK(BM_RawGmshBulkCopy)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_PlaceIntoEmptyMasterMesh)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
