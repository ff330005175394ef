#pragma once

#include <string>

#include "costcenter/Uclsfin_parametrosrateio.h"

// One apportionment run of an installment of a consumption purchase order: the installment
// (order number and installment) besides what every run carries.
class TParametrosCentroCustoPedidoCompraConsumo : public TParametrosRateio {
 public:
  TParametrosCentroCustoPedidoCompraConsumo();
  ~TParametrosCentroCustoPedidoCompraConsumo();

  double NumeroPedido = 0;
  std::string Prestacao;
  // The standard proposal starts from the rows already saved for the same order and installment.
  bool ValidarCentroDeCustoExistentePeloNumeroDoPedido = false;

  // Defines the apportionment fields of an installment on `dataset` and opens it, empty.
  static void CriarCdsRateios(TClientDataSet& dataset);
};

// How the shared apportionment rules find the rows of an installment: NUMPED and PREST.
template <class TParametros>
struct TChaveRateio;

template <>
struct TChaveRateio<TParametrosCentroCustoPedidoCompraConsumo> {
  using P = TParametrosCentroCustoPedidoCompraConsumo;
  [[nodiscard]] static std::string Filtro(const P& p);
  [[nodiscard]] static std::string Chave(const P& p);
  [[nodiscard]] static bool FiltraDuplicados(const P&) noexcept { return true; }
  // An installment is never a counterpart nor a budget line: its rows always total its value.
  [[nodiscard]] static bool ContraPartida(const P&) noexcept { return false; }
  [[nodiscard]] static bool MantemValores(const P&) noexcept { return false; }
  [[nodiscard]] static bool LinhaOrcamento(const P&) noexcept { return false; }
  [[nodiscard]] static bool TemTipo(const P&) noexcept { return true; }
  [[nodiscard]] static bool ComValor(const P&) noexcept { return true; }
  static bool InsereCentroCusto(P& p, bool nova);
};
