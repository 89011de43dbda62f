#include <gtest/gtest.h>

#include "LogCapture.h"
#include "Settings/AnalysisDeckSettings.h"
#include "Settings/ElementCoupling.h"

using namespace Tarnel;

TEST(ElementCoupling, KindFollowsTheNumberOfWeights)
{
    ElementCoupling coupling(3, 17);
    EXPECT_FALSE(coupling.IsKinematicCoupling());
    coupling.SetWeights(std::vector<double>(6, 1.0));
    EXPECT_TRUE(coupling.IsKinematicCoupling());
    coupling.SetWeights(std::vector<double>(7, 1.0));
    EXPECT_FALSE(coupling.IsKinematicCoupling());
    EXPECT_EQ(coupling.GetMeshComponentId(), 3);
    EXPECT_EQ(coupling.GetMasterNodeId(), 17);
}

TEST(ElementCoupling, ReportOfAnEmptyCouplingHasAllEightParts)
{
    TarnelTest::LogCapture capture;
    ElementCoupling(3, 17).LogElementCoupling();
    const LogRecord record = capture.Find(LogLevel::Info,
                                          "========= Element Coupling Report =========\n"
                                          "Mesh Component ID: 3\n"
                                          "Master Node ID:    17\n"
                                          "Slave Nodes Count: 0\n"
                                          "Slave Node IDs:    \n"
                                          "Representation Beam IDs: \n"
                                          "Weights: \n"
                                          "===========================================");
    EXPECT_EQ(record.location, "Tarnel::ElementCoupling::LogElementCoupling");
    EXPECT_EQ(record.sourceFile, "Settings/ElementCoupling");
}

TEST(ElementCoupling, ReportListsIdsAndWeightsInDefaultFormat)
{
    ElementCoupling coupling(4, 812);
    coupling.SetSlaveNodes({5});
    coupling.SetRepresentationBeamIds({90});
    coupling.SetWeights({1.0, 0.5, 1.0 / 3.0, 1234567.0});
    EXPECT_EQ(coupling.GetReport(),
              "========= Element Coupling Report =========\n"
              "Mesh Component ID: 4\n"
              "Master Node ID:    812\n"
              "Slave Nodes Count: 1\n"
              "Slave Node IDs:    5 \n"
              "Representation Beam IDs: 90 \n"
              "Weights: 1 0.5 0.333333 1.23457e+06 \n"
              "===========================================");
}

TEST(AnalysisDeckSettings, ProfileStartsAtOneAndTransfers)
{
    AnalysisDeckSettings settings;
    EXPECT_EQ(settings.GetSolverProfile(), 1);
    AnalysisDeckSettings other;
    other.SetSolverProfile(static_cast<SolverProfile>(3));
    settings.TransferContents(other);
    EXPECT_EQ(settings.GetSolverProfile(), 3);
}
