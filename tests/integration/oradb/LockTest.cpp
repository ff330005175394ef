#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <future>
#include <string>

#include "oradb/EOraError.h"
#include "oradb/RoundTrips.h"
#include "oradb/TOraQuery.h"
#include "rtl/Formatacao.h"
#include "support/Failure.h"
#include "support/TestDatabase.h"

namespace {

using testsupport::Failure;

class RowLocks : public testsupport::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    target.Exec("INSERT INTO " + target.Name() + " VALUES (1, 10), (2, 20), (3, 30)");
    Exec(
        "CREATE TEMP TABLE ZTEMPR (MATRICULA numeric(8), NOME varchar(40)); "
        "INSERT INTO ZTEMPR VALUES (1, 'FULANO DE TAL'), (2, 'OUTRO')");
  }

  // Another session reads the row (FOR UPDATE unless told otherwise) and keeps its transaction open.
  void HoldRow(TOraSession& holder, int id, const std::string& lock_clause = " FOR UPDATE") {
    holder.StartTransaction();
    TOraQuery lock(&holder);
    lock.SQL.Add("SELECT * FROM " + target.Name() + " WHERE ID = :ID" + lock_clause);
    lock.ParamByName("ID").SetAsInteger(id);
    lock.Open();
  }

  // Opens the row FOR UPDATE NOWAIT the way the settlement checks it, under its own savepoint.
  std::string Probe(int id, bool savepoint = true) {
    TOraQuery probe(&Session());
    probe.SetStatementSavepoint(savepoint);
    probe.SQL.Add(" SELECT * FROM " + target.Name() + " WHERE ID = " + std::to_string(id) + " FOR UPDATE NOWAIT");
    return Failure([&] { probe.Open(); });
  }

  // The settlement's lock-holder query, as the module writes it, over the compatibility views.
  void OpenHolders() {
    holders.SetSession(&Session());
    holders.SQL.Add(
        "SELECT B.OSUSER, A.SID, B.USERNAME, D.NAME || '.' || C.NAME NAME, A.ID1, A.ID2, B.PROGRAM, B.TERMINAL, "
        "B.MACHINE, U.MATRICULA MATRICULAQUOR, U.NOME NOMEQUOR, U.PROGRAM PROGRAMAQUOR, U.TERMINAL TERMINALQUOR, "
        "U.MACHINE MACHINEQUOR FROM V$LOCK A, V$SESSION B, SYS.OBJ$ C, SYS.USER$ D, (SELECT SID, ZTEMPR.MATRICULA, "
        "ZTEMPR.NOME, PROGRAM, TERMINAL, MACHINE FROM SYS.V_$SESS_INFO, ZTEMPR WHERE SUBSTR(CLIENT_INFO, "
        "INSTR(CLIENT_INFO, ':') + 1, LENGTH(CLIENT_INFO)) = to_char(ZTEMPR.MATRICULA)) U WHERE A.ID1 = C.OBJ#(+) "
        "AND A.SID = B.SID AND B.SID = U.SID(+) AND C.OWNER# = D.USER#(+) AND B.USERNAME IS NOT NULL AND "
        "UPPER(C.NAME) = UPPER('" +
        target.Name() + "') ORDER BY 1");
    holders.Open();
  }

  // The server names the table in lower case: "lockprobe_<pid>".
  std::string Busy() const {
    return "EOraBusy: ORA-00054: could not obtain lock on row in relation \"lockprobe" + target.Name().substr(9) + "\"";
  }

  testsupport::SharedTable target{"LOCKPROBE", "(ID integer PRIMARY KEY, VALOR numeric)"};
  TOraQuery holders{nullptr};
};

// A host user holds row 1, an external program without host identification holds row 2, and a
// reader of row 3 holds no row lock: only the first two are listed.
TEST_F(RowLocks, NowaitOnALockedRowIsBusyUnderItsSavepointAndTheHoldersAreNamed) {
  HoldRow(OtherSession(), 1);  // client info "tests:1": user 1 of ZTEMPR
  const auto external = testsupport::NewSession("psql");
  HoldRow(*external, 2);
  const auto reader = testsupport::NewSession("tests:2");
  HoldRow(*reader, 3, "");
  EXPECT_EQ(Probe(1), Busy());
  OpenHolders();
  ASSERT_EQ(holders.RecordCount(), 2u);
  ASSERT_TRUE(holders.Locate("SID", {static_cast<long long>(OtherSession().ServerPid())}));
  std::string holder;
  for (const char* field :
       {"NAME", "MATRICULAQUOR", "NOMEQUOR", "PROGRAMAQUOR", "TERMINALQUOR", "PROGRAM", "MACHINE"}) {
    holder += holders.FieldByName(field).AsString() + "|";
  }
  EXPECT_EQ(holder, "PUBLIC." + target.Name() + "|1|FULANO DE TAL|tests|[local]|tests|[local]|");
  EXPECT_EQ(holders.FieldByName("USERNAME").AsString(), UpperAscii(holders.FieldByName("OSUSER").AsString()));
  EXPECT_EQ(holders.FieldByName("USERNAME").AsString(), Value("SELECT upper(current_user)"));
  ASSERT_TRUE(holders.Locate("SID", {static_cast<long long>(external->ServerPid())}));
  EXPECT_TRUE(holders.FieldByName("MATRICULAQUOR").IsNull());
  EXPECT_EQ(holders.FieldByName("PROGRAM").AsString(), "psql");
  // The failed statement left the transaction usable: the row only read can still be locked.
  EXPECT_EQ(Probe(3), "(no exception)");
  // Without its own savepoint a failed statement aborts the whole transaction, as PostgreSQL does.
  EXPECT_EQ(Probe(1, false), Busy());
  EXPECT_EQ(Failure([&] { static_cast<void>(Value("SELECT 1")); }),
            "EOraError: ORA-02091: current transaction is aborted, commands ignored until end of transaction block");
  external->Rollback();
  reader->Rollback();
}

