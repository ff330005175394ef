#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "frame/Uclsgerentefinanceiro.h"
#include "host/THostQuorvin.h"
#include "oradb/TOraSession.h"
#include "rtl/Formatacao.h"
#include "support/ConcurrentHosts.h"
#include "support/TestDatabase.h"

// The cost-center areas of payable entries and of order installments under concurrent sessions:
// each thread is a host of its own (its own connection, facade and transactions) on committed
// rows. The rows live under keys no other test uses (branches 93 and 94, accounts 93000x and
// 94000x, cost centers RL* and RP*, entries from 9300000, orders from 9400000) and are removed
// before and after. QUORVIN_SOAK_N sets the number of sessions (default 8).
namespace {

constexpr double kPrimeiroLancamento = 9300000;
const TDateTime kData = TDateTime::EncodeDate(2026, 3, 10);

// One user's session: a host with the module's facade.
struct Sessao : testsupport::HostSession {
  explicit Sessao(int numero) : HostSession("tests-cc-" + std::to_string(numero)) {}
  explicit Sessao(testsupport::HostSession& base) : HostSession(std::move(base)) {}
  IFin_CentroCusto& Area() { return *Financeiro->GetCentroCusto(); }
  IFin_CentroCustoPedidoCompraConsumo& Pedido() { return *Financeiro->GetCentroCustoPedidoCompraConsumo(); }
};

// Runs `corpo(sessao, numero)` in every session at once; answers what each one threw.
template <class Corpo>
std::vector<std::string> EmParalelo(int sessoes, Corpo corpo) {
  return testsupport::InParallel(sessoes, "tests-cc", [&](testsupport::HostSession& base, int numero) {
    Sessao sessao(base);
    corpo(sessao, numero);
  });
}

// The sessions that threw nothing; every other one must have failed with `recusa` at its start.
int Aceitas(const std::vector<std::string>& erros, const std::string& recusa) {
  int aceitas = 0;
  for (const std::string& erro : erros) {
    if (erro.empty()) {
      ++aceitas;
    } else {
      EXPECT_EQ(erro.rfind(recusa, 0), 0u) << erro;
    }
  }
  return aceitas;
}

// A fixture whose committed rows are removed by `limpeza` before and after, and set up by `cadastro`.
class Comprometido : public ::testing::Test {
 protected:
  Comprometido(const char* limpeza, const char* cadastro) : FLimpeza(limpeza), FCadastro(cadastro) {}
  void SetUp() override {
    FSessao = testsupport::NewSession("tests:cc-reliability");
    FSessao->ExecuteScript(FLimpeza);
    FSessao->ExecuteScript(FCadastro);
  }
  void TearDown() override {
    if (FSessao) FSessao->ExecuteScript(FLimpeza);
  }
  std::string Valor(const std::string& sql) { return testsupport::QueryValue(*FSessao, sql).value_or(""); }

  const char* FLimpeza;
  const char* FCadastro;
  std::unique_ptr<TOraSession> FSessao;
};

// RL1..RL3 share account 930001's standard apportionment; account 930002 puts everything on RL1,
// whose March 2026 budget in branch 93 is 1,000.00.
class CentroCustoConcorrencia : public Comprometido {
 protected:
  CentroCustoConcorrencia()
      : Comprometido(
            "DELETE FROM public.ZTRATEIOCENTROCUSTO WHERE RECNUM BETWEEN 9300000 AND 9399999;"
            "DELETE FROM public.ZTLANC WHERE RECNUM BETWEEN 9300000 AND 9399999;"
            "DELETE FROM public.ZTORCLANCENTROCUSTO WHERE CODFILIAL = '93';"
            "DELETE FROM public.ZTORCLAN WHERE CODFILIAL = '93';"
            "DELETE FROM public.ZTCONTACENTROCUSTO WHERE CODCONTA BETWEEN 930000 AND 930009;"
            "DELETE FROM public.ZTCONTA WHERE CODCONTA BETWEEN 930000 AND 930009;"
            "DELETE FROM public.ZTLIB WHERE CODIGOA LIKE 'RL%';"
            "DELETE FROM public.ZTCENTROCUSTO WHERE CODIGOCENTROCUSTO LIKE 'RL%';"
            "DELETE FROM public.ZTPARAMETROS WHERE CODFILIAL = '93';",
            "INSERT INTO public.ZTCENTROCUSTO (CODIGOCENTROCUSTO, DESCRICAO) VALUES ('RL1', 'UM'), ('RL2', 'DOIS'), "
            "('RL3', 'TRES');"
            "INSERT INTO public.ZTLIB (CODTABELA, CODFUNC, CODIGOA) VALUES (10, 1, 'RL1'), (10, 1, 'RL2'), "
            "(10, 1, 'RL3');"
            "INSERT INTO public.ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (930001, 'RATEADA', 'S'), "
            "(930002, 'ORCADA', 'S');"
            "INSERT INTO public.ZTCONTACENTROCUSTO (CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO) VALUES (930001, 'RL1', "
            "33.33), (930001, 'RL2', 33.33), (930001, 'RL3', 33.34), (930002, 'RL1', 100);"
            "INSERT INTO public.ZTORCLAN (CODCONTA, CODFILIAL, ANO, VLORCMES03) VALUES (930002, '93', 2026, 5000);"
            "INSERT INTO public.ZTORCLANCENTROCUSTO (ANO, MES, CODFILIAL, CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO, "
            "VALOR) VALUES (2026, 3, '93', 930002, 'RL1', 20, 1000);"
            "INSERT INTO public.ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('UTILIZACENTROCUSTO', '93', 'S'), "
            "('BLOQLANCDESPMAIORORCCC', '93', 'S');") {}

