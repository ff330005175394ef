#include "Cli.h"

#include <charconv>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>

#include "BoletoExemplo.h"
#include "Call.h"
#include "OperationRegistry.h"
#include "Runtime.h"
#include "demo/Demo.h"
#include "host/TSchema.h"
#include "oradb/EOraError.h"
#include "oradb/TOraQuery.h"
#include "oradb/Translator.h"

namespace cli {

namespace {

constexpr const char* kUsage =
    "uso: quorvin-fin <comando>\n"
    "  db start|stop|status|init|reset|seed      banco de dados (cluster privado sem QUORVIN_DSN) e esquema\n"
    "  call AREA.OPERACAO [opções] < pedido.json  executa uma operação (JSON na entrada, JSON na saída)\n"
    "  call --batch [opções] < pedidos.jsonl      uma requisição por linha {\"op\": ..., \"flags\": ..., ...}\n"
    "  call --list | --describe AREA.OPERACAO     operações registradas e seus campos\n"
    "  param set NOME VALOR [--branch FILIAL]     grava um parâmetro do Quorvin\n"
    "  sql \"<texto Oracle>\" [-p NOME=VALOR]...   executa SQL pela camada de acesso (linhas em JSON)\n"
    "  demo                                       a história de ponta a ponta do módulo\n"
    "  boleto-exemplo ARQUIVO.pdf                 grava um boleto de exemplo em PDF\n"
    "opções de call: --user N --routine N --label TEXTO --confirm ok|cancel --explicit-params\n"
    "                --no-transaction --rollback --lock-timeout SEGUNDOS --explain (listagens: o SQL)\n"
    "                --pick NUMTRANS,...|- --clearing-date AAAA-MM-DD (seleção de DNIs)\n";

int ParseInt(const std::string& text, const std::string& option) {
  int value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size()) {
    throw UsageError(option + " espera um número inteiro, recebido \"" + text + "\".");
  }
  return value;
}

// Splits the arguments into call flags and the rest.
std::vector<std::string> ParseCallFlags(const std::vector<std::string>& args, CallFlags& flags) {
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError(arg + " espera um valor.");
      return args[++i];
    };
    if (arg == "--user") {
      flags.Matricula = ParseInt(value(), arg);
    } else if (arg == "--routine") {
      flags.Rotina = ParseInt(value(), arg);
    } else if (arg == "--lock-timeout") {
      flags.LockTimeout = ParseInt(value(), arg);
      if (*flags.LockTimeout < 0 || *flags.LockTimeout > 86400) {
        throw UsageError("--lock-timeout espera segundos entre 0 (sem limite) e 86400.");
      }
    } else if (arg == "--label") {
      flags.Label = value();
    } else if (arg == "--confirm") {
      const std::string answer = value();
      if (answer != "ok" && answer != "cancel") throw UsageError("--confirm espera ok ou cancel.");
      flags.ConfirmOk = answer == "ok";
    } else if (arg == "--pick") {
      flags.Pick = value();
    } else if (arg == "--clearing-date") {
      flags.ClearingDate = value();
    } else if (arg == "--explicit-params") {
      flags.ExplicitParams = true;
    } else if (arg == "--no-transaction") {
      flags.NoTransaction = true;
    } else if (arg == "--rollback") {
      flags.Rollback = true;
    } else if (arg == "--explain") {
      flags.Explain = true;
    } else {
      rest.push_back(arg);
    }
  }
  return rest;
}

int Answer(std::ostream& out, const CallOutcome& outcome) {
  out << AnswerText(outcome.Answer, 2) << '\n';
  return outcome.Exit;
}

// The host could not be set up (database down or stopped, plug-in missing): never the module's
// refusal, whatever the class of the failure.
CallOutcome StartupFailure(const std::exception& error) {
  CallOutcome outcome = FailureOutcome(error);
  outcome.Exit = kExitUsage;
  return outcome;
}

