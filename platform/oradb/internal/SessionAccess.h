#pragma once

#include "oradb/TOraSession.h"
#include "oradb/internal/Private.h"

namespace oradb::internal {

class Connection;

// The one door from the library's statements to a session's driver connection.
struct SessionAccess {
  // Throws EOraError (ORA-03114) when the session is not connected.
  [[nodiscard]] static Connection& Of(TOraSession& session) { return session.Connection(); }
};

}  // namespace oradb::internal
