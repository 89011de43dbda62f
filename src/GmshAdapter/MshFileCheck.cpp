// The tag check of ".msh" files, made before gmsh 4.8 reads them. It follows
// gmsh's readers step by step (which section names they take, how many values
// they read for each node and element, how scanf turns text into numbers),
// so that every tag gmsh will use has been seen here first; what it cannot
// follow, gmsh refuses itself.

#include "GmshAdapter/MshFileCheck.h"

#include <sys/types.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include <MElement.h>

#include "GmshAdapter/GmshAdapterInternal.h"

namespace Tarnel::GmshAdapter::msh {

namespace {

// gmsh stops reading the file here and reports it itself (a file that ends
// early, an unknown version or element type); nothing after this point
// reaches its model.
struct LeftToGmsh {};

// " ", "\t", "\n", "\v", "\f" and "\r", as scanf skips them.
bool isSpace(char c)
{
    constexpr std::uint64_t kSpaces = (std::uint64_t(1) << ' ') | (0x1Fu << '\t');
    const unsigned char code = static_cast<unsigned char>(c);
    return code <= ' ' && ((kSpaces >> code) & 1) != 0;
}

// A file read in large blocks, as lines, whitespace-separated tokens or raw
// bytes, all from one position. [begin, end) of `buffer` is read from the
// file and not yet consumed.
class BufferedFile {
public:
    explicit BufferedFile(const std::string& fileName) : file(std::fopen(fileName.c_str(), "rb")), buffer(kSize) {}
    ~BufferedFile()
    {
        if (file != nullptr) std::fclose(file);
    }
    BufferedFile(const BufferedFile&) = delete;
    BufferedFile& operator=(const BufferedFile&) = delete;

    bool isOpen() const { return file != nullptr; }

    void rewind()
    {
        std::rewind(file);
        begin = end = 0;
    }

    // The next line, without "\n" and a "\r" before it; false at the end.
    bool readLine(std::string& line)
    {
        line.clear();
        for (;;) {
            if (begin == end && !fill()) return !line.empty();
            const char* start = buffer.data() + begin;
            const void* newline = std::memchr(start, '\n', end - begin);
            if (newline == nullptr) {
                line.append(start, end - begin);
                begin = end;
                continue;
            }
            const std::size_t length = static_cast<std::size_t>(static_cast<const char*>(newline) - start);
            line.append(start, length);
            begin += length + 1;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        }
    }

    // Skips to the next line that begins with "$" and reads it; false at
    // the end. Other lines are passed over without being kept.
    bool readSectionLine(std::string& line)
    {
        for (;;) {
            if (begin == end && !fill()) return false;
            if (buffer[begin] == '$') return readLine(line);
            skipLine();
        }
    }

    // The next whitespace-separated token, valid until the next read; false
    // at the end.
    bool readToken(std::string_view& token)
    {
        for (;;) {
            const char* data = buffer.data();
            while (begin < end && isSpace(data[begin])) ++begin;
            if (begin < end) break;
            if (!fill()) return false;
        }
        std::size_t length = 0;
        for (;;) {
            const char* data = buffer.data() + begin;
            const std::size_t available = end - begin;
            while (length < available && !isSpace(data[length])) ++length;
            if (length < available || !fill()) break;
        }
        token = std::string_view(buffer.data() + begin, length);
        begin += length;
        return true;
    }

    // The next `size` bytes (at most the buffer's size), valid until the
    // next read; nullptr when the file ends first.
    const char* take(std::size_t size)
    {
        while (end - begin < size)
            if (!fill()) return nullptr;
        const char* data = buffer.data() + begin;
        begin += size;
        return data;
    }

    // Passes over `size` bytes; false when the file ends first.
    bool skip(std::uint64_t size)
    {
        if (size <= end - begin) {
            begin += static_cast<std::size_t>(size);
            return true;
        }
        size -= end - begin;
        begin = end = 0;
        // A seek beyond the end succeeds; the next read finds nothing.
        return size <= static_cast<std::uint64_t>(INT64_MAX) && ::fseeko(file, static_cast<off_t>(size), SEEK_CUR) == 0;
    }

private:
    static constexpr std::size_t kSize = std::size_t(1) << 20;

