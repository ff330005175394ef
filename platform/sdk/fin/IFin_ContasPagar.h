#pragma once

#include <string>
#include <vector>

#include "sdk/fin/RFin_AprovarSuplementacao.h"
#include "sdk/fin/RFin_IncluirContasPagar.h"
#include "sdk/fin/RFin_RejeitarSuplementacao.h"
#include "sdk/fin/RFin_ValidarOrcamento.h"

// Payable entries (the payable area). Bordero settlement, typeable lines, freight-bill reversal and
// closed financial periods take their slots when they are built.
class IFin_ContasPagar {
 public:
  static constexpr const char* InterfaceName = "IFin_ContasPagar";
  virtual ~IFin_ContasPagar();

  // Validates and posts one entry (and its cost centers); true when inserted. Raises on rejection.
  virtual bool Incluir(RFin_IncluirContasPagar& prParametros) = 0;
  // The entries of a comma-separated list of RECNUMs.
  [[nodiscard]] virtual std::vector<RFin_IncluirContasPagar> GetListaLancamento(const std::string& psListaRecNum) = 0;

  // Host parameters, explicit values (used only in the host's explicit-parameter mode).
  virtual void SetNUMDIASMAXEMISSAOCP_1957(double value) = 0;
  virtual void SetNUMDIASMINDESPPAG_1393(double value) = 0;
  virtual void SetGERARDESPESAAOBAIXARDESCNA409_2349(const std::string& value) = 0;
  virtual void SetLANCARDESPDESCAUTOMATIC_2421(const std::string& value) = 0;
  virtual void SetLANCARDESPDESCFINAUTOMATIC_2445(const std::string& value) = 0;
  virtual void SetCODCONTASOBRAACERTO_1535(double value) = 0;
  virtual void SetCODCONTASOBRACAIXA_1210(double value) = 0;
  virtual void SetCODCONTAFALTACAIXA_1207(double value) = 0;
  virtual void SetLancarZTLancBloqGeral(bool value) = 0;

  [[nodiscard]] virtual double GetNUMDIASMAXEMISSAOCP_1957() = 0;
  [[nodiscard]] virtual double GetNUMDIASMINDESPPAG_1393() = 0;
  [[nodiscard]] virtual std::string GetGERARDESPESAAOBAIXARDESCNA409_2349() = 0;
  [[nodiscard]] virtual std::string GetLANCARDESPDESCAUTOMATIC_2421() = 0;
  [[nodiscard]] virtual std::string GetLANCARDESPDESCFINAUTOMATIC_2445() = 0;
  [[nodiscard]] virtual double GetCODCONTASOBRAACERTO_1535() = 0;
  [[nodiscard]] virtual double GetCODCONTASOBRACAIXA_1210() = 0;
  [[nodiscard]] virtual double GetCODCONTAFALTACAIXA_1207() = 0;
  // Whether entries go to ZTLANCBLOQ (held for budget supplementation), as set by the caller.
  [[nodiscard]] virtual bool GetLancarZTLancBloqGeral() = 0;

  // Whether a branch refuses expenses above the budget.
  [[nodiscard]] virtual bool BloquearDespesaAcimaDoValorOrcado(const std::string& psCodFilial) = 0;
  // True when the entry may be posted as a supplementation request. Raises when it may not be posted.
  virtual bool VerificarOrcamentoExcedido(RFin_ValidarOrcamento& prParametros) = 0;
  // The answer of the last budget check.
  [[nodiscard]] virtual bool GetOrcamentoExcedido() = 0;
  // Moves a held entry to ZTLANC; false (with the reason in the record) when it failed.
  virtual bool AprovarSuplementacao(RFin_AprovarSuplementacao& prParametros) = 0;
  virtual bool RejeitarSuplementacao(RFin_RejeitarSuplementacao& prParametros) = 0;
  // Whether a new entry is to be held in ZTLANCBLOQ for a supplementation.
  virtual bool LancarSuplementacao(RFin_ValidarOrcamento& prParametros) = 0;
  // The open entries of an entry invoice, comma-separated, when they add up to its total.
  [[nodiscard]] virtual std::string GetListaRecNum(double prNumTransEnt) = 0;
};
