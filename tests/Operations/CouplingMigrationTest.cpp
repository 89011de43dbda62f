#include <sstream>
#include <tuple>

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

}  // namespace

// Kinematic coupling of master node 1 on beams 10 and 11, distributing
// coupling of master node 2 on beams 11 and 12: beam 11 is in both, and
// counts for the kinematic one. Each migration reads "K1[0 1 ]": kind,
// master node, the beams' indices among the selected lines.
TEST(FindFullySelectedCouplings, AnswersTheCouplingsAllOfWhoseBeamsAreSelectedLines)
{
    const std::string partly =
        " is only partially selected for copy/cut-paste; its coupling definition will not migrate.";
    const struct {
        std::vector<std::pair<int, ElementShape>> elements;
        std::string migrations;
        std::vector<std::string> warnings;
    } rows[] = {
        {{{10, LINE_2NODE}, {11, LINE_2NODE}}, "K1[0 1 ]", {}},
        {{{5, POINT_1NODE}, {12, LINE_2NODE}, {20, TRIANGLE_3NODE}, {10, LINE_2NODE}, {11, LINE_2NODE}},
         "K1[1 2 ]",
         {"Distributing coupling with master node ID 2" + partly}},
        {{{10, LINE_2NODE}, {12, TRIANGLE_3NODE}}, "", {"Kinematic coupling with master node ID 1" + partly}},
    };
    for (const auto& row : rows) {
        std::vector<Element> elements(row.elements.size());
        for (std::size_t i = 0; i < elements.size(); ++i) std::tie(elements[i].id, elements[i].shape) = row.elements[i];
        TarnelTest::LogCapture capture;
        std::ostringstream described;
        for (const CouplingMigration& m :
             FindFullySelectedCouplings(elements, {coupling(1, {10, 11})}, {coupling(2, {11, 12})})) {
            described << (m.isKinematic ? 'K' : 'D') << m.coupling.GetMasterNodeId() << '[';
            for (int index : m.lineIndices) described << index << ' ';
            described << ']';
        }
        EXPECT_EQ(described.str(), row.migrations);
        EXPECT_EQ(capture.Messages(LogLevel::Warn), row.warnings);
    }
}
