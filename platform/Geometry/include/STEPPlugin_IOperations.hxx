#pragma once

#include <TCollection_AsciiString.hxx>
#include <TopoDS_Shape.hxx>

#include "GEOM_Object.hxx"

class GEOM_Engine;

// STEP import/export plug-in of the GEOM module.
class STEPPlugin_IOperations {
public:
    // Units of a written STEP file. The numbering is fixed: 1 is millimetre.
    enum LengthUnit {
        LengthUnit_Inch = 0,
        LengthUnit_Millimeter = 1,
        LengthUnit_Centimeter = 2,
        LengthUnit_Decimeter = 3,
        LengthUnit_Meter = 4,
        LengthUnit_Kilometer = 5,
        LengthUnit_Mil = 6,
        LengthUnit_Micrometer = 7,
        LengthUnit_Nanometer = 8
    };

    explicit STEPPlugin_IOperations(GEOM_Engine* engine);

    // A new object holding `shape`.
    Handle(GEOM_Object) _copyShape(TopoDS_Shape& shape);

    // Writes the object's shape to a STEP file at `path`, replacing an existing
    // file. Throws std::runtime_error when the shape is null or cannot be written.
    void ExportSTEP(const Handle(GEOM_Object)& object, const TCollection_AsciiString& path, LengthUnit unit);

private:
    GEOM_Engine* engine;
};
