#include "MedFiles.h"

#include <cstring>
#include <stdexcept>

#include <med.h>

namespace TarnelTest {

namespace {

void check(med_err result, const std::string& what)
{
    if (result < 0) throw std::runtime_error("MED library call failed: " + what);
}

std::string trimmed(const char* text, std::size_t size)
{
    std::string name(text, strnlen(text, size));
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

// The number of entities of a kind, 0 when the file has none.
med_int entityCount(med_idt file, const char* mesh, med_entity_type entity, med_geometry_type geometry,
                    med_data_type data, med_connectivity_mode mode)
{
    med_bool changed = MED_FALSE, transformed = MED_FALSE;
    const med_int count =
        MEDmeshnEntity(file, mesh, MED_NO_DT, MED_NO_IT, entity, geometry, data, mode, &changed, &transformed);
    check(count, "entity count");
    return count;
}

std::vector<int> numbersOrFamilies(med_idt file, const char* mesh, med_entity_type entity,
                                   med_geometry_type geometry, med_int count, med_data_type data)
{
    const med_connectivity_mode mode = entity == MED_NODE ? MED_NO_CMODE : MED_NODAL;
    if (entityCount(file, mesh, entity, geometry, data, mode) == 0) return {};
    std::vector<med_int> values(static_cast<std::size_t>(count));
    if (data == MED_NUMBER)
        check(MEDmeshEntityNumberRd(file, mesh, MED_NO_DT, MED_NO_IT, entity, geometry, values.data()), "numbers");
    else
        check(MEDmeshEntityFamilyNumberRd(file, mesh, MED_NO_DT, MED_NO_IT, entity, geometry, values.data()),
              "families");
    return std::vector<int>(values.begin(), values.end());
}

void readFamilies(med_idt file, const char* mesh, MedFileContent& content)
{
    const med_int familyCount = MEDnFamily(file, mesh);
    check(familyCount, "family count");
    for (int f = 1; f <= familyCount; ++f) {
        const med_int groupCount = MEDnFamilyGroup(file, mesh, f);
        check(groupCount, "group count");
        char familyName[MED_NAME_SIZE + 1] = {};
        std::vector<char> groups(static_cast<std::size_t>(groupCount) * MED_LNAME_SIZE + 1, '\0');
        med_int number = 0;
        check(MEDfamilyInfo(file, mesh, f, familyName, &number, groups.data()), "family");
        std::vector<std::string>& names = content.familyGroups[number];
        for (med_int g = 0; g < groupCount; ++g)
            names.push_back(trimmed(groups.data() + g * MED_LNAME_SIZE, MED_LNAME_SIZE));
    }
}

// MED's fixed-width name lists.
std::string padded(const std::vector<std::string>& names, std::size_t width)
{
    std::string text;
    for (const std::string& name : names) text += name + std::string(width - name.size(), ' ');
    return text;
}

void writeCells(med_idt file, const char* mesh, med_geometry_type type, const std::vector<med_int>& connectivity,
                std::size_t nodesPerElement, const std::vector<med_int>& numbers, const std::vector<med_int>& families)
{
    const med_int count = static_cast<med_int>(connectivity.size() / nodesPerElement);
    check(MEDmeshElementConnectivityWr(file, mesh, MED_NO_DT, MED_NO_IT, 0.0, MED_CELL, type, MED_NODAL,
                                       MED_FULL_INTERLACE, count, connectivity.data()),
          "connectivity");
    if (!numbers.empty())
        check(MEDmeshEntityNumberWr(file, mesh, MED_NO_DT, MED_NO_IT, MED_CELL, type, count, numbers.data()),
              "numbers");
    if (!families.empty())
        check(MEDmeshEntityFamilyNumberWr(file, mesh, MED_NO_DT, MED_NO_IT, MED_CELL, type, count, families.data()),
              "families");
}

void writeFamily(med_idt file, const char* mesh, const std::string& name, med_int number,
                 const std::vector<std::string>& groups)
{
    check(MEDfamilyCr(file, mesh, name.c_str(), number, static_cast<med_int>(groups.size()),
                      padded(groups, MED_LNAME_SIZE).c_str()),
          "family " + name);
}

}  // namespace

std::vector<std::array<double, 3>> MedFileContent::ElementNodes(int geometryType, std::size_t k) const
{
    const Cells& block = cells.at(geometryType);
    std::vector<std::array<double, 3>> positions;
    for (std::size_t i = 0; i < block.nodesPerElement; ++i)
        positions.push_back(nodes.at(static_cast<std::size_t>(block.connectivity.at(k * block.nodesPerElement + i)) - 1));
    return positions;
}

MedFileContent ReadMedFile(const std::string& path)
{
    const med_idt file = MEDfileOpen(path.c_str(), MED_ACC_RDONLY);
    if (file < 0) throw std::runtime_error("cannot open " + path);
    MedFileContent content;
    content.meshCount = MEDnMesh(file);
    char name[MED_NAME_SIZE + 1] = {}, description[MED_COMMENT_SIZE + 1] = {}, timeUnit[MED_SNAME_SIZE + 1] = {};
    char axisNames[3 * MED_SNAME_SIZE + 1] = {}, axisUnits[3 * MED_SNAME_SIZE + 1] = {};
    med_int spaceDimension = 0, meshDimension = 0, steps = 0;
    med_mesh_type meshType;
    med_sorting_type sorting;
    med_axis_type axisType;
    check(MEDmeshInfo(file, 1, name, &spaceDimension, &meshDimension, &meshType, description, timeUnit, &sorting,
                      &steps, &axisType, axisNames, axisUnits),
          "mesh info");
    content.meshName = trimmed(name, MED_NAME_SIZE);

    const med_int nodeCount = entityCount(file, name, MED_NODE, MED_NONE, MED_COORDINATE, MED_NO_CMODE);
    std::vector<med_float> coordinates(static_cast<std::size_t>(nodeCount * spaceDimension));
    check(MEDmeshNodeCoordinateRd(file, name, MED_NO_DT, MED_NO_IT, MED_FULL_INTERLACE, coordinates.data()),
          "coordinates");
    for (med_int i = 0; i < nodeCount; ++i) {
        std::array<double, 3> node = {0, 0, 0};
        for (med_int d = 0; d < spaceDimension; ++d) node[d] = coordinates[i * spaceDimension + d];
        content.nodes.push_back(node);
    }
    content.nodeNumbers = numbersOrFamilies(file, name, MED_NODE, MED_NONE, nodeCount, MED_NUMBER);
    content.nodeFamilies = numbersOrFamilies(file, name, MED_NODE, MED_NONE, nodeCount, MED_FAMILY_NUMBER);

    const med_int typeCount = entityCount(file, name, MED_CELL, MED_GEO_ALL, MED_CONNECTIVITY, MED_NODAL);
    for (int t = 1; t <= typeCount; ++t) {
        char typeName[MED_NAME_SIZE + 1] = {};
        med_geometry_type type = MED_NO_GEOTYPE;
        check(MEDmeshEntityInfo(file, name, MED_NO_DT, MED_NO_IT, MED_CELL, t, typeName, &type), "type info");
        const med_int count = entityCount(file, name, MED_CELL, type, MED_CONNECTIVITY, MED_NODAL);
        MedFileContent::Cells& cells = content.cells[type];
        // MED's geometry type codes are a hundred times the dimension plus
        // the number of nodes.
        cells.nodesPerElement = static_cast<std::size_t>(type % 100);
        std::vector<med_int> connectivity(static_cast<std::size_t>(count) * cells.nodesPerElement);
        check(MEDmeshElementConnectivityRd(file, name, MED_NO_DT, MED_NO_IT, MED_CELL, type, MED_NODAL,
                                           MED_FULL_INTERLACE, connectivity.data()),
              "connectivity");
        cells.connectivity.assign(connectivity.begin(), connectivity.end());
        cells.numbers = numbersOrFamilies(file, name, MED_CELL, type, count, MED_NUMBER);
        cells.families = numbersOrFamilies(file, name, MED_CELL, type, count, MED_FAMILY_NUMBER);
    }
    readFamilies(file, name, content);
    MEDfileClose(file);
    return content;
}

void WriteOtherWritersMedFile(const std::string& path)
{
    const med_idt file = MEDfileOpen(path.c_str(), MED_ACC_CREAT);
    if (file < 0) throw std::runtime_error("cannot create " + path);
    const char* mesh = "bracket";
    check(MEDmeshCr(file, mesh, 3, 3, MED_UNSTRUCTURED_MESH, "written elsewhere", "", MED_SORT_DTIT, MED_CARTESIAN,
                    padded({"x", "y", "z"}, MED_SNAME_SIZE).c_str(), padded({"mm", "mm", "mm"}, MED_SNAME_SIZE).c_str()),
          "mesh");

    // Positions 1 to 8: the cube's corners; 9: the pyramid's apex; 10: the
    // tetrahedron's apex; 11: the point.
    const std::vector<std::array<double, 3>> nodes = {{0, 0, 0}, {1, 0, 0},   {1, 1, 0},     {0, 1, 0},
                                                      {0, 0, 1}, {1, 0, 1},   {1, 1, 1},     {0, 1, 1},
                                                      {0.5, 0.5, 1.8}, {1.7, 0.3, 0.3}, {3, 3, 3}};
    std::vector<med_float> byAxis;
    for (std::size_t axis = 0; axis < 3; ++axis)
        for (const auto& node : nodes) byAxis.push_back(node[axis]);
    const med_int nodeCount = static_cast<med_int>(nodes.size());
    check(MEDmeshNodeCoordinateWr(file, mesh, MED_NO_DT, MED_NO_IT, 0.0, MED_NO_INTERLACE, nodeCount, byAxis.data()),
          "coordinates");
    std::vector<med_int> nodeNumbers, nodeFamilies(nodes.size(), 0);
    for (med_int p = 1; p <= nodeCount; ++p) nodeNumbers.push_back(101 + 3 * (p - 1));
    nodeFamilies[0] = nodeFamilies[1] = 4;
    check(MEDmeshEntityNumberWr(file, mesh, MED_NO_DT, MED_NO_IT, MED_NODE, MED_NONE, nodeCount, nodeNumbers.data()),
          "node numbers");
    check(MEDmeshEntityFamilyNumberWr(file, mesh, MED_NO_DT, MED_NO_IT, MED_NODE, MED_NONE, nodeCount,
                                      nodeFamilies.data()),
          "node families");

    // MED walks each base with its normal pointing out of the element.
    writeCells(file, mesh, MED_HEXA8, {1, 4, 3, 2, 5, 8, 7, 6}, 8, {7001}, {-2});
    writeCells(file, mesh, MED_PYRA5, {5, 8, 7, 6, 9}, 5, {7002}, {-2});
    writeCells(file, mesh, MED_TETRA4, {2, 6, 3, 10}, 4, {7003}, {-5});
    writeCells(file, mesh, MED_TRIA3, {1, 2, 3, 1, 3, 4}, 3, {501, 502}, {-8, -8});
    writeCells(file, mesh, MED_SEG2, {1, 2, 2, 3}, 2, {}, {});
    writeCells(file, mesh, MED_POINT1, {11}, 1, {9}, {-11});

    writeFamily(file, mesh, "FAMILLE_ZERO", 0, {});
    writeFamily(file, mesh, "ANCHOR_NODES", 4, {"Anchor"});
    writeFamily(file, mesh, "ANCHOR_POINT", -11, {"Anchor"});
    writeFamily(file, mesh, "SOLID", -2, {"Solid"});
    writeFamily(file, mesh, "SOLID_TIP", -5, {"Solid", "Tip"});
    writeFamily(file, mesh, "FLOOR", -8, {"Floor"});
    MEDfileClose(file);
}

void WriteMedFileOfOneElement(const std::string& path, int geometryType, int nodesPerElement,
                              const std::vector<std::string>& meshNames, const std::vector<int>& nodeNumbers)
{
    const med_idt file = MEDfileOpen(path.c_str(), MED_ACC_CREAT);
    if (file < 0) throw std::runtime_error("cannot create " + path);
    for (const std::string& name : meshNames) {
        const char* mesh = name.c_str();
        check(MEDmeshCr(file, mesh, 3, 3, MED_UNSTRUCTURED_MESH, "", "", MED_SORT_DTIT, MED_CARTESIAN,
                        padded({"x", "y", "z"}, MED_SNAME_SIZE).c_str(), padded({"", "", ""}, MED_SNAME_SIZE).c_str()),
              "mesh");
        std::vector<med_float> coordinates;
        std::vector<med_int> connectivity;
        for (int n = 0; n < nodesPerElement; ++n) {
            coordinates.insert(coordinates.end(), {double(n), double(n * n), 0.0});
            connectivity.push_back(n + 1);
        }
        check(MEDmeshNodeCoordinateWr(file, mesh, MED_NO_DT, MED_NO_IT, 0.0, MED_FULL_INTERLACE, nodesPerElement,
                                      coordinates.data()),
              "coordinates");
        if (!nodeNumbers.empty()) {
            const std::vector<med_int> numbers(nodeNumbers.begin(), nodeNumbers.end());
            check(MEDmeshEntityNumberWr(file, mesh, MED_NO_DT, MED_NO_IT, MED_NODE, MED_NONE, nodesPerElement,
                                        numbers.data()),
                  "node numbers");
        }
        writeCells(file, mesh, geometryType, connectivity, static_cast<std::size_t>(nodesPerElement), {}, {});
        writeFamily(file, mesh, "FAMILLE_ZERO", 0, {});
    }
    MEDfileClose(file);
}

}  // namespace TarnelTest
