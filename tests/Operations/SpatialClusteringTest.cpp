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

Node node(int id, double x, double y = 0.0)
{
    return Node(true, id, XYZ(x, y, 0.0));
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Input {
    std::string name;
    std::vector<Node> nodes;
    double tolerance;
    bool linksSome;  // a check of the input: the reference finds clusters in it
};

// The random inputs, and the edges: the tolerance zero (equal coordinates,
// both zeros alike), negative, NaN or infinite, coordinates that are not
// finite or whose cells do not fit 64 bits, one ID repeated.
TEST(SpatialClustering, MatchesBruteForceSearchIncludingIterationOrder)
{
    std::vector<Input> inputs{
        {"ZeroMergesOnlyCoincident", {node(1, 2.5), node(2, 2.5 + 1e-15), node(3, 2.5), node(4, 0.0), node(5, -0.0)},
         0.0, true},
        {"NegativeMergesNothing", {node(1, 1), node(2, 1)}, -1.0, false},
        {"NaNMergesNothing", {node(1, 1), node(2, 1)}, kNaN, false},
        {"NonFiniteCoordinatesNeverLink",
         {node(1, kInf), node(2, kInf), node(3, kNaN), node(4, kNaN), node(5, 0, 7), node(6, 0, 7.5)}, 1.0, true},
        {"CellBeyondInt64", {node(1, 1e10), node(2, 1e10, 5e-301), node(3, 1e10 + 1e-5)}, 1e-300, true},
        {"InfiniteToleranceLinksAll", {node(1, 0), node(2, 1e300), node(3, kInf)}, kInf, true},
        {"OneIdRepeated", {node(7, 1), node(7, 1), node(7, 1.2)}, 1.0, false}};
    for (unsigned seed = 1; seed <= 40; ++seed) {
        const double tolerance = seed % 2 ? 1.0 : 0.3;
        inputs.push_back({"seed " + std::to_string(seed), randomNodes(seed, tolerance, seed % 4 < 2), tolerance, true});
    }
    for (const Input& input : inputs) {
        const Clusters expected = bruteForce(input.nodes, input.tolerance);
        EXPECT_EQ(iterated(SpatialClustering(input.nodes, input.tolerance).FindClusters()), iterated(expected))
            << input.name;
        EXPECT_EQ(!expected.empty(), input.linksSome) << input.name;
    }
}

}  // namespace
