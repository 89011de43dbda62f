#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "MedFiles.h"
#include "TempDirectory.h"
#include "TestMeshes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;
using TarnelTest::AllSolverTypes;

namespace {

class MedFilePlacement : public testing::Test {
protected:
    void SetUp() override
    {
        MasterMesh::getInstance();
        TarnelTest::WriteBracket(directory.File("bracket.med"));
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
        EXPECT_NE(MasterMesh::GetPhysicalGroupId("Solid", DIMENSION_3D), -1);

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
