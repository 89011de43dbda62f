#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "MeshEngineWrapper.h"
#include "MeshFactory.h"
#include "Operations/Mesher2D.h"
#include "TempDirectory.h"
#include "TestMeshes.h"
#include "TestShapes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;
using TarnelTest::NumberOption;

namespace {

Mesh2DSettings quadSettings(double size, Mesh2DAlgorithmChoice algorithm)
{
    return Mesh2DSettings(size, MeshElementOrder::Linear, algorithm, RecombineAll::Enabled,
                          RecombinationAlgorithm::Blossom, 0.5f, RecombineNodePositioning::On, 5);
}

Mesh2DSettings withAlgorithm(double size, Mesh2DAlgorithmChoice algorithm)
{
    return Mesh2DSettings(size, MeshElementOrder::Default, algorithm, RecombineAll::Disabled,
                          RecombinationAlgorithm::Blossom, 0.5f, RecombineNodePositioning::On, 5);
}

// A seed on the bottom edge of a face [0, w] x [0, h].
EdgeSeedingParameters bottomSeed(int nodeCount, double width)
{
    return EdgeSeedingParameters{nodeCount, XYZ(0, 0, 0), XYZ(width / 3, 0, 0), XYZ(width, 0, 0)};
}

// Seeds on all four edges of a face [0, w] x [0, h], matching on opposite edges.
std::vector<EdgeSeedingParameters> allEdgeSeeds(int alongX, int alongY, double width, double height)
{
    return {bottomSeed(alongX, width),
            EdgeSeedingParameters{alongX, XYZ(0, height, 0), XYZ(width / 2, height, 0), XYZ(width, height, 0)},
            EdgeSeedingParameters{alongY, XYZ(0, 0, 0), XYZ(0, height / 2, 0), XYZ(0, height, 0)},
            EdgeSeedingParameters{alongY, XYZ(width, 0, 0), XYZ(width, height / 2, 0), XYZ(width, height, 0)}};
}

// Elements of the current model by gmsh type.
std::size_t elementsOfType(int type)
{
    std::vector<std::size_t> tags, nodes;
    gm::model::mesh::getElementsByType(type, tags, nodes);
    return tags.size();
}

// Mesh nodes on the curve that holds the point, its end nodes included.
std::size_t nodesOnCurveThrough(double x, double y)
{
    gm::vectorpair curves;
    gm::model::getEntities(curves, 1);
    for (const auto& curve : curves) {
        if (gm::model::isInside(1, curve.second, {x, y, 0}) != 1) continue;
        std::vector<std::size_t> tags;
        std::vector<double> coordinates, parametric;
        gm::model::mesh::getNodes(tags, coordinates, parametric, 1, curve.second, true, false);
        return tags.size();
    }
    return 0;
}

class Mesher2DTest : public testing::Test {
protected:
    void SetUp() override { MeshFactory::SetExportDirectory(directory.Path()); }

    MeshingResult mesh(Mesh& target, TopoDS_Shape& shape, const Mesh2DSettings& settings)
    {
        Mesher2D mesher(target, shape);
        return mesher.ComputeMesh(settings);
    }

    TarnelTest::TempDirectory directory;
};

}  // namespace

