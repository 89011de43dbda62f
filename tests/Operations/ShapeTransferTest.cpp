#include <gtest/gtest.h>

#include "BadInput.h"
#include "Entities/Mesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "MeshEngineWrapper.h"
#include "MeshFactory.h"
#include "Operations/ShapeTransfer.h"
#include "TempDirectory.h"
#include "TestShapes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;
using TarnelTest::NumberOption;

namespace {

// gmsh reads the STEP file scaled by "Geometry.OCCScaling"; a shape read
// larger than it is (an edge above 1, a face above 2) is scaled back. The box
// ends of an edge on the x axis that are 0 give no ratio and never win.
// The edge of length 10 arrives through the factory's edge mesher, meshed
// with `size` into `lines` lines; the face [0, 2] x [0, 1] is transferred alone.
struct TransferCase : TarnelTest::Row {
    bool edge;
    double occScaling;
    double dx, dy, tolerance;
    double size = 0;
    std::size_t maximum = 0, lines = 0;
};

const std::size_t kDefaultMaximum = Mesh1DSettings::kDefaultMaximumElementCount;

const TransferCase kTransferCases[] = {
    {"Edge", true, 1.0, 10.0, 0.0, 1e-6, 2.0, kDefaultMaximum, 5},
    // gmsh's box carries the edge's tolerance, scaled too. The estimate of
    // 10 lines equals the maximum: still accepted.
    {"EdgeReadLarger", true, 1000.0, 10.0, 0.0, 1e-3, 1.0, 10, 10},
    {"EdgeReadSmaller", true, 0.5, 5.0, 0.0, 1e-6, 1.0, kDefaultMaximum, 5},
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
    if (transfer.edge) {
        Mesh1DSettings settings(transfer.size, MeshElementOrder::Linear);
        settings.SetMaximumElementCount(transfer.maximum);
        Handle(GEOM_Object) edge = TarnelTest::GeomObject(TarnelTest::StraightEdge(10.0));
        MeshFactory().Create1DMesh(mesh, edge, settings);
        ASSERT_TRUE(mesh.IsValid()) << mesh.GetErrorMessage();
        EXPECT_EQ(NumberOption("Mesh.MeshSizeMin"), transfer.size);
        EXPECT_EQ(NumberOption("Mesh.MeshSizeMax"), transfer.size);
        // No element filter: the two points of the edge come along with the lines.
        EXPECT_EQ(mesh.GetMeshAdditionElementFilter(), -1);
        EXPECT_EQ(mesh.GetAllElements().size(), transfer.lines + 2);
        MeshEngineWrapper::getInstance().ActivateMesh(mesh);
    } else {
        TopoDS_Shape face = TarnelTest::RectangleFace(2.0, 1.0);
        TransferShapeToGmsh(face, ShapeTransferVariant::Face);
        gm::model::occ::synchronize();
    }
    EXPECT_TRUE(TarnelTest::FileExists(directory.File("tmp_mesh.step")));
    gm::vectorpair curves;
    gm::model::getEntities(curves, 1);
    EXPECT_EQ(curves.size(), transfer.edge ? 1u : 4u);
    double xmin, ymin, zmin, xmax, ymax, zmax;
    gm::model::getBoundingBox(-1, -1, xmin, ymin, zmin, xmax, ymax, zmax);
    EXPECT_NEAR(xmax - xmin, transfer.dx, transfer.tolerance);
    EXPECT_NEAR(ymax - ymin, transfer.dy, transfer.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Transfers, ShapeTransferOf, testing::ValuesIn(kTransferCases), TarnelTest::RowName());
