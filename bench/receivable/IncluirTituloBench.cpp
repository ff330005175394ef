// Receivable titles inserted per second, each of a sale of its own and committed on its own,
// against the floor: the same two statements through bare libpq, one request each between BEGIN and
// COMMIT: the insertion block as the module sends it (captured from the server's log, the sale's
// number put in its place) and the read of the instalment it took. A plain INSERT ... RETURNING of
// the same row is printed beside them as a reference: it is not the designed statement.

#include <libpq-fe.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "frame/Uclsgerentefinanceiro.h"
#include "host/THostQuorvin.h"
#include "oradb/RoundTrips.h"
#include "oradb/TOraSession.h"
#include "support/Captura.h"
#include "support/Idas.h"
#include "support/Tabela.h"

namespace {

constexpr long long kPrimeiraVenda = 9770000;
using Clock = std::chrono::steady_clock;

int Inteiro(const char* nome, int padrao) {
  const char* valor = std::getenv(nome);
  return valor != nullptr && std::atoi(valor) > 0 ? std::atoi(valor) : padrao;
}

void Limpar(host::THostQuorvin& host) {
  TOraTransaction limpeza(host.Sessao());
  host.Sessao().ExecuteScript("DELETE FROM ZTPREST WHERE NUMTRANSVENDA BETWEEN " + std::to_string(kPrimeiraVenda) +
                              " AND " + std::to_string(kPrimeiraVenda + 999999) + ";");
  limpeza.Commit();
}

TContasReceberZTPrest Titulo(long long venda) {
  TContasReceberZTPrest t;
  t.CODFILIAL = "1";
  t.NUMTRANSVENDA = static_cast<double>(venda);
  t.DUPLIC = static_cast<double>(venda);
  t.DTVENC = TDateTime::EncodeDate(2031, 5, 10);
  t.DTEMISSAO = TDateTime::EncodeDate(2031, 4, 10);
  t.CODCOB = "D";
  t.VALOR = 123.45;
  t.CODCLI = 1;
  t.CODUSUR = 1;
  return t;
}

// Every occurrence of `de` in `texto` replaced by `para`.
std::string Trocar(std::string texto, const std::string& de, const std::string& para) {
  for (std::size_t posicao = texto.find(de); posicao != std::string::npos; posicao = texto.find(de, posicao)) {
    texto.replace(posicao, de.size(), para);
    posicao += para.size();
  }
  return texto;
}

bool Ok(PGresult* resultado) {
  const ExecStatusType estado = PQresultStatus(resultado);
  const bool ok = estado == PGRES_COMMAND_OK || estado == PGRES_TUPLES_OK;
  if (!ok) std::cerr << "libpq: " << PQresultErrorMessage(resultado);
  PQclear(resultado);
  return ok;
}

}  // namespace

