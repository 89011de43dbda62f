// A host of the meshing library, as a pre-processor drives it: it builds its
// geometry with OpenCASCADE, hands it over as GEOM objects, has faces meshed,
// places the meshes into the model-wide master mesh as component meshes, and
// asks for the files it needs in an export directory.
//
// Usage: example_host [export directory]   (default: ./tarnel-example-output)

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>
#include <exception>
#include <stdexcept>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include <BRepAlgoAPI_Cut.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <TopExp_Explorer.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Face.hxx>
#include <gp_Ax2.hxx>
#include <gp_Pln.hxx>

#include <TarnelMesh.h>

namespace {

using namespace Tarnel;

TopoDS_Shape makeRectangle(double x0, double width, double height)
{
    return BRepBuilderAPI_MakeFace(gp_Pln(gp_Pnt(0, 0, 0), gp_Dir(0, 0, 1)), x0, x0 + width, 0, height).Face();
}

// A 100 x 50 plate in the plane z = 0 with a hole of radius 10 at its centre.
TopoDS_Shape makePlateWithHole()
{
    const TopoDS_Shape cylinder = BRepPrimAPI_MakeCylinder(gp_Ax2(gp_Pnt(50, 25, -1), gp_Dir(0, 0, 1)), 10, 2);
    TopExp_Explorer faces(BRepAlgoAPI_Cut(makeRectangle(0, 100, 50), cylinder).Shape(), TopAbs_FACE);
    return faces.Current();
}

Handle(GEOM_Object) geomObject(TopoDS_Shape shape)
{
    return STEPPlugin_IOperations(MeshEngineWrapper::getInstance().GetGeomEngine())._copyShape(shape);
}

std::unordered_map<ElementShape, SolverElementType> solverTypes()
{
    auto type = [](int value) { return static_cast<SolverElementType>(value); };
    return {{LINE_2NODE, type(2)},  {TRIANGLE_3NODE, type(12)}, {QUAD_4NODE, type(15)}, {TETRA_4NODE, type(21)},
            {PYRAMID_5NODE, type(21)}, {PRISM_6NODE, type(21)},  {HEXA_8NODE, type(21)}, {POINT_1NODE, type(1)}};
}

void printTransaction(const MeshTransaction& transaction)
{
    std::printf("  transaction of component %d: %zu element(s) (%zu ints), %zu node record(s) (%zu doubles)\n",
                transaction.componentMeshId, transaction.createdElementNodeIds.size(),
                transaction.createdElements.size(), transaction.createdNodeRecords.size() / 4,
                transaction.createdNodeRecords.size());
}

// Meshes the face into a fresh mesh, writes that mesh to the export
// directory, and places it into the master mesh as component `componentId`.
ComponentMesh meshAndPlace(const char* name, TopoDS_Shape face, const Mesh2DSettings& settings, int componentId)
{
    MeshFactory factory;
    Mesh mesh(true);
    mesh.SetFileName(name);
    Handle(GEOM_Object) object = geomObject(face);
    factory.Create2DMesh(mesh, object, settings, false);
    if (!mesh.IsValid()) throw std::runtime_error(std::string("meshing ") + name + " failed: " + mesh.GetErrorMessage());

    const std::string path = mesh.WriteMesh(MeshFactory::GetExportDirectory(), MeshFileFormat::MSH);
    ComponentMesh component(componentId, 10 * componentId, 10 * componentId + 1, 10 * componentId + 2,
                            10 * componentId + 3);
    component.SetFileName(std::string("component_") + name);
    MasterMesh::getInstance().ExtendComponentMesh(component, mesh, solverTypes(), false);

    const ElementSet& surfaces = *component.GetElementsByDimension(DIMENSION_2D);
    std::printf("Meshed %s: %zu surface element(s), written to %s, placed as component %d\n", name,
                surfaces.GetElementCount(), path.c_str(), componentId);
    printTransaction(component.GetLastMeshTransaction());
    return component;
}

// A closed box shell meshed with triangles, filled with tetrahedra that
// share its nodes, both placed as components 3 (shell) and 4 (solid).
void fillBoxWithTetrahedra(MasterMesh& master)
{
    TopoDS_Shape shell = BRepPrimAPI_MakeBox(gp_Pnt(0, 80, 0), 30, 20, 10).Shell();
    ComponentMesh shellMesh = meshAndPlace("box_shell", shell, Mesh2DSettings::GetDefaultTriaMeshSettings(4.0), 3);
    const std::unordered_set<int> shellElements = shellMesh.GetElementsByDimension(DIMENSION_2D)->GetElementIds();

    Mesh volume(true);
    Mesher3D::Generate3DMesh(volume, shellElements,
                             Mesh3DSettings(4.0, Target3DMeshType::Tetrahedra, Mesh3DAlgorithmChoice::Delaunay,
                                            MeshElementOrder::Linear));
    if (!volume.IsValid()) throw std::runtime_error("filling the box failed: " + volume.GetErrorMessage());
    ComponentMesh solid(4, 40, 41, 42, 43);
    solid.SetFileName("component_box_solid");
    master.ExtendComponentMesh(solid, volume, solverTypes(), false);

    std::unordered_set<int> shellNodes;
    for (int id : shellElements) {
        const Element triangle = master.GetElementDefinition(id);
        shellNodes.insert(triangle.nodeIds.begin(), triangle.nodeIds.end());
    }
    std::unordered_set<int> sharedNodes;
    for (int id : solid.GetElementsByDimension(DIMENSION_3D)->GetElementIds())
        for (int node : master.GetElementDefinition(id).nodeIds)
            if (shellNodes.count(node) != 0) sharedNodes.insert(node);
    std::printf("Filled the box: %zu shell triangle(s), %zu tetrahedra, %zu boundary node(s) shared with the shell\n",
                shellElements.size(), solid.GetElementsByDimension(DIMENSION_3D)->GetElementCount(),
                sharedNodes.size());
    printTransaction(solid.GetLastMeshTransaction());
}

std::vector<int> surfaceElementsOf(MasterMesh& master, int componentId)
{
    const std::unordered_set<int>& ids =
        master.GetComponentMesh(componentId)->GetElementsByDimension(DIMENSION_2D)->GetElementIds();
    std::vector<int> sorted(ids.begin(), ids.end());
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

std::vector<int> bothHalves(MasterMesh& master)
{
    std::vector<int> ids = surfaceElementsOf(master, 2);
    const std::vector<int> mirrored = surfaceElementsOf(master, 5);
    ids.insert(ids.end(), mirrored.begin(), mirrored.end());
    return ids;
}

void printTransactions(const char* step, const std::vector<MeshTransaction>& transactions)
{
    std::size_t created = 0;
    std::size_t removed = 0;
    for (const MeshTransaction& transaction : transactions) {
        created += transaction.createdElementNodeIds.size();
        removed += transaction.removedElementIds.size();
    }
    std::printf("%s: %zu transaction(s), %zu element(s) created, %zu removed\n", step, transactions.size(), created,
                removed);
}

// The flange is mirrored across its left edge (the plane x = 120) into a new
// component 5; the two halves are joined by merging the coincident nodes of
// the seam, which the free edges before and after show. Then a few mirrored
// quadrangles are turned over, and some are cut out and pasted back into the
// flange's own component.
void mirrorAndJoinTheFlange(MasterMesh& master)
{
    std::unordered_map<std::string, int> solverTypesByShape{{std::to_string(TRIANGLE_3NODE), 12},
                                                            {std::to_string(QUAD_4NODE), 15}};
    master.InsertMeshComponent(ComponentMesh(5, 50, 51, 52, 53));
    printTransactions("Mirrored the flange across x = 120 into component 5",
                      master.MirrorElements(5, surfaceElementsOf(master, 2), {120, 0, 0}, {1, 0, 0},
                                            solverTypesByShape, false));
    std::printf("Free edges of both halves before joining: %zu\n", master.GetFreeElementEdges(bothHalves(master)).size());

    const std::size_t nodesBefore = master.GetNodeRepositoryPtr()->GetActiveNodes()->GetNodeCount();
    printTransactions("Merged the coincident nodes of the halves",
                      master.MergeByElements(bothHalves(master), 1e-3, solverTypesByShape, false));
    std::printf("  active nodes: %zu before, %zu after\n", nodesBefore,
                master.GetNodeRepositoryPtr()->GetActiveNodes()->GetNodeCount());
    std::printf("Free edges of both halves after joining: %zu\n", master.GetFreeElementEdges(bothHalves(master)).size());

    const std::vector<int> mirrored = surfaceElementsOf(master, 5);
    if (mirrored.size() < 14) throw std::runtime_error("the mirrored half has too few elements to go on");
    std::vector<int> reversed;
    printTransactions("Reversed the normals of 4 mirrored elements",
                      master.ReverseNormals(std::vector<int>(mirrored.begin(), mirrored.begin() + 4), reversed,
                                            solverTypesByShape));

    const std::vector<int> remaining = surfaceElementsOf(master, 5);
    const std::unordered_set<int> cut(remaining.end() - 10, remaining.end());
    const MeshTransaction pasted = master.CopyPaste_CutPaste_ElementsAndNodes({}, cut, 2, solverTypesByShape, true);
    std::printf("Cut 10 elements of component 5 and pasted them into component %d: %zu created, %zu removed\n",
                pasted.componentMeshId, pasted.createdElementNodeIds.size(), pasted.removedElementIds.size());
    std::printf("Components now: flange %zu, mirrored half %zu surface element(s)\n",
                surfaceElementsOf(master, 2).size(), surfaceElementsOf(master, 5).size());
}

void exportInEveryFormat(MasterMesh& master)
{
    for (MeshFileFormat format : {MeshFileFormat::MSH, MeshFileFormat::MED, MeshFileFormat::STL, MeshFileFormat::INP}) {
        const std::string name = "DefaultMasterMesh" + GetMeshFileExtension(format);
        const bool written = master.ExportMeshFile(format, -1);
        std::printf("Exported the master mesh as %s: %s\n", name.c_str(), written ? "done" : "FAILED");
    }
}

// The surface elements of poorest shape, by gmsh's "gamma" measure (1 for an
// equilateral triangle, 0 for a degenerate one).
void printWorstSurfaceElements(MasterMesh& master, std::size_t count)
{
    const std::map<int, float> qualities = master.CheckQuality2D(GAMMA, LESS_THAN, 2.0, {});
    std::vector<std::pair<float, int>> ranked;
    for (const auto& entry : qualities) ranked.emplace_back(entry.second, entry.first);
    std::sort(ranked.begin(), ranked.end());
    std::printf("The %zu worst of %zu surface elements by gamma:\n", std::min(count, ranked.size()), ranked.size());
    for (std::size_t i = 0; i < ranked.size() && i < count; ++i) {
        const Element element = master.GetElementDefinition(ranked[i].second);
        std::printf("  element %d (%s, component %d): gamma %.4f\n", element.id,
                    element.shape == QUAD_4NODE ? "quadrangle" : "triangle", element.origin.componentMeshId,
                    ranked[i].first);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string exportDirectory =
        std::filesystem::absolute(argc > 1 ? argv[1] : "tarnel-example-output").lexically_normal().string();
    try {
        std::filesystem::create_directories(exportDirectory);
        Log::SetDefaultSinkLevel(LogLevel::Warn);
        MeshFactory::SetExportDirectory(exportDirectory);
        std::printf("Export directory: %s\n", exportDirectory.c_str());

        // Geometry arrives as GEOM objects made on the process-wide engine.
        Handle(GEOM_Object) plate = geomObject(makePlateWithHole());
        const std::string stepPath = exportDirectory + "/plate_with_hole.step";
        STEPPlugin_IOperations(MeshEngineWrapper::getInstance().GetGeomEngine())
            .ExportSTEP(plate, stepPath.c_str(), STEPPlugin_IOperations::LengthUnit_Millimeter);
        std::printf("Wrote the plate with a hole as STEP: %s\n", stepPath.c_str());

        // The plate with triangles, a second face beside it with quadrangles.
        ComponentMesh plateMesh = meshAndPlace("plate", makePlateWithHole(), Mesh2DSettings::GetDefaultTriaMeshSettings(5.0), 1);
        const Mesh2DSettings quads(5.0, MeshElementOrder::Linear, Mesh2DAlgorithmChoice::FrontalDelaunayQuads,
                                   RecombineAll::Enabled, RecombinationAlgorithm::Blossom, 0.5f,
                                   RecombineNodePositioning::On, 5);
        ComponentMesh flangeMesh = meshAndPlace("flange", makeRectangle(120, 40, 20), quads, 2);

        MasterMesh& master = MasterMesh::getInstance();
        std::printf("Master mesh: %zu element(s), %zu active node(s)\n", master.GetElementStoragePtr()->Size(),
                    master.GetNodeRepositoryPtr()->GetActiveNodes()->GetNodeCount());

        master.GetNodeRepositoryPtr()->WriteOutAssetFile();
        plateMesh.WriteMeshAssetFile();
        flangeMesh.WriteMeshAssetFile();
        std::printf("Wrote AllActiveNodes.mshp, component_plate.mshp and component_flange.mshp\n");

        fillBoxWithTetrahedra(master);
        mirrorAndJoinTheFlange(master);
        exportInEveryFormat(master);
        printWorstSurfaceElements(master, 10);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "example_host failed: %s\n", error.what());
        return 1;
    }
}
