#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sdk/TBase.h"
#include "sdk/fin/IFin_ContasPagar.h"

class TDALContasPagar;

// What the month of an account already holds against its budget, and the verdict for one more entry.
struct TSituacaoOrcamento {
  double Orcado = 0;      // the month's budget, to 2 decimals
  double Realizado = 0;   // paid + open, to 2 decimals
  double Disponivel = 0;  // what is left, never below 0
  bool Excedido = false;  // the entry takes the account over its budget
};

// The payable area: validates payable entries, posts them (held in ZTLANCBLOQ when they wait for a
// budget supplementation) and hands them to the cost-center area; approves and rejects held entries.
class TContasPagar : public TBaseSubModulo, public IFin_ContasPagar {
 public:
  explicit TContasPagar(TComponent* owner);
  ~TContasPagar() override;

  bool Incluir(RFin_IncluirContasPagar& prParametros) override;
  std::vector<RFin_IncluirContasPagar> GetListaLancamento(const std::string& psListaRecNum) override;

  void SetNUMDIASMAXEMISSAOCP_1957(double value) override { FNUMDIASMAXEMISSAOCP_1957 = value; }
  void SetNUMDIASMINDESPPAG_1393(double value) override { FNUMDIASMINDESPPAG_1393 = value; }
  void SetGERARDESPESAAOBAIXARDESCNA409_2349(const std::string& value) override {
    FGERARDESPESAAOBAIXARDESCNA409_2349 = value;
  }
  void SetLANCARDESPDESCAUTOMATIC_2421(const std::string& value) override { FLANCARDESPDESCAUTOMATIC_2421 = value; }
  void SetLANCARDESPDESCFINAUTOMATIC_2445(const std::string& value) override {
    FLANCARDESPDESCFINAUTOMATIC_2445 = value;
  }
  void SetCODCONTASOBRAACERTO_1535(double value) override { FCODCONTASOBRAACERTO_1535 = value; }
  void SetCODCONTASOBRACAIXA_1210(double value) override { FCODCONTASOBRACAIXA_1210 = value; }
  void SetCODCONTAFALTACAIXA_1207(double value) override { FCODCONTAFALTACAIXA_1207 = value; }
  void SetLancarZTLancBloqGeral(bool value) override { FLancarZTLancBloqGeral = value; }

  double GetNUMDIASMAXEMISSAOCP_1957() override;
  double GetNUMDIASMINDESPPAG_1393() override;
  std::string GetGERARDESPESAAOBAIXARDESCNA409_2349() override;
  std::string GetLANCARDESPDESCAUTOMATIC_2421() override;
  std::string GetLANCARDESPDESCFINAUTOMATIC_2445() override;
  double GetCODCONTASOBRAACERTO_1535() override;
  double GetCODCONTASOBRACAIXA_1210() override;
  double GetCODCONTAFALTACAIXA_1207() override;
  bool GetLancarZTLancBloqGeral() override { return FLancarZTLancBloqGeral; }

  bool BloquearDespesaAcimaDoValorOrcado(const std::string& psCodFilial) override;
  bool VerificarOrcamentoExcedido(RFin_ValidarOrcamento& prParametros) override;
  bool GetOrcamentoExcedido() override { return FOrcamentoExcedido; }
  bool AprovarSuplementacao(RFin_AprovarSuplementacao& prParametros) override;
  bool RejeitarSuplementacao(RFin_RejeitarSuplementacao& prParametros) override;
  bool LancarSuplementacao(RFin_ValidarOrcamento& prParametros) override;
  std::string GetListaRecNum(double prNumTransEnt) override;

  // The supplementation flag of the last Incluir: whether that entry was to be supplemented.
  [[nodiscard]] bool GetSuplementacao() const noexcept { return FSuplementacao; }
  // The data-access object, created on first use and kept.
  [[nodiscard]] TDALContasPagar& GetDALContasPagar();

  // The budget verdict for an entry of `valor`: exceeded when paid + open + value, to 2 decimals, is
  // greater than the budget to 2 decimals.
  [[nodiscard]] static TSituacaoOrcamento AvaliarOrcamento(double orcado, double pago, double aberto, double valor);
  // The text shown when an entry takes an account over its budget (amounts in the host's format).
  [[nodiscard]] static std::string TextoOrcamento(double codconta, int mes, int ano, const std::string& codfilial,
                                                  const TSituacaoOrcamento& situacao);

 private:
  // The budget verdict (steps before the flags are kept); `suplementacao` tells whether the branch
  // works with supplementation, when that was asked.
  bool AvaliarOrcamentoExcedido(RFin_ValidarOrcamento& parametros, std::optional<bool>& suplementacao);
  // The budget check with its flags kept (OrcamentoExcedido, LancarZTLancBloqGeral), also on failure.
  bool VerificarOrcamento(RFin_ValidarOrcamento& parametros, std::optional<bool>& suplementacao);
  [[nodiscard]] bool TrabalhaComSuplementacao(const std::string& codfilial);
  // Whether the cost-center area holds this entry's apportionment over its own budget or asks for the held tables.
  [[nodiscard]] bool CentroCustoPedeRetencao(double recnum);
  void ValidarLancamento(const RFin_IncluirContasPagar& registro);
  void ProcessarCentroCusto(RFin_IncluirContasPagar& registro, bool retido);
  [[nodiscard]] bool VerificarRotina746(const RFin_IncluirContasPagar& registro);
  [[nodiscard]] double ParametroNumerico(double valor_explicito, const char* nome);
  [[nodiscard]] std::string ParametroTexto(const std::string& valor_explicito, const char* nome);

  TDALContasPagar* FDALContasPagar = nullptr;  // owned by the host component
  double FNUMDIASMAXEMISSAOCP_1957 = 0;
  double FNUMDIASMINDESPPAG_1393 = 0;
  std::string FGERARDESPESAAOBAIXARDESCNA409_2349;
  std::string FLANCARDESPDESCAUTOMATIC_2421;
  std::string FLANCARDESPDESCFINAUTOMATIC_2445;
  double FCODCONTASOBRAACERTO_1535 = 0;
  double FCODCONTASOBRACAIXA_1210 = 0;
  double FCODCONTAFALTACAIXA_1207 = 0;
  bool FLancarZTLancBloqGeral = false;
  bool FOrcamentoExcedido = false;
  bool FSuplementacao = false;
  // TRABSUPLORC of the branch being posted, known only while Incluir runs.
  std::optional<std::pair<std::string, bool>> FTrabalhaSuplementacaoIncluir;
};
