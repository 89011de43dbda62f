#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Short questions to the gmsh session, for assertions.
namespace TarnelTest {

std::string CurrentModel();
std::vector<std::string> ModelNames();
bool HasModel(const std::string& name);
double NumberOption(const std::string& name);
// The number of elements of the current model, all types.
std::size_t ElementCount();
// The number of elements of the master model.
std::size_t MasterElementCount();
// What `call` fails with, which must be gmsh's last error too: "no
// exception" when it does not fail.
std::string FailureOf(const std::function<void()>& call);

}  // namespace TarnelTest
