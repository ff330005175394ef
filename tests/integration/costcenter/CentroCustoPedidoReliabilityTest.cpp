#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "host/THostQuorvin.h"
#include "oradb/TOraSession.h"
#include "rtl/Formatacao.h"
#include "support/ConcurrentHosts.h"
#include "support/TestDatabase.h"

// Installments of purchase orders under concurrent sessions, each thread a host of its own on
// committed rows. The rows live under keys no other test uses (branch 94, accounts 94000x, cost
// centers RP*, orders from 9400000) and are removed before and after.
namespace {

const char* const kLimpeza =
    "DELETE FROM public.ZTRATEIOCENTROCUSTOZTLANC3 WHERE NUMPED BETWEEN 9400000 AND 9499999;"
    "DELETE FROM public.ZTLANC3 WHERE NUMPED BETWEEN 9400000 AND 9499999;"
    "DELETE FROM public.ZTORCLANCENTROCUSTO WHERE CODFILIAL = '94';"
    "DELETE FROM public.ZTORCLAN WHERE CODFILIAL = '94';"
    "DELETE FROM public.ZTCONTACENTROCUSTO WHERE CODCONTA BETWEEN 940000 AND 940009;"
    "DELETE FROM public.ZTCONTA WHERE CODCONTA BETWEEN 940000 AND 940009;"
    "DELETE FROM public.ZTLIB WHERE CODIGOA LIKE 'RP%';"
    "DELETE FROM public.ZTCENTROCUSTO WHERE CODIGOCENTROCUSTO LIKE 'RP%';"
    "DELETE FROM public.ZTPARAMETROS WHERE CODFILIAL = '94';";

struct Sessao : testsupport::HostSession {
  explicit Sessao(testsupport::HostSession& base) : HostSession(std::move(base)) {}
  IFin_CentroCustoPedidoCompraConsumo& Area() { return *Financeiro->GetCentroCustoPedidoCompraConsumo(); }
};

template <class Corpo>
std::vector<std::string> EmParalelo(int sessoes, Corpo corpo) {
  return testsupport::InParallel(sessoes, "tests-ccped", [&](testsupport::HostSession& base, int numero) {
    Sessao sessao(base);
    corpo(sessao, numero);
  });
}

const TDateTime kData = TDateTime::EncodeDate(2026, 3, 10);

class CentroCustoPedidoConcorrencia : public ::testing::Test {
 protected:
  void SetUp() override {
    FSessao = testsupport::NewSession("tests:ccped-reliability");
    FSessao->ExecuteScript(kLimpeza);
    // Account 940001 splits over RP1..RP3; account 940002 puts everything on RP1, whose March
    // 2026 budget in branch 94 is 1,000.00 and may not be exceeded (parameter 3921).
    FSessao->ExecuteScript(
        "INSERT INTO public.ZTCENTROCUSTO (CODIGOCENTROCUSTO, DESCRICAO) VALUES ('RP1', 'UM'), ('RP2', 'DOIS'), "
        "('RP3', 'TRES');"
        "INSERT INTO public.ZTLIB (CODTABELA, CODFUNC, CODIGOA) VALUES (10, 1, 'RP1'), (10, 1, 'RP2'), (10, 1, 'RP3');"
        "INSERT INTO public.ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (940001, 'RATEADA', 'S'), "
        "(940002, 'ORCADA', 'S');"
        "INSERT INTO public.ZTCONTACENTROCUSTO (CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO) VALUES (940001, 'RP1', "
        "33.33), (940001, 'RP2', 33.33), (940001, 'RP3', 33.34), (940002, 'RP1', 100);"
        "INSERT INTO public.ZTORCLAN (CODCONTA, CODFILIAL, ANO, VLORCMES03) VALUES (940002, '94', 2026, 5000);"
        "INSERT INTO public.ZTORCLANCENTROCUSTO (ANO, MES, CODFILIAL, CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO, "
        "VALOR) VALUES (2026, 3, '94', 940002, 'RP1', 20, 1000);"
        "INSERT INTO public.ZTLANC3 (NUMPED, PREST, DTVENC) VALUES (9400000, '1', DATE '2026-03-10');"
        "INSERT INTO public.ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('REALIZARATEIOPEDIDOCOMPRACONSUMO', '94', "
        "'S'), ('BLOQLANCACIMAORCADOCENTROCUSTO', '94', 'S');");
  }
  void TearDown() override {
    if (FSessao) FSessao->ExecuteScript(kLimpeza);
  }
  std::string Valor(const std::string& sql) { return testsupport::QueryValue(*FSessao, sql).value_or(""); }

