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
    return name.erase(name.find_last_not_of(' ') + 1);
}

// MED's fixed-width name lists.
std::string padded(const std::vector<std::string>& names, std::size_t width)
{
    std::string text;
    for (const std::string& name : names) text += name + std::string(width - name.size(), ' ');
    return text;
}

// The number of entities of a kind with the data, 0 when the file has none.
med_int entityCount(med_idt file, const char* mesh, med_entity_type entity, med_geometry_type geometry,
                    med_data_type data)
{
    med_bool changed = MED_FALSE, transformed = MED_FALSE;
    const med_connectivity_mode mode = entity == MED_NODE ? MED_NO_CMODE : MED_NODAL;
    const med_int count =
        MEDmeshnEntity(file, mesh, MED_NO_DT, MED_NO_IT, entity, geometry, data, mode, &changed, &transformed);
    check(count, "entity count");
    return count;
}

// The families of the entities of a kind; empty when the file has none.
std::vector<int> familiesOf(med_idt file, const char* mesh, med_entity_type entity, med_geometry_type geometry)
{
    const med_int count = entityCount(file, mesh, entity, geometry, MED_FAMILY_NUMBER);
    std::vector<med_int> values(static_cast<std::size_t>(count));
    if (count > 0)
        check(MEDmeshEntityFamilyNumberRd(file, mesh, MED_NO_DT, MED_NO_IT, entity, geometry, values.data()), "families");
    return std::vector<int>(values.begin(), values.end());
}

void writeNumbersAndFamilies(med_idt file, const char* mesh, med_entity_type entity, med_geometry_type geometry,
                             const std::vector<int>& numbers, const std::vector<int>& families)
{
    const std::vector<med_int> n(numbers.begin(), numbers.end()), f(families.begin(), families.end());
    if (!n.empty())
        check(MEDmeshEntityNumberWr(file, mesh, MED_NO_DT, MED_NO_IT, entity, geometry, med_int(n.size()), n.data()),
              "numbers");
    if (!f.empty())
        check(MEDmeshEntityFamilyNumberWr(file, mesh, MED_NO_DT, MED_NO_IT, entity, geometry, med_int(f.size()), f.data()),
              "families");
}

}  // namespace

std::vector<std::array<double, 3>> MedFileMesh::ElementNodes(int geometryType, std::size_t k) const
{
    const Cells& block = cells.at(geometryType);
    std::vector<std::array<double, 3>> positions;
    for (std::size_t i = 0; i < block.nodesPerElement; ++i)
        positions.push_back(nodes.at(static_cast<std::size_t>(block.connectivity.at(k * block.nodesPerElement + i)) - 1));
    return positions;
}

MedFileMesh ReadMedFile(const std::string& path)
{
    const med_idt file = MEDfileOpen(path.c_str(), MED_ACC_RDONLY);
    if (file < 0) throw std::runtime_error("cannot open " + path);
    MedFileMesh content;
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
    content.name = trimmed(name, MED_NAME_SIZE);

    const med_int nodeCount = entityCount(file, name, MED_NODE, MED_NONE, MED_COORDINATE);
    content.nodes.resize(static_cast<std::size_t>(nodeCount), {0, 0, 0});
    std::vector<med_float> coordinates(static_cast<std::size_t>(nodeCount * spaceDimension));
    check(MEDmeshNodeCoordinateRd(file, name, MED_NO_DT, MED_NO_IT, MED_FULL_INTERLACE, coordinates.data()),
          "coordinates");
    for (std::size_t i = 0; i < content.nodes.size(); ++i)
        for (std::size_t d = 0; d < static_cast<std::size_t>(spaceDimension); ++d)
            content.nodes[i][d] = coordinates[i * static_cast<std::size_t>(spaceDimension) + d];
    content.nodeFamilies = familiesOf(file, name, MED_NODE, MED_NONE);

    for (int t = 1; t <= entityCount(file, name, MED_CELL, MED_GEO_ALL, MED_CONNECTIVITY); ++t) {
        char typeName[MED_NAME_SIZE + 1] = {};
        med_geometry_type type = MED_NO_GEOTYPE;
        check(MEDmeshEntityInfo(file, name, MED_NO_DT, MED_NO_IT, MED_CELL, t, typeName, &type), "type info");
        MedFileMesh::Cells& cells = content.cells[type];
        // MED's geometry type codes are a hundred times the dimension plus
        // the number of nodes.
        cells.nodesPerElement = static_cast<std::size_t>(type % 100);
        cells.families = familiesOf(file, name, MED_CELL, type);
        std::vector<med_int> connectivity(static_cast<std::size_t>(entityCount(file, name, MED_CELL, type, MED_CONNECTIVITY)) *
                                          cells.nodesPerElement);
        check(MEDmeshElementConnectivityRd(file, name, MED_NO_DT, MED_NO_IT, MED_CELL, type, MED_NODAL,
                                           MED_FULL_INTERLACE, connectivity.data()),
              "connectivity");
        cells.connectivity.assign(connectivity.begin(), connectivity.end());
    }
    for (int f = 1; f <= MEDnFamily(file, name); ++f) {
        const med_int groupCount = MEDnFamilyGroup(file, name, f);
        char familyName[MED_NAME_SIZE + 1] = {};
        std::vector<char> groups(static_cast<std::size_t>(groupCount) * MED_LNAME_SIZE + 1, '\0');
        med_int number = 0;
        check(MEDfamilyInfo(file, name, f, familyName, &number, groups.data()), "family");
        std::vector<std::string>& names = content.familyGroups[number];
        for (med_int g = 0; g < groupCount; ++g) names.push_back(trimmed(groups.data() + g * MED_LNAME_SIZE, MED_LNAME_SIZE));
    }
    MEDfileClose(file);
    return content;
}

