#pragma once

#include <string>

namespace Tarnel {

// The few file-system operations of the library. Paths may use "/" or "\" as
// separators. Failures are logged and reported by the result, never thrown.
class FileTools {
public:
    // The part of `path` before its last separator; "" when there is none or
    // nothing stands before it.
    static std::string GetDirectoryAbove(const std::string& path);
    // Renames (or, with `copy`, copies) the file to `newName` in its own
    // directory; returns the new path, or "" on failure. A copy replaces an
    // existing file of the new name only once it is complete.
    static std::string RenameFile(const std::string& oldPath, const std::string& newName, bool copy);
    static bool DeleteFileByPath(const std::string& path);
    // Deletes the directory and everything below it; stops at the first
    // failure. Symbolic links below it are deleted, never followed; a
    // directory that is itself a link is refused (logged) and left alone.
    static bool DeleteDirectoryRecursively(const std::string& directory);

private:
    static bool _copyFile(const std::string& source, const std::string& target);
};

}  // namespace Tarnel
