#pragma once

#include <cstdint>
#include <string>

#include "rtl/TDateTime.h"

class TClientDataSet;

// Cost-center apportionment of the installments of a consumption purchase order: each
// installment (order number and installment) is spread over cost centers, checked and saved
// before it becomes a payable entry. One object serves one installment at a time; the host's
// apportionment form drives it through the form operations. Operations are listed in the host's
// slot order.
class IFin_CentroCustoPedidoCompraConsumo {
 public:
  static constexpr const char* InterfaceName = "IFin_CentroCustoPedidoCompraConsumo";
  virtual ~IFin_CentroCustoPedidoCompraConsumo();

  // Whether the account works with cost centers in the branch.
  [[nodiscard]] virtual bool ContaTrabalhaCentroCusto(const std::string& psCodFilial,
                                                      const std::string& psCodConta) = 0;
  // Discards the form's edits of the rows; answers true.
  virtual bool CancelaCentroCusto() = 0;
  // The row the form is about to add (or, with pbAlterandoLancto, the new content of the current row).
  virtual void SetParametros(double prPercentual, double prValorRateio, const std::string& psCodFilial,
                             const std::string& psCodRateioPadrao, const std::string& psCodCentroCusto,
                             const std::string& psDescCentroCusto, bool pbAlterandoLancto) = 0;
  // Checks the row given to SetParametros: 0 lets it in, any other code names the failed check.
  [[nodiscard]] virtual std::uint8_t ValidaCamposInterface() = 0;
  // Validates the whole apportionment before it is saved.
  virtual bool ValidaDadosInformados_Inclusao() = 0;
  // Adds (or updates) the row given to SetParametros in the rows of the installment.
  virtual bool InsereCentroCusto_Client() = 0;
  // Saves the rows of the installment.
  virtual bool InsertCentroCusto_Banco() = 0;
  // Empties the rows and forgets the installment.
  virtual void LimparDadosUltimoLancto() = 0;
  // Loads the saved rows of an installment into the rows of the current one.
  virtual void InsereRegistrosLancto(double prNumeroPedido, const std::string& psPrestacao) = 0;
  // Moves the saved apportionment of an installment to another account.
  virtual void AlterarContaCentroCusto(double prNumeroPedido, const std::string& psPrestacao, std::int64_t CodConta,
                                       const std::string& CodFilial) = 0;
  // Apportions one installment; answers whether apportionment rows were produced and saved.
  [[nodiscard]] virtual bool ProcessoCentroCusto(bool pbEditaLancto, const std::string& psCodFilial,
                                                 const std::string& psCodConta, double prValorLancto,
                                                 double pfNumeroPedido, const std::string& psPrestacao,
                                                 TDateTime pdDataLancto, bool pbShowForm,
                                                 bool pbValidarCentroDeCustoExistentePeloNumeroDoPedido) = 0;
  // Deletes the saved rows of an installment.
  virtual void DeleteTodosRegistrosLancto(double prNumeroPedido, const std::string& psPrestacao) = 0;
  virtual void SetRATEIOTOTALCC_2664(const std::string& value) = 0;
  [[nodiscard]] virtual std::string GetRATEIOTOTALCC_2664() = 0;
  // The branch apportions consumption orders.
  [[nodiscard]] virtual bool GetREALIZA_RATEIO_PEDIDO_COMPRA_CONSUMO_3919() = 0;
  // Installments above a cost center's budget are refused in the branch.
  [[nodiscard]] virtual bool GetBLOQUEAR_LANCAMENTO_ACIMA_DO_ORCADO_CENTRO_CUSTO_3921() = 0;
  [[nodiscard]] virtual bool GetFazCloneRegistroPrincipal() = 0;
  virtual void SetFazCloneRegistroPrincipal(bool value) = 0;
  [[nodiscard]] virtual bool GetStatusCentroCusto() = 0;
  // The rows of the installment (owned by the area unless the host gave its own with SetCdsRateios).
  [[nodiscard]] virtual TClientDataSet* GetCdsRateios() = 0;
  virtual void SetCdsRateios(TClientDataSet* value) = 0;
  [[nodiscard]] virtual std::string GetCodFilial() = 0;
  [[nodiscard]] virtual std::string GetCodConta() = 0;
  virtual void SetCodConta(const std::string& value) = 0;
  [[nodiscard]] virtual double GetNumeroPedido() = 0;
  virtual void SetNumeroPedido(double value) = 0;
  [[nodiscard]] virtual std::string GetPrestacao() = 0;
  virtual void SetPrestacao(const std::string& value) = 0;
  [[nodiscard]] virtual double GetValorLancto() = 0;
  virtual void SetValorLancto(double value) = 0;
  [[nodiscard]] virtual TDateTime GetDataLancto() = 0;
  virtual void SetDataLancto(TDateTime value) = 0;
  [[nodiscard]] virtual bool GetShowForm() = 0;
  [[nodiscard]] virtual bool GetEditaLancamento() = 0;
  // Whether the account of the installment being apportioned has a standard apportionment.
  [[nodiscard]] virtual bool ContaTemRateioPadrao(const std::string& psCodCOnta) = 0;
};
