#pragma once

#include <utility>
#include <vector>

class GRegion;
class MPyramid;

namespace Tarnel::GmshAdapter {

// While it lives, every pyramid of the current model that gmsh cannot name
// in Abaqus input is replaced by a stand-in that carries the name "C3D5", so
// that gmsh's ".inp" writer writes them all. The destructor puts the model's
// own pyramids back.
class PyramidsNamedForAbaqus {
public:
    PyramidsNamedForAbaqus();
    ~PyramidsNamedForAbaqus();
    PyramidsNamedForAbaqus(const PyramidsNamedForAbaqus&) = delete;
    PyramidsNamedForAbaqus& operator=(const PyramidsNamedForAbaqus&) = delete;

private:
    std::vector<std::pair<GRegion*, std::vector<MPyramid*>>> originals;
};

}  // namespace Tarnel::GmshAdapter
