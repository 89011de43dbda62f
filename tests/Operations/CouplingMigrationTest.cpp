#include <sstream>

#include <gtest/gtest.h>

#include "LogCapture.h"
#include "Operations/CouplingMigration.h"

using namespace Tarnel;

namespace {

ElementCoupling coupling(int masterNode, const std::unordered_set<int>& beams)
{
    ElementCoupling result(1, masterNode);
    result.SetRepresentationBeamIds(beams);
    return result;
}

Element element(int id, ElementShape shape)
{
    Element result;
    result.id = id;
    result.shape = shape;
    return result;
}

// "K1[0 1 ]" per migration: kind, master node, line indices.
std::string describe(const std::vector<CouplingMigration>& migrations)
{
    std::ostringstream out;
    for (const CouplingMigration& migration : migrations) {
        out << (migration.isKinematic ? 'K' : 'D') << migration.coupling.GetMasterNodeId() << '[';
        for (int index : migration.lineIndices) out << index << ' ';
        out << ']';
    }
    return out.str();
}

struct SelectionCase {
    const char* name;
    std::vector<Element> elements;
    std::string migrations;
    std::vector<std::string> warnings;
};

void PrintTo(const SelectionCase& row, std::ostream* out)
{
    *out << row.name;
}

const std::string kPartly = " is only partially selected for copy/cut-paste; its coupling definition will not migrate.";

// Kinematic coupling of master node 1 on beams 10 and 11, distributing
// coupling of master node 2 on beams 11 and 12: beam 11 is in both.
class FindFullySelectedCouplingsTest : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(FindFullySelectedCouplingsTest, AnswersTheCouplingsAllOfWhoseBeamsAreSelected)
{
    TarnelTest::LogCapture capture;
    const std::vector<CouplingMigration> migrations =
        FindFullySelectedCouplings(GetParam().elements, {coupling(1, {10, 11})}, {coupling(2, {11, 12})});
    EXPECT_EQ(describe(migrations), GetParam().migrations);
    EXPECT_EQ(capture.Messages(LogLevel::Warn), GetParam().warnings);
}

INSTANTIATE_TEST_SUITE_P(
    Selections, FindFullySelectedCouplingsTest,
    ::testing::Values(
        // Beam 11 counts for the kinematic coupling only: the distributing one is not hit.
        SelectionCase{"SharedBeamCountsForTheKinematic", {element(10, LINE_2NODE), element(11, LINE_2NODE)}, "K1[0 1 ]", {}},
        // Only lines are counted; the distributing coupling misses beam 11.
        SelectionCase{"OnlyLinesAreCounted", {element(5, POINT_1NODE), element(12, LINE_2NODE), element(20, TRIANGLE_3NODE),
                       element(10, LINE_2NODE), element(11, LINE_2NODE)},
                      "K1[1 2 ]",
                      {"Distributing coupling with master node ID 2" + kPartly}},
        SelectionCase{"BothPartlySelected", {element(10, LINE_2NODE), element(12, LINE_2NODE)},
                      "",
                      {"Kinematic coupling with master node ID 1" + kPartly,
                       "Distributing coupling with master node ID 2" + kPartly}},
        // An element that is no line is no beam, whatever its ID.
        SelectionCase{"NoLines", {element(10, TRIANGLE_3NODE), element(11, QUAD_4NODE)}, "", {}}),
    [](const ::testing::TestParamInfo<SelectionCase>& info) { return std::string(info.param.name); });

}  // namespace
