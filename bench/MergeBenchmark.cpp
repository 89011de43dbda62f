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
const TarnelBench::TriangleSoup& SharedSoup()
{
    static const TarnelBench::TriangleSoup soup = TarnelBench::MakeTriangleSoup(kTriangles);
    return soup;
}

// A fresh, empty master mesh and a source mesh holding the soup.
MasterMesh& emptyMasterAndSoupSource(Mesh& source)
{
    MasterMesh::deleteInstance();
    MasterMesh& master = MasterMesh::getInstance();
    MeshEngineWrapper::getInstance().ActivateMesh(source);
    TarnelBench::AddTriangleSoup(SharedSoup());
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