    void skipLine()
    {
        for (;;) {
            const void* newline = std::memchr(buffer.data() + begin, '\n', end - begin);
            if (newline != nullptr) {
                begin = static_cast<std::size_t>(static_cast<const char*>(newline) - buffer.data()) + 1;
                return;
            }
            begin = end;
            if (!fill()) return;
        }
    }

    // Keeps the unread bytes and reads more after them; false when nothing
    // more could be read.
    bool fill()
    {
        if (begin > 0) {
            std::memmove(buffer.data(), buffer.data() + begin, end - begin);
            end -= begin;
            begin = 0;
        }
        if (end == buffer.size()) return false;
        const std::size_t read = std::fread(buffer.data() + end, 1, buffer.size() - end, file);
        end += read;
        return read > 0;
    }

    std::FILE* file;
    std::vector<char> buffer;
    std::size_t begin = 0;
    std::size_t end = 0;
};

// An integer token as scanf reads it: an optional sign and decimal digits.
struct Integer {
    std::string_view text;
    bool negative = false;
    bool overflow = false;  // beyond 64 bits
    std::uint64_t magnitude = 0;

    bool isTag() const { return !negative && !overflow && magnitude >= 1 && magnitude <= kLargestTag; }

    // What "%lu" stores: a negative number wraps around, an overflow gives
    // the largest value.
    std::uint64_t asUnsigned() const
    {
        if (overflow) return UINT64_MAX;
        return negative ? std::uint64_t(0) - magnitude : magnitude;
    }

    // What "%d" stores: the number as a long, cut to its low 32 bits.
    int asInt() const
    {
        std::int64_t value = 0;
        if (overflow || magnitude > static_cast<std::uint64_t>(INT64_MAX))
            value = negative ? INT64_MIN : INT64_MAX;
        else
            value = negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
        return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
    }
};

bool parseInteger(std::string_view token, Integer& value)
{
    value = Integer();
    value.text = token;
    std::size_t i = 0;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) value.negative = token[i++] == '-';
    if (i == token.size()) return false;
    for (; i < token.size(); ++i) {
        const char c = token[i];
        if (c < '0' || c > '9') return false;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (__builtin_mul_overflow(value.magnitude, 10, &value.magnitude) ||
            __builtin_add_overflow(value.magnitude, digit, &value.magnitude))
            value.overflow = true;
    }
    return true;
}

// Whether the whole token is one number as "%lf" reads it.
bool isNumber(std::string_view token)
{
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t start = i;
        while (i < token.size() && token[i] >= '0' && token[i] <= '9') ++i;
        return i > start;
    };
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
    bool mantissa = digits();
    if (i < token.size() && token[i] == '.') {
        ++i;
        mantissa = digits() || mantissa;
    }
    bool valid = mantissa;
    if (valid && i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
        ++i;
        if (i < token.size() && (token[i] == '+' || token[i] == '-')) ++i;
        valid = digits();
    }
    if (valid && i == token.size()) return true;
    // The rare spellings ("inf", "nan", hexadecimal) as the C library reads them.
    const std::string text(token);
    char* parsed = nullptr;
    std::strtod(text.c_str(), &parsed);
    return !text.empty() && parsed == text.c_str() + text.size();
}

std::uint64_t swapped(std::uint64_t value)
{
    return __builtin_bswap64(value);
}

std::uint32_t swapped(std::uint32_t value)
{
    return __builtin_bswap32(value);
}

// The nodes of an element type as gmsh counts them; UINT_MAX for a type gmsh
// does not know (it refuses those itself).
unsigned int nodesOfType(int elementType)
{
    return MElement::getInfoMSH(elementType);
}

