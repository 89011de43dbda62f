// Bad files, paths and meshing requests: copies and deletions that would
// destroy what they were given, exports and asset files without an export
// directory, files that hold no mesh, null geometry and element sizes gmsh
// would never finish with.

#include <iterator>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>

#include <gtest/gtest.h>

#include "BadInput.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshQueries.h"
#include "IOTools/FileTools.h"
#include "MeshEngineWrapper.h"
#include "MeshFactory.h"
#include "TestShapes.h"

using namespace Tarnel;
namespace fs = std::filesystem;

namespace TarnelTest {
namespace {

// Runs `call` in the case's directory, so that the relative paths in the
// messages are the same in every run.
std::string insideDirectory(const TempDirectory& directory, const std::function<std::string()>& call)
{
    const fs::path previous = fs::current_path();
    fs::current_path(directory.Path());
    const std::string answer = call();
    fs::current_path(previous);
    return answer;
}

// The regular files at the filesystem root with their modification times.
std::map<std::string, fs::file_time_type> rootFiles()
{
    std::map<std::string, fs::file_time_type> files;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator("/", error))
        if (entry.is_regular_file(error)) files[entry.path().string()] = entry.last_write_time(error);
    return files;
}

// Runs `call` without an export directory, then gives the case's directory
// back and tells which files at the root were written meanwhile.
std::string withoutExportDirectory(const TempDirectory& directory, const std::function<std::string()>& call)
{
    const std::map<std::string, fs::file_time_type> before = rootFiles();
    MeshFactory::SetExportDirectory("");
    std::string answer = call();
    MeshFactory::SetExportDirectory(directory.Path());
    std::string written;
    for (const auto& file : rootFiles()) {
        const auto earlier = before.find(file.first);
        if (earlier == before.end() || earlier->second != file.second) written += " " + file.first;
    }
    return answer + (written.empty() ? ", nothing written to /" : ", wrote" + written);
}

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// The caller's mesh after the request: valid or not with its error, and
// whether gmsh meshed anything into its model. The model is removed
// afterwards, so that the master mesh's description is the same.
std::string outcomeOf(Mesh& mesh)
{
    std::string answer = mesh.IsValid() ? "valid" : "invalid: " + mesh.GetErrorMessage();
    MeshEngineWrapper::getInstance().ActivateMesh(mesh);
    answer += ElementCount() == 0 ? ", no elements" : ", " + std::to_string(ElementCount()) + " elements";
    MeshEngineWrapper::getInstance().RemoveMesh(mesh);
    return answer;
}

std::string meshEdge(double length, Mesh1DSettings settings, Handle(GEOM_Object) edge = nullptr)
{
    if (length > 0) edge = GeomObject(StraightEdge(length));
    Mesh mesh(true);
    MeshFactory().Create1DMesh(mesh, edge, settings);
    return outcomeOf(mesh);
}

std::string meshFace(double width, double height, Mesh2DSettings settings, Handle(GEOM_Object) face = nullptr)
{
    if (width > 0) face = GeomObject(RectangleFace(width, height));
    Mesh mesh(true);
    MeshFactory().Create2DMesh(mesh, face, settings, false);
    return outcomeOf(mesh);
}

Mesh1DSettings edgeSettings(double size)
{
    return Mesh1DSettings(size, MeshElementOrder::Linear);
}

Mesh2DSettings faceSettings(double size, std::size_t maximum = Mesh2DSettings::kDefaultMaximumElementCount)
{
    Mesh2DSettings settings = Mesh2DSettings::GetDefaultTriaMeshSettings(size);
    settings.SetMaximumElementCount(maximum);
    return settings;
}

const double kNaN = std::numeric_limits<double>::quiet_NaN();

const BadInputCase kFileCases[] = {
    {"CopyOfAFileOntoItself",
     [](const TempDirectory& directory) {
         return insideDirectory(directory, [] {
             WriteFile("a.msh", "content");
             const std::string answer = quoted(FileTools::RenameFile("a.msh", "a.msh", true));
             return answer + ", content " + ReadFile("a.msh");
         });
     },
     "\"\", content content", LogLevel::Error, "Error copying a file onto itself!"},
    {"CopyOfAMissingFileOverAnExistingOne",
     [](const TempDirectory& directory) {
         return insideDirectory(directory, [] {
             WriteFile("b.msh", "kept");
             const std::string answer = quoted(FileTools::RenameFile("missing.msh", "b.msh", true));
             return answer + ", b.msh " + ReadFile("b.msh");
         });
     },
     "\"\", b.msh kept", LogLevel::Error, "Error opening file for copying!"},
    {"CopyOntoADirectory",
     [](const TempDirectory& directory) {
         return insideDirectory(directory, [] {
             WriteFile("a.msh", "content");
             fs::create_directory("target");
             const std::string answer = quoted(FileTools::RenameFile("a.msh", "target", true));
             const auto entries = std::distance(fs::directory_iterator("."), fs::directory_iterator());
             return answer + ", " + std::to_string(entries) + " entries";
         });
     },
     "\"\", 2 entries", LogLevel::Error, "Error during file copy!"},
    {"DeleteDirectoryRecursivelyOfALinkToADirectory",
     [](const TempDirectory& directory) {
         return insideDirectory(directory, [] {
             fs::create_directory("target");
             WriteFile("target/keep.txt", "kept");
             fs::create_directory_symlink("target", "link");
             const std::string answer = Answer(FileTools::DeleteDirectoryRecursively("link"));
             return answer + ", " + ReadFile("target/keep.txt") + (fs::is_symlink("link") ? ", link kept" : "");
         });
     },
     "false, kept, link kept", LogLevel::Error, "Not deleting link: it is a symbolic link, not a directory."},
    {"PyramidRewriteOfADirectory",
     [](const TempDirectory& directory) {
         return insideDirectory(directory, [] {
             fs::create_directory("model.inp");
             return Answer(_convertPyramidElementsToReducedHexInAbaqusInp("model.inp"));
         });
     },
     "false", LogLevel::Error, "Failed to open Abaqus INP file for post-processing: model.inp"},
    {"LoadOfAnEmptyMsh",
     [](const TempDirectory& directory) {
         return insideDirectory(directory, [] {
             WriteFile("empty.msh", "");
             Mesh mesh;
             mesh.SetFileName("empty");
             return Answer(mesh.LoadMesh(".", MeshFileFormat::MSH));
         });
     },
     "false", LogLevel::Error,
     "Mesh file holds no mesh: ./empty.msh"},
};

const BadInputCase kNoExportDirectoryCases[] = {
    {"ExportWithoutExportDirectory",
     [](const TempDirectory& directory) {
         return withoutExportDirectory(directory, [] {
             return Answer(MasterMesh::getInstance().ExportMeshFile(MeshFileFormat::STL, -1));
         });
     },
     "false, nothing written to /", LogLevel::Error,
     "Export directory was not set, we are not exporting the master mesh!"},
    {"ComponentAssetFileWithoutExportDirectory",
     [](const TempDirectory& directory) {
         return withoutExportDirectory(directory, [] {
             ComponentMesh component(1, 11, 12, 13, 14);
             component.GetElementsByDimension(DIMENSION_2D)->AddElementID(3);
             component.SetFileName("part");
             component.WriteMeshAssetFile();
             return std::string("written");
         });
     },
     "written, nothing written to /", LogLevel::Error,
     "Export directory was not set, we are not writing out the mesh asset file part.mshp!"},
    {"NodeAssetFileOfARepositoryWithoutDirectory",
     [](const TempDirectory& directory) {
         return withoutExportDirectory(directory, [] {
             NodeRepository repository("");
             repository.ModifyNodeIds({}, {});
             repository.Clear();
             repository.WriteOutAssetFile();
             return std::string("cleared and written");
         });
     },
     "cleared and written, nothing written to /", LogLevel::Error,
     "Export directory was not set when the master mesh was created, we are not writing out AllActiveNodes.mshp!"},
    {"EdgeMeshWithoutExportDirectory",
     [](const TempDirectory& directory) {
         return withoutExportDirectory(directory, [] { return meshEdge(10, edgeSettings(2.0)); });
     },
     "invalid: Export directory was not set, we are not writing out the shape for gmsh (tmp_mesh.step)!, no elements, "
     "nothing written to /",
     LogLevel::Error, "Export directory was not set, we are not writing out the shape for gmsh (tmp_mesh.step)!"},
};

const BadInputCase kMesherCases[] = {
    {"EdgeMeshOfANullHandle", [](const TempDirectory&) { return meshEdge(0, edgeSettings(1.0)); },
     "valid, no elements", LogLevel::Error, "Provided a null face for meshing!"},
    {"FaceMeshOfANullHandle", [](const TempDirectory&) { return meshFace(0, 0, faceSettings(1.0)); },
     "valid, no elements", LogLevel::Error, "Provided a null face for meshing!"},
    {"FaceMeshAboveALoweredMaximum", [](const TempDirectory&) { return meshFace(10, 5, faceSettings(1.0, 100)); },
     "invalid: An element size of 1 would give about 180.422 elements, more than the maximum element count of 100., "
     "no elements",
     LogLevel::Error,
     "An element size of 1 would give about 180.422 elements, more than the maximum element count of 100."},
    {"EdgeMeshOfAnAbsurdlySmallSize", [](const TempDirectory&) { return meshEdge(10, edgeSettings(1e-7)); },
     "invalid: An element size of 1e-07 would give about 1e+08 elements, more than the maximum element count of "
     "10000000., no elements",
     LogLevel::Error,
     "An element size of 1e-07 would give about 1e+08 elements, more than the maximum element count of 10000000."},
    {"FaceMeshOfSizeZero", [](const TempDirectory&) { return meshFace(10, 5, faceSettings(0.0)); },
     "invalid: The element size must be a positive finite number, got 0., no elements", LogLevel::Error,
     "The element size must be a positive finite number, got 0."},
    {"FaceMeshOfSizeNaN", [](const TempDirectory&) { return meshFace(10, 5, faceSettings(kNaN)); },
     "invalid: The element size must be a positive finite number, got nan., no elements", LogLevel::Error,
     "The element size must be a positive finite number, got nan."},
    {"EdgeMeshOfANegativeSize", [](const TempDirectory&) { return meshEdge(10, edgeSettings(-1.0)); },
     "invalid: The element size must be a positive finite number, got -1., no elements", LogLevel::Error,
     "The element size must be a positive finite number, got -1."},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Files, BadInput, ::testing::ValuesIn(kFileCases), BadInputName());
INSTANTIATE_TEST_SUITE_P(NoExportDirectory, BadInput, ::testing::ValuesIn(kNoExportDirectoryCases), BadInputName());
INSTANTIATE_TEST_SUITE_P(Meshers, BadInput, ::testing::ValuesIn(kMesherCases), BadInputName());

}  // namespace TarnelTest
