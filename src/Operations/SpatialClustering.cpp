#include "Operations/SpatialClustering.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace Tarnel {

namespace {

// Cell parts stay within +-2^62, so that a neighbour's part (+-1) never
// overflows. A coordinate whose cell would lie beyond (infinite, NaN, or so
// far out for a tiny tolerance that floor(x / cellSize) leaves the range)
// gets this part: such a coordinate is so coarse in floating point that any
// value within the tolerance of it is the very same value, so every node that
// can link with it shares the part.
constexpr double kLargestPart = 4611686018427387904.0;  // 2^62
constexpr std::int64_t kOutOfRangePart = (std::int64_t(1) << 62) + 2;

// Groups up to this size are searched by scanning all their references.
constexpr std::size_t kScannedGroup = 16;

// Stable LSD radix sort of `references` by `keys`, 16 bits a pass; a pass
// whose digit is the same for every key is skipped, which drops most passes
// for compact models.
void radixSortByKey(HugePageVector<std::uint64_t>& keys, HugePageVector<std::uint32_t>& references)
{
    constexpr int kDigits = 4;
    constexpr std::size_t kBuckets = 1 << 16;
    std::vector<std::uint32_t> counts(kDigits * kBuckets, 0);
    for (std::uint64_t key : keys)
        for (int d = 0; d < kDigits; ++d) ++counts[d * kBuckets + ((key >> (16 * d)) & 0xFFFF)];
    HugePageVector<std::uint64_t> keyBuffer(keys.size());
    HugePageVector<std::uint32_t> referenceBuffer(keys.size());
    for (int d = 0; d < kDigits; ++d) {
        std::uint32_t* count = &counts[d * kBuckets];
        if (std::any_of(count, count + kBuckets, [&](std::uint32_t c) { return c == keys.size(); })) continue;
        std::uint32_t offset = 0;
        for (std::size_t b = 0; b < kBuckets; ++b) offset += std::exchange(count[b], offset);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            const std::uint32_t to = count[(keys[i] >> (16 * d)) & 0xFFFF]++;
            keyBuffer[to] = keys[i];
            referenceBuffer[to] = references[i];
        }
        keys.swap(keyBuffer);
        references.swap(referenceBuffer);
    }
}

}  // namespace

// The nodes are copied straight into the order of their cells: the search
// reads them only in that order.
SpatialClustering::SpatialClustering(const std::vector<Node>& nodes, double tolerance)
    : tolerance(tolerance), cellSize(tolerance)
{
    // No distance is at most a negative or NaN tolerance.
    if (!(tolerance >= 0.0) || nodes.empty()) return;
    _gatherSortedCells(nodes, _sortByCell(nodes));
}

std::vector<std::unordered_set<int>> SpatialClustering::FindClusters()
{
    if (sorted.empty()) return {};
    _linkNeighbourCells();
    return _collectClusters();
}

std::int64_t SpatialClustering::_cellPart(double coordinate) const
{
    // An infinite cell holds every node; the distance alone decides.
    if (std::isinf(cellSize)) return 0;
    // With a zero tolerance only equal coordinates link: the cell is the
    // value itself (both zeros alike), coarsened to stay within range.
    if (cellSize == 0.0) {
        if (coordinate == 0.0) return 0;
        std::int64_t bits = 0;
        std::memcpy(&bits, &coordinate, sizeof bits);
        return bits >> 2;
    }
    const double part = std::floor(coordinate / cellSize);
    if (!(std::fabs(part) <= kLargestPart)) return kOutOfRangePart;
    return static_cast<std::int64_t>(part);
}

SpatialClustering::Cell SpatialClustering::_cellOf(const XYZ& position) const
{
    return {_cellPart(position.X()), _cellPart(position.Y()), _cellPart(position.Z())};
}

bool SpatialClustering::_cellBefore(const Cell& a, const Cell& b)
{
    if (a.x != b.x) return a.x < b.x;
    if (a.y != b.y) return a.y < b.y;
    return a.z < b.z;
}

