// The steps of one query block, each on its own: clauses, plan of (+) and ROWNUM, FROM, WHERE,
// FOR UPDATE and the block put together under its row limit.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "oradb/internal/SelectBlock.h"
#include "oradb/internal/SqlLexer.h"
#include "oradb/internal/SqlTree.h"
#include "support/Failure.h"

namespace {

using namespace oradb::internal;
using testsupport::Failure;

#define UNSUPPORTED "ETranslationError: Construção Oracle não suportada: "

// A text lexed and nested, kept alive with the nodes that point into it.
class Parsed {
 public:
  explicit Parsed(std::string text)
      : FText(std::move(text)), FLexed(LexSql(FText)), FTree(BuildSqlTree(FLexed.Tokens)) {}
  Parsed(const Parsed&) = delete;
  Parsed& operator=(const Parsed&) = delete;

  [[nodiscard]] NodeSpan Nodes() const { return FTree; }

  // The source text a span of its nodes covers, as written.
  [[nodiscard]] std::string Source(NodeSpan nodes) const {
    if (nodes.empty()) return {};
    const std::size_t start = nodes.front().Tok->Offset;
    const SqlNode& last = nodes.back();
    const Token& end = last.IsGroup() ? *last.Close : *last.Tok;
    return FText.substr(start, end.Offset + end.Text.size() - start);
  }

  [[nodiscard]] std::vector<std::string> Sources(const std::vector<NodeSpan>& spans) const {
    std::vector<std::string> texts;
    for (const NodeSpan span : spans) texts.push_back(Source(span));
    return texts;
  }

