#include <cmath>
#include <cstdint>

#include "OperationRegistry.h"
#include "ops/MensagensDaArea.h"
#include "ops/Ops.h"
#include "oradb/TClientDataSet.h"
#include "sdk/TBase.h"

namespace cli {

namespace {

// Record numbers and account codes travel as JSON numbers: whole, and no wider than a double holds
// exactly (RECNUM and CODCONTA go to 9,999,999,999).
void ConferirInteiro(double valor, const char* campo) {
  constexpr double kInteirosExatos = 9007199254740992.0;  // 2^53: 2^53 + 1 reads as 2^53
  if (std::floor(valor) != valor || std::fabs(valor) >= kInteirosExatos) {
    throw UsageError(std::string("args.") + campo + ": esperado número inteiro, recebido número.");
  }
}
std::int64_t Inteiro(double valor) {
  return static_cast<std::int64_t>(valor);
}

// An entry apportioned without a form (the first two overloads of ProcessoCentroCusto).
struct ProcessoArgs {
  bool EditaLancto = false;
  int TipoLancto = 0;
  std::string CodFilial;
  std::string CodConta;
  double NumTransacao = 0;
  double ValorLancto = 0;
  TDateTime DataLancto;
  std::string ContraPartida_Natureza = "N";
  double RecNumPrinc_CodPlanoConta = 0;
  bool PermitirGerarLancamentoAcimaOrcado = false;
  TDateTime DataCompetencia;
  TDateTime DataVencimento;
  bool LancarZTLancBloq = false;
  std::string CodContaAReplicar;
  void Conferir() const {
    ConferirInteiro(NumTransacao, "NumTransacao");
    ConferirInteiro(RecNumPrinc_CodPlanoConta, "RecNumPrinc_CodPlanoConta");
  }
};
const FieldDef<ProcessoArgs> kProcessoArgs[] = {
    fields::Flag("EditaLancto", &ProcessoArgs::EditaLancto),
    fields::Integer("TipoLancto", &ProcessoArgs::TipoLancto, true),
    fields::Text("CodFilial", &ProcessoArgs::CodFilial, 2),
    fields::Text("CodConta", &ProcessoArgs::CodConta, 12),
    fields::Number("NumTransacao", &ProcessoArgs::NumTransacao),
    fields::Number("ValorLancto", &ProcessoArgs::ValorLancto),
    fields::DateTime("DataLancto", &ProcessoArgs::DataLancto),
    fields::Text("ContraPartida_Natureza", &ProcessoArgs::ContraPartida_Natureza, 1),
    fields::Number("RecNumPrinc_CodPlanoConta", &ProcessoArgs::RecNumPrinc_CodPlanoConta),
    fields::Flag("PermitirGerarLancamentoAcimaOrcado", &ProcessoArgs::PermitirGerarLancamentoAcimaOrcado),
    fields::Date("DataCompetencia", &ProcessoArgs::DataCompetencia),
    fields::Date("DataVencimento", &ProcessoArgs::DataVencimento),
    fields::Flag("LancarZTLancBloq", &ProcessoArgs::LancarZTLancBloq),
};
// Overload 2 also takes the account to replicate and the rows to copy ("RateiosAReplicar").
const FieldDef<ProcessoArgs> kProcessoReplicarArgs[] = {
    kProcessoArgs[0],  kProcessoArgs[1],
    kProcessoArgs[2],  kProcessoArgs[3],
    kProcessoArgs[4],  kProcessoArgs[5],
    kProcessoArgs[6],  kProcessoArgs[7],
    kProcessoArgs[8],  kProcessoArgs[9],
    kProcessoArgs[10], kProcessoArgs[11],
    kProcessoArgs[12], fields::Text("CodContaAReplicar", &ProcessoArgs::CodContaAReplicar, 12),
};

// Every payable entry of an inbound invoice (NumTransEnt, NumNota) or of a sale (NumTransVenda).
struct LancamentosArgs {
  bool EditaLancto = false;
  int TipoLancto = 0;
  double NumTransEnt = 0;
  double NumNota = 0;
  double NumTransVenda = 0;
  bool PermitirGerarLancamentoAcimaOrcado = false;
  TDateTime DataCompetencia;
  TDateTime DataVencimento;
  void Conferir() const {
    ConferirInteiro(NumTransEnt, "NumTransEnt");
    ConferirInteiro(NumNota, "NumNota");
    ConferirInteiro(NumTransVenda, "NumTransVenda");
  }
};
const FieldDef<LancamentosArgs> kEntradaArgs[] = {
    fields::Flag("EditaLancto", &LancamentosArgs::EditaLancto),
    fields::Integer("TipoLancto", &LancamentosArgs::TipoLancto),
    fields::Number("NumTransEnt", &LancamentosArgs::NumTransEnt, true),
    fields::Number("NumNota", &LancamentosArgs::NumNota),
    fields::Flag("PermitirGerarLancamentoAcimaOrcado", &LancamentosArgs::PermitirGerarLancamentoAcimaOrcado),
    fields::Date("DataCompetencia", &LancamentosArgs::DataCompetencia),
    fields::Date("DataVencimento", &LancamentosArgs::DataVencimento),
};
const FieldDef<LancamentosArgs> kSaidaArgs[] = {
    fields::Flag("EditaLancto", &LancamentosArgs::EditaLancto),
    fields::Integer("TipoLancto", &LancamentosArgs::TipoLancto),
    fields::Number("NumTransVenda", &LancamentosArgs::NumTransVenda, true),
    fields::Flag("PermitirGerarLancamentoAcimaOrcado", &LancamentosArgs::PermitirGerarLancamentoAcimaOrcado),
    fields::Date("DataCompetencia", &LancamentosArgs::DataCompetencia),
    fields::Date("DataVencimento", &LancamentosArgs::DataVencimento),
};

struct ContaArgs {
  std::string CodFilial;
  std::string CodConta;
  int TipoLancamento = 0;
  void Conferir() const {}
};
const FieldDef<ContaArgs> kContaTrabalhaArgs[] = {
    fields::Text("CodFilial", &ContaArgs::CodFilial, 2, true),
    fields::Text("CodConta", &ContaArgs::CodConta, 12, true),
    fields::Integer("TipoLancamento", &ContaArgs::TipoLancamento),
};
const FieldDef<ContaArgs> kContaRateioPadraoArgs[] = {fields::Text("CodConta", &ContaArgs::CodConta, 12, true)};

struct DeleteArgs {
  int TipoLancamento = 0;
  double NumTransacao = 0;
  void Conferir() const { ConferirInteiro(NumTransacao, "NumTransacao"); }
};
const FieldDef<DeleteArgs> kDeleteArgs[] = {
    fields::Integer("TipoLancamento", &DeleteArgs::TipoLancamento, true),
    fields::Number("NumTransacao", &DeleteArgs::NumTransacao, true),
};

struct EstornoArgs {
  double recNumEstornado = 0;
  double recNumPernaNegativa = 0;
  double recnumPernaPositiva = -1;  // -1: no positive leg
  void Conferir() const {
    ConferirInteiro(recNumEstornado, "recNumEstornado");
    ConferirInteiro(recNumPernaNegativa, "recNumPernaNegativa");
    ConferirInteiro(recnumPernaPositiva, "recnumPernaPositiva");
  }
};
const FieldDef<EstornoArgs> kEstornoArgs[] = {
    fields::Number("recNumEstornado", &EstornoArgs::recNumEstornado, true),
    fields::Number("recNumPernaNegativa", &EstornoArgs::recNumPernaNegativa, true),
    fields::Number("recnumPernaPositiva", &EstornoArgs::recnumPernaPositiva),
};

struct ReplicarArgs {
  double recNumAReplicar = 0;
  double recNumNovoRateio = 0;
  void Conferir() const {
    ConferirInteiro(recNumAReplicar, "recNumAReplicar");
    ConferirInteiro(recNumNovoRateio, "recNumNovoRateio");
  }
};
const FieldDef<ReplicarArgs> kReplicarArgs[] = {
    fields::Number("recNumAReplicar", &ReplicarArgs::recNumAReplicar, true),
    fields::Number("recNumNovoRateio", &ReplicarArgs::recNumNovoRateio, true),
};

struct AlterarContaArgs {
  double RecNum = 0;
  double CodConta = 0;
  std::string CodFilial;
  void Conferir() const {
    ConferirInteiro(RecNum, "RecNum");
    ConferirInteiro(CodConta, "CodConta");
  }
};
const FieldDef<AlterarContaArgs> kAlterarContaArgs[] = {
    fields::Number("RecNum", &AlterarContaArgs::RecNum, true),
    fields::Number("CodConta", &AlterarContaArgs::CodConta, true),
    fields::Text("CodFilial", &AlterarContaArgs::CodFilial, 2, true),
};

// An operation with plain arguments whose whole numbers are checked with the rest of the request,
// before the host connects.
template <class A, class Body>
void AdicionarArgs(OperationRegistry& operations, const std::string& nome, FieldTable<A> tabela, Body corpo) {
  const auto ler = [tabela](const Json& request, A& args) {
    ReadRecord(request.contains("args") ? request["args"] : Json(), args, tabela, "args");
    args.Conferir();
  };
  operations.Add({nome, "args", DescribeTable(tabela),
                  [ler](const Json& request) {
                    A args{};
                    ler(request, args);
                  },
                  [ler, corpo](CallContext& context, const Json& request, Json& answer) {
                    A args{};
                    ler(request, args);
                    answer["result"] = corpo(context, args);
                  }});
}

IFin_CentroCusto& Area(CallContext& context) {
  return RequireArea(context.Financeiro.GetCentroCusto(), "CentroCusto");
}

TTipoLancamento Tipo(int ordinal) {
  if (ordinal < 0 || ordinal > 4) throw UsageError("TipoLancto/TipoLancamento: use 0 (financeiro) a 4 (orçamento).");
  return static_cast<TTipoLancamento>(ordinal);
}

Json Resultado(bool status, const MensagensDaArea& mensagens) {
  return Json{{"status", status}, {"mensagens", mensagens.Novas()}};
}

// The rows to copy for overload 2: [{"CODIGOCENTROCUSTO": "1.01", "DESCCENTROCUSTO": "...",
// "PERCRATEIO": 50}, ...].
void LerRateiosAReplicar(const Json& linhas, TClientDataSet& rateios) {
  rateios.AddFieldDef("CODIGOCENTROCUSTO", TFieldType::ftString, 40);  // the widths checked below
  rateios.AddFieldDef("DESCCENTROCUSTO", TFieldType::ftString, 80);
  rateios.AddFieldDef("PERCRATEIO", TFieldType::ftFloat);
  rateios.CreateDataSet();
  if (linhas.is_null()) return;
  if (!linhas.is_array()) throw UsageError("args.RateiosAReplicar: esperada lista de objetos.");
  for (const Json& linha : linhas) {
    if (!linha.is_object()) throw UsageError("args.RateiosAReplicar: cada item deve ser um objeto.");
    rateios.Append();
    for (const auto& [nome, valor] : linha.items()) {
      if (nome == "PERCRATEIO") {
        if (!valor.is_number() || !std::isfinite(valor.get<double>())) {
          throw UsageError("args.RateiosAReplicar.PERCRATEIO: esperado número.");
        }
        rateios.FieldByName(nome).SetAsFloat(valor.get<double>());
      } else if (nome == "CODIGOCENTROCUSTO" || nome == "DESCCENTROCUSTO") {
        const std::string campo = "args.RateiosAReplicar." + nome;
        if (!valor.is_string()) throw UsageError(campo + ": esperado texto.");
        const auto& texto = valor.get_ref<const std::string&>();
        // As every text of a record: no NUL (the database stores none) and no more than the
        // dataset's width, refused here rather than cut or failing in the module.
        if (texto.find('\0') != std::string::npos) throw UsageError(campo + ": texto com caractere nulo (\\u0000).");
        const std::size_t largura = nome == "CODIGOCENTROCUSTO" ? 40 : 80;
        if (CharCount(texto) > largura) {
          throw UsageError(campo + ": no máximo " + std::to_string(largura) + " caracteres.");
        }
        rateios.FieldByName(nome).SetAsString(texto);
      } else {
        throw UsageError("args.RateiosAReplicar: campo desconhecido \"" + nome + "\".");
      }
    }
    rateios.Post();
  }
}

// Overload 2's request: the arguments of overload 1, the account to replicate and its rows.
void LerProcessoReplicar(const Json& request, FieldTable<ProcessoArgs> table, ProcessoArgs& args,
                         TClientDataSet& rateios) {
  Json entrada = request.contains("args") ? request["args"] : Json::object();
  if (!entrada.is_object()) throw UsageError("args: esperado objeto JSON, recebido " + JsonTypeName(entrada) + ".");
  const Json linhas = entrada.contains("RateiosAReplicar") ? entrada["RateiosAReplicar"] : Json();
  entrada.erase("RateiosAReplicar");
  ReadRecord(entrada, args, table, "args");
  args.Conferir();
  LerRateiosAReplicar(linhas, rateios);
}

void RegisterProcessoReplicar(OperationRegistry& operations) {
  const FieldTable<ProcessoArgs> table(kProcessoReplicarArgs);
  Json campos = DescribeTable(table);
  campos.push_back({{"name", "RateiosAReplicar"}, {"type", "list"}});
  operations.Add({"CentroCusto.ProcessoCentroCustoAReplicar", "args", campos,
                  [table](const Json& request) {
                    ProcessoArgs args;
                    TClientDataSet rateios;
                    LerProcessoReplicar(request, table, args, rateios);
                  },
                  [table](CallContext& context, const Json& request, Json& answer) {
                    ProcessoArgs args;
                    TClientDataSet rateios;
                    LerProcessoReplicar(request, table, args, rateios);
                    IFin_CentroCusto& area = Area(context);
                    const MensagensDaArea mensagens(area);
                    const bool status = area.ProcessoCentroCusto(
                        args.EditaLancto, Tipo(args.TipoLancto), args.CodFilial, args.CodConta, args.CodContaAReplicar,
                        &rateios, args.NumTransacao, args.ValorLancto, args.DataLancto, false,
                        args.ContraPartida_Natureza, Inteiro(args.RecNumPrinc_CodPlanoConta),
                        args.PermitirGerarLancamentoAcimaOrcado, args.DataCompetencia, args.DataVencimento,
                        args.LancarZTLancBloq);
                    answer["result"] = Resultado(status, mensagens);
                  }});
}

}  // namespace

void RegisterCentroCustoOps(OperationRegistry& operations) {
  AdicionarArgs<ProcessoArgs>(
      operations, "CentroCusto.ProcessoCentroCusto", FieldTable<ProcessoArgs>(kProcessoArgs),
      [](CallContext& context, ProcessoArgs& args) {
        IFin_CentroCusto& area = Area(context);
        const MensagensDaArea mensagens(area);
        const bool status = area.ProcessoCentroCusto(
            args.EditaLancto, Tipo(args.TipoLancto), args.CodFilial, args.CodConta, args.NumTransacao, args.ValorLancto,
            args.DataLancto, false, args.ContraPartida_Natureza, Inteiro(args.RecNumPrinc_CodPlanoConta),
            args.PermitirGerarLancamentoAcimaOrcado, args.DataCompetencia, args.DataVencimento, args.LancarZTLancBloq);
        return Resultado(status, mensagens);
      });
  RegisterProcessoReplicar(operations);
  AdicionarArgs<DeleteArgs>(
      operations, "CentroCusto.DeleteTodosRegistrosLancto", FieldTable<DeleteArgs>(kDeleteArgs),
      [](CallContext& context, DeleteArgs& args) {
        if (args.TipoLancamento == tlOrcamento) {
          throw UsageError("linhas de orçamento são apagadas por CentroCusto.ProcessoCentroCusto.");
        }
        IFin_CentroCusto& area = Area(context);
        area.SetTipoLancamento(Tipo(args.TipoLancamento));
        area.DeleteTodosRegistrosLancto(args.NumTransacao);
        return Json(true);
      });
  AdicionarArgs<ContaArgs>(
      operations, "CentroCusto.ContaTrabalhaCentroCusto", FieldTable<ContaArgs>(kContaTrabalhaArgs),
      [](CallContext& context, ContaArgs& args) {
        return Json(Area(context).ContaTrabalhaCentroCusto(args.CodFilial, args.CodConta, Tipo(args.TipoLancamento)));
      });
  // The area answers for the account of the entry it holds: the one asked about becomes it.
  AdicionarArgs<ContaArgs>(operations, "CentroCusto.ContaTemRateioPadrao",
                           FieldTable<ContaArgs>(kContaRateioPadraoArgs), [](CallContext& context, ContaArgs& args) {
                             IFin_CentroCusto& area = Area(context);
                             area.SetCodConta(args.CodConta);
                             area.SetCodContaAReplicar("");
                             return Json(area.ContaTemRateioPadrao(args.CodConta));
                           });
  // Reversal and replication commit the whole session themselves (--rollback cannot undo them).
  AdicionarArgs<EstornoArgs>(operations, "CentroCusto.estornarRateio", FieldTable<EstornoArgs>(kEstornoArgs),
                             [](CallContext& context, EstornoArgs& args) {
                               Area(context).estornarRateio(Inteiro(args.recNumEstornado),
                                                            Inteiro(args.recNumPernaNegativa),
                                                            Inteiro(args.recnumPernaPositiva));
                               return Json(true);
                             });
  AdicionarArgs<ReplicarArgs>(operations, "CentroCusto.ReplicarRateio", FieldTable<ReplicarArgs>(kReplicarArgs),
                              [](CallContext& context, ReplicarArgs& args) {
                                Area(context).ReplicarRateio(Inteiro(args.recNumAReplicar),
                                                             Inteiro(args.recNumNovoRateio));
                                return Json(true);
                              });
  AdicionarArgs<AlterarContaArgs>(
      operations, "CentroCusto.AlterarContaCentroCusto", FieldTable<AlterarContaArgs>(kAlterarContaArgs),
      [](CallContext& context, AlterarContaArgs& args) {
        Area(context).AlterarContaCentroCusto(Inteiro(args.RecNum), Inteiro(args.CodConta), args.CodFilial);
        return Json(true);
      });
  AdicionarArgs<LancamentosArgs>(
      operations, "CentroCusto.ProcessoCentroCustoEntrada", FieldTable<LancamentosArgs>(kEntradaArgs),
      [](CallContext& context, LancamentosArgs& args) {
        IFin_CentroCusto& area = Area(context);
        const MensagensDaArea mensagens(area);
        const bool status = area.ProcessoCentroCusto(args.EditaLancto, Tipo(args.TipoLancto), args.NumTransEnt,
                                                     args.NumNota, args.PermitirGerarLancamentoAcimaOrcado,
                                                     args.DataCompetencia, args.DataVencimento);
        return Resultado(status, mensagens);
      });
  AdicionarArgs<LancamentosArgs>(
      operations, "CentroCusto.ProcessoCentroCustoSaida", FieldTable<LancamentosArgs>(kSaidaArgs),
      [](CallContext& context, LancamentosArgs& args) {
        IFin_CentroCusto& area = Area(context);
        const MensagensDaArea mensagens(area);
        const bool status = area.ProcessoCentroCusto(args.EditaLancto, Tipo(args.TipoLancto), args.NumTransVenda,
                                                     args.PermitirGerarLancamentoAcimaOrcado, args.DataCompetencia,
                                                     args.DataVencimento);
        return Resultado(status, mensagens);
      });
}

}  // namespace cli