void WriteMedFile(const std::string& path, const std::vector<MedFileMesh>& meshes)
{
    const med_idt file = MEDfileOpen(path.c_str(), MED_ACC_CREAT);
    if (file < 0) throw std::runtime_error("cannot create " + path);
    for (const MedFileMesh& content : meshes) {
        const char* mesh = content.name.c_str();
        check(MEDmeshCr(file, mesh, 3, 3, MED_UNSTRUCTURED_MESH, "", "", MED_SORT_DTIT, MED_CARTESIAN,
                        padded({"x", "y", "z"}, MED_SNAME_SIZE).c_str(), padded({"", "", ""}, MED_SNAME_SIZE).c_str()),
              "mesh");
        std::vector<med_float> coordinates;
        for (const std::array<double, 3>& node : content.nodes) coordinates.insert(coordinates.end(), node.begin(), node.end());
        check(MEDmeshNodeCoordinateWr(file, mesh, MED_NO_DT, MED_NO_IT, 0.0, MED_FULL_INTERLACE,
                                      med_int(content.nodes.size()), coordinates.data()),
              "coordinates");
        writeNumbersAndFamilies(file, mesh, MED_NODE, MED_NONE, content.nodeNumbers, content.nodeFamilies);
        for (const auto& [type, cells] : content.cells) {
            const std::vector<med_int> connectivity(cells.connectivity.begin(), cells.connectivity.end());
            check(MEDmeshElementConnectivityWr(file, mesh, MED_NO_DT, MED_NO_IT, 0.0, MED_CELL, type, MED_NODAL,
                                               MED_FULL_INTERLACE, med_int(connectivity.size() / cells.nodesPerElement),
                                               connectivity.data()),
                  "connectivity");
            writeNumbersAndFamilies(file, mesh, MED_CELL, type, cells.numbers, cells.families);
        }
        check(MEDfamilyCr(file, mesh, "FAMILLE_ZERO", 0, 0, ""), "family 0");
        for (const auto& [number, groups] : content.familyGroups)
            check(MEDfamilyCr(file, mesh, ("FAMILY_" + std::to_string(number)).c_str(), number, med_int(groups.size()),
                              padded(groups, MED_LNAME_SIZE).c_str()),
                  "family");
    }
    MEDfileClose(file);
}

void WriteBracket(const std::string& path)
{
    MedFileMesh bracket;
    bracket.name = "bracket";
    bracket.nodes = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},       {0, 0, 1},      {1, 0, 1},
                     {1, 1, 1}, {0, 1, 1}, {0.5, 0.5, 1.8}, {1.7, 0.3, 0.3}, {3, 3, 3}};
    for (int position = 1; position <= 11; ++position) bracket.nodeNumbers.push_back(101 + 3 * (position - 1));
    bracket.nodeFamilies = {4, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    bracket.cells = {{MED_HEXA8, {8, {1, 4, 3, 2, 5, 8, 7, 6}, {7001}, {-2}}},
                     {MED_PYRA5, {5, {5, 8, 7, 6, 9}, {7002}, {-2}}},
                     {MED_TETRA4, {4, {2, 6, 3, 10}, {7003}, {-5}}},
                     {MED_TRIA3, {3, {1, 2, 3, 1, 3, 4}, {501, 502}, {-8, -8}}},
                     {MED_SEG2, {2, {1, 2, 2, 3}, {}, {}}},
                     {MED_POINT1, {1, {11}, {9}, {-11}}}};
    bracket.familyGroups = {{4, {"Anchor"}}, {-11, {"Anchor"}}, {-2, {"Solid"}}, {-5, {"Solid", "Tip"}}, {-8, {"Floor"}}};
    MedFileMesh skipped = bracket;
    skipped.name = "skipped";
    WriteMedFile(path, {bracket, skipped});
}

}  // namespace TarnelTest
