#include <gtest/gtest.h>

#include <exception>
#include <functional>
#include <stdexcept>
#include <string>

#include "Call.h"
#include "oradb/EOraError.h"

namespace {

using cli::Json;

// Wraps whatever `inner` throws the way the module re-raises with its own message.
void Wrapped(const std::string& message, const std::function<void()>& inner) {
  try {
    inner();
  } catch (...) {
    std::throw_with_nested(Exception(message));
  }
}

void Busy() {
  throw EOraBusy("could not obtain lock on row in relation \"ztestcr\"", "55P03");
}

Json Answer(const char* exception, const std::string& message) {
  return {{"ok", false}, {"exception", exception}, {"message", message}};
}

Json WithCause(Json answer, const char* exception, const std::string& message) {
  answer["cause"] = {{"exception", exception}, {"message", message}};
  return answer;
}

const std::string kBusy = "ORA-00054: could not obtain lock on row in relation \"ztestcr\"";
const std::string kInserir = "Erro ao inserir registros!\r" + kBusy;

// The exit code comes from the whole chain of causes; the class and message shown are the
// failure's own, as the module worded it.
TEST(CallFailure, ExitCodeComesFromTheCauseChainAndTheMessageIsKept) {
  const struct {
    const char* Name;
    std::function<void()> Raise;
    int Exit;
    Json Answer;
  } cases[] = {
      {"DatabaseFailureItself", Busy, 2, Answer("EOraBusy", kBusy)},
      {"DatabaseFailureUnderTheModulesMessage", [] { Wrapped(kInserir, Busy); }, 2,
       WithCause(Answer("Exception", kInserir), "EOraBusy", kBusy)},
      {"LostConnectionTwoLevelsDown",
       [] {
         Wrapped("Não foi possível inserir lançamentos de centro de custo!",
                 [] { Wrapped("Erro ao gravar", [] { throw EOraError(3113, "conexão perdida", "08006"); }); });
       },
       2,
       WithCause(Answer("Exception", "Não foi possível inserir lançamentos de centro de custo!"), "EOraError",
                 "ORA-03113: conexão perdida")},
      {"TranslationFailureUnderAMessage",
       [] { Wrapped("Erro", [] { throw ETranslationError("construção não suportada: MODEL"); }); }, 2,
       WithCause(Answer("Exception", "Erro"), "ETranslationError", "construção não suportada: MODEL")},
      {"BusinessRefusal", [] { throw TBaseExcecao("Favor informar ao menos um registro!"); }, 1,
       Answer("TBaseExcecao", "Favor informar ao menos um registro!")},
      {"BusinessRefusalUnderAMessage",
       [] { Wrapped("Erro ao inserir registros!", [] { throw TBaseExcecao("Conta inválida"); }); }, 1,
       Answer("Exception", "Erro ao inserir registros!")},
      {"PackageRefusalUnderTheModulesMessage",
       [] {
         Wrapped("Erro ao estornar crédito", [] { throw EOraError(20000, "O crédito 7 já está estornado.", "P0001"); });
       },
       1,
       WithCause(Answer("Exception", "Erro ao estornar crédito"), "EOraError",
                 "ORA-20000: O crédito 7 já está estornado.")},
      {"UsageError", [] { throw cli::UsageError("args.modo: esperado número inteiro."); }, 2,
       Answer("UsageError", "args.modo: esperado número inteiro.")},
      {"ForeignFailure", [] { throw std::runtime_error("bad_alloc"); }, 2, Answer("InternalError", "bad_alloc")}};
  for (const auto& failure : cases) {
    SCOPED_TRACE(failure.Name);
    try {
      failure.Raise();
      ADD_FAILURE() << "nothing raised";
    } catch (const std::exception& error) {
      const cli::CallOutcome outcome = cli::FailureOutcome(error);
      EXPECT_EQ(outcome.Exit, failure.Exit);
      EXPECT_EQ(outcome.Answer, failure.Answer);
    }
  }
}

}  // namespace