int CommandBatch(std::istream& in, std::ostream& out, const CallFlags& flags) {
  std::unique_ptr<Runtime> runtime;
  try {
    runtime = std::make_unique<Runtime>(flags);
  } catch (const std::exception& error) {
    // Each request still gets its answer line, so a caller reading answers never waits for one.
    const CallOutcome failure = StartupFailure(error);
    return AnswerEachLine(in, out, [&](const std::string&) { return failure; });
  }
  // A line whose connection was lost (server restarted, backend ended) is answered with that
  // failure; the next line runs on a new connection.
  const auto current = [&]() -> Runtime& {
    if (runtime && !runtime->Host().Sessao().Connected()) runtime.reset();
    if (!runtime) runtime = std::make_unique<Runtime>(flags);
    return *runtime;
  };
  return RunBatch(current, in, out, flags);
}

int CommandSingleCall(const std::string& name, std::istream& in, std::ostream& out, const CallFlags& flags) {
  const std::string input(std::istreambuf_iterator<char>(in), {});
  Json request;
  try {
    request = input.find_first_not_of(" \t\r\n") == std::string::npos ? Json::object() : ParseRequestText(input);
  } catch (const UsageError& error) {
    return Answer(out, UsageFailure(error.what()));
  }
  if (const auto failure = CheckCall(name, request)) return Answer(out, *failure);
  std::unique_ptr<Runtime> runtime;
  try {
    runtime = std::make_unique<Runtime>(flags);
  } catch (const std::exception& error) {
    return Answer(out, StartupFailure(error));
  }
  return Answer(out, RunCall(*runtime, name, request, flags));
}

// Every outcome of `call`, failures included, is a JSON answer on stdout.
int CommandCall(const std::vector<std::string>& args, std::istream& in, std::ostream& out) {
  CallFlags flags;
  std::vector<std::string> rest;
  try {
    rest = ParseCallFlags(args, flags);
  } catch (const UsageError& error) {
    return Answer(out, UsageFailure(error.what()));
  }
  if (rest.size() == 1 && rest[0] == "--list") {
    for (const Operation* operation : Operations().All()) out << operation->Name << '\n';
    return kExitOk;
  }
  if (rest.size() == 2 && rest[0] == "--describe") {
    const Operation* operation = Operations().Find(rest[1]);
    if (operation == nullptr) return Answer(out, UsageFailure("operação desconhecida: " + rest[1] + "."));
    out << AnswerText(Json{{"operation", operation->Name}, {"request", operation->Kind}, {"fields", operation->Fields}},
                      2)
        << '\n';
    return kExitOk;
  }
  if (rest.size() == 1 && rest[0] == "--batch") return CommandBatch(in, out, flags);
  if (rest.size() != 1 || rest[0].rfind("--", 0) == 0) {
    return Answer(out, UsageFailure("uso: quorvin-fin call AREA.OPERACAO < pedido.json"));
  }
  return CommandSingleCall(rest[0], in, out, flags);
}

int CommandDb(const std::vector<std::string>& args, std::ostream& out) {
  if (args.size() != 1) throw UsageError("uso: quorvin-fin db start|stop|status|init|reset|seed");
  const std::string& action = args[0];
  const bool external = std::getenv("QUORVIN_DSN") != nullptr && *std::getenv("QUORVIN_DSN") != '\0';
  if (action == "start" || action == "stop" || action == "status") {
    if (external) {
      out << "QUORVIN_DSN definido: o banco é externo e não é gerenciado aqui.\n";
      if (action == "status") {
        TOraSession session;
        session.Connect(ResolveDsn(), "quorvin-fin:db");
        out << "conectado\n";
      }
      return kExitOk;
    }
    const std::string command = std::string(QUORVIN_SOURCE_DIR) + "/scripts/db.sh " + action;
    return std::system(command.c_str()) == 0 ? kExitOk : kExitUsage;
  }
  if (action != "init" && action != "reset" && action != "seed") throw UsageError("ação desconhecida de db: " + action);
  TOraSession session;
  session.Connect(ResolveDsn(), "quorvin-fin:db");
  host::TSchema schema;
  const auto files = action == "init"    ? schema.Init(session)
                     : action == "reset" ? schema.Reset(session)
                                         : schema.Seed(session);
  for (const auto& file : files) out << "aplicado: " << file << '\n';
  return kExitOk;
}

