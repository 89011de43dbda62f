#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "MedFiles.h"
#include "MeshEngineWrapper.h"
#include "TempDirectory.h"
#include "TestMeshes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;
using TarnelTest::AllSolverTypes;

namespace {

using Tags = std::set<std::size_t>;

// The elements of a physical group found by dimension and name, and for
// dimension 0 its nodes.
struct GroupMembers {
    bool exists = false;
    Tags elements;
    Tags nodes;
};

GroupMembers MembersOf(int dim, const std::string& name)
{
    GroupMembers members;
    gm::vectorpair groups;
    gm::model::getPhysicalGroups(groups, dim);
    for (const auto& group : groups) {
        std::string groupName;
        gm::model::getPhysicalName(dim, group.second, groupName);
        if (groupName != name) continue;
        members.exists = true;
        std::vector<int> entities;
        gm::model::getEntitiesForPhysicalGroup(dim, group.second, entities);
        for (int entity : entities) {
            std::vector<int> types;
            std::vector<std::vector<std::size_t>> elementTags, nodeTags;
            gm::model::mesh::getElements(types, elementTags, nodeTags, dim, entity);
            for (const auto& tags : elementTags) members.elements.insert(tags.begin(), tags.end());
            if (dim != 0) continue;
            std::vector<std::size_t> tags;
            std::vector<double> coordinates, parametric;
            gm::model::mesh::getNodes(tags, coordinates, parametric, 0, entity, false, false);
            members.nodes.insert(tags.begin(), tags.end());
        }
    }
    return members;
}

std::vector<std::string> GroupNames()
{
    std::vector<std::string> names;
    gm::vectorpair groups;
    gm::model::getPhysicalGroups(groups);
    for (const auto& group : groups) {
        std::string name;
        gm::model::getPhysicalName(group.first, group.second, name);
        names.push_back(std::to_string(group.first) + ":" + name);
    }
    return names;
}

class MedFilePlacement : public testing::Test {
protected:
    void SetUp() override
    {
        MasterMesh::getInstance();
        TarnelTest::WriteOtherWritersMedFile(directory.File("bracket.med"));
    }
    MasterMesh& master() { return MasterMesh::getInstance(); }

    Mesh LoadBracket()
    {
        Mesh mesh;
        mesh.SetFileName("bracket");
        EXPECT_TRUE(mesh.LoadMesh(directory.Path(), MeshFileFormat::MED));
        return mesh;
    }

    TarnelTest::TempDirectory directory;
};

// The bracket's element numbers, by gmsh type, as a placement lists them.
const std::vector<int> kBracketElementIds = {7004, 7005, 501, 502, 7003, 7001, 7002, 9};

}  // namespace

TEST_F(MedFilePlacement, AnotherWritersFileLoadsWithItsNumbersNodesAndGroups)
{
    gm::open(directory.File("bracket.med"));
    EXPECT_EQ(TarnelTest::CurrentModel(), "bracket");

    std::vector<double> coord, parametric;
    int dim = 0, entity = 0;
    gm::model::mesh::getNode(125, coord, parametric, dim, entity);
    EXPECT_EQ(coord, (std::vector<double>{0.5, 0.5, 1.8}));
    gm::model::mesh::getNode(131, coord, parametric, dim, entity);
    EXPECT_EQ(coord, (std::vector<double>{3, 3, 3}));

    // gmsh walks a volume's base with its normal pointing in: MED's bases
    // come back reversed.
    const std::map<std::size_t, std::pair<int, std::vector<std::size_t>>> expected = {
        {7001, {5, {101, 104, 107, 110, 113, 116, 119, 122}}},
        {7002, {7, {113, 116, 119, 122, 125}}},
        {7003, {4, {104, 107, 116, 128}}},
        {501, {2, {101, 104, 107}}},
        {502, {2, {101, 107, 110}}},
        // Unnumbered in the file: after the largest number.
        {7004, {1, {101, 104}}},
        {7005, {1, {104, 107}}},
        {9, {15, {131}}}};
    for (const auto& [tag, element] : expected) {
        int type = 0;
        std::vector<std::size_t> nodes;
        gm::model::mesh::getElement(tag, type, nodes, dim, entity);
        EXPECT_EQ(type, element.first) << tag;
        EXPECT_EQ(nodes, element.second) << tag;
    }
    EXPECT_EQ(TarnelTest::ElementCount(), expected.size());

    // gmsh finds the volumes valid: positive scaled Jacobians.
    std::vector<double> qualities;
    gm::model::mesh::getElementQualities({7001, 7002, 7003}, qualities, "minSJ");
    for (double quality : qualities) EXPECT_GT(quality, 0.0);

    EXPECT_EQ(GroupNames(), (std::vector<std::string>{"0:Anchor", "2:Floor", "3:Solid", "3:Tip"}));
    EXPECT_EQ(MembersOf(0, "Anchor").nodes, (Tags{101, 104}));
    EXPECT_EQ(MembersOf(0, "Anchor").elements, (Tags{9}));
    EXPECT_EQ(MembersOf(2, "Floor").elements, (Tags{501, 502}));
    EXPECT_EQ(MembersOf(3, "Solid").elements, (Tags{7001, 7002, 7003}));
    EXPECT_EQ(MembersOf(3, "Tip").elements, (Tags{7003}));
}

