#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "accountsplit/Uclsfin_dalrateiocontas.h"
#include "accountsplit/Uclsfin_parametrosrateiocontas.h"
#include "costcenter/Uclsfin_parametroscentrocusto.h"
#include "sdk/TBase.h"
#include "sdk/fin/IFin_RateioContas.h"

class IFin_CentroCusto;
class IFin_ContasPagar;
class TDALCentroCusto;

// The amounts of one payable entry of a split: value, discount, interest, returns and the six
// withheld taxes.
struct TValoresLancamento {
  static constexpr std::size_t kImpostos = 6;  // VLIRRF, VLPIS, VLCOFINS, VLISS, VLINSS, VLCSRF
  double VALOR = 0;
  double DESCONTOFIN = 0;
  double TXPERM = 0;
  double VALORDEV = 0;
  std::array<double, kImpostos> Impostos{};
  bool operator==(const TValoresLancamento&) const = default;

  [[nodiscard]] static TValoresLancamento DoRegistro(const RFin_IncluirContasPagar& registro);
  void GravarNoRegistro(RFin_IncluirContasPagar& registro) const;
};

// One account row of a split as the posting reads it.
struct TParteConta {
  double PercRateio = 0;
  double Valor = 0;  // the account's share of the total, before taxes
  double Desconto = 0;
  double Juros = 0;
  double Devolucao = 0;
};

// One cost-center row of an account as the posting reads it.
struct TParteCentroCusto {
  double PercRateio = 0;
  double Valor = 0;
};

// The apportionment rules that work on the rows alone: the proposal's values, the totals of the
// whole split, and the amounts of each posted entry. Values are rounded to 2 decimals, ties to the
// even digit; the last row always takes what the others leave, so the rows total what they split.
class TRegrasRateioContas {
 public:
  TRegrasRateioContas() = delete;

  // The difference the whole-split totals tolerate.
  static constexpr double kTolerancia = 0.01;

  // The filter of the cost-center rows of one account.
  [[nodiscard]] static std::string FiltroConta(double codconta);
  // Values of the visible account rows for the four amounts by each row's percentage; the last row
  // takes every remainder and its percentage becomes its share of the total.
  static void CalcularValoresContas(TDataSet& contas, double total, double desconto, double juros, double devolucao);
  // The visible cost-center rows split `valor_conta` the same way; the last row's percentage
  // becomes its share of the account (kept when the account's value is 0).
  static void CalcularValoresCentrosCusto(TDataSet& centros, double valor_conta);
  // The totals of the whole split: every account that uses cost centers has them and, with
  // `rateio_total` (parameter 2664), its cost centers close its value and the accounts close the
  // total, compared in absolute value both ways. Raises the first rule broken. The cost-center
  // rows' filter is restored.
  static void ValidarTotais(TDataSet& contas, TDataSet& centros, double total, bool rateio_total);
  // The amounts of each entry of a split of `inicial`: the taxes by percentage, the value net of
  // them; the last entry takes what the earlier ones leave of every amount.
  [[nodiscard]] static std::vector<TValoresLancamento> RepartirLancamento(const TValoresLancamento& inicial,
                                                                          const std::vector<TParteConta>& partes);
  // The cost-center values of a new entry of `valor_lancamento`: by percentage (the last takes the
  // remainder) or the rows' own values, to the cent.
  [[nodiscard]] static std::vector<double> ValoresCentrosCustoLancamento(const std::vector<TParteCentroCusto>& linhas,
                                                                         double valor_lancamento, bool pelo_percentual);
};

// The account-apportionment area: proposes the split of an entry by a named apportionment, lets the
// host's form edit it, validates it, and posts one payable entry per account through the facade's
// payable area, with the split and each entry's cost centers. One object serves one split at a time.
class TValidaRateioConta : public TBaseSubModulo, public IFin_RateioContas {
 public:
  explicit TValidaRateioConta(TComponent* owner);
  ~TValidaRateioConta() override;

