#include "ops/Ops.h"

#include "OperationRegistry.h"

namespace cli {

void RegisterAllOperations(OperationRegistry& operations) {
  RegisterFrameOps(operations);
  RegisterCashOps(operations);
  RegisterCentroCustoOps(operations);
  RegisterContasPagarOps(operations);
  RegisterContratoEmprestimoOps(operations);
  RegisterRateioContasOps(operations);
  RegisterServicosPrestadosSPEDOps(operations);
  RegisterValesOps(operations);
  RegisterContasReceberOps(operations);
  RegisterContasReceberTitulosOps(operations);
  RegisterCentroCustoPedidoOps(operations);
  RegisterCreditoClienteOps(operations);
  RegisterDepositoNaoIdentificadoOps(operations);
  RegisterBoletosOps(operations);
  RegisterCancelarDesdobramentoOps(operations);
}

}  // namespace cli