TEST_F(MedFilePlacement, AMedMeshIntoAnEmptyMasterMeshIsLoadedDirectly)
{
    Mesh source = LoadBracket();
    EXPECT_EQ(source.GetSourceMeshPath(), directory.File("bracket.med"));
    ComponentMesh component(4, 40, 41, 42, 43);
    TarnelTest::LogCapture capture;
    master().ExtendComponentMesh(component, source, AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();

    EXPECT_TRUE(capture.Has(LogLevel::Info, "Placing component mesh from path: " + directory.File("bracket.med")));
    EXPECT_TRUE(TarnelTest::FileExists(directory.File("DefaultMasterMesh.med")));
    EXPECT_TRUE(TarnelTest::HasModel("DefaultMasterMesh"));
    EXPECT_FALSE(TarnelTest::HasModel("bracket"));

    // The file's numbers are the master IDs.
    const MeshTransaction transaction = component.GetLastMeshTransaction();
    std::vector<int> ids;
    for (std::size_t i = 0; i < transaction.createdElements.size(); i += 5) ids.push_back(transaction.createdElements[i]);
    EXPECT_EQ(ids, kBracketElementIds);
    EXPECT_EQ(master().GetElementDefinition(7003).nodeIds, (std::vector<int>{104, 107, 116, 128}));
    EXPECT_EQ(master().GetElementDefinition(7001).origin.elementSetId, 43);
    EXPECT_EQ(master().GetElementDefinition(9).origin.elementSetId, 40);
    EXPECT_EQ(master().GetNodeRepositoryPtr()->GetActiveNodes()->GetNodeCount(), 11u);

    // The default groups are there, beside the file's own.
    for (const auto& [name, dim] : std::vector<std::pair<std::string, ElementDimension>>{
             {"_CREATED_NODES", DIMENSION_0D},
             {"_CREATED_1D_ELEMENTS", DIMENSION_1D},
             {"_CREATED_2D_ELEMENTS", DIMENSION_2D},
             {"_CREATED_3D_ELEMENTS", DIMENSION_3D},
             {"Solid", DIMENSION_3D}})
        EXPECT_NE(MasterMesh::GetPhysicalGroupId(name, dim), -1) << name;

    // Later placements continue after the file's numbers.
    ComponentMesh next(7, 70, 71, 72, 73);
    Mesh more = TarnelTest::SourceMesh(TarnelTest::AddTwoTrianglesSharingAnEdge);
    master().ExtendComponentMesh(next, more, AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(next.GetLastMeshTransaction().createdElements[0], 7006);
    EXPECT_EQ(next.GetLastMeshTransaction().createdNodeRecords[0], 132.0);
}

TEST_F(MedFilePlacement, AMedMeshIntoANonEmptyMasterMeshIsPlacedNormally)
{
    ComponentMesh first(4, 40, 41, 42, 43);
    Mesh triangles = TarnelTest::SourceMesh(TarnelTest::AddTwoTrianglesSharingAnEdge);
    master().ExtendComponentMesh(first, triangles, AllSolverTypes(), false);

    Mesh source = LoadBracket();
    ComponentMesh second(7, 70, 71, 72, 73);
    master().ExtendComponentMesh(second, source, AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_FALSE(TarnelTest::FileExists(directory.File("DefaultMasterMesh.med")));

    // New IDs after the two triangles, type after type; nodes renumbered in
    // order of first use.
    const MeshTransaction transaction = second.GetLastMeshTransaction();
    std::vector<int> ids;
    for (std::size_t i = 0; i < transaction.createdElements.size(); i += 5) ids.push_back(transaction.createdElements[i]);
    EXPECT_EQ(ids, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(TarnelTest::MasterElementCount(), 10u);
    EXPECT_EQ(master().GetNodeRepositoryPtr()->GetActiveNodes()->GetNodeCount(), 4u + 11u);
    // The tetrahedron (file nodes 104, 107, 116, 128) is valid in the master.
    gm::model::setCurrent("DefaultMasterMesh");
    std::vector<double> qualities;
    gm::model::mesh::getElementQualities({7, 8, 9}, qualities, "minSJ");
    for (double quality : qualities) EXPECT_GT(quality, 0.0);
}

TEST_F(MedFilePlacement, AMasterMeshWrittenAsMedKeepsItsDefaultGroups)
{
    ComponentMesh component(4, 40, 41, 42, 43);
    Mesh source = TarnelTest::SourceMesh(TarnelTest::AddMixedPointLineTriangle);
    master().ExtendComponentMesh(component, source, AllSolverTypes(), false);
    const std::string path = master().WriteMesh(directory.Path(), MeshFileFormat::MED);
    EXPECT_EQ(path, directory.File("DefaultMasterMesh.med"));

    gm::model::add("reader");
    gm::open(path);
    EXPECT_EQ(TarnelTest::CurrentModel(), "DefaultMasterMesh");
    EXPECT_EQ(MembersOf(0, "_CREATED_NODES").nodes, (Tags{1, 2, 3, 4}));
    EXPECT_EQ(MembersOf(0, "_CREATED_NODES").elements, (Tags{3}));
    EXPECT_EQ(MembersOf(1, "_CREATED_1D_ELEMENTS").elements, (Tags{1}));
    EXPECT_EQ(MembersOf(2, "_CREATED_2D_ELEMENTS").elements, (Tags{2}));
    // A group without members has no family to travel in.
    EXPECT_FALSE(MembersOf(3, "_CREATED_3D_ELEMENTS").exists);
}

TEST_F(MedFilePlacement, AMasterMeshLoadedFromItsOwnMedFileKeepsItsTags)
{
    ComponentMesh component(4, 40, 41, 42, 43);
    Mesh source = TarnelTest::SourceMesh(TarnelTest::AddTwoTrianglesWithScatteredTags);
    master().ExtendComponentMesh(component, source, AllSolverTypes(), false);
    master().WriteMesh(directory.Path(), MeshFileFormat::MED);
    MasterMesh::deleteInstance();
    std::filesystem::rename(directory.File("DefaultMasterMesh.med"), directory.File("saved.med"));

    Mesh saved;
    saved.SetFileName("saved");
    ASSERT_TRUE(saved.LoadMesh(directory.Path(), MeshFileFormat::MED));
    ComponentMesh again(4, 40, 41, 42, 43);
    master().ExtendComponentMesh(again, saved, AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(master().GetElementDefinition(1).nodeIds, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(master().GetElementDefinition(2).nodeIds, (std::vector<int>{2, 4, 1}));
    EXPECT_EQ(MasterMeshChecker::ElementsOfNode(master(), 1), (std::vector<int>{1, 2}));
}
