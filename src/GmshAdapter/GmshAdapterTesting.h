#pragma once

#include <functional>

// For tests of the library's reaction to gmsh's meshing failures, which real
// inputs cannot trigger at will.
namespace Tarnel::GmshAdapter::testing {

// Called with the dimension at the start of every mesh generation, before
// gmsh runs; an exception it throws is that generation's failure. An empty
// function removes the hook.
void SetBeforeGenerate(std::function<void(int dim)> hook);

}  // namespace Tarnel::GmshAdapter::testing
