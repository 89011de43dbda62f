// Merging the coincident nodes of a triangle soup (every triangle with its own
// three nodes, the copies of a grid node up to 3.5e-7 apart) placed in the
// master mesh, next to the placement of the same soup.

#include <cmath>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "Log.h"
#include "MeshEngineWrapper.h"
#include "SyntheticMeshes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;

namespace {

constexpr std::size_t kTriangles = 1000000;
constexpr double kTolerance = 1e-6;
constexpr double kSpacing = 1e-3;

// Tags 1.. of the soup's nodes and their coordinates, three nodes per
// triangle: the first `kTriangles` triangles of a square grid split along one
// diagonal, off the origin so that grid nodes do not sit on cell boundaries.
struct Soup {
    std::vector<std::size_t> tags;
    std::vector<double> coordinates;
};

Soup MakeSoup()
{
    const std::size_t n = static_cast<std::size_t>(std::ceil(std::sqrt(kTriangles / 2.0)));
    std::mt19937 random(42);
    std::uniform_real_distribution<double> jitter(-1e-7, 1e-7);  // copies at most 3.5e-7 apart
    Soup soup;
    soup.tags.reserve(3 * kTriangles);
    soup.coordinates.reserve(9 * kTriangles);
    auto corner = [&](std::size_t i, std::size_t j) {
        soup.tags.push_back(soup.tags.size() + 1);
        soup.coordinates.insert(soup.coordinates.end(), {0.1234567 + i * kSpacing + jitter(random),
                                                         0.7654321 + j * kSpacing + jitter(random), jitter(random)});
    };
    for (std::size_t t = 0; t < kTriangles; ++t) {
        const std::size_t square = t / 2, i = square % n, j = square / n;
        if (t % 2 == 0) {
            corner(i, j), corner(i + 1, j), corner(i + 1, j + 1);
        } else {
            corner(i, j), corner(i + 1, j + 1), corner(i, j + 1);
        }
    }
    return soup;
}

const Soup& SharedSoup()
{
    static const Soup soup = MakeSoup();
    return soup;
}

// A fresh, empty master mesh and a source mesh holding the soup.
MasterMesh& emptyMasterAndSoupSource(Mesh& source)
{
    MasterMesh::deleteInstance();
    MasterMesh& master = MasterMesh::getInstance();
    MeshEngineWrapper::getInstance().ActivateMesh(source);
    const Soup& soup = SharedSoup();
    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, surface, soup.tags, soup.coordinates);
    std::vector<std::size_t> elementTags(kTriangles);
    for (std::size_t e = 0; e < kTriangles; ++e) elementTags[e] = e + 1;
    gm::model::mesh::addElementsByType(surface, TRIANGLE_3NODE, elementTags, soup.tags);
    return master;
}

void place(MasterMesh& master, Mesh& source)
{
    ComponentMesh component(1, 10, 11, 12, 13);
    master.ExtendComponentMesh(component, source, {{TRIANGLE_3NODE, static_cast<SolverElementType>(12)}}, false);
}

void BM_PlaceSoup(benchmark::State& state)
{
    TarnelBench::QuietSession();
    for (auto _ : state) {
        state.PauseTiming();
        Mesh source(true);
        MasterMesh& master = emptyMasterAndSoupSource(source);
        state.ResumeTiming();

        place(master, source);
    }
    state.counters["elements"] = static_cast<double>(MasterMesh::getInstance().GetElementStoragePtr()->Size());
    MasterMesh::deleteInstance();
}

void BM_MergeByElementsOfTheSoup(benchmark::State& state)
{
    TarnelBench::QuietSession();
    std::vector<int> selection(kTriangles);
    std::size_t created = 0;
    std::vector<MeshTransaction> transactions;
    for (auto _ : state) {
        state.PauseTiming();
        Mesh source(true);
        MasterMesh& master = emptyMasterAndSoupSource(source);
        place(master, source);
        for (std::size_t e = 0; e < kTriangles; ++e) selection[e] = static_cast<int>(e + 1);
        std::unordered_map<std::string, int> solverTypes;
        state.ResumeTiming();

        transactions = master.MergeByElements(selection, kTolerance, solverTypes, false);

        state.PauseTiming();
        created = transactions.empty() ? 0 : transactions.front().createdElementNodeIds.size();
        transactions = {};  // the release of the result is the caller's
        state.ResumeTiming();
    }
    state.counters["rebuilt"] = static_cast<double>(created);
    state.counters["activeNodes"] =
        static_cast<double>(MasterMesh::getInstance().GetNodeRepositoryPtr()->GetActiveNodes()->GetNodeCount());
    MasterMesh::deleteInstance();
}

}  // namespace

BENCHMARK(BM_PlaceSoup)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_MergeByElementsOfTheSoup)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
