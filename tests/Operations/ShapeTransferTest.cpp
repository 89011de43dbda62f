#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "Entities/Mesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "MeshEngineWrapper.h"
#include "Operations/ShapeTransfer.h"
#include "TempDirectory.h"
#include "TestShapes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;

TEST(ShapeTransfer, BoxEndRatiosRoundAndNaNNeverWins)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // {gmsh value, reference, ratio}: both values at 7 decimals, the
    // quotient at 3, halves away from zero; an infinite quotient counts as 0.
    const double ratios[][3] = {{10.0, 10.0, 1.0},   {10000.0, 10.0, 1000.0}, {1.0625, 1.0, 1.063},
                                {-1.0625, 1.0, -1.063}, {1.00000001, 1.0, 1.0}, {1e-3, 0.0, 0.0},
                                {1e-3, 4e-8, 0.0},    {0.0, 0.0, nan},          {4e-8, 0.0, nan}};
    for (const auto& r : ratios) {
        if (std::isnan(r[2]))
            EXPECT_TRUE(std::isnan(BoxEndRatio(r[0], r[1]))) << r[0] << " / " << r[1];
        else
            EXPECT_EQ(BoxEndRatio(r[0], r[1]), r[2]) << r[0] << " / " << r[1];
    }
    EXPECT_EQ(GreatestRatio({nan, 1.0, 2.0, nan, 0.5, nan}), 2.0);
    EXPECT_EQ(GreatestRatio({1.0, nan, nan, nan, nan, nan}), 1.0);
    EXPECT_TRUE(std::isnan(GreatestRatio({nan, nan, nan, nan, nan, nan})));
}

namespace {

// gmsh reads the STEP file scaled by "Geometry.OCCScaling"; a shape read
// larger than it is (an edge above 1, a face above 2) is scaled back.
struct TransferCase {
    std::string name;
    bool edge;
    double occScaling;
    double dx, dy, tolerance;
};

const TransferCase kTransferCases[] = {
    {"Edge", true, 1.0, 10.0, 0.0, 1e-6},
    // gmsh's box carries the edge's tolerance, scaled too.
    {"EdgeReadLarger", true, 1000.0, 10.0, 0.0, 1e-3},
    {"EdgeReadSmaller", true, 0.5, 5.0, 0.0, 1e-6},
    {"FaceReadLarger", false, 1000.0, 2.0, 1.0, 1e-3},
    {"FaceReadLargerByLessThanTwice", false, 1.5, 3.0, 1.5, 1e-6},
};

class ShapeTransferOf : public testing::TestWithParam<TransferCase> {};

}  // namespace

TEST_P(ShapeTransferOf, ShapesArriveAtTheirSize)
{
    const TransferCase& transfer = GetParam();
    TarnelTest::TempDirectory directory;
    MeshEngineWrapper::getInstance().SetMeshExportPath(directory.Path());
    gm::option::setNumber("Geometry.OCCScaling", transfer.occScaling);
    Mesh mesh(true);
    TopoDS_Shape shape = transfer.edge ? TarnelTest::StraightEdge(10.0) : TarnelTest::RectangleFace(2.0, 1.0);
    TransferShapeToGmsh(shape, transfer.edge ? ShapeTransferVariant::Edge : ShapeTransferVariant::Face);
    EXPECT_TRUE(TarnelTest::FileExists(directory.File("tmp_mesh.step")));

    gm::model::occ::synchronize();
    gm::vectorpair entities, curves;
    gm::model::getEntities(entities, -1);
    gm::model::getEntities(curves, 1);
    EXPECT_EQ(curves.size(), transfer.edge ? 1u : 4u);
    double xmin = 1e300, ymin = 1e300, xmax = -1e300, ymax = -1e300;
    for (const auto& entity : entities) {
        double a, b, c, d, e, f;
        gm::model::getBoundingBox(entity.first, entity.second, a, b, c, d, e, f);
        xmin = std::min(xmin, a);
        ymin = std::min(ymin, b);
        xmax = std::max(xmax, d);
        ymax = std::max(ymax, e);
    }
    EXPECT_NEAR(xmax - xmin, transfer.dx, transfer.tolerance);
    EXPECT_NEAR(ymax - ymin, transfer.dy, transfer.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Transfers, ShapeTransferOf, testing::ValuesIn(kTransferCases),
                         [](const testing::TestParamInfo<TransferCase>& info) { return info.param.name; });
