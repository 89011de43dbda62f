// The geometry kernels (OpenCASCADE and gmsh's built-in one) and plugins.

#include <gmsh.h>

#include "GmshAdapter/GmshAdapter.h"
#include "GmshAdapter/GmshAdapterInternal.h"

namespace Tarnel::GmshAdapter {

namespace model {

namespace occ {

void importShapes(const std::string& fileName, vectorpair& outDimTags, bool highestDimOnly, const std::string& format)
{
    call([&] { ::gmsh::model::occ::importShapes(fileName, outDimTags, highestDimOnly, format); });
}

void synchronize()
{
    call([] { ::gmsh::model::occ::synchronize(); });
}

void remove(const vectorpair& dimTags, bool recursive)
{
    call([&] { ::gmsh::model::occ::remove(dimTags, recursive); });
}

}  // namespace occ

namespace geo {

int addSurfaceLoop(const std::vector<int>& surfaceTags, int tag, bool sewing)
{
    return call([&] {
        if (sewing) fail("Sewing of surface loops is not available in gmsh " + linkedVersion());
        return ::gmsh::model::geo::addSurfaceLoop(surfaceTags, tag);
    });
}

int addVolume(const std::vector<int>& shellTags, int tag)
{
    return call([&] { return ::gmsh::model::geo::addVolume(shellTags, tag); });
}

void synchronize()
{
    call([] { ::gmsh::model::geo::synchronize(); });
}

}  // namespace geo

}  // namespace model

namespace plugin {

void setNumber(const std::string& name, const std::string& option, double value)
{
    call([&] { ::gmsh::plugin::setNumber(name, option, value); });
}

int run(const std::string& name)
{
    // 4.11 returns the tag of the view the plugin created; 4.8 returns nothing
    // and the plugins the library runs create no view.
    return call([&] {
        ::gmsh::plugin::run(name);
        return -1;
    });
}

}  // namespace plugin

}  // namespace Tarnel::GmshAdapter
