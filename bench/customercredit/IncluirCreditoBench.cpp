// Customer credits included by cash (one transaction each): the credit's numbers, its cash
// movement with the balance, the row, the existence check and the change log written apart on a
// second session. Credits per second through the module, beside the same statements sent through
// bare libpq.
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include <libpq-fe.h>

#include "frame/Uclsgerentefinanceiro.h"
#include "host/THostQuorvin.h"
#include "oradb/RoundTrips.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "support/Host.h"
#include "support/Idas.h"
#include "support/Tabela.h"

namespace {

constexpr int kCreditos = 200;
constexpr int kConta = 9835;
constexpr int kCliente = 98350;

void Limpar(TOraSession& sessao) {
  TOraTransaction transacao(sessao);
  const std::string conta = std::to_string(kConta);
  sessao.ExecuteScript("DELETE FROM ztmovcr WHERE codbanco = " + conta + "; DELETE FROM ztestcr WHERE codbanco = " +
                       conta + "; DELETE FROM ztcrecli WHERE codcli = " + std::to_string(kCliente) +
                       "; DELETE FROM ztlogalteracaodados WHERE programa = 'bench_customercredit';");
  transacao.Commit();
}

// `idas`: the side's round trips over all credits, on both of its connections.
void Relatar(const char* caminho, double segundos, bool modulo, std::uint64_t idas) {
  std::printf("%-44s %6d créditos  %6.2f s  %8.0f créditos/s\n", caminho, kCreditos, segundos, kCreditos / segundos);
  bench::LinhaTabela("crédito de cliente incluído (dinheiro)", modulo, kCreditos / segundos,
                     static_cast<double>(idas) / kCreditos);
}

void CreditosModulo(host::THostQuorvin& host, IGerenteFinanceiro& financeiro) {
  IFin_CreditoCliente& creditos = *financeiro.GetCreditoCliente();
  // The change log goes over the host's second session: its requests count too.
  const auto idas = [&] { return oradb::RoundTrips(host.Sessao()) + oradb::RoundTrips(host.SessaoAutonoma()); };
  const std::uint64_t antes = idas();
  const double segundos = bench::Segundos([&] {
    for (int i = 0; i < kCreditos; ++i) {
      TCreditoCliente c(kCliente, 100 + i * 0.01, "1");
      c.NUMNOTA = i + 1;
      c.HISTORICO = "DEVOLUCAO";
      TMovimentacaoFinanceira m;
      m.CodigoCaixaBanco = kConta;
      m.CodigoCobranca = "D";
      c.Movimentacao = m;
      std::string mensagem;
      TOraTransaction transacao(host.Sessao());
      if (!creditos.IncluirCreditoCliente(c, mensagem)) throw Exception("crédito não incluído: " + mensagem);
      transacao.Commit();
    }
  });
  Relatar("créditos incluídos pelo módulo", segundos, true, idas() - antes);
}

// A statement of the floor that fails would make it look faster than it is: it stops the run.
PGresult* Conferir(PGresult* resultado, PGconn* conexao) {
  const ExecStatusType estado = PQresultStatus(resultado);
  if (estado != PGRES_COMMAND_OK && estado != PGRES_TUPLES_OK) {
    const std::string erro = PQerrorMessage(conexao);
    PQclear(resultado);
    throw Exception("libpq: " + erro);
  }
  return resultado;
}

// The floor: per credit, the numbers (transaction, NUMCRED, code), the balance update and the cash
// movement, the credit row and its existence check in one transaction; and the eleven log rows of
// an inclusion (its steps, the row's insert and the existence check), each committed on its own on
// a second connection.
void CreditosLibpq(PGconn* conexao, PGconn* log) {
  auto rodar = [](PGconn* c, const char* nome, int n, const char* const* args) {
    return Conferir(bench::ExecPrepared(c, nome, n, args), c);
  };
  auto executar = [](PGconn* c, const char* sql) { PQclear(Conferir(bench::Exec(c, sql), c)); };
  auto numero = [&](const char* nome) {
    PGresult* r = rodar(conexao, nome, 0, nullptr);
    std::string valor = PQgetvalue(r, 0, 0);
    PQclear(r);
    return valor;
  };
  const std::string conta = std::to_string(kConta);
  const std::string cliente = std::to_string(kCliente);
  executar(
      conexao,
      ("INSERT INTO ztestcr (codbanco, codcob, valor, valorconciliado) VALUES (" + conta + ", 'D', 0, 0)").c_str());
  PQclear(PQprepare(conexao, "numtrans", "SELECT nextval('qv_numtrans')", 0, nullptr));
  PQclear(PQprepare(conexao, "numcred", "SELECT nextval('dfseq_ztcrecli_numcred')", 0, nullptr));
  PQclear(PQprepare(conexao, "codigo", "SELECT nextval('dfseq_ztcrecli')", 0, nullptr));
  PQclear(PQprepare(conexao, "saldo",
                    "UPDATE ztestcr SET valor = COALESCE(valor, 0) + $1 WHERE codcob = 'D' AND codbanco = $2 "
                    "RETURNING valor",
                    2, nullptr));
  PQclear(PQprepare(conexao, "movimento",
                    "INSERT INTO ztmovcr (numtrans, data, codbanco, codcob, historico, historico2, valor, tipo, "
                    "numcarr, vlsaldo, indice) VALUES ($1, date_trunc('day', localtimestamp), $2, 'D', 'INCLUSAO "
                    "MANUAL DE CREDITO CLIENTE', 'LIQ.CRECLI', $3, 'D', $4, $5, 'B')",
                    5, nullptr));
  PQclear(PQprepare(conexao, "credito",
                    "INSERT INTO ztcrecli (codigo, codcli, dtlanc, codfilial, numnota, valor, codfunc, hora, minuto, "
                    "historico, codfunclanc, numerario, codmovimento, numtrans, codrotina, numcred) VALUES ($1, $2, "
                    "date_trunc('day', localtimestamp), '1', $3, $4, 1, 0, 0, 'DEVOLUCAO', 1, 'S', $5, $6, 0, $7)",
                    7, nullptr));
  PQclear(PQprepare(conexao, "existe", "SELECT 1 FROM ztcrecli WHERE codigo = $1", 1, nullptr));
  PQclear(PQprepare(log, "log",
                    "INSERT INTO ztlogalteracaodados (data, codfunc, codrotina, tabela, coluna, tipovalor, valoralfa, "
                    "valoralfaant, valornum, valornumant, programa, observacoes, observacoes2, observacoes3, codigo) "
                    "VALUES (localtimestamp(0), 1, 0, 'ZTCRECLI', 'NUMTRANSVENDA', 'N', 'NUMTRANSVENDA0', "
                    "'NUMTRANSVENDADESC0', $1, $1, 'bench_customercredit', 'IncluirCreditoCliente-Passo', "
                    "'IncluirCreditoCliente-DEVOLUCAO', 'NUMTRANSENT0', $2)",
                    2, nullptr));
  const std::uint64_t idas = bench::IdasPiso();
  const double segundos = bench::Segundos([&] {
    for (int i = 0; i < kCreditos; ++i) {
      char valor[32];
      std::snprintf(valor, sizeof valor, "%.2f", 100 + i * 0.01);
      const std::string nota = std::to_string(i + 1);
      const auto registrar = [&](const std::string& codigo) {
        const char* args[2] = {valor, codigo.c_str()};
        PQclear(rodar(log, "log", 2, args));
      };
      // Start, validation, cash movement.
      for (int passo = 0; passo < 3; ++passo) registrar("0");
      executar(conexao, "BEGIN");
      const std::string numtrans = numero("numtrans");
      const std::string numcred = numero("numcred");
      const char* saldo_args[2] = {valor, conta.c_str()};
      PGresult* saldo = rodar(conexao, "saldo", 2, saldo_args);
      const std::string vlsaldo = PQgetvalue(saldo, 0, 0);
      PQclear(saldo);
      const char* mov[5] = {numtrans.c_str(), conta.c_str(), valor, nota.c_str(), vlsaldo.c_str()};
      PQclear(rodar(conexao, "movimento", 5, mov));
      registrar("0");  // the code
      const std::string codigo = numero("codigo");
      for (int passo = 0; passo < 2; ++passo) registrar(codigo);  // the insertion, the row's insert
      const char* credito[7] = {codigo.c_str(), cliente.c_str(),  nota.c_str(),   valor,
                                conta.c_str(),  numtrans.c_str(), numcred.c_str()};
      PQclear(rodar(conexao, "credito", 7, credito));
      for (int passo = 0; passo < 2; ++passo) registrar(codigo);  // the insert done, the check
      const char* existe[1] = {codigo.c_str()};
      PQclear(rodar(conexao, "existe", 1, existe));
      for (int passo = 0; passo < 3; ++passo) registrar(codigo);  // found, the check done, the end
      executar(conexao, "COMMIT");
    }
  });
  Relatar("mesmas instruções só com libpq", segundos, false, bench::IdasPiso() - idas);
}

}  // namespace

int main() {
  bench::Lados lados;
  lados.Modulo = [](host::THostQuorvin& host, IGerenteFinanceiro& gerente) { CreditosModulo(host, gerente); };
  // The log rows of the floor go over a second connection, as the module's go over the host's second session.
  lados.Piso = [](PGconn* conexao) {
    PGconn* log = PQconnectdb(std::getenv("QUORVIN_DSN"));
    if (PQstatus(log) != CONNECTION_OK) {
      std::printf("libpq: %s\n", PQerrorMessage(log));
    } else {
      PQclear(PQexec(conexao, "SET search_path = oracle, pg_catalog, \"$user\", public"));
      CreditosLibpq(conexao, log);
    }
    PQfinish(log);
  };
  lados.Limpar = Limpar;
  return bench::Rodar("bench_customercredit", lados);
}
