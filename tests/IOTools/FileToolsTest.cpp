#include <filesystem>

#include <gtest/gtest.h>

#include "IOTools/FileTools.h"
#include "LogCapture.h"
#include "TempDirectory.h"

using Tarnel::FileTools;
using Tarnel::LogLevel;
using TarnelTest::FileExists;
using TarnelTest::ReadFile;
using TarnelTest::WriteFile;

TEST(FileTools, DirectoryAboveUsesTheLastSeparatorOfEitherKind)
{
    EXPECT_EQ(FileTools::GetDirectoryAbove("C:\\a\\b.txt"), "C:\\a");
    EXPECT_EQ(FileTools::GetDirectoryAbove("/x"), "");
    EXPECT_EQ(FileTools::GetDirectoryAbove("a/b\\c"), "a/b");
    EXPECT_EQ(FileTools::GetDirectoryAbove("mesh"), "");
}

TEST(FileTools, RenameMovesTheFileWithinItsDirectoryAndDeleteRemovesIt)
{
    TarnelTest::TempDirectory directory;
    WriteFile(directory.File("a.msh"), "content");
    EXPECT_EQ(FileTools::RenameFile(directory.File("a.msh"), "b.msh", false), directory.File("b.msh"));
    EXPECT_FALSE(FileExists(directory.File("a.msh")));
    EXPECT_EQ(ReadFile(directory.File("b.msh")), "content");
    EXPECT_TRUE(FileTools::DeleteFileByPath(directory.File("b.msh")));
    EXPECT_FALSE(FileExists(directory.File("b.msh")));
}

TEST(FileTools, CopyKeepsTheOldFileAndReplacesTheNewOne)
{
    TarnelTest::TempDirectory directory;
    const std::string content("binary\0content\r\n", 16);
    WriteFile(directory.File("a.msh"), content);
    WriteFile(directory.File("b.msh"), "an older and longer content");
    EXPECT_EQ(FileTools::RenameFile(directory.File("a.msh"), "b.msh", true), directory.File("b.msh"));
    EXPECT_EQ(ReadFile(directory.File("a.msh")), content);
    EXPECT_EQ(ReadFile(directory.File("b.msh")), content);

    WriteFile(directory.File("empty.msh"), "");
    EXPECT_EQ(FileTools::RenameFile(directory.File("empty.msh"), "empty2.msh", true), directory.File("empty2.msh"));
    EXPECT_TRUE(FileExists(directory.File("empty2.msh")));
}

TEST(FileTools, BareFileNamesRenameInTheCurrentDirectory)
{
    TarnelTest::TempDirectory directory;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(directory.Path());
    WriteFile("bare.msh", "x");
    EXPECT_EQ(FileTools::RenameFile("bare.msh", "renamed.msh", false), "renamed.msh");
    EXPECT_TRUE(FileExists(directory.File("renamed.msh")));
    std::filesystem::current_path(previous);
}

TEST(FileTools, FailuresAreLoggedAndReturnedEmpty)
{
    TarnelTest::LogCapture capture;
    EXPECT_EQ(FileTools::RenameFile("/no/such/dir/a.msh", "b.msh", false), "");
    EXPECT_FALSE(FileTools::DeleteFileByPath("/no/such/dir/a.msh"));
    EXPECT_TRUE(capture.Has(LogLevel::Error, "Error renaming file!"));
    EXPECT_EQ(capture.Find(LogLevel::Error, "Error deleting file: /no/such/dir/a.msh").location,
              "Tarnel::FileTools::DeleteFileByPath");
}

TEST(FileTools, DeleteDirectoryRecursively)
{
    TarnelTest::TempDirectory directory;
    EXPECT_FALSE(FileTools::DeleteDirectoryRecursively(directory.File("missing")));

    const std::string tree = directory.File("tree");
    std::filesystem::create_directories(tree + "/a/b/c");
    WriteFile(tree + "/top.txt", "1");
    WriteFile(tree + "/a/mid.txt", "2");
    WriteFile(tree + "/a/b/c/deep.txt", "3");
    // A link into a directory outside the tree is removed, not followed.
    std::filesystem::create_directories(directory.File("outside"));
    WriteFile(directory.File("outside/keep.txt"), "4");
    std::filesystem::create_directory_symlink(directory.File("outside"), tree + "/a/link");

    EXPECT_TRUE(FileTools::DeleteDirectoryRecursively(tree));
    EXPECT_FALSE(FileExists(tree));
    EXPECT_TRUE(FileExists(directory.File("outside/keep.txt")));
}
