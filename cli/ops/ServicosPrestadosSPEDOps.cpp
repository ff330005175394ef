#include "OperationRegistry.h"
#include "ops/Ops.h"
#include "sdk/fin/IFin_IncluirServicosPrestadosSPED_EFD.h"

namespace cli {

namespace {

IFin_IncluirServicosPrestadosSPED_EFD& Area(CallContext& context) {
  return RequireArea(context.Financeiro.GetServicosPrestadosSPED_EFD(), "ServicosPrestadosSPED_EFD");
}

}  // namespace

void RegisterServicosPrestadosSPEDOps(OperationRegistry& operations) {
  using R = RFin_IncluirServicosPrestadosSPED_EFD;
  operations.AddRecord<R>(
      "ServicosPrestadosSPED_EFD.IncluirServicosPrestadosSPED_EFD", CamposIncluirServicosPrestadosSPED_EFD(),
      [](CallContext& context, R& record) { return Json(Area(context).IncluirServicosPrestadosSPED_EFD(record)); });
  operations.AddRecord<R>(
      "ServicosPrestadosSPED_EFD.AlterarServicoPrestadoSPED_EFD", CamposIncluirServicosPrestadosSPED_EFD(),
      [](CallContext& context, R& record) { return Json(Area(context).AlterarServicoPrestadoSPED_EFD(record)); });
  operations.AddRecord<R>(
      "ServicosPrestadosSPED_EFD.BuscarCONTRIBUINTEDOCPRB", CamposIncluirServicosPrestadosSPED_EFD(),
      [](CallContext& context, R& record) { return Json(Area(context).BuscarCONTRIBUINTEDOCPRB(record)); });
}

}  // namespace cli
