#pragma once

#include <string>

#include "accountsplit/Uclsfin_parametrosrateiocontas.h"
#include "oradb/TOraQuery.h"
#include "rtl/TDateTime.h"
#include "rtl/TStringList.h"
#include "sdk/TBase.h"

class TOraSession;

// Data access of the account apportionment: loads a named apportionment with the standard cost
// centers of each account into the parameters' standard rows, looks up an account's description,
// group and cost-center switch, and writes the rows of a posted split. Each operation runs its own
// query on the host's session, in the caller's transaction; database failures propagate. The
// montarSQL... functions build the statements' text without running them.
class TDALRateioContas : public TBaseSubModulo {
 public:
  explicit TDALRateioContas(TComponent* owner);
  ~TDALRateioContas() override;

  // Replaces the standard rows with the accounts of apportionment `pCodigoRateio` (in account
  // order) and, after each account, its standard cost centers. Values start at zero; descriptions
  // are cut to the rows' width.
  void carregarRateioContasComCentroCusto(double pCodigoRateio, TParametrosRateioContas& pParametrosRateioContas);
  // Appends the standard cost centers of the parameters' account to `pClientDataSet`, each valued
  // at its percentage of the account's ValorRateio (to the cent).
  void carregarCentroCustoPadrao(TParametrosRateioContas& pParametrosRateioContas, TClientDataSet& pClientDataSet);
  // The account's description, group and group description (empty and 0 when the account is not
  // registered; an account without group keeps its description).
  void obterDescricaoContaEGrupo(double codConta, std::string& descricaoConta, double& grupoConta,
                                 std::string& descricaoGrupo);
  // The account's cost-center switch ("" when the account is not registered).
  [[nodiscard]] std::string PesquisaUsarateiocentrocusto(const std::string& pCodconta);
  // How many items apportionment `pCodigoRateio` has, registered accounts or not.
  [[nodiscard]] int QuantidadeItensRateio(double pCodigoRateio);

  // One row of ZTRATEIOCONTAS.
  void inserirRateioConta(double pRecNum, double pCodConta, double pValor, double pPercRateio, TDateTime pDtLanc,
                          const std::string& pContraPartida, double pRecNumPrinc, const std::string& pCodFilial,
                          double pCodRateioConta);
  // One cost-center row of a new entry: in ZTRATEIOCENTROCUSTO, or in its held twin
  // ZTRATEIOCENTROCUSTOBLOQ when the entry was held for supplementation (`pRetido`).
  void inserirRateioCentroCusto(double pRecNum, double pCodConta, const std::string& pCodigoCentroCusto, double pValor,
                                double pPercRateio, TDateTime pDtLanc, const std::string& pContraPartida,
                                double pRecNumPrinc, const std::string& pCodFilial, bool pRetido = false);
  // Records every standard account row through inserirRateioConta.
  void gravarRateioContas(TParametrosRateioContas& pParametrosRateioContas);
  // Kept for the host's callers; the split is written by the posting itself.
  void gravarRateio() {}

  // Statement texts, as sent.
  [[nodiscard]] static TStringList montarSQLBuscaRateioContas();
  [[nodiscard]] static TStringList montarSQLBuscaRateioCentroCusto();
  [[nodiscard]] static TStringList montarSQLDescricaoContaEGrupo();
  [[nodiscard]] static TStringList montarSQLUsaRateioCentroCusto();
  [[nodiscard]] static TStringList montarSQLQuantidadeItensRateio();
  [[nodiscard]] static TStringList montarSQLInserirRateioConta();
  [[nodiscard]] static TStringList montarSQLInserirRateioCentroCusto(bool pRetido);

  // The binds of the two writers: numbers, the date as date-time, the texts as text.
  static void VincularRateioConta(TOraQuery& query, double pRecNum, double pCodConta, double pValor, double pPercRateio,
                                  TDateTime pDtLanc, const std::string& pContraPartida, double pRecNumPrinc,
                                  const std::string& pCodFilial, double pCodRateioConta);
  static void VincularRateioCentroCusto(TOraQuery& query, double pRecNum, double pCodConta,
                                        const std::string& pCodigoCentroCusto, double pValor, double pPercRateio,
                                        TDateTime pDtLanc, const std::string& pContraPartida, double pRecNumPrinc,
                                        const std::string& pCodFilial);

 private:
  [[nodiscard]] TOraSession& Sessao();
  // Appends the account row the accounts query is on, and then its standard cost centers.
  void AlimentarCdsContasRateio(TParametrosRateioContas& p, TDataSet& conta);
  void AlimentarCdsCentroCustoConta(TParametrosRateioContas& p, TDataSet& centro_custo, double codconta);
};
