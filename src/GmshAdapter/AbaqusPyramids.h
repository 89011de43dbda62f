#pragma once

#include <string>
#include <utility>
#include <vector>

class GRegion;
class MPyramid;

namespace Tarnel::GmshAdapter {

// While it lives, every pyramid of the current model that gmsh cannot name
// in Abaqus input is replaced by a stand-in that carries the name "C3D5", so
// that gmsh's ".inp" writer writes them all. The destructor puts the model's
// own pyramids back.
//
// Abaqus has no pyramid but the 5-node one: gmsh would write a 13- or 14-node
// pyramid as a "C3D5" line with all its nodes, which no solver reads. The
// constructor fails (through `fail`, naming the file and the element) for a
// model that holds one, before anything is changed or written.
class PyramidsNamedForAbaqus {
public:
    explicit PyramidsNamedForAbaqus(const std::string& fileName);
    ~PyramidsNamedForAbaqus();
    PyramidsNamedForAbaqus(const PyramidsNamedForAbaqus&) = delete;
    PyramidsNamedForAbaqus& operator=(const PyramidsNamedForAbaqus&) = delete;

private:
    std::vector<std::pair<GRegion*, std::vector<MPyramid*>>> originals;
};

}  // namespace Tarnel::GmshAdapter
