#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "oradb/EOraError.h"
#include "oradb/RoundTrips.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSavepoint.h"
#include "support/Failure.h"
#include "support/TestDatabase.h"

namespace {

using testsupport::Failure;

// The test's transaction holds row 1 before any savepoint; what each case adds under savepoints
// is either kept or undone, never anything else.
class Savepoints : public testsupport::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    Exec("CREATE TEMP TABLE sp_probe (ID integer PRIMARY KEY) ON COMMIT DROP; INSERT INTO sp_probe VALUES (1)");
  }

  void Insert(TOraSession& session, int id) {
    TOraQuery insert(&session);
    insert.SQL.Add("INSERT INTO sp_probe (ID) VALUES (:ID)");
    insert.ParamByName("ID").SetAsInteger(id);
    insert.ExecSQL();
  }
  void Insert(int id) { Insert(Session(), id); }

  std::vector<int> Ids() {
    TOraQuery rows(&Session());
    rows.SQL.Add("SELECT ID FROM sp_probe ORDER BY ID");
    rows.Open();
    std::vector<int> ids;
    for (rows.First(); !rows.Eof(); rows.Next()) ids.push_back(rows.FieldByName("ID").AsInteger());
    return ids;
  }
};

// What a case works with: the test's session and an insert of one row into the probe table.
struct Probe {
  TOraSession& Session;
  std::function<void(int)> Insert;
};

// Scopes of savepoints, how each ends, and the rows the transaction holds afterwards.
struct ScopeCase {
  const char* Name;
  std::function<void(Probe&)> Body;
  std::vector<int> Expected;
  friend void PrintTo(const ScopeCase& scope, std::ostream* os) { *os << scope.Name; }
};

class SavepointScopes : public Savepoints, public ::testing::WithParamInterface<ScopeCase> {};

TEST_P(SavepointScopes, KeepExactlyWhatWasReleased) {
  Probe probe{Session(), [this](int id) { Insert(id); }};
  GetParam().Body(probe);
  EXPECT_EQ(Ids(), GetParam().Expected);
  // The transaction is still the caller's, open and usable.
  EXPECT_TRUE(Session().InTransaction());
  Insert(99);
  EXPECT_EQ(Ids().back(), 99);
}

INSTANTIATE_TEST_SUITE_P(Oradb, SavepointScopes,
                         ::testing::Values(ScopeCase{"DestructorUndoesTheScope",
                                                     [](Probe& t) {
                                                       TOraSavepoint savepoint(t.Session);
                                                       t.Insert(2);
                                                     },
                                                     {1}},
                                           ScopeCase{"ReleaseKeepsTheScope",
                                                     [](Probe& t) {
                                                       TOraSavepoint savepoint(t.Session);
                                                       t.Insert(2);
                                                       savepoint.Release();
                                                     },
                                                     {1, 2}},
                                           ScopeCase{"ExplicitRollbackThenWorkGoesOn",
                                                     [](Probe& t) {
                                                       TOraSavepoint savepoint(t.Session);
                                                       t.Insert(2);
                                                       savepoint.Rollback();
                                                       EXPECT_FALSE(savepoint.Active());
                                                       t.Insert(3);
                                                     },
                                                     {1, 3}},
                                           ScopeCase{"InnerUndoneOuterKept",
                                                     [](Probe& t) {
                                                       TOraSavepoint outer(t.Session);
                                                       t.Insert(2);
                                                       {
                                                         TOraSavepoint inner(t.Session);
                                                         t.Insert(3);
                                                       }
                                                       {
                                                         TOraSavepoint inner(t.Session);
                                                         t.Insert(4);
                                                         inner.Release();
                                                       }
                                                       outer.Release();
                                                     },
                                                     {1, 2, 4}},
                                           ScopeCase{"OuterUndoesAReleasedInner",
                                                     [](Probe& t) {
                                                       TOraSavepoint outer(t.Session);
                                                       t.Insert(2);
                                                       TOraSavepoint inner(t.Session);
                                                       t.Insert(3);
                                                       inner.Release();
                                                       EXPECT_FALSE(inner.Active());
                                                     },
                                                     {1}},
                                           ScopeCase{"FailedStatementUndoneWithItsScope",
                                                     [](Probe& t) {
                                                       try {
                                                         TOraSavepoint savepoint(t.Session);
                                                         t.Insert(2);
                                                         t.Insert(
                                                             1);  // duplicate key: the server aborts the transaction
                                                       } catch (const EOraDuplicateKey&) {
                                                       }
                                                     },
                                                     {1}},
                                           ScopeCase{"ReleaseAfterAFailedStatementFailsAndStillUndoes",
                                                     [](Probe& t) {
                                                       TOraSavepoint savepoint(t.Session);
                                                       t.Insert(2);
                                                       EXPECT_THROW(t.Insert(1), EOraDuplicateKey);
                                                       EXPECT_THROW(savepoint.Release(), EOraError);
                                                       EXPECT_TRUE(savepoint.Active());
                                                     },
                                                     {1}}),
                         [](const ::testing::TestParamInfo<ScopeCase>& info) { return std::string(info.param.Name); });

