#pragma once

#include <stdexcept>
#include <string>
#include <utility>

#include <GmshVersion.h>

// Shared by the adapter's translation units only.
namespace Tarnel::GmshAdapter {

// Version gaps of the linked gmsh, decided once here.
constexpr bool kLinkedIsOlderThan411 = GMSH_MAJOR_VERSION < 4 || (GMSH_MAJOR_VERSION == 4 && GMSH_MINOR_VERSION < 11);

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

// True the first time `key` is seen in this process: for what is reported
// once per process.
bool firstTime(const std::string& key);

}  // namespace Tarnel::GmshAdapter
