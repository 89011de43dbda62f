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
#include "ModelSnapshot.h"
#include "TempDirectory.h"

namespace gm = Tarnel::GmshAdapter;
using Tarnel::LogLevel;
using TarnelTest::FailureOf;
using Tags = std::vector<std::size_t>;

namespace {

// Whether the linked gmsh lacks what 4.11 has, so that the adapter closes gaps.
bool linkedIsOlderThan411()
{
    return GMSH_API_VERSION_MAJOR == 4 && GMSH_API_VERSION_MINOR < 11;
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

// The rectangle [0, width] x [0, 5] of gmsh's OpenCASCADE kernel in a model of its own.
void addRectangle(double width)
{
    gm::model::add("rectangle");
    gmsh::model::occ::addRectangle(0, 0, 0, width, 5);
    gm::model::occ::synchronize();
}

}  // namespace

// Tags that gmsh 4.8 would index its caches with (crashing, or naming
// another node or element) and other bad arguments are refused, with the tag
// as the caller passed it, before anything reaches the model; every failure
// arrives as gmsh's last error.
TEST_F(GmshAdapterTest, BadCallsFailWithTheirMessageBeforeTheModelChanges)
{
    const int surface = addTriangles();
    const std::size_t minus2e9 = static_cast<std::size_t>(-2000000000);
    std::vector<double> coord, parametric, values;
    std::vector<std::vector<std::size_t>> listed;
    std::vector<int> types;
    Tags nodes;
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
        {"Entity of dimension 2 and tag 999 does not exist",
         [&] { gm::model::mesh::getElements(types, listed, listed, 2, 999); }},
        {"Entity of dimension 1 and tag 999 does not exist", [&] { gm::model::isInside(1, 999, {5, 0, 0}); }},
    };
    for (const auto& [expected, call] : calls) EXPECT_EQ(FailureOf(call), expected);
    EXPECT_NE(FailureOf([] { gm::model::setCurrent("no-such-model"); }).find("no-such-model"), std::string::npos);

    // No node or element was added, none made invisible: the "Invisible"
    // plugin deletes only the elements made so now, of every dimension, point
    // elements included; the largest element tag is gmsh's own and stays. Its
    // size makes the tags sparse, which the visibility pass keeps apart.
    gm::model::mesh::addElementsByType(gm::model::addDiscreteEntity(0), 15, {2000000000}, {5});
    gm::model::mesh::setVisibility({3, 2000000000}, 0);
    gm::plugin::setNumber("Invisible", "DeleteElements", 1.0);
    gm::plugin::run("Invisible");
    EXPECT_EQ(TarnelTest::SnapshotOfCurrentModel().Shapes(),
              (std::map<std::size_t, TarnelTest::ModelSnapshot::Shape>{{1, {2, {1, 2, 3}}}, {2, {2, {1, 2, 4}}}}));
    std::size_t maxNode = 0, maxElement = 0;
    gm::model::mesh::getMaxNodeTag(maxNode);
    gm::model::mesh::getMaxElementTag(maxElement);
    EXPECT_EQ(std::make_pair(maxNode, maxElement), std::make_pair(std::size_t(6), std::size_t(2000000000)));
    TarnelTest::TempDirectory directory;
    gm::write(directory.File("left.msh"));
    EXPECT_NE(TarnelTest::ReadFile(directory.File("left.msh")).find("$Elements\n1 2 1 2\n"), std::string::npos);
}

TEST_F(GmshAdapterTest, QualitiesOfKnownTriangles)
{
    addTriangles();
    std::vector<double> values;
    // Triangle 2 is perfect by every measure, the sliver 3 by none.
    for (const char* name : {"gamma", "minSICN", "minSJ", "minSIGE", "minIsotropy", "angleShape"}) {
        gm::model::mesh::getElementQualities({2, 3}, values, name);
        EXPECT_NEAR(values[0], 1.0, 1e-9) << name;
        EXPECT_LT(values[1], 0.01) << name;
    }
    // Of the right triangle 1: twice the inscribed over the circumscribed
    // radius, 4 sqrt(3) area over the sum of squared edges, and the area.
    const std::vector<std::pair<const char*, double>> right = {
        {"gamma", 2.0 * (2.0 - std::sqrt(2.0)) / std::sqrt(2.0)}, {"minSICN", std::sqrt(3.0) / 2.0}, {"volume", 0.5}};
    for (const auto& [name, expected] : right) {
        gm::model::mesh::getElementQualities({1}, values, name);
        EXPECT_NEAR(values[0], expected, 1e-12) << name;
    }
}

