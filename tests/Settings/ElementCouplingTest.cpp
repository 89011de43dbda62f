#include <gtest/gtest.h>

#include "LogCapture.h"
#include "Settings/ElementCoupling.h"

using namespace Tarnel;

// Six weights, one per degree of freedom, make a coupling kinematic.
TEST(ElementCoupling, KindFollowsTheNumberOfWeightsAndTheReportListsEverything)
{
    ElementCoupling coupling(4, 812);
    EXPECT_FALSE(coupling.IsKinematicCoupling());
    coupling.SetWeights(std::vector<double>(7, 1.0));
    EXPECT_FALSE(coupling.IsKinematicCoupling());
    coupling.SetWeights({1.0, 0.5, 1.0 / 3.0, 1234567.0, 1.0, 1.0});
    EXPECT_TRUE(coupling.IsKinematicCoupling());
    coupling.SetSlaveNodes({5});
    coupling.SetRepresentationBeamIds({90});
    TarnelTest::LogCapture capture;
    coupling.LogElementCoupling();
    const LogRecord record = capture.Find(LogLevel::Info,
                                          "========= Element Coupling Report =========\n"
                                          "Mesh Component ID: 4\n"
                                          "Master Node ID:    812\n"
                                          "Slave Nodes Count: 1\n"
                                          "Slave Node IDs:    5 \n"
                                          "Representation Beam IDs: 90 \n"
                                          "Weights: 1 0.5 0.333333 1.23457e+06 1 1 \n"
                                          "===========================================");
    EXPECT_EQ(record.location, "Tarnel::ElementCoupling::LogElementCoupling");
}
