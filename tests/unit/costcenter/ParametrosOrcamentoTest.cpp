#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "costcenter/Uclsfin_dalcentrocusto.h"
#include "costcenter/Uclsfin_parametroscentrocusto.h"

namespace {

TEST(CostCenterParameters, RowsHaveTheFieldsOfTheApportionmentInOrder) {
  TParametrosCentroCusto p;
  const std::vector<TFieldDef>& defs = p.cdsRateios().FieldDefs();
  std::vector<std::string> nomes;
  for (const TFieldDef& def : defs) nomes.push_back(def.Name);
  EXPECT_EQ(nomes, (std::vector<std::string>{"CODFILIAL", "RECNUMPRINC", "CODCONTA", "VALOR", "PERCRATEIO", "DTLANC",
                                             "DESCCENTROCUSTO", "CODIGOCENTROCUSTO", "CONTRAPARTIDA", "ROWID",
                                             "NATUREZA", "RECNUM", "NUMTRANSLANCTO", "ANO", "MES",
                                             "CCTEMPERMISSAO_ZTLIB", "ORCAMENTOEXCEDIDO"}));
  EXPECT_EQ(defs[0].Size, 2);
  EXPECT_EQ(defs[6].Size, 80);
  EXPECT_EQ(defs[7].Size, 40);
  EXPECT_EQ(defs[5].DataType, TFieldType::ftDateTime);
  EXPECT_EQ(p.cdsRateiosAReplicar().FieldDefs().size(), defs.size());
  EXPECT_TRUE(p.cdsRateios().Active());
  EXPECT_TRUE(p.cdsRateios().IsEmpty());
}

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

struct FlagsCase {
  TTipoLancamento tipo;
  std::vector<std::string> usados;
};

class CostCenterProviderFlags : public ::testing::TestWithParam<FlagsCase> {};

TEST_P(CostCenterProviderFlags, MarkTheFieldsOfTheKindOfEntry) {
  TParametrosCentroCusto p;
  p.DefinirTipoLancamento(GetParam().tipo);
  p.SetaProviderFlags();
  for (const TFieldDef& def : p.cdsRateios().FieldDefs()) {
    bool usado = false;
    for (const std::string& nome : GetParam().usados) usado = usado || nome == def.Name;
    EXPECT_EQ(p.ProviderFlags(def.Name), (TProviderFlags{usado, usado})) << def.Name;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, CostCenterProviderFlags,
    ::testing::Values(
        FlagsCase{tlFinanceiro,
                  {"CODFILIAL", "VALOR", "PERCRATEIO", "CODIGOCENTROCUSTO", "CODCONTA", "RECNUM", "DTLANC",
                   "CONTRAPARTIDA", "RECNUMPRINC"}},
        FlagsCase{tlContabil, {"CODFILIAL", "VALOR", "PERCRATEIO", "CODIGOCENTROCUSTO", "NUMTRANSLANCTO", "NATUREZA"}},
        FlagsCase{tlOrcamento, {"CODFILIAL", "VALOR", "PERCRATEIO", "CODIGOCENTROCUSTO", "CODCONTA", "ANO", "MES"}},
        FlagsCase{tlContaPadrao, {"CODFILIAL", "VALOR", "PERCRATEIO", "CODIGOCENTROCUSTO"}}));

TEST(CostCenterParameters, EntryKindsMapToTheThreeFlags) {
  TParametrosCentroCusto p;
  const auto flags = [&p](TTipoLancamento tipo) {
    p.DefinirTipoLancamento(tipo);
    return std::vector<bool>{p.LanctoFinanceiro, p.LanctoContabil, p.LanctoOrcamento, p.TemTipoLancamento()};
  };
  EXPECT_EQ(flags(tlFinanceiro), (std::vector<bool>{true, false, false, true}));
  EXPECT_EQ(flags(tlContabil), (std::vector<bool>{false, true, false, true}));
  EXPECT_EQ(flags(tlOrcamento), (std::vector<bool>{false, false, true, true}));
  EXPECT_EQ(flags(tlContaPrioritaria), (std::vector<bool>{false, false, false, false}));
  EXPECT_EQ(flags(static_cast<TTipoLancamento>(9)), (std::vector<bool>{false, false, false, false}));
}

TEST(CostCenterParameters, AccountCodesAreNumbersOrZero) {
  EXPECT_EQ(TextoParaNumero(" 3101 "), 3101);
  EXPECT_EQ(TextoParaNumero("+12.5"), 12.5);
  EXPECT_EQ(TextoParaNumero(""), 0);
  EXPECT_EQ(TextoParaNumero("31O1"), 0);
  EXPECT_EQ(TextoParaNumero("1; DROP TABLE ZTCONTA"), 0);
  EXPECT_EQ(TextoParaNumero("nan"), 0);
  EXPECT_EQ(TextoParaNumero("inf"), 0);
}

// ---------------------------------------------------------------------------------------------
// Budget arithmetic

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
