#pragma once

#include <stdexcept>
#include <string>
#include <utility>

#include <Standard_Failure.hxx>

namespace TarnelGeometry {

// OpenCASCADE failures do not derive from std::exception; callers of this
// library rely on std::exception, so every OpenCASCADE call runs through here.
[[noreturn]] void ThrowOcctFailure(const std::string& operation, const Standard_Failure& failure);

template <class Function>
auto CallOcct(const std::string& operation, Function&& function) -> decltype(function())
{
    try {
        return std::forward<Function>(function)();
    } catch (const Standard_Failure& failure) {
        ThrowOcctFailure(operation, failure);
    }
}

}  // namespace TarnelGeometry
