#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "costcenter/Uclsfin_centrocusto.h"
#include "costcenter/Uclsfin_dalcentrocusto.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "support/Failure.h"

namespace {

using Regras = TRegrasRateioCentroCusto;

void Adicionar(TClientDataSet& rateios, const std::string& cc, double perc, double valor, double recnum = 100,
               double ano = 2026) {
  rateios.Append();
  rateios.FieldByName("RECNUM").SetAsFloat(recnum);
  rateios.FieldByName("ANO").SetAsFloat(ano);
  rateios.FieldByName("CODFILIAL").SetAsString("1");
  rateios.FieldByName("CODIGOCENTROCUSTO").SetAsString(cc);
  rateios.FieldByName("PERCRATEIO").SetAsFloat(perc);
  rateios.FieldByName("VALOR").SetAsFloat(valor);
  rateios.Post();
}

// Rows written as "cost-center percentage value | ...".
void Adicionar(TClientDataSet& rateios, const std::string& linhas) {
  std::istringstream in(linhas);
  std::string cc, separador;
  double perc = 0, valor = 0;
  while (in >> cc >> perc >> valor) {
    Adicionar(rateios, cc, perc, valor);
    in >> separador;
  }
}

// The visible rows, written the same way.
std::string Visiveis(TClientDataSet& rateios) {
  std::string texto;
  for (rateios.First(); !rateios.Eof(); rateios.Next()) {
    texto += (texto.empty() ? "" : " | ") + rateios.FieldByName("CODIGOCENTROCUSTO").AsString() + " " +
             ShortestDecimal(rateios.FieldByName("PERCRATEIO").AsFloat()) + " " +
             ShortestDecimal(rateios.FieldByName("VALOR").AsFloat());
  }
  return texto;
}

enum class Tipo { Normal, ContraPartida, Clone, Orcamento };

// Entry 100 of account 3101 (a March 2026 budget line for Orcamento), filtered as a run has it,
// with a row of another entry that no rule may touch.
void Entrada(TParametrosCentroCusto& p, double valor, Tipo tipo = Tipo::Normal) {
  p.DefinirTipoLancamento(tipo == Tipo::Orcamento ? tlOrcamento : tlFinanceiro);
  p.NumTransacao = 100;
  p.ValorLancto = valor;
  p.CodConta = "3101";
  p.CodFilial = "1";
  p.Ano = 2026;
  p.Mes = 3;
  p.ContraPartida_Natureza = tipo == Tipo::ContraPartida ? "S" : "N";
  p.FazCloneRegistroPrincipal = tipo == Tipo::Clone;
  p.NumTransPrinc_CodPlanoConta = tipo == Tipo::ContraPartida || tipo == Tipo::Clone ? 50 : 0;
  Adicionar(p.cdsRateios(), "X", 100, 999, 999, 2025);
  p.cdsRateios().SetFilter(Regras::FiltroLancamento(p));
  p.cdsRateios().SetFiltered(true);
}

void EsperarLinhas(TParametrosCentroCusto& p, const std::string& esperado) {
  EXPECT_EQ(Visiveis(p.cdsRateios()), esperado);
  p.cdsRateios().SetFilter("RECNUM = 999");
  EXPECT_EQ(Visiveis(p.cdsRateios()), "X 100 999") << "another entry's row changed";
}

enum class Regra { Totais, Distribuir, Validar };

struct Caso {
  const char* nome;
  // ValidaTotalCC_ValorLancto on the entry's rows, DistribuirRegistrosLancto of saved rows, or
  // ValidaTotaisInclusao of the entry's rows (the form's totals, checked in this order).
  Regra regra;
  double entrada;
  Tipo tipo;
  bool rateio_total;  // parameter 2664
  const char* linhas;
  const char* esperado;  // the rows after, or the refusal's message ("" accepted)
};

constexpr Regra T = Regra::Totais;
constexpr Regra D = Regra::Distribuir;
constexpr Regra V = Regra::Validar;
const char* const k2664 =
    "O parâmetro \"2664 - Obrigar rateio de Centro de Custos totalizar 100%\" está definido como \"Sim\". Favor fechar "
    "em 100% o rateio!";
constexpr Tipo N = Tipo::Normal;

const Caso kCasos[] = {
    {"RecomputedLastRowTakesTheCent", T, 10, N, false, "A 33.33 3.333 | B 33.33 3.333 | C 33.34 3.334",
     "A 33.33 3.33 | B 33.33 3.33 | C 33.34 3.34"},
    // Left as they are, the database would round them half away from zero: a cent over.
    {"AlreadyTotallingStoredToTheCentTiesToEven", T, 10, N, false, "A 25.05 2.505 | B 74.95 7.495",
     "A 25.05 2.5 | B 74.95 7.5"},
    {"CentGoesToLastRowWithAValue", T, 10, N, false, "A 33.33 1 | B 33.33 1 | C 33.34 1 | D 0 0",
     "A 33.33 3.33 | B 33.33 3.33 | C 33.34 3.34 | D 0 0"},
    {"TypedValuesThatTotalStay", T, 10, N, false, "A 50 7 | B 50 3", "A 50 7 | B 50 3"},
    {"TwoCentsAreAbsorbed", T, 10, N, false, "A 50 5 | B 49.8 4.98", "A 50 5 | B 49.8 5"},
    {"ThreeCentsAreLeftForTheValidation", T, 10, N, false, "A 50 5 | B 49.7 4.97", "A 50 5 | B 49.7 4.97"},
    {"CounterpartKeepsItsPrincipalsValues", T, -10, Tipo::ContraPartida, false, "A 33.33 -3.333 | B 66.67 -6.667",
     "A 33.33 -3.333 | B 66.67 -6.667"},
    {"SavedHundredPercentRemainderOnLastRow", D, 10, N, false, "A 33.33 3.33 | B 33.33 3.33 | C 33.34 3.33",
     "A 33.33 3.33 | B 33.33 3.33 | C 33.34 3.34"},
    // The entry went from 10 to 12 after its rows were saved: the last row takes what the entry
    // leaves after the others' share of it (12 - 6), not its saved value.
    {"SavedRowsOfAChangedEntryLastRowTakesTheRest", D, 12, N, false, "A 50 5 | B 50 5", "A 50 5 | B 50 6"},
    {"SavedSmallDifferenceToLastRowWithItsPercentage", D, 10, N, false, "A 50 5 | B 49.99 4.99", "A 50 5 | B 50 5"},
    {"SavedLargerDifferenceKept", D, 10, N, false, "A 50 5 | B 49 4.9", "A 50 5 | B 49 4.9"},
    {"SavedLargerDifferenceAdjustedWhenItMustTotal", D, 10, N, true, "A 50 5 | B 49 4.9", "A 50 5 | B 50 5"},
    {"SavedCounterpartNegatedWithoutAdjustment", D, -10, Tipo::ContraPartida, true,
     "A 33.33 3.33 | B 33.33 3.33 | C 33.34 3.33", "A 33.33 -3.33 | B 33.33 -3.33 | C 33.34 -3.33"},
    {"SavedCloneRecomputedForItsOwnValue", D, 40, Tipo::Clone, true, "A 33.33 33.33 | B 66.67 66.67",
     "A 33.33 13.33 | B 66.67 26.67"},
    {"SavedBudgetLineWithoutAdjustment", D, 1000, Tipo::Orcamento, true, "A 50 400 | B 40 400", "A 50 400 | B 40 400"},
    {"NoRows", V, 10, N, false, "", "Favor informar ao menos um registro!"},
    {"ThreeCentsShortMustTotal", V, 10, N, true, "A 50 5 | B 49.7 4.97", k2664},
    {"LessThanACentShortMustTotal", V, 10, N, true, "A 50 5 | B 50 4.992", ""},
    {"ThreeCentsShortNeedNotTotal", V, 10, N, false, "A 50 5 | B 49.7 4.97", ""},
    {"NoValue", V, 10, N, false, "A 50 0 | B 50 0", "Favor informar valor para ao menos um registro!"},
    {"Percent100005", V, 10, N, false, "A 50 5 | B 50.005 5", ""},
    {"Percent10001", V, 10, N, false, "A 50 5 | B 50.01 5",
     "O percentual de rateio não pode ser maior que 100%. Favor verificar!"}};

TEST(CostCenterRounding, BringsTheRowsToTheEntry) {
  for (const Caso& c : kCasos) {
    SCOPED_TRACE(c.nome);
    TParametrosCentroCusto p;
    Entrada(p, c.entrada, c.tipo);
    TClientDataSet salvas;
    TParametrosCentroCusto::CriarCdsRateios(salvas);
    Adicionar(c.regra == Regra::Distribuir ? salvas : p.cdsRateios(), c.linhas);
    if (c.regra == Regra::Validar) {
      EXPECT_EQ(testsupport::Failure([&] {
                  Regras::ValidaTotaisInclusao(p, {c.rateio_total, 0});
                }),
                *c.esperado == '\0' ? std::string("(no exception)") : std::string("Exception: ") + c.esperado);
      continue;
    }
    if (c.regra == Regra::Totais) {
      Regras::ValidaTotalCC_ValorLancto(p);
    } else {
      EXPECT_TRUE(Regras::DistribuirRegistrosLancto(p, salvas, {c.rateio_total, 0}));
    }
    EsperarLinhas(p, c.esperado);
    EXPECT_EQ(p.StatusCentroCusto, c.tipo == Tipo::Clone);
  }
}

TEST(CostCenterDuplicates, OnlyTheFirstRowOfEachCostCenterOfTheEntryStays) {
  TParametrosCentroCusto p;
  p.DefinirTipoLancamento(tlFinanceiro);
  p.NumTransacao = 100;
  Adicionar(p.cdsRateios(), "A 10 1 | B 10 2 | B 10 3 | B 10 4 | A 10 5 | C 10 6 | C 10 7");
  Adicionar(p.cdsRateios(), "A", 10, 8, 200);  // another entry: not the current one's duplicate
  Regras::LimpaRegistrosDuplicadosCentroCusto(p);
  EXPECT_FALSE(p.cdsRateios().Filtered());
  EXPECT_EQ(Visiveis(p.cdsRateios()), "A 10 1 | B 10 2 | C 10 6 | A 10 8");
}

// A row the dataset cannot take is refused with its cause and leaves the rows as they were.
TEST(CostCenterRow, AFailedWriteKeepsItsCause) {
  TParametrosCentroCusto p;
  Entrada(p, 10);
  p.CodCentroCusto = "A";
  p.PercRateio = 40;
  p.CodFilial = "123";  // wider than the row's two characters
  try {
    (void)TDALCentroCusto::InsereCentroCusto(p);
    ADD_FAILURE() << "a filial de três caracteres foi aceita";
  } catch (const Exception& falha) {
    EXPECT_EQ(falha.Message().rfind("Foi encontrado erro no momento de gravar o Centro de Custo! Erro: ", 0), 0u)
        << falha.Message();
  }
  EXPECT_EQ(p.cdsRateios().State(), TDataSetState::dsBrowse);
  EXPECT_EQ(Visiveis(p.cdsRateios()), "");
}

// The filter is pasted into the dataset's filter text: the branch is quoted, the account only ever
// reaches it as a number.
TEST(CostCenterFilter, SelectsTheRowsOfTheEntryByItsKindWithoutPastingText) {
  TParametrosCentroCusto p;
  p.NumTransacao = 1234;
  p.Ano = 2026;
  p.Mes = 3;
  p.CodConta = "3101";
  p.CodFilial = "1'";
  const auto filtro = [&p](TTipoLancamento tipo) {
    p.DefinirTipoLancamento(tipo);
    return Regras::FiltroLancamento(p);
  };
  EXPECT_EQ(filtro(tlFinanceiro), "RECNUM = 1234");
  EXPECT_EQ(filtro(tlContabil), "NUMTRANSLANCTO = 1234");
  EXPECT_EQ(filtro(tlOrcamento), "ANO = 2026 AND MES = 3 AND CODCONTA = 3101 AND CODFILIAL = '1'''");
  for (const char* conta : {"31 OR 1=1", "1; DROP TABLE ZTCONTA", "nan"}) {
    p.CodConta = conta;
    EXPECT_EQ(filtro(tlOrcamento), "ANO = 2026 AND MES = 3 AND CODCONTA = 0 AND CODFILIAL = '1'''") << conta;
  }
  EXPECT_EQ(filtro(tlContaPadrao), "");
}

}  // namespace
