#include "TestMeshes.h"

#include "GmshAdapter/GmshAdapter.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;

namespace TarnelTest {

namespace {

// The unit square's corners under the given node tags, split into two triangles.
void addTwoTriangles(const std::vector<std::size_t>& nodeTags, const std::vector<std::size_t>& elementTags,
                     const std::vector<std::size_t>& connectivity)
{
    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, surface, nodeTags, {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0});
    gm::model::mesh::addElementsByType(surface, TRIANGLE_3NODE, elementTags, connectivity);
}

}  // namespace

void AddTwoTrianglesSharingAnEdge()
{
    addTwoTriangles({1, 2, 3, 4}, {1, 2}, {1, 2, 3, 2, 4, 3});
}

void AddTwoTrianglesWithScatteredTags()
{
    addTwoTriangles({10, 20, 30, 40}, {5, 6}, {30, 10, 20, 10, 40, 30});
}

void AddQuadStrip()
{
    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, surface, {1, 2, 3, 4, 5, 6, 7, 8},
                              {0, 0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0, 0, 1, 0, 1, 1, 0, 2, 1, 0, 3, 1, 0});
    gm::model::mesh::addElementsByType(surface, QUAD_4NODE, {1, 2, 3}, {1, 2, 6, 5, 2, 3, 7, 6, 3, 4, 8, 7});
}

void AddMixedPointLineTriangle()
{
    const int point = gm::model::addDiscreteEntity(0);
    const int curve = gm::model::addDiscreteEntity(1);
    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, surface, {1, 2, 3}, {0, 0, 0, 1, 0, 0, 0, 1, 0});
    gm::model::mesh::addNodes(0, point, {4}, {2, 2, 0});
    gm::model::mesh::addElementsByType(point, POINT_1NODE, {1}, {4});
    gm::model::mesh::addElementsByType(curve, LINE_2NODE, {2}, {1, 2});
    gm::model::mesh::addElementsByType(surface, TRIANGLE_3NODE, {3}, {1, 2, 3});
}

std::unordered_map<ElementShape, SolverElementType> AllSolverTypes()
{
    auto type = [](int value) { return static_cast<SolverElementType>(value); };
    std::unordered_map<ElementShape, SolverElementType> types;
    for (ElementShape shape : {LINE_2NODE, LINE_3NODE}) types[shape] = type(2);
    for (ElementShape shape : {TRIANGLE_3NODE, TRIANGLE_6NODE}) types[shape] = type(12);
    for (ElementShape shape : {QUAD_4NODE, QUAD_8NODE, QUAD_9NODE}) types[shape] = type(15);
    for (ElementShape shape : {TETRA_4NODE, TETRA_10NODE, HEXA_8NODE, HEXA_20NODE, HEXA_27NODE, PRISM_6NODE,
                               PRISM_15NODE, PRISM_18NODE, PYRAMID_5NODE, PYRAMID_14NODE})
        types[shape] = type(21);
    types[POINT_1NODE] = type(1);
    return types;
}

Mesh SourceMesh(void (*build)())
{
    Mesh mesh(true);
    build();
    return mesh;
}

Mesh LoadedSourceMesh(const std::string& directory, const std::string& fileName, void (*build)())
{
    std::string previous;
    gm::model::getCurrent(previous);
    gm::model::add("file-source-" + fileName);
    build();
    gm::write(directory + "/" + fileName + ".msh");
    gm::model::remove();
    gm::model::setCurrent(previous);

    Mesh mesh;
    mesh.SetFileName(fileName);
    mesh.LoadMesh(directory, MeshFileFormat::MSH);
    return mesh;
}

}  // namespace TarnelTest
