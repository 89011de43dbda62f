#pragma once

#include <fstream>
#include <string>

namespace Tarnel {

// A writable text file at a fixed path. Callers write into the stream of
// GetFilePtr() directly, after testing that it is open.
class AssetFile {
public:
    explicit AssetFile(const std::string& filePath);
    virtual ~AssetFile();

    AssetFile(const AssetFile&) = delete;
    AssetFile& operator=(const AssetFile&) = delete;

    // Empties the file and leaves its stream open for writing.
    bool ClearFile();
    // Opens the stream positioned at the end of the file.
    bool OpenFileForAppending();
    std::fstream* GetFilePtr();
    const std::string& GetFilePath() const;

private:
    std::string filePath;
    std::fstream fileStream;
};

}  // namespace Tarnel
