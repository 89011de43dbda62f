#include "TestMeshes.h"

#include "GmshAdapter/GmshAdapter.h"

namespace gm = Tarnel::GmshAdapter;

namespace TarnelTest {

void AddTwoTrianglesSharingAnEdge()
{
    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, surface, {1, 2, 3, 4}, {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0});
    gm::model::mesh::addElementsByType(surface, 2, {1, 2}, {1, 2, 3, 2, 4, 3});
}

void AddQuadStrip()
{
    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, surface, {1, 2, 3, 4, 5, 6, 7, 8},
                              {0, 0, 0, 1, 0, 0, 2, 0, 0, 3, 0, 0, 0, 1, 0, 1, 1, 0, 2, 1, 0, 3, 1, 0});
    gm::model::mesh::addElementsByType(surface, 3, {1, 2, 3}, {1, 2, 6, 5, 2, 3, 7, 6, 3, 4, 8, 7});
}

void AddMixedPointLineTriangle()
{
    const int point = gm::model::addDiscreteEntity(0);
    const int curve = gm::model::addDiscreteEntity(1);
    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, surface, {1, 2, 3}, {0, 0, 0, 1, 0, 0, 0, 1, 0});
    gm::model::mesh::addNodes(0, point, {4}, {2, 2, 0});
    gm::model::mesh::addElementsByType(point, 15, {1}, {4});
    gm::model::mesh::addElementsByType(curve, 1, {2}, {1, 2});
    gm::model::mesh::addElementsByType(surface, 2, {3}, {1, 2, 3});
}

std::string WriteTwoTrianglesFile(const std::string& directory, const std::string& fileName)
{
    std::string previous;
    gm::model::getCurrent(previous);
    const std::string modelName = "file-source-" + fileName;
    gm::model::add(modelName);
    AddTwoTrianglesSharingAnEdge();
    const std::string path = directory + "/" + fileName + ".msh";
    gm::write(path);
    gm::model::remove();
    gm::model::setCurrent(previous);
    return path;
}

}  // namespace TarnelTest
