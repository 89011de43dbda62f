// Models, their entities and physical groups: gmsh's own calls, with the name
// of a physical group given at its creation as 4.11 takes it.

#include <gmsh.h>

#include <GModel.h>

#include "GmshAdapter/GmshAdapter.h"
#include "GmshAdapter/GmshAdapterInternal.h"

namespace Tarnel::GmshAdapter::model {

void add(const std::string& name)
{
    call([&] { ::gmsh::model::add(name); });
}

void remove()
{
    call([] { ::gmsh::model::remove(); });
}

void list(std::vector<std::string>& names)
{
    call([&] { ::gmsh::model::list(names); });
}

void getCurrent(std::string& name)
{
    call([&] { ::gmsh::model::getCurrent(name); });
}

void setCurrent(const std::string& name)
{
    call([&] { ::gmsh::model::setCurrent(name); });
}

void rename(const std::string& name)
{
    call([&] { GModel::current()->setName(name); });
}

void getFileName(std::string& fileName)
{
    call([&] { ::gmsh::model::getFileName(fileName); });
}

void setFileName(const std::string& fileName)
{
    call([&] { ::gmsh::model::setFileName(fileName); });
}

void getEntities(vectorpair& dimTags, int dim)
{
    call([&] { ::gmsh::model::getEntities(dimTags, dim); });
}

void removeEntities(const vectorpair& dimTags, bool recursive)
{
    call([&] { ::gmsh::model::removeEntities(dimTags, recursive); });
}

void getBoundingBox(int dim, int tag, double& xmin, double& ymin, double& zmin, double& xmax, double& ymax,
                    double& zmax)
{
    call([&] { ::gmsh::model::getBoundingBox(dim, tag, xmin, ymin, zmin, xmax, ymax, zmax); });
}

int addDiscreteEntity(int dim, int tag, const std::vector<int>& boundary)
{
    return call([&] { return ::gmsh::model::addDiscreteEntity(dim, tag, boundary); });
}

void getPhysicalGroups(vectorpair& dimTags, int dim)
{
    call([&] { ::gmsh::model::getPhysicalGroups(dimTags, dim); });
}

void getEntitiesForPhysicalGroup(int dim, int tag, std::vector<int>& tags)
{
    call([&] { ::gmsh::model::getEntitiesForPhysicalGroup(dim, tag, tags); });
}

int addPhysicalGroup(int dim, const std::vector<int>& tags, int tag, const std::string& name)
{
    return call([&] {
        const int group = ::gmsh::model::addPhysicalGroup(dim, tags, tag);
        if (!name.empty()) ::gmsh::model::setPhysicalName(dim, group, name);
        return group;
    });
}

void setPhysicalName(int dim, int tag, const std::string& name)
{
    call([&] { ::gmsh::model::setPhysicalName(dim, tag, name); });
}

void getPhysicalName(int dim, int tag, std::string& name)
{
    call([&] { ::gmsh::model::getPhysicalName(dim, tag, name); });
}

}  // namespace Tarnel::GmshAdapter::model
