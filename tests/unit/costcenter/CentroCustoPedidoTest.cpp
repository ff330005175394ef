#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "costcenter/Uclsfin_centrocustopedidocompraconsumo.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "support/Failure.h"
#include "support/StatementBuilders.h"

namespace {

using DAL = TDALCentroCustoPedidoCompraConsumo;
using Regras = TRegrasRateioPedidoCompraConsumo;
using Area = TValidaCentroCustoPedidoCompraConsumo;
using Parametros = TParametrosCentroCustoPedidoCompraConsumo;

// What costcenter/costcenter.sql.test holds for the installments of purchase orders.
const testsupport::StatementBuilders kPedidoStatements({
    {"TDALCentroCustoPedidoCompraConsumo::GetSQLInsert", [] { return DAL::GetSQLInsert(); }},
    {"TDALCentroCustoPedidoCompraConsumo::GetSQLDeleteTodos", [] { return DAL::GetSQLDeleteTodos(); }},
    {"TDALCentroCustoPedidoCompraConsumo::GetSQLAlterarConta", [] { return DAL::GetSQLAlterarConta(); }},
    {"TDALCentroCustoPedidoCompraConsumo::GetSQLRegistrosLancto", [] { return DAL::GetSQLRegistrosLancto(); }},
    {"TDALCentroCustoPedidoCompraConsumo::GetSQLRateioPeloNumeroPedido",
     [] { return DAL::GetSQLRateioPeloNumeroPedido(); }},
    {"TDALCentroCustoPedidoCompraConsumo::GetSQLTravarPrestacao", [] { return DAL::GetSQLTravarPrestacao(); }},
    {"TDALCentroCustoPedidoCompraConsumo::GetSQLVencimentoPrestacao", [] { return DAL::GetSQLVencimentoPrestacao(); }},
    {"TDALCentroCustoPedidoCompraConsumo::GetSQLRealizadoConta (by entry date)",
     [] { return DAL::GetSQLRealizadoConta(false); }},
    {"TDALCentroCustoPedidoCompraConsumo::GetSQLRealizadoConta (by due date)",
     [] { return DAL::GetSQLRealizadoConta(true); }},
});

// Bad keys never reach a statement: each is refused with a text the host can show.
TEST(OrderCostCenterKeys, OrderNumbersAndInstallmentsOutsideTheTablesAreRefused) {
  for (const double bom : {1.0, 123456.0, 9999999999.0}) EXPECT_NO_THROW(Area::ConferirNumeroPedido(bom)) << bom;
  const double ruins[] = {
      0, -7, 12.5, 1e10, 1e12, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()};
  for (const double ruim : ruins) {
    EXPECT_FAILS_WITH(
        Area::ConferirNumeroPedido(ruim),
        "Exception: Número de pedido inválido para o rateio de Centro de Custo: " + ShortestDecimal(ruim) + "!");
  }
  for (const char* boa : {"1", " 12 ", "AÉ"}) EXPECT_NO_THROW(Area::ConferirPrestacao(boa)) << boa;
  EXPECT_FAILS_WITH(Area::ConferirPrestacao("  "), "Exception: Prestação não informada.");
  for (const std::string ruim : {"123", "ABC", "1'--", "1' OR '1'='1"}) {
    EXPECT_FAILS_WITH(Area::ConferirPrestacao(ruim), "Exception: Prestação \"" + ruim +
                                                         "\" inválida para o rateio de Centro de Custo: informe até 2 "
                                                         "caracteres!");
  }
}

void Adicionar(TClientDataSet& rateios, double numped, const std::string& prest, const std::string& cc, double perc,
               double valor) {
  rateios.Append();
  rateios.FieldByName("NUMPED").SetAsFloat(numped);
  rateios.FieldByName("PREST").SetAsString(prest);
  rateios.FieldByName("CODFILIAL").SetAsString("1");
  rateios.FieldByName("CODIGOCENTROCUSTO").SetAsString(cc);
  rateios.FieldByName("PERCRATEIO").SetAsFloat(perc);
  rateios.FieldByName("VALOR").SetAsFloat(valor);
  rateios.Post();
}

std::string Visiveis(TClientDataSet& rateios) {
  std::string texto;
  for (rateios.First(); !rateios.Eof(); rateios.Next()) {
    texto += (texto.empty() ? "" : " | ") + rateios.FieldByName("CODIGOCENTROCUSTO").AsString() + " " +
             ShortestDecimal(rateios.FieldByName("PERCRATEIO").AsFloat()) + " " +
             ShortestDecimal(rateios.FieldByName("VALOR").AsFloat());
  }
  return texto;
}

// Installment 1 of order 500, filtered as a run has it, beside installment 2 of the same order
// and installment 1 of order 501 (the keys are the order number and the installment together).
class InstallmentRules : public ::testing::Test {
 protected:
  void SetUp() override {
    p.NumeroPedido = 500;
    p.Prestacao = "1";
    p.CodConta = "3101";
    p.CodFilial = "1";
    Adicionar(p.cdsRateios(), 500, "2", "X", 100, 777);
    Adicionar(p.cdsRateios(), 501, "1", "X", 100, 888);
    p.cdsRateios().SetFilter(Regras::FiltroLancamento(p));
    p.cdsRateios().SetFiltered(true);
  }
  void TearDown() override {
    p.cdsRateios().SetFilter("NUMPED = 500 AND PREST = '2'");
    EXPECT_EQ(Visiveis(p.cdsRateios()), "X 100 777") << "another installment's row changed";
    p.cdsRateios().SetFilter("NUMPED = 501");
    EXPECT_EQ(Visiveis(p.cdsRateios()), "X 100 888") << "another order's row changed";
  }
  Parametros p;
};

TEST_F(InstallmentRules, StandardRowsAreRoundedToTheInstallmentWithTheCentOnTheLastRow) {
  p.ValorLancto = 10;
  TClientDataSet padrao;
  Parametros::CriarCdsRateios(padrao);
  for (const char* cc : {"A", "B"}) Adicionar(padrao, 0, "", cc, 33.33, 0);
  Adicionar(padrao, 0, "", "C", 33.34, 0);
  Adicionar(padrao, 0, "", "A", 10, 0);  // offered twice: inserted once
  std::string repetidos;
  EXPECT_TRUE(Regras::InserirLinhasPadrao(p, padrao, false, repetidos));
  EXPECT_EQ(repetidos, "'A'");
  Regras::ValidaTotalCC_ValorLancto(p);
  EXPECT_EQ(Visiveis(p.cdsRateios()), "A 33.33 3.33 | B 33.33 3.33 | C 33.34 3.34");
  p.cdsRateios().First();
  EXPECT_EQ(p.cdsRateios().FieldByName("NUMPED").AsFloat(), 500);
  EXPECT_EQ(p.cdsRateios().FieldByName("PREST").AsString(), "1");
}

TEST_F(InstallmentRules, TheSameCostCenterTwiceInTheInstallmentIsKeptOnce) {
  p.ValorLancto = 10;
  Adicionar(p.cdsRateios(), 500, "1", "A", 50, 5);
  Adicionar(p.cdsRateios(), 500, "1", "A", 50, 5);
  Adicionar(p.cdsRateios(), 500, "1", "B", 50, 5);
  Regras::LimpaRegistrosDuplicadosCentroCusto(p);
  EXPECT_EQ(Visiveis(p.cdsRateios()), "A 50 5 | B 50 5");
}

// An installment always has a kind of its own: no row, or a value that does not close with 2664,
// is refused like a payable entry's.
TEST_F(InstallmentRules, WholeApportionmentTotalsAreThoseOfAPayableEntry) {
  p.ValorLancto = 10;
  EXPECT_FAILS_WITH(Regras::ValidaTotaisInclusao(p, {}), "Exception: Favor informar ao menos um registro!");
  Adicionar(p.cdsRateios(), 500, "1", "A", 50, 5);
  Adicionar(p.cdsRateios(), 500, "1", "B", 49.7, 4.97);
  EXPECT_FAILS_WITH(Regras::ValidaTotaisInclusao(p, {true, 0}),
                    "Exception: O parâmetro \"2664 - Obrigar rateio de Centro de Custos totalizar 100%\" está definido "
                    "como \"Sim\". Favor fechar em 100% o rateio!");
  EXPECT_NO_THROW(Regras::ValidaTotaisInclusao(p, {false, 0}));
}

}  // namespace
