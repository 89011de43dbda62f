#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <med.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "MedFiles.h"
#include "ModelSnapshot.h"
#include "TempDirectory.h"
#include "TestMeshes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;
using TarnelTest::AllSolverTypes;

namespace {

// The mesh "bracket" of another MED writer: a unit cube (MED_HEXA8) with a
// pyramid on its top (MED_PYRA5) and a tetrahedron against its side x = 1
// (MED_TETRA4), two triangles on its bottom, two unnumbered lines along its
// bottom edges and one point, each in MED's node order (bases walked with
// their normal pointing out of the element), coordinates one axis after the
// other. Node numbers are 101 + 3 * (position - 1).
void WriteBracket(const std::string& path)
{
    TarnelTest::MedFileMesh bracket;
    bracket.name = "bracket";
    bracket.nodes = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},       {0, 0, 1},      {1, 0, 1},
                     {1, 1, 1}, {0, 1, 1}, {0.5, 0.5, 1.8}, {1.7, 0.3, 0.3}, {3, 3, 3}};
    for (int position = 1; position <= 11; ++position) bracket.nodeNumbers.push_back(101 + 3 * (position - 1));
    bracket.nodeFamilies = {4, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    bracket.cells = {{MED_HEXA8, {8, {1, 4, 3, 2, 5, 8, 7, 6}, {7001}, {-2}}},
                     {MED_PYRA5, {5, {5, 8, 7, 6, 9}, {7002}, {-2}}},
                     {MED_TETRA4, {4, {2, 6, 3, 10}, {7003}, {-5}}},
                     {MED_TRIA3, {3, {1, 2, 3, 1, 3, 4}, {501, 502}, {-8, -8}}},
                     {MED_SEG2, {2, {1, 2, 2, 3}, {}, {}}},
                     {MED_POINT1, {1, {11}, {9}, {-11}}}};
    bracket.familyGroups = {{4, {"Anchor"}}, {-11, {"Anchor"}}, {-2, {"Solid"}}, {-5, {"Solid", "Tip"}}, {-8, {"Floor"}}};
    TarnelTest::WriteMedFile(path, {bracket}, true);
}

class MedFilePlacement : public testing::Test {
protected:
    void SetUp() override
    {
        MasterMesh::getInstance();
        WriteBracket(directory.File("bracket.med"));
    }
    MasterMesh& master() { return MasterMesh::getInstance(); }

    Mesh LoadBracket(MeshFileFormat format)
    {
        Mesh mesh;
        mesh.SetFileName("bracket");
        EXPECT_TRUE(mesh.LoadMesh(directory.Path(), format));
        return mesh;
    }

    TarnelTest::TempDirectory directory;
};

// The elements created by the last placement of a component, in order.
std::vector<int> createdElements(const ComponentMesh& component)
{
    const MeshTransaction transaction = component.GetLastMeshTransaction();
    std::vector<int> ids;
    for (std::size_t i = 0; i < transaction.createdElements.size(); i += 5) ids.push_back(transaction.createdElements[i]);
    return ids;
}

bool volumesAreValid(const std::vector<std::size_t>& tags)
{
    std::vector<double> qualities;
    gm::model::mesh::getElementQualities(tags, qualities, "minSJ");
    return std::all_of(qualities.begin(), qualities.end(), [](double quality) { return quality > 0.0; });
}

}  // namespace

TEST_F(MedFilePlacement, AnotherWritersFileLoadsWithItsNumbersNodesAndGroups)
{
    gm::open(directory.File("bracket.med"));
    EXPECT_EQ(TarnelTest::CurrentModel(), "bracket");
    const TarnelTest::ModelSnapshot read = TarnelTest::SnapshotOfCurrentModel();
    EXPECT_EQ(read.nodes.at(125), (std::array<double, 3>{0.5, 0.5, 1.8}));
    EXPECT_EQ(read.nodes.at(131), (std::array<double, 3>{3, 3, 3}));
    // gmsh walks a volume's base with its normal pointing in: MED's bases
    // come back reversed. Unnumbered elements come after the largest number.
    EXPECT_EQ(read.Shapes(), (std::map<std::size_t, TarnelTest::ModelSnapshot::Shape>{
                                 {7001, {5, {101, 104, 107, 110, 113, 116, 119, 122}}},
                                 {7002, {7, {113, 116, 119, 122, 125}}},
                                 {7003, {4, {104, 107, 116, 128}}},
                                 {501, {2, {101, 104, 107}}},
                                 {502, {2, {101, 107, 110}}},
                                 {7004, {1, {101, 104}}},
                                 {7005, {1, {104, 107}}},
                                 {9, {15, {131}}}}));
    EXPECT_TRUE(volumesAreValid({7001, 7002, 7003}));
    using Members = std::set<std::size_t>;
    EXPECT_EQ(read.GroupMembers(), (std::map<std::string, Members>{{"0:Anchor", {101, 104}},
                                                                   {"2:Floor", {501, 502}},
                                                                   {"3:Solid", {7001, 7002, 7003}},
                                                                   {"3:Tip", {7003}}}));
    EXPECT_EQ(read.groups.at({0, "Anchor"}).elements, Members{9});
}