// Sorts the references by (cell, reference) into `sorted` and flags the
// positions where a cell begins. When the cells of the model fit one 64-bit
// key (x part most significant) a radix sort does it, else a comparison sort.
std::vector<bool> SpatialClustering::_sortByCell(const std::vector<Node>& nodes)
{
    const std::size_t count = nodes.size();
    Cell low = _cellOf(nodes[0].position), high = low;
    for (const Node& node : nodes) {
        const Cell cell = _cellOf(node.position);
        low = {std::min(low.x, cell.x), std::min(low.y, cell.y), std::min(low.z, cell.z)};
        high = {std::max(high.x, cell.x), std::max(high.y, cell.y), std::max(high.z, cell.z)};
    }
    using Wide = unsigned __int128;
    const Wide spanX = Wide(high.x - low.x) + 1, spanY = Wide(high.y - low.y) + 1, spanZ = Wide(high.z - low.z) + 1;
    sorted.resize(count);
    for (std::size_t r = 0; r < count; ++r) sorted[r] = static_cast<std::uint32_t>(r);
    std::vector<bool> startsCell(count, true);
    if (spanY * spanZ <= std::numeric_limits<std::uint64_t>::max() / spanX) {
        HugePageVector<std::uint64_t> keys(count);
        for (std::size_t r = 0; r < count; ++r) {
            const Cell cell = _cellOf(nodes[r].position);
            keys[r] = static_cast<std::uint64_t>((Wide(cell.x - low.x) * spanY + Wide(cell.y - low.y)) * spanZ +
                                                 Wide(cell.z - low.z));
        }
        radixSortByKey(keys, sorted);
        for (std::size_t s = 1; s < count; ++s) startsCell[s] = keys[s] != keys[s - 1];
    } else {
        HugePageVector<Cell> cellOf(count);
        for (std::size_t r = 0; r < count; ++r) cellOf[r] = _cellOf(nodes[r].position);
        std::stable_sort(sorted.begin(), sorted.end(),
                         [&](std::uint32_t a, std::uint32_t b) { return _cellBefore(cellOf[a], cellOf[b]); });
        for (std::size_t s = 1; s < count; ++s) startsCell[s] = _cellBefore(cellOf[sorted[s - 1]], cellOf[sorted[s]]);
    }
    return startsCell;
}

void SpatialClustering::_gatherSortedCells(const std::vector<Node>& nodes, const std::vector<bool>& startsCell)
{
    const std::size_t count = sorted.size();
    px.resize(count);
    py.resize(count);
    pz.resize(count);
    pid.resize(count);
    cellOfPosition.resize(count);
    for (std::size_t s = 0; s < count; ++s) {
        // The reads jump about the input; fetching ahead hides their misses.
        if (s + 16 < count) __builtin_prefetch(&nodes[sorted[s + 16]]);
        const Node& node = nodes[sorted[s]];
        px[s] = node.position.X();
        py[s] = node.position.Y();
        pz[s] = node.position.Z();
        pid[s] = static_cast<int>(node.id);
        if (startsCell[s]) {
            cells.push_back(_cellOf(node.position));
            cellStart.push_back(static_cast<std::uint32_t>(s));
        }
        cellOfPosition[s] = static_cast<std::uint32_t>(cells.size() - 1);
    }
    cellStart.push_back(static_cast<std::uint32_t>(count));
}

// Links every pair of references within the tolerance whose cells touch,
// each pair of cells once: a cell with itself, with the next cell of its
// column (z + 1), and with the three cells of each of the four columns
// (x, y + 1), (x + 1, y - 1), (x + 1, y), (x + 1, y + 1). The columns' first
// cells only move forward as the cell does, so one cursor each suffices.
void SpatialClustering::_linkNeighbourCells()
{
    parent.resize(sorted.size());
    for (std::size_t s = 0; s < parent.size(); ++s) parent[s] = static_cast<std::uint32_t>(s);
    constexpr std::int64_t kColumns[4][2] = {{0, 1}, {1, -1}, {1, 0}, {1, 1}};
    std::size_t cursor[4] = {0, 0, 0, 0};
    for (std::size_t c = 0; c < cells.size(); ++c) {
        const Cell& cell = cells[c];
        _linkCellPair(c, c);
        if (c + 1 < cells.size() && cells[c + 1].x == cell.x && cells[c + 1].y == cell.y &&
            cells[c + 1].z == cell.z + 1)
            _linkCellPair(c, c + 1);
        for (int k = 0; k < 4; ++k) {
            const Cell first{cell.x + kColumns[k][0], cell.y + kColumns[k][1], cell.z - 1};
            const Cell last{first.x, first.y, cell.z + 1};
            while (cursor[k] < cells.size() && _cellBefore(cells[cursor[k]], first)) ++cursor[k];
            for (std::size_t n = cursor[k]; n < cells.size() && !_cellBefore(last, cells[n]); ++n) _linkCellPair(c, n);
        }
    }
}

void SpatialClustering::_linkCellPair(std::size_t first, std::size_t second)
{
    for (std::uint32_t a = cellStart[first]; a < cellStart[first + 1]; ++a) {
        const std::uint32_t from = first == second ? a + 1 : cellStart[second];
        for (std::uint32_t b = from; b < cellStart[second + 1]; ++b) {
            const std::uint32_t rootA = _root(a), rootB = _root(b);
            if (rootA != rootB && _withinTolerance(a, b)) parent[std::max(rootA, rootB)] = std::min(rootA, rootB);
        }
    }
}

// The distance as the search measures it, so that rounding decides alike.
bool SpatialClustering::_withinTolerance(std::size_t first, std::size_t second) const
{
    const double dx = px[first] - px[second], dy = py[first] - py[second], dz = pz[first] - pz[second];
    return std::sqrt(dx * dx + dy * dy + dz * dz) <= tolerance;
}

std::uint32_t SpatialClustering::_root(std::uint32_t position)
{
    while (parent[position] != position) position = parent[position] = parent[parent[position]];
    return position;
}

