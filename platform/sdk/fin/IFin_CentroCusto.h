#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "rtl/TDateTime.h"
#include "sdk/fin/TTipoLancamento.h"

class TClientDataSet;
class TOraQuery;

// Cost-center apportionment of an entry (the cost-center area): a payable entry, an accounting
// entry or a monthly budget line is spread over cost centers, checked and saved. One object
// serves one entry at a time; the host's apportionment form drives it through the form
// operations. Operations are listed in the host's slot order.
class IFin_CentroCusto {
 public:
  static constexpr const char* InterfaceName = "IFin_CentroCusto";
  virtual ~IFin_CentroCusto();

  // Whether the account works with cost centers in the branch, for the given kind of entry.
  [[nodiscard]] virtual bool ContaTrabalhaCentroCusto(const std::string& psCodFilial, const std::string& psCodConta,
                                                      TTipoLancamento tipoLancamento) = 0;
  // Discards the form's edits of the rows; answers true.
  virtual bool CancelaCentroCusto() = 0;
  // The account's priority cost centers, as an open query the caller frees.
  [[nodiscard]] virtual std::unique_ptr<TOraQuery> ExisteCentroCustoPrioritario(const std::string& pCodConta) = 0;
  // The row the form is about to add (or, with pbAlterandoLancto, the new content of the current row).
  virtual void SetParametros(double prPercentual, double prValorRateio, const std::string& psCodFilial,
                             const std::string& psCodRateioPadrao, const std::string& psCodCentroCusto,
                             const std::string& psDescCentroCusto, bool pbAlterandoLancto) = 0;
  // Checks the row given to SetParametros: 0 lets it in, any other code names the failed check.
  [[nodiscard]] virtual std::uint8_t ValidaCamposInterface() = 0;
  // Whether the cost center is one of the account's priority cost centers.
  [[nodiscard]] virtual bool ValidaCentroCustoPrioritario(const std::string& pCodConta,
                                                          const std::string& pCodCentroCusto) = 0;
  // Validates the whole apportionment before it is saved.
  virtual bool ValidaDadosInformados_Inclusao() = 0;
  // Adds (or updates) the row given to SetParametros in the rows of the entry.
  virtual bool InsereCentroCusto_Client() = 0;
  // Saves the rows of the entry.
  virtual bool InsertCentroCusto_Banco() = 0;
  // Empties the rows and forgets the entry.
  virtual void LimparDadosUltimoLancto() = 0;
  // Loads the saved rows of an entry into the rows of the current one.
  virtual void InsereRegistrosLancto(double prNumTransacao) = 0;
  // Moves the saved apportionment of a payable entry to another account.
  virtual void AlterarContaCentroCusto(std::int64_t RecNum, std::int64_t CodConta, const std::string& CodFilial) = 0;
  // Apportions one entry; answers whether apportionment rows were produced and saved.
  [[nodiscard]] virtual bool ProcessoCentroCusto(bool pbEditaLancto, TTipoLancamento ptTipoLancto,
                                                 const std::string& psCodFilial, const std::string& psCodConta,
                                                 double prNumTransacao, double prValorLancto, TDateTime pdDataLancto,
                                                 bool pbShowForm, const std::string& psContraPartida_Natureza,
                                                 std::int64_t prRecNumPrinc_CodPlanoConta,
                                                 bool pbPermitirGerarLancamentoAcimaOrcado, TDateTime pdDataCompetencia,
                                                 TDateTime pdDataVencimento, bool pbLancarZTLancBloq) = 0;
  // The same, taking its rows from a copy of `pdCdsRateiosAReplicar` (kept for the next runs until
  // another call of this overload) and the standard apportionment of `psCodContaAReplicar`.
  [[nodiscard]] virtual bool ProcessoCentroCusto(
      bool pbEditaLancto, TTipoLancamento ptTipoLancto, const std::string& psCodFilial, const std::string& psCodConta,
      const std::string& psCodContaAReplicar, TClientDataSet* pdCdsRateiosAReplicar, double prNumTransacao,
      double prValorLancto, TDateTime pdDataLancto, bool pbShowForm, const std::string& psContraPartida_Natureza,
      std::int64_t prRecNumPrinc_CodPlanoConta, bool pbPermitirGerarLancamentoAcimaOrcado, TDateTime pdDataCompetencia,
      TDateTime pdDataVencimento, bool pbLancarZTLancBloq) = 0;
  // Deletes the saved rows of an entry.
  virtual void DeleteTodosRegistrosLancto(double prNumTransacao) = 0;
  // Whether a row of the entry was marked over budget.
  [[nodiscard]] virtual bool VerificarOrcamentoExcedido() = 0;
  virtual void SetUTILIZACENTROCUSTO_2663(const std::string& value) = 0;
  [[nodiscard]] virtual std::string GetUTILIZACENTROCUSTO_2663() = 0;
  virtual void SetRATEIOTOTALCC_2664(const std::string& value) = 0;
  [[nodiscard]] virtual std::string GetRATEIOTOTALCC_2664() = 0;
  [[nodiscard]] virtual bool GetFazCloneRegistroPrincipal() = 0;
  virtual void SetFazCloneRegistroPrincipal(bool value) = 0;
  [[nodiscard]] virtual bool GetStatusCentroCusto() = 0;
  // The rows of the entry (owned by the area unless the host gave its own with SetCdsRateios).
  [[nodiscard]] virtual TClientDataSet* GetCdsRateios() = 0;
  virtual void SetCdsRateios(TClientDataSet* value) = 0;
  [[nodiscard]] virtual std::string GetCodFilial() = 0;
  [[nodiscard]] virtual std::string GetCodConta() = 0;
  virtual void SetCodConta(const std::string& value) = 0;
  [[nodiscard]] virtual std::string GetCodContaAReplicar() = 0;
  virtual void SetCodContaAReplicar(const std::string& value) = 0;
  [[nodiscard]] virtual double GetNumTransacao() = 0;
  virtual void SetNumTransacao(double value) = 0;
  [[nodiscard]] virtual double GetValorLancto() = 0;
  virtual void SetValorLancto(double value) = 0;
  [[nodiscard]] virtual TDateTime GetDataLancto() = 0;
  virtual void SetDataLancto(TDateTime value) = 0;
  [[nodiscard]] virtual bool GetShowForm() = 0;
  [[nodiscard]] virtual std::string GetContraPartida_Natureza() = 0;
  [[nodiscard]] virtual double GetRecNumPrinc_CodPlanoConta() = 0;
  [[nodiscard]] virtual bool GetLanctoFinanceiro() = 0;
  [[nodiscard]] virtual bool GetLanctoContabil() = 0;
  [[nodiscard]] virtual bool GetLanctoOrcamento() = 0;
  [[nodiscard]] virtual bool GetEditaLancamento() = 0;
  [[nodiscard]] virtual bool GetLancarZTLancBloq() = 0;
  virtual void SetLancarZTLancBloq(bool value) = 0;
  // Copies the apportionment of a reversed payable entry onto its negative (and positive, unless
  // -1) legs; commits the session.
  virtual void estornarRateio(std::int64_t recNumEstornado, std::int64_t recNumPernaNegativa,
                              std::int64_t recnumPernaPositiva) = 0;
  // Copies the apportionment of one payable entry onto another; commits the session.
  virtual void ReplicarRateio(std::int64_t recNumAReplicar, std::int64_t recNumNovoRateio) = 0;
  // Whether the account of the entry being apportioned has a standard apportionment.
  [[nodiscard]] virtual bool ContaTemRateioPadrao(const std::string& psCodCOnta) = 0;

