// Bad IDs, batches, sources and couplings handed to the master mesh.

#include <filesystem>
#include <stdexcept>

#include <gtest/gtest.h>

#include "BadInput.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "MeshEngineWrapper.h"
#include "MeshFactory.h"
#include "TestMeshes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;

namespace TarnelTest {
namespace {

std::string deleteNodes(std::unordered_set<int> ids)
{
    std::vector<Element> affected;
    std::unordered_set<int> orphans;
    return Answer(Master().DeleteNodes(std::move(ids), affected, orphans, true)) + ", " +
           std::to_string(affected.size()) + " affected";
}

std::string addNode()
{
    const Node node = Master().AddNode(XYZ(5, 5, 0), false);
    return node.isValid ? "node " + std::to_string(node.id) : "no node";
}

std::string addElements(const std::vector<ElementShape>& shapes, const std::vector<ElementData>& batches,
                        int mode = 0)
{
    return Answered([&] {
        const MeshTransaction transaction = Master().AddElements(
            1, shapes, {}, {}, batches, {}, ElementAttributes({1, 1, 1, 0, 0, 0}, 0.0, mode, NOT_SPECIFIED), false);
        return std::to_string(transaction.createdElements.size() / 5) + " element(s)";
    });
}

// Places what `build` makes, as component 3, then removes the source model
// if the placement left it.
std::string place(void (*build)(), ElementFilter filter,
                  const std::unordered_map<ElementShape, SolverElementType>& solverTypes)
{
    ComponentMesh component(3, 31, 32, 33, 34);
    Mesh source = SourceMesh(build);
    source.SetMeshAdditionElementFilter(filter);
    const std::string answer = Answered([&] {
        Master().ExtendComponentMesh(component, source, solverTypes, false);
        return std::to_string(component.GetLastMeshTransaction().createdElements.size() / 5) + " placed";
    });
    const bool kept = MeshEngineWrapper::getInstance().DoesMeshExist(source);
    if (kept) MeshEngineWrapper::getInstance().RemoveMesh(source);
    return answer + (kept ? ", source kept" : "");
}

// One 10-node triangle: cubic order, no shape of the library.
void addCubicTriangle()
{
    const int surface = gm::model::addDiscreteEntity(2);
    std::vector<std::size_t> tags{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    std::vector<double> coordinates;
    for (std::size_t tag : tags) coordinates.insert(coordinates.end(), {double(tag), 0.5 * double(tag), 0.0});
    gm::model::mesh::addNodes(2, surface, tags, coordinates);
    gm::model::mesh::addElementsByType(surface, 21, {1}, tags);
}

// A point element 2147483647 on node 2147483647: the largest IDs there are.
void addLargestPoint()
{
    const int point = gm::model::addDiscreteEntity(0);
    gm::model::mesh::addNodes(0, point, {2147483647}, {1, 2, 3});
    gm::model::mesh::addElementsByType(point, POINT_1NODE, {2147483647}, {2147483647});
}

// Replaces the canonical master mesh by the largest point, loaded directly
// from a file as component 4.
void takeTheLargestIds(const TempDirectory& directory)
{
    MasterMesh::deleteInstance();
    ComponentMesh component(4, 41, 42, 43, 44);
    Master().ExtendComponentMesh(component, LoadedSourceMesh(directory.Path(), "largest", addLargestPoint),
                                 AllSolverTypes(), false);
}

// Loads directory/part.msh twice; answers the two model names.
std::string loadTwice(const TempDirectory& directory)
{
    gm::model::add("writer");
    AddTwoTrianglesSharingAnEdge();
    gm::write(directory.File("part.msh"));
    gm::model::remove();
    Mesh first(true), second(true);
    first.SetFileName("part");
    second.SetFileName("part");
    first.LoadMesh(directory.Path(), MeshFileFormat::MSH);
    second.LoadMesh(directory.Path(), MeshFileFormat::MSH);
    const bool distinct = MeshEngineWrapper::getInstance().RemoveMesh(second) &&
                          !MeshEngineWrapper::getInstance().DoesMeshExist(second) &&
                          MeshEngineWrapper::getInstance().RemoveMesh(first);
    return distinct ? "two models" : "one model";
}

const std::string kLargest = " would exceed the largest ID 2147483647";

const BadInputCase kCases[] = {
    {"DeleteAnUnknownNode", [](const TempDirectory&) { return deleteNodes({99}); }, "true, 0 affected",
     LogLevel::Error, "Node with ID = 99 is not an active node of the master mesh and cannot be deleted. Skipping..."},
    {"AddANodeAfterTheLargestId", [](const TempDirectory&) { return addNode(); }, "no node", LogLevel::Error,
     "AddNode: Failed to add nodes.", takeTheLargestIds},
    {"AddAnElementOnADeletedNode",
     [](const TempDirectory&) { return addElements({LINE_2NODE}, {ElementData{{1, 5}, {2}}}); },
     "threw: AddElements: node 5 is not an active node of the master mesh.", LogLevel::Error, "", AddAndDeleteNode5},
    {"AddTrianglesInCouplingMode",
     [](const TempDirectory&) { return addElements({TRIANGLE_3NODE}, {ElementData{{1, 2, 3}, {12}}}, 8); },
     "0 element(s)", LogLevel::Error,
     "Kinematic/Distributing coupling type of element addition is only supported for LINE_2NODE elements!"},
    {"DeleteAnUnknownElement",
     [](const TempDirectory&) {
         std::unordered_set<int> orphans;
         return Answer(Master().DeleteElements({77}, orphans, true));
     },
     "true", LogLevel::Error, "Element with ID = 77 is not in the master mesh and cannot be deleted. Skipping..."},
    {"SyncAPopulatedNodeIndex",
     [](const TempDirectory&) {
         return Answered([] {
             Master().SyncNodeIdToElementConnections();
             return std::string("synced");
         });
     },
     "threw: Should not call sync node Id to element connections \t\t\t when this dictionary is already populated!",
     LogLevel::Error, ""},
    {"AddABatchAfterAGoodOneWithTooFewSolverTypes",
     [](const TempDirectory&) {
         return addElements({LINE_2NODE, TRIANGLE_3NODE}, {ElementData{{1, 2}, {2}}, ElementData{{1, 2, 3}, {}}});
     },
     "threw: AddElements: a batch lists fewer solver types than elements.", LogLevel::Error, ""},
    {"AddABatchWithAPartialElement",
     [](const TempDirectory&) { return addElements({LINE_2NODE}, {ElementData{{1, 2, 3}, {2, 2}}}); },
     "threw: AddElements: batch 0 holds 3 node IDs, not a whole number of elements of 2 nodes.", LogLevel::Error, ""},
    {"AddAnInvalidShape", [](const TempDirectory&) { return addElements({INVALID}, {ElementData{{1}, {2}}}); },
     "threw: Unsupported element type", LogLevel::Error, ""},
    {"AddAnElementAfterTheLargestId",
     [](const TempDirectory&) { return addElements({POINT_1NODE}, {ElementData{{2147483647}, {1}}}); },
     "threw: Adding 1 element(s) after ID 2147483647" + kLargest + ".", LogLevel::Error, "", takeTheLargestIds},
    {"PlaceTheMasterMeshIntoItself",
     [](const TempDirectory&) {
         ComponentMesh component(3, 31, 32, 33, 34);
         Master().ExtendComponentMesh(component, Master(), AllSolverTypes(), false);
         return std::to_string(component.GetLastMeshTransaction().componentMeshId);
     },
     "-1", LogLevel::Error, "The master mesh cannot be placed into itself; nothing was placed."},
    {"PlaceCubicTriangles", [](const TempDirectory&) { return place(addCubicTriangle, 2, AllSolverTypes()); },
     "0 placed, source kept", LogLevel::Error,
     "The mesh to place holds elements of gmsh type 21, which is no element shape of this library; nothing was "
     "placed."},
    {"PlaceWithoutASolverType",
     [](const TempDirectory&) { return place(AddTwoTrianglesSharingAnEdge, -1, {{LINE_2NODE, SolverElementType(2)}}); },
     "threw: No solver element type was given for element shape 2; nothing was placed., source kept",
     LogLevel::Error, "No solver element type was given for element shape 2; nothing was placed."},
    {"PlaceAfterTheLargestElementId",
     [](const TempDirectory&) { return place(AddTwoTrianglesSharingAnEdge, -1, AllSolverTypes()); },
     "0 placed, source kept", LogLevel::Error,
     "Placing 2 element(s) after ID 2147483647" + kLargest + "; nothing was placed.", takeTheLargestIds},
    {"LoadTheSameFileTwice", loadTwice, "two models", LogLevel::Warn,
     "A gmsh model called part exists already; the mesh loaded from {dir}/part.msh is called part_2."},
    {"WriteAComponentAssetFileIntoAMissingDirectory",
     [](const TempDirectory& directory) {
         MeshFactory::SetExportDirectory(directory.File("missing"));
         Master().GetComponentMesh(1)->WriteMeshAssetFile();
         MeshFactory::SetExportDirectory(directory.Path());
         return std::string(FileExists(directory.File("missing")) ? "written" : "nothing written");
     },
     "nothing written", LogLevel::Error, "Could not open component mesh asset file for editing!"},
    {"WriteTheActiveNodesWhereADirectoryStands",
     [](const TempDirectory& directory) {
         std::filesystem::create_directory(directory.File("AllActiveNodes.mshp"));
         Master().GetNodeRepositoryPtr()->WriteOutAssetFile();
         return std::string("done");
     },
     "done", LogLevel::Error, "Could not open Node Repository file for writing!"},
    {"DiscardACouplingWhoseBeamsAreNotItsLines",
     [](const TempDirectory&) {
         ElementCoupling coupling(1, 1);
         coupling.SetRepresentationBeamIds({3, 4});
         Master().SetDistributingCouplings({coupling});
         return std::to_string(Master().GetDistributingCouplings().size()) + " kept";
     },
     "0 kept", LogLevel::Warn,
     "Distributing coupling for component mesh ID 1 names element ID 4 as a beam, which is not a line element of "
     "that component; it is kept."},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(MasterMesh, BadInput, ::testing::ValuesIn(kCases), RowName());

}  // namespace TarnelTest
