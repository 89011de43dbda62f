#include "GmshQueries.h"

#include <stdexcept>

#include "GmshAdapter/GmshAdapter.h"

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

double NumberOption(const std::string& name)
{
    double value = -1;
    gm::option::getNumber(name, value);
    return value;
}

std::size_t ElementCount(int elementType)
{
    std::vector<int> types;
    std::vector<std::vector<std::size_t>> tags, nodes;
    gm::model::mesh::getElements(types, tags, nodes);
    std::size_t count = 0;
    for (std::size_t t = 0; t < types.size(); ++t)
        if (elementType == 0 || types[t] == elementType) count += tags[t].size();
    return count;
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
