#include <string>

#include "OperationRegistry.h"
#include "ops/Ops.h"
#include "oradb/TOraQuery.h"
#include "sdk/fin/IFin_ContasReceber.h"

namespace cli {

namespace {

// A title to insert: the record the insertion reads, written back with the instalment taken and
// the defaults filled. The module reports what is missing, so no field is required here.
struct TituloInclusao : TContasReceberZTPrest {
  void Inicializar() { *this = TituloInclusao{}; }
};

const FieldDef<TituloInclusao> kTituloInclusao[] = {
    fields::Text<TituloInclusao>("CODFILIAL", &TituloInclusao::CODFILIAL, 2),
    fields::Whole<TituloInclusao>("NUMTRANSVENDA", &TituloInclusao::NUMTRANSVENDA),
    fields::Text<TituloInclusao>("PREST", &TituloInclusao::PREST, 2),
    fields::Whole<TituloInclusao>("DUPLIC", &TituloInclusao::DUPLIC),
    fields::Date<TituloInclusao>("DTVENC", &TituloInclusao::DTVENC),
    fields::Date<TituloInclusao>("DTVENCORIG", &TituloInclusao::DTVENCORIG),
    fields::Date<TituloInclusao>("DTEMISSAO", &TituloInclusao::DTEMISSAO),
    fields::Date<TituloInclusao>("DTEMISSAOORIG", &TituloInclusao::DTEMISSAOORIG),
    fields::Text<TituloInclusao>("CODCOB", &TituloInclusao::CODCOB, 4),
    fields::Text<TituloInclusao>("CODCOBORIG", &TituloInclusao::CODCOBORIG, 4),
    fields::Number<TituloInclusao>("VALOR", &TituloInclusao::VALOR),
    fields::Number<TituloInclusao>("VALORORIG", &TituloInclusao::VALORORIG),
    fields::Whole<TituloInclusao>("CODCLI", &TituloInclusao::CODCLI),
    fields::Text<TituloInclusao>("STATUS", &TituloInclusao::STATUS, 1),
    fields::Whole<TituloInclusao>("CODUSUR", &TituloInclusao::CODUSUR),
    fields::Text<TituloInclusao>("OBS2", &TituloInclusao::OBS2, 100),
};

struct TituloArgs {
  double NumTransVenda = 0;
  std::string Prest;
};

const FieldDef<TituloArgs> kTituloArgs[] = {
    fields::Whole("NumTransVenda", &TituloArgs::NumTransVenda),
    fields::Text("Prest", &TituloArgs::Prest, 2),
};

struct VendaArgs {
  double NumTransVenda = 0;
};

const FieldDef<VendaArgs> kVendaArgs[] = {fields::Whole("NumTransVenda", &VendaArgs::NumTransVenda)};

struct CobrancaArgs {
  std::string CodCob;
};

const FieldDef<CobrancaArgs> kCobrancaArgs[] = {fields::Text("CodCob", &CobrancaArgs::CodCob, 10)};

struct DSRArgs {
  double Valor = 0;
  TDateTime DataIni;
  TDateTime DataFim;
  int Dias = 0;
};

const FieldDef<DSRArgs> kDSRArgs[] = {
    fields::Number("Valor", &DSRArgs::Valor),
    fields::DateTime("DataIni", &DSRArgs::DataIni),
    fields::DateTime("DataFim", &DSRArgs::DataFim),
    fields::Integer("Dias", &DSRArgs::Dias),
};

struct SemArgs {};

IFin_ContasReceber& Area(CallContext& context) {
  return RequireArea(context.Financeiro.GetContasReceber(), "ContasReceber");
}

template <class Getter>
void AddParametro(OperationRegistry& operations, const std::string& name, Getter getter) {
  operations.AddArgs<SemArgs>(name, FieldTable<SemArgs>(),
                              [getter](CallContext& context, SemArgs&) { return Json(getter(Area(context))); });
}

}  // namespace

void RegisterContasReceberTitulosOps(OperationRegistry& operations) {
  operations.AddRecord<TituloInclusao>("ContasReceber.Incluir", FieldTable<TituloInclusao>(kTituloInclusao),
                                       [](CallContext& context, TituloInclusao& titulo) {
                                         Area(context).Incluir(titulo);
                                         return Json(titulo.PREST);
                                       });
  operations.AddArgs<TituloArgs>(
      "ContasReceber.TituloDesdobradoPeloForcaVendas", FieldTable<TituloArgs>(kTituloArgs),
      [](CallContext& context, TituloArgs& args) {
        return Json(Area(context).TituloDesdobradoPeloForcaVendas(args.NumTransVenda, args.Prest));
      });
  operations.AddArgs<TituloArgs>(
      "ContasReceber.TituloEstaNaRotaDeAlgumRCA", FieldTable<TituloArgs>(kTituloArgs),
      [](CallContext& context, TituloArgs& args) {
        return Json(Area(context).TituloEstaNaRotaDeAlgumRCA(args.NumTransVenda, args.Prest));
      });
  operations.AddArgs<VendaArgs>("ContasReceber.RetornarStatusCobrancaSupplierCard", FieldTable<VendaArgs>(kVendaArgs),
                                [](CallContext& context, VendaArgs& args) {
                                  return Json(NomeStatusCobrancaSupplierCard(
                                      Area(context).RetornarStatusCobrancaSupplierCard(args.NumTransVenda)));
                                });
  operations.AddArgs<TituloArgs>(
      "ContasReceber.ComunicarProrrogacaoCobrancaSupplierCard", FieldTable<TituloArgs>(kTituloArgs),
      [](CallContext& context, TituloArgs& args) {
        return Json(Area(context).ComunicarProrrogacaoCobrancaSupplierCard(args.NumTransVenda, args.Prest));
      });
  operations.AddArgs<CobrancaArgs>(
      "ContasReceber.CobrancaESupplierCard", FieldTable<CobrancaArgs>(kCobrancaArgs),
      [](CallContext& context, CobrancaArgs& args) { return Json(Area(context).CobrancaESupplierCard(args.CodCob)); });
  operations.AddArgs<DSRArgs>(
      "ContasReceber.CalcularDSR", FieldTable<DSRArgs>(kDSRArgs), [](CallContext& context, DSRArgs& args) {
        return NumberJson(Area(context).CalcularDSR(args.Valor, args.DataIni, args.DataFim, args.Dias));
      });
  // The query the host would hand over: the titles of one sale, in instalment order.
  operations.AddArgs<VendaArgs>(
      "ContasReceber.TitulosParaImpressaoBoletoComCobrancasDiferentes", FieldTable<VendaArgs>(kVendaArgs),
      [](CallContext& context, VendaArgs& args) {
        TOraQuery titulos(&context.Host.Sessao());
        titulos.SQL.Add("SELECT CODCOB, CODBANCOCM FROM ZTPREST WHERE NUMTRANSVENDA = :NUMTRANSVENDA ORDER BY PREST");
        titulos.ParamByName("NUMTRANSVENDA").SetAsFloat(args.NumTransVenda);
        titulos.Open();
        return Json(Area(context).TitulosParaImpressaoBoletoComCobrancasDiferentes(titulos));
      });
  AddParametro(operations, "ContasReceber.GetDiretorioArquivosPDFBoletos",
               [](IFin_ContasReceber& area) { return area.GetDiretorioArquivosPDFBoletos(); });
  AddParametro(operations, "ContasReceber.GetGerarArquivosPDFBoletos",
               [](IFin_ContasReceber& area) { return area.GetGerarArquivosPDFBoletos(); });
  AddParametro(operations, "ContasReceber.GetUsaBaixaTituloComRotRCA3035",
               [](IFin_ContasReceber& area) { return area.GetUsaBaixaTituloComRotRCA3035(); });
  AddParametro(operations, "ContasReceber.GetUtilizaRoteirizacao2659",
               [](IFin_ContasReceber& area) { return area.GetUtilizaRoteirizacao2659(); });
  AddParametro(operations, "ContasReceber.GetAtualizaRotaNoMomentoVenda2660",
               [](IFin_ContasReceber& area) { return area.GetAtualizaRotaNoMomentoVenda2660(); });
}

}  // namespace cli