class TagCheck {
public:
    explicit TagCheck(const std::string& fileName) : fileName(fileName), file(fileName) {}

    void run()
    {
        if (!file.isOpen()) return;
        try {
            const bool msh4 = detectReader();
            file.rewind();
            std::string line;
            while (file.readSectionLine(line)) msh4 ? readMsh4Section(line) : readMsh2Section(line);
        } catch (const LeftToGmsh&) {
            return;
        }
        checkElementTagsUnique();
    }

private:
    // Whether the line names the section, as gmsh compares: from its second
    // character on, by the name's length.
    static bool named(const std::string& line, const char* name)
    {
        const std::size_t length = std::strlen(name);
        return line.size() > length && line.compare(1, length, name) == 0;
    }

    // A token as a message shows it: a long one cut short.
    static std::string quoted(std::string_view token)
    {
        constexpr std::size_t kShown = 32;
        return "'" + std::string(token.substr(0, kShown)) + (token.size() > kShown ? "...'" : "'");
    }

    [[noreturn]] void refuse(const std::string& reason) const
    {
        fail("Unable to read mesh file '" + fileName + "': " + reason);
    }

    // ------------------------------------------------------------ format

    // Whether gmsh reads the file with its MSH 4 reader (else its MSH 1 and
    // 2 reader), decided as gmsh decides it: by the first line, then by the
    // version of the first format line.
    bool detectReader()
    {
        std::string line;
        if (!file.readLine(line)) throw LeftToGmsh();
        if (named(line, "NOD") || named(line, "NOE")) return false;
        while (!named(line, "MeshFormat"))
            if (!file.readLine(line)) throw LeftToGmsh();
        if (!file.readLine(line)) throw LeftToGmsh();
        double firstVersion = 0.0;
        if (std::sscanf(line.c_str(), "%lf", &firstVersion) != 1) throw LeftToGmsh();
        if (firstVersion < 3.0) return false;
        if (firstVersion < 5.0) return true;
        throw LeftToGmsh();
    }

    void readFormat(bool msh4)
    {
        std::string line;
        int format = 0;
        unsigned long dataSize = 0;
        if (!file.readLine(line) || std::sscanf(line.c_str(), "%lf %d %lu", &version, &format, &dataSize) != 3)
            throw LeftToGmsh();
        binary = format != 0;
        if (!binary) return;
        // gmsh 4 refuses a size_t of another width, and reads MSH 4.0 in
        // ASCII only.
        if (msh4 && (dataSize != sizeof(std::uint64_t) || version < 4.1)) throw LeftToGmsh();
        const char* one = file.take(sizeof(std::int32_t));
        if (one == nullptr) throw LeftToGmsh();
        std::int32_t value = 0;
        std::memcpy(&value, one, sizeof value);
        swap = value != 1;
    }

    // ------------------------------------------------------------ values

    Integer integer()
    {
        std::string_view token;
        if (!file.readToken(token)) throw LeftToGmsh();
        Integer value;
        if (!parseInteger(token, value)) refuse(quoted(token) + " is not a whole number");
        return value;
    }

    void skipNumbers(std::uint64_t count)
    {
        std::string_view token;
        for (std::uint64_t i = 0; i < count; ++i) {
            if (!file.readToken(token)) throw LeftToGmsh();
            if (!isNumber(token)) refuse(quoted(token) + " is not a number");
        }
    }

    template <class Value>
    Value binaryValue()
    {
        const char* data = file.take(sizeof(Value));
        if (data == nullptr) throw LeftToGmsh();
        Value value;
        std::memcpy(&value, data, sizeof value);
        return swap ? swapped(value) : value;
    }

    std::uint64_t size() { return binaryValue<std::uint64_t>(); }

    // The next values.size() size_t values, read at once.
    void sizes(std::vector<std::uint64_t>& values)
    {
        const char* data = file.take(values.size() * sizeof(std::uint64_t));
        if (data == nullptr) throw LeftToGmsh();
        std::memcpy(values.data(), data, values.size() * sizeof(std::uint64_t));
        if (swap)
            for (std::uint64_t& value : values) value = swapped(value);
    }
    int int32() { return static_cast<int>(binaryValue<std::uint32_t>()); }