// A savepoint goes out with the transaction's next request: taking and releasing one costs no round
// trip of its own, one with nothing run under it is never sent, and one of a transaction that ended
// before sending it is gone (releasing it queues nothing for the next transaction).
TEST_F(Savepoints, TravelWithTheNextRequest) {
  const auto trips = [&, before = oradb::RoundTrips(Session())] { return oradb::RoundTrips(Session()) - before; };
  Insert(2);
  const std::uint64_t start = trips();
  {
    TOraSavepoint outer(Session());
    TOraSavepoint unused(Session());
    unused.Rollback();
    EXPECT_EQ(trips(), start);
    Insert(3);
    TOraSavepoint inner(Session());
    Insert(4);
    inner.Release();
    outer.Release();
    EXPECT_EQ(trips(), start + 2);
  }
  Insert(5);
  EXPECT_EQ(trips(), start + 3);
  EXPECT_EQ(Ids(), (std::vector<int>{1, 2, 3, 4, 5}));

  TOraSession& other = OtherSession();
  other.StartTransaction();
  TOraSavepoint stale(other);
  other.Commit();
  other.StartTransaction();
  EXPECT_FALSE(stale.Active());
  stale.Release();
  EXPECT_EQ(testsupport::QueryValue(other, "SELECT 1 FROM DUAL"), "1");
  // A failed transaction refuses a new savepoint at once, not in some later statement.
  EXPECT_THROW(other.ExecuteScript("SELECT 1 / 0"), EOraError);
  EXPECT_THROW(TOraSavepoint refused(other), EOraError);
  other.Rollback();
}

TEST_F(Savepoints, NestedSavepointsHaveNamesOfTheirOwn) {
  TOraSavepoint outer(Session());
  TOraSavepoint inner(Session());
  EXPECT_NE(outer.Name(), inner.Name());
  EXPECT_TRUE(outer.Active());
  EXPECT_TRUE(inner.Active());
}

TEST_F(Savepoints, OutsideATransactionIsRefused) {
  TOraSession& autocommit = OtherSession();
  ASSERT_FALSE(autocommit.InTransaction());
  EXPECT_EQ(Failure([&] { TOraSavepoint savepoint(autocommit); }),
            "Exception: Ponto de salvamento recusado: a sessão não está em uma transação.");
}

// A commit of the whole transaction inside the scope takes the savepoint with it: the destructor
// has nothing to undo and the session goes on.
TEST_F(Savepoints, ATransactionEndedInsideTheScopeIsLeftAlone) {
  TOraSession& other = OtherSession();
  other.ExecuteScript("CREATE TEMP TABLE sp_probe (ID integer PRIMARY KEY)");
  other.StartTransaction();
  {
    TOraSavepoint savepoint(other);
    Insert(other, 7);
    other.Commit();
    EXPECT_FALSE(savepoint.Active());
  }
  other.StartTransaction();
  Insert(other, 8);
  other.Rollback();
  EXPECT_EQ(testsupport::QueryValue(other, "SELECT SUM(ID) FROM sp_probe"), "7");
}

}  // namespace
