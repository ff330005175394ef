#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "costcenter/Uclsfin_parametroscentrocusto.h"
#include "oradb/TClientDataSet.h"
#include "oradb/TOraQuery.h"
#include "rtl/TStringList.h"
#include "sdk/TBase.h"
#include "sdk/fin/TTipoLancamento.h"

class TOraSession;

// The material-request item a payable entry was posted for (HISTORICO2 "request;product").
struct TItemSolicitacaoMateriais {
  double NumeroSolicitacao = 0;
  double CodProduto = 0;
  double CodConta = 0;
};

// Data access of the cost-center apportionment: loads the rows the rules distribute, keeps the
// in-memory row up to date, writes, deletes, reverses and replicates the saved apportionment, and
// checks each cost center's monthly budget. Every statement runs on the host's session in the
// caller's transaction; only reversal, replication and the explicit commit/rollback end it.
// The GetSQL... functions build the statements' text without running them.
// One budgeted cost center of an account in a month: the budget and what was already realized.
struct TOrcamentoCentroCusto {
  double Orcado = 0;
  double Realizado = 0;
};
using TOrcamentosCentroCusto = std::map<std::string, TOrcamentoCentroCusto>;

// The rows a loader answered, for the rules to read; TemLinhas is the loader's answer.
struct TLinhasCarregadas {
  std::unique_ptr<TOraQuery> Consulta;
  bool TemLinhas = false;
  [[nodiscard]] TDataSet& Dados() const { return *Consulta; }
};

class TDALCentroCusto : public TBaseSubModulo {
 public:
  TDALCentroCusto(TComponent* owner, TTipoLancamento tipo);
  ~TDALCentroCusto() override;

  [[nodiscard]] TTipoLancamento TipoLancamento() const noexcept { return fTipoLancto; }
  void SetTipoLancamento(TTipoLancamento tipo) noexcept { fTipoLancto = tipo; }

  // Loaders: fill the caller's query (its session set) and answer whether it has rows. The rules
  // read their rows through the TLinhasCarregadas forms below and never build a query themselves.
  bool CarregaRegistrosLancto(TParametrosCentroCusto& pParametrosCentroCusto, TOraQuery& pQryDados,
                              double prNumTransacao);
  bool CarregaRegistrosDesdobramento(TParametrosCentroCusto& pParametrosCentroCusto, TOraQuery& pQryDados);
  bool CarregaRateioPadrao(TOraQuery& pQryDados, const std::string& psCodRateio);
  bool CarregaRateioPadraoConta_Gerencial(TOraQuery& pQryDados, TParametrosCentroCusto& pParametrosCentroCusto);
  bool CarregaLanctoPadrao_Contabil(TOraQuery& pQryDados, const std::string& psCodConta, double prCodLanctoPadrao);
  bool CarregaLancamentosEntrada(TOraQuery& pQryDados, double prNumTransEnt, double prNumNota);
  bool CarregaLancamentosSaida(TOraQuery& pQryDados, double prNumTransVenda);
  [[nodiscard]] TLinhasCarregadas RegistrosLancto(TParametrosCentroCusto& pParametrosCentroCusto,
                                                  double prNumTransacao);
  [[nodiscard]] TLinhasCarregadas RegistrosDesdobramento(TParametrosCentroCusto& pParametrosCentroCusto);
  [[nodiscard]] TLinhasCarregadas RateioPadrao(const std::string& psCodRateio);
  [[nodiscard]] TLinhasCarregadas RateioPadraoConta_Gerencial(TParametrosCentroCusto& pParametrosCentroCusto);
  [[nodiscard]] TLinhasCarregadas LanctoPadrao_Contabil(const std::string& psCodConta, double prCodLanctoPadrao);
  [[nodiscard]] TLinhasCarregadas LancamentosEntrada(double prNumTransEnt, double prNumNota);
  [[nodiscard]] TLinhasCarregadas LancamentosSaida(double prNumTransVenda);
  // Replaces the accounts that use cost centers with those of the kind of entry.
  void CarregaContasCentroCusto(TTipoLancamento TipoLancamento);
  [[nodiscard]] TClientDataSet& GetCdsContaCentroCusto();
  [[nodiscard]] TItemSolicitacaoMateriais BuscarInformacoesItemSolicitacaoMateriaisNaZTLanc(double prRecNum);

  // The account's priority cost centers, open; the caller frees the query.
  [[nodiscard]] std::unique_ptr<TOraQuery> ExisteCentroCustoPrioritario(const std::string& pCodConta);
  [[nodiscard]] bool ValidaCentroCustoPrioritario(const std::string& pCodConta, const std::string& pCodCentroCusto);

