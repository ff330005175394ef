#include <gtest/gtest.h>

#include "CentroCustoFixture.h"

namespace {

// Account 910003 (its standard apportionment is T1 alone) has a March 2026 budget in branch 9:
// T1 1,000.00 and T2 -500.00 (a credit budget); 700.00 were already posted to T1 in March.
class OrcamentoTest : public costcenter_it::CentroCustoTest {
 protected:
  void SetUp() override {
    CentroCustoTest::SetUp();
    Exec("INSERT INTO ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (910003, 'ORCADA', 'S')");
    Exec("INSERT INTO ZTCONTACENTROCUSTO (CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO) VALUES (910003, 'T1', 100)");
    Exec("INSERT INTO ZTORCLAN (CODCONTA, CODFILIAL, ANO, VLORCMES03) VALUES (910003, '9', 2026, 5000)");
    Exec(
        "INSERT INTO ZTORCLANCENTROCUSTO (ANO, MES, CODFILIAL, CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO, VALOR) "
        "VALUES (2026, 3, '9', 910003, 'T1', 20, 1000), (2026, 3, '9', 910003, 'T2', 10, -500)");
    Lancamento(8001, 910003, 700, "2026-03-05");
    Rateio(8001, 910003, "T1", 100, 700);
    SetParametro("BLOQLANCDESPMAIORORCCC", "S", "9");
  }

