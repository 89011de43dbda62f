// Mirroring every triangle of, and translating every node of, a placed
// triangle grid; only the operation is timed.

#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include <benchmark/benchmark.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "Log.h"
#include "MeshEngineWrapper.h"
#include "SyntheticMeshes.h"

using namespace Tarnel;

namespace {

void BM_MirrorElements(benchmark::State& state)
{
    TarnelBench::QuietSession();
    std::unordered_map<std::string, int> solverTypes;
    std::size_t created = 0;
    std::vector<MeshTransaction> transactions;
    for (auto _ : state) {
        state.PauseTiming();
        MasterMesh& master = TarnelBench::MasterWithTriangles(static_cast<std::size_t>(state.range(0)));
        const std::vector<int> ids = master.GetElementStoragePtr()->GetIds();
        state.ResumeTiming();

        transactions = master.MirrorElements(1, ids, {0, 0, 0}, {1, 0, 0}, solverTypes, false);

        state.PauseTiming();
        created = transactions.empty() ? 0 : transactions.front().createdElements.size() / 5;
        transactions.clear();  // not timed: a million node lists to free
        MasterMesh::deleteInstance();
        state.ResumeTiming();
    }
    state.counters["elements"] = static_cast<double>(created);
}

void BM_TranslateNodes(benchmark::State& state)
{
    TarnelBench::QuietSession();
    std::unordered_map<std::string, int> solverTypes;
    std::size_t created = 0;
    std::vector<MeshTransaction> transactions;
    for (auto _ : state) {
        state.PauseTiming();
        MasterMesh& master = TarnelBench::MasterWithTriangles(static_cast<std::size_t>(state.range(0)));
        std::vector<int> nodeIds;
        for (std::uint64_t id : master.GetActiveNodeIDs()) nodeIds.push_back(static_cast<int>(id));
        state.ResumeTiming();

        transactions = master.TranslateNodes(nodeIds, {1, 0, 0}, solverTypes, false);

        state.PauseTiming();
        created = transactions.empty() ? 0 : transactions.front().createdElements.size() / 5;
        transactions.clear();  // not timed: a million node lists to free
        MasterMesh::deleteInstance();
        state.ResumeTiming();
    }
    state.counters["elements"] = static_cast<double>(created);
}

}  // namespace

BENCHMARK(BM_MirrorElements)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_TranslateNodes)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
