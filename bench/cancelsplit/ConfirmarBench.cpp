// Cancellations of a split per second: a title split into two is listed (mapping, rows, copies,
// validation chain) and confirmed (rows locked, a fresh listing compared, the title restored, the
// reversal linked and the two titles settled through the receivable object), in one transaction,
// against the floor: the very statements one cancellation sends, captured from the server's
// statement log and replayed through bare libpq with prepared statements. Before each run (outside
// the timing) the split is written afresh under the same sale, so both sides find the same rows.

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
#include "rtl/Exception.h"
#include "support/Captura.h"
#include "support/Tabela.h"

namespace {

constexpr const char* kVenda = "97900001";
using bench::Inteiro;
using Clock = std::chrono::steady_clock;

void Limpar(TOraSession& sessao) {
  TOraTransaction limpeza(sessao);
  const std::string venda = kVenda;
  sessao.ExecuteScript("DELETE FROM ZTPREST WHERE NUMTRANSVENDA = " + venda +
                       "; DELETE FROM ZTDESDPREST WHERE NUMTRANSVENDA = " + venda +
                       "; DELETE FROM ZTDESD WHERE NUMTRANSVENDAORIG = " + venda + ";");
  limpeza.Commit();
}

// Title 1 of 300,00 split into 2 (180,00) and 3 (120,00), committed.
void Desdobrar(TOraSession& sessao) {
  Limpar(sessao);
  TOraTransaction transacao(sessao);
  const std::string venda = kVenda;
  sessao.ExecuteScript(
      "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, CODCLI, CODCOB, VALOR, VPAGO, DTPAG, DTVENC) VALUES (" + venda +
      ", '1', 601, 'DESD', 300, 300, DATE '2031-01-05', DATE '2031-02-05'), (" + venda +
      ", '2', 601, 'BK', 180, NULL, NULL, DATE '2031-02-05'), (" + venda +
      ", '3', 601, 'BK', 120, NULL, NULL, DATE '2031-02-05');"
      "INSERT INTO ZTDESDPREST (NUMTRANSVENDA, PREST, CODCLI, CODCOB, VALOR, DTVENC, OPERACAODESD, QTREPLICAS) "
      "VALUES (" +
      venda + ", '1', 601, 'BK', 300, DATE '2031-02-05', 'TONormal', 0);" +
      "INSERT INTO ZTDESD (NUMTRANSVENDAORIG, PRESTORIG, NUMTRANSVENDADEST, PRESTDEST) VALUES (" + venda + ", '1', " +
      venda + ", '2'), (" + venda + ", '1', " + venda + ", '3');");
  transacao.Commit();
}

void Cancelar(IGerenteFinanceiro& gerente) {
  IFin_CancelarDesdobramento& cancelamento = *gerente.CancelarDesdobramento(tmZTPrest);
  (void)cancelamento.ListaAcoes({std::make_shared<TRegistroZtPrest>(std::stoll(kVenda), "1")});
  cancelamento.Confirmar();
}

}  // namespace

int main() {
  const char* dsn = std::getenv("QUORVIN_DSN");
  if (dsn == nullptr || *dsn == '\0') {
    std::cerr << "bench_cancelsplit_confirmar: QUORVIN_DSN não definido.\n";
    return 2;
  }
  const int execucoes = Inteiro("QUORVIN_BENCH_BATCHES", 10) * Inteiro("QUORVIN_BENCH_BATCH_SIZE", 20);
  try {
    host::THostConfig config;
    config.Dsn = dsn;
    config.Matricula = 1;
    config.Programa = "bench_cancelsplit_confirmar";
    host::THostQuorvin host(config);
    auto* gerente = new TGerenteFinanceiro(&host);  // owned by the host component
    host.SetGerenteFinanceiro(gerente);
    TOraSession& sessao = host.Sessao();
    const auto cancelarUma = [&] {
      TOraTransaction transacao(sessao);
      Cancelar(*gerente);
      transacao.Commit();
    };
    for (int aquecimento = 0; aquecimento < 5; ++aquecimento) {
      Desdobrar(sessao);
      cancelarUma();
    }
    Desdobrar(sessao);
    std::vector<bench::Comando> comandos = bench::Capturar(sessao, [&] { Cancelar(*gerente); });
    bench::PisoLibpq piso(dsn, std::move(comandos));

    Clock::duration tempo_modulo{};
    Clock::duration tempo_piso{};
    std::uint64_t idas_modulo = 0;
    for (int i = 0; i < execucoes; ++i) {
      Desdobrar(sessao);
      const auto inicio = Clock::now();
      const std::uint64_t antes = oradb::RoundTrips(sessao);
      cancelarUma();
      idas_modulo += oradb::RoundTrips(sessao) - antes;
      tempo_modulo += Clock::now() - inicio;
      Desdobrar(sessao);
      const auto inicio_piso = Clock::now();
      piso.Executar({});
      tempo_piso += Clock::now() - inicio_piso;
    }
    const double modulo = execucoes / std::chrono::duration<double>(tempo_modulo).count();
    const double fundo = execucoes / std::chrono::duration<double>(tempo_piso).count();
    std::printf("bench_cancelsplit_confirmar: %d cancellations per side, %zu statements per cancellation\n", execucoes,
                piso.Quantidade());
    std::printf("  ListaAcoes + Confirmar (module): %8.1f cancellations/s\n", modulo);
    std::printf("  floor (bare libpq):              %8.1f cancellations/s\n", fundo);
    std::printf("  module / floor:                  %8.3f\n", modulo / fundo);
    // The module's round trips as its session counted them; the floor's are its statements plus
    // BEGIN and COMMIT.
    bench::LinhaTabela("cancelar desdobramento, título em dois", true, modulo,
                       static_cast<double>(idas_modulo) / execucoes);
    bench::LinhaTabela("cancelar desdobramento, título em dois", false, fundo,
                       static_cast<double>(piso.Quantidade() + 2));
    Limpar(sessao);
  } catch (const std::exception& erro) {
    std::cerr << "bench_cancelsplit_confirmar: " << erro.what() << "\n";
    return 1;
  }
  return 0;
}
