#include <map>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "MeshEngineWrapper.h"
#include "ModelSnapshot.h"
#include "TempDirectory.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;
using TarnelTest::ReadFile;
using TarnelTest::WriteFile;

namespace {

// Two pyramids on the unit square, one above and one below, and a
// tetrahedron beside them, in component 2 (sets 20 to 23):
//
//          5 (0.5, 0.5, 1)
//   4 ---- 3
//   |      |  7        pyramid 1: (1, 2, 3, 4, 5)   tetrahedron 3: (2, 7, 3, 8)
//   1 ---- 2           pyramid 2: (1, 4, 3, 2, 6), 6 at (0.5, 0.5, -1)
//   7 at (2, 0.5, 0), 8 at (1.5, 0.5, 1)
MasterMesh& masterWithPyramidsAndATetrahedron()
{
    MasterMesh& master = MasterMesh::getInstance();
    master.InsertMeshComponent(ComponentMesh(2, 20, 21, 22, 23));
    std::vector<XYZ> nodes{XYZ(0, 0, 0), XYZ(1, 0, 0),    XYZ(1, 1, 0),  XYZ(0, 1, 0),
                           XYZ(0.5, 0.5, 1), XYZ(0.5, 0.5, -1), XYZ(2, 0.5, 0), XYZ(1.5, 0.5, 1)};
    master.AddNodes(nodes, false);
    master.AddElements(2, {PYRAMID_5NODE, TETRA_4NODE}, {}, {},
                       {ElementData{{1, 2, 3, 4, 5, 1, 4, 3, 2, 6}, {21, 21}}, ElementData{{2, 7, 3, 8}, {21}}}, {},
                       ElementAttributes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    return master;
}

// The members of the groups that have any: a file has no place for a group
// without members.
std::map<std::string, std::set<std::size_t>> filledGroups(const TarnelTest::ModelSnapshot& snapshot)
{
    std::map<std::string, std::set<std::size_t>> filled;
    for (const auto& [name, members] : snapshot.GroupMembers())
        if (!members.empty()) filled[name] = members;
    return filled;
}

class MasterMeshExport : public testing::Test {
protected:
    void SetUp() override { MeshEngineWrapper::getInstance().SetMeshExportPath(directory.Path()); }
    TarnelTest::TempDirectory directory;
};

}  // namespace

// Pyramids reach Abaqus as degenerate reduced hexahedra after the other
// blocks of their volume; gmsh reads back from either of its formats the
// master model's nodes, elements and groups. No export changes the master
// model.
TEST_F(MasterMeshExport, FilesHoldTheMasterMesh)
{
    MasterMesh& master = masterWithPyramidsAndATetrahedron();
    EXPECT_TRUE(master.ExportMeshFile(MeshFileFormat::MSH, 5));
    EXPECT_FALSE(TarnelTest::FileExists(directory.File("DefaultMasterMesh.msh"))) << "a component export writes nothing";
    const TarnelTest::ModelSnapshot exported = TarnelTest::SnapshotOfModel("DefaultMasterMesh");
    ASSERT_EQ(exported.elements.size(), 3u);
    ASSERT_TRUE(master.ExportMeshFile(MeshFileFormat::INP, -1));
    const std::string inp = ReadFile(directory.File("DefaultMasterMesh.inp"));
    EXPECT_NE(inp.find("*ELEMENT, type=C3D4, ELSET=Volume1\n"
                       "3, 2, 7, 3, 8\n"
                       "*ELEMENT, TYPE=C3D8R, ELSET=Volume1\n"
                       "1, 1, 2, 3, 4, 5, 5, 5, 5\n"
                       "2, 1, 4, 3, 2, 6, 6, 6, 6\n"
                       "*ELSET"),
              std::string::npos)
        << inp;
    for (const MeshFileFormat format : {MeshFileFormat::MSH, MeshFileFormat::MED}) {
        const std::string extension = GetMeshFileExtension(format);
        EXPECT_EQ(TarnelTest::SnapshotOfModel("DefaultMasterMesh").Shapes(), exported.Shapes());
        ASSERT_TRUE(master.ExportMeshFile(format, -1));
        gm::model::add("reread");
        gm::open(directory.File("DefaultMasterMesh" + extension));
        const TarnelTest::ModelSnapshot read = TarnelTest::SnapshotOfCurrentModel();
        EXPECT_EQ(read.nodes, exported.nodes) << extension;
        EXPECT_EQ(read.Shapes(), exported.Shapes()) << extension;
        EXPECT_EQ(filledGroups(read), filledGroups(exported)) << extension;
    }
    EXPECT_EQ(filledGroups(exported).count("3:_CREATED_3D_ELEMENTS"), 1u);
}

// Types of any case and hybrids are rewritten; comments end a block,
// continuation lines stay, and a file without pyramids is left untouched.
TEST(AbaqusPyramidRewrite, PyramidBlocksBecomeDegenerateHexahedra)
{
    const std::string converted = "Converted C3D5/C3D5H definitions to reduced C3D8R/C3D8RH in INP export.";
    const struct {
        std::string input;
        std::string output;
        std::vector<std::string> logged;
    } cases[] = {
        {"*Heading\n*Element, Type=c3d5h, ELSET=Volume1\n17, 1, 2, 3, 4, 5\n18,1,2,3,4,6\n"
         "*ELEMENT, type = C3D5 , ELSET=Volume2\n19, 7, 8, 9, 10, 11\r\n*ELEMENT, type=C3D4, ELSET=Volume3\n20, 1, 2, 3, 4, 5\n",
         "*Heading\n*Element, TYPE=C3D8RH, ELSET=Volume1\n17, 1, 2, 3, 4, 5, 5, 5, 5\n18, 1, 2, 3, 4, 6, 6, 6, 6\n"
         "*ELEMENT, TYPE=C3D8R , ELSET=Volume2\n19, 7, 8, 9, 10, 11, 11, 11, 11\n*ELEMENT, type=C3D4, ELSET=Volume3\n"
         "20, 1, 2, 3, 4, 5\n",
         {converted}},
        {"*ELEMENT, type=C3D5, ELSET=Volume1\n1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, \n16\n\n"
         "2, 1, 2, 3, 4, 5\n** a comment ends the block\n3, 1, 2, 3, 4, 5\n",
         "*ELEMENT, TYPE=C3D8R, ELSET=Volume1\n1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, \n16\n\n"
         "2, 1, 2, 3, 4, 5, 5, 5, 5\n** a comment ends the block\n3, 1, 2, 3, 4, 5\n",
         {converted}},
        {"*ELEMENT, type=C3D8, ELSET=Volume1\r\n1, 1, 2, 3, 4, 5, 6, 7, 8",
         "*ELEMENT, type=C3D8, ELSET=Volume1\r\n1, 1, 2, 3, 4, 5, 6, 7, 8", {}},
    };
    for (const auto& c : cases) {
        TarnelTest::TempDirectory directory;
        const std::string path = directory.File("model.inp");
        WriteFile(path, c.input);
        TarnelTest::LogCapture capture;
        EXPECT_TRUE(_convertPyramidElementsToReducedHexInAbaqusInp(path));
        EXPECT_EQ(ReadFile(path), c.output);
        EXPECT_EQ(capture.Messages(LogLevel::Info), c.logged);
        EXPECT_EQ(capture.Records().size(), c.logged.size());
    }
}
