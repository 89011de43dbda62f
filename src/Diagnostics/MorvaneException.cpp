#include "Diagnostics/MorvaneException.h"

#include "Log.h"

namespace Tarnel {

MorvaneException::MorvaneException(const char* message) : message(message != nullptr ? message : "")
{
    Log::Error(this->message, "Tarnel::MorvaneException::MorvaneException", "Diagnostics/MorvaneException", __LINE__);
}

MorvaneException::MorvaneException(const std::string& message) : message(message) {}

const char* MorvaneException::what() const noexcept
{
    return message.c_str();
}

}  // namespace Tarnel
