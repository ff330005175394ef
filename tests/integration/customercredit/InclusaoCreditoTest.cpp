// Inclusion of a customer credit with its money side, its checks and its log.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "CreditoClienteFixture.h"
#include "oradb/TOraSession.h"
#include "support/Failure.h"

namespace creditotest {
namespace {

using Inclusao = CreditoClienteTest;

TEST_F(Inclusao, ByCashPostsTheMovementAndNumbersTheCredit) {
  TCreditoCliente c = PorCaixa(150.255);
  c.NUMNOTA = 123456789;
  std::string mensagem = "antes";
  ASSERT_TRUE(Credito().IncluirCreditoCliente(c, mensagem));
  EXPECT_EQ(mensagem, "");
  EXPECT_GT(c.CODIGO, 0);
  EXPECT_GT(c.NUMTRANS, 0);
  EXPECT_GT(c.NUMCRED, 0);
  EXPECT_EQ(c.CODMOVIMENTO, kCaixa);
  const std::string codigo = ShortestDecimal(c.CODIGO);
  EXPECT_EQ(Linhas("SELECT VALOR, NUMERARIO, NUMTRANS, NUMLANC, CODMOVIMENTO, CODFUNC, CODFUNCLANC, NUMCRED, "
                   "DTDESCONTO, DTESTORNO FROM ZTCRECLI WHERE CODIGO = " +
                   codigo),
            Textos{"150.26|S|" + ShortestDecimal(c.NUMTRANS) + "||9961|1|1|" + ShortestDecimal(c.NUMCRED) + "||"});
  // The second history is cut to its first 40 characters.
  EXPECT_EQ(Linhas("SELECT TIPO, CODCOB, VALOR, HISTORICO, HISTORICO2, NUMCARR, INDICE, CODCLI, CODFILIAL FROM ZTMOVCR "
                   "WHERE NUMTRANS = " +
                   ShortestDecimal(c.NUMTRANS)),
            Textos{"D|D|150.26|INCLUSAO MANUAL DE CREDITO CLIENTE|LIQ.CRECLI[8801] NF [123456789]|123456789|B|8801|1"});
  EXPECT_EQ(Passos(), (Textos{"IncluirCreditoCliente-Inicio", "IncluirCreditoCliente-Validar",
                              "IncluirCreditoCliente-tMovimentarNumerario", "IncluirCreditoCliente-GeraCodigo",
                              "IncluirCreditoCliente-Inserir", "InserirZTCreCli-Inicio", "InserirZTCreCli-Fim",
                              "IncluirCreditoCliente-Fim"}));
}

TEST_F(Inclusao, ByManagementAccountPostsAPaidPayableEntry) {
  TCreditoCliente c(kCliente, 80, "1");
  c.NUMNOTA = 77;
  c.HISTORICO = "AJUSTE " + FMarca;
  TMovimentacaoFinanceira m;
  m.Tipo = TTipoMovimentacaoFinanceira::tMovimentarContaGerencial;
  m.ContaGerencial = kConta;
  m.DataCompetencia = TDateTime::EncodeDate(2026, 2, 1);
  c.Movimentacao = m;
  c.CODIGO = 0;
  std::string mensagem;
  ASSERT_TRUE(Credito().IncluirCreditoCliente(c, mensagem)) << mensagem;
  EXPECT_GT(c.NUMLANC, 0);
  EXPECT_EQ(c.NUMTRANS, 0);
  EXPECT_EQ(Linhas("SELECT NUMERARIO, NUMLANC, NUMTRANS, CODMOVIMENTO FROM ZTCRECLI WHERE CODIGO = " +
                   ShortestDecimal(c.CODIGO)),
            Textos{"N|" + ShortestDecimal(c.NUMLANC) + "||3101"});
  EXPECT_EQ(Linhas("SELECT CODCONTA, CODFORNEC, VALOR, VPAGO, TIPOLANC, TIPOPARCEIRO, NOMEFUNC, MOEDA, DUPLIC, "
                   "TO_CHAR(DTCOMPETENCIA, 'DD/MM/YYYY'), CODROTINACAD FROM ZTLANC WHERE RECNUM = " +
                   ShortestDecimal(c.NUMLANC)),
            Textos{"3101|8801|80|80|C|C|OPERADOR UM|R|1|01/02/2026|0"});
}

TEST_F(Inclusao, AGivenCodeIsKeptAndTheRowAnswersTheCheck) {
  TCreditoCliente c = PorCaixa(10);
  c.CODIGO = 99000000 + static_cast<double>(std::hash<std::string>{}(FMarca) % 900000);
  const double codigo = c.CODIGO;
  std::string mensagem;
  ASSERT_TRUE(Credito().IncluirCreditoCliente(c, mensagem));
  EXPECT_EQ(c.CODIGO, codigo);
  auto& dal = dynamic_cast<TBLLCreditoCliente&>(Credito()).GetControladorDALCredito();
  EXPECT_FALSE(dal.CreditoExiste(0, mensagem));
  EXPECT_EQ(mensagem, "Código zerado\r");
  EXPECT_FALSE(dal.CreditoExiste(1e9 - 1, mensagem));
  EXPECT_EQ(mensagem, "Código não encontrado\r");
}

// The first failing check wins, before anything is written.
TEST_F(Inclusao, ChecksRunInOrderBeforeAnyWrite) {
  struct Caso {
    std::function<void(TCreditoCliente&)> Mudar;
    std::string Esperado;
  };
  const Caso casos[] = {
      {[](TCreditoCliente& c) {
         c.Movimentacao->CodigoCaixaBanco = 0;
         c.CODFILIAL = "";
       },
       "ExCodigoCaixaBancoObrigatorio: Favor informar o código do caixa/banco."},
      {[](TCreditoCliente& c) { c.Movimentacao->CodigoCobranca = " "; },
       "ExCodigoCaixaBancoObrigatorio: Favor informar o código do caixa/banco."},
      {[](TCreditoCliente& c) {
         c.Movimentacao->Tipo = TTipoMovimentacaoFinanceira::tMovimentarContaGerencial;
         c.CODFILIAL = "";
       },
       "ExContaGerencialNaoInformada: Conta gerencial não informada"},
      {[](TCreditoCliente& c) {
         c.CODFILIAL = " ";
         c.CODCLI = 0;
       },
       "ExCodigoFilialNaoPreenchido: Deve ser informado o código filial."},
      {[](TCreditoCliente& c) {
         c.CODCLI = -1;
         c.VALOR = 0;
       },
       "ExCodigoClienteObrigatorio: É necessário informar o código do cliente"},
      {[](TCreditoCliente& c) { c.VALOR = 0.004; },
       "ExValorZerado: O valor informado não pode estar vazio ou igual a zero."},
  };
  const std::string antes = Contagem();
  for (const Caso& caso : casos) {
    TCreditoCliente c = PorCaixa(10);
    caso.Mudar(c);
    std::string mensagem;
    EXPECT_FAILS_WITH(Credito().IncluirCreditoCliente(c, mensagem), caso.Esperado);
    EXPECT_EQ(c.CODIGO, 0);
  }
  EXPECT_EQ(Contagem(), antes);
}

TEST_F(Inclusao, RefusedOutsideATransaction) {
  Session().Rollback();
  Session().SetImplicitTransactions(false);
  TCreditoCliente c = PorCaixa(10);
  std::string mensagem;
  EXPECT_EQ(
      testsupport::Failure([&] { Credito().IncluirCreditoCliente(c, mensagem); }).rfind("ExTransacaoNaoIniciada", 0),
      0u);
  Session().StartTransaction();
}

// A database failure of the insert reaches the caller as the inclusion's failure, keeps the
// database error as its cause, leaves nothing behind, and its log rows stay.
TEST_F(Inclusao, AFailedInsertIsUndoneButItsLogStays) {
  TCreditoCliente c = PorCaixa(10);
  c.SERIE = "ABCD";  // wider than the column
  std::string mensagem;
  const std::string antes = Contagem();
  try {
    Credito().IncluirCreditoCliente(c, mensagem);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), "ExErroAoGravarCreditoCliente");
    EXPECT_EQ(e.Message().rfind("Ocorreu um problema ao gravar o crédito de cliente: Falha no INSERT da tabela "
                                "ZTCRECLI. \r",
                                0),
              0u)
        << e.Message();
    EXPECT_TRUE(testsupport::CausaDoBanco(e));
  }
  EXPECT_EQ(Contagem(), antes);
  EXPECT_EQ(c.CODIGO, 0);
  Session().Rollback();
  const Textos passos = Passos();
  ASSERT_FALSE(passos.empty());
  EXPECT_EQ(passos.back(), "IncluirCreditoCliente-Fim");
  EXPECT_NE(std::find(passos.begin(), passos.end(), "InserirZTCreCli-Falhou"), passos.end());
}

