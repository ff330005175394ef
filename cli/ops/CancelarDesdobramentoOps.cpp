#include <memory>
#include <string>
#include <vector>

#include "OperationRegistry.h"
#include "ops/Ops.h"
#include "sdk/fin/IFin_CancelarDesdobramento.h"
#include "sdk/fin/TListaAcoes.h"

namespace cli {

namespace {

// A record of the run, as the request names it: a title (NUMTRANSVENDA and PREST) in mode 1, an
// entry (RECNUM) in mode 2; with the due date chosen for it, in a due-date decision.
struct RegistroArgs {
  double NUMTRANSVENDA = 0;
  std::string PREST;
  double RECNUM = 0;
  TDateTime DTVENC;
};
const FieldDef<RegistroArgs> kRegistroArgs[] = {
    fields::Whole("NUMTRANSVENDA", &RegistroArgs::NUMTRANSVENDA),
    fields::Text("PREST", &RegistroArgs::PREST, 2),
    fields::Whole("RECNUM", &RegistroArgs::RECNUM),
    fields::Date("DTVENC", &RegistroArgs::DTVENC),
};

struct ModoArgs {
  int Modo = 0;
};
const FieldDef<ModoArgs> kModoArgs[] = {fields::Integer("Modo", &ModoArgs::Modo, true)};

// What one request of the area carries: the mode, the selected records and the user's decisions.
struct Pedido {
  TModo Modo = tmNenhum;
  bool TemRegistros = false;
  TArrayOfRegistro Registros;
  TArrayOfRegistro Vencimentos;
  std::vector<TDateTime> NovasDatas;  // one per due-date decision; day zero keeps the title's own
  TArrayOfRegistro DesdobramentosAMaior;
};

TRegistroPtr LerRegistro(const Json& item, TModo modo, const std::string& onde, RegistroArgs& args) {
  ReadRecord(item, args, FieldTable<RegistroArgs>(kRegistroArgs), onde);
  if (modo == tmZTPrest) {
    if (args.RECNUM != 0 || !(args.NUMTRANSVENDA > 0) || args.PREST.empty()) {
      throw UsageError(onde + ": um título tem NUMTRANSVENDA (maior que zero) e PREST, sem RECNUM.");
    }
    return std::make_shared<TRegistroZtPrest>(static_cast<long long>(args.NUMTRANSVENDA), args.PREST);
  }
  if (args.NUMTRANSVENDA != 0 || !args.PREST.empty() || !(args.RECNUM > 0)) {
    throw UsageError(onde + ": um lançamento tem RECNUM (maior que zero), sem NUMTRANSVENDA nem PREST.");
  }
  return std::make_shared<TRegistroZTLanc>(static_cast<long long>(args.RECNUM));
}

// The records of the list `nome`; `datas` receives each one's DTVENC, when the list may carry it.
TArrayOfRegistro LerLista(const Json& lista, const std::string& nome, TModo modo, std::vector<TDateTime>* datas) {
  const std::string onde = "args." + nome;
  if (!lista.is_array())
    throw UsageError(onde + ": esperada lista de registros, recebido " + JsonTypeName(lista) + ".");
  TArrayOfRegistro registros;
  for (std::size_t indice = 0; indice < lista.size(); ++indice) {
    const std::string item = onde + "[" + std::to_string(indice) + "]";
    RegistroArgs args;
    registros.push_back(LerRegistro(lista[indice], modo, item, args));
    if (datas != nullptr) {
      datas->push_back(args.DTVENC);
    } else if (args.DTVENC.Value() != 0) {
      throw UsageError(item + ": DTVENC só vale numa decisão de vencimento.");
    }
  }
  return registros;
}

Pedido LerPedido(const Json& request, bool confirmar) {
  Json entrada = request.contains("args") ? request["args"] : Json::object();
  if (!entrada.is_object()) throw UsageError("args: esperado objeto JSON, recebido " + JsonTypeName(entrada) + ".");
  Json listas = Json::object();
  for (const std::string nome : {"Registros", "Vencimentos", "DesdobramentosAMaior"}) {
    if (!entrada.contains(nome) || (!confirmar && nome != "Registros")) continue;
    listas[nome] = entrada[nome];
    entrada.erase(nome);
  }
  ModoArgs modo;
  ReadRecord(entrada, modo, FieldTable<ModoArgs>(kModoArgs), "args");
  if (modo.Modo != tmZTPrest && modo.Modo != tmZTLanc) {
    throw UsageError("args.Modo: use 1 (títulos, ZTPREST) ou 2 (lançamentos, ZTLANC).");
  }
  Pedido pedido;
  pedido.Modo = static_cast<TModo>(modo.Modo);
  pedido.TemRegistros = listas.contains("Registros");
  if (pedido.TemRegistros) {
    pedido.Registros = LerLista(listas["Registros"], "Registros", pedido.Modo, nullptr);
    if (pedido.Registros.empty()) throw UsageError("args.Registros: selecione ao menos um registro.");
  } else if (!confirmar) {
    throw UsageError("args: campo obrigatório ausente \"Registros\".");
  }
  if (listas.contains("Vencimentos")) {
    pedido.Vencimentos = LerLista(listas["Vencimentos"], "Vencimentos", pedido.Modo, &pedido.NovasDatas);
  }
  if (listas.contains("DesdobramentosAMaior")) {
    pedido.DesdobramentosAMaior =
        LerLista(listas["DesdobramentosAMaior"], "DesdobramentosAMaior", pedido.Modo, nullptr);
  }
  return pedido;
}

IFin_CancelarDesdobramento& Area(CallContext& context, TModo modo) {
  return RequireArea(context.Financeiro.CancelarDesdobramento(modo), "CancelarDesdobramento");
}

Json RegistroJson(const TRegistro& registro) {
  if (const auto* titulo = dynamic_cast<const TRegistroZtPrest*>(&registro)) {
    return {{"NUMTRANSVENDA", titulo->NUMTRANSVENDA}, {"PREST", titulo->PREST}};
  }
  if (const auto* lancamento = dynamic_cast<const TRegistroZTLanc*>(&registro)) {
    return {{"RECNUM", lancamento->RECNUM}};
  }
  return {{"CODIGO", dynamic_cast<const TRegistroZTCreCli&>(registro).CODIGO}};
}

template <class Acoes>
Json RegistrosJson(const Acoes& acoes) {
  Json lista = Json::array();
  for (const auto& acao : acoes) lista.push_back(RegistroJson(*acao->Registro));
  return lista;
}

Json RecusasJson(const TArrayOfAcaoImpeditiva& acoes) {
  Json lista = Json::array();
  for (const auto& acao : acoes) {
    Json item = RegistroJson(*acao->Registro);
    item["mensagem"] = acao->Mensagem;
    lista.push_back(item);
  }
  return lista;
}

Json ListaJson(const IFin_CancelarDesdobramento& area, const TListaAcoes& lista) {
  Json vencimentos = Json::array();
  for (const auto& acao : lista.Vencimentos) {
    Json item = RegistroJson(*acao->Registro);
    item["DTVENC"] = WriteDate(acao->DTVENC, false);
    item["confirmada"] = acao->Confirmada;
    if (acao->Confirmada) item["novaDataVencimento"] = WriteDate(acao->NovaDataVencimento, false);
    vencimentos.push_back(item);
  }
  Json a_maior = Json::array();
  for (const auto& acao : lista.DesdobramentosAMaior) {
    Json item = RegistroJson(*acao->Registro);
    item["CODCOBORIG"] = acao->CODCOBORIG();
    item["tabela"] = acao->Tabela() == TZTPrestFK::zpfZTLanc ? "ZTLANC" : "ZTCRECLI";
    item["confirmada"] = acao->Confirmada;
    a_maior.push_back(item);
  }
  return {{"passo", static_cast<int>(area.Passo())},
          {"hoje", WriteDate(lista.Hoje, false)},
          {"afetados", RegistrosJson(lista.Afetados)},
          {"raizes", RegistrosJson(lista.Raizes)},
          {"folhas", RegistrosJson(lista.Folhas)},
          {"vencimentos", vencimentos},
          {"desdobramentosAMaior", a_maior},
          {"vendor", RecusasJson(lista.Vendor)},
          {"impeditivas", RecusasJson(lista.Impeditivas)}};
}

// The user's decisions on the list's undefined actions. A decision on a record the list does not
// ask about is refused, so a mistyped key never passes for a decision taken.
void AplicarDecisoes(TListaAcoes& lista, const Pedido& pedido) {
  for (std::size_t i = 0; i < pedido.Vencimentos.size(); ++i) {
    TAcaoVencAnteriorDataAtual* acao = lista.Vencimento(*pedido.Vencimentos[i]);
    if (acao == nullptr) {
      throw Exception("O registro " + pedido.Vencimentos[i]->Descricao() +
                      " não tem data de vencimento a confirmar neste cancelamento!");
    }
    acao->Confirmar(pedido.NovasDatas[i].Value() != 0 ? pedido.NovasDatas[i] : acao->DTVENC);
  }
  for (const TRegistroPtr& registro : pedido.DesdobramentosAMaior) {
    TAcaoDesdobramentoAMaiorZTPrest* acao = lista.DesdobramentoAMaior(*registro);
    if (acao == nullptr) {
      throw Exception("O registro " + registro->Descricao() + " não tem desdobramento a maior neste cancelamento!");
    }
    acao->Confirmada = true;
  }
}

Json Descrever(bool confirmar) {
  Json campos = DescribeTable(FieldTable<ModoArgs>(kModoArgs));
  Json registro = DescribeTable(FieldTable<RegistroArgs>(kRegistroArgs));
  campos.push_back({{"name", "Registros"}, {"type", "list"}, {"items", registro}, {"required", !confirmar}});
  if (confirmar) {
    campos.push_back({{"name", "Vencimentos"}, {"type", "list"}, {"items", registro}});
    campos.push_back({{"name", "DesdobramentosAMaior"}, {"type", "list"}, {"items", registro}});
  }
  return campos;
}

}  // namespace

// The run of each mode is the facade's: a batch lists in one line and confirms in a later one.
void RegisterCancelarDesdobramentoOps(OperationRegistry& operations) {
  operations.Add({"CancelarDesdobramento.ListaAcoes", "args", Descrever(false),
                  [](const Json& request) { (void)LerPedido(request, false); },
                  [](CallContext& context, const Json& request, Json& answer) {
                    const Pedido pedido = LerPedido(request, false);
                    IFin_CancelarDesdobramento& area = Area(context, pedido.Modo);
                    const TListaAcoes& lista = area.ListaAcoes(pedido.Registros);
                    answer["result"] = ListaJson(area, lista);
                  }});
  // With Registros the list is computed first, as ListaAcoes would; without, the run's own list
  // (from an earlier line of the batch) is confirmed.
  operations.Add({"CancelarDesdobramento.Confirmar", "args", Descrever(true),
                  [](const Json& request) { (void)LerPedido(request, true); },
                  [](CallContext& context, const Json& request, Json& answer) {
                    const Pedido pedido = LerPedido(request, true);
                    IFin_CancelarDesdobramento& area = Area(context, pedido.Modo);
                    if (pedido.TemRegistros) (void)area.ListaAcoes(pedido.Registros);
                    if (area.Passo() == TPasso::tpAcoesListadas) AplicarDecisoes(area.ListaAcoes(), pedido);
                    area.Confirmar();
                    Json restaurados = Json::array();
                    for (const TRegistroPtr& r : area.Restaurados()) restaurados.push_back(RegistroJson(*r));
                    answer["result"] = {{"passo", static_cast<int>(area.Passo())}, {"restaurados", restaurados}};
                  }});
}

}  // namespace cli
