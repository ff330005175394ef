#include "OperationRegistry.h"
#include "ops/Ops.h"
#include "oradb/TOraQuery.h"
#include "sdk/fin/IFin_Vales.h"

namespace cli {

namespace {

IFin_Vales& Area(CallContext& context) {
  return RequireArea(context.Financeiro.GetVales(), "Vales");
}

struct EditarArgs {
  std::string psHistorico;
  std::string psConsidera;
  TDateTime pdDtaVencimento;
  double pfRecNum = 0;
};

const FieldDef<EditarArgs> kEditarArgs[] = {
    fields::Text("psHistorico", &EditarArgs::psHistorico, 200),
    fields::Text("psConsidera", &EditarArgs::psConsidera, 1, true),
    fields::Date("pdDtaVencimento", &EditarArgs::pdDtaVencimento),
    fields::Whole("pfRecNum", &EditarArgs::pfRecNum, true),
};

struct TransferirArgs {
  double pfRecNum = 0;
  double pfCodigoParceiroDestino = 0;
  double pfNumTrans = 0;
  double pfNumDoc = 0;
  std::string psTipoParceiroDestino;
  std::string psNomeParceiro;
  TDateTime pdDtLanc;
};

const FieldDef<TransferirArgs> kTransferirArgs[] = {
    fields::Whole("pfRecNum", &TransferirArgs::pfRecNum, true),
    fields::Whole("pfCodigoParceiroDestino", &TransferirArgs::pfCodigoParceiroDestino, true),
    fields::Whole("pfNumTrans", &TransferirArgs::pfNumTrans),
    fields::Whole("pfNumDoc", &TransferirArgs::pfNumDoc),
    fields::Text("psTipoParceiroDestino", &TransferirArgs::psTipoParceiroDestino, 1, true),
    fields::Text("psNomeParceiro", &TransferirArgs::psNomeParceiro, 40),
    fields::Date("pdDtLanc", &TransferirArgs::pdDtLanc),
};

// A report request: the filters of both reports, enumerations as their ordinals.
struct RelatorioArgs {
  std::string psCodigoFilial;
  int pPesquisaPeriodo = 0;
  TDateTime pdDtaInicio;
  TDateTime pdDtaFim;
  int pTipoParceiro = 0;
  double pfCodigoParceiro = 0;
  double pfCodigoEmitente = 0;
  double pfCodigoHistorico = 0;
  double pfNumeroIniVale = 0;
  double pfNumeroFimVale = 0;
  int pTipoOrdenacao = 0;
  int pTipoRelatorio = 0;
  int pStatusParceiro = 2;
  bool pbSaldoDiferenteZero = false;
  std::string psTituloVale;
  int pSituacaoVales = 2;
};

#define FIN_RELATORIO_COMUM                                                                                         \
  fields::Text("psCodigoFilial", &RelatorioArgs::psCodigoFilial, 2),                                                \
      fields::Integer("pPesquisaPeriodo", &RelatorioArgs::pPesquisaPeriodo),                                        \
      fields::Date("pdDtaInicio", &RelatorioArgs::pdDtaInicio), fields::Date("pdDtaFim", &RelatorioArgs::pdDtaFim), \
      fields::Integer("pTipoParceiro", &RelatorioArgs::pTipoParceiro),                                              \
      fields::Whole("pfCodigoParceiro", &RelatorioArgs::pfCodigoParceiro),                                          \
      fields::Whole("pfCodigoHistorico", &RelatorioArgs::pfCodigoHistorico),                                        \
      fields::Whole("pfNumeroIniVale", &RelatorioArgs::pfNumeroIniVale),                                            \
      fields::Whole("pfNumeroFimVale", &RelatorioArgs::pfNumeroFimVale),                                            \
      fields::Integer("pTipoOrdenacao", &RelatorioArgs::pTipoOrdenacao),                                            \
      fields::Integer("pStatusParceiro", &RelatorioArgs::pStatusParceiro),                                          \
      fields::Integer("pSituacaoVales", &RelatorioArgs::pSituacaoVales)

const FieldDef<RelatorioArgs> kEmissaoArgs[] = {
    FIN_RELATORIO_COMUM,
    fields::Whole("pfCodigoEmitente", &RelatorioArgs::pfCodigoEmitente),
    fields::Text("psTituloVale", &RelatorioArgs::psTituloVale, 100),
};

const FieldDef<RelatorioArgs> kExtratoArgs[] = {
    FIN_RELATORIO_COMUM,
    fields::Integer("pTipoRelatorio", &RelatorioArgs::pTipoRelatorio),
    fields::Flag("pbSaldoDiferenteZero", &RelatorioArgs::pbSaldoDiferenteZero),
};

#undef FIN_RELATORIO_COMUM

// An enumeration given by its ordinal: outside its values it is a usage error naming the field.
template <class E>
E Enumeracao(int valor, int maior, const char* campo) {
  if (valor < 0 || valor > maior) {
    throw UsageError(std::string("args.") + campo + ": valor fora do domínio (0 a " + std::to_string(maior) + ").");
  }
  return static_cast<E>(valor);
}

Json ValorCampo(TField campo) {
  if (campo.IsNull()) return nullptr;
  switch (campo.DataType()) {
    case TFieldType::ftFloat:
    case TFieldType::ftInteger:
      return NumberJson(campo.AsFloat());
    case TFieldType::ftDate:
    case TFieldType::ftDateTime:
      return WriteDate(campo.AsDateTime(), true);
    default:
      return campo.AsString();
  }
}

// The rows the report left visible (after its partner-status filter).
Json Linhas(TOraQuery& query) {
  Json linhas = Json::array();
  for (query.First(); !query.Eof(); query.Next()) {
    Json linha = Json::object();
    for (std::size_t i = 0; i < query.FieldCount(); ++i)
      linha[query.Fields(i).FieldName()] = ValorCampo(query.Fields(i));
    linhas.push_back(std::move(linha));
  }
  return linhas;
}

Json Relatorio(bool tem_linhas, TOraQuery& query) {
  return Json{{"temLinhas", tem_linhas}, {"linhas", tem_linhas ? Linhas(query) : Json::array()}};
}

}  // namespace

void RegisterValesOps(OperationRegistry& operations) {
  operations.AddRecord<RFin_ParametrosInclusaoVale>("Vales.IncluirVale", CamposParametrosInclusaoVale(),
                                                    [](CallContext& context, RFin_ParametrosInclusaoVale& record) {
                                                      return Json(Area(context).IncluirVale(record));
                                                    });
  operations.AddRecord<RFin_ParamBaixaVale>("Vales.BaixarValeIndividual", CamposParamBaixaVale(),
                                            [](CallContext& context, RFin_ParamBaixaVale& record) {
                                              TStringList lista;
                                              const bool baixado = Area(context).BaixarValeIndividual(record, &lista);
                                              return Json{{"baixado", baixado}, {"pListaRecNumZTLanc", lista.Lines()}};
                                            });
  operations.AddArgs<EditarArgs>(
      "Vales.EditarVales", FieldTable<EditarArgs>(kEditarArgs), [](CallContext& context, EditarArgs& a) {
        return Json(Area(context).EditarVales(a.psHistorico, a.psConsidera, a.pdDtaVencimento, a.pfRecNum));
      });
  operations.AddArgs<TransferirArgs>(
      "Vales.TransferirVales", FieldTable<TransferirArgs>(kTransferirArgs),
      [](CallContext& context, TransferirArgs& a) {
        return Json(Area(context).TransferirVales(a.pfRecNum, a.pfCodigoParceiroDestino, a.pfNumTrans, a.pfNumDoc,
                                                  a.psTipoParceiroDestino, a.psNomeParceiro, a.pdDtLanc));
      });
  operations.AddArgs<RelatorioArgs>(
      "Vales.EmissaoVales", FieldTable<RelatorioArgs>(kEmissaoArgs), [](CallContext& context, RelatorioArgs& a) {
        TOraQuery query(&context.Host.Sessao());
        const bool tem_linhas = Area(context).EmissaoVales(
            query, a.psCodigoFilial, Enumeracao<TPesquisaPeriodoVale>(a.pPesquisaPeriodo, 1, "pPesquisaPeriodo"),
            a.pdDtaInicio, a.pdDtaFim, Enumeracao<TTipoParceiroVale>(a.pTipoParceiro, 4, "pTipoParceiro"),
            a.pfCodigoParceiro, a.pfCodigoEmitente, a.pfCodigoHistorico, a.pfNumeroIniVale, a.pfNumeroFimVale,
            Enumeracao<TTipoOrdenacaoVale>(a.pTipoOrdenacao, 4, "pTipoOrdenacao"),
            Enumeracao<TStatusParceiroVale>(a.pStatusParceiro, 2, "pStatusParceiro"), a.psTituloVale,
            Enumeracao<TSituacaoVales>(a.pSituacaoVales, 2, "pSituacaoVales"));
        return Relatorio(tem_linhas, query);
      });
  operations.AddArgs<RelatorioArgs>(
      "Vales.ExtratoVales", FieldTable<RelatorioArgs>(kExtratoArgs), [](CallContext& context, RelatorioArgs& a) {
        TOraQuery query(&context.Host.Sessao());
        const bool tem_linhas = Area(context).ExtratoVales(
            query, a.psCodigoFilial, Enumeracao<TPesquisaPeriodoVale>(a.pPesquisaPeriodo, 1, "pPesquisaPeriodo"),
            a.pdDtaInicio, a.pdDtaFim, Enumeracao<TTipoParceiroVale>(a.pTipoParceiro, 4, "pTipoParceiro"),
            a.pfCodigoParceiro, a.pfCodigoHistorico,
            Enumeracao<TTipoRelatorioExtratoVale>(a.pTipoRelatorio, 1, "pTipoRelatorio"),
            Enumeracao<TTipoOrdenacaoVale>(a.pTipoOrdenacao, 4, "pTipoOrdenacao"),
            Enumeracao<TStatusParceiroVale>(a.pStatusParceiro, 2, "pStatusParceiro"), a.pbSaldoDiferenteZero,
            Enumeracao<TSituacaoVales>(a.pSituacaoVales, 2, "pSituacaoVales"), a.pfNumeroIniVale, a.pfNumeroFimVale);
        return Relatorio(tem_linhas, query);
      });
}

}  // namespace cli
