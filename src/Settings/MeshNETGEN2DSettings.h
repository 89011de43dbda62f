#pragma once

#include <vector>

namespace Tarnel {

// A surface-meshing parameter set in the vocabulary of the NETGEN mesher,
// carried for hosts that keep one; no mesher of this library reads it.
class MeshNETGEN2DSettings {
public:
    MeshNETGEN2DSettings(double elementSize, float curvaturesafety, float surfmeshcurvfac, int segmentsperedge,
                         float grading, float linelengthfac, float closeedgefac, bool quad_dominated, int optsteps2d,
                         int optsteps3d, bool secondorder);

    double GetElementSize() const;
    float GetCurvaturesafety() const;
    float GetSurfmeshcurvfac() const;
    int GetSegmentsperedge() const;
    float GetGrading() const;
    float GetLinelengthfac() const;
    float GetCloseedgefac() const;
    bool GetQuad_dominated() const;
    int GetOptsteps2d() const;
    int GetOptsteps3d() const;
    bool GetSecondorder() const;
    std::vector<double> GetEdgeSeedingParameters() const;

    void SetElementSize(double value);
    void SetCurvaturesafety(float value);
    void SetSurfmeshcurvfac(float value);
    void SetSegmentsperedge(int value);
    void SetGrading(float value);
    void SetLinelengthfac(float value);
    void SetCloseedgefac(float value);
    void SetQuad_dominated(bool value);
    void SetOptsteps2d(int value);
    void SetOptsteps3d(int value);
    void SetSecondorder(bool value);
    void SetEdgeSeedingParameters(std::vector<double> value);

private:
    double elementSize;
    float curvaturesafety;
    float surfmeshcurvfac;
    int segmentsperedge;
    float grading;
    float linelengthfac;
    float closeedgefac;
    bool quad_dominated;
    int optsteps2d;
    int optsteps3d;
    bool secondorder;
    std::vector<double> edgeSeedingParameters;
};

}  // namespace Tarnel
