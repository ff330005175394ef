#pragma once

#include <string>

#include "sdk/IGerenteFinanceiro.h"
#include "sdk/TBase.h"

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

// Options of a bank-slip run, for callers of the receivable area. Plain data.
class TFin_ParamentrosGerarBoleto {
 public:
  [[nodiscard]] bool gerarDadosBancarios() const noexcept { return FGerarDadosBancarios; }
  void gerarDadosBancarios(bool value) noexcept { FGerarDadosBancarios = value; }
  [[nodiscard]] bool gerarBoletos() const noexcept { return FGerarBoletos; }
  void gerarBoletos(bool value) noexcept { FGerarBoletos = value; }
  [[nodiscard]] bool validarPermissaoParaGerarDadosBancarios() const noexcept {
    return FValidarPermissaoParaGerarDadosBancarios;
  }
  void validarPermissaoParaGerarDadosBancarios(bool value) noexcept {
    FValidarPermissaoParaGerarDadosBancarios = value;
  }
  [[nodiscard]] double codigoRotina() const noexcept { return FCodigoRotina; }
  void codigoRotina(double value) noexcept { FCodigoRotina = value; }
  [[nodiscard]] double numeroPermissao() const noexcept { return FNumeroPermissao; }
  void numeroPermissao(double value) noexcept { FNumeroPermissao = value; }
  [[nodiscard]] double matriculaUsuario() const noexcept { return FMatriculaUsuario; }
  void matriculaUsuario(double value) noexcept { FMatriculaUsuario = value; }
  [[nodiscard]] bool filialVirtual() const noexcept { return FFilialVirtual; }
  void filialVirtual(bool value) noexcept { FFilialVirtual = value; }
  [[nodiscard]] bool geraLinhaDigitavelValorBruto() const noexcept { return FGeraLinhaDigitavelValorBruto; }
  void geraLinhaDigitavelValorBruto(bool value) noexcept { FGeraLinhaDigitavelValorBruto = value; }

 private:
  bool FGerarDadosBancarios = false;
  bool FGerarBoletos = false;
  bool FValidarPermissaoParaGerarDadosBancarios = false;
  double FCodigoRotina = 0;
  double FNumeroPermissao = 0;
  double FMatriculaUsuario = 0;
  bool FFilialVirtual = false;
  bool FGeraLinhaDigitavelValorBruto = false;
};

// Initialization and finalization sections of the facade's unit (registration in the host).
void InitializeUclsgerentefinanceiro();
void FinalizeUclsgerentefinanceiro();