  // Opens entry 8100 of account 910003 in the form and confirms it: "aceito" or the refusal as
  // "Class: message".
  std::string Confirmar(Lancto lancto) {
    Area().LimparDadosUltimoLancto();
    lancto.recnum = 8100;
    lancto.conta = "910003";
    lancto.form = true;
    EXPECT_FALSE(Processar(lancto));
    bool aceito = false;
    const std::string falha = testsupport::Failure([&] { aceito = Area().ValidaDadosInformados_Inclusao(); });
    if (falha != "(no exception)") return falha;
    EXPECT_TRUE(aceito);
    return "aceito";
  }
};

std::string Mensagem(const char* cc, const char* realizado, const char* orcado, const char* saldo, const char* ultima) {
  return std::string("Lançamentos do centro de custo ") + cc +
         " para 03/2026 na filial 9 ultrapassou o valor orçado na rotina 755!\rLançamentos já realizados: " +
         realizado + "\rValor orçado: " + orcado + "\rSaldo disponível: " + saldo + "\r" + ultima;
}
const char* const kSemPermissao =
    "Usuário sem permissão para lançar acima do orçamento.\rConforme definido no parâmetro 2961 - Bloqueio de "
    "lançamento de despesa acima do orçado para o centro de custo da rotina 132.";
const std::string kRecusa300 = "Exception: " + Mensagem("T1", "700,00", "1.000,00", "300,00", kSemPermissao);

// A credit budget is exceeded below it.
TEST_F(OrcamentoTest, AShareThatFillsTheBudgetPassesOneCentMoreIsRefused) {
  EXPECT_EQ(Confirmar({.valor = 300.00}), "aceito");
  EXPECT_EQ(Confirmar({.valor = 300.01}), kRecusa300);
  EXPECT_TRUE(Host().Confirmacoes().empty());
  Lancamento(8004, 910003, -200, "2026-03-05");
  Rateio(8004, 910003, "T2", 100, -200);
  Exec("UPDATE ZTCONTACENTROCUSTO SET CODIGOCENTROCUSTO = 'T2' WHERE CODCONTA = 910003");
  EXPECT_EQ(Confirmar({.valor = -300.00}), "aceito");
  EXPECT_EQ(Confirmar({.valor = -300.01}),
            "Exception: " + Mensagem("T2", "-200,00", "-500,00", "-300,00", kSemPermissao));
}

TEST_F(OrcamentoTest, TheBudgetMonthIsTheAccrualMonthWhenTheBranchSaysSo) {
  // Due in April: April has no budget row, so nothing is checked.
  EXPECT_EQ(Confirmar({.valor = 300.01, .vencimento = Data(2026, 4, 10), .competencia = Data(2026, 3, 15)}), "aceito");
  // By accrual the entry belongs to March, whose realized amount is read by accrual date too.
  SetParametro("ORCREGCOMPETENCIA", "S", "9");
  Exec("UPDATE ZTLANC SET DTCOMPETENCIA = TO_DATE('2026-03-02', 'YYYY-MM-DD') WHERE RECNUM = 8001");
  EXPECT_EQ(Confirmar({.valor = 300.01, .vencimento = Data(2026, 4, 10), .competencia = Data(2026, 3, 15)}),
            kRecusa300);
}

TEST_F(OrcamentoTest, HeldEntriesCountOnlyWhileTheBranchWorksWithSupplementation) {
  Lancamento(8002, 910003, 200, "2026-03-06", "ZTLANCBLOQ");
  Rateio(8002, 910003, "T1", 100, 200, "ZTRATEIOCENTROCUSTOBLOQ");
  Lancamento(8003, 910003, 50, "2026-03-07", "ZTLANCBLOQ");
  Rateio(8003, 910003, "T1", 100, 50, "ZTRATEIOCENTROCUSTOBLOQ");
  Exec("UPDATE ZTLANCBLOQ SET DTREJEICAOSUPLORC = SYSDATE WHERE RECNUM = 8003");  // rejected: no longer counts
  EXPECT_EQ(Confirmar({.valor = 300.00}), "aceito");
  SetParametro("TRABSUPLORC", "S", "9");
  AnswerConfirmations(TModalResult::mrOk);
  EXPECT_EQ(Confirmar({.valor = 100.00}), "aceito");
  EXPECT_EQ(Host().Confirmacoes().size(), 0u);
  EXPECT_EQ(Confirmar({.valor = 100.01}), "aceito");
  ASSERT_EQ(Host().Confirmacoes().size(), 1u);
  EXPECT_EQ(Host().Confirmacoes()[0].Texto,
            Mensagem("T1", "900,00", "1.000,00", "100,00",
                     "Confirma geração de lançamento acima do orçamento para suplementação orçamentária?"));
}

// With supplementation a confirmed share over the budget is marked; the rows go to the held
// table unless the caller allowed posting above the budget.
TEST_F(OrcamentoTest, ConfirmedRowsAreMarkedAndGoToTheHeldTableUnlessPostingAboveIsAllowed) {
  SetParametro("TRABSUPLORC", "S", "9");
  AnswerConfirmations(TModalResult::mrOk);
  ASSERT_EQ(Confirmar({.valor = 400}), "aceito");
  EXPECT_TRUE(Area().VerificarOrcamentoExcedido());
  ASSERT_TRUE(Area().InsertCentroCusto_Banco());
  EXPECT_EQ(Linhas(8100, "VALOR, ORCAMENTOEXCEDIDO", "ZTRATEIOCENTROCUSTOBLOQ"), "T1:400:S");
  EXPECT_EQ(Linhas(8100), "");
  EXPECT_TRUE(Area().GetLancarZTLancBloq());
  EXPECT_TRUE(ContasPagar().GetLancarZTLancBloqGeral());

  Exec("DELETE FROM ZTRATEIOCENTROCUSTOBLOQ");
  ContasPagar().SetLancarZTLancBloqGeral(false);
  Area().SetLancarZTLancBloq(false);
  ASSERT_EQ(Confirmar({.valor = 400, .permitir = true}), "aceito");
  ASSERT_EQ(Host().Confirmacoes().size(), 2u);
  EXPECT_NE(Host().Confirmacoes()[1].Texto.find("\rConfirma geração de lançamento acima do orçamento ?"),
            std::string::npos);
  ASSERT_TRUE(Area().InsertCentroCusto_Banco());
  EXPECT_EQ(Linhas(8100, "VALOR, ORCAMENTOEXCEDIDO"), "T1:400:S");
  EXPECT_EQ(Linhas(8100, "VALOR", "ZTRATEIOCENTROCUSTOBLOQ"), "");
}

TEST_F(OrcamentoTest, CancelInTheDialogAbortsSilentlyAndMarksNothing) {
  SetParametro("TRABSUPLORC", "S", "9");
  AnswerConfirmations(TModalResult::mrCancel);
  EXPECT_EQ(Confirmar({.valor = 400}), "EAbort: ");
  EXPECT_FALSE(Area().VerificarOrcamentoExcedido());
  EXPECT_FALSE(Area().GetStatusCentroCusto());
}

}  // namespace
