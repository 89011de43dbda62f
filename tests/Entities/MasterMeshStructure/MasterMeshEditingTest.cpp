// Editing the master mesh: nodes, elements, sets, components, couplings,
// normals and quality, one row per behaviour on the cube's nodes.

#include <algorithm>
#include <cmath>
#include <sstream>

#include <gtest/gtest.h>

#include "BadInput.h"
#include "EditingMeshes.h"
#include "Entities/MasterMeshStructure/MixedSet.h"
#include "LogCapture.h"
#include "MasterMeshChecker.h"

using namespace Tarnel;
using namespace TarnelTest;

namespace {

std::string stored(int elementId)
{
    return MasterMeshChecker::DescribeLines(MasterMesh::getInstance(), "element " + std::to_string(elementId) + " ");
}

std::string couplings()
{
    return MasterMeshChecker::DescribeLines(MasterMesh::getInstance(), "kinematic couplings", true);
}

std::string quality(const std::map<int, float>& qualities)
{
    std::ostringstream text;
    for (const auto& entry : qualities) text << ' ' << entry.first << ':' << entry.second;
    return text.str();
}

// Every face of the list, its nodes as the element orients it, sorted.
std::string faces(const ElementData& data, std::size_t nodesPerFace)
{
    std::vector<std::string> listed;
    for (std::size_t k = 0; k < data.nodeIds.size(); k += nodesPerFace) {
        std::string face;
        for (std::size_t n = k; n < k + nodesPerFace; ++n) face += " " + std::to_string(data.nodeIds[n]);
        listed.push_back(face + " of " + std::to_string(data.elementIds[k / nodesPerFace]));
    }
    std::sort(listed.begin(), listed.end());
    std::string text;
    for (const std::string& face : listed) text += " |" + face;
    return text;
}

ElementAttributes couplingAttributes(int mode, double weight)
{
    return ElementAttributes({1, 1, 1, 0, 0, 0}, weight, mode, NOT_SPECIFIED);
}

ElementCoupling coupling(int componentId, std::unordered_set<int> beams)
{
    ElementCoupling result(componentId, 1);
    result.SetRepresentationBeamIds(beams);
    result.SetWeights(std::vector<double>(6, 1.0));
    return result;
}

struct Edit : Row {
    std::string (*run)(MasterMesh& master);
    std::string expected;
    // Every record from info up (LogCapture::Lines).
    std::vector<std::string> logs;
};

const Edit kEdits[] = {
    {"AddNodesRoundInPlaceAndGoOnFromTheLargestTag",
     [](MasterMesh& master) {
         std::vector<XYZ> previewed{XYZ(0.1234567, 0, 0), XYZ(-2.0000004, 1e-7, 5)}, added = previewed;
         const std::string before = MasterMeshChecker::Describe(master);
         std::ostringstream out;
         for (const Node& node : master.AddNodes(previewed, true)) out << node.id << ' ';
         out << (MasterMeshChecker::Describe(master) == before ? "" : "(preview changed the mesh) ");
         for (const Node& node : master.AddNodes(added, false)) out << node.id << ' ' << node.position << ' ';
         out << "in place " << added[0] << " gmsh " << master.GetNodeDefinition(10).position << " removed"
             << SortedIds(master.GetDeletedNodeIDs());
         return out.str();
     },
     "10 11 10 (0.123457, 0, 0) 11 (-2, 0, 5) in place (0.123457, 0, 0) gmsh (0.123457, 0, 0) removed",
     {"W: No deleted nodes found in the master mesh."}},
    // Node 9 is free: it goes quietly, also from the node set.
    {"DeletingNodesDeletesTheirElementsTheOrphansAndTheirSetEntries",
     [](MasterMesh& master) {
         master.CreateNodeSet(70, {9, 5});
         std::vector<Element> affected{Element()};
         std::unordered_set<int> orphans;
         const bool deleted = master.DeleteNodes({3, 9}, affected, orphans, true);
         return Answer(deleted) + ", affected" + ElementIds(affected) + ", orphans" + SortedIds(orphans) + ", removed" +
                SortedIds(master.GetDeletedNodeIDs()) + ", set 70:" + SortedIds(master.GetMeshSet(70)->GetNodeIds()) +
                ", next node " + std::to_string(master.AddNode(XYZ(), false).id);
     },
     "true, affected 1 2, orphans 1 2 3 4, removed 1 2 3 4 9, set 70: 5, next node 10", {}},
    // A single element repeats its nodes as created nodes.
    {"AddElementsGoOnFromTheLargestTagBatchAfterBatch",
     [](MasterMesh& master) {
         const std::string added = DescribeTransactions(ExpectPreviewMatchesRun([&](bool isPreview) {
             return std::vector<MeshTransaction>{master.AddElements(
                 2, {LINE_2NODE, TRIANGLE_3NODE}, {7, 8}, {1, 2, 3, 4},
                 {ElementData{{1, 2}, {2}}, ElementData{{1, 2, 5, 2, 3, 6}, {12, 13}}}, {}, ElementAttributes(),
                 isPreview)};
         }));
         const std::string single =
             DescribeTransactions({master.AddElement(7, QUAD_4NODE, ElementData{{1, 2, 3, 4}, {15}})});
         return added + stored(6) + single + stored(7);
     },
     "component 2 created[4 2 21 1 2 5 2 22 2 12 6 2 22 2 13 ] nodes[1 2 ] nodes[1 2 5 ] "
     "nodes[2 3 6 ] createdNodes[7 8 ] nodeRecords[1 2 3 4 ]\n"
     "element 6 shape 2 solver 13 origin 2/22 named nodes 2 3 6 attributes 0/0/2 dof 1 1 1 1 1 1\n"
     "component 7 created[7 7 72 3 15 ] nodes[1 2 3 4 ] createdNodes[1 2 3 4 ]\n"
     "element 7 shape 3 solver 15 origin 7/72 named nodes 1 2 3 4 attributes 0/0/2 dof 1 1 1 1 1 1\n", {}},
    {"EmptyDegreesOfFreedomBecomeZerosWithOneWarning",
     [](MasterMesh& master) {
         master.AddElements(1, {LINE_2NODE}, {}, {}, {ElementData{{1, 5, 2, 6}, {2, 2}}}, {},
                            ElementAttributes({}, 0.0, 0, NOT_SPECIFIED), false);
         return stored(4) + stored(5);
     },
     "element 4 shape 1 solver 2 origin 1/11 named nodes 1 5 attributes 0/0/1 dof 0 0 0 0 0 0\n"
     "element 5 shape 1 solver 2 origin 1/11 named nodes 2 6 attributes 0/0/1 dof 0 0 0 0 0 0\n",
     {"W: Setting all degrees of freedom to zero for element ID: 4. No degrees of freedom were provided."}},
    {"DeletingElementsRemovesTheOrphansOnlyWhenAsked",
     [](MasterMesh& master) {
         master.CreateElementSet(80, {1, 2});
         std::unordered_set<int> kept, orphans;
         const bool first = master.DeleteElements({1}, kept, false);
         const bool second = master.DeleteElements({2}, orphans, true);
         return Answer(first) + " kept" + SortedIds(kept) + ", " + Answer(second) + " orphans" + SortedIds(orphans) +
                ", removed" + SortedIds(master.GetDeletedNodeIDs()) + ", set 80:" +
                SortedIds(master.GetMeshSet(80)->GetElementIds()) + ", component 2:" +
                ElementIds(master.GetComponentMesh(2)->GetAllElements());
     },
     "true kept, true orphans 1 3 4, removed 1 3 4, set 80:, component 2:", {}},
    {"SetsAreCreatedReplacedInsertedOnceAndDeleted",
     [](MasterMesh& master) {
         ElementSet* elementSet = master.CreateElementSet(7, {1, 99});
         master.CreateNodeSet(4, {1, 2});
         master.CreateNodeSet(4, {9});
         std::string answer = "element set " + std::to_string(elementSet->GetComponentId()) +
                              SortedIds(elementSet->GetElementIds()) + ", node set " +
                              std::to_string(master.GetMeshSet(4)->GetComponentId()) +
                              SortedIds(master.GetMeshSet(4)->GetNodeIds()) + ", inserted";
         NodeSet nodes(5), other(5);
         nodes.SetNodeIds({1});
         other.SetNodeIds({2});
         ElementSet elements(8);
         elements.SetElementIds({2, 42});
         for (bool inserted : {master.InsertMeshReference(nodes), master.InsertMeshReference(other),
                               master.InsertMeshReference(elements), master.InsertMeshReference(elements),
                               master.InsertMeshReference(MixedSet(9)),
                               master.InsertMeshComponent(ComponentMesh(1, 1, 2, 3, 4))})
             answer += " " + Answer(inserted);
         answer += ", set 5:" + SortedIds(master.GetMeshSet(5)->GetNodeIds()) + ", named on 1:" +
                   SortedIds(master.GetElementDefinition(1).origin.namedSetIds) + ", on 2:" +
                   SortedIds(master.GetElementDefinition(2).origin.namedSetIds) + ", deleted";
         for (int id : {7, 5, 123}) answer += " " + Answer(master.DeleteMeshSet(id));
         return answer + (master.GetMeshSet(7) == nullptr && master.GetMeshSet(5) == nullptr ? "" : ", still there");
     },
     "element set 7 1 99, node set 4 9, inserted true false true false false false, set 5: 1, named on 1: 7, on 2: "
     "8 8, deleted true true true",
     {"E: Element ID 99 not found in the master mesh!", "E: Element ID 42 not found in the master mesh!",
      "E: Element ID 42 not found in the master mesh!", "E: Unhandled mesh reference type cannot be inserted!"}},
    // Lines in coupling mode make one coupling, weighted by their degrees of
    // freedom; deleting their component takes it along.
    {"DeletingAComponentTakesItsElementsOrphansAndCouplings",
     [](MasterMesh& master) {
         master.AddElements(1, {LINE_2NODE}, {}, {}, {ElementData{{9, 5, 9, 6}, {2, 2}}}, {},
                            couplingAttributes(8, 0.25), false);
         const std::string added = stored(5) + couplings();
         const bool first = master.DeleteMeshComponent(1);
         const bool second = master.DeleteMeshComponent(1);
         return added + Answer(first) + " " + Answer(second) + ", elements" + ElementIds(master.GetAllElements()) +
                ", removed" + SortedIds(master.GetDeletedNodeIDs()) + ", " + couplings();
     },
     "element 5 shape 1 solver 2 origin 1/11 named nodes 9 6 attributes 0.25/8/1 dof 1 1 1 0 0 0\n"
     "kinematic couplings\n  component 1 master 9 slaves 5 6 beams 4 5 weights 1 1 1 0 0 0\ndistributing couplings\n"
     "true false, elements 2 3, removed 2 9, kinematic couplings\ndistributing couplings\n",
     {"I: Adding elements with kinematic/distributing coupling type of element addition.",
      "E: Could not find mesh component by ID = 1"}},
    {"InvalidCouplingsAreDroppedWithTheirOwnLinesOnly",
     [](MasterMesh& master) {
         master.AddElements(1, {LINE_2NODE}, {}, {}, {ElementData{{1, 5, 1, 6}, {2, 2}}}, {}, couplingAttributes(8, 0),
                            false);
         master.SetKinematicCouplings(master.GetKinematicCouplings());
         const std::string kept = couplings();
         master.SetDistributingCouplings({coupling(1, {})});
         master.SetKinematicCouplings({coupling(1, {1, 4})});
         master.SetKinematicCouplings({coupling(12, {5})});
         return kept + "then elements" + ElementIds(master.GetAllElements()) + ", " + couplings();
     },
     "kinematic couplings\n  component 1 master 1 slaves 5 6 beams 4 5 weights 1 1 1 0 0 0\n"
     "distributing couplings\nthen elements 1 2 3 5, kinematic couplings\ndistributing couplings\n",
     {"I: Adding elements with kinematic/distributing coupling type of element addition.",
      "W: Distributing coupling for component mesh ID 1 has no representation beam IDs and will be discarded.",
      "W: Kinematic coupling for component mesh ID 1 has one or more beam element IDs not registered in the "
      "component's 1D element set -> discarding.",
      "W: Kinematic coupling for component mesh ID 1 names element ID 1 as a beam, which is not a line element of "
      "that component; it is kept.",
      "W: Kinematic coupling references component mesh ID 12 which no longer exists -> discarding.",
      "W: Kinematic coupling for component mesh ID 12 names element ID 5 as a beam, which is not a line element of "
      "that component; it is kept."}},
    {"ReversedElementsReplaceTheOldOnesInTheirComponents",
     [](MasterMesh& master) {
         std::vector<int> reversed;
         std::unordered_map<std::string, int> solverTypes;
         std::string answer =
             Answered([&] { return DescribeTransactions(master.ReverseNormals({}, reversed, solverTypes)); });
         AddMasterElement(1, HEXA_8NODE, {1, 2, 3, 4, 5, 6, 7, 8});
         const std::string before = MasterMeshChecker::Describe(master);
         answer += ", " +
                   Answered([&] { return DescribeTransactions(master.ReverseNormals({3, 4}, reversed, solverTypes)); });
         answer += MasterMeshChecker::Describe(master) == before ? "\n" : " and changed the mesh\n";
         answer += DescribeTransactions(master.ReverseNormals({3, 1, 99, 2}, reversed, solverTypes)) + "reversed";
         for (int id : reversed) answer += " " + std::to_string(id);
         return answer;
     },
     "threw: No element IDs provided for reversing normals., threw: ReverseNormals: Invalid element shape.\n"
     "component 2 created[5 2 22 2 7 ] nodes[4 3 1 ]\n"
     "component 1 created[6 1 12 2 7 ] nodes[3 2 1 ]\n"
     "component 7 removed[3 1 2 ] created[7 7 72 3 7 ] nodes[8 7 6 5 ]\nreversed 3 1 2",
     {}},
    {"FreeEdgesAreThoseNoOtherSurfaceOrVolumeShares",
     [](MasterMesh& master) {
         AddMasterElement(1, LINE_2NODE, {1, 2});
         std::string answer;
         for (const std::vector<int>& edge : master.GetFreeElementEdges({1, 2}))
             answer += " " + std::to_string(edge[0]) + "-" + std::to_string(edge[1]);
         return answer + ", " + Answered([&] { return std::to_string(master.GetFreeElementEdges({1, 99}).size()); });
     },
     " 1-2 2-3 3-4 1-4, threw: GetFreeElementEdges: Invalid element shape.", {}},
    {"FreeFacesOfVolumesPointOutwards",
     [](MasterMesh& master) {
         const int hexahedron = AddMasterElement(1, HEXA_8NODE, {1, 2, 3, 4, 5, 6, 7, 8});
         const int pyramid = AddMasterElement(1, PYRAMID_5NODE, {5, 8, 7, 6, 9});
         const std::vector<ElementData> alone = master.GetFreeElementFaces({hexahedron});
         const std::vector<ElementData> together = master.GetFreeElementFaces({hexahedron, pyramid});
         const std::vector<ElementData> twice = master.GetFreeElementFaces({hexahedron, hexahedron});
         return "alone" + faces(alone[0], 3) + faces(alone[1], 4) + "\ntogether" + faces(together[0], 3) +
                faces(together[1], 4) + "\ntwice" + faces(twice[0], 3) + faces(twice[1], 4);
     },
     "alone | 1 2 6 5 of 4 | 1 4 3 2 of 4 | 1 5 8 4 of 4 | 2 3 7 6 of 4 | 3 4 8 7 of 4 | 6 7 8 5 of 4\n"
     "together | 6 9 7 of 5 | 8 9 5 of 5 | 9 6 5 of 5 | 9 8 7 of 5 | 1 2 6 5 of 4 | 1 4 3 2 of 4 | 1 5 8 4 of 4 "
     "| 2 3 7 6 of 4 | 3 4 8 7 of 4\ntwice", {}},
    {"QualityReportsTheSurfaceElementsStrictlyBeyondTheThreshold",
     [](MasterMesh& master) {
         master.AddNode(XYZ(2, 1e-3, 0), false);
         const std::uint64_t sliver = static_cast<std::uint64_t>(AddMasterElement(1, TRIANGLE_3NODE, {1, 2, 10}));
         AddMasterElement(1, LINE_2NODE, {1, 2});
         AddMasterElement(1, HEXA_8NODE, {1, 2, 3, 4, 5, 6, 7, 8});
         AddMasterElement(1, TRIANGLE_6NODE, {1, 2, 3, 2, 3, 1});
         const double rightIsosceles = 2.0 * ((2.0 - std::sqrt(2.0)) / 2.0) / (std::sqrt(2.0) / 2.0);
         return "poor" + quality(master.CheckQuality2D(GAMMA, LESS_THAN, 0.5, {1, 3, sliver})) + ", good" +
                quality(master.CheckQuality2D(GAMMA, GREATER_THAN, 0.5, {})) + ", at the threshold" +
                quality(master.CheckQuality2D(GAMMA, LESS_THAN, rightIsosceles, {1})) +
                quality(master.CheckQuality2D(GAMMA, GREATER_THAN, rightIsosceles, {1})) + ", sicn" +
                quality(master.CheckQuality2D(MIN_SICN, LESS_THAN, 0.87, {1, 3})) + ", lines and volumes" +
                quality(master.CheckQuality2D(GAMMA, GREATER_THAN, -1.0, {5, 6})) + ", unknown" +
                quality(master.CheckQuality2D(GAMMA, static_cast<ComparisonCondition>(2), 0.5, {})) +
                quality(master.CheckQuality2D(static_cast<QualityMeasure>(7), LESS_THAN, 0.5, {}));
     },
     "poor 4:5e-07, good 1:0.828427 2:0.828427 3:1 7:0.828427, at the threshold, sicn 1:0.866025, lines and "
     "volumes, unknown",
     {"E: Unknown quality measure 7."}},
};

class MasterMeshEdit : public testing::TestWithParam<Edit> {};

// Components 1, 2 and 7 on the cube's nodes (see MasterWithCubeNodes) with
// triangle 1 (1, 2, 3) in component 1, triangle 2 (1, 3, 4) in component 2
// and quadrangle 3 (5, 6, 7, 8) in component 7.
TEST_P(MasterMeshEdit, AnswersLogsAndLeavesAConsistentMesh)
{
    MasterMesh& master = MasterWithCubeNodes();
    AddMasterElement(1, TRIANGLE_3NODE, {1, 2, 3});
    AddMasterElement(2, TRIANGLE_3NODE, {1, 3, 4});
    AddMasterElement(7, QUAD_4NODE, {5, 6, 7, 8});
    LogCapture capture;
    EXPECT_EQ(GetParam().run(master), GetParam().expected);
    EXPECT_EQ(capture.Lines(), GetParam().logs);
    EXPECT_MASTER_MESH_CONSISTENT();
}

INSTANTIATE_TEST_SUITE_P(Rows, MasterMeshEdit, testing::ValuesIn(kEdits), RowName());

}  // namespace