int main() {
  const char* dsn = std::getenv("QUORVIN_DSN");
  if (dsn == nullptr || *dsn == '\0') {
    std::cerr << "bench_receivable_incluir: QUORVIN_DSN não definido.\n";
    return 2;
  }
  const int titulos = Inteiro("QUORVIN_BENCH_TITLES", 500);
  try {
    host::THostConfig config;
    config.Dsn = dsn;
    config.Matricula = 1;
    config.Programa = "bench_receivable_incluir";
    host::THostQuorvin host(config);
    auto* gerente = new TGerenteFinanceiro(&host);  // owned by the host component
    host.SetGerenteFinanceiro(gerente);
    IFin_ContasReceber& area = *gerente->GetContasReceber();
    Limpar(host);

    long long venda = kPrimeiraVenda;
    const auto incluirUm = [&] {
      TOraTransaction transacao(host.Sessao());
      TContasReceberZTPrest t = Titulo(venda++);
      area.Incluir(t);
      transacao.Commit();
    };
    for (int aquecimento = 0; aquecimento < 20; ++aquecimento) incluirUm();
    // The block and the read, as the server received them for one title.
    const std::string capturada = std::to_string(venda);
    std::string bloco;
    std::string leitura;
    for (const bench::Comando& comando : bench::Capturar(host.Sessao(), [&] {
           TContasReceberZTPrest t = Titulo(venda++);
           area.Incluir(t);
         })) {
      if (comando.Texto.rfind("DO ", 0) == 0) bloco = comando.Texto;
      if (comando.Texto.find("FNC_GETPROXIMAPREST($1)") != std::string::npos) leitura = comando.Texto;
    }
    if (bloco.empty() || leitura.empty() || bloco.find(capturada) == std::string::npos) {
      std::cerr << "bench_receivable_incluir: o bloco de inclusão ou a leitura da prestação não foram capturados.\n";
      return 1;
    }
    Clock::duration tempo_modulo{};
    std::uint64_t idas_modulo = 0;
    for (int i = 0; i < titulos; ++i) {
      const auto inicio = Clock::now();
      const std::uint64_t antes = oradb::RoundTrips(host.Sessao());
      incluirUm();
      idas_modulo += oradb::RoundTrips(host.Sessao()) - antes;
      tempo_modulo += Clock::now() - inicio;
    }
    Limpar(host);

    PGconn* conexao = PQconnectdb(dsn);
    if (PQstatus(conexao) != CONNECTION_OK) {
      std::cerr << "libpq: " << PQerrorMessage(conexao);
      PQfinish(conexao);
      return 1;
    }
    if (!Ok(PQexec(conexao, "SET search_path TO oracle, pg_catalog, \"$user\", public")) ||
        !Ok(PQprepare(conexao, "prestacao", leitura.c_str(), 1, nullptr))) {
      PQfinish(conexao);
      return 1;
    }
    venda = kPrimeiraVenda;
    bench::IdasPiso() = 0;
    const auto inicio_piso = Clock::now();
    for (int i = 0; i < titulos; ++i) {
      const std::string numero = std::to_string(venda++);
      const std::string texto = Trocar(bloco, capturada, numero);
      const char* valores[] = {numero.c_str()};
      if (!Ok(bench::Exec(conexao, "BEGIN")) || !Ok(bench::Exec(conexao, texto.c_str())) ||
          !Ok(bench::ExecPrepared(conexao, "prestacao", 1, valores)) || !Ok(bench::Exec(conexao, "COMMIT"))) {
        PQfinish(conexao);
        return 1;
      }
    }
    const Clock::duration tempo_piso = Clock::now() - inicio_piso;
    const std::uint64_t idas_piso = bench::IdasPiso();
    Limpar(host);

    if (!Ok(PQprepare(conexao, "incluir",
                      "INSERT INTO ztprest (codfilial, numtransvenda, prest, duplic, dtvenc, dtvencorig, dtemissao, "
                      "dtemissaoorig, codcob, codcoborig, valor, valororig, codcli, status, codusur, dtultalter, "
                      "codfuncultalter) VALUES ('1', $1, fnc_getproximaprest($1), $1, '2031-05-10', '2031-05-10', "
                      "'2031-04-10', '2031-04-10', 'D', 'D', 123.45, 123.45, 1, 'A', 1, date_trunc('day', "
                      "localtimestamp(0)), 1) RETURNING prest",
                      0, nullptr))) {
      PQfinish(conexao);
      return 1;
    }
    venda = kPrimeiraVenda;
    bench::IdasPiso() = 0;
    const auto inicio_insert = Clock::now();
    for (int i = 0; i < titulos; ++i) {
      const std::string numero = std::to_string(venda++);
      const char* valores[] = {numero.c_str()};
      if (!Ok(bench::Exec(conexao, "BEGIN")) || !Ok(bench::ExecPrepared(conexao, "incluir", 1, valores)) ||
          !Ok(bench::Exec(conexao, "COMMIT"))) {
        PQfinish(conexao);
        return 1;
      }
    }
    const Clock::duration tempo_insert = Clock::now() - inicio_insert;
    PQfinish(conexao);
    Limpar(host);

    const double n = titulos;
    const double modulo = n / std::chrono::duration<double>(tempo_modulo).count();
    const double fundo = n / std::chrono::duration<double>(tempo_piso).count();
    const double insert = n / std::chrono::duration<double>(tempo_insert).count();
    std::printf("bench_receivable_incluir: %d titles per side\n", titulos);
    std::printf("  Incluir (module):                %8.1f titles/s\n", modulo);
    std::printf("  floor (block and read, libpq):   %8.1f titles/s\n", fundo);
    std::printf("  module / floor:                  %8.3f\n", modulo / fundo);
    std::printf("  plain INSERT (reference):        %8.1f titles/s\n", insert);
    bench::LinhaTabela("ContasReceber.Incluir, um título", true, modulo, static_cast<double>(idas_modulo) / n);
    bench::LinhaTabela("ContasReceber.Incluir, um título", false, fundo, static_cast<double>(idas_piso) / n);
    bench::LinhaTabela("ContasReceber.Incluir, INSERT simples (referência)", false, insert,
                       static_cast<double>(bench::IdasPiso()) / n);
  } catch (const std::exception& erro) {
    std::cerr << "bench_receivable_incluir: " << erro.what() << "\n";
    return 1;
  }
  return 0;
}
