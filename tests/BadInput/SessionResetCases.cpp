// Session resets where the export directory cannot carry the master mesh
// across: the reset must bring it back all the same, from memory.

#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <cstring>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "BadInput.h"
#include "GmshAdapter/GmshAdapter.h"
#include "GmshAdapter/GmshAdapterTesting.h"
#include "GmshQueries.h"
#include "MeshEngineWrapper.h"
#include "MeshFactory.h"
#include "Operations/Mesher2D.h"
#include "TestMeshes.h"
#include "TestShapes.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;

namespace TarnelTest {
namespace {

const std::string kRestoredAfterFailedSave =
    "GMSH reset: restored master mesh from memory (the backup file could not be written).";

// We run as root, for whom permissions do not stop a write; a path under a
// regular file cannot be a directory for anyone.
std::string unwritableDirectory(const TempDirectory& directory)
{
    WriteFile(directory.File("plain"), "");
    return directory.File("plain") + "/sub";
}

std::string masterElements()
{
    return std::to_string(MasterElementCount()) + " elements";
}

std::string resetWithExportDirectory(const TempDirectory& directory, const std::string& exportDirectory)
{
    MeshFactory::SetExportDirectory(exportDirectory);
    std::string answer;
    try {
        MeshEngineWrapper::getInstance().ResetGmshSession();
        answer = masterElements();
    } catch (const std::exception& exception) {
        answer = Answer(exception);
    }
    MeshFactory::SetExportDirectory(directory.Path());
    return answer;
}

// A backup file at the filesystem root that this case made is removed; one
// that was there before is left as it was.
std::string resetWithoutExportDirectory(const TempDirectory& directory)
{
    const std::string atRoot = "/DefaultMasterMesh.msh";
    const bool existed = FileExists(atRoot);
    const std::string content = ReadFile(atRoot);
    const std::string answer = resetWithExportDirectory(directory, "");
    if (existed) return answer + (ReadFile(atRoot) == content ? "" : ", " + atRoot + " changed");
    if (!FileExists(atRoot)) return answer;
    std::remove(atRoot.c_str());
    return answer + ", " + atRoot + " written";
}

std::string failedFaceMeshing(const TempDirectory& directory)
{
    const std::string unwritable = unwritableDirectory(directory);
    // The face reaches gmsh through the export directory; it is lost only
    // when the meshing fails.
    gm::testing::SetBeforeGenerate([&](int) {
        MeshFactory::SetExportDirectory(unwritable);
        throw std::runtime_error("Meshing got stuck");
    });
    Mesh face(true);
    TopoDS_Shape shape = RectangleFace(10, 5);
    Mesher2D mesher(face, shape);
    const MeshingResult result = mesher.ComputeMesh(Mesh2DSettings::GetDefaultTriaMeshSettings(1.0));
    gm::testing::SetBeforeGenerate({});
    MeshFactory::SetExportDirectory(directory.Path());
    return std::string(result == MeshingResult::Failed ? "failed: " : "meshed: ") + face.GetErrorMessage() + ", " +
           masterElements();
}

// Makes a file immutable (even root cannot write it) for as long as it lives.
class ImmutableFile {
public:
    explicit ImmutableFile(const std::string& path) : path(path) { made = setImmutable(true); }
    ~ImmutableFile()
    {
        if (made) setImmutable(false);
    }
    ImmutableFile(const ImmutableFile&) = delete;
    ImmutableFile& operator=(const ImmutableFile&) = delete;
    bool Made() const { return made; }
    std::string Error() const { return std::strerror(error); }

private:
    bool setImmutable(bool immutable)
    {
        const int descriptor = ::open(path.c_str(), O_RDONLY);
        if (descriptor < 0) return failed();
        int flags = 0;
        bool done = ::ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0;
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = done && ::ioctl(descriptor, FS_IOC_SETFLAGS, &flags) == 0;
        if (!done) failed();
        ::close(descriptor);
        return done;
    }
    bool failed()
    {
        error = errno;
        return false;
    }

    std::string path;
    bool made = false;
    int error = 0;
};

// A backup of another mesh, left by an earlier reset or export, where the
// new one cannot be written.
std::string staleBackupThatCannotBeReplaced(const TempDirectory& directory)
{
    const std::string backup = directory.File("DefaultMasterMesh.msh");
    std::string master;
    gm::model::getCurrent(master);
    gm::model::add("earlier");
    AddQuadStrip();
    gm::write(backup);
    gm::model::remove();
    gm::model::setCurrent(master);
    const std::string stale = ReadFile(backup);

    const ImmutableFile immutable(backup);
    if (!immutable.Made()) return "cannot make the stale backup immutable: " + immutable.Error();
    const std::string answer = resetWithExportDirectory(directory, directory.Path());
    return answer + (ReadFile(backup) == stale ? "" : ", stale backup changed");
}

const BadInputCase kSessionResetCases[] = {
    {"ResetWithAnExportDirectoryThatCannotBeWritten",
     [](const TempDirectory& directory) { return resetWithExportDirectory(directory, unwritableDirectory(directory)); },
     "5 elements", LogLevel::Warn, kRestoredAfterFailedSave},
    {"ResetWithoutAnExportDirectory", resetWithoutExportDirectory, "5 elements", LogLevel::Warn,
     "GMSH reset: restored master mesh from memory (no export directory is set)."},
    {"FailedFaceMeshingWithAnExportDirectoryThatCannotBeWritten", failedFaceMeshing,
     "failed: Meshing got stuck, 5 elements", LogLevel::Warn, kRestoredAfterFailedSave},
    {"StaleBackupWhereTheNewOneCannotBeWritten", staleBackupThatCannotBeReplaced, "5 elements", LogLevel::Warn,
     kRestoredAfterFailedSave},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(SessionReset, BadInput, ::testing::ValuesIn(kSessionResetCases), BadInputName());

}  // namespace TarnelTest
