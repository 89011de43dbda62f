#include <functional>

#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"
#include "MeshEngineWrapper.h"
#include "MeshFactory.h"
#include "Operations/Mesher1D.h"
#include "Operations/Mesher2D.h"
#include "TempDirectory.h"
#include "TestMeshes.h"
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

namespace {

// A record the case must log, in this order among the others.
struct Expected {
    LogLevel level;
    std::string message, location;
};

// A 1D or 2D meshing request that fails, while the master mesh holds two
// triangles that must come out of it unchanged.
struct FailureCase {
    std::string name;
    std::function<MeshingResult(Mesh&)> run;
    std::string error;              // "" when the mesh stays valid
    std::vector<Expected> records;  // the error records exactly, the others in order
};

std::function<MeshingResult(Mesh&)> edge(bool null, std::string directory)
{
    return [=](Mesh& mesh) {
        if (!directory.empty()) MeshFactory::SetExportDirectory(directory);
        TopoDS_Shape shape = null ? TopoDS_Shape() : TarnelTest::StraightEdge(10.0);
        return Mesher1D(mesh, shape).ComputeMesh(Mesh1DSettings(1.0, MeshElementOrder::Linear));
    };
}

std::function<MeshingResult(Mesh&)> face(bool null, double size, bool remesh)
{
    return [=](Mesh& mesh) {
        TopoDS_Shape shape = null ? TopoDS_Shape() : TarnelTest::RectangleFace(10, 5);
        Mesher2D mesher(mesh, shape);
        const Mesh2DSettings settings = Mesh2DSettings::GetDefaultTriaMeshSettings(size);
        return remesh ? mesher.ComputeRemesh(settings) : mesher.ComputeMesh(settings);
    };
}

MeshingResult faceThroughTheFactory(Mesh& mesh)
{
    Handle(GEOM_Object) object = TarnelTest::GeomObject(TarnelTest::RectangleFace(10, 5));
    MeshFactory().Create2DMesh(mesh, object, Mesh2DSettings::GetDefaultTriaMeshSettings(-1.0), false);
    return MeshingResult::Failed;
}

const char* const kNullShape = "Provided a null face for meshing!";
const char* const kMeshLocation = "Tarnel::Mesher2D::ComputeMesh";
// gmsh refuses a negative size while it meshes the curves.
const char* const kNegativeSize = "Wrong mesh element size lc = -1.2 (lcmin = -0.8, lcmax = -1.2)";
const Expected kFailed2D{LogLevel::Error, "Failed to create 2D mesh!", kMeshLocation};
const Expected kReset{LogLevel::Info, "GMSH session reset complete.", "Tarnel::MeshEngineWrapper::ResetGmshSession"};

const FailureCase kFailureCases[] = {
    {"EdgeOfANullShape", edge(true, ""), "", {{LogLevel::Error, kNullShape, "Tarnel::Mesher1D::Mesher1D"}}},
    {"EdgeWhoseShapeCannotBeWritten", edge(false, "/no/such/directory"),
     "ExportSTEP: could not write /no/such/directory/tmp_mesh.step",
     {{LogLevel::Error, "Failed to create 1D mesh!", "Tarnel::Mesher1D::ComputeMesh"}}},
    {"FaceOfANullShape", face(true, 1.0, false), "",
     {{LogLevel::Error, kNullShape, "Tarnel::Mesher2D::Mesher2D"},
      {LogLevel::Error, "ComputeMesh called on invalid Mesher2D instance.", kMeshLocation}}},
    {"FaceRemeshOfANullShape", face(true, 1.0, true), "", {{LogLevel::Error, kNullShape, "Tarnel::Mesher2D::Mesher2D"}}},
    {"FaceOfANegativeSize", face(false, -1.0, false), kNegativeSize, {kFailed2D, kReset}},
    {"FaceRemeshOfANegativeSize", face(false, -1.0, true), kNegativeSize,
     {{LogLevel::Error, "Failed to create 2D mesh!", "Tarnel::Mesher2D::ComputeRemesh"}, kReset}},
    {"FaceOfANegativeSizeThroughTheFactory", faceThroughTheFactory, kNegativeSize,
     {kFailed2D, kReset, {LogLevel::Warn, "Returning a failed mesh result.", "Tarnel::MeshFactory::Create2DMesh"}}},
};

class MesherFailure : public testing::TestWithParam<FailureCase> {};

}  // namespace

TEST_P(MesherFailure, IsLoggedAndLeavesTheMasterMeshAsItWas)
{
    const FailureCase& failure = GetParam();
    TarnelTest::TempDirectory directory;
    MeshFactory::SetExportDirectory(directory.Path());
    MasterMesh& master = MasterMesh::getInstance();
    ComponentMesh placed(4, 40, 41, 42, 43);
    Mesh triangles = TarnelTest::SourceMesh(TarnelTest::AddTwoTrianglesSharingAnEdge);
    master.ExtendComponentMesh(placed, triangles, TarnelTest::AllSolverTypes(), false);
    const std::string before = MasterMeshChecker::Describe(master);

    Mesh mesh(true);
    TarnelTest::LogCapture capture;
    EXPECT_EQ(failure.run(mesh), MeshingResult::Failed);
    EXPECT_EQ(mesh.IsValid(), failure.error.empty());
    EXPECT_EQ(mesh.GetErrorMessage(), failure.error);
    std::size_t next = 0;
    std::vector<std::string> errors, expectedErrors;
    for (const LogRecord& record : capture.Records()) {
        if (record.level == LogLevel::Error) errors.push_back(record.message);
        EXPECT_TRUE(!record.hasException || record.exceptionText == failure.error) << record.exceptionText;
        if (next < failure.records.size() && record.message == failure.records[next].message) {
            EXPECT_EQ(record.level, failure.records[next].level);
            EXPECT_EQ(record.location, failure.records[next++].location);
        }
    }
    for (const Expected& expected : failure.records)
        if (expected.level == LogLevel::Error) expectedErrors.push_back(expected.message);
    EXPECT_EQ(next, failure.records.size());
    EXPECT_EQ(errors, expectedErrors);
    MeshEngineWrapper& engine = MeshEngineWrapper::getInstance();
    if (engine.DoesMeshExist(mesh)) engine.RemoveMesh(mesh);
    EXPECT_EQ(MasterMeshChecker::Describe(master), before);
    EXPECT_MASTER_MESH_CONSISTENT();
}

INSTANTIATE_TEST_SUITE_P(Meshers, MesherFailure, testing::ValuesIn(kFailureCases),
                         [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });
