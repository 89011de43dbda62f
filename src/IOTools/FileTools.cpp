#include "IOTools/FileTools.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>
#include <vector>

#include "Internal/LogMacros.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "IOTools/FileTools";

const char* const kRenameLocation = "Tarnel::FileTools::RenameFile";

std::size_t lastSeparator(const std::string& path)
{
    return path.find_last_of("/\\");
}

// A fresh, exclusively created file next to `target`, open for writing; its
// path goes to `path`. nullptr when none can be made.
std::FILE* createTemporaryNextTo(const std::string& target, std::string& path)
{
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::size_t separator = lastSeparator(target);
        const std::size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
        path = target.substr(0, nameStart) + "." + target.substr(nameStart) + ".copy-" + std::to_string(random());
        if (std::FILE* file = std::fopen(path.c_str(), "wbx")) return file;
        if (errno != EEXIST) return nullptr;
    }
    return nullptr;
}

bool copyContent(std::FILE* input, std::FILE* output)
{
    std::vector<char> buffer(1 << 16);
    std::size_t count = 0;
    while ((count = std::fread(buffer.data(), 1, buffer.size(), input)) > 0)
        if (std::fwrite(buffer.data(), 1, count, output) != count) return false;
    return std::ferror(input) == 0;
}

// The copy keeps the permissions of the file it replaces.
void keepPermissionsOf(const std::string& replaced, const std::string& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(replaced, error);
    if (!error && fs::exists(status)) fs::permissions(path, status.permissions(), error);
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

    if (copy) return _copyFile(oldPath, newPath) ? newPath : "";

    if (std::rename(oldPath.c_str(), newPath.c_str()) != 0) {
        TARNEL_LOG_ERROR("Error renaming file!", kRenameLocation);
        return "";
    }
    return newPath;
}

// The content goes to a temporary file beside the target first and replaces
// the target only when it is complete: a failed copy leaves the target as it
// was, and a copy onto the file itself (by any path) is refused before
// anything is opened for writing.
bool FileTools::_copyFile(const std::string& source, const std::string& target)
{
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_regular_file(source, error)) {
        TARNEL_LOG_ERROR("Error opening file for copying!", kRenameLocation);
        return false;
    }
    if (fs::equivalent(source, target, error)) {
        TARNEL_LOG_ERROR("Error copying a file onto itself!", kRenameLocation);
        return false;
    }
    std::FILE* input = std::fopen(source.c_str(), "rb");
    std::string temporary;
    std::FILE* output = input != nullptr ? createTemporaryNextTo(target, temporary) : nullptr;
    if (output == nullptr) {
        if (input != nullptr) std::fclose(input);
        TARNEL_LOG_ERROR("Error opening file for copying!", kRenameLocation);
        return false;
    }
    const bool copied = copyContent(input, output);
    std::fclose(input);
    const bool closed = std::fclose(output) == 0;
    keepPermissionsOf(target, temporary);
    if (!copied || !closed || std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        TARNEL_LOG_ERROR("Error during file copy!", kRenameLocation);
        return false;
    }
    return true;
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
    // A trailing separator would make the link's target the thing examined.
    std::string examined = directory;
    while (examined.size() > 1 && examined.back() == '/') examined.pop_back();
    if (fs::is_symlink(fs::symlink_status(examined, error))) {
        TARNEL_LOG_ERROR("Not deleting " + directory + ": it is a symbolic link, not a directory.",
                         "Tarnel::FileTools::DeleteDirectoryRecursively");
        return false;
    }
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
