// Node and element calls that gmsh 4.8 has as 4.11 has them, with their tags
// checked before gmsh sees them, and the meshing constraints set on entities.

#include <gmsh.h>

#include <GFace.h>
#include <GModel.h>

#include "GmshAdapter/GmshAdapter.h"
#include "GmshAdapter/GmshAdapterInternal.h"

namespace Tarnel::GmshAdapter::model::mesh {

void getNodes(std::vector<std::size_t>& nodeTags, std::vector<double>& coord, std::vector<double>& parametricCoord,
              int dim, int tag, bool includeBoundary, bool returnParametricCoord)
{
    call([&] {
        ::gmsh::model::mesh::getNodes(nodeTags, coord, parametricCoord, dim, tag, includeBoundary,
                                      returnParametricCoord);
    });
}

void addNodes(int dim, int tag, const std::vector<std::size_t>& nodeTags, const std::vector<double>& coord,
              const std::vector<double>& parametricCoord)
{
    call([&] {
        checkTagRanges("Node", nodeTags);
        ::gmsh::model::mesh::addNodes(dim, tag, nodeTags, coord, parametricCoord);
    });
}

void getElementsByCoordinates(double x, double y, double z, std::vector<std::size_t>& elementTags, int dim,
                              bool strict)
{
    call([&] { ::gmsh::model::mesh::getElementsByCoordinates(x, y, z, elementTags, dim, strict); });
}

void addElements(int dim, int tag, const std::vector<int>& elementTypes,
                 const std::vector<std::vector<std::size_t>>& elementTags,
                 const std::vector<std::vector<std::size_t>>& nodeTags)
{
    call([&] {
        checkTagRanges("Element", elementTags);
        checkTagRanges("Node", nodeTags);
        ::gmsh::model::mesh::addElements(dim, tag, elementTypes, elementTags, nodeTags);
    });
}

void addElementsByType(int tag, int elementType, const std::vector<std::size_t>& elementTags,
                       const std::vector<std::size_t>& nodeTags)
{
    call([&] {
        checkTagRanges("Element", elementTags);
        checkTagRanges("Node", nodeTags);
        ::gmsh::model::mesh::addElementsByType(tag, elementType, elementTags, nodeTags);
    });
}

void setTransfiniteCurve(int tag, int numNodes, const std::string& meshType, double coef)
{
    call([&] { ::gmsh::model::mesh::setTransfiniteCurve(tag, numNodes, meshType, coef); });
}

void setTransfiniteSurface(int tag, const std::string& arrangement, const std::vector<int>& cornerTags)
{
    call([&] { ::gmsh::model::mesh::setTransfiniteSurface(tag, arrangement, cornerTags); });
}

void setRecombine(int dim, int tag, double angle)
{
    call([&] {
        ::gmsh::model::mesh::setRecombine(dim, tag);
        if (dim != 2) return;
        GFace* face = GModel::current()->getFaceByTag(tag);
        if (face != nullptr) face->meshAttributes.recombineAngle = angle;
    });
}

void removeDuplicateNodes(const vectorpair& dimTags)
{
    call([&] {
#if GMSH_MAJOR_VERSION == 4 && GMSH_MINOR_VERSION < 11
        if (!dimTags.empty()) fail("removeDuplicateNodes on selected entities needs gmsh 4.11");
        ::gmsh::model::mesh::removeDuplicateNodes();
#else
        ::gmsh::model::mesh::removeDuplicateNodes(dimTags);
#endif
    });
}

}  // namespace Tarnel::GmshAdapter::model::mesh