  // Adds or updates the row being added in cdsRateios. Needs no database. `nova`: the caller knows
  // no visible row holds the cost center, so none is looked for.
  static bool InsereCentroCusto(TParametrosCentroCusto& pParametrosCentroCusto, bool nova = false);

  // Writers: one INSERT per row of cdsRateios from its first row (the caller filters the rows).
  void InserirZTRATEIOCENTROCUSTO(TParametrosCentroCusto& pParametrosCentroCusto, bool pLancarZtLancBloq);
  void InserirZTRATEIOCONTABILCC(TParametrosCentroCusto& pParametrosCentroCusto);
  void InserirZTORCLANCENTROCUSTO(TParametrosCentroCusto& pParametrosCentroCusto);
  void InserirZTCONTACENTROCUSTO(TParametrosCentroCusto& pParametrosCentroCusto);
  void InserirZTRATEIOCENTROCUSTOPRIORITARIO(TParametrosCentroCusto& pParametrosCentroCusto);

  void DeleteTodosCentroCusto(TParametrosCentroCusto& pParametrosCentroCusto, double prNumTransacao);
  // The priority cost centers of the parameters' account, before they are written again.
  void DeleteCentroCustoPrioritario(TParametrosCentroCusto& pParametrosCentroCusto);
  bool EditaLanctosCentroCustoContabil(TParametrosCentroCusto& pParametrosCentroCusto, double prNumTransacao,
                                       bool pbFilial);
  void AlterarContaCentroCusto(std::int64_t RecNum, std::int64_t CodConta, const std::string& CodFilial);
  void estornarRateio(std::int64_t recNumEstornado, std::int64_t recNumPernaNegativa, std::int64_t recnumPernaPositiva);
  void ReplicarRateio(std::int64_t recNumAReplicar, std::int64_t recNumNovoRateio);
  // Locks, in RECNUM order, the rows of ZTLANC (or ZTLANCBLOQ) among `recnums` until the
  // transaction ends; answers those that exist.
  std::set<std::int64_t> TravarLancamentos(const std::vector<std::int64_t>& recnums, bool bloqueados = false);
  // Locks the row of an accounting entry, or of an account, until the transaction ends; answers
  // whether it exists.
  bool TravarLancamentoContabil(std::int64_t numtranslancto);
  bool TravarConta(std::int64_t codconta);
  // Saved apportionment rows of a payable entry.
  [[nodiscard]] int QuantidadeRateios(std::int64_t recnum);
  [[nodiscard]] bool ExisteConta(std::int64_t codconta);
  // Of `codigos`, those registered, each with whether it is active and receives entries.
  [[nodiscard]] std::map<std::string, bool> CentrosCustoCadastrados(const std::vector<std::string>& codigos);
  void Commit_InsercaoCentroCusto(TParametrosCentroCusto& pParametrosCentroCusto);
  void RollBack_InsercaoCentroCusto(TParametrosCentroCusto& pParametrosCentroCusto);

  // The monthly budget of the account for each budgeted cost center of `centros`, with what was
  // already realized (posted, and held for supplementation when `suplementacao`). Each budgeted
  // cost center is locked (in code order) before the realized sums are read, so a second session
  // checking the same account, branch, month and cost center waits for this one's rows. Empty
  // when the account has no budget in the month.
  [[nodiscard]] TOrcamentosCentroCusto ValidarOrcamentoConta(const std::string& codconta, const std::string& filial,
                                                             int mes, int ano, bool por_competencia, bool suplementacao,
                                                             const std::set<std::string>& centros);
  // The monthly budget of the account for each budgeted cost center of `centros`, each locked in
  // code order; empty when the account has no budget in the month. Every budget check of a cost
  // center's month goes through this lock, whatever it realizes. The realized statements
  // `realizados` (bound like the budget's, totals by cost center) run after the locks, in the same
  // round trip, and each center's Realizado is their totals added up; none runs when no center of
  // `centros` is budgeted.
  [[nodiscard]] TOrcamentosCentroCusto OrcamentosTravados(const std::string& codconta, const std::string& filial,
                                                          int mes, int ano, const std::set<std::string>& centros,
                                                          const std::vector<TStringList>& realizados = {});
  // The realized totals by cost center of a realized statement, bound like the budget's.
  [[nodiscard]] std::map<std::string, double> RealizadoPorCentroCusto(const TStringList& sql,
                                                                      const std::string& codconta,
                                                                      const std::string& filial, int mes, int ano);

  // Pieces shared by the cost-center statements: the permission flag of a cost center (its code
  // column given), active cost centers that receive entries, and those also usable by the user.
  [[nodiscard]] static std::string LinhaPermissao(const std::string& codigo);
  static void AddAtivo(TStringList& sql);
  static void AddVisibilidade(TStringList& sql);

