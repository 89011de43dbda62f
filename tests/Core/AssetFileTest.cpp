#include <gtest/gtest.h>

#include "AssetFile.h"
#include "TempDirectory.h"

using TarnelTest::ReadFile;

TEST(AssetFile, ClearFileEmptiesAndLeavesTheStreamOpenForWriting)
{
    TarnelTest::TempDirectory directory;
    const std::string path = directory.File("asset.mshp");
    TarnelTest::WriteFile(path, "old content");

    Tarnel::AssetFile file(path);
    EXPECT_EQ(file.GetFilePath(), path);
    ASSERT_TRUE(file.ClearFile());
    ASSERT_TRUE(file.GetFilePtr()->is_open());
    *file.GetFilePtr() << "new";
    file.GetFilePtr()->flush();
    EXPECT_EQ(ReadFile(path), "new");
}

TEST(AssetFile, AppendingWritesAfterTheExistingContent)
{
    TarnelTest::TempDirectory directory;
    const std::string path = directory.File("asset.mshp");
    Tarnel::AssetFile file(path);
    ASSERT_TRUE(file.ClearFile());
    *file.GetFilePtr() << "first\n";
    ASSERT_TRUE(file.OpenFileForAppending());
    *file.GetFilePtr() << "second";
    file.GetFilePtr()->flush();
    EXPECT_EQ(ReadFile(path), "first\nsecond");
}

TEST(AssetFile, AFileInAMissingDirectoryCannotBeOpened)
{
    Tarnel::AssetFile file("/nonexistent-directory-of-tarnel/asset.mshp");
    EXPECT_FALSE(file.ClearFile());
    EXPECT_FALSE(file.OpenFileForAppending());
    EXPECT_FALSE(file.GetFilePtr()->is_open());
}