TEST_F(GmshAdapterTest, OptionsOfNewerGmshAreSkippedWithOneDebugLineEach)
{
    if (!linkedIsOlderThan411()) GTEST_SKIP() << "the linked gmsh knows these options";
    TarnelTest::LogCapture capture;
    const std::vector<std::string> newer = {"Mesh.RecombineMinimumQuality",   "Mesh.RecombineNodeRepositioning",
                                            "Mesh.QuadqsSizemapMethod",       "Mesh.QuadqsTopologyOptimizationMethods",
                                            "Mesh.QuadqsRemeshingBoldness",   "Mesh.QuadqsScalingOnTriangulation"};
    for (int round = 0; round < 2; ++round)
        for (const std::string& name : newer) EXPECT_NO_THROW(gm::option::setNumber(name, 1.0)) << name;
    std::vector<std::string> expected;
    for (const std::string& name : newer)
        expected.push_back("Option " + name + " does not exist in gmsh " + gm::linkedVersion() + "; it is skipped.");
    EXPECT_EQ(capture.Messages(LogLevel::Debug), expected);
}

// Algorithms that 4.8 lacks or crashes with are stood in for, with one
// warning per process; quasi-structured ones give quadrangles only, or
// quadrangles and triangles where transfinite curves of one segment cannot be
// split for full quadrangles.
TEST_F(GmshAdapterTest, QuadAlgorithmsOf411AreStoodInFor)
{
    if (!linkedIsOlderThan411()) GTEST_SKIP() << "the linked gmsh has these algorithms";
    TarnelTest::LogCapture capture;
    for (const auto& [algorithm, width] : std::vector<std::pair<int, double>>{{8, 1}, {8, 1}, {11, 1}, {11, 10}}) {
        addRectangle(width);
        gm::vectorpair curves;
        if (width == 10) gm::model::getEntities(curves, 1);
        for (const auto& curve : curves) gm::model::mesh::setTransfiniteCurve(curve.second, 1);
        gm::option::setNumber("Mesh.MeshSizeMax", width == 10 ? 2.0 : 0.2);
        gm::option::setNumber("Mesh.Algorithm", algorithm);
        gm::option::setNumber("Mesh.RecombineAll", algorithm == 8);
        gm::model::mesh::generate(2);
        EXPECT_GT(TarnelTest::ElementCount(3), 0u);
        EXPECT_TRUE(algorithm != 11 || width == 10 || TarnelTest::ElementCount(2) == 0);
    }
    const std::string gmshVersion = "gmsh " + gm::linkedVersion();
    EXPECT_EQ(capture.Messages(LogLevel::Warn),
              (std::vector<std::string>{
                  gmshVersion + " crashes with Frontal-Delaunay for quads (Mesh.Algorithm 8); meshing with "
                                "Frontal-Delaunay (Mesh.Algorithm 6) instead.",
                  gmshVersion + " has no quasi-structured quadrangle meshing (Mesh.Algorithm 11); meshing with "
                                "Frontal-Delaunay (Mesh.Algorithm 6) and blossom full-quad recombination instead.",
                  "Full-quad recombination failed (1D mesh cannot be divided by 2); meshing with quad-dominant "
                  "blossom recombination instead."}));
}

// The surface of the tetrahedron (0,0,0), (1,0,0), (0,1,0), (0,0,1) as one
// discrete surface closed into a volume; without its last face it is open.
// Frontal meshing runs HXT where gmsh is built without it, HXT never runs on
// an open boundary, and Frontal fails there as gmsh fails it, with the error
// gmsh raised inside its parallel loops.
TEST_F(GmshAdapterTest, VolumesAreMeshedWithHxtOnlyInsideClosedBoundaries)
{
    for (const bool closed : {true, false}) {
        gm::model::add(closed ? "closed" : "open");
        const int surface = gm::model::addDiscreteEntity(2);
        gm::model::mesh::addNodes(2, surface, {1, 2, 3, 4}, {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1});
        gm::model::geo::addVolume({gm::model::geo::addSurfaceLoop({surface})});
        gm::model::geo::synchronize();
        std::vector<std::size_t> triangles{1, 3, 2, 1, 2, 4, 1, 4, 3, 2, 3, 4};
        if (!closed) triangles.resize(9);
        gm::model::mesh::addElementsByType(surface, 2, closed ? Tags{1, 2, 3, 4} : Tags{1, 2, 3}, triangles);
        gm::option::setNumber("Mesh.Algorithm3D", 4);
        TarnelTest::LogCapture capture;
        EXPECT_EQ(FailureOf([] { gm::model::mesh::generate(3); }) == "no exception", closed);
        EXPECT_EQ(TarnelTest::ElementCount(4) > 0, closed);
        EXPECT_EQ(TarnelTest::NumberOption("Mesh.Algorithm3D"), 4.0);
        if (linkedIsOlderThan411() && closed) {
            EXPECT_EQ(capture.Messages(LogLevel::Warn),
                      std::vector<std::string>{"gmsh " + gm::linkedVersion() +
                                               " is built without the Frontal 3D algorithm (Mesh.Algorithm3D 4); "
                                               "meshing volumes with HXT (Mesh.Algorithm3D 10) instead."});
        }
    }
    gm::option::setNumber("Mesh.Algorithm3D", 10);
    EXPECT_EQ(FailureOf([] { gm::model::mesh::generate(3); }), "HXT cannot mesh a volume whose boundary mesh is not closed");
    // gmsh still throws on its other errors after meshing.
    EXPECT_THROW(gm::model::setCurrent("no-such-model"), std::runtime_error);
}
