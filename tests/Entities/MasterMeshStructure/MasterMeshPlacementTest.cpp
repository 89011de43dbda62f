// Placing a mesh into a component of the master mesh: from memory or from a
// file, into an empty master mesh (a file is then loaded directly) or after
// what it holds, filtered, previewed.

#include <algorithm>
#include <filesystem>
#include <set>

#include <gtest/gtest.h>

#include "BadInput.h"
#include "EditingMeshes.h"
#include "GmshAdapter/GmshAdapter.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "MeshEngineWrapper.h"
#include "TestMeshes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;
using namespace TarnelTest;

namespace {

// MasterWithCubeNodes with triangle 1 (1, 2, 3) in component 1.
void cubeWithATriangle(const TempDirectory&)
{
    MasterWithCubeNodes();
    AddMasterElement(1, TRIANGLE_3NODE, {1, 2, 3});
}

// A directory stands where the master's copy of the file would go.
void blockTheCopy(const TempDirectory& directory)
{
    std::filesystem::create_directory(directory.File("DefaultMasterMesh.msh"));
}

// A triangle whose coordinates have more than six decimals.
void addOffGridTriangle()
{
    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, surface, {1, 2, 3}, {0.12345678, -0.12345649, 2.5e-7, 1, 0, 0, 0, 1, 0});
    gm::model::mesh::addElementsByType(surface, TRIANGLE_3NODE, {1}, {1, 2, 3});
}

std::string filesIn(const TempDirectory& directory)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory.Path()))
        names.insert(entry.path().filename().string());
    std::string text;
    for (const std::string& name : names) text += name + " ";
    return text;
}

struct Placement : Row {
    void (*prepare)(const TempDirectory& directory);  // nullptr: the master mesh is empty
    void (*build)();
    const char* fileName;  // the source is loaded from <fileName>.msh; nullptr: made in memory
    ElementFilter filter;
    bool isPreview;
    // The transaction (DescribeTransactions), or what was thrown; "{dir}" is the directory.
    std::string expected;
    std::vector<std::string> logs;  // LogCapture::Lines of the placement
    std::string files;              // in the directory afterwards
};

const char* const kTemporaryDiscarded = "I: Discarded temporary mesh after successful placement into master mesh!";
const char* const kDirectLoad = "I: Discarded temporary mesh as its content will be directly loaded into the master mesh!";

const Placement kPlacements[] = {
    {"EveryShapeGoesOnFromTheLargestTagsIntoTheStoredComponent", cubeWithATriangle, AddMixedPointLineTriangle,
     nullptr, -1, false,
     "component 1 created[2 1 11 1 2 3 1 12 2 12 4 1 10 15 1 ] nodes[10 11 ] "
     "nodes[10 11 12 ] nodes[13 ] nodeRecords[10 0 0 0 11 1 0 0 12 0 1 0 13 2 2 0 ]\n",
     {kTemporaryDiscarded}, ""},
    {"ASourceTheFilterEmptiesIsDiscarded", cubeWithATriangle, AddQuadStrip, nullptr, 3, false,
     "component 1\n",
     {"I: ElementFilter: kept dimension-3 elements, discarded 1 other element type(s).",
      "I: Discarded empty temporary mesh!"},
     ""},
    {"RecordsAreRoundedToSixDecimals", nullptr, addOffGridTriangle, nullptr, -1, false,
     "component 1 created[1 1 12 2 12 ] nodes[1 2 3 ] nodeRecords[1 0.123457 -0.123456 0 2 1 0 0 3 0 1 0 ]\n",
     {kTemporaryDiscarded}, ""},
    {"APreviewShowsTheSourceElementIdsAndTheNextNodes", cubeWithATriangle, AddTwoTrianglesWithScatteredTags, nullptr,
     -1, true,
     "component 1 created[5 1 12 2 12 6 1 12 2 12 ] nodes[10 11 12 ] nodes[11 13 10 ] "
     "nodeRecords[10 0 1 0 11 0 0 0 12 1 0 0 13 1 1 0 ]\n",
     {kTemporaryDiscarded}, ""},
    {"AFileIntoAnEmptyMasterMeshIsLoadedDirectly", nullptr, AddTwoTrianglesWithScatteredTags, "part", -1, false,
     "component 1 created[5 1 12 2 12 6 1 12 2 12 ] nodes[30 10 20 ] nodes[10 40 30 ] "
     "nodeRecords[30 0 1 0 10 0 0 0 20 1 0 0 40 1 1 0 ]\n",
     {kDirectLoad, "I: Placing component mesh from path: {dir}/part.msh"}, "DefaultMasterMesh.msh part.msh "},
    {"ADirectLoadDropsWhatTheFilterDiscards", nullptr, AddMixedPointLineTriangle, "mixed", 2, false,
     "component 1 created[3 1 12 2 12 ] nodes[1 2 3 ] nodeRecords[1 0 0 0 2 1 0 0 3 0 1 0 ]\n",
     {"I: ElementFilter: kept dimension-2 elements, discarded 2 other element type(s).", kDirectLoad,
      "I: Placing component mesh from path: {dir}/mixed.msh",
      "I: ElementFilter: removed 2 discarded element(s) from the directly loaded master mesh."},
     "DefaultMasterMesh.msh mixed.msh "},
    {"LastSessionsMasterMeshFileIsLoadedDirectlyAsItIs", nullptr, AddQuadStrip, "DefaultMasterMesh", -1, false,
     "component 1 created[1 1 12 3 15 2 1 12 3 15 3 1 12 3 15 ] nodes[1 2 6 5 ] "
     "nodes[2 3 7 6 ] nodes[3 4 8 7 ] nodeRecords[1 0 0 0 2 1 0 0 6 1 1 0 5 0 1 0 3 2 0 0 7 2 1 0 4 3 0 0 8 3 1 0 ]\n",
     {kDirectLoad, "I: Placing component mesh from path: {dir}/DefaultMasterMesh.msh"}, "DefaultMasterMesh.msh "},
    {"LastSessionsMasterMeshFileIsPlacedLikeAnyOther", cubeWithATriangle, AddQuadStrip, "DefaultMasterMesh", -1,
     false,
     "component 1 created[2 1 12 3 15 3 1 12 3 15 4 1 12 3 15 ] nodes[10 11 12 13 ] "
     "nodes[11 14 15 12 ] nodes[14 16 17 15 ] nodeRecords[10 0 0 0 11 1 0 0 12 1 1 0 13 0 1 0 "
     "14 2 0 0 15 2 1 0 16 3 0 0 17 3 1 0 ]\n",
     {kTemporaryDiscarded}, "DefaultMasterMesh.msh "},
    {"AFailedDirectLoadLeavesAnEmptyMasterModel", blockTheCopy, AddTwoTrianglesSharingAnEdge, "part", -1, false,
     "threw: Could not copy {dir}/part.msh under the master name.",
     {kDirectLoad, "I: Placing component mesh from path: {dir}/part.msh", "E: Error during file copy!",
      "E: Direct load of {dir}/part.msh failed; the master mesh model was recreated empty."},
     "DefaultMasterMesh.msh part.msh "},
};

