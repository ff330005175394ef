#include <gtest/gtest.h>

#include <ostream>

#include <exception>
#include <functional>
#include <stdexcept>
#include <string>

#include "Call.h"
#include "oradb/EOraError.h"

namespace {

using cli::Json;

// A failure as an operation raises it, and the answer the command line gives for it.
struct FailureCase {
  const char* Name;
  std::function<void()> Raise;
  int Exit;
  Json Answer;
};

// A case prints as its name, in test listings and failure reports.
void PrintTo(const FailureCase& c, std::ostream* out) {
  *out << c.Name;
}

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

class CallFailure : public ::testing::TestWithParam<FailureCase> {};

// The exit code comes from the whole chain of causes; the class and message shown are the
// failure's own, as the module worded it.
TEST_P(CallFailure, ExitCodeComesFromTheCauseChainAndTheMessageIsKept) {
  const FailureCase& failure = GetParam();
  try {
    failure.Raise();
    FAIL() << "nothing raised";
  } catch (const std::exception& error) {
    const cli::CallOutcome outcome = cli::FailureOutcome(error);
    EXPECT_EQ(outcome.Exit, failure.Exit);
    EXPECT_EQ(outcome.Answer, failure.Answer);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Chains, CallFailure,
    ::testing::Values(
        FailureCase{"DatabaseFailureItself", Busy, 2, Answer("EOraBusy", kBusy)},
        FailureCase{"DatabaseFailureUnderTheModulesMessage", [] { Wrapped(kInserir, Busy); }, 2,
                    WithCause(Answer("Exception", kInserir), "EOraBusy", kBusy)},
        FailureCase{"LostConnectionTwoLevelsDown",
                    [] {
                      Wrapped("Não foi possível inserir lançamentos de centro de custo!", [] {
                        Wrapped("Erro ao gravar", [] { throw EOraError(3113, "conexão perdida", "08006"); });
                      });
                    },
                    2,
                    WithCause(Answer("Exception", "Não foi possível inserir lançamentos de centro de custo!"),
                              "EOraError", "ORA-03113: conexão perdida")},
        FailureCase{"TranslationFailureUnderAMessage",
                    [] { Wrapped("Erro", [] { throw ETranslationError("construção não suportada: MODEL"); }); }, 2,
                    WithCause(Answer("Exception", "Erro"), "ETranslationError", "construção não suportada: MODEL")},
        FailureCase{"BusinessRefusal", [] { throw TBaseExcecao("Favor informar ao menos um registro!"); }, 1,
                    Answer("TBaseExcecao", "Favor informar ao menos um registro!")},
        FailureCase{"BusinessRefusalUnderAMessage",
                    [] { Wrapped("Erro ao inserir registros!", [] { throw TBaseExcecao("Conta inválida"); }); }, 1,
                    Answer("Exception", "Erro ao inserir registros!")},
        FailureCase{"PackageRefusalUnderTheModulesMessage",
                    [] {
                      Wrapped("Erro ao estornar crédito",
                              [] { throw EOraError(20000, "O crédito 7 já está estornado.", "P0001"); });
                    },
                    1,
                    WithCause(Answer("Exception", "Erro ao estornar crédito"), "EOraError",
                              "ORA-20000: O crédito 7 já está estornado.")},
        FailureCase{"UsageError", [] { throw cli::UsageError("args.modo: esperado número inteiro."); }, 2,
                    Answer("UsageError", "args.modo: esperado número inteiro.")},
        FailureCase{"ForeignFailure", [] { throw std::runtime_error("bad_alloc"); }, 2,
                    Answer("InternalError", "bad_alloc")}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.Name); });

}  // namespace
