#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <stdexcept>

#include <gtest/gtest.h>

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

const double kBoxVolume = 10.0 * 20.0 * 30.0;

Mesh3DSettings tetrahedra(double size)
{
    return Mesh3DSettings(size, Target3DMeshType::Tetrahedra, Mesh3DAlgorithmChoice::Delaunay,
                          MeshElementOrder::Linear);
}

double tetrahedronVolume(MasterMesh& master, const Element& element)
{
    XYZ p[4];
    for (int i = 0; i < 4; ++i) p[i] = master.GetNodeDefinition(element.nodeIds[i]).position;
    return std::abs((p[1] - p[0]).CrossProduct(p[2] - p[0]).DotProduct(p[3] - p[0])) / 6.0;
}

// The nodes of the faces that belong to one tetrahedron only.
std::set<int> nodesOnFreeFaces(const std::vector<Element>& tetrahedra)
{
    std::map<std::vector<int>, int> faceUses;
    const int faces[4][3] = {{0, 1, 2}, {0, 1, 3}, {0, 2, 3}, {1, 2, 3}};
    for (const Element& element : tetrahedra) {
        for (const auto& face : faces) {
            std::vector<int> key{element.nodeIds[face[0]], element.nodeIds[face[1]], element.nodeIds[face[2]]};
            std::sort(key.begin(), key.end());
            ++faceUses[key];
        }
    }
    std::set<int> nodes;
    for (const auto& use : faceUses)
        if (use.second == 1) nodes.insert(use.first.begin(), use.first.end());
    return nodes;
}

class Mesher3DTest : public testing::Test {
protected:
    void SetUp() override
    {
        MeshFactory::SetExportDirectory(directory.Path());
        master = &MasterMesh::getInstance();
    }
    void TearDown() override { GmshAdapter::testing::SetBeforeGenerate({}); }

    // Meshes the shell with triangles and places it as component 1; returns
    // the IDs of its triangles.
    std::unordered_set<int> placeShell(TopoDS_Shape shell)
    {
        MeshFactory factory;
        Mesh surface(true);
        Handle(GEOM_Object) object = TarnelTest::GeomObject(shell);
        factory.Create2DMesh(surface, object, Mesh2DSettings::GetDefaultTriaMeshSettings(5.0), false);
        EXPECT_TRUE(surface.IsValid()) << surface.GetErrorMessage();
        ComponentMesh component(1, 10, 11, 12, 13);
        master->ExtendComponentMesh(component, surface, TarnelTest::AllSolverTypes(), false);
        return component.GetElementsByDimension(DIMENSION_2D)->GetElementIds();
    }

    TarnelTest::TempDirectory directory;
    MasterMesh* master = nullptr;
};

}  // namespace

