// The asset files a host reads: a component's elements by dimension and the
// master mesh's active nodes, written end to end from placed meshes.

#include <gtest/gtest.h>

#include "BadInput.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "LogCapture.h"
#include "MeshEngineWrapper.h"
#include "TestMeshes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;
using namespace TarnelTest;

namespace {

// Two triangles and a quadrangle with the tags an asset file lists:
//
//   4 ---- 5 ---- 6       triangle 11: (1, 2, 3)
//   |  12  |  15  /       quad 12:     (1, 2, 5, 4)
//   1 ---- 2    /         triangle 15: (2, 6, 5)
//    \ 11 /   /
//       3
void addAssetFileElements()
{
    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, surface, {1, 2, 3, 4, 5, 6},
                              {0, 0, 0, 1, 0, 0, 0.5, -1, 0, 0, 1, 0, 1, 1, 0, 2, 1, 0});
    gm::model::mesh::addElementsByType(surface, TRIANGLE_3NODE, {11, 15}, {1, 2, 3, 2, 6, 5});
    gm::model::mesh::addElementsByType(surface, QUAD_4NODE, {12}, {1, 2, 5, 4});
}

void place(Mesh source)
{
    ComponentMesh component(4, 40, 41, 42, 43);
    MasterMesh::getInstance().ExtendComponentMesh(component, source, AllSolverTypes(), false);
}

struct AssetFile : Row {
    void (*prepare)(const TempDirectory& directory);
    bool nodes;  // AllActiveNodes.mshp; else component 4's file c4.mshp
    std::string expected;  // "none" when no file is written
    std::vector<std::string> logs;  // LogCapture::Lines from debug up; "{dir}" is the directory
};

const AssetFile kFiles[] = {
    {"ComponentSectionsByDimensionBlocksByShape",
     [](const TempDirectory& directory) {
         place(LoadedSourceMesh(directory.Path(), "assets", addAssetFileElements));
         place(SourceMesh(AddMixedPointLineTriangle));
     },
     false,
     "$m0D\n40\n$Elements\n1 1 18 18\n0 -1 15 1\n18 10\n$EndElements\n"
     "$m1D\n41\n$Elements\n1 1 16 16\n1 -1 1 1\n16 7 8\n$EndElements\n"
     "$m2D\n42\n$Elements\n1 4 11 17\n2 -1 2 3\n11 1 2 3\n15 2 6 5\n17 7 8 9\n2 -1 3 1\n12 1 2 5 4\n$EndElements\n",
     {"D: Writing out mesh asset file asynchronously.",
      "I: Not exporting MSHP asset for TopoMesh ID = 4 of type $m3D, because it has no elements of the required "
      "dimension saved to it!",
      "D: Asset file writing started..."}},
    {"AnEmptyComponentWritesNothing",
     [](const TempDirectory&) { MasterMesh::getInstance().InsertMeshComponent(ComponentMesh(4, 40, 41, 42, 43)); },
     false, "none",
     {"D: Writing out mesh asset file asynchronously.",
      "I: Will not write out asset file for {dir}/c4.mshp because it is an empty reference.",
      "D: Asset file writing started..."}},
    // Active node 50 has no gmsh node: it widens the range only.
    {"ActiveNodesInGmshOrderWithTheStreamsNumberFormat",
     [](const TempDirectory&) {
         place(SourceMesh(AddQuadStrip));
         MasterMesh::getInstance().AddNode(XYZ(0.1234567, 1e-7, 123456789.0), false);
         MasterMesh::getInstance().GetNodeRepositoryPtr()->ModifyNodeIds({50}, {1, 2, 4, 5, 6, 8});
     },
     true, "$Nodes\n1 3 3 50\n2 0 1 3\n3\n7\n9\n1 1 0\n3 0 0\n0.123457 0 1.23457e+08\n$EndNodes", {}},
    {"WithoutActiveNodesTheFileHasFourLines", nullptr, true, "$Nodes\n1 0 0 0\n2 0 1 0\n$EndNodes", {}},
};

class MeshAssetFiles : public testing::TestWithParam<AssetFile> {};

TEST_P(MeshAssetFiles, AreWrittenAsTheHostReadsThem)
{
    TempDirectory directory;
    MeshEngineWrapper::getInstance().SetMeshExportPath(directory.Path());
    MasterMesh& master = MasterMesh::getInstance();
    if (GetParam().prepare) GetParam().prepare(directory);
    const std::string path = directory.File(GetParam().nodes ? "AllActiveNodes.mshp" : "c4.mshp");
    if (!GetParam().nodes) master.GetComponentMesh(4)->SetFileName("c4");
    LogCapture capture;
    if (GetParam().nodes)
        master.GetNodeRepositoryPtr()->WriteOutAssetFile();
    else
        master.GetComponentMesh(4)->WriteMeshAssetFile();
    EXPECT_EQ(FileExists(path) ? ReadFile(path) : "none", GetParam().expected);
    std::vector<std::string> logs = GetParam().logs;
    for (std::string& line : logs) line = WithDirectory(line, directory);
    EXPECT_EQ(capture.Lines(LogLevel::Debug), logs);
}

INSTANTIATE_TEST_SUITE_P(Rows, MeshAssetFiles, testing::ValuesIn(kFiles), RowName());

}  // namespace
