#include "OperationRegistry.h"
#include "ops/Ops.h"
#include "sdk/Formatacao.h"

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

// The sub-module's explicit parameter values (used by the module in explicit-parameter mode).
struct ParametrosArgs {
  double NUMDIASMAXEMISSAOCP_1957 = 0;
  double NUMDIASMINDESPPAG_1393 = 0;
  std::string GERARDESPESAAOBAIXARDESCNA409_2349;
  std::string LANCARDESPDESCAUTOMATIC_2421;
  std::string LANCARDESPDESCFINAUTOMATIC_2445;
  double CODCONTASOBRAACERTO_1535 = 0;
  double CODCONTASOBRACAIXA_1210 = 0;
  double CODCONTAFALTACAIXA_1207 = 0;
  bool LancarZTLancBloqGeral = false;
};
const FieldDef<ParametrosArgs> kParametrosArgs[] = {
    fields::Whole("NUMDIASMAXEMISSAOCP_1957", &ParametrosArgs::NUMDIASMAXEMISSAOCP_1957),
    fields::Whole("NUMDIASMINDESPPAG_1393", &ParametrosArgs::NUMDIASMINDESPPAG_1393),
    fields::Text("GERARDESPESAAOBAIXARDESCNA409_2349", &ParametrosArgs::GERARDESPESAAOBAIXARDESCNA409_2349),
    fields::Text("LANCARDESPDESCAUTOMATIC_2421", &ParametrosArgs::LANCARDESPDESCAUTOMATIC_2421),
    fields::Text("LANCARDESPDESCFINAUTOMATIC_2445", &ParametrosArgs::LANCARDESPDESCFINAUTOMATIC_2445),
    fields::Whole("CODCONTASOBRAACERTO_1535", &ParametrosArgs::CODCONTASOBRAACERTO_1535),
    fields::Whole("CODCONTASOBRACAIXA_1210", &ParametrosArgs::CODCONTASOBRACAIXA_1210),
    fields::Whole("CODCONTAFALTACAIXA_1207", &ParametrosArgs::CODCONTAFALTACAIXA_1207),
    fields::Flag("LancarZTLancBloqGeral", &ParametrosArgs::LancarZTLancBloqGeral),
};

Json Parametros(IFin_ContasPagar& area) {
  return Json{
      {"NUMDIASMAXEMISSAOCP_1957", area.GetNUMDIASMAXEMISSAOCP_1957()},
      {"NUMDIASMINDESPPAG_1393", area.GetNUMDIASMINDESPPAG_1393()},
      {"GERARDESPESAAOBAIXARDESCNA409_2349", area.GetGERARDESPESAAOBAIXARDESCNA409_2349()},
      {"LANCARDESPDESCAUTOMATIC_2421", area.GetLANCARDESPDESCAUTOMATIC_2421()},
      {"LANCARDESPDESCFINAUTOMATIC_2445", area.GetLANCARDESPDESCFINAUTOMATIC_2445()},
      {"CODCONTASOBRAACERTO_1535", area.GetCODCONTASOBRAACERTO_1535()},
      {"CODCONTASOBRACAIXA_1210", area.GetCODCONTASOBRACAIXA_1210()},
      {"CODCONTAFALTACAIXA_1207", area.GetCODCONTAFALTACAIXA_1207()},
      {"LancarZTLancBloqGeral", area.GetLancarZTLancBloqGeral()},
      {"OrcamentoExcedido", area.GetOrcamentoExcedido()},
  };
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
  operations.AddArgs<ParametrosArgs>(
      "ContasPagar.SetParametros", FieldTable<ParametrosArgs>(kParametrosArgs),
      [](CallContext& context, ParametrosArgs& args) {
        IFin_ContasPagar& area = ContasPagar(context);
        area.SetNUMDIASMAXEMISSAOCP_1957(args.NUMDIASMAXEMISSAOCP_1957);
        area.SetNUMDIASMINDESPPAG_1393(args.NUMDIASMINDESPPAG_1393);
        area.SetGERARDESPESAAOBAIXARDESCNA409_2349(args.GERARDESPESAAOBAIXARDESCNA409_2349);
        area.SetLANCARDESPDESCAUTOMATIC_2421(args.LANCARDESPDESCAUTOMATIC_2421);
        area.SetLANCARDESPDESCFINAUTOMATIC_2445(args.LANCARDESPDESCFINAUTOMATIC_2445);
        area.SetCODCONTASOBRAACERTO_1535(args.CODCONTASOBRAACERTO_1535);
        area.SetCODCONTASOBRACAIXA_1210(args.CODCONTASOBRACAIXA_1210);
        area.SetCODCONTAFALTACAIXA_1207(args.CODCONTAFALTACAIXA_1207);
        area.SetLancarZTLancBloqGeral(args.LancarZTLancBloqGeral);
        return Parametros(area);
      });
}

}  // namespace cli