TEST_F(Mesher3DTest, AClosedBoxIsFilledWithTetrahedraThatJoinItsShell)
{
    const std::unordered_set<int> shell = placeShell(TarnelTest::BoxShell(10, 20, 30));
    std::set<int> shellNodes;
    std::map<int, std::vector<int>> shellBefore;
    for (int id : shell) {
        const Element triangle = master->GetElementDefinition(id);
        shellNodes.insert(triangle.nodeIds.begin(), triangle.nodeIds.end());
        shellBefore[id] = triangle.nodeIds;
    }
    const std::size_t nodesBefore = master->GetAllNodeIDs().size();

    Mesh volume(true);
    TarnelTest::LogCapture capture;
    Mesher3D::Generate3DMesh(volume, shell, tetrahedra(5.0));
    ASSERT_TRUE(volume.IsValid()) << volume.GetErrorMessage();
    EXPECT_EQ(volume.GetMeshAdditionElementFilter(), 3);
    EXPECT_TRUE(MeshEngineWrapper::getInstance().IsMeshActive(volume));
    EXPECT_EQ(capture.Messages(LogLevel::Info).front(),
              "Generate3DMesh starting | boundaryElements=" + std::to_string(shell.size()) +
                  " elementSize=5.000000 targetType=4 algorithm=1 elementOrder=1");
    EXPECT_TRUE(capture.Has(LogLevel::Info, "3D mesh generated successfully with Delaunay algorithm."));

    ComponentMesh solid(2, 20, 21, 22, 23);
    master->ExtendComponentMesh(solid, volume, TarnelTest::AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(solid.GetElementsByDimension(DIMENSION_2D)->GetElementCount(), 0u);
    const std::unordered_set<int> solidIds = solid.GetElementsByDimension(DIMENSION_3D)->GetElementIds();
    ASSERT_FALSE(solidIds.empty());

    std::vector<Element> placed;
    double volumeSum = 0.0;
    for (int id : solidIds) {
        placed.push_back(master->GetElementDefinition(id));
        ASSERT_EQ(placed.back().shape, TETRA_4NODE);
        volumeSum += tetrahedronVolume(*master, placed.back());
    }
    EXPECT_NEAR(volumeSum / kBoxVolume, 1.0, 1e-9);
    // The volume's skin is the shell itself: no node of it was duplicated.
    const std::set<int> skin = nodesOnFreeFaces(placed);
    EXPECT_TRUE(std::includes(shellNodes.begin(), shellNodes.end(), skin.begin(), skin.end()));
    EXPECT_EQ(skin, shellNodes);
    // Only the interior nodes are new.
    std::set<int> used;
    for (const Element& element : placed) used.insert(element.nodeIds.begin(), element.nodeIds.end());
    std::size_t interior = 0;
    for (int node : used) interior += shellNodes.count(node) == 0;
    EXPECT_EQ(master->GetAllNodeIDs().size(), nodesBefore + interior);
    EXPECT_EQ(solid.GetLastMeshTransaction().createdNodeRecords.size(), 4 * interior);
    for (const auto& triangle : shellBefore) EXPECT_EQ(master->GetElementDefinition(triangle.first).nodeIds, triangle.second);
}

TEST_F(Mesher3DTest, AnOpenShellEndsInTheFailurePath)
{
    const std::unordered_set<int> shell = placeShell(TarnelTest::OpenBoxShell(10, 20, 30));
    const std::size_t elementsBefore = TarnelTest::MasterElementCount();
    gm::option::setNumber("Mesh.Algorithm", 6);

    Mesh volume(true);
    TarnelTest::LogCapture capture;
    Mesher3D::Generate3DMesh(volume, shell, tetrahedra(5.0));
    EXPECT_FALSE(volume.IsValid());
    const std::string text = volume.GetErrorMessage();
    const bool allAttemptsFailed =
        text.rfind("Failed to generate 3D volume mesh after multiple attempts. Last error: ", 0) == 0 &&
        text.find(". Possible causes: non-manifold geometry, open surfaces, intersecting faces, or incompatible "
                  "boundary mesh quality.") != std::string::npos;
    const bool noElements = text ==
                            "3D mesh generation produced no 3D elements. Possible causes: non-manifold geometry, open "
                            "surfaces, or incompatible boundary mesh quality.";
    EXPECT_TRUE(allAttemptsFailed || noElements) << text;
    if (allAttemptsFailed) {
        EXPECT_TRUE(capture.Has(LogLevel::Warn, "Generate3DMesh failed - resetting contaminated global GMSH options."));
        EXPECT_EQ(NumberOption("Mesh.Algorithm"), 5.0);
        EXPECT_EQ(NumberOption("Mesh.CharacteristicLengthMax"), 1e22);
    }
    EXPECT_EQ(TarnelTest::CurrentModel(), "DefaultMasterMesh");
    EXPECT_FALSE(MeshEngineWrapper::getInstance().DoesMeshExist(volume));
    EXPECT_EQ(TarnelTest::MasterElementCount(), elementsBefore);
    EXPECT_MASTER_MESH_CONSISTENT();
    std::vector<int> types;
    std::vector<std::vector<std::size_t>> tags, nodes;
    gm::model::mesh::getElements(types, tags, nodes, 3, -1);
    EXPECT_TRUE(types.empty());
}

TEST_F(Mesher3DTest, AFailedFirstAttemptIsRetriedOnARebuiltShell)
{
    const std::unordered_set<int> shell = placeShell(TarnelTest::BoxShell(10, 20, 30));
    Mesh volume(true);
    std::vector<double> algorithms;
    std::vector<std::string> models;
    std::vector<std::size_t> surfaceElements;
    GmshAdapter::testing::SetBeforeGenerate([&](int) {
        algorithms.push_back(NumberOption("Mesh.Algorithm3D"));
        models.push_back(TarnelTest::CurrentModel());
        std::vector<int> types;
        std::vector<std::vector<std::size_t>> tags, nodes;
        gm::model::mesh::getElements(types, tags, nodes, 2, -1);
        surfaceElements.push_back(tags.empty() ? 0 : tags[0].size());
        if (algorithms.size() == 1) throw std::runtime_error("Invalid boundary mesh (segment-facet intersection)");
    });
    TarnelTest::LogCapture capture;
    Mesher3D::Generate3DMesh(volume, shell, tetrahedra(5.0));
    ASSERT_TRUE(volume.IsValid()) << volume.GetErrorMessage();
    ASSERT_EQ(algorithms.size(), 2u);
    EXPECT_EQ(algorithms[0], 1.0);
    EXPECT_EQ(algorithms[1], 4.0);
    // Both attempts run on the caller's model holding the whole shell.
    const std::string model = TarnelTest::CurrentModel();
    EXPECT_EQ(models[0], model);
    EXPECT_EQ(models[1], model);
    EXPECT_EQ(surfaceElements[0], shell.size());
    EXPECT_EQ(surfaceElements[1], shell.size());
    EXPECT_TRUE(capture.Has(LogLevel::Warn, "Delaunay algorithm failed: Invalid boundary mesh (segment-facet intersection)"));
    EXPECT_TRUE(capture.Has(LogLevel::Info, "Retrying with Frontal algorithm..."));
    EXPECT_TRUE(capture.Has(LogLevel::Info, "3D mesh generated successfully with Frontal algorithm."));

    ComponentMesh solid(2, 20, 21, 22, 23);
    master->ExtendComponentMesh(solid, volume, TarnelTest::AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_GT(solid.GetElementsByDimension(DIMENSION_3D)->GetElementCount(), 0u);
}

TEST_F(Mesher3DTest, OverlappingFacetsEndTheAttemptsAtOnce)
{
    const std::unordered_set<int> shell = placeShell(TarnelTest::BoxShell(10, 20, 30));
    int attempts = 0;
    GmshAdapter::testing::SetBeforeGenerate([&](int) {
        ++attempts;
        throw std::runtime_error("Invalid boundary mesh (overlapping facets) on surface 1");
    });
    Mesh volume(true);
    TarnelTest::LogCapture capture;
    Mesher3D::Generate3DMesh(volume, shell, tetrahedra(5.0));
    EXPECT_EQ(attempts, 1);
    EXPECT_TRUE(capture.Has(LogLevel::Warn, "Overlapping facets detected - skipping further 3D attempts."));
    EXPECT_EQ(volume.GetErrorMessage(),
              "Failed to generate 3D volume mesh after multiple attempts. Last error: Invalid boundary mesh "
              "(overlapping facets) on surface 1. Possible causes: non-manifold geometry, open surfaces, "
              "intersecting faces, or incompatible boundary mesh quality.");
    EXPECT_EQ(capture.Count(LogLevel::Warn, "Cannot remove mesh called  because it does not exist."), 1);
    EXPECT_EQ(TarnelTest::CurrentModel(), "DefaultMasterMesh");
    EXPECT_MASTER_MESH_CONSISTENT();
}

TEST_F(Mesher3DTest, OverlappingIsMatchedCaseSensitively)
{
    const std::unordered_set<int> shell = placeShell(TarnelTest::BoxShell(10, 20, 30));
    std::vector<double> tolerances, optimize;
    GmshAdapter::testing::SetBeforeGenerate([&](int) {
        tolerances.push_back(NumberOption("Mesh.ToleranceInitialDelaunay"));
        optimize.push_back(NumberOption("Mesh.Optimize"));
        throw std::runtime_error("Overlapping facets");
    });
    Mesh volume(true);
    TarnelTest::LogCapture capture;
    Mesher3D::Generate3DMesh(volume, shell, tetrahedra(5.0));
    ASSERT_EQ(tolerances.size(), 3u);
    EXPECT_EQ(tolerances[2], 1e-8);
    EXPECT_EQ(optimize[2], 0.0);
    EXPECT_TRUE(capture.Has(LogLevel::Info, "Retrying with relaxed tolerance settings..."));
    EXPECT_TRUE(capture.Has(LogLevel::Error, "All mesh generation attempts failed: Overlapping facets"));
    EXPECT_EQ(NumberOption("Mesh.ToleranceInitialDelaunay"), 1e-12);
    EXPECT_EQ(NumberOption("Mesh.Algorithm3D"), 1.0);
    EXPECT_FALSE(volume.IsValid());
}

TEST_F(Mesher3DTest, SessionOptionsTheMesherDoesNotOwnAreKept)
{
    const std::unordered_set<int> shell = placeShell(TarnelTest::BoxShell(10, 20, 30));
    gm::option::setNumber("Mesh.CharacteristicLengthMax", 7.0);
    gm::option::setNumber("Mesh.Renumber", 1);
    Mesh volume(true);
    Mesher3D::Generate3DMesh(volume, shell, tetrahedra(0.0));
    ASSERT_TRUE(volume.IsValid()) << volume.GetErrorMessage();
    EXPECT_EQ(NumberOption("Mesh.CharacteristicLengthMax"), 7.0);
    EXPECT_EQ(NumberOption("Mesh.Renumber"), 1.0);
}

TEST_F(Mesher3DTest, AMeshWithoutItsModelFailsWithTheUnexpectedErrorText)
{
    const std::unordered_set<int> shell = placeShell(TarnelTest::BoxShell(10, 20, 30));
    Mesh volume(true);
    MeshEngineWrapper::getInstance().RemoveMesh(volume);
    TarnelTest::LogCapture capture;
    Mesher3D::Generate3DMesh(volume, shell, tetrahedra(5.0));
    EXPECT_FALSE(volume.IsValid());
    EXPECT_EQ(volume.GetErrorMessage().rfind("Unexpected error during 3D mesh generation: ", 0), 0u)
        << volume.GetErrorMessage();
    EXPECT_TRUE(capture.Has(LogLevel::Error, "Unexpected error in 3D mesh generation"));
    EXPECT_MASTER_MESH_CONSISTENT();
}
