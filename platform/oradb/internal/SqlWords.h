#pragma once

#include "oradb/internal/Private.h"

#include <string_view>

#include "oradb/internal/SqlTree.h"

// Word classes the rewriter needs: which words never start or end an operand, which PL/SQL names are
// collection methods, and which aliases PostgreSQL only accepts after AS.
namespace oradb::internal {

// Keywords that cannot be an operand of an expression (SELECT, AND, THEN, ...). END is not one of
// them: it closes a CASE operand.
[[nodiscard]] bool IsNonOperandWord(std::string_view upper) noexcept;
// A node that can close an operand: a literal, a bind, a name, a group or END.
[[nodiscard]] bool IsOperandEnd(const SqlNode& node) noexcept;
// COUNT, EXTEND, DELETE ... of a PL/SQL collection.
[[nodiscard]] bool IsCollectionMethod(std::string_view upper) noexcept;
// PostgreSQL keywords that a column alias may only be after AS ("SELECT 1 AS YEAR").
[[nodiscard]] bool AliasNeedsAs(std::string_view upper) noexcept;

}  // namespace oradb::internal
