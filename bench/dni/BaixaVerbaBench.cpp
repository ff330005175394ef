// Allowances settled per second with unidentified deposits: each settlement lists the bank's open
// deposits, reconciles the one picked and clears it with its debit movement, in one transaction,
// against the floor: the very statements one settlement sends, captured from the server's
// statement log and replayed through bare libpq with prepared statements. Before each settlement
// (outside the timing) one open deposit is posted and each side settles the one it posted: the
// floor's replay takes that deposit's row address and number in place of the captured ones, so it
// reconciles a real open deposit as the module does, and neither side leaves open deposits behind
// for the next listing.

#include <libpq-fe.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "dni/Uclsfin_blldepositonaoidentificadocomverba.h"
#include "frame/Uclsgerentefinanceiro.h"
#include "host/THostQuorvin.h"
#include "oradb/RoundTrips.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "support/Captura.h"
#include "support/Tabela.h"

namespace {

constexpr int kBanco = 9843;
using bench::Inteiro;
using Clock = std::chrono::steady_clock;

void Limpar(host::THostQuorvin& host) {
  TOraTransaction limpeza(host.Sessao());
  const std::string banco = std::to_string(kBanco);
  host.Sessao().ExecuteScript("DELETE FROM ZTMOVCR WHERE CODBANCO = " + banco +
                              "; DELETE FROM ZTESTCR WHERE CODBANCO = " + banco + ";");
  limpeza.Commit();
}

// The row address of a bank movement, read outside the timing.
std::string RowId(host::THostQuorvin& host, double numtrans) {
  return bench::Valor(host.Sessao(), "SELECT ROWID FROM ZTMOVCR WHERE CODBANCO = " + std::to_string(kBanco) +
                                         " AND NUMTRANS = " + std::to_string(static_cast<long long>(numtrans)));
}

// One committed open deposit of 100.00; answers its NUMTRANS.
double Depositar(host::THostQuorvin& host, IGerenteFinanceiro& gerente) {
  TOraTransaction transacao(host.Sessao());
  RFin_IncluirMovimentacaoNumerarios m;
  m.Inicializar();
  m.DATA = TDateTime::EncodeDate(2031, 3, 10);
  m.CODBANCO = kBanco;
  m.CODCOB = "DNI";
  m.VALOR = 100;
  m.TIPO = "C";
  m.HISTORICO = "DEPOSITO NAO IDENTIFICADO";
  m.INDICE = "A";
  gerente.GetMovimentacaoNumerarios()->Incluir(m);
  transacao.Commit();
  return m.NUMTRANS;
}

void Baixar(host::THostQuorvin& host, IGerenteFinanceiro& gerente, double deposito, double verba) {
  host.SetSeletorDNI([deposito](const TJanelaSelecaoDNI&, const TConfirmarSelecaoDNI& confirmar) {
    confirmar(TSelecaoDNI{{deposito}, TDateTime::EncodeDate(2031, 3, 11)});
    return TModalResult::mrOk;
  });
  gerente.GetDepositoNaoIdentificadoComVerba()->BaixarVerbaComDNI(8801, kBanco, verba, 100);
}

}  // namespace

