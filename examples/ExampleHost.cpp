// A host of the meshing library, as a pre-processor drives it: it builds its
// geometry with OpenCASCADE, hands it over as GEOM objects, and asks the
// library to write what it needs into an export directory.
//
// Usage: example_host [export directory]   (default: ./tarnel-example-output)

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <unordered_map>

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

// A mesh the host made elsewhere and hands over as a file: a strip of two
// triangles and two quadrangles in gmsh's MSH 2.2 text format.
std::string writeHostMeshFile(const std::string& directory, const std::string& name)
{
    const std::string path = directory + "/" + name + ".msh";
    std::ofstream file(path);
    file << "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n"
         << "$Nodes\n8\n"
         << "1 0 0 0\n2 10 0 0\n3 20 0 0\n4 30 0 0\n5 0 10 0\n6 10 10 0\n7 20 10 0\n8 30 10 0\n"
         << "$EndNodes\n"
         << "$Elements\n4\n"
         << "1 2 2 0 1 1 2 6\n2 2 2 0 1 1 6 5\n3 3 2 0 1 2 3 7 6\n4 3 2 0 1 3 4 8 7\n"
         << "$EndElements\n";
    return path;
}

void printTransaction(const char* what, const Tarnel::MeshTransaction& transaction)
{
    std::printf("%s: component %d, %zu element(s) created (%zu ints), %zu node record(s) (%zu doubles)\n", what,
                transaction.componentMeshId, transaction.createdElementNodeIds.size(),
                transaction.createdElements.size(), transaction.createdNodeRecords.size() / 4,
                transaction.createdNodeRecords.size());
}

std::unordered_map<Tarnel::ElementShape, Tarnel::SolverElementType> solverTypes()
{
    auto type = [](int value) { return static_cast<Tarnel::SolverElementType>(value); };
    return {{Tarnel::LINE_2NODE, type(2)},     {Tarnel::TRIANGLE_3NODE, type(12)}, {Tarnel::QUAD_4NODE, type(15)},
            {Tarnel::TETRA_4NODE, type(21)},   {Tarnel::PYRAMID_5NODE, type(21)},  {Tarnel::PRISM_6NODE, type(21)},
            {Tarnel::HEXA_8NODE, type(21)},    {Tarnel::POINT_1NODE, type(1)}};
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

        // A mesh made elsewhere, placed as component 1 into the (empty) master
        // mesh: it is loaded directly, keeping the file's IDs.
        const std::string meshPath = writeHostMeshFile(exportDirectory, "strip");
        Tarnel::Mesh strip;
        strip.SetFileName("strip");
        strip.LoadMesh(exportDirectory, Tarnel::MeshFileFormat::MSH);
        Tarnel::MasterMesh& master = Tarnel::MasterMesh::getInstance();
        Tarnel::ComponentMesh component(1, 100, 101, 102, 103);
        component.SetFileName("component_1");
        master.ExtendComponentMesh(component, strip, solverTypes(), false);
        std::printf("Placed %s into the master mesh as component 1\n", meshPath.c_str());
        printTransaction("  transaction", component.GetLastMeshTransaction());

        master.GetNodeRepositoryPtr()->WriteOutAssetFile();
        component.WriteMeshAssetFile();
        std::printf("Wrote %s/AllActiveNodes.mshp and %s/component_1.mshp\n", exportDirectory.c_str(),
                    exportDirectory.c_str());
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "example_host failed: %s\n", error.what());
        return 1;
    }
}
