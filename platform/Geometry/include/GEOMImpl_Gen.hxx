#pragma once

#include <memory>

#include "GEOM_Engine.hxx"
#include "GEOMImpl_IBasicOperations.hxx"
#include "GEOMImpl_IShapesOperations.hxx"

// The GEOM engine. It owns its operation sets; the pointers it hands out live
// as long as the engine.
class GEOMImpl_Gen : public GEOM_Engine {
public:
    GEOMImpl_Gen();
    ~GEOMImpl_Gen() override;

    GEOMImpl_IBasicOperations* GetIBasicOperations();
    GEOMImpl_IShapesOperations* GetIShapesOperations();

private:
    std::unique_ptr<GEOMImpl_IBasicOperations> basicOperations;
    std::unique_ptr<GEOMImpl_IShapesOperations> shapesOperations;
};