  std::unique_ptr<TOraSession> FSessao;
};

// Every session posts 200.00 of its own installment to RP1 at the same moment: exactly five fit
// in the budget of 1,000.00, whatever the interleaving; the others are refused with the budget
// message and leave nothing behind.
TEST_F(CentroCustoPedidoConcorrencia, ConcurrentInstallmentsNeverExceedACostCentersBudget) {
  const int sessoes = testsupport::SoakSessions();
  const std::vector<std::string> erros = EmParalelo(sessoes, [&](Sessao& sessao, int numero) {
    TOraTransaction transacao(sessao.Host->Sessao());
    (void)sessao.Area().ProcessoCentroCusto(false, "94", "940002", 200, 9400100 + numero, "1", kData, false, false);
    transacao.Commit();
  });
  int aceitas = 0;
  for (const std::string& erro : erros) {
    if (erro.empty()) {
      ++aceitas;
    } else {
      EXPECT_EQ(
          erro.rfind("Lançamentos do centro de custo RP1 para 03/2026 na filial 94 ultrapassou o valor orçado", 0), 0u)
          << erro;
    }
  }
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
    const std::vector<std::string> erros = EmParalelo(sessoes, [&](Sessao& sessao, int) {
      TOraTransaction transacao(sessao.Host->Sessao());
      (void)sessao.Area().ProcessoCentroCusto(false, "94", "940001", 100, 9400000, prest, kData, false, false);
      transacao.Commit();
    });
    EXPECT_EQ(erros, std::vector<std::string>(static_cast<std::size_t>(sessoes)));
    const std::string filtro =
        std::string(" FROM ZTRATEIOCENTROCUSTOZTLANC3 WHERE NUMPED = 9400000 AND PREST = '") + prest + "'";
    EXPECT_EQ(Valor("SELECT COUNT(*)" + filtro), "3");
    EXPECT_EQ(Valor("SELECT SUM(VALOR)" + filtro), "100");
  }
}

// Bad keys from a caller never reach the tables: each is refused with its text, nothing written.
TEST_F(CentroCustoPedidoConcorrencia, BadOrderNumbersAndInstallmentsAreRefusedBeforeAnyWrite) {
  const struct {
    double numped;
    const char* prest;
    const char* erro;
  } casos[] = {
      {-9400001, "1", "Número de pedido inválido para o rateio de Centro de Custo: -9400001!"},
      {9400001.5, "1", "Número de pedido inválido para o rateio de Centro de Custo: 9400001.5!"},
      {1e12, "1", "Número de pedido inválido para o rateio de Centro de Custo: 1000000000000!"},
      {9400001, "ABC", "Prestação \"ABC\" inválida para o rateio de Centro de Custo: informe até 2 caracteres!"},
      {9400001, "1'--", "Prestação \"1'--\" inválida para o rateio de Centro de Custo: informe até 2 caracteres!"},
  };
  for (const auto& caso : casos) {
    const std::vector<std::string> erros = EmParalelo(1, [&](Sessao& sessao, int) {
      TOraTransaction transacao(sessao.Host->Sessao());
      (void)sessao.Area().ProcessoCentroCusto(false, "94", "940001", 100, caso.numped, caso.prest, kData, false, false);
      transacao.Commit();
    });
    EXPECT_EQ(erros, std::vector<std::string>{caso.erro});
  }
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTOZTLANC3 WHERE NUMPED <> 9400000 AND CODFILIAL = '94'"), "0");
}

}  // namespace
