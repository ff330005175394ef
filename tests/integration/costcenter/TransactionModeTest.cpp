#include <gtest/gtest.h>

#include <string>

#include "support/TestDatabase.h"
#include "support/TestHost.h"

namespace {

// Entries of this test only; the module's commits make them visible to everyone, so they are
// removed before and after.
constexpr const char* kEntries = "RECNUM BETWEEN 970001 AND 970004";

class ModuleCommit : public testsupport::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    Limpar();
    Session().Commit();
    Session().StartTransaction();
    Exec("INSERT INTO ZTCONTA (CODCONTA, CONTA) VALUES (970077, 'CONTA DO TESTE DE TRANSACOES')");
    for (int recnum = 970001; recnum <= 970004; ++recnum) {
      Exec("INSERT INTO ZTLANC (RECNUM, VALOR, CODCONTA, CODFILIAL) VALUES (" + std::to_string(recnum) +
           ", 100, 10, '1')");
    }
    for (const char* linha : {"'CC1', 60, 60", "'CC2', 40, 40"}) {
      Exec(std::string("INSERT INTO ZTRATEIOCENTROCUSTO (RECNUM, CODCONTA, CODIGOCENTROCUSTO, VALOR, PERCRATEIO, "
                       "CONTRAPARTIDA, CODFILIAL) VALUES (970001, 10, ") +
           linha + ", 'N', '1')");
    }
  }
  void TearDown() override {
    if (Session().InTransaction()) Session().Rollback();
    Limpar();
    Session().Commit();
    HostTest::TearDown();
  }
  void Limpar() {
    Exec(std::string("DELETE FROM ZTRATEIOCENTROCUSTO WHERE ") + kEntries);
    Exec(std::string("DELETE FROM ZTLANC WHERE ") + kEntries);
    Exec("DELETE FROM ZTCONTA WHERE CODCONTA = 970077");
  }
  // What every other session sees: "recnum:account:value" of each committed row.
  static std::string Committed() {
    auto other = testsupport::NewSession("tests:other");
    return testsupport::QueryValue(*other,
                                   "SELECT string_agg(RECNUM || ':' || CODCONTA || ':' || VALOR, ' ' ORDER BY "
                                   "RECNUM, CODIGOCENTROCUSTO) FROM ZTRATEIOCENTROCUSTO WHERE RECNUM BETWEEN 970001 "
                                   "AND 970004")
        .value_or("");
  }
  IFin_CentroCusto& CentroCusto() { return *Financeiro().GetCentroCusto(); }
};

// The reversal and the replication commit the caller's session as designed; whatever the module
// writes after that (here the cost-center account change, which never checks for a transaction)
// runs in the next transaction, so the caller's rollback still undoes it.
TEST_F(ModuleCommit, WritesAfterTheModulesCommitBelongToTheCallersNextTransaction) {
  CentroCusto().estornarRateio(970001, 970002, 970003);
  EXPECT_FALSE(Session().InTransaction());
  CentroCusto().AlterarContaCentroCusto(970001, 970077, "1");
  EXPECT_TRUE(Session().InTransaction());
  Session().Rollback();
  EXPECT_EQ(Committed(),
            "970001:10:60.00 970001:10:40.00 970002:10:-60.00 970002:10:-40.00 970003:10:60.00 970003:10:40.00");

  Session().StartTransaction();
  CentroCusto().ReplicarRateio(970001, 970004);
  CentroCusto().AlterarContaCentroCusto(970004, 970077, "1");
  Session().Rollback();
  EXPECT_EQ(Committed(),
            "970001:10:60.00 970001:10:40.00 970002:10:-60.00 970002:10:-40.00 970003:10:60.00 970003:10:40.00 "
            "970004:10:60.00 970004:10:40.00");
}

}  // namespace
