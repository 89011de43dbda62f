#include <gtest/gtest.h>

#include "Entities/Mesh.h"
#include "GmshAdapter/GmshAdapter.h"
#include "GmshQueries.h"
#include "LogCapture.h"
#include "MeshEngineWrapper.h"

namespace gm = Tarnel::GmshAdapter;
using Tarnel::LogLevel;
using Tarnel::Mesh;
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

TEST(MeshEngineWrapper, ActivateRecreatesARemovedModelAndASecondRemovalWarns)
{
    MeshEngineWrapper& wrapper = MeshEngineWrapper::getInstance();
    Mesh mesh(true);
    mesh.SetFileName("part7");
    Mesh other(true);
    TarnelTest::LogCapture capture;
    EXPECT_TRUE(wrapper.RemoveMesh(mesh));
    EXPECT_FALSE(wrapper.RemoveMesh(mesh));
    EXPECT_EQ(capture.Messages(LogLevel::Warn),
              std::vector<std::string>{"Cannot remove mesh called part7 because it does not exist."});
    EXPECT_TRUE(wrapper.ActivateMesh(mesh));
    EXPECT_EQ(TarnelTest::CurrentModel(), "tmpmesh_1");
    EXPECT_EQ(capture.Find(LogLevel::Info, "Added new mesh called tmpmesh_1").location,
              "Tarnel::MeshEngineWrapper::ActivateMesh");
}
