#include <algorithm>
#include <sstream>

#include <gtest/gtest.h>

#include "EditingMeshes.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"

using namespace Tarnel;
using TarnelTest::AddMasterElement;
using TarnelTest::DescribeTransactions;
using TarnelTest::MasterWithCubeNodes;

namespace {

MeshTransaction paste(std::unordered_set<int> nodeIds, std::unordered_set<int> elementIds, bool isCut)
{
    std::unordered_map<std::string, int> solverTypes;
    const MeshTransaction transaction =
        MasterMesh::getInstance().CopyPaste_CutPaste_ElementsAndNodes(nodeIds, elementIds, 2, solverTypes, isCut);
    EXPECT_MASTER_MESH_CONSISTENT();
    return transaction;
}

std::string sortedText(const std::unordered_set<int>& ids)
{
    std::vector<int> sorted(ids.begin(), ids.end());
    std::sort(sorted.begin(), sorted.end());
    std::ostringstream out;
    for (int id : sorted) out << id << ' ';
    return out.str();
}

// "K c2 m10 s[11 12 13 ] b[5 6 7 ] w[1 1 1 1 1 1 ]" per coupling, kinematic first.
std::string describeCouplings(const MasterMesh& master)
{
    std::ostringstream out;
    for (const bool kinematic : {true, false}) {
        for (const ElementCoupling& c : kinematic ? master.GetKinematicCouplings() : master.GetDistributingCouplings()) {
            out << (kinematic ? "K c" : "D c") << c.GetMeshComponentId() << " m" << c.GetMasterNodeId() << " s["
                << sortedText(c.GetNodeIDs()) << "] b[" << sortedText(c.GetRepresentationBeamIds()) << "] w[";
            for (double weight : c.GetWeights()) out << weight << ' ';
            out << "]\n";
        }
    }
    return out.str();
}

std::vector<std::string> infoAndAbove(const TarnelTest::LogCapture& capture)
{
    std::vector<std::string> texts;
    for (const LogRecord& record : capture.Records())
        if (record.level != LogLevel::Debug) texts.push_back(std::string(GetLogLevelName(record.level)) + ": " + record.message);
    return texts;
}

struct ElementPasteCase {
    const char* name;
    bool isCut;
    std::string transaction;
};

void PrintTo(const ElementPasteCase& row, std::ostream* out)
{
    *out << row.name;
}

}  // namespace

// Two triangles of component 1 on the cube's bottom, sharing the edge 1-3,
// pasted into component 2 with the apex 9 as a free node:
//
//   4 ---- 3
//   |  2 / |
//   |  / 1 |
//   1 ---- 2
class MasterMeshPasteElements : public ::testing::TestWithParam<ElementPasteCase> {};

TEST_P(MasterMeshPasteElements, PastesTwoTrianglesSharingAnEdge)
{
    MasterMesh& master = MasterWithCubeNodes();
    AddMasterElement(1, TRIANGLE_3NODE, {1, 2, 3});
    AddMasterElement(1, TRIANGLE_3NODE, {1, 3, 4});

    const MeshTransaction transaction = paste({9}, {1, 2}, GetParam().isCut);
    EXPECT_EQ(DescribeTransactions({transaction}), GetParam().transaction);
    // The free node's copy is node 10, above the cube as node 9 is.
    EXPECT_EQ(master.GetNodeDefinition(10).position, XYZ(0.5, 0.5, 2));
    const std::vector<int> original = GetParam().isCut ? std::vector<int>() : std::vector<int>{1, 2, 3};
    EXPECT_EQ(master.GetElementDefinition(1).nodeIds, original);
    EXPECT_EQ(master.GetNodeRepositoryPtr()->GetActiveNodes()->GetNodeCount(), GetParam().isCut ? 10u : 14u);
}

