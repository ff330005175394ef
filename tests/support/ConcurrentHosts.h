#pragma once

#include <cstdlib>
#include <exception>
#include <latch>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "frame/Uclsgerentefinanceiro.h"
#include "host/THostQuorvin.h"
#include "support/TestDatabase.h"

namespace testsupport {

// Sessions a concurrency test runs: QUORVIN_SOAK_N when it is set (2 or more), else `padrao`.
inline int SoakSessions(int padrao = 8) {
  const char* valor = std::getenv("QUORVIN_SOAK_N");
  const int n = valor != nullptr ? std::atoi(valor) : 0;
  return n >= 2 ? n : padrao;
}

// One user's session: a host of its own (its own connection and facade) on the test database.
struct HostSession {
  std::unique_ptr<host::THostQuorvin> Host;
  IGerenteFinanceiro* Financeiro = nullptr;  // owned by the host

  explicit HostSession(const std::string& programa, int rotina = 0) {
    host::THostConfig config;
    config.Dsn = TestDsn();
    config.Matricula = 1;
    config.CodigoRotina = rotina;
    config.Programa = programa;
    Host = std::make_unique<host::THostQuorvin>(config);
    auto* gerente = new TGerenteFinanceiro(Host.get());
    Financeiro = gerente;
    Host->SetGerenteFinanceiro(gerente);
  }
};

// Runs `corpo(sessao, numero)` in `sessoes` host sessions at once: all connect first, then start
// together. Answers what each one threw ("" when nothing; "conexão: ..." when it could not connect).
template <class Corpo>
std::vector<std::string> InParallel(int sessoes, const std::string& programa, Corpo corpo, int rotina = 0) {
  std::vector<std::string> erros(static_cast<std::size_t>(sessoes));
  std::vector<std::thread> threads;
  std::latch juntas(sessoes);
  for (int numero = 0; numero < sessoes; ++numero) {
    threads.emplace_back([&, numero] {
      std::string& erro = erros[static_cast<std::size_t>(numero)];
      std::unique_ptr<HostSession> sessao;
      try {
        sessao = std::make_unique<HostSession>(programa + "-" + std::to_string(numero), rotina);
      } catch (const std::exception& e) {
        erro = std::string("conexão: ") + e.what();
      }
      juntas.arrive_and_wait();
      if (!sessao) return;
      try {
        corpo(*sessao, numero);
      } catch (const std::exception& e) {
        erro = e.what();
      }
    });
  }
  for (auto& thread : threads) thread.join();
  return erros;
}

}  // namespace testsupport
