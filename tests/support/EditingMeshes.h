#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Entities/MasterMeshStructure/MasterMesh.h"

// The master mesh the editing tests start from, and the check that a preview
// answers what the real run does without changing anything.
namespace TarnelTest {

// The master mesh with components 1, 2 and 7 (component c holds the element
// sets 10c to 10c + 3) and nodes 1 to 9: the unit cube's corners 1 to 8
// (bottom 1-4, top 5-8, both counter-clockwise seen from above) and the apex
// 9 above its top face. No elements yet.
//
//     8 ---- 7
//    /|     /|        9 at (0.5, 0.5, 2)
//   5 ---- 6 |
//   | 4 ---|-3        1 at (0, 0, 0), 7 at (1, 1, 1)
//   |/     |/
//   1 ---- 2
Tarnel::MasterMesh& MasterWithCubeNodes();

// Adds one element to a component of the master mesh and answers its ID.
int AddMasterElement(int componentId, Tarnel::ElementShape shape, std::vector<int> nodeIds, int solverType = 7);

// Every field of the transactions, one line each, for comparisons; empty
// lists are left out.
std::string DescribeTransactions(const std::vector<Tarnel::MeshTransaction>& transactions);

// Runs `edit` as a preview, checks that the master mesh is exactly as it was,
// then runs it for real, checks the master mesh's consistency and that both
// runs answered the same transactions. Answers the real run's transactions.
std::vector<Tarnel::MeshTransaction> ExpectPreviewMatchesRun(
    const std::function<std::vector<Tarnel::MeshTransaction>(bool isPreview)>& edit);

}  // namespace TarnelTest
