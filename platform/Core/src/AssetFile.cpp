#include "AssetFile.h"

namespace Tarnel {

AssetFile::AssetFile(const std::string& filePath) : filePath(filePath) {}

AssetFile::~AssetFile()
{
    if (fileStream.is_open()) fileStream.close();
}

bool AssetFile::ClearFile()
{
    if (fileStream.is_open()) fileStream.close();
    fileStream.clear();
    fileStream.open(filePath, std::ios::out | std::ios::trunc);
    return fileStream.is_open();
}

bool AssetFile::OpenFileForAppending()
{
    if (fileStream.is_open()) fileStream.close();
    fileStream.clear();
    fileStream.open(filePath, std::ios::out | std::ios::app);
    return fileStream.is_open();
}

std::fstream* AssetFile::GetFilePtr()
{
    return &fileStream;
}

const std::string& AssetFile::GetFilePath() const
{
    return filePath;
}

}  // namespace Tarnel
