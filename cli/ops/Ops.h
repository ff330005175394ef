#pragma once

namespace cli {

class OperationRegistry;

// One registration function per area; each lives in ops/<Area>Ops.cpp.
void RegisterFrameOps(OperationRegistry& operations);
void RegisterCashOps(OperationRegistry& operations);
void RegisterCentroCustoOps(OperationRegistry& operations);
void RegisterContasPagarOps(OperationRegistry& operations);
void RegisterContratoEmprestimoOps(OperationRegistry& operations);
void RegisterRateioContasOps(OperationRegistry& operations);
void RegisterServicosPrestadosSPEDOps(OperationRegistry& operations);
void RegisterValesOps(OperationRegistry& operations);
void RegisterContasReceberOps(OperationRegistry& operations);
void RegisterContasReceberTitulosOps(OperationRegistry& operations);
void RegisterCentroCustoPedidoOps(OperationRegistry& operations);
void RegisterCreditoClienteOps(OperationRegistry& operations);
void RegisterDepositoNaoIdentificadoOps(OperationRegistry& operations);
void RegisterBoletosOps(OperationRegistry& operations);
void RegisterCancelarDesdobramentoOps(OperationRegistry& operations);

void RegisterAllOperations(OperationRegistry& operations);

}  // namespace cli
