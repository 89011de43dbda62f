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
namespace fs = std::filesystem;

TEST(FileTools, DirectoryAboveUsesTheLastSeparatorOfEitherKind)
{
    EXPECT_EQ(FileTools::GetDirectoryAbove("C:\\a\\b.txt"), "C:\\a");
    EXPECT_EQ(FileTools::GetDirectoryAbove("/x"), "");
    EXPECT_EQ(FileTools::GetDirectoryAbove("a/b\\c"), "a/b");
    EXPECT_EQ(FileTools::GetDirectoryAbove("mesh"), "");
}

// A rename moves the file within its directory (the current one for a bare
// name); a copy keeps the old file and replaces the new one, byte for byte,
// keeping the new one's permissions.
TEST(FileTools, RenameCopyAndDelete)
{
    TarnelTest::TempDirectory directory;
    const std::string content("binary\0content\r\n", 16);
    const fs::perms ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
    WriteFile(directory.File("a.msh"), content);
    WriteFile(directory.File("b.msh"), "an older and longer content");
    fs::permissions(directory.File("b.msh"), ownerOnly);
    EXPECT_EQ(FileTools::RenameFile(directory.File("a.msh"), "b.msh", true), directory.File("b.msh"));
    EXPECT_EQ(ReadFile(directory.File("a.msh")), content);
    EXPECT_EQ(ReadFile(directory.File("b.msh")), content);
    EXPECT_EQ(fs::status(directory.File("b.msh")).permissions(), ownerOnly);
    EXPECT_EQ(FileTools::RenameFile(directory.File("a.msh"), "c.msh", false), directory.File("c.msh"));
    EXPECT_FALSE(FileExists(directory.File("a.msh")));
    EXPECT_TRUE(FileTools::DeleteFileByPath(directory.File("c.msh")));
    EXPECT_FALSE(FileExists(directory.File("c.msh")));

    const fs::path previous = fs::current_path();
    fs::current_path(directory.Path());
    WriteFile("empty.msh", "");
    EXPECT_EQ(FileTools::RenameFile("empty.msh", "copied.msh", true), "copied.msh");
    EXPECT_EQ(FileTools::RenameFile("empty.msh", "renamed.msh", false), "renamed.msh");
    fs::current_path(previous);
    EXPECT_TRUE(FileExists(directory.File("copied.msh")));
    EXPECT_TRUE(FileExists(directory.File("renamed.msh")));
}

TEST(FileTools, FailuresAreLoggedAndReturnedEmpty)
{
    TarnelTest::LogCapture capture;
    EXPECT_EQ(FileTools::RenameFile("/no/such/dir/a.msh", "b.msh", false), "");
    EXPECT_FALSE(FileTools::DeleteFileByPath("/no/such/dir/a.msh"));
    EXPECT_FALSE(FileTools::DeleteDirectoryRecursively("/no/such/dir"));
    EXPECT_EQ(capture.Messages(LogLevel::Error),
              (std::vector<std::string>{"Error renaming file!", "Error deleting file: /no/such/dir/a.msh"}));
}

// A link inside the tree to a directory outside it is removed, not followed.
TEST(FileTools, DeleteDirectoryRecursivelyRemovesTheTreeOnly)
{
    TarnelTest::TempDirectory directory;
    const std::string tree = directory.File("tree");
    fs::create_directories(tree + "/a/b/c");
    WriteFile(tree + "/top.txt", "1");
    WriteFile(tree + "/a/b/c/deep.txt", "3");
    fs::create_directories(directory.File("outside"));
    WriteFile(directory.File("outside/keep.txt"), "4");
    fs::create_directory_symlink(directory.File("outside"), tree + "/a/link");
    EXPECT_TRUE(FileTools::DeleteDirectoryRecursively(tree));
    EXPECT_FALSE(FileExists(tree));
    EXPECT_TRUE(FileExists(directory.File("outside/keep.txt")));
}
