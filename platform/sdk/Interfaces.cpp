// Key functions of the host interfaces: their type information lives in this library only.
#include "sdk/IGerenteContabil.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/IQuorvin.h"

IQuorvinUsuario::~IQuorvinUsuario() = default;
IQuorvinBancoDados::~IQuorvinBancoDados() = default;
IQuorvinMensagens::~IQuorvinMensagens() = default;
IQuorvinSessao::~IQuorvinSessao() = default;
IQuorvinParametros::~IQuorvinParametros() = default;
IQuorvinNumeracao::~IQuorvinNumeracao() = default;
IQuorvin::~IQuorvin() = default;
IGerenteContabil::~IGerenteContabil() = default;
IGerenteCompras::~IGerenteCompras() = default;
IGerenteFinanceiro::~IGerenteFinanceiro() = default;
IFin_ContasPagar::~IFin_ContasPagar() = default;
IFin_ContasReceber::~IFin_ContasReceber() = default;
IFin_CentroCusto::~IFin_CentroCusto() = default;
IFin_RateioContas::~IFin_RateioContas() = default;
IFin_MovimentacaoNumerarios::~IFin_MovimentacaoNumerarios() = default;
IFin_ContratoEmprestimo::~IFin_ContratoEmprestimo() = default;
IFin_Vales::~IFin_Vales() = default;
IFin_IncluirServicosPrestadosSPED_EFD::~IFin_IncluirServicosPrestadosSPED_EFD() = default;
IFin_CreditoCliente::~IFin_CreditoCliente() = default;
IFin_DepositoNaoIdentificadoComVerba::~IFin_DepositoNaoIdentificadoComVerba() = default;
IFin_CancelarDesdobramento::~IFin_CancelarDesdobramento() = default;
IFin_CentroCustoPedidoCompraConsumo::~IFin_CentroCustoPedidoCompraConsumo() = default;
