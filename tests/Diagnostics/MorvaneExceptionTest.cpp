#include <gtest/gtest.h>

#include "Diagnostics/MorvaneException.h"
#include "LogCapture.h"

using Tarnel::LogLevel;
using Tarnel::MorvaneException;

TEST(MorvaneException, TheCStringFormLogsAtConstruction)
{
    TarnelTest::LogCapture capture;
    const MorvaneException exception("Mesh file is broken");
    EXPECT_STREQ(exception.what(), "Mesh file is broken");
    const Tarnel::LogRecord record = capture.Find(LogLevel::Error, "Mesh file is broken");
    EXPECT_EQ(record.location, "Tarnel::MorvaneException::MorvaneException");
    EXPECT_EQ(record.sourceFile, "Diagnostics/MorvaneException");
}

TEST(MorvaneException, TheStringFormDoesNotLog)
{
    TarnelTest::LogCapture capture;
    const MorvaneException exception(std::string("quiet"));
    const MorvaneException copy = exception;
    EXPECT_STREQ(copy.what(), "quiet");
    EXPECT_TRUE(capture.Records().empty());
}