int main() {
  const char* dsn = std::getenv("QUORVIN_DSN");
  if (dsn == nullptr || *dsn == '\0') {
    std::cerr << "bench_dni: QUORVIN_DSN não definido.\n";
    return 2;
  }
  const int lotes = Inteiro("QUORVIN_BENCH_BATCHES", 10);
  const int por_lote = Inteiro("QUORVIN_BENCH_BATCH_SIZE", 50);
  try {
    host::THostConfig config;
    config.Dsn = dsn;
    config.Matricula = 1;
    config.CodigoRotina = TBLLDepositoNaoIdentificadoComVerba::kRotinaBaixaVerbaComDNI;
    config.Programa = "bench_dni";
    host::THostQuorvin host(config);
    auto* gerente = new TGerenteFinanceiro(&host);  // owned by the host component
    host.SetGerenteFinanceiro(gerente);
    Limpar(host);
    double verba = 1;
    const auto baixarUma = [&](double deposito) {
      TOraTransaction transacao(host.Sessao());
      Baixar(host, *gerente, deposito, verba++);
      transacao.Commit();
    };
    for (int aquecimento = 0; aquecimento < 10; ++aquecimento) baixarUma(Depositar(host, *gerente));
    const double capturado = Depositar(host, *gerente);
    const std::string rowid_capturado = RowId(host, capturado);
    std::vector<bench::Comando> comandos =
        bench::Capturar(host.Sessao(), [&] { Baixar(host, *gerente, capturado, verba++); });
    if (Inteiro("QUORVIN_BENCH_VERBOSE", 0) != 0) {
      std::printf("-- captured deposit NUMTRANS %.0f\n", capturado);
      for (const bench::Comando& comando : comandos) {
        std::printf("-- parameters:");
        for (const auto& p : comando.Parametros) std::printf(" [%s]", p ? p->c_str() : "NULL");
        std::printf("\n%s\n", comando.Texto.c_str());
      }
    }
    // The module pastes the deposit's row address into two of its texts, which reach the server
    // with the address as a parameter: the floor's replay swaps it like the entry numbers.
    std::size_t enderecos = 0;
    for (const bench::Comando& comando : comandos) {
      for (const auto& parametro : comando.Parametros) enderecos += parametro && *parametro == rowid_capturado ? 1 : 0;
    }
    if (enderecos < 2) {
      std::cerr << "bench_dni: a captura não traz o endereço do depósito " << rowid_capturado << " duas vezes.\n";
      return 1;
    }
    const std::string numtrans_capturado = std::to_string(static_cast<long long>(capturado));
    bench::PisoLibpq piso(dsn, std::move(comandos));

    Clock::duration tempo_modulo{};
    Clock::duration tempo_piso{};
    std::uint64_t idas_modulo = 0;
    for (int lote = 0; lote < lotes; ++lote) {
      for (int i = 0; i < por_lote; ++i) {
        const double deposito = Depositar(host, *gerente);
        const auto inicio = Clock::now();
        const std::uint64_t antes = oradb::RoundTrips(host.Sessao());
        baixarUma(deposito);
        idas_modulo += oradb::RoundTrips(host.Sessao()) - antes;
        tempo_modulo += Clock::now() - inicio;
      }
      for (int i = 0; i < por_lote; ++i) {
        const double deposito = Depositar(host, *gerente);
        const std::map<std::string, std::string> troca = {
            {rowid_capturado, RowId(host, deposito)},
            {numtrans_capturado, std::to_string(static_cast<long long>(deposito))}};
        const auto inicio = Clock::now();
        piso.Executar(troca);
        tempo_piso += Clock::now() - inicio;
      }
    }
    // Every deposit posted was settled, by one side or the other: a floor that missed its deposit
    // would have listed a growing set and reconciled nothing.
    const std::string abertos =
        bench::Valor(host.Sessao(), "SELECT COUNT(*) FROM ZTMOVCR WHERE CODBANCO = " + std::to_string(kBanco) +
                                        " AND CODCOB = 'DNI' AND TIPO = 'C' AND NVL(CONCILIACAO, 'N') <> 'OK'");
    if (abertos != "0") {
      std::cerr << "bench_dni: " << abertos << " depósito(s) ficaram em aberto.\n";
      return 1;
    }
    const double baixas = static_cast<double>(lotes) * por_lote;
    const double modulo = baixas / std::chrono::duration<double>(tempo_modulo).count();
    const double fundo = baixas / std::chrono::duration<double>(tempo_piso).count();
    std::printf("bench_dni: %.0f settlements per side, %zu statements per settlement\n", baixas, piso.Quantidade());
    std::printf("  BaixarVerbaComDNI (module): %8.1f settlements/s\n", modulo);
    std::printf("  floor (bare libpq):         %8.1f settlements/s\n", fundo);
    std::printf("  module / floor:             %8.3f\n", modulo / fundo);
    // The module's round trips as its session counted them; the floor's are its statements plus
    // BEGIN and COMMIT.
    bench::LinhaTabela("BaixarVerbaComDNI, um DNI (por verba)", true, modulo,
                       static_cast<double>(idas_modulo) / baixas);
    bench::LinhaTabela("BaixarVerbaComDNI, um DNI (por verba)", false, fundo,
                       static_cast<double>(piso.Quantidade() + 2));
    Limpar(host);
  } catch (const std::exception& erro) {
    std::cerr << "bench_dni: " << erro.what() << "\n";
    return 1;
  }
  return 0;
}
