#include <gtest/gtest.h>

#include "RateiosDeTeste.h"
#include "costcenter/Uclsfin_centrocusto.h"
#include "costcenter/Uclsfin_dalcentrocusto.h"
#include "sdk/Exception.h"

namespace {

using namespace costcenter_test;
using Regras = TRegrasRateioCentroCusto;

// ---------------------------------------------------------------------------------------------
// Rounding of the values to the entry

TEST(CostCenterTotals, UnroundedSharesOfTenAreRecomputedAndTheLastRowTakesTheCent) {
  TParametrosCentroCusto p;
  EntradaFinanceira(p, 100, 10.00);
  AdicionarRateio(p, "A", 33.33, 3.333);
  AdicionarRateio(p, "B", 33.33, 3.333);
  AdicionarRateio(p, "C", 33.34, 3.334);
  Regras::ValidaTotalCC_ValorLancto(p);
  EXPECT_EQ(Valores(p.cdsRateios()), (ValoresEsperados{{"A", 3.33}, {"B", 3.33}, {"C", 3.34}}));
}

TEST(CostCenterTotals, SharesThatAlreadyTotalAreStoredToTheCentTiesToEven) {
  // Left as they are, 2.505 and 7.495 would reach the database's rounding (half away from zero)
  // as 2.51 and 7.50, a cent more than the entry.
  TParametrosCentroCusto p;
  EntradaFinanceira(p, 100, 10.00);
  AdicionarRateio(p, "A", 25.05, 2.505);
  AdicionarRateio(p, "B", 74.95, 7.495);
  Regras::ValidaTotalCC_ValorLancto(p);
  EXPECT_EQ(Valores(p.cdsRateios()), (ValoresEsperados{{"A", 2.50}, {"B", 7.50}}));
}

TEST(CostCenterTotals, TheCentGoesToTheLastRowWithAValueNotToATrailingZeroRow) {
  TParametrosCentroCusto p;
  EntradaFinanceira(p, 100, 10.00);
  AdicionarRateio(p, "A", 33.33, 1);
  AdicionarRateio(p, "B", 33.33, 1);
  AdicionarRateio(p, "C", 33.34, 1);
  AdicionarRateio(p, "D", 0, 0);
  Regras::ValidaTotalCC_ValorLancto(p);
  EXPECT_EQ(Valores(p.cdsRateios()), (ValoresEsperados{{"A", 3.33}, {"B", 3.33}, {"C", 3.34}, {"D", 0}}));
}

TEST(CostCenterTotals, ValuesThatTotalTheEntryStayAsTheUserTypedThem) {
  TParametrosCentroCusto p;
  EntradaFinanceira(p, 100, 10.00);
  AdicionarRateio(p, "A", 50, 7.00);  // percentages say 5.00 each: the values rule
  AdicionarRateio(p, "B", 50, 3.00);
  Regras::ValidaTotalCC_ValorLancto(p);
  EXPECT_EQ(Valores(p.cdsRateios()), (ValoresEsperados{{"A", 7.00}, {"B", 3.00}}));
}

TEST(CostCenterTotals, ADifferenceAboveTheToleranceIsLeftForTheValidation) {
  TParametrosCentroCusto p;
  EntradaFinanceira(p, 100, 10.00);
  AdicionarRateio(p, "A", 50, 5.00);
  AdicionarRateio(p, "B", 49.7, 4.97);  // percentages give 9.97: 0.03 short
  Regras::ValidaTotalCC_ValorLancto(p);
  EXPECT_EQ(Valores(p.cdsRateios()), (ValoresEsperados{{"A", 5.00}, {"B", 4.97}}));
}

TEST(CostCenterTotals, ADifferenceOfTwoCentsIsAbsorbed) {
  TParametrosCentroCusto p;
  EntradaFinanceira(p, 100, 10.00);
  AdicionarRateio(p, "A", 50, 5.00);
  AdicionarRateio(p, "B", 49.8, 4.98);
  Regras::ValidaTotalCC_ValorLancto(p);
  EXPECT_EQ(Valores(p.cdsRateios()), (ValoresEsperados{{"A", 5.00}, {"B", 5.00}}));
}

TEST(CostCenterTotals, ACounterpartKeepsItsPrincipalsValues) {
  TParametrosCentroCusto p;
  EntradaFinanceira(p, 100, -10.00);
  p.ContraPartida_Natureza = "S";
  AdicionarRateio(p, "A", 33.33, -3.333);
  AdicionarRateio(p, "B", 66.67, -6.667);
  Regras::ValidaTotalCC_ValorLancto(p);
  EXPECT_EQ(Valores(p.cdsRateios()), (ValoresEsperados{{"A", -3.333}, {"B", -6.667}}));
}

TEST(CostCenterTotals, OnlyTheRowsOfTheCurrentEntryAreAdjusted) {
  TParametrosCentroCusto p;
  EntradaFinanceira(p, 200, 10.00);
  p.cdsRateios().SetFiltered(false);
  p.NumTransacao = 100;
  AdicionarRateio(p, "X", 100, 999);
  p.NumTransacao = 200;
  AdicionarRateio(p, "A", 100, 3);
  p.cdsRateios().SetFiltered(true);
  Regras::ValidaTotalCC_ValorLancto(p);
  EXPECT_EQ(Valores(p.cdsRateios()), (ValoresEsperados{{"A", 10.00}}));
  p.cdsRateios().SetFiltered(false);
  EXPECT_EQ(Valores(p.cdsRateios()), (ValoresEsperados{{"X", 999}, {"A", 10.00}}));
}

// ---------------------------------------------------------------------------------------------
// Distribution of saved rows

TEST(CostCenterDistribution, SavedRowsTotallingHundredPercentPutTheRemainderOnTheLastRow) {
  TParametrosCentroCusto p;
  EntradaFinanceira(p, 100, 10.00);
  TClientDataSet salvas;
  CarregarLinhas(salvas, {{"A", 33.33, 3.33}, {"B", 33.33, 3.33}, {"C", 33.34, 3.33}});
  Regras::DistribuirRegistrosLancto(p, salvas, {});
  EXPECT_EQ(Valores(p.cdsRateios()), (ValoresEsperados{{"A", 3.33}, {"B", 3.33}, {"C", 3.34}}));
}

TEST(CostCenterDistribution, WithoutHundredPercentASmallDifferenceGoesToTheLastRowWithItsPercentage) {
  TParametrosCentroCusto p;
  EntradaFinanceira(p, 100, 10.00);
  TClientDataSet salvas;
  CarregarLinhas(salvas, {{"A", 50, 5.00}, {"B", 49.99, 4.99}});
  Regras::DistribuirRegistrosLancto(p, salvas, {});
  EXPECT_EQ(Valores(p.cdsRateios()), (ValoresEsperados{{"A", 5.00}, {"B", 5.00}}));
  p.cdsRateios().Last();
  EXPECT_EQ(p.cdsRateios().FieldByName("PERCRATEIO").AsFloat(), 50);
}

TEST(CostCenterDistribution, ALargerDifferenceIsAdjustedOnlyWhenTheApportionmentMustTotal) {
  for (const bool rateio_total : {false, true}) {
    TParametrosCentroCusto p;
    EntradaFinanceira(p, 100, 10.00);
    TClientDataSet salvas;
    CarregarLinhas(salvas, {{"A", 50, 5.00}, {"B", 49, 4.90}});
    Regras::DistribuirRegistrosLancto(p, salvas, {rateio_total, 0});
    const double esperado = rateio_total ? 5.00 : 4.90;
    EXPECT_EQ(Valores(p.cdsRateios()), (ValoresEsperados{{"A", 5.00}, {"B", esperado}})) << rateio_total;
  }
}

TEST(CostCenterDistribution, ACounterpartCopiesItsPrincipalNegatedWithoutAnyFinalAdjustment) {
  TParametrosCentroCusto p;
  EntradaFinanceira(p, 300, -10.00);
  p.ContraPartida_Natureza = "S";
  p.NumTransPrinc_CodPlanoConta = 100;
  TClientDataSet principal;
  CarregarLinhas(principal, {{"A", 33.33, 3.33}, {"B", 33.33, 3.33}, {"C", 33.34, 3.33}});
  Regras::DistribuirRegistrosLancto(p, principal, {true, 749});
  EXPECT_EQ(Valores(p.cdsRateios()), (ValoresEsperados{{"A", -3.33}, {"B", -3.33}, {"C", -3.33}}));
  for (p.cdsRateios().First(); !p.cdsRateios().Eof(); p.cdsRateios().Next()) {
    EXPECT_EQ(p.cdsRateios().FieldByName("CONTRAPARTIDA").AsString(), "S");
    EXPECT_EQ(p.cdsRateios().FieldByName("RECNUMPRINC").AsFloat(), 100);
    EXPECT_EQ(p.cdsRateios().FieldByName("RECNUM").AsFloat(), 300);
  }
}

TEST(CostCenterDistribution, ACloneRecomputesThePrincipalsSharesForItsOwnValue) {
  TParametrosCentroCusto p;
  EntradaFinanceira(p, 400, 40.00);
  p.FazCloneRegistroPrincipal = true;
  p.NumTransPrinc_CodPlanoConta = 100;
  TClientDataSet principal;
  CarregarLinhas(principal, {{"A", 33.33, 33.33}, {"B", 66.67, 66.67}});
  Regras::DistribuirRegistrosLancto(p, principal, {true, 0});
  EXPECT_EQ(Valores(p.cdsRateios()), (ValoresEsperados{{"A", 13.33}, {"B", 26.67}}));
  EXPECT_TRUE(p.StatusCentroCusto);
}

TEST(CostCenterDistribution, ABudgetLineGetsNoFinalAdjustment) {
  TParametrosCentroCusto p;
  p.DefinirTipoLancamento(tlOrcamento);
  p.ValorLancto = 1000;
  p.Ano = 2026;
  p.Mes = 3;
  p.CodConta = "3101";
  p.CodFilial = "1";
  TClientDataSet salvas;
  CarregarLinhas(salvas, {{"A", 50, 400}, {"B", 40, 400}});
  Regras::DistribuirRegistrosLancto(p, salvas, {true, 0});
  EXPECT_EQ(Valores(p.cdsRateios()), (ValoresEsperados{{"A", 400}, {"B", 400}}));
}

// ---------------------------------------------------------------------------------------------
// Duplicates

TEST(CostCenterDuplicates, OnlyTheFirstRowOfEachCostCenterOfTheEntryStays) {
  TParametrosCentroCusto p;
  p.DefinirTipoLancamento(tlFinanceiro);
  p.NumTransacao = 100;
  for (const char* cc : {"A", "B", "B", "B", "A", "C", "C"}) AdicionarRateio(p, cc, 10, 1);
  p.NumTransacao = 200;
  AdicionarRateio(p, "A", 10, 1);  // another entry: not the current one's duplicate
  p.NumTransacao = 100;
  Regras::LimpaRegistrosDuplicadosCentroCusto(p);
  EXPECT_FALSE(p.cdsRateios().Filtered());
  EXPECT_EQ(Valores(p.cdsRateios()), (ValoresEsperados{{"A", 1}, {"B", 1}, {"C", 1}, {"A", 1}}));
}

TEST(CostCenterDuplicates, AStandardApportionmentOfferingACostCenterTwiceAddsItOnceAndListsTheRepeat) {
  TParametrosCentroCusto p;
  EntradaFinanceira(p, 100, 10.00);
  TClientDataSet padrao;
  CarregarLinhas(padrao, {{"A", 50, 0}, {"B", 25, 0}, {"A", 25, 0}});
  std::string repetidos;
  EXPECT_TRUE(Regras::InserirLinhasPadrao(p, padrao, false, repetidos));
  EXPECT_EQ(repetidos, "'A'");
  // Shares are kept unrounded until the totals are checked.
  EXPECT_EQ(Valores(p.cdsRateios()), (ValoresEsperados{{"A", 5.0}, {"B", 2.5}}));
  TClientDataSet vazio;
  CarregarLinhas(vazio, {});
  EXPECT_FALSE(Regras::InserirLinhasPadrao(p, vazio, false, repetidos));
}

// ---------------------------------------------------------------------------------------------
// The in-memory row

TEST(CostCenterRow, ACostCenterTheEntryHasIsUpdatedInPlace) {
  TParametrosCentroCusto p;
  EntradaFinanceira(p, 100, 10.00);
  p.CodCentroCusto = "A";
  p.PercRateio = 40;
  p.ValorRateio = 4;
  ASSERT_TRUE(TDALCentroCusto::InsereCentroCusto(p));
  p.PercRateio = 0;  // a zero percentage leaves the row's percentage
  p.ValorRateio = 6;
  ASSERT_TRUE(TDALCentroCusto::InsereCentroCusto(p));
  ASSERT_EQ(p.cdsRateios().RecordCount(), 1u);
  EXPECT_EQ(p.cdsRateios().FieldByName("PERCRATEIO").AsFloat(), 40);
  EXPECT_EQ(p.cdsRateios().FieldByName("VALOR").AsFloat(), 6);
  EXPECT_EQ(p.cdsRateios().FieldByName("CODCONTA").AsFloat(), 3101);
  EXPECT_TRUE(p.cdsRateios().FieldByName("RECNUMPRINC").IsNull());
}

TEST(CostCenterRow, BudgetLinesAlwaysAppend) {
  TParametrosCentroCusto p;
  p.DefinirTipoLancamento(tlOrcamento);
  p.Ano = 2026;
  p.Mes = 3;
  p.CodFilial = "1";
  p.CodConta = "3101";
  p.CodCentroCusto = "A";
  p.PercRateio = 10;
  ASSERT_TRUE(TDALCentroCusto::InsereCentroCusto(p));
  ASSERT_TRUE(TDALCentroCusto::InsereCentroCusto(p));
  EXPECT_EQ(p.cdsRateios().RecordCount(), 2u);
  EXPECT_EQ(p.cdsRateios().FieldByName("MES").AsFloat(), 3);
}

TEST(CostCenterRow, AFailureToStoreTheRowIsReportedWithItsCause) {
  TParametrosCentroCusto p;
  EntradaFinanceira(p, 100, 10.00);
  p.CodFilial = "123";  // wider than the row's two characters
  p.CodCentroCusto = "A";
  p.PercRateio = 10;
  try {
    (void)TDALCentroCusto::InsereCentroCusto(p);
    FAIL() << "a filial de três caracteres foi aceita";
  } catch (const Exception& falha) {
    EXPECT_EQ(falha.Message().rfind("Foi encontrado erro no momento de gravar o Centro de Custo! Erro: ", 0), 0u)
        << falha.Message();
  }
  EXPECT_EQ(p.cdsRateios().State(), TDataSetState::dsBrowse);
  EXPECT_TRUE(p.cdsRateios().IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// Totals of the whole apportionment (form)

struct TotaisCase {
  const char* nome;
  std::vector<std::pair<double, double>> linhas;  // (percentage, value)
  bool rateio_total;
  const char* mensagem;  // nullptr: accepted
};

class CostCenterFormTotals : public ::testing::TestWithParam<TotaisCase> {};

TEST_P(CostCenterFormTotals, AreCheckedInOrder) {
  const TotaisCase& c = GetParam();
  TParametrosCentroCusto p;
  EntradaFinanceira(p, 100, 10.00);
  int indice = 0;
  for (const auto& [percentual, valor] : c.linhas) AdicionarRateio(p, std::to_string(++indice), percentual, valor);
  if (c.mensagem == nullptr) {
    EXPECT_NO_THROW(Regras::ValidaTotaisInclusao(p, {c.rateio_total, 0}));
    return;
  }
  try {
    Regras::ValidaTotaisInclusao(p, {c.rateio_total, 0});
    ADD_FAILURE() << "aceito";
  } catch (const Exception& falha) {
    EXPECT_STREQ(falha.ClassName(), "Exception");
    EXPECT_EQ(falha.Message(), c.mensagem);
  }
}

const char* const k2664 =
    "O parâmetro \"2664 - Obrigar rateio de Centro de Custos totalizar 100%\" está definido como \"Sim\". Favor fechar "
    "em 100% o rateio!";
const char* const kMaior100 = "O percentual de rateio não pode ser maior que 100%. Favor verificar!";

INSTANTIATE_TEST_SUITE_P(
    Cases, CostCenterFormTotals,
    ::testing::Values(TotaisCase{"SemLinhas", {}, false, "Favor informar ao menos um registro!"},
                      TotaisCase{"Faltam3Centavos", {{50, 5}, {49.7, 4.97}}, true, k2664},
                      TotaisCase{"FaltaMenosQueUmCentavo", {{50, 5}, {50, 4.992}}, true, nullptr},
                      TotaisCase{"SemObrigacaoDiferencaPassa", {{50, 5}, {49.7, 4.97}}, false, nullptr},
                      TotaisCase{
                          "SemValor", {{50, 0}, {50, 0}}, false, "Favor informar valor para ao menos um registro!"},
                      TotaisCase{"Percentual100005", {{50, 5}, {50.005, 5}}, false, nullptr},
                      TotaisCase{"Percentual10001", {{50, 5}, {50.01, 5}}, false, kMaior100}),
    [](const ::testing::TestParamInfo<TotaisCase>& info) { return info.param.nome; });

TEST(CostCenterBudgetMark, IsFoundOnAnyVisibleRow) {
  TParametrosCentroCusto p;
  EntradaFinanceira(p, 100, 10.00);
  AdicionarRateio(p, "A", 50, 5);
  AdicionarRateio(p, "B", 50, 5);
  EXPECT_FALSE(Regras::ExisteOrcamentoExcedido(p.cdsRateios()));
  p.cdsRateios().Last();
  p.cdsRateios().Edit();
  p.cdsRateios().FieldByName("ORCAMENTOEXCEDIDO").SetAsString("S");
  p.cdsRateios().Post();
  EXPECT_TRUE(Regras::ExisteOrcamentoExcedido(p.cdsRateios()));
}

TEST(CostCenterFilter, SelectsTheRowsOfTheEntryByItsKind) {
  TParametrosCentroCusto p;
  p.NumTransacao = 1234;
  p.DefinirTipoLancamento(tlFinanceiro);
  EXPECT_EQ(Regras::FiltroLancamento(p), "RECNUM = 1234");
  p.DefinirTipoLancamento(tlContabil);
  EXPECT_EQ(Regras::FiltroLancamento(p), "NUMTRANSLANCTO = 1234");
  p.DefinirTipoLancamento(tlOrcamento);
  p.Ano = 2026;
  p.Mes = 3;
  p.CodConta = "3101";
  p.CodFilial = "1'";
  EXPECT_EQ(Regras::FiltroLancamento(p), "ANO = 2026 AND MES = 3 AND CODCONTA = 3101 AND CODFILIAL = '1'''");
  p.CodConta = "31 OR 1=1";
  EXPECT_EQ(Regras::FiltroLancamento(p), "ANO = 2026 AND MES = 3 AND CODCONTA = 0 AND CODFILIAL = '1'''");
  p.DefinirTipoLancamento(tlContaPadrao);
  EXPECT_EQ(Regras::FiltroLancamento(p), "");
}

}  // namespace
