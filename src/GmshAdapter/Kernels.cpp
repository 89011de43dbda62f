// The geometry kernels (OpenCASCADE and gmsh's built-in one) and plugins.

#include <string>
#include <vector>

#include <gmsh.h>

#include <GModel.h>
#include <GVertex.h>
#include <MPoint.h>
#include <Options.h>
#include <Plugin.h>
#include <PluginManager.h>

#include "GmshAdapter/GmshAdapter.h"
#include "GmshAdapter/GmshAdapterInternal.h"

namespace Tarnel::GmshAdapter {

namespace {

double pluginNumber(const std::string& name, const std::string& option)
{
    GMSH_Plugin* plugin = PluginManager::instance()->find(name);
    for (int i = 0; plugin != nullptr && i < plugin->getNbOptions(); ++i) {
        const StringXNumber* number = plugin->getOption(i);
        if (number != nullptr && option == number->str) return number->def;
    }
    return 0.0;
}

// gmsh's "Invisible" plugin deletes the invisible elements of volumes, faces
// and curves only: an invisible point element would stay in the model and in
// every file written from it. Its nodes stay, as they do for other elements.
void deleteInvisiblePointElements()
{
    GModel* model = GModel::current();
    bool deleted = false;
    for (auto point = model->firstVertex(); point != model->lastVertex(); ++point) {
        std::vector<MPoint*>& elements = (*point)->points;
        std::vector<MPoint*> kept;
        kept.reserve(elements.size());
        for (MPoint* element : elements) {
            if (element->getVisibility() != 0) {
                kept.push_back(element);
                continue;
            }
            delete element;
            deleted = true;
        }
        elements.swap(kept);
    }
    // The caches of lookups by tag still point to the deleted elements.
    if (deleted) model->destroyMeshCaches();
}

}  // namespace

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
        if (name == "Invisible" && pluginNumber(name, "DeleteElements") != 0.0) deleteInvisiblePointElements();
        return -1;
    });
}

}  // namespace plugin

}  // namespace Tarnel::GmshAdapter
