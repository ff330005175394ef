#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "host/THostQuorvin.h"
#include "oradb/EOraError.h"
#include "oradb/RoundTrips.h"
#include "support/TestDatabase.h"
#include "support/TestHost.h"

namespace {

using testsupport::HostTest;

// A branch's own value wins, then the global one, then the caller's default; setting a value again
// replaces it. A numeric parameter holding text is refused by name.
TEST_F(HostTest, ParametersFallBackFromTheBranchToGlobalToTheDefault) {
  SetParametro("TRABSUPLORC", "S", "2");
  SetParametro("UTILIZACENTROCUSTO", "S");
  EXPECT_EQ(Host().ValorTextoFilial("TRABSUPLORC", "2", "N"), "S");
  EXPECT_EQ(Host().ValorTextoFilial("TRABSUPLORC", "3", "N"), "N");
  EXPECT_EQ(Host().ValorTextoFilial("UTILIZACENTROCUSTO", "3", "N"), "S");
  SetParametro("TRABSUPLORC", "N", "2");
  EXPECT_EQ(Host().ValorTextoFilial("TRABSUPLORC", "2", "S"), "N");
  SetParametro("CON_NUMDIASMINDESPPAG", "15");
  SetParametro("CON_FLAG", "s");
  SetParametro("CON_TEXTO", "abc");
  EXPECT_EQ(Host().ValorNumerico("CON_NUMDIASMINDESPPAG"), 15.0);
  EXPECT_EQ(Host().ValorNumerico("CON_NAOEXISTE"), 0.0);
  EXPECT_TRUE(Host().ValorLogico("CON_FLAG"));
  try {
    static_cast<void>(Host().ValorNumerico("CON_TEXTO"));
    FAIL() << "a text read as a number";
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "O parâmetro CON_TEXTO não é numérico: \"abc\".");
  }
}

// The routine check matches the routine at the start of the screen's label, and only with access
// (permissions themselves are checked by the posting and payable tests).
TEST_F(HostTest, TheRoutineCheckReadsTheLabelsRoutine) {
  Exec("INSERT INTO ZTPERMISSAO (MATRICULA, CODROTINA, CODPERMISSAO) VALUES (1, 746, 0)");
  EXPECT_TRUE(Host().VerificarRotina("746", "746 [NOVA]"));
  EXPECT_TRUE(Host().VerificarRotina("746", " 746"));
  EXPECT_FALSE(Host().VerificarRotina("746", "7461"));
  EXPECT_FALSE(Host().VerificarRotina("749", "749"));
}

// Inside a transaction the clock is read once: later readings answer the same moment without a
// round trip. The next transaction (after a commit or a rollback inside the caller's unit, where
// the next statement opens it) reads it again, and outside any transaction every reading asks.
TEST_F(HostTest, TheClockIsReadOncePerTransaction) {
  TOraSession& sessao = Session();
  const auto leitura = [&] {
    const std::uint64_t antes = oradb::RoundTrips(sessao);
    const TDateTime momento = Host().DataHoraServidor();
    return std::pair{momento, oradb::RoundTrips(sessao) - antes};
  };
  const auto escrever = [&] { Exec("UPDATE ZTEMPR SET NOME = NOME WHERE MATRICULA = 1"); };
  // The fixture's transaction: its BEGIN goes out with the first reading.
  const auto [primeira, idas] = leitura();
  EXPECT_EQ(idas, 1u);
  escrever();
  const auto [segunda, sem_idas] = leitura();
  EXPECT_EQ(segunda, primeira);
  EXPECT_EQ(sem_idas, 0u);
  EXPECT_EQ(Host().DataServidor(), primeira.DateOnly());
  sessao.Commit();
  escrever();
  EXPECT_EQ(leitura().second, 1u) << "after a commit";
  sessao.Rollback();
  EXPECT_EQ(leitura().second, 1u) << "after a rollback";
  EXPECT_EQ(leitura().second, 0u);
  sessao.SetImplicitTransactions(false);
  sessao.Rollback();
  EXPECT_EQ(leitura().second, 1u) << "autocommit";
  EXPECT_EQ(leitura().second, 1u) << "autocommit";
}

TEST_F(HostTest, ConfirmationsAreCancelledUnlessTheCallerApproves) {
  EXPECT_EQ(Host().Confirmar("Confirma?"), TModalResult::mrCancel);
  AnswerConfirmations(TModalResult::mrOk);
  EXPECT_EQ(Host().Confirmar("De novo?"), TModalResult::mrOk);
  ASSERT_EQ(Host().Confirmacoes().size(), 2u);
  EXPECT_EQ(Host().Confirmacoes()[0].Texto, "Confirma?");
}

// Numbers come from the database sequences (the cash concurrency test draws them from two
// sessions at once); a sequence name is checked before it reaches SQL.
TEST_F(HostTest, SequenceNamesAreCheckedBeforeTheyReachSql) {
  const double first = Host().ProximoValorSequencia("QV_NUMTRANS");
  EXPECT_EQ(Host().ProximoNumTrans(), first + 1);
  EXPECT_THROW(static_cast<void>(Host().ProximoValorSequencia("QV_NUMTRANS; DROP TABLE ZTEMPR")), Exception);
  EXPECT_THROW(static_cast<void>(Host().ProximoValorSequencia("DFSEQ_NAO_EXISTE")), EOraError);
}

// The host's bound on lock waits reaches both of its sessions; without one they wait as on Oracle.
TEST(HostLockWait, TheHostsBoundReachesBothSessionsAndTheDefaultWaits) {
  host::THostConfig config;
  config.Dsn = testsupport::TestDsn();
  const auto setting = [](TOraSession& session) {
    return testsupport::QueryValue(session, "SELECT current_setting('lock_timeout')").value_or("");
  };
  host::THostQuorvin unbounded(config);
  EXPECT_EQ(setting(unbounded.Sessao()), "0");
  config.TempoEsperaBloqueio = 3;
  host::THostQuorvin bounded(config);
  EXPECT_EQ(setting(bounded.Sessao()), "3s");
  EXPECT_EQ(setting(bounded.SessaoAutonoma()), "3s");
}

}  // namespace
