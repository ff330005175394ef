#include "Call.h"

#include <istream>
#include <limits>
#include <optional>
#include <ostream>

#include "OperationRegistry.h"
#include "oradb/EOraError.h"
#include "oradb/TOraSession.h"

namespace cli {

namespace {

CallOutcome Failure(const std::string& exception, const std::string& message, int exit_code) {
  return {Json{{"ok", false}, {"exception", exception}, {"message", message}}, exit_code};
}

void CheckRequestShape(const Operation& operation, const Json& request) {
  if (!request.is_object())
    throw UsageError("a requisição deve ser um objeto JSON, recebido " + JsonTypeName(request) + ".");
  for (const auto& [key, value] : request.items()) {
    if (key == "record" || key == "args") {
      if (key != operation.Kind) {
        throw UsageError(operation.Name + " recebe \"" + operation.Kind + "\", não \"" + key + "\".");
      }
    } else if (key == "inicializar") {
      if (!value.is_boolean()) throw UsageError("\"inicializar\" deve ser true ou false.");
    } else if (key != "op" && key != "flags") {
      throw UsageError("chave desconhecida na requisição: \"" + key + "\".");
    }
  }
}

// Whether a failure comes from the database layer (server, connection, translation of the SQL).
bool IsDatabaseFailure(const std::exception& error) {
  return dynamic_cast<const EOraError*>(&error) != nullptr || dynamic_cast<const ETranslationError*>(&error) != nullptr;
}

// The first database failure in the chain of causes that starts at `error`, itself included.
const std::exception* DatabaseCause(const std::exception& error) {
  if (IsDatabaseFailure(error)) return &error;
  try {
    std::rethrow_if_nested(error);
  } catch (const std::exception& cause) {
    // The cause lives in the nested_exception that `error` holds, so the pointer stays valid.
    return DatabaseCause(cause);
  } catch (...) {
    // A cause that is no std::exception tells nothing more.
  }
  return nullptr;
}

std::string ClassNameOf(const std::exception& error) {
  const auto* known = dynamic_cast<const Exception*>(&error);
  return known != nullptr ? known->ClassName() : "InternalError";
}

std::string MessageOf(const std::exception& error) {
  const auto* known = dynamic_cast<const Exception*>(&error);
  return known != nullptr ? known->Message() : error.what();
}

Json Confirmations(const host::THostQuorvin& host) {
  Json list = Json::array();
  for (const auto& confirmacao : host.Confirmacoes()) {
    list.push_back(
        {{"text", confirmacao.Texto}, {"answer", confirmacao.Resposta == TModalResult::mrOk ? "OK" : "Cancel"}});
  }
  return list;
}

}  // namespace

CallOutcome UsageFailure(const std::string& message) {
  return Failure("UsageError", message, kExitUsage);
}

namespace {

// The first usage error in the chain of causes that starts at `error`, itself included: bad input
// the command line gave an operation stays a usage error when the module wraps it.
const UsageError* UsageCause(const std::exception& error) {
  if (const auto* usage = dynamic_cast<const UsageError*>(&error)) return usage;
  try {
    std::rethrow_if_nested(error);
  } catch (const std::exception& cause) {
    return UsageCause(cause);
  } catch (...) {
  }
  return nullptr;
}

}  // namespace

namespace {

// An application error (ORA-20000 to ORA-20999) is a rule of one of our database packages
// refusing the request, not a fault of the database: the module refused.
bool IsPackageRefusal(const std::exception& cause) {
  const auto* ora = dynamic_cast<const EOraError*>(&cause);
  return ora != nullptr && ora->ErrorCode() >= 20000 && ora->ErrorCode() <= 20999;
}

}  // namespace

CallOutcome FailureOutcome(const std::exception& error) {
  if (const UsageError* usage = UsageCause(error)) return UsageFailure(usage->what());
  const std::exception* cause = DatabaseCause(error);
  const bool business = (cause == nullptr && dynamic_cast<const Exception*>(&error) != nullptr) ||
                        (cause != nullptr && IsPackageRefusal(*cause));
  CallOutcome outcome = Failure(ClassNameOf(error), MessageOf(error), business ? kExitBusiness : kExitUsage);
  if (cause != nullptr && cause != &error) {
    outcome.Answer["cause"] = {{"exception", ClassNameOf(*cause)}, {"message", MessageOf(*cause)}};
  }
  return outcome;
}

std::optional<CallOutcome> CheckCall(const std::string& name, const Json& request) {
  const Operation* operation = Operations().Find(name);
  if (operation == nullptr) return UsageFailure("operação desconhecida: " + name + " (veja quorvin-fin call --list).");
  try {
    CheckRequestShape(*operation, request);
    operation->Check(request);
  } catch (const UsageError& error) {
    return UsageFailure(error.what());
  }
  return std::nullopt;
}

CallOutcome RunCall(Runtime& runtime, const std::string& name, const Json& request, const CallFlags& flags) {
  const Operation* operation = Operations().Find(name);
  if (operation == nullptr) return UsageFailure("operação desconhecida: " + name + " (veja quorvin-fin call --list).");
  CallOutcome outcome;
  try {
    CheckRequestShape(*operation, request);
    runtime.Apply(flags);
    runtime.Host().LimparConfirmacoes();
    runtime.Host().SetTexto("");
    IGerenteFinanceiro& financeiro = runtime.Financeiro();
    // Rolled back on the way out unless committed, whatever leaves the operation.
    std::optional<TOraTransaction> transaction;
    if (!flags.NoTransaction) transaction.emplace(runtime.Host().Sessao());
    CallContext context{runtime.Host(), financeiro, &flags};
    Json answer = {{"ok", true}};
    operation->Run(context, request, answer);
    if (transaction) {
      if (flags.Rollback) {
        transaction->Rollback();
      } else {
        transaction->Commit();
      }
    }
    if (!runtime.Host().Confirmacoes().empty()) answer["confirmations"] = Confirmations(runtime.Host());
    outcome = {std::move(answer), kExitOk};
  } catch (const std::exception& error) {
    outcome = FailureOutcome(error);
  } catch (...) {
    outcome = Failure("InternalError", "falha sem descrição", kExitUsage);
  }
  if (outcome.Exit != kExitOk && !runtime.Host().Confirmacoes().empty()) {
    outcome.Answer["confirmations"] = Confirmations(runtime.Host());
  }
  return outcome;
}

CallFlags ReadFlags(const Json& flags, const CallFlags& defaults) {
  CallFlags result = defaults;
  if (flags.is_null()) return result;
  if (!flags.is_object()) throw UsageError("\"flags\" deve ser um objeto JSON.");
  for (const auto& [key, value] : flags.items()) {
    if (key == "user" || key == "routine") {
      if (!IsWholeNumber(value)) throw UsageError("flags." + key + ": esperado número inteiro.");
      const double number = value.get<double>();
      if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max()) {
        throw UsageError("flags." + key + ": inteiro fora do intervalo.");
      }
      (key == "user" ? result.Matricula : result.Rotina) = static_cast<int>(number);
    } else if (key == "lock_timeout") {
      if (!value.is_number_integer() || value.get<long long>() < 0 || value.get<long long>() > 86400) {
        throw UsageError("flags.lock_timeout: esperado número inteiro de segundos entre 0 e 86400.");
      }
      result.LockTimeout = value.get<int>();
    } else if (key == "label") {
      if (!value.is_string()) throw UsageError("flags.label: esperado texto.");
      if (value.get_ref<const std::string&>().find('\0') != std::string::npos) {
        throw UsageError("flags.label: texto com caractere nulo (\\u0000).");
      }
      result.Label = value.get<std::string>();
    } else if (key == "confirm") {
      if (value != "ok" && value != "cancel") throw UsageError("flags.confirm: use \"ok\" ou \"cancel\".");
      result.ConfirmOk = value == "ok";
    } else if (key == "pick" || key == "clearing_date") {
      if (!value.is_string()) throw UsageError("flags." + key + ": esperado texto.");
      (key == "pick" ? result.Pick : result.ClearingDate) = value.get<std::string>();
    } else if (key == "explicit_params" || key == "no_transaction" || key == "rollback" || key == "explain") {
      if (!value.is_boolean()) throw UsageError("flags." + key + ": esperado true/false.");
      if (key == "explain") result.Explain = value.get<bool>();
      if (key == "explicit_params") result.ExplicitParams = value.get<bool>();
      if (key == "no_transaction") result.NoTransaction = value.get<bool>();
      if (key == "rollback") result.Rollback = value.get<bool>();
    } else {
      throw UsageError("flags: chave desconhecida \"" + key + "\".");
    }
  }
  return result;
}

