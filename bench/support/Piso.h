#pragma once

#include <libpq-fe.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "support/Idas.h"
#include "support/Tabela.h"

// The floor of a posting path written by hand: the path's statements prepared once by name on a
// bare libpq connection, then one transaction per timed unit (BEGIN, the statements, COMMIT), its
// seconds and round trips added up, and the floor's line of the final table. A statement the
// server refuses ends the benchmark: a floor that skipped one would be fast for the wrong reason.
namespace bench {

// What a prepared statement answered: its first value ("" when none) and the rows it returned or
// changed.
struct Resposta {
  std::string Valor;
  long Linhas = 0;
};

class PisoPreparado {
 public:
  PisoPreparado(PGconn* conexao, const char* programa) : FConexao(conexao), FPrograma(programa) {}

  void Preparar(const char* nome, const std::string& sql, int parametros) {
    PGresult* resultado = PQprepare(FConexao, nome, sql.c_str(), parametros, nullptr);
    Exigir(resultado, nome);
    PQclear(resultado);
  }

  Resposta Rodar(const char* nome, std::initializer_list<const char*> valores = {}) {
    const std::vector<const char*> lista(valores);
    PGresult* resultado = ExecPrepared(FConexao, nome, static_cast<int>(lista.size()), lista.data());
    Exigir(resultado, nome);
    Resposta resposta;
    if (PQntuples(resultado) > 0 && PQnfields(resultado) > 0) resposta.Valor = PQgetvalue(resultado, 0, 0);
    const char* afetadas = PQcmdTuples(resultado);
    resposta.Linhas = *afetadas != '\0' ? std::atol(afetadas) : PQntuples(resultado);
    PQclear(resultado);
    return resposta;
  }

  // One timed transaction: BEGIN, `corpo`, COMMIT.
  void Transacao(const std::function<void()>& corpo) {
    const std::uint64_t idas = IdasPiso();
    const auto inicio = std::chrono::steady_clock::now();
    Controle("BEGIN");
    corpo();
    Controle("COMMIT");
    FSegundos += std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    FIdas += IdasPiso() - idas;
  }

  // The floor's lines: `operacoes` units of work over every transaction run.
  void Relatar(const char* rotulo, const char* unidade, const char* operacao, int operacoes) const {
    const double por_segundo = operacoes / FSegundos;
    std::printf("%-44s %6d %s  %6.2f s  %8.0f %s/s\n", rotulo, operacoes, unidade, FSegundos, por_segundo, unidade);
    LinhaTabela(operacao, false, por_segundo, static_cast<double>(FIdas) / operacoes);
  }

 private:
  void Controle(const char* sql) {
    PGresult* resultado = Exec(FConexao, sql);
    Exigir(resultado, sql);
    PQclear(resultado);
  }

  void Exigir(PGresult* resultado, const char* nome) const {
    const ExecStatusType estado = PQresultStatus(resultado);
    if (estado == PGRES_COMMAND_OK || estado == PGRES_TUPLES_OK) return;
    std::fprintf(stderr, "%s: o piso falhou em %s: %s\n", FPrograma, nome, PQerrorMessage(FConexao));
    std::exit(1);
  }

  PGconn* FConexao;
  const char* FPrograma;
  double FSegundos = 0;
  std::uint64_t FIdas = 0;
};

}  // namespace bench
