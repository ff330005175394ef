#pragma once

#include <exception>

#include "oradb/EOraError.h"

namespace testsupport {

// Whether a database failure lies anywhere down a failure's chain of nested causes.
inline bool CausaDoBanco(const std::exception& falha) {
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
