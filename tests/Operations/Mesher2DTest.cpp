#include <gtest/gtest.h>

#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MeshFactory.h"
#include "Operations/Mesher2D.h"
#include "TempDirectory.h"
#include "TestShapes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;

namespace {

// Seeds on the face [0, 10] x [0, 5]: `nodes` on the edge through the points.
EdgeSeedingParameters seed(int nodes, XYZ a, XYZ b, XYZ c)
{
    return EdgeSeedingParameters{nodes, a, b, c};
}

Mesh2DSettings settings2D(double size, Mesh2DAlgorithmChoice algorithm, RecombineAll recombine,
                          std::vector<EdgeSeedingParameters> seeds = {})
{
    Mesh2DSettings settings(size, MeshElementOrder::Default, algorithm, recombine, RecombinationAlgorithm::Blossom,
                            0.5f, RecombineNodePositioning::On, 5);
    settings.SetEdgeSeedingParameters(std::move(seeds));
    return settings;
}

// The face [0, 10] x [0, 5] meshed by Mesher2D; the gmsh options after the
// run are "Mesh.Algorithm", "Mesh.MeshSizeMax" and "Mesh.Smoothing".
struct FaceCase {
    std::string name;
    Mesh2DSettings settings;
    bool remesh;
    double algorithm, sizeMax, smoothing;
    std::size_t triangles, quadrangles;
    std::vector<std::string> info;  // every info record, in order
};

const std::string kStart = "ComputeMesh starting | elementSize=";
const char* const kGenerate = "Calling gmsh::model::mesh::generate(2)...";
const auto kQuasi = Mesh2DAlgorithmChoice::QuasiStructuredQuad;
const auto kFrontal = Mesh2DAlgorithmChoice::FrontalDelaunay;
const EdgeSeedingParameters kBottom = seed(4, XYZ(0, 0, 0), XYZ(10.0 / 3, 0, 0), XYZ(10, 0, 0));

const FaceCase kFaceCases[] = {
    // The sizes reach gmsh in single precision.
    {"DefaultTriangles", Mesh2DSettings::GetDefaultTriaMeshSettings(1.0), false, 5, 1.2000000476837158, 3, 124, 0,
     {kStart + "1.000000 elementOrder=0 algorithm=5 recombineAll=0 edgeSeeds=0", kGenerate,
      "ComputeMesh succeeded | generatedElements=156"}},
    {"Recombined", settings2D(1.0, Mesh2DAlgorithmChoice::FrontalDelaunayQuads, RecombineAll::Enabled), false, 8,
     1.2000000476837158, 3, 0, 69,
     {kStart + "1.000000 elementOrder=0 algorithm=8 recombineAll=1 edgeSeeds=0", kGenerate,
      "ComputeMesh succeeded | generatedElements=105"}},
    {"QuasiStructuredWithoutSeeds", settings2D(5.0, kQuasi, RecombineAll::Disabled), false, 11, 6, 3, 0, 4,
     {kStart + "5.000000 elementOrder=0 algorithm=11 recombineAll=0 edgeSeeds=0", kGenerate,
      "ComputeMesh succeeded | generatedElements=16"}},
    // Seeded quasi-structured quadrangles become a structured 5 x 3 grid.
    {"QuasiStructuredWithSeeds",
     settings2D(1.0, kQuasi, RecombineAll::Disabled,
                {seed(6, XYZ(0, 0, 0), XYZ(5, 0, 0), XYZ(10, 0, 0)), seed(6, XYZ(0, 5, 0), XYZ(5, 5, 0), XYZ(10, 5, 0)),
                 seed(4, XYZ(0, 0, 0), XYZ(0, 2.5, 0), XYZ(0, 5, 0)), seed(4, XYZ(10, 0, 0), XYZ(10, 2.5, 0), XYZ(10, 5, 0))}),
     false, 8, 1.2000000476837158, 3, 0, 15,
     {kStart + "1.000000 elementOrder=0 algorithm=11 recombineAll=0 edgeSeeds=4",
      "Seeded curve with tag 2 using 6 nodes.", "Seeded curve with tag 4 using 6 nodes.",
      "Seeded curve with tag 1 using 4 nodes.", "Seeded curve with tag 3 using 4 nodes.", kGenerate,
      "ComputeMesh succeeded | generatedElements=35"}},
    {"OneSeed", settings2D(1.0, kFrontal, RecombineAll::Disabled, {kBottom}), false, 6, 1.2000000476837158, 3, 78, 0,
     {kStart + "1.000000 elementOrder=0 algorithm=6 recombineAll=0 edgeSeeds=1",
      "Seeded curve with tag 2 using 4 nodes.", kGenerate, "ComputeMesh succeeded | generatedElements=104"}},
    // Two points on the bottom edge, one off it: no curve holds all three.
    {"SeedOffEveryCurve",
     settings2D(1.0, kFrontal, RecombineAll::Disabled, {seed(4, XYZ(0, 0, 0), XYZ(5, 0, 0), XYZ(5, 1, 0))}), false, 6,
     1.2000000476837158, 3, 112, 0,
     {kStart + "1.000000 elementOrder=0 algorithm=6 recombineAll=0 edgeSeeds=1", kGenerate,
      "ComputeMesh succeeded | generatedElements=144"}},
    // A remesh logs nothing, ignores seeds, keeps the quasi-structured
    // algorithm and leaves the session options as they were.
    {"Remesh", settings2D(2.0, kQuasi, RecombineAll::Disabled, {kBottom}), true, 11, 2.4000000953674316, 7, 0, 1, {}},
};

class FaceMeshing : public testing::TestWithParam<FaceCase> {};

std::size_t elementsOfType(int type)
{
    std::vector<std::size_t> tags, nodes;
    gm::model::mesh::getElementsByType(type, tags, nodes);
    return tags.size();
}

}  // namespace

TEST_P(FaceMeshing, FacesAreMeshedAsTheSettingsSay)
{
    const FaceCase& face = GetParam();
    TarnelTest::TempDirectory directory;
    MeshFactory::SetExportDirectory(directory.Path());
    gm::option::setNumber("Mesh.Smoothing", 7);
    Mesh mesh(true);
    TopoDS_Shape shape = TarnelTest::RectangleFace(10, 5);
    TarnelTest::LogCapture capture;
    Mesher2D mesher(mesh, shape);
    ASSERT_EQ(face.remesh ? mesher.ComputeRemesh(face.settings) : mesher.ComputeMesh(face.settings),
              MeshingResult::Success);
    EXPECT_TRUE(mesh.IsValid());
    EXPECT_EQ(mesh.GetMeshAdditionElementFilter(), 2);
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.Algorithm"), face.algorithm);
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.MeshSizeMax"), face.sizeMax);
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.MeshSizeMin"),
              static_cast<double>(static_cast<float>(face.settings.GetElementSize() * 0.8)));
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.Smoothing"), face.smoothing);
    EXPECT_EQ(elementsOfType(TRIANGLE_3NODE), face.triangles);
    EXPECT_EQ(elementsOfType(QUAD_4NODE), face.quadrangles);
    EXPECT_EQ(capture.Messages(LogLevel::Info), face.info);
    for (const LogRecord& record : capture.Records()) {
        EXPECT_TRUE(record.level != LogLevel::Info || record.location == "Tarnel::Mesher2D::ComputeMesh");
    }
}

INSTANTIATE_TEST_SUITE_P(Faces, FaceMeshing, testing::ValuesIn(kFaceCases),
                         [](const testing::TestParamInfo<FaceCase>& info) { return info.param.name; });
