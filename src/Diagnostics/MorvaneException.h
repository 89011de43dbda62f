#pragma once

#include <exception>
#include <string>

namespace Tarnel {

// The engine's exception for invalid arguments and broken invariants.
class MorvaneException : public std::exception {
public:
    // Logs the message as an error at once, so that every such throw leaves a
    // line in the log before any catch block runs.
    explicit MorvaneException(const char* message);
    // Stores the message without logging it.
    explicit MorvaneException(const std::string& message);

    const char* what() const noexcept override;

private:
    std::string message;
};

}  // namespace Tarnel
