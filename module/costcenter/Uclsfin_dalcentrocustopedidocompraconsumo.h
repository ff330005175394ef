#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "costcenter/Uclsfin_dalcentrocusto.h"
#include "costcenter/Uclsfin_parametroscentrocustopedidocompraconsumo.h"
#include "oradb/TOraQuery.h"
#include "rtl/TStringList.h"
#include "sdk/TBase.h"

class TOraSession;

// Data access of the apportionment of consumption purchase-order installments: the saved rows of
// an installment (ZTRATEIOCENTROCUSTOZTLANC3, keyed by NUMPED and PREST), its writers, and the
// budget check of its cost centers. The loaders of accounts, standard apportionments and split
// titles, and the budget and its lock, are the payable cost centers' own (TDALCentroCusto), so a
// payable entry and an order installment checking the same cost center's month wait for each
// other. Every statement runs on the host's session in the caller's transaction.
class TDALCentroCustoPedidoCompraConsumo : public TBaseSubModulo {
 public:
  explicit TDALCentroCustoPedidoCompraConsumo(TComponent* owner);
  ~TDALCentroCustoPedidoCompraConsumo() override;

  // Loaders: fill the caller's query and answer whether it has rows.
  bool CarregaRegistrosLancto(TOraQuery& pQryDados, double prNumeroPedido, const std::string& psPrestacao);
  bool CarregaRateioPeloNumeroPedido(TOraQuery& pQryDados, double prNumeroPedido, const std::string& psPrestacao);
  bool CarregaRateioPadraoConta_Gerencial(TOraQuery& pQryDados, const std::string& psCodConta);
  [[nodiscard]] TLinhasCarregadas RegistrosLancto(double prNumeroPedido, const std::string& psPrestacao);
  [[nodiscard]] TLinhasCarregadas RateioPeloNumeroPedido(double prNumeroPedido, const std::string& psPrestacao);
  [[nodiscard]] TLinhasCarregadas RateioPadraoConta_Gerencial(const std::string& psCodConta);
  [[nodiscard]] TLinhasCarregadas RateioPadrao(const std::string& psCodRateio);
  // The split titles' rows (payable entries, so their rows are those of ZTRATEIOCENTROCUSTO).
  [[nodiscard]] TLinhasCarregadas RegistrosDesdobramento(TParametrosCentroCustoPedidoCompraConsumo& parametros);
  // Whether the account works with cost centers (the accounts of payable entries).
  [[nodiscard]] bool ContaUsaCentroCusto(const std::string& psCodConta);

  // Adds or updates the row being added in cdsRateios. Needs no database. `nova`: the caller knows
  // no visible row holds the cost center, so none is looked for.
  static bool InsereCentroCusto(TParametrosCentroCustoPedidoCompraConsumo& parametros, bool nova = false);

  // One INSERT per row of cdsRateios from its first row (the caller filters the rows).
  void InserirZTRATEIOCENTROCUSTOZTLANC3(TParametrosCentroCustoPedidoCompraConsumo& parametros);
  void DeleteTodosCentroCusto(double prNumeroPedido, const std::string& psPrestacao);
  // Answers how many saved rows moved.
  int AlterarContaCentroCusto(double prNumeroPedido, const std::string& psPrestacao, std::int64_t CodConta,
                              const std::string& CodFilial);
  // Locks the installment's row of ZTLANC3 until the transaction ends; answers whether it exists.
  bool TravarPrestacao(double prNumeroPedido, const std::string& psPrestacao);
  // Locks the account's row until the transaction ends (an installment not in ZTLANC3 yet).
  bool TravarConta(std::int64_t codconta);
  [[nodiscard]] bool ExisteConta(std::int64_t codconta);
  // The installment's due date in ZTLANC3; zero when it is not there.
  [[nodiscard]] TDateTime VencimentoPrestacao(double prNumeroPedido, const std::string& psPrestacao);

  // The monthly budget of the account for each budgeted cost center of `centros`, locked, with
  // what the installments' apportionments already realized in the month: rows dated in it
  // (`por_competencia` false) or rows of installments due in it. Empty without a budget.
  [[nodiscard]] TOrcamentosCentroCusto ValidarOrcamentoConta(const std::string& codconta, const std::string& filial,
                                                             int mes, int ano, bool por_competencia,
                                                             const std::set<std::string>& centros);

  // Statement texts, as built.
  [[nodiscard]] static TStringList GetSQLRegistrosLancto();
  [[nodiscard]] static TStringList GetSQLRateioPeloNumeroPedido();
  [[nodiscard]] static TStringList GetSQLInsert();
  [[nodiscard]] static TStringList GetSQLDeleteTodos();
  [[nodiscard]] static TStringList GetSQLAlterarConta();
  [[nodiscard]] static TStringList GetSQLTravarPrestacao();
  [[nodiscard]] static TStringList GetSQLVencimentoPrestacao();
  [[nodiscard]] static TStringList GetSQLRealizadoConta(bool por_competencia);

 private:
  [[nodiscard]] TDALCentroCusto& Comum();
  [[nodiscard]] TLinhasCarregadas NovasLinhas();
  [[nodiscard]] TOraSession& Sessao();
  [[nodiscard]] int CodigoFuncionario();
  void VincularPrestacao(TOraQuery& query, double prNumeroPedido, const std::string& psPrestacao);

  TDALCentroCusto* FComum = nullptr;  // owned as a child component
};
