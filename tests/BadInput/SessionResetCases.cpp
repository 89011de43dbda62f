// Session resets where the export directory cannot carry the master mesh
// across: the reset must bring it back all the same, from memory.

#include <cstdio>
#include <stdexcept>

#include <gtest/gtest.h>

#include "BadInput.h"
#include "GmshQueries.h"
#include "MeshEngineWrapper.h"
#include "MeshFactory.h"

using namespace Tarnel;

namespace TarnelTest {
namespace {

std::string resetWithExportDirectory(const TempDirectory& directory, const std::string& exportDirectory)
{
    MeshFactory::SetExportDirectory(exportDirectory);
    std::string answer;
    try {
        MeshEngineWrapper::getInstance().ResetGmshSession();
        answer = std::to_string(MasterElementCount()) + " elements";
    } catch (const std::exception& exception) {
        answer = Answer(exception);
    }
    MeshFactory::SetExportDirectory(directory.Path());
    return answer;
}

// We run as root, for whom permissions do not stop a write; a path under a
// regular file cannot be a directory for anyone.
std::string resetIntoAnUnwritableDirectory(const TempDirectory& directory)
{
    WriteFile(directory.File("plain"), "");
    return resetWithExportDirectory(directory, directory.File("plain") + "/sub");
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

const BadInputCase kSessionResetCases[] = {
    {"ResetWithAnExportDirectoryThatCannotBeWritten", resetIntoAnUnwritableDirectory, "5 elements", LogLevel::Warn,
     "GMSH reset: restored master mesh from memory (the backup file could not be written)."},
    {"ResetWithoutAnExportDirectory", resetWithoutExportDirectory, "5 elements", LogLevel::Warn,
     "GMSH reset: restored master mesh from memory (no export directory is set)."},
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(SessionReset, BadInput, ::testing::ValuesIn(kSessionResetCases), BadInputName());

}  // namespace TarnelTest
