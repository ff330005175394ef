// Settlement of borderos of 100 entries, each with a discount and interest (two side entries per
// entry), then one cash movement per bordero: entries per second through the module, beside the
// same statements sent through bare libpq.
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <libpq-fe.h>

#include "frame/Uclsgerentefinanceiro.h"
#include "host/THostQuorvin.h"
#include "oradb/RoundTrips.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "support/Idas.h"
#include "support/Piso.h"
#include "support/Tabela.h"

namespace {

constexpr int kBorderos = 20;  // per side
constexpr int kLancamentos = 100;
constexpr int kBanco = 9834;
constexpr long long kPrimeiroRecNum = 88000000;
constexpr const char* kOperacao = "borderô de 100 lançamentos (por lançamento)";

double Segundos(const std::function<void()>& trabalho) {
  const auto inicio = std::chrono::steady_clock::now();
  trabalho();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
}

void Limpar(TOraSession& sessao) {
  TOraTransaction transacao(sessao);
  const std::string banco = std::to_string(kBanco);
  sessao.ExecuteScript("DELETE FROM ztlanc WHERE codfilial = '98'; DELETE FROM ztmovcr WHERE codbanco = " + banco +
                       "; DELETE FROM ztestcr WHERE codbanco = " + banco + ";");
  transacao.Commit();
}

// The open entries of bordero `bordero`, written directly (not timed).
void Preparar(TOraSession& sessao, int bordero) {
  TOraTransaction transacao(sessao);
  const long long inicio = kPrimeiroRecNum + static_cast<long long>(bordero) * kLancamentos;
  sessao.ExecuteScript(
      "INSERT INTO ztlanc (recnum, codfilial, codconta, codfornec, tipoparceiro, tipolanc, valor, "
      "descontofin, txperm, numbordero, historico, dtlanc, dtvenc) SELECT g, '98', 3101, 1, 'F', 'C', "
      "100, 2, 1.5, " +
      std::to_string(bordero) +
      ", 'BENCH', localtimestamp(0), localtimestamp(0) FROM "
      "generate_series(" +
      std::to_string(inicio) + ", " + std::to_string(inicio + kLancamentos - 1) + ") g;");
  transacao.Commit();
}

std::vector<RFin_IncluirContasPagar> Registros(int bordero) {
  std::vector<RFin_IncluirContasPagar> registros;
  const long long inicio = kPrimeiroRecNum + static_cast<long long>(bordero) * kLancamentos;
  for (int i = 0; i < kLancamentos; ++i) {
    RFin_IncluirContasPagar& r = registros.emplace_back();
    r.Inicializar();
    r.RECNUM = static_cast<double>(inicio + i);
    r.VALOR = 100;
    r.DESCONTOFIN = 2;
    r.TXPERM = 1.5;
    r.NUMBORDERO = bordero;
  }
  return registros;
}

// The module's side: one bordero settled through IFin_ContasPagar, its seconds and round trips added
// to the side's totals.
struct LadoModulo {
  double Segundos = 0;
  std::uint64_t Idas = 0;
};

void BorderoModulo(host::THostQuorvin& host, IGerenteFinanceiro& financeiro, int bordero, LadoModulo& lado) {
  IFin_ContasPagar& area = *financeiro.GetContasPagar();
  Preparar(host.Sessao(), bordero);
  std::vector<RFin_IncluirContasPagar> registros = Registros(bordero);
  lado.Segundos += Segundos([&] {
    const std::uint64_t antes = oradb::RoundTrips(host.Sessao());
    TOraTransaction transacao(host.Sessao());
    (void)area.BaixarBordero(bordero, 700000 + bordero, kLancamentos * 99.5, kBanco, "D", registros, "BENCH");
    transacao.Commit();
    lado.Idas += oradb::RoundTrips(host.Sessao()) - antes;
  });
}

void RelatarModulo(const LadoModulo& lado) {
  const double por_segundo = kBorderos * kLancamentos / lado.Segundos;
  std::printf("%-44s %6d lançamentos  %6.2f s  %8.0f lançamentos/s\n", "borderôs pelo módulo", kBorderos * kLancamentos,
              lado.Segundos, por_segundo);
  bench::LinhaTabela(kOperacao, true, por_segundo, static_cast<double>(lado.Idas) / (kBorderos * kLancamentos));
}

// The floor: per entry the allowance read, the settlement update, and per side entry the new
// number and the copy; per bordero the side entries' read, the balance under its lock, its update
// and the movement. Prepared once, one transaction per bordero.
void PrepararPiso(PGconn* conexao, bench::PisoPreparado& piso) {
  auto executar = [&](const char* sql) { PQclear(PQexec(conexao, sql)); };
  const std::string banco = std::to_string(kBanco);
  executar(("INSERT INTO ztestcr (codbanco, codcob, valor, valorconciliado) VALUES (" + banco +
            ", 'D', 0, 0) "
            "ON CONFLICT DO NOTHING")
               .c_str());
  piso.Preparar("verbas",
                "SELECT ztverba.codconta, sum(ztmovcrfor.valor) FROM ztverba JOIN ztmovcrfor ON ztverba.numverba = "
                "ztmovcrfor.numverba WHERE ztmovcrfor.numlanc = $1 AND ztverba.origem = 'C' AND "
                "ztmovcrfor.dtestorno IS NULL GROUP BY ztverba.codconta",
                1);
  piso.Preparar("quita",
                "UPDATE ztlanc SET vpago = coalesce(valor, 0) - coalesce(valordev, 0), vpagobordero = "
                "coalesce(valor, 0) - coalesce(valordev, 0) + coalesce(txperm, 0) - coalesce(descontofin, 0) + "
                "coalesce(vlvariacaocambial, 0), localizacao = coalesce(nullif(trim(localizacao), ''), $2), "
                "dtpagto = date_trunc('day', localtimestamp(0)), codfuncbaixa = 1, codrotinabaixa = 0, numbanco = "
                "$3, numtrans = $2::numeric, dtprocessamento = date_trunc('day', localtimestamp(0)), obsretorno = "
                "'BAIXA AUTOM. - ROTINA 740' WHERE dtpagto IS NULL AND recnum = $1",
                3);
  piso.Preparar("numero", "SELECT nextval('qv_recnum')", 0);
  // The copy names every column the module's copy names (the table's own, less those it sets).
  const char* const nao_copiadas[] = {
      "recnum",       "valor",       "vpagobordero",     "vpago",     "vlvariacaocambial",
      "valordev",     "txperm",      "descontofin",      "dtlanc",    "codrotinacad",
      "codconta",     "localizacao", "numseqbordero",    "historico", "historico2",
      "dtassinatura", "assinatura",  "moedaestrangeira", "cotacao",   "valormoedaestrangeira",
      "recnumbaixa",  "rowid"};
  PGresult* colunas = PQexec(conexao,
                             "SELECT column_name FROM information_schema.columns WHERE table_schema = 'public' AND "
                             "table_name = 'ztlanc' ORDER BY ordinal_position");
  std::string copiadas;
  for (int linha = 0; linha < PQntuples(colunas); ++linha) {
    const std::string coluna = PQgetvalue(colunas, linha, 0);
    bool copiar = true;
    for (const char* fora : nao_copiadas) copiar = copiar && coluna != fora;
    if (copiar) copiadas += coluna + ", ";
  }
  PQclear(colunas);
  const std::string copia =
      "INSERT INTO ztlanc (" + copiadas +
      "recnum, valor, vpagobordero, vpago, codconta, txperm, descontofin, vlvariacaocambial, numseqbordero, valordev, "
      "dtlanc, localizacao, historico, codrotinacad, recnumbaixa) SELECT " +
      copiadas +
      "$1, $2, $2, $2, $3, 0, 0, 0, 0, 0, date_trunc('day', localtimestamp(0)), numtrans::text, coalesce($4, "
      "historico), codrotinabaixa, recnum FROM ztlanc WHERE recnum = $5";
  piso.Preparar("copia", copia.c_str(), 5);
  piso.Preparar("adicionais",
                "SELECT ztlanc.codfilial, ztlanc.codconta, ztlanc.recnum, ztlanc.valor, ztlanc.dtlanc FROM ztlanc "
                "JOIN ztconta ON ztlanc.codconta = ztconta.codconta WHERE ztlanc.numbordero = $1 AND "
                "ztconta.usarateiocentrocusto = 'S' AND ztlanc.recnumbaixa > 0",
                1);
  piso.Preparar("saldo", "SELECT valor FROM ztestcr WHERE codcob = 'D' AND codbanco = $1 FOR UPDATE", 1);
  piso.Preparar("atualiza", "UPDATE ztestcr SET valor = valor - $1 WHERE codcob = 'D' AND codbanco = $2", 2);
  piso.Preparar("movimento",
                "INSERT INTO ztmovcr (numtrans, data, codbanco, codcob, historico, valor, tipo, numcarr) VALUES "
                "($1, date_trunc('day', localtimestamp), $2, 'D', 'BENCH', $3, 'C', $4)",
                4);
}

void BorderoPiso(bench::PisoPreparado& piso, TOraSession& sessao, int bordero) {
  const std::string banco = std::to_string(kBanco);
  {
    Preparar(sessao, bordero);
    const long long inicio = kPrimeiroRecNum + static_cast<long long>(bordero) * kLancamentos;
    const std::string numero_bordero = std::to_string(bordero);
    const std::string numtrans = std::to_string(700000 + bordero);
    piso.Transacao([&] {
      for (int i = 0; i < kLancamentos; ++i) {
        const std::string recnum = std::to_string(inicio + i);
        piso.Rodar("verbas", {recnum.c_str()});
        piso.Rodar("quita", {recnum.c_str(), numtrans.c_str(), banco.c_str()});
        const char* adicionais[2][3] = {{"-2", "3201", "DESCONTO FINANC. PAG. DUPLICATA"},
                                        {"1.5", "3202", "JUROS PAG. DUPLICATA"}};
        for (const auto& adicional : adicionais) {
          const std::string novo = piso.Rodar("numero").Valor;
          if (piso.Rodar("copia", {novo.c_str(), adicional[0], adicional[1], adicional[2], recnum.c_str()}).Linhas !=
              1) {
            std::fprintf(stderr, "bench_bordero: cópia no piso não copiou o lançamento %s\n", recnum.c_str());
            std::exit(1);
          }
        }
      }
      piso.Rodar("adicionais", {numero_bordero.c_str()});
      piso.Rodar("saldo", {banco.c_str()});
      piso.Rodar("atualiza", {"9950", banco.c_str()});
      piso.Rodar("movimento", {numtrans.c_str(), banco.c_str(), "9950", numero_bordero.c_str()});
    });
  }
}

}  // namespace

