#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <thread>

#include "host/THostQuorvin.h"
#include "oradb/EOraError.h"
#include "support/TestDatabase.h"
#include "support/TestHost.h"

namespace {

using testsupport::HostTest;

TEST_F(HostTest, BranchParametersFallBackToGlobalThenToTheDefault) {
  SetParametro("TRABSUPLORC", "S", "2");
  SetParametro("UTILIZACENTROCUSTO", "S");
  EXPECT_EQ(Host().ValorTextoFilial("TRABSUPLORC", "2", "N"), "S");
  EXPECT_EQ(Host().ValorTextoFilial("TRABSUPLORC", "3", "N"), "N");
  EXPECT_EQ(Host().ValorTextoFilial("UTILIZACENTROCUSTO", "3", "N"), "S");
  EXPECT_EQ(Host().ValorTextoFilial("ORCREGCOMPETENCIA", "1", "N"), "N");
  SetParametro("TRABSUPLORC", "N", "2");  // replaced, not duplicated
  EXPECT_EQ(Host().ValorTextoFilial("TRABSUPLORC", "2", "S"), "N");
}

TEST_F(HostTest, NumericAndFlagParameters) {
  SetParametro("CON_NUMDIASMINDESPPAG", "15");
  SetParametro("CON_FLAG", "s");
  EXPECT_EQ(Host().ValorNumerico("CON_NUMDIASMINDESPPAG"), 15.0);
  EXPECT_EQ(Host().ValorNumerico("CON_NAOEXISTE"), 0.0);
  EXPECT_TRUE(Host().ValorLogico("CON_FLAG"));
  SetParametro("CON_TEXTO", "abc");
  try {
    static_cast<void>(Host().ValorNumerico("CON_TEXTO"));
    FAIL() << "a text read as a number";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "O parâmetro CON_TEXTO não é numérico: \"abc\".");
  }
}

TEST_F(HostTest, PermissionsAndTheRoutineCheck) {
  Exec("INSERT INTO ZTPERMISSAO (MATRICULA, CODROTINA, CODPERMISSAO) VALUES (1, 746, 0)");
  Exec("INSERT INTO ZTPERMISSAO (MATRICULA, CODROTINA, CODPERMISSAO) VALUES (1, 632, 6)");
  EXPECT_TRUE(Host().TemPermissao(632, 6));
  EXPECT_FALSE(Host().TemPermissao(632, 5));
  EXPECT_TRUE(Host().VerificarRotina("746", "746 [NOVA]"));
  EXPECT_TRUE(Host().VerificarRotina("746", " 746"));
  EXPECT_FALSE(Host().VerificarRotina("746", "7461"));
  EXPECT_FALSE(Host().VerificarRotina("749", "749"));  // no access to 749
}

TEST_F(HostTest, ServerClockIsTheDatabaseClockToTheSecond) {
  const TDateTime now = Host().DataHoraServidor();
  const TDateTime database =
      TDateTime::FromIso(Scalar("SELECT TO_CHAR(SYSDATE, 'YYYY-MM-DD HH24:MI:SS') FROM DUAL")).value_or(TDateTime());
  EXPECT_LE(std::abs(now - database) * 86400.0, 2.0);
  EXPECT_EQ(Host().DataServidor(), now.DateOnly());
}

TEST_F(HostTest, ConfirmationsAreCancelledUnlessTheCallerApproves) {
  EXPECT_EQ(Host().Confirmar("Confirma?"), TModalResult::mrCancel);
  AnswerConfirmations(TModalResult::mrOk);
  EXPECT_EQ(Host().Confirmar("De novo?"), TModalResult::mrOk);
  ASSERT_EQ(Host().Confirmacoes().size(), 2u);
  EXPECT_EQ(Host().Confirmacoes()[0].Texto, "Confirma?");
}

TEST_F(HostTest, LookUpAnswersTheFirstValueOrNothing) {
  Exec("INSERT INTO ZTEMPR (MATRICULA, NOME, NOME_GUERRA) VALUES (987654, 'Ana Souza', 'ANA')");
  EXPECT_EQ(Host().Localizar("ZTEMPR", "NOME_GUERRA", "MATRICULA = 987654"), "ANA");
  EXPECT_FALSE(Host().Localizar("ZTEMPR", "NOME_GUERRA", "MATRICULA = -1").has_value());
}

TEST_F(HostTest, SequenceNamesAreCheckedBeforeTheyReachSql) {
  const double first = Host().ProximoValorSequencia("QV_NUMTRANS");
  EXPECT_EQ(Host().ProximoNumTrans(), first + 1);
  EXPECT_THROW(static_cast<void>(Host().ProximoValorSequencia("QV_NUMTRANS; DROP TABLE ZTEMPR")), Exception);
  EXPECT_THROW(static_cast<void>(Host().ProximoValorSequencia("DFSEQ_NAO_EXISTE")), EOraError);
}

// Two hosts drawing numbers at the same time never get the same one.
TEST(HostNumbering, UniqueUnderTwoConcurrentSessions) {
  const std::string dsn = testsupport::TestDsn();
  ASSERT_FALSE(dsn.empty());
  constexpr int kDraws = 300;
  std::vector<double> first, second;
  auto draw = [&dsn](std::vector<double>& into) {
    host::THostConfig config;
    config.Dsn = dsn;
    host::THostQuorvin host(config);
    for (int i = 0; i < kDraws; ++i) {
      TOraTransaction transaction(host.Sessao());
      into.push_back(host.ProximoRecNum());
      transaction.Commit();
    }
  };
  std::thread a(draw, std::ref(first));
  std::thread b(draw, std::ref(second));
  a.join();
  b.join();
  std::set<double> all(first.begin(), first.end());
  all.insert(second.begin(), second.end());
  EXPECT_EQ(all.size(), 2u * kDraws);
}

}  // namespace
