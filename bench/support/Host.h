#pragma once

#include <libpq-fe.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "frame/Uclsgerentefinanceiro.h"
#include "host/THostQuorvin.h"
#include "rtl/Exception.h"

// The frame of a benchmark that runs a module path and its bare-libpq floor one after the other.
namespace bench {

[[nodiscard]] inline double Segundos(const std::function<void()>& trabalho) {
  const auto inicio = std::chrono::steady_clock::now();
  trabalho();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
}

struct Lados {
  // The module's side, on a reference host (user 1) with the facade loaded.
  std::function<void(host::THostQuorvin&, IGerenteFinanceiro&)> Modulo;
  // The floor, on its own bare connection.
  std::function<void(PGconn*)> Piso;
  // Removes the benchmark's rows; run before, between and after the sides.
  std::function<void(TOraSession&)> Limpar;
};

// main() of such a benchmark: 0 when both sides ran, 1 when the module failed, 2 without QUORVIN_DSN.
inline int Rodar(const char* programa, const Lados& lados) {
  const char* dsn = std::getenv("QUORVIN_DSN");
  if (dsn == nullptr || *dsn == '\0') {
    std::fprintf(stderr, "%s: defina QUORVIN_DSN (scripts/bench.sh faz isso)\n", programa);
    return 2;
  }
  try {
    host::THostConfig config;
    config.Dsn = dsn;
    config.Matricula = 1;
    config.Programa = programa;
    host::THostQuorvin host(config);
    auto* gerente = new TGerenteFinanceiro(&host);  // owned by the host
    host.SetGerenteFinanceiro(gerente);
    lados.Limpar(host.Sessao());
    lados.Modulo(host, *gerente);
    lados.Limpar(host.Sessao());
    PGconn* conexao = PQconnectdb(dsn);
    if (PQstatus(conexao) != CONNECTION_OK) {
      std::printf("libpq: %s\n", PQerrorMessage(conexao));
    } else {
      lados.Piso(conexao);
    }
    PQfinish(conexao);
    lados.Limpar(host.Sessao());
  } catch (const Exception& e) {
    std::fprintf(stderr, "%s: %s: %s\n", programa, e.ClassName(), e.Message().c_str());
    return 1;
  }
  return 0;
}

}  // namespace bench
