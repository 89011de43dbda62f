#include <set>

#include <gtest/gtest.h>

#include <BRep_Tool.hxx>
#include <TopExp.hxx>
#include <TopTools_IndexedMapOfShape.hxx>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "TestMeshes.h"

using namespace Tarnel;

namespace {

// The master mesh of the queries: component 1 holds the two triangles
//
//   3 ------ 4        triangle 1: (1, 2, 3)
//   | \   2  |        triangle 2: (2, 4, 3)
//   |  1  \  |
//   1 ------ 2
//
// and, apart from them, the quadrangle 3 (5, 6, 7, 8) at x 2 to 3 and the
// six-node triangle 4 on nodes 5 to 8 and two more.
MasterMesh& masterOfQueries()
{
    MasterMesh& master = MasterMesh::getInstance();
    ComponentMesh component(1, 10, 11, 12, 13);
    Mesh source = TarnelTest::SourceMesh(TarnelTest::AddTwoTrianglesSharingAnEdge);
    master.ExtendComponentMesh(component, source, TarnelTest::AllSolverTypes(), false);
    std::vector<XYZ> far{XYZ(2, 0, 0), XYZ(3, 0, 0), XYZ(3, 1, 0), XYZ(2, 1, 0), XYZ(2.5, 0, 0), XYZ(2.5, 0.5, 0)};
    master.AddNodes(far, false);
    master.AddElements(1, {QUAD_4NODE, TRIANGLE_6NODE}, {}, {},
                       {ElementData{{5, 6, 7, 8}, {15}}, ElementData{{5, 6, 8, 9, 10, 7}, {12}}}, {},
                       ElementAttributes(), false);
    return master;
}

}  // namespace

TEST(MeshTopology, ElementsAtANodeOrAPointAndTheBorderOfASelection)
{
    MasterMesh& master = masterOfQueries();
    const std::vector<std::pair<int, int>> square{{1, 2}, {1, 3}, {2, 4}, {3, 4}};
    EXPECT_EQ(master.GetElementSelectionBorder({1, 2}), square);
    EXPECT_TRUE(master.GetElementSelectionBorder({}).empty());
    // The six-node triangle has no border here: it is logged and left out.
    TarnelTest::LogCapture capture;
    EXPECT_EQ(master.GetElementSelectionBorder({1, 2, 4}), square);
    EXPECT_EQ(capture.Count(LogLevel::Error, "invalid element shape"), 1);
    // No selection means every surface element.
    const std::vector<int> boundary = master.GetBoundaryNodeIDs({});
    EXPECT_EQ(std::set<int>(boundary.begin(), boundary.end()), (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8}));

    // One closed wire per run of border edges.
    const std::vector<Handle(GEOM_Object)> wires = master.GenerateBoundingWiresForElements({1, 2, 3});
    ASSERT_EQ(wires.size(), 2u);
    for (const Handle(GEOM_Object)& wire : wires) {
        TopTools_IndexedMapOfShape edges;
        TopExp::MapShapes(wire->GetValue(), TopAbs_EDGE, edges);
        EXPECT_EQ(edges.Extent(), 4);
        EXPECT_TRUE(BRep_Tool::IsClosed(wire->GetValue()));
    }
    EXPECT_EQ(ElementIds(master.GetElementsAssociatedWithNode(2)), " 1 2");
    // Node 9 lies on the quadrangle's edge 5-6 without being one of its nodes.
    EXPECT_EQ(ElementIds(master.GetElementsAssociatedWithNode(9)), " 4");
    EXPECT_EQ(ElementIds(master.GetElementsNearPosition(XYZ(0.75, 0.75, 0))), " 2");
}
