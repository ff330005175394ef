#include <gtest/gtest.h>

#include "CentroCustoFixture.h"
#include "oradb/TClientDataSet.h"
#include "sdk/EAbort.h"

namespace {

// Account 910003 (its standard apportionment is T1 alone) has a March 2026 budget in branch 9:
// T1 1,000.00 and T2 -500.00 (a credit budget); 700.00 were already posted to T1 in March.
class OrcamentoTest : public costcenter_it::CentroCustoTest {
 protected:
  void SetUp() override {
    CentroCustoTest::SetUp();
    Exec("INSERT INTO ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (910003, 'ORCADA', 'S')");
    Padrao(910003, "T1", 100);
    Exec("INSERT INTO ZTORCLAN (CODCONTA, CODFILIAL, ANO, VLORCMES03) VALUES (910003, '9', 2026, 5000)");
    Exec(
        "INSERT INTO ZTORCLANCENTROCUSTO (ANO, MES, CODFILIAL, CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO, VALOR) "
        "VALUES (2026, 3, '9', 910003, 'T1', 20, 1000)");
    Exec(
        "INSERT INTO ZTORCLANCENTROCUSTO (ANO, MES, CODFILIAL, CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO, VALOR) "
        "VALUES (2026, 3, '9', 910003, 'T2', 10, -500)");
    Lancamento(8001, 910003, 700, "2026-03-05");
    Rateio(8001, 910003, "T1", 100, 700);
    SetParametro("BLOQLANCDESPMAIORORCCC", "S", "9");
  }

  // Opens entry 8100 of account 910003 in the form, with the given due and accrual dates.
  void AbrirFormulario(double valor, bool permitir = false, const TDateTime vencimento = Data(2026, 3, 20),
                       const TDateTime competencia = Data(2026, 3, 20)) {
    ASSERT_FALSE(Area().ProcessoCentroCusto(false, tlFinanceiro, "9", "910003", 8100, valor, Data(2026, 3, 1), true,
                                            "N", 0, permitir, competencia, vencimento, false));
    ASSERT_TRUE(Area().GetShowForm());
  }

  static TDateTime Data(int ano, int mes, int dia) { return TDateTime::EncodeDate(ano, mes, dia); }

