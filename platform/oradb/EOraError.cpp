#include "oradb/EOraError.h"

#include <cstdio>

namespace {

std::string OracleText(int error_code, const std::string& server_message) {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "ORA-%05d: ", error_code);
  return prefix + server_message;
}

}  // namespace

EOraError::EOraError(int error_code, const std::string& server_message, std::string sqlstate, std::string statement)
    : Exception(OracleText(error_code, server_message)),
      FErrorCode(error_code),
      FSqlState(std::move(sqlstate)),
      FStatement(std::move(statement)) {}

EOraError::~EOraError() = default;
ETranslationError::~ETranslationError() = default;
