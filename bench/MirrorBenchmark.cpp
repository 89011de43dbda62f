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

// Times `edit` alone on a fresh placed triangle grid per iteration; `edit`
// gets the master mesh and answers the transactions.
template <class Edit>
void timeEdit(benchmark::State& state, Edit edit)
{
    TarnelBench::QuietSession();
    std::size_t created = 0;
    std::vector<MeshTransaction> transactions;
    for (auto _ : state) {
        state.PauseTiming();
        MasterMesh& master = TarnelBench::MasterWithTriangles(static_cast<std::size_t>(state.range(0)));
        state.ResumeTiming();

        transactions = edit(master, state);

        state.PauseTiming();
        created = transactions.empty() ? 0 : transactions.front().createdElements.size() / 5;
        transactions.clear();  // not timed: a million node lists to free
        MasterMesh::deleteInstance();
        state.ResumeTiming();
    }
    state.counters["elements"] = static_cast<double>(created);
}

void BM_MirrorElements(benchmark::State& state)
{
    timeEdit(state, [](MasterMesh& master, benchmark::State& timing) {
        timing.PauseTiming();
        const std::vector<int> ids = master.GetElementStoragePtr()->GetIds();
        std::unordered_map<std::string, int> solverTypes;
        timing.ResumeTiming();
        return master.MirrorElements(1, ids, {0, 0, 0}, {1, 0, 0}, solverTypes, false);
    });
}

void BM_TranslateNodes(benchmark::State& state)
{
    timeEdit(state, [](MasterMesh& master, benchmark::State& timing) {
        timing.PauseTiming();
        std::vector<int> nodeIds;
        for (std::uint64_t id : master.GetActiveNodeIDs()) nodeIds.push_back(static_cast<int>(id));
        std::unordered_map<std::string, int> solverTypes;
        timing.ResumeTiming();
        return master.TranslateNodes(nodeIds, {1, 0, 0}, solverTypes, false);
    });
}

}  // namespace

BENCHMARK(BM_MirrorElements)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_TranslateNodes)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