  std::string GetUTILIZACENTROCUSTO_2663() override;
  void setUTILIZACENTROCUSTO_2663(const std::string& value) override { fUTILIZACENTROCUSTO_2663 = value; }
  bool GetStatusRateioContas() override { return Parametros().StatusRateioContas; }
  TClientDataSet* GetCdsCentroCustoConta() override { return &CdsRateioCentroCusto(); }
  TClientDataSet* GetCdsContasRateio() override { return &CdsRateioContas(); }
  std::string GetCodigoFilial() override { return Parametros().CodFilial; }
  bool GetPermissaoEditarLancamento() override { return Parametros().PermissaoEditarLancamento; }
  double GetValorTotalLancamento() override { return Parametros().ValorTotalLancamento; }
  double GetCodigoRateioPadrao() override { return Parametros().CodRateioConta; }
  void InserirCentroCustoCdsRateioCentroCusto() override;
  void InserirContasCdsRateioContas() override;
  void CancelarUltimoRateioEfetuado() override;
  void InserirRateioConta(RFin_IncluirContasPagar& prParametros) override;
  void SetParametrosCentroCusto(double pPercentual, double pValorRateio, const std::string& pCodFilial,
                                const std::string& pCodRateioPadrao, const std::string& pCodCentroCusto,
                                const std::string& pDescCentroCusto, bool pAlterandoLancto, double pContaGerencial,
                                double pValorLanctoConta) override;
  void SetParametrosConta(double pContaGerencial, double pPercentual, double pValorRateio,
                          const std::string& pCodFilial, double pCodRateioConta, bool pAlterandoLancto,
                          double pValorDesc, double pValorJuros, double pValorDevol) override;
  bool ProcessoRateioConta(bool pPermissaoEditarLancamento, TTipoLancamento pTipoLancto, const std::string& pCodFilial,
                           double pCodRateioConta, double pValorLancto, TDateTime pDataLancto,
                           double pCodigoFuncionario, bool pShowForm, double pValorDesconto, double pValorJuros,
                           double pValorDevol) override;
  std::uint8_t ValidaCamposInterfaceCentroCusto() override;
  std::uint8_t ValidaCamposInterfaceRateioConta() override;
  bool ValidarDadosInformadosParaInclusao() override;
  bool CancelaRateioContas() override;

  // Loads the named apportionment when the standard rows are not its own, keeps its accounts and
  // computes the values of the four amounts.
  void Inicializar(double pValorLancto, double pValorDesconto, double pValorJuros, double pValorDevol);
  // The working rows become a copy of the standard ones, in the entry's branch.
  void PopularCdsValoresPadroes();
  // The values of the standard accounts and of their cost centers.
  void CalcularValorRateado(double pValorTotal, double pValorDesconto, double pValorJuros, double pValorDevol);

  [[nodiscard]] TParametrosRateioContas& Parametros();
  [[nodiscard]] TParametrosCentroCusto& ParametrosCentroCusto();
  [[nodiscard]] TClientDataSet& CdsRateioContas();
  [[nodiscard]] TClientDataSet& CdsRateioCentroCusto();
  [[nodiscard]] TDALRateioContas& DALRateioContas();

 private:
  void CarregarRateio(double pCodRateioConta);
  [[nodiscard]] bool PadraoDoRateio(double pCodRateioConta);
  [[nodiscard]] bool RateioTotal();
  [[nodiscard]] IFin_ContasPagar& ContasPagar();
  [[nodiscard]] IFin_CentroCusto* CentroCusto();
  // Adds the cost centers of the standard cost-center apportionment `codigo` the account lacks;
  // answers whether the apportionment had rows.
  bool InsereItensRateioPadrao(const std::string& codigo);
  // Posts the entry of one account row and writes its split and cost-center rows.
  void IncluirLancamentoConta(RFin_IncluirContasPagar& registro, const TValoresLancamento& valores,
                              double recnum_principal);
  void EscreverCentrosCusto(const RFin_IncluirContasPagar& registro, double codconta, bool retido);
  void FiltrarCentrosCusto(double codconta);

  std::unique_ptr<TParametrosRateioContas> fParametrosRateioContas;
  std::unique_ptr<TParametrosCentroCusto> fParametrosCentroCusto;
  std::unique_ptr<TClientDataSet> fCdsRateioContas;
  std::unique_ptr<TClientDataSet> fCdsRateioCentroCusto;
  TDALRateioContas* fDALRateioContas = nullptr;  // owned as a child component
  TDALCentroCusto* fDALCentroCusto = nullptr;    // owned as a child component
  std::string fUTILIZACENTROCUSTO_2663;
};
