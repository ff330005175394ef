#pragma once

#include "oradb/internal/Private.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "oradb/internal/SqlTree.h"

// Renders Oracle SQL nodes as PostgreSQL text. Untouched nodes come out as written (with their
// whitespace and comments); the constructs PostgreSQL with orafce lacks are rewritten.
namespace oradb::internal {

// Binds travel untyped, so PostgreSQL infers their types. Where it cannot (NVL(:X, 0), :A + 1,
// TO_CHAR(:N)) the bind gets a numeric cast; a bind concatenated with || gets a text cast unless the
// same bind needs numeric elsewhere, so one parameter never receives two conflicting types.
// A bind that is only tested for NULL (":P IS NULL", DECODE(:P, NULL, ...)) gives PostgreSQL no type
// at all: those tests read it as text. When the same bind is also used where PostgreSQL infers
// another type, the tests read a second parameter carrying the same value, so the two uses never
// compete for one type. The text is rendered twice: the first pass learns how each bind is used,
// the second renders with that knowledge.
struct BindTyping {
  struct Use {
    bool Numeric = false;   // needs a numeric cast somewhere
    bool NullTest = false;  // tested for NULL
    bool Other = false;     // used where PostgreSQL infers its type
  };
  std::vector<Use> Seen;   // uses met during this pass
  std::vector<Use> Final;  // uses learnt by the previous pass
  // The extra parameters of null tests, in order: the bind index each repeats. Parameter k of the
  // statement (0-based) beyond the lexed binds is Aliases[k - bind count].
  std::vector<std::size_t> Aliases;
  std::size_t BindCount = 0;

  // Ends a pass: what it learnt becomes what the next pass uses.
  void NextPass();
};

// Variables of a PL/SQL block: upper-case name to upper-case type as declared ("T_ZT_CONTASRECEBER",
// "NUMBER(14,2)").
using PlsqlVariables = std::map<std::string, std::string>;

// Where a query stands: a statement of its own, a sub-query (in parentheses, a CTE or a FROM item), or
// a SELECT ... INTO of a PL/SQL block.
enum class QueryPlace { Statement, Nested, PlsqlInto };

// A set operator of a compound query: where it stands and how many words it takes (UNION ALL, 2).
struct SetOperator {
  std::size_t At = 0;
  std::size_t Count = 1;
};

// The marker text a bind becomes while rendering; Translate turns it into $n at the very end.
[[nodiscard]] std::string BindMarker(std::size_t bind_index);

class SqlRewriter {
 public:
  SqlRewriter(BindTyping& typing, const PlsqlVariables* variables);

  // An SQL statement (SELECT, WITH, INSERT, UPDATE, DELETE) without its ";".
  [[nodiscard]] std::string Statement(NodeSpan nodes);
  // A query, possibly compound (UNION, INTERSECT, MINUS).
  [[nodiscard]] std::string Query(NodeSpan nodes, QueryPlace place, bool keep_lead);
  // A list of nodes in expression or clause position.
  [[nodiscard]] std::string List(NodeSpan nodes, bool keep_lead = true);
  // SELECT [DISTINCT] and its list.
  [[nodiscard]] std::string SelectHead(NodeSpan nodes, bool keep_lead);
  // A bind as a parameter marker, cast to numeric when `numeric`; notes the use for the next pass.
  [[nodiscard]] std::string Bind(const SqlNode& bind, bool numeric);

  // While it lives, the rewriter drops (+) markers instead of refusing them: the ON condition of a
  // LEFT JOIN written from a (+) condition.
  class OuterJoinMarkersDropped {
   public:
    explicit OuterJoinMarkersDropped(SqlRewriter& rewriter) noexcept
        : FRewriter(rewriter), FPrevious(rewriter.FDropMarkers) {
      FRewriter.FDropMarkers = true;
    }
    ~OuterJoinMarkersDropped() { FRewriter.FDropMarkers = FPrevious; }
    OuterJoinMarkersDropped(const OuterJoinMarkersDropped&) = delete;
    OuterJoinMarkersDropped& operator=(const OuterJoinMarkersDropped&) = delete;

