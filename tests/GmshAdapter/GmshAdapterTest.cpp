#include <climits>
#include <cmath>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gmsh.h>
#include <gtest/gtest.h>

#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "TempDirectory.h"

namespace gm = Tarnel::GmshAdapter;
using Tarnel::LogLevel;

namespace {

// Whether the linked gmsh has what 4.11 has, so that no gap is closed.
bool linkedIsAtLeast411()
{
    return GMSH_API_VERSION_MAJOR > 4 || (GMSH_API_VERSION_MAJOR == 4 && GMSH_API_VERSION_MINOR >= 11);
}

// A fresh gmsh session, quiet, with one empty current model.
class GmshAdapterTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!gm::isInitialized()) gm::initialize();
        gm::option::setNumber("General.Terminal", 0);
        gm::model::add("adapter-test");
    }
};

// Three triangles on one discrete surface, tags 1 to 3:
//
//   3            6
//   | \     4     `
//   |  \   / \      (3 is a sliver: 1, 5, 6 with 6 barely above the axis)
//   1---2 1---2   1------------5
//
// 1: right isosceles (legs 1), 2: equilateral (side 1), 3: sliver.
int addTriangles()
{
    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, surface, {1, 2, 3, 4, 5, 6},
                              {0, 0, 0, 1, 0, 0, 0, 1, 0, 0.5, std::sqrt(3.0) / 2.0, 0, 2, 0, 0, 1, 1e-3, 0});
    gm::model::mesh::addElementsByType(surface, 2, {1, 2, 3}, {1, 2, 3, 1, 2, 4, 1, 5, 6});
    return surface;
}

std::vector<double> qualities(const std::vector<std::size_t>& tags, const std::string& name)
{
    std::vector<double> values;
    gm::model::mesh::getElementQualities(tags, values, name);
    return values;
}

}  // namespace

TEST_F(GmshAdapterTest, FailuresArriveAsRuntimeErrorsWithGmshsText)
{
    try {
        gm::model::setCurrent("no-such-model");
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        std::string last;
        gm::logger::getLastError(last);
        EXPECT_EQ(std::string(error.what()), last);
        EXPECT_NE(std::string(error.what()).find("no-such-model"), std::string::npos);
    }
}

TEST_F(GmshAdapterTest, OpeningWhatIsNoReadableFileFails)
{
    TarnelTest::TempDirectory directory;
    for (const std::string& path : {directory.File("missing.msh"), directory.Path()}) {
        try {
            gm::open(path);
            FAIL() << "no exception for " << path;
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), "Unable to open file '" + path + "'");
        }
    }
}

TEST_F(GmshAdapterTest, SessionCanBeFinalisedAndInitialisedAgain)
{
    EXPECT_EQ(gm::isInitialized(), 1);
    gm::finalize();
    EXPECT_EQ(gm::isInitialized(), 0);
    gm::initialize(0, nullptr, true, false);
    EXPECT_EQ(gm::isInitialized(), 1);
}

// The "Invisible" plugin deletes invisible elements of every dimension, point
// elements included; the largest element tag is gmsh's own and stays.
TEST_F(GmshAdapterTest, InvisibleElementsOfEveryDimensionAreDeleted)
{
    addTriangles();
    gm::model::mesh::addElementsByType(gm::model::addDiscreteEntity(0), 15, {4}, {5});
    gm::model::mesh::setVisibility({3, 4}, 0);
    gm::plugin::setNumber("Invisible", "DeleteElements", 1.0);
    gm::plugin::run("Invisible");

    std::vector<int> types;
    std::vector<std::vector<std::size_t>> tags, nodes;
    gm::model::mesh::getElements(types, tags, nodes);
    EXPECT_EQ(types, std::vector<int>{2});
    EXPECT_EQ(tags, (std::vector<std::vector<std::size_t>>{{1, 2}}));
    int type = 0, dim = 0, tag = 0;
    EXPECT_THROW(gm::model::mesh::getElement(4, type, nodes[0], dim, tag), std::runtime_error);
    std::size_t maxElement = 0;
    gm::model::mesh::getMaxElementTag(maxElement);
    EXPECT_EQ(maxElement, 4u);
    TarnelTest::TempDirectory directory;
    gm::write(directory.File("left.msh"));
    EXPECT_NE(TarnelTest::ReadFile(directory.File("left.msh")).find("$Elements\n1 2 1 2\n"), std::string::npos);
}

