// Writing the master mesh for solvers and hosts, and the Abaqus input rewrite
// of pyramids into degenerate reduced-integration hexahedra.

#include "Entities/MasterMeshStructure/MasterMesh.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <regex>
#include <sstream>
#include <system_error>

#include "Diagnostics/MorvaneException.h"
#include "GmshAdapter/GmshAdapter.h"
#include "Internal/LogMacros.h"
#include "MeshEngineWrapper.h"

namespace Tarnel {

namespace {

const std::string kLogSource = "Entities/MasterMeshStructure/MasterMesh";
const char* const kConvertLocation = "Tarnel::_convertPyramidElementsToReducedHexInAbaqusInp";

std::string upperCase(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool isTrimmed(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A pyramid data line "element, a, b, c, d, e" becomes the hexahedron
// "element, a, b, c, d, e, e, e, e": the apex closes the top face. Lines
// with another number of fields (continuations) stay as they are. Appends the
// line, rewritten or not, to `output`; true when it was rewritten.
bool appendPyramidLine(const char* begin, const char* end, std::string& output)
{
    std::pair<const char*, const char*> fields[6];
    std::size_t count = 0;
    const char* fieldBegin = begin;
    for (const char* c = begin;; ++c) {
        if (c != end && *c != ',') continue;
        if (count == 6) {
            count = 7;
            break;
        }
        const char* first = fieldBegin;
        const char* last = c;
        while (first < last && isTrimmed(*first)) ++first;
        while (last > first && isTrimmed(*(last - 1))) --last;
        fields[count++] = {first, last};
        if (c == end) break;
        fieldBegin = c + 1;
    }
    if (count != 6) {
        output.append(begin, end);
        return false;
    }
    for (std::size_t i = 0; i < 9; ++i) {
        const auto& field = fields[std::min<std::size_t>(i, 5)];
        if (i > 0) output += ", ";
        output.append(field.first, field.second);
    }
    return true;
}

// An element keyword line naming a pyramid type gets the hexahedron type
// instead; the hybrid type is tested first, since the plain pattern also
// matches the beginning of its name.
bool rewritePyramidKeyword(std::string& line)
{
    static const std::regex hybrid("TYPE\\s*=\\s*C3D5H", std::regex::ECMAScript);
    static const std::regex plain("TYPE\\s*=\\s*C3D5", std::regex::ECMAScript);
    static const std::regex hybridAnyCase("TYPE\\s*=\\s*C3D5H", std::regex::ECMAScript | std::regex::icase);
    static const std::regex plainAnyCase("TYPE\\s*=\\s*C3D5", std::regex::ECMAScript | std::regex::icase);
    const std::string upper = upperCase(line);
    if (upper.size() < 8 || upper.compare(0, 8, "*ELEMENT") != 0) return false;
    if (std::regex_search(upper, hybrid)) {
        line = std::regex_replace(line, hybridAnyCase, "TYPE=C3D8RH");
        return true;
    }
    if (std::regex_search(upper, plain)) {
        line = std::regex_replace(line, plainAnyCase, "TYPE=C3D8R");
        return true;
    }
    return false;
}

std::string readWholeFile(std::ifstream& input)
{
    input.seekg(0, std::ios::end);
    std::string content(static_cast<std::size_t>(input.tellg()), '\0');
    input.seekg(0);
    input.read(content.data(), static_cast<std::streamsize>(content.size()));
    return content;
}

}  // namespace

bool _convertPyramidElementsToReducedHexInAbaqusInp(const std::string& path)
{
    // A directory opens as a stream here but has no size to read.
    std::error_code notRegular;
    std::ifstream input;
    if (std::filesystem::is_regular_file(path, notRegular)) input.open(path, std::ios::binary);
    if (!input.is_open()) {
        TARNEL_LOG_ERROR("Failed to open Abaqus INP file for post-processing: " + path, kConvertLocation);
        return false;
    }
    // One pass over the whole file in memory: an export of a million
    // elements has millions of lines, and only keyword lines and the lines of
    // pyramid blocks need more than a copy.
    const std::string content = readWholeFile(input);
    input.close();

    // The rewritten file as a list of pieces: spans of the original that stay
    // as they are, and the rewritten keyword lines and pyramid blocks.
    std::vector<std::string> rewrittenParts;
    std::vector<std::pair<std::size_t, std::size_t>> pieces;  // span of content, or npos and a part index
    const std::size_t kPart = std::string::npos;
    bool inPyramidBlock = false;
    bool changed = false;
    std::size_t start = 0;
    while (start < content.size()) {
        if (content[start] == '*') {
            const std::size_t feed = content.find('\n', start);
            const std::size_t end = feed == std::string::npos ? content.size() : feed;
            std::string line = content.substr(start, end - start);
            inPyramidBlock = rewritePyramidKeyword(line);
            if (inPyramidBlock) {
                changed = true;
                rewrittenParts.push_back(line + '\n');
                pieces.emplace_back(kPart, rewrittenParts.size() - 1);
            } else {
                pieces.emplace_back(start, std::min(end + 1, content.size()) - start);
                if (end == content.size()) {
                    rewrittenParts.emplace_back("\n");
                    pieces.emplace_back(kPart, rewrittenParts.size() - 1);
                }
            }
            start = end + 1;
            continue;
        }
        // The data lines up to the next keyword line.
        const std::size_t keyword = content.find("\n*", start);
        const std::size_t dataEnd = keyword == std::string::npos ? content.size() : keyword + 1;
        if (!inPyramidBlock) {
            pieces.emplace_back(start, dataEnd - start);
            if (dataEnd == content.size() && content.back() != '\n') {
                rewrittenParts.emplace_back("\n");
                pieces.emplace_back(kPart, rewrittenParts.size() - 1);
            }
        } else {
            std::string block;
            block.reserve((dataEnd - start) * 3 / 2);
            while (start < dataEnd) {
                const std::size_t feed = content.find('\n', start);
                const std::size_t end = feed == std::string::npos || feed >= dataEnd ? dataEnd : feed;
                changed = appendPyramidLine(content.data() + start, content.data() + end, block) || changed;
                block += '\n';
                start = end + 1;
            }
            rewrittenParts.push_back(std::move(block));
            pieces.emplace_back(kPart, rewrittenParts.size() - 1);
        }
        start = dataEnd;
    }
    if (!changed) return true;

    // What comes before the first rewritten piece is on disk already.
    std::size_t keep = 0;
    std::size_t firstRewritten = 0;
    while (firstRewritten < pieces.size() && pieces[firstRewritten].first != kPart) {
        keep = pieces[firstRewritten].first + pieces[firstRewritten].second;
        ++firstRewritten;
    }
    std::fstream output(path, std::ios::binary | std::ios::in | std::ios::out);
    if (!output.is_open()) {
        TARNEL_LOG_ERROR("Failed to rewrite Abaqus INP file after post-processing: " + path, kConvertLocation);
        return false;
    }
    output.seekp(static_cast<std::streamoff>(keep));
    std::size_t size = keep;
    for (std::size_t i = firstRewritten; i < pieces.size(); ++i) {
        const auto& piece = pieces[i];
        const char* data = piece.first == kPart ? rewrittenParts[piece.second].data() : content.data() + piece.first;
        const std::size_t length = piece.first == kPart ? rewrittenParts[piece.second].size() : piece.second;
        output.write(data, static_cast<std::streamsize>(length));
        size += length;
    }
    output.close();
    std::error_code error;
    std::filesystem::resize_file(path, size, error);
    if (!output || error) {
        TARNEL_LOG_ERROR("Failed to rewrite Abaqus INP file after post-processing: " + path, kConvertLocation);
        return false;
    }
    TARNEL_LOG_INFO("Converted C3D5/C3D5H definitions to reduced C3D8R/C3D8RH in INP export.", kConvertLocation);
    return true;
}

bool MasterMesh::ExportMeshFile(MeshFileFormat format, int componentId)
{
    try {
        MeshEngineWrapper::getInstance().ActivateMasterMesh();
        if (componentId != -1) return true;
        const std::string extension = GetMeshFileExtension(format);
        const std::string directory = MeshEngineWrapper::getInstance().GetMeshExportPath();
        // Without a directory the path would name the filesystem root.
        if (directory.empty())
            throw MorvaneException("Export directory was not set, we are not exporting the master mesh!");
        const std::string path = directory + "/" + fileName + extension;
        GmshAdapter::write(path);
        if (format == MeshFileFormat::INP && !_convertPyramidElementsToReducedHexInAbaqusInp(path))
            throw MorvaneException("Failed to post-process Abaqus INP export.");
        return true;
    } catch (const std::exception& exception) {
        TARNEL_LOG_EXCEPTION("Failed to export mesh asset file.", exception, "Tarnel::MasterMesh::ExportMeshFile");
        return false;
    }
}

// ---------------------------------------------------------------- quality

namespace {

const char* qualityName(QualityMeasure measure)
{
    switch (measure) {
    case MIN_SJ: return "minSJ";
    case MIN_SICN: return "minSICN";
    case MIN_SIGE: return "minSIGE";
    case GAMMA: return "gamma";
    case MIN_ISOTROPY: return "minIsotropy";
    case ANGLE_SHAPE: return "angleShape";
    }
    return nullptr;
}

}  // namespace

std::map<int, float> MasterMesh::CheckQuality2D(QualityMeasure measure, ComparisonCondition condition,
                                                double threshold, const std::vector<std::uint64_t>& elementIds)
{
    const char* const location = "Tarnel::MasterMesh::CheckQuality2D";
    std::map<int, float> result;
    const char* name = qualityName(measure);
    if (name == nullptr) {
        TARNEL_LOG_ERROR("Unknown quality measure " + std::to_string(static_cast<int>(measure)) + ".", location);
        return result;
    }
    // Element tags are those of the master model, so that model is asked.
    MeshEngineWrapper::getInstance().ActivateMasterMesh();

    std::vector<std::size_t> candidates;
    if (!elementIds.empty()) {
        for (std::uint64_t id : elementIds) {
            const ElementShape shape = GetElementDefinition(static_cast<int>(id)).shape;
            if (shape == TRIANGLE_3NODE || shape == QUAD_4NODE) candidates.push_back(static_cast<std::size_t>(id));
        }
    } else {
        std::vector<int> types;
        std::vector<std::vector<std::size_t>> elementTags;
        std::vector<std::vector<std::size_t>> nodeTags;
        GmshAdapter::model::mesh::getElements(types, elementTags, nodeTags, 2, -1);
        for (const auto& tags : elementTags) candidates.insert(candidates.end(), tags.begin(), tags.end());
    }

    std::vector<double> qualities;
    GmshAdapter::model::mesh::getElementQualities(candidates, qualities, name, 0, 1);
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const bool reported = condition == LESS_THAN      ? qualities[i] < threshold
                              : condition == GREATER_THAN ? qualities[i] > threshold
                                                          : false;
        if (reported) result[static_cast<int>(candidates[i])] = static_cast<float>(qualities[i]);
    }
    TARNEL_LOG_DEBUG("Calculate 2D element quality ...", location);
    return result;
}

}  // namespace Tarnel
