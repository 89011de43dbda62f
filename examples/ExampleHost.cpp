// A host of the meshing library, as a pre-processor drives it: it builds its
// geometry with OpenCASCADE, hands it over as GEOM objects, and asks the
// library to write what it needs into an export directory.
//
// Usage: example_host [export directory]   (default: ./tarnel-example-output)

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include <BRepAlgoAPI_Cut.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <gp_Ax2.hxx>
#include <gp_Pln.hxx>

#include <TarnelMesh.h>

namespace {

// A 100 x 50 plate in the plane z = 0 with a hole of radius 10 at its centre.
TopoDS_Shape makePlateWithHole()
{
    const TopoDS_Face plate = BRepBuilderAPI_MakeFace(gp_Pln(gp_Pnt(0, 0, 0), gp_Dir(0, 0, 1)), 0, 100, 0, 50);
    const TopoDS_Shape cylinder = BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(50, 25, -1), gp_Dir(0, 0, 1)), 10, 2);
    const TopoDS_Shape cut = BRepAlgoAPI_Cut(plate, cylinder).Shape();
    TopExp_Explorer faces(cut, TopAbs_FACE);
    return faces.More() ? faces.Current() : cut;
}

void printBox(const char* what, const Handle(GEOM_Object)& object)
{
    double xmin, xmax, ymin, ymax, zmin, zmax;
    Tarnel::GeometryMeasureOperations().GetBoundingBox(object, true, xmin, xmax, ymin, ymax, zmin, zmax);
    std::printf("%s spans (%g, %g, %g) to (%g, %g, %g)\n", what, xmin, ymin, zmin, xmax, ymax, zmax);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string exportDirectory =
        std::filesystem::absolute(argc > 1 ? argv[1] : "tarnel-example-output").lexically_normal().string();
    try {
        std::filesystem::create_directories(exportDirectory);
        Tarnel::Log::SetDefaultSinkLevel(Tarnel::LogLevel::Warn);

        Tarnel::MeshEngineWrapper& engine = Tarnel::MeshEngineWrapper::getInstance();
        engine.SetMeshExportPath(exportDirectory);
        std::printf("Export directory: %s\n", engine.GetMeshExportPath().c_str());

        // Geometry arrives as GEOM objects made on the process-wide engine.
        TopoDS_Shape plateShape = makePlateWithHole();
        STEPPlugin_IOperations step(engine.GetGeomEngine());
        Handle(GEOM_Object) plate = step._copyShape(plateShape);
        printBox("Plate with hole", plate);

        const std::string stepPath = exportDirectory + "/plate_with_hole.step";
        step.ExportSTEP(plate, stepPath.c_str(), STEPPlugin_IOperations::LengthUnit_Millimeter);
        std::printf("Wrote the plate as STEP: %s (%ju bytes)\n", stepPath.c_str(),
                    static_cast<std::uintmax_t>(std::filesystem::file_size(stepPath)));
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "example_host failed: %s\n", error.what());
        return 1;
    }
}
