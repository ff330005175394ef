#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "costcenter/Uclsfin_dalcentrocusto.h"
#include "costcenter/Uclsfin_parametroscentrocusto.h"

namespace {

TEST(CostCenterParameters, ACallersDatasetReplacesTheOwnOneUntilTakenBack) {
  TParametrosCentroCusto p;
  TClientDataSet* proprio = &p.cdsRateios();
  TClientDataSet do_host;
  TParametrosCentroCusto::CriarCdsRateios(do_host);
  p.SetcdsRateios(&do_host);
  EXPECT_EQ(&p.cdsRateios(), &do_host);
  p.SetcdsRateios(nullptr);
  EXPECT_EQ(&p.cdsRateios(), proprio);
}

TEST(CostCenterParameters, AccountCodesAreNumbersOrZero) {
  const std::pair<const char*, double> casos[] = {
      {" 3101 ", 3101}, {"+12.5", 12.5}, {"", 0}, {"31O1", 0}, {"1; DROP TABLE ZTCONTA", 0}, {"nan", 0}, {"inf", 0}};
  for (const auto& [texto, numero] : casos) EXPECT_EQ(TextoParaNumero(texto), numero) << texto;
}

// ---------------------------------------------------------------------------------------------
// Budget arithmetic: a share may fill what is left of the budget, not pass it (below it for a
// credit budget); a zero budget is not controlled.

struct OrcamentoCase {
  double orcado;
  double realizado;
  double valor;
  bool excedido;
  double saldo;
};

class CostCenterBudget : public ::testing::TestWithParam<OrcamentoCase> {};

TEST_P(CostCenterBudget, ComparesTheShareWithWhatIsLeft) {
  const OrcamentoCase c = GetParam();
  EXPECT_EQ(TDALCentroCusto::OrcamentoExcedido(c.orcado, c.realizado, c.valor), c.excedido)
      << c.orcado << " " << c.realizado << " " << c.valor;
  EXPECT_EQ(TDALCentroCusto::SaldoDisponivel(c.orcado, c.realizado), c.saldo);
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, CostCenterBudget,
    ::testing::Values(OrcamentoCase{1000, 700, 300, false, 300}, OrcamentoCase{1000, 700, 300.01, true, 300},
                      OrcamentoCase{1000, 1200, 1, true, 0}, OrcamentoCase{0.3, 0.1, 0.2, false, 0.3 - 0.1},
                      OrcamentoCase{-500, -200, -300, false, -300}, OrcamentoCase{-500, -200, -300.01, true, -300},
                      OrcamentoCase{-500, -600, -1, true, 0}, OrcamentoCase{0, 5000, 99999, false, 0},
                      OrcamentoCase{0, -5000, -99999, false, 0}));

TEST(CostCenterBudget, MessageHasFiveLinesWithTwoDigitMonthAndBrazilianAmounts) {
  EXPECT_EQ(TDALCentroCusto::MensagemOrcamentoExcedido("1.01", 3, 2026, "1", 1234.5, 1000, 0, "Pergunta?"),
            "Lançamentos do centro de custo 1.01 para 03/2026 na filial 1 ultrapassou o valor orçado na rotina 755!\r"
            "Lançamentos já realizados: 1.234,50\rValor orçado: 1.000,00\rSaldo disponível: 0,00\rPergunta?");
}

}  // namespace
