#pragma once

#include <libpq-fe.h>

#include <cstdint>

// Round trips of a bare-libpq floor, counted the way the data-access layer counts the module's
// (oradb::RoundTrips): every request that waits for the server's answer is one. A floor sends its
// timed requests through these and divides the count by its operations.
namespace bench {

[[nodiscard]] inline std::uint64_t& IdasPiso() noexcept {
  static std::uint64_t idas = 0;
  return idas;
}

[[nodiscard]] inline PGresult* Exec(PGconn* conexao, const char* sql) {
  ++IdasPiso();
  return PQexec(conexao, sql);
}

[[nodiscard]] inline PGresult* ExecPrepared(PGconn* conexao, const char* nome, int quantos,
                                            const char* const* valores) {
  ++IdasPiso();
  return PQexecPrepared(conexao, nome, quantos, valores, nullptr, nullptr, 0);
}

}  // namespace bench
