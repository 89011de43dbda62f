#include <gtest/gtest.h>

#include "BadInput.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"

using namespace Tarnel;

namespace TarnelTest {

TEST_P(BadInput, IsRefusedAndLeavesTheMasterMeshAsItWas)
{
    const BadInputCase& badInput = GetParam();
    TempDirectory directory;
    BuildBadInputMasterMesh(directory);
    if (badInput.prepare) badInput.prepare(directory);
    const std::string before = MasterMeshChecker::Describe(MasterMesh::getInstance());

    LogCapture capture;
    EXPECT_EQ(badInput.feed(directory), WithDirectory(badInput.expectedAnswer, directory));
    const std::string& answer = badInput.expectedAnswer;
    const bool logsTheThrow = badInput.expectedMessage.empty() && answer.rfind("threw: ", 0) == 0;
    const std::string message = WithDirectory(logsTheThrow ? answer.substr(7) : badInput.expectedMessage, directory);
    EXPECT_TRUE(capture.Has(badInput.level, message))
        << "expected " << GetLogLevelName(badInput.level) << ": " << message << "\nlogged: "
        << ::testing::PrintToString(capture.Lines(LogLevel::Debug));
    EXPECT_EQ(MasterMeshChecker::Describe(MasterMesh::getInstance()), before);
    EXPECT_MASTER_MESH_CONSISTENT();
}

}  // namespace TarnelTest
