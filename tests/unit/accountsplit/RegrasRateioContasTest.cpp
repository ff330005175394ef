#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "accountsplit/Uclsfin_rateiocontas.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"

namespace {

using Regras = TRegrasRateioContas;

// Account rows written as "account percentage [value] [S]", separated by "|": the value is the
// account's share (0 when left out), "S" marks an account that works with cost centers.
void Contas(TClientDataSet& contas, const std::string& linhas) {
  TParametrosRateioContas::CriarCdsContasRateio(contas);
  std::istringstream in(linhas);
  std::string linha;
  while (std::getline(in, linha, '|')) {
    std::istringstream campos(linha);
    double conta = 0;
    double percentual = 0;
    if (!(campos >> conta >> percentual)) continue;
    double valor = 0;
    std::string usa = "N";
    std::string resto;
    while (campos >> resto) {
      if (resto == "S") {
        usa = "S";
      } else {
        valor = std::stod(resto);
      }
    }
    contas.Append();
    contas.FieldByName("CODCONTA").SetAsFloat(conta);
    contas.FieldByName("PERCRATEIO").SetAsFloat(percentual);
    contas.FieldByName("VALOR").SetAsFloat(valor);
    contas.FieldByName("CODRATEIOCONTA").SetAsFloat(5);
    contas.FieldByName("USARATEIOCENTROCUSTO").SetAsString(usa);
    contas.Post();
  }
  contas.First();
}

// Cost-center rows written as "account cost-center percentage value", separated by "|".
void Centros(TClientDataSet& centros, const std::string& linhas) {
  TParametrosRateioContas::CriarCdsCentroCustoConta(centros);
  std::istringstream in(linhas);
  std::string linha;
  while (std::getline(in, linha, '|')) {
    std::istringstream campos(linha);
    double conta = 0;
    std::string codigo;
    double percentual = 0;
    double valor = 0;
    if (!(campos >> conta >> codigo >> percentual >> valor)) continue;
    centros.Append();
    centros.FieldByName("CODCONTA").SetAsFloat(conta);
    centros.FieldByName("CODIGOCENTROCUSTO").SetAsString(codigo);
    centros.FieldByName("PERCRATEIO").SetAsFloat(percentual);
    centros.FieldByName("VALOR").SetAsFloat(valor);
    centros.Post();
  }
  centros.First();
}

// The visible rows as "percentage value ..." of the named columns, separated by "|".
std::string Linhas(TDataSet& dados, const std::vector<const char*>& colunas) {
  std::string texto;
  for (dados.First(); !dados.Eof(); dados.Next()) {
    if (!texto.empty()) texto += " | ";
    for (std::size_t i = 0; i < colunas.size(); ++i) {
      texto += (i > 0 ? " " : "") + ShortestDecimal(dados.FieldByName(colunas[i]).AsFloat());
    }
  }
  return texto;
}

// ---------------------------------------------------------------------------------------------
// The proposal's values: every amount by percentage, the last account takes what is left.

TEST(RegrasRateioContas, ProposalLastAccountTakesEveryRemainder) {
  struct Caso {
    const char* Contas;
    double Total, Desconto, Juros, Devolucao;
    const char* Esperado;  // "PERCRATEIO VALOR DESCONTOFIN TXPERM VALORDEVOL | ..."
  };
  const Caso casos[] = {
      {"1 33.33 | 2 33.33 | 3 33.34", 100, 0, 0, 0, "33.33 33.33 0 0 0 | 33.33 33.33 0 0 0 | 33.34 33.34 0 0 0"},
      // Percentages short of 100: the last account takes the rest and its percentage says so.
      {"1 33.33 | 2 33.33 | 3 33.33", 100, 0, 0, 0, "33.33 33.33 0 0 0 | 33.33 33.33 0 0 0 | 33.34 33.34 0 0 0"},
      // 0.05 at 50% is 0.025, which rounds to the even cent (0.02); the remainder goes last.
      {"1 50 | 2 25 | 3 25", 1000.01, 10.01, 0.05, 1.01,
       "50 500 5 0.02 0.5 | 25 250 2.5 0.01 0.25 | 25 250.01 2.51 0.02 0.26"},
      {"1 33.33 | 2 33.33 | 3 33.34", -100, 0, 0, 0, "33.33 -33.33 0 0 0 | 33.33 -33.33 0 0 0 | 33.34 -33.34 0 0 0"},
      // A tie goes to the even cent.
      {"1 50 | 2 50", 0.25, 0, 0, 0, "50 0.12 0 0 0 | 52 0.13 0 0 0"},
      {"7 40", 80, 1, 2, 3, "100 80 1 2 3"},
  };
  for (const Caso& caso : casos) {
    TClientDataSet contas;
    Contas(contas, caso.Contas);
    Regras::CalcularValoresContas(contas, caso.Total, caso.Desconto, caso.Juros, caso.Devolucao);
    EXPECT_EQ(Linhas(contas, {"PERCRATEIO", "VALOR", "DESCONTOFIN", "TXPERM", "VALORDEVOL"}), caso.Esperado)
        << caso.Contas << " of " << caso.Total;
  }
}

// The cost centers of an account split its value the same way; an account of 0 leaves the last
// cost center's percentage as it was instead of dividing by zero.
TEST(RegrasRateioContas, CostCentersSplitTheAccountsValue) {
  TClientDataSet centros;
  Centros(centros, "1 A 33.33 0 | 1 B 33.33 0 | 1 C 33.34 0");
  Regras::CalcularValoresCentrosCusto(centros, 10);
  EXPECT_EQ(Linhas(centros, {"PERCRATEIO", "VALOR"}), "33.33 3.33 | 33.33 3.33 | 33.4 3.34");
  Regras::CalcularValoresCentrosCusto(centros, -33.34);
  EXPECT_EQ(Linhas(centros, {"PERCRATEIO", "VALOR"}), "33.33 -11.11 | 33.33 -11.11 | 33.35 -11.12");
  Regras::CalcularValoresCentrosCusto(centros, 0);
  EXPECT_EQ(Linhas(centros, {"PERCRATEIO", "VALOR"}), "33.33 0 | 33.33 0 | 33.35 0");
}

// ---------------------------------------------------------------------------------------------
// The whole split.

const std::string kSemCentroCusto =
    "Existe conta que trabalha com rateio de centro de custo e não possui\rnenhum lançamento. Favor inserir "
    "lançamento de rateio!";
const std::string kCentrosNaoFecham =
    "O parâmetro \"2664 - Obrigar rateio de Centro de Custos totalizar 100%\"\restá definido como \"Sim\". Favor "
    "fechar em 100% o rateio de centro de custo!";
const std::string kSemRateio = "É necessário informar algum lançamento de rateio!";
const std::string kContasNaoFecham =
    "O parâmetro \"2664 - Obrigar rateio Contas totalizar 100%\"\restá definido como \"Sim\". Favor fechar em 100% "
    "o rateio de centro de custo!";

TEST(RegrasRateioContas, WholeSplitFirstBrokenRuleRaisesItsText) {
  struct Caso {
    const char* Nome;
    bool RateioTotal;
    double Total;
    const char* Contas;
    const char* Centros;
    const char* Mensagem;  // nullptr: the split passes
  };
  const Caso casos[] = {
      {"CentrosFecham", true, 100, "1 60 60 S | 2 40 40", "1 A 50 30 | 1 B 50 30", nullptr},
      {"CentrosDoisCentavosAbaixo", true, 100, "1 60 60 S | 2 40 40", "1 A 50 30 | 1 B 50 29.98",
       kCentrosNaoFecham.c_str()},
      {"CentrosMeioCentavoAbaixo", true, 100, "1 60 60 S | 2 40 40", "1 A 50 30 | 1 B 50 29.995", nullptr},
      // One-sided before: a split at 120% of the account passed.
      {"CentrosAcimaDaConta", true, 100, "1 60 60 S | 2 40 40", "1 A 100 60 | 1 B 20 12", kCentrosNaoFecham.c_str()},
      // And for a negative entry any shortfall passed.
      {"CentrosDeContaNegativaAbaixo", true, -100, "1 60 -60 S | 2 40 -40", "1 A 50 -30 | 1 B 50 -29.98",
       kCentrosNaoFecham.c_str()},
      {"ContaNegativaFecha", true, -100, "1 60 -60 S | 2 40 -40", "1 A 50 -30 | 1 B 50 -30", nullptr},
      {"SemParametroCentrosNaoPrecisamFechar", false, 100, "1 60 60 S | 2 40 40", "1 A 50 10", nullptr},
      {"ContaComCentroCustoSemNenhum", false, 100, "1 60 60 S | 2 40 40", "2 X 100 40", kSemCentroCusto.c_str()},
      {"ContaComCentroCustoSemNenhumComParametro", true, 100, "1 60 60 S | 2 40 40", "", kCentrosNaoFecham.c_str()},
      {"ContaSemCentroCusto", false, 100, "1 60 60 | 2 40 40", "", nullptr},
      {"NenhumaConta", false, 100, "", "", kSemRateio.c_str()},
      {"NenhumaContaComParametro", true, 100, "", "", kContasNaoFecham.c_str()},
      {"ContasDoisCentavosAbaixo", true, 100, "1 60 60 | 2 40 39.98", "", kContasNaoFecham.c_str()},
      {"ContasMeioCentavoAbaixo", true, 100, "1 60 60 | 2 40 39.995", "", nullptr},
      {"ContasAcimaDoTotal", true, 100, "1 60 60 | 2 60 60", "", kContasNaoFecham.c_str()},
      {"ContasDeTotalNegativoAbaixo", true, -100, "1 60 -60 | 2 40 -39.98", "", kContasNaoFecham.c_str()},
      {"SemParametroContasNaoPrecisamFechar", false, 100, "1 60 60", "", nullptr},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.Nome);
    TClientDataSet contas;
    TClientDataSet centros;
    Contas(contas, caso.Contas);
    Centros(centros, caso.Centros);
    centros.SetFilter("CODCONTA = 2");
    centros.SetFiltered(true);
    std::optional<std::string> mensagem;
    try {
      Regras::ValidarTotais(contas, centros, caso.Total, caso.RateioTotal);
    } catch (const Exception& falha) {
      EXPECT_STREQ(falha.ClassName(), "Exception");
      mensagem = falha.Message();
    }
    EXPECT_EQ(mensagem, caso.Mensagem != nullptr ? std::optional<std::string>(caso.Mensagem) : std::nullopt);
    // The form's view of the cost centers is as it was.
    EXPECT_EQ(centros.Filter(), "CODCONTA = 2");
    EXPECT_TRUE(centros.Filtered());
  }
}

