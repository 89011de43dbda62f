// Deleting elements from, and exporting, a master mesh of a million elements.

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unordered_set>
#include <vector>

#include <benchmark/benchmark.h>
#include <gmsh.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "Log.h"
#include "MeshEngineWrapper.h"
#include "SyntheticMeshes.h"

using namespace Tarnel;

namespace {

void deleteEvery(benchmark::State& state, std::size_t stride)
{
    TarnelBench::QuietSession();
    const std::size_t count = static_cast<std::size_t>(state.range(0));
    std::size_t deleted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        MasterMesh& master = TarnelBench::MasterWithTriangles(count);
        std::unordered_set<int> ids;
        for (std::size_t id = 1; id <= count; id += stride) ids.insert(static_cast<int>(id));
        deleted = ids.size();
        std::unordered_set<int> orphans;
        state.ResumeTiming();

        master.DeleteElements(ids, orphans, true);
    }
    state.counters["deleted"] = static_cast<double>(deleted);
    MasterMesh::deleteInstance();
}

void BM_DeleteOnePercentOfTheElements(benchmark::State& state)
{
    deleteEvery(state, 100);
}

void BM_DeleteTenElements(benchmark::State& state)
{
    deleteEvery(state, static_cast<std::size_t>(state.range(0)) / 10);
}

// A master mesh of `cells` pyramids and as many tetrahedra: every cell of a
// square grid carries a pyramid on its base and a tetrahedron beside it.
MasterMesh& masterWithPyramidsAndTetrahedra(std::size_t cells)
{
    MasterMesh::deleteInstance();
    MasterMesh& master = MasterMesh::getInstance();
    master.InsertMeshComponent(ComponentMesh(1, 10, 11, 12, 13));
    const std::size_t n = static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(cells))));
    const std::size_t row = n + 1;
    std::vector<XYZ> positions;
    for (std::size_t j = 0; j < row; ++j)
        for (std::size_t i = 0; i < row; ++i) positions.emplace_back(double(i), double(j), 0.0);
    const std::size_t apexBase = positions.size() + 1;
    for (std::size_t j = 0; j < n; ++j)
        for (std::size_t i = 0; i < n; ++i) positions.emplace_back(i + 0.5, j + 0.5, 1.0);
    master.AddNodes(positions, false);

    ElementData pyramids, tetrahedra;
    for (std::size_t j = 0; j < n; ++j) {
        for (std::size_t i = 0; i < n; ++i) {
            const int a = static_cast<int>(j * row + i + 1), b = a + 1, c = a + static_cast<int>(row) + 1,
                      d = a + static_cast<int>(row);
            const int apex = static_cast<int>(apexBase + j * n + i);
            pyramids.nodeIds.insert(pyramids.nodeIds.end(), {a, b, c, d, apex});
            pyramids.elementIds.push_back(21);
            tetrahedra.nodeIds.insert(tetrahedra.nodeIds.end(), {a, b, apex, d});
            tetrahedra.elementIds.push_back(21);
        }
    }
    master.AddElements(1, {PYRAMID_5NODE, TETRA_4NODE}, {}, {}, {pyramids, tetrahedra}, {}, ElementAttributes(),
                       false);
    return master;
}

void BM_GmshWriteInp(benchmark::State& state)
{
    TarnelBench::QuietSession();
    masterWithPyramidsAndTetrahedra(static_cast<std::size_t>(state.range(0)) / 2);
    MeshEngineWrapper::getInstance().ActivateMasterMesh();
    const std::string path = TarnelBench::kExportDirectory + "/gmsh-own.inp";
    for (auto _ : state) gmsh::write(path);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    MasterMesh::deleteInstance();
}

// The library's own write of the model: gmsh's writer with every element,
// the pyramids included, before the pyramid rewrite.
void BM_AdapterWriteInp(benchmark::State& state)
{
    TarnelBench::QuietSession();
    masterWithPyramidsAndTetrahedra(static_cast<std::size_t>(state.range(0)) / 2);
    MeshEngineWrapper::getInstance().ActivateMasterMesh();
    const std::string path = TarnelBench::kExportDirectory + "/every-element.inp";
    for (auto _ : state) GmshAdapter::write(path);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    MasterMesh::deleteInstance();
}

void BM_ExportMeshFileInp(benchmark::State& state)
{
    TarnelBench::QuietSession();
    MasterMesh& master = masterWithPyramidsAndTetrahedra(static_cast<std::size_t>(state.range(0)) / 2);
    for (auto _ : state) master.ExportMeshFile(MeshFileFormat::INP, -1);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(TarnelBench::kExportDirectory + "/DefaultMasterMesh.inp"));
    MasterMesh::deleteInstance();
}

std::vector<int> allElementIds(std::size_t count)
{
    std::vector<int> ids(count);
    for (std::size_t i = 0; i < count; ++i) ids[i] = static_cast<int>(i + 1);
    return ids;
}

// Every triangle of the grid selected: only the grid's outline is free.
void BM_FreeElementEdges(benchmark::State& state)
{
    TarnelBench::QuietSession();
    MasterMesh& master = TarnelBench::MasterWithTriangles(static_cast<std::size_t>(state.range(0)));
    const std::vector<int> ids = allElementIds(master.GetElementStoragePtr()->Size());
    std::size_t free = 0;
    for (auto _ : state) free = master.GetFreeElementEdges(ids).size();
    state.counters["free"] = static_cast<double>(free);
    MasterMesh::deleteInstance();
}

void BM_FreeElementFaces(benchmark::State& state)
{
    TarnelBench::QuietSession();
    MasterMesh& master = masterWithPyramidsAndTetrahedra(static_cast<std::size_t>(state.range(0)) / 2);
    const std::vector<int> ids = allElementIds(master.GetElementStoragePtr()->Size());
    std::size_t free = 0;
    for (auto _ : state) free = master.GetFreeElementFaces(ids)[0].elementIds.size();
    state.counters["freeTriangles"] = static_cast<double>(free);
    MasterMesh::deleteInstance();
}

}  // namespace

BENCHMARK(BM_DeleteOnePercentOfTheElements)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_DeleteTenElements)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_GmshWriteInp)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_AdapterWriteInp)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_ExportMeshFileInp)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_FreeElementEdges)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_FreeElementFaces)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
