#include <string>

#include "OperationRegistry.h"
#include "ops/MensagensDaArea.h"
#include "ops/Ops.h"
#include "oradb/TClientDataSet.h"
#include "sdk/TBase.h"

// Every slot of the account-apportionment area as an operation. One facade serves every request of
// a batch, so a batch host proposes a split, edits it with the form operations, validates it and
// posts it line after line; each line runs in its own transaction.
namespace cli {

namespace {

IFin_RateioContas& Area(CallContext& context) {
  return RequireArea(context.Financeiro.GetRateioContas(), "RateioContas");
}

// Every row of a dataset, whatever the form's filter, as objects by field name.
Json Linhas(TClientDataSet& dados) {
  Json linhas = Json::array();
  if (!dados.Active()) return linhas;
  const std::string filtro = dados.Filter();
  const bool filtrado = dados.Filtered();
  const std::size_t posicao = dados.RecNo();
  dados.SetFiltered(false);
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
  dados.SetFilter(filtro);
  dados.SetFiltered(filtrado);
  dados.First();
  for (std::size_t i = 1; i < posicao && !dados.Eof(); ++i) dados.Next();
  return linhas;
}

Json Situacao(IFin_RateioContas& area, const MensagensDaArea& mensagens) {
  return Json{{"status", area.GetStatusRateioContas()},
              {"mensagens", mensagens.Novas()},
              {"contas", Linhas(*area.GetCdsContasRateio())},
              {"centros_custo", Linhas(*area.GetCdsCentroCustoConta())}};
}

TTipoLancamento Tipo(int ordinal) {
  if (ordinal < 0 || ordinal > 4) throw UsageError("args.TipoLancto: use 0 (financeiro) a 4 (orçamento).");
  return static_cast<TTipoLancamento>(ordinal);
}

// Puts the form on row `linha` (1-based) of the visible rows; 0 leaves it where it is.
void Posicionar(TClientDataSet& dados, double linha, const char* campo) {
  if (linha <= 0) return;
  if (linha > static_cast<double>(dados.RecordCount())) {
    throw UsageError(std::string("args.") + campo + ": não há a linha " + ShortestDecimal(linha) + ".");
  }
  dados.First();
  for (double i = 1; i < linha; ++i) dados.Next();
}

struct SemArgumentos {};

// A split proposed without the form (the batch host edits it with the form operations).
struct ProcessoArgs {
  bool PermissaoEditarLancamento = false;
  int TipoLancto = 0;
  std::string CodFilial;
  double CodRateioConta = 0;
  double ValorLancto = 0;
  TDateTime DataLancto;
  double CodigoFuncionario = 0;  // 0: the calling user
  double ValorDesconto = 0;
  double ValorJuros = 0;
  double ValorDevol = 0;
};
const FieldDef<ProcessoArgs> kProcessoArgs[] = {
    fields::Flag("PermissaoEditarLancamento", &ProcessoArgs::PermissaoEditarLancamento),
    fields::Integer("TipoLancto", &ProcessoArgs::TipoLancto),
    fields::Text("CodFilial", &ProcessoArgs::CodFilial, 2, true),
    fields::Whole("CodRateioConta", &ProcessoArgs::CodRateioConta, true),
    fields::Number("ValorLancto", &ProcessoArgs::ValorLancto, true),
    fields::Date("DataLancto", &ProcessoArgs::DataLancto),
    fields::Whole("CodigoFuncionario", &ProcessoArgs::CodigoFuncionario),
    fields::Number("ValorDesconto", &ProcessoArgs::ValorDesconto),
    fields::Number("ValorJuros", &ProcessoArgs::ValorJuros),
    fields::Number("ValorDevol", &ProcessoArgs::ValorDevol),
};

struct ContaArgs {
  double ContaGerencial = 0;
  double Percentual = 0;
  double ValorRateio = 0;
  std::string CodFilial;
  double CodRateioConta = 0;
  bool AlterandoLancto = false;
  double ValorDesc = 0;
  double ValorJuros = 0;
  double ValorDevol = 0;
  double Linha = 0;  // the account row being changed, 1-based
};
const FieldDef<ContaArgs> kContaArgs[] = {
    fields::Whole("ContaGerencial", &ContaArgs::ContaGerencial, true),
    fields::Number("Percentual", &ContaArgs::Percentual),
    fields::Number("ValorRateio", &ContaArgs::ValorRateio),
    fields::Text("CodFilial", &ContaArgs::CodFilial, 2),
    fields::Whole("CodRateioConta", &ContaArgs::CodRateioConta),
    fields::Flag("AlterandoLancto", &ContaArgs::AlterandoLancto),
    fields::Number("ValorDesc", &ContaArgs::ValorDesc),
    fields::Number("ValorJuros", &ContaArgs::ValorJuros),
    fields::Number("ValorDevol", &ContaArgs::ValorDevol),
    fields::Whole("Linha", &ContaArgs::Linha),
};

struct CentroCustoArgs {
  double Percentual = 0;
  double ValorRateio = 0;
  std::string CodFilial;
  std::string CodRateioPadrao;
  std::string CodCentroCusto;
  std::string DescCentroCusto;
  bool AlterandoLancto = false;
  double ContaGerencial = 0;
  double ValorLanctoConta = 0;
  double Linha = 0;  // the account's cost-center row being changed, 1-based
};
const FieldDef<CentroCustoArgs> kCentroCustoArgs[] = {
    fields::Number("Percentual", &CentroCustoArgs::Percentual),
    fields::Number("ValorRateio", &CentroCustoArgs::ValorRateio),
    fields::Text("CodFilial", &CentroCustoArgs::CodFilial, 2),
    fields::Text("CodRateioPadrao", &CentroCustoArgs::CodRateioPadrao, 10),
    fields::Text("CodCentroCusto", &CentroCustoArgs::CodCentroCusto, 40),
    fields::Text("DescCentroCusto", &CentroCustoArgs::DescCentroCusto, 80),
    fields::Flag("AlterandoLancto", &CentroCustoArgs::AlterandoLancto),
    fields::Whole("ContaGerencial", &CentroCustoArgs::ContaGerencial, true),
    fields::Number("ValorLanctoConta", &CentroCustoArgs::ValorLanctoConta),
    fields::Whole("Linha", &CentroCustoArgs::Linha),
};

struct TextoArgs {
  std::string Valor;
};
const FieldDef<TextoArgs> kUtilizaArgs[] = {fields::Text("Valor", &TextoArgs::Valor, 1, true)};

template <class A, class Body>
void AdicionarArgs(OperationRegistry& operations, const std::string& nome, FieldTable<A> tabela, Body corpo) {
  operations.AddArgs<A>("RateioContas." + nome, tabela, corpo);
}

template <class Body>
void SemArgs(OperationRegistry& operations, const std::string& nome, Body corpo) {
  AdicionarArgs<SemArgumentos>(operations, nome, FieldTable<SemArgumentos>{},
                               [corpo](CallContext& context, SemArgumentos&) { return corpo(Area(context)); });
}

void RegistrarGetters(OperationRegistry& operations) {
  SemArgs(operations, "GetUTILIZACENTROCUSTO_2663",
          [](IFin_RateioContas& area) { return Json(area.GetUTILIZACENTROCUSTO_2663()); });
  AdicionarArgs<TextoArgs>(operations, "setUTILIZACENTROCUSTO_2663", FieldTable<TextoArgs>(kUtilizaArgs),
                           [](CallContext& context, TextoArgs& args) {
                             Area(context).setUTILIZACENTROCUSTO_2663(args.Valor);
                             return Json(true);
                           });
  SemArgs(operations, "GetStatusRateioContas",
          [](IFin_RateioContas& area) { return Json(area.GetStatusRateioContas()); });
  SemArgs(operations, "GetCdsCentroCustoConta",
          [](IFin_RateioContas& area) { return Linhas(*area.GetCdsCentroCustoConta()); });
  SemArgs(operations, "GetCdsContasRateio", [](IFin_RateioContas& area) { return Linhas(*area.GetCdsContasRateio()); });
  SemArgs(operations, "GetCodigoFilial", [](IFin_RateioContas& area) { return Json(area.GetCodigoFilial()); });
  SemArgs(operations, "GetPermissaoEditarLancamento",
          [](IFin_RateioContas& area) { return Json(area.GetPermissaoEditarLancamento()); });
  SemArgs(operations, "GetValorTotalLancamento",
          [](IFin_RateioContas& area) { return NumberJson(area.GetValorTotalLancamento()); });
  SemArgs(operations, "GetCodigoRateioPadrao",
          [](IFin_RateioContas& area) { return NumberJson(area.GetCodigoRateioPadrao()); });
}

void RegistrarFormulario(OperationRegistry& operations) {
  AdicionarArgs<ContaArgs>(operations, "SetParametrosConta", FieldTable<ContaArgs>(kContaArgs),
                           [](CallContext& context, ContaArgs& args) {
                             IFin_RateioContas& area = Area(context);
                             Posicionar(*area.GetCdsContasRateio(), args.Linha, "Linha");
                             area.SetParametrosConta(args.ContaGerencial, args.Percentual, args.ValorRateio,
                                                     args.CodFilial, args.CodRateioConta, args.AlterandoLancto,
                                                     args.ValorDesc, args.ValorJuros, args.ValorDevol);
                             return Json(true);
                           });
  SemArgs(operations, "ValidaCamposInterfaceRateioConta", [](IFin_RateioContas& area) {
    const MensagensDaArea mensagens(area);
    const int codigo = area.ValidaCamposInterfaceRateioConta();
    return Json{{"codigo", codigo}, {"mensagens", mensagens.Novas()}};
  });
  SemArgs(operations, "InserirContasCdsRateioContas", [](IFin_RateioContas& area) {
    const MensagensDaArea mensagens(area);
    area.InserirContasCdsRateioContas();
    return Situacao(area, mensagens);
  });
  AdicionarArgs<CentroCustoArgs>(operations, "SetParametrosCentroCusto", FieldTable<CentroCustoArgs>(kCentroCustoArgs),
                                 [](CallContext& context, CentroCustoArgs& args) {
                                   IFin_RateioContas& area = Area(context);
                                   if (args.Linha > 0) {
                                     TClientDataSet& centros = *area.GetCdsCentroCustoConta();
                                     centros.SetFiltered(false);
                                     centros.SetFilter("CODCONTA = " + ShortestDecimal(args.ContaGerencial));
                                     centros.SetFiltered(true);
                                     Posicionar(centros, args.Linha, "Linha");
                                   }
                                   area.SetParametrosCentroCusto(args.Percentual, args.ValorRateio, args.CodFilial,
                                                                 args.CodRateioPadrao, args.CodCentroCusto,
                                                                 args.DescCentroCusto, args.AlterandoLancto,
                                                                 args.ContaGerencial, args.ValorLanctoConta);
                                   return Json(true);
                                 });
  SemArgs(operations, "ValidaCamposInterfaceCentroCusto", [](IFin_RateioContas& area) {
    const MensagensDaArea mensagens(area);
    const int codigo = area.ValidaCamposInterfaceCentroCusto();
    return Json{{"codigo", codigo}, {"mensagens", mensagens.Novas()}};
  });
  SemArgs(operations, "InserirCentroCustoCdsRateioCentroCusto", [](IFin_RateioContas& area) {
    const MensagensDaArea mensagens(area);
    area.InserirCentroCustoCdsRateioCentroCusto();
    return Situacao(area, mensagens);
  });
  SemArgs(operations, "CancelaRateioContas", [](IFin_RateioContas& area) {
    const MensagensDaArea mensagens(area);
    (void)area.CancelaRateioContas();
    return Situacao(area, mensagens);
  });
  SemArgs(operations, "CancelarUltimoRateioEfetuado", [](IFin_RateioContas& area) {
    const MensagensDaArea mensagens(area);
    area.CancelarUltimoRateioEfetuado();
    return Situacao(area, mensagens);
  });
}

}  // namespace

void RegisterRateioContasOps(OperationRegistry& operations) {
  AdicionarArgs<ProcessoArgs>(
      operations, "ProcessoRateioConta", FieldTable<ProcessoArgs>(kProcessoArgs),
      [](CallContext& context, ProcessoArgs& args) {
        IFin_RateioContas& area = Area(context);
        const MensagensDaArea mensagens(area);
        const double funcionario =
            args.CodigoFuncionario != 0 ? args.CodigoFuncionario : context.Host.Usuario().Matricula();
        (void)area.ProcessoRateioConta(args.PermissaoEditarLancamento, Tipo(args.TipoLancto), args.CodFilial,
                                       args.CodRateioConta, args.ValorLancto, args.DataLancto, funcionario, false,
                                       args.ValorDesconto, args.ValorJuros, args.ValorDevol);
        return Situacao(area, mensagens);
      });
  RegistrarGetters(operations);
  RegistrarFormulario(operations);
  SemArgs(operations, "ValidarDadosInformadosParaInclusao", [](IFin_RateioContas& area) {
    const MensagensDaArea mensagens(area);
    const bool status = area.ValidarDadosInformadosParaInclusao();
    return Json{{"status", status}, {"mensagens", mensagens.Novas()}};
  });
  operations.AddRecord<RFin_IncluirContasPagar>("RateioContas.InserirRateioConta", CamposIncluirContasPagar(),
                                                [](CallContext& context, RFin_IncluirContasPagar& registro) {
                                                  if (Trim(registro.LABELROTINA).empty())
                                                    registro.LABELROTINA = context.Host.Config().Label;
                                                  IFin_RateioContas& area = Area(context);
                                                  const MensagensDaArea mensagens(area);
                                                  area.InserirRateioConta(registro);
                                                  Json recnums = Json::array();
                                                  for (const double recnum : registro.RecNums())
                                                    recnums.push_back(NumberJson(recnum));
                                                  return Json{{"RecNums", recnums}, {"mensagens", mensagens.Novas()}};
                                                });
}

}  // namespace cli
