#pragma once

#include <exception>
#include <functional>
#include <string>

#include "gtest/gtest.h"
#include "oradb/EOraError.h"
#include "rtl/Exception.h"

// How the tests pin a failure: its class and its message in one text, "ExNumeroLanctoZerado:
// Número de lançamento não informado.", so one assertion checks both.
namespace testsupport {

// "Class: message" of a failure; a foreign exception shows as "std::exception: what()".
[[nodiscard]] inline std::string ClassAndMessage(const std::exception& failure) {
  if (const auto* own = dynamic_cast<const Exception*>(&failure)) {
    return std::string(own->ClassName()) + ": " + own->Message();
  }
  return std::string("std::exception: ") + failure.what();
}

// "Class: message" of what `action` throws; "(no exception)" when it returns.
[[nodiscard]] inline std::string Failure(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& failure) {
    return ClassAndMessage(failure);
  }
  return "(no exception)";
}

// Whether a database failure lies anywhere down a failure's chain of nested causes.
[[nodiscard]] inline bool CausaDoBanco(const std::exception& falha) {
  if (dynamic_cast<const EOraError*>(&falha) != nullptr) return true;
  try {
    std::rethrow_if_nested(falha);
  } catch (const std::exception& causa) {
    return CausaDoBanco(causa);
  } catch (...) {
  }
  return false;
}

}  // namespace testsupport

// Checks that `statement` throws exactly `expected`, "Class: message":
//   EXPECT_FAILS_WITH(Area().Salvar(c), "Exception: Informe o banco/caixa ...");
#define EXPECT_FAILS_WITH(statement, expected) EXPECT_EQ(::testsupport::Failure([&] { (void)(statement); }), expected)
