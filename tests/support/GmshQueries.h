#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Short questions to the gmsh session, for assertions.
namespace TarnelTest {

std::string CurrentModel();
std::vector<std::string> ModelNames();
double NumberOption(const std::string& name);
// The number of elements of the current model of a gmsh type, or of all
// types when it is 0.
std::size_t ElementCount(int elementType = 0);
// What `call` fails with, which must be gmsh's last error too: "no
// exception" when it does not fail.
std::string FailureOf(const std::function<void()>& call);

}  // namespace TarnelTest