  // A payable entry of branch 93 due on 2026-03-10, committed.
  void Lancamento(double recnum, int conta, double valor) {
    FSessao->ExecuteScript("INSERT INTO public.ZTLANC (RECNUM, CODFILIAL, CODCONTA, VALOR, DTLANC, DTVENC) VALUES (" +
                           ShortestDecimal(recnum) + ", '93', " + std::to_string(conta) + ", " +
                           ShortestDecimal(valor) + ", DATE '2026-03-10', DATE '2026-03-10');");
  }
};

// Every session apportions the same entry of 100.00 at the same moment, each in its own
// transaction: the rows stay those of one apportionment (3 rows, 100.00), never the sum of several.
TEST_F(CentroCustoConcorrencia, SessionsApportioningOneEntryLeaveOneApportionment) {
  const int sessoes = testsupport::SoakSessions();
  for (int rodada = 0; rodada < 3; ++rodada) {
    SCOPED_TRACE("rodada " + std::to_string(rodada));
    // Even rounds apportion a posted entry (its row is the lock), odd ones an entry not posted yet
    // (its account is).
    const double recnum = kPrimeiroLancamento + rodada;
    if (rodada % 2 == 0) Lancamento(recnum, 930001, 100);
    int aceitas = 0;
    std::mutex contagem;
    const std::vector<std::string> erros = EmParalelo(sessoes, [&](Sessao& sessao, int) {
      TOraTransaction transacao(sessao.Host->Sessao());
      const bool gravou = sessao.Area().ProcessoCentroCusto(false, tlFinanceiro, "93", "930001", recnum, 100, kData,
                                                            false, "N", 0, false, kData, kData, false);
      transacao.Commit();
      if (gravou) {
        const std::lock_guard<std::mutex> guarda(contagem);
        ++aceitas;
      }
    });
    EXPECT_EQ(erros, std::vector<std::string>(static_cast<std::size_t>(sessoes)));
    const std::string filtro = " FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = " + ShortestDecimal(recnum);
    EXPECT_EQ(Valor("SELECT COUNT(*)" + filtro), "3");
    EXPECT_EQ(Valor("SELECT SUM(VALOR)" + filtro), "100");
    std::cout << "[figures] one entry, " << sessoes << " sessions, round " << rodada << ": " << aceitas
              << " apportionments saved, rows " << Valor("SELECT COUNT(*)" + filtro) << ", total "
              << Valor("SELECT SUM(VALOR)" + filtro) << "\n";
  }
}

// The same reversal sent by every session at once (a retried request): one writes the negative
// leg, the others wait for it and are refused.
TEST_F(CentroCustoConcorrencia, AReversalSentByEverySessionAtOnceIsWrittenOnce) {
  const int sessoes = testsupport::SoakSessions();
  const double origem = kPrimeiroLancamento + 10;
  const double perna = origem + 1;
  Lancamento(origem, 930001, 100);
  Lancamento(perna, 930001, -100);
  {
    Sessao sessao(99);
    TOraTransaction transacao(sessao.Host->Sessao());
    ASSERT_TRUE(sessao.Area().ProcessoCentroCusto(false, tlFinanceiro, "93", "930001", origem, 100, kData, false, "N",
                                                  0, false, kData, kData, false));
    transacao.Commit();
  }
  const std::vector<std::string> erros = EmParalelo(sessoes, [&](Sessao& sessao, int) {
    TOraTransaction transacao(sessao.Host->Sessao());
    sessao.Area().estornarRateio(static_cast<std::int64_t>(origem), static_cast<std::int64_t>(perna), -1);
  });
  const std::string recusa = "Lançamento " + ShortestDecimal(perna) + " já possui rateio de Centro de Custo!";
  const int aceitas = Aceitas(erros, recusa);
  EXPECT_EQ(aceitas, 1);
  for (const std::string& erro : erros) EXPECT_TRUE(erro.empty() || erro == recusa) << erro;
  const std::string filtro = " FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = " + ShortestDecimal(perna);
  EXPECT_EQ(Valor("SELECT COUNT(*)" + filtro), "3");
  EXPECT_EQ(Valor("SELECT SUM(VALOR)" + filtro), "-100");
  std::cout << "[figures] one reversal, " << sessoes << " sessions: " << aceitas << " written, negative leg "
            << Valor("SELECT SUM(VALOR)" + filtro) << "\n";
}

// Every session posts 200.00 of its own entry to cost center RL1 through the form, whose March
// budget is 1,000.00 and may not be exceeded: exactly five pass, whatever the interleaving.
TEST_F(CentroCustoConcorrencia, ConcurrentPostingsNeverExceedACostCentersBudget) {
  const int sessoes = testsupport::SoakSessions();
  for (int numero = 0; numero < sessoes; ++numero) Lancamento(kPrimeiroLancamento + 100 + numero, 930002, 200);
  const std::vector<std::string> erros = EmParalelo(sessoes, [&](Sessao& sessao, int numero) {
    TOraTransaction transacao(sessao.Host->Sessao());
    IFin_CentroCusto& area = sessao.Area();
    (void)area.ProcessoCentroCusto(false, tlFinanceiro, "93", "930002", kPrimeiroLancamento + 100 + numero, 200, kData,
                                   true, "N", 0, false, kData, kData, false);
    area.ValidaDadosInformados_Inclusao();
    area.InsertCentroCusto_Banco();
    transacao.Commit();
  });
  const int aceitas =
      Aceitas(erros, "Lançamentos do centro de custo RL1 para 03/2026 na filial 93 ultrapassou o valor orçado");
  const std::string realizado =
      Valor("SELECT SUM(VALOR) FROM ZTRATEIOCENTROCUSTO WHERE RECNUM BETWEEN 9300100 AND 9300199");
  EXPECT_EQ(aceitas, std::min(sessoes, 5));
  EXPECT_EQ(realizado, ShortestDecimal(200.0 * std::min(sessoes, 5)));
  std::cout << "[figures] budget 1,000.00, " << sessoes << " sessions posting 200.00: " << aceitas
            << " accepted, realized " << realizado << "\n";
}

// Installments of purchase orders: account 940001 splits over RP1..RP3; account 940002 puts
// everything on RP1, whose March 2026 budget in branch 94 is 1,000.00 and may not be exceeded
// (parameter 3921).
class CentroCustoPedidoConcorrencia : public Comprometido {
 protected:
  CentroCustoPedidoConcorrencia()
      : Comprometido(
            "DELETE FROM public.ZTRATEIOCENTROCUSTOZTLANC3 WHERE NUMPED BETWEEN 9400000 AND 9499999;"
            "DELETE FROM public.ZTLANC3 WHERE NUMPED BETWEEN 9400000 AND 9499999;"
            "DELETE FROM public.ZTORCLANCENTROCUSTO WHERE CODFILIAL = '94';"
            "DELETE FROM public.ZTORCLAN WHERE CODFILIAL = '94';"
            "DELETE FROM public.ZTCONTACENTROCUSTO WHERE CODCONTA BETWEEN 940000 AND 940009;"
            "DELETE FROM public.ZTCONTA WHERE CODCONTA BETWEEN 940000 AND 940009;"
            "DELETE FROM public.ZTLIB WHERE CODIGOA LIKE 'RP%';"
            "DELETE FROM public.ZTCENTROCUSTO WHERE CODIGOCENTROCUSTO LIKE 'RP%';"
            "DELETE FROM public.ZTPARAMETROS WHERE CODFILIAL = '94';",
            "INSERT INTO public.ZTCENTROCUSTO (CODIGOCENTROCUSTO, DESCRICAO) VALUES ('RP1', 'UM'), ('RP2', 'DOIS'), "
            "('RP3', 'TRES');"
            "INSERT INTO public.ZTLIB (CODTABELA, CODFUNC, CODIGOA) VALUES (10, 1, 'RP1'), (10, 1, 'RP2'), "
            "(10, 1, 'RP3');"
            "INSERT INTO public.ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (940001, 'RATEADA', 'S'), "
            "(940002, 'ORCADA', 'S');"
            "INSERT INTO public.ZTCONTACENTROCUSTO (CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO) VALUES (940001, 'RP1', "
            "33.33), (940001, 'RP2', 33.33), (940001, 'RP3', 33.34), (940002, 'RP1', 100);"
            "INSERT INTO public.ZTORCLAN (CODCONTA, CODFILIAL, ANO, VLORCMES03) VALUES (940002, '94', 2026, 5000);"
            "INSERT INTO public.ZTORCLANCENTROCUSTO (ANO, MES, CODFILIAL, CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO, "
            "VALOR) VALUES (2026, 3, '94', 940002, 'RP1', 20, 1000);"
            "INSERT INTO public.ZTLANC3 (NUMPED, PREST, DTVENC) VALUES (9400000, '1', DATE '2026-03-10');"
            "INSERT INTO public.ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES "
            "('REALIZARATEIOPEDIDOCOMPRACONSUMO', '94', 'S'), ('BLOQLANCACIMAORCADOCENTROCUSTO', '94', 'S');") {}

