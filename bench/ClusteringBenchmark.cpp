// Clustering of the nodes of a triangle soup (every triangle with its own
// three nodes, the copies of a grid node scattered up to 3.5e-7 apart) with
// a tolerance of 1e-6, next to gmsh's own merge of duplicate nodes on the
// same nodes.

#include <cmath>
#include <random>
#include <vector>

#include <benchmark/benchmark.h>

#include "Entities/Node.h"
#include "GmshAdapter/GmshAdapter.h"
#include "Log.h"
#include "MeshEngineWrapper.h"
#include "Operations/SpatialClustering.h"
#include "SyntheticMeshes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;

namespace {

constexpr double kTolerance = 1e-6;
struct Soup {
    TarnelBench::TriangleSoup triangles;
    std::vector<Node> nodes;  // node i + 1 is reference i
};

const Soup& SharedSoup(std::size_t triangleCount)
{
    static const Soup soup = [triangleCount] {
        Soup made{TarnelBench::MakeTriangleSoup(triangleCount), {}};
        const std::vector<double>& xyz = made.triangles.coordinates;
        made.nodes.reserve(made.triangles.tags.size());
        for (std::size_t i = 0; i < made.triangles.tags.size(); ++i)
            made.nodes.emplace_back(true, static_cast<std::int64_t>(i + 1), XYZ(xyz[3 * i], xyz[3 * i + 1], xyz[3 * i + 2]));
        return made;
    }();
    return soup;
}

void BM_GmshRemoveDuplicateNodes(benchmark::State& state)
{
    TarnelBench::QuietSession();
    const Soup& soup = SharedSoup(static_cast<std::size_t>(state.range(0)));
    gm::option::setNumber("Geometry.Tolerance", kTolerance / soup.triangles.diagonal);
    std::size_t remaining = 0;
    for (auto _ : state) {
        state.PauseTiming();
        gm::model::add("bench-soup");
        TarnelBench::AddTriangleSoup(soup.triangles);
        state.ResumeTiming();

        gm::model::mesh::removeDuplicateNodes();

        state.PauseTiming();
        std::vector<std::size_t> tags;
        std::vector<double> coordinates, parametric;
        gm::model::mesh::getNodes(tags, coordinates, parametric, -1, -1, true, false);
        remaining = tags.size();
        gm::model::remove();
        state.ResumeTiming();
    }
    state.counters["nodesLeft"] = static_cast<double>(remaining);
}

void BM_SpatialClustering(benchmark::State& state)
{
    const Soup& soup = SharedSoup(static_cast<std::size_t>(state.range(0)));
    std::size_t clusters = 0;
    for (auto _ : state) {
        std::vector<std::unordered_set<int>> found = SpatialClustering(soup.nodes, kTolerance).FindClusters();
        clusters = found.size();
        state.PauseTiming();
        found = {};  // the release of the sets is the caller's, not the search's
        state.ResumeTiming();
    }
    state.counters["clusters"] = static_cast<double>(clusters);
}

}  // namespace

BENCHMARK(BM_GmshRemoveDuplicateNodes)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_SpatialClustering)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
