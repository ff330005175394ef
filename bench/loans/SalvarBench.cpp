// Saving loan contracts that bring money in (the contract row and its cash movement, one
// transaction each) and inserting services-rendered rows: contracts per second through the
// module, beside the same kind and number of statements sent through bare libpq.
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
#include "support/Piso.h"
#include "support/Tabela.h"

namespace {

constexpr int kContratos = 2000;
constexpr int kServicos = 5000;
constexpr int kConta = 9833;
constexpr double kPrimeiroServico = 8800000;

using bench::Segundos;

void Limpar(TOraSession& sessao) {
  TOraTransaction transacao(sessao);
  const std::string conta = std::to_string(kConta);
  sessao.ExecuteScript("DELETE FROM ztmovcr WHERE codbanco = " + conta + "; DELETE FROM ztestcr WHERE codbanco = " +
                       conta + "; DELETE FROM ztcontratoemprestimo WHERE numcontrato LIKE 'BENCH-%';" +
                       " DELETE FROM ztservicospedefd WHERE codservico >= 8800000;");
  transacao.Commit();
}

void ContratosModulo(host::THostQuorvin& host, IGerenteFinanceiro& financeiro) {
  IFin_ContratoEmprestimo& area = *financeiro.GetContratoEmprestimo();
  const std::uint64_t idas = oradb::RoundTrips(host.Sessao());
  const double segundos = Segundos([&] {
    for (int i = 0; i < kContratos; ++i) {
      TOraTransaction transacao(host.Sessao());
      TFin_ContratoEmprestimo c;
      c.NUMCONTRATO = "BENCH-" + std::to_string(i);
      c.TIPOCONTRATO = "3";
      c.CODBANCO = kConta;
      c.VLRTOTAL = 1000 + i * 0.01;
      area.Salvar(c);
      transacao.Commit();
    }
  });
  std::printf("%-44s %6d contratos  %6.2f s  %8.0f contratos/s\n", "contratos tipo 3 pelo módulo", kContratos, segundos,
              kContratos / segundos);
  bench::LinhaTabela("contrato de empréstimo tipo 3", true, kContratos / segundos,
                     static_cast<double>(oradb::RoundTrips(host.Sessao()) - idas) / kContratos);
}

void ServicosModulo(host::THostQuorvin& host, IGerenteFinanceiro& financeiro) {
  IFin_IncluirServicosPrestadosSPED_EFD& area = *financeiro.GetServicosPrestadosSPED_EFD();
  TOraTransaction transacao(host.Sessao());
  const std::uint64_t idas = oradb::RoundTrips(host.Sessao());
  const double segundos = Segundos([&] {
    for (int i = 0; i < kServicos; ++i) {
      RFin_IncluirServicosPrestadosSPED_EFD r;
      r.CODSERVICO = kPrimeiroServico + i;
      r.CODCONSTCIVIL = 1;
      r.CODTIPOSERVICO = 100000003;
      r.SERIENF = "1";
      r.VALORBRUTONF = 1000;
      r.PERCRETENCAO = 11;
      r.VALORRETENCAO = 110;
      r.HOUVEVALORRETENCAOINSS = "S";
      r.TRANSACAOABERTA = true;
      area.IncluirServicosPrestadosSPED_EFD(r);
    }
  });
  const double idas_por_linha = static_cast<double>(oradb::RoundTrips(host.Sessao()) - idas) / kServicos;
  transacao.Rollback();
  std::printf("%-44s %6d linhas     %6.2f s  %8.0f linhas/s\n", "serviços prestados pelo módulo", kServicos, segundos,
              kServicos / segundos);
  bench::LinhaTabela("serviço prestado (SPED)", true, kServicos / segundos, idas_por_linha);
}

// The floor: per contract, the statements the module's path sends (key, contract row, balance
// row under its lock, its update, transaction number, movement), prepared, in one transaction.
void ContratosLibpq(PGconn* conexao) {
  auto executar = [&](const char* sql) { PQclear(PQexec(conexao, sql)); };
  bench::PisoPreparado piso(conexao, "bench_loans");
  const std::string conta = std::to_string(kConta);
  executar(
      ("INSERT INTO ztestcr (codbanco, codcob, valor, valorconciliado) VALUES (" + conta + ", 'D', 0, 0)").c_str());
  piso.Preparar("chave", "SELECT nextval('dfseq_ztcontratoemprestimo')", 0);
  piso.Preparar("contrato",
                "INSERT INTO ztcontratoemprestimo (numseqcontratoemprestimo, numcontrato, tipocontrato, codbanco, "
                "vlrtotal) VALUES ($1, $2, '3', $3, $4)",
                4);
  piso.Preparar("saldo", "SELECT valor FROM ztestcr WHERE codcob = 'D' AND codbanco = $1 FOR UPDATE", 1);
  piso.Preparar("atualiza", "UPDATE ztestcr SET valor = $1 WHERE codcob = 'D' AND codbanco = $2", 2);
  piso.Preparar("numtrans", "SELECT nextval('qv_numtrans')", 0);
  piso.Preparar("movimento",
                "INSERT INTO ztmovcr (numtrans, data, codbanco, codcob, historico, valor, tipo, vlsaldo) "
                "VALUES ($1, date_trunc('day', localtimestamp), $2, 'D', 'Emprestimo 772', $3, 'D', $4)",
                4);
  double saldo = 0;
  for (int i = 0; i < kContratos; ++i) {
    piso.Transacao([&] {
      const std::string numseq = piso.Rodar("chave").Valor;
      char valor[32];
      std::snprintf(valor, sizeof valor, "%.2f", 1000 + i * 0.01);
      const std::string numero = "BENCH-L" + std::to_string(i);
      piso.Rodar("contrato", {numseq.c_str(), numero.c_str(), conta.c_str(), valor});
      piso.Rodar("saldo", {conta.c_str()});
      saldo += 1000 + i * 0.01;
      char novo[32];
      std::snprintf(novo, sizeof novo, "%.2f", saldo);
      piso.Rodar("atualiza", {novo, conta.c_str()});
      const std::string transacao = piso.Rodar("numtrans").Valor;
      piso.Rodar("movimento", {transacao.c_str(), conta.c_str(), valor, novo});
    });
  }
  piso.Relatar("mesmas instruções só com libpq", "contratos", "contrato de empréstimo tipo 3", kContratos);
}

void ServicosLibpq(PGconn* conexao) {
  PQclear(PQexec(conexao, "BEGIN"));
  PQclear(PQprepare(conexao, "servico",
                    "INSERT INTO ztservicospedefd (codservico, codconstcivil, codtiposervico, serienf, valorbrutonf, "
                    "percretencao, valorretencao, houvevalorretencaoinss) VALUES ($1, 1, 100000003, '1', 1000, 11, "
                    "110, 'S')",
                    1, nullptr));
  const std::uint64_t idas = bench::IdasPiso();
  const double segundos = Segundos([&] {
    for (int i = 0; i < kServicos; ++i) {
      const std::string codigo = std::to_string(static_cast<long long>(kPrimeiroServico) + i);
      const char* valores[1] = {codigo.c_str()};
      PQclear(bench::ExecPrepared(conexao, "servico", 1, valores));
    }
  });
  const double idas_por_linha = static_cast<double>(bench::IdasPiso() - idas) / kServicos;
  PQclear(PQexec(conexao, "ROLLBACK"));
  std::printf("%-44s %6d linhas     %6.2f s  %8.0f linhas/s\n", "mesma inserção só com libpq", kServicos, segundos,
              kServicos / segundos);
  bench::LinhaTabela("serviço prestado (SPED)", false, kServicos / segundos, idas_por_linha);
}

}  // namespace

int main() {
  bench::Lados lados;
  lados.Modulo = [](host::THostQuorvin& host, IGerenteFinanceiro& gerente) {
    ContratosModulo(host, gerente);
    ServicosModulo(host, gerente);
  };
  lados.Piso = [](PGconn* conexao) {
    ContratosLibpq(conexao);
    ServicosLibpq(conexao);
  };
  lados.Limpar = Limpar;
  return bench::Rodar("bench_loans", lados);
}