    void skipBytes(std::uint64_t count)
    {
        if (!file.skip(count)) throw LeftToGmsh();
    }

    // ------------------------------------------------------------ tags

    [[noreturn]] void refuseTag(const char* kind, const std::string& text) const
    {
        refuse(std::string(kind) + " tag " + text + " is out of range (1 to " + std::to_string(kLargestTag) + ")");
    }

    // A tag as the file writes it: as text in ASCII, as a size_t in MSH 4
    // binary and as an int in MSH 2 binary.
    void checkTag(const char* kind, const Integer& tag)
    {
        if (!tag.isTag()) refuseTag(kind, std::string(tag.text));
    }
    void checkTag(const char* kind, std::uint64_t tag)
    {
        if (tag < 1 || tag > kLargestTag) refuseTag(kind, tagAsPassed(tag));
    }
    void checkTag(const char* kind, int tag)
    {
        if (tag < 1) refuseTag(kind, std::to_string(tag));
    }

    void checkNodeTag(const Integer& tag) { checkTag("node", tag); }
    void checkNodeTag(std::uint64_t tag) { checkTag("node", tag); }
    void checkNodeTag(int tag) { checkTag("node", tag); }

    template <class Tag>
    void checkElementTag(const Tag& tag)
    {
        checkTag("element", tag);
        elementTags.push_back(static_cast<std::uint32_t>(tagValue(tag)));
    }

    static std::uint64_t tagValue(const Integer& tag) { return tag.magnitude; }
    static std::uint64_t tagValue(std::uint64_t tag) { return tag; }
    static std::uint64_t tagValue(int tag) { return static_cast<std::uint64_t>(tag); }

    void checkElementTagsUnique()
    {
        const auto notIncreasing = [](std::uint32_t a, std::uint32_t b) { return a >= b; };
        if (std::adjacent_find(elementTags.begin(), elementTags.end(), notIncreasing) == elementTags.end()) return;
        std::sort(elementTags.begin(), elementTags.end());
        const auto twice = std::adjacent_find(elementTags.begin(), elementTags.end());
        if (twice != elementTags.end()) refuse("element tag " + std::to_string(*twice) + " is used more than once");
    }

    // ------------------------------------------------------------ MSH 4

    void readMsh4Section(const std::string& line)
    {
        if (named(line, "MeshFormat"))
            readFormat(true);
        else if (named(line, "Nodes"))
            binary ? readMsh4BinaryNodes() : readMsh4Nodes();
        else if (named(line, "Elements"))
            binary ? readMsh4BinaryElements() : readMsh4Elements();
    }

    // The coordinates of a node: x, y, z and, when parametric, one more for
    // each dimension of its entity.
    static std::uint64_t coordinatesPerNode(int entityDim, int parametric)
    {
        return 3 + (parametric != 0 ? static_cast<std::uint64_t>(std::clamp(entityDim, 0, 3)) : 0);
    }

    // 4.1: "numBlocks numNodes minTag maxTag", blocks "dim tag parametric
    // count", then the tags, then the coordinates. 4.0: "numBlocks numNodes",
    // blocks "tag dim parametric count", then a tag and coordinates a line.
    void readMsh4Nodes()
    {
        const bool v41 = version >= 4.1;
        const std::uint64_t blocks = integer().asUnsigned();
        const std::uint64_t nodes = integer().asUnsigned();
        if (v41) {
            const Integer minTag = integer();
            checkHeaderRange("node", nodes, minTag, integer());
        }
        for (std::uint64_t b = 0; b < blocks; ++b) {
            const int first = integer().asInt();
            const int second = integer().asInt();
            const int parametric = integer().asInt();
            const std::uint64_t count = integer().asUnsigned();
            const std::uint64_t coordinates = coordinatesPerNode(v41 ? first : second, parametric);
            if (v41) {
                for (std::uint64_t k = 0; k < count; ++k) checkNodeTag(integer());
                skipNumbers(count * coordinates);
            } else {
                for (std::uint64_t k = 0; k < count; ++k) {
                    checkNodeTag(integer());
                    skipNumbers(coordinates);
                }
            }
        }
    }

