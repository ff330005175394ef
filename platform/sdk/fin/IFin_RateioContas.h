#pragma once

#include <cstdint>
#include <string>

#include "rtl/TDateTime.h"
#include "sdk/fin/RFin_IncluirContasPagar.h"
#include "sdk/fin/TTipoLancamento.h"

class TClientDataSet;

// Account apportionment (the account-split area): one payable entry is split over the accounts of
// a named apportionment, each account over its standard cost centers; the host's form edits the
// proposal, the area validates it and posts one payable entry per account. Operations are listed
// in the host's slot order.
class IFin_RateioContas {
 public:
  static constexpr const char* InterfaceName = "IFin_RateioContas";
  virtual ~IFin_RateioContas();

  // Parameter 2663 of routine 132: the branch works with cost centers ("S").
  [[nodiscard]] virtual std::string GetUTILIZACENTROCUSTO_2663() = 0;
  virtual void setUTILIZACENTROCUSTO_2663(const std::string& value) = 0;
  // Whether the split was validated and may be posted.
  [[nodiscard]] virtual bool GetStatusRateioContas() = 0;
  // The working rows: the cost centers of the accounts and the accounts of the split (owned by the area).
  [[nodiscard]] virtual TClientDataSet* GetCdsCentroCustoConta() = 0;
  [[nodiscard]] virtual TClientDataSet* GetCdsContasRateio() = 0;
  [[nodiscard]] virtual std::string GetCodigoFilial() = 0;
  [[nodiscard]] virtual bool GetPermissaoEditarLancamento() = 0;
  [[nodiscard]] virtual double GetValorTotalLancamento() = 0;
  [[nodiscard]] virtual double GetCodigoRateioPadrao() = 0;
  // Adds (or changes) the cost-center row given to SetParametrosCentroCusto.
  virtual void InserirCentroCustoCdsRateioCentroCusto() = 0;
  // Adds (or changes) the account row given to SetParametrosConta, with its standard cost centers.
  virtual void InserirContasCdsRateioContas() = 0;
  // Forgets the last split: rows, parameters and data access start anew.
  virtual void CancelarUltimoRateioEfetuado() = 0;
  // Posts the record once per account of the split; the record ends with the created RECNUMs.
  virtual void InserirRateioConta(RFin_IncluirContasPagar& prParametros) = 0;
  // The cost-center row the form is about to add to the account `pContaGerencial`.
  virtual void SetParametrosCentroCusto(double pPercentual, double pValorRateio, const std::string& pCodFilial,
                                        const std::string& pCodRateioPadrao, const std::string& pCodCentroCusto,
                                        const std::string& pDescCentroCusto, bool pAlterandoLancto,
                                        double pContaGerencial, double pValorLanctoConta) = 0;
  // The account row the form is about to add.
  virtual void SetParametrosConta(double pContaGerencial, double pPercentual, double pValorRateio,
                                  const std::string& pCodFilial, double pCodRateioConta, bool pAlterandoLancto,
                                  double pValorDesc, double pValorJuros, double pValorDevol) = 0;
  // Proposes the split of a value by the named apportionment `pCodRateioConta`; without the form
  // the answer is whether the split stands (with the form the user confirms it later).
  virtual bool ProcessoRateioConta(bool pPermissaoEditarLancamento, TTipoLancamento pTipoLancto,
                                   const std::string& pCodFilial, double pCodRateioConta, double pValorLancto,
                                   TDateTime pDataLancto, double pCodigoFuncionario, bool pShowForm,
                                   double pValorDesconto, double pValorJuros, double pValorDevol) = 0;
  // Checks the rows given to the setters: 0 lets them in, any other code names the failed check.
  [[nodiscard]] virtual std::uint8_t ValidaCamposInterfaceCentroCusto() = 0;
  [[nodiscard]] virtual std::uint8_t ValidaCamposInterfaceRateioConta() = 0;
  // Validates the whole split before it is posted; raises the first rule it breaks.
  virtual bool ValidarDadosInformadosParaInclusao() = 0;
  // Discards the form's edits; answers true.
  virtual bool CancelaRateioContas() = 0;
};
