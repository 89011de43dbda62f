#include "Settings/AnalysisDeckSettings.h"

namespace Tarnel {

SolverProfile AnalysisDeckSettings::GetSolverProfile() const
{
    return solverProfile;
}

void AnalysisDeckSettings::SetSolverProfile(SolverProfile profile)
{
    solverProfile = profile;
}

void AnalysisDeckSettings::TransferContents(const AnalysisDeckSettings& other)
{
    solverProfile = other.solverProfile;
}

}  // namespace Tarnel
