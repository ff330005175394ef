#include "oradb/internal/SqlWords.h"

#include <algorithm>
#include <array>

namespace oradb::internal {

namespace {

constexpr std::array<std::string_view, 64> kNonOperandWords = {
    "ALL",       "AND",       "ANY",    "AS",     "ASC",      "BEGIN",  "BETWEEN", "BY",     "CASE",   "CONNECT",
    "CROSS",     "DECLARE",   "DELETE", "DESC",   "DISTINCT", "ELSE",   "ELSIF",   "ESCAPE", "EXCEPT", "EXCEPTION",
    "EXISTS",    "FETCH",     "FOR",    "FROM",   "FULL",     "GROUP",  "HAVING",  "IF",     "IN",     "INNER",
    "INSERT",    "INTERSECT", "INTO",   "IS",     "JOIN",     "LEFT",   "LIKE",    "LIMIT",  "LOCKED", "LOOP",
    "MERGE",     "MINUS",     "NOT",    "NOWAIT", "OF",       "OFFSET", "ON",      "OR",     "ORDER",  "OUTER",
    "RETURNING", "RIGHT",     "SELECT", "SET",    "SOME",     "START",  "THEN",    "UNION",  "UNIQUE", "UPDATE",
    "USING",     "VALUES",    "WHEN",   "WHERE"};

constexpr std::array<std::string_view, 10> kCollectionMethods = {"COUNT", "DELETE", "EXISTS", "EXTEND", "FIRST",
                                                                 "LAST",  "LIMIT",  "NEXT",   "PRIOR",  "TRIM"};

// PostgreSQL 15 keywords that are not "bare labels" (pg_get_keywords().barelabel = false).
constexpr std::array<std::string_view, 39> kNeedsAs = {
    "ARRAY", "AS",      "CHAR",    "CHARACTER", "CREATE", "DAY",       "EXCEPT",   "FETCH",     "FILTER",    "FOR",
    "FROM",  "GRANT",   "GROUP",   "HAVING",    "HOUR",   "INTERSECT", "INTO",     "ISNULL",    "LIMIT",     "MINUTE",
    "MONTH", "NOTNULL", "OFFSET",  "ON",        "ORDER",  "OVER",      "OVERLAPS", "PRECISION", "RETURNING", "SECOND",
    "TO",    "UNION",   "VARYING", "WHERE",     "WINDOW", "WITH",      "WITHIN",   "WITHOUT",   "YEAR"};

template <std::size_t N>
bool Contains(const std::array<std::string_view, N>& words, std::string_view upper) {
  return std::find(words.begin(), words.end(), upper) != words.end();
}

}  // namespace

bool IsNonOperandWord(std::string_view upper) noexcept {
  return Contains(kNonOperandWords, upper);
}

bool IsOperandEnd(const SqlNode& node) noexcept {
  if (node.IsGroup()) return true;
  switch (node.Tok->Kind) {
    case TokenKind::String:
    case TokenKind::Number:
    case TokenKind::Bind:
    case TokenKind::QuotedIdent:
      return true;
    case TokenKind::Word:
      return node.Tok->Upper == "END" || !IsNonOperandWord(node.Tok->Upper);
    case TokenKind::Op:
    case TokenKind::BracketName:
    case TokenKind::Invalid:
      return false;
  }
  return false;
}

bool IsCollectionMethod(std::string_view upper) noexcept {
  return Contains(kCollectionMethods, upper);
}

bool AliasNeedsAs(std::string_view upper) noexcept {
  return Contains(kNeedsAs, upper);
}

}  // namespace oradb::internal
