#include "Log.h"

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <string>
#include <utility>

#include <spdlog/sinks/stdout_sinks.h>
#include <spdlog/spdlog.h>

namespace Tarnel {

namespace {

LogLevel levelFromEnvironment()
{
    const char* text = std::getenv("TARNEL_LOG_LEVEL");
    if (text == nullptr) return LogLevel::Info;
    const std::string name(text);
    if (name == "debug") return LogLevel::Debug;
    if (name == "warn") return LogLevel::Warn;
    if (name == "error") return LogLevel::Error;
    return LogLevel::Info;
}

struct LogState {
    std::recursive_mutex mutex;
    Log::Sink sink;
    std::atomic<int> defaultLevel{static_cast<int>(levelFromEnvironment())};
};

// Never destroyed: log calls may come from static destructors at exit.
LogState& state()
{
    static LogState* instance = new LogState();
    return *instance;
}

spdlog::logger& standardErrorLogger()
{
    static std::shared_ptr<spdlog::logger> logger = [] {
        auto created = std::make_shared<spdlog::logger>("Tarnel", std::make_shared<spdlog::sinks::stderr_sink_mt>());
        created->set_pattern("%Y-%m-%d %H:%M:%S.%e [%l] %v");
        created->set_level(spdlog::level::trace);
        return created;
    }();
    return *logger;
}

spdlog::level::level_enum toSpdlog(LogLevel level)
{
    switch (level) {
    case LogLevel::Debug: return spdlog::level::debug;
    case LogLevel::Info: return spdlog::level::info;
    case LogLevel::Warn: return spdlog::level::warn;
    case LogLevel::Error: return spdlog::level::err;
    }
    return spdlog::level::info;
}

LogRecord makeRecord(LogLevel level, const std::string& message, const std::string& location,
                     const std::string& sourceFile, int line)
{
    LogRecord record;
    record.level = level;
    record.message = message;
    record.location = location;
    record.sourceFile = sourceFile;
    record.line = line;
    return record;
}

}  // namespace

const char* GetLogLevelName(LogLevel level)
{
    switch (level) {
    case LogLevel::Debug: return "Debug";
    case LogLevel::Info: return "Info";
    case LogLevel::Warn: return "Warn";
    case LogLevel::Error: return "Error";
    }
    return "";
}

void Log::Debug(const std::string& message, const std::string& location, const std::string& sourceFile,
                int line) noexcept
{
    try {
        _dispatch(makeRecord(LogLevel::Debug, message, location, sourceFile, line));
    } catch (...) {
    }
}

void Log::Info(const std::string& message, const std::string& location, const std::string& sourceFile,
               int line) noexcept
{
    try {
        _dispatch(makeRecord(LogLevel::Info, message, location, sourceFile, line));
    } catch (...) {
    }
}

void Log::Warn(const std::string& message, const std::string& location, const std::string& sourceFile,
               int line) noexcept
{
    try {
        _dispatch(makeRecord(LogLevel::Warn, message, location, sourceFile, line));
    } catch (...) {
    }
}

void Log::Error(const std::string& message, const std::string& location, const std::string& sourceFile,
                int line) noexcept
{
    try {
        _dispatch(makeRecord(LogLevel::Error, message, location, sourceFile, line));
    } catch (...) {
    }
}

void Log::Error(const std::string& message, const std::exception& exception, const std::string& location,
                const std::string& sourceFile, int line) noexcept
{
    try {
        LogRecord record = makeRecord(LogLevel::Error, message, location, sourceFile, line);
        record.hasException = true;
        record.exceptionText = exception.what();
        _dispatch(std::move(record));
    } catch (...) {
    }
}

Log::Sink Log::SetSink(Sink sink)
{
    std::lock_guard<std::recursive_mutex> lock(state().mutex);
    std::swap(state().sink, sink);
    return sink;
}

void Log::SetDefaultSinkLevel(LogLevel level)
{
    state().defaultLevel = static_cast<int>(level);
}

void Log::WriteToStandardError(const LogRecord& record)
{
    if (static_cast<int>(record.level) < state().defaultLevel) return;
    std::string text = record.message;
    if (record.hasException) text += " | exception: " + record.exceptionText;
    text += " [" + record.location + ", " + record.sourceFile + ":" + std::to_string(record.line) + "]";
    standardErrorLogger().log(toSpdlog(record.level), text);
}

void Log::_dispatch(LogRecord&& record) noexcept
{
    LogState& current = state();
    std::lock_guard<std::recursive_mutex> lock(current.mutex);
    try {
        if (current.sink)
            current.sink(record);
        else
            WriteToStandardError(record);
    } catch (...) {
        // A sink must never fail the operation that logs.
    }
}

}  // namespace Tarnel
