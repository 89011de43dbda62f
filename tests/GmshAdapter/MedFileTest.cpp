#include <array>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>
#include <med.h>

#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MedFiles.h"
#include "ModelSnapshot.h"
#include "TempDirectory.h"

namespace gm = Tarnel::GmshAdapter;
using Tarnel::LogLevel;
using TarnelTest::FailureOf;
using TarnelTest::ModelSnapshot;
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

// The general affine map that places test elements: no edge stays parallel
// to an axis, and its determinant (1.28375) is positive, so orientations are kept.
const double kMap[3][3] = {{1.2, 0.3, 0.1}, {-0.2, 0.9, 0.25}, {0.15, -0.1, 1.1}};
const double kMapDeterminant = 1.28375;

Point placed(const Point& reference, const Point& origin = {0, 0, 0})
{
    Point result = origin;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) result[i] += kMap[i][j] * reference[j];
    return result;
}

// One element of each type into the current model, each on a discrete entity
// of its own and at a place of its own, its nodes at gmsh's reference
// positions under the test map. Element tags are 100 + 11 * type; node tags
// run from 5 in steps of 7, so that neither tags nor file positions can
// stand in for each other.
void BuildOneElementOfEachType(const std::vector<int>& elementTypes)
{
    std::size_t nextNode = 5;
    double offset = 0.0;
    for (int type : elementTypes) {
        int dim = 0;
        std::vector<std::size_t> tags;
        std::vector<double> coordinates;
        for (const Point& p : TarnelTest::ReferenceNodes(type, dim)) {
            const Point position = placed(p, {offset, 0.5 * offset, -offset});
            coordinates.insert(coordinates.end(), position.begin(), position.end());
            tags.push_back(nextNode);
            nextNode += 7;
        }
        const int entity = gm::model::addDiscreteEntity(dim);
        gm::model::mesh::addNodes(dim, entity, tags, coordinates);
        gm::model::mesh::addElementsByType(entity, type, {100 + 11 * static_cast<std::size_t>(type)}, tags);
        offset += 5.0;
    }
}

// The shapes of the system that MED holds: gmsh types 1 to 18 but the
// 14-node pyramid.
const std::vector<int> kMedShapes = {15, 1, 8, 2, 9, 3, 16, 10, 4, 11, 5, 17, 12, 6, 18, 13, 7};

// A MED file of one mesh "odd" of one element of the geometry type, its
// nodes numbered `numbers` when given.
void writeOneElement(const std::string& path, int type, const std::vector<int>& numbers = {})
{
    TarnelTest::MedFileMesh mesh;
    mesh.name = "odd";
    mesh.nodeNumbers = numbers;
    TarnelTest::MedFileMesh::Cells& cells = mesh.cells[type];
    cells.nodesPerElement = static_cast<std::size_t>(type % 100);
    for (int n = 0; n < type % 100; ++n) {
        mesh.nodes.push_back({double(n), double(n * n), 0});
        cells.connectivity.push_back(n + 1);
    }
    TarnelTest::WriteMedFile(path, {mesh});
}

// MED's node orders, from MED's rule rather than from gmsh's. Corners: the
// first face (the base) of a volume is walked so that its normal points out
// of the element, every other face the same way, so the faces listed enclose
// the volume outward; a face's corners 1, 2, 3 turn about its normal.
const std::map<int, std::vector<std::vector<int>>> kMedOutwardFaces = {
    {MED_TETRA4, {{1, 2, 3}, {1, 4, 2}, {2, 4, 3}, {3, 4, 1}}},
    {MED_PYRA5, {{1, 2, 3, 4}, {1, 5, 2}, {2, 5, 3}, {3, 5, 4}, {4, 5, 1}}},
    {MED_PENTA6, {{1, 2, 3}, {4, 6, 5}, {1, 4, 5, 2}, {2, 5, 6, 3}, {3, 6, 4, 1}}},
    {MED_HEXA8, {{1, 2, 3, 4}, {5, 8, 7, 6}, {1, 5, 6, 2}, {2, 6, 7, 3}, {3, 7, 8, 4}, {4, 8, 5, 1}}},
};

