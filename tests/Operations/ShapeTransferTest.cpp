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

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Extent {
    double dx, dy;
};

// The extent of everything in the current model after synchronising.
Extent modelExtent()
{
    gm::model::occ::synchronize();
    gm::vectorpair entities;
    gm::model::getEntities(entities, -1);
    double xmin = 1e300, ymin = 1e300, xmax = -1e300, ymax = -1e300;
    for (const auto& entity : entities) {
        double a, b, c, d, e, f;
        gm::model::getBoundingBox(entity.first, entity.second, a, b, c, d, e, f);
        xmin = std::min(xmin, a);
        ymin = std::min(ymin, b);
        xmax = std::max(xmax, d);
        ymax = std::max(ymax, e);
    }
    return {xmax - xmin, ymax - ymin};
}

class ShapeTransfer : public testing::Test {
protected:
    void SetUp() override { MeshEngineWrapper::getInstance().SetMeshExportPath(directory.Path()); }
    TarnelTest::TempDirectory directory;
};

}  // namespace

TEST(BoxEndRatio, RoundsBothValuesThenTheQuotient)
{
    EXPECT_EQ(BoxEndRatio(10.0, 10.0), 1.0);
    EXPECT_EQ(BoxEndRatio(10000.0, 10.0), 1000.0);
    // 1.0625 exactly: the quotient 1062.5 thousandths rounds away from zero.
    EXPECT_EQ(BoxEndRatio(1.0625, 1.0), 1.063);
    EXPECT_EQ(BoxEndRatio(-1.0625, 1.0), -1.063);
    // Values are compared at 7 decimals: 1e-8 is 0 there.
    EXPECT_EQ(BoxEndRatio(1.00000001, 1.0), 1.0);
}

TEST(BoxEndRatio, InfiniteCountsAsZeroAndZeroOverZeroIsNaN)
{
    EXPECT_EQ(BoxEndRatio(1e-3, 0.0), 0.0);
    EXPECT_EQ(BoxEndRatio(-1e-3, 0.0), 0.0);
    EXPECT_EQ(BoxEndRatio(1e-3, 4e-8), 0.0);
    EXPECT_TRUE(std::isnan(BoxEndRatio(0.0, 0.0)));
    EXPECT_TRUE(std::isnan(BoxEndRatio(4e-8, 0.0)));
}

TEST(GreatestRatio, NaNNeverWins)
{
    EXPECT_EQ(GreatestRatio({kNaN, 1.0, 2.0, kNaN, 0.5, kNaN}), 2.0);
    EXPECT_EQ(GreatestRatio({1.0, kNaN, kNaN, kNaN, kNaN, kNaN}), 1.0);
    EXPECT_EQ(GreatestRatio({0.0, 0.0, -1.0, 0.0, 0.0, 0.0}), 0.0);
    EXPECT_TRUE(std::isnan(GreatestRatio({kNaN, kNaN, kNaN, kNaN, kNaN, kNaN})));
}

TEST_F(ShapeTransfer, AnEdgeArrivesAtItsSizeThroughTheStepFile)
{
    Mesh mesh(true);
    TopoDS_Shape edge = TarnelTest::StraightEdge(10.0);
    TransferShapeToGmsh(edge, ShapeTransferVariant::Edge);
    EXPECT_TRUE(TarnelTest::FileExists(directory.File("tmp_mesh.step")));
    gm::vectorpair curves;
    gm::model::occ::synchronize();
    gm::model::getEntities(curves, 1);
    EXPECT_EQ(curves.size(), 1u);
    EXPECT_NEAR(modelExtent().dx, 10.0, 1e-6);
}

TEST_F(ShapeTransfer, AnEdgeReadLargerIsScaledBack)
{
    gm::option::setNumber("Geometry.OCCScaling", 1000);
    Mesh mesh(true);
    TopoDS_Shape edge = TarnelTest::StraightEdge(10.0);
    TransferShapeToGmsh(edge, ShapeTransferVariant::Edge);
    // Scaled by 1/1000 and read again 1000 times larger: the original size
    // (gmsh's box carries the edge's tolerance, scaled too).
    EXPECT_NEAR(modelExtent().dx, 10.0, 1e-3);
    gm::vectorpair curves;
    gm::model::getEntities(curves, 1);
    EXPECT_EQ(curves.size(), 1u);
}

TEST_F(ShapeTransfer, AnEdgeReadSmallerIsLeftAsImported)
{
    gm::option::setNumber("Geometry.OCCScaling", 0.5);
    Mesh mesh(true);
    TopoDS_Shape edge = TarnelTest::StraightEdge(10.0);
    TransferShapeToGmsh(edge, ShapeTransferVariant::Edge);
    EXPECT_NEAR(modelExtent().dx, 5.0, 1e-6);
}

TEST_F(ShapeTransfer, AFaceIsRescaledOnlyAboveTwiceItsSize)
{
    gm::option::setNumber("Geometry.OCCScaling", 1000);
    Mesh scaledBack(true);
    TopoDS_Shape face = TarnelTest::RectangleFace(2.0, 1.0);
    TransferShapeToGmsh(face, ShapeTransferVariant::Face);
    EXPECT_NEAR(modelExtent().dx, 2.0, 1e-3);

    gm::option::setNumber("Geometry.OCCScaling", 1.5);
    Mesh leftLarger(true);
    TransferShapeToGmsh(face, ShapeTransferVariant::Face);
    EXPECT_NEAR(modelExtent().dx, 3.0, 1e-6);
    EXPECT_NEAR(modelExtent().dy, 1.5, 1e-6);
}

TEST_F(ShapeTransfer, AFailedExportPropagates)
{
    MeshEngineWrapper::getInstance().SetMeshExportPath("/no/such/directory");
    Mesh mesh(true);
    TopoDS_Shape face = TarnelTest::RectangleFace(1.0, 1.0);
    EXPECT_THROW(TransferShapeToGmsh(face, ShapeTransferVariant::Face), std::runtime_error);
}