  // Statement texts, as built.
  [[nodiscard]] static TStringList GetSQLRegistrosLancto(const TParametrosCentroCusto& parametros, bool bloqueados);
  [[nodiscard]] static TStringList GetSQLRegistrosDesdobramento(const std::string& lista_recnum);
  [[nodiscard]] static TStringList GetSQLRateioPadrao();
  [[nodiscard]] static TStringList GetSQLRateioPadraoConta(bool item_solicitacao);
  [[nodiscard]] static TStringList GetSQLLanctoPadraoContabil();
  [[nodiscard]] static TStringList GetSQLLancamentosEntrada();
  [[nodiscard]] static TStringList GetSQLLancamentosSaida();
  [[nodiscard]] static TStringList GetSQLContasCentroCusto(TTipoLancamento tipo);
  [[nodiscard]] static TStringList GetSQLItemSolicitacaoMateriais();
  [[nodiscard]] static TStringList GetSQLCentroCustoPrioritario();
  [[nodiscard]] static TStringList GetSQLInsertZTRATEIOCENTROCUSTO(const std::string& tabela);
  [[nodiscard]] static TStringList GetSQLInsertZTRATEIOCONTABILCC();
  [[nodiscard]] static TStringList GetSQLInsertZTORCLANCENTROCUSTO();
  [[nodiscard]] static TStringList GetSQLInsertZTCONTACENTROCUSTO();
  [[nodiscard]] static TStringList GetSQLInsertZTRATEIOCENTROCUSTOPRIORITARIO();
  [[nodiscard]] static TStringList GetSQLDeletePrioritario();
  [[nodiscard]] static TStringList GetSQLDeleteBloqueados();
  // Nothing when the parameters carry no entry type that has saved rows.
  [[nodiscard]] static TStringList GetSQLDeleteTodos(const TParametrosCentroCusto& parametros);
  [[nodiscard]] static TStringList GetSQLEditaContabil();
  [[nodiscard]] static TStringList GetSQLAlterarConta();
  [[nodiscard]] static TStringList GetSQLEstornarRateio(std::int64_t recNumPernaNegativa,
                                                        std::int64_t recnumPernaPositiva);
  [[nodiscard]] static TStringList GetSQLReplicarRateio(std::int64_t recNumNovoRateio);
  [[nodiscard]] static TStringList GetSQLTravarLancamentos(std::size_t quantidade, bool bloqueados);
  [[nodiscard]] static TStringList GetSQLTravarLancamentoContabil();
  [[nodiscard]] static TStringList GetSQLTravarConta();
  [[nodiscard]] static TStringList GetSQLTravarOrcamentoCentroCusto();
  [[nodiscard]] static TStringList GetSQLQuantidadeRateios();
  [[nodiscard]] static TStringList GetSQLExisteConta();
  [[nodiscard]] static TStringList GetSQLCentrosCustoCadastrados(std::size_t quantidade);
  [[nodiscard]] static TStringList GetSQLOrcamentoConta(int mes);
  [[nodiscard]] static TStringList GetSQLRealizadoConta(bool bloqueados, bool por_competencia);

  // ZTRATEIOCENTROCUSTOBLOQ for an entry held for supplementation, ZTRATEIOCENTROCUSTO otherwise.
  [[nodiscard]] static std::string TabelaRateioFinanceiro(bool trabalha_suplementacao, bool lancar_bloqueado,
                                                          bool permitir_acima_orcado);
  // The material-request item in a HISTORICO2 text: request and product before and after the
  // first ";" (each 0 when not a number); nothing without ";".
  [[nodiscard]] static bool LerItemSolicitacao(const std::string& historico2, TItemSolicitacaoMateriais& item);
  // The split titles' RECNUMs as a clean comma-separated list of numbers; raises on anything else.
  [[nodiscard]] static std::string ListaRecNumSegura(const std::string& lista);

 private:
  [[nodiscard]] TLinhasCarregadas NovasLinhas();
  [[nodiscard]] TOraSession& Sessao();
  [[nodiscard]] int CodigoFuncionario();
  [[nodiscard]] bool LancarZTLancBloqGeral();
  void ExecutarPorLinha(TParametrosCentroCusto& parametros, const TStringList& sql,
                        void (*vincular)(TOraQuery&, TDataSet&), bool registrar_falha);
  void CriarCdsContaCentroCusto(TTipoLancamento tipo);

  TTipoLancamento fTipoLancto;
  std::unique_ptr<TClientDataSet> fcdsContaCentroCusto;
  // The kind of entry whose accounts fcdsContaCentroCusto holds, once loaded.
  std::optional<TTipoLancamento> fTipoContasCarregadas;
};
