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

// gmsh reads the STEP file scaled by "Geometry.OCCScaling"; a shape read
// larger than it is (an edge above 1, a face above 2) is scaled back. The box
// ends of an edge on the x axis that are 0 give no ratio and never win.
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

void PrintTo(const TransferCase& row, std::ostream* out) { *out << row.name; }

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
    gm::vectorpair curves;
    gm::model::getEntities(curves, 1);
    EXPECT_EQ(curves.size(), transfer.edge ? 1u : 4u);
    double xmin, ymin, zmin, xmax, ymax, zmax;
    gm::model::getBoundingBox(-1, -1, xmin, ymin, zmin, xmax, ymax, zmax);
    EXPECT_NEAR(xmax - xmin, transfer.dx, transfer.tolerance);
    EXPECT_NEAR(ymax - ymin, transfer.dy, transfer.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Transfers, ShapeTransferOf, testing::ValuesIn(kTransferCases),
                         [](const testing::TestParamInfo<TransferCase>& info) { return info.param.name; });
