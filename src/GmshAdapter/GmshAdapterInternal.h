#pragma once

#include <stdexcept>
#include <string>
#include <utility>

// Shared by the adapter's translation units only.
namespace Tarnel::GmshAdapter {

// gmsh's last logged error as the exception every adapter call throws.
std::runtime_error lastErrorAsException();

// Records `message` as gmsh's last error and throws it, for failures that the
// adapter itself detects.
[[noreturn]] void fail(const std::string& message);

// Runs one gmsh call and turns whatever the linked release throws on failure
// (4.8 throws std::string, or int before initialisation) into the 4.11 form.
template <class Function>
auto call(Function&& function) -> decltype(function())
{
    try {
        return std::forward<Function>(function)();
    } catch (const std::runtime_error&) {
        throw;
    } catch (const std::string&) {
        throw lastErrorAsException();
    } catch (int) {
        throw lastErrorAsException();
    } catch (const char*) {
        throw lastErrorAsException();
    }
}

}  // namespace Tarnel::GmshAdapter