// Nodes beyond the corners: each the middle of the corners listed. MED
// numbers the nodes on edges base edges first, then top edges, then the
// edges joining base and top; then nodes on faces (base, the side faces from
// the first base edge on, top); then the node inside.
const std::vector<std::vector<int>> kHexaEdges = {{1, 2}, {2, 3}, {3, 4}, {4, 1}, {5, 6}, {6, 7},
                                                  {7, 8}, {8, 5}, {1, 5}, {2, 6}, {3, 7}, {4, 8}};
const std::vector<std::vector<int>> kPentaEdges = {{1, 2}, {2, 3}, {3, 1}, {4, 5}, {5, 6}, {6, 4}, {1, 4}, {2, 5}, {3, 6}};

std::vector<std::vector<int>> joined(std::vector<std::vector<int>> first, const std::vector<std::vector<int>>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

const std::map<int, std::vector<std::vector<int>>> kMedHigherOrderNodes = {
    {MED_SEG3, {{1, 2}}},
    {MED_TRIA6, {{1, 2}, {2, 3}, {3, 1}}},
    {MED_QUAD8, {{1, 2}, {2, 3}, {3, 4}, {4, 1}}},
    {MED_QUAD9, {{1, 2}, {2, 3}, {3, 4}, {4, 1}, {1, 2, 3, 4}}},
    {MED_TETRA10, {{1, 2}, {2, 3}, {3, 1}, {1, 4}, {2, 4}, {3, 4}}},
    {MED_HEXA20, kHexaEdges},
    {MED_HEXA27, joined(kHexaEdges, {{1, 2, 3, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 4, 8, 7}, {4, 1, 5, 8},
                                     {5, 6, 7, 8}, {1, 2, 3, 4, 5, 6, 7, 8}})},
    {MED_PENTA15, kPentaEdges},
    {MED_PENTA18, joined(kPentaEdges, {{1, 2, 5, 4}, {2, 3, 6, 5}, {3, 1, 4, 6}})},
};

// The volume enclosed by faces walked with outward normals (divergence
// theorem over fans of triangles); negative when they are walked inward.
double enclosedVolume(const std::vector<Point>& nodes, const std::vector<std::vector<int>>& faces)
{
    double volume = 0.0;
    for (const std::vector<int>& face : faces)
        for (std::size_t i = 1; i + 1 < face.size(); ++i)
            volume += dot(nodes[face[0] - 1], cross(nodes[face[i] - 1], nodes[face[i + 1] - 1])) / 6.0;
    return volume;
}

}  // namespace