TEST_F(Mesher2DTest, DefaultTrianglesSetEveryOptionOfTheRun)
{
    Mesh target(true);
    TopoDS_Shape face = TarnelTest::RectangleFace(10, 5);
    TarnelTest::LogCapture capture;
    ASSERT_EQ(mesh(target, face, Mesh2DSettings::GetDefaultTriaMeshSettings(1.0)), MeshingResult::Success);
    EXPECT_TRUE(target.IsValid());
    EXPECT_EQ(target.GetMeshAdditionElementFilter(), 2);
    EXPECT_TRUE(MeshEngineWrapper::getInstance().IsMeshActive(target));

    EXPECT_EQ(NumberOption("Mesh.MeshSizeMin"), 0.800000011920929);
    EXPECT_EQ(NumberOption("Mesh.MeshSizeMax"), 1.2000000476837158);
    EXPECT_EQ(NumberOption("Mesh.ElementOrder"), 0.0);
    EXPECT_EQ(NumberOption("Mesh.Algorithm"), 5.0);
    EXPECT_EQ(NumberOption("Mesh.RecombineAll"), 0.0);
    EXPECT_EQ(NumberOption("Mesh.RecombinationAlgorithm"), 1.0);
    EXPECT_EQ(NumberOption("Mesh.RecombineOptimizeTopology"), 5.0);
    EXPECT_EQ(NumberOption("Mesh.QualityType"), 2.0);
    EXPECT_EQ(NumberOption("Mesh.AnisoMax"), 10.0);
    EXPECT_EQ(NumberOption("Mesh.FlexibleTransfinite"), 0.0);
    EXPECT_EQ(NumberOption("Mesh.Smoothing"), 3.0);
    EXPECT_EQ(NumberOption("Mesh.MeshSizeFromPoints"), 0.0);
    EXPECT_EQ(NumberOption("Mesh.Optimize"), 1.0);
    EXPECT_EQ(NumberOption("Mesh.ToleranceInitialDelaunay"), 1e-12);
    EXPECT_EQ(NumberOption("Mesh.Algorithm3D"), 1.0);

    const auto info = capture.Messages(LogLevel::Info);
    ASSERT_GE(info.size(), 3u);
    EXPECT_EQ(info.front(), "ComputeMesh starting | elementSize=1.000000 elementOrder=0 algorithm=5 recombineAll=0 "
                            "edgeSeeds=0");
    EXPECT_NE(std::find(info.begin(), info.end(), "Calling gmsh::model::mesh::generate(2)..."), info.end());
    // Points and lines count too.
    EXPECT_EQ(info.back(), "ComputeMesh succeeded | generatedElements=" + std::to_string(TarnelTest::ElementCount()));
    EXPECT_GT(elementsOfType(TRIANGLE_3NODE), 50u);
    EXPECT_EQ(capture.Find(LogLevel::Info, info.front()).location, "Tarnel::Mesher2D::ComputeMesh");
    EXPECT_EQ(capture.Find(LogLevel::Info, info.front()).sourceFile, "Operations/Mesher2D");
}

TEST_F(Mesher2DTest, SizesAreRoundedToSinglePrecision)
{
    Mesh target(true);
    TopoDS_Shape face = TarnelTest::RectangleFace(1, 1);
    ASSERT_EQ(mesh(target, face, Mesh2DSettings::GetDefaultTriaMeshSettings(0.1)), MeshingResult::Success);
    EXPECT_EQ(NumberOption("Mesh.MeshSizeMin"), 0.07999999821186066);
}

TEST_F(Mesher2DTest, RecombinationGivesOnlyQuadranglesOnAFourSidedFace)
{
    for (Mesh2DAlgorithmChoice algorithm :
         {Mesh2DAlgorithmChoice::FrontalDelaunay, Mesh2DAlgorithmChoice::FrontalDelaunayQuads}) {
        Mesh target(true);
        TopoDS_Shape face = TarnelTest::RectangleFace(10, 5);
        ASSERT_EQ(mesh(target, face, quadSettings(1.0, algorithm)), MeshingResult::Success);
        EXPECT_GT(elementsOfType(QUAD_4NODE), 20u);
        EXPECT_EQ(elementsOfType(TRIANGLE_3NODE), 0u);
        EXPECT_EQ(NumberOption("Mesh.Algorithm"), static_cast<int>(algorithm));
    }
}

TEST_F(Mesher2DTest, QuasiStructuredQuadsWithoutSeedsKeepAlgorithm11)
{
    Mesh target(true);
    TopoDS_Shape face = TarnelTest::PlateWithHole();
    ASSERT_EQ(mesh(target, face, withAlgorithm(5.0, Mesh2DAlgorithmChoice::QuasiStructuredQuad)),
              MeshingResult::Success);
    EXPECT_EQ(NumberOption("Mesh.Algorithm"), 11.0);
    EXPECT_GT(elementsOfType(QUAD_4NODE), 20u);
    EXPECT_EQ(elementsOfType(TRIANGLE_3NODE), 0u);
}

