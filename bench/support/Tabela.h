#pragma once

#include <sys/resource.h>

#include <cmath>
#include <cstdio>

// One row of the table `make bench` ends with: every benchmark prints, for each path it measures,
// one line for the module's side and one for its floor (the same work through bare libpq), and
// scripts/bench.sh pairs them by operation:
//
//   tabela|<operation>|modulo|<per second>|<round trips per operation>|<peak KB>
//   tabela|<operation>|piso|<per second>|<round trips per operation>|<peak KB>
//
// Round trips that a benchmark does not count are given as NaN and shown as "-".
namespace bench {

[[nodiscard]] inline long PicoMemoriaKb() {
  rusage uso{};
  getrusage(RUSAGE_SELF, &uso);
  return uso.ru_maxrss;
}

// Round trips per operation print whole when they are (an average of a batch keeps one decimal).
inline void LinhaTabela(const char* operacao, bool modulo, double por_segundo, double idas) {
  if (std::isnan(idas)) {
    std::printf("tabela|%s|%s|%.1f|-|%ld\n", operacao, modulo ? "modulo" : "piso", por_segundo, PicoMemoriaKb());
  } else {
    const bool inteiro = std::fabs(idas - std::round(idas)) < 0.05;
    std::printf(inteiro ? "tabela|%s|%s|%.1f|%.0f|%ld\n" : "tabela|%s|%s|%.1f|%.1f|%ld\n", operacao,
                modulo ? "modulo" : "piso", por_segundo, idas, PicoMemoriaKb());
  }
  std::fflush(stdout);
}

}  // namespace bench
