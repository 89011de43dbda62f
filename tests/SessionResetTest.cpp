#include <algorithm>

#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "MeshEngineWrapper.h"
#include "TempDirectory.h"
#include "TestMeshes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;

TEST(SessionReset, KeepsTheMasterMeshWithItsIdsAndDropsOtherModels)
{
    TarnelTest::TempDirectory directory;
    MeshEngineWrapper& engine = MeshEngineWrapper::getInstance();
    engine.SetMeshExportPath(directory.Path());
    ComponentMesh first(4, 40, 41, 42, 43);
    Mesh triangles = TarnelTest::SourceMesh(TarnelTest::AddTwoTrianglesSharingAnEdge);
    MasterMesh::getInstance().ExtendComponentMesh(first, triangles, TarnelTest::AllSolverTypes(), false);
    Mesh temporary(true);
    gm::option::setNumber("Mesh.SaveAll", 0);

    TarnelTest::LogCapture capture;
    engine.ResetGmshSession();

    const std::string backup = directory.File("DefaultMasterMesh.msh");
    const std::vector<std::string> expected = {
        "Performing full GMSH session reset to recover from stuck CTX lock.",
        "GMSH reset: saved master mesh to " + backup, "GMSH reset: reloaded master mesh from " + backup,
        "GMSH session reset complete."};
    const auto records = capture.Records();
    ASSERT_EQ(records.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(records[i].message, expected[i]);
        EXPECT_EQ(records[i].location, "Tarnel::MeshEngineWrapper::ResetGmshSession");
    }
    EXPECT_TRUE(TarnelTest::FileExists(backup));
    EXPECT_FALSE(engine.DoesMeshExist(temporary));
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.SaveAll"), 1.0);
    EXPECT_EQ(TarnelTest::NumberOption("General.Verbosity"), 1.0);
    EXPECT_EQ(TarnelTest::NumberOption("General.Terminal"), 0.0);
    EXPECT_MASTER_MESH_CONSISTENT();

    // Work goes on after the reset with the same IDs.
    ComponentMesh second(7, 70, 71, 72, 73);
    Mesh quads = TarnelTest::SourceMesh(TarnelTest::AddQuadStrip);
    MasterMesh::getInstance().ExtendComponentMesh(second, quads, TarnelTest::AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(second.GetLastMeshTransaction().createdElements[0], 3);
    EXPECT_EQ(second.GetLastMeshTransaction().createdNodeRecords[0], 5.0);
}

TEST(SessionReset, WithoutBackupTheMasterModelStartsEmpty)
{
    MeshEngineWrapper& engine = MeshEngineWrapper::getInstance();
    engine.SetMeshExportPath("/no/such/directory");
    MasterMesh::getInstance();
    TarnelTest::LogCapture capture;
    engine.ResetGmshSession();
    EXPECT_TRUE(capture.Has(LogLevel::Warn,
                            "GMSH reset: could not save master mesh (it may be empty). Proceeding with empty reload."));
    EXPECT_TRUE(capture.Has(LogLevel::Warn, "GMSH reset: no backup found - created empty master mesh model."));
    EXPECT_TRUE(capture.Has(LogLevel::Info, "GMSH session reset complete."));
    std::vector<std::string> names;
    gm::model::list(names);
    EXPECT_NE(std::find(names.begin(), names.end(), "DefaultMasterMesh"), names.end());
}
