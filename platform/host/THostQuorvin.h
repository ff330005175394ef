#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "oradb/TransactionMark.h"
#include "rtl/TComponent.h"
#include "sdk/IGerenteContabil.h"
#include "sdk/IQuorvin.h"
#include "sdk/IQuorvinSelecaoDNI.h"

namespace host {

// Who is calling and how: the identity and routine a host session runs as.
struct THostConfig {
  std::string Dsn;
  int Matricula = 1;
  int CodigoRotina = 0;
  std::string NomeRotina = "quorvin-fin";
  std::string Label;  // the calling routine's label ("746", "746 [NOVA]")
  std::string Programa = "quorvin-fin";
  bool ParametrosExplicitos = false;
  // Seconds a statement may wait for a row or table lock before it fails as busy (ORA-00054);
  // 0, the default, waits until the holder ends, as on Oracle.
  int TempoEsperaBloqueio = 0;
  // Keep the parameters read in memory across calls, checked once per call (NovaChamada) against
  // the parameters' version: a committed change is seen by the next call, an unchanged store
  // costs one read per call instead of one per parameter.
  bool CacheParametros = false;
};

// Answers a confirmation dialog; the default answers Cancel, so nothing is approved silently.
using TConfirmationPolicy = std::function<TModalResult(const std::string& texto)>;

// Shows the deposit picker; none set answers Cancel, so nothing is settled silently.
using TSeletorDNI = std::function<TModalResult(const TJanelaSelecaoDNI& janela, const TConfirmarSelecaoDNI& confirmar)>;

// One confirmation the module asked for, with the answer it got.
struct TConfirmacao {
  std::string Texto;
  TModalResult Resposta;
};

class THostContabil;
class THostCompras;

// The reference host: one component that provides every host service over one PostgreSQL session
// (plus a second one, opened on first use, for autonomous writes) and owns what the module creates.
class THostQuorvin final : public TComponent,
                           public IQuorvin,
                           public IQuorvinSessao,
                           public IQuorvinUsuario,
                           public IQuorvinBancoDados,
                           public IQuorvinMensagens,
                           public IQuorvinParametros,
                           public IQuorvinNumeracao,
                           public IQuorvinSelecaoDNI {
 public:
  explicit THostQuorvin(THostConfig config);
  ~THostQuorvin() override;

  [[nodiscard]] const THostConfig& Config() const noexcept { return FConfig; }
  void SetCodigoRotina(int rotina) noexcept { FConfig.CodigoRotina = rotina; }
  void SetLabel(std::string label) { FConfig.Label = std::move(label); }
  void SetMatricula(int matricula);
  void SetParametrosExplicitos(bool value) noexcept { FConfig.ParametrosExplicitos = value; }
  void SetConfirmationPolicy(TConfirmationPolicy policy) { FConfirmationPolicy = std::move(policy); }
  [[nodiscard]] const std::vector<TConfirmacao>& Confirmacoes() const noexcept { return FConfirmacoes; }
  void LimparConfirmacoes() noexcept { FConfirmacoes.clear(); }
  void SetSeletorDNI(TSeletorDNI seletor) { FSeletorDNI = std::move(seletor); }

  // Parameter store writes (host administration, not used by the module).
  void DefinirParametro(const std::string& nome, const std::string& valor, const std::string& codfilial = {});
  // A new call of the host begins: the parameters kept in memory are checked against the stored
  // version before the next one is read.
  void NovaChamada() noexcept { FVerificarParametros = true; }
  void SetCacheParametros(bool value) {
    FConfig.CacheParametros = value;
    FParametros.clear();
    FVerificarParametros = true;
  }
  // Reads of ZTPARAMETROS so far (parameters and version checks): what the cache saves.
  [[nodiscard]] std::uint64_t LeiturasParametros() const noexcept { return FLeiturasParametros; }

  // IQuorvin
  TComponent& Componente() override { return *this; }
  IQuorvinSessao& SessaoAtual() override { return *this; }
  IQuorvinParametros& Parametros() override { return *this; }
  IQuorvinNumeracao& Numeracao() override { return *this; }
  IGerenteFinanceiro* GerenteFinanceiro() override;
  IGerenteContabil* GerenteContabil() override;
  IGerenteCompras* GerenteCompras() override;
  bool ParametrosExplicitos() override { return FConfig.ParametrosExplicitos; }

  // IQuorvinSessao
  IQuorvinUsuario& Usuario() override { return *this; }
  IQuorvinBancoDados& BancoDados() override { return *this; }
  IQuorvinMensagens& Mensagens() override { return *this; }
  bool VerificarRotina(const std::string& rotina, const std::string& label) override;
  bool TemPermissao(int rotina, int permissao) override;

  // IQuorvinUsuario
  int Matricula() const override { return FConfig.Matricula; }
  std::string NomeFuncionario() const override { return FNomeFuncionario; }
  int CodigoRotina() const override { return FConfig.CodigoRotina; }
  std::string NomeRotina() const override { return FConfig.NomeRotina; }
  std::string CaminhoPrograma() const override { return FConfig.Programa; }

  // IQuorvinBancoDados
  TOraSession& Sessao() override { return FSessao; }
  TOraSession& SessaoAutonoma() override;
  // The server's date and time. Inside a transaction the host answers the moment of its first
  // reading in it, as the server's own transaction clock does: the rows one transaction writes
  // carry one date and time (never two days across midnight), and a second reading costs no round
  // trip. Outside a transaction every call reads the server.
  TDateTime DataServidor() override;
  TDateTime DataHoraServidor() override;
  TOraQuery& QueryCompartilhada() override { return FQueryCompartilhada; }
  std::optional<std::string> Localizar(const std::string& tabela, const std::string& expressao,
                                       const std::string& condicao) override;

  // IQuorvinMensagens
  std::string Texto() const override { return FTextoMensagem; }
  void SetTexto(const std::string& texto) override { FTextoMensagem = texto; }
  TModalResult Confirmar(const std::string& texto) override;

  // IQuorvinParametros
  double ValorNumerico(const std::string& nome) override;
  std::string ValorTexto(const std::string& nome) override;
  bool ValorLogico(const std::string& nome) override;
  double ValorNumericoFilial(const std::string& nome, const std::string& codfilial, double padrao) override;
  std::string ValorTextoFilial(const std::string& nome, const std::string& codfilial,
                               const std::string& padrao) override;

  // IQuorvinNumeracao
  double ProximoRecNum() override { return ProximoValorSequencia("QV_RECNUM"); }
  double ProximoNumTrans() override { return ProximoValorSequencia("QV_NUMTRANS"); }
  std::string SQLProximoNumTrans() override { return SQLProximoValorSequencia("QV_NUMTRANS"); }
  double ProximoNumBordero() override { return ProximoValorSequencia("QV_NUMBORDERO"); }
  double ProximoNumVale() override { return ProximoValorSequencia("QV_NUMVALE"); }
  double ProximoValorSequencia(const std::string& nome) override;
  // The query that draws the next value of a sequence (column VALOR).
  [[nodiscard]] static std::string SQLProximoValorSequencia(const std::string& nome);

  // IQuorvinSelecaoDNI
  TModalResult SelecionarDNIs(const TJanelaSelecaoDNI& janela, const TConfirmarSelecaoDNI& confirmar) override;

  // The financial module resolved from the container on first use (after its package is loaded).
  void SetGerenteFinanceiro(IGerenteFinanceiro* gerente) noexcept { FGerenteFinanceiro = gerente; }

 private:
  [[nodiscard]] std::optional<std::string> LerParametro(const std::string& nome, const std::string& codfilial);
  [[nodiscard]] std::optional<std::string> LerParametroDoBanco(const std::string& nome, const std::string& codfilial);
  void VerificarVersaoParametros();
  [[nodiscard]] std::string ClientInfo() const;
  void CarregarNomeFuncionario();

  THostConfig FConfig;
  // Parameters kept in memory (absent ones too), by name and branch, and the version they belong to.
  std::map<std::pair<std::string, std::string>, std::optional<std::string>> FParametros;
  std::optional<std::int64_t> FVersaoParametros;
  bool FVerificarParametros = true;
  std::uint64_t FLeiturasParametros = 0;
  // The clock's reading in the transaction open when it was read.
  struct TLeituraRelogio {
    oradb::TransactionMark Transacao;
    TDateTime Momento;
  };
  std::optional<TLeituraRelogio> FRelogio;
  TOraSession FSessao;
  std::unique_ptr<TOraSession> FSessaoAutonoma;
  TOraQuery FQueryCompartilhada;
  std::string FNomeFuncionario;
  std::string FTextoMensagem;
  TConfirmationPolicy FConfirmationPolicy;
  std::vector<TConfirmacao> FConfirmacoes;
  TSeletorDNI FSeletorDNI;
  IGerenteFinanceiro* FGerenteFinanceiro = nullptr;
  std::unique_ptr<THostContabil> FContabil;
  std::unique_ptr<THostCompras> FCompras;
};

}  // namespace host
