// A session reset carries the master mesh across exactly: through its backup
// file where that can be written and reads back exactly, from memory
// otherwise. Either way it is gmsh's master model again: the session options
// are set anew, and new IDs go on from before the reset.

#include <cstdio>

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
using TarnelTest::Master;
using TarnelTest::TempDirectory;

namespace {

void deleteElements(std::unordered_set<int> ids)
{
    std::unordered_set<int> orphans;
    ASSERT_TRUE(Master().DeleteElements(std::move(ids), orphans, false));
}

const std::string kSaved = "GMSH reset: saved master mesh to {dir}/DefaultMasterMesh.msh";
const std::string kReloaded = "GMSH reset: reloaded master mesh from {dir}/DefaultMasterMesh.msh";

// Master mesh states a reset must carry across unchanged: the canonical one
// (BuildBadInputMasterMesh) as `change` leaves it, and what the reset logs
// between its first and its last line ("{dir}" stands for the test's
// directory).
struct MasterState : TarnelTest::Row {
    void (*change)(const TempDirectory& directory);
    std::vector<std::string> logs;
    int nextElementId;
};

const MasterState kStates[] = {
    // Nodes 1 to 4 on one point entity, named default groups, sets, couplings.
    {"ElementDeletedInTheMiddle", [](const TempDirectory&) { deleteElements({2}); }, {kSaved, kReloaded}, 6},
    // gmsh goes on from the largest tag it handed out; a file knows only the
    // largest present.
    {"ElementDeletedAtTheTop", [](const TempDirectory&) { deleteElements({5}); },
     {kSaved,
      "GMSH reset: master mesh reloaded from {dir}/DefaultMasterMesh.msh differs from the one saved; the reloaded "
      "model is discarded.",
      "GMSH reset: restored master mesh from memory (the backup file did not read back exactly)."},
     6},
    // Placed coordinates are kept as gmsh computed them, to the last bit: the
    // backup is written in binary.
    {"CoordinatesOfSeventeenDigits",
     [](const TempDirectory&) {
         ComponentMesh component(3, 31, 32, 33, 34);
         Mesh source = TarnelTest::SourceMesh([] {
             const int curve = gm::model::addDiscreteEntity(1);
             gm::model::mesh::addNodes(1, curve, {1, 2}, {0.1 + 0.2, 1.0 / 3.0, 2.0 / 7.0, 1, 1, 1});
             gm::model::mesh::addElementsByType(curve, LINE_2NODE, {1}, {1, 2});
         });
         Master().ExtendComponentMesh(component, source, TarnelTest::AllSolverTypes(), false);
     },
     {kSaved, kReloaded}, 7},
    // We run as root, for whom permissions do not stop a write; a path under
    // a regular file cannot be a directory for anyone.
    {"ExportDirectoryThatCannotBeWritten",
     [](const TempDirectory& directory) {
         TarnelTest::WriteFile(directory.File("plain"), "");
         MeshFactory::SetExportDirectory(directory.File("plain") + "/sub");
     },
     {"GMSH reset: could not save master mesh to {dir}/plain/sub/DefaultMasterMesh.msh: Unable to open file "
      "'{dir}/plain/sub/DefaultMasterMesh.msh'",
      "GMSH reset: restored master mesh from memory (the backup file could not be written)."},
     6},
    {"NoExportDirectory", [](const TempDirectory&) { MeshFactory::SetExportDirectory(""); },
     {"GMSH reset: restored master mesh from memory (no export directory is set)."}, 6},
};

class SessionReset : public testing::TestWithParam<MasterState> {};

}  // namespace

TEST_P(SessionReset, CarriesTheMasterMeshAcrossExactlyAndDropsOtherModels)
{
    TempDirectory directory;
    TarnelTest::BuildBadInputMasterMesh(directory);
    GetParam().change(directory);
    const std::string before = MasterMeshChecker::Describe(Master());
    Mesh temporary(true);
    // Without an export directory no backup may land at the filesystem root;
    // one that was there before is left as it was.
    const std::string exportDirectory = MeshEngineWrapper::getInstance().GetMeshExportPath();
    const std::string backup = exportDirectory + "/DefaultMasterMesh.msh";
    const bool existed = exportDirectory.empty() && TarnelTest::FileExists(backup);
    const std::string content = TarnelTest::ReadFile(backup);

    TarnelTest::LogCapture capture;
    MeshEngineWrapper::getInstance().ResetGmshSession();

    std::vector<std::string> expected{"Performing full GMSH session reset to recover from stuck CTX lock."};
    for (const std::string& line : GetParam().logs) expected.push_back(TarnelTest::WithDirectory(line, directory));
    expected.push_back("GMSH session reset complete.");
    std::vector<std::string> logged;
    for (const LogRecord& record : capture.Records()) logged.push_back(record.message);
    EXPECT_EQ(logged, expected);
    EXPECT_EQ(TarnelTest::FileExists(backup), GetParam().logs[0] == kSaved || existed);
    if (existed) {
        EXPECT_EQ(TarnelTest::ReadFile(backup), content);
    } else if (exportDirectory.empty()) {
        std::remove(backup.c_str());
    }
    MeshFactory::SetExportDirectory(directory.Path());
    EXPECT_EQ(MasterMeshChecker::Describe(Master()), before);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.SaveAll"), 1.0);
    EXPECT_EQ(TarnelTest::NumberOption("General.Verbosity"), 1.0);
    EXPECT_EQ(TarnelTest::NumberOption("General.Terminal"), 0.0);

    const MeshTransaction added = Master().AddElement(1, LINE_2NODE, ElementData{{2, 3}, {2}});
    ASSERT_EQ(added.createdElements.size(), 5u);
    EXPECT_EQ(added.createdElements[0], GetParam().nextElementId);
    EXPECT_MASTER_MESH_CONSISTENT();
}

INSTANTIATE_TEST_SUITE_P(States, SessionReset, testing::ValuesIn(kStates), TarnelTest::RowName());