TEST_F(GmshAdapterTest, QualitiesOfKnownTriangles)
{
    addTriangles();
    // Triangle 2 is perfect by every measure, the sliver 3 by none.
    for (const char* name : {"gamma", "minSICN", "minSJ", "minSIGE", "minIsotropy", "angleShape"}) {
        const std::vector<double> values = qualities({2, 3}, name);
        EXPECT_NEAR(values[0], 1.0, 1e-9) << name;
        EXPECT_LT(values[1], 0.01) << name;
    }
    // Of the right triangle 1: twice the inscribed over the circumscribed
    // radius, 4 sqrt(3) area over the sum of squared edges, and the area.
    EXPECT_NEAR(qualities({1}, "gamma")[0], 2.0 * (2.0 - std::sqrt(2.0)) / std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(qualities({1}, "minSICN")[0], std::sqrt(3.0) / 2.0, 1e-12);
    EXPECT_NEAR(qualities({1}, "volume")[0], 0.5, 1e-12);
}

// Tags that gmsh 4.8 would index its caches with (crashing, or naming
// another node or element) and other bad arguments are refused, with the tag
// as the caller passed it, before anything reaches the model.
TEST_F(GmshAdapterTest, BadTagsAndNamesAreRefusedBeforeTheModelChanges)
{
    const int surface = addTriangles();
    const std::size_t minus2e9 = static_cast<std::size_t>(-2000000000);
    std::vector<double> coord, parametric, values;
    std::vector<std::size_t> nodes;
    int type = 0, dim = 0, tag = 0;
    const std::vector<std::pair<std::string, std::function<void()>>> calls = {
        {"Node tag -1 is out of range (1 to 2147483647)",
         [&] { gm::model::mesh::getNode(static_cast<std::size_t>(-1), coord, parametric, dim, tag); }},
        {"Element tag 0 is out of range (1 to 2147483647)", [&] { gm::model::mesh::getElement(0, type, nodes, dim, tag); }},
        {"Node tag 2147483648 is out of range (1 to 2147483647)",
         [&] { gm::model::mesh::addNodes(2, surface, {7, 2147483648u}, {0, 0, 0, 1, 1, 0}); }},
        {"Node tag -2000000000 is out of range (1 to 2147483647)",
         [&] { gm::model::mesh::addElementsByType(surface, 2, {4}, {1, 2, minus2e9}); }},
        {"Element tag 4294967297 is out of range (1 to 2147483647)",
         [&] { gm::model::mesh::addElements(2, surface, {2}, {{4294967297u}}, {{1, 2, 3}}); }},
        {"Element tag -2000000000 is out of range (1 to 2147483647)",
         [&] { gm::model::mesh::getElementQualities({1, minus2e9}, values); }},
        {"Unknown element 9", [&] { gm::model::mesh::getElementQualities({9}, values, "gamma"); }},
        {"Unknown quality name 'beauty'", [&] { gm::model::mesh::getElementQualities({1}, values, "beauty"); }},
        {"Element tag -2147483648 is out of range (1 to 2147483647)",
         [&] { gm::model::mesh::setVisibility({1, static_cast<std::size_t>(INT_MIN)}, 0); }},
        {"Unknown element 99", [&] { gm::model::mesh::setVisibility({2, 99}, 0); }},
    };
    for (const auto& badCall : calls) {
        try {
            badCall.second();
            ADD_FAILURE() << "no exception, expected " << badCall.first;
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), badCall.first);
        }
    }
    // No node was added, and no element was added or made invisible.
    gm::plugin::setNumber("Invisible", "DeleteElements", 1.0);
    gm::plugin::run("Invisible");
    std::size_t maxNode = 0;
    gm::model::mesh::getMaxNodeTag(maxNode);
    EXPECT_EQ(maxNode, 6u);
    EXPECT_EQ(TarnelTest::ElementCount(), 3u);
}

