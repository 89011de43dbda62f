#include "BadInput.h"

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "MeshFactory.h"
#include "TestMeshes.h"

using namespace Tarnel;

namespace TarnelTest {

void BuildBadInputMasterMesh(const TempDirectory& directory)
{
    MeshFactory::SetExportDirectory(directory.Path());
    MasterMesh& master = MasterMesh::getInstance();

    ComponentMesh first(1, 11, 12, 13, 14);
    Mesh source = SourceMesh(AddMixedPointLineTriangle);
    master.ExtendComponentMesh(first, source, AllSolverTypes(), false);

    master.InsertMeshComponent(ComponentMesh(2, 21, 22, 23, 24));
    master.AddElements(2, {LINE_2NODE}, {}, {}, {ElementData{{1, 2, 1, 3}, {2, 2}}}, {},
                       ElementAttributes({1, 1, 1, 0, 0, 0}, 0.0, 8, NOT_SPECIFIED), false);

    master.CreateElementSet(100, {3});
    master.CreateNodeSet(200, {1, 4});
}

std::string WithDirectory(const std::string& text, const TempDirectory& directory)
{
    std::string result = text;
    const std::string placeholder = "{dir}";
    for (std::size_t at = result.find(placeholder); at != std::string::npos;
         at = result.find(placeholder, at + directory.Path().size()))
        result.replace(at, placeholder.size(), directory.Path());
    return result;
}

std::string Answer(bool value)
{
    return value ? "true" : "false";
}

std::string Answer(const std::exception& exception)
{
    return std::string("threw: ") + exception.what();
}

std::string Answered(const std::function<std::string()>& call)
{
    try {
        return call();
    } catch (const std::exception& exception) {
        return Answer(exception);
    }
}

MasterMesh& Master()
{
    return MasterMesh::getInstance();
}

std::string WithLoggedExceptions(const std::function<std::string()>& call)
{
    std::string logged;
    Log::Sink previous;
    previous = Log::SetSink([&](const LogRecord& record) {
        if (record.hasException) logged += "; " + record.message + " (" + record.exceptionText + ")";
        if (previous) previous(record);
    });
    const std::string answer = call();
    Log::SetSink(previous);
    return answer + logged;
}

void AddAndDeleteNode5(const TempDirectory&)
{
    std::vector<Element> affected;
    std::unordered_set<int> orphans;
    Master().AddNode(XYZ(5, 5, 0), false);
    Master().DeleteNodes({5}, affected, orphans, false);
}

}  // namespace TarnelTest
