#pragma once

#include <climits>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

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

// Node and element tags run from 1 to kLargestTag: the library narrows them
// to int, and gmsh 4.8 indexes its caches with them narrowed to int, so that
// a tag outside the range crashes it or names another node or element.
constexpr std::size_t kLargestTag = INT_MAX;

// The tag as its caller wrote it: a size_t above INT64_MAX came from a
// negative number.
std::string tagAsPassed(std::size_t tag);

// Fails with "<kind> tag <tag> is out of range (1 to 2147483647)" for the
// first tag outside the range; `kind` is "Node" or "Element".
void checkTagRange(const char* kind, std::size_t tag);
void checkTagRanges(const char* kind, const std::vector<std::size_t>& tags);
void checkTagRanges(const char* kind, const std::vector<std::vector<std::size_t>>& tags);

// True the first time `key` is seen in this process: for what is reported
// once per process.
bool firstTime(const std::string& key);

}  // namespace Tarnel::GmshAdapter
