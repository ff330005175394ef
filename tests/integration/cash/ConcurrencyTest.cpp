#include <gtest/gtest.h>

#include <latch>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "cash/Uclsfin_movimentacaonumerarios.h"
#include "host/THostQuorvin.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "sdk/Exception.h"
#include "sdk/Formatacao.h"
#include "support/TestDatabase.h"

// Two real sessions, each with its own host and its own transactions, post to one account and
// collection code at the same time. These tests commit, so they use accounts no other test uses
// and remove what they wrote.
namespace {

const std::string kCob = "CCR";
constexpr double kBanco = 9901;
constexpr int kPostagensPorSessao = 200;

struct Sessao {
  std::unique_ptr<host::THostQuorvin> Host;
  TMovimentacaoNumerarios* Caixa = nullptr;  // owned by the host

  explicit Sessao(int numero) {
    host::THostConfig config;
    config.Dsn = testsupport::TestDsn();
    config.Matricula = 1;
    config.Programa = "tests-cash-" + std::to_string(numero);
    Host = std::make_unique<host::THostQuorvin>(config);
    Caixa = new TMovimentacaoNumerarios(Host.get());
  }
  // Removes what the tests committed on the account.
  void Limpar() {
    for (const char* tabela : {"ZTMOVCR", "ZTESTCR"}) {
      TOraTransaction transaction(Host->Sessao());
      TOraQuery query(&Host->Sessao());
      query.SQL.Add(std::string("DELETE FROM ") + tabela + Conta());
      query.ExecSQL();
      transaction.Commit();
    }
  }
  static std::string Conta() { return " WHERE CODBANCO = " + ShortestDecimal(kBanco) + " AND CODCOB = '" + kCob + "'"; }
};

// Session `sessao`'s i-th posting; `trava` is "Locked", "InPlace" or "Mixed" (alternating).
RFin_IncluirMovimentacaoNumerarios Movimento(int sessao, int i, const std::string& trava) {
  RFin_IncluirMovimentacaoNumerarios r;
  r.Inicializar();
  r.DATA = TDateTime::EncodeDateTime(2025, 6, 1, 8, 0, 0);
  r.CODBANCO = kBanco;
  r.CODCOB = kCob;
  r.TIPO = i % 3 == 2 ? "C" : "D";
  r.VALOR = 1 + (i % 7) * 0.25 + sessao * 0.5;
  r.CODFUNC = 1;
  if (i % 4 == 0) r.CONCILIACAO = "OK";
  r.TRAVARSALDO = trava == "Locked" || (trava == "Mixed" && (i + sessao) % 2 == 0);
  return r;
}

class CashSessions : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { FVerificacao.Limpar(); }
  void TearDown() override { FVerificacao.Limpar(); }

  Sessao FVerificacao{0};
};

std::string Nome(const ::testing::TestParamInfo<const char*>& info) {
  return info.param;
}

class CashConcurrency : public CashSessions {};

INSTANTIATE_TEST_SUITE_P(BalanceLock, CashConcurrency, ::testing::Values("Locked", "InPlace", "Mixed"), Nome);

