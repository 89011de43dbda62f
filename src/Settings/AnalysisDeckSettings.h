#pragma once

#include "Settings/SolverProfile.h"

namespace Tarnel {

// The analysis-deck setting the master mesh keeps for the host.
class AnalysisDeckSettings {
public:
    AnalysisDeckSettings() = default;

    SolverProfile GetSolverProfile() const;
    void SetSolverProfile(SolverProfile profile);
    void TransferContents(const AnalysisDeckSettings& other);

private:
    SolverProfile solverProfile = SOLVER_PROFILE_STANDARD;
};

}  // namespace Tarnel
