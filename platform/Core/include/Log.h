#pragma once

#include <exception>
#include <functional>
#include <string>

#include "LogRecord.h"

namespace Tarnel {

// The engine's log. Every call carries the message, the qualified name of
// the calling operation, the caller's source file and line. A log call never
// throws: a failing sink is ignored.
//
// Records go to one replaceable sink. The default sink writes records of the
// default level and above (Info, or what TARNEL_LOG_LEVEL names: debug, info,
// warn, error) to standard error.
class Log {
public:
    using Sink = std::function<void(const LogRecord&)>;

    static void Debug(const std::string& message, const std::string& location, const std::string& sourceFile,
                      int line) noexcept;
    static void Info(const std::string& message, const std::string& location, const std::string& sourceFile,
                     int line) noexcept;
    static void Warn(const std::string& message, const std::string& location, const std::string& sourceFile,
                     int line) noexcept;
    static void Error(const std::string& message, const std::string& location, const std::string& sourceFile,
                      int line) noexcept;
    static void Error(const std::string& message, const std::exception& exception, const std::string& location,
                      const std::string& sourceFile, int line) noexcept;

    // Installs `sink` (an empty one restores the default sink) and returns the
    // sink that was installed before. Calls into the sink are serialised.
    static Sink SetSink(Sink sink);

    // The sink used when none is installed.
    static void WriteToStandardError(const LogRecord& record);
    static void SetDefaultSinkLevel(LogLevel level);

private:
    static void _dispatch(LogRecord&& record) noexcept;
};

}  // namespace Tarnel
