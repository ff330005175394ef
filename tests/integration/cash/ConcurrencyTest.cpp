#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "support/ConcurrentHosts.h"
#include "support/TestDatabase.h"

// Two real sessions, each with its own host and its own transactions, post to one account and
// collection code at the same time. These tests commit, so they use accounts no other test uses
// and remove what they wrote.
namespace {

using Movimento = RFin_IncluirMovimentacaoNumerarios;

const std::string kCob = "CCR";
constexpr double kBanco = 9901;
constexpr int kPostagensPorSessao = 200;
const std::string kConta = " WHERE CODBANCO = " + ShortestDecimal(kBanco) + " AND CODCOB = '" + kCob + "'";

// Session `sessao`'s i-th posting; `trava` is "Locked", "InPlace" or "Mixed" (alternating).
Movimento Postagem(int sessao, int i, const std::string& trava) {
  Movimento r;
  r.Inicializar();
  r.DATA = TDateTime::EncodeDateTime(2025, 6, 1, 8, 0, 0);
  r.CODBANCO = kBanco, r.CODCOB = kCob, r.CODFUNC = 1;
  r.TIPO = i % 3 == 2 ? "C" : "D";
  r.VALOR = 1 + (i % 7) * 0.25 + sessao * 0.5;
  if (i % 4 == 0) r.CONCILIACAO = "OK";
  r.TRAVARSALDO = trava == "Locked" || (trava == "Mixed" && (i + sessao) % 2 == 0);
  return r;
}

using testsupport::HostSession;

// Posts in a transaction of its own.
bool Postar(HostSession& sessao, Movimento& r) {
  TOraTransaction transaction(sessao.Host->Sessao());
  const bool incluido = sessao.Financeiro->GetMovimentacaoNumerarios()->Incluir(r);
  transaction.Commit();
  return incluido;
}

class CashSessions : public ::testing::Test {
 protected:
  void SetUp() override { Limpar(); }
  void TearDown() override { Limpar(); }

  // Removes what the tests committed on the account.
  void Limpar() {
    TOraTransaction transaction(FVerificacao.Host->Sessao());
    FVerificacao.Host->Sessao().ExecuteScript("DELETE FROM ZTMOVCR" + kConta + "; DELETE FROM ZTESTCR" + kConta + ";");
    transaction.Commit();
  }

  HostSession FVerificacao{"tests-cash-0"};
};

class CashConcurrency : public CashSessions, public ::testing::WithParamInterface<const char*> {};

INSTANTIATE_TEST_SUITE_P(BalanceLock, CashConcurrency, ::testing::Values("Locked", "InPlace", "Mixed"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return info.param; });

// The sessions (2, or QUORVIN_SOAK_N) start on a pair that has no balance row yet, so they also
// race to create it.
TEST_P(CashConcurrency, SessionsPostingToOnePairLoseNoUpdate) {
  const int sessoes = testsupport::SoakSessions(2);
  const int postagens = std::max(20, 2 * kPostagensPorSessao / sessoes);
  const std::string trava = GetParam();
  const std::vector<std::string> erros =
      testsupport::InParallel(sessoes, "tests-cash", [postagens, &trava](HostSession& sessao, int numero) {
        for (int i = 0; i < postagens; ++i) {
          Movimento r = Postagem(numero + 1, i, trava);
          Postar(sessao, r);
        }
      });
  ASSERT_EQ(erros, std::vector<std::string>(static_cast<std::size_t>(sessoes)));

  // In insertion order (taken under the balance row's lock) every movement's frozen balance is
  // the one before it plus its own signed value.
  TOraQuery movimentos(&FVerificacao.Host->Sessao());
  movimentos.SQL.Add("SELECT TIPO, VALOR, VLSALDO, CONCILIACAO, VLSALDOCONCIL FROM ZTMOVCR" + kConta +
                     " ORDER BY ROWID");
  movimentos.Open();
  double saldo = 0;
  double conciliado = 0;
  int linhas = 0;
  for (movimentos.First(); !movimentos.Eof(); movimentos.Next(), ++linhas) {
    const double valor =
        (movimentos.FieldByName("TIPO").AsString() == "C" ? -1 : 1) * movimentos.FieldByName("VALOR").AsFloat();
    saldo = RoundTo(saldo + valor, 2);
    ASSERT_EQ(movimentos.FieldByName("VLSALDO").AsFloat(), saldo) << "row " << linhas;
    if (movimentos.FieldByName("CONCILIACAO").AsString() == "OK") {
      conciliado = RoundTo(conciliado + valor, 2);
      ASSERT_EQ(movimentos.FieldByName("VLSALDOCONCIL").AsFloat(), conciliado) << "row " << linhas;
    }
  }
  EXPECT_EQ(linhas, sessoes * postagens);
  // One balance row holding the last balances; no transaction number drawn twice.
  TOraQuery estoque(&FVerificacao.Host->Sessao());
  estoque.SQL.Add(
      "SELECT COUNT(*) QTD, SUM(VALOR) VALOR, SUM(VALORCONCILIADO) CONCILIADO, (SELECT COUNT(DISTINCT "
      "NUMTRANS) FROM ZTMOVCR" +
      kConta + ") NUMEROS FROM ZTESTCR" + kConta);
  estoque.Open();
  EXPECT_EQ(estoque.FieldByName("QTD").AsInteger(), 1);
  EXPECT_EQ(estoque.FieldByName("VALOR").AsFloat(), saldo);
  EXPECT_EQ(estoque.FieldByName("CONCILIADO").AsFloat(), conciliado);
  EXPECT_EQ(estoque.FieldByName("NUMEROS").AsInteger(), sessoes * postagens);
  std::cout << "[figures] " << sessoes << " sessions x " << postagens << " postings on one pair (" << GetParam()
            << "): balance = sum of movements, " << estoque.FieldByName("NUMEROS").AsInteger()
            << " distinct transaction numbers\n";
}

// A rebuild holds the pair's balance row until its transaction ends: another session's posting
// waits and, past its lock timeout, fails as busy instead of reading a balance about to change.
TEST_F(CashSessions, ARebuildHoldsThePairUntilItCommits) {
  HostSession primeira("tests-cash-1");
  HostSession segunda("tests-cash-2");
  Movimento primeiro = Postagem(1, 0, "Locked");
  Postar(primeira, primeiro);
  primeira.Host->Sessao().StartTransaction();
  RFin_RecalculaNumerario p;
  p.Inicializar();
  p.CODBANCO = kBanco, p.CODCOB = kCob, p.RECALCULARSALDO = true, p.RECALCULARSALDOCONCILIADO = true;
  primeira.Financeiro->GetMovimentacaoNumerarios()->RecalcularSaldos(p);

  segunda.Host->Sessao().SetLockTimeout(1);
  Movimento r = Postagem(2, 0, "InPlace");
  try {
    Postar(segunda, r);
    ADD_FAILURE() << "posted while the first session held the balance";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("ORA-00054"), std::string::npos) << e.Message();
    EXPECT_EQ(r.MENSAGEM, "Erro ao inserir registros!\r" + e.Message());
  }
  primeira.Host->Sessao().Commit();
  Movimento depois = Postagem(2, 0, "InPlace");
  EXPECT_TRUE(Postar(segunda, depois));
}

}  // namespace
