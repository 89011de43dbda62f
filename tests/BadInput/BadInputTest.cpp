#include <gtest/gtest.h>

#include "BadInput.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"

using namespace Tarnel;

namespace TarnelTest {

std::string allMessages(const LogCapture& capture)
{
    std::string text;
    for (const LogRecord& record : capture.Records())
        text += std::string(GetLogLevelName(record.level)) + ": " + record.message + "\n";
    return text;
}

TEST_P(BadInput, IsRefusedAndLeavesTheMasterMeshAsItWas)
{
    const BadInputCase& badInput = GetParam();
    TempDirectory directory;
    BuildBadInputMasterMesh(directory);
    MasterMesh& master = MasterMesh::getInstance();
    const std::string before = MasterMeshChecker::Describe(master);

    LogCapture capture;
    EXPECT_EQ(badInput.feed(directory), badInput.expectedAnswer);
    EXPECT_TRUE(capture.Has(badInput.level, badInput.expectedMessage))
        << "expected " << GetLogLevelName(badInput.level) << ": " << badInput.expectedMessage << "\nlogged:\n"
        << allMessages(capture);
    EXPECT_EQ(MasterMeshChecker::Describe(master), before);
    EXPECT_MASTER_MESH_CONSISTENT();
}

}  // namespace TarnelTest