TEST_F(Mesher2DTest, QuasiStructuredQuadsWithSeedsMeshTransfiniteQuadrangles)
{
    Mesh target(true);
    TopoDS_Shape face = TarnelTest::RectangleFace(10, 5);
    Mesh2DSettings settings = withAlgorithm(1.0, Mesh2DAlgorithmChoice::QuasiStructuredQuad);
    settings.SetEdgeSeedingParameters(allEdgeSeeds(6, 4, 10, 5));
    TarnelTest::LogCapture capture;
    ASSERT_EQ(mesh(target, face, settings), MeshingResult::Success);
    EXPECT_EQ(NumberOption("Mesh.Algorithm"), 8.0);
    EXPECT_EQ(nodesOnCurveThrough(5, 0), 6u);
    EXPECT_EQ(nodesOnCurveThrough(0, 2.5), 4u);
    // A structured 5 x 3 grid.
    EXPECT_EQ(elementsOfType(QUAD_4NODE), 15u);
    EXPECT_EQ(elementsOfType(TRIANGLE_3NODE), 0u);
    EXPECT_EQ(capture.Messages(LogLevel::Info).front(),
              "ComputeMesh starting | elementSize=1.000000 elementOrder=0 algorithm=11 recombineAll=0 edgeSeeds=4");
}

TEST_F(Mesher2DTest, ASeedGivesItsEdgeExactlyThatManyNodes)
{
    Mesh target(true);
    TopoDS_Shape face = TarnelTest::RectangleFace(10, 5);
    Mesh2DSettings settings = withAlgorithm(1.0, Mesh2DAlgorithmChoice::FrontalDelaunay);
    settings.SetEdgeSeedingParameters({bottomSeed(4, 10)});
    TarnelTest::LogCapture capture;
    ASSERT_EQ(mesh(target, face, settings), MeshingResult::Success);
    EXPECT_EQ(nodesOnCurveThrough(5, 0), 4u);
    EXPECT_GT(nodesOnCurveThrough(5, 5), 4u);
    const auto info = capture.Messages(LogLevel::Info);
    const auto seeded = std::count_if(info.begin(), info.end(), [](const std::string& line) {
        return line.rfind("Seeded curve with tag ", 0) == 0 && line.find(" using 4 nodes.") != std::string::npos;
    });
    EXPECT_EQ(seeded, 1);
    EXPECT_EQ(NumberOption("Mesh.Algorithm"), 6.0);
}

TEST_F(Mesher2DTest, ASeedMatchingNoCurveSeedsNothingSilently)
{
    Mesh target(true);
    TopoDS_Shape face = TarnelTest::RectangleFace(10, 5);
    Mesh2DSettings settings = withAlgorithm(1.0, Mesh2DAlgorithmChoice::FrontalDelaunay);
    // Two points on the bottom edge, one off it.
    settings.SetEdgeSeedingParameters({EdgeSeedingParameters{4, XYZ(0, 0, 0), XYZ(5, 0, 0), XYZ(5, 1, 0)}});
    TarnelTest::LogCapture capture;
    ASSERT_EQ(mesh(target, face, settings), MeshingResult::Success);
    EXPECT_GT(nodesOnCurveThrough(5, 0), 4u);
    for (const std::string& line : capture.Messages(LogLevel::Info))
        EXPECT_EQ(line.rfind("Seeded curve", 0), std::string::npos) << line;
}

TEST_F(Mesher2DTest, AFailureLeavesTheMeshInvalidAndTheMasterMeshIntact)
{
    MasterMesh& master = MasterMesh::getInstance();
    ComponentMesh placed(4, 40, 41, 42, 43);
    Mesh triangles = TarnelTest::SourceMesh(TarnelTest::AddTwoTrianglesSharingAnEdge);
    master.ExtendComponentMesh(placed, triangles, TarnelTest::AllSolverTypes(), false);
    Mesh bystander(true);

    Mesh target(true);
    TopoDS_Shape face = TarnelTest::RectangleFace(10, 5);
    TarnelTest::LogCapture capture;
    // A negative size is refused by gmsh while it meshes the curves.
    EXPECT_EQ(mesh(target, face, Mesh2DSettings::GetDefaultTriaMeshSettings(-1.0)), MeshingResult::Failed);
    EXPECT_FALSE(target.IsValid());
    EXPECT_EQ(target.GetErrorMessage(), "Wrong mesh element size lc = -1.2 (lcmin = -0.8, lcmax = -1.2)");
    const LogRecord failure = capture.Find(LogLevel::Error, "Failed to create 2D mesh!");
    EXPECT_EQ(failure.exceptionText, target.GetErrorMessage());
    EXPECT_TRUE(capture.Has(LogLevel::Info, "GMSH session reset complete."));

    EXPECT_FALSE(MeshEngineWrapper::getInstance().DoesMeshExist(target));
    EXPECT_FALSE(MeshEngineWrapper::getInstance().DoesMeshExist(bystander));
    EXPECT_TRUE(TarnelTest::HasModel("DefaultMasterMesh"));
    EXPECT_EQ(TarnelTest::MasterElementCount(), 2u);
    EXPECT_MASTER_MESH_CONSISTENT();
}

