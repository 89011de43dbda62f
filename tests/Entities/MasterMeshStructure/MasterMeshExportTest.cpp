#include <algorithm>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "LogCapture.h"
#include "MeshEngineWrapper.h"
#include "TempDirectory.h"

namespace gm = Tarnel::GmshAdapter;
using namespace Tarnel;
using TarnelTest::ReadFile;
using TarnelTest::WriteFile;

namespace {

// Two pyramids on the unit square, one above and one below, and a
// tetrahedron beside them, in component 2 (sets 20 to 23):
//
//          5 (0.5, 0.5, 1)
//   4 ---- 3
//   |      |  7        pyramid 1: (1, 2, 3, 4, 5)   tetrahedron 3: (2, 7, 3, 8)
//   1 ---- 2           pyramid 2: (1, 4, 3, 2, 6), 6 at (0.5, 0.5, -1)
//   7 at (2, 0.5, 0), 8 at (1.5, 0.5, 1)
MasterMesh& masterWithPyramidsAndATetrahedron()
{
    MasterMesh& master = MasterMesh::getInstance();
    master.InsertMeshComponent(ComponentMesh(2, 20, 21, 22, 23));
    std::vector<XYZ> nodes{XYZ(0, 0, 0), XYZ(1, 0, 0),    XYZ(1, 1, 0),  XYZ(0, 1, 0),
                           XYZ(0.5, 0.5, 1), XYZ(0.5, 0.5, -1), XYZ(2, 0.5, 0), XYZ(1.5, 0.5, 1)};
    master.AddNodes(nodes, false);
    master.AddElements(2, {PYRAMID_5NODE, TETRA_4NODE}, {}, {},
                       {ElementData{{1, 2, 3, 4, 5, 1, 4, 3, 2, 6}, {21, 21}}, ElementData{{2, 7, 3, 8}, {21}}}, {},
                       ElementAttributes(), false);
    return master;
}

struct GmshElements {
    std::map<int, std::pair<int, std::vector<std::size_t>>> byTag;  // tag -> (type, nodes)
};

GmshElements elementsOfCurrentModel()
{
    std::vector<int> types;
    std::vector<std::vector<std::size_t>> tags, nodes;
    gm::model::mesh::getElements(types, tags, nodes);
    GmshElements result;
    for (std::size_t t = 0; t < types.size(); ++t) {
        const std::size_t per = nodes[t].size() / tags[t].size();
        for (std::size_t k = 0; k < tags[t].size(); ++k)
            result.byTag[static_cast<int>(tags[t][k])] = {
                types[t], std::vector<std::size_t>(nodes[t].begin() + k * per, nodes[t].begin() + (k + 1) * per)};
    }
    return result;
}

// The master model's elements, and those of a model opened from the file
// the master mesh was exported to.
std::pair<GmshElements, GmshElements> exportedAndReadBack(MeshFileFormat format, const std::string& path)
{
    MeshEngineWrapper::getInstance().ActivateMasterMesh();
    const GmshElements exported = elementsOfCurrentModel();
    EXPECT_TRUE(MasterMesh::getInstance().ExportMeshFile(format, -1));
    gm::model::add("reread");
    gm::open(path);
    return {exported, elementsOfCurrentModel()};
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

class MasterMeshExport : public testing::Test {
protected:
    void SetUp() override { MeshEngineWrapper::getInstance().SetMeshExportPath(directory.Path()); }
    TarnelTest::TempDirectory directory;
};

}  // namespace

TEST_F(MasterMeshExport, AComponentExportWritesNothing)
{
    masterWithPyramidsAndATetrahedron();
    EXPECT_TRUE(MasterMesh::getInstance().ExportMeshFile(MeshFileFormat::MSH, 5));
    EXPECT_FALSE(TarnelTest::FileExists(directory.File("DefaultMasterMesh.msh")));
}

TEST_F(MasterMeshExport, AnUnknownFormatFailsWithItsMessage)
{
    TarnelTest::LogCapture capture;
    EXPECT_FALSE(MasterMesh::getInstance().ExportMeshFile(MeshFileFormat::NONE, -1));
    const LogRecord record = capture.Find(LogLevel::Error, "Failed to export mesh asset file.");
    EXPECT_EQ(record.exceptionText, "Unsupported mesh file format extension!");
    EXPECT_EQ(record.location, "Tarnel::MasterMesh::ExportMeshFile");
}

TEST_F(MasterMeshExport, GmshReadsBackTheSameTagsTypesAndNodes)
{
    masterWithPyramidsAndATetrahedron();
    const auto [exported, reread] = exportedAndReadBack(MeshFileFormat::MSH, directory.File("DefaultMasterMesh.msh"));
    EXPECT_EQ(reread.byTag, exported.byTag);
    EXPECT_EQ(reread.byTag.size(), 3u);
    std::vector<std::size_t> nodeTags;
    std::vector<double> coordinates, parametric;
    gm::model::mesh::getNodes(nodeTags, coordinates, parametric, -1, -1, false, false);
    EXPECT_EQ(nodeTags.size(), 8u);
}

TEST_F(MasterMeshExport, MedReadsBackTheSameTagsTypesAndNodes)
{
    masterWithPyramidsAndATetrahedron();
    const auto [exported, reread] = exportedAndReadBack(MeshFileFormat::MED, directory.File("DefaultMasterMesh.med"));
    EXPECT_EQ(reread.byTag, exported.byTag);
    EXPECT_NE(MasterMesh::GetPhysicalGroupId("_CREATED_3D_ELEMENTS", DIMENSION_3D), -1);
}

TEST_F(MasterMeshExport, StlHoldsTheSurfaceOfTheMesh)
{
    MasterMesh& master = MasterMesh::getInstance();
    std::vector<XYZ> nodes{XYZ(0, 0, 0), XYZ(1, 0, 0), XYZ(0, 1, 0)};
    master.AddNodes(nodes, false);
    master.AddElements(1, {TRIANGLE_3NODE}, {}, {}, {ElementData{{1, 2, 3}, {12}}}, {}, ElementAttributes(), false);
    ASSERT_TRUE(master.ExportMeshFile(MeshFileFormat::STL, -1));
    const std::string stl = ReadFile(directory.File("DefaultMasterMesh.stl"));
    EXPECT_EQ(stl.rfind("solid", 0), 0u);
    EXPECT_NE(stl.find("facet normal 0 0 1"), std::string::npos);
}

TEST_F(MasterMeshExport, AbaqusInputListsEveryElementWithPyramidsAsDegenerateHexahedra)
{
    masterWithPyramidsAndATetrahedron();
    TarnelTest::LogCapture capture;
    ASSERT_TRUE(MasterMesh::getInstance().ExportMeshFile(MeshFileFormat::INP, -1));
    EXPECT_TRUE(capture.Has(LogLevel::Info, "Converted C3D5/C3D5H definitions to reduced C3D8R/C3D8RH in INP export."));
    const std::string inp = ReadFile(directory.File("DefaultMasterMesh.inp"));
    EXPECT_EQ(inp.find("C3D5"), std::string::npos);
    const std::vector<std::string> lines = linesOf(inp);
    const auto tetra = std::find(lines.begin(), lines.end(), "*ELEMENT, type=C3D4, ELSET=Volume1");
    ASSERT_NE(tetra, lines.end());
    EXPECT_EQ(*(tetra + 1), "3, 2, 7, 3, 8");
    // The pyramids follow the other blocks of their volume.
    EXPECT_EQ(*(tetra + 2), "*ELEMENT, TYPE=C3D8R, ELSET=Volume1");
    EXPECT_EQ(*(tetra + 3), "1, 1, 2, 3, 4, 5, 5, 5, 5");
    EXPECT_EQ(*(tetra + 4), "2, 1, 4, 3, 2, 6, 6, 6, 6");
    EXPECT_EQ((tetra + 5)->rfind("*ELSET", 0), 0u);
}

TEST_F(MasterMeshExport, AbaqusInputWithoutPyramidsIsNotRewritten)
{
    MasterMesh& master = MasterMesh::getInstance();
    std::vector<XYZ> nodes{XYZ(0, 0, 0), XYZ(1, 0, 0), XYZ(0, 1, 0), XYZ(0, 0, 1)};
    master.AddNodes(nodes, false);
    master.AddElements(1, {TETRA_4NODE}, {}, {}, {ElementData{{1, 2, 3, 4}, {21}}}, {}, ElementAttributes(), false);
    TarnelTest::LogCapture capture;
    ASSERT_TRUE(master.ExportMeshFile(MeshFileFormat::INP, -1));
    EXPECT_TRUE(capture.Messages(LogLevel::Info).empty());
    EXPECT_NE(ReadFile(directory.File("DefaultMasterMesh.inp")).find("*ELEMENT, type=C3D4, ELSET=Volume1\n1, 1, 2, 3, 4\n"),
              std::string::npos);
}

TEST(AbaqusPyramidRewrite, TypesOfAnyCaseAndHybridsAreRewritten)
{
    TarnelTest::TempDirectory directory;
    const std::string path = directory.File("model.inp");
    WriteFile(path,
              "*Heading\n"
              "*Element, Type=c3d5h, ELSET=Volume1\n"
              "17, 1, 2, 3, 4, 5\n"
              "18,1,2,3,4,6\n"
              "*ELEMENT, type = C3D5 , ELSET=Volume2\n"
              "19, 7, 8, 9, 10, 11\r\n"
              "*ELEMENT, type=C3D4, ELSET=Volume3\n"
              "20, 1, 2, 3, 4, 5\n");
    TarnelTest::LogCapture capture;
    EXPECT_TRUE(_convertPyramidElementsToReducedHexInAbaqusInp(path));
    EXPECT_EQ(ReadFile(path),
              "*Heading\n"
              "*Element, TYPE=C3D8RH, ELSET=Volume1\n"
              "17, 1, 2, 3, 4, 5, 5, 5, 5\n"
              "18, 1, 2, 3, 4, 6, 6, 6, 6\n"
              "*ELEMENT, TYPE=C3D8R , ELSET=Volume2\n"
              "19, 7, 8, 9, 10, 11, 11, 11, 11\n"
              "*ELEMENT, type=C3D4, ELSET=Volume3\n"
              "20, 1, 2, 3, 4, 5\n");
    EXPECT_EQ(capture.Find(LogLevel::Info, "Converted C3D5/C3D5H definitions to reduced C3D8R/C3D8RH in INP export.")
                  .location,
              "Tarnel::_convertPyramidElementsToReducedHexInAbaqusInp");
}

TEST(AbaqusPyramidRewrite, CommentsEndABlockAndContinuationsStay)
{
    TarnelTest::TempDirectory directory;
    const std::string path = directory.File("model.inp");
    WriteFile(path,
              "*ELEMENT, type=C3D5, ELSET=Volume1\n"
              "1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, \n"
              "16\n"
              "\n"
              "2, 1, 2, 3, 4, 5\n"
              "** a comment ends the block\n"
              "3, 1, 2, 3, 4, 5\n");
    EXPECT_TRUE(_convertPyramidElementsToReducedHexInAbaqusInp(path));
    EXPECT_EQ(ReadFile(path),
              "*ELEMENT, TYPE=C3D8R, ELSET=Volume1\n"
              "1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, \n"
              "16\n"
              "\n"
              "2, 1, 2, 3, 4, 5, 5, 5, 5\n"
              "** a comment ends the block\n"
              "3, 1, 2, 3, 4, 5\n");
}

TEST(AbaqusPyramidRewrite, AFileWithoutPyramidsIsLeftUntouched)
{
    TarnelTest::TempDirectory directory;
    const std::string path = directory.File("model.inp");
    const std::string content = "*ELEMENT, type=C3D8, ELSET=Volume1\r\n1, 1, 2, 3, 4, 5, 6, 7, 8";
    WriteFile(path, content);
    TarnelTest::LogCapture capture;
    EXPECT_TRUE(_convertPyramidElementsToReducedHexInAbaqusInp(path));
    EXPECT_EQ(ReadFile(path), content);
    EXPECT_TRUE(capture.Records().empty());
}
