// The calls and outputs that 4.11 has and gmsh 4.8 lacks, built on gmsh's
// model classes (GModel, GEntity, MElement, MVertex) as 4.11 builds them:
// largest tags, listings by each element's own type, the entities of nodes
// and elements, element qualities, element visibility and the point test in
// Cartesian coordinates.

#include <algorithm>
#include <cmath>
#include <map>
#include <unordered_map>

#include <gmsh.h>

#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRep_Tool.hxx>
#include <TopoDS_Edge.hxx>

#include <Context.h>
#include <ElementType.h>
#include <GEdge.h>
#include <GModel.h>
#include <MElement.h>
#include <MVertex.h>

#include "GmshAdapter/GmshAdapter.h"
#include "GmshAdapter/GmshAdapterInternal.h"

namespace Tarnel::GmshAdapter::model {

namespace {

// Distance test of a point against a curve, with the curve's own tolerance
// when it is an OpenCASCADE edge and gmsh's geometry tolerance otherwise.
bool curveContainsPoint(GEdge* curve, double x, double y, double z)
{
    const double geometryTolerance = CTX::instance()->geom.tolerance;
    if (curve->getNativeType() == GEntity::OpenCascadeModel) {
        const TopoDS_Edge& edge = *static_cast<const TopoDS_Edge*>(curve->getNativePtr());
        BRepBuilderAPI_MakeVertex vertex(gp_Pnt(x, y, z));
        BRepExtrema_DistShapeShape distance(vertex.Shape(), edge);
        if (!distance.IsDone() || distance.NbSolution() == 0) return false;
        const double tolerance = std::max(geometryTolerance, BRep_Tool::Tolerance(edge));
        return distance.Value() <= tolerance;
    }
    double parameter = 0.0;
    const GPoint closest = curve->closestPoint(SPoint3(x, y, z), parameter);
    if (!closest.succeeded()) return false;
    const double dx = closest.x() - x, dy = closest.y() - y, dz = closest.z() - z;
    return std::sqrt(dx * dx + dy * dy + dz * dz) <= geometryTolerance;
}

// The element of the current model with this tag; fails for a tag out of
// range or of no element.
MElement* knownElement(std::size_t tag)
{
    checkTagRange("Element", tag);
    MElement* element = GModel::current()->getMeshElementByTag(static_cast<int>(tag));
    if (element == nullptr) fail("Unknown element " + tagAsPassed(tag));
    return element;
}

double elementQuality(MElement* element, const std::string& qualityName)
{
    if (qualityName == "minSJ") return element->minScaledJacobian();
    if (qualityName == "minSICN") return element->minSICNShapeMeasure();
    if (qualityName == "minSIGE") return element->minSIGEShapeMeasure();
    if (qualityName == "gamma") return element->gammaShapeMeasure();
    if (qualityName == "innerRadius") return element->getInnerRadius();
    if (qualityName == "outerRadius") return element->getOuterRadius();
    if (qualityName == "minIsotropy") return element->minIsotropyMeasure();
    if (qualityName == "angleShape") return element->angleShapeMeasure();
    if (qualityName == "minEdge") return element->minEdge();
    if (qualityName == "maxEdge") return element->maxEdge();
    if (qualityName == "volume") return element->getVolume();
    fail("Unknown quality name '" + qualityName + "'");
}

// The entities of a dimension (all dimensions for -1), or the one entity of
// that dimension and tag, in gmsh's order.
std::vector<GEntity*> entitiesOf(int dim, int tag)
{
    std::vector<GEntity*> entities;
    if (tag < 0) {
        GModel::current()->getEntities(entities, dim);
        return entities;
    }
    GEntity* entity = GModel::current()->getEntityByTag(dim, tag);
    if (entity == nullptr)
        fail("Entity of dimension " + std::to_string(dim) + " and tag " + std::to_string(tag) + " does not exist");
    entities.push_back(entity);
    return entities;
}

void appendElement(MElement* element, std::vector<std::size_t>& elementTags, std::vector<std::size_t>& nodeTags)
{
    elementTags.push_back(element->getNum());
    for (std::size_t k = 0; k < element->getNumVertices(); ++k) nodeTags.push_back(element->getVertex(k)->getNum());
}

// The entity holding an element: 4.8 keeps no element-to-entity index, so the
// entities of the element's dimension are searched.
void findElementEntity(MElement* element, int& dim, int& tag)
{
    dim = element->getDim();
    tag = -1;
    std::vector<GEntity*> entities;
    GModel::current()->getEntities(entities, dim);
    for (GEntity* entity : entities) {
        for (std::size_t i = 0; i < entity->getNumMeshElements(); ++i) {
            if (entity->getMeshElement(i) == element) {
                tag = entity->tag();
                return;
            }
        }
    }
}

// A state per element tag, for a pass over a model's elements: an array over
// the tags when they are fairly dense (as gmsh decides for its own cache),
// else a hash map, so that one huge tag does not cost an array that long.
// Tags outside 1 to `largest` are never set and read as kNone.
class TagStates {
public:
    enum State : char { kNone, kAsked, kFound };