// ---------------------------------------------------------------------------------------------
// Amounts of the posted entries.

// Each tax by the account's percentage, the value net of them; the last entry takes what the
// others leave of every amount, so the entries add up to the record exactly.
TEST(RegrasRateioContas, EntriesShareTaxesByPercentageAndTheLastTakesTheRest) {
  TValoresLancamento inicial;
  inicial.VALOR = 97.85;  // 100.00 gross less 1.50 IRRF and 0.65 PIS
  inicial.DESCONTOFIN = 1;
  inicial.TXPERM = 0.05;
  inicial.VALORDEV = 0;
  inicial.Impostos = {1.5, 0.65, 0, 0, 0, 0};
  const std::vector<TParteConta> partes{
      {33.33, 33.33, 0.33, 0.02, 0}, {33.33, 33.33, 0.33, 0.02, 0}, {33.34, 33.34, 0.34, 0.01, 0}};
  const std::vector<TValoresLancamento> lancamentos = Regras::RepartirLancamento(inicial, partes);
  ASSERT_EQ(lancamentos.size(), 3u);
  const TValoresLancamento primeiro{32.61, 0.33, 0.02, 0, {0.5, 0.22, 0, 0, 0, 0}};
  EXPECT_EQ(lancamentos[0], primeiro);
  EXPECT_EQ(lancamentos[1], primeiro);
  const TValoresLancamento ultimo{32.63, 0.34, 0.01, 0, {0.5, 0.21, 0, 0, 0, 0}};
  EXPECT_EQ(lancamentos[2], ultimo);

  // A single account is the record itself.
  EXPECT_EQ(Regras::RepartirLancamento(inicial, {{100, 100, 9, 9, 9}}), std::vector<TValoresLancamento>{inicial});
}

// By percentage (the host's selector above 0) the values are cut to the cent and the last takes the
// remainder, so the rows total the entry; otherwise each row keeps its value, to the cent.
TEST(RegrasRateioContas, CostCentersOfANewEntryTotalIt) {
  const std::vector<TParteCentroCusto> linhas{{33.33, 11.111}, {33.33, 11.114}, {33.34, 11.115}};
  EXPECT_EQ(Regras::ValoresCentrosCustoLancamento(linhas, 97.85, true), (std::vector<double>{32.61, 32.61, 32.63}));
  EXPECT_EQ(Regras::ValoresCentrosCustoLancamento(linhas, 97.85, false), (std::vector<double>{11.11, 11.11, 11.12}));
  EXPECT_TRUE(Regras::ValoresCentrosCustoLancamento({}, 10, true).empty());
}

}  // namespace
