// The geometry stand-in's successes are exercised by the meshers (STEP
// export, bounding boxes, scaling) and the wire queries of a mesh; here only
// what it refuses, with OpenCASCADE's failures as standard exceptions.
#include <functional>
#include <list>
#include <stdexcept>

#include <gtest/gtest.h>

#include "GEOMImpl_Gen.hxx"
#include "STEPPlugin_IOperations.hxx"

TEST(GeomStandIn, RefusesWhatCannotBeBuilt)
{
    GEOMImpl_Gen engine;
    GEOMImpl_IBasicOperations* basic = engine.GetIBasicOperations();
    auto point = [&](double x) { return basic->MakePointXYZ(x, 0, 0); };
    const std::pair<const char*, std::function<void()>> refusals[] = {
        {"MakeLineTwoPnt: the points do not define an edge.", [&] { basic->MakeLineTwoPnt(point(0), point(0)); }},
        {"MakeWire: the edges do not form one connected wire.",
         [&] {
             engine.GetIShapesOperations()->MakeWire(
                 {basic->MakeLineTwoPnt(point(0), point(1)), basic->MakeLineTwoPnt(point(5), point(6))}, 1e-9);
         }},
        {"ExportSTEP: the object is null.",
         [&] {
             STEPPlugin_IOperations(&engine).ExportSTEP(Handle(GEOM_Object)(), "never.step",
                                                       STEPPlugin_IOperations::LengthUnit_Millimeter);
         }},
    };
    for (const auto& refusal : refusals) {
        try {
            refusal.second();
            ADD_FAILURE() << "no exception: " << refusal.first;
        } catch (const std::exception& exception) {
            EXPECT_STREQ(exception.what(), refusal.first);
        }
    }
}