  // Every session runs the installment `prest` of order `numped(numero)` of `valor` on `conta`,
  // committing; answers what each threw.
  template <class Pedido>
  std::vector<std::string> Processar(int sessoes, const char* conta, double valor, Pedido numped, const char* prest) {
    return EmParalelo(sessoes, [&](Sessao& sessao, int numero) {
      TOraTransaction transacao(sessao.Host->Sessao());
      (void)sessao.Pedido().ProcessoCentroCusto(false, "94", conta, valor, numped(numero), prest, kData, false, false);
      transacao.Commit();
    });
  }
};

// Every session posts 200.00 of its own installment to RP1 at the same moment: exactly five fit
// in the budget of 1,000.00, whatever the interleaving; the others are refused with the budget
// message and leave nothing behind.
TEST_F(CentroCustoPedidoConcorrencia, ConcurrentInstallmentsNeverExceedACostCentersBudget) {
  const int sessoes = testsupport::SoakSessions();
  const int aceitas =
      Aceitas(Processar(
                  sessoes, "940002", 200, [](int numero) { return 9400100.0 + numero; }, "1"),
              "Lançamentos do centro de custo RP1 para 03/2026 na filial 94 ultrapassou o valor orçado");
  const std::string realizado =
      Valor("SELECT SUM(VALOR) FROM ZTRATEIOCENTROCUSTOZTLANC3 WHERE NUMPED BETWEEN 9400100 AND 9400199");
  EXPECT_EQ(aceitas, std::min(sessoes, 5));
  EXPECT_EQ(realizado, ShortestDecimal(200.0 * std::min(sessoes, 5)));
  std::cout << "[figures] order budget 1,000.00, " << sessoes << " sessions posting 200.00: " << aceitas
            << " accepted, realized " << realizado << "\n";
}

// Every session apportions the same installment at once: its rows stay those of one
// apportionment (3 rows, 100.00), never the sum of several. Installment 1 is in ZTLANC3 (its row
// is the lock), installment 2 is not (its account is).
TEST_F(CentroCustoPedidoConcorrencia, SessionsApportioningOneInstallmentLeaveOneApportionment) {
  const int sessoes = testsupport::SoakSessions();
  for (const char* prest : {"1", "2"}) {
    SCOPED_TRACE(prest);
    EXPECT_EQ(Processar(
                  sessoes, "940001", 100, [](int) { return 9400000.0; }, prest),
              std::vector<std::string>(static_cast<std::size_t>(sessoes)));
    const std::string filtro =
        std::string(" FROM ZTRATEIOCENTROCUSTOZTLANC3 WHERE NUMPED = 9400000 AND PREST = '") + prest + "'";
    EXPECT_EQ(Valor("SELECT COUNT(*)" + filtro), "3");
    EXPECT_EQ(Valor("SELECT SUM(VALOR)" + filtro), "100");
  }
}

}  // namespace