    TagStates(std::size_t largest, std::size_t elementCount)
        : largest(largest), dense(largest / 10 <= elementCount)
    {
        if (dense) flat.assign(largest + 1, kNone);
    }

    State Get(std::size_t tag) const
    {
        if (tag < 1 || tag > largest) return kNone;
        if (dense) return flat[tag];
        const auto entry = sparse.find(tag);
        return entry == sparse.end() ? kNone : entry->second;
    }

    void Set(std::size_t tag, State state)
    {
        if (tag < 1 || tag > largest) return;
        if (dense)
            flat[tag] = state;
        else
            sparse[tag] = state;
    }

private:
    std::size_t largest;
    bool dense;
    std::vector<State> flat;
    std::unordered_map<std::size_t, State> sparse;
};

}  // namespace

int isInside(int dim, int tag, const std::vector<double>& coord, bool parametric)
{
    return call([&] {
        if (parametric) return ::gmsh::model::isInside(dim, tag, coord);
        GEntity* entity = GModel::current()->getEntityByTag(dim, tag);
        if (entity == nullptr) fail("Entity of dimension " + std::to_string(dim) + " and tag " + std::to_string(tag) +
                                    " does not exist");
        int inside = 0;
        for (std::size_t i = 0; i + 2 < coord.size(); i += 3) {
            const bool contained =
                dim == 1 ? curveContainsPoint(static_cast<GEdge*>(entity), coord[i], coord[i + 1], coord[i + 2])
                         : entity->containsPoint(SPoint3(coord[i], coord[i + 1], coord[i + 2]));
            if (contained) ++inside;
        }
        return inside;
    });
}

namespace mesh {

void getNode(std::size_t nodeTag, std::vector<double>& coord, std::vector<double>& parametricCoord, int& dim,
             int& tag)
{
    call([&] {
        checkTagRange("Node", nodeTag);
        ::gmsh::model::mesh::getNode(nodeTag, coord, parametricCoord);
        dim = -1;
        tag = -1;
        MVertex* vertex = GModel::current()->getMeshVertexByTag(static_cast<int>(nodeTag));
        if (vertex != nullptr && vertex->onWhat() != nullptr) {
            dim = vertex->onWhat()->dim();
            tag = vertex->onWhat()->tag();
        }
    });
}

void getMaxNodeTag(std::size_t& maxTag)
{
    call([&] { maxTag = GModel::current()->getMaxVertexNumber(); });
}

// gmsh lists an entity's elements under one type per family (its first
// element's), so a second-order triangle that shares a surface with
// first-order ones is left out of getElements and getElementsByType though
// the model holds it. The master mesh keeps every element of a dimension on
// one entity, so the lists are built here from every element's own type.
void getElements(std::vector<int>& elementTypes, std::vector<std::vector<std::size_t>>& elementTags,
                 std::vector<std::vector<std::size_t>>& nodeTags, int dim, int tag)
{
    call([&] {
        elementTypes.clear();
        elementTags.clear();
        nodeTags.clear();
        const std::vector<GEntity*> entities = entitiesOf(dim, tag);
        std::map<int, std::pair<std::size_t, std::size_t>> counts;  // type -> elements, nodes
        for (GEntity* entity : entities) {
            for (std::size_t i = 0; i < entity->getNumMeshElements(); ++i) {
                MElement* element = entity->getMeshElement(i);
                auto& count = counts[element->getTypeForMSH()];
                ++count.first;
                count.second += element->getNumVertices();
            }
        }
        std::map<int, std::size_t> slotOfType;
        for (const auto& count : counts) {
            slotOfType[count.first] = elementTypes.size();
            elementTypes.push_back(count.first);
            elementTags.emplace_back().reserve(count.second.first);
            nodeTags.emplace_back().reserve(count.second.second);
        }
        for (GEntity* entity : entities) {
            for (std::size_t i = 0; i < entity->getNumMeshElements(); ++i) {
                MElement* element = entity->getMeshElement(i);
                const std::size_t slot = slotOfType[element->getTypeForMSH()];
                appendElement(element, elementTags[slot], nodeTags[slot]);
            }
        }
    });
}

void getElement(std::size_t elementTag, int& elementType, std::vector<std::size_t>& nodeTags, int& dim, int& tag)
{
    call([&] {
        MElement* element = knownElement(elementTag);
        ::gmsh::model::mesh::getElement(elementTag, elementType, nodeTags);
        findElementEntity(element, dim, tag);
    });
}

void getElementsByType(int elementType, std::vector<std::size_t>& elementTags, std::vector<std::size_t>& nodeTags,
                       int tag, std::size_t task, std::size_t numTasks)
{
    call([&] {
        if (numTasks > 1) {
            ::gmsh::model::mesh::getElementsByType(elementType, elementTags, nodeTags, tag, task, numTasks);
            return;
        }
        elementTags.clear();
        nodeTags.clear();
        for (GEntity* entity : entitiesOf(ElementType::getDimension(elementType), tag)) {
            for (std::size_t i = 0; i < entity->getNumMeshElements(); ++i) {
                MElement* element = entity->getMeshElement(i);
                if (element->getTypeForMSH() == elementType) appendElement(element, elementTags, nodeTags);
            }
        }
    });
}

void getMaxElementTag(std::size_t& maxTag)
{
    call([&] { maxTag = GModel::current()->getMaxElementNumber(); });
}

void getElementQualities(const std::vector<std::size_t>& elementTags, std::vector<double>& elementsQuality,
                         const std::string& qualityName, std::size_t task, std::size_t numTasks)
{
    call([&] {
        if (numTasks == 0) fail("Number of tasks should be > 0");
        const std::size_t begin = (task * elementTags.size()) / numTasks;
        const std::size_t end = ((task + 1) * elementTags.size()) / numTasks;
        if (numTasks > 1) {
            if (elementsQuality.size() < elementTags.size())
                fail("Qualities should be preallocated if numTasks > 1");
        } else {
            elementsQuality.assign(elementTags.size(), 0.0);
        }
        for (std::size_t k = begin; k < end; ++k)
            elementsQuality[k] = elementQuality(knownElement(elementTags[k]), qualityName);
    });
}

// One pass over the model's elements rather than a lookup per tag: gmsh's
// lookup first builds a cache over every element of the model, which the
// deletion that follows a hiding throws away again.
void setVisibility(const std::vector<std::size_t>& elementTags, int value)
{
    call([&] {
        // Every tag is found before any element changes, so that a bad tag
        // leaves the model as it was; the first bad one is reported.
        GModel* model = GModel::current();
        TagStates state(model->getMaxElementNumber(), model->getNumMeshElements());
        for (std::size_t tag : elementTags) state.Set(tag, TagStates::kAsked);
        std::vector<MElement*> found;
        found.reserve(elementTags.size());
        for (GEntity* entity : entitiesOf(-1, -1)) {
            for (std::size_t i = 0; i < entity->getNumMeshElements(); ++i) {
                MElement* element = entity->getMeshElement(i);
                if (state.Get(element->getNum()) != TagStates::kAsked) continue;
                state.Set(element->getNum(), TagStates::kFound);
                found.push_back(element);
            }
        }
        for (std::size_t tag : elementTags) {
            checkTagRange("Element", tag);
            if (state.Get(tag) != TagStates::kFound) fail("Unknown element " + tagAsPassed(tag));
        }
        for (MElement* element : found) element->setVisibility(static_cast<char>(value));
    });
}

}  // namespace mesh

}  // namespace Tarnel::GmshAdapter::model
