#pragma once

#include <memory>
#include <string>

#include "oradb/TClientDataSet.h"
#include "rtl/TDateTime.h"

// One apportionment run of an installment of a consumption purchase order: the installment
// (order number and installment), the options of the run and the rows themselves (cdsRateios).
// A plain class; its dataset is created on first use.
class TParametrosCentroCustoPedidoCompraConsumo {
 public:
  TParametrosCentroCustoPedidoCompraConsumo();
  ~TParametrosCentroCustoPedidoCompraConsumo();
  TParametrosCentroCustoPedidoCompraConsumo(const TParametrosCentroCustoPedidoCompraConsumo&) = delete;
  TParametrosCentroCustoPedidoCompraConsumo& operator=(const TParametrosCentroCustoPedidoCompraConsumo&) = delete;

  double ValorLancto = 0;  // value of the installment to apportion
  double NumeroPedido = 0;
  std::string Prestacao;
  std::string CodFilial;
  std::string CodConta;
  double CodContaGerencial = 0;
  std::string CodRateioPadrao;  // the row being added
  std::string CodCentroCusto;
  std::string DescCentroCusto;
  double PercRateio = 0;
  double ValorRateio = 0;
  bool AlterandoLancto = false;  // the row being added replaces the current row
  TDateTime DataLancto;
  bool EditaLancto = false;
  bool StatusCentroCusto = false;  // the run produced apportionment rows
  bool ShowForm = false;
  bool FazCloneRegistroPrincipal = false;
  bool DesdobramentoZTLanc = false;
  std::string ListaRecNumDesdobramento;  // comma-separated RECNUMs of the split titles
  double VlrTotalTitulosSelecionadosDesd = 0;
  std::string CCTemPermissao_ZTLib;  // "S"/"N" for the row being added
  // The standard proposal starts from the rows already saved for the same order and installment.
  bool ValidarCentroDeCustoExistentePeloNumeroDoPedido = false;

  // The apportionment rows. The parameters own them unless a caller gave its own dataset, which
  // must then outlive the parameters (or be taken back with a null).
  [[nodiscard]] TClientDataSet& cdsRateios();
  void SetcdsRateios(TClientDataSet* dataset);

  // Defines the apportionment fields of an installment on `dataset` and opens it, empty.
  static void CriarCdsRateios(TClientDataSet& dataset);

 private:
  std::unique_ptr<TClientDataSet> FCdsRateiosProprio;
  TClientDataSet* FCdsRateios = nullptr;
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
