#include "SyntheticMeshes.h"

#include <cmath>
#include <filesystem>
#include <random>
#include <vector>

#include "GmshAdapter/GmshAdapter.h"
#include "Log.h"
#include "MeshEngineWrapper.h"

namespace TarnelBench {

std::size_t AddTriangleGrid(std::size_t triangleCount)
{
    namespace gm = Tarnel::GmshAdapter;
    const std::size_t n = static_cast<std::size_t>(std::ceil(std::sqrt(triangleCount / 2.0)));
    const std::size_t row = n + 1;
    std::vector<std::size_t> nodeTags;
    std::vector<double> coordinates;
    nodeTags.reserve(row * row);
    coordinates.reserve(3 * row * row);
    for (std::size_t j = 0; j < row; ++j) {
        for (std::size_t i = 0; i < row; ++i) {
            nodeTags.push_back(j * row + i + 1);
            coordinates.insert(coordinates.end(), {double(i), double(j), 0.0});
        }
    }
    std::vector<std::size_t> elementTags;
    std::vector<std::size_t> elementNodes;
    elementTags.reserve(2 * n * n);
    elementNodes.reserve(6 * n * n);
    for (std::size_t j = 0; j < n; ++j) {
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t a = j * row + i + 1, b = a + 1, c = a + row, d = c + 1;
            elementNodes.insert(elementNodes.end(), {a, b, d, a, d, c});
            elementTags.push_back(elementTags.size() + 1);
            elementTags.push_back(elementTags.size() + 1);
        }
    }
    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, surface, nodeTags, coordinates);
    gm::model::mesh::addElementsByType(surface, 2, elementTags, elementNodes);
    return elementTags.size();
}

TriangleSoup MakeTriangleSoup(std::size_t triangleCount)
{
    constexpr double kSpacing = 1e-3;
    const std::size_t n = static_cast<std::size_t>(std::ceil(std::sqrt(triangleCount / 2.0)));
    std::mt19937 random(42);
    std::uniform_real_distribution<double> jitter(-1e-7, 1e-7);
    TriangleSoup soup;
    soup.tags.reserve(3 * triangleCount);
    soup.coordinates.reserve(9 * triangleCount);
    auto corner = [&](std::size_t i, std::size_t j) {
        soup.tags.push_back(soup.tags.size() + 1);
        soup.coordinates.insert(soup.coordinates.end(), {0.1234567 + i * kSpacing + jitter(random),
                                                         0.7654321 + j * kSpacing + jitter(random), jitter(random)});
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

void AddTriangleSoup(const TriangleSoup& soup)
{
    namespace gm = Tarnel::GmshAdapter;
    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, surface, soup.tags, soup.coordinates);
    std::vector<std::size_t> elementTags(soup.tags.size() / 3);
    for (std::size_t e = 0; e < elementTags.size(); ++e) elementTags[e] = e + 1;
    gm::model::mesh::addElementsByType(surface, 2, elementTags, soup.tags);
}

const std::string kExportDirectory = std::filesystem::temp_directory_path().string() + "/tarnel-bench-export";

void QuietSession()
{
    Tarnel::Log::SetDefaultSinkLevel(Tarnel::LogLevel::Error);
    std::filesystem::create_directories(kExportDirectory);
    Tarnel::MeshEngineWrapper::getInstance().SetMeshExportPath(kExportDirectory);
}

Tarnel::MasterMesh& MasterWithTriangles(std::size_t count)
{
    using namespace Tarnel;
    MasterMesh::deleteInstance();
    MasterMesh& master = MasterMesh::getInstance();
    Mesh source(true);
    AddTriangleGrid(count);
    ComponentMesh component(1, 10, 11, 12, 13);
    master.ExtendComponentMesh(component, source, {{TRIANGLE_3NODE, static_cast<SolverElementType>(12)}}, false);
    return master;
}

}  // namespace TarnelBench
