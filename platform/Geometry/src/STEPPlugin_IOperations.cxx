#include "STEPPlugin_IOperations.hxx"

#include <cstdio>
#include <stdexcept>
#include <string>

#include <IFSelect_ReturnStatus.hxx>
#include <Interface_Static.hxx>
#include <Message.hxx>
#include <Message_Messenger.hxx>
#include <Message_Printer.hxx>
#include <Message_SequenceOfPrinters.hxx>
#include <vector>
#include <STEPControl_Writer.hxx>

#include "OcctFailure.h"

namespace {

const char* stepUnitName(STEPPlugin_IOperations::LengthUnit unit)
{
    switch (unit) {
    case STEPPlugin_IOperations::LengthUnit_Inch: return "INCH";
    case STEPPlugin_IOperations::LengthUnit_Millimeter: return "MM";
    case STEPPlugin_IOperations::LengthUnit_Centimeter: return "CM";
    case STEPPlugin_IOperations::LengthUnit_Decimeter: return "DM";
    case STEPPlugin_IOperations::LengthUnit_Meter: return "M";
    case STEPPlugin_IOperations::LengthUnit_Kilometer: return "KM";
    case STEPPlugin_IOperations::LengthUnit_Mil: return "MIL";
    case STEPPlugin_IOperations::LengthUnit_Micrometer: return "UM";
    case STEPPlugin_IOperations::LengthUnit_Nanometer: return "NM";
    }
    return "MM";
}

// The STEP writer prints transfer statistics through OpenCASCADE's default
// messenger; a library must not write to its host's terminal, so only
// failures get through while a file is written.
class QuietMessenger {
public:
    QuietMessenger()
    {
        const Message_SequenceOfPrinters& printers = Message::DefaultMessenger()->Printers();
        for (Message_SequenceOfPrinters::Iterator printer(printers); printer.More(); printer.Next()) {
            levels.push_back(printer.Value()->GetTraceLevel());
            printer.Value()->SetTraceLevel(Message_Fail);
        }
    }
    ~QuietMessenger()
    {
        const Message_SequenceOfPrinters& printers = Message::DefaultMessenger()->Printers();
        std::size_t index = 0;
        for (Message_SequenceOfPrinters::Iterator printer(printers); printer.More() && index < levels.size();
             printer.Next())
            printer.Value()->SetTraceLevel(levels[index++]);
    }
    QuietMessenger(const QuietMessenger&) = delete;
    QuietMessenger& operator=(const QuietMessenger&) = delete;

private:
    std::vector<Message_Gravity> levels;
};

}  // namespace

STEPPlugin_IOperations::STEPPlugin_IOperations(GEOM_Engine* engine) : engine(engine) {}

Handle(GEOM_Object) STEPPlugin_IOperations::_copyShape(TopoDS_Shape& shape)
{
    return new GEOM_Object(shape);
}

void STEPPlugin_IOperations::ExportSTEP(const Handle(GEOM_Object)& object, const TCollection_AsciiString& path,
                                        LengthUnit unit)
{
    if (object.IsNull()) throw std::runtime_error("ExportSTEP: the object is null.");
    const TopoDS_Shape shape = object->GetValue();
    if (shape.IsNull()) throw std::runtime_error("ExportSTEP: the object holds a null shape.");
    TarnelGeometry::CallOcct("ExportSTEP", [&] {
        QuietMessenger quiet;
        STEPControl_Writer writer;
        // The file declares the given unit; a reader working in millimetres
        // (OpenCASCADE's default) gets the shape's coordinates back unchanged.
        Interface_Static::SetCVal("write.step.unit", stepUnitName(unit));
        if (writer.Transfer(shape, STEPControl_AsIs) != IFSelect_RetDone)
            throw std::runtime_error("ExportSTEP: the shape could not be translated to STEP.");
        std::remove(path.ToCString());
        if (writer.Write(path.ToCString()) != IFSelect_RetDone)
            throw std::runtime_error(std::string("ExportSTEP: could not write ") + path.ToCString());
    });
}
