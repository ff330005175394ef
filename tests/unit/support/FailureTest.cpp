#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <exception>
#include <stdexcept>
#include <string>

#include "frame/Uclsfin_except.h"
#include "oradb/EOraError.h"
#include "support/Failure.h"

namespace {

using testsupport::Failure;

TEST(FailureText, NamesTheThrownClassAndItsMessage) {
  EXPECT_EQ(Failure([] { throw Exception("Valor não informado."); }), "Exception: Valor não informado.");
  EXPECT_EQ(Failure([] { throw ExTransacaoNaoIniciada(); }), "ExTransacaoNaoIniciada: Transação não iniciada.");
  // Caught as its base, a failure still shows its own class.
  EXPECT_EQ(Failure([] { throw EOraError(1, "duplicada", "23505"); }).rfind("EOraError", 0), 0U);
  EXPECT_EQ(Failure([] { throw std::runtime_error("fora do sistema"); }), "std::exception: fora do sistema");
  EXPECT_EQ(Failure([] {}), "(no exception)");
}

// The check fails when the call returns or throws anything else, and says what happened.
TEST(FailureText, TheCheckFailsOnAnyOtherOutcome) {
  const auto recusa = [](bool recusar) -> int {
    if (recusar) throw Exception("Recusado.");
    return 1;
  };
  EXPECT_FAILS_WITH(recusa(true), "Exception: Recusado.");
  EXPECT_NONFATAL_FAILURE(EXPECT_FAILS_WITH(recusa(false), "Exception: Recusado."), "(no exception)");
  EXPECT_NONFATAL_FAILURE(EXPECT_FAILS_WITH(recusa(true), "Exception: Recusado!"), "Exception: Recusado.");
}

TEST(FailureText, FindsTheDatabaseCauseDownTheChainOfNestedCauses) {
  const auto encadeada = [](int niveis) -> std::exception_ptr {
    try {
      try {
        throw EOraError(3114, "conexão perdida");
      } catch (...) {
        if (niveis == 0) throw;
        try {
          std::throw_with_nested(Exception("Erro ao gravar."));
        } catch (...) {
          if (niveis == 1) throw;
          std::throw_with_nested(Exception("Erro ao inserir registros!"));
        }
      }
    } catch (...) {
      return std::current_exception();
    }
    return nullptr;
  };
  for (const int niveis : {0, 1, 2}) {
    try {
      std::rethrow_exception(encadeada(niveis));
    } catch (const std::exception& falha) {
      EXPECT_TRUE(testsupport::CausaDoBanco(falha)) << niveis;
    }
  }
  EXPECT_FALSE(testsupport::CausaDoBanco(Exception("Recusado.")));
  EXPECT_FALSE(testsupport::CausaDoBanco(std::runtime_error("fora do sistema")));
}

}  // namespace
