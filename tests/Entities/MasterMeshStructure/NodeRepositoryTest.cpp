#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "LogCapture.h"
#include "MeshEngineWrapper.h"
#include "TempDirectory.h"
#include "TestMeshes.h"

using namespace Tarnel;
using TarnelTest::ReadFile;

namespace {

// A master mesh whose export directory is a fresh temporary one.
class NodeRepositoryFile : public testing::Test {
protected:
    void SetUp() override { MeshEngineWrapper::getInstance().SetMeshExportPath(directory.Path()); }

    // Ten master nodes 1 to 10 at (i, 0.5 i, 0), placed as point elements.
    NodeRepository& placeTenNodes()
    {
        ComponentMesh component(1, 10, 11, 12, 13);
        Mesh source = TarnelTest::SourceMesh(TarnelTest::AddTenPoints);
        MasterMesh::getInstance().ExtendComponentMesh(component, source, TarnelTest::AllSolverTypes(), false);
        return *MasterMesh::getInstance().GetNodeRepositoryPtr();
    }

    TarnelTest::TempDirectory directory;
};

}  // namespace

TEST_F(NodeRepositoryFile, ListsTheActiveNodesInGmshOrder)
{
    NodeRepository& repository = placeTenNodes();
    repository.ModifyNodeIds({}, {1, 2, 4, 5, 6, 8, 9, 10});
    repository.WriteOutAssetFile();
    EXPECT_EQ(ReadFile(directory.File("AllActiveNodes.mshp")),
              "$Nodes\n"
              "1 2 3 7\n"
              "2 0 1 2\n"
              "3\n"
              "7\n"
              "3 1.5 0\n"
              "7 3.5 0\n"
              "$EndNodes");
}

TEST_F(NodeRepositoryFile, CoordinatesUseTheStreamsDefaultFormat)
{
    MasterMesh& master = MasterMesh::getInstance();
    ComponentMesh component(1, 10, 11, 12, 13);
    Mesh source(true);
    const int point = GmshAdapter::model::addDiscreteEntity(0);
    GmshAdapter::model::mesh::addNodes(0, point, {1}, {0.1234567, 1e-7, 123456789.0});
    GmshAdapter::model::mesh::addElementsByType(point, POINT_1NODE, {1}, {1});
    master.ExtendComponentMesh(component, source, TarnelTest::AllSolverTypes(), false);
    master.GetNodeRepositoryPtr()->WriteOutAssetFile();
    EXPECT_EQ(ReadFile(directory.File("AllActiveNodes.mshp")),
              "$Nodes\n1 1 1 1\n2 0 1 1\n1\n0.123457 1e-07 1.23457e+08\n$EndNodes");
}

TEST_F(NodeRepositoryFile, WithoutActiveNodesTheFileHasFourLines)
{
    NodeRepository& repository = *MasterMesh::getInstance().GetNodeRepositoryPtr();
    repository.WriteOutAssetFile();
    EXPECT_EQ(ReadFile(directory.File("AllActiveNodes.mshp")), "$Nodes\n1 0 0 0\n2 0 1 0\n$EndNodes");
}

TEST_F(NodeRepositoryFile, AnActiveIdWithoutGmshNodeCountsInTheRangeOnly)
{
    NodeRepository& repository = placeTenNodes();
    repository.ModifyNodeIds({}, {2, 3, 4, 5, 6, 7, 8, 9, 10});
    repository.ModifyNodeIds({50}, {});
    repository.WriteOutAssetFile();
    EXPECT_EQ(ReadFile(directory.File("AllActiveNodes.mshp")), "$Nodes\n1 1 1 50\n2 0 1 1\n1\n1 0.5 0\n$EndNodes");
}

TEST(NodeRepository, AnUnwritableFileIsLoggedAndLeftAlone)
{
    MeshEngineWrapper::getInstance().SetMeshExportPath("/no/such/directory");
    TarnelTest::LogCapture capture;
    MasterMesh::getInstance().GetNodeRepositoryPtr()->WriteOutAssetFile();
    const LogRecord record = capture.Find(LogLevel::Error, "Could not open Node Repository file for writing!");
    EXPECT_EQ(record.location, "Tarnel::NodeRepository::WriteOutAssetFile");
    EXPECT_EQ(record.sourceFile, "Entities/MasterMeshStructure/NodeRepository");
}

TEST(NodeRepository, RemovalsAreRecordedEvenForInactiveIds)
{
    TarnelTest::TempDirectory directory;
    NodeRepository repository(directory.Path());
    repository.ModifyNodeIds({}, {5});
    EXPECT_TRUE(repository.GetRemovedNodes()->HasNodeID(5));
    EXPECT_FALSE(repository.GetActiveNodes()->HasNodeID(5));

    NodeRepository other(directory.Path());
    other.ModifyNodeIds({5}, {});
    other.ModifyNodeIds({}, {5});
    EXPECT_EQ(other.GetRemovedNodes()->GetNodeIds(), (std::unordered_set<int>{5}));
    EXPECT_EQ(other.GetActiveNodes()->GetNodeCount(), 0u);
}

TEST(NodeRepository, EmptyingBothSetsClearsTheFile)
{
    TarnelTest::TempDirectory directory;
    TarnelTest::WriteFile(directory.File("AllActiveNodes.mshp"), "stale");
    NodeRepository repository(directory.Path());
    repository.ModifyNodeIds({}, {});
    EXPECT_EQ(ReadFile(directory.File("AllActiveNodes.mshp")), "");
    EXPECT_EQ(repository.GetActiveNodes()->GetMeshReferenceType(), UNDEFINED);
}
