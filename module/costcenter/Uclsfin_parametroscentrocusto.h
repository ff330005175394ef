#pragma once

#include <map>
#include <memory>
#include <string>

#include "costcenter/Uclsfin_parametrosrateio.h"
#include "sdk/fin/TTipoLancamento.h"

// Side of a double-entry posting.
enum TTipoPartida : int { tpPartDobradaDebito, tpPartDobradaCredito, tpPartNormal };

// How a field of the apportionment rows takes part in an update: written by it, and used to find
// the row it changes.
struct TProviderFlags {
  bool InUpdate = false;
  bool InWhere = false;
  bool operator==(const TProviderFlags&) const = default;
};

// One apportionment run of the cost-center area: the entry being apportioned (financial,
// accounting or budget line) besides what every run carries.
class TParametrosCentroCusto : public TParametrosRateio {
 public:
  TParametrosCentroCusto();
  ~TParametrosCentroCusto();

  double NumTransacao = 0;             // RECNUM (financial), NUMTRANSLANCTO (accounting), account (no type)
  std::string CodContaAReplicar;       // its standard apportionment is used instead of CodConta's
  std::string ContraPartida_Natureza;  // financial: "S" counterpart; accounting: "D" or "C"
  bool ContaGerencialPrioritaria = false;
  bool LanctoFinanceiro = false;
  bool LanctoContabil = false;
  bool LanctoOrcamento = false;
  double NumTransPrinc_CodPlanoConta = 0;  // principal RECNUM (financial), chart of accounts (accounting)
  bool StatusCentroCustoDebito = false;
  bool StatusCentroCustoCredito = false;
  std::string CodFilialDebito;
  std::string CodFilialCredito;
  std::string CodContaDebito;
  std::string CodContaCredito;
  double NumTransacaoDebito = 0;
  double NumTransacaoCredito = 0;
  double CodLanctoPadraoContabil = 0;
  double Ano = 0;
  double Mes = 0;
  bool PermitirGerarLancamentoAcimaOrcado = false;
  TDateTime DataCompetencia;
  TDateTime DataVencimento;

  // Rows to copy onto this entry; an empty dataset of its own unless the caller gave one.
  [[nodiscard]] TClientDataSet& cdsRateiosAReplicar();
  void SetcdsRateiosAReplicar(TClientDataSet* dataset);

  // The three type flags from the host's entry kind (0 financial, 1 accounting, 4 budget line).
  void DefinirTipoLancamento(TTipoLancamento tipo) noexcept;
  // One of the three type flags is set.
  [[nodiscard]] bool TemTipoLancamento() const noexcept {
    return LanctoFinanceiro || LanctoContabil || LanctoOrcamento;
  }
  // A financial entry that carries the opposite sign of its principal.
  [[nodiscard]] bool EhContraPartida() const noexcept { return LanctoFinanceiro && ContraPartida_Natureza == "S"; }

  // Which fields take part in updates for the current entry type.
  void SetaProviderFlags();
  [[nodiscard]] TProviderFlags ProviderFlags(const std::string& field) const;

  // Defines the apportionment fields on `dataset` and opens it, empty.
  static void CriarCdsRateios(TClientDataSet& dataset);

 private:
  std::unique_ptr<TClientDataSet> FCdsRateiosAReplicarProprio;
  TClientDataSet* FCdsRateiosAReplicar = nullptr;
  std::map<std::string, TProviderFlags> FProviderFlags;
};

// A number kept in a text (account codes): its value, or 0 when the text is not a number.
[[nodiscard]] double TextoParaNumero(const std::string& texto);