int CommandParam(const std::vector<std::string>& args, std::ostream& out) {
  if (args.size() < 3 || args[0] != "set") throw UsageError("uso: quorvin-fin param set NOME VALOR [--branch FILIAL]");
  std::string branch;
  if (args.size() == 5 && args[3] == "--branch") {
    branch = args[4];
  } else if (args.size() != 3) {
    throw UsageError("uso: quorvin-fin param set NOME VALOR [--branch FILIAL]");
  }
  CallFlags flags;
  Runtime runtime(flags);
  TOraTransaction transaction(runtime.Host().Sessao());
  runtime.Host().DefinirParametro(args[1], args[2], branch);
  transaction.Commit();
  out << args[1] << " = " << args[2] << (branch.empty() ? "" : " (filial " + branch + ")") << '\n';
  return kExitOk;
}

Json FieldJson(TField field) {
  if (field.IsNull()) return nullptr;
  switch (field.DataType()) {
    case TFieldType::ftFloat:
      return field.AsFloat();
    case TFieldType::ftInteger:
      return field.AsInteger();
    case TFieldType::ftBoolean:
      return field.AsBoolean();
    case TFieldType::ftDate:
    case TFieldType::ftDateTime:
      return WriteDate(field.AsDateTime(), true);
    default:
      return field.AsString();
  }
}

int CommandSql(const std::vector<std::string>& args, std::ostream& out) {
  CallFlags flags;
  std::vector<std::string> rest = ParseCallFlags(args, flags);
  std::string text;
  std::vector<std::pair<std::string, std::string>> binds;
  for (std::size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == "-p" && i + 1 < rest.size()) {
      const std::string& bind = rest[++i];
      const std::size_t equals = bind.find('=');
      if (equals == std::string::npos) throw UsageError("-p espera NOME=VALOR.");
      binds.emplace_back(bind.substr(0, equals), bind.substr(equals + 1));
    } else if (text.empty()) {
      text = rest[i];
    } else {
      throw UsageError("uso: quorvin-fin sql \"<texto Oracle>\" [-p NOME=VALOR]...");
    }
  }
  if (text.empty()) throw UsageError("uso: quorvin-fin sql \"<texto Oracle>\" [-p NOME=VALOR]...");
  Runtime runtime(flags);
  TOraSession& session = runtime.Host().Sessao();
  TOraTransaction transaction(session);
  TOraQuery query(&session);
  query.SQL.SetText(text);
  for (const auto& [name, value] : binds) query.ParamByName(name).SetAsString(value);
  const auto translation = oradb::TranslateCached(query.SQL.Text());
  if (translation->IsBlock) {
    // A block reports no count of its own: the rows its statements changed are not known here.
    query.ExecSQL();
    out << Json{{"block", true}, {"rows_affected", nullptr}}.dump() << '\n';
  } else if (translation->ReturnsRows) {
    query.Open();
    Json rows = Json::array();
    for (query.First(); !query.Eof(); query.Next()) {
      Json row = Json::object();
      for (std::size_t i = 0; i < query.FieldCount(); ++i)
        row[query.Fields(i).FieldName()] = FieldJson(query.Fields(i));
      rows.push_back(std::move(row));
    }
    out << rows.dump(2) << '\n';
  } else {
    query.ExecSQL();
    out << Json{{"rows_affected", query.RowsAffected()}}.dump() << '\n';
  }
  if (flags.Rollback) {
    transaction.Rollback();
  } else {
    transaction.Commit();
  }
  return kExitOk;
}

}  // namespace

int Main(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    (args.empty() ? err : out) << kUsage;
    return args.empty() ? kExitUsage : kExitOk;
  }
  const std::string command = args[0];
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  try {
    if (command == "call") return CommandCall(rest, in, out);
    if (command == "db") return CommandDb(rest, out);
    if (command == "param") return CommandParam(rest, out);
    if (command == "sql") return CommandSql(rest, out);
    if (command == "demo") return RunDemo(out);
    if (command == "boleto-exemplo") return CommandBoletoExemplo(rest, out);
    err << "comando desconhecido: " << command << "\n" << kUsage;
    return kExitUsage;
  } catch (const UsageError& error) {
    err << "quorvin-fin: " << error.what() << '\n';
    return kExitUsage;
  } catch (const Exception& error) {
    err << "quorvin-fin: " << error.ClassName() << ": " << error.Message() << '\n';
    return kExitUsage;
  } catch (const std::exception& error) {
    err << "quorvin-fin: " << error.what() << '\n';
    return kExitUsage;
  }
}

}  // namespace cli
