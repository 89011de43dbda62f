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
    EXPECT_EQ(&wrapper, &MeshEngineWrapper::getInstance());
    EXPECT_EQ(gm::isInitialized(), 1);
    EXPECT_EQ(TarnelTest::NumberOption("General.Verbosity"), 1.0);
    EXPECT_EQ(TarnelTest::NumberOption("General.Terminal"), 0.0);
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.SaveAll"), 1.0);
    const auto info = capture.Messages(LogLevel::Info);
    ASSERT_EQ(info.size(), 2u);
    EXPECT_EQ(info[0], "Turned off GMSH verbosity");
    EXPECT_EQ(info[1], "Mesh engine wrapper was initialized!");
    EXPECT_EQ(capture.Records()[0].location, "Tarnel::MeshEngineWrapper::MeshEngineWrapper");
    EXPECT_EQ(capture.Records()[0].sourceFile, "MeshEngineWrapper");
    EXPECT_NE(wrapper.GetGeomEngine(), nullptr);
    EXPECT_EQ(wrapper.GetMeshExportPath(), "");
}

TEST(MeshEngineWrapper, AHostInitialisedSessionKeepsItsSaveAllOption)
{
    gm::initialize();
    gm::option::setNumber("Mesh.SaveAll", 0);
    gm::option::setNumber("General.Verbosity", 5);
    MeshEngineWrapper::getInstance();
    EXPECT_EQ(TarnelTest::NumberOption("Mesh.SaveAll"), 0.0);
    EXPECT_EQ(TarnelTest::NumberOption("General.Verbosity"), 1.0);
    EXPECT_EQ(TarnelTest::NumberOption("General.Terminal"), 0.0);
}

TEST(MeshEngineWrapper, WorkingDirectoryIsTheExportPathWithoutItsLastPart)
{
    MeshEngineWrapper& wrapper = MeshEngineWrapper::getInstance();
    wrapper.SetMeshExportPath("C:/models/run1/mesh");
    EXPECT_EQ(wrapper.GetMeshExportPath(), "C:/models/run1/mesh");
    EXPECT_EQ(wrapper.GetWorkingDirectory(), "C:/models/run1");
    wrapper.SetMeshExportPath("mesh");
    EXPECT_EQ(wrapper.GetWorkingDirectory(), "");
}

TEST(MeshEngineWrapper, ActivateRecreatesARemovedModel)
{
    MeshEngineWrapper& wrapper = MeshEngineWrapper::getInstance();
    Mesh mesh(true);
    Mesh other(true);
    EXPECT_TRUE(wrapper.IsMeshActive(other));
    EXPECT_FALSE(wrapper.IsMeshActive(mesh));
    ASSERT_TRUE(wrapper.RemoveMesh(mesh));
    EXPECT_FALSE(wrapper.DoesMeshExist(mesh));

    TarnelTest::LogCapture capture;
    EXPECT_TRUE(wrapper.ActivateMesh(mesh));
    EXPECT_TRUE(wrapper.DoesMeshExist(mesh));
    EXPECT_TRUE(wrapper.IsMeshActive(mesh));
    EXPECT_EQ(TarnelTest::CurrentModel(), "tmpmesh_1");
    EXPECT_EQ(capture.Find(LogLevel::Info, "Added new mesh called tmpmesh_1").location,
              "Tarnel::MeshEngineWrapper::ActivateMesh");
}

TEST(MeshEngineWrapper, RemovingTwiceWarnsTheSecondTime)
{
    MeshEngineWrapper& wrapper = MeshEngineWrapper::getInstance();
    Mesh mesh(true);
    mesh.SetFileName("part7");
    TarnelTest::LogCapture capture;
    EXPECT_TRUE(wrapper.RemoveMesh(mesh));
    EXPECT_FALSE(wrapper.RemoveMesh(mesh));
    EXPECT_EQ(capture.Count(LogLevel::Warn, "Cannot remove mesh called part7 because it does not exist."), 1);
}
