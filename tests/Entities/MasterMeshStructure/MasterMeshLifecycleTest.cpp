#include <algorithm>

#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "MeshEngineWrapper.h"
#include "TestMeshes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;
using namespace TarnelTest;

TEST(MasterMeshLifecycle, FirstUseCreatesTheModelAndItsGroupsDeletionRemovesThem)
{
    MeshEngineWrapper& engine = MeshEngineWrapper::getInstance();
    engine.SetMeshExportPath("/exports/run1");
    LogCapture capture;
    MasterMesh& master = MasterMesh::getInstance();
    engine.SetMeshExportPath("/elsewhere");
    // gmsh numbers physical groups across dimensions.
    EXPECT_EQ(capture.Lines(LogLevel::Debug),
              (std::vector<std::string>{"D: Created new GMSH model: DefaultMasterMesh",
                                        "I: Created Physical Group (node set) with ID = 1",
                                        "I: Created 1D Element Set(physical group) with ID = 2",
                                        "I: Created 2D Element Set(physical group) with ID = 3",
                                        "I: Created 3D Element Set(physical group) with ID = 4"}));
    EXPECT_EQ(CurrentModel(), "DefaultMasterMesh");
    // The entities the library attaches to are those of the groups.
    const std::vector<int> entities = MasterMeshChecker::EntityTags(master);
    for (int dimension = 0; dimension <= 3; ++dimension) {
        std::vector<int> members;
        gm::model::getEntitiesForPhysicalGroup(dimension, dimension + 1, members);
        EXPECT_EQ(members, std::vector<int>{entities[dimension]}) << dimension;
    }
    EXPECT_EQ(master.GetNodeRepositoryPtr()->GetFilePath(), "/exports/run1/AllActiveNodes.mshp");

    MasterMesh::deleteInstance();
    EXPECT_FALSE(MasterMesh::hasInstance());
    EXPECT_EQ(ModelNames(), std::vector<std::string>{""});
    gm::model::add("other");
    engine.ActivateMasterMesh();
    EXPECT_TRUE(MasterMesh::hasInstance());
    EXPECT_EQ(CurrentModel(), "DefaultMasterMesh");
    EXPECT_EQ(MasterMesh::GetPhysicalGroupId("_CREATED_2D_ELEMENTS", DIMENSION_2D), 3);
}

// A master model left in the session is taken over with its groups; the
// sync indexes none of its elements, which the library never stored.
TEST(MasterMeshLifecycle, AnExistingModelIsReusedAndItsUnknownElementsAreNotIndexed)
{
    MeshEngineWrapper::getInstance();
    gm::model::add("DefaultMasterMesh");
    const int nodeEntity = gm::model::addDiscreteEntity(0);
    gm::model::addPhysicalGroup(0, {nodeEntity}, 7, "_CREATED_NODES");
    AddTwoTrianglesSharingAnEdge();
    gm::model::add("elsewhere");

    LogCapture capture;
    MasterMesh& master = MasterMesh::getInstance();
    master.SyncNodeIdToElementConnections();
    // Every node of the two triangles it does not know, in order.
    std::vector<std::string> expected{"D: GMSH model DefaultMasterMesh already exists, reusing it.",
                                      "I: Found existing phys. group for Node Set (_CREATED_NODES). ID=7",
                                      "I: Created 1D Element Set(physical group) with ID = 8",
                                      "I: Created 2D Element Set(physical group) with ID = 9",
                                      "I: Created 3D Element Set(physical group) with ID = 10",
                                      "D: Syncing node ID to element ID connections map..."};
    for (int element : {1, 1, 1, 2, 2, 2})
        expected.push_back("E: Element with ID=" + std::to_string(element) +
                           " not found in ElementStorage! Skipping...");
    expected.push_back("D: Node IDs to elements syncing done!");
    EXPECT_EQ(capture.Lines(LogLevel::Debug), expected);
    EXPECT_EQ(MasterMeshChecker::EntityTags(master)[0], nodeEntity);
    EXPECT_EQ(ModelNames(), (std::vector<std::string>{"", "DefaultMasterMesh", "elsewhere"}));
    EXPECT_EQ(CurrentModel(), "DefaultMasterMesh");
    EXPECT_TRUE(master.IsNodeOrphan(2));
}
