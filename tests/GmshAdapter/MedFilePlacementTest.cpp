#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "MedFiles.h"
#include "TempDirectory.h"
#include "TestMeshes.h"

using namespace Tarnel;

// Into an empty master mesh a MED file is loaded directly, keeping its
// numbers, its elements listed type after type; the placing of ".msh" files
// has its own tests.
TEST(MedFilePlacement, TheBracketIsLoadedDirectly)
{
    TarnelTest::TempDirectory directory;
    MasterMesh& master = MasterMesh::getInstance();
    TarnelTest::WriteBracket(directory.File("bracket.med"));
    Mesh source;
    source.SetFileName("bracket");
    ASSERT_TRUE(source.LoadMesh(directory.Path(), MeshFileFormat::MED));
    ComponentMesh component(4, 40, 41, 42, 43);
    TarnelTest::LogCapture capture;
    master.ExtendComponentMesh(component, source, TarnelTest::AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_TRUE(capture.Has(LogLevel::Info, "Placing component mesh from path: " + directory.File("bracket.med")));
    EXPECT_TRUE(TarnelTest::FileExists(directory.File("DefaultMasterMesh.med")));
    EXPECT_EQ(TarnelTest::ModelNames(), (std::vector<std::string>{"", "DefaultMasterMesh"}));
    const std::vector<int> created = component.GetLastMeshTransaction().createdElements;
    std::vector<int> ids;
    for (std::size_t i = 0; i < created.size(); i += 5) ids.push_back(created[i]);
    EXPECT_EQ(ids, (std::vector<int>{7004, 7005, 501, 502, 7003, 7001, 7002, 9}));
    EXPECT_EQ(master.GetElementDefinition(7003).nodeIds, (std::vector<int>{104, 107, 116, 128}));
    EXPECT_EQ(master.GetElementDefinition(7001).origin.elementSetId, 43);
    EXPECT_EQ(master.GetElementDefinition(9).origin.elementSetId, 40);
    EXPECT_EQ(master.GetNodeRepositoryPtr()->GetActiveNodes()->GetNodeCount(), 11u);
    EXPECT_NE(MasterMesh::GetPhysicalGroupId("Solid", DIMENSION_3D), -1);
}
