#pragma once

#include <string>

#include "rtl/Exception.h"

// A database failure as an Oracle client reports it: an ORA code, the message, and for diagnosis
// the SQLSTATE and the statement that failed. The message reads "ORA-00054: <server text>".
class EOraError : public Exception {
 public:
  EOraError(int error_code, const std::string& server_message, std::string sqlstate = {}, std::string statement = {});
  ~EOraError() override;
  QUORVIN_EXCEPTION_NAME(EOraError)

  [[nodiscard]] int ErrorCode() const noexcept { return FErrorCode; }
  [[nodiscard]] const std::string& SqlState() const noexcept { return FSqlState; }
  [[nodiscard]] const std::string& Statement() const noexcept { return FStatement; }

 private:
  int FErrorCode;
  std::string FSqlState;
  std::string FStatement;
};

// The kinds callers catch on their own.
#define QUORVIN_ORA_ERROR(name, code)                                                              \
  class name : public EOraError {                                                                  \
   public:                                                                                         \
    name(const std::string& server_message, std::string sqlstate = {}, std::string statement = {}) \
        : EOraError(code, server_message, std::move(sqlstate), std::move(statement)) {}            \
    QUORVIN_EXCEPTION_NAME(name)                                                                   \
  };

QUORVIN_ORA_ERROR(EOraBusy, 54)             // ORA-00054: row locked elsewhere (NOWAIT) or lock timeout
QUORVIN_ORA_ERROR(EOraDuplicateKey, 1)      // ORA-00001: unique constraint violated
QUORVIN_ORA_ERROR(EOraNotNull, 1400)        // ORA-01400: NULL into a NOT NULL column
QUORVIN_ORA_ERROR(EOraTooWide, 12899)       // ORA-12899: value too large for column
QUORVIN_ORA_ERROR(EOraInvalidNumber, 1722)  // ORA-01722: invalid number
QUORVIN_ORA_ERROR(EOraNoDataFound, 1403)    // ORA-01403: no data found (a block's SELECT INTO)
#undef QUORVIN_ORA_ERROR

// Oracle text the translator cannot carry to PostgreSQL; it names the construct. Nothing is sent.
class ETranslationError : public Exception {
 public:
  using Exception::Exception;
  ~ETranslationError() override;
  QUORVIN_EXCEPTION_NAME(ETranslationError)
};