TEST_F(GmshAdapterTest, NodeAndElementLookupsReportTheirEntity)
{
    const int surface = addTriangles();
    const int curve = gm::model::addDiscreteEntity(1);
    gm::model::mesh::addElementsByType(curve, 1, {10}, {1, 2});
    int type = 0, dim = 0, tag = 0;
    std::vector<std::size_t> nodes;
    gm::model::mesh::getElement(10, type, nodes, dim, tag);
    EXPECT_EQ(type, 1);
    EXPECT_EQ(nodes, (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(dim, 1);
    EXPECT_EQ(tag, curve);

    std::vector<double> coord, parametric;
    gm::model::mesh::getNode(4, coord, parametric, dim, tag);
    EXPECT_DOUBLE_EQ(coord[0], 0.5);
    EXPECT_EQ(dim, 2);
    EXPECT_EQ(tag, surface);
}

TEST_F(GmshAdapterTest, OptionsOfNewerGmshAreSkippedWithOneDebugLineEach)
{
    TarnelTest::LogCapture capture;
    const std::vector<std::string> newer = {"Mesh.RecombineMinimumQuality",   "Mesh.RecombineNodeRepositioning",
                                            "Mesh.QuadqsSizemapMethod",       "Mesh.QuadqsTopologyOptimizationMethods",
                                            "Mesh.QuadqsRemeshingBoldness",   "Mesh.QuadqsScalingOnTriangulation"};
    for (int round = 0; round < 2; ++round)
        for (const std::string& name : newer) EXPECT_NO_THROW(gm::option::setNumber(name, 1.0)) << name;
    if (linkedIsAtLeast411()) GTEST_SKIP() << "the linked gmsh knows these options";
    const auto debug = capture.Messages(LogLevel::Debug);
    ASSERT_EQ(debug.size(), newer.size());
    EXPECT_EQ(debug[0], "Option Mesh.RecombineMinimumQuality does not exist in gmsh " + gm::linkedVersion() +
                            "; it is skipped.");
}

TEST_F(GmshAdapterTest, PointOnCurveTestUsesCartesianCoordinates)
{
    gm::model::add("curve");
    // A straight OpenCASCADE edge along x from 0 to 10, through a STEP-free
    // route: gmsh's own OpenCASCADE kernel.
    const int a = gmsh::model::occ::addPoint(0, 0, 0);
    const int b = gmsh::model::occ::addPoint(10, 0, 0);
    const int line = gmsh::model::occ::addLine(a, b);
    gm::model::occ::synchronize();
    EXPECT_EQ(gm::model::isInside(1, line, {5, 0, 0}), 1);
    EXPECT_EQ(gm::model::isInside(1, line, {0, 0, 0, 10, 0, 0, 5, 1e-3, 0}), 2);
    EXPECT_EQ(gm::model::isInside(1, line, {11, 0, 0}), 0);
    EXPECT_THROW(gm::model::isInside(1, 999, {5, 0, 0}), std::runtime_error);
}

namespace {

// The unit square meshed with the given algorithm and recombination.
std::vector<std::size_t> meshUnitSquare(int algorithm, int recombineAll, int elementType)
{
    gm::model::add("square-" + std::to_string(algorithm));
    gmsh::model::occ::addRectangle(0, 0, 0, 1, 1);
    gm::model::occ::synchronize();
    gm::option::setNumber("Mesh.MeshSizeMax", 0.2);
    gm::option::setNumber("Mesh.Algorithm", algorithm);
    gm::option::setNumber("Mesh.RecombineAll", recombineAll);
    gm::model::mesh::generate(2);
    std::vector<std::size_t> tags, nodes;
    gm::model::mesh::getElementsByType(elementType, tags, nodes);
    return tags;
}

}  // namespace

TEST_F(GmshAdapterTest, FrontalQuadsAlgorithmMeshesWithoutCrashing)
{
    TarnelTest::LogCapture capture;
    EXPECT_FALSE(meshUnitSquare(8, 1, 3).empty());
    EXPECT_FALSE(meshUnitSquare(8, 1, 3).empty());
    double algorithm = 0;
    gm::option::getNumber("Mesh.Algorithm", algorithm);
    EXPECT_EQ(algorithm, 8.0);
    if (linkedIsAtLeast411()) return;
    const auto warnings = capture.Messages(LogLevel::Warn);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "gmsh " + gm::linkedVersion() +
                               " crashes with Frontal-Delaunay for quads (Mesh.Algorithm 8); meshing with "
                               "Frontal-Delaunay (Mesh.Algorithm 6) instead.");
}

TEST_F(GmshAdapterTest, QuasiStructuredQuadsGiveOnlyQuadrangles)
{
    TarnelTest::LogCapture capture;
    EXPECT_FALSE(meshUnitSquare(11, 0, 3).empty());
    std::vector<std::size_t> triangles, nodes;
    gm::model::mesh::getElementsByType(2, triangles, nodes);
    EXPECT_TRUE(triangles.empty());
    double value = 0;
    gm::option::getNumber("Mesh.Algorithm", value);
    EXPECT_EQ(value, 11.0);
    gm::option::getNumber("Mesh.RecombineAll", value);
    EXPECT_EQ(value, 0.0);
    if (linkedIsAtLeast411()) return;
    EXPECT_EQ(capture.Messages(LogLevel::Warn).size(), 1u);
}

TEST_F(GmshAdapterTest, AMeshingErrorInsideGmshsParallelLoopsFailsTheCall)
{
    gm::model::add("refused");
    gmsh::model::occ::addRectangle(0, 0, 0, 1, 1);
    gm::model::occ::synchronize();
    gm::option::setNumber("Mesh.MeshSizeMin", -0.8);
    gm::option::setNumber("Mesh.MeshSizeMax", -1.2);
    try {
        gm::model::mesh::generate(2);
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Wrong mesh element size lc = -1.2 (lcmin = -0.8, lcmax = -1.2)");
    }
    // gmsh still throws on its other errors afterwards.
    EXPECT_THROW(gm::model::setCurrent("no-such-model"), std::runtime_error);
}

TEST_F(GmshAdapterTest, QuasiStructuredQuadsFallBackToQuadDominantWhenFullQuadCannotSplitCurves)
{
    if (linkedIsAtLeast411()) GTEST_SKIP() << "the linked gmsh has quasi-structured quadrangles";
    gm::model::add("one-node-curves");
    gmsh::model::occ::addRectangle(0, 0, 0, 10, 5);
    gm::model::occ::synchronize();
    gm::vectorpair curves;
    gm::model::getEntities(curves, 1);
    for (const auto& curve : curves) gm::model::mesh::setTransfiniteCurve(curve.second, 1);
    gm::option::setNumber("Mesh.MeshSizeMax", 2.0);
    gm::option::setNumber("Mesh.Algorithm", 11);
    TarnelTest::LogCapture capture;
    EXPECT_NO_THROW(gm::model::mesh::generate(2));
    EXPECT_TRUE(capture.Has(LogLevel::Warn, "Full-quad recombination failed (1D mesh cannot be divided by 2); meshing "
                                            "with quad-dominant blossom recombination instead."));
    std::vector<std::size_t> quads, nodes;
    gm::model::mesh::getElementsByType(3, quads, nodes);
    EXPECT_FALSE(quads.empty());
}

TEST_F(GmshAdapterTest, ElementsOfBothOrdersOnOneEntityAreAllListed)
{
    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, surface, {1, 2, 3, 4, 5, 6}, {0, 0, 0, 1, 0, 0, 0, 1, 0, .5, 0, 0, .5, .5, 0, 0, .5, 0});
    gm::model::mesh::addElementsByType(surface, 2, {1}, {1, 2, 3});
    gm::model::mesh::addElementsByType(surface, 9, {2}, {1, 2, 3, 4, 5, 6});
    std::vector<int> types;
    std::vector<std::vector<std::size_t>> tags, nodes;
    gm::model::mesh::getElements(types, tags, nodes, 2, surface);
    EXPECT_EQ(types, (std::vector<int>{2, 9}));
    EXPECT_EQ(tags, (std::vector<std::vector<std::size_t>>{{1}, {2}}));
    EXPECT_EQ(nodes[1], (std::vector<std::size_t>{1, 2, 3, 4, 5, 6}));
    std::vector<std::size_t> secondOrder, secondOrderNodes;
    gm::model::mesh::getElementsByType(9, secondOrder, secondOrderNodes);
    EXPECT_EQ(secondOrder, std::vector<std::size_t>{2});
    EXPECT_THROW(gm::model::mesh::getElements(types, tags, nodes, 2, 999), std::runtime_error);
}

