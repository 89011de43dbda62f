#include <cstdio>
#include <filesystem>
#include <string>

#include <BRepPrimAPI_MakeBox.hxx>
#include <TarnelMesh.h>

// Uses the installed library the way a host does and fails loudly otherwise.
int main(int argc, char** argv)
{
    const std::string directory = argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string();
    Tarnel::MeshEngineWrapper& wrapper = Tarnel::MeshEngineWrapper::getInstance();
    wrapper.SetMeshExportPath(directory);

    Tarnel::Mesh first(true);
    Tarnel::Mesh second(true);
    first.SetFileName("consumer_first");
    if (!wrapper.IsMeshActive(second) || !wrapper.DoesMeshExist(first)) {
        std::fprintf(stderr, "temporary models are missing\n");
        return 1;
    }

    // An empty model written and read back.
    const std::string path = first.WriteMesh(directory, Tarnel::MeshFileFormat::MSH);
    Tarnel::Mesh reloaded;
    reloaded.SetFileName("consumer_first");
    if (path.empty() || !reloaded.LoadMesh(directory, Tarnel::MeshFileFormat::MSH)) {
        std::fprintf(stderr, "write and reload failed\n");
        return 2;
    }

    TopoDS_Shape box = BRepPrimAPI_MakeBox(1.0, 2.0, 3.0).Shape();
    Handle(GEOM_Object) object = STEPPlugin_IOperations(wrapper.GetGeomEngine())._copyShape(box);
    double xmin, xmax, ymin, ymax, zmin, zmax;
    Tarnel::GeometryMeasureOperations().GetBoundingBox(object, true, xmin, xmax, ymin, ymax, zmin, zmax);
    if (object.IsNull() || zmax < 2.999 || zmax > 3.001) {
        std::fprintf(stderr, "GEOM object of the box is wrong\n");
        return 3;
    }
    std::printf("consumer: wrote and reloaded %s, made a GEOM box of height %g\n", path.c_str(), zmax);
    return 0;
}
