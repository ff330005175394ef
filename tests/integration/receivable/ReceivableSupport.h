#pragma once

#include <array>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "Cli.h"
#include "RecordJson.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "sdk/fin/IFin_ContasReceber.h"
#include "sdk/fin/TFin_GerarBoletos.h"
#include "support/ConcurrentHosts.h"
#include "support/TestDatabase.h"

// What the receivable tests share: a user's own committed session, a slip request, the command line
// and the tools that read printed slips back.
namespace receivabletest {

// Standard output of a shell command (its errors dropped); "" when it cannot run.
inline std::string Saida(const std::string& comando) {
  std::string saida;
  if (FILE* tubo = ::popen((comando + " 2>/dev/null").c_str(), "r")) {
    std::array<char, 512> bloco{};
    while (std::fgets(bloco.data(), bloco.size(), tubo) != nullptr) saida += bloco.data();
    ::pclose(tubo);
  }
  return saida;
}

// The first of `ferramentas` that is not installed; "" when all are.
inline std::string FaltaFerramenta(std::initializer_list<const char*> ferramentas) {
  for (const char* ferramenta : ferramentas) {
    if (Saida(std::string("command -v ") + ferramenta).empty()) return ferramenta;
  }
  return {};
}

// A slip request for every title of a sale (or one instalment): bank data and, unless told, slips.
inline TFin_GerarBoletos Pedido(double transacao, const std::string& prest = "", bool boletos = true) {
  TFin_GerarBoletos boleto;
  boleto.NUMTRANSVENDA = transacao;
  boleto.PREST = prest;
  boleto.getParametros().gerarDadosBancarios(true);
  boleto.getParametros().gerarBoletos(boletos);
  return boleto;
}

// One user's session of its own, for rows other sessions must see (autocommit unless a test opens a
// transaction).
struct Sessao : testsupport::HostSession {
  explicit Sessao(const std::string& programa) : HostSession(programa) {}
  explicit Sessao(testsupport::HostSession&& base) : HostSession(std::move(base)) {}

  IFin_ContasReceber& Area() { return *Financeiro->GetContasReceber(); }
  IFin_GeracaoDadosBancarios& DadosBancarios() { return dynamic_cast<IFin_GeracaoDadosBancarios&>(Area()); }
  bool Emitir(const std::vector<double>& transacoes) {
    std::vector<TFin_GerarBoletos> boletos;
    for (const double transacao : transacoes) boletos.push_back(Pedido(transacao));
    if (boletos.size() == 1) return Area().EmitirBoletosBancarios(boletos[0], false);
    return Area().EmitirBoletosBancarios(boletos, false);
  }
  void Exec(const std::string& sql) {
    TOraQuery query(&Host->Sessao());
    query.SQL.Add(sql);
    query.ExecSQL();
  }
  std::string Valor(const std::string& sql) { return testsupport::QueryValue(Host->Sessao(), sql).value_or(""); }
  void Commitado(const std::vector<std::string>& comandos) {
    TOraTransaction transacao(Host->Sessao());
    for (const std::string& sql : comandos) Exec(sql);
    transacao.Commit();
  }
};

// What one command-line call answered.
struct Resposta {
  int Codigo;
  std::string Saida;
  std::string Erros;
};

// One command-line call on the test database and the plug-in under test.
inline Resposta Chamar(const std::vector<std::string>& argumentos, const std::string& entrada) {
  setenv("QUORVIN_DSN", testsupport::TestDsn().c_str(), 1);
  setenv("QUORVIN_PLUGIN", QUORVIN_PLUGIN_PATH, 1);
  std::istringstream in(entrada);
  std::ostringstream out, err;
  const int codigo = cli::Main(argumentos, in, out, err);
  return {codigo, out.str(), err.str()};
}

}  // namespace receivabletest
