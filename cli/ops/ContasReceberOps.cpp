#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "OperationRegistry.h"
#include "Runtime.h"
#include "ops/Ops.h"
#include "oradb/TClientDataSet.h"
#include "sdk/fin/IFin_ContasReceber.h"
#include "sdk/fin/TCancDesdQry.h"
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

IFin_ContasReceber& ContasReceber(CallContext& context) {
  return RequireArea(context.Financeiro.GetContasReceber(), "ContasReceber");
}

// The rows of an open dataset as JSON objects, by field name: texts, numbers, dates; NULL as null.
Json Linhas(TDataSet& dados) {
  Json linhas = Json::array();
  for (dados.First(); !dados.Eof(); dados.Next()) {
    Json linha = Json::object();
    for (std::size_t i = 0; i < dados.FieldCount(); ++i) {
      const TField campo = dados.Fields(i);
      if (campo.IsNull()) {
        linha[campo.FieldName()] = nullptr;
        continue;
      }
      switch (campo.DataType()) {
        case TFieldType::ftInteger:
        case TFieldType::ftFloat:
          linha[campo.FieldName()] = NumberJson(campo.AsFloat());
          break;
        case TFieldType::ftDate:
        case TFieldType::ftDateTime:
          linha[campo.FieldName()] = WriteDate(campo.AsDateTime(), campo.DataType() == TFieldType::ftDateTime);
          break;
        default:
          linha[campo.FieldName()] = campo.AsString();
      }
    }
    linhas.push_back(std::move(linha));
  }
  return linhas;
}

bool Explicar(const CallContext& context) {
  return context.Flags != nullptr && context.Flags->Explain;
}

Json Listagem(CallContext& context, TCancDesdQry& query) {
  Json resultado = {{"linhas", Linhas(query)}};
  if (Explicar(context)) resultado["sql"] = query.SQL.Text();
  return resultado;
}

// A table over a record extended by the call: the record's own fields, then the call's.
template <class A, class R>
std::vector<FieldDef<A>> Estender(FieldTable<R> base, const std::vector<FieldDef<A>>& extras) {
  std::vector<FieldDef<A>> campos;
  for (const FieldDef<R>& campo : base) {
    std::visit(
        [&](auto membro) {
          using M = std::remove_reference_t<decltype(std::declval<R&>().*membro)>;
          M A::*derivado = membro;
          campos.push_back(FieldDef<A>{campo.Name, campo.Kind, derivado, campo.MaxChars, campo.Required});
        },
        campo.Pointer);
  }
  campos.insert(campos.end(), extras.begin(), extras.end());
  return campos;
}

// Status (0 traced, 1 untraced, 2 both), kind (0 'S', 1 'R', 2 'C') and keeping (0 the temporary
// table, 1 memory only) of a tracking call.
struct OpcoesRastreio {
  int Status = 2;
  int Tipo = 2;
  int Persistencia = 0;
};

template <class A>
void ConferirOpcoes(const A& args) {
  if (args.Status < 0 || args.Status > 2) throw UsageError("args.Status: use 0 (rastreados), 1 (não rastreados) ou 2.");
  if (args.Tipo < 0 || args.Tipo > 2) throw UsageError("args.Tipo: use 0 (S), 1 (R) ou 2 (C).");
  if (args.Persistencia < 0 || args.Persistencia > 1) {
    throw UsageError("args.Persistencia: use 0 (tabela temporária) ou 1 (memória).");
  }
}

struct PagamentosArgs : RFin_FiltrosOpcoesContasReceber, OpcoesRastreio {};

struct TituloArgs {
  int NUMTRANSVENDA = 0;
  std::string PREST;
};
struct PagamentosTituloArgs : TituloArgs, OpcoesRastreio {};

struct PeriodoArgs {
  std::string Filiais;
  TDateTime DataInicial;
  TDateTime DataFinal;
};
struct PagamentosPeriodoArgs : PeriodoArgs, OpcoesRastreio {};

struct TipoArgs {
  int Tipo = 2;
};
struct SemArgs {};

const FieldDef<TituloArgs> kTituloArgs[] = {
    fields::Integer("NUMTRANSVENDA", &TituloArgs::NUMTRANSVENDA, true),
    fields::Text("PREST", &TituloArgs::PREST, 2, true),
};
const FieldDef<PeriodoArgs> kPeriodoArgs[] = {
    fields::Text("Filiais", &PeriodoArgs::Filiais, 0, true),
    fields::Date("DataInicial", &PeriodoArgs::DataInicial, true),
    fields::Date("DataFinal", &PeriodoArgs::DataFinal, true),
};
const FieldDef<TipoArgs> kTipoArgs[] = {fields::Integer("Tipo", &TipoArgs::Tipo)};

template <class A>
std::vector<FieldDef<A>> CamposOpcoes() {
  return {
      FieldDef<A>{"Status", FieldKind::Integer, static_cast<int A::*>(&OpcoesRastreio::Status)},
      FieldDef<A>{"Tipo", FieldKind::Integer, static_cast<int A::*>(&OpcoesRastreio::Tipo)},
      FieldDef<A>{"Persistencia", FieldKind::Integer, static_cast<int A::*>(&OpcoesRastreio::Persistencia)},
  };
}

template <class A, class R>
FieldTable<A> TabelaPagamentos(FieldTable<R> base) {
  static const std::vector<FieldDef<A>> campos = Estender<A, R>(base, CamposOpcoes<A>());
  return campos;
}

