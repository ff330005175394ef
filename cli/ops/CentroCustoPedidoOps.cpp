#include <string>

#include "OperationRegistry.h"
#include "ops/MensagensDaArea.h"
#include "ops/Ops.h"
#include "oradb/TClientDataSet.h"
#include "sdk/TBase.h"

// Every slot of the cost centers of consumption purchase orders as an operation. One facade serves
// every request of a batch, so a batch host proposes an installment's split with the form, edits
// it with the form operations, validates and saves it; each line runs in its own transaction.
namespace cli {

namespace {

const char* const kArea = "CentroCustoPedidoCompraConsumo.";

IFin_CentroCustoPedidoCompraConsumo& Area(CallContext& context) {
  return RequireArea(context.Financeiro.GetCentroCustoPedidoCompraConsumo(), "CentroCustoPedidoCompraConsumo");
}

// The visible rows of the installment (the form's view), as objects by field name.
Json Linhas(TClientDataSet& dados) {
  Json linhas = Json::array();
  if (!dados.Active()) return linhas;
  const std::size_t posicao = dados.RecNo();
  for (dados.First(); !dados.Eof(); dados.Next()) {
    Json linha = Json::object();
    for (std::size_t indice = 0; indice < dados.FieldCount(); ++indice) {
      const TField campo = dados.Fields(indice);
      if (campo.IsNull()) {
        linha[campo.FieldName()] = nullptr;
      } else if (campo.DataType() == TFieldType::ftFloat) {
        linha[campo.FieldName()] = NumberJson(campo.AsFloat());
      } else if (campo.DataType() == TFieldType::ftDateTime) {
        linha[campo.FieldName()] = WriteDate(campo.AsDateTime(), true);
      } else {
        linha[campo.FieldName()] = campo.AsString();
      }
    }
    linhas.push_back(std::move(linha));
  }
  dados.First();
  for (std::size_t i = 1; i < posicao && !dados.Eof(); ++i) dados.Next();
  return linhas;
}

Json Situacao(IFin_CentroCustoPedidoCompraConsumo& area, bool status, const MensagensDaArea& mensagens) {
  return Json{{"status", status}, {"mensagens", mensagens.Novas()}, {"rateios", Linhas(*area.GetCdsRateios())}};
}

struct SemArgumentos {};

struct ProcessoArgs {
  bool EditaLancto = false;
  std::string CodFilial;
  std::string CodConta;
  double ValorLancto = 0;
  double NumeroPedido = 0;
  std::string Prestacao;
  TDateTime DataLancto;
  bool ShowForm = false;
  bool ValidarCentroDeCustoExistentePeloNumeroDoPedido = false;
};
const FieldDef<ProcessoArgs> kProcessoArgs[] = {
    fields::Flag("EditaLancto", &ProcessoArgs::EditaLancto),
    fields::Text("CodFilial", &ProcessoArgs::CodFilial, 2),
    fields::Text("CodConta", &ProcessoArgs::CodConta, 12),
    fields::Number("ValorLancto", &ProcessoArgs::ValorLancto),
    fields::Number("NumeroPedido", &ProcessoArgs::NumeroPedido),
    fields::Text("Prestacao", &ProcessoArgs::Prestacao, 20),
    fields::Date("DataLancto", &ProcessoArgs::DataLancto),
    fields::Flag("ShowForm", &ProcessoArgs::ShowForm),
    fields::Flag("ValidarCentroDeCustoExistentePeloNumeroDoPedido",
                 &ProcessoArgs::ValidarCentroDeCustoExistentePeloNumeroDoPedido),
};

// An installment named by its order number and installment.
struct PrestacaoArgs {
  double NumeroPedido = 0;
  std::string Prestacao;
  double CodConta = 0;
  std::string CodFilial;
};
const FieldDef<PrestacaoArgs> kPrestacaoArgs[] = {
    fields::Number("NumeroPedido", &PrestacaoArgs::NumeroPedido, true),
    fields::Text("Prestacao", &PrestacaoArgs::Prestacao, 20, true),
};
const FieldDef<PrestacaoArgs> kAlterarContaArgs[] = {
    fields::Number("NumeroPedido", &PrestacaoArgs::NumeroPedido, true),
    fields::Text("Prestacao", &PrestacaoArgs::Prestacao, 20, true),
    fields::Whole("CodConta", &PrestacaoArgs::CodConta, true),
    fields::Text("CodFilial", &PrestacaoArgs::CodFilial, 2, true),
};

struct LinhaArgs {
  double Percentual = 0;
  double ValorRateio = 0;
  std::string CodFilial;
  std::string CodRateioPadrao;
  std::string CodCentroCusto;
  std::string DescCentroCusto;
  bool AlterandoLancto = false;
  double Linha = 0;  // the row being changed, 1-based
};
const FieldDef<LinhaArgs> kLinhaArgs[] = {
    fields::Number("Percentual", &LinhaArgs::Percentual),
    fields::Number("ValorRateio", &LinhaArgs::ValorRateio),
    fields::Text("CodFilial", &LinhaArgs::CodFilial, 2),
    fields::Text("CodRateioPadrao", &LinhaArgs::CodRateioPadrao, 10),
    fields::Text("CodCentroCusto", &LinhaArgs::CodCentroCusto, 40),
    fields::Text("DescCentroCusto", &LinhaArgs::DescCentroCusto, 80),
    fields::Flag("AlterandoLancto", &LinhaArgs::AlterandoLancto),
    fields::Whole("Linha", &LinhaArgs::Linha),
};

struct ContaArgs {
  std::string CodFilial;
  std::string CodConta;
};
const FieldDef<ContaArgs> kContaTrabalhaArgs[] = {
    fields::Text("CodFilial", &ContaArgs::CodFilial, 2, true),
    fields::Text("CodConta", &ContaArgs::CodConta, 12, true),
};
const FieldDef<ContaArgs> kContaArgs[] = {fields::Text("CodConta", &ContaArgs::CodConta, 12, true)};

struct ValorArgs {
  double Valor = 0;
  std::string Texto;
  bool Sim = false;
  TDateTime Data;
};
const FieldDef<ValorArgs> kNumeroArgs[] = {fields::Number("Valor", &ValorArgs::Valor, true)};
const FieldDef<ValorArgs> kTextoArgs[] = {fields::Text("Valor", &ValorArgs::Texto, 20, true)};
const FieldDef<ValorArgs> kParametroArgs[] = {fields::Text("Valor", &ValorArgs::Texto, 1, true)};
const FieldDef<ValorArgs> kFlagArgs[] = {fields::Flag("Valor", &ValorArgs::Sim, true)};
const FieldDef<ValorArgs> kDataArgs[] = {fields::Date("Valor", &ValorArgs::Data, true)};

template <class A, class Body>
void AdicionarArgs(OperationRegistry& operations, const std::string& nome, FieldTable<A> tabela, Body corpo) {
  operations.AddArgs<A>(kArea + nome, tabela, corpo);
}

template <class Body>
void SemArgs(OperationRegistry& operations, const std::string& nome, Body corpo) {
  AdicionarArgs<SemArgumentos>(operations, nome, FieldTable<SemArgumentos>{},
                               [corpo](CallContext& context, SemArgumentos&) { return corpo(Area(context)); });
}

template <class Body>
void ComValor(OperationRegistry& operations, const std::string& nome, FieldTable<ValorArgs> tabela, Body corpo) {
  AdicionarArgs<ValorArgs>(operations, nome, tabela, [corpo](CallContext& context, ValorArgs& args) {
    corpo(Area(context), args);
    return Json(true);
  });
}

// Puts the form on row `linha` (1-based) of the visible rows; 0 leaves it where it is.
void Posicionar(TClientDataSet& dados, double linha) {
  if (linha <= 0) return;
  if (linha > static_cast<double>(dados.RecordCount())) {
    throw UsageError("args.Linha: não há a linha " + ShortestDecimal(linha) + ".");
  }
  dados.First();
  for (double i = 1; i < linha; ++i) dados.Next();
}

void RegistrarProcesso(OperationRegistry& operations) {
  AdicionarArgs<ProcessoArgs>(operations, "ProcessoCentroCusto", FieldTable<ProcessoArgs>(kProcessoArgs),
                              [](CallContext& context, ProcessoArgs& args) {
                                IFin_CentroCustoPedidoCompraConsumo& area = Area(context);
                                const MensagensDaArea mensagens(area);
                                const bool status = area.ProcessoCentroCusto(
                                    args.EditaLancto, args.CodFilial, args.CodConta, args.ValorLancto,
                                    args.NumeroPedido, args.Prestacao, args.DataLancto, args.ShowForm,
                                    args.ValidarCentroDeCustoExistentePeloNumeroDoPedido);
                                return Situacao(area, status, mensagens);
                              });
  AdicionarArgs<ContaArgs>(operations, "ContaTrabalhaCentroCusto", FieldTable<ContaArgs>(kContaTrabalhaArgs),
                           [](CallContext& context, ContaArgs& args) {
                             return Json(Area(context).ContaTrabalhaCentroCusto(args.CodFilial, args.CodConta));
                           });
  // The area answers for the account of the installment it holds: the one asked about becomes it.
  AdicionarArgs<ContaArgs>(operations, "ContaTemRateioPadrao", FieldTable<ContaArgs>(kContaArgs),
                           [](CallContext& context, ContaArgs& args) {
                             IFin_CentroCustoPedidoCompraConsumo& area = Area(context);
                             area.SetCodConta(args.CodConta);
                             return Json(area.ContaTemRateioPadrao(args.CodConta));
                           });
  AdicionarArgs<PrestacaoArgs>(operations, "InsereRegistrosLancto", FieldTable<PrestacaoArgs>(kPrestacaoArgs),
                               [](CallContext& context, PrestacaoArgs& args) {
                                 IFin_CentroCustoPedidoCompraConsumo& area = Area(context);
                                 const MensagensDaArea mensagens(area);
                                 area.InsereRegistrosLancto(args.NumeroPedido, args.Prestacao);
                                 return Situacao(area, area.GetStatusCentroCusto(), mensagens);
                               });
  AdicionarArgs<PrestacaoArgs>(operations, "DeleteTodosRegistrosLancto", FieldTable<PrestacaoArgs>(kPrestacaoArgs),
                               [](CallContext& context, PrestacaoArgs& args) {
                                 Area(context).DeleteTodosRegistrosLancto(args.NumeroPedido, args.Prestacao);
                                 return Json(true);
                               });
  AdicionarArgs<PrestacaoArgs>(operations, "AlterarContaCentroCusto", FieldTable<PrestacaoArgs>(kAlterarContaArgs),
                               [](CallContext& context, PrestacaoArgs& args) {
                                 Area(context).AlterarContaCentroCusto(args.NumeroPedido, args.Prestacao,
                                                                       static_cast<std::int64_t>(args.CodConta),
                                                                       args.CodFilial);
                                 return Json(true);
                               });
}

void RegistrarFormulario(OperationRegistry& operations) {
  AdicionarArgs<LinhaArgs>(operations, "SetParametros", FieldTable<LinhaArgs>(kLinhaArgs),
                           [](CallContext& context, LinhaArgs& args) {
                             IFin_CentroCustoPedidoCompraConsumo& area = Area(context);
                             Posicionar(*area.GetCdsRateios(), args.Linha);
                             area.SetParametros(args.Percentual, args.ValorRateio, args.CodFilial, args.CodRateioPadrao,
                                                args.CodCentroCusto, args.DescCentroCusto, args.AlterandoLancto);
                             return Json(true);
                           });
  SemArgs(operations, "ValidaCamposInterface", [](IFin_CentroCustoPedidoCompraConsumo& area) {
    const MensagensDaArea mensagens(area);
    const int codigo = area.ValidaCamposInterface();
    return Json{{"codigo", codigo}, {"mensagens", mensagens.Novas()}};
  });
  SemArgs(operations, "InsereCentroCusto_Client", [](IFin_CentroCustoPedidoCompraConsumo& area) {
    const MensagensDaArea mensagens(area);
    return Situacao(area, area.InsereCentroCusto_Client(), mensagens);
  });
  SemArgs(operations, "ValidaDadosInformados_Inclusao", [](IFin_CentroCustoPedidoCompraConsumo& area) {
    const MensagensDaArea mensagens(area);
    return Situacao(area, area.ValidaDadosInformados_Inclusao(), mensagens);
  });
  SemArgs(operations, "InsertCentroCusto_Banco", [](IFin_CentroCustoPedidoCompraConsumo& area) {
    const MensagensDaArea mensagens(area);
    return Situacao(area, area.InsertCentroCusto_Banco(), mensagens);
  });
  SemArgs(operations, "CancelaCentroCusto", [](IFin_CentroCustoPedidoCompraConsumo& area) {
    const MensagensDaArea mensagens(area);
    return Situacao(area, area.CancelaCentroCusto(), mensagens);
  });
  SemArgs(operations, "LimparDadosUltimoLancto", [](IFin_CentroCustoPedidoCompraConsumo& area) {
    area.LimparDadosUltimoLancto();
    return Json(true);
  });
}

void RegistrarAcessores(OperationRegistry& operations) {
  using Area_t = IFin_CentroCustoPedidoCompraConsumo;
  SemArgs(operations, "GetRATEIOTOTALCC_2664", [](Area_t& area) { return Json(area.GetRATEIOTOTALCC_2664()); });
  ComValor(operations, "SetRATEIOTOTALCC_2664", FieldTable<ValorArgs>(kParametroArgs),
           [](Area_t& area, ValorArgs& args) { area.SetRATEIOTOTALCC_2664(args.Texto); });
  SemArgs(operations, "GetREALIZA_RATEIO_PEDIDO_COMPRA_CONSUMO_3919",
          [](Area_t& area) { return Json(area.GetREALIZA_RATEIO_PEDIDO_COMPRA_CONSUMO_3919()); });
  SemArgs(operations, "GetBLOQUEAR_LANCAMENTO_ACIMA_DO_ORCADO_CENTRO_CUSTO_3921",
          [](Area_t& area) { return Json(area.GetBLOQUEAR_LANCAMENTO_ACIMA_DO_ORCADO_CENTRO_CUSTO_3921()); });
  SemArgs(operations, "GetFazCloneRegistroPrincipal",
          [](Area_t& area) { return Json(area.GetFazCloneRegistroPrincipal()); });
  ComValor(operations, "SetFazCloneRegistroPrincipal", FieldTable<ValorArgs>(kFlagArgs),
           [](Area_t& area, ValorArgs& args) { area.SetFazCloneRegistroPrincipal(args.Sim); });
  SemArgs(operations, "GetStatusCentroCusto", [](Area_t& area) { return Json(area.GetStatusCentroCusto()); });
  SemArgs(operations, "GetCdsRateios", [](Area_t& area) { return Linhas(*area.GetCdsRateios()); });
  // The host's own dataset cannot travel in JSON: the area takes back its own rows.
  SemArgs(operations, "SetCdsRateios", [](Area_t& area) {
    area.SetCdsRateios(nullptr);
    return Json(true);
  });
  SemArgs(operations, "GetCodFilial", [](Area_t& area) { return Json(area.GetCodFilial()); });
  SemArgs(operations, "GetCodConta", [](Area_t& area) { return Json(area.GetCodConta()); });
  ComValor(operations, "SetCodConta", FieldTable<ValorArgs>(kTextoArgs),
           [](Area_t& area, ValorArgs& args) { area.SetCodConta(args.Texto); });
  SemArgs(operations, "GetNumeroPedido", [](Area_t& area) { return NumberJson(area.GetNumeroPedido()); });
  ComValor(operations, "SetNumeroPedido", FieldTable<ValorArgs>(kNumeroArgs),
           [](Area_t& area, ValorArgs& args) { area.SetNumeroPedido(args.Valor); });
  SemArgs(operations, "GetPrestacao", [](Area_t& area) { return Json(area.GetPrestacao()); });
  ComValor(operations, "SetPrestacao", FieldTable<ValorArgs>(kTextoArgs),
           [](Area_t& area, ValorArgs& args) { area.SetPrestacao(args.Texto); });
  SemArgs(operations, "GetValorLancto", [](Area_t& area) { return NumberJson(area.GetValorLancto()); });
  ComValor(operations, "SetValorLancto", FieldTable<ValorArgs>(kNumeroArgs),
           [](Area_t& area, ValorArgs& args) { area.SetValorLancto(args.Valor); });
  SemArgs(operations, "GetDataLancto", [](Area_t& area) { return WriteDate(area.GetDataLancto(), false); });
  ComValor(operations, "SetDataLancto", FieldTable<ValorArgs>(kDataArgs),
           [](Area_t& area, ValorArgs& args) { area.SetDataLancto(args.Data); });
  SemArgs(operations, "GetShowForm", [](Area_t& area) { return Json(area.GetShowForm()); });
  SemArgs(operations, "GetEditaLancamento", [](Area_t& area) { return Json(area.GetEditaLancamento()); });
}

}  // namespace

void RegisterCentroCustoPedidoOps(OperationRegistry& operations) {
  RegistrarProcesso(operations);
  RegistrarFormulario(operations);
  RegistrarAcessores(operations);
}

}  // namespace cli
