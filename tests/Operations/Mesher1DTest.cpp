#include <gtest/gtest.h>

#include "GmshQueries.h"
#include "MeshFactory.h"
#include "TempDirectory.h"
#include "TestShapes.h"

using namespace Tarnel;

namespace {

// A straight edge of the given length meshed through the factory.
struct EdgeCase {
    std::string name;
    double length, size;
    std::size_t maximum;
    std::size_t lines, points;
};

void PrintTo(const EdgeCase& row, std::ostream* out) { *out << row.name; }

const EdgeCase kEdgeCases[] = {
    {"SizeTwo", 10.0, 2.0, Mesh1DSettings::kDefaultMaximumElementCount, 5, 2},
    // The estimate equals the maximum: still accepted.
    {"ExactlyTheMaximum", 10.0, 1.0, 10, 10, 2},
};

class EdgeMeshing : public testing::TestWithParam<EdgeCase> {};

}  // namespace

TEST_P(EdgeMeshing, EdgesGetLineElementsOfTheRequestedSize)
{
    const EdgeCase& edgeCase = GetParam();
    TarnelTest::TempDirectory directory;
    MeshFactory::SetExportDirectory(directory.Path());
    Mesh mesh(true);
    Handle(GEOM_Object) edge = TarnelTest::GeomObject(TarnelTest::StraightEdge(edgeCase.length));
    Mesh1DSettings settings(edgeCase.size, MeshElementOrder::Linear);
    settings.SetMaximumElementCount(edgeCase.maximum);
    MeshFactory().Create1DMesh(mesh, edge, settings);
    ASSERT_TRUE(mesh.IsValid()) << mesh.GetErrorMessage();
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.MeshSizeMin"), edgeCase.size);
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.MeshSizeMax"), edgeCase.size);
    // No element filter: the points of the edge come along with the lines.
    EXPECT_EQ(mesh.GetMeshAdditionElementFilter(), -1);
    std::size_t lines = 0, points = 0;
    for (const Element& element : mesh.GetAllElements()) {
        lines += element.shape == LINE_2NODE;
        points += element.shape == POINT_1NODE;
    }
    EXPECT_EQ(lines, edgeCase.lines);
    EXPECT_EQ(points, edgeCase.points);
}

INSTANTIATE_TEST_SUITE_P(Edges, EdgeMeshing, testing::ValuesIn(kEdgeCases),
                         [](const testing::TestParamInfo<EdgeCase>& info) { return info.param.name; });
