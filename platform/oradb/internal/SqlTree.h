#pragma once

#include "oradb/internal/Private.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "oradb/internal/SqlLexer.h"

// The tokens of a statement nested by parentheses: the only structure every Oracle construct shares.
// Clause and expression analyses work on one level of this tree at a time.
namespace oradb::internal {

struct SqlNode {
  const Token* Tok = nullptr;    // the token; for a group its "("
  const Token* Close = nullptr;  // for a group its ")"
  std::vector<SqlNode> Kids;     // for a group the nodes between the parentheses

  [[nodiscard]] bool IsGroup() const noexcept { return Close != nullptr; }
};

using NodeList = std::vector<SqlNode>;
using NodeSpan = std::span<const SqlNode>;

// The deepest nesting of parentheses a statement may have (Oracle's own statements stay far below).
inline constexpr std::size_t kMaxGroupDepth = 128;

// Nests the tokens; throws ETranslationError on unbalanced parentheses or nesting deeper than
// kMaxGroupDepth.
[[nodiscard]] NodeList BuildSqlTree(const std::vector<Token>& tokens);

[[nodiscard]] bool IsWord(const SqlNode& node) noexcept;
[[nodiscard]] bool IsWord(const SqlNode& node, std::string_view upper) noexcept;
[[nodiscard]] bool IsOp(const SqlNode& node, std::string_view op) noexcept;
[[nodiscard]] bool IsKind(const SqlNode& node, TokenKind kind) noexcept;
// A name: a word or a quoted identifier.
[[nodiscard]] bool IsName(const SqlNode& node) noexcept;
// The upper-case name a node stands for, quotes removed: how Oracle compares names.
[[nodiscard]] std::string NameKey(const SqlNode& node);
// "(+)": the Oracle outer-join marker.
[[nodiscard]] bool IsOuterJoinMarker(const SqlNode& node) noexcept;
// A group holding a query: "(SELECT ...)" or "(WITH ...)".
[[nodiscard]] bool IsSubquery(const SqlNode& node) noexcept;
// A number literal, optionally signed: "1", "-1" (two nodes from `at`). Returns how many nodes it uses.
[[nodiscard]] std::size_t NumberLiteralAt(NodeSpan nodes, std::size_t at) noexcept;

// Index of the first node at this level that is the word `upper`, from `from`; npos when absent.
[[nodiscard]] std::size_t FindWord(NodeSpan nodes, std::string_view upper, std::size_t from = 0) noexcept;
// Splits at the commas of this level.
[[nodiscard]] std::vector<NodeSpan> SplitAtCommas(NodeSpan nodes);

}  // namespace oradb::internal