// Both formats give back every shape with its tags, node lists and
// coordinates (first- and second-order triangles that share an entity too),
// into a model named after the file in any letter case, made as gmsh's own
// open makes it: the empty current model is taken, else one is added. The
// MED file holds one mesh named after the model, each element's nodes in
// MED's order.
TEST_F(MedFileTest, EveryShapeIsWrittenInMedsOrderAndComesBackFromEitherFormat)
{
    BuildOneElementOfEachType(kMedShapes);
    const int shared = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, shared, {2001, 2002, 2003, 2004, 2005, 2006},
                              {9, 0, 0, 10, 0, 0, 9, 1, 0, 9.5, 0, 0, 9.5, .5, 0, 9, .5, 0});
    gm::model::mesh::addElementsByType(shared, 2, {901}, {2001, 2002, 2003});
    gm::model::mesh::addElementsByType(shared, 9, {902}, {2001, 2002, 2003, 2004, 2005, 2006});
    const ModelSnapshot written = TarnelTest::SnapshotOfCurrentModel();
    ASSERT_EQ(written.elements.size(), kMedShapes.size() + 2);
    // Binary, so that coordinates come back bit for bit from gmsh's format too.
    gm::option::setNumber("Mesh.Binary", 1);
    for (const std::string name : {"shapes.msh", "Shapes.MeD"}) {
        const std::string path = directory.File(name), model = name.substr(0, 6);
        gm::model::setCurrent("med-test");
        gm::write(path);
        gm::model::add("empty");
        std::vector<std::string> models = TarnelTest::ModelNames();
        gm::open(path);
        models.back() = model;
        EXPECT_EQ(TarnelTest::ModelNames(), models);
        gm::open(path);
        models.push_back(model);
        EXPECT_EQ(TarnelTest::ModelNames(), models);
        std::string fileName;
        gm::model::getFileName(fileName);
        EXPECT_EQ(fileName, path);
        const ModelSnapshot read = TarnelTest::SnapshotOfCurrentModel();
        EXPECT_EQ(read.nodes, written.nodes) << name;
        EXPECT_EQ(read.Shapes(), written.Shapes()) << name;
    }
    const TarnelTest::MedFileMesh content = TarnelTest::ReadMedFile(directory.File("Shapes.MeD"));
    EXPECT_EQ(content.meshCount, 1);
    EXPECT_EQ(content.name, "med-test");

    // Reference volumes: gmsh's unit tetrahedron, [-1, 1]^3, the unit right
    // triangle times [-1, 1], the pyramid on [-1, 1]^2 of height 1; the
    // second-order volumes have their corners first.
    const std::vector<std::tuple<int, int, double>> volumes = {
        {MED_TETRA4, MED_TETRA4, 1.0 / 6.0}, {MED_TETRA10, MED_TETRA4, 1.0 / 6.0}, {MED_HEXA8, MED_HEXA8, 8.0},
        {MED_HEXA20, MED_HEXA8, 8.0},        {MED_HEXA27, MED_HEXA8, 8.0},         {MED_PENTA6, MED_PENTA6, 1.0},
        {MED_PENTA15, MED_PENTA6, 1.0},      {MED_PENTA18, MED_PENTA6, 1.0},       {MED_PYRA5, MED_PYRA5, 4.0 / 3.0}};
    for (const auto& [type, cornerType, reference] : volumes)
        EXPECT_NEAR(enclosedVolume(content.ElementNodes(type, 0), kMedOutwardFaces.at(cornerType)),
                    reference * kMapDeterminant, 1e-9)
            << "MED type " << type;

    for (const auto& [type, higherNodes] : kMedHigherOrderNodes) {
        const std::vector<Point> nodes = content.ElementNodes(type, 0);
        const std::size_t corners = nodes.size() - higherNodes.size();
        for (std::size_t h = 0; h < higherNodes.size(); ++h) {
            Point middle = {0, 0, 0};
            for (int corner : higherNodes[h])
                for (int d = 0; d < 3; ++d) middle[d] += nodes[corner - 1][d] / double(higherNodes[h].size());
            for (int d = 0; d < 3; ++d)
                EXPECT_NEAR(nodes[corners + h][d], middle[d], 1e-12) << "MED type " << type << ", node " << corners + h + 1;
        }
    }

    // Faces keep the normal of gmsh's reference plane z = 0 under the map.
    const Point gmshNormal = cross(placed({1, 0, 0}), placed({0, 1, 0}));
    for (int type : {MED_TRIA3, MED_TRIA6, MED_QUAD4, MED_QUAD8, MED_QUAD9}) {
        const std::vector<Point> nodes = content.ElementNodes(type, 0);
        EXPECT_GT(dot(cross(minus(nodes[1], nodes[0]), minus(nodes[2], nodes[0])), gmshNormal), 0.0) << "MED type " << type;
    }
}

