#pragma once

#include <memory>
#include <string>

#include "oradb/TClientDataSet.h"
#include "rtl/TDateTime.h"

class IFin_CentroCusto;

// One account-apportionment run: the entry being split, the account (or cost-center) row the form
// is adding, and the standard rows of the named apportionment. A plain class; its datasets are
// created on first access.
class TParametrosRateioContas {
 public:
  TParametrosRateioContas();
  ~TParametrosRateioContas();
  TParametrosRateioContas(const TParametrosRateioContas&) = delete;
  TParametrosRateioContas& operator=(const TParametrosRateioContas&) = delete;

  double RecNum = 0;
  double CodConta = 0;              // the account row being added
  double ValorTotalLancamento = 0;  // the value being split (signed)
  double ValorRateio = 0;
  double PercRateio = 0;
  TDateTime DtLanc;
  std::string ContraPartida;
  double RecNumPrinc = 0;
  std::string CodFilial;
  double CodRateioConta = 0;  // the named apportionment
  double CodigoFuncionario = 0;
  IFin_CentroCusto* RateioCentroCusto = nullptr;  // not owned
  bool AlterandoLancto = false;                   // the row being added replaces the current one
  double ValorDesc = 0;
  double ValorJuros = 0;
  double ValorDevol = 0;
  TDataSet* DataSourceLigacao = nullptr;  // the rows the host's form shows; not owned
  bool ShowForm = false;
  bool StatusRateioContas = false;  // the split was validated
  bool PermissaoEditarLancamento = false;

  // The accounts and the cost centers of the named apportionment, as proposed.
  [[nodiscard]] TClientDataSet& CdsContasRateioPadrao();
  [[nodiscard]] TClientDataSet& CdsCentroCustoContaPadrao();

  // Defines the account fields (or the cost-center fields) on `dataset` and opens it, empty. The
  // working rows of the area have the same definitions.
  static void CriarCdsContasRateio(TClientDataSet& dataset);
  static void CriarCdsCentroCustoConta(TClientDataSet& dataset);

  // Width of the description fields of both datasets.
  static constexpr std::size_t kLarguraDescricao = 40;

 private:
  std::unique_ptr<TClientDataSet> FCdsContasRateioPadrao;
  std::unique_ptr<TClientDataSet> FCdsCentroCustoContaPadrao;
};