template <class A>
Json Rastreio(CallContext& context, const A& args, const std::function<void(TCancDesdQry&)>& listar,
              const std::function<void(TClientDataSet&, TStatusRastreamentoTitulos, TTipoRegistrosRastreamento,
                                       TPersistenciaDados)>& rastrear) {
  ConferirOpcoes(args);
  TClientDataSet resultado;
  rastrear(resultado, static_cast<TStatusRastreamentoTitulos>(args.Status),
           static_cast<TTipoRegistrosRastreamento>(args.Tipo), static_cast<TPersistenciaDados>(args.Persistencia));
  Json resposta = {{"linhas", Linhas(resultado)}};
  if (Explicar(context)) {
    TCancDesdQry titulos(&context.Host.Sessao());
    listar(titulos);
    resposta["sql"] = titulos.SQL.Text();
  }
  return resposta;
}

}  // namespace

void RegisterContasReceberOps(OperationRegistry& operations) {
  operations.AddArgs<RFin_FiltrosOpcoesContasReceber>(
      "ContasReceber.CarregarTitulos", CamposFiltrosOpcoesContasReceber(),
      [](CallContext& context, RFin_FiltrosOpcoesContasReceber& filtros) {
        TCancDesdQry query(&context.Host.Sessao());
        ContasReceber(context).CarregarTitulos(query, filtros);
        return Listagem(context, query);
      });
  operations.AddArgs<TituloArgs>("ContasReceber.CarregarTitulo", FieldTable<TituloArgs>(kTituloArgs),
                                 [](CallContext& context, TituloArgs& args) {
                                   TCancDesdQry query(&context.Host.Sessao());
                                   ContasReceber(context).CarregarTitulos(query, args.NUMTRANSVENDA, args.PREST);
                                   return Listagem(context, query);
                                 });
  operations.AddArgs<PeriodoArgs>(
      "ContasReceber.CarregarTitulosPagosNoPeriodo", FieldTable<PeriodoArgs>(kPeriodoArgs),
      [](CallContext& context, PeriodoArgs& args) {
        TCancDesdQry query(&context.Host.Sessao());
        ContasReceber(context).CarregarTitulos(query, args.Filiais, RFin_PeriodoData{args.DataInicial, args.DataFinal});
        return Listagem(context, query);
      });
  operations.AddArgs<PagamentosArgs>(
      "ContasReceber.CarregarPagamentos",
      TabelaPagamentos<PagamentosArgs, RFin_FiltrosOpcoesContasReceber>(CamposFiltrosOpcoesContasReceber()),
      [](CallContext& context, PagamentosArgs& args) {
        IFin_ContasReceber& area = ContasReceber(context);
        const RFin_FiltrosOpcoesContasReceber& filtros = args;
        return Rastreio(
            context, args, [&](TCancDesdQry& q) { area.CarregarTitulos(q, filtros); },
            [&](TClientDataSet& r, auto s, auto t, auto p) {
              area.CarregarPagamentos(context.Host.Sessao(), filtros, s, t, p, r);
            });
      });
  operations.AddArgs<PagamentosTituloArgs>(
      "ContasReceber.CarregarPagamentosTitulo",
      TabelaPagamentos<PagamentosTituloArgs, TituloArgs>(FieldTable<TituloArgs>(kTituloArgs)),
      [](CallContext& context, PagamentosTituloArgs& args) {
        IFin_ContasReceber& area = ContasReceber(context);
        return Rastreio(
            context, args, [&](TCancDesdQry& q) { area.CarregarTitulos(q, args.NUMTRANSVENDA, args.PREST); },
            [&](TClientDataSet& r, auto s, auto t, auto p) {
              area.CarregarPagamentos(context.Host.Sessao(), args.NUMTRANSVENDA, args.PREST, s, t, p, r);
            });
      });
  operations.AddArgs<PagamentosPeriodoArgs>(
      "ContasReceber.CarregarPagamentosPagosNoPeriodo",
      TabelaPagamentos<PagamentosPeriodoArgs, PeriodoArgs>(FieldTable<PeriodoArgs>(kPeriodoArgs)),
      [](CallContext& context, PagamentosPeriodoArgs& args) {
        IFin_ContasReceber& area = ContasReceber(context);
        const RFin_PeriodoData periodo{args.DataInicial, args.DataFinal};
        return Rastreio(
            context, args, [&](TCancDesdQry& q) { area.CarregarTitulos(q, args.Filiais, periodo); },
            [&](TClientDataSet& r, auto s, auto t, auto p) {
              area.CarregarPagamentos(context.Host.Sessao(), args.Filiais, periodo, s, t, p, r);
            });
      });
  operations.AddArgs<TipoArgs>("ContasReceber.ApagarDadosRastreamentoDePagamento", FieldTable<TipoArgs>(kTipoArgs),
                               [](CallContext& context, TipoArgs& args) {
                                 if (args.Tipo < 0 || args.Tipo > 2) {
                                   throw UsageError("args.Tipo: use 0 (S), 1 (R) ou 2 (C).");
                                 }
                                 ContasReceber(context).ApagarDadosRastreamentoDePagamento(
                                     context.Host.Sessao(), static_cast<TTipoRegistrosRastreamento>(args.Tipo));
                                 return Json(true);
                               });
  operations.AddArgs<SemArgs>(
      "ContasReceber.ConfigurarDataSetPagamentos", FieldTable<SemArgs>{}, [](CallContext& context, SemArgs&) {
        TClientDataSet dados;
        ContasReceber(context).ConfigurarDataSetPagamentos(dados);
        Json campos = Json::array();
        for (const TFieldDef& def : dados.FieldDefs()) {
          campos.push_back({{"name", def.Name}, {"size", def.Size}, {"required", def.Required}});
        }
        return campos;
      });
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