int main() {
  const char* dsn = std::getenv("QUORVIN_DSN");
  if (dsn == nullptr || *dsn == '\0') {
    std::fprintf(stderr, "bench_bordero: defina QUORVIN_DSN (scripts/bench.sh faz isso)\n");
    return 2;
  }
  try {
    host::THostConfig config;
    config.Dsn = dsn;
    config.Matricula = 1;
    config.Programa = "bench_bordero";
    host::THostQuorvin host(config);
    auto* gerente = new TGerenteFinanceiro(&host);  // owned by the host
    host.SetGerenteFinanceiro(gerente);
    Limpar(host.Sessao());
    host.DefinirParametro("CON_CODCONTANTPAG", "3201");
    host.DefinirParametro("CON_CODCONTPAGJUR", "3202");
    PGconn* conexao = PQconnectdb(dsn);
    if (PQstatus(conexao) != CONNECTION_OK) {
      std::fprintf(stderr, "bench_bordero: libpq: %s\n", PQerrorMessage(conexao));
      PQfinish(conexao);
      return 1;
    }
    bench::PisoPreparado piso(conexao, "bench_bordero");
    PrepararPiso(conexao, piso);
    // The sides take turns, one bordero each, so a change in the machine's load reaches both.
    LadoModulo modulo;
    for (int rodada = 1; rodada <= kBorderos; ++rodada) {
      BorderoModulo(host, *gerente, 2 * rodada - 1, modulo);
      BorderoPiso(piso, host.Sessao(), 2 * rodada);
    }
    RelatarModulo(modulo);
    piso.Relatar("mesmas instruções só com libpq", "lançamentos", kOperacao, kBorderos * kLancamentos);
    PQfinish(conexao);
    Limpar(host.Sessao());
  } catch (const Exception& e) {
    std::fprintf(stderr, "bench_bordero: %s: %s\n", e.ClassName(), e.Message().c_str());
    return 1;
  }
  return 0;
}
