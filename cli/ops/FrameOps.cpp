#include "OperationRegistry.h"
#include "ops/Ops.h"

namespace cli {

namespace {

struct SemArgumentos {};

struct ModoArgs {
  int Modo = 0;
};
const FieldDef<ModoArgs> kModoArgs[] = {fields::Integer("modo", &ModoArgs::Modo, true)};

}  // namespace

void RegisterFrameOps(OperationRegistry& operations) {
  operations.AddArgs<SemArgumentos>(
      "Frame.GetVersao", FieldTable<SemArgumentos>{},
      [](CallContext& context, SemArgumentos&) { return Json(context.Financeiro.GetVersao()); });
  // Which cancel-splitting sub-module a mode gets, and the user and routine it keeps.
  operations.AddArgs<ModoArgs>(
      "Frame.CancelarDesdobramento", FieldTable<ModoArgs>(kModoArgs), [](CallContext& context, ModoArgs& args) {
        IFin_CancelarDesdobramento* area = context.Financeiro.CancelarDesdobramento(static_cast<TModo>(args.Modo));
        return Json{{"criado", area != nullptr}};
      });
}

}  // namespace cli
