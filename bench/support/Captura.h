#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "oradb/TOraSession.h"

struct pg_conn;

// What the benchmarks that compare a module path with its floor share: the statements one call of
// the module sends, captured from the server's statement log, and their replay through bare libpq.
namespace bench {

// One statement as the server received it: PostgreSQL text and its parameters (nullopt = NULL).
struct Comando {
  std::string Texto;
  std::vector<std::optional<std::string>> Parametros;
};

// An integer from the environment (QUORVIN_BENCH_BATCHES ...), or the default.
[[nodiscard]] int Inteiro(const char* nome, int padrao);

void Executar(TOraSession& sessao, const std::string& sql);
// Runs a set-up script (statements separated by ";") in a transaction of its own, committed.
void ExecutarScript(TOraSession& sessao, const std::string& sql);
// The first column of the first row, or "" when there is none or it is NULL.
[[nodiscard]] std::string Valor(TOraSession& sessao, const std::string& sql);

// Runs `corpo` in one committed transaction of the session with the server's statement log on and
// answers the statements the session sent for it, in order, with their parameters.
[[nodiscard]] std::vector<Comando> Capturar(TOraSession& sessao, const std::function<void()>& corpo);

// The captured statements, prepared once on a bare libpq connection with the module's search path.
class PisoLibpq {
 public:
  PisoLibpq(const std::string& dsn, std::vector<Comando> comandos);
  ~PisoLibpq();
  PisoLibpq(const PisoLibpq&) = delete;
  PisoLibpq& operator=(const PisoLibpq&) = delete;

  // One transaction of every statement, each parameter found among the keys of `troca` replaced by
  // its value (the captured entry numbers by new ones).
  void Executar(const std::map<std::string, std::string>& troca);
  // Every statement's plan as the server runs it with those values and the rows it met, printed, in
  // one transaction rolled back afterwards, so the writes among them leave nothing behind.
  void Explicar(const std::map<std::string, std::string>& troca);
  [[nodiscard]] std::size_t Quantidade() const noexcept { return FComandos.size(); }

 private:
  void Exigir(const char* sql);
  [[nodiscard]] static std::vector<const char*> Valores(const Comando& comando,
                                                        const std::map<std::string, std::string>& troca);

  pg_conn* FConexao;
  std::vector<Comando> FComandos;
};

}  // namespace bench
