#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "oradb/EOraError.h"
#include "oradb/TOraQuery.h"
#include "sdk/Formatacao.h"
#include "support/TestDatabase.h"
#include "unit/oradb/Failure.h"

namespace {

using oradbtest::Failure;

class RowLocks : public testsupport::DatabaseTest {
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

  std::string Busy() const {
    std::string table = target.Name();
    for (char& c : table) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return "EOraBusy: ORA-00054: could not obtain lock on row in relation \"" + table + "\"";
  }

  testsupport::SharedTable target{"LOCKPROBE", "(ID integer PRIMARY KEY, VALOR numeric)"};
  TOraQuery holders{nullptr};
};

TEST_F(RowLocks, NowaitOnALockedRowIsBusyUnderItsSavepointAndTheHolderIsAHostUser) {
  HoldRow(OtherSession(), 1);  // client info "tests:1": user 1 of ZTEMPR
  EXPECT_EQ(Probe(1), Busy());
  EXPECT_TRUE(Session().InTransaction());
  OpenHolders();
  ASSERT_EQ(holders.RecordCount(), 1u);
  EXPECT_EQ(holders.FieldByName("SID").AsInteger(), OtherSession().ServerPid());
  EXPECT_EQ(holders.FieldByName("NAME").AsString(), "PUBLIC." + target.Name());
  EXPECT_EQ(holders.FieldByName("MATRICULAQUOR").AsInteger(), 1);
  EXPECT_EQ(holders.FieldByName("NOMEQUOR").AsString(), "FULANO DE TAL");
  EXPECT_EQ(holders.FieldByName("PROGRAMAQUOR").AsString(), "tests");
  EXPECT_EQ(holders.FieldByName("TERMINALQUOR").AsString(), "[local]");
  EXPECT_EQ(holders.FieldByName("PROGRAM").AsString(), "tests");
  EXPECT_EQ(holders.FieldByName("MACHINE").AsString(), "[local]");
  EXPECT_EQ(holders.FieldByName("USERNAME").AsString(), UpperAscii(holders.FieldByName("OSUSER").AsString()));
  EXPECT_EQ(holders.FieldByName("USERNAME").AsString(), Value("SELECT upper(current_user)"));
  // The failed statement left the transaction usable: the other row can still be locked.
  EXPECT_EQ(Probe(2), "(no exception)");
  // Without its own savepoint a failed statement aborts the whole transaction, as PostgreSQL does.
  EXPECT_EQ(Probe(1, false), Busy());
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

TEST_F(RowLocks, AHolderWithoutHostIdentificationIsAnExternalProgramAndReadersAreNoHolders) {
  const auto external = testsupport::NewSession("psql");
  HoldRow(*external, 2);
  TOraSession& reader = OtherSession();
  reader.StartTransaction();
  TOraQuery read(&reader);
  read.SQL.Add("SELECT * FROM " + target.Name() + " WHERE ID = 1");
  read.Open();
  EXPECT_EQ(Probe(2), Busy());
  OpenHolders();
  ASSERT_EQ(holders.RecordCount(), 1u);
  EXPECT_EQ(holders.FieldByName("SID").AsInteger(), external->ServerPid());
  EXPECT_TRUE(holders.FieldByName("MATRICULAQUOR").IsNull());
  EXPECT_EQ(holders.FieldByName("PROGRAM").AsString(), "psql");
  external->Rollback();
}

}  // namespace