// Abaqus has only the 5-node pyramid: those are written (gmsh 4.8 cannot
// name them), a model with a 14-node one is refused and nothing is written.
TEST_F(GmshAdapterTest, AbaqusInputHoldsFiveNodePyramidsAndRefusesOthers)
{
    TarnelTest::TempDirectory directory;
    gm::option::setNumber("Mesh.SaveAll", 1);
    const int volume = gm::model::addDiscreteEntity(3);
    std::vector<std::size_t> tags;
    std::vector<double> coordinates;
    for (std::size_t i = 1; i <= 14; ++i) {
        tags.push_back(i);
        coordinates.insert(coordinates.end(), {double(i % 3), double(i % 5), double(i % 7)});
    }
    gm::model::mesh::addNodes(3, volume, tags, coordinates);
    gm::model::mesh::addElementsByType(volume, 7, {4, 5}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    const std::string path = directory.File("pyramids.inp");
    gm::write(path);
    EXPECT_NE(TarnelTest::ReadFile(path).find("*ELEMENT, type=C3D5, ELSET=Volume1\n4, 1, 2, 3, 4, 5\n5, 6, 7, 8, 9, 10\n"),
              std::string::npos);

    gm::model::mesh::addElementsByType(volume, 14, {3}, tags);
    const std::string refused = directory.File("refused.inp");
    try {
        gm::write(refused);
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Unable to write Abaqus input file '" + refused + "': Abaqus has no 14-node pyramid (element 3)");
    }
    EXPECT_FALSE(TarnelTest::FileExists(refused));
    // The model keeps its own pyramids.
    std::vector<std::size_t> pyramids, pyramidNodes;
    gm::model::mesh::getElementsByType(7, pyramids, pyramidNodes);
    EXPECT_EQ(pyramids, (std::vector<std::size_t>{4, 5}));
}

namespace {

// The surface of the tetrahedron (0,0,0), (1,0,0), (0,1,0), (0,0,1) as one
// discrete surface closed into a volume; without its last face it is open.
void addTetrahedronSurfaceVolume(bool closed)
{
    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, surface, {1, 2, 3, 4}, {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1});
    std::vector<std::size_t> triangles{1, 3, 2, 1, 2, 4, 1, 4, 3};
    if (closed) triangles.insert(triangles.end(), {2, 3, 4});
    const int loop = gm::model::geo::addSurfaceLoop({surface});
    gm::model::geo::addVolume({loop});
    gm::model::geo::synchronize();
    std::vector<std::size_t> tags;
    for (std::size_t i = 1; i <= triangles.size() / 3; ++i) tags.push_back(i);
    gm::model::mesh::addElementsByType(surface, 2, tags, triangles);
}

}  // namespace

