#include <gtest/gtest.h>

#include <string>

#include "oradb/EOraError.h"
#include "oradb/TOraQuery.h"
#include "sdk/Formatacao.h"
#include "support/TestDatabase.h"

namespace {

using testsupport::DatabaseTest;
using testsupport::NewSession;
using testsupport::SharedTable;

// The lock-holder query of the settlement's row-lock check in a form PostgreSQL runs today: the
// outer joins written as LEFT JOINs and the "#" columns quoted.
std::string HolderQuery(const std::string& table) {
  return "SELECT B.OSUSER, A.SID, B.USERNAME, D.NAME || '.' || C.NAME AS NAME, A.ID1, A.ID2, B.PROGRAM, B.TERMINAL, "
         "B.MACHINE, U.MATRICULA AS MATRICULAQUOR, U.NOME AS NOMEQUOR, U.PROGRAM AS PROGRAMAQUOR, "
         "U.TERMINAL AS TERMINALQUOR, U.MACHINE AS MACHINEQUOR "
         "FROM V$LOCK A "
         "JOIN V$SESSION B ON A.SID = B.SID "
         "LEFT JOIN SYS.OBJ$ C ON A.ID1 = C.\"obj#\" "
         "LEFT JOIN SYS.USER$ D ON C.\"owner#\" = D.\"user#\" "
         "LEFT JOIN (SELECT SID, ZTEMPR.MATRICULA, ZTEMPR.NOME, PROGRAM, TERMINAL, MACHINE "
         "FROM SYS.V_$SESS_INFO, ZTEMPR "
         "WHERE SUBSTR(CLIENT_INFO, INSTR(CLIENT_INFO, ':') + 1, LENGTH(CLIENT_INFO)) = to_char(ZTEMPR.MATRICULA)) U "
         "ON B.SID = U.SID "
         "WHERE B.USERNAME IS NOT NULL AND UPPER(C.NAME) = UPPER('" +
         table + "') ORDER BY 1";
}

std::string Lower(std::string text) {
  for (char& c : text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return text;
}

class RowLocks : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    target.Exec("INSERT INTO " + target.Name() + " VALUES (1, 10), (2, 20)");
    Exec(
        "CREATE TEMP TABLE ZTEMPR (MATRICULA numeric(8), NOME varchar(40)); "
        "INSERT INTO ZTEMPR VALUES (1, 'FULANO DE TAL'), (2, 'OUTRO')");
  }

  // Another session takes the row FOR UPDATE and keeps its transaction open.
  void HoldRow(TOraSession& holder, int id) {
    holder.StartTransaction();
    TOraQuery lock(&holder);
    lock.SQL.Add("SELECT * FROM " + target.Name() + " WHERE ID = :ID FOR UPDATE");
    lock.ParamByName("ID").SetAsInteger(id);
    lock.Open();
  }

  // Opens the row FOR UPDATE NOWAIT the way the settlement checks it, under its own savepoint.
  void ExpectBusy(int id) {
    TOraQuery probe(&Session());
    probe.SetStatementSavepoint(true);
    probe.SQL.Add(" SELECT * FROM " + target.Name() + " WHERE ID = " + std::to_string(id) + " FOR UPDATE NOWAIT");
    try {
      probe.Open();
      FAIL() << "the row was not locked";
    } catch (const EOraBusy& error) {
      EXPECT_EQ(error.ErrorCode(), 54);
      EXPECT_EQ(error.SqlState(), "55P03");
      EXPECT_EQ(error.Message(),
                "ORA-00054: could not obtain lock on row in relation \"" + Lower(target.Name()) + "\"");
    }
  }

  SharedTable target{"LOCKPROBE", "(ID integer PRIMARY KEY, VALOR numeric)"};
};

