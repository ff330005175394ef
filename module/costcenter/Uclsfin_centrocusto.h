#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "costcenter/Uclsfin_dalcentrocusto.h"
#include "costcenter/Uclsfin_parametroscentrocusto.h"
#include "sdk/TBase.h"
#include "sdk/fin/IFin_CentroCusto.h"

class IFin_ContasPagar;

// What the apportionment rules read from the host, taken once per operation.
struct TContextoRateio {
  bool RateioTotal = false;  // parameter 2664: the apportionment must total the entry
  int Rotina = 0;            // the host routine that is running
};

// The budget rules of a cost center's month, the same for every kind of apportioned thing.
class TRegrasOrcamentoCentroCusto {
 public:
  TRegrasOrcamentoCentroCusto() = delete;

  // The rounding difference the rules absorb on one row.
  [[nodiscard]] static constexpr double GetValorToleranciaDifRateio() noexcept { return 0.02; }
  // Whether a row of `rateios` was marked over budget.
  [[nodiscard]] static bool ExisteOrcamentoExcedido(TDataSet& rateios);
  // The message of a cost center over its budget: four lines, then `ultima_linha`. Line 2 names
  // the realized amount with `rotulo_realizado`.
  [[nodiscard]] static std::string MensagemOrcamentoExcedido(
      const std::string& centro_custo, int mes, int ano, const std::string& filial, double realizado, double orcado,
      double saldo, const std::string& ultima_linha,
      const std::string& rotulo_realizado = "Lançamentos já realizados: ");
  // The balance still available: budget minus realized while that keeps the budget's sign, else 0.
  [[nodiscard]] static double SaldoDisponivel(double orcado, double realizado) noexcept;
  // Whether `valor` plus `realizado` goes past a positive budget, or below a negative one.
  [[nodiscard]] static bool OrcamentoExcedido(double orcado, double realizado, double valor) noexcept;
};

// How the rules find the rows of the thing being apportioned (a payable entry by RECNUM, an
// order installment by NUMPED and PREST): specialised by each parameter class.
template <class TParametros>
struct TChaveRateio;

template <>
struct TChaveRateio<TParametrosCentroCusto> {
  // The client-side filter of the rows of the current entry ("" without an entry type).
  [[nodiscard]] static std::string Filtro(const TParametrosCentroCusto& p);
  // The key of the current entry in the duplicate walk.
  [[nodiscard]] static std::string Chave(const TParametrosCentroCusto& p);
  // Whether the duplicate walk sets the entry's filter when none is set.
  [[nodiscard]] static bool FiltraDuplicados(const TParametrosCentroCusto& p) noexcept {
    return p.LanctoFinanceiro || p.LanctoContabil;
  }
  [[nodiscard]] static bool ContraPartida(const TParametrosCentroCusto& p) noexcept { return p.EhContraPartida(); }
  // Counterparts keep their principal's values when totalled.
  [[nodiscard]] static bool MantemValores(const TParametrosCentroCusto& p) { return p.ContraPartida_Natureza == "S"; }
  [[nodiscard]] static bool LinhaOrcamento(const TParametrosCentroCusto& p) noexcept { return p.LanctoOrcamento; }
  [[nodiscard]] static bool TemTipo(const TParametrosCentroCusto& p) noexcept { return p.TemTipoLancamento(); }
  // Rows with a branch and a value of their own (not the rows of an accounting entry).
  [[nodiscard]] static bool ComValor(const TParametrosCentroCusto& p) noexcept {
    return p.LanctoFinanceiro || p.LanctoOrcamento;
  }
  static bool InsereCentroCusto(TParametrosCentroCusto& p, bool nova);
};

// The apportionment rules that work on the rows alone: distribution of saved rows with the
// remainder on the last one, rounding of values to the entry, duplicate clean-up, the totals of
// the whole apportionment. Values are rounded to 2 decimals, percentages to 6, ties to even.
// One engine for every kind of apportioned thing; TChaveRateio says how its rows are keyed.
template <class TParametros>
class TRegrasRateio : public TRegrasOrcamentoCentroCusto {
 public:
  // The share of the entry a percentage gives, to the cent.
  [[nodiscard]] static double aoValidarPercentual(const TParametros& parametros, double percentual);
  // The client-side filter of the rows of the current entry ("" without an entry type).
  [[nodiscard]] static std::string FiltroLancamento(const TParametros& parametros) {
    return TChaveRateio<TParametros>::Filtro(parametros);
  }