    void readMsh4BinaryNodes()
    {
        const std::uint64_t blocks = size();
        const std::uint64_t nodes = size();
        const std::uint64_t minTag = size();
        checkHeaderRange("node", nodes, minTag, size());
        for (std::uint64_t b = 0; b < blocks; ++b) {
            const int dim = int32();
            int32();
            const int parametric = int32();
            const std::uint64_t count = size();
            for (std::uint64_t k = 0; k < count; ++k) checkNodeTag(size());
            skipBytes(count * coordinatesPerNode(dim, parametric) * sizeof(double));
        }
    }

    // 4.1: "numBlocks numElements minTag maxTag", blocks "dim tag type
    // count"; 4.0: "numBlocks numElements", blocks "tag dim type count"; then
    // an element tag and its node tags a line.
    void readMsh4Elements()
    {
        const bool v41 = version >= 4.1;
        const std::uint64_t blocks = integer().asUnsigned();
        const std::uint64_t elements = integer().asUnsigned();
        if (v41) {
            const Integer minTag = integer();
            checkHeaderRange("element", elements, minTag, integer());
        }
        for (std::uint64_t b = 0; b < blocks; ++b) {
            integer();
            integer();
            const unsigned int nodes = knownNodesOfType(integer().asInt());
            const std::uint64_t count = integer().asUnsigned();
            for (std::uint64_t k = 0; k < count; ++k) {
                checkElementTag(integer());
                for (unsigned int n = 0; n < nodes; ++n) checkNodeTag(integer());
            }
        }
    }

    void readMsh4BinaryElements()
    {
        const std::uint64_t blocks = size();
        const std::uint64_t elements = size();
        const std::uint64_t minTag = size();
        checkHeaderRange("element", elements, minTag, size());
        for (std::uint64_t b = 0; b < blocks; ++b) {
            int32();
            int32();
            const unsigned int nodes = knownNodesOfType(int32());
            const std::uint64_t count = size();
            std::vector<std::uint64_t> element(1 + nodes);
            for (std::uint64_t k = 0; k < count; ++k) {
                sizes(element);
                checkElementTag(element[0]);
                for (unsigned int n = 1; n <= nodes; ++n) checkNodeTag(element[n]);
            }
        }
    }

    // The tag range that a 4.1 section header gives for its `count` nodes or
    // elements (an empty section has none).
    template <class Tag>
    void checkHeaderRange(const char* kind, std::uint64_t count, const Tag& minTag, const Tag& maxTag)
    {
        if (count == 0) return;
        checkTag(kind, minTag);
        checkTag(kind, maxTag);
    }

    unsigned int knownNodesOfType(int elementType)
    {
        const unsigned int nodes = nodesOfType(elementType);
        if (nodes == UINT_MAX) throw LeftToGmsh();
        return nodes;
    }

    // ------------------------------------------------------------ MSH 1 and 2

    void readMsh2Section(const std::string& line)
    {
        if (named(line, "MeshFormat"))
            readFormat(false);
        else if (named(line, "NO") || named(line, "Nodes") || named(line, "ParametricNodes"))
            readMsh2Nodes(named(line, "ParametricNodes"));
        else if (named(line, "ELM") || named(line, "Elements"))
            readMsh2Elements();
    }

    // The count on the line that opens a section.
    int countLine()
    {
        std::string line;
        int count = 0;
        if (!file.readLine(line) || std::sscanf(line.c_str(), "%d", &count) != 1) throw LeftToGmsh();
        return count;
    }

