#pragma once

#include <string>
#include <vector>

#include "sdk/fin/RFin_AprovarSuplementacao.h"
#include "sdk/fin/RFin_IncluirContasPagar.h"
#include "sdk/fin/RFin_ParamFilialData.h"
#include "sdk/fin/RFin_RejeitarSuplementacao.h"
#include "sdk/fin/RFin_ValidarLinhaDigitavel.h"
#include "sdk/fin/RFin_ValidarOrcamento.h"

// Payable entries (the payable area): posting, bordero settlement, typeable lines, freight-bill
// reversal and closed financial periods.
class IFin_ContasPagar {
 public:
  static constexpr const char* InterfaceName = "IFin_ContasPagar";
  virtual ~IFin_ContasPagar();

  // Validates and posts one entry (and its cost centers); true when inserted. Raises on rejection.
  virtual bool Incluir(RFin_IncluirContasPagar& prParametros) = 0;
  // Settles the entries of a bordero paid together from one bank account: each entry paid, its
  // side entries (discount, interest, exchange variation) posted, one cash movement for the total.
  // Answers the result message.
  virtual std::string BaixarBordero(double NUMBORDERO, double NUMTRANS, double Valor, double CodBanco,
                                    const std::string& CodCob, std::vector<RFin_IncluirContasPagar>& Lancamentos,
                                    const std::string& Historico) = 0;
  // Reverses the payable entry of a freight bill: an open entry is reversed, a paid one refunded as a
  // receivable title (mode 0) or a supplier allowance (mode 1).
  virtual bool EstornarConhecimentoDeFrete(double RECNUM, int Modo) = 0;
  // Puts one open entry on a bordero of its own and settles it.
  virtual bool BaixarLancamentoAutomaticamente(double RECNUM, int CodBanco, const std::string& Historico,
                                               double DescontoFin, double Juros) = 0;
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
  // Whether the branch has closed its financial period for the day.
  [[nodiscard]] virtual bool VerificarPeriodoBloqueado(const RFin_ParamFilialData& prParametros) = 0;
  // Checks a slip's barcode or typeable line against the title; the barcode is written back.
  virtual bool ValidarLinhaDigitavel(RFin_ValidarLinhaDigitavel& prParametros) = 0;
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