  // Copies loaded rows (the saved rows) onto the current entry: the saved values, or
  // recomputed ones when cloning, negated for a counterpart; the last row takes what the others
  // leave of the entry; a small difference left (or any, with parameter 2664) is put on it.
  // Answers whether a cloned row was added.
  static bool DistribuirRegistrosLancto(TParametros& parametros, TDataSet& linhas, const TContextoRateio& contexto);
  // Adds the rows of a standard apportionment (or of the split titles, `arredondar`); a cost
  // center the entry already has is not added again but listed, quoted, in `repetidos`.
  // Answers whether the source had rows.
  static bool InserirLinhasPadrao(TParametros& parametros, TDataSet& origem, bool arredondar, std::string& repetidos);
  // Keeps the first row of each cost center of the entry and deletes the others.
  static void LimpaRegistrosDuplicadosCentroCusto(TParametros& parametros);
  // Makes the values total the entry: recomputed from the percentages when they do not, the
  // rounding difference (up to the tolerance) put on the last row with a value. Counterparts
  // keep their principal's values.
  static void ValidaTotalCC_ValorLancto(TParametros& parametros);
  // The totals of the whole apportionment shown in the form; raises the first rule it breaks.
  static void ValidaTotaisInclusao(TParametros& parametros, const TContextoRateio& contexto);
  // The form's checks of the row being added that need no database, in the form's order: the
  // code of the first that fails (its message added to `validador`), 0 when all pass.
  // `usa_centro_custo` reads the branch switch (only when the earlier checks pass),
  // `mensagem_filial` is the text of its check (10).
  [[nodiscard]] static std::uint8_t ValidaCamposLinha(const TParametros& parametros,
                                                      const std::function<bool()>& usa_centro_custo,
                                                      const std::string& mensagem_filial, TStringList& validador);
};

using TRegrasRateioCentroCusto = TRegrasRateio<TParametrosCentroCusto>;

// The cost-center area: apportions an entry over cost centers, validates and saves the rows.
// One object serves one entry at a time and keeps its run between the form's calls. Each
// ProcessoCentroCusto starts with an empty validation list, so a long-lived host process does not
// pile up the messages of earlier entries.
class TValidaCentroCusto : public TBaseSubModulo, public IFin_CentroCusto {
 public:
  explicit TValidaCentroCusto(TComponent* owner);
  ~TValidaCentroCusto() override;