// Groups the positions by linked group (each group's positions ascending),
// then searches each group of two or more references, in the order of the
// group's lowest reference.
std::vector<std::unordered_set<int>> SpatialClustering::_collectClusters()
{
    const std::size_t count = sorted.size();
    // groupStart[g]..groupStart[g + 1] delimit group g in `members`; a root
    // position's `groupOfRoot` is its group.
    HugePageVector<std::uint32_t> groupOfRoot(count, 0), groupStart, members(count);
    for (std::size_t s = 0; s < count; ++s) {
        // A union points the larger root at the smaller, so a parent lies
        // before its child and is already flattened onto its root here.
        const std::uint32_t root = parent[s] = parent[parent[s]];
        if (root == s) {
            groupOfRoot[s] = static_cast<std::uint32_t>(groupStart.size());
            groupStart.push_back(0);
        }
        ++groupStart[groupOfRoot[root]];
    }
    std::uint32_t offset = 0;
    for (std::uint32_t& start : groupStart) offset += std::exchange(start, offset);
    groupStart.push_back(offset);
    HugePageVector<std::uint32_t> fill(groupStart.begin(), groupStart.end() - 1);
    HugePageVector<std::uint32_t> lowestPosition(fill.size());
    for (std::size_t s = 0; s < count; ++s) {
        const std::uint32_t group = groupOfRoot[parent[s]];
        const std::uint32_t slot = fill[group]++;
        members[slot] = static_cast<std::uint32_t>(s);
        if (slot == groupStart[group] || sorted[s] < sorted[lowestPosition[group]])
            lowestPosition[group] = static_cast<std::uint32_t>(s);
    }
    // Reused: 1 + the group whose lowest reference is the index, for the
    // groups of two or more references; read in reference order.
    HugePageVector<std::uint32_t>& groupAtReference = groupOfRoot;
    std::fill(groupAtReference.begin(), groupAtReference.end(), 0);
    std::size_t searchedGroups = 0;
    for (std::uint32_t group = 0; group < fill.size(); ++group) {
        if (groupStart[group + 1] - groupStart[group] < 2) continue;
        groupAtReference[sorted[lowestPosition[group]]] = group + 1;
        ++searchedGroups;
    }

    visited.assign(count, 0);
    std::vector<std::unordered_set<int>> clusters;
    clusters.reserve(searchedGroups);
    for (std::uint32_t at : groupAtReference) {
        if (at == 0) continue;
        const std::uint32_t group = at - 1;
        std::unordered_set<int> cluster = _searchGroup(&members[groupStart[group]],
                                                       groupStart[group + 1] - groupStart[group],
                                                       lowestPosition[group]);
        if (cluster.size() > 1) clusters.push_back(std::move(cluster));
    }
    return clusters;
}

// Enqueues `k` for the search step of `j` when unvisited, in one of the 27
// cells around j's and within the tolerance.
void SpatialClustering::_visitIfLinked(std::uint32_t j, std::uint32_t k)
{
    if (visited[k]) return;
    const Cell& a = cells[cellOfPosition[j]];
    const Cell& b = cells[cellOfPosition[k]];
    const bool touch = &a == &b || (a.x - b.x <= 1 && b.x - a.x <= 1 && a.y - b.y <= 1 && b.y - a.y <= 1 &&
                                    a.z - b.z <= 1 && b.z - a.z <= 1);
    if (!touch || !_withinTolerance(j, k)) return;
    visited[k] = 1;
    queue.push_back(k);
}

// The breadth-first search of one group from its lowest reference. Only the
// group's own references can be within the tolerance of its members, and the
// group lists them by (cell, reference), the order of a search step: a small
// group is scanned whole, a large one by the run of each column's three
// cells, found by binary search.
std::unordered_set<int> SpatialClustering::_searchGroup(const std::uint32_t* members, std::size_t count,
                                                        std::uint32_t start)
{
    std::unordered_set<int> cluster;
    const std::uint32_t* end = members + count;
    queue.clear();
    visited[start] = 1;
    queue.push_back(start);
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const std::uint32_t j = queue[head];
        cluster.insert(pid[j]);
        const Cell& cell = cells[cellOfPosition[j]];
        if (count <= kScannedGroup) {
            for (const std::uint32_t* k = members; k != end; ++k)
                if (!visited[*k]) _visitIfLinked(j, *k);
            continue;
        }
        for (std::int64_t dx = -1; dx <= 1; ++dx) {
            for (std::int64_t dy = -1; dy <= 1; ++dy) {
                const Cell first{cell.x + dx, cell.y + dy, cell.z - 1};
                const Cell last{first.x, first.y, cell.z + 1};
                const std::uint32_t* k = std::lower_bound(members, end, first, [&](std::uint32_t s, const Cell& c) {
                    return _cellBefore(cells[cellOfPosition[s]], c);
                });
                for (; k != end && !_cellBefore(last, cells[cellOfPosition[*k]]); ++k) _visitIfLinked(j, *k);
            }
        }
    }
    return cluster;
}

}  // namespace Tarnel
