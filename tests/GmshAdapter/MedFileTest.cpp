#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include <gmsh.h>
#include <gtest/gtest.h>
#include <med.h>

#include "Entities/Mesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MedFiles.h"
#include "MeshEngineWrapper.h"
#include "TempDirectory.h"

namespace gm = Tarnel::GmshAdapter;
using Tarnel::LogLevel;
using Point = std::array<double, 3>;

namespace {

// A quiet gmsh session with one empty current model, writing every element.
class MedFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (!gm::isInitialized()) gm::initialize();
        gm::option::setNumber("General.Terminal", 0);
        gm::option::setNumber("Mesh.SaveAll", 1);
        gm::model::add("med-test");
    }

    TarnelTest::TempDirectory directory;
};

// ---------------------------------------------------------------- geometry

Point minus(const Point& a, const Point& b)
{
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

Point cross(const Point& a, const Point& b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double dot(const Point& a, const Point& b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Point centroid(const std::vector<Point>& points)
{
    Point sum = {0, 0, 0};
    for (const Point& p : points)
        for (int d = 0; d < 3; ++d) sum[d] += p[d] / static_cast<double>(points.size());
    return sum;
}

// The general affine map that places test elements: no edge stays parallel
// to an axis, and its determinant is positive, so orientations are kept.
const double kMap[3][3] = {{1.2, 0.3, 0.1}, {-0.2, 0.9, 0.25}, {0.15, -0.1, 1.1}};

double mapDeterminant()
{
    return dot({kMap[0][0], kMap[0][1], kMap[0][2]},
               cross({kMap[1][0], kMap[1][1], kMap[1][2]}, {kMap[2][0], kMap[2][1], kMap[2][2]}));
}

Point placed(const Point& reference, const Point& origin)
{
    Point result = origin;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) result[i] += kMap[i][j] * reference[j];
    return result;
}

// gmsh's reference element of a type: its node positions, in gmsh's order.
std::vector<Point> referenceNodes(int elementType, int& dim)
{
    std::string name;
    int order = 0, count = 0, primary = 0;
    std::vector<double> local;
    gmsh::model::mesh::getElementProperties(elementType, name, dim, order, count, local, primary);
    std::vector<Point> nodes;
    for (int n = 0; n < count; ++n) {
        Point p = {0, 0, 0};
        for (int d = 0; d < dim; ++d) p[d] = local[n * dim + d];
        nodes.push_back(p);
    }
    return nodes;
}

// ---------------------------------------------------------------- models

// Element tag of a type in BuildOneElementOfEachType.
std::size_t elementTagOfType(int elementType)
{
    return 100 + 11 * static_cast<std::size_t>(elementType);
}

// One element of each type into the current model, each on a discrete entity
// of its own (gmsh 4.8 lists one type only of an entity holding, say, 3- and
// 6-node triangles) and at a place of its own, its nodes at gmsh's reference
// positions under the test map. Node tags run from 5 in steps of 7, so that
// neither tags nor file positions can stand in for each other.
void BuildOneElementOfEachType(const std::vector<int>& elementTypes)
{
    std::size_t nextNode = 5;
    double offset = 0.0;
    for (int type : elementTypes) {
        int dim = 0;
        const std::vector<Point> reference = referenceNodes(type, dim);
        const int entity = gm::model::addDiscreteEntity(dim);
        std::vector<std::size_t> tags;
        std::vector<double> coordinates;
        for (const Point& p : reference) {
            const Point position = placed(p, {offset, 0.5 * offset, -offset});
            coordinates.insert(coordinates.end(), position.begin(), position.end());
            tags.push_back(nextNode);
            nextNode += 7;
        }
        gm::model::mesh::addNodes(dim, entity, tags, coordinates);
        gm::model::mesh::addElementsByType(entity, type, {elementTagOfType(type)}, tags);
        offset += 5.0;
    }
}

// The current model's nodes and elements by tag.
struct ModelSnapshot {
    std::map<std::size_t, Point> nodes;
    std::map<std::size_t, std::pair<int, std::vector<std::size_t>>> elements;
};

ModelSnapshot Snapshot()
{
    ModelSnapshot snapshot;
    std::vector<std::size_t> tags;
    std::vector<double> coordinates, parametric;
    gm::model::mesh::getNodes(tags, coordinates, parametric, -1, -1, false, false);
    for (std::size_t i = 0; i < tags.size(); ++i)
        snapshot.nodes[tags[i]] = {coordinates[3 * i], coordinates[3 * i + 1], coordinates[3 * i + 2]};
    std::vector<int> types;
    std::vector<std::vector<std::size_t>> elementTags, nodeTags;
    gm::model::mesh::getElements(types, elementTags, nodeTags);
    for (std::size_t t = 0; t < types.size(); ++t) {
        const std::size_t perElement = nodeTags[t].size() / elementTags[t].size();
        for (std::size_t k = 0; k < elementTags[t].size(); ++k)
            snapshot.elements[elementTags[t][k]] = {
                types[t], std::vector<std::size_t>(nodeTags[t].begin() + static_cast<std::ptrdiff_t>(k * perElement),
                                                   nodeTags[t].begin() + static_cast<std::ptrdiff_t>((k + 1) * perElement))};
    }
    return snapshot;
}

// The shapes of the system that MED holds: gmsh types 1 to 18 but the
// 14-node pyramid.
const std::vector<int> kMedShapes = {15, 1, 8, 2, 9, 3, 16, 10, 4, 11, 5, 17, 12, 6, 18, 13, 7};

// A physical group's name, elements and (for dimension 0) nodes.
struct GroupContent {
    std::set<std::size_t> elements;
    std::set<std::size_t> nodes;
};

std::map<std::pair<int, std::string>, GroupContent> PhysicalGroups()
{
    std::map<std::pair<int, std::string>, GroupContent> result;
    gm::vectorpair groups;
    gm::model::getPhysicalGroups(groups);
    for (const auto& group : groups) {
        std::string name;
        gm::model::getPhysicalName(group.first, group.second, name);
        GroupContent& content = result[{group.first, name}];
        std::vector<int> entities;
        gm::model::getEntitiesForPhysicalGroup(group.first, group.second, entities);
        for (int entity : entities) {
            std::vector<int> types;
            std::vector<std::vector<std::size_t>> elementTags, nodeTags;
            gm::model::mesh::getElements(types, elementTags, nodeTags, group.first, entity);
            for (const auto& tags : elementTags) content.elements.insert(tags.begin(), tags.end());
            if (group.first != 0) continue;
            std::vector<std::size_t> tags;
            std::vector<double> coordinates, parametric;
            gm::model::mesh::getNodes(tags, coordinates, parametric, 0, entity, false, false);
            content.nodes.insert(tags.begin(), tags.end());
        }
    }
    return result;
}

std::string FailureOf(void (*action)(const std::string&), const std::string& path)
{
    try {
        action(path);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "no exception";
}

}  // namespace

// ---------------------------------------------------------------- round trip

TEST_F(MedFileTest, EveryShapeComesBackWithItsTagsNodeListsAndCoordinates)
{
    BuildOneElementOfEachType(kMedShapes);
    const ModelSnapshot written = Snapshot();
    gm::write(directory.File("shapes.med"));

    gm::open(directory.File("shapes.med"));
    EXPECT_EQ(TarnelTest::CurrentModel(), "shapes");
    const ModelSnapshot read = Snapshot();
    EXPECT_EQ(read.nodes, written.nodes);
    ASSERT_EQ(read.elements.size(), kMedShapes.size());
    EXPECT_EQ(read.elements, written.elements);
}

TEST_F(MedFileTest, TheExtensionIsRecognisedInAnyLetterCase)
{
    BuildOneElementOfEachType({4, 2});
    gm::write(directory.File("Part.MeD"));
    const TarnelTest::MedFileContent content = TarnelTest::ReadMedFile(directory.File("Part.MeD"));
    EXPECT_EQ(content.meshName, "med-test");
    EXPECT_EQ(content.cells.size(), 2u);
    gm::open(directory.File("Part.MeD"));
    EXPECT_EQ(TarnelTest::CurrentModel(), "Part");
    EXPECT_EQ(Snapshot().elements.size(), 2u);
}

TEST_F(MedFileTest, TheFileHoldsOneMeshNamedAfterTheModelNumberedByTags)
{
    BuildOneElementOfEachType({2, 4});
    gm::write(directory.File("numbers.med"));
    const TarnelTest::MedFileContent content = TarnelTest::ReadMedFile(directory.File("numbers.med"));
    EXPECT_EQ(content.meshCount, 1);
    EXPECT_EQ(content.meshName, "med-test");
    // Triangle nodes 5, 12, 19; tetrahedron nodes 26, 33, 40, 47.
    std::vector<int> numbers = content.nodeNumbers;
    std::sort(numbers.begin(), numbers.end());
    EXPECT_EQ(numbers, (std::vector<int>{5, 12, 19, 26, 33, 40, 47}));
    EXPECT_EQ(content.cells.at(MED_TRIA3).numbers, std::vector<int>{122});
    EXPECT_EQ(content.cells.at(MED_TETRA4).numbers, std::vector<int>{144});
    // The connectivity refers to positions, which carry the tags as numbers.
    std::vector<int> triangle;
    for (int position : content.cells.at(MED_TRIA3).connectivity)
        triangle.push_back(content.nodeNumbers.at(static_cast<std::size_t>(position) - 1));
    EXPECT_EQ(triangle, (std::vector<int>{5, 12, 19}));
}

// ---------------------------------------------------------------- node orders

namespace {

// MED's reference volumes, from MED's rule: the first face (the base) is
// walked so that its normal points out of the element; every other face is
// walked the same way, so that the element's surface is closed and outward.
const std::map<int, std::vector<std::vector<int>>> kMedOutwardFaces = {
    {MED_TETRA4, {{1, 2, 3}, {1, 4, 2}, {2, 4, 3}, {3, 4, 1}}},
    {MED_PYRA5, {{1, 2, 3, 4}, {1, 5, 2}, {2, 5, 3}, {3, 5, 4}, {4, 5, 1}}},
    {MED_PENTA6, {{1, 2, 3}, {4, 6, 5}, {1, 4, 5, 2}, {2, 5, 6, 3}, {3, 6, 4, 1}}},
    {MED_HEXA8, {{1, 2, 3, 4}, {5, 8, 7, 6}, {1, 5, 6, 2}, {2, 6, 7, 3}, {3, 7, 8, 4}, {4, 8, 5, 1}}},
};

// The volume enclosed by faces walked with outward normals (divergence
// theorem over fans of triangles); negative when they are walked inward.
double enclosedVolume(const std::vector<Point>& nodes, const std::vector<std::vector<int>>& faces)
{
    double volume = 0.0;
    for (const std::vector<int>& face : faces) {
        const Point& first = nodes[face[0] - 1];
        for (std::size_t i = 1; i + 1 < face.size(); ++i)
            volume += dot(first, cross(nodes[face[i] - 1], nodes[face[i + 1] - 1])) / 6.0;
    }
    return volume;
}

}  // namespace

TEST_F(MedFileTest, VolumesHaveTheirVolumeInMedsNodeOrder)
{
    // First- and second-order volumes, whose corners come first in MED too.
    BuildOneElementOfEachType({4, 5, 6, 7, 11, 17, 12, 18, 13});
    gm::write(directory.File("volumes.med"));
    const TarnelTest::MedFileContent content = TarnelTest::ReadMedFile(directory.File("volumes.med"));

    const double scale = mapDeterminant();
    // Reference volumes: gmsh's unit tetrahedron, [-1, 1]^3, the unit right
    // triangle times [-1, 1], the pyramid on [-1, 1]^2 of height 1.
    const std::vector<std::tuple<int, int, double>> volumes = {
        {MED_TETRA4, MED_TETRA4, 1.0 / 6.0}, {MED_TETRA10, MED_TETRA4, 1.0 / 6.0},
        {MED_HEXA8, MED_HEXA8, 8.0},         {MED_HEXA20, MED_HEXA8, 8.0},
        {MED_HEXA27, MED_HEXA8, 8.0},        {MED_PENTA6, MED_PENTA6, 1.0},
        {MED_PENTA15, MED_PENTA6, 1.0},      {MED_PENTA18, MED_PENTA6, 1.0},
        {MED_PYRA5, MED_PYRA5, 4.0 / 3.0}};
    for (const auto& [type, cornerType, reference] : volumes) {
        ASSERT_EQ(content.cells.count(type), 1u) << type;
        const double volume = enclosedVolume(content.ElementNodes(type, 0), kMedOutwardFaces.at(cornerType));
        EXPECT_NEAR(volume, reference * scale, 1e-9) << "MED type " << type;
    }
}

namespace {

// MED's nodes beyond the corners: each the middle of the corners listed (MED
// numbering from 1). MED numbers the nodes on edges base edges first, then
// top edges, then the edges joining base and top (or running to the apex);
// then nodes on faces (base, the side faces from the first base edge on,
// top); then the node inside.
const std::map<int, std::vector<std::vector<int>>> kMedHigherOrderNodes = {
    {MED_SEG3, {{1, 2}}},
    {MED_TRIA6, {{1, 2}, {2, 3}, {3, 1}}},
    {MED_QUAD8, {{1, 2}, {2, 3}, {3, 4}, {4, 1}}},
    {MED_QUAD9, {{1, 2}, {2, 3}, {3, 4}, {4, 1}, {1, 2, 3, 4}}},
    {MED_TETRA10, {{1, 2}, {2, 3}, {3, 1}, {1, 4}, {2, 4}, {3, 4}}},
    {MED_HEXA20,
     {{1, 2}, {2, 3}, {3, 4}, {4, 1}, {5, 6}, {6, 7}, {7, 8}, {8, 5}, {1, 5}, {2, 6}, {3, 7}, {4, 8}}},
    {MED_HEXA27,
     {{1, 2}, {2, 3}, {3, 4}, {4, 1}, {5, 6}, {6, 7}, {7, 8}, {8, 5}, {1, 5}, {2, 6}, {3, 7}, {4, 8},
      {1, 2, 3, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 4, 8, 7}, {4, 1, 5, 8}, {5, 6, 7, 8},
      {1, 2, 3, 4, 5, 6, 7, 8}}},
    {MED_PENTA15, {{1, 2}, {2, 3}, {3, 1}, {4, 5}, {5, 6}, {6, 4}, {1, 4}, {2, 5}, {3, 6}}},
    {MED_PENTA18,
     {{1, 2}, {2, 3}, {3, 1}, {4, 5}, {5, 6}, {6, 4}, {1, 4}, {2, 5}, {3, 6}, {1, 2, 5, 4}, {2, 3, 6, 5},
      {3, 1, 4, 6}}},
};

Point faceNormal(const std::vector<Point>& nodes, const std::vector<int>& corners)
{
    return cross(minus(nodes[corners[1] - 1], nodes[corners[0] - 1]),
                 minus(nodes[corners[2] - 1], nodes[corners[0] - 1]));
}

}  // namespace

TEST_F(MedFileTest, SecondOrderNodesSitWhereMedPlacesThem)
{
    BuildOneElementOfEachType({8, 9, 16, 10, 11, 17, 12, 18, 13});
    gm::write(directory.File("second-order.med"));
    const TarnelTest::MedFileContent content = TarnelTest::ReadMedFile(directory.File("second-order.med"));

    for (const auto& [type, higherNodes] : kMedHigherOrderNodes) {
        ASSERT_EQ(content.cells.count(type), 1u) << type;
        const std::vector<Point> nodes = content.ElementNodes(type, 0);
        const std::size_t corners = nodes.size() - higherNodes.size();
        for (std::size_t h = 0; h < higherNodes.size(); ++h) {
            std::vector<Point> ends;
            for (int corner : higherNodes[h]) ends.push_back(nodes[static_cast<std::size_t>(corner) - 1]);
            const Point expected = centroid(ends);
            const Point& actual = nodes[corners + h];
            for (int d = 0; d < 3; ++d)
                EXPECT_NEAR(actual[d], expected[d], 1e-12) << "MED type " << type << ", node " << corners + h + 1;
        }
    }
}

TEST_F(MedFileTest, FacesKeepTheirNormal)
{
    // Every face type, mapped from gmsh's reference plane z = 0.
    BuildOneElementOfEachType({2, 9, 3, 16, 10});
    gm::write(directory.File("faces.med"));
    const TarnelTest::MedFileContent content = TarnelTest::ReadMedFile(directory.File("faces.med"));
    const Point mappedUp = {kMap[0][2], kMap[1][2], kMap[2][2]};
    const Point zero = {0, 0, 0};
    const Point gmshNormal = cross(minus(placed({1, 0, 0}, zero), placed({0, 0, 0}, zero)),
                                   minus(placed({0, 1, 0}, zero), placed({0, 0, 0}, zero)));
    ASSERT_GT(dot(gmshNormal, mappedUp), 0.0);
    for (int type : {MED_TRIA3, MED_TRIA6, MED_QUAD4, MED_QUAD8, MED_QUAD9}) {
        ASSERT_EQ(content.cells.count(type), 1u) << type;
        EXPECT_GT(dot(faceNormal(content.ElementNodes(type, 0), {1, 2, 3}), gmshNormal), 0.0) << "MED type " << type;
    }
}

// ---------------------------------------------------------------- groups

TEST_F(MedFileTest, PhysicalGroupsComeBackByNameWithTheirMembers)
{
    // As the master mesh holds them: every node and the point elements on the
    // entity of "_CREATED_NODES", elements on one entity per dimension.
    const int nodes = gm::model::addDiscreteEntity(0);
    const int lines = gm::model::addDiscreteEntity(1);
    const int surface = gm::model::addDiscreteEntity(2);
    const int clamped = gm::model::addDiscreteEntity(2);
    const int volume = gm::model::addDiscreteEntity(3);
    const int sensors = gm::model::addDiscreteEntity(0);
    gm::model::mesh::addNodes(0, nodes, {1, 2, 3, 4, 5, 6},
                              {0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 1, 0, 2, 2, 2});
    gm::model::mesh::addNodes(0, sensors, {40, 41}, {5, 5, 5, 6, 6, 6});
    gm::model::mesh::addElementsByType(nodes, 15, {30}, {6});
    gm::model::mesh::addElementsByType(lines, 1, {10, 11}, {1, 2, 2, 5});
    gm::model::mesh::addElementsByType(surface, 2, {20}, {1, 2, 3});
    gm::model::mesh::addElementsByType(clamped, 2, {21}, {2, 5, 3});
    gm::model::mesh::addElementsByType(volume, 4, {25}, {1, 2, 3, 4});
    gm::model::addPhysicalGroup(0, {nodes}, -1, "_CREATED_NODES");
    gm::model::addPhysicalGroup(1, {lines}, -1, "_CREATED_1D_ELEMENTS");
    gm::model::addPhysicalGroup(2, {surface, clamped}, -1, "_CREATED_2D_ELEMENTS");
    gm::model::addPhysicalGroup(3, {volume}, -1, "_CREATED_3D_ELEMENTS");
    gm::model::addPhysicalGroup(2, {clamped}, -1, "Clamp");
    gm::model::addPhysicalGroup(0, {sensors}, -1, "Sensors");
    const int unnamed = gm::model::addPhysicalGroup(1, {lines});
    gm::write(directory.File("groups.med"));

    gm::open(directory.File("groups.med"));
    using Key = std::pair<int, std::string>;
    const auto groups = PhysicalGroups();
    std::vector<Key> keys;
    for (const auto& group : groups) keys.push_back(group.first);
    const std::string unnamedName = "Physical1D_" + std::to_string(unnamed);
    EXPECT_EQ(keys, (std::vector<Key>{{0, "Sensors"},
                                      {0, "_CREATED_NODES"},
                                      {1, unnamedName},
                                      {1, "_CREATED_1D_ELEMENTS"},
                                      {2, "Clamp"},
                                      {2, "_CREATED_2D_ELEMENTS"},
                                      {3, "_CREATED_3D_ELEMENTS"}}));
    using Tags = std::set<std::size_t>;
    EXPECT_EQ(groups.at({0, "_CREATED_NODES"}).nodes, (Tags{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(groups.at({0, "_CREATED_NODES"}).elements, (Tags{30}));
    EXPECT_EQ(groups.at({0, "Sensors"}).nodes, (Tags{40, 41}));
    EXPECT_TRUE(groups.at({0, "Sensors"}).elements.empty());
    EXPECT_EQ(groups.at({1, "_CREATED_1D_ELEMENTS"}).elements, (Tags{10, 11}));
    EXPECT_EQ(groups.at({1, unnamedName}).elements, (Tags{10, 11}));
    EXPECT_EQ(groups.at({2, "_CREATED_2D_ELEMENTS"}).elements, (Tags{20, 21}));
    EXPECT_EQ(groups.at({2, "Clamp"}).elements, (Tags{21}));
    EXPECT_EQ(groups.at({3, "_CREATED_3D_ELEMENTS"}).elements, (Tags{25}));
}

TEST_F(MedFileTest, GroupsReachTheFileAsFamilies)
{
    const int surface = gm::model::addDiscreteEntity(2);
    const int corner = gm::model::addDiscreteEntity(0);
    gm::model::mesh::addNodes(2, surface, {1, 2, 3}, {0, 0, 0, 1, 0, 0, 0, 1, 0});
    gm::model::mesh::addNodes(0, corner, {4}, {1, 1, 0});
    gm::model::mesh::addElementsByType(surface, 2, {7}, {1, 2, 3});
    gm::model::addPhysicalGroup(2, {surface}, -1, "Skin");
    gm::model::addPhysicalGroup(2, {surface}, -1, "Top");
    gm::model::addPhysicalGroup(0, {corner}, -1, "Corner");
    gm::write(directory.File("families.med"));

    const TarnelTest::MedFileContent content = TarnelTest::ReadMedFile(directory.File("families.med"));
    const int triangleFamily = content.cells.at(MED_TRIA3).families.at(0);
    EXPECT_LT(triangleFamily, 0);
    EXPECT_EQ(content.familyGroups.at(triangleFamily), (std::vector<std::string>{"Skin", "Top"}));
    for (std::size_t i = 0; i < content.nodeNumbers.size(); ++i) {
        if (content.nodeNumbers[i] == 4) {
            ASSERT_GT(content.nodeFamilies[i], 0);
            EXPECT_EQ(content.familyGroups.at(content.nodeFamilies[i]), std::vector<std::string>{"Corner"});
        } else {
            EXPECT_EQ(content.nodeFamilies[i], 0) << "node " << content.nodeNumbers[i];
        }
    }
    EXPECT_TRUE(content.familyGroups.at(0).empty());
}

// ---------------------------------------------------------------- what is saved

namespace {

// Two triangles on surfaces of their own, the second in the group "Kept".
void addKeptAndOtherTriangle(bool withGroup)
{
    const int other = gm::model::addDiscreteEntity(2);
    const int kept = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, other, {1, 2, 3}, {0, 0, 0, 1, 0, 0, 0, 1, 0});
    gm::model::mesh::addNodes(2, kept, {4, 5, 6}, {5, 0, 0, 6, 0, 0, 5, 1, 0});
    gm::model::mesh::addElementsByType(other, 2, {1}, {1, 2, 3});
    gm::model::mesh::addElementsByType(kept, 2, {2}, {4, 5, 6});
    if (withGroup) gm::model::addPhysicalGroup(2, {kept}, -1, "Kept");
}

}  // namespace

TEST_F(MedFileTest, WithoutSaveAllOnlyEntitiesInPhysicalGroupsAreWritten)
{
    gm::option::setNumber("Mesh.SaveAll", 0);
    addKeptAndOtherTriangle(true);
    gm::write(directory.File("partial.med"));
    gm::open(directory.File("partial.med"));
    const ModelSnapshot read = Snapshot();
    ASSERT_EQ(read.elements.size(), 1u);
    EXPECT_EQ(read.elements.begin()->first, 2u);
    EXPECT_EQ(read.nodes.size(), 3u);
    EXPECT_EQ(read.nodes.count(4), 1u);
}

TEST_F(MedFileTest, WithoutSaveAllAModelWithoutPhysicalGroupsIsWrittenWhole)
{
    gm::option::setNumber("Mesh.SaveAll", 0);
    addKeptAndOtherTriangle(false);
    gm::write(directory.File("whole.med"));
    gm::open(directory.File("whole.med"));
    EXPECT_EQ(Snapshot().elements.size(), 2u);
}

TEST_F(MedFileTest, WithSaveAllEveryElementIsWritten)
{
    addKeptAndOtherTriangle(true);
    gm::write(directory.File("all.med"));
    gm::open(directory.File("all.med"));
    const ModelSnapshot read = Snapshot();
    EXPECT_EQ(read.elements.size(), 2u);
    EXPECT_EQ(read.nodes.size(), 6u);
}

// ---------------------------------------------------------------- models

TEST_F(MedFileTest, OpeningMakesModelsAsGmshsOwnOpenDoes)
{
    BuildOneElementOfEachType({2});
    gm::write(directory.File("copy.med"));
    gm::write(directory.File("copy.msh"));

    // Into an empty current model, then into a full one: gmsh's own reader
    // first, the MED reader after it, each in a session of its own.
    std::vector<std::vector<std::string>> modelsAfter[2];
    std::string fileNames[2];
    const char* const extensions[2] = {".msh", ".med"};
    for (int reader = 0; reader < 2; ++reader) {
        gm::finalize();
        gm::initialize();
        gm::option::setNumber("General.Terminal", 0);
        gm::model::add("empty");
        const std::string path = directory.File(std::string("copy") + extensions[reader]);
        gm::open(path);
        modelsAfter[reader].push_back(TarnelTest::ModelNames());
        gm::model::getFileName(fileNames[reader]);
        EXPECT_EQ(fileNames[reader], path);
        gm::open(path);
        modelsAfter[reader].push_back(TarnelTest::ModelNames());
        EXPECT_EQ(TarnelTest::CurrentModel(), "copy");
        EXPECT_EQ(Snapshot().elements.size(), 1u);
    }
    EXPECT_EQ(modelsAfter[1], modelsAfter[0]);
    EXPECT_EQ(modelsAfter[1].back(), (std::vector<std::string>{"", "copy", "copy"}));
}

// ---------------------------------------------------------------- failures

namespace {

void openFile(const std::string& path)
{
    gm::open(path);
}

void writeFile(const std::string& path)
{
    gm::write(path);
}

}  // namespace

TEST_F(MedFileTest, AMissingFileFailsAsForEveryFormat)
{
    const std::string path = directory.File("missing.med");
    EXPECT_EQ(FailureOf(openFile, path), "Unable to open file '" + path + "'");
}

TEST_F(MedFileTest, ATextFileIsNotAMedFileAndChangesNoModel)
{
    const std::string path = directory.File("notes.med");
    TarnelTest::WriteFile(path, "nodes: 1 2 3\n");
    const std::vector<std::string> before = TarnelTest::ModelNames();
    EXPECT_EQ(FailureOf(openFile, path), "Unable to read MED file '" + path + "': it is not a MED file");
    std::string last;
    gm::logger::getLastError(last);
    EXPECT_EQ(last, "Unable to read MED file '" + path + "': it is not a MED file");
    EXPECT_EQ(TarnelTest::ModelNames(), before);
    EXPECT_EQ(TarnelTest::CurrentModel(), "med-test");
}

TEST_F(MedFileTest, ATruncatedFileFails)
{
    BuildOneElementOfEachType(kMedShapes);
    const std::string path = directory.File("cut.med");
    gm::write(path);
    const std::string content = TarnelTest::ReadFile(path);
    TarnelTest::WriteFile(path, content.substr(0, content.size() / 2));
    EXPECT_EQ(FailureOf(openFile, path), "Unable to read MED file '" + path +
                                             "': it is damaged or not a MED file of a version this library reads");
}

TEST_F(MedFileTest, ElementTypesThatAreNoShapeOfTheSystemAreRefused)
{
    const std::vector<std::pair<int, std::string>> foreign = {{MED_TRIA7, "MED_TRIA7"}, {MED_PYRA13, "MED_PYRA13"},
                                                              {MED_OCTA12, "MED_OCTA12"}};
    for (const auto& [type, name] : foreign) {
        const std::string path = directory.File(name + ".med");
        TarnelTest::WriteMedFileOfOneElement(path, type, type % 100);
        EXPECT_EQ(FailureOf(openFile, path), "Unable to read MED file '" + path + "': mesh 'odd' holds " + name +
                                                 " elements, which are not an element shape of this system");
    }
}

TEST_F(MedFileTest, NumbersUsedTwiceAreRefused)
{
    const std::string path = directory.File("twice.med");
    TarnelTest::WriteMedFileOfOneElement(path, MED_TRIA3, 3, {"odd"}, {7, 8, 7});
    EXPECT_EQ(FailureOf(openFile, path),
              "Unable to read MED file '" + path + "': node number 7 is used more than once");
}

TEST_F(MedFileTest, OnlyTheFirstMeshOfAFileIsReadWithAWarning)
{
    const std::string path = directory.File("two.med");
    TarnelTest::WriteMedFileOfOneElement(path, MED_TRIA3, 3, {"first", "second"});
    TarnelTest::LogCapture capture;
    gm::open(path);
    EXPECT_EQ(capture.Messages(LogLevel::Warn),
              std::vector<std::string>{"MED file '" + path + "' holds 2 meshes; only the first, 'first', is read."});
    EXPECT_EQ(TarnelTest::CurrentModel(), "two");
    EXPECT_EQ(Snapshot().elements.size(), 1u);
}

TEST_F(MedFileTest, FailuresWriteNothingToTheTerminal)
{
    const std::string text = directory.File("notes.med");
    TarnelTest::WriteFile(text, "nodes: 1 2 3\n");
    BuildOneElementOfEachType({4});
    const std::string cut = directory.File("cut.med");
    gm::write(cut);
    TarnelTest::WriteFile(cut, TarnelTest::ReadFile(cut).substr(0, 3000));
    const std::string odd = directory.File("odd.med");
    TarnelTest::WriteMedFileOfOneElement(odd, MED_TRIA7, 7);

    testing::internal::CaptureStderr();
    for (const std::string& path : {text, cut, odd, directory.File("missing.med")})
        EXPECT_THROW(gm::open(path), std::runtime_error) << path;
    EXPECT_THROW(gm::write(directory.File("no-such-directory/out.med")), std::runtime_error);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(MedFileTest, A14NodePyramidIsRefusedAndNoFileIsLeft)
{
    BuildOneElementOfEachType({4, 14});
    const std::string path = directory.File("pyramid.med");
    EXPECT_EQ(FailureOf(writeFile, path),
              "Unable to write MED file '" + path + "': MED has no 14-node pyramid (element 254)");
    EXPECT_FALSE(TarnelTest::FileExists(path));
}

TEST_F(MedFileTest, AFileThatCannotBeCreatedFails)
{
    BuildOneElementOfEachType({4});
    const std::string path = directory.File("no-such-directory/out.med");
    EXPECT_EQ(FailureOf(writeFile, path), "Unable to write MED file '" + path + "': the file cannot be created");
}

TEST_F(MedFileTest, LoadMeshOfABadFileReturnsFalseAndLogs)
{
    TarnelTest::WriteFile(directory.File("broken.med"), "not a mesh");
    Tarnel::Mesh mesh;
    mesh.SetFileName("broken");
    TarnelTest::LogCapture capture;
    EXPECT_FALSE(mesh.LoadMesh(directory.Path(), Tarnel::MeshFileFormat::MED));
    const Tarnel::LogRecord record = capture.Find(LogLevel::Error, "Failed to load mesh!");
    EXPECT_TRUE(record.hasException);
    EXPECT_EQ(record.exceptionText,
              "Unable to read MED file '" + directory.File("broken.med") + "': it is not a MED file");
}

TEST(MedFileMixedOrders, ElementsOfBothOrdersOnOneEntityAreAllWritten)
{
    TarnelTest::TempDirectory directory;
    Tarnel::MeshEngineWrapper::getInstance();
    namespace gm = Tarnel::GmshAdapter;
    gm::model::add("mixed");
    const int surface = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, surface, {1, 2, 3, 4, 5, 6}, {0, 0, 0, 1, 0, 0, 0, 1, 0, .5, 0, 0, .5, .5, 0, 0, .5, 0});
    gm::model::mesh::addElementsByType(surface, 2, {1}, {1, 2, 3});
    gm::model::mesh::addElementsByType(surface, 9, {2}, {1, 2, 3, 4, 5, 6});
    const std::string path = directory.File("mixed.med");
    gm::write(path);
    gm::model::add("reader");
    gm::open(path);
    std::vector<std::size_t> tags, nodes;
    gm::model::mesh::getElementsByType(9, tags, nodes);
    EXPECT_EQ(tags, std::vector<std::size_t>{2});
    gm::model::mesh::getElementsByType(2, tags, nodes);
    EXPECT_EQ(tags, std::vector<std::size_t>{1});
}
