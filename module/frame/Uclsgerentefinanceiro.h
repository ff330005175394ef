#pragma once

#include <string>

#include "sdk/IGerenteFinanceiro.h"
#include "sdk/TBase.h"
// TFin_ParamentrosGerarBoleto, the options of a bank-slip run, is the facade unit's type; the
// host declares it with the slip request so callers outside the module can build one.
#include "sdk/fin/TFin_GerarBoletos.h"

// The financial module's facade: hands out one sub-module per business area, creating each on
// first use with the host component as owner, and keeps it. No business logic lives here.
// Its references are non-owning: the host component frees the sub-modules.
class TGerenteFinanceiro : public TBaseModulo, public IGerenteFinanceiro {
 public:
  explicit TGerenteFinanceiro(TComponent* owner);
  ~TGerenteFinanceiro() override;

  // IModulo
  TComponent& GetComponente() override { return *this; }
  std::string GetVersao() override { return Versao(); }

  void SetContasPagar(IFin_ContasPagar* value) override { FContasPagar = value; }
  IFin_ContasPagar* GetContasPagar() override;
  void SetContasReceber(IFin_ContasReceber* value) override { FContasReceber = value; }
  IFin_ContasReceber* GetContasReceber() override;
  void SetCentroCusto(IFin_CentroCusto* value) override { FCentroCusto = value; }
  IFin_CentroCusto* GetCentroCusto() override;
  void SetRateioContas(IFin_RateioContas* value) override { FRateioContas = value; }
  IFin_RateioContas* GetRateioContas() override;
  void SetMovimentacaoNumerarios(IFin_MovimentacaoNumerarios* value) override { FMovimentacaoNumerarios = value; }
  IFin_MovimentacaoNumerarios* GetMovimentacaoNumerarios() override;
  void SetContratoEmprestimo(IFin_ContratoEmprestimo* value) override { FContratoEmprestimo = value; }
  IFin_ContratoEmprestimo* GetContratoEmprestimo() override;
  void SetVales(IFin_Vales* value) override { FVales = value; }
  IFin_Vales* GetVales() override;
  IFin_IncluirServicosPrestadosSPED_EFD* GetServicosPrestadosSPED_EFD() override;
  void SetServicosPrestadosSPED_EFD(IFin_IncluirServicosPrestadosSPED_EFD* value) override {
    FServicosPrestadosSPED_EFD = value;
  }
  IFin_CreditoCliente* GetCreditoCliente() override;
  void SetCreditoCliente(IFin_CreditoCliente* value) override { FCreditoCliente = value; }
  IFin_DepositoNaoIdentificadoComVerba* GetDepositoNaoIdentificadoComVerba() override;
  IFin_CancelarDesdobramento* CancelarDesdobramento(TModo modo) override;
  void SetDepositoNaoIdentificadoComVerba(IFin_DepositoNaoIdentificadoComVerba* value) override {
    FDepositoNaoIdentificadoComVerba = value;
  }
  void SetCentroCustoPedidoCompraConsumo(IFin_CentroCustoPedidoCompraConsumo* value) override {
    FCentroCustoPedidoCompraConsumo = value;
  }
  IFin_CentroCustoPedidoCompraConsumo* GetCentroCustoPedidoCompraConsumo() override;

  // The component new sub-modules are owned by: the one behind the host services.
  [[nodiscard]] TComponent* DonoSubModulos() const { return &Quorvin().Componente(); }

 private:
  IFin_ContasPagar* FContasPagar = nullptr;
  IFin_ContasReceber* FContasReceber = nullptr;
  IFin_CentroCusto* FCentroCusto = nullptr;
  IFin_RateioContas* FRateioContas = nullptr;
  IFin_MovimentacaoNumerarios* FMovimentacaoNumerarios = nullptr;
  IFin_ContratoEmprestimo* FContratoEmprestimo = nullptr;
  IFin_Vales* FVales = nullptr;
  IFin_IncluirServicosPrestadosSPED_EFD* FServicosPrestadosSPED_EFD = nullptr;
  IFin_CreditoCliente* FCreditoCliente = nullptr;
  IFin_DepositoNaoIdentificadoComVerba* FDepositoNaoIdentificadoComVerba = nullptr;
  IFin_CancelarDesdobramento* fCancelarDesdobramentoZTPrest = nullptr;
  IFin_CancelarDesdobramento* fCancelarDesdobramentoZTLanc = nullptr;
  IFin_CentroCustoPedidoCompraConsumo* FCentroCustoPedidoCompraConsumo = nullptr;
};

// Initialization and finalization sections of the facade's unit (registration in the host).
void InitializeUclsgerentefinanceiro();
void FinalizeUclsgerentefinanceiro();
