#include "ops/Ops.h"

#include "OperationRegistry.h"

namespace cli {

void RegisterAllOperations(OperationRegistry& operations) {
  RegisterFrameOps(operations);
  RegisterCentroCustoOps(operations);
}

}  // namespace cli
