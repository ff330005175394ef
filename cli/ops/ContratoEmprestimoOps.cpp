#include "OperationRegistry.h"
#include "ops/Ops.h"
#include "sdk/fin/IFin_ContratoEmprestimo.h"

namespace cli {

namespace {

IFin_ContratoEmprestimo& Area(CallContext& context) {
  return RequireArea(context.Financeiro.GetContratoEmprestimo(), "ContratoEmprestimo");
}

}  // namespace

void RegisterContratoEmprestimoOps(OperationRegistry& operations) {
  operations.AddRecord<TFin_ContratoEmprestimo>(
      "ContratoEmprestimo.Salvar", CamposContratoEmprestimo(),
      [](CallContext& context, TFin_ContratoEmprestimo& record) { return Json(Area(context).Salvar(record)); });
  operations.AddRecord<TFin_ContratoEmprestimo>(
      "ContratoEmprestimo.Cancelar", CamposContratoEmprestimo(),
      [](CallContext& context, TFin_ContratoEmprestimo& record) { return Json(Area(context).Cancelar(record)); });
}

}  // namespace cli
