// Payment tracking runs per second: the titles of one branch paid in a period (50 instalments of
// one sale, each with its invoice) traced to their invoices and written to the session's tracking
// rows, in one transaction, against the floor: the very statements one run sends, captured from
// the server's statement log and replayed through bare libpq with prepared statements. Each run
// deletes its kind's rows first, so both sides start from the same table.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "frame/Uclsgerentefinanceiro.h"
#include "host/THostQuorvin.h"
#include "oradb/RoundTrips.h"
#include "oradb/TClientDataSet.h"
#include "oradb/TOraSession.h"
#include "support/Captura.h"
#include "support/Tabela.h"

namespace {

constexpr int kTitulos = 50;
using bench::Inteiro;
using Clock = std::chrono::steady_clock;

void Limpar(TOraSession& sessao) {
  bench::ExecutarScript(sessao,
                        "DELETE FROM ztprest WHERE numtransvenda = 97950001;"
                        " DELETE FROM ztnfsaid WHERE numtransvenda = 97950001;");
}

// One sale of kTitulos paid instalments of branch 95 and its invoice, committed.
void Preparar(TOraSession& sessao) {
  Limpar(sessao);
  bench::ExecutarScript(
      sessao,
      "INSERT INTO ztnfsaid (numtransvenda, numnota, codcli, vltotger) VALUES (97950001, 97950001, 601, 5000);"
      " INSERT INTO ztprest (numtransvenda, prest, duplic, codfilial, codcli, codcob, dtvenc, dtpag, valor, vpago)"
      " SELECT 97950001, g::text, 97950001, '95', 601, 'BK', DATE '2031-03-01', DATE '2031-03-10', 100, 100"
      " FROM generate_series(1, " +
          std::to_string(kTitulos) + ") g;");
}

void Rastrear(IGerenteFinanceiro& gerente, TOraSession& sessao) {
  RFin_PeriodoData periodo;
  periodo.DataInicial = TDateTime::EncodeDate(2031, 3, 1);
  periodo.DataFinal = TDateTime::EncodeDate(2031, 3, 31);
  TClientDataSet resultado;
  gerente.GetContasReceber()->CarregarPagamentos(sessao, "'95'", periodo, TStatusRastreamentoTitulos::srtTodos,
                                                 TTipoRegistrosRastreamento::trrRelatorio,
                                                 TPersistenciaDados::tpdTabelaTemporaria, resultado);
  if (resultado.RecordCount() != static_cast<std::size_t>(kTitulos)) {
    throw std::runtime_error("esperadas " + std::to_string(kTitulos) + " linhas de rastreio, vieram " +
                             std::to_string(resultado.RecordCount()));
  }
}

}  // namespace

int main() {
  const char* dsn = std::getenv("QUORVIN_DSN");
  if (dsn == nullptr || *dsn == '\0') {
    std::cerr << "bench_receivable_rastreamento: QUORVIN_DSN não definido.\n";
    return 2;
  }
  const int execucoes = Inteiro("QUORVIN_BENCH_BATCHES", 10) * Inteiro("QUORVIN_BENCH_BATCH_SIZE", 20);
  try {
    host::THostConfig config;
    config.Dsn = dsn;
    config.Matricula = 1;
    config.Programa = "bench_receivable_rastreamento";
    host::THostQuorvin host(config);
    auto* gerente = new TGerenteFinanceiro(&host);  // owned by the host component
    host.SetGerenteFinanceiro(gerente);
    TOraSession& sessao = host.Sessao();
    Preparar(sessao);
    const auto rastrearUma = [&] {
      TOraTransaction transacao(sessao);
      Rastrear(*gerente, sessao);
      transacao.Commit();
    };
    for (int aquecimento = 0; aquecimento < 5; ++aquecimento) rastrearUma();
    std::vector<bench::Comando> comandos = bench::Capturar(sessao, [&] { Rastrear(*gerente, sessao); });
    bench::PisoLibpq piso(dsn, std::move(comandos));

    Clock::duration tempo_modulo{};
    Clock::duration tempo_piso{};
    std::uint64_t idas_modulo = 0;
    for (int i = 0; i < execucoes; ++i) {
      const auto inicio = Clock::now();
      const std::uint64_t antes = oradb::RoundTrips(sessao);
      rastrearUma();
      idas_modulo += oradb::RoundTrips(sessao) - antes;
      tempo_modulo += Clock::now() - inicio;
      const auto inicio_piso = Clock::now();
      piso.Executar({});
      tempo_piso += Clock::now() - inicio_piso;
    }
    const double modulo = execucoes / std::chrono::duration<double>(tempo_modulo).count();
    const double fundo = execucoes / std::chrono::duration<double>(tempo_piso).count();
    std::printf("bench_receivable_rastreamento: %d runs per side of %d titles, %zu statements per run\n", execucoes,
                kTitulos, piso.Quantidade());
    std::printf("  CarregarPagamentos (module): %8.1f runs/s\n", modulo);
    std::printf("  floor (bare libpq):          %8.1f runs/s\n", fundo);
    std::printf("  module / floor:              %8.3f\n", modulo / fundo);
    bench::LinhaTabela("rastreio de pagamentos, 50 títulos (por rodada)", true, modulo,
                       static_cast<double>(idas_modulo) / execucoes);
    bench::LinhaTabela("rastreio de pagamentos, 50 títulos (por rodada)", false, fundo,
                       static_cast<double>(piso.Quantidade() + 2));
    Limpar(sessao);
  } catch (const std::exception& erro) {
    std::cerr << "bench_receivable_rastreamento: " << erro.what() << "\n";
    return 1;
  }
  return 0;
}
