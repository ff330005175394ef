#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "customercredit/Uclsfin_bllcreditocliente.h"
#include "oradb/TOraSession.h"
#include "payable/Uclsfin_contaspagar.h"
#include "rtl/Formatacao.h"
#include "support/ConcurrentHosts.h"
#include "support/TestDatabase.h"

// Numbers drawn by sessions at the same time, each committing what it drew: a customer credit's
// code and credit number, and the bordero number of an entry settled on its own. No number is
// handed out twice. The rows use keys no other test uses (branch 74, bank, supplier and customer
// 9741) and are removed before and after.
namespace {

const char* const kLimpeza =
    "DELETE FROM public.ZTLANC WHERE CODFILIAL = '74';"
    "DELETE FROM public.ZTMOVCR WHERE CODBANCO = 9741;"
    "DELETE FROM public.ZTESTCR WHERE CODBANCO = 9741;"
    "DELETE FROM public.ZTCRECLI WHERE CODCLI = 9741;"
    "DELETE FROM public.ZTBANCO WHERE CODBANCO = 9741;"
    "DELETE FROM public.ZTFORNEC WHERE CODFORNEC = 9741;"
    "DELETE FROM public.ZTEMPR WHERE MATRICULA = 1 AND NOME = 'OPERADOR DOS TESTES';";

class NumeracaoConcorrencia : public ::testing::Test {
 protected:
  void SetUp() override {
    FSessao = testsupport::NewSession("tests:numbering");
    FSessao->ExecuteScript(kLimpeza);
    FSessao->ExecuteScript(
        "INSERT INTO public.ZTBANCO (CODBANCO, NOME) VALUES (9741, 'CAIXA DA NUMERACAO');"
        "INSERT INTO public.ZTFORNEC (CODFORNEC, FORNECEDOR) VALUES (9741, 'FORNECEDOR DA NUMERACAO');"
        "INSERT INTO public.ZTEMPR (MATRICULA, NOME, NOME_GUERRA, TIPO, SITUACAO) SELECT 1, 'OPERADOR DOS TESTES', "
        "'OPERADOR UM', 'F', 'A' FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM public.ZTEMPR WHERE MATRICULA = 1);");
  }
  void TearDown() override {
    if (FSessao) FSessao->ExecuteScript(kLimpeza);
  }
  // The distinct values of `coluna` among the rows of `onde`, and how many rows there are.
  std::pair<std::string, std::string> Distintos(const std::string& coluna, const std::string& onde) {
    return {testsupport::QueryValue(*FSessao, "SELECT COUNT(DISTINCT " + coluna + ") FROM " + onde).value_or("?"),
            testsupport::QueryValue(*FSessao, "SELECT COUNT(" + coluna + ") FROM " + onde).value_or("?")};
  }
  std::unique_ptr<TOraSession> FSessao;
};

TEST_F(NumeracaoConcorrencia, CreditsIncludedAtOnceNeverShareACodeOrACreditNumber) {
  const int sessoes = testsupport::SoakSessions();
  const int rodadas = 3;
  std::mutex guarda;
  std::set<double> codigos;
  const std::vector<std::string> erros =
      testsupport::InParallel(sessoes, "tests-numbering-credit", [&](testsupport::HostSession& sessao, int) {
        for (int rodada = 0; rodada < rodadas; ++rodada) {
          TOraTransaction transacao(sessao.Host->Sessao());
          TCreditoCliente credito(9741, 10 + rodada, "1");
          credito.HISTORICO = "NUMERACAO";
          TMovimentacaoFinanceira caixa;
          caixa.CodigoCaixaBanco = 9741;
          caixa.CodigoCobranca = "D";
          credito.Movimentacao = caixa;
          std::string mensagem;
          if (!sessao.Financeiro->GetCreditoCliente()->IncluirCreditoCliente(credito, mensagem)) {
            throw std::runtime_error("não incluído: " + mensagem);
          }
          transacao.Commit();
          const std::lock_guard<std::mutex> trava(guarda);
          codigos.insert(credito.CODIGO);
        }
      });
  for (const std::string& erro : erros) EXPECT_EQ(erro, "");
  const std::string total = std::to_string(sessoes * rodadas);
  EXPECT_EQ(codigos.size(), static_cast<std::size_t>(sessoes * rodadas));
  EXPECT_EQ(Distintos("CODIGO", "ZTCRECLI WHERE CODCLI = 9741"), std::make_pair(total, total));
  EXPECT_EQ(Distintos("NUMCRED", "ZTCRECLI WHERE CODCLI = 9741"), std::make_pair(total, total));
  std::cout << "[figures] " << sessoes << " sessions x " << rodadas << " credits: " << codigos.size()
            << " distinct codes\n";
}

TEST_F(NumeracaoConcorrencia, EntriesSettledAtOnceEachGetABorderoNumberOfTheirOwn) {
  const int sessoes = testsupport::SoakSessions();
  for (int i = 0; i < sessoes; ++i) {
    FSessao->ExecuteScript(
        "INSERT INTO public.ZTLANC (RECNUM, CODFILIAL, CODCONTA, CODFORNEC, TIPOPARCEIRO, TIPOLANC, VALOR, HISTORICO, "
        "DTLANC, DTVENC) VALUES (" +
        std::to_string(97410001 + i) +
        ", '74', 3101, 9741, 'F', 'C', 10, 'NUMERACAO', DATE '2026-03-02', DATE '2026-03-20');");
  }
  const std::vector<std::string> erros = testsupport::InParallel(
      sessoes, "tests-numbering-bordero",
      [&](testsupport::HostSession& sessao, int numero) {
        TOraTransaction transacao(sessao.Host->Sessao());
        (void)sessao.Financeiro->GetContasPagar()->BaixarLancamentoAutomaticamente(97410001 + numero, 9741, "", 0, 0);
        transacao.Commit();
      },
      740);
  for (const std::string& erro : erros) EXPECT_EQ(erro, "");
  const std::string total = std::to_string(sessoes);
  EXPECT_EQ(Distintos("NUMBORDERO", "ZTLANC WHERE CODFILIAL = '74' AND DTPAGTO IS NOT NULL"),
            std::make_pair(total, total));
  EXPECT_EQ(Distintos("NUMTRANS", "ZTMOVCR WHERE CODBANCO = 9741"), std::make_pair(total, total));
  std::cout << "[figures] " << sessoes
            << " sessions settling an entry each: " << Distintos("NUMBORDERO", "ZTLANC WHERE CODFILIAL = '74'").first
            << " distinct bordero numbers\n";
}

}  // namespace