// Into an empty master mesh a file is loaded directly, keeping its numbers;
// into a full one its elements are placed with new IDs, type after type.
TEST_F(MedFilePlacement, TheBracketIsPlacedFromEitherFormat)
{
    gm::model::add("writer");
    gm::open(directory.File("bracket.med"));
    gm::write(directory.File("bracket.msh"));
    gm::model::remove();
    for (const MeshFileFormat format : {MeshFileFormat::MED, MeshFileFormat::MSH}) {
        const std::string extension = GetMeshFileExtension(format);
        MasterMesh::deleteInstance();
        Mesh source = LoadBracket(format);
        ComponentMesh component(4, 40, 41, 42, 43);
        TarnelTest::LogCapture capture;
        master().ExtendComponentMesh(component, source, AllSolverTypes(), false);
        EXPECT_MASTER_MESH_CONSISTENT();
        EXPECT_TRUE(capture.Has(LogLevel::Info, "Placing component mesh from path: " + directory.File("bracket" + extension)));
        EXPECT_TRUE(TarnelTest::FileExists(directory.File("DefaultMasterMesh" + extension)));
        EXPECT_FALSE(TarnelTest::HasModel("bracket"));
        EXPECT_EQ(createdElements(component), (std::vector<int>{7004, 7005, 501, 502, 7003, 7001, 7002, 9})) << extension;
        EXPECT_EQ(master().GetElementDefinition(7003).nodeIds, (std::vector<int>{104, 107, 116, 128}));
        EXPECT_EQ(master().GetElementDefinition(7001).origin.elementSetId, 43);
        EXPECT_EQ(master().GetElementDefinition(9).origin.elementSetId, 40);
        EXPECT_EQ(master().GetNodeRepositoryPtr()->GetActiveNodes()->GetNodeCount(), 11u);
        for (const auto& [name, dim] : std::vector<std::pair<std::string, ElementDimension>>{
                 {"_CREATED_NODES", DIMENSION_0D}, {"_CREATED_1D_ELEMENTS", DIMENSION_1D},
                 {"_CREATED_2D_ELEMENTS", DIMENSION_2D}, {"_CREATED_3D_ELEMENTS", DIMENSION_3D}, {"Solid", DIMENSION_3D}})
            EXPECT_NE(MasterMesh::GetPhysicalGroupId(name, dim), -1) << name;
        // Later placements continue after the file's numbers.
        ComponentMesh next(7, 70, 71, 72, 73);
        Mesh more = TarnelTest::SourceMesh(TarnelTest::AddTwoTrianglesSharingAnEdge);
        master().ExtendComponentMesh(next, more, AllSolverTypes(), false);
        EXPECT_MASTER_MESH_CONSISTENT();
        EXPECT_EQ(next.GetLastMeshTransaction().createdElements[0], 7006);
        EXPECT_EQ(next.GetLastMeshTransaction().createdNodeRecords[0], 132.0);

        MasterMesh::deleteInstance();
        std::filesystem::remove(directory.File("DefaultMasterMesh" + extension));
        ComponentMesh first(4, 40, 41, 42, 43);
        Mesh triangles = TarnelTest::SourceMesh(TarnelTest::AddTwoTrianglesSharingAnEdge);
        master().ExtendComponentMesh(first, triangles, AllSolverTypes(), false);
        Mesh again = LoadBracket(format);
        ComponentMesh second(7, 70, 71, 72, 73);
        master().ExtendComponentMesh(second, again, AllSolverTypes(), false);
        EXPECT_MASTER_MESH_CONSISTENT();
        EXPECT_FALSE(TarnelTest::FileExists(directory.File("DefaultMasterMesh" + extension)));
        EXPECT_EQ(createdElements(second), (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10})) << extension;
        EXPECT_EQ(master().GetElementDefinition(7).nodeIds.size(), 4u);
        EXPECT_EQ(master().GetNodeRepositoryPtr()->GetActiveNodes()->GetNodeCount(), 4u + 11u);
        gm::model::setCurrent("DefaultMasterMesh");
        EXPECT_TRUE(volumesAreValid({7, 8, 9}));
    }
}
