#pragma once

#include <memory>
#include <span>
#include <string>

#include "oradb/TClientDataSet.h"
#include "rtl/TDateTime.h"

// A field of the apportionment rows: name, type and width.
struct TCampoRateio {
  const char* Nome;
  TFieldType Tipo;
  int Tamanho;
};

// Defines `campos` on `dataset`, in their order, and opens it, empty.
void DefinirCamposRateio(TClientDataSet& dataset, std::span<const TCampoRateio> campos);

// What every apportionment run of cost centers carries, whatever it apportions (an entry, an
// installment of a purchase order): the value and account, the row being added, the options of
// the run and the rows themselves (cdsRateios), created on first use.
class TParametrosRateio {
 public:
  TParametrosRateio(const TParametrosRateio&) = delete;
  TParametrosRateio& operator=(const TParametrosRateio&) = delete;

  double ValorLancto = 0;  // value to apportion (signed for an entry)
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
  bool FazCloneRegistroPrincipal = false;  // copy the principal's rows with recomputed values
  bool DesdobramentoZTLanc = false;
  std::string ListaRecNumDesdobramento;  // comma-separated RECNUMs of the split titles
  double VlrTotalTitulosSelecionadosDesd = 0;
  std::string CCTemPermissao_ZTLib;  // "S"/"N" for the row being added

  // The apportionment rows. The parameters own them unless a caller gave its own dataset, which
  // must then outlive the parameters (or be taken back with a null).
  [[nodiscard]] TClientDataSet& cdsRateios();
  void SetcdsRateios(TClientDataSet* dataset);

  // Drops the rows' pending changes: the run produced nothing.
  void CancelarRateios();
  // After an entry is saved: empty rows, unfiltered, and the run's shared state back to its start.
  void LimparRateios();

 protected:
  explicit TParametrosRateio(std::span<const TCampoRateio> campos) : FCampos(campos) {}
  ~TParametrosRateio();

  [[nodiscard]] std::span<const TCampoRateio> Campos() const noexcept { return FCampos; }

 private:
  std::span<const TCampoRateio> FCampos;
  std::unique_ptr<TClientDataSet> FCdsRateiosProprio;
  TClientDataSet* FCdsRateios = nullptr;
};