// Another writer's file comes back with its numbers (unnumbered elements
// after the largest), coordinates and groups from its families; written
// again, nodes carry positive families, elements negative ones, a group
// without a name is named after its dimension and tag, and every group
// comes back with its members.
TEST_F(MedFileTest, AnotherWritersFileComesBackAndTravelsAgainWithItsGroups)
{
    const std::string path = directory.File("bracket.med");
    TarnelTest::WriteBracket(path);
    TarnelTest::LogCapture capture;
    gm::open(path);
    EXPECT_EQ(capture.Messages(LogLevel::Warn),
              std::vector<std::string>{"MED file '" + path + "' holds 2 meshes; only the first, 'bracket', is read."});
    EXPECT_EQ(TarnelTest::CurrentModel(), "bracket");
    const ModelSnapshot read = TarnelTest::SnapshotOfCurrentModel();
    EXPECT_EQ(read.nodes.at(125), (Point{0.5, 0.5, 1.8}));
    EXPECT_EQ(read.nodes.at(131), (Point{3, 3, 3}));
    // gmsh walks a volume's base with its normal pointing in: MED's bases
    // come back reversed.
    EXPECT_EQ(read.Shapes(), (std::map<std::size_t, ModelSnapshot::Shape>{
                                 {7001, {5, {101, 104, 107, 110, 113, 116, 119, 122}}},
                                 {7002, {7, {113, 116, 119, 122, 125}}},
                                 {7003, {4, {104, 107, 116, 128}}},
                                 {501, {2, {101, 104, 107}}},
                                 {502, {2, {101, 107, 110}}},
                                 {7004, {1, {101, 104}}},
                                 {7005, {1, {104, 107}}},
                                 {9, {15, {131}}}}));
    using Members = std::set<std::size_t>;
    std::map<std::string, Members> groups = {
        {"0:Anchor", {101, 104}}, {"2:Floor", {501, 502}}, {"3:Solid", {7001, 7002, 7003}}, {"3:Tip", {7003}}};
    EXPECT_EQ(read.GroupMembers(), groups);
    EXPECT_EQ(read.groups.at({0, "Anchor"}).elements, Members{9});

    const int unnamed = gm::model::addPhysicalGroup(1, {read.elements.at(7004).entity});
    groups["1:Physical1D_" + std::to_string(unnamed)] = {7004, 7005};
    gm::write(directory.File("again.med"));
    const TarnelTest::MedFileMesh content = TarnelTest::ReadMedFile(directory.File("again.med"));
    EXPECT_TRUE(content.familyGroups.at(0).empty());
    for (int family : content.nodeFamilies) EXPECT_GE(family, 0);
    for (const auto& [type, cells] : content.cells)
        for (int family : cells.families) EXPECT_LT(family, 0) << "MED type " << type;
    gm::open(directory.File("again.med"));
    const ModelSnapshot reread = TarnelTest::SnapshotOfCurrentModel();
    EXPECT_EQ(reread.Shapes(), read.Shapes());
    EXPECT_EQ(reread.GroupMembers(), groups);
    EXPECT_EQ(reread.groups.at({0, "Anchor"}).elements, Members{9});
}

// Without "Mesh.SaveAll" only the entities in physical groups are written,
// with the nodes their elements use, unless the model has none; with it,
// everything. The kept triangle uses node 3 of the other entity.
TEST_F(MedFileTest, WhatIsWrittenFollowsSaveAll)
{
    const int other = gm::model::addDiscreteEntity(2);
    const int kept = gm::model::addDiscreteEntity(2);
    gm::model::mesh::addNodes(2, other, {1, 2, 3}, {0, 0, 0, 1, 0, 0, 0, 1, 0});
    gm::model::mesh::addNodes(2, kept, {4, 5, 6}, {5, 0, 0, 6, 0, 0, 5, 1, 0});
    gm::model::mesh::addElementsByType(other, 2, {1}, {1, 2, 3});
    gm::model::mesh::addElementsByType(kept, 2, {2}, {4, 5, 3});
    const struct {
        int saveAll;
        bool withGroup;
        std::vector<std::size_t> elements;
        std::size_t nodes;
    } cases[] = {{0, false, {1, 2}, 6}, {0, true, {2}, 4}, {1, true, {1, 2}, 6}};
    for (const auto& c : cases) {
        gm::model::setCurrent("med-test");
        if (c.withGroup && TarnelTest::SnapshotOfCurrentModel().groups.empty())
            gm::model::addPhysicalGroup(2, {kept}, -1, "Kept");
        gm::option::setNumber("Mesh.SaveAll", c.saveAll);
        gm::write(directory.File("saved.med"));
        gm::open(directory.File("saved.med"));
        const ModelSnapshot read = TarnelTest::SnapshotOfCurrentModel();
        std::vector<std::size_t> elements;
        for (const auto& element : read.elements) elements.push_back(element.first);
        EXPECT_EQ(elements, c.elements) << c.saveAll << c.withGroup;
        EXPECT_EQ(read.nodes.size(), c.nodes) << c.saveAll << c.withGroup;
    }
}

