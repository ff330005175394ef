#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/fin/RFin_IncluirContasPagar.h"
#include "support/ConcurrentHosts.h"
#include "support/TestDatabase.h"

// The account apportionment under concurrent sessions: each thread is a host of its own (its own
// connection, facade and transaction) posting the same split, committed. The rows live under keys
// no other test uses (branch 92, accounts 92000x, cost centers RA*, apportionment 920, supplier
// 9201) and are removed before and after. QUORVIN_SOAK_N sets the number of sessions (default 8).
namespace {

const char* const kLimpeza =
    "DELETE FROM public.ZTRATEIOCENTROCUSTO WHERE CODFILIAL = '92';"
    "DELETE FROM public.ZTRATEIOCONTAS WHERE CODFILIAL = '92';"
    "DELETE FROM public.ZTLANC WHERE CODFILIAL = '92';"
    "DELETE FROM public.ZTORCLAN WHERE CODFILIAL = '92';"
    "DELETE FROM public.ZTITENSRATEIOPADRAOCONTA WHERE CODRATEIOCONTA = 920;"
    "DELETE FROM public.ZTCONTACENTROCUSTO WHERE CODCONTA BETWEEN 920000 AND 920009;"
    "DELETE FROM public.ZTCONTA WHERE CODCONTA BETWEEN 920000 AND 920009;"
    "DELETE FROM public.ZTLIB WHERE CODIGOA LIKE 'RA%';"
    "DELETE FROM public.ZTCENTROCUSTO WHERE CODIGOCENTROCUSTO LIKE 'RA%';"
    "DELETE FROM public.ZTFORNEC WHERE CODFORNEC = 9201;"
    "DELETE FROM public.ZTPARAMETROS WHERE CODFILIAL = '92';";

class RateioContasConcorrencia : public ::testing::Test {
 protected:
  void SetUp() override {
    FSessao = testsupport::NewSession("tests:accountsplit-reliability");
    FSessao->ExecuteScript(kLimpeza);
    // Apportionment 920 splits half to 920001 (cost centers RA1 and RA2, half each) and half to
    // 920002 (none).
    FSessao->ExecuteScript(
        "INSERT INTO public.ZTCENTROCUSTO (CODIGOCENTROCUSTO, DESCRICAO) VALUES ('RA1', 'UM'), ('RA2', 'DOIS');"
        "INSERT INTO public.ZTLIB (CODTABELA, CODFUNC, CODIGOA) VALUES (10, 1, 'RA1'), (10, 1, 'RA2');"
        "INSERT INTO public.ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (920001, 'ORCADA', 'S'), "
        "(920002, 'LIVRE', 'N');"
        "INSERT INTO public.ZTCONTACENTROCUSTO (CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO) VALUES (920001, 'RA1', 50), "
        "(920001, 'RA2', 50);"
        "INSERT INTO public.ZTITENSRATEIOPADRAOCONTA (CODRATEIOCONTA, CODIGOCONTA, PERCENTUAL) VALUES "
        "(920, '920001', 50), (920, '920002', 50);"
        "INSERT INTO public.ZTFORNEC (CODFORNEC, FORNECEDOR) VALUES (9201, 'FORNECEDOR DO RATEIO');");
  }
  void TearDown() override {
    if (FSessao) FSessao->ExecuteScript(kLimpeza);
  }
  std::string Valor(const std::string& sql) { return testsupport::QueryValue(*FSessao, sql).value_or(""); }