// Two real sessions writing one row.
class LockWaits : public testsupport::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    table.Exec("INSERT INTO " + table.Name() + " VALUES (1, 10)");
  }

  void Add(TOraSession& session, int amount) {
    TOraQuery update(&session);
    update.SQL.Add("UPDATE " + table.Name() + " SET VALOR = VALOR + :AMOUNT WHERE ID = 1");
    update.ParamByName("AMOUNT").SetAsInteger(amount);
    update.ExecSQL();
  }
  std::string LockRow(TOraSession& session) {
    TOraQuery lock(&session);
    lock.SQL.Add("SELECT VALOR FROM " + table.Name() + " WHERE ID = 1 FOR UPDATE NOWAIT");
    return Failure([&] { lock.Open(); });
  }
  std::string Setting(TOraSession& session) {
    return testsupport::QueryValue(session, "SELECT current_setting('lock_timeout')").value_or("");
  }
  std::string WaitEvent(const TOraSession& session) {
    return testsupport::QueryValue(OtherSession(),
                                   "SELECT coalesce(wait_event_type, '-') FROM pg_stat_activity "
                                   "WHERE pid = " +
                                       std::to_string(session.ServerPid()))
        .value_or("");
  }

  testsupport::SharedTable table{"LOCKWAIT", "(ID integer PRIMARY KEY, VALOR numeric)"};
};

// A second writer waits for the first to commit however long it takes (here past six seconds),
// then writes on the committed value: postings queue behind each other instead of failing.
TEST_F(LockWaits, ASecondWriterWaitsUntilTheFirstCommits) {
  const auto first = testsupport::NewSession("tests:first");
  const auto second = testsupport::NewSession("tests:second");
  first->StartTransaction();
  Add(*first, 1);
  auto waiting = std::async(std::launch::async, [&] {
    TOraTransaction work(*second);
    Add(*second, 10);
    work.Commit();
  });
  EXPECT_EQ(waiting.wait_for(std::chrono::seconds(6)), std::future_status::timeout);
  EXPECT_EQ(WaitEvent(*second), "Lock");
  first->Commit();
  EXPECT_NO_THROW(waiting.get());
  EXPECT_EQ(testsupport::QueryValue(OtherSession(), "SELECT VALOR FROM " + table.Name()), "21");
}

// The host may bound the wait: past it the statement fails as busy. NOWAIT fails at once on a
// locked row, and on a table someone holds whole it waits only briefly instead of without end; the
// session's own setting is back afterwards, inside a transaction and outside one.
TEST_F(LockWaits, AHostBoundEndsAWaitAsBusyAndNowaitNeverWaitsLong) {
  const auto first = testsupport::NewSession("tests:first");
  const auto second = testsupport::NewSession("tests:second");
  second->ExecuteScript("SET statement_timeout = '20s'");  // a wait without end fails the test instead
  first->StartTransaction();
  Add(*first, 1);
  second->SetLockTimeout(1);
  EXPECT_EQ(Failure([&] { Add(*second, 10); }), "EOraBusy: ORA-00054: canceling statement due to lock timeout");
  second->SetLockTimeout(0);
  EXPECT_EQ(LockRow(*second).rfind("EOraBusy: ORA-00054: could not obtain lock on row", 0), 0u);

  first->ExecuteScript("LOCK TABLE public." + table.Name() + " IN ACCESS EXCLUSIVE MODE");
  EXPECT_EQ(LockRow(*second), "EOraBusy: ORA-00054: canceling statement due to lock timeout");
  EXPECT_EQ(Setting(*second), "0");
  second->StartTransaction();
  TOraQuery probe(second.get());
  probe.SetStatementSavepoint(true);
  probe.SQL.Add("SELECT VALOR FROM " + table.Name() + " WHERE ID = 1 FOR UPDATE NOWAIT");
  EXPECT_EQ(Failure([&] { probe.Open(); }), "EOraBusy: ORA-00054: canceling statement due to lock timeout");
  EXPECT_EQ(Setting(*second), "0");
  second->Rollback();
  first->Rollback();
}

// Inside a transaction a NOWAIT lock costs one round trip: its bound travels in front of it and
// the session's own wait comes back in front of the next request.
TEST_F(LockWaits, NowaitInATransactionTakesOneRoundTrip) {
  const auto session = testsupport::NewSession("tests:nowait");
  session->SetLockTimeout(2);
  TOraTransaction work(*session);
  TOraQuery lock(session.get());
  lock.SQL.Add("SELECT VALOR FROM " + table.Name() + " WHERE ID = 1 FOR UPDATE NOWAIT");
  for (int round = 0; round < 2; ++round) {
    const std::uint64_t before = oradb::RoundTrips(*session);
    lock.Open();
    EXPECT_EQ(oradb::RoundTrips(*session) - before, 1u) << "round " << round;
    EXPECT_EQ(lock.FieldByName("VALOR").AsString(), "10");
    lock.Close();
    EXPECT_EQ(Setting(*session), "2s");
  }
  work.Rollback();
  EXPECT_EQ(Setting(*session), "2s");
}

}  // namespace
