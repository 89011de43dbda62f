// The gmsh session: errors, start and end, files, options and the logger.

#include <cctype>
#include <cmath>
#include <filesystem>
#include <limits>
#include <mutex>
#include <set>
#include <stdexcept>

#include <gmsh.h>

#include <Context.h>
#include <GmshConfig.h>
#include <GmshGlobal.h>
#include <GmshMessage.h>
#include <GmshVersion.h>

#include "GmshAdapter/AbaqusPyramids.h"
#include "GmshAdapter/GmshAdapter.h"
#include "GmshAdapter/GmshAdapterInternal.h"
#include "GmshAdapter/MedMesh.h"
#include "GmshAdapter/MshFileCheck.h"
#include "Internal/LogMacros.h"

namespace Tarnel::GmshAdapter {

namespace {

const std::string kLogSource = "GmshAdapter/Session";

// gmsh reads and writes MED files itself only when built with the MED file
// library; Debian's is not.
#ifdef HAVE_MED
constexpr bool kLinkedHasMed = true;
#else
constexpr bool kLinkedHasMed = false;
#endif

// Options that 4.11 has and older releases reject.
const std::set<std::string>& optionsMissingBefore411()
{
    static const std::set<std::string> names = {
        "Mesh.RecombineMinimumQuality",   "Mesh.RecombineNodeRepositioning",
        "Mesh.QuadqsSizemapMethod",       "Mesh.QuadqsTopologyOptimizationMethods",
        "Mesh.QuadqsRemeshingBoldness",   "Mesh.QuadqsScalingOnTriangulation"};
    return names;
}

// Whether this process finalised gmsh and has not initialised it again; gmsh
// cannot be asked in that state without it printing an error.
bool finalizedByAdapter = false;

std::mutex onceMutex;
std::set<std::string> reportedOnce;

bool adapterHandlesFile(const std::string& fileName)
{
    return !kLinkedHasMed && med::isMedFileName(fileName);
}

bool hasExtension(const std::string& fileName, const std::string& extension)
{
    if (fileName.size() < extension.size()) return false;
    std::string tail = fileName.substr(fileName.size() - extension.size());
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == extension;
}

}  // namespace

bool firstTime(const std::string& key)
{
    std::lock_guard<std::mutex> lock(onceMutex);
    return reportedOnce.insert(key).second;
}

std::runtime_error lastErrorAsException()
{
    std::string error;
    try {
        ::gmsh::logger::getLastError(error);
    } catch (...) {
        error.clear();
    }
    if (error.empty()) error = "Could not get last error";
    return std::runtime_error(error);
}

void fail(const std::string& message)
{
    // Recorded as gmsh's own last error, so that the failure reads the same
    // whether gmsh or the adapter detected it.
    const int previousAbort = CTX::instance()->abortOnError;
    CTX::instance()->abortOnError = 0;
    Msg::Error("%s", message.c_str());
    CTX::instance()->abortOnError = previousAbort;
    throw lastErrorAsException();
}

std::string linkedVersion()
{
    return GMSH_VERSION;
}

void initialize(int argc, char** argv, bool readConfigFiles, bool run)
{
    call([&] {
        ::gmsh::initialize(argc, argv, readConfigFiles);
        finalizedByAdapter = false;
        if (run) GmshBatch();
    });
}

int isInitialized()
{
    if (finalizedByAdapter) return 0;
    // gmsh records its launch date when it is first initialised; before that,
    // any call would run its error reporting on uninitialised state.
    if (Msg::GetLaunchDate().empty()) return 0;
    // Initialised once; a 4.8 gmsh finalised by the host refuses calls.
    double verbosity = std::numeric_limits<double>::quiet_NaN();
    try {
        ::gmsh::option::getNumber("General.Verbosity", verbosity);
    } catch (...) {
        return 0;
    }
    return std::isnan(verbosity) ? 0 : 1;
}

void finalize()
{
    call([] {
        ::gmsh::finalize();
        finalizedByAdapter = true;
    });
}

void open(const std::string& fileName)
{
    call([&] {
        // 4.8 ignores a file it cannot open; 4.11 reports it.
        std::error_code error;
        if (!std::filesystem::is_regular_file(fileName, error)) fail("Unable to open file '" + fileName + "'");
        if (adapterHandlesFile(fileName)) {
            med::openAsModel(med::readMedFile(fileName), fileName);
            return;
        }
        if (msh::isMshFile(fileName)) msh::checkTags(fileName);
        ::gmsh::open(fileName);
    });
}

void write(const std::string& fileName)
{
    call([&] {
        if (adapterHandlesFile(fileName)) {
            med::writeMedFile(fileName, med::currentModelAsMedMesh(fileName));
            return;
        }
        if (!hasExtension(fileName, ".inp")) {
            ::gmsh::write(fileName);
            return;
        }
        const PyramidsNamedForAbaqus pyramids(fileName);
        ::gmsh::write(fileName);
    });
}

// ---------------------------------------------------------------- options

namespace option {

void setNumber(const std::string& name, double value)
{
    if (kLinkedIsOlderThan411 && optionsMissingBefore411().count(name) != 0) {
        if (firstTime("option:" + name))
            TARNEL_LOG_DEBUG("Option " + name + " does not exist in gmsh " + linkedVersion() + "; it is skipped.",
                             "Tarnel::GmshAdapter::option::setNumber");
        return;
    }
    call([&] { ::gmsh::option::setNumber(name, value); });
}

void getNumber(const std::string& name, double& value)
{
    call([&] { ::gmsh::option::getNumber(name, value); });
}

void setString(const std::string& name, const std::string& value)
{
    call([&] { ::gmsh::option::setString(name, value); });
}

void getString(const std::string& name, std::string& value)
{
    call([&] { ::gmsh::option::getString(name, value); });
}

}  // namespace option

namespace logger {

void getLastError(std::string& error)
{
    call([&] { ::gmsh::logger::getLastError(error); });
}

}  // namespace logger

}  // namespace Tarnel::GmshAdapter