   private:
    SqlRewriter& FRewriter;
    bool FPrevious;
  };

 private:
  // Expressions. An item renders the node at `at` (and those it takes along) and returns the index
  // after them; the helpers that may decline return 0.
  std::size_t Item(NodeSpan nodes, std::size_t at, bool keep_lead, std::string& out);
  // A parenthesised group, or a (+) marker where markers are dropped.
  void GroupItem(const SqlNode& group, bool keep_lead, std::string& out);
  // A literal, bind, quoted name or operator.
  void TokenItem(NodeSpan nodes, std::size_t at, bool keep_lead, std::string& out);
  [[nodiscard]] std::size_t SequenceItem(NodeSpan nodes, std::size_t at, bool keep_lead, std::string& out);
  [[nodiscard]] std::size_t KeywordItem(NodeSpan nodes, std::size_t at, bool keep_lead, std::string& out);
  // A function call Oracle answers differently, or a PL/SQL variable.
  [[nodiscard]] std::size_t CallOrVariableItem(NodeSpan nodes, std::size_t at, bool keep_lead, std::string& out);
  [[nodiscard]] std::size_t VariableItem(NodeSpan nodes, std::size_t at, bool keep_lead, std::string& out);
  [[nodiscard]] std::string Group(const SqlNode& group);
  [[nodiscard]] std::string NullTestBind(const SqlNode& bind);
  [[nodiscard]] std::string ConcatOperandBind(const SqlNode& bind);
  [[nodiscard]] BindTyping::Use& SeenUse(std::size_t index);
  [[nodiscard]] BindTyping::Use FinalUse(std::size_t index) const;
  [[nodiscard]] bool IsNullTestOperand(NodeSpan nodes, std::size_t at) const;
  [[nodiscard]] std::size_t FunctionCall(NodeSpan nodes, std::size_t at, bool keep_lead, std::string& out);
  [[nodiscard]] std::string NullPropagatingCall(const std::string& name, const SqlNode& args_group);
  [[nodiscard]] bool NeedsNumericCast(NodeSpan nodes, std::size_t at) const;
  [[nodiscard]] std::size_t ConcatChainEnd(NodeSpan nodes, std::size_t at) const;
  [[nodiscard]] std::string Concat(NodeSpan nodes, std::size_t from, std::size_t to);
  [[nodiscard]] std::string Decode(const SqlNode& args_group);
  [[nodiscard]] std::string CallWithBindCasts(const SqlNode& args_group, const std::vector<int>& casts);
  [[nodiscard]] std::string Word(const SqlNode& word) const;

  // Queries.
  [[nodiscard]] std::string CompoundQuery(NodeSpan nodes, const std::vector<SetOperator>& operators, QueryPlace place,
                                          bool keep_lead);
  [[nodiscard]] std::string ParenthesizedQuery(const SqlNode& group, QueryPlace place, bool keep_lead);
  [[nodiscard]] std::string SetOperatorText(NodeSpan words);
  [[nodiscard]] std::string SelectBlock(NodeSpan nodes, QueryPlace place, bool in_compound, bool keep_lead);
  [[nodiscard]] std::string Insert(NodeSpan nodes);
  [[nodiscard]] std::string Delete(NodeSpan nodes);
  [[nodiscard]] std::string Update(NodeSpan nodes);
  void CheckNoReturningInto(NodeSpan nodes) const;

  BindTyping& FTyping;
  const PlsqlVariables* FVariables;
  bool FDropMarkers = false;
};

// The statement's time to the second, as Oracle's SYSDATE (a DATE holds no fraction; casting to
// timestamp(0) would round, so the fraction is cut first).
inline constexpr const char* kSysdateExpression =
    "CAST(pg_catalog.date_trunc('second', pg_catalog.statement_timestamp()) AS timestamp(0))";

}  // namespace oradb::internal
