// Rebuild of the running balance of one account with 1,000,000 movements (QUORVIN_BENCH_REBUILD):
// movements per second and peak memory of the cash area, a tenth of the history first so the peak
// shows it does not grow with the rows, beside the same statements sent through bare libpq. Then cash
// movements posted one per transaction, beside the very statements one posting sends, captured
// from the server's log and replayed through bare libpq.
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include <libpq-fe.h>

#include "cash/Uclsfin_dalmovimentacaonumerarios.h"
#include "frame/Uclsgerentefinanceiro.h"
#include "host/THostQuorvin.h"
#include "oradb/RoundTrips.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "support/Captura.h"
#include "support/Idas.h"
#include "support/Tabela.h"

namespace {

// Movements of the rebuilt account, one every 7 minutes from 2020-01-01.
const int kMovimentos = bench::Inteiro("QUORVIN_BENCH_REBUILD", 1000000);
constexpr int kBanco = 9801;
constexpr const char* kCob = "BEN";

double Segundos(const std::function<void()>& trabalho) {
  const auto inicio = std::chrono::steady_clock::now();
  trabalho();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
}

void Preparar(TOraSession& sessao) {
  TOraTransaction transacao(sessao);
  const std::string conta = std::to_string(kBanco);
  sessao.ExecuteScript("DELETE FROM ztmovcr WHERE codbanco = " + conta + " AND codcob = '" + kCob +
                       "';\n"
                       "DELETE FROM ztestcr WHERE codbanco = " +
                       conta + " AND codcob = '" + kCob +
                       "';\n"
                       "INSERT INTO ztmovcr (numtrans, data, codbanco, codcob, historico, valor, tipo, vlsaldo,\n"
                       "                     conciliacao, dtconcil, dtcompensacao)\n"
                       "SELECT 5000000 + g, timestamp '2020-01-01' + g * interval '7 minutes', " +
                       conta + ", '" + kCob +
                       "', 'MOVIMENTO ' || g,\n"
                       "       (g % 97) + 0.25, CASE WHEN g % 3 = 0 THEN 'C' ELSE 'D' END, 0,\n"
                       "       CASE WHEN g % 2 = 0 THEN 'OK' END,\n"
                       "       CASE WHEN g % 2 = 0 THEN timestamp '2020-01-01' + g * interval '7 minutes' END,\n"
                       "       CASE WHEN g % 2 = 0 THEN date_trunc('day', timestamp '2020-01-02' + g * interval '7 "
                       "minutes') END\n"
                       "  FROM generate_series(1, " +
                       std::to_string(kMovimentos) + ") g;\n");
  transacao.Commit();
  sessao.ExecuteScript("ANALYZE ztmovcr;");
}

double SaldoGravado(TOraSession& sessao) {
  TOraQuery query(&sessao);
  query.SQL.Add("SELECT VALOR FROM ZTESTCR WHERE CODBANCO = :B AND CODCOB = :C");
  query.ParamByName("B").SetAsInteger(kBanco);
  query.ParamByName("C").SetAsString(kCob);
  query.Open();
  return query.IsEmpty() ? 0 : query.FieldByName("VALOR").AsFloat();
}

// The plain rebuild as the cash area runs it, over the movements up to `fim`, rolled back after.
void RecalcularModulo(host::THostQuorvin& host, TDALMovimentacaoNumerarios& dal, TDateTime fim, const char* rotulo,
                      bool tabela) {
  long movimentos = 0;
  {
    TOraQuery contagem(&host.Sessao());
    contagem.SQL.Add("SELECT COUNT(*) QTD FROM ZTMOVCR WHERE CODBANCO = :B AND CODCOB = :C AND TRUNC(DATA) <= :FIM");
    contagem.ParamByName("B").SetAsInteger(kBanco);
    contagem.ParamByName("C").SetAsString(kCob);
    contagem.ParamByName("FIM").SetAsDate(fim);
    contagem.Open();
    movimentos = static_cast<long>(contagem.FieldByName("QTD").AsInteger());
  }
  RFin_RecalculaNumerario p;
  p.Inicializar();
  p.CODBANCO = kBanco;
  p.CODCOB = kCob;
  p.DATAINICIAL = TDateTime::EncodeDate(2019, 1, 1);
  p.DATAFINAL = fim;
  std::string mensagem;
  bool ok = false;
  double saldo = 0;
  TOraTransaction transacao(host.Sessao());
  const std::uint64_t antes = oradb::RoundTrips(host.Sessao());
  const double segundos = Segundos([&] { ok = dal.RecalcularSaldoZTMOVCR(p, mensagem); });
  const double idas = static_cast<double>(oradb::RoundTrips(host.Sessao()) - antes) / static_cast<double>(movimentos);
  saldo = SaldoGravado(host.Sessao());
  transacao.Rollback();
  std::printf("%-34s %7ld movimentos  %6.2f s  %9.0f mov/s  pico de memória %6ld KB  saldo %.2f%s%s\n", rotulo,
              movimentos, segundos, movimentos / segundos, bench::PicoMemoriaKb(), saldo,
              ok ? "" : "  FALHOU: ", mensagem.c_str());
  if (tabela) bench::LinhaTabela("recálculo do saldo (movimentos)", true, movimentos / segundos, idas);
}

// The physical floor: the same cursor and the same update per movement through libpq alone.
void RecalcularLibpq(const std::string& dsn) {
  PGconn* conexao = PQconnectdb(dsn.c_str());
  if (PQstatus(conexao) != CONNECTION_OK) {
    std::printf("libpq: %s\n", PQerrorMessage(conexao));
    PQfinish(conexao);
    return;
  }
  auto executar = [&](const char* sql) { PQclear(bench::Exec(conexao, sql)); };
  const std::uint64_t idas = bench::IdasPiso();
  const double segundos = Segundos([&] {
    executar("BEGIN");
    const std::string cursor =
        "DECLARE movimentos NO SCROLL CURSOR FOR SELECT rowid, numtrans, valor, tipo FROM "
        "ztmovcr WHERE codbanco = " +
        std::to_string(kBanco) + " AND codcob = '" + kCob + "' ORDER BY data, numtrans";
    executar(cursor.c_str());
    PQclear(
        PQprepare(conexao, "gravar", "UPDATE ztmovcr SET vlsaldo = $1 WHERE numtrans = $2 AND rowid = $3", 3, nullptr));
    double saldo = 0;
    for (;;) {
      PGresult* lote = bench::Exec(conexao, "FETCH 1000 FROM movimentos");
      const int linhas = PQntuples(lote);
      for (int i = 0; i < linhas; ++i) {
        const double valor = std::atof(PQgetvalue(lote, i, 2));
        const std::string tipo = PQgetvalue(lote, i, 3);
        saldo += tipo == "D" ? valor : tipo == "C" ? -valor : 0;
        char texto[64];
        std::snprintf(texto, sizeof texto, "%.2f", saldo);
        const char* valores[3] = {texto, PQgetvalue(lote, i, 1), PQgetvalue(lote, i, 0)};
        PQclear(bench::ExecPrepared(conexao, "gravar", 3, valores));
      }
      PQclear(lote);
      if (linhas == 0) break;
    }
    executar("ROLLBACK");
  });
  std::printf("%-34s %7d movimentos  %6.2f s  %9.0f mov/s\n", "mesmas instruções só com libpq", kMovimentos, segundos,
              kMovimentos / segundos);
  bench::LinhaTabela("recálculo do saldo (movimentos)", false, kMovimentos / segundos,
                     static_cast<double>(bench::IdasPiso() - idas) / kMovimentos);
  PQfinish(conexao);
}

constexpr int kBancoMovimentos = 9802;

void LimparMovimentos(TOraSession& sessao) {
  TOraTransaction transacao(sessao);
  const std::string conta = std::to_string(kBancoMovimentos);
  sessao.ExecuteScript("DELETE FROM ztmovcr WHERE codbanco = " + conta +
                       "; DELETE FROM ztestcr WHERE codbanco = " + conta + ";");
  transacao.Commit();
}

void IncluirMovimento(IGerenteFinanceiro& gerente, int i) {
  RFin_IncluirMovimentacaoNumerarios m;
  m.Inicializar();
  m.DATA = TDateTime::EncodeDate(2031, 3, 10);
  m.CODBANCO = kBancoMovimentos;
  m.CODCOB = "D";
  m.VALOR = 10 + (i % 100) * 0.01;
  m.TIPO = i % 2 == 0 ? "D" : "C";
  m.HISTORICO = "MOVIMENTO BENCH";
  m.INDICE = "A";
  gerente.GetMovimentacaoNumerarios()->Incluir(m);
}

// Movements per second through IFin_MovimentacaoNumerarios::Incluir, one transaction each, in
// alternating batches with the floor, and the round trips of each side per movement.
void Movimentos(host::THostQuorvin& host, IGerenteFinanceiro& gerente, const std::string& dsn) {
  const int lotes = bench::Inteiro("QUORVIN_BENCH_BATCHES", 10);
  const int por_lote = bench::Inteiro("QUORVIN_BENCH_BATCH_SIZE", 200);
  LimparMovimentos(host.Sessao());
  int i = 0;
  const auto incluir = [&] {
    TOraTransaction transacao(host.Sessao());
    IncluirMovimento(gerente, i++);
    transacao.Commit();
  };
  for (int aquecimento = 0; aquecimento < 20; ++aquecimento) incluir();
  bench::PisoLibpq piso(dsn, bench::Capturar(host.Sessao(), [&] { IncluirMovimento(gerente, i++); }));
  for (int aquecimento = 0; aquecimento < 20; ++aquecimento) piso.Executar({});
  double modulo = 0;
  double fundo = 0;
  std::uint64_t idas = 0;
  for (int lote = 0; lote < lotes; ++lote) {
    modulo += Segundos([&] {
      const std::uint64_t antes = oradb::RoundTrips(host.Sessao());
      for (int n = 0; n < por_lote; ++n) incluir();
      idas += oradb::RoundTrips(host.Sessao()) - antes;
    });
    fundo += Segundos([&] {
      for (int n = 0; n < por_lote; ++n) piso.Executar({});
    });
  }
  const double total = static_cast<double>(lotes) * por_lote;
  std::printf("%-34s %7.0f movimentos  %9.0f mov/s  %5.2f idas por movimento\n", "movimentos pelo módulo", total,
              total / modulo, static_cast<double>(idas) / total);
  std::printf("%-34s %7.0f movimentos  %9.0f mov/s  %5zu idas por movimento\n", "mesmas instruções só com libpq", total,
              total / fundo, piso.Quantidade() + 2);
  // The floor's round trips are its statements plus BEGIN and COMMIT.
  bench::LinhaTabela("movimento de caixa incluído", true, total / modulo, static_cast<double>(idas) / total);
  bench::LinhaTabela("movimento de caixa incluído", false, total / fundo, static_cast<double>(piso.Quantidade() + 2));
  LimparMovimentos(host.Sessao());
}

}  // namespace

