// Building IN lists from caller lists (`MontaClausulaIN`) of n and 10n values, numbers and quoted
// texts: the time per value must not grow with the list (linear), and the text must stay whole
// (every value once, each list under 1000 characters). No database.
#include <chrono>
#include <cstdio>
#include <string>

#include "payable/Uclsfin_dalcontaspagar.h"
#include "rtl/Exception.h"
#include "support/Captura.h"
#include "support/Tabela.h"

namespace {

std::string Lista(int quantos, bool aspas) {
  std::string lista;
  for (int i = quantos; i > 0; --i) {  // out of order, so the sort does real work
    if (!lista.empty()) lista += ", ";
    lista += aspas ? "T" + std::to_string(i * 7919 % 1000003) : std::to_string(i * 7919 % 1000003);
  }
  return lista;
}

// Seconds per value of one list of `quantos` values, the best of `vezes` builds.
double SegundosPorValor(int quantos, bool aspas, int vezes, std::size_t& tamanho) {
  const std::string lista = Lista(quantos, aspas);
  double melhor = 1e9;
  for (int vez = 0; vez < vezes; ++vez) {
    const auto inicio = std::chrono::steady_clock::now();
    const std::string clausula = TDALContasPagar::MontaClausulaIN("ZTLANC.RECNUM", lista, aspas, false);
    const double segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    tamanho = clausula.size();
    if (segundos < melhor) melhor = segundos;
  }
  return melhor / quantos;
}

}  // namespace

int main() {
  const int n = bench::Inteiro("QUORVIN_BENCH_IN_LIST", 20000);
  try {
    for (const bool aspas : {false, true}) {
      std::size_t tamanho_n = 0;
      std::size_t tamanho_10n = 0;
      const double por_valor_n = SegundosPorValor(n, aspas, 5, tamanho_n);
      const double por_valor_10n = SegundosPorValor(10 * n, aspas, 3, tamanho_10n);
      const char* tipo = aspas ? "textos" : "números";
      std::printf(
          "MontaClausulaIN, %-8s %7d valores %8.3f ms (%zu caracteres)  %7d valores %8.3f ms (%zu caracteres)"
          "  tempo por valor 10n/n %.2f\n",
          tipo, n, por_valor_n * n * 1000, tamanho_n, 10 * n, por_valor_10n * 10 * n * 1000, tamanho_10n,
          por_valor_10n / por_valor_n);
      const std::string operacao_n = std::string("MontaClausulaIN, ") + std::to_string(n) + " " + tipo + " (valores)";
      const std::string operacao_10n =
          std::string("MontaClausulaIN, ") + std::to_string(10 * n) + " " + tipo + " (valores)";
      bench::LinhaTabela(operacao_n.c_str(), true, 1 / por_valor_n, 0);
      bench::LinhaTabela(operacao_10n.c_str(), true, 1 / por_valor_10n, 0);
    }
  } catch (const Exception& e) {
    std::fprintf(stderr, "bench_clausulain: %s: %s\n", e.ClassName(), e.Message().c_str());
    return 1;
  }
  return 0;
}