  // Every session posts a split of 100.00 by apportionment 920 at once, in routine `rotina`;
  // answers what each one threw ("" when posted and committed) and keeps the entries created.
  std::vector<std::string> RatearEmParalelo(int sessoes, int rotina, std::vector<std::vector<double>>& criados) {
    criados.assign(static_cast<std::size_t>(sessoes), {});
    return testsupport::InParallel(
        sessoes, "tests-rateio",
        [&](testsupport::HostSession& sessao, int numero) {
          TOraTransaction transacao(sessao.Host->Sessao());
          const TDateTime dia = TDateTime::EncodeDate(2026, 3, 2);
          IFin_RateioContas& area = *sessao.Financeiro->GetRateioContas();
          (void)area.ProcessoRateioConta(true, tlFinanceiro, "92", 920, 100, dia, 1, false, 0, 0, 0);
          area.ValidarDadosInformadosParaInclusao();
          RFin_IncluirContasPagar registro;
          registro.Inicializar();
          registro.TIPOLANC = "C";
          registro.VALOR = 100;
          registro.HISTORICO = "RATEIO " + std::to_string(numero);
          registro.TIPOPARCEIRO = "F";
          registro.CODFORNEC = 9201;
          registro.CODFILIAL = "92";
          registro.DTLANC = dia;
          registro.DTVENC = TDateTime::EncodeDate(2026, 3, 20);
          registro.DTEMISSAO = dia;
          area.InserirRateioConta(registro);
          transacao.Commit();
          criados[static_cast<std::size_t>(numero)] = registro.RecNums();
        },
        rotina);
  }

  std::unique_ptr<TOraSession> FSessao;
};

// Sessions posting the same split at the same moment all succeed, every entry with a number of its
// own, each split's entries sharing their first entry as principal.
TEST_F(RateioContasConcorrencia, SessionsPostingTheSameSplitGetDistinctEntries) {
  const int sessoes = testsupport::SoakSessions();
  std::vector<std::vector<double>> criados;
  const std::vector<std::string> erros = RatearEmParalelo(sessoes, 0, criados);
  EXPECT_EQ(erros, std::vector<std::string>(static_cast<std::size_t>(sessoes)));
  std::set<double> todos;
  for (const std::vector<double>& recnums : criados) {
    ASSERT_EQ(recnums.size(), 2u);
    todos.insert(recnums.begin(), recnums.end());
    EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTLANC WHERE RECNUMPRINC = " + ShortestDecimal(recnums[0])), "2");
  }
  EXPECT_EQ(todos.size(), static_cast<std::size_t>(2 * sessoes));
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTLANC WHERE CODFILIAL = '92'"), std::to_string(2 * sessoes));
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTRATEIOCONTAS WHERE CODFILIAL = '92'"), std::to_string(2 * sessoes));
  EXPECT_EQ(Valor("SELECT SUM(VALOR) FROM ZTRATEIOCENTROCUSTO WHERE CODFILIAL = '92'"),
            ShortestDecimal(50.0 * sessoes));
  std::cout << "[figures] " << sessoes << " sessions posting one split each: " << todos.size() << " distinct entries\n";
}

// With account 920001's March budget at 200.00 and expenses above the budget blocked, only four
// splits fit (50.00 each on it); the others are refused whole, leaving nothing of themselves.
TEST_F(RateioContasConcorrencia, ABudgetAtItsLimitIsNeverOverspent) {
  FSessao->ExecuteScript(
      "INSERT INTO public.ZTORCLAN (CODCONTA, CODFILIAL, ANO, VLORCMES03) VALUES (920001, '92', 2026, 200), "
      "(920002, '92', 2026, 1000000);"
      "INSERT INTO public.ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('FIL_BLOQDESPVLRORC', '92', 'S');");
  const int sessoes = testsupport::SoakSessions();
  std::vector<std::vector<double>> criados;
  const std::vector<std::string> erros = RatearEmParalelo(sessoes, 631, criados);
  int aceitos = 0;
  for (const std::string& erro : erros) {
    if (erro.empty()) {
      ++aceitos;
      continue;
    }
    EXPECT_NE(erro.find("Lançamentos da Conta 920001 para 03/2026 na Filial 92 ultrapassou o Valor Orçado !"),
              std::string::npos)
        << erro;
  }
  EXPECT_EQ(aceitos, std::min(sessoes, 4));
  EXPECT_EQ(Valor("SELECT SUM(VALOR) FROM ZTLANC WHERE CODFILIAL = '92' AND CODCONTA = 920001"),
            ShortestDecimal(50.0 * std::min(sessoes, 4)));
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTLANC WHERE CODFILIAL = '92'"), std::to_string(2 * aceitos));
  EXPECT_EQ(Valor("SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTO WHERE CODFILIAL = '92'"), std::to_string(2 * aceitos));
  std::cout << "[figures] budget 200.00, " << sessoes << " sessions splitting 100.00 (50.00 on it): " << aceitos
            << " splits accepted\n";
}

}  // namespace
