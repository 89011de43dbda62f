#include "Operations/SpatialClustering.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

using namespace Tarnel;

namespace {

using Clusters = std::vector<std::unordered_set<int>>;

// Each set as it iterates: the merge takes the first ID as its master.
std::vector<std::vector<int>> iterated(const Clusters& clusters)
{
    std::vector<std::vector<int>> result;
    for (const auto& cluster : clusters) result.emplace_back(cluster.begin(), cluster.end());
    return result;
}

Clusters inserted(const std::vector<std::vector<int>>& insertionOrders)
{
    Clusters result;
    for (const auto& ids : insertionOrders) {
        result.emplace_back();
        for (int id : ids) result.back().insert(id);
    }
    return result;
}

// Single linkage over all pairs, searched breadth first from the lowest
// unvisited reference, each step taking the linked references by (cell,
// reference) with cells as wide as the tolerance.
Clusters bruteForce(const std::vector<Node>& nodes, double tolerance)
{
    auto cell = [&](const Node& n) {
        return std::make_tuple(std::floor(n.position.X() / tolerance), std::floor(n.position.Y() / tolerance),
                               std::floor(n.position.Z() / tolerance));
    };
    std::vector<std::size_t> order(nodes.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return cell(nodes[a]) < cell(nodes[b]);
    });
    std::vector<bool> visited(nodes.size(), false);
    Clusters result;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        if (visited[i]) continue;
        std::unordered_set<int> cluster;
        std::vector<std::size_t> queue{i};
        visited[i] = true;
        for (std::size_t head = 0; head < queue.size(); ++head) {
            const std::size_t j = queue[head];
            cluster.insert(static_cast<int>(nodes[j].id));
            for (std::size_t k : order) {
                if (!visited[k] && (nodes[j].position - nodes[k].position).magnitude() <= tolerance) {
                    visited[k] = true;
                    queue.push_back(k);
                }
            }
        }
        if (cluster.size() > 1) result.push_back(cluster);
    }
    return result;
}

// Chains of steps just under the tolerance (so their ends are far beyond
// it; one chain long enough to be searched cell by cell), repeated
// references, coincident nodes under other IDs and nodes on cell boundaries,
// around the origin; with `far`, two nodes so far apart that the cells do not
// fit one 64-bit key.
std::vector<Node> randomNodes(unsigned seed, double tolerance, bool far)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> pick(0, 5);
    std::vector<Node> nodes;
    int nextId = 1;
    for (int chain = 0; chain < 25; ++chain) {
        XYZ at(std::round(unit(rng) * 6) * tolerance, unit(rng) * 6 * tolerance, unit(rng) * 6 * tolerance);
        for (int step = chain == 0 ? 40 : pick(rng); step >= 0; --step) {
            nodes.emplace_back(true, nextId++, at);
            const int kind = pick(rng);
            if (kind == 0) nodes.push_back(nodes[rng() % nodes.size()]);
            if (kind == 1) nodes.emplace_back(true, nextId++, at);
            const XYZ direction = XYZ(unit(rng), unit(rng), unit(rng)).Normalize();
            if (direction.IsValid()) at = at + direction * (tolerance * (kind == 2 ? 1.05 : 0.95));
        }
    }
    if (far) {
        nodes.emplace_back(true, nextId++, XYZ(1e15, 1e15, 1e15));
        nodes.emplace_back(true, nextId++, XYZ(-1e15, -1e15, -1e15));
    }
    std::shuffle(nodes.begin(), nodes.end(), rng);
    return nodes;
}

TEST(SpatialClustering, MatchesBruteForceSearchIncludingIterationOrder)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const double tolerance = seed % 2 ? 1.0 : 0.3;
        const std::vector<Node> nodes = randomNodes(seed, tolerance, seed % 4 < 2);
        const Clusters expected = bruteForce(nodes, tolerance);
        ASSERT_EQ(iterated(SpatialClustering(nodes, tolerance).FindClusters()), iterated(expected))
            << "seed " << seed;
        ASSERT_FALSE(expected.empty()) << "seed " << seed;
    }
}

struct EdgeCase {
    std::string name;
    std::vector<Node> nodes;
    double tolerance;
    std::vector<std::vector<int>> expected;  // IDs in insertion order
};

Node node(int id, double x, double y = 0.0, double z = 0.0)
{
    return Node(true, id, XYZ(x, y, z));
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class SpatialClusteringEdge : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(SpatialClusteringEdge, FindsExactlyTheLinkedGroups)
{
    const EdgeCase& edge = GetParam();
    EXPECT_EQ(iterated(SpatialClustering(edge.nodes, edge.tolerance).FindClusters()),
              iterated(inserted(edge.expected)));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SpatialClusteringEdge,
    ::testing::Values(
        EdgeCase{"ChainJoins", {node(1, 0), node(2, 0.9), node(3, 1.8)}, 1.0, {{1, 2, 3}}},
        EdgeCase{"ChainBroken", {node(1, 0), node(2, 0.9), node(3, 1.8)}, 0.5, {}},
        EdgeCase{"ZeroMergesOnlyCoincident",
                 {node(1, 2.5), node(2, 2.5 + 1e-15), node(3, 2.5), node(4, 0.0), node(5, -0.0)},
                 0.0,
                 {{1, 3}, {4, 5}}},
        EdgeCase{"NegativeMergesNothing", {node(1, 1), node(2, 1)}, -1.0, {}},
        EdgeCase{"NaNMergesNothing", {node(1, 1), node(2, 1)}, kNaN, {}},
        EdgeCase{"NonFiniteCoordinatesNeverLink",
                 {node(1, kInf), node(2, kInf), node(3, kNaN), node(4, kNaN), node(5, 0, 7), node(6, 0, 7.5)},
                 1.0,
                 {{5, 6}}},
        EdgeCase{"CellBeyondInt64", {node(1, 1e10), node(2, 1e10, 5e-301), node(3, 1e10 + 1e-5)}, 1e-300, {{1, 2}}},
        EdgeCase{"InfiniteToleranceLinksAll", {node(1, 0), node(2, 1e300), node(3, kInf)}, kInf, {{1, 2, 3}}},
        EdgeCase{"OneIdRepeated", {node(7, 1), node(7, 1), node(7, 1.2)}, 1.0, {}}),
    [](const ::testing::TestParamInfo<EdgeCase>& info) { return info.param.name; });

}  // namespace
