// Reversal of a customer credit, in full and in part.
#include <gtest/gtest.h>

#include "CreditoClienteFixture.h"
#include "support/Failure.h"

namespace creditotest {
namespace {

using Estorno = CreditoClienteTest;

TEST_F(Estorno, TotalClosesTheCreditWithANegativeTwinAndPaysTheMoneyOut) {
  const double codigo = Incluido(100);
  std::string mensagem;
  ASSERT_TRUE(Credito().EstornarCreditoCliente(codigo, 100, "CLIENTE DESISTIU", "", Caixa(), mensagem));
  EXPECT_EQ(Creditos(), (Textos{"100|usado|estornado|ESTORNO TOT CRED", "-100|usado|estornado|ESTORNO TOT CRED"}));
  EXPECT_EQ(Linhas("SELECT TIPO, VALOR, HISTORICO FROM ZTMOVCR WHERE CODBANCO = 9961 ORDER BY NUMTRANS"),
            (Textos{"D|100|INCLUSAO MANUAL DE CREDITO CLIENTE", "C|100|CANCELAMENTO DE CREDITO CLIENTE"}));
  // The twin carries the reversal's own numbers and the reason.
  EXPECT_EQ(Linhas("SELECT T.NUMERARIO, T.OBS, DECODE(T.NUMCRED, C.NUMCRED, 'mesmo', 'outro'), "
                   "DECODE(T.NUMCRED, (SELECT NUMCRED FROM ZTCRECLI WHERE CODIGO = " +
                   ShortestDecimal(codigo) +
                   "), 'mesmo NUMCRED do fechado', '?') FROM ZTCRECLI T, ZTCRECLI C WHERE C.CODIGO = " +
                   ShortestDecimal(codigo) + " AND T.CODCLI = C.CODCLI AND T.VALOR < 0"),
            Textos{"S|CLIENTE DESISTIU|mesmo|mesmo NUMCRED do fechado"});
  EXPECT_FAILS_WITH(
      static_cast<void>(dynamic_cast<TBLLCreditoCliente&>(Credito()).GetControladorDALCredito().ObterCredito(codigo)),
      "ExNaoExisteCreditoClienteParaCodigoInformado: Não existe crédito cadastrado para o código " +
          ShortestDecimal(codigo));
}

TEST_F(Estorno, PartialLeavesANewOpenCreditForTheRest) {
  const double codigo = Incluido(100);
  std::string mensagem;
  ASSERT_TRUE(Credito().EstornarCreditoCliente(codigo, 30, "", "", Caixa(), mensagem));
  const std::string numcred = Scalar("SELECT NUMCRED FROM ZTCRECLI WHERE CODIGO = " + ShortestDecimal(codigo));
  const std::string ref = "ESTORNO PARC CREDREF. ESTORNO: " + ShortestDecimal(codigo);
  EXPECT_EQ(Creditos(), (Textos{"100|usado|estornado|ESTORNO PARC CRED", "-100|usado|estornado|ESTORNO PARC CRED",
                                "30|usado|estornado|" + ref, "-30|usado|estornado|" + ref,
                                "70|aberto|-|ESTORNO PARC CREDREF. DIF. ESTORNO: " + ShortestDecimal(codigo) +
                                    " - NUMCRED: " + numcred}));
  EXPECT_EQ(Scalar("SELECT COUNT(DISTINCT CODIGO) FROM ZTCRECLI WHERE CODCLI = 8801"), "5");
  EXPECT_EQ(Scalar("SELECT VALOR FROM ZTMOVCR WHERE CODBANCO = 9961 AND TIPO = 'C'"), "30");
}

// The arguments and the credit are checked before anything is written; a reversed credit is not
// open any more, so a second reversal finds nothing to reverse.
TEST_F(Estorno, RefusalsComeBeforeAnyWrite) {
  const double codigo = Incluido(1000);
  const double estornado = Incluido(40);
  Exec("UPDATE ZTCRECLI SET DTESTORNO = TRUNC(SYSDATE) WHERE CODIGO = " + ShortestDecimal(estornado));
  TMovimentacaoFinanceira sem_caixa = Caixa();
  sem_caixa.CodigoCaixaBanco = 0;
  TMovimentacaoFinanceira sem_conta;
  sem_conta.Tipo = TTipoMovimentacaoFinanceira::tMovimentarContaGerencial;
  const struct {
    double codigo, valor;
    TMovimentacaoFinanceira movimentacao;
    std::string esperado;
  } casos[] = {
      {codigo, 10, sem_caixa, "ExCodigoCaixaBancoObrigatorio: Favor informar o código do caixa/banco."},
      {codigo, 10, sem_conta, "ExContaGerencialNaoInformada: Conta gerencial não informada"},
      {codigo, 0, Caixa(), "ExValorZerado: O valor informado não pode estar vazio ou igual a zero."},
      {codigo, 1234.5, Caixa(),
       "ExValorEstornadoMaiorQueValorCredito: O valor do estorno não pode ser maior que o valor do crédito.\r"
       "Valor do estorno: 1.234,50\rValor do crédito: 1.000,00"},
      // Reversed but never used: reported as reversed.
      {estornado, 10, Caixa(),
       "ExCodigoCreditoClienteInformadoJaEstornado: O código " + ShortestDecimal(estornado) +
           " informado já esta estornado."},
  };
  const std::string antes = Contagem();
  const Textos creditos = Creditos();
  std::string mensagem;
  for (const auto& caso : casos) {
    SCOPED_TRACE(caso.esperado);
    EXPECT_FAILS_WITH(Credito().EstornarCreditoCliente(caso.codigo, caso.valor, "", "", caso.movimentacao, mensagem),
                      caso.esperado);
  }
  EXPECT_EQ(Contagem(), antes);
  EXPECT_EQ(Creditos(), creditos);
  ASSERT_TRUE(Credito().EstornarCreditoCliente(codigo, 1000, "", "", Caixa(), mensagem));
  EXPECT_FAILS_WITH(Credito().EstornarCreditoCliente(codigo, 1000, "", "", Caixa(), mensagem),
                    "ExNaoExisteCreditoClienteParaCodigoInformado: Não existe crédito cadastrado para o código " +
                        ShortestDecimal(codigo));
}

TEST_F(Estorno, Routine619KeepsTheClosedCreditsHistory) {
  const double codigo = Incluido(100);
  Host().SetCodigoRotina(619);
  std::string mensagem;
  ASSERT_TRUE(Credito().EstornarCreditoCliente(codigo, 100, "", "CANCELADO NA 619", Caixa(), mensagem));
  EXPECT_EQ(Creditos(), (Textos{"100|usado|estornado|DEVOLUCAO " + FMarca, "-100|usado|estornado|CANCELADO NA 619"}));
}

TEST_F(Estorno, ByManagementAccountPostsTheNegativeEntry) {
  const double codigo = Incluido(100);
  TMovimentacaoFinanceira m;
  m.Tipo = TTipoMovimentacaoFinanceira::tMovimentarContaGerencial;
  m.ContaGerencial = kConta;
  std::string mensagem;
  ASSERT_TRUE(Credito().EstornarCreditoCliente(codigo, 25, "", "DEVOLVIDO 'EM' CHEQUE", m, mensagem));
  EXPECT_EQ(Linhas("SELECT CODCONTA, VALOR, VPAGO, HISTORICO FROM ZTLANC WHERE CODFORNEC = 8801"),
            Textos{"3101|-25|-25|DEVOLVIDO 'EM' CHEQUE"});
  EXPECT_EQ(Scalar("SELECT NUMERARIO FROM ZTCRECLI WHERE CODCLI = 8801 AND VALOR = -100"), "N");
}

}  // namespace
}  // namespace creditotest