// What cannot be opened or written fails with its reason, leaves the models
// as they were, writes no file and nothing to the terminal.
TEST_F(MedFileTest, FilesThatCannotBeOpenedOrWrittenFailWithTheirReason)
{
    BuildOneElementOfEachType(kMedShapes);
    gm::write(directory.File("cut.med"));
    const std::string whole = TarnelTest::ReadFile(directory.File("cut.med"));
    TarnelTest::WriteFile(directory.File("cut.med"), whole.substr(0, whole.size() / 2));
    TarnelTest::WriteFile(directory.File("notes.med"), "nodes: 1 2 3\n");
    writeOneElement(directory.File("twice.med"), MED_TRIA3, {7, 8, 7});
    for (const auto& [type, name] : std::map<int, std::string>{{MED_TRIA7, "TRIA7"}, {MED_PYRA13, "PYRA13"}, {MED_OCTA12, "OCTA12"}})
        writeOneElement(directory.File(name + ".med"), type);
    const std::string unreadable = "Unable to read MED file '" + directory.Path() + "/";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"missing.msh", "Unable to open file '" + directory.File("missing.msh") + "'"},
        {"missing.med", "Unable to open file '" + directory.File("missing.med") + "'"},
        {"", "Unable to open file '" + directory.File("") + "'"},
        {"notes.med", unreadable + "notes.med': it is not a MED file"},
        {"cut.med", unreadable + "cut.med': it is damaged or not a MED file of a version this library reads"},
        {"twice.med", unreadable + "twice.med': node number 7 is used more than once"},
        {"TRIA7.med", unreadable + "TRIA7.med': mesh 'odd' holds MED_TRIA7 elements, which are not an element shape of this system"},
        {"PYRA13.med", unreadable + "PYRA13.med': mesh 'odd' holds MED_PYRA13 elements, which are not an element shape of this system"},
        {"OCTA12.med", unreadable + "OCTA12.med': mesh 'odd' holds MED_OCTA12 elements, which are not an element shape of this system"},
    };
    const std::vector<std::string> models = TarnelTest::ModelNames();
    testing::internal::CaptureStderr();
    for (const auto& [name, expected] : cases) EXPECT_EQ(FailureOf([&] { gm::open(directory.File(name)); }), expected);
    EXPECT_EQ(TarnelTest::ModelNames(), models);
    EXPECT_EQ(TarnelTest::CurrentModel(), "med-test");

    const std::string nowhere = directory.File("no-such-directory/out.med"), pyramid = directory.File("pyramid.med");
    EXPECT_EQ(FailureOf([&] { gm::write(nowhere); }), "Unable to write MED file '" + nowhere + "': the file cannot be created");
    gm::model::add("pyramid");
    BuildOneElementOfEachType({14});
    EXPECT_EQ(FailureOf([&] { gm::write(pyramid); }),
              "Unable to write MED file '" + pyramid + "': MED has no 14-node pyramid (element 254)");
    EXPECT_FALSE(TarnelTest::FileExists(pyramid));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}