  // Beyond the host's slots. A run without entry type that maintains an account's standard
  // apportionment also rewrites its priority cost centers when this is set.
  [[nodiscard]] virtual bool GetContaGerencialPrioritaria() = 0;
  virtual void SetContaGerencialPrioritaria(bool value) = 0;
  // The kind of entry the next form or row operation works on (ProcessoCentroCusto sets it too).
  virtual void SetTipoLancamento(TTipoLancamento tipo) = 0;
  // Apportions every payable entry of an inbound invoice (and its freight entries), without form;
  // true when at least one was apportioned.
  [[nodiscard]] virtual bool ProcessoCentroCusto(bool pbEditaLancto, TTipoLancamento ptTipoLancto, double prNumTransEnt,
                                                 double prNumNota, bool pbPermitirGerarLancamentoAcimaOrcado,
                                                 TDateTime pdDataCompetencia, TDateTime pdDataVencimento) = 0;
  // The same for every payable entry of a sale.
  [[nodiscard]] virtual bool ProcessoCentroCusto(bool pbEditaLancto, TTipoLancamento ptTipoLancto,
                                                 double prNumTransVenda, bool pbPermitirGerarLancamentoAcimaOrcado,
                                                 TDateTime pdDataCompetencia, TDateTime pdDataVencimento) = 0;
};
