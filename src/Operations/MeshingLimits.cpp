#include "Operations/MeshingLimits.h"

#include <cmath>
#include <sstream>

#include <BRepGProp.hxx>
#include <GProp_GProps.hxx>

namespace Tarnel {

namespace {

// Numbers as the stream prints them by default (0.0001, 1.80422e+10, nan).
std::string text(double value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

}  // namespace

std::string MeshingLimits::SizeRefusal(double elementSize)
{
    if (std::isfinite(elementSize) && elementSize > 0.0) return "";
    return "The element size must be a positive finite number, got " + text(elementSize) + ".";
}

std::string MeshingLimits::EdgeCountRefusal(const TopoDS_Shape& shape, double elementSize, std::size_t maximum)
{
    GProp_GProps properties;
    BRepGProp::LinearProperties(shape, properties);
    return _countRefusal(properties.Mass() / elementSize, elementSize, maximum);
}

std::string MeshingLimits::FaceCountRefusal(const TopoDS_Shape& shape, double elementSize, double smallestSize,
                                            std::size_t maximum)
{
    GProp_GProps properties;
    BRepGProp::SurfaceProperties(shape, properties);
    const double triangleArea = std::sqrt(3.0) / 4.0 * smallestSize * smallestSize;
    return _countRefusal(properties.Mass() / triangleArea, elementSize, maximum);
}

std::string MeshingLimits::_countRefusal(double estimate, double elementSize, std::size_t maximum)
{
    if (estimate <= static_cast<double>(maximum)) return "";
    const std::string count = std::isfinite(estimate) ? "about " + text(estimate) : "an unbounded number of";
    return "An element size of " + text(elementSize) + " would give " + count +
           " elements, more than the maximum element count of " + std::to_string(maximum) + ".";
}

}  // namespace Tarnel
