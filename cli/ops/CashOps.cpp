#include "OperationRegistry.h"
#include "ops/Ops.h"
#include "sdk/fin/IFin_MovimentacaoNumerarios.h"

namespace cli {

namespace {

// Arguments of the balance getters: the account, its collection code and the month or date.
struct SaldoArgs {
  double CodigoBanco = 0;
  std::string CodigoMoeda;
  int Ano = 0;
  int Mes = 0;
  TDateTime DtConcil;
};

const FieldDef<SaldoArgs> kSaldoInicialArgs[] = {
    fields::Number("CodigoBanco", &SaldoArgs::CodigoBanco, true),
    fields::Text("CodigoMoeda", &SaldoArgs::CodigoMoeda, 4, true),
};

const FieldDef<SaldoArgs> kSaldoMesArgs[] = {
    fields::Number("CodigoBanco", &SaldoArgs::CodigoBanco, true),
    fields::Text("CodigoMoeda", &SaldoArgs::CodigoMoeda, 4, true),
    fields::Integer("Ano", &SaldoArgs::Ano, true),
    fields::Integer("Mes", &SaldoArgs::Mes, true),
};

const FieldDef<SaldoArgs> kSaldoUltimoMesArgs[] = {
    fields::Number("CodigoBanco", &SaldoArgs::CodigoBanco, true),
    fields::Text("CodigoMoeda", &SaldoArgs::CodigoMoeda, 4, true),
    fields::Date("DtConcil", &SaldoArgs::DtConcil, true),
};

IFin_MovimentacaoNumerarios& Area(CallContext& context) {
  return RequireArea(context.Financeiro.GetMovimentacaoNumerarios(), "MovimentacaoNumerarios");
}

}  // namespace

void RegisterCashOps(OperationRegistry& operations) {
  operations.AddRecord<RFin_IncluirMovimentacaoNumerarios>(
      "MovimentacaoNumerarios.Incluir", CamposIncluirMovimentacaoNumerarios(),
      [](CallContext& context, RFin_IncluirMovimentacaoNumerarios& record) {
        return Json(Area(context).Incluir(record));
      });
  operations.AddRecord<RFin_RecalculaNumerario>("MovimentacaoNumerarios.RecalcularSaldos", CamposRecalculaNumerario(),
                                                [](CallContext& context, RFin_RecalculaNumerario& record) {
                                                  return Json(Area(context).RecalcularSaldos(record));
                                                });
  operations.AddArgs<SaldoArgs>(
      "MovimentacaoNumerarios.ObterSaldoInicialCompensacao", FieldTable<SaldoArgs>(kSaldoInicialArgs),
      [](CallContext& context, SaldoArgs& args) {
        return Json(Area(context).ObterSaldoInicialCompensacao(args.CodigoBanco, args.CodigoMoeda));
      });
  operations.AddArgs<SaldoArgs>(
      "MovimentacaoNumerarios.ObterSaldoFinalMesAnterior", FieldTable<SaldoArgs>(kSaldoMesArgs),
      [](CallContext& context, SaldoArgs& args) {
        return Json(Area(context).ObterSaldoFinalMesAnterior(args.CodigoBanco, args.CodigoMoeda, args.Ano, args.Mes));
      });
  operations.AddArgs<SaldoArgs>(
      "MovimentacaoNumerarios.ObterSaldoFinalUltimoMes", FieldTable<SaldoArgs>(kSaldoUltimoMesArgs),
      [](CallContext& context, SaldoArgs& args) {
        return Json(Area(context).ObterSaldoFinalUltimoMes(args.CodigoBanco, args.CodigoMoeda, args.DtConcil));
      });
}

}  // namespace cli
