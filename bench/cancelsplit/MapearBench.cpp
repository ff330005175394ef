// Mapping a connected split graph of receivable titles: edges per second through the module's
// breadth-first walk (one dependency query per visited node), on graphs of 2,500 and 5,000 edges so
// the two rates show the walk stays linear in the edges, beside the same walk through bare libpq.
#include <cmath>
#include <cstdio>
#include <deque>
#include <set>
#include <string>
#include <utility>

#include <libpq-fe.h>

#include "cancelsplit/Uclsfin_dalmapeardesdobramento.h"
#include "oradb/TOraSession.h"
#include "support/Host.h"
#include "support/Tabela.h"

namespace {

constexpr long long kPrimeiraVenda = 97000000;
constexpr int kArestas = 25000;  // and a tenth of it: the time per edge at n and 10n

using bench::Segundos;

// A tree: title i (i >= 1) was split from title (i - 1) / 2, all instalment "1".
std::string GrafoSql(int arestas) {
  return "INSERT INTO ztdesd (numtransvendaorig, prestorig, numtransvendadest, prestdest) SELECT " +
         std::to_string(kPrimeiraVenda) + " + (g - 1) / 2, '1', " + std::to_string(kPrimeiraVenda) +
         " + g, '1' FROM generate_series(1, " + std::to_string(arestas) + ") g";
}

void Modulo(host::THostQuorvin& host, int arestas) {
  TOraTransaction transacao(host.Sessao());
  host.Sessao().ExecuteScript(GrafoSql(arestas));
  std::size_t achadas = 0;
  const double segundos = Segundos([&] {
    TMapearDesdobramento mapa(host.Sessao(), tmZTPrest);
    achadas = mapa.MapearDesdobramento(TRegistroZtPrest(kPrimeiraVenda + arestas, "1"), false).size();
  });
  transacao.Rollback();
  std::printf("%-44s %6zu arestas  %6.2f s  %8.0f arestas/s\n", "mapeamento pelo módulo", achadas, segundos,
              achadas / segundos);
  if (static_cast<int>(achadas) != arestas) std::printf("ERRO: %zu arestas de %d\n", achadas, arestas);
  const std::string operacao = "mapear desdobramento (" + std::to_string(arestas) + " arestas)";
  bench::LinhaTabela(operacao.c_str(), true, achadas / segundos, NAN);
}

// The floor: the same walk, the same union query per visited node, prepared, edges kept in a set.
void Piso(PGconn* conexao, int arestas) {
  const std::string sql =
      "SELECT numtransvendadest, prestdest, numtransvendadest, prestdest, numtransvendaorig, prestorig FROM ztdesd "
      "WHERE numtransvendaorig = $1 and prestorig = $2 UNION SELECT numtransvendaorig, prestorig, numtransvendadest, "
      "prestdest, numtransvendaorig, prestorig FROM ztdesd WHERE numtransvendadest = $1 and prestdest = $2 UNION "
      "SELECT numtransvendadest, prestdest, numtransvendadest, prestdest, numtransvendaorig, prestorig FROM ztdesdmap "
      "WHERE numtransvendaorig = $1 and prestorig = $2 UNION SELECT numtransvendaorig, prestorig, numtransvendadest, "
      "prestdest, numtransvendaorig, prestorig FROM ztdesdmap WHERE numtransvendadest = $1 and prestdest = $2";
  // Prepared outside the transaction: the second graph finds it prepared, and that error aborts nothing.
  PQclear(PQprepare(conexao, "dependencias", sql.c_str(), 2, nullptr));
  PQclear(PQexec(conexao, "BEGIN"));
  PQclear(PQexec(conexao, GrafoSql(arestas).c_str()));
  std::set<std::string> achadas;
  const double segundos = Segundos([&] {
    std::deque<std::pair<std::string, std::string>> fila{{std::to_string(kPrimeiraVenda + arestas), "1"}};
    while (!fila.empty()) {
      const auto [venda, prest] = fila.front();
      fila.pop_front();
      const char* valores[2] = {venda.c_str(), prest.c_str()};
      PGresult* r = PQexecPrepared(conexao, "dependencias", 2, valores, nullptr, nullptr, 0);
      for (int i = 0; i < PQntuples(r); ++i) {
        const std::string aresta = std::string(PQgetvalue(r, i, 4)) + "/" + PQgetvalue(r, i, 5) + ">" +
                                   PQgetvalue(r, i, 2) + "/" + PQgetvalue(r, i, 3);
        if (achadas.insert(aresta).second) fila.emplace_back(PQgetvalue(r, i, 0), PQgetvalue(r, i, 1));
      }
      PQclear(r);
    }
  });
  PQclear(PQexec(conexao, "ROLLBACK"));
  std::printf("%-44s %6zu arestas  %6.2f s  %8.0f arestas/s\n", "mesmo percurso só com libpq", achadas.size(), segundos,
              achadas.size() / segundos);
  const std::string operacao = "mapear desdobramento (" + std::to_string(arestas) + " arestas)";
  bench::LinhaTabela(operacao.c_str(), false, achadas.size() / segundos, NAN);
}

}  // namespace

int main() {
  bench::Lados lados;
  lados.Modulo = [](host::THostQuorvin& host, IGerenteFinanceiro&) {
    Modulo(host, kArestas / 10);
    Modulo(host, kArestas);
  };
  lados.Piso = [](PGconn* conexao) {
    PQclear(PQexec(conexao, "SET search_path = oracle, pg_catalog, \"$user\", public"));
    Piso(conexao, kArestas / 10);
    Piso(conexao, kArestas);
  };
  lados.Limpar = [](TOraSession&) {};
  return bench::Rodar("bench_cancelsplit", lados);
}
