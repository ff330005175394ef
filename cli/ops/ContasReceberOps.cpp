#include "OperationRegistry.h"
#include "ops/Ops.h"
#include "sdk/fin/IFin_ContasReceber.h"
#include "sdk/fin/TFin_GerarBoletos.h"

namespace cli {

namespace {

// The request of bank data generation: the slip request's fields and the two options it passes on.
struct GerarDadosBancariosArgs {
  double NUMTRANSVENDA = 0;
  std::string PREST;
  double CODBANCO = 0;
  bool filialVirtual = false;
  bool geraLinhaDigitavelValorBruto = false;
};

const FieldDef<GerarDadosBancariosArgs> kGerarDadosBancariosArgs[] = {
    fields::Whole("NUMTRANSVENDA", &GerarDadosBancariosArgs::NUMTRANSVENDA, true),
    fields::Text("PREST", &GerarDadosBancariosArgs::PREST, 2),
    fields::Whole("CODBANCO", &GerarDadosBancariosArgs::CODBANCO),
    fields::Flag("filialVirtual", &GerarDadosBancariosArgs::filialVirtual),
    fields::Flag("geraLinhaDigitavelValorBruto", &GerarDadosBancariosArgs::geraLinhaDigitavelValorBruto),
};

IFin_GeracaoDadosBancarios& GeracaoDadosBancarios(CallContext& context) {
  IFin_ContasReceber& area = RequireArea(context.Financeiro.GetContasReceber(), "ContasReceber");
  return RequireArea(dynamic_cast<IFin_GeracaoDadosBancarios*>(&area), "ContasReceber (dados bancários)");
}

}  // namespace

void RegisterContasReceberOps(OperationRegistry& operations) {
  operations.AddArgs<GerarDadosBancariosArgs>(
      "ContasReceber.GerarDadosBancarios", FieldTable<GerarDadosBancariosArgs>(kGerarDadosBancariosArgs),
      [](CallContext& context, GerarDadosBancariosArgs& args) {
        TFin_GerarBoletos boleto;
        boleto.NUMTRANSVENDA = args.NUMTRANSVENDA;
        boleto.PREST = args.PREST;
        boleto.CODBANCO = args.CODBANCO;
        boleto.getParametros().gerarDadosBancarios(true);
        boleto.getParametros().filialVirtual(args.filialVirtual);
        boleto.getParametros().geraLinhaDigitavelValorBruto(args.geraLinhaDigitavelValorBruto);
        return Json(GeracaoDadosBancarios(context).GerarDadosBancarios(boleto));
      });
}

}  // namespace cli
