#include <gtest/gtest.h>

#include <string>

#include "oradb/EOraError.h"
#include "oradb/TOraQuery.h"
#include "support/TestDatabase.h"

namespace {

// The module's own text for "who holds the rows of this table", as it sends it after a failed
// FOR UPDATE NOWAIT: Oracle dictionary views, (+) joins over a sub-select, # identifiers.
std::string HolderQuery(const std::string& tabela) {
  return "SELECT B.OSUSER, A.SID, B.USERNAME, D.NAME || '.' || C.NAME NAME, A.ID1, A.ID2, B.PROGRAM, B.TERMINAL, "
         "B.MACHINE, U.MATRICULA MATRICULAQUOR, U.NOME NOMEQUOR, U.PROGRAM PROGRAMAQUOR, U.TERMINAL TERMINALQUOR, "
         "U.MACHINE MACHINEQUOR FROM V$LOCK A, V$SESSION B, SYS.OBJ$ C, SYS.USER$ D, (SELECT SID, ZTEMPR.MATRICULA, "
         "ZTEMPR.NOME, PROGRAM, TERMINAL, MACHINE FROM SYS.V_$SESS_INFO, ZTEMPR WHERE SUBSTR(CLIENT_INFO, "
         "INSTR(CLIENT_INFO, ':') + 1, LENGTH(CLIENT_INFO)) = to_char(ZTEMPR.MATRICULA)) U WHERE A.ID1 = C.OBJ#(+) "
         "AND A.SID = B.SID AND B.SID = U.SID(+) AND C.OWNER# = D.USER#(+) AND B.USERNAME IS NOT NULL AND "
         "UPPER(C.NAME) = UPPER('" +
         tabela + "') ORDER BY 1";
}

// Two real sessions: one holds rows FOR UPDATE, the other's NOWAIT fails at once as busy and,
// in the same transaction, finds the holder by the module's own query.
TEST(LockHolder, BusyRowsAreReportedWithTheHoldingUser) {
  const std::string dsn = testsupport::TestDsn();
  ASSERT_FALSE(dsn.empty());
  auto setup = testsupport::NewSession("tests:setup");
  setup->ExecuteScript(
      "DELETE FROM ZTEMPR WHERE MATRICULA IN (4242);"
      "INSERT INTO ZTEMPR (MATRICULA, NOME, NOME_GUERRA) VALUES (4242, 'Rita Holder', 'RITA');"
      "DROP TABLE IF EXISTS public.zttravateste; CREATE TABLE public.zttravateste (CODIGO numeric(4));"
      "INSERT INTO public.zttravateste VALUES (1), (2);");

  auto holder = testsupport::NewSession("rotina746:4242");
  holder->StartTransaction();
  TOraQuery lock(holder.get());
  lock.SQL.Add("SELECT * FROM ZTTRAVATESTE WHERE CODIGO = 1 FOR UPDATE");
  lock.Open();

  auto waiter = testsupport::NewSession("tests:7");
  waiter->StartTransaction();
  TOraQuery attempt(waiter.get());
  attempt.SQL.Add(" SELECT * FROM ZTTRAVATESTE WHERE CODIGO = 1 FOR UPDATE NOWAIT");
  attempt.SetStatementSavepoint(true);
  EXPECT_THROW(attempt.Open(), EOraBusy);

  TOraQuery holders(waiter.get());
  holders.SQL.Add(HolderQuery("ZTTRAVATESTE"));
  holders.Open();
  ASSERT_FALSE(holders.IsEmpty());
  EXPECT_EQ(holders.FieldByName("MATRICULAQUOR").AsInteger(), 4242);
  EXPECT_EQ(holders.FieldByName("NOMEQUOR").AsString(), "Rita Holder");
  EXPECT_EQ(holders.FieldByName("SID").AsInteger(), holder->ServerPid());
  EXPECT_EQ(holders.FieldByName("NAME").AsString(), "PUBLIC.ZTTRAVATESTE");
  waiter->Rollback();
  holder->Rollback();
  setup->ExecuteScript("DROP TABLE public.zttravateste; DELETE FROM ZTEMPR WHERE MATRICULA = 4242;");
}

}  // namespace