// The log never stops the business operation, and one failed log row does not lose the next ones.
TEST_F(Inclusao, ALogFailureDoesNotStopTheInclusionNorTheNextLogRows) {
  TOraSession& autonoma = Host().SessaoAutonoma();
  autonoma.StartTransaction();
  try {
    TOraQuery q(&autonoma);
    q.SQL.Add("SELECT 1/0 FROM DUAL");
    q.Open();
  } catch (const std::exception&) {
  }
  TCreditoCliente c = PorCaixa(10);
  std::string mensagem;
  ASSERT_TRUE(Credito().IncluirCreditoCliente(c, mensagem));
  const Textos passos = Passos();
  ASSERT_FALSE(passos.empty());
  // The first row met the aborted session and was lost; the session was rolled back and the rest was written.
  EXPECT_EQ(passos.front(), "IncluirCreditoCliente-Validar");
  EXPECT_EQ(passos.back(), "IncluirCreditoCliente-Fim");

  autonoma.Disconnect();
  TCreditoCliente d = PorCaixa(20);
  EXPECT_TRUE(Credito().IncluirCreditoCliente(d, mensagem));
  EXPECT_EQ(Scalar("SELECT VALOR FROM ZTCRECLI WHERE CODIGO = " + ShortestDecimal(d.CODIGO)), "20");
}

}  // namespace
}  // namespace creditotest
