#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/StatementFile.h"

namespace {

using testsupport::ParseStatementFile;
using Lines = std::vector<std::string>;

// Each statement file yields its one block, or reports its one fault.
TEST(StatementFileReading, YieldsTheBlockOrNamesTheFault) {
  struct FileCase {
    const char* Name;
    std::string Text;
    Lines Expected;     // lines of the only block, when it has one
    std::string Fault;  // a part of the only fault, when it has one
  };
  const std::string head = "# statement: X::Y (z)\n";
  const FileCase cases[] = {
      {"PlainLines", head + "SELECT 1\n  FROM DUAL\n----\n", {"SELECT 1", "  FROM DUAL"}, ""},
      {"CommentsAndBlankLinesAround", "# about\n\n" + head + "A\n----\n\n# end\n", {"A"}, ""},
      {"NoLineBreakAfterTheEnd", head + "A\n----", {"A"}, ""},
      {"NoLinesIsAnEmptyStatement", head + "----\n", {}, ""},
      {"AnEmptyLineIsKept", head + "\nA\n\n----\n", {"", "A", ""}, ""},
      {"EscapedTrailingBlank", head + "FOR UPDATE\\s\nA   \\s\n----\n", {"FOR UPDATE ", "A    "}, ""},
      {"EscapedCarriageReturnTabAndBackslash", head + "A\\r\n\\tB\\\\C\n----\n", {"A\r", "\tB\\C"}, ""},
      {"EscapedEndMarkerIsALine", head + "\\----\n-- note\n----\n", {"----", "-- note"}, ""},
      {"HashInsideABlockIsText", head + "# not a comment\n----\n", {"# not a comment"}, ""},
      {"RawTrailingBlank", head + "A \n----\n", {}, "area.sql.test:2: raw blank"},
      {"CarriageReturnOfTheFile", head + "A\r\n----\n", {}, "area.sql.test:2: raw blank, tab or carriage"},
      {"UnknownEscape", head + "A\\n\n----\n", {}, "area.sql.test:2: unknown escape at column 2"},
      {"BackslashAtTheEnd", head + "A\\\n----\n", {}, "unknown escape"},
      {"NotClosed", head + "A\n", {}, "area.sql.test:1: \"X::Y (z)\" is not closed"},
      {"TextOutsideABlock", "SELECT 1\n", {}, "area.sql.test:1: text outside a statement block"},
      {"NameMissing", "# statement: \n", {}, "needs a name"},
  };
  for (const FileCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const testsupport::StatementFile parsed = ParseStatementFile(c.Text, "area.sql.test");
    if (c.Fault.empty()) {
      EXPECT_EQ(parsed.Errors, Lines{});
      ASSERT_EQ(parsed.Blocks.size(), 1U);
      EXPECT_EQ(parsed.Blocks[0].Name, "X::Y (z)");
      EXPECT_EQ(parsed.Blocks[0].Lines, c.Expected);
    } else {
      EXPECT_EQ(parsed.Blocks.size(), 0U);
      ASSERT_EQ(parsed.Errors.size(), 1U);
      EXPECT_NE(parsed.Errors[0].find(c.Fault), std::string::npos) << parsed.Errors[0];
    }
  }
}

// A block left open swallows no later block, and a broken block does not hide the next one.
TEST(StatementFileReading, AFaultyBlockLeavesTheNextOneReadable) {
  const testsupport::StatementFile parsed = ParseStatementFile(
      "# statement: A\nx\n# statement: B\ny\n----\n# statement: C\nz \n----\n# statement: D\nw\n----\n", "f");
  ASSERT_EQ(parsed.Blocks.size(), 2U);
  EXPECT_EQ(parsed.Blocks[0].Name, "B");
  EXPECT_EQ(parsed.Blocks[0].Line, 3);
  EXPECT_EQ(parsed.Blocks[1].Name, "D");
  EXPECT_EQ(parsed.Blocks[1].Lines, Lines{"w"});
  ASSERT_EQ(parsed.Errors.size(), 2U);
  EXPECT_EQ(parsed.Errors[0], "f:3: \"A\" (line 1) is not closed with \"----\" before the next statement");
  EXPECT_EQ(parsed.Errors[1].rfind("f:7: raw blank", 0), 0U) << parsed.Errors[1];
}

// What the failure report offers to paste reads back as the very statement.
TEST(StatementFileWriting, ABlockReadsBackByteForByte) {
  for (const std::string& text : {std::string("SELECT *\n  FROM ZTESTCR\n FOR UPDATE "), std::string("A  \r\n\tB\\s\n"),
                                  std::string("----\n -- x\n\n"), std::string(" "), std::string("a\\\\b\\")}) {
    const testsupport::StatementFile parsed = ParseStatementFile(testsupport::EncodeStatementBlock("N", text), "f");
    ASSERT_EQ(parsed.Errors, Lines{}) << testsupport::EncodeStatementBlock("N", text);
    ASSERT_EQ(parsed.Blocks.size(), 1U);
    EXPECT_EQ(parsed.Blocks[0].Text(), text);
  }
  EXPECT_EQ(testsupport::EncodeStatementLine(" FOR UPDATE  "), " FOR UPDATE \\s");
}

TEST(StatementDifference, PointsAtTheFirstDifferingLineAndColumn) {
  EXPECT_FALSE(testsupport::FirstDifference("A\nB", "A\nB"));
  const auto Check = [](const std::string& expected, const std::string& actual, std::size_t line, std::size_t column,
                        const std::string& want, const std::string& got) {
    const auto difference = testsupport::FirstDifference(expected, actual);
    ASSERT_TRUE(difference) << expected;
    EXPECT_EQ(difference->Line, line) << expected;
    EXPECT_EQ(difference->Column, column) << expected;
    EXPECT_EQ(difference->Expected, want) << expected;
    EXPECT_EQ(difference->Actual, got) << expected;
  };
  Check("SELECT\n  FROM A\n WHERE", "SELECT\n  FROM B\n WHERE", 2, 8, "  FROM A", "  FROM B");
  // A blank or a carriage return is shown as it is written in a statement file.
  Check("A\nFOR UPDATE", "A\nFOR UPDATE ", 2, 11, "FOR UPDATE", "FOR UPDATE\\s");
  Check("X\r\nY", "X\nY", 1, 2, "X\\r", "X");
  Check("A\nB", "A", 2, 1, "B", "(no such line)");
  Check("A", "A\n", 2, 1, "(no such line)", "");
}

// Every statement file below a folder, in path order, and nothing else.
TEST(StatementFileReading, FindsTheStatementFilesBelowAFolder) {
  const std::filesystem::path root = std::filesystem::temp_directory_path() / "quorvin-statement-files";
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root / "b");
  std::filesystem::create_directories(root / "a");
  std::ofstream(root / "b" / "b.sql.test") << "# statement: B\n----\n";
  std::ofstream(root / "a" / "a.sql.test") << "# statement: A\n----\n";
  std::ofstream(root / "a" / "notes.sql") << "# statement: Ignored\n----\n";
  const testsupport::StatementFile found = testsupport::ReadStatementFiles(root.string());
  EXPECT_EQ(found.Errors, Lines{});
  ASSERT_EQ(found.Blocks.size(), 2U);
  EXPECT_EQ(found.Blocks[0].Name, "A");
  EXPECT_EQ(found.Blocks[0].File, (root / "a" / "a.sql.test").string());
  EXPECT_EQ(found.Blocks[1].Name, "B");
  std::filesystem::remove_all(root);
  EXPECT_EQ(testsupport::ReadStatementFiles(root.string()).Errors.size(), 1U);
}

}  // namespace
