#include "OperationRegistry.h"
#include "ops/Ops.h"
#include "rtl/Formatacao.h"
#include "sdk/fin/ParametrosContasPagar.h"

namespace cli {

namespace {

IFin_ContasPagar& ContasPagar(CallContext& context) {
  return RequireArea(context.Financeiro.GetContasPagar(), "ContasPagar");
}

struct ListaArgs {
  std::string Lista;
};
const FieldDef<ListaArgs> kListaArgs[] = {fields::Text("ListaRecNum", &ListaArgs::Lista, 0, true)};

struct NotaEntradaArgs {
  double NumTransEnt = 0;
};
const FieldDef<NotaEntradaArgs> kNotaEntradaArgs[] = {
    fields::Whole("NumTransEnt", &NotaEntradaArgs::NumTransEnt, true)};

struct FilialArgs {
  std::string CodFilial;
};
const FieldDef<FilialArgs> kFilialArgs[] = {fields::Text("CodFilial", &FilialArgs::CodFilial, 2)};

struct SemArgumentos {};

// A bordero: its numbers, total, bank, collection code and history; its entries come as a list of
// payable records ("Lancamentos").
struct BorderoArgs {
  double NUMBORDERO = 0;
  double NUMTRANS = 0;
  double Valor = 0;
  double CodBanco = 0;
  std::string CodCob;
  std::string Historico;
};
const FieldDef<BorderoArgs> kBorderoArgs[] = {
    fields::Whole("NUMBORDERO", &BorderoArgs::NUMBORDERO, true),
    fields::Whole("NUMTRANS", &BorderoArgs::NUMTRANS, true),
    fields::Number("Valor", &BorderoArgs::Valor, true),
    fields::Whole("CodBanco", &BorderoArgs::CodBanco, true),
    fields::Text("CodCob", &BorderoArgs::CodCob, 4, true),
    fields::Text("Historico", &BorderoArgs::Historico, 200),
};

struct BaixaAutomaticaArgs {
  double RECNUM = 0;
  int CodBanco = 0;
  std::string Historico;
  double DescontoFin = 0;
  double Juros = 0;
};
const FieldDef<BaixaAutomaticaArgs> kBaixaAutomaticaArgs[] = {
    fields::Whole("RECNUM", &BaixaAutomaticaArgs::RECNUM, true),
    fields::Integer("CodBanco", &BaixaAutomaticaArgs::CodBanco, true),
    fields::Text("Historico", &BaixaAutomaticaArgs::Historico, 200),
    fields::Number("DescontoFin", &BaixaAutomaticaArgs::DescontoFin),
    fields::Number("Juros", &BaixaAutomaticaArgs::Juros),
};

struct EstornoFreteArgs {
  double RECNUM = 0;
  int Modo = 0;
};
const FieldDef<EstornoFreteArgs> kEstornoFreteArgs[] = {
    fields::Whole("RECNUM", &EstornoFreteArgs::RECNUM, true),
    fields::Integer("Modo", &EstornoFreteArgs::Modo, true),
};

// The bordero's request: its arguments and the list of its entries, each a payable record.
void LerBordero(const Json& request, BorderoArgs& args, std::vector<RFin_IncluirContasPagar>& lancamentos) {
  Json entrada = request.contains("args") ? request["args"] : Json::object();
  if (!entrada.is_object()) throw UsageError("args: esperado objeto JSON, recebido " + JsonTypeName(entrada) + ".");
  const Json lista = entrada.contains("Lancamentos") ? entrada["Lancamentos"] : Json();
  entrada.erase("Lancamentos");
  ReadRecord(entrada, args, FieldTable<BorderoArgs>(kBorderoArgs), "args");
  if (!lista.is_array() || lista.empty()) {
    throw UsageError("args.Lancamentos: esperada lista de lançamentos (registros de contas a pagar).");
  }
  for (std::size_t indice = 0; indice < lista.size(); ++indice) {
    RFin_IncluirContasPagar& registro = lancamentos.emplace_back();
    registro.Inicializar();
    ReadRecord(lista[indice], registro, CamposIncluirContasPagar(), "args.Lancamentos[" + std::to_string(indice) + "]");
  }
}

void RegisterBaixarBordero(OperationRegistry& operations) {
  Json campos = DescribeTable(FieldTable<BorderoArgs>(kBorderoArgs));
  campos.push_back({{"name", "Lancamentos"}, {"type", "list"}, {"required", true}});
  operations.Add({"ContasPagar.BaixarBordero", "args", campos,
                  [](const Json& request) {
                    BorderoArgs args;
                    std::vector<RFin_IncluirContasPagar> lancamentos;
                    LerBordero(request, args, lancamentos);
                  },
                  [](CallContext& context, const Json& request, Json& answer) {
                    BorderoArgs args;
                    std::vector<RFin_IncluirContasPagar> lancamentos;
                    LerBordero(request, args, lancamentos);
                    answer["result"] =
                        ContasPagar(context).BaixarBordero(args.NUMBORDERO, args.NUMTRANS, args.Valor, args.CodBanco,
                                                           args.CodCob, lancamentos, args.Historico);
                  }});
}

// The sub-module's explicit parameter values (used by the module in explicit-parameter mode).
struct ParametrosArgs {
#define FIN_ARG_NUMERO(Nome, Host) double Nome = 0;
#define FIN_ARG_TEXTO(Nome, Host) std::string Nome;
  FIN_PARAMETROS_CONTAS_PAGAR(FIN_ARG_NUMERO, FIN_ARG_TEXTO)
#undef FIN_ARG_NUMERO
#undef FIN_ARG_TEXTO
  bool LancarZTLancBloqGeral = false;
};
const FieldDef<ParametrosArgs> kParametrosArgs[] = {
#define FIN_CAMPO_NUMERO(Nome, Host) fields::Whole(#Nome, &ParametrosArgs::Nome),
#define FIN_CAMPO_TEXTO(Nome, Host) fields::Text(#Nome, &ParametrosArgs::Nome),
    FIN_PARAMETROS_CONTAS_PAGAR(FIN_CAMPO_NUMERO, FIN_CAMPO_TEXTO)
#undef FIN_CAMPO_NUMERO
#undef FIN_CAMPO_TEXTO
        fields::Flag("LancarZTLancBloqGeral", &ParametrosArgs::LancarZTLancBloqGeral),
};

Json Parametros(IFin_ContasPagar& area) {
  Json parametros = Json::object();
#define FIN_JSON_PARAMETRO(Nome, Host) parametros[#Nome] = area.Get##Nome();
  FIN_PARAMETROS_CONTAS_PAGAR(FIN_JSON_PARAMETRO, FIN_JSON_PARAMETRO)
#undef FIN_JSON_PARAMETRO
  parametros["LancarZTLancBloqGeral"] = area.GetLancarZTLancBloqGeral();
  parametros["OrcamentoExcedido"] = area.GetOrcamentoExcedido();
  return parametros;
}

}  // namespace

void RegisterContasPagarOps(OperationRegistry& operations) {
  operations.AddRecord<RFin_IncluirContasPagar>("ContasPagar.Incluir", CamposIncluirContasPagar(),
                                                [](CallContext& context, RFin_IncluirContasPagar& registro) {
                                                  // The routine label of the call (--label) unless the record brings
                                                  // its own.
                                                  if (Trim(registro.LABELROTINA).empty())
                                                    registro.LABELROTINA = context.Host.Config().Label;
                                                  return Json(ContasPagar(context).Incluir(registro));
                                                });
  RegisterBaixarBordero(operations);
  operations.AddArgs<EstornoFreteArgs>(
      "ContasPagar.EstornarConhecimentoDeFrete", FieldTable<EstornoFreteArgs>(kEstornoFreteArgs),
      [](CallContext& context, EstornoFreteArgs& args) {
        return Json(ContasPagar(context).EstornarConhecimentoDeFrete(args.RECNUM, args.Modo));
      });
  operations.AddArgs<BaixaAutomaticaArgs>(
      "ContasPagar.BaixarLancamentoAutomaticamente", FieldTable<BaixaAutomaticaArgs>(kBaixaAutomaticaArgs),
      [](CallContext& context, BaixaAutomaticaArgs& args) {
        return Json(ContasPagar(context).BaixarLancamentoAutomaticamente(args.RECNUM, args.CodBanco, args.Historico,
                                                                         args.DescontoFin, args.Juros));
      });
  operations.AddArgs<ListaArgs>("ContasPagar.GetListaLancamento", FieldTable<ListaArgs>(kListaArgs),
                                [](CallContext& context, ListaArgs& args) {
                                  Json lista = Json::array();
                                  for (const auto& registro : ContasPagar(context).GetListaLancamento(args.Lista)) {
                                    lista.push_back(WriteRecord(registro, CamposIncluirContasPagar()));
                                  }
                                  return lista;
                                });
  operations.AddArgs<NotaEntradaArgs>("ContasPagar.GetListaRecNum", FieldTable<NotaEntradaArgs>(kNotaEntradaArgs),
                                      [](CallContext& context, NotaEntradaArgs& args) {
                                        return Json(ContasPagar(context).GetListaRecNum(args.NumTransEnt));
                                      });
  operations.AddArgs<FilialArgs>("ContasPagar.BloquearDespesaAcimaDoValorOrcado", FieldTable<FilialArgs>(kFilialArgs),
                                 [](CallContext& context, FilialArgs& args) {
                                   return Json(ContasPagar(context).BloquearDespesaAcimaDoValorOrcado(args.CodFilial));
                                 });
  // The record travels as the arguments: it has no initialiser of its own.
  operations.AddArgs<RFin_ParamFilialData>("ContasPagar.VerificarPeriodoBloqueado", CamposParamFilialData(),
                                           [](CallContext& context, RFin_ParamFilialData& registro) {
                                             return Json(ContasPagar(context).VerificarPeriodoBloqueado(registro));
                                           });
  operations.AddRecord<RFin_ValidarLinhaDigitavel>("ContasPagar.ValidarLinhaDigitavel", CamposValidarLinhaDigitavel(),
                                                   [](CallContext& context, RFin_ValidarLinhaDigitavel& registro) {
                                                     return Json(ContasPagar(context).ValidarLinhaDigitavel(registro));
                                                   });
  operations.AddRecord<RFin_ValidarOrcamento>("ContasPagar.VerificarOrcamentoExcedido", CamposValidarOrcamento(),
                                              [](CallContext& context, RFin_ValidarOrcamento& registro) {
                                                return Json(ContasPagar(context).VerificarOrcamentoExcedido(registro));
                                              });
  operations.AddRecord<RFin_ValidarOrcamento>("ContasPagar.LancarSuplementacao", CamposValidarOrcamento(),
                                              [](CallContext& context, RFin_ValidarOrcamento& registro) {
                                                return Json(ContasPagar(context).LancarSuplementacao(registro));
                                              });
  operations.AddRecord<RFin_AprovarSuplementacao>("ContasPagar.AprovarSuplementacao", CamposAprovarSuplementacao(),
                                                  [](CallContext& context, RFin_AprovarSuplementacao& registro) {
                                                    return Json(ContasPagar(context).AprovarSuplementacao(registro));
                                                  });
  operations.AddRecord<RFin_RejeitarSuplementacao>("ContasPagar.RejeitarSuplementacao", CamposRejeitarSuplementacao(),
                                                   [](CallContext& context, RFin_RejeitarSuplementacao& registro) {
                                                     return Json(ContasPagar(context).RejeitarSuplementacao(registro));
                                                   });
  // Every getter of the sub-module, and the setters of its explicit parameters (kept for the rest of
  // a batch: one facade serves every request of it).
  operations.AddArgs<SemArgumentos>(
      "ContasPagar.GetParametros", FieldTable<SemArgumentos>{},
      [](CallContext& context, SemArgumentos&) { return Parametros(ContasPagar(context)); });
  operations.AddArgs<ParametrosArgs>("ContasPagar.SetParametros", FieldTable<ParametrosArgs>(kParametrosArgs),
                                     [](CallContext& context, ParametrosArgs& args) {
                                       IFin_ContasPagar& area = ContasPagar(context);
#define FIN_DEFINIR_PARAMETRO(Nome, Host) area.Set##Nome(args.Nome);
                                       FIN_PARAMETROS_CONTAS_PAGAR(FIN_DEFINIR_PARAMETRO, FIN_DEFINIR_PARAMETRO)
#undef FIN_DEFINIR_PARAMETRO
                                       area.SetLancarZTLancBloqGeral(args.LancarZTLancBloqGeral);
                                       return Parametros(area);
                                     });
}

}  // namespace cli
