#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/THostQuorvin.h"
#include "oradb/TOraSession.h"
#include "support/TestDatabase.h"

// A host that keeps the parameters it read (the command line's) checks their version once per call:
// within a call nothing is read twice, a change committed by another session is seen by the next
// call, and one not yet committed is not. The rows use names of their own, removed afterwards.
namespace {

const char* const kLimpeza = "DELETE FROM public.ZTPARAMETROS WHERE NOME LIKE 'TST_CACHE_%';";

class ParameterCache : public ::testing::Test {
 protected:
  void SetUp() override {
    FOutra = testsupport::NewSession("tests:parameter-cache");
    FOutra->ExecuteScript(kLimpeza);
    FOutra->ExecuteScript(
        "INSERT INTO public.ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('TST_CACHE_A', '*', 'um');");
    host::THostConfig config;
    config.Dsn = testsupport::TestDsn();
    config.CacheParametros = true;
    FHost = std::make_unique<host::THostQuorvin>(config);
  }
  void TearDown() override {
    if (FOutra) {
      FOutra->Rollback();
      FOutra->ExecuteScript(kLimpeza);
    }
  }
  // ZTPARAMETROS reads of one call that asks for `nome` twice.
  std::uint64_t LeiturasDeUmaChamada(const std::string& nome, std::string& valor) {
    const std::uint64_t antes = FHost->LeiturasParametros();
    FHost->NovaChamada();
    valor = FHost->ValorTextoFilial(nome, "7", "padrao");
    EXPECT_EQ(FHost->ValorTextoFilial(nome, "7", "padrao"), valor);
    return FHost->LeiturasParametros() - antes;
  }
  std::unique_ptr<TOraSession> FOutra;
  std::unique_ptr<host::THostQuorvin> FHost;
};

TEST_F(ParameterCache, AnUnchangedStoreCostsOneReadPerCallAndAChangeIsSeenByTheNextCall) {
  std::string valor;
  // First call: the version, then the branch's value (absent) and the global one.
  EXPECT_EQ(LeiturasDeUmaChamada("TST_CACHE_A", valor), 3u);
  EXPECT_EQ(valor, "um");
  // Unchanged: only the version; absent names are kept as absent.
  EXPECT_EQ(LeiturasDeUmaChamada("TST_CACHE_A", valor), 1u);
  EXPECT_EQ(LeiturasDeUmaChamada("TST_CACHE_NADA", valor), 3u);
  EXPECT_EQ(valor, "padrao");
  EXPECT_EQ(LeiturasDeUmaChamada("TST_CACHE_NADA", valor), 1u);

  // Another session's change, not committed yet: the version it bumped is not visible either.
  FOutra->StartTransaction();
  FOutra->ExecuteScript("UPDATE public.ZTPARAMETROS SET VALOR = 'dois' WHERE NOME = 'TST_CACHE_A';");
  EXPECT_EQ(LeiturasDeUmaChamada("TST_CACHE_A", valor), 1u);
  EXPECT_EQ(valor, "um");
  FOutra->Commit();
  // Committed: the next call reads again.
  EXPECT_GT(LeiturasDeUmaChamada("TST_CACHE_A", valor), 1u);
  EXPECT_EQ(valor, "dois");
  // A branch value added later wins over the global one from the next call on.
  FOutra->ExecuteScript(
      "INSERT INTO public.ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('TST_CACHE_A', '7', 'filial');");
  FOutra->Commit();
  (void)LeiturasDeUmaChamada("TST_CACHE_A", valor);
  EXPECT_EQ(valor, "filial");
  // Deleting is a change too.
  FOutra->ExecuteScript("DELETE FROM public.ZTPARAMETROS WHERE NOME = 'TST_CACHE_A';");
  FOutra->Commit();
  (void)LeiturasDeUmaChamada("TST_CACHE_A", valor);
  EXPECT_EQ(valor, "padrao");
}

// The host's own write is seen at once, in the same call, without waiting for the next one.
TEST_F(ParameterCache, TheHostsOwnWriteIsSeenAtOnce) {
  FHost->Sessao().StartTransaction();
  FHost->NovaChamada();
  EXPECT_EQ(FHost->ValorTexto("TST_CACHE_A"), "um");
  FHost->DefinirParametro("TST_CACHE_A", "tres");
  EXPECT_EQ(FHost->ValorTexto("TST_CACHE_A"), "tres");
  FHost->Sessao().Rollback();
  // Rolled back: the version read by the next call is the old one again, so nothing kept survives.
  FHost->NovaChamada();
  EXPECT_EQ(FHost->ValorTexto("TST_CACHE_A"), "um");
}

// A write of the host rolled back, then another session's committed change of any number of
// statements: the version the host saw for its own write must never come back for other contents,
// or the rolled-back value would be served as current.
TEST_F(ParameterCache, ARolledBackWriteIsNeverTakenForALaterCommittedChange) {
  FOutra->ExecuteScript("INSERT INTO public.ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('TST_CACHE_B', '*', 'b0');");
  FOutra->Commit();
  for (int comandos = 1; comandos <= 3; ++comandos) {
    FHost->Sessao().StartTransaction();
    FHost->NovaChamada();
    FHost->DefinirParametro("TST_CACHE_A", "desfeito");
    EXPECT_EQ(FHost->ValorTexto("TST_CACHE_A"), "desfeito");
    FHost->Sessao().Rollback();
    const std::string valor = "b" + std::to_string(comandos);
    for (int comando = 0; comando < comandos; ++comando) {
      FOutra->ExecuteScript("UPDATE public.ZTPARAMETROS SET VALOR = '" + valor + "' WHERE NOME = 'TST_CACHE_B';");
    }
    FOutra->Commit();
    FHost->NovaChamada();
    EXPECT_EQ(FHost->ValorTexto("TST_CACHE_A"), "um") << comandos << " statement(s)";
    EXPECT_EQ(FHost->ValorTexto("TST_CACHE_B"), valor);
  }
}

}  // namespace
