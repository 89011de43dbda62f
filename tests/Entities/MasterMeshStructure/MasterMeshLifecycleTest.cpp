#include <algorithm>

#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "MeshEngineWrapper.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;

TEST(MasterMeshLifecycle, FirstUseCreatesTheModelAndItsFourGroups)
{
    MeshEngineWrapper::getInstance();
    TarnelTest::LogCapture capture;
    MasterMesh& master = MasterMesh::getInstance();
    EXPECT_EQ(&master, &MasterMesh::getInstance());
    EXPECT_TRUE(TarnelTest::HasModel("DefaultMasterMesh"));
    EXPECT_EQ(TarnelTest::CurrentModel(), "DefaultMasterMesh");
    EXPECT_EQ(master.GetFileName(), "DefaultMasterMesh");

    EXPECT_EQ(capture.Find(LogLevel::Debug, "Created new GMSH model: DefaultMasterMesh").location,
              "Tarnel::MasterMesh::MasterMesh");
    const auto info = capture.Messages(LogLevel::Info);
    ASSERT_EQ(info.size(), 4u);
    EXPECT_EQ(info[0], "Created Physical Group (node set) with ID = 1");
    // gmsh numbers physical groups across dimensions.
    EXPECT_EQ(info[1], "Created 1D Element Set(physical group) with ID = 2");
    EXPECT_EQ(info[2], "Created 2D Element Set(physical group) with ID = 3");
    EXPECT_EQ(info[3], "Created 3D Element Set(physical group) with ID = 4");

    const int nodesGroup = MasterMesh::GetPhysicalGroupId("_CREATED_NODES", DIMENSION_0D);
    EXPECT_EQ(nodesGroup, 1);
    EXPECT_EQ(MasterMesh::GetPhysicalGroupId("_CREATED_NODES", DIMENSION_1D), -1);
    EXPECT_EQ(MasterMesh::GetPhysicalGroupId("_CREATED_3D_ELEMENTS", DIMENSION_3D), 4);

    // The entities the library attaches to are those of the groups.
    const std::vector<int> entities = MasterMeshChecker::EntityTags(master);
    for (int dimension = 0; dimension <= 3; ++dimension) {
        std::vector<int> members;
        gm::model::getEntitiesForPhysicalGroup(dimension, dimension + 1, members);
        EXPECT_EQ(members, std::vector<int>{entities[dimension]}) << dimension;
    }
    EXPECT_EQ(master.GetAnalysisDeckSettingsPtr()->GetSolverProfile(), 1);
    EXPECT_TRUE(master.GetElementStoragePtr()->Empty());
}

TEST(MasterMeshLifecycle, AnExistingModelAndItsGroupsAreReused)
{
    MeshEngineWrapper::getInstance();
    gm::model::add("DefaultMasterMesh");
    const int nodeEntity = gm::model::addDiscreteEntity(0);
    gm::model::addPhysicalGroup(0, {nodeEntity}, 7, "_CREATED_NODES");
    gm::model::add("elsewhere");

    TarnelTest::LogCapture capture;
    MasterMesh& master = MasterMesh::getInstance();
    EXPECT_TRUE(capture.Has(LogLevel::Debug, "GMSH model DefaultMasterMesh already exists, reusing it."));
    EXPECT_TRUE(capture.Has(LogLevel::Info, "Found existing phys. group for Node Set (_CREATED_NODES). ID=7"));
    EXPECT_EQ(MasterMeshChecker::EntityTags(master)[0], nodeEntity);
    const auto names = TarnelTest::ModelNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "DefaultMasterMesh"), 1);
    EXPECT_EQ(TarnelTest::CurrentModel(), "DefaultMasterMesh");
}

TEST(MasterMeshLifecycle, DeleteInstanceRemovesTheModelAndANewOneStartsAfresh)
{
    MasterMesh::getInstance();
    MasterMesh::deleteInstance();
    EXPECT_FALSE(MasterMesh::hasInstance());
    EXPECT_FALSE(TarnelTest::HasModel("DefaultMasterMesh"));
    MasterMesh::deleteInstance();

    TarnelTest::LogCapture capture;
    MasterMesh::getInstance();
    EXPECT_TRUE(TarnelTest::HasModel("DefaultMasterMesh"));
    EXPECT_EQ(capture.Messages(LogLevel::Info).size(), 4u);
    EXPECT_EQ(MasterMesh::GetPhysicalGroupId("_CREATED_2D_ELEMENTS", DIMENSION_2D), 3);
}

TEST(MasterMeshLifecycle, ActivateMasterMeshCreatesItOnFirstUse)
{
    MeshEngineWrapper& engine = MeshEngineWrapper::getInstance();
    gm::model::add("other");
    EXPECT_FALSE(MasterMesh::hasInstance());
    engine.ActivateMasterMesh();
    EXPECT_TRUE(MasterMesh::hasInstance());
    EXPECT_EQ(TarnelTest::CurrentModel(), "DefaultMasterMesh");
    std::string fileName;
    gm::model::getFileName(fileName);
    EXPECT_EQ(fileName, "DefaultMasterMesh");
}

TEST(MasterMeshLifecycle, TheNodeRepositoryTakesTheExportDirectoryAtConstruction)
{
    MeshEngineWrapper::getInstance().SetMeshExportPath("/exports/run1");
    MasterMesh& master = MasterMesh::getInstance();
    MeshEngineWrapper::getInstance().SetMeshExportPath("/elsewhere");
    EXPECT_EQ(master.GetNodeRepositoryPtr()->GetFilePath(), "/exports/run1/AllActiveNodes.mshp");
}