 private:
  std::string FText;
  LexedText FLexed;
  NodeList FTree;
};

// A rewriter over fresh bind typing, as the first pass of a translation has it.
struct Rewriting {
  BindTyping Typing;
  SqlRewriter Rewriter{Typing, nullptr};
};

// ---- LocateClauses ----

TEST(Clauses, EachClauseHoldsItsOwnNodes) {
  const struct {
    const char *Name, *Sql, *Head, *Into, *From, *Where, *Tail, *Lock;
    bool Aggregate;
  } cases[] = {
      {"EveryClause",
       "SELECT A, B INTO V_A, V_B FROM T X WHERE X.A = 1 GROUP BY A HAVING COUNT(*) > 1 ORDER BY A FOR UPDATE NOWAIT",
       "SELECT A, B", "V_A, V_B", "T X", "X.A = 1", "GROUP BY A HAVING COUNT(*) > 1 ORDER BY A", "FOR UPDATE NOWAIT",
       true},
      // Clauses of a sub-query stay inside it; its aggregate is not the block's.
      {"SubqueryClausesStayInside", "SELECT (SELECT COUNT(*) FROM U WHERE U.A = 1) N FROM T WHERE (B = 2)",
       "SELECT (SELECT COUNT(*) FROM U WHERE U.A = 1) N", "", "T", "(B = 2)", "", "", false},
      {"AggregateInsideAFunction", "SELECT NVL(MAX(V), 0) FROM T", "SELECT NVL(MAX(V), 0)", "", "T", "", "", "", true},
      {"OrderWithoutWhere", "SELECT A FROM T ORDER BY A", "SELECT A", "", "T", "", "ORDER BY A", "", false},
      {"LockRightAfterFrom", "SELECT A FROM T FOR UPDATE OF A SKIP LOCKED", "SELECT A", "", "T", "", "",
       "FOR UPDATE OF A SKIP LOCKED", false},
      {"NoFrom", "SELECT 1 + 1", "SELECT 1 + 1", "", "", "", "", "", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const Parsed parsed(c.Sql);
    const SelectClauses clauses = LocateClauses(parsed.Nodes());
    EXPECT_EQ(parsed.Source(clauses.Head), c.Head);
    EXPECT_EQ(parsed.Source(clauses.IntoTargets), c.Into);
    EXPECT_EQ(parsed.Source(clauses.FromList), c.From);
    EXPECT_EQ(parsed.Source(clauses.Conditions), c.Where);
    EXPECT_EQ(parsed.Source(clauses.TailNodes), c.Tail);
    EXPECT_EQ(parsed.Source(clauses.Lock), c.Lock);
    EXPECT_EQ(clauses.Aggregate, c.Aggregate);
  }
}

// ---- RownumCondition ----

RowLimit Count(const char* count, bool first_row_only) {
  return RowLimit{count, nullptr, true, first_row_only};
}
RowLimit BoundBy(bool inclusive) {
  return RowLimit{"", nullptr, inclusive, false};
}

TEST(Rownum, ConditionBecomesARowLimitOnlyWhenItIsOne) {
  const struct {
    const char* Condition;
    std::optional<RowLimit> Limit;  // Bound compared by the bind's name in BoundName
    const char* BoundName = "";
  } cases[] = {{"ROWNUM = 1", Count("1", true)},
               {"1 = ROWNUM", Count("1", true)},
               {"ROWNUM <= 10", Count("10", false)},
               {"10 > ROWNUM", Count("9", false)},
               {"10 >= ROWNUM", Count("10", false)},
               {"ROWNUM < 2", Count("1", true)},
               {"ROWNUM < 1", Count("0", true)},
               {"ROWNUM <= :N", BoundBy(true), "N"},
               {":MAX > ROWNUM", BoundBy(false), "MAX"},
               // Never true in Oracle, or not a count: left to be refused where ROWNUM is rendered.
               {"ROWNUM = 2", std::nullopt},
               {"ROWNUM = :N", std::nullopt},
               {"ROWNUM > 1", std::nullopt},
               {"1 <= ROWNUM", std::nullopt},
               {"ROWNUM <> 1", std::nullopt},
               {"ROWNUM <= 1.5", std::nullopt},
               {"ROWNUM <= 1234567890", std::nullopt},
               {"ROWNUM <= X", std::nullopt},
               {"ROWNUM + 1 <= 5", std::nullopt}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Condition);
    const Parsed parsed(c.Condition);
    const std::optional<RowLimit> limit = RownumCondition(parsed.Nodes());
    ASSERT_EQ(limit.has_value(), c.Limit.has_value());
    if (!limit) continue;
    EXPECT_EQ(limit->Count, c.Limit->Count);
    EXPECT_EQ(limit->Bound == nullptr ? "" : limit->Bound->Tok->Upper, c.BoundName);
    EXPECT_EQ(limit->Inclusive, c.Limit->Inclusive);
    EXPECT_EQ(limit->FirstRowOnly, c.Limit->FirstRowOnly);
  }
}

// ---- PlanSelect ----

TEST(Plan, SplitsWhereIntoKeptConditionsOuterJoinsAndALimit) {
  const struct {
    const char* Sql;
    std::vector<std::string> Kept;
    std::vector<std::string> JoinConditions;
    std::vector<OuterJoinCondition> Joins;
    std::vector<bool> OuterItems;
    const char* Limit;  // the count, "" without a limit
  } cases[] = {{"SELECT * FROM A, B WHERE A.X = B.X(+) AND A.Y = 1 AND ROWNUM <= 5",
                {"A.Y = 1"},
                {"A.X = B.X(+)"},
                {{1, {0}}},
                {false, true},
                "5"},
               // A group joining conditions with AND is read as its conditions; BETWEEN keeps its AND.
               {"SELECT * FROM A, B WHERE (A.X = B.X(+) AND A.Z BETWEEN 1 AND 2) AND (A.Y = 1 OR A.Y = 2)",
                {"A.Z BETWEEN 1 AND 2", "(A.Y = 1 OR A.Y = 2)"},
                {"A.X = B.X(+)"},
                {{1, {0}}},
                {false, true},
                ""},
               // Aliases, and a constant join condition that needs no other table.
               {"SELECT * FROM ZTLANC L, ZTCONTA C WHERE C.COD(+) = L.COD AND C.ATIVO(+) = 'S'",
                {},
                {"C.COD(+) = L.COD", "C.ATIVO(+) = 'S'"},
                {{1, {0}}, {1, {}}},
                {false, true},
                ""},
               {"SELECT * FROM DONO.A, DONO.B WHERE DONO.A.X = DONO.B.X(+)",
                {},
                {"DONO.A.X = DONO.B.X(+)"},
                {{1, {0}}},
                {false, true},
                ""},
               {"SELECT * FROM T WHERE ROWNUM = 1 AND T.A = :A", {"T.A = :A"}, {}, {}, {false}, "1"},
               // Not a limit: kept, and refused when it is rendered.
               {"SELECT * FROM T WHERE ROWNUM = 2", {"ROWNUM = 2"}, {}, {}, {false}, ""},
               // Without (+) or ROWNUM the WHERE stays as written.
               {"SELECT * FROM T WHERE T.A = 1 AND T.B = 2", {}, {}, {}, {false}, ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Sql);
    const Parsed parsed(c.Sql);
    const SelectPlan plan = PlanSelect(LocateClauses(parsed.Nodes()));
    EXPECT_EQ(parsed.Sources(plan.Kept), c.Kept);
    EXPECT_EQ(parsed.Sources(plan.JoinConditions), c.JoinConditions);
    ASSERT_EQ(plan.Joins.size(), c.Joins.size());
    for (std::size_t i = 0; i < c.Joins.size(); ++i) {
      EXPECT_EQ(plan.Joins[i].OuterItem, c.Joins[i].OuterItem) << i;
      EXPECT_EQ(plan.Joins[i].Needs, c.Joins[i].Needs) << i;
    }
    EXPECT_EQ(plan.OuterItems, c.OuterItems);
    EXPECT_EQ(plan.Limit ? plan.Limit->Count : "", c.Limit);
  }
}

// ---- RenderFrom, RenderWhere and RenderForUpdate ----

TEST(FromAndWhere, AreRenderedFromThePlan) {
  const struct {
    const char *Sql, *From, *Where;
  } cases[] = {// Untouched clauses keep their spacing; a sub-query of FROM gets the alias PostgreSQL needs.
               {"SELECT * FROM  T1 x ,\n (SELECT 1 FROM DUAL) , T3 WHERE  x.A = 1\n  AND x.B = 2",
                " FROM  T1 x ,\n (SELECT 1 FROM DUAL) ora_sub2 , T3", " WHERE  x.A = 1\n  AND x.B = 2"},
               {"SELECT * FROM A, B, C WHERE A.X = B.X(+) AND B.Y = C.Y(+) AND A.Z = 1 AND C.K(+) = 2",
                " FROM A LEFT JOIN B ON A.X = B.X LEFT JOIN C ON B.Y = C.Y AND C.K = 2", " WHERE A.Z = 1"},
               {"SELECT * FROM A, B WHERE A.X = B.X(+) AND ROWNUM = 1", " FROM A LEFT JOIN B ON A.X = B.X", ""},
               {"SELECT 1", "", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Sql);
    const Parsed parsed(c.Sql);
    Rewriting rewriting;
    const SelectClauses clauses = LocateClauses(parsed.Nodes());
    const SelectPlan plan = PlanSelect(clauses);
    EXPECT_EQ(RenderFrom(rewriting.Rewriter, clauses, plan), c.From);
    EXPECT_EQ(RenderWhere(rewriting.Rewriter, clauses, plan), c.Where);
  }
}

// The ON conditions drop their (+) markers only while they are rendered, even when rendering fails.
TEST(FromAndWhere, MarkersAreDroppedOnlyInsideTheJoinCondition) {
  const Parsed marked("B.X(+)");
  const std::string refused = UNSUPPORTED "(+) fora de uma condição WHERE de consulta";
  Rewriting rewriting;
  SqlRewriter& rewriter = rewriting.Rewriter;
  {
    const SqlRewriter::OuterJoinMarkersDropped outer(rewriter);
    { const SqlRewriter::OuterJoinMarkersDropped inner(rewriter); }
    EXPECT_EQ(rewriter.List(marked.Nodes()), "B.X");
  }
  EXPECT_EQ(Failure([&] { (void)rewriter.List(marked.Nodes()); }), refused);

  const Parsed failing("SELECT * FROM A, B WHERE A.X = B.X(+) || B.Y + 1");
  const SelectClauses clauses = LocateClauses(failing.Nodes());
  const SelectPlan plan = PlanSelect(clauses);
  EXPECT_EQ(Failure([&] { (void)RenderFrom(rewriter, clauses, plan); }),
            UNSUPPORTED "|| misturado com + ou - sem parênteses");
  EXPECT_EQ(Failure([&] { (void)rewriter.List(marked.Nodes()); }), refused);
}

TEST(ForUpdate, LocksTablesNamedThroughTheirColumnsAndOnlyThePreservedSideOfOuterJoins) {
  const std::pair<const char*, const char*> cases[] = {
      {"SELECT * FROM ZTLANC L FOR UPDATE", " FOR UPDATE"},
      {"SELECT * FROM ZTLANC L, ZTCONTA C FOR UPDATE OF L.VPAGO, C.SALDO, L.VALOR", " FOR UPDATE OF L, C"},
      {"SELECT * FROM ZTLANC FOR UPDATE OF VPAGO NOWAIT", " FOR UPDATE OF ZTLANC NOWAIT"},
      {"SELECT * FROM ZTLANC L, ZTCONTA C FOR UPDATE OF C SKIP LOCKED", " FOR UPDATE OF C SKIP LOCKED"},
      {"SELECT * FROM ZTLANC L, ZTCONTA C, ZTFILIAL F WHERE L.X = C.X(+) FOR UPDATE", " FOR UPDATE OF L, F"},
      {"SELECT * FROM T\n  FOR\n  UPDATE", "\n  FOR\n  UPDATE"},
      {"SELECT * FROM T", ""}};
  for (const auto& [sql, lock] : cases) {
    const Parsed parsed(sql);
    const SelectClauses clauses = LocateClauses(parsed.Nodes());
    EXPECT_EQ(RenderForUpdate(clauses, PlanSelect(clauses)), lock) << sql;
  }
}

// ---- AssembleUnderRowLimit ----

// The rendered clauses are stand-ins, so each case shows where the block puts them and what it
// renders itself.
TEST(Assemble, PutsTheClausesInOrderUnderTheRowLimit) {
  const struct {
    const char* Sql;
    bool InCompound;
    std::string Expected;
  } cases[] = {
      {"SELECT A FROM T WHERE ROWNUM = 1 FOR UPDATE", false, "SELECT A[into][from][where] LIMIT 1[lock]"},
      {"SELECT A FROM T WHERE ROWNUM = 1 ORDER BY A", false, "SELECT A[into][from][where] ORDER BY A LIMIT 1[lock]"},
      {" SELECT A FROM T ORDER BY A", true, " SELECT A[into][from][where] ORDER BY A[lock]"},
      // A limited branch of a compound goes in parentheses.
      {" SELECT A FROM T WHERE ROWNUM <= 3", true, " (SELECT A[into][from][where] LIMIT 3[lock])"},
      {"SELECT A FROM T WHERE ROWNUM < :N", false,
       "SELECT A[into][from][where] LIMIT GREATEST(COALESCE(pg_catalog.ceil(CAST(" + BindMarker(0) +
           " AS numeric)) - 1, 0), 0)[lock]"},
      // Oracle counts the rows before it aggregates them: the limit goes into FROM.
      {"SELECT COUNT(*) FROM ZTLANC L WHERE L.A = 1 AND ROWNUM <= 2", true,
       "SELECT COUNT(*)[into] FROM (SELECT * FROM ZTLANC L WHERE L.A = 1 LIMIT 2) L[lock]"},
      {"SELECT A FROM T WHERE ROWNUM <= 3 GROUP BY A", false,
       "SELECT A[into] FROM (SELECT * FROM T LIMIT 3) T GROUP BY A[lock]"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Sql);
    const Parsed parsed(c.Sql);
    Rewriting rewriting;
    const SelectClauses clauses = LocateClauses(parsed.Nodes());
    const SelectPlan plan = PlanSelect(clauses);
    const RenderedClauses rendered{"[into]", "[from]", "[where]", "[lock]"};
    EXPECT_EQ(AssembleUnderRowLimit(rewriting.Rewriter, clauses, plan, rendered, c.InCompound, true), c.Expected);
  }
}

// ---- Refusals, each by the step that owns it ----
// (What a whole translation refuses with the same words is pinned in TranslatorErrorTest.)

enum class Step { Clauses, Plan, ForUpdate, Assemble };

TEST(Steps, RefuseWhatPostgreSqlCannotSayTheSameWay) {
  const std::string order = "ETranslationError: Consulta mal formada: cláusulas fora de ordem.";
  const struct {
    Step Until;
    const char* Sql;
    std::string Message;
  } cases[] = {
      {Step::Clauses, "SELECT A WHERE B = 1 FROM T", order},
      {Step::Clauses, "SELECT A FROM T ORDER BY A WHERE B = 1", order},
      {Step::Clauses, "SELECT A FROM T FOR UPDATE WHERE B = 1", order},
      {Step::Clauses, "SELECT A FROM T GROUP BY A WHERE B = 1", order},
      {Step::Clauses, "SELECT A FROM T START WITH A = 1", UNSUPPORTED "consulta hierárquica (CONNECT BY)"},
      {Step::Clauses, "UPDATE T SET A = 1", UNSUPPORTED "consulta que não começa por SELECT"},
      {Step::Plan, "SELECT * FROM A, B WHERE (A.X = B.X(+) OR A.Y = 1)", UNSUPPORTED "(+) dentro de OR"},
      {Step::Plan, "SELECT * FROM A, B WHERE B.X = 1(+)", UNSUPPORTED "(+) depois de algo que não é uma coluna"},
      {Step::Plan, "SELECT * FROM A, B WHERE X(+) = A.Y", UNSUPPORTED "(+) em coluna sem qualificador"},
      {Step::Plan, "SELECT * FROM A, B WHERE A.X = B.X(+) AND AND A.Y = 1", UNSUPPORTED "condição vazia entre AND"},
      {Step::Plan, "SELECT * FROM A,, B WHERE A.X = 1", UNSUPPORTED "FROM com item vazio"},
      {Step::Plan, "SELECT 1 WHERE ROWNUM = 1", UNSUPPORTED "ROWNUM em consulta sem FROM"},
      {Step::ForUpdate, "SELECT * FROM T FOR UPDATE NOWAIT X", UNSUPPORTED "FOR UPDATE mal formado"},
      {Step::ForUpdate, "SELECT * FROM T FOR UPDATE SKIP", UNSUPPORTED "FOR UPDATE mal formado"},
      {Step::ForUpdate, "SELECT * FROM (SELECT X FROM T), B WHERE B.X(+) = 1 FOR UPDATE",
       UNSUPPORTED "FOR UPDATE sobre sub-consulta sem apelido"},
      {Step::Assemble, "SELECT UNIQUE A FROM T WHERE ROWNUM < 3",
       UNSUPPORTED "ROWNUM <= n com DISTINCT no mesmo SELECT"},
      {Step::Assemble, "SELECT COUNT(*) FROM (SELECT X FROM T) WHERE ROWNUM = 1",
       UNSUPPORTED "ROWNUM com agregação sobre sub-consulta sem apelido"}};
  for (const auto& c : cases) {
    const Parsed parsed(c.Sql);
    Rewriting rewriting;
    EXPECT_EQ(Failure([&] {
                const SelectClauses clauses = LocateClauses(parsed.Nodes());
                if (c.Until == Step::Clauses) return;
                const SelectPlan plan = PlanSelect(clauses);
                if (c.Until == Step::ForUpdate) (void)RenderForUpdate(clauses, plan);
                if (c.Until == Step::Assemble) {
                  (void)AssembleUnderRowLimit(rewriting.Rewriter, clauses, plan, {}, false, true);
                }
              }),
              c.Message)
        << c.Sql;
  }
}

}  // namespace