TEST_F(Mesher2DTest, ANullShapeIsRefused)
{
    Mesh target(true);
    TopoDS_Shape none;
    TarnelTest::LogCapture capture;
    Mesher2D mesher(target, none);
    EXPECT_EQ(mesher.ComputeMesh(Mesh2DSettings::GetDefaultTriaMeshSettings(1.0)), MeshingResult::Failed);
    EXPECT_EQ(mesher.ComputeRemesh(Mesh2DSettings::GetDefaultTriaMeshSettings(1.0)), MeshingResult::Failed);
    const auto errors = capture.Messages(LogLevel::Error);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0], "Provided a null face for meshing!");
    EXPECT_EQ(errors[1], "ComputeMesh called on invalid Mesher2D instance.");
    EXPECT_TRUE(target.IsValid());
}

TEST_F(Mesher2DTest, RemeshKeepsTheOptionsOfThePreviousRun)
{
    Mesh first(true);
    TopoDS_Shape face = TarnelTest::RectangleFace(10, 5);
    ASSERT_EQ(mesh(first, face, Mesh2DSettings::GetDefaultTriaMeshSettings(1.0)), MeshingResult::Success);
    gm::option::setNumber("Mesh.Smoothing", 7);

    Mesh second(true);
    Mesh2DSettings settings = withAlgorithm(2.0, Mesh2DAlgorithmChoice::QuasiStructuredQuad);
    settings.SetEdgeSeedingParameters({bottomSeed(4, 10)});
    TarnelTest::LogCapture capture;
    Mesher2D mesher(second, face);
    ASSERT_EQ(mesher.ComputeRemesh(settings), MeshingResult::Success);
    EXPECT_EQ(second.GetMeshAdditionElementFilter(), 2);
    EXPECT_EQ(NumberOption("Mesh.Smoothing"), 7.0);
    EXPECT_EQ(NumberOption("Mesh.Algorithm"), 11.0);
    EXPECT_EQ(NumberOption("Mesh.MeshSizeMax"), static_cast<double>(static_cast<float>(2.4)));
    // No logging on the way, and the seeds have no effect.
    for (const std::string& line : capture.Messages(LogLevel::Info))
        EXPECT_EQ(line.rfind("Seeded curve", 0), std::string::npos) << line;
    EXPECT_TRUE(capture.Messages(LogLevel::Info).empty());
}

TEST_F(Mesher2DTest, APlacedFaceMeshBringsOnlyItsSurfaceElements)
{
    Mesh target(true);
    TopoDS_Shape face = TarnelTest::PlateWithHole();
    ASSERT_EQ(mesh(target, face, Mesh2DSettings::GetDefaultTriaMeshSettings(10.0)), MeshingResult::Success);
    const std::size_t triangles = elementsOfType(TRIANGLE_3NODE);
    ComponentMesh component(4, 40, 41, 42, 43);
    MasterMesh::getInstance().ExtendComponentMesh(component, target, TarnelTest::AllSolverTypes(), false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(component.GetElementsByDimension(DIMENSION_2D)->GetElementCount(), triangles);
    EXPECT_EQ(component.GetElementsByDimension(DIMENSION_1D)->GetElementCount(), 0u);
    EXPECT_EQ(TarnelTest::MasterElementCount(), triangles);
}
