#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "support/StatementBuilders.h"
#include "support/StatementFile.h"

// Every block of every statement file below the unit tests, against the builder it names: a
// change of a statement is a change of its file.
namespace {

using testsupport::StatementBlock;
using testsupport::StatementBuilders;

// A block to check, or a fault of the files that fails as a case of its own.
struct StatementCase {
  std::string Id;
  std::optional<StatementBlock> Block;
  std::string Fault;
};

void PrintTo(const StatementCase& c, std::ostream* os) {
  if (c.Block) {
    *os << c.Block->File << ":" << c.Block->Line << " " << c.Block->Name;
  } else {
    *os << c.Fault;
  }
}

// The folder a statement file sits in, then the statement's name without its class, as a test
// name: "cash_GetSQLSaldoZTESTCR_locked".
std::string CaseId(const StatementBlock& block) {
  const std::size_t slash = block.File.find_last_of('/');
  const std::size_t folder = block.File.find_last_of('/', slash == 0 ? 0 : slash - 1);
  std::string id = block.File.substr(folder + 1, slash - folder - 1) + "_";
  const std::size_t scope = block.Name.find("::");
  for (const char c : block.Name.substr(scope == std::string::npos ? 0 : scope + 2)) {
    if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
      id += c;
    } else if (id.back() != '_') {
      id += '_';
    }
  }
  while (id.back() == '_') id.pop_back();
  return id;
}

std::vector<StatementCase> Cases() {
  const testsupport::StatementFile files = testsupport::ReadStatementFiles(QUORVIN_TEST_UNIT_DIR);
  std::vector<StatementCase> cases;
  for (const std::string& fault : files.Errors) {
    cases.push_back({.Id = "FileFault" + std::to_string(cases.size() + 1), .Block = std::nullopt, .Fault = fault});
  }
  if (files.Blocks.empty()) {
    cases.push_back(
        {.Id = "NoStatements", .Block = std::nullopt, .Fault = "no statement blocks below " QUORVIN_TEST_UNIT_DIR});
  }
  std::map<std::string, const StatementBlock*> first;
  std::set<std::string> ids;
  for (const StatementBlock& block : files.Blocks) {
    std::string id = CaseId(block);
    while (!ids.insert(id).second) id += "_again";
    if (const auto [seen, added] = first.emplace(block.Name, &block); !added) {
      cases.push_back({.Id = id,
                       .Block = std::nullopt,
                       .Fault = block.File + ":" + std::to_string(block.Line) + ": \"" + block.Name +
                                "\" was already given at " + seen->second->File + ":" +
                                std::to_string(seen->second->Line)});
      continue;
    }
    cases.push_back({.Id = id, .Block = block, .Fault = {}});
  }
  return cases;
}

class StatementText : public testing::TestWithParam<StatementCase> {};

TEST_P(StatementText, IsWhatTheBuilderSends) {
  const StatementCase& c = GetParam();
  if (!c.Block) {
    FAIL() << c.Fault;
  }
  const StatementBlock& block = *c.Block;
  const std::string where = block.File + ":" + std::to_string(block.Line);
  const auto builder = StatementBuilders::All().find(block.Name);
  ASSERT_NE(builder, StatementBuilders::All().end())
      << where << ": no builder is registered as \"" << block.Name << "\"";
  const testsupport::BuiltStatement built = builder->second();
  if (const auto difference = testsupport::FirstDifference(block.Text(), built.Text)) {
    ADD_FAILURE() << block.Name << " differs at line " << difference->Line << ", column " << difference->Column << " ("
                  << block.File << ":" << block.Line + static_cast<int>(difference->Line) << ")\n"
                  << "  expected: " << difference->Expected << "\n"
                  << "  actual:   " << difference->Actual << "\n"
                  << "what it sends, as a block:\n"
                  << testsupport::EncodeStatementBlock(block.Name, built.Text);
    return;
  }
  // The same text from other lines: a line with a line break in it, or no line against one empty line.
  if (built.Lines) {
    EXPECT_EQ(*built.Lines, block.Lines) << where << ": " << block.Name;
  }
}

INSTANTIATE_TEST_SUITE_P(Files, StatementText, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<StatementCase>& info) { return info.param.Id; });

// A builder without a block would be checked by nothing.
TEST(StatementBuilders, EachHasOneNameAndABlock) {
  EXPECT_EQ(StatementBuilders::Duplicates(), std::vector<std::string>{});
  std::set<std::string> named;
  for (const StatementBlock& block : testsupport::ReadStatementFiles(QUORVIN_TEST_UNIT_DIR).Blocks) {
    named.insert(block.Name);
  }
  for (const auto& entry : StatementBuilders::All()) {
    EXPECT_TRUE(named.contains(entry.first)) << "no statement block checks \"" << entry.first << "\"";
  }
}

}  // namespace
