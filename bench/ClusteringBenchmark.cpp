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

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;

namespace {

constexpr double kTolerance = 1e-6;
constexpr double kSpacing = 1e-3;

struct Soup {
    std::vector<Node> nodes;  // node i + 1 is reference i
    double diagonal = 0.0;
};

// The first `triangleCount` triangles of a square grid split along one
// diagonal, each with its own copies of its corners; the grid starts off the
// origin so that its nodes do not sit on cell boundaries.
Soup MakeSoup(std::size_t triangleCount)
{
    const std::size_t n = static_cast<std::size_t>(std::ceil(std::sqrt(triangleCount / 2.0)));
    std::mt19937 random(42);
    std::uniform_real_distribution<double> jitter(-1e-7, 1e-7);  // copies at most 3.5e-7 apart
    Soup soup;
    soup.nodes.reserve(3 * triangleCount);
    auto corner = [&](std::size_t i, std::size_t j) {
        const XYZ at(0.1234567 + i * kSpacing + jitter(random), 0.7654321 + j * kSpacing + jitter(random),
                     jitter(random));
        soup.nodes.emplace_back(true, static_cast<std::int64_t>(soup.nodes.size() + 1), at);
    };
    for (std::size_t t = 0; t < triangleCount; ++t) {
        const std::size_t square = t / 2, i = square % n, j = square / n;
        if (t % 2 == 0) {
            corner(i, j), corner(i + 1, j), corner(i + 1, j + 1);
        } else {
            corner(i, j), corner(i + 1, j + 1), corner(i, j + 1);
        }
    }
    const std::size_t rows = (triangleCount + 2 * n - 1) / (2 * n);
    soup.diagonal = std::hypot(n * kSpacing, rows * kSpacing);
    return soup;
}

const Soup& SharedSoup(std::size_t triangleCount)
{
    static Soup soup = MakeSoup(triangleCount);
    return soup;
}

void quietSession()
{
    Log::SetDefaultSinkLevel(LogLevel::Error);
    MeshEngineWrapper::getInstance();
}

void AddSoupModel(const Soup& soup)
{
    gm::model::add("bench-soup");
    const int surface = gm::model::addDiscreteEntity(2);
    std::vector<std::size_t> tags(soup.nodes.size());
    std::vector<double> coordinates;
    coordinates.reserve(3 * soup.nodes.size());
    for (std::size_t i = 0; i < soup.nodes.size(); ++i) {
        tags[i] = i + 1;
        const XYZ& p = soup.nodes[i].position;
        coordinates.insert(coordinates.end(), {p.X(), p.Y(), p.Z()});
    }
    gm::model::mesh::addNodes(2, surface, tags, coordinates);
    std::vector<std::size_t> elementTags(soup.nodes.size() / 3);
    for (std::size_t e = 0; e < elementTags.size(); ++e) elementTags[e] = e + 1;
    gm::model::mesh::addElementsByType(surface, 2, elementTags, tags);
}

void BM_GmshRemoveDuplicateNodes(benchmark::State& state)
{
    quietSession();
    const Soup& soup = SharedSoup(static_cast<std::size_t>(state.range(0)));
    gm::option::setNumber("Geometry.Tolerance", kTolerance / soup.diagonal);
    std::size_t remaining = 0;
    for (auto _ : state) {
        state.PauseTiming();
        AddSoupModel(soup);
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