// Both sessions start on a pair that has no balance row yet, so they also race to create it.
TEST_P(CashConcurrency, TwoSessionsPostingToOnePairLoseNoUpdate) {
  std::vector<std::string> erros(2);
  std::vector<std::thread> threads;
  std::latch conectadas(2);  // both sessions start posting together
  for (int numero = 1; numero <= 2; ++numero) {
    threads.emplace_back([this, numero, &erros, &conectadas] {
      bool chegou = false;
      try {
        Sessao sessao(numero);
        chegou = true;
        conectadas.arrive_and_wait();
        for (int i = 0; i < kPostagensPorSessao; ++i) {
          TOraTransaction transaction(sessao.Host->Sessao());
          RFin_IncluirMovimentacaoNumerarios r = Movimento(numero, i, GetParam());
          sessao.Caixa->Incluir(r);
          transaction.Commit();
        }
      } catch (const std::exception& e) {
        erros[numero - 1] = e.what();
        if (!chegou) conectadas.count_down();
      }
    });
  }
  for (auto& thread : threads) thread.join();
  ASSERT_EQ(erros, (std::vector<std::string>{"", ""}));

  // In insertion order (taken under the balance row's lock) every movement's frozen balance is
  // the one before it plus its own signed value.
  const std::string conta = Sessao::Conta();
  TOraQuery movimentos(&FVerificacao.Host->Sessao());
  movimentos.SQL.Add("SELECT TIPO, VALOR, VLSALDO, CONCILIACAO, VLSALDOCONCIL FROM ZTMOVCR" + conta +
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
  EXPECT_EQ(linhas, 2 * kPostagensPorSessao);
  // One balance row holding the last balances; no transaction number drawn twice.
  TOraQuery estoque(&FVerificacao.Host->Sessao());
  estoque.SQL.Add(
      "SELECT COUNT(*) QTD, SUM(VALOR) VALOR, SUM(VALORCONCILIADO) CONCILIADO, (SELECT COUNT(DISTINCT "
      "NUMTRANS) FROM ZTMOVCR" +
      conta + ") NUMEROS FROM ZTESTCR" + conta);
  estoque.Open();
  EXPECT_EQ(estoque.FieldByName("QTD").AsInteger(), 1);
  EXPECT_EQ(estoque.FieldByName("VALOR").AsFloat(), saldo);
  EXPECT_EQ(estoque.FieldByName("CONCILIADO").AsFloat(), conciliado);
  EXPECT_EQ(estoque.FieldByName("NUMEROS").AsInteger(), 2 * kPostagensPorSessao);
}

// What each way of touching a pair holds until its transaction ends: another session's posting
// to the same pair waits and, past its lock timeout, fails as busy instead of reading a balance
// about to change.
class CashBalanceLock : public CashSessions {};

INSTANTIATE_TEST_SUITE_P(HeldUntilCommit, CashBalanceLock,
                         ::testing::Values("LockedPosting", "InPlacePosting", "Rebuild"), Nome);

TEST_P(CashBalanceLock, AnotherSessionCannotPostUntilTheFirstCommits) {
  Sessao primeira(1);
  Sessao segunda(2);
  {
    TOraTransaction transaction(primeira.Host->Sessao());
    RFin_IncluirMovimentacaoNumerarios r = Movimento(1, 0, "Locked");
    primeira.Caixa->Incluir(r);
    transaction.Commit();
  }
  primeira.Host->Sessao().StartTransaction();
  if (GetParam() == std::string("Rebuild")) {
    RFin_RecalculaNumerario p;
    p.Inicializar();
    p.CODBANCO = kBanco;
    p.CODCOB = kCob;
    p.RECALCULARSALDO = true;
    p.RECALCULARSALDOCONCILIADO = true;
    primeira.Caixa->RecalcularSaldos(p);
  } else {
    RFin_IncluirMovimentacaoNumerarios r =
        Movimento(1, 1, GetParam() == std::string("LockedPosting") ? "Locked" : "InPlace");
    primeira.Caixa->Incluir(r);
  }

  segunda.Host->Sessao().SetLockTimeout(1);
  for (const char* trava : {"Locked", "InPlace"}) {
    TOraTransaction transaction(segunda.Host->Sessao());
    RFin_IncluirMovimentacaoNumerarios r = Movimento(2, 0, trava);
    try {
      segunda.Caixa->Incluir(r);
      ADD_FAILURE() << "posted while the first session held the balance";
    } catch (const Exception& e) {
      EXPECT_NE(e.Message().find("ORA-00054"), std::string::npos) << e.Message();
      EXPECT_EQ(r.MENSAGEM, "Erro ao inserir registros!\r" + e.Message());
    }
  }

  primeira.Host->Sessao().Commit();
  TOraTransaction transaction(segunda.Host->Sessao());
  RFin_IncluirMovimentacaoNumerarios r = Movimento(2, 0, "InPlace");
  EXPECT_TRUE(segunda.Caixa->Incluir(r));
  transaction.Commit();
}

}  // namespace
