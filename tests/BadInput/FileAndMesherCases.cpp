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

using Feed = std::function<std::string(const TempDirectory&)>;

// Runs `call` in the case's directory, so that the relative paths in the
// messages are the same in every run.
Feed insideDirectory(std::function<std::string()> call)
{
    return [=](const TempDirectory& directory) {
        const fs::path previous = fs::current_path();
        fs::current_path(directory.Path());
        const std::string answer = call();
        fs::current_path(previous);
        return answer;
    };
}

// Runs `call` in the case's directory on a mesh of its own model named
// "part", which is removed afterwards; a throw is answered with its text.
Feed withMesh(std::function<std::string(Mesh&)> call)
{
    return insideDirectory([=] {
        Mesh mesh(true);
        mesh.SetFileName("part");
        const std::string answer = Answered([&] { return call(mesh); });
        MeshEngineWrapper::getInstance().RemoveMesh(mesh);
        return answer;
    });
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
Feed withoutExportDirectory(std::function<std::string()> call)
{
    return [=](const TempDirectory& directory) {
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
    };
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

// The edge [0, length] on the x axis, or the face [0, width] x [0, width / 2],
// meshed through the factory; a null handle when the length or width is 0.
std::string meshEdge(double length, double size)
{
    Handle(GEOM_Object) edge = length > 0 ? GeomObject(StraightEdge(length)) : nullptr;
    Mesh mesh(true);
    MeshFactory().Create1DMesh(mesh, edge, Mesh1DSettings(size, MeshElementOrder::Linear));
    return outcomeOf(mesh);
}

std::string meshFace(double width, double size, bool remesh = false,
                     std::size_t maximum = Mesh2DSettings::kDefaultMaximumElementCount)
{
    Handle(GEOM_Object) face = width > 0 ? GeomObject(RectangleFace(width, width / 2)) : nullptr;
    Mesh2DSettings settings = Mesh2DSettings::GetDefaultTriaMeshSettings(size);
    settings.SetMaximumElementCount(maximum);
    Mesh mesh(true);
    MeshFactory().Create2DMesh(mesh, face, settings, remesh);
    return outcomeOf(mesh);
}

// A meshing request refused with `message`: logged as an error, kept as the
// mesh's error, and nothing meshed.
BadInputCase refusal(const std::string& name, std::function<std::string()> request, const std::string& message)
{
    return {name, [=](const TempDirectory&) { return request(); }, "invalid: " + message + ", no elements",
            LogLevel::Error, message};
}

// gmsh refuses a negative size of a face while it meshes the curves.
const std::string kNegativeSize = "Wrong mesh element size lc = -1.2 (lcmin = -0.8, lcmax = -1.2)";

const BadInputCase kCases[] = {
    {"CopyOfAFileOntoItself",
     insideDirectory([] {
         WriteFile("a.msh", "content");
         const std::string answer = quoted(FileTools::RenameFile("a.msh", "a.msh", true));
         return answer + ", content " + ReadFile("a.msh");
     }),
     "\"\", content content", LogLevel::Error, "Error copying a file onto itself!"},
    {"CopyOfAMissingFileOverAnExistingOne",
     insideDirectory([] {
         WriteFile("b.msh", "kept");
         const std::string answer = quoted(FileTools::RenameFile("missing.msh", "b.msh", true));
         return answer + ", b.msh " + ReadFile("b.msh");
     }),
     "\"\", b.msh kept", LogLevel::Error, "Error opening file for copying!"},
    {"CopyOntoADirectory",
     insideDirectory([] {
         WriteFile("a.msh", "content");
         fs::create_directory("target");
         const std::string answer = quoted(FileTools::RenameFile("a.msh", "target", true));
         const auto entries = std::distance(fs::directory_iterator("."), fs::directory_iterator());
         return answer + ", " + std::to_string(entries) + " entries";
     }),
     "\"\", 2 entries", LogLevel::Error, "Error during file copy!"},
    {"DeleteDirectoryRecursivelyOfALinkToADirectory",
     insideDirectory([] {
         fs::create_directory("target");
         WriteFile("target/keep.txt", "kept");
         fs::create_directory_symlink("target", "link");
         const std::string answer = Answer(FileTools::DeleteDirectoryRecursively("link"));
         return answer + ", " + ReadFile("target/keep.txt") + (fs::is_symlink("link") ? ", link kept" : "");
     }),
     "false, kept, link kept", LogLevel::Error, "Not deleting link: it is a symbolic link, not a directory."},
    {"PyramidRewriteOfADirectory",
     insideDirectory([] {
         fs::create_directory("model.inp");
         return Answer(_convertPyramidElementsToReducedHexInAbaqusInp("model.inp"));
     }),
     "false", LogLevel::Error, "Failed to open Abaqus INP file for post-processing: model.inp"},
    {"LoadOfAnEmptyMsh",
     withMesh([](Mesh& mesh) {
         WriteFile("part.msh", "");
         return Answer(mesh.LoadMesh(".", MeshFileFormat::MSH));
     }),
     "false", LogLevel::Error, "Mesh file holds no mesh: ./part.msh"},
    {"LoadInNoFormat", withMesh([](Mesh& mesh) { return Answer(mesh.LoadMesh(".", MeshFileFormat::NONE)); }),
     "threw: Unsupported mesh file format extension!", LogLevel::Error, "Unsupported mesh file format extension!"},
    {"WriteWithoutDirectory", withMesh([](Mesh& mesh) { return quoted(mesh.WriteMesh("", MeshFileFormat::MSH)); }),
     "\"\"", LogLevel::Error, "Mesh directory was not set, we are not writing out the master mesh!"},
    {"ExportWithoutExportDirectory",
     withoutExportDirectory([] { return Answer(MasterMesh::getInstance().ExportMeshFile(MeshFileFormat::STL, -1)); }),
     "false, nothing written to /", LogLevel::Error,
     "Export directory was not set, we are not exporting the master mesh!"},
    {"ComponentAssetFileWithoutExportDirectory",
     withoutExportDirectory([] {
         ComponentMesh component(1, 11, 12, 13, 14);
         component.GetElementsByDimension(DIMENSION_2D)->AddElementID(3);
         component.SetFileName("part");
         component.WriteMeshAssetFile();
         return std::string("written");
     }),
     "written, nothing written to /", LogLevel::Error,
     "Export directory was not set, we are not writing out the mesh asset file part.mshp!"},
    {"NodeAssetFileOfARepositoryWithoutDirectory",
     withoutExportDirectory([] {
         NodeRepository repository("");
         repository.ModifyNodeIds({}, {});
         repository.Clear();
         repository.WriteOutAssetFile();
         return std::string("cleared and written");
     }),
     "cleared and written, nothing written to /", LogLevel::Error,
     "Export directory was not set when the master mesh was created, we are not writing out AllActiveNodes.mshp!"},
    {"EdgeMeshWithoutExportDirectory", withoutExportDirectory([] { return meshEdge(10, 2.0); }),
     "invalid: Export directory was not set, we are not writing out the shape for gmsh (tmp_mesh.step)!, no elements, "
     "nothing written to /",
     LogLevel::Error, "Export directory was not set, we are not writing out the shape for gmsh (tmp_mesh.step)!"},
    {"EdgeMeshOfANullHandle", [](const TempDirectory&) { return meshEdge(0, 1.0); }, "valid, no elements",
     LogLevel::Error, "Provided a null face for meshing!"},
    {"FaceMeshOfANullHandle", [](const TempDirectory&) { return meshFace(0, 1.0); }, "valid, no elements",
     LogLevel::Error, "ComputeMesh called on invalid Mesher2D instance."},
    {"EdgeMeshWhoseShapeCannotBeWritten",
     [](const TempDirectory& directory) {
         MeshFactory::SetExportDirectory("/no/such/directory");
         const std::string answer = meshEdge(10, 1.0);
         MeshFactory::SetExportDirectory(directory.Path());
         return answer;
     },
     "invalid: ExportSTEP: could not write /no/such/directory/tmp_mesh.step, no elements", LogLevel::Error,
     "Failed to create 1D mesh!"},
    {"FaceMeshOfANegativeSize", [](const TempDirectory&) { return meshFace(10, -1.0); },
     "invalid: " + kNegativeSize + ", no elements", LogLevel::Warn, "Returning a failed mesh result."},
    {"FaceRemeshOfANegativeSize", [](const TempDirectory&) { return meshFace(10, -1.0, true); },
     "invalid: " + kNegativeSize + ", no elements", LogLevel::Error, "Failed to create 2D mesh!"},
    refusal("FaceMeshAboveALoweredMaximum", [] { return meshFace(10, 1.0, false, 100); },
            "An element size of 1 would give about 180.422 elements, more than the maximum element count of 100."),
    refusal("EdgeMeshOfAnAbsurdlySmallSize", [] { return meshEdge(10, 1e-7); },
            "An element size of 1e-07 would give about 1e+08 elements, more than the maximum element count of "
            "10000000."),
    refusal("FaceMeshOfSizeZero", [] { return meshFace(10, 0.0); },
            "The element size must be a positive finite number, got 0."),
    refusal("FaceMeshOfSizeNaN", [] { return meshFace(10, std::numeric_limits<double>::quiet_NaN()); },
            "The element size must be a positive finite number, got nan."),
    refusal("EdgeMeshOfANegativeSize", [] { return meshEdge(10, -1.0); },
            "The element size must be a positive finite number, got -1."),
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(FilesAndMeshers, BadInput, ::testing::ValuesIn(kCases), RowName());

}  // namespace TarnelTest
