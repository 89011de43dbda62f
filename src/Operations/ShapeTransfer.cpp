#include "Operations/ShapeTransfer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "GEOMImpl_Gen.hxx"
#include "GeometryBasicOperations.h"
#include "GeometryMeasureOperations.h"
#include "GeometryTransformOperations.h"
#include "GmshAdapter/GmshAdapter.h"
#include "MeshEngineWrapper.h"
#include "STEPPlugin_IOperations.hxx"

namespace Tarnel {

namespace {

struct Box {
    double xmin = 0, ymin = 0, zmin = 0, xmax = 0, ymax = 0, zmax = 0;
};

double roundTo(double value, double scale)
{
    return std::round(value * scale) / scale;
}

Box gmshBox(const GmshAdapter::vectorpair& imported, ShapeTransferVariant variant)
{
    Box box;
    if (imported.empty()) {
        if (variant == ShapeTransferVariant::Edge)
            throw std::runtime_error("The transferred STEP file holds no entity for gmsh.");
        return box;
    }
    const std::size_t measured = variant == ShapeTransferVariant::Edge ? 1 : imported.size();
    for (std::size_t i = 0; i < measured; ++i) {
        Box part;
        GmshAdapter::model::getBoundingBox(imported[i].first, imported[i].second, part.xmin, part.ymin, part.zmin,
                                           part.xmax, part.ymax, part.zmax);
        if (i == 0) {
            box = part;
            continue;
        }
        box.xmin = std::min(box.xmin, part.xmin);
        box.ymin = std::min(box.ymin, part.ymin);
        box.zmin = std::min(box.zmin, part.zmin);
        box.xmax = std::max(box.xmax, part.xmax);
        box.ymax = std::max(box.ymax, part.ymax);
        box.zmax = std::max(box.zmax, part.zmax);
    }
    return box;
}

void exportStep(const Handle(GEOM_Object)& object, const std::string& path)
{
    STEPPlugin_IOperations(MeshEngineWrapper::getInstance().GetGeomEngine())
        .ExportSTEP(object, path.c_str(), STEPPlugin_IOperations::LengthUnit_Millimeter);
}

}  // namespace

double BoxEndRatio(double gmshValue, double referenceValue)
{
    const double ratio = roundTo(gmshValue, 1e7) / roundTo(referenceValue, 1e7);
    if (std::isinf(ratio)) return 0.0;
    return roundTo(ratio, 1000.0);
}

double GreatestRatio(const std::array<double, 6>& ratios)
{
    double greatest = ratios[0];
    for (double ratio : ratios)
        if (std::isnan(greatest) || ratio > greatest) greatest = ratio;
    return greatest;
}

std::string ShapeTransferRefusal()
{
    if (!MeshEngineWrapper::getInstance().GetMeshExportPath().empty()) return "";
    return "Export directory was not set, we are not writing out the shape for gmsh (tmp_mesh.step)!";
}

void TransferShapeToGmsh(TopoDS_Shape& shape, ShapeTransferVariant variant)
{
    const std::string refusal = ShapeTransferRefusal();
    if (!refusal.empty()) throw std::runtime_error(refusal);
    MeshEngineWrapper& engine = MeshEngineWrapper::getInstance();
    Handle(GEOM_Object) object = STEPPlugin_IOperations(engine.GetGeomEngine())._copyShape(shape);
    Box reference;
    GeometryMeasureOperations().GetBoundingBox(object, true, reference.xmin, reference.xmax, reference.ymin,
                                               reference.ymax, reference.zmin, reference.zmax);

    const std::string path = engine.GetMeshExportPath() + "/tmp_mesh.step";
    exportStep(object, path);
    GmshAdapter::vectorpair imported;
    GmshAdapter::model::occ::importShapes(path, imported, true, "");
    GmshAdapter::model::occ::synchronize();

    const Box measured = gmshBox(imported, variant);
    const double greatest = GreatestRatio(
        {BoxEndRatio(measured.xmax, reference.xmax), BoxEndRatio(measured.xmin, reference.xmin),
         BoxEndRatio(measured.ymax, reference.ymax), BoxEndRatio(measured.ymin, reference.ymin),
         BoxEndRatio(measured.zmax, reference.zmax), BoxEndRatio(measured.zmin, reference.zmin)});
    const double threshold = variant == ShapeTransferVariant::Edge ? 1.0 : 2.0;
    if (!(greatest > threshold)) return;

    GmshAdapter::vectorpair curves;
    GmshAdapter::model::getEntities(curves, 1);
    GmshAdapter::model::removeEntities(curves, true);
    GmshAdapter::model::occ::remove(imported, true);
    GmshAdapter::model::occ::synchronize();

    Handle(GEOM_Object) origin = GeometryBasicOperations().MakePointXYZ(0.0, 0.0, 0.0);
    Handle(GEOM_Object) scaled = GeometryTransformOperations().ScaleShape(object, origin, 1.0 / greatest);
    exportStep(scaled, path);
    GmshAdapter::model::occ::importShapes(path, imported, true, "");
}

}  // namespace Tarnel
