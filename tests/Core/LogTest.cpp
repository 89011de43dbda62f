#include <stdexcept>

#include <gtest/gtest.h>

#include "Log.h"
#include "LogCapture.h"

using Tarnel::Log;
using Tarnel::LogLevel;
using Tarnel::LogRecord;

TEST(Log, RecordsCarryLevelMessageLocationSourceAndLine)
{
    TarnelTest::LogCapture capture;
    Log::Info("info text", "Tarnel::A::B", "Entities/A", 12);
    Log::Warn("warn text", "Tarnel::A::C", "Entities/A", 13);
    Log::Debug("debug text", "Tarnel::A::D", "Entities/A", 14);
    Log::Error("error text", "Tarnel::A::E", "Entities/A", 15);

    const auto records = capture.Records();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].level, LogLevel::Info);
    EXPECT_EQ(records[1].level, LogLevel::Warn);
    EXPECT_EQ(records[2].level, LogLevel::Debug);
    EXPECT_EQ(records[3].level, LogLevel::Error);
    EXPECT_EQ(records[3].message, "error text");
    EXPECT_EQ(records[3].location, "Tarnel::A::E");
    EXPECT_EQ(records[3].sourceFile, "Entities/A");
    EXPECT_EQ(records[3].line, 15);
    EXPECT_FALSE(records[3].hasException);
}

TEST(Log, ExceptionFormCarriesTheExceptionText)
{
    TarnelTest::LogCapture capture;
    Log::Error("Failed to add Nodes", std::runtime_error("gmsh said no"), "Tarnel::M::N", "Entities/M", 7);
    const LogRecord record = capture.Find(LogLevel::Error, "Failed to add Nodes");
    EXPECT_TRUE(record.hasException);
    EXPECT_EQ(record.exceptionText, "gmsh said no");
}

TEST(Log, AFailingSinkNeverFailsTheCaller)
{
    const Log::Sink previous = Log::SetSink([](const LogRecord&) { throw std::runtime_error("sink broken"); });
    EXPECT_NO_THROW(Log::Error("text", "loc", "file", 1));
    EXPECT_NO_THROW(Log::Error("text", std::logic_error("x"), "loc", "file", 1));
    Log::SetSink(previous);
}

TEST(Log, SetSinkReturnsThePreviousSinkAndAnEmptySinkRestoresStandardError)
{
    int first = 0;
    Log::SetSink([&](const LogRecord&) { ++first; });
    Log::Info("one", "loc", "file", 1);
    const Log::Sink replaced = Log::SetSink(Log::Sink());
    ASSERT_TRUE(static_cast<bool>(replaced));
    replaced(LogRecord());
    EXPECT_EQ(first, 2);

    Log::SetDefaultSinkLevel(LogLevel::Debug);
    testing::internal::CaptureStderr();
    Log::Warn("to standard error", "Tarnel::X::Y", "Entities/X", 42);
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_NE(written.find("[warning] to standard error [Tarnel::X::Y, Entities/X:42]"), std::string::npos) << written;
}

TEST(Log, DefaultSinkFiltersBelowItsLevel)
{
    Log::SetSink(Log::Sink());
    Log::SetDefaultSinkLevel(LogLevel::Warn);
    testing::internal::CaptureStderr();
    Log::Info("hidden", "loc", "file", 1);
    Log::Error("shown", "loc", "file", 2);
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(written.find("hidden"), std::string::npos);
    EXPECT_NE(written.find("shown"), std::string::npos);
}
