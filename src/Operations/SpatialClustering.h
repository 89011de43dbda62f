#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "Entities/Node.h"
#include "Entities/MasterMeshStructure/HugePageAllocator.h"

namespace Tarnel {

// Groups node references that lie at most `tolerance` apart (Euclidean,
// single linkage: chains join). Only groups of at least two distinct node IDs
// are returned, in the order of their first reference.
//
// The merge that uses this takes the first ID a cluster set yields on
// iteration as the master, and that order depends on the order of insertion.
// So each set receives its IDs exactly as a breadth-first search over a grid
// of cells as wide as the tolerance inserts them: start at the lowest
// unvisited reference; for each dequeued reference, the 27 neighbouring cells
// with the x part outermost and the z part innermost, each cell's references
// in ascending order, enqueueing those unvisited and within the tolerance.
//
// That search is reproduced without a map of cells: the references are
// sorted by (cell, reference), which lists the 27 cells of a search step in
// that very order; one merge walk over the sorted cells links each pair of
// neighbouring cells once, and the search then runs only inside each
// connected group.
class SpatialClustering {
public:
    SpatialClustering(const std::vector<Node>& nodes, double tolerance);

    std::vector<std::unordered_set<int>> FindClusters();

private:
    struct Cell {
        std::int64_t x;
        std::int64_t y;
        std::int64_t z;
    };

    static bool _cellBefore(const Cell& a, const Cell& b);
    std::int64_t _cellPart(double coordinate) const;
    Cell _cellOf(const XYZ& position) const;

    std::vector<bool> _sortByCell(const std::vector<Node>& nodes);
    void _gatherSortedCells(const std::vector<Node>& nodes, const std::vector<bool>& startsCell);
    void _linkNeighbourCells();
    void _linkCellPair(std::size_t first, std::size_t second);
    bool _withinTolerance(std::size_t first, std::size_t second) const;
    std::uint32_t _root(std::uint32_t position);
    std::vector<std::unordered_set<int>> _collectClusters();
    void _visitIfLinked(std::uint32_t j, std::uint32_t k);
    std::unordered_set<int> _searchGroup(const std::uint32_t* members, std::size_t count, std::uint32_t start);

    double tolerance;
    double cellSize;

    // Filled on construction (left empty when nothing can link). `sorted`
    // lists the references by (cell, reference); positions below index it,
    // and `px`, `py`, `pz`, `pid` are the copy of the nodes' coordinates and
    // narrowed IDs by position, so that neighbours are near in memory. `cells` holds each distinct cell
    // once, ascending, and `cellStart[c]` the position of its first reference
    // (with a last entry equal to the reference count); `cellOfPosition` maps
    // a position to its cell. `parent`, rebuilt by FindClusters, is a
    // union-find forest over positions.
    HugePageVector<std::uint32_t> sorted;
    HugePageVector<double> px, py, pz;
    HugePageVector<int> pid;
    HugePageVector<Cell> cells;
    HugePageVector<std::uint32_t> cellStart;
    HugePageVector<std::uint32_t> cellOfPosition;
    HugePageVector<std::uint32_t> parent;
    // The search's flags by position and its first-in-first-out queue (read
    // from a moving head), kept across groups to spare allocations.
    HugePageVector<char> visited;
    HugePageVector<std::uint32_t> queue;
};

}  // namespace Tarnel
