#pragma once

#include <string>

namespace Tarnel {

enum class LogLevel { Debug = 0, Info = 1, Warn = 2, Error = 3 };

const char* GetLogLevelName(LogLevel level);

// One log call as a sink receives it. `exceptionText` holds what() of the
// exception passed to the exception form of Log::Error, and is empty otherwise.
struct LogRecord {
    LogLevel level = LogLevel::Info;
    std::string message;
    std::string location;
    std::string sourceFile;
    int line = 0;
    bool hasException = false;
    std::string exceptionText;
};

}  // namespace Tarnel