class MasterMeshPlacement : public testing::TestWithParam<Placement> {};

TEST_P(MasterMeshPlacement, GivesTheTransactionLogsAndFiles)
{
    const Placement& placement = GetParam();
    TempDirectory directory;
    MasterMesh& master = MasterMesh::getInstance();
    if (placement.prepare) placement.prepare(directory);
    Mesh source = placement.fileName ? LoadedSourceMesh(directory.Path(), placement.fileName, placement.build)
                                     : SourceMesh(placement.build);
    source.SetMeshAdditionElementFilter(placement.filter);
    const std::string file = placement.fileName ? ReadFile(source.GetSourceMeshPath()) : "";
    // Without the list of models: the source model goes in any case.
    const auto withoutModels = [](const std::string& description) { return description.substr(description.find('\n')); };
    const std::string before = withoutModels(MasterMeshChecker::Describe(master));

    ComponentMesh component(1, 10, 11, 12, 13);
    LogCapture capture;
    const std::string answer = Answered([&] {
        master.ExtendComponentMesh(component, source, AllSolverTypes(), placement.isPreview);
        return DescribeTransactions({component.GetLastMeshTransaction()});
    });
    EXPECT_EQ(answer, WithDirectory(placement.expected, directory));
    std::vector<std::string> logs = placement.logs, logged = capture.Lines();
    for (std::string& line : logs) line = WithDirectory(line, directory);
    // A direct load makes the master's groups anew; the lifecycle test checks those lines.
    logged.erase(std::remove_if(logged.begin(), logged.end(),
                                [](const std::string& line) { return line.rfind("I: Created ", 0) == 0; }),
                 logged.end());
    EXPECT_EQ(logged, logs);
    EXPECT_EQ(filesIn(directory), placement.files);
    if (placement.fileName) {
        EXPECT_EQ(ReadFile(directory.File(std::string(placement.fileName) + ".msh")), file);
    }
    EXPECT_FALSE(MeshEngineWrapper::getInstance().DoesMeshExist(source));
    if (placement.isPreview) {
        EXPECT_EQ(withoutModels(MasterMeshChecker::Describe(master)), before);
    }
    EXPECT_NE(MasterMesh::GetPhysicalGroupId("_CREATED_3D_ELEMENTS", DIMENSION_3D), -1);
    EXPECT_MASTER_MESH_CONSISTENT();
}

INSTANTIATE_TEST_SUITE_P(Rows, MasterMeshPlacement, testing::ValuesIn(kPlacements), RowName());

}  // namespace
