#include "OperationRegistry.h"
#include "ops/Ops.h"

namespace cli {

namespace {

struct SemArgumentos {};

}  // namespace

void RegisterFrameOps(OperationRegistry& operations) {
  operations.AddArgs<SemArgumentos>(
      "Frame.GetVersao", FieldTable<SemArgumentos>{},
      [](CallContext& context, SemArgumentos&) { return Json(context.Financeiro.GetVersao()); });
}

}  // namespace cli
