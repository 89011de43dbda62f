// A session reset carries the master mesh across exactly: through its backup
// file where that reads back exactly, from memory otherwise. Either way it is
// gmsh's master model again: the session options are set anew, and new IDs go
// on from before the reset.

#include <gtest/gtest.h>

#include "BadInput.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "MeshEngineWrapper.h"
#include "MeshFactory.h"
#include "TestMeshes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;
using TarnelTest::TempDirectory;

namespace {

MasterMesh& master()
{
    return MasterMesh::getInstance();
}

void deleteElements(std::unordered_set<int> ids)
{
    std::unordered_set<int> orphans;
    ASSERT_TRUE(master().DeleteElements(std::move(ids), orphans, false));
}

// Master mesh states a reset must carry across unchanged, and whether the
// backup file carries them exactly or the copy in memory has to.
struct MasterState {
    const char* name;
    void (*build)(const TempDirectory& directory);
    bool readsBackFromFile;
    int nextElementId;
};

const MasterState kStates[] = {
    // Nodes 1 to 4 on one point entity, named default groups, sets, couplings.
    {"CanonicalMaster", TarnelTest::BuildBadInputMasterMesh, true, 6},
    {"ElementDeletedInTheMiddle",
     [](const TempDirectory& directory) {
         TarnelTest::BuildBadInputMasterMesh(directory);
         deleteElements({2});
     },
     true, 6},
    // gmsh goes on from the largest tag it handed out; a file knows only the
    // largest present.
    {"ElementDeletedAtTheTop",
     [](const TempDirectory& directory) {
         TarnelTest::BuildBadInputMasterMesh(directory);
         deleteElements({5});
     },
     false, 6},
    {"LoadedDirectlyFromAFile",
     [](const TempDirectory& directory) {
         MeshFactory::SetExportDirectory(directory.Path());
         ComponentMesh component(1, 11, 12, 13, 14);
         Mesh loaded =
             TarnelTest::LoadedSourceMesh(directory.Path(), "component", TarnelTest::AddMixedPointLineTriangle);
         master().ExtendComponentMesh(component, loaded, TarnelTest::AllSolverTypes(), false);
     },
     true, 4},
    // Placed coordinates are kept as gmsh computed them, to the last bit: the
    // backup is written in binary.
    {"CoordinatesOfSeventeenDigits",
     [](const TempDirectory& directory) {
         TarnelTest::BuildBadInputMasterMesh(directory);
         ComponentMesh component(3, 31, 32, 33, 34);
         Mesh source = TarnelTest::SourceMesh([] {
             const int curve = gm::model::addDiscreteEntity(1);
             gm::model::mesh::addNodes(1, curve, {1, 2}, {0.1 + 0.2, 1.0 / 3.0, 2.0 / 7.0, 1, 1, 1});
             gm::model::mesh::addElementsByType(curve, LINE_2NODE, {1}, {1, 2});
         });
         master().ExtendComponentMesh(component, source, TarnelTest::AllSolverTypes(), false);
     },
     true, 7},
};

class SessionReset : public testing::TestWithParam<MasterState> {};

}  // namespace

TEST_P(SessionReset, CarriesTheMasterMeshAcrossExactlyAndDropsOtherModels)
{
    TempDirectory directory;
    GetParam().build(directory);
    const std::string before = MasterMeshChecker::Describe(master());
    Mesh temporary(true);

    TarnelTest::LogCapture capture;
    MeshEngineWrapper::getInstance().ResetGmshSession();

    const std::string backup = directory.File("DefaultMasterMesh.msh");
    std::vector<std::string> expected = {"Performing full GMSH session reset to recover from stuck CTX lock.",
                                         "GMSH reset: saved master mesh to " + backup};
    if (GetParam().readsBackFromFile) {
        expected.push_back("GMSH reset: reloaded master mesh from " + backup);
    } else {
        expected.push_back("GMSH reset: master mesh reloaded from " + backup +
                           " differs from the one saved; the reloaded model is discarded.");
        expected.push_back("GMSH reset: restored master mesh from memory (the backup file did not read back exactly).");
    }
    expected.push_back("GMSH session reset complete.");
    std::vector<std::string> logged;
    for (const LogRecord& record : capture.Records()) logged.push_back(record.message);
    EXPECT_EQ(logged, expected);
    EXPECT_TRUE(TarnelTest::FileExists(backup));
    EXPECT_EQ(MasterMeshChecker::Describe(master()), before);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.SaveAll"), 1.0);
    EXPECT_EQ(TarnelTest::NumberOption("General.Verbosity"), 1.0);
    EXPECT_EQ(TarnelTest::NumberOption("General.Terminal"), 0.0);

    const MeshTransaction added = master().AddElement(1, LINE_2NODE, ElementData{{2, 3}, {2}});
    ASSERT_EQ(added.createdElements.size(), 5u);
    EXPECT_EQ(added.createdElements[0], GetParam().nextElementId);
    EXPECT_MASTER_MESH_CONSISTENT();
}

INSTANTIATE_TEST_SUITE_P(States, SessionReset, testing::ValuesIn(kStates),
                         [](const testing::TestParamInfo<MasterState>& info) { return std::string(info.param.name); });
