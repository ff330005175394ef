#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "payable/Uclsfin_dalcontaspagar.h"
#include "sdk/TBase.h"
#include "sdk/fin/IFin_ContasPagar.h"
#include "sdk/fin/ParametrosContasPagar.h"

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
  std::string BaixarBordero(double NUMBORDERO, double NUMTRANS, double Valor, double CodBanco,
                            const std::string& CodCob, std::vector<RFin_IncluirContasPagar>& Lancamentos,
                            const std::string& Historico) override;
  bool EstornarConhecimentoDeFrete(double RECNUM, int Modo) override;
  bool BaixarLancamentoAutomaticamente(double RECNUM, int CodBanco, const std::string& Historico, double DescontoFin,
                                       double Juros) override;
  std::vector<RFin_IncluirContasPagar> GetListaLancamento(const std::string& psListaRecNum) override;

#define FIN_DECLARAR_NUMERO(Nome, Host)   \
  void Set##Nome(double value) override { \
    F##Nome = value;                      \
  }                                       \
  double Get##Nome() override;
#define FIN_DECLARAR_TEXTO(Nome, Host)                \
  void Set##Nome(const std::string& value) override { \
    F##Nome = value;                                  \
  }                                                   \
  std::string Get##Nome() override;
  FIN_PARAMETROS_CONTAS_PAGAR(FIN_DECLARAR_NUMERO, FIN_DECLARAR_TEXTO)
#undef FIN_DECLARAR_NUMERO
#undef FIN_DECLARAR_TEXTO
  void SetLancarZTLancBloqGeral(bool value) override {
    FLancarZTLancBloqGeral = value;
  }

  bool GetLancarZTLancBloqGeral() override {
    return FLancarZTLancBloqGeral;
  }

  bool BloquearDespesaAcimaDoValorOrcado(const std::string& psCodFilial) override;
  bool VerificarPeriodoBloqueado(const RFin_ParamFilialData& prParametros) override;
  bool ValidarLinhaDigitavel(RFin_ValidarLinhaDigitavel& prParametros) override;
  bool VerificarOrcamentoExcedido(RFin_ValidarOrcamento& prParametros) override;
  bool GetOrcamentoExcedido() override {
    return FOrcamentoExcedido;
  }
  bool AprovarSuplementacao(RFin_AprovarSuplementacao& prParametros) override;
  bool RejeitarSuplementacao(RFin_RejeitarSuplementacao& prParametros) override;
  bool LancarSuplementacao(RFin_ValidarOrcamento& prParametros) override;
  std::string GetListaRecNum(double prNumTransEnt) override;

  // The supplementation flag of the last Incluir: whether that entry was to be supplemented.
  [[nodiscard]] bool GetSuplementacao() const noexcept {
    return FSuplementacao;
  }
  // The data-access object, created on first use and kept.
  [[nodiscard]] TDALContasPagar& GetDALContasPagar();

  // The budget verdict for an entry of `valor`: exceeded when paid + open + value, to 2 decimals, is
  // greater than the budget to 2 decimals.
  [[nodiscard]] static TSituacaoOrcamento AvaliarOrcamento(double orcado, double pago, double aberto, double valor);
  // The text shown when an entry takes an account over its budget (amounts in the host's format).
  [[nodiscard]] static std::string TextoOrcamento(double codconta, int mes, int ano, const std::string& codfilial,
                                                  const TSituacaoOrcamento& situacao);

 private:
  // The bordero's steps: every entry paid with its side entries, their cost centers, the cash
  // movement of the total.
  void QuitarLancamentosBordero(double numbordero, double numtrans, std::vector<RFin_IncluirContasPagar>& lancamentos);
  void RatearLancamentosAdicionais(double numbordero);
  void MovimentarBordero(double numbordero, double numtrans, double valor, double codbanco, const std::string& codcob,
                         const std::string& historico);
  // The refund of a paid freight bill: a receivable title for the sale's customer, or an allowance.
  void EstornarFreteContasReceber(const RFin_IncluirContasPagar& lancamento);
  void EstornarFreteVerba(const RFin_IncluirContasPagar& lancamento);
  // The approval's steps: the held rows copied, the money of a settled expense, the held rows
  // deleted, the requester's notice. Failures: "Erro ao aprovar a suplementação. \r" + cause.
  bool AprovarLancamentoRetido(RFin_AprovarSuplementacao& registro);
  void MovimentarDespesaAprovada(const TDALContasPagar::TLancamentoRetido& retido, double recnum, double aprovador);
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
  // Explicit values of the host parameters (used only in the host's explicit-parameter mode).
#define FIN_CAMPO_NUMERO(Nome, Host) double F##Nome = 0;
#define FIN_CAMPO_TEXTO(Nome, Host) std::string F##Nome;
  FIN_PARAMETROS_CONTAS_PAGAR(FIN_CAMPO_NUMERO, FIN_CAMPO_TEXTO)
#undef FIN_CAMPO_NUMERO
#undef FIN_CAMPO_TEXTO
  bool FLancarZTLancBloqGeral = false;
  bool FOrcamentoExcedido = false;
  bool FSuplementacao = false;
  // TRABSUPLORC of the branch being posted, known only while Incluir runs.
  std::optional<std::pair<std::string, bool>> FTrabalhaSuplementacaoIncluir;
};
