#include "EditingMeshes.h"

#include <sstream>

#include <gtest/gtest.h>

#include "MasterMeshChecker.h"

using namespace Tarnel;

namespace TarnelTest {

MasterMesh& MasterWithCubeNodes()
{
    MasterMesh& master = MasterMesh::getInstance();
    for (int id : {1, 2, 7})
        master.InsertMeshComponent(ComponentMesh(id, 10 * id, 10 * id + 1, 10 * id + 2, 10 * id + 3));
    std::vector<XYZ> nodes{XYZ(0, 0, 0), XYZ(1, 0, 0), XYZ(1, 1, 0), XYZ(0, 1, 0), XYZ(0, 0, 1),
                           XYZ(1, 0, 1), XYZ(1, 1, 1), XYZ(0, 1, 1), XYZ(0.5, 0.5, 2)};
    master.AddNodes(nodes, false);
    return master;
}

int AddMasterElement(int componentId, ElementShape shape, std::vector<int> nodeIds, int solverType)
{
    const MeshTransaction added = MasterMesh::getInstance().AddElements(
        componentId, {shape}, {}, {}, {ElementData{std::move(nodeIds), {solverType}}}, {}, ElementAttributes(), false);
    return added.createdElements.empty() ? 0 : added.createdElements.front();
}

namespace {

// An empty list is left out unless `evenEmpty`: a created element's node
// list is always shown, so that one element cannot hide behind another.
template <typename T>
void describeList(std::ostringstream& out, const char* name, const std::vector<T>& values, bool evenEmpty = false)
{
    if (values.empty() && !evenEmpty) return;
    out << ' ' << name << '[';
    for (const T& value : values) out << value << ' ';
    out << ']';
}

}  // namespace

std::string DescribeTransactions(const std::vector<MeshTransaction>& transactions)
{
    std::ostringstream out;
    for (const MeshTransaction& transaction : transactions) {
        out << "component " << transaction.componentMeshId;
        describeList(out, "removed", transaction.removedElementIds);
        describeList(out, "auxiliary", transaction.auxiliaryIds);
        describeList(out, "created", transaction.createdElements);
        for (const std::vector<int>& nodes : transaction.createdElementNodeIds) describeList(out, "nodes", nodes, true);
        describeList(out, "createdNodes", transaction.createdNodeIds);
        describeList(out, "nodeRecords", transaction.createdNodeRecords);
        out << '\n';
    }
    return out.str();
}

std::vector<MeshTransaction> ExpectPreviewMatchesRun(
    const std::function<std::vector<MeshTransaction>(bool isPreview)>& edit)
{
    MasterMesh& master = MasterMesh::getInstance();
    const std::string before = MasterMeshChecker::Describe(master);
    const std::vector<MeshTransaction> preview = edit(true);
    EXPECT_EQ(MasterMeshChecker::Describe(master), before) << "the preview changed the master mesh";
    const std::vector<MeshTransaction> run = edit(false);
    EXPECT_MASTER_MESH_CONSISTENT();
    EXPECT_EQ(DescribeTransactions(preview), DescribeTransactions(run));
    return run;
}

}  // namespace TarnelTest
