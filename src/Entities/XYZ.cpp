#include "Entities/XYZ.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <sstream>

namespace Tarnel {

XYZ::XYZ(double x, double y, double z) : x(x), y(y), z(z) {}

XYZ XYZ::ConstructInvalid()
{
    XYZ invalid;
    invalid.isValid = false;
    return invalid;
}

XYZ XYZ::operator+(const XYZ& other) const
{
    return XYZ(x + other.x, y + other.y, z + other.z);
}

XYZ XYZ::operator-(const XYZ& other) const
{
    return XYZ(x - other.x, y - other.y, z - other.z);
}

XYZ XYZ::operator*(double factor) const
{
    return XYZ(x * factor, y * factor, z * factor);
}

double XYZ::operator*(const XYZ& other) const
{
    return DotProduct(other);
}

double XYZ::DotProduct(const XYZ& other) const
{
    return x * other.x + y * other.y + z * other.z;
}

XYZ XYZ::CrossProduct(const XYZ& other) const
{
    return XYZ(y * other.z - z * other.y, z * other.x - x * other.z, x * other.y - y * other.x);
}

XYZ XYZ::negate() const
{
    return XYZ(-x, -y, -z);
}

double XYZ::magnitude() const
{
    return std::sqrt(x * x + y * y + z * z);
}

XYZ XYZ::Normalize() const
{
    const double length = magnitude();
    if (length == 0.0) return ConstructInvalid();
    return XYZ(x / length, y / length, z / length);
}

double XYZ::AngleTo(const XYZ& other) const
{
    const double lengths = magnitude() * other.magnitude();
    if (magnitude() == 0.0 || other.magnitude() == 0.0) return 0.0;
    // Rounding can push the cosine just beyond [-1, 1].
    return std::acos(std::clamp(DotProduct(other) / lengths, -1.0, 1.0));
}

bool XYZ::operator==(const XYZ& other) const
{
    return x == other.x && y == other.y && z == other.z;
}

bool XYZ::operator!=(const XYZ& other) const
{
    return !(*this == other);
}

void XYZ::roundTo(int digits)
{
    const double scale = std::pow(10.0, digits);
    x = std::round(x * scale) / scale;
    y = std::round(y * scale) / scale;
    z = std::round(z * scale) / scale;
}

std::string XYZ::GetAsSpaceDelimitedString() const
{
    std::ostringstream text;
    text << std::fixed << std::setprecision(6) << x << ' ' << y << ' ' << z;
    return text.str();
}

std::ostream& operator<<(std::ostream& stream, const XYZ& point)
{
    return stream << "(" << point.X() << ", " << point.Y() << ", " << point.Z() << ")";
}

}  // namespace Tarnel
