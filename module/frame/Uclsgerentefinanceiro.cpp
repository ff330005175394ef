#include "frame/Uclsgerentefinanceiro.h"

#include "accountsplit/Uclsfin_rateiocontas.h"
#include "cancelsplit/Uclsfin_cancelardesdobramento.h"
#include "cash/Uclsfin_movimentacaonumerarios.h"
#include "costcenter/Uclsfin_centrocusto.h"
#include "costcenter/Uclsfin_centrocustopedidocompraconsumo.h"
#include "customercredit/Uclsfin_bllcreditocliente.h"
#include "dni/Uclsfin_blldepositonaoidentificadocomverba.h"
#include "loans/Uclsfin_contratoemprestimo.h"
#include "payable/Uclsfin_contaspagar.h"
#include "receivable/Uclsfin_contasreceber.h"
#include "sdk/TQuorvinIoC.h"
#include "sped/Uclsfin_servicosprestadossped_efd.h"
#include "vouchers/Uclsfin_vales.h"

namespace {

// Creates an area's sub-module on first use, owned by the host component; a constructor that
// throws leaves the field empty, so the next call tries again.
template <class TClasse, class TInterface>
TInterface* Lazy(TInterface*& field, TComponent* owner) {
  if (field == nullptr) field = static_cast<TInterface*>(new TClasse(owner));
  return field;
}

int g_usosUnidade = 0;  // the unit's use counter: initialization and finalization run once

}  // namespace

TGerenteFinanceiro::TGerenteFinanceiro(TComponent* owner) : TBaseModulo(owner) {}

// The references are non-owning; the sub-modules die with the host component that owns them.
TGerenteFinanceiro::~TGerenteFinanceiro() = default;

// Areas whose sub-module is not part of this build answer an empty reference.
IFin_ContasPagar* TGerenteFinanceiro::GetContasPagar() {
  return Lazy<TContasPagar>(FContasPagar, DonoSubModulos());
}
IFin_ContasReceber* TGerenteFinanceiro::GetContasReceber() {
  return Lazy<TContasReceber>(FContasReceber, DonoSubModulos());
}
IFin_CentroCusto* TGerenteFinanceiro::GetCentroCusto() {
  return Lazy<TValidaCentroCusto>(FCentroCusto, DonoSubModulos());
}
IFin_RateioContas* TGerenteFinanceiro::GetRateioContas() {
  return Lazy<TValidaRateioConta>(FRateioContas, DonoSubModulos());
}
IFin_MovimentacaoNumerarios* TGerenteFinanceiro::GetMovimentacaoNumerarios() {
  return Lazy<TMovimentacaoNumerarios>(FMovimentacaoNumerarios, DonoSubModulos());
}
IFin_ContratoEmprestimo* TGerenteFinanceiro::GetContratoEmprestimo() {
  return Lazy<TContratoEmprestimo>(FContratoEmprestimo, DonoSubModulos());
}
IFin_Vales* TGerenteFinanceiro::GetVales() {
  return Lazy<TBLLVale>(FVales, DonoSubModulos());
}
IFin_IncluirServicosPrestadosSPED_EFD* TGerenteFinanceiro::GetServicosPrestadosSPED_EFD() {
  return Lazy<TServicosPrestadosSPED_EFD>(FServicosPrestadosSPED_EFD, DonoSubModulos());
}
IFin_CreditoCliente* TGerenteFinanceiro::GetCreditoCliente() {
  return Lazy<TBLLCreditoCliente>(FCreditoCliente, DonoSubModulos());
}
IFin_DepositoNaoIdentificadoComVerba* TGerenteFinanceiro::GetDepositoNaoIdentificadoComVerba() {
  return Lazy<TBLLDepositoNaoIdentificadoComVerba>(FDepositoNaoIdentificadoComVerba, DonoSubModulos());
}
IFin_CentroCustoPedidoCompraConsumo* TGerenteFinanceiro::GetCentroCustoPedidoCompraConsumo() {
  return Lazy<TValidaCentroCustoPedidoCompraConsumo>(FCentroCustoPedidoCompraConsumo, DonoSubModulos());
}

IFin_CancelarDesdobramento* TGerenteFinanceiro::CancelarDesdobramento(TModo modo) {
  IFin_CancelarDesdobramento** field = nullptr;
  if (modo == tmZTPrest) {
    field = &fCancelarDesdobramentoZTPrest;
  } else if (modo == tmZTLanc) {
    field = &fCancelarDesdobramentoZTLanc;
  } else {
    return nullptr;
  }
  if (*field == nullptr) {
    // User and routine are read once, when the sub-module of this mode is created.
    const int codigo_usuario = Quorvin().SessaoAtual().Usuario().Matricula();
    const int codigo_rotina = Quorvin().SessaoAtual().Usuario().CodigoRotina();
    *field = new TCancelarDesdobramento(DonoSubModulos(), codigo_usuario, codigo_rotina, modo);
  }
  return *field;
}

void InitializeUclsgerentefinanceiro() {
  if (g_usosUnidade++ > 0) return;
  RegisterClass("TGerenteFinanceiro");
  // Not a singleton, empty registration name; the container keeps the component record.
  TQuorvinIoC::DefaultContainer().RegisterType<IGerenteFinanceiro, TGerenteFinanceiro>("TGerenteFinanceiro", "", false);
}

void FinalizeUclsgerentefinanceiro() {
  if (g_usosUnidade == 0 || --g_usosUnidade > 0) return;
  // The container registration stays: the host's loader removes it with the package.
  UnRegisterClass("TGerenteFinanceiro");
}
