#include "oradb/RoundTrips.h"

#include "oradb/internal/Connection.h"
#include "oradb/internal/SessionAccess.h"

namespace oradb {

std::uint64_t RoundTrips(TOraSession& session) noexcept {
  if (!session.Connected()) return 0;
  return internal::SessionAccess::Of(session).RoundTrips();
}

}  // namespace oradb
