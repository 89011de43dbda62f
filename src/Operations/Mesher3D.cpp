#include "Operations/Mesher3D.h"

#include <limits>
#include <string>
#include <vector>

#include "GmshAdapter/GmshAdapter.h"
#include "Internal/LogMacros.h"
#include "Internal/TagLookup.h"
#include "MeshEngineWrapper.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Operations/Mesher3D";
const char* const kLocation = "Tarnel::Mesher3D::Generate3DMesh";

// The shell as read from the master mesh: its nodes, with their master IDs
// and positions, and its elements by type, in the master's order.
struct Shell {
    std::unordered_set<int> nodeIds;
    std::vector<std::size_t> nodeTags;
    std::vector<double> coordinates;
    std::vector<int> types;
    std::vector<std::vector<std::size_t>> elementTags;
    std::vector<std::vector<std::size_t>> elementNodes;
};

Shell readShell(const std::unordered_set<int>& boundaryElementIds)
{
    MeshEngineWrapper::getInstance().ActivateMasterMesh();
    std::vector<std::size_t> masterNodeTags;
    std::vector<double> masterCoordinates;
    std::vector<double> parametric;
    GmshAdapter::model::mesh::getNodes(masterNodeTags, masterCoordinates, parametric, -1, -1, false, false);
    std::vector<int> types;
    std::vector<std::vector<std::size_t>> elementTags;
    std::vector<std::vector<std::size_t>> nodeTags;
    GmshAdapter::model::mesh::getElements(types, elementTags, nodeTags, -1, -1);

    Shell shell;
    shell.nodeIds.reserve(masterNodeTags.size());
    for (std::size_t t = 0; t < types.size(); ++t) {
        const std::size_t count = elementTags[t].size();
        if (count == 0) continue;
        const std::size_t nodesPerElement = nodeTags[t].size() / count;
        std::vector<std::size_t> tags;
        std::vector<std::size_t> nodes;
        for (std::size_t k = 0; k < count; ++k) {
            if (boundaryElementIds.count(static_cast<int>(elementTags[t][k])) == 0) continue;
            tags.push_back(elementTags[t][k]);
            for (std::size_t n = 0; n < nodesPerElement; ++n) {
                const std::size_t node = nodeTags[t][k * nodesPerElement + n];
                nodes.push_back(node);
                if (shell.nodeIds.size() < masterNodeTags.size()) shell.nodeIds.insert(static_cast<int>(node));
            }
        }
        if (tags.empty()) continue;
        shell.types.push_back(types[t]);
        shell.elementTags.push_back(std::move(tags));
        shell.elementNodes.push_back(std::move(nodes));
    }

    // Positions from the bulk read rather than one lookup per node.
    std::size_t maxTag = 0;
    for (std::size_t tag : masterNodeTags) maxTag = std::max(maxTag, tag);
    TagLookup<std::size_t> indexOfTag(masterNodeTags.size(), maxTag, std::numeric_limits<std::size_t>::max());
    for (std::size_t i = 0; i < masterNodeTags.size(); ++i) indexOfTag.Set(masterNodeTags[i], i);
    for (int node : shell.nodeIds) {
        const std::size_t index = indexOfTag.Get(static_cast<std::size_t>(node));
        shell.nodeTags.push_back(static_cast<std::size_t>(node));
        if (index != std::numeric_limits<std::size_t>::max()) {
            shell.coordinates.insert(shell.coordinates.end(), masterCoordinates.begin() + 3 * index,
                                     masterCoordinates.begin() + 3 * index + 3);
            continue;
        }
        std::vector<double> coordinate;
        int dim = 0;
        int entity = 0;
        GmshAdapter::model::mesh::getNode(static_cast<std::size_t>(node), coordinate, parametric, dim, entity);
        shell.coordinates.insert(shell.coordinates.end(), coordinate.begin(), coordinate.begin() + 3);
    }
    return shell;
}

