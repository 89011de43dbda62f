#include "GEOMImpl_Gen.hxx"

GEOMImpl_Gen::GEOMImpl_Gen()
    : basicOperations(std::make_unique<GEOMImpl_IBasicOperations>(this)),
      shapesOperations(std::make_unique<GEOMImpl_IShapesOperations>(this))
{
}

GEOMImpl_Gen::~GEOMImpl_Gen() = default;

GEOMImpl_IBasicOperations* GEOMImpl_Gen::GetIBasicOperations()
{
    return basicOperations.get();
}

GEOMImpl_IShapesOperations* GEOMImpl_Gen::GetIShapesOperations()
{
    return shapesOperations.get();
}
