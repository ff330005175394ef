#include "costcenter/Uclsfin_parametroscentrocustopedidocompraconsumo.h"

#include <array>

#include "costcenter/Uclsfin_dalcentrocustopedidocompraconsumo.h"
#include "costcenter/Uclsfin_rateiolinhas.h"
#include "rtl/Formatacao.h"

namespace {

// The fields of an installment's apportionment rows, in the order they are defined.
constexpr std::array<TCampoRateio, 11> kCamposRateio = {{
    {"CODFILIAL", TFieldType::ftString, 2},
    {"NUMPED", TFieldType::ftFloat, 0},
    {"PREST", TFieldType::ftString, 2},
    {"CODCONTA", TFieldType::ftFloat, 0},
    {"VALOR", TFieldType::ftFloat, 0},
    {"PERCRATEIO", TFieldType::ftFloat, 0},
    {"DTLANC", TFieldType::ftDateTime, 0},
    {"DESCCENTROCUSTO", TFieldType::ftString, 80},
    {"CODIGOCENTROCUSTO", TFieldType::ftString, 40},
    {"ROWID", TFieldType::ftString, 50},
    {"CCTEMPERMISSAO_ZTLIB", TFieldType::ftString, 1},
}};

}  // namespace

TParametrosCentroCustoPedidoCompraConsumo::TParametrosCentroCustoPedidoCompraConsumo()
    : TParametrosRateio(kCamposRateio) {}
TParametrosCentroCustoPedidoCompraConsumo::~TParametrosCentroCustoPedidoCompraConsumo() = default;

void TParametrosCentroCustoPedidoCompraConsumo::CriarCdsRateios(TClientDataSet& dataset) {
  DefinirCamposRateio(dataset, kCamposRateio);
}

std::string TChaveRateio<TParametrosCentroCustoPedidoCompraConsumo>::Filtro(const P& p) {
  return "NUMPED = " + ShortestDecimal(p.NumeroPedido) + " AND PREST = " + rateio_linhas::Aspas(Trim(p.Prestacao));
}

std::string TChaveRateio<TParametrosCentroCustoPedidoCompraConsumo>::Chave(const P& p) {
  return ShortestDecimal(p.NumeroPedido) + ";" + Trim(p.Prestacao);
}

bool TChaveRateio<TParametrosCentroCustoPedidoCompraConsumo>::InsereCentroCusto(P& p, bool nova) {
  return TDALCentroCustoPedidoCompraConsumo::InsereCentroCusto(p, nova);
}