int RunBatch(Runtime& runtime, std::istream& in, std::ostream& out, const CallFlags& defaults) {
  return RunBatch([&]() -> Runtime& { return runtime; }, in, out, defaults);
}

int RunBatch(const std::function<Runtime&()>& runtime, std::istream& in, std::ostream& out, const CallFlags& defaults) {
  return AnswerEachLine(in, out, [&](const std::string& line) {
    const Json request = ParseRequestText(line);
    if (!request.is_object() || !request.contains("op") || !request["op"].is_string()) {
      throw UsageError("cada linha deve ser um objeto com \"op\": \"AREA.OPERACAO\".");
    }
    const CallFlags flags = ReadFlags(request.contains("flags") ? request["flags"] : Json(), defaults);
    return RunCall(runtime(), request["op"].get<std::string>(), request, flags);
  });
}

int AnswerEachLine(std::istream& in, std::ostream& out, const std::function<CallOutcome(const std::string&)>& answer) {
  int worst = kExitOk;
  std::string line;
  while (std::getline(in, line)) {
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    CallOutcome outcome;
    try {
      outcome = answer(line);
    } catch (const std::exception& error) {
      outcome = FailureOutcome(error);
    }
    out << AnswerText(outcome.Answer, -1) << '\n' << std::flush;
    worst = std::max(worst, outcome.Exit);
  }
  return worst;
}

}  // namespace cli