  bool ContaTrabalhaCentroCusto(const std::string& psCodFilial, const std::string& psCodConta,
                                TTipoLancamento tipoLancamento) override;
  bool CancelaCentroCusto() override;
  std::unique_ptr<TOraQuery> ExisteCentroCustoPrioritario(const std::string& pCodConta) override;
  void SetParametros(double prPercentual, double prValorRateio, const std::string& psCodFilial,
                     const std::string& psCodRateioPadrao, const std::string& psCodCentroCusto,
                     const std::string& psDescCentroCusto, bool pbAlterandoLancto) override;
  std::uint8_t ValidaCamposInterface() override;
  bool ValidaCentroCustoPrioritario(const std::string& pCodConta, const std::string& pCodCentroCusto) override;
  bool ValidaDadosInformados_Inclusao() override;
  bool InsereCentroCusto_Client() override;
  bool InsertCentroCusto_Banco() override;
  void LimparDadosUltimoLancto() override;
  void InsereRegistrosLancto(double prNumTransacao) override;
  void AlterarContaCentroCusto(std::int64_t RecNum, std::int64_t CodConta, const std::string& CodFilial) override;
  bool ProcessoCentroCusto(bool pbEditaLancto, TTipoLancamento ptTipoLancto, const std::string& psCodFilial,
                           const std::string& psCodConta, double prNumTransacao, double prValorLancto,
                           TDateTime pdDataLancto, bool pbShowForm, const std::string& psContraPartida_Natureza,
                           std::int64_t prRecNumPrinc_CodPlanoConta, bool pbPermitirGerarLancamentoAcimaOrcado,
                           TDateTime pdDataCompetencia, TDateTime pdDataVencimento, bool pbLancarZTLancBloq) override;
  bool ProcessoCentroCusto(bool pbEditaLancto, TTipoLancamento ptTipoLancto, const std::string& psCodFilial,
                           const std::string& psCodConta, const std::string& psCodContaAReplicar,
                           TClientDataSet* pdCdsRateiosAReplicar, double prNumTransacao, double prValorLancto,
                           TDateTime pdDataLancto, bool pbShowForm, const std::string& psContraPartida_Natureza,
                           std::int64_t prRecNumPrinc_CodPlanoConta, bool pbPermitirGerarLancamentoAcimaOrcado,
                           TDateTime pdDataCompetencia, TDateTime pdDataVencimento, bool pbLancarZTLancBloq) override;
  bool ProcessoCentroCusto(bool pbEditaLancto, TTipoLancamento ptTipoLancto, double prNumTransEnt, double prNumNota,
                           bool pbPermitirGerarLancamentoAcimaOrcado, TDateTime pdDataCompetencia,
                           TDateTime pdDataVencimento) override;
  bool ProcessoCentroCusto(bool pbEditaLancto, TTipoLancamento ptTipoLancto, double prNumTransVenda,
                           bool pbPermitirGerarLancamentoAcimaOrcado, TDateTime pdDataCompetencia,
                           TDateTime pdDataVencimento) override;
  void DeleteTodosRegistrosLancto(double prNumTransacao) override;
  bool VerificarOrcamentoExcedido() override;
  void SetUTILIZACENTROCUSTO_2663(const std::string& value) override { fUTILIZACENTROCUSTO_2663 = value; }
  std::string GetUTILIZACENTROCUSTO_2663() override;
  void SetRATEIOTOTALCC_2664(const std::string& value) override { fRATEIOTOTALCC_2664 = value; }
  std::string GetRATEIOTOTALCC_2664() override;
  bool GetFazCloneRegistroPrincipal() override { return Parametros().FazCloneRegistroPrincipal; }
  void SetFazCloneRegistroPrincipal(bool value) override { Parametros().FazCloneRegistroPrincipal = value; }
  bool GetStatusCentroCusto() override { return Parametros().StatusCentroCusto; }
  TClientDataSet* GetCdsRateios() override;
  void SetCdsRateios(TClientDataSet* value) override;
  std::string GetCodFilial() override { return Parametros().CodFilial; }
  std::string GetCodConta() override { return Parametros().CodConta; }
  void SetCodConta(const std::string& value) override { Parametros().CodConta = value; }
  std::string GetCodContaAReplicar() override { return Parametros().CodContaAReplicar; }
  void SetCodContaAReplicar(const std::string& value) override { Parametros().CodContaAReplicar = value; }
  double GetNumTransacao() override { return Parametros().NumTransacao; }
  void SetNumTransacao(double value) override { Parametros().NumTransacao = value; }
  double GetValorLancto() override { return Parametros().ValorLancto; }
  void SetValorLancto(double value) override { Parametros().ValorLancto = value; }
  TDateTime GetDataLancto() override { return Parametros().DataLancto; }
  void SetDataLancto(TDateTime value) override { Parametros().DataLancto = value; }
  bool GetShowForm() override { return Parametros().ShowForm; }
  std::string GetContraPartida_Natureza() override { return Parametros().ContraPartida_Natureza; }
  double GetRecNumPrinc_CodPlanoConta() override { return Parametros().NumTransPrinc_CodPlanoConta; }
  bool GetLanctoFinanceiro() override { return Parametros().LanctoFinanceiro; }
  bool GetLanctoContabil() override { return Parametros().LanctoContabil; }
  bool GetLanctoOrcamento() override { return Parametros().LanctoOrcamento; }
  bool GetEditaLancamento() override { return Parametros().EditaLancto; }
  bool GetLancarZTLancBloq() override { return FLancarZTLancBloq; }
  void SetLancarZTLancBloq(bool value) override { FLancarZTLancBloq = value; }
  void estornarRateio(std::int64_t recNumEstornado, std::int64_t recNumPernaNegativa,
                      std::int64_t recnumPernaPositiva) override;
  void ReplicarRateio(std::int64_t recNumAReplicar, std::int64_t recNumNovoRateio) override;
  bool ContaTemRateioPadrao(const std::string& psCodCOnta) override;
  bool GetContaGerencialPrioritaria() override { return Parametros().ContaGerencialPrioritaria; }
  void SetContaGerencialPrioritaria(bool value) override { Parametros().ContaGerencialPrioritaria = value; }
  void SetTipoLancamento(TTipoLancamento tipo) override;

