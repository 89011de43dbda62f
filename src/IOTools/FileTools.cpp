#include "IOTools/FileTools.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "Internal/LogMacros.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "IOTools/FileTools";

std::size_t lastSeparator(const std::string& path)
{
    return path.find_last_of("/\\");
}

}  // namespace

std::string FileTools::GetDirectoryAbove(const std::string& path)
{
    const std::size_t separator = lastSeparator(path);
    if (separator == std::string::npos) return "";
    return path.substr(0, separator);
}

std::string FileTools::RenameFile(const std::string& oldPath, const std::string& newName, bool copy)
{
    const std::size_t separator = lastSeparator(oldPath);
    const std::string directory = separator == std::string::npos ? "" : oldPath.substr(0, separator + 1);
    const std::string newPath = directory + newName;

    if (copy) {
        std::ifstream input(oldPath, std::ios::binary);
        std::ofstream output(newPath, std::ios::binary | std::ios::trunc);
        if (!input.is_open() || !output.is_open()) {
            TARNEL_LOG_ERROR("Error opening file for copying!", "Tarnel::FileTools::RenameFile");
            return "";
        }
        if (input.peek() != std::ifstream::traits_type::eof()) output << input.rdbuf();
        output.flush();
        if (output.fail()) {
            TARNEL_LOG_ERROR("Error during file copy!", "Tarnel::FileTools::RenameFile");
            return "";
        }
        return newPath;
    }

    if (std::rename(oldPath.c_str(), newPath.c_str()) != 0) {
        TARNEL_LOG_ERROR("Error renaming file!", "Tarnel::FileTools::RenameFile");
        return "";
    }
    return newPath;
}

bool FileTools::DeleteFileByPath(const std::string& path)
{
    if (std::remove(path.c_str()) == 0) return true;
    TARNEL_LOG_ERROR("Error deleting file: " + path, "Tarnel::FileTools::DeleteFileByPath");
    return false;
}

bool FileTools::DeleteDirectoryRecursively(const std::string& directory)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::directory_iterator listing(fs::path(directory), error);
    if (error) return false;
    // Listed first, deleted afterwards: the listing is not walked while it changes.
    std::vector<fs::directory_entry> entries;
    for (; listing != fs::directory_iterator(); listing.increment(error)) {
        if (error) return false;
        entries.push_back(*listing);
    }
    if (error) return false;
    for (const fs::directory_entry& entry : entries) {
        const std::string fullPath = directory + "/" + entry.path().filename().string();
        const bool isDirectory = entry.symlink_status(error).type() == fs::file_type::directory;
        if (error) return false;
        const bool deleted = isDirectory ? DeleteDirectoryRecursively(fullPath) : fs::remove(fullPath, error);
        if (!deleted || error) return false;
    }
    return fs::remove(fs::path(directory), error) && !error;
}

}  // namespace Tarnel