// The shell as one discrete surface in the caller's model, with the master's
// node IDs, closed into a volume. Returns the volume's tag.
int buildBoundaryModel(const std::string& modelName, const Shell& shell)
{
    GmshAdapter::model::setCurrent(modelName);
    const int surfaceTag = GmshAdapter::model::addDiscreteEntity(2, -1, {});
    GmshAdapter::model::mesh::addNodes(2, surfaceTag, shell.nodeTags, shell.coordinates);
    const int loop = GmshAdapter::model::geo::addSurfaceLoop({surfaceTag}, -1, false);
    const int volumeTag = GmshAdapter::model::geo::addVolume({loop}, -1);
    GmshAdapter::model::geo::synchronize();
    for (std::size_t t = 0; t < shell.types.size(); ++t)
        GmshAdapter::model::mesh::addElements(2, surfaceTag, {shell.types[t]}, {shell.elementTags[t]},
                                              {shell.elementNodes[t]});
    return volumeTag;
}

// The options of the first attempt. gmsh renumbers the nodes after meshing
// unless told not to; the shell's nodes must keep their master IDs, or the
// volume would not join the shell it was made from.
void setFirstAttemptOptions(const Mesh3DSettings& settings)
{
    GmshAdapter::option::setNumber("Mesh.Algorithm3D", 1);
    GmshAdapter::option::setNumber("Mesh.Algorithm", 5);
    GmshAdapter::option::setNumber("Mesh.Optimize", 1);
    GmshAdapter::option::setNumber("Mesh.OptimizeNetgen", 0);
    GmshAdapter::option::setNumber("Mesh.ToleranceInitialDelaunay", 1e-10);
    if (settings.GetElementSize() > 0)
        GmshAdapter::option::setNumber("Mesh.CharacteristicLengthMax", settings.GetElementSize());
    GmshAdapter::option::setNumber("Mesh.ElementOrder", static_cast<int>(settings.GetElementOrder()));
    GmshAdapter::option::setNumber("Mesh.Renumber", 0);
}

// The values every mesher leaves for the next one after a failed 3D run.
void resetContaminatedOptions()
{
    GmshAdapter::option::setNumber("Mesh.Algorithm3D", 1);
    GmshAdapter::option::setNumber("Mesh.Algorithm", 5);
    GmshAdapter::option::setNumber("Mesh.Optimize", 1);
    GmshAdapter::option::setNumber("Mesh.OptimizeNetgen", 0);
    GmshAdapter::option::setNumber("Mesh.ToleranceInitialDelaunay", 1e-12);
    GmshAdapter::option::setNumber("Mesh.CharacteristicLengthMax", 1e22);
    GmshAdapter::option::setNumber("Mesh.CharacteristicLengthMin", 0);
}

std::size_t countVolumeElements(int volumeTag)
{
    std::vector<int> types;
    std::vector<std::vector<std::size_t>> elementTags;
    std::vector<std::vector<std::size_t>> nodeTags;
    GmshAdapter::model::mesh::getElements(types, elementTags, nodeTags, 3, volumeTag);
    std::size_t count = 0;
    for (const auto& tags : elementTags) count += tags.size();
    return count;
}

bool mentionsOverlapping(const std::string& error)
{
    return error.find("overlapping") != std::string::npos;
}

// Puts "Mesh.Renumber" back as the caller had it, on every way out.
class RenumberRestorer {
public:
    RenumberRestorer() { GmshAdapter::option::getNumber("Mesh.Renumber", value); }
    ~RenumberRestorer()
    {
        try {
            GmshAdapter::option::setNumber("Mesh.Renumber", value);
        } catch (...) {
        }
    }
    RenumberRestorer(const RenumberRestorer&) = delete;
    RenumberRestorer& operator=(const RenumberRestorer&) = delete;

private:
    double value = 1;
};

// One meshing attempt; on failure the message is kept and the session reset.
struct Attempt {
    const char* name;
    const char* successMessage;
    bool failed(std::string& lastError, bool lastAttempt) const
    {
        try {
            GmshAdapter::model::mesh::generate(3);
            TARNEL_LOG_INFO(successMessage, kLocation);
            return false;
        } catch (const std::exception& exception) {
            lastError = exception.what();
            if (lastAttempt)
                TARNEL_LOG_ERROR("All mesh generation attempts failed: " + lastError, kLocation);
            else
                TARNEL_LOG_WARN(std::string(name) + " algorithm failed: " + lastError, kLocation);
            MeshEngineWrapper::getInstance().ResetGmshSession();
            return true;
        }
    }
};

}  // namespace