  // Removes the rows of an entry from the rows being edited.
  void DeletaRegistro(double prNumTransacao);
  // Moves the saved rows of an accounting entry to the parameters' branch.
  bool EditaLanctosContabeis(double prNumTransacao, bool pbFilial);

  [[nodiscard]] TParametrosCentroCusto& Parametros();
  [[nodiscard]] TDALCentroCusto& DALCentroCusto();

 private:
  bool Processar(bool pbEditaLancto, TTipoLancamento ptTipoLancto, const std::string& psCodFilial,
                 const std::string& psCodConta, const std::string* psCodContaAReplicar,
                 TClientDataSet* pdCdsRateiosAReplicar, double prNumTransacao, double prValorLancto,
                 TDateTime pdDataLancto, bool pbShowForm, const std::string& psContraPartida_Natureza,
                 std::int64_t prRecNumPrinc_CodPlanoConta, bool pbPermitirGerarLancamentoAcimaOrcado,
                 TDateTime pdDataCompetencia, TDateTime pdDataVencimento, bool pbLancarZTLancBloq);
  // Refuses a reversal or replication that names no record, copies from an entry that does not
  // exist or has no rows, or onto an entry that already has rows (a replayed call).
  void ConferirCopiaRateio(std::int64_t origem, const std::vector<std::int64_t>& destinos, const char* acao);
  bool ProcessarLancamentos(TDataSet& lancamentos, bool pbEditaLancto, TTipoLancamento ptTipoLancto,
                            bool pbPermitirGerarLancamentoAcimaOrcado, TDateTime pdDataCompetencia,
                            TDateTime pdDataVencimento);
  bool ValidaDados_ProcessoCentroCusto(const std::string& psCodFilial, const std::string& psCodConta,
                                       double prNumTransacao, double prValorLancto);
  // Refuses rows to replicate the form would refuse, or that do not make a whole apportionment.
  void ConferirRateiosAReplicar();
  void Inicializar();
  bool Confirmar() { return ValidaDadosInformados_Inclusao(); }
  bool InsereItensRateioPadrao(const std::string& psCodConta, const std::string& psCodRateio);
  void InsereItensDesdobramento();
  void TravarLancamento();
  void ConferirTransacaoGravada();
  void Inserir();
  void FiltrarLancamento(const std::string& condicao_extra);
  [[nodiscard]] TContextoRateio Contexto();
  [[nodiscard]] IFin_ContasPagar* ContasPagar();
  [[nodiscard]] TOraSession& Sessao();
  [[nodiscard]] bool ParametroFilial(const char* nome);
  // Checks each row's share against its cost center's monthly budget; refuses, or asks the user
  // and marks the row ORCAMENTOEXCEDIDO "S". Cancel raises EAbort.
  void ValidarOrcamentoConta(TParametrosCentroCusto& p);

  std::string fUTILIZACENTROCUSTO_2663;
  std::string fRATEIOTOTALCC_2664;
  TTipoLancamento fTipoLancamento = tlFinanceiro;
  TClientDataSet* fCdsRateios = nullptr;
  bool FLancarZTLancBloq = false;
  bool fEditaLancto = false;
  TDALCentroCusto* fDALCentroCusto = nullptr;  // owned as a child component
  std::unique_ptr<TParametrosCentroCusto> fParametrosCentroCusto;
};
