#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "BadInput.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "GmshAdapter/GmshAdapterTesting.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "MeshEngineWrapper.h"
#include "MeshFactory.h"
#include "Operations/Mesher3D.h"
#include "TempDirectory.h"
#include "TestMeshes.h"
#include "TestShapes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;
using TarnelTest::NumberOption;

namespace {

// A box shell meshed with triangles of size 5, placed as component 1, then
// filled. `failures` are thrown by the meshing attempts in turn; each attempt
// is seen as "Algorithm3D ToleranceInitialDelaunay Optimize".
struct VolumeCase : TarnelTest::Row {
    bool open, removeModelFirst;
    double size;
    std::vector<std::string> failures, attempts;
    std::string error;             // "" for success; a trailing '*' ends a prefix
    std::vector<std::string> log;  // after the first two records (the settings, the first attempt): "level message"
    double lengthMaxAfter;
};

const std::string kCauses = "Possible causes: non-manifold geometry, open surfaces, intersecting faces, or "
                            "incompatible boundary mesh quality.";
const std::string kAllFailed = "Failed to generate 3D volume mesh after multiple attempts. Last error: ";
const std::string kOverlap = "Invalid boundary mesh (overlapping facets) on surface 1";
const std::string kSegment = "Invalid boundary mesh (segment-facet intersection)";
const std::string kOptionsReset = "W Generate3DMesh failed - resetting contaminated global GMSH options.";
const std::string kNotRemoved = "W Cannot remove mesh called  because it does not exist.";
const std::vector<std::string> kAllThree = {"1 1e-10 1", "4 1e-10 1", "1 1e-08 0"};

const VolumeCase kVolumeCases[] = {
    {"ClosedBox", false, false, 5.0, {}, {"1 1e-10 1"}, "",
     {"I 3D mesh generated successfully with Delaunay algorithm.", "I 3D mesh generated: 267 3D elements."}, 5.0},
    // Without a size the caller's maximum is kept.
    {"ClosedBoxWithoutSize", false, false, 0.0, {}, {"1 1e-10 1"}, "", {}, 7.0},
    // HXT, which gmsh runs for Frontal, gives a count that varies.
    {"FirstAttemptFails", false, false, 5.0, {kSegment}, {"1 1e-10 1", "4 1e-10 1"}, "",
     {"W Delaunay algorithm failed: " + kSegment, "I Retrying with Frontal algorithm...",
      "I 3D mesh generated successfully with Frontal algorithm.", "I 3D mesh generated: *"},
     5.0},
    {"OverlappingFacetsEndTheAttempts", false, false, 5.0, {kOverlap}, {"1 1e-10 1"},
     kAllFailed + kOverlap + ". " + kCauses,
     {"W Delaunay algorithm failed: " + kOverlap, "W Overlapping facets detected - skipping further 3D attempts.",
      kOptionsReset, kNotRemoved},
     1e22},
    // "overlapping" is matched case-sensitively: every attempt is made.
    {"AllAttemptsFail", false, false, 5.0, {"Overlapping", "Overlapping", "Overlapping"}, kAllThree,
     kAllFailed + "Overlapping. " + kCauses,
     {"W Delaunay algorithm failed: Overlapping", "I Retrying with Frontal algorithm...",
      "W Frontal algorithm failed: Overlapping", "I Retrying with relaxed tolerance settings...",
      "E All mesh generation attempts failed: Overlapping", kOptionsReset, kNotRemoved},
     1e22},
    {"OpenShell", true, false, 5.0, {}, kAllThree, kAllFailed + "No elements in volume 1 . " + kCauses, {}, 1e22},
    {"MeshWithoutItsModel", false, true, 5.0, {}, {}, "Unexpected error during 3D mesh generation: *", {}, 7.0},
};

std::string withoutRest(const std::string& text, const std::string& pattern)
{
    return !pattern.empty() && pattern.back() == '*' ? text.substr(0, pattern.size() - 1) + "*" : text;
}

class VolumeMeshing : public testing::TestWithParam<VolumeCase> {
protected:
    void SetUp() override { MeshFactory::SetExportDirectory(directory.Path()); }
    void TearDown() override { GmshAdapter::testing::SetBeforeGenerate({}); }
    TarnelTest::TempDirectory directory;
};

}  // namespace