void Mesher3D::Generate3DMesh(Mesh& mesh, const std::unordered_set<int>& boundaryElementIds, Mesh3DSettings settings)
{
    TARNEL_LOG_INFO("Generate3DMesh starting | boundaryElements=" + std::to_string(boundaryElementIds.size()) +
                        " elementSize=" + std::to_string(settings.GetElementSize()) +
                        " targetType=" + std::to_string(static_cast<int>(settings.GetElementType())) +
                        " algorithm=" + std::to_string(static_cast<int>(settings.GetMeshAlgorithmChoice())) +
                        " elementOrder=" + std::to_string(static_cast<int>(settings.GetElementOrder())),
                    kLocation);
    MeshEngineWrapper& engine = MeshEngineWrapper::getInstance();
    try {
        const RenumberRestorer renumbering;
        const Shell shell = readShell(boundaryElementIds);
        int volumeTag = buildBoundaryModel(mesh.modelName, shell);
        setFirstAttemptOptions(settings);

        std::string lastError;
        TARNEL_LOG_INFO("Attempting 3D mesh generation with Delaunay algorithm...", kLocation);
        bool failed = Attempt{"Delaunay", "3D mesh generated successfully with Delaunay algorithm."}.failed(lastError,
                                                                                                           false);
        const bool overlapping = failed && mentionsOverlapping(lastError);
        if (overlapping) TARNEL_LOG_WARN("Overlapping facets detected - skipping further 3D attempts.", kLocation);

        // The session reset after a failed attempt discarded the caller's
        // model: every retry starts from the shell again, in that model.
        auto rebuild = [&] {
            GmshAdapter::model::add(mesh.modelName);
            volumeTag = buildBoundaryModel(mesh.modelName, shell);
            setFirstAttemptOptions(settings);
        };
        if (failed && !overlapping) {
            rebuild();
            TARNEL_LOG_INFO("Retrying with Frontal algorithm...", kLocation);
            GmshAdapter::option::setNumber("Mesh.Algorithm3D", 4);
            failed = Attempt{"Frontal", "3D mesh generated successfully with Frontal algorithm."}.failed(lastError,
                                                                                                        false);
        }
        if (failed && !overlapping) {
            rebuild();
            TARNEL_LOG_INFO("Retrying with relaxed tolerance settings...", kLocation);
            GmshAdapter::option::setNumber("Mesh.Algorithm3D", 1);
            GmshAdapter::option::setNumber("Mesh.ToleranceInitialDelaunay", 1e-8);
            GmshAdapter::option::setNumber("Mesh.Optimize", 0);
            failed = Attempt{"Relaxed", "3D mesh generated successfully with relaxed settings."}.failed(lastError,
                                                                                                       true);
        }

        if (failed) {
            mesh.SetErrorMessage(std::string("Failed to generate 3D volume mesh after multiple attempts. ") +
                                 "Last error: " + lastError + ". " +
                                 "Possible causes: non-manifold geometry, open surfaces, " +
                                 "intersecting faces, or incompatible boundary mesh quality.");
            TARNEL_LOG_WARN("Generate3DMesh failed - resetting contaminated global GMSH options.", kLocation);
            resetContaminatedOptions();
            engine.RemoveMesh(mesh);
            engine.ActivateMasterMesh();
            return;
        }

        const std::size_t count = countVolumeElements(volumeTag);
        if (count == 0) {
            mesh.SetErrorMessage("3D mesh generation produced no 3D elements. Possible causes: non-manifold geometry, "
                                 "open surfaces, or incompatible boundary mesh quality.");
            TARNEL_LOG_WARN("Generate3DMesh: zero 3D elements.", kLocation);
            engine.RemoveMesh(mesh);
            engine.ActivateMasterMesh();
            return;
        }
        TARNEL_LOG_INFO("3D mesh generated: " + std::to_string(count) + " 3D elements.", kLocation);
        mesh.SetMeshAdditionElementFilter(DIMENSION_3D);
        mesh.SetSharedMasterNodeIds(shell.nodeIds);
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("Unexpected error in 3D mesh generation", exception, kLocation);
        mesh.SetErrorMessage(std::string("Unexpected error during 3D mesh generation: ") + exception.what());
    }
}

}  // namespace Tarnel
