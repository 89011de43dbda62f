#include "GmshQueries.h"

#include <algorithm>
#include <stdexcept>

#include "GmshAdapter/GmshAdapter.h"
#include "MeshEngineWrapper.h"

namespace gm = Tarnel::GmshAdapter;

namespace TarnelTest {

std::string CurrentModel()
{
    std::string name;
    gm::model::getCurrent(name);
    return name;
}

std::vector<std::string> ModelNames()
{
    std::vector<std::string> names;
    gm::model::list(names);
    return names;
}

bool HasModel(const std::string& name)
{
    const std::vector<std::string> names = ModelNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

double NumberOption(const std::string& name)
{
    double value = -1;
    gm::option::getNumber(name, value);
    return value;
}

std::size_t ElementCount()
{
    std::vector<int> types;
    std::vector<std::vector<std::size_t>> tags, nodes;
    gm::model::mesh::getElements(types, tags, nodes);
    std::size_t count = 0;
    for (const auto& list : tags) count += list.size();
    return count;
}

std::size_t MasterElementCount()
{
    Tarnel::MeshEngineWrapper::getInstance().ActivateMasterMesh();
    return ElementCount();
}

std::string FailureOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::runtime_error& error) {
        std::string last;
        gm::logger::getLastError(last);
        return last == error.what() ? error.what() : "not gmsh's last error: " + std::string(error.what());
    }
    return "no exception";
}

}  // namespace TarnelTest
