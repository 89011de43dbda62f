#include <gtest/gtest.h>

#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MeshEngineWrapper.h"

namespace gm = Tarnel::GmshAdapter;
using Tarnel::LogLevel;
using Tarnel::MeshEngineWrapper;

TEST(MeshEngineWrapper, FirstUseInitialisesGmshQuietlyAndSavesAllElements)
{
    TarnelTest::LogCapture capture;
    MeshEngineWrapper& wrapper = MeshEngineWrapper::getInstance();
    EXPECT_EQ(gm::isInitialized(), 1);
    EXPECT_EQ(TarnelTest::NumberOption("General.Verbosity"), 1.0);
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.SaveAll"), 1.0);
    EXPECT_EQ(capture.Messages(LogLevel::Info),
              (std::vector<std::string>{"Turned off GMSH verbosity", "Mesh engine wrapper was initialized!"}));
    // The working directory is the export path without its last part.
    wrapper.SetMeshExportPath("C:/models/run1/mesh");
    EXPECT_EQ(wrapper.GetWorkingDirectory(), "C:/models/run1");
}

TEST(MeshEngineWrapper, AHostInitialisedSessionKeepsItsSaveAllOption)
{
    gm::initialize();
    gm::option::setNumber("Mesh.SaveAll", 0);
    gm::option::setNumber("General.Verbosity", 5);
    MeshEngineWrapper::getInstance();
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.SaveAll"), 0.0);
    EXPECT_EQ(TarnelTest::NumberOption("General.Verbosity"), 1.0);
}
