#pragma once

#include "sdk/TBase.h"
#include "sdk/fin/IFin_CancelarDesdobramento.h"
#include "sdk/fin/IFin_CentroCusto.h"
#include "sdk/fin/IFin_CentroCustoPedidoCompraConsumo.h"
#include "sdk/fin/IFin_ContasPagar.h"
#include "sdk/fin/IFin_ContasReceber.h"
#include "sdk/fin/IFin_ContratoEmprestimo.h"
#include "sdk/fin/IFin_CreditoCliente.h"
#include "sdk/fin/IFin_DepositoNaoIdentificadoComVerba.h"
#include "sdk/fin/IFin_IncluirServicosPrestadosSPED_EFD.h"
#include "sdk/fin/IFin_MovimentacaoNumerarios.h"
#include "sdk/fin/IFin_RateioContas.h"
#include "sdk/fin/IFin_Vales.h"
#include "sdk/fin/TModo.h"

// The financial module as the host sees it. References handed out are non-owning: the objects
// behind them belong to the host component.
class IGerenteFinanceiro : public IModulo {
 public:
  static constexpr const char* InterfaceName = "IGerenteFinanceiro";
  ~IGerenteFinanceiro() override;

  virtual void SetContasPagar(IFin_ContasPagar* value) = 0;
  [[nodiscard]] virtual IFin_ContasPagar* GetContasPagar() = 0;
  virtual void SetContasReceber(IFin_ContasReceber* value) = 0;
  [[nodiscard]] virtual IFin_ContasReceber* GetContasReceber() = 0;
  virtual void SetCentroCusto(IFin_CentroCusto* value) = 0;
  [[nodiscard]] virtual IFin_CentroCusto* GetCentroCusto() = 0;
  virtual void SetRateioContas(IFin_RateioContas* value) = 0;
  [[nodiscard]] virtual IFin_RateioContas* GetRateioContas() = 0;
  virtual void SetMovimentacaoNumerarios(IFin_MovimentacaoNumerarios* value) = 0;
  [[nodiscard]] virtual IFin_MovimentacaoNumerarios* GetMovimentacaoNumerarios() = 0;
  virtual void SetContratoEmprestimo(IFin_ContratoEmprestimo* value) = 0;
  [[nodiscard]] virtual IFin_ContratoEmprestimo* GetContratoEmprestimo() = 0;
  virtual void SetVales(IFin_Vales* value) = 0;
  [[nodiscard]] virtual IFin_Vales* GetVales() = 0;
  [[nodiscard]] virtual IFin_IncluirServicosPrestadosSPED_EFD* GetServicosPrestadosSPED_EFD() = 0;
  virtual void SetServicosPrestadosSPED_EFD(IFin_IncluirServicosPrestadosSPED_EFD* value) = 0;
  [[nodiscard]] virtual IFin_CreditoCliente* GetCreditoCliente() = 0;
  virtual void SetCreditoCliente(IFin_CreditoCliente* value) = 0;
  [[nodiscard]] virtual IFin_DepositoNaoIdentificadoComVerba* GetDepositoNaoIdentificadoComVerba() = 0;
  [[nodiscard]] virtual IFin_CancelarDesdobramento* CancelarDesdobramento(TModo modo) = 0;
  virtual void SetDepositoNaoIdentificadoComVerba(IFin_DepositoNaoIdentificadoComVerba* value) = 0;
  virtual void SetCentroCustoPedidoCompraConsumo(IFin_CentroCustoPedidoCompraConsumo* value) = 0;
  [[nodiscard]] virtual IFin_CentroCustoPedidoCompraConsumo* GetCentroCustoPedidoCompraConsumo() = 0;
};