TEST_F(GmshAdapterTest, FrontalVolumeMeshingOnAGmshWithoutItRunsHxt)
{
    addTetrahedronSurfaceVolume(true);
    gm::option::setNumber("Mesh.Algorithm3D", 4);
    TarnelTest::LogCapture capture;
    gm::model::mesh::generate(3);
    std::vector<std::size_t> tetrahedra, nodes;
    gm::model::mesh::getElementsByType(4, tetrahedra, nodes);
    EXPECT_FALSE(tetrahedra.empty());
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.Algorithm3D"), 4.0);
    if (GMSH_API_VERSION_MINOR < 11 && GMSH_API_VERSION_MAJOR == 4) {
        EXPECT_EQ(capture.Messages(LogLevel::Warn),
                  std::vector<std::string>{"gmsh " + gm::linkedVersion() +
                                           " is built without the Frontal 3D algorithm (Mesh.Algorithm3D 4); meshing "
                                           "volumes with HXT (Mesh.Algorithm3D 10) instead."});
    }
}

TEST_F(GmshAdapterTest, HxtIsNeverRunOnAnOpenBoundary)
{
    addTetrahedronSurfaceVolume(false);
    gm::option::setNumber("Mesh.Algorithm3D", 10);
    try {
        gm::model::mesh::generate(3);
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "HXT cannot mesh a volume whose boundary mesh is not closed");
    }
    // Frontal on an open boundary fails as gmsh fails it, without HXT.
    gm::option::setNumber("Mesh.Algorithm3D", 4);
    EXPECT_THROW(gm::model::mesh::generate(3), std::runtime_error);
}
