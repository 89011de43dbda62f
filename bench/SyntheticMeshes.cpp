#include "SyntheticMeshes.h"

#include <cmath>
#include <filesystem>
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
