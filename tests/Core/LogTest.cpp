// Records, sinks and the exception form are exercised by every test that
// captures the log; here the standard error sink a host sees without one.
#include <stdexcept>

#include <gtest/gtest.h>

#include "Log.h"

using Tarnel::Log;
using Tarnel::LogLevel;

TEST(Log, StandardErrorGetsTheRecordsFromItsLevelOnAndABrokenSinkFailsNobody)
{
    testing::internal::CaptureStderr();
    // A host's sink replaces standard error.
    Log::SetSink([](const Tarnel::LogRecord&) { throw std::runtime_error("sink broken"); });
    EXPECT_NO_THROW(Log::Error("for the sink", std::logic_error("x"), "loc", "file", 1));
    Log::SetSink(Log::Sink());
    Log::SetDefaultSinkLevel(LogLevel::Warn);
    Log::Info("hidden", "loc", "file", 1);
    Log::Warn("to standard error", "Tarnel::X::Y", "Entities/X", 42);
    Log::Error("failed", std::runtime_error("gmsh said no"), "Tarnel::X::Z", "Entities/X", 43);
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(written.find("hidden"), std::string::npos) << written;
    EXPECT_EQ(written.find("for the sink"), std::string::npos) << written;
    EXPECT_NE(written.find("[warning] to standard error [Tarnel::X::Y, Entities/X:42]"), std::string::npos) << written;
    EXPECT_NE(written.find("[error] failed | exception: gmsh said no [Tarnel::X::Z, Entities/X:43]"), std::string::npos)
        << written;
}
