#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/fin/RFin_IncluirContasPagar.h"
#include "support/ConcurrentHosts.h"
#include "support/TestDatabase.h"

// The payable area under concurrent sessions: each thread is a host of its own (its own
// connection, facade and transaction) posting committed entries. The rows live under keys no
// other test uses (branch 94, account 940001, supplier 9401) and are removed before and after.
// QUORVIN_SOAK_N sets the number of sessions (default 8; the test also runs 20).
namespace {

const char* const kLimpeza =
    "DELETE FROM public.ZTLANC WHERE CODFILIAL = '94';"
    "DELETE FROM public.ZTLANCBLOQ WHERE CODFILIAL = '94';"
    "DELETE FROM public.ZTORCLAN WHERE CODFILIAL = '94';"
    "DELETE FROM public.ZTCONTA WHERE CODCONTA = 940001;"
    "DELETE FROM public.ZTFORNEC WHERE CODFORNEC = 9401;"
    "DELETE FROM public.ZTPARAMETROS WHERE CODFILIAL = '94';";

class ContasPagarConcorrencia : public ::testing::Test {
 protected:
  void SetUp() override {
    FSessao = testsupport::NewSession("tests:payable-reliability");
    FSessao->ExecuteScript(kLimpeza);
    // Account 940001 of branch 94 has 1,000.00 for March 2026, and the branch blocks expenses over
    // the budget.
    FSessao->ExecuteScript(
        "INSERT INTO public.ZTCONTA (CODCONTA, CONTA) VALUES (940001, 'ORCADA');"
        "INSERT INTO public.ZTFORNEC (CODFORNEC, FORNECEDOR) VALUES (9401, 'FORNECEDOR DO ORCAMENTO');"
        "INSERT INTO public.ZTORCLAN (CODCONTA, CODFILIAL, ANO, VLORCMES03) VALUES (940001, '94', 2026, 1000);"
        "INSERT INTO public.ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('FIL_BLOQDESPVLRORC', '94', 'S');");
  }
  void TearDown() override {
    if (FSessao) FSessao->ExecuteScript(kLimpeza);
  }
  std::string Valor(const std::string& sql) { return testsupport::QueryValue(*FSessao, sql).value_or(""); }

  // Every session posts `valor` through the payable entry of routine 631 at once; answers what each
  // one threw ("" when it was posted and committed).
  std::vector<std::string> PostarEmParalelo(int sessoes, double valor) {
    return testsupport::InParallel(
        sessoes, "tests-cp",
        [&](testsupport::HostSession& sessao, int numero) {
          sessao.Host->SetConfirmationPolicy([](const std::string&) { return TModalResult::mrOk; });
          TOraTransaction transacao(sessao.Host->Sessao());
          RFin_IncluirContasPagar registro;
          registro.Inicializar();
          registro.RECNUM = sessao.Host->ProximoRecNum();
          registro.TIPOLANC = "C";
          registro.VALOR = valor;
          registro.CODCONTA = 940001;
          registro.HISTORICO = "COMPRA " + std::to_string(numero);
          registro.TIPOPARCEIRO = "F";
          registro.CODFORNEC = 9401;
          registro.CODFILIAL = "94";
          registro.DTLANC = TDateTime::EncodeDate(2026, 3, 2);
          registro.DTVENC = TDateTime::EncodeDate(2026, 3, 20);
          registro.DTEMISSAO = TDateTime::EncodeDate(2026, 3, 2);
          if (!sessao.Financeiro->GetContasPagar()->Incluir(registro)) {
            throw std::runtime_error("não incluído: " + registro.MENSAGEM);
          }
          transacao.Commit();
        },
        631);
  }

  std::unique_ptr<TOraSession> FSessao;
};

// However the sessions interleave, the entries accepted never add up to more than the budget: five
// of 200.00, the others refused with the budget's own message.
TEST_F(ContasPagarConcorrencia, ConcurrentPostingsNeverExceedTheAccountsBudget) {
  for (const int sessoes : {testsupport::SoakSessions(), 20}) {
    FSessao->ExecuteScript("DELETE FROM public.ZTLANC WHERE CODFILIAL = '94';");
    const std::vector<std::string> erros = PostarEmParalelo(sessoes, 200);
    int aceitas = 0;
    for (const std::string& erro : erros) {
      if (erro.empty()) {
        ++aceitas;
        continue;
      }
      EXPECT_EQ(
          erro.rfind("Validação de Orçamento! \rLançamentos da Conta 940001 para 03/2026 na Filial 94 ultrapassou "
                     "o Valor Orçado !",
                     0),
          0u)
          << erro;
      EXPECT_NE(erro.find("Usuário sem permissão para lançar acima do orçamento."), std::string::npos) << erro;
    }
    const std::string lancado = Valor("SELECT SUM(VALOR) FROM ZTLANC WHERE CODFILIAL = '94'");
    EXPECT_EQ(aceitas, 5) << sessoes << " sessions";
    EXPECT_EQ(lancado, "1000") << sessoes << " sessions";
    std::cout << "[figures] budget 1,000.00, " << sessoes << " sessions posting 200.00: " << aceitas
              << " accepted, posted " << lancado << "\n";
  }
}

// Where the branch works with supplementation, what the budget cannot take is held for approval
// instead: the posted entries still add up to the budget, and every other one waits in ZTLANCBLOQ.
TEST_F(ContasPagarConcorrencia, ConcurrentPostingsOverTheBudgetAreHeldNotPosted) {
  FSessao->ExecuteScript("INSERT INTO public.ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES ('TRABSUPLORC', '94', 'S');");
  const int sessoes = testsupport::SoakSessions();
  const std::vector<std::string> erros = PostarEmParalelo(sessoes, 200);
  for (const std::string& erro : erros) EXPECT_EQ(erro, "");
  const std::string lancado = Valor("SELECT SUM(VALOR) FROM ZTLANC WHERE CODFILIAL = '94'");
  const std::string retidas = Valor("SELECT COUNT(*) FROM ZTLANCBLOQ WHERE CODFILIAL = '94'");
  EXPECT_EQ(lancado, "1000");
  EXPECT_EQ(retidas, std::to_string(sessoes - 5));
  std::cout << "[figures] budget 1,000.00 with supplementation, " << sessoes << " sessions posting 200.00: posted "
            << lancado << ", held " << retidas << "\n";
}

}  // namespace