INSTANTIATE_TEST_SUITE_P(
    CopyAndCut, MasterMeshPasteElements,
    ::testing::Values(
        // Copies on the four new nodes 11 to 14 of 1 to 4, listed as records only.
        ElementPasteCase{"Copy", false, "component 2 removed[] auxiliary[] created[3 2 22 2 7 4 2 22 2 7 ] nodes[11 12 13 ] "
                                "nodes[11 13 14 ] createdNodes[] nodeRecords[11 0 0 0 12 1 0 0 13 1 1 0 14 0 1 0 ]\n"},
        // New IDs on the same nodes; the originals go, their nodes stay.
        ElementPasteCase{"Cut", true, "component 2 removed[1 2 ] auxiliary[] created[3 2 22 2 7 4 2 22 2 7 ] nodes[1 2 3 ] "
                               "nodes[1 3 4 ] createdNodes[1 2 3 4 ] nodeRecords[]\n"}),
    [](const ::testing::TestParamInfo<ElementPasteCase>& info) { return std::string(info.param.name); });

struct CouplingPasteCase {
    const char* name;
    int mode;  // AddElements' coupling mode: 8 kinematic, 9 distributing
    std::unordered_set<int> selection;
    bool isCut;
    std::string couplings;
    std::vector<std::string> log;
};

void PrintTo(const CouplingPasteCase& row, std::ostream* out)
{
    *out << row.name;
}

// A point element 1 on node 8, then the beams 2, 3 and 4 from master node 9 to
// the slave nodes 5, 6 and 7 of one coupling of component 1.
class MasterMeshPasteCouplings : public ::testing::TestWithParam<CouplingPasteCase> {};

TEST_P(MasterMeshPasteCouplings, FollowTheirFullySelectedBeams)
{
    const CouplingPasteCase& row = GetParam();
    MasterMesh& master = MasterWithCubeNodes();
    AddMasterElement(1, POINT_1NODE, {8});
    master.AddElements(1, {LINE_2NODE}, {}, {}, {ElementData{{9, 5, 9, 6, 9, 7}, {2, 2, 2}}}, {},
                       ElementAttributes(std::vector<double>(6, 1.0), 0.5, row.mode, DIMENSION_1D), false);

    TarnelTest::LogCapture capture;
    paste({}, row.selection, row.isCut);
    EXPECT_EQ(describeCouplings(master), row.couplings);
    EXPECT_EQ(infoAndAbove(capture), row.log);
}

INSTANTIATE_TEST_SUITE_P(
    Couplings, MasterMeshPasteCouplings,
    ::testing::Values(
        CouplingPasteCase{"PartlySelected", 8, {2, 3}, false,
                          "K c1 m9 s[5 6 7 ] b[2 3 4 ] w[1 1 1 1 1 1 ]\n",
                          {"Warn: Kinematic coupling with master node ID 9 is only partially selected for "
                           "copy/cut-paste; its coupling definition will not migrate."}},
        // Nodes 9, 5, 6, 7 are copied as 10 to 13; the beams become 5 to 7.
        CouplingPasteCase{"CopiedKinematic", 8, {2, 3, 4}, false,
                          "K c1 m9 s[5 6 7 ] b[2 3 4 ] w[1 1 1 1 1 1 ]\nK c2 m10 s[11 12 13 ] b[5 6 7 ] w[1 1 1 1 1 1 ]\n",
                          {"Info: Duplicated kinematic coupling (master node 10) into mesh component 2 after "
                           "copy-paste."}},
        CouplingPasteCase{"CutDistributing", 9, {2, 3, 4}, true, "D c2 m9 s[5 6 7 ] b[5 6 7 ] w[0.5 ]\n",
                          {"Info: Migrated distributing coupling (master node 9) to mesh component 2 after "
                           "cut-paste."}},
        // The point is pasted first, as element 5: the beams are 6 to 8, on
        // the copies 11 (of 9) and 12 to 14.
        CouplingPasteCase{"CopiedWithAPoint", 8, {1, 2, 3, 4}, false,
                          "K c1 m9 s[5 6 7 ] b[2 3 4 ] w[1 1 1 1 1 1 ]\nK c2 m11 s[12 13 14 ] b[6 7 8 ] w[1 1 1 1 1 1 ]\n",
                          {"Info: Duplicated kinematic coupling (master node 11) into mesh component 2 after "
                           "copy-paste."}}),
    [](const ::testing::TestParamInfo<CouplingPasteCase>& info) { return std::string(info.param.name); });