int main() {
  const char* dsn = std::getenv("QUORVIN_DSN");
  if (dsn == nullptr || *dsn == '\0') {
    std::fprintf(stderr, "bench_cash: defina QUORVIN_DSN (scripts/bench.sh faz isso)\n");
    return 2;
  }
  try {
    host::THostConfig config;
    config.Dsn = dsn;
    config.Matricula = 1;
    config.Programa = "bench_cash";
    host::THostQuorvin host(config);
    auto* dal = new TDALMovimentacaoNumerarios(&host);  // owned by the host
    auto* gerente = new TGerenteFinanceiro(&host);      // owned by the host
    host.SetGerenteFinanceiro(gerente);
    std::printf("Preparando %d movimentos da conta %d...\n", kMovimentos, kBanco);
    Preparar(host.Sessao());
    std::printf("pico de memória após a preparação: %ld KB\n", bench::PicoMemoriaKb());
    // A tenth of the history first: the peak must not grow with the number of movements.
    const TDateTime decimo = TDateTime::EncodeDate(2020, 1, 1) + kMovimentos / 10 * 7.0 / (24 * 60);
    RecalcularModulo(host, *dal, decimo, "recálculo do saldo (1/10)", false);
    RecalcularModulo(host, *dal, TDateTime::EncodeDate(2099, 1, 1), "recálculo do saldo (conta inteira)", true);
    RecalcularLibpq(dsn);
    Movimentos(host, *gerente, dsn);
    TOraTransaction limpeza(host.Sessao());
    host.Sessao().ExecuteScript("DELETE FROM ztmovcr WHERE codbanco = " + std::to_string(kBanco) + ";");
    limpeza.Commit();
  } catch (const Exception& e) {
    std::fprintf(stderr, "bench_cash: %s: %s\n", e.ClassName(), e.Message().c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_cash: %s\n", e.what());
    return 1;
  }
  return 0;
}