TEST_F(RowLocks, NowaitOnALockedRowIsBusyAndTheHolderIsAHostUser) {
  HoldRow(OtherSession(), 1);  // client info "tests:1": user 1 of ZTEMPR
  ExpectBusy(1);
  EXPECT_TRUE(Session().InTransaction());

  TOraQuery holders(&Session());
  holders.SQL.Add(HolderQuery(target.Name()));
  holders.Open();
  ASSERT_EQ(holders.RecordCount(), 1u);
  EXPECT_EQ(holders.FieldByName("SID").AsInteger(), OtherSession().ServerPid());
  EXPECT_EQ(holders.FieldByName("NAME").AsString(), "PUBLIC." + target.Name());
  EXPECT_EQ(holders.FieldByName("MATRICULAQUOR").AsInteger(), 1);
  EXPECT_EQ(holders.FieldByName("NOMEQUOR").AsString(), "FULANO DE TAL");
  EXPECT_EQ(holders.FieldByName("PROGRAMAQUOR").AsString(), "tests");
  EXPECT_EQ(holders.FieldByName("TERMINALQUOR").AsString(), "[local]");
  EXPECT_EQ(holders.FieldByName("PROGRAM").AsString(), "tests");
  EXPECT_EQ(holders.FieldByName("USERNAME").AsString(), UpperAscii(holders.FieldByName("OSUSER").AsString()));
  EXPECT_FALSE(holders.FieldByName("USERNAME").IsNull());

  // The failed statement left the transaction usable: the other row can still be locked.
  TOraQuery other_row(&Session());
  other_row.SQL.Add("SELECT VALOR FROM " + target.Name() + " WHERE ID = 2 FOR UPDATE NOWAIT");
  other_row.Open();
  EXPECT_EQ(other_row.FieldByName("VALOR").AsFloat(), 20.0);
}

TEST_F(RowLocks, AHolderWithoutHostIdentificationIsAnExternalProgram) {
  const auto external = NewSession("psql");
  HoldRow(*external, 2);
  ExpectBusy(2);
  TOraQuery holders(&Session());
  holders.SQL.Add(HolderQuery(target.Name()));
  holders.Open();
  ASSERT_EQ(holders.RecordCount(), 1u);
  EXPECT_EQ(holders.FieldByName("SID").AsInteger(), external->ServerPid());
  EXPECT_TRUE(holders.FieldByName("MATRICULAQUOR").IsNull());
  EXPECT_EQ(holders.FieldByName("PROGRAM").AsString(), "psql");
  external->Rollback();
}

TEST_F(RowLocks, ReadersAreNotReportedAsHolders) {
  TOraSession& reader = OtherSession();
  reader.StartTransaction();
  TOraQuery read(&reader);
  read.SQL.Add("SELECT * FROM " + target.Name());
  read.Open();
  TOraQuery holders(&Session());
  holders.SQL.Add(HolderQuery(target.Name()));
  holders.Open();
  EXPECT_TRUE(holders.IsEmpty());
}

TEST_F(RowLocks, ATableLockWaitEndsAsBusyAfterTheLockTimeout) {
  TOraSession& holder = OtherSession();
  holder.StartTransaction();
  holder.ExecuteScript("LOCK TABLE " + target.Name() + " IN ACCESS EXCLUSIVE MODE");
  Session().SetLockTimeout(1);
  TOraQuery count(&Session());
  count.SetStatementSavepoint(true);
  count.SQL.Add("SELECT count(*) FROM " + target.Name());
  try {
    count.Open();
    FAIL();
  } catch (const EOraBusy& error) {
    EXPECT_EQ(error.Message(), "ORA-00054: canceling statement due to lock timeout");
  }
  EXPECT_EQ(Value("SELECT 1"), "1");
}

// Without its own savepoint a failed statement aborts the whole transaction, as PostgreSQL does.
TEST_F(RowLocks, WithoutTheStatementSavepointTheTransactionIsAborted) {
  HoldRow(OtherSession(), 1);
  TOraQuery probe(&Session());
  probe.SQL.Add("SELECT * FROM " + target.Name() + " WHERE ID = 1 FOR UPDATE NOWAIT");
  EXPECT_THROW(probe.Open(), EOraBusy);
  try {
    static_cast<void>(Value("SELECT 1"));
    FAIL();
  } catch (const EOraError& error) {
    EXPECT_EQ(error.ErrorCode(), 2091);
    EXPECT_EQ(error.SqlState(), "25P02");
    EXPECT_EQ(error.Message(),
              "ORA-02091: current transaction is aborted, commands ignored until end of transaction block");
  }
}

}  // namespace
