#pragma once

#include <ostream>
#include <string>

namespace Tarnel {

// A point or vector in model space. Arithmetic ignores the validity of its
// inputs and gives valid results; only the normalisation of a zero vector and
// ConstructInvalid() give an invalid value.
class XYZ {
public:
    XYZ() = default;
    XYZ(double x, double y, double z);
    static XYZ ConstructInvalid();

    double X() const { return x; }
    double Y() const { return y; }
    double Z() const { return z; }
    bool IsValid() const { return isValid; }

    XYZ operator+(const XYZ& other) const;
    XYZ operator-(const XYZ& other) const;
    XYZ operator*(double factor) const;
    double operator*(const XYZ& other) const;
    double DotProduct(const XYZ& other) const;
    XYZ CrossProduct(const XYZ& other) const;
    XYZ negate() const;
    double magnitude() const;
    XYZ Normalize() const;
    // Radians; 0 when either vector has zero length.
    double AngleTo(const XYZ& other) const;

    // Exact comparison of the coordinates; validity is not compared.
    bool operator==(const XYZ& other) const;
    bool operator!=(const XYZ& other) const;

    // Rounds each coordinate to `digits` decimals, halves away from zero.
    void roundTo(int digits);
    // "1.000000 2.500000 -3.000000"
    std::string GetAsSpaceDelimitedString() const;

private:
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    bool isValid = true;
};

// "(x, y, z)" in the stream's current format.
std::ostream& operator<<(std::ostream& stream, const XYZ& point);

}  // namespace Tarnel
