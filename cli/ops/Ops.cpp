#include "ops/Ops.h"

#include "OperationRegistry.h"

namespace cli {

void RegisterAllOperations(OperationRegistry& operations) {
  RegisterFrameOps(operations);
  RegisterContasPagarOps(operations);
}

}  // namespace cli
