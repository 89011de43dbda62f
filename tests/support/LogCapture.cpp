#include "LogCapture.h"

#include <gtest/gtest.h>

namespace TarnelTest {

LogCapture::LogCapture()
{
    previous = Tarnel::Log::SetSink([this](const Tarnel::LogRecord& record) {
        std::lock_guard<std::mutex> lock(mutex);
        records.push_back(record);
    });
}

LogCapture::~LogCapture()
{
    Tarnel::Log::SetSink(previous);
}

std::vector<Tarnel::LogRecord> LogCapture::Records() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return records;
}

std::vector<std::string> LogCapture::Messages(Tarnel::LogLevel level) const
{
    std::vector<std::string> messages;
    for (const auto& record : Records())
        if (record.level == level) messages.push_back(record.message);
    return messages;
}

std::vector<std::string> LogCapture::Lines(Tarnel::LogLevel lowest) const
{
    std::vector<std::string> lines;
    for (const auto& record : Records())
        if (record.level >= lowest) lines.push_back(Tarnel::GetLogLevelName(record.level)[0] + (": " + record.message));
    return lines;
}

int LogCapture::Count(Tarnel::LogLevel level, const std::string& message) const
{
    int count = 0;
    for (const auto& record : Records())
        if (record.level == level && record.message == message) ++count;
    return count;
}

Tarnel::LogRecord LogCapture::Find(Tarnel::LogLevel level, const std::string& message) const
{
    for (const auto& record : Records())
        if (record.level == level && record.message == message) return record;
    ADD_FAILURE() << "no " << Tarnel::GetLogLevelName(level) << " record \"" << message << "\"";
    return Tarnel::LogRecord();
}

}  // namespace TarnelTest
