// gmsh 4.8 has no Abaqus name for pyramids: its ".inp" writer skips them
// silently while its element-set lists still name them. 4.11 writes them as
// "*ELEMENT, type=C3D5, ELSET=Volume<entity tag>" blocks after the other
// blocks of their volume. The writer does walk every volume's pyramids and
// only lacks the name, so for the time of the write each pyramid is stood in
// for by one that carries it: gmsh then writes them itself, in place, in one
// pass, and no element of the model is lost. Abaqus has no pyramid of more
// nodes, so a model that holds one is refused before the write.

#include "GmshAdapter/AbaqusPyramids.h"

#include <string>

#include <GModel.h>
#include <GRegion.h>
#include <MPyramid.h>

#include "GmshAdapter/GmshAdapterInternal.h"

namespace Tarnel::GmshAdapter {

namespace {

const char* const kAbaqusPyramid = "C3D5";

class NamedPyramid : public MPyramid {
public:
    using MPyramid::MPyramid;
    const char* getStringForINP() const override { return kAbaqusPyramid; }
};

// Only 5-node pyramids are written (see refusePyramidsAbaqusLacks).
MPyramid* namedCopy(MPyramid* pyramid)
{
    std::vector<MVertex*> vertices;
    pyramid->getVertices(vertices);
    MPyramid* copy = new NamedPyramid(vertices, static_cast<int>(pyramid->getNum()), pyramid->getPartition());
    copy->setVisibility(pyramid->getVisibility());
    return copy;
}

constexpr std::size_t kAbaqusPyramidNodes = 5;

void refusePyramidsAbaqusLacks(const std::string& fileName)
{
    GModel* model = GModel::current();
    for (auto region = model->firstRegion(); region != model->lastRegion(); ++region) {
        for (MPyramid* pyramid : (*region)->pyramids) {
            if (pyramid->getNumVertices() == kAbaqusPyramidNodes) continue;
            fail("Unable to write Abaqus input file '" + fileName + "': Abaqus has no " +
                 std::to_string(pyramid->getNumVertices()) + "-node pyramid (element " +
                 std::to_string(pyramid->getNum()) + ")");
        }
    }
}

}  // namespace

PyramidsNamedForAbaqus::PyramidsNamedForAbaqus(const std::string& fileName)
{
    refusePyramidsAbaqusLacks(fileName);
    GModel* model = GModel::current();
    for (auto region = model->firstRegion(); region != model->lastRegion(); ++region) {
        std::vector<MPyramid*>& pyramids = (*region)->pyramids;
        if (pyramids.empty() || pyramids.front()->getStringForINP() != nullptr) continue;
        originals.emplace_back(*region, pyramids);
        for (MPyramid*& pyramid : pyramids) pyramid = namedCopy(pyramid);
    }
}

PyramidsNamedForAbaqus::~PyramidsNamedForAbaqus()
{
    for (auto& original : originals) {
        for (MPyramid* standIn : original.first->pyramids) delete standIn;
        original.first->pyramids = std::move(original.second);
    }
    // No cache may keep the stand-ins.
    if (!originals.empty()) GModel::current()->destroyMeshCaches();
}

}  // namespace Tarnel::GmshAdapter
