#pragma once

#include <cstdint>

class TOraSession;

namespace oradb {

// Requests of a session that waited for the server's answer since it last connected: every
// statement, prepare, BEGIN, COMMIT and SET once, a pipeline of several commands once; 0 while
// not connected. What a benchmark divides by its operations to report round trips per operation.
[[nodiscard]] std::uint64_t RoundTrips(TOraSession& session) noexcept;

}  // namespace oradb
