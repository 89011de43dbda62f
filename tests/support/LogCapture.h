#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "Log.h"

namespace TarnelTest {

// Captures every log record while it lives, then restores the previous sink.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<Tarnel::LogRecord> Records() const;
    // The messages of the given level, in logging order.
    std::vector<std::string> Messages(Tarnel::LogLevel level) const;
    // The records from `lowest` up, one "<first letter of the level>: <message>" each.
    std::vector<std::string> Lines(Tarnel::LogLevel lowest = Tarnel::LogLevel::Info) const;
    // How many records of the level carry exactly this message.
    int Count(Tarnel::LogLevel level, const std::string& message) const;
    bool Has(Tarnel::LogLevel level, const std::string& message) const { return Count(level, message) > 0; }
    // The first record of the level with exactly this message; fails the test when none.
    Tarnel::LogRecord Find(Tarnel::LogLevel level, const std::string& message) const;

private:
    mutable std::mutex mutex;
    std::vector<Tarnel::LogRecord> records;
    Tarnel::Log::Sink previous;
};

}  // namespace TarnelTest