TEST_P(VolumeMeshing, ShellsAreFilledOrTheFailureIsReported)
{
    const VolumeCase& volumeCase = GetParam();
    MasterMesh& master = MasterMesh::getInstance();
    Mesh surface(true);
    Handle(GEOM_Object) object = TarnelTest::GeomObject(volumeCase.open ? TarnelTest::OpenBoxShell(10, 20, 30)
                                                                         : TarnelTest::BoxShell(10, 20, 30));
    MeshFactory().Create2DMesh(surface, object, Mesh2DSettings::GetDefaultTriaMeshSettings(5.0), false);
    ComponentMesh component(1, 10, 11, 12, 13);
    master.ExtendComponentMesh(component, surface, TarnelTest::AllSolverTypes(), false);
    const std::unordered_set<int> shell = component.GetElementsByDimension(DIMENSION_2D)->GetElementIds();
    const std::string before = MasterMeshChecker::Describe(master);

    Mesh volume(true);
    if (volumeCase.removeModelFirst) MeshEngineWrapper::getInstance().RemoveMesh(volume);
    gm::option::setNumber("Mesh.CharacteristicLengthMax", 7.0);
    gm::option::setNumber("Mesh.Renumber", 1);
    std::vector<std::string> attempts;
    GmshAdapter::testing::SetBeforeGenerate([&](int) {
        // Every attempt runs on the caller's model holding the whole shell.
        EXPECT_TRUE(MeshEngineWrapper::getInstance().IsMeshActive(volume));
        EXPECT_EQ(TarnelTest::ElementCount(TRIANGLE_3NODE), shell.size());
        std::ostringstream attempt;
        attempt << NumberOption("Mesh.Algorithm3D") << ' ' << NumberOption("Mesh.ToleranceInitialDelaunay") << ' '
                << NumberOption("Mesh.Optimize");
        attempts.push_back(attempt.str());
        if (attempts.size() <= volumeCase.failures.size()) throw std::runtime_error(volumeCase.failures[attempts.size() - 1]);
    });
    TarnelTest::LogCapture capture;
    Mesher3D::Generate3DMesh(volume, shell, Mesh3DSettings(volumeCase.size, Target3DMeshType::Tetrahedra,
                                                           Mesh3DAlgorithmChoice::Delaunay, MeshElementOrder::Linear));

    EXPECT_EQ(attempts, volumeCase.attempts);
    EXPECT_EQ(withoutRest(volume.GetErrorMessage(), volumeCase.error), volumeCase.error);
    std::vector<std::string> log;
    for (const LogRecord& record : capture.Records()) {
        const char* level = record.level == LogLevel::Info ? "I " : record.level == LogLevel::Warn ? "W " : "E ";
        if (record.location == "Tarnel::Mesher3D::Generate3DMesh" || record.location == "Tarnel::MeshEngineWrapper::RemoveMesh")
            log.push_back(level + record.message);
    }
    if (!volumeCase.log.empty()) {
        ASSERT_GE(log.size(), 2u);
        log.erase(log.begin(), log.begin() + 2);
        log.back() = withoutRest(log.back(), volumeCase.log.back());
        EXPECT_EQ(log, volumeCase.log);
    }
    EXPECT_EQ(NumberOption("Mesh.Renumber"), 1.0);
    EXPECT_EQ(NumberOption("Mesh.CharacteristicLengthMax"), volumeCase.lengthMaxAfter);
    if (volumeCase.error.empty()) {
        EXPECT_EQ(volume.GetMeshAdditionElementFilter(), 3);
        // The volume joins the shell it was made from, which is all the
        // master mesh holds: afterwards it holds the volume's nodes, once.
        std::vector<std::size_t> nodes;
        std::vector<double> coordinates, parametric;
        gm::model::mesh::getNodes(nodes, coordinates, parametric, -1, -1, false, false);
        ComponentMesh solid(2, 20, 21, 22, 23);
        master.ExtendComponentMesh(solid, volume, TarnelTest::AllSolverTypes(), false);
        EXPECT_MASTER_MESH_CONSISTENT();
        EXPECT_EQ(solid.GetElementsByDimension(DIMENSION_2D)->GetElementCount(), 0u);
        EXPECT_EQ(master.GetAllNodeIDs().size(), nodes.size());
        return;
    }
    EXPECT_EQ(NumberOption("Mesh.ToleranceInitialDelaunay"), 1e-12);
    EXPECT_EQ(TarnelTest::CurrentModel(), "DefaultMasterMesh");
    EXPECT_FALSE(MeshEngineWrapper::getInstance().DoesMeshExist(volume));
    EXPECT_EQ(MasterMeshChecker::Describe(master), before);
    EXPECT_MASTER_MESH_CONSISTENT();
}

INSTANTIATE_TEST_SUITE_P(Shells, VolumeMeshing, testing::ValuesIn(kVolumeCases), TarnelTest::RowName());
