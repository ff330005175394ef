#include <gtest/gtest.h>

#include <functional>
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

// Scopes of savepoints, how each ends, and the rows the transaction holds afterwards: exactly what
// was released. Nested savepoints each undo their own scope only.
TEST_F(Savepoints, KeepExactlyWhatWasReleased) {
  TOraSession& s = Session();
  const auto insert = [this](int id) { Insert(id); };
  const struct {
    const char* Name;
    std::function<void()> Body;
    std::vector<int> Expected;
  } cases[] = {{"DestructorUndoesTheScope",
                [&] {
                  TOraSavepoint savepoint(s);
                  insert(2);
                },
                {1}},
               {"ReleaseKeepsTheScope",
                [&] {
                  TOraSavepoint savepoint(s);
                  insert(2);
                  savepoint.Release();
                },
                {1, 2}},
               {"ExplicitRollbackThenWorkGoesOn",
                [&] {
                  TOraSavepoint savepoint(s);
                  insert(2);
                  savepoint.Rollback();
                  EXPECT_FALSE(savepoint.Active());
                  insert(3);
                },
                {1, 3}},
               {"InnerUndoneOuterKept",
                [&] {
                  TOraSavepoint outer(s);
                  insert(2);
                  {
                    TOraSavepoint inner(s);
                    insert(3);
                  }
                  {
                    TOraSavepoint inner(s);
                    insert(4);
                    inner.Release();
                  }
                  outer.Release();
                },
                {1, 2, 4}},
               {"OuterUndoesAReleasedInner",
                [&] {
                  TOraSavepoint outer(s);
                  insert(2);
                  TOraSavepoint inner(s);
                  insert(3);
                  inner.Release();
                  EXPECT_FALSE(inner.Active());
                  EXPECT_TRUE(outer.Active());
                },
                {1}},
               // A duplicate key aborts the server's transaction: the scope's undo brings it back.
               {"FailedStatementUndoneWithItsScope",
                [&] {
                  try {
                    TOraSavepoint savepoint(s);
                    insert(2);
                    insert(1);
                  } catch (const EOraDuplicateKey&) {
                  }
                },
                {1}},
               {"ReleaseAfterAFailedStatementFailsAndStillUndoes",
                [&] {
                  TOraSavepoint savepoint(s);
                  insert(2);
                  EXPECT_THROW(insert(1), EOraDuplicateKey);
                  EXPECT_THROW(savepoint.Release(), EOraError);
                  EXPECT_TRUE(savepoint.Active());
                },
                {1}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    c.Body();
    EXPECT_EQ(Ids(), c.Expected);
    // The transaction is still the caller's, open and usable.
    EXPECT_TRUE(s.InTransaction());
    Insert(99);
    EXPECT_EQ(Ids().back(), 99);
    Exec("DELETE FROM sp_probe WHERE ID > 1");
  }
}

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
