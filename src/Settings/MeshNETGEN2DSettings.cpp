#include "Settings/MeshNETGEN2DSettings.h"

#include <utility>

namespace Tarnel {

MeshNETGEN2DSettings::MeshNETGEN2DSettings(double elementSize, float curvaturesafety, float surfmeshcurvfac,
                                           int segmentsperedge, float grading, float linelengthfac,
                                           float closeedgefac, bool quad_dominated, int optsteps2d, int optsteps3d,
                                           bool secondorder)
    : elementSize(elementSize),
      curvaturesafety(curvaturesafety),
      surfmeshcurvfac(surfmeshcurvfac),
      segmentsperedge(segmentsperedge),
      grading(grading),
      linelengthfac(linelengthfac),
      closeedgefac(closeedgefac),
      quad_dominated(quad_dominated),
      optsteps2d(optsteps2d),
      optsteps3d(optsteps3d),
      secondorder(secondorder)
{
}

double MeshNETGEN2DSettings::GetElementSize() const { return elementSize; }
float MeshNETGEN2DSettings::GetCurvaturesafety() const { return curvaturesafety; }
float MeshNETGEN2DSettings::GetSurfmeshcurvfac() const { return surfmeshcurvfac; }
int MeshNETGEN2DSettings::GetSegmentsperedge() const { return segmentsperedge; }
float MeshNETGEN2DSettings::GetGrading() const { return grading; }
float MeshNETGEN2DSettings::GetLinelengthfac() const { return linelengthfac; }
float MeshNETGEN2DSettings::GetCloseedgefac() const { return closeedgefac; }
bool MeshNETGEN2DSettings::GetQuad_dominated() const { return quad_dominated; }
int MeshNETGEN2DSettings::GetOptsteps2d() const { return optsteps2d; }
int MeshNETGEN2DSettings::GetOptsteps3d() const { return optsteps3d; }
bool MeshNETGEN2DSettings::GetSecondorder() const { return secondorder; }
std::vector<double> MeshNETGEN2DSettings::GetEdgeSeedingParameters() const { return edgeSeedingParameters; }

void MeshNETGEN2DSettings::SetElementSize(double value) { elementSize = value; }
void MeshNETGEN2DSettings::SetCurvaturesafety(float value) { curvaturesafety = value; }
void MeshNETGEN2DSettings::SetSurfmeshcurvfac(float value) { surfmeshcurvfac = value; }
void MeshNETGEN2DSettings::SetSegmentsperedge(int value) { segmentsperedge = value; }
void MeshNETGEN2DSettings::SetGrading(float value) { grading = value; }
void MeshNETGEN2DSettings::SetLinelengthfac(float value) { linelengthfac = value; }
void MeshNETGEN2DSettings::SetCloseedgefac(float value) { closeedgefac = value; }
void MeshNETGEN2DSettings::SetQuad_dominated(bool value) { quad_dominated = value; }
void MeshNETGEN2DSettings::SetOptsteps2d(int value) { optsteps2d = value; }
void MeshNETGEN2DSettings::SetOptsteps3d(int value) { optsteps3d = value; }
void MeshNETGEN2DSettings::SetSecondorder(bool value) { secondorder = value; }
void MeshNETGEN2DSettings::SetEdgeSeedingParameters(std::vector<double> value)
{
    edgeSeedingParameters = std::move(value);
}

}  // namespace Tarnel
