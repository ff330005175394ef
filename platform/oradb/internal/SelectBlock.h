#pragma once

#include "oradb/internal/Private.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "oradb/internal/OuterJoin.h"
#include "oradb/internal/SqlRewriter.h"
#include "oradb/internal/SqlTree.h"

// One query block, SELECT [INTO] [FROM] [WHERE] [GROUP BY / HAVING / ORDER BY] [FOR UPDATE], in the
// steps that carry it over: find its clauses, plan what its WHERE asks with (+) and ROWNUM, render
// FROM, WHERE and FOR UPDATE, then put the block together under its row limit. SqlRewriter::SelectBlock
// runs them in that order; the rendering steps must keep it, since binds take their extra parameters
// in the order they are rendered.
namespace oradb::internal {

inline constexpr std::size_t kNoClause = static_cast<std::size_t>(-1);

// Where each clause of the block starts (kNoClause when absent) and the nodes it holds.
struct SelectClauses {
  NodeSpan Block;  // the whole block, from SELECT
  std::size_t Into = kNoClause;
  std::size_t From = kNoClause;
  std::size_t Where = kNoClause;
  std::size_t Tail = kNoClause;  // the first of GROUP BY, HAVING and ORDER BY
  std::size_t ForUpdate = kNoClause;
  NodeSpan Head;           // SELECT and its list
  NodeSpan IntoTargets;    // after INTO
  NodeSpan FromList;       // after FROM
  NodeSpan Conditions;     // after WHERE
  NodeSpan TailNodes;      // GROUP BY ... ORDER BY ..., their keywords included
  NodeSpan Lock;           // FOR UPDATE ..., its keywords included
  bool Aggregate = false;  // GROUP BY, HAVING or an aggregate call in the select list
};

// Throws ETranslationError when the block does not start with SELECT, is hierarchical (CONNECT BY)
// or has its clauses out of SQL's order.
[[nodiscard]] SelectClauses LocateClauses(NodeSpan block);

// One item of a FROM list and the name that columns use to reach it.
struct FromItem {
  NodeSpan Nodes;
  std::string Exposed;      // alias, or the table name (upper case)
  std::string FullName;     // owner.table (upper case), when no alias
  std::string ExposedText;  // as PostgreSQL will read it
  bool Ansi = false;        // holds JOIN syntax
};

[[nodiscard]] std::vector<FromItem> ParseFromItems(NodeSpan from_list);

// A ROWNUM condition of WHERE as the LIMIT it becomes: a whole count, or the bind that bounds it.
struct RowLimit {
  std::string Count;               // the count, when the bound is a number
  const SqlNode* Bound = nullptr;  // the bind of ROWNUM <= :N or ROWNUM < :N
  bool Inclusive = true;           // ROWNUM <= :N rather than ROWNUM < :N
  bool FirstRowOnly = false;       // at most one row
};

// ROWNUM = 1, ROWNUM <= n, ROWNUM < n, either way round, n a whole number or a bind; nullopt for
// any other condition.
[[nodiscard]] std::optional<RowLimit> RownumCondition(NodeSpan condition);

// What the WHERE of a block turns into when it holds (+) or ROWNUM: the conditions that stay, the
// outer joins with their conditions, and the row limit.
struct SelectPlan {
  std::vector<FromItem> Items;
  bool Rewritten = false;                // the WHERE holds (+) or ROWNUM: it is rebuilt from Kept
  std::vector<NodeSpan> Kept;            // conditions that stay in WHERE
  std::vector<NodeSpan> JoinConditions;  // the (+) conditions, one per entry of Joins
  std::vector<OuterJoinCondition> Joins;
  std::vector<bool> OuterItems;  // per FROM item: the nullable side of an outer join
  std::optional<RowLimit> Limit;
};

// Throws ETranslationError for the (+) and ROWNUM uses that have no PostgreSQL equivalent.
[[nodiscard]] SelectPlan PlanSelect(const SelectClauses& clauses);

// The clauses rendered, each with its leading whitespace; empty when the block has none.
struct RenderedClauses {
  std::string Into;
  std::string From;
  std::string Where;
  std::string Lock;
};

// SELECT ... INTO of a PL/SQL block: INTO STRICT, so that no row and too many rows raise as in Oracle.
[[nodiscard]] std::string RenderInto(SqlRewriter& rewriter, const SelectClauses& clauses, QueryPlace place);
// FROM, with the outer joins of the plan written as LEFT JOIN.
[[nodiscard]] std::string RenderFrom(SqlRewriter& rewriter, const SelectClauses& clauses, const SelectPlan& plan);
// WHERE as written, or rebuilt from the kept conditions (none left, no WHERE).
[[nodiscard]] std::string RenderWhere(SqlRewriter& rewriter, const SelectClauses& clauses, const SelectPlan& plan);
// FOR UPDATE [OF tables] [NOWAIT | SKIP LOCKED].
[[nodiscard]] std::string RenderForUpdate(const SelectClauses& clauses, const SelectPlan& plan);
// The block put together: head, INTO, FROM, WHERE, the tail, LIMIT and FOR UPDATE, with the row
// limit applied before an aggregate and a branch of a compound query in parentheses when limited.
[[nodiscard]] std::string AssembleUnderRowLimit(SqlRewriter& rewriter, const SelectClauses& clauses,
                                                const SelectPlan& plan, const RenderedClauses& rendered,
                                                bool in_compound, bool keep_lead);

}  // namespace oradb::internal
