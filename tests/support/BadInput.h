#pragma once

#include <functional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "Entities/MasterMeshStructure/MasterMesh.h"
#include "Log.h"
#include "TempDirectory.h"

// The bad-input suite: every case feeds the library something a user may
// hand it (a broken file, an ID that does not exist, a directory that cannot
// be written) and expects a clear error, a neutral result, and the master
// mesh exactly as it was and consistent.
namespace TarnelTest {

// A row of a parameterised test's table: the test's name (letters, digits
// and underscores), which also prints the row, so that test names stay
// readable wherever they are listed.
struct Row {
    std::string name;
};

inline std::ostream& operator<<(std::ostream& out, const Row& row)
{
    return out << row.name;
}

struct BadInputCase : Row {
    // Feeds the bad input to the library, in the export directory `directory`
    // that the master mesh was built with; returns what the call answered, as
    // text (for example "false", "0 nodes", or "threw: <what()>").
    std::function<std::string(const TempDirectory& directory)> feed;
    std::string expectedAnswer;
    // The record that must have been logged, with exactly this message;
    // empty: what the expected answer says was thrown ("threw: <message>").
    Tarnel::LogLevel level;
    std::string expectedMessage;
    // Run on the canonical master mesh before its state is taken, for cases
    // that need more than it holds; nothing when empty.
    std::function<void(const TempDirectory& directory)> prepare = nullptr;
};

// "{dir}" in an expected answer or message stands for the export directory.
std::string WithDirectory(const std::string& text, const TempDirectory& directory);

// The parameterised test of the suite; each table instantiates it.
class BadInput : public ::testing::TestWithParam<BadInputCase> {};

// The name generator for INSTANTIATE_TEST_SUITE_P over tables of rows.
struct RowName {
    template <class ParamInfo>
    std::string operator()(const ParamInfo& info) const
    {
        return info.param.name;
    }
};

// The master mesh every case starts from, placed into an empty master mesh
// with `directory` as export directory:
//
//   component 1 (sets 11 to 14), placed from a temporary mesh:
//     3                  point 1 on node 4 (2, 2, 0)
//     | \                line 2 (1, 2)
//     1 - 2    4         triangle 3 (1, 2, 3)
//   component 2 (sets 21 to 24), added by AddElements in kinematic coupling
//   mode: lines 4 (1, 2) and 5 (1, 3), the beams of one kinematic coupling
//   with master node 1 and slave nodes 2 and 3;
//   element set 100 = {3}, node set 200 = {1, 4}.
void BuildBadInputMasterMesh(const TempDirectory& directory);

// Answers for the table, so that every case reads alike.
std::string Answer(bool value);
std::string Answer(const std::exception& exception);

// The master mesh the cases edit.
Tarnel::MasterMesh& Master();

// What `call` answered, or "threw: <what()>" when it threw.
std::string Answered(const std::function<std::string()>& call);

// What `call` answered, followed by "; <message> (<exception text>)" for
// every record logged with an exception: operations that swallow what they
// refuse log it, and the exception text tells the refusals apart.
std::string WithLoggedExceptions(const std::function<std::string()>& call);

// Node 5, added at (5, 5, 0) and deleted again: it existed once.
void AddAndDeleteNode5(const TempDirectory& directory);

}  // namespace TarnelTest
