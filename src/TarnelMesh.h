#pragma once

// Everything a host of the meshing library includes: the library's public
// headers and those of the core services and geometry libraries it builds on.

// Core services
#include "AssetFile.h"
#include "Log.h"
#include "LogRecord.h"

// Geometry module and geometry services
#include "GEOMImpl_Gen.hxx"
#include "GEOMImpl_IBasicOperations.hxx"
#include "GEOMImpl_IShapesOperations.hxx"
#include "GEOM_Engine.hxx"
#include "GEOM_Object.hxx"
#include "GeometryBasicOperations.h"
#include "GeometryMeasureOperations.h"
#include "GeometryTransformOperations.h"
#include "STEPPlugin_IOperations.hxx"

// Diagnostics and file tools
#include "Diagnostics/MorvaneException.h"
#include "IOTools/FileTools.h"

// Vocabulary
#include "Entities/Element.h"
#include "Entities/ElementAttributes.h"
#include "Entities/ElementData.h"
#include "Entities/ElementDimension.h"
#include "Entities/ElementOrigin.h"
#include "Entities/ElementShape.h"
#include "Entities/ElementShapeToModel.h"
#include "Entities/MeshFileFormat.h"
#include "Entities/MeshTransaction.h"
#include "Entities/MostCommonValue.h"
#include "Entities/Node.h"
#include "Entities/SolverElementType.h"
#include "Entities/TextTools.h"
#include "Entities/ValueRange.h"
#include "Entities/ValueSet.h"
#include "Entities/XYZ.h"

// Meshes
#include "Entities/MasterMeshStructure/ComponentMesh.h"
#include "Entities/MasterMeshStructure/ElementSet.h"
#include "Entities/MasterMeshStructure/ElementStorage.h"
#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "Entities/MasterMeshStructure/MeshReference.h"
#include "Entities/MasterMeshStructure/MeshReferenceType.h"
#include "Entities/MasterMeshStructure/MixedSet.h"
#include "Entities/MasterMeshStructure/NodeElementIndex.h"
#include "Entities/MasterMeshStructure/NodeRepository.h"
#include "Entities/MasterMeshStructure/NodeSet.h"
#include "Entities/MasterMeshStructure/PagedIdMap.h"
#include "Entities/MasterMeshStructure/QualityMeasure.h"
#include "Entities/Mesh.h"
#include "MeshEngineWrapper.h"

// Mesh generation
#include "MeshFactory.h"
#include "Operations/Mesher1D.h"
#include "Operations/Mesher2D.h"
#include "Operations/Mesher3D.h"

// Editing helpers
#include "Operations/MeshHelper.h"

// Settings
#include "Settings/AnalysisDeckSettings.h"
#include "Settings/ElementCoupling.h"
#include "Settings/EdgeSeedingParameters.h"
#include "Settings/Mesh1DSettings.h"
#include "Settings/Mesh2DSettings.h"
#include "Settings/Mesh3DSettings.h"
#include "Settings/MeshNETGEN2DSettings.h"
#include "Settings/MeshingEnumerations.h"
#include "Settings/SolverProfile.h"
