#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "EditingMeshes.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"

using namespace Tarnel;
using namespace TarnelTest;

namespace {

// "K c2 m11 s[12 13 14 ] b[5 6 7 ] w[1 1 1 1 1 1 ]" per coupling, kinematic first.
std::string describeCouplings(const MasterMesh& master)
{
    std::ostringstream out;
    // Sorted, as the couplings hold their node and beam IDs unordered.
    const auto describeSorted = [&out](const char* name, const auto& values) {
        out << name << '[';
        for (double value : std::multiset<double>(values.begin(), values.end())) out << value << ' ';
        out << ']';
    };
    for (const bool kinematic : {true, false}) {
        for (const ElementCoupling& c : kinematic ? master.GetKinematicCouplings() : master.GetDistributingCouplings()) {
            out << (kinematic ? "K c" : "D c") << c.GetMeshComponentId() << " m" << c.GetMasterNodeId() << ' ';
            describeSorted("s", c.GetNodeIDs());
            describeSorted(" b", c.GetRepresentationBeamIds());
            describeSorted(" w", c.GetWeights());
            out << '\n';
        }
    }
    return out.str();
}

struct PasteCase {
    const char* name;
    // 0: the two triangles; 8 or 9: the point and the beams of a kinematic or distributing coupling.
    int couplingMode;
    std::unordered_set<int> selection;
    bool isCut;
    std::string expected;  // the transaction of the triangles, or the couplings
    std::vector<std::string> log;
};

void PrintTo(const PasteCase& row, std::ostream* out) { *out << row.name; }

}  // namespace

// On the cube nodes, in component 1, either two triangles sharing the edge
// 1-3 (elements 1 and 2), or a point 1 on node 8 and the beams 2, 3 and 4
// from master node 9 to the slave nodes 5, 6 and 7 of one coupling. The
// selection is pasted into component 2 with the apex 9 as a free node, whose
// copy is node 10 and listed nowhere.
class MasterMeshPaste : public ::testing::TestWithParam<PasteCase> {};

TEST_P(MasterMeshPaste, PastesTheSelectionAndItsFullySelectedCouplings)
{
    const PasteCase& row = GetParam();
    MasterMesh& master = MasterWithCubeNodes();
    if (row.couplingMode == 0) {
        AddMasterElement(1, TRIANGLE_3NODE, {1, 2, 3});
        AddMasterElement(1, TRIANGLE_3NODE, {1, 3, 4});
    } else {
        AddMasterElement(1, POINT_1NODE, {8});
        master.AddElements(1, {LINE_2NODE}, {}, {}, {ElementData{{9, 5, 9, 6, 9, 7}, {2, 2, 2}}}, {},
                           ElementAttributes(std::vector<double>(6, 1.0), 0.5, row.couplingMode, DIMENSION_1D), false);
    }
    LogCapture capture;
    std::unordered_map<std::string, int> solverTypes;
    const MeshTransaction transaction =
        master.CopyPaste_CutPaste_ElementsAndNodes({9}, row.selection, 2, solverTypes, row.isCut);
    EXPECT_MASTER_MESH_CONSISTENT();

    EXPECT_EQ(row.couplingMode == 0 ? DescribeTransactions({transaction}) : describeCouplings(master), row.expected);
    std::vector<std::string> log;
    for (const LogRecord& record : capture.Records())
        if (record.level != LogLevel::Debug)
            log.push_back(std::string(GetLogLevelName(record.level)) + ": " + record.message);
    EXPECT_EQ(log, row.log);
    EXPECT_EQ(master.GetNodeDefinition(10).position, XYZ(0.5, 0.5, 2));
    EXPECT_EQ(master.GetElementDefinition(*std::min_element(row.selection.begin(), row.selection.end())).id == 0,
              row.isCut);
}

INSTANTIATE_TEST_SUITE_P(
    CopyAndCut, MasterMeshPaste,
    ::testing::Values(
        // Copies on the four new nodes 11 to 14 of 1 to 4, listed as records only.
        PasteCase{"CopyTriangles", 0, {1, 2}, false,
                  "component 2 removed[] auxiliary[] created[3 2 22 2 7 4 2 22 2 7 ] nodes[11 12 13 ] "
                  "nodes[11 13 14 ] createdNodes[] nodeRecords[11 0 0 0 12 1 0 0 13 1 1 0 14 0 1 0 ]\n", {}},
        // New IDs on the same nodes; the originals go, their nodes stay.
        PasteCase{"CutTriangles", 0, {1, 2}, true,
                  "component 2 removed[1 2 ] auxiliary[] created[3 2 22 2 7 4 2 22 2 7 ] nodes[1 2 3 ] "
                  "nodes[1 3 4 ] createdNodes[1 2 3 4 ] nodeRecords[]\n", {}},
        PasteCase{"CopyPartOfACoupling", 8, {2, 3}, false, "K c1 m9 s[5 6 7 ] b[2 3 4 ] w[1 1 1 1 1 1 ]\n",
                  {"Warn: Kinematic coupling with master node ID 9 is only partially selected for copy/cut-paste; "
                   "its coupling definition will not migrate."}},
        PasteCase{"CutADistributingCoupling", 9, {2, 3, 4}, true, "D c2 m9 s[5 6 7 ] b[5 6 7 ] w[0.5 ]\n",
                  {"Info: Migrated distributing coupling (master node 9) to mesh component 2 after cut-paste."}},
        // The point is pasted first, as element 5 on the copy 11 of node 8:
        // the beams are 6 to 8, from 12 (the copy of 9) to 13, 14 and 15.
        PasteCase{"CopyACouplingWithAPoint", 8, {1, 2, 3, 4}, false,
                  "K c1 m9 s[5 6 7 ] b[2 3 4 ] w[1 1 1 1 1 1 ]\nK c2 m12 s[13 14 15 ] b[6 7 8 ] w[1 1 1 1 1 1 ]\n",
                  {"Info: Duplicated kinematic coupling (master node 12) into mesh component 2 after copy-paste."}}),
    [](const ::testing::TestParamInfo<PasteCase>& info) { return std::string(info.param.name); });
