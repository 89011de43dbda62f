#include <gtest/gtest.h>

#include <BRep_Tool.hxx>
#include <TopExp.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Vertex.hxx>

#include "Diagnostics/MorvaneException.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "Operations/MeshHelper.h"

using namespace Tarnel;

namespace {

struct Degradation {
    const char* name;
    std::vector<int> nodes;
    ElementShape shape;
    ElementShape expectedShape;
    std::vector<int> expectedNodes;  // empty: not written
    bool warns;
};

const Degradation kDegradations[] = {
    {"TriangleUnchanged", {7, 8, 9}, TRIANGLE_3NODE, TRIANGLE_3NODE, {7, 8, 9}, false},
    {"CollapsedTriangle", {7, 7, 9}, TRIANGLE_3NODE, INVALID, {}, false},
    {"QuadrangleWithAdjacentCorners", {1, 2, 2, 3}, QUAD_4NODE, TRIANGLE_3NODE, {1, 2, 3}, false},
    {"QuadrangleWithFirstAndLastCorners", {1, 2, 3, 1}, QUAD_4NODE, TRIANGLE_3NODE, {1, 2, 3}, false},
    {"QuadrangleWithDiagonalCorners", {1, 2, 1, 3}, QUAD_4NODE, INVALID, {}, false},
    {"QuadrangleWithThreeEqualCorners", {4, 4, 4, 5}, QUAD_4NODE, INVALID, {}, false},
    // Two pairs merged leave a line, not the triangle (a, b, b).
    {"QuadrangleCollapsedInTwoPairs", {4, 4, 5, 5}, QUAD_4NODE, INVALID, {}, false},
    {"CollapsedLine", {5, 5}, LINE_2NODE, INVALID, {}, false},
    {"CollapsedSecondOrderLine", {5, 5, 6}, LINE_3NODE, INVALID, {}, true},
    {"SecondOrderLineUnchanged", {5, 6, 7}, LINE_3NODE, LINE_3NODE, {5, 6, 7}, false},
    {"EmptyList", {}, HEXA_8NODE, HEXA_8NODE, {}, false},
};

class MeshHelperDegradation : public testing::TestWithParam<Degradation> {};

Node nodeAt(double x, double y, double z)
{
    return Node(true, 1, XYZ(x, y, z));
}

}  // namespace

TEST_P(MeshHelperDegradation, GivesTheShapeLeftAfterMerging)
{
    const Degradation& degradation = GetParam();
    std::vector<int> nodes = degradation.nodes;
    std::vector<int> result{-1};
    TarnelTest::LogCapture capture;
    EXPECT_EQ(MeshHelper::ComputeDegradedElement(nodes, degradation.shape, result), degradation.expectedShape);
    EXPECT_EQ(nodes, degradation.nodes);
    EXPECT_EQ(result, degradation.expectedShape == INVALID ? std::vector<int>{-1} : degradation.expectedNodes);
    const std::string warning = "We are not handling element type " + std::to_string(degradation.shape) +
                                " after node merging! This means we are simply deleting the resulting element!";
    EXPECT_EQ(capture.Count(LogLevel::Warn, warning), degradation.warns ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Shapes, MeshHelperDegradation, testing::ValuesIn(kDegradations),
                         [](const testing::TestParamInfo<Degradation>& info) { return std::string(info.param.name); });

TEST(MeshHelper, DistanceAndEdgeBetweenTwoNodes)
{
    EXPECT_EQ(MeshHelper::Distance(nodeAt(0, 0, 0), nodeAt(3, 4, 0)), 5.0);
    const Handle(GEOM_Object) edge = MeshHelper::ConstructEdgeFromNodes(nodeAt(1, 2, 3), nodeAt(4, 6, 3));
    ASSERT_FALSE(edge.IsNull());
    TopoDS_Vertex first, last;
    TopExp::Vertices(TopoDS::Edge(edge->GetValue()), first, last);
    EXPECT_TRUE(BRep_Tool::Pnt(first).IsEqual(gp_Pnt(1, 2, 3), 1e-12));
    EXPECT_TRUE(BRep_Tool::Pnt(last).IsEqual(gp_Pnt(4, 6, 3), 1e-12));
}

// Two components of one triangle each: a preview must give the IDs the real
// run gives, the second component's going on from the first's.
TEST(MeshHelper, ARebuildPreviewGivesTheIdsOfTheRealRun)
{
    MasterMesh& master = MasterMesh::getInstance();
    master.InsertMeshComponent(ComponentMesh(1, 10, 11, 12, 13));
    master.InsertMeshComponent(ComponentMesh(2, 20, 21, 22, 23));
    std::vector<XYZ> corners{XYZ(0, 0, 0), XYZ(1, 0, 0), XYZ(0, 1, 0)};
    master.AddNodes(corners, false);
    std::unordered_map<int, std::vector<ElementData>> batches;
    MasterMeshChecker::AddToShapeBatch(master, TRIANGLE_3NODE, 1, {1, 2, 3}, batches);
    MasterMeshChecker::AddToShapeBatch(master, TRIANGLE_3NODE, 2, {3, 2, 1}, batches);
    EXPECT_THROW(MasterMeshChecker::AddToShapeBatch(master, TRIANGLE_6NODE, 1, {1, 2, 3, 1, 2, 3}, batches),
                 MorvaneException);

    std::unordered_map<std::string, int> solverTypes;
    const std::vector<MeshTransaction> preview = MasterMeshChecker::RebuildShapeBatches(master, batches, solverTypes, true);
    EXPECT_EQ(solverTypes.size(), 8u);
    EXPECT_EQ(solverTypes.at("15"), 0);
    const std::vector<MeshTransaction> real = MasterMeshChecker::RebuildShapeBatches(master, batches, solverTypes, false);
    EXPECT_MASTER_MESH_CONSISTENT();
    ASSERT_EQ(preview.size(), 2u);
    ASSERT_EQ(real.size(), 2u);
    for (std::size_t i = 0; i < real.size(); ++i) {
        EXPECT_EQ(preview[i].createdElements, real[i].createdElements);
        EXPECT_EQ(preview[i].createdElementNodeIds, real[i].createdElementNodeIds);
    }
    EXPECT_NE(real[0].createdElements[0], real[1].createdElements[0]);
    EXPECT_EQ(master.GetElementDefinition(real[1].createdElements[0]).attributes.dimension, DIMENSION_2D);
}