    // The parametric coordinates of a node on an entity of `dim`.
    static int parametricCoordinates(int dim) { return dim == 1 ? 1 : dim == 2 ? 2 : 0; }

    // "tag x y z", and for parametric nodes "dim entity" and their
    // parametric coordinates; in binary an int tag and double coordinates.
    void readMsh2Nodes(bool parametric)
    {
        const int count = countLine();
        for (int i = 0; i < count; ++i) {
            if (binary) {
                checkNodeTag(int32());
                skipBytes(3 * sizeof(double));
                if (!parametric) continue;
                const int dim = int32();
                int32();
                skipBytes(static_cast<std::uint64_t>(parametricCoordinates(dim)) * sizeof(double));
            } else {
                const Integer tag = integer();
                checkNodeTag(tag);
                skipNumbers(3);
                if (!parametric) continue;
                const int dim = integer().asInt();
                integer();
                skipNumbers(static_cast<std::uint64_t>(parametricCoordinates(dim)));
            }
        }
    }

    void readMsh2Elements()
    {
        const int count = countLine();
        if (binary)
            readMsh2BinaryElements(count);
        else
            for (int i = 0; i < count; ++i) version <= 1.0 ? readMsh1Element() : readMsh2Element();
    }

    // "tag type physical elementary nodeCount nodes…".
    void readMsh1Element()
    {
        const Integer tag = integer();
        const int type = integer().asInt();
        integer();
        integer();
        const int nodes = integer().asInt();
        const unsigned int typeNodes = knownNodesOfType(type);
        if (nodes < 0 || static_cast<unsigned int>(nodes) != typeNodes)
            refuse("element " + std::string(tag.text) + " lists " + std::to_string(nodes) + " nodes where its type " +
                   std::to_string(type) + " has " + std::to_string(typeNodes));
        checkElementTag(tag);
        for (int n = 0; n < nodes; ++n) checkNodeTag(integer());
    }

    // "tag type tagCount tags… nodes…".
    void readMsh2Element()
    {
        const Integer tag = integer();
        const int type = integer().asInt();
        const int tags = integer().asInt();
        for (int t = 0; t < tags; ++t) integer();
        const unsigned int nodes = knownNodesOfType(type);
        checkElementTag(tag);
        for (unsigned int n = 0; n < nodes; ++n) checkNodeTag(integer());
    }

    // Blocks of "type count tagCount", each followed by `count` runs of ints:
    // the element tag, its tags and its node tags.
    void readMsh2BinaryElements(int count)
    {
        for (std::int64_t read = 0; read < count;) {
            const int type = int32();
            const int elements = int32();
            const int tags = int32();
            if (tags < 0) refuse("an element block gives " + std::to_string(tags) + " tags per element");
            const unsigned int nodes = knownNodesOfType(type);
            for (int k = 0; k < elements; ++k) {
                checkElementTag(int32());
                skipBytes(static_cast<std::uint64_t>(tags) * sizeof(std::int32_t));
                for (unsigned int n = 0; n < nodes; ++n) checkNodeTag(int32());
            }
            read += elements;
        }
    }

    std::string fileName;
    BufferedFile file;
    // From the last format line read; MSH 1 files have none.
    double version = 1.0;
    bool binary = false;
    bool swap = false;
    // Every element tag read, in file order, each within 1 to kLargestTag.
    std::vector<std::uint32_t> elementTags;
};

bool hasMshExtension(const std::string& fileName)
{
    const std::string extension = ".msh";
    if (fileName.size() < extension.size()) return false;
    return std::equal(extension.begin(), extension.end(), fileName.end() - static_cast<std::ptrdiff_t>(extension.size()),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

}  // namespace

bool isMshFile(const std::string& fileName)
{
    if (hasMshExtension(fileName)) return true;
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (file == nullptr) return false;
    const int first = std::fgetc(file);
    std::fclose(file);
    return first == '$';
}

void checkTags(const std::string& fileName)
{
    TagCheck(fileName).run();
}

}  // namespace Tarnel::GmshAdapter::msh
