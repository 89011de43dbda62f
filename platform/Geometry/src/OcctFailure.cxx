#include "OcctFailure.h"

namespace TarnelGeometry {

void ThrowOcctFailure(const std::string& operation, const Standard_Failure& failure)
{
    const char* text = failure.GetMessageString();
    std::string message = operation + " failed";
    message += (text != nullptr && *text != '\0') ? std::string(": ") + text : std::string(".");
    throw std::runtime_error(message);
}

}  // namespace TarnelGeometry
