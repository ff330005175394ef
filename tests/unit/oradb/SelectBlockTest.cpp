// The steps of one query block, each on its own: clauses, plan of (+) and ROWNUM, FROM, WHERE,
// FOR UPDATE and the block put together under its row limit.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
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

struct ClauseCase {
  const char* Name;
  const char* Sql;
  const char* Head;
  const char* Into;
  const char* From;
  const char* Where;
  const char* Tail;
  const char* Lock;
  bool Aggregate;
};

void PrintTo(const ClauseCase& c, std::ostream* out) {
  *out << c.Name;
}

class Clauses : public ::testing::TestWithParam<ClauseCase> {};

TEST_P(Clauses, EachClauseHoldsItsOwnNodes) {
  const ClauseCase& c = GetParam();
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

INSTANTIATE_TEST_SUITE_P(
    Blocks, Clauses,
    ::testing::Values(
        ClauseCase{"EveryClause",
                   "SELECT A, B INTO V_A, V_B FROM T X WHERE X.A = 1 GROUP BY A HAVING COUNT(*) > 1 ORDER BY A "
                   "FOR UPDATE NOWAIT",
                   "SELECT A, B", "V_A, V_B", "T X", "X.A = 1", "GROUP BY A HAVING COUNT(*) > 1 ORDER BY A",
                   "FOR UPDATE NOWAIT", true},
        // Clauses of a sub-query stay inside it; its aggregate is not the block's.
        ClauseCase{"SubqueryClausesStayInside", "SELECT (SELECT COUNT(*) FROM U WHERE U.A = 1) N FROM T WHERE (B = 2)",
                   "SELECT (SELECT COUNT(*) FROM U WHERE U.A = 1) N", "", "T", "(B = 2)", "", "", false},
        ClauseCase{"AggregateInsideAFunction", "SELECT NVL(MAX(V), 0) FROM T", "SELECT NVL(MAX(V), 0)", "", "T", "", "",
                   "", true},
        ClauseCase{"OrderWithoutWhere", "SELECT A FROM T ORDER BY A", "SELECT A", "", "T", "", "ORDER BY A", "", false},
        ClauseCase{"LockRightAfterFrom", "SELECT A FROM T FOR UPDATE OF A SKIP LOCKED", "SELECT A", "", "T", "", "",
                   "FOR UPDATE OF A SKIP LOCKED", false},
        ClauseCase{"NoFrom", "SELECT 1 + 1", "SELECT 1 + 1", "", "", "", "", "", false}));

TEST(Clauses, OutOfOrderOrHierarchicalBlocksAreRefused) {
  const std::pair<const char*, const char*> cases[] = {
      {"SELECT A WHERE B = 1 FROM T", "ETranslationError: Consulta mal formada: cláusulas fora de ordem."},
      {"SELECT A FROM T ORDER BY A WHERE B = 1", "ETranslationError: Consulta mal formada: cláusulas fora de ordem."},
      {"SELECT A FROM T FOR UPDATE WHERE B = 1", "ETranslationError: Consulta mal formada: cláusulas fora de ordem."},
      {"SELECT A FROM T GROUP BY A WHERE B = 1", "ETranslationError: Consulta mal formada: cláusulas fora de ordem."},
      {"SELECT A FROM T CONNECT BY PRIOR A = B", UNSUPPORTED "consulta hierárquica (CONNECT BY)"},
      {"SELECT A FROM T START WITH A = 1", UNSUPPORTED "consulta hierárquica (CONNECT BY)"},
      {"UPDATE T SET A = 1", UNSUPPORTED "consulta que não começa por SELECT"}};
  for (const auto& [sql, message] : cases) {
    const Parsed parsed(sql);
    EXPECT_EQ(Failure([&] { (void)LocateClauses(parsed.Nodes()); }), message) << sql;
  }
}

// ---- RownumCondition ----

struct RownumCase {
  const char* Name;
  const char* Condition;
  std::optional<RowLimit> Limit;  // Bound compared by the bind's name in BoundName
  const char* BoundName = "";
};

void PrintTo(const RownumCase& c, std::ostream* out) {
  *out << c.Name;
}

class Rownum : public ::testing::TestWithParam<RownumCase> {};

TEST_P(Rownum, ConditionBecomesARowLimitOnlyWhenItIsOne) {
  const RownumCase& c = GetParam();
  const Parsed parsed(c.Condition);
  const std::optional<RowLimit> limit = RownumCondition(parsed.Nodes());
  ASSERT_EQ(limit.has_value(), c.Limit.has_value());
  if (!limit) return;
  EXPECT_EQ(limit->Count, c.Limit->Count);
  EXPECT_EQ(limit->Bound == nullptr ? "" : limit->Bound->Tok->Upper, c.BoundName);
  EXPECT_EQ(limit->Inclusive, c.Limit->Inclusive);
  EXPECT_EQ(limit->FirstRowOnly, c.Limit->FirstRowOnly);
}

RowLimit Count(const char* count, bool first_row_only) {
  return RowLimit{count, nullptr, true, first_row_only};
}
RowLimit BoundBy(bool inclusive) {
  return RowLimit{"", nullptr, inclusive, false};
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, Rownum,
    ::testing::Values(
        RownumCase{"EqualOne", "ROWNUM = 1", Count("1", true)}, RownumCase{"OneEqual", "1 = ROWNUM", Count("1", true)},
        RownumCase{"AtMostTen", "ROWNUM <= 10", Count("10", false)},
        RownumCase{"BelowTenReversed", "10 > ROWNUM", Count("9", false)},
        RownumCase{"AtMostTenReversed", "10 >= ROWNUM", Count("10", false)},
        RownumCase{"BelowTwoIsOneRow", "ROWNUM < 2", Count("1", true)},
        RownumCase{"BelowOneIsNoRow", "ROWNUM < 1", Count("0", true)},
        RownumCase{"AtMostABind", "ROWNUM <= :N", BoundBy(true), "N"},
        RownumCase{"BelowABindReversed", ":MAX > ROWNUM", BoundBy(false), "MAX"},
        // Never true in Oracle, or not a count: left to be refused where ROWNUM is rendered.
        RownumCase{"EqualTwo", "ROWNUM = 2", std::nullopt}, RownumCase{"EqualABind", "ROWNUM = :N", std::nullopt},
        RownumCase{"Above", "ROWNUM > 1", std::nullopt}, RownumCase{"AtLeastReversed", "1 <= ROWNUM", std::nullopt},
        RownumCase{"Different", "ROWNUM <> 1", std::nullopt}, RownumCase{"Decimal", "ROWNUM <= 1.5", std::nullopt},
        RownumCase{"TenDigits", "ROWNUM <= 1234567890", std::nullopt},
        RownumCase{"Column", "ROWNUM <= X", std::nullopt}, RownumCase{"Arithmetic", "ROWNUM + 1 <= 5", std::nullopt}));

// ---- PlanSelect ----

struct PlanCase {
  const char* Name;
  const char* Sql;
  std::vector<std::string> Kept;
  std::vector<std::string> JoinConditions;
  std::vector<OuterJoinCondition> Joins;
  std::vector<bool> OuterItems;
  const char* Limit;  // the count, "" without a limit
};

void PrintTo(const PlanCase& c, std::ostream* out) {
  *out << c.Name;
}

class Plan : public ::testing::TestWithParam<PlanCase> {};

TEST_P(Plan, SplitsWhereIntoKeptConditionsOuterJoinsAndALimit) {
  const PlanCase& c = GetParam();
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

INSTANTIATE_TEST_SUITE_P(
    Wheres, Plan,
    ::testing::Values(
        PlanCase{"JoinKeptAndLimit",
                 "SELECT * FROM A, B WHERE A.X = B.X(+) AND A.Y = 1 AND ROWNUM <= 5",
                 {"A.Y = 1"},
                 {"A.X = B.X(+)"},
                 {{1, {0}}},
                 {false, true},
                 "5"},
        // A group joining conditions with AND is read as its conditions; BETWEEN keeps its AND.
        PlanCase{"GroupsAndBetween",
                 "SELECT * FROM A, B WHERE (A.X = B.X(+) AND A.Z BETWEEN 1 AND 2) AND (A.Y = 1 OR A.Y = 2)",
                 {"A.Z BETWEEN 1 AND 2", "(A.Y = 1 OR A.Y = 2)"},
                 {"A.X = B.X(+)"},
                 {{1, {0}}},
                 {false, true},
                 ""},
        PlanCase{"AliasesAndAConstantJoinCondition",
                 "SELECT * FROM ZTLANC L, ZTCONTA C WHERE C.COD(+) = L.COD AND C.ATIVO(+) = 'S'",
                 {},
                 {"C.COD(+) = L.COD", "C.ATIVO(+) = 'S'"},
                 {{1, {0}}, {1, {}}},
                 {false, true},
                 ""},
        PlanCase{"OwnerQualifiedTables",
                 "SELECT * FROM DONO.A, DONO.B WHERE DONO.A.X = DONO.B.X(+)",
                 {},
                 {"DONO.A.X = DONO.B.X(+)"},
                 {{1, {0}}},
                 {false, true},
                 ""},
        PlanCase{
            "FirstRowWithABind", "SELECT * FROM T WHERE ROWNUM = 1 AND T.A = :A", {"T.A = :A"}, {}, {}, {false}, "1"},
        // Not a limit: kept, and refused when it is rendered.
        PlanCase{"RownumTwoIsKept", "SELECT * FROM T WHERE ROWNUM = 2", {"ROWNUM = 2"}, {}, {}, {false}, ""},
        // Without (+) or ROWNUM the WHERE stays as written.
        PlanCase{"NothingToRewrite", "SELECT * FROM T WHERE T.A = 1 AND T.B = 2", {}, {}, {}, {false}, ""}));

TEST(Plan, RefusesTheOuterJoinsAndLimitsPostgreSqlCannotSay) {
  const std::pair<const char*, const char*> cases[] = {
      {"SELECT * FROM A, B WHERE A.X(+) = B.X(+)", UNSUPPORTED "(+) em mais de uma tabela na mesma condição"},
      {"SELECT * FROM A, B WHERE (A.X = B.X(+) OR A.Y = 1)", UNSUPPORTED "(+) dentro de OR"},
      {"SELECT * FROM A, B WHERE B.X(+) = (SELECT MAX(X) FROM C)", UNSUPPORTED "(+) numa condição com sub-consulta"},
      {"SELECT * FROM A, B WHERE B.X(+) = Y", UNSUPPORTED "(+) numa condição com coluna sem qualificador"},
      {"SELECT * FROM A, B WHERE B.X = 1(+)", UNSUPPORTED "(+) depois de algo que não é uma coluna"},
      {"SELECT * FROM A, B WHERE X(+) = A.Y", UNSUPPORTED "(+) em coluna sem qualificador"},
      {"SELECT * FROM A WHERE A.X = Z.X(+)", UNSUPPORTED "(+) em tabela que não está no FROM: Z"},
      {"SELECT * FROM A JOIN C ON C.X = A.X, B WHERE A.X = B.X(+)", UNSUPPORTED "(+) junto de JOIN no mesmo FROM"},
      {"SELECT * FROM A, B WHERE A.X = B.X(+) AND AND A.Y = 1", UNSUPPORTED "condição vazia entre AND"},
      {"SELECT * FROM A,, B WHERE A.X = 1", UNSUPPORTED "FROM com item vazio"},
      {"SELECT * FROM T WHERE ROWNUM <= 5 AND ROWNUM = 1", UNSUPPORTED "mais de uma condição ROWNUM na mesma consulta"},
      {"SELECT 1 WHERE ROWNUM = 1", UNSUPPORTED "ROWNUM em consulta sem FROM"}};
  for (const auto& [sql, message] : cases) {
    const Parsed parsed(sql);
    EXPECT_EQ(Failure([&] { (void)PlanSelect(LocateClauses(parsed.Nodes())); }), message) << sql;
  }
}

// ---- RenderFrom and RenderWhere ----

struct ClauseTextCase {
  const char* Name;
  const char* Sql;
  const char* From;
  const char* Where;
};

void PrintTo(const ClauseTextCase& c, std::ostream* out) {
  *out << c.Name;
}

class FromAndWhere : public ::testing::TestWithParam<ClauseTextCase> {};

TEST_P(FromAndWhere, AreRenderedFromThePlan) {
  const ClauseTextCase& c = GetParam();
  const Parsed parsed(c.Sql);
  Rewriting rewriting;
  const SelectClauses clauses = LocateClauses(parsed.Nodes());
  const SelectPlan plan = PlanSelect(clauses);
  EXPECT_EQ(RenderFrom(rewriting.Rewriter, clauses, plan), c.From);
  EXPECT_EQ(RenderWhere(rewriting.Rewriter, clauses, plan), c.Where);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, FromAndWhere,
    ::testing::Values(
        // Untouched clauses keep their spacing; a sub-query of FROM gets the alias PostgreSQL needs.
        ClauseTextCase{"AsWritten", "SELECT * FROM  T1 x ,\n (SELECT 1 FROM DUAL) , T3 WHERE  x.A = 1\n  AND x.B = 2",
                       " FROM  T1 x ,\n (SELECT 1 FROM DUAL) ora_sub2 , T3", " WHERE  x.A = 1\n  AND x.B = 2"},
        ClauseTextCase{"ChainOfOuterJoins",
                       "SELECT * FROM A, B, C WHERE A.X = B.X(+) AND B.Y = C.Y(+) AND A.Z = 1 AND C.K(+) = 2",
                       " FROM A LEFT JOIN B ON A.X = B.X LEFT JOIN C ON B.Y = C.Y AND C.K = 2", " WHERE A.Z = 1"},
        // C's conditions name A and B, two comma items: B is brought in first, its own conditions stay.
        ClauseTextCase{"OuterJoinOverTwoItems", "SELECT * FROM A, B, C WHERE A.X = C.X(+) AND B.Y = C.Y(+) AND B.Z = 1",
                       " FROM A CROSS JOIN B LEFT JOIN C ON A.X = C.X AND B.Y = C.Y", " WHERE B.Z = 1"},
        ClauseTextCase{"WhereLeftEmpty", "SELECT * FROM A, B WHERE A.X = B.X(+) AND ROWNUM = 1",
                       " FROM A LEFT JOIN B ON A.X = B.X", ""},
        ClauseTextCase{"NoClauses", "SELECT 1", "", ""}));

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

// ---- RenderForUpdate ----

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

TEST(ForUpdate, RefusesWhatPostgreSqlCannotLockTheSameWay) {
  const std::pair<const char*, const char*> cases[] = {
      {"SELECT * FROM T FOR UPDATE WAIT 5", UNSUPPORTED "FOR UPDATE WAIT"},
      {"SELECT * FROM T FOR UPDATE NOWAIT X", UNSUPPORTED "FOR UPDATE mal formado"},
      {"SELECT * FROM T FOR UPDATE SKIP", UNSUPPORTED "FOR UPDATE mal formado"},
      {"SELECT * FROM A, B FOR UPDATE OF VPAGO", UNSUPPORTED "FOR UPDATE OF com coluna sem tabela"},
      {"SELECT * FROM (SELECT X FROM T), B WHERE B.X(+) = 1 FOR UPDATE",
       UNSUPPORTED "FOR UPDATE sobre sub-consulta sem apelido"}};
  for (const auto& [sql, message] : cases) {
    const Parsed parsed(sql);
    const SelectClauses clauses = LocateClauses(parsed.Nodes());
    const SelectPlan plan = PlanSelect(clauses);
    EXPECT_EQ(Failure([&] { (void)RenderForUpdate(clauses, plan); }), message) << sql;
  }
}

// ---- AssembleUnderRowLimit ----

struct AssembleCase {
  const char* Name;
  const char* Sql;
  bool InCompound;
  std::string Expected;
};

void PrintTo(const AssembleCase& c, std::ostream* out) {
  *out << c.Name;
}

class Assemble : public ::testing::TestWithParam<AssembleCase> {};

// The rendered clauses are stand-ins, so each case shows where the block puts them and what it
// renders itself.
TEST_P(Assemble, PutsTheClausesInOrderUnderTheRowLimit) {
  const AssembleCase& c = GetParam();
  const Parsed parsed(c.Sql);
  Rewriting rewriting;
  const SelectClauses clauses = LocateClauses(parsed.Nodes());
  const SelectPlan plan = PlanSelect(clauses);
  const RenderedClauses rendered{"[into]", "[from]", "[where]", "[lock]"};
  EXPECT_EQ(AssembleUnderRowLimit(rewriting.Rewriter, clauses, plan, rendered, c.InCompound, true), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, Assemble,
    ::testing::Values(
        AssembleCase{"LimitComesBeforeTheLock", "SELECT A FROM T WHERE ROWNUM = 1 FOR UPDATE", false,
                     "SELECT A[into][from][where] LIMIT 1[lock]"},
        AssembleCase{"TailBeforeTheLimit", "SELECT A FROM T WHERE ROWNUM = 1 ORDER BY A", false,
                     "SELECT A[into][from][where] ORDER BY A LIMIT 1[lock]"},
        AssembleCase{"NoLimit", " SELECT A FROM T ORDER BY A", true, " SELECT A[into][from][where] ORDER BY A[lock]"},
        AssembleCase{"LimitedBranchInParentheses", " SELECT A FROM T WHERE ROWNUM <= 3", true,
                     " (SELECT A[into][from][where] LIMIT 3[lock])"},
        AssembleCase{"BindLimit", "SELECT A FROM T WHERE ROWNUM < :N", false,
                     "SELECT A[into][from][where] LIMIT GREATEST(COALESCE(pg_catalog.ceil(CAST(" + BindMarker(0) +
                         " AS numeric)) - 1, 0), 0)[lock]"},
        // Oracle counts the rows before it aggregates them: the limit goes into FROM.
        AssembleCase{"LimitBeforeTheAggregate", "SELECT COUNT(*) FROM ZTLANC L WHERE L.A = 1 AND ROWNUM <= 2", true,
                     "SELECT COUNT(*)[into] FROM (SELECT * FROM ZTLANC L WHERE L.A = 1 LIMIT 2) L[lock]"},
        AssembleCase{"GroupedUnderALimit", "SELECT A FROM T WHERE ROWNUM <= 3 GROUP BY A", false,
                     "SELECT A[into] FROM (SELECT * FROM T LIMIT 3) T GROUP BY A[lock]"}));

TEST(Assemble, RefusesALimitOracleWouldApplyBeforeSortingOrAggregatingSeveralTables) {
  const std::pair<const char*, const char*> cases[] = {
      {"SELECT A FROM T WHERE ROWNUM <= 5 ORDER BY A",
       UNSUPPORTED "ROWNUM <= n com ORDER BY no mesmo SELECT (ordene numa sub-consulta)"},
      {"SELECT DISTINCT A FROM T WHERE ROWNUM <= :N", UNSUPPORTED "ROWNUM <= n com DISTINCT no mesmo SELECT"},
      {"SELECT UNIQUE A FROM T WHERE ROWNUM < 3", UNSUPPORTED "ROWNUM <= n com DISTINCT no mesmo SELECT"},
      {"SELECT COUNT(*) FROM A, B WHERE ROWNUM = 1", UNSUPPORTED "ROWNUM com agregação sobre mais de uma tabela"},
      {"SELECT COUNT(*) FROM (SELECT X FROM T) WHERE ROWNUM = 1",
       UNSUPPORTED "ROWNUM com agregação sobre sub-consulta sem apelido"}};
  for (const auto& [sql, message] : cases) {
    const Parsed parsed(sql);
    Rewriting rewriting;
    const SelectClauses clauses = LocateClauses(parsed.Nodes());
    const SelectPlan plan = PlanSelect(clauses);
    EXPECT_EQ(Failure([&] { (void)AssembleUnderRowLimit(rewriting.Rewriter, clauses, plan, {}, false, true); }),
              message)
        << sql;
  }
}

}  // namespace