  [[nodiscard]] std::string Recusa() {
    try {
      Area().ValidaDadosInformados_Inclusao();
    } catch (const Exception& falha) {
      EXPECT_STREQ(falha.ClassName(), "Exception");
      return falha.Message();
    }
    return "aceito";
  }
};

const char* const kRecusa300 =
    "Lançamentos do centro de custo T1 para 03/2026 na filial 9 ultrapassou o valor orçado na rotina 755!\r"
    "Lançamentos já realizados: 700,00\rValor orçado: 1.000,00\rSaldo disponível: 300,00\r"
    "Usuário sem permissão para lançar acima do orçamento.\rConforme definido no parâmetro 2961 - Bloqueio de "
    "lançamento de despesa acima do orçado para o centro de custo da rotina 132.";

TEST_F(OrcamentoTest, AShareThatFillsTheBudgetPassesOneCentMoreIsRefused) {
  AbrirFormulario(300.00);
  EXPECT_EQ(Recusa(), "aceito");
  Area().LimparDadosUltimoLancto();
  AbrirFormulario(300.01);
  EXPECT_EQ(Recusa(), kRecusa300);
  EXPECT_TRUE(Host().Confirmacoes().empty());
}

TEST_F(OrcamentoTest, TheBudgetMonthIsTheAccrualMonthWhenTheBranchSaysSo) {
  // Due in April: April has no budget row, so nothing is checked.
  AbrirFormulario(300.01, false, Data(2026, 4, 10), Data(2026, 3, 15));
  EXPECT_EQ(Recusa(), "aceito");
  Area().LimparDadosUltimoLancto();
  // By accrual the entry belongs to March, whose realized amount is read by accrual date too.
  SetParametro("ORCREGCOMPETENCIA", "S", "9");
  Exec("UPDATE ZTLANC SET DTCOMPETENCIA = TO_DATE('2026-03-02', 'YYYY-MM-DD') WHERE RECNUM = 8001");
  AbrirFormulario(300.01, false, Data(2026, 4, 10), Data(2026, 3, 15));
  EXPECT_EQ(Recusa(), kRecusa300);
}

TEST_F(OrcamentoTest, HeldEntriesCountOnlyWhileTheBranchWorksWithSupplementation) {
  Lancamento(8002, 910003, 200, "2026-03-06", {}, "ZTLANCBLOQ");
  Rateio(8002, 910003, "T1", 100, 200, "ZTRATEIOCENTROCUSTOBLOQ");
  Lancamento(8003, 910003, 50, "2026-03-07", {}, "ZTLANCBLOQ");
  Rateio(8003, 910003, "T1", 100, 50, "ZTRATEIOCENTROCUSTOBLOQ");
  Exec("UPDATE ZTLANCBLOQ SET DTREJEICAOSUPLORC = SYSDATE WHERE RECNUM = 8003");  // rejected: no longer counts
  AbrirFormulario(300.00);
  EXPECT_EQ(Recusa(), "aceito");
  Area().LimparDadosUltimoLancto();

  SetParametro("TRABSUPLORC", "S", "9");
  AnswerConfirmations(TModalResult::mrOk);
  AbrirFormulario(100.00);
  EXPECT_EQ(Recusa(), "aceito");
  ASSERT_EQ(Host().Confirmacoes().size(), 0u);
  Area().LimparDadosUltimoLancto();
  AbrirFormulario(100.01);
  EXPECT_EQ(Recusa(), "aceito");
  ASSERT_EQ(Host().Confirmacoes().size(), 1u);
  EXPECT_EQ(Host().Confirmacoes()[0].Texto,
            "Lançamentos do centro de custo T1 para 03/2026 na filial 9 ultrapassou o valor orçado na rotina 755!\r"
            "Lançamentos já realizados: 900,00\rValor orçado: 1.000,00\rSaldo disponível: 100,00\r"
            "Confirma geração de lançamento acima do orçamento para suplementação orçamentária?");
}

TEST_F(OrcamentoTest, ConfirmedRowsOfAHeldEntryGoToTheHeldTableAndRaiseThePayableFlag) {
  SetParametro("TRABSUPLORC", "S", "9");
  AnswerConfirmations(TModalResult::mrOk);
  AbrirFormulario(400);
  ASSERT_TRUE(Area().ValidaDadosInformados_Inclusao());
  EXPECT_TRUE(Area().VerificarOrcamentoExcedido());
  ASSERT_TRUE(Area().InsertCentroCusto_Banco());
  EXPECT_EQ(Linhas(8100, "ZTRATEIOCENTROCUSTOBLOQ"), "T1=400");
  EXPECT_EQ(Scalar("SELECT ORCAMENTOEXCEDIDO FROM ZTRATEIOCENTROCUSTOBLOQ WHERE RECNUM = 8100"), "S");
  EXPECT_EQ(Linhas(8100), "");
  EXPECT_TRUE(Area().GetLancarZTLancBloq());
  EXPECT_TRUE(ContasPagar().GetLancarZTLancBloqGeral());
}

TEST_F(OrcamentoTest, PostingAboveTheBudgetWhenAllowedAsksAndKeepsTheRowsInThePayableTable) {
  SetParametro("TRABSUPLORC", "S", "9");
  AnswerConfirmations(TModalResult::mrOk);
  AbrirFormulario(400, true);
  ASSERT_TRUE(Area().ValidaDadosInformados_Inclusao());
  ASSERT_EQ(Host().Confirmacoes().size(), 1u);
  EXPECT_NE(Host().Confirmacoes()[0].Texto.find("\rConfirma geração de lançamento acima do orçamento ?"),
            std::string::npos);
  ASSERT_TRUE(Area().InsertCentroCusto_Banco());
  EXPECT_EQ(Linhas(8100), "T1=400");
  EXPECT_EQ(Scalar("SELECT ORCAMENTOEXCEDIDO FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = 8100"), "S");
  EXPECT_EQ(Linhas(8100, "ZTRATEIOCENTROCUSTOBLOQ"), "");
}

TEST_F(OrcamentoTest, CancelInTheDialogAbortsSilentlyAndSavesNothing) {
  SetParametro("TRABSUPLORC", "S", "9");
  AnswerConfirmations(TModalResult::mrCancel);
  AbrirFormulario(400);
  try {
    Area().ValidaDadosInformados_Inclusao();
    FAIL() << "não abortou";
  } catch (const EAbort& abortado) {
    EXPECT_EQ(abortado.Message(), "");
  }
  EXPECT_FALSE(Area().VerificarOrcamentoExcedido());
  EXPECT_FALSE(Area().GetStatusCentroCusto());
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = 8100"), 0);
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTOBLOQ WHERE RECNUM = 8100"), 0);
}

TEST_F(OrcamentoTest, ACreditBudgetIsExceededBelowIt) {
  // T2's budget is -500.00 with -200.00 realized: a share of -300.00 fills it, -300.01 passes it.
  Lancamento(8004, 910003, -200, "2026-03-05");
  Rateio(8004, 910003, "T2", 100, -200);
  Exec("DELETE FROM ZTCONTACENTROCUSTO WHERE CODCONTA = 910003");
  Padrao(910003, "T2", 100);
  AbrirFormulario(-300.00);
  EXPECT_EQ(Recusa(), "aceito");
  Area().LimparDadosUltimoLancto();
  AbrirFormulario(-300.01);
  EXPECT_EQ(Recusa(),
            "Lançamentos do centro de custo T2 para 03/2026 na filial 9 ultrapassou o valor orçado na rotina 755!\r"
            "Lançamentos já realizados: -200,00\rValor orçado: -500,00\rSaldo disponível: -300,00\r"
            "Usuário sem permissão para lançar acima do orçamento.\rConforme definido no parâmetro 2961 - Bloqueio de "
            "lançamento de despesa acima do orçado para o centro de custo da rotina 132.");
}

TEST_F(OrcamentoTest, NoBudgetCheckFromTheBudgetRoutineOrWithoutTheBranchParameters) {
  Host().SetCodigoRotina(755);
  AbrirFormulario(5000);
  EXPECT_EQ(Recusa(), "aceito");
  Area().LimparDadosUltimoLancto();
  Host().SetCodigoRotina(0);
  SetParametro("BLOQLANCDESPMAIORORCCC", "N", "9");
  AbrirFormulario(5000);
  EXPECT_EQ(Recusa(), "aceito");
}

}  // namespace
