#include <gtest/gtest.h>

#include "BadInput.h"
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

Mesh2DSettings settings2D(double size, Mesh2DAlgorithmChoice algorithm, RecombineAll recombine,
                          std::vector<EdgeSeedingParameters> seeds = {})
{
    Mesh2DSettings settings(size, MeshElementOrder::Default, algorithm, recombine, RecombinationAlgorithm::Blossom,
                            0.5f, RecombineNodePositioning::On, 5);
    settings.SetEdgeSeedingParameters(std::move(seeds));
    return settings;
}

// `nodes` on the straight edge from a to b, the third point in its middle.
EdgeSeedingParameters seed(int nodes, XYZ a, XYZ b)
{
    return EdgeSeedingParameters{nodes, a, (a + b) * 0.5, b};
}

// The face [0, 10] x [0, 5] meshed by Mesher2D: the "Mesh.Algorithm" gmsh
// ran, the elements it made, and the curves the seeds reached, in the order
// they are logged. A remesh logs nothing.
struct FaceCase : TarnelTest::Row {
    Mesh2DSettings settings;
    bool remesh;
    double algorithm;
    std::size_t triangles, quadrangles;
    std::vector<std::string> seeded;
};

const auto kQuasi = Mesh2DAlgorithmChoice::QuasiStructuredQuad;
const auto kFrontal = Mesh2DAlgorithmChoice::FrontalDelaunay;
const EdgeSeedingParameters kBottom = seed(4, XYZ(0, 0, 0), XYZ(10, 0, 0));

const FaceCase kFaceCases[] = {
    {"DefaultTriangles", Mesh2DSettings::GetDefaultTriaMeshSettings(1.0), false, 5, 124, 0, {}},
    {"Recombined", settings2D(1.0, Mesh2DAlgorithmChoice::FrontalDelaunayQuads, RecombineAll::Enabled), false, 8, 0,
     69, {}},
    {"QuasiStructuredWithoutSeeds", settings2D(5.0, kQuasi, RecombineAll::Disabled), false, 11, 0, 4, {}},
    // Seeded quasi-structured quadrangles become a structured 5 x 3 grid.
    {"QuasiStructuredWithSeeds",
     settings2D(1.0, kQuasi, RecombineAll::Disabled,
                {seed(6, XYZ(0, 0, 0), XYZ(10, 0, 0)), seed(6, XYZ(0, 5, 0), XYZ(10, 5, 0)),
                 seed(4, XYZ(0, 0, 0), XYZ(0, 5, 0)), seed(4, XYZ(10, 0, 0), XYZ(10, 5, 0))}),
     false, 8, 0, 15,
     {"Seeded curve with tag 2 using 6 nodes.", "Seeded curve with tag 4 using 6 nodes.",
      "Seeded curve with tag 1 using 4 nodes.", "Seeded curve with tag 3 using 4 nodes."}},
    {"OneSeed", settings2D(1.0, kFrontal, RecombineAll::Disabled, {kBottom}), false, 6, 78, 0,
     {"Seeded curve with tag 2 using 4 nodes."}},
    // Two points on the bottom edge, one off it: no curve holds all three.
    {"SeedOffEveryCurve",
     settings2D(1.0, kFrontal, RecombineAll::Disabled, {{4, XYZ(0, 0, 0), XYZ(5, 0, 0), XYZ(5, 1, 0)}}), false, 6,
     112, 0, {}},
    // A remesh ignores seeds and keeps the quasi-structured algorithm.
    {"Remesh", settings2D(2.0, kQuasi, RecombineAll::Disabled, {kBottom}), true, 11, 0, 1, {}},
};

class FaceMeshing : public testing::TestWithParam<FaceCase> {};

// The sizes reach gmsh in single precision.
double singlePrecision(double value)
{
    return static_cast<double>(static_cast<float>(value));
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
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.MeshSizeMax"), singlePrecision(face.settings.GetElementSize() * 1.2));
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.MeshSizeMin"), singlePrecision(face.settings.GetElementSize() * 0.8));
    // A remesh leaves the session's other options as they were.
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.Smoothing"), face.remesh ? 7 : 3);
    EXPECT_EQ(TarnelTest::ElementCount(TRIANGLE_3NODE), face.triangles);
    EXPECT_EQ(TarnelTest::ElementCount(QUAD_4NODE), face.quadrangles);

    std::vector<std::string> info = face.seeded;
    info.push_back("Calling gmsh::model::mesh::generate(2)...");
    info.push_back("ComputeMesh succeeded | generatedElements=" + std::to_string(TarnelTest::ElementCount()));
    std::vector<std::string> logged = capture.Messages(LogLevel::Info);
    if (!face.remesh && !logged.empty()) logged.erase(logged.begin());  // the settings as received
    EXPECT_EQ(logged, face.remesh ? std::vector<std::string>{} : info);
}

INSTANTIATE_TEST_SUITE_P(Faces, FaceMeshing, testing::ValuesIn(kFaceCases), TarnelTest::RowName());
