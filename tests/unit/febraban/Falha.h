#pragma once

#include <functional>
#include <string>

#include "febraban/ECodigoInvalido.h"

namespace febrabantest {

// The message of the ECodigoInvalido `action` throws; "(nenhuma falha)" when it throws nothing. Any
// other exception escapes and fails the test.
inline std::string Falha(const std::function<void()>& action) {
  try {
    action();
  } catch (const febraban::ECodigoInvalido& error) {
    return error.what();
  }
  return "(nenhuma falha)";
}

}  // namespace febrabantest
