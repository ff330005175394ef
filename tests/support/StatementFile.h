#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// Expected SQL kept as data: a statement file holds blocks of the text a builder must produce,
// byte for byte.
//
//   # any line outside a block that starts with '#' is a comment
//   # statement: TDALMovimentacaoNumerarios::GetSQLSaldoZTESTCR (locked)
//   SELECT *
//   FROM ZTESTCR
//    FOR UPDATE\s
//   ----
//
// A block runs from its "# statement: NAME" line to a line holding only "----"; its lines are the
// statement's lines, joined with "\n" (no line break after the last one; a block with no lines is
// an empty statement). Inside a block a backslash starts an escape: \s is a blank, \r a carriage
// return, \t a tab, \\ a backslash, \- a dash (a statement line that is only "----" is written
// "\----"). A block line may not end in a raw blank, tab or carriage return, since editors strip
// or add them unseen: write the last one escaped ("FOR UPDATE\s").
namespace testsupport {

// One block of a statement file.
struct StatementBlock {
  std::string Name;                // what follows "# statement: "
  std::string File;                // path of the statement file
  int Line = 0;                    // line of the "# statement:" header
  std::vector<std::string> Lines;  // the statement's lines, escapes decoded
  [[nodiscard]] std::string Text() const;
};

// The blocks of a statement file and what was wrong in it ("file:line: reason"); a broken block
// is left out.
struct StatementFile {
  std::vector<StatementBlock> Blocks;
  std::vector<std::string> Errors;
};

// Reads the text of a statement file; `file` only names it in blocks and errors.
[[nodiscard]] StatementFile ParseStatementFile(const std::string& text, const std::string& file);

// Reads every "*.sql.test" below `folder`, in path order.
[[nodiscard]] StatementFile ReadStatementFiles(const std::string& folder);

// A statement line written as a block line: the inverse of the block escapes.
[[nodiscard]] std::string EncodeStatementLine(const std::string& line);

// A whole statement written as a block, ready to paste into a statement file.
[[nodiscard]] std::string EncodeStatementBlock(const std::string& name, const std::string& text);

// Where a built statement first departs from the expected one.
struct StatementDifference {
  std::size_t Line = 0;    // 1-based line of the statement
  std::size_t Column = 0;  // 1-based column of that line, before escaping
  std::string Expected;    // that line of each, written as a block line; "(no such line)" past the end
  std::string Actual;
};

// The first difference of `actual` from `expected`; nothing when they are equal byte for byte.
[[nodiscard]] std::optional<StatementDifference> FirstDifference(const std::string& expected,
                                                                 const std::string& actual);

}  // namespace testsupport
