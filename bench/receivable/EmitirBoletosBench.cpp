// Issuing slips for a batch of sales (three titles each): titles per second through the module,
// once generating the bank data only and once printing one PDF per title as well, beside the floor:
// the very statements one issue sends (access to the sale, titles, banks, their lock, the package
// per title, print data, branch, server date), captured from the server's statement log and replayed
// through bare libpq. Before each issue (outside the timing) the titles lose their bank data and the
// folder its files, so every side generates and writes the same.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "frame/Uclsgerentefinanceiro.h"
#include "host/THostQuorvin.h"
#include "oradb/RoundTrips.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "sdk/ZTCore.h"
#include "sdk/fin/IFin_ContasReceber.h"
#include "support/Captura.h"
#include "support/Tabela.h"

namespace {

constexpr int kPrimeiraVenda = 8610000;
constexpr int kTitulosPorVenda = 3;
using bench::Inteiro;
using Clock = std::chrono::steady_clock;

void Script(TOraSession& sessao, const std::string& sql) {
  TOraTransaction transacao(sessao);
  sessao.ExecuteScript(sql);
  transacao.Commit();
}

void Limpar(TOraSession& sessao) {
  Script(sessao,
         "DELETE FROM ztprest WHERE numtransvenda BETWEEN 8610000 AND 8619999;"
         " DELETE FROM ztnfsaid WHERE numtransvenda BETWEEN 8610000 AND 8619999;"
         " DELETE FROM ztbanconossonumero WHERE codbanco IN (8611, 8612);"
         " DELETE FROM ztcob WHERE codcob IN ('BEB1', 'BEB2'); DELETE FROM ztbanco WHERE codbanco IN (8611, "
         "8612); DELETE FROM ztclient WHERE codcli = 86101;"
         " DELETE FROM ztparametros WHERE nome IN ('GERARARQUIVOSPDFBOLETOS', 'DIRETORIOARQUIVOSPDFBOLETOS');");
}

// Two banks, a payer and `vendas` sales: instalments 1 and 2 on the first bank, 3 on the second.
void Preparar(TOraSession& sessao, int vendas, const std::string& pasta) {
  const std::string ultima = std::to_string(kPrimeiraVenda + vendas - 1);
  Script(sessao,
         "INSERT INTO ztbanco (codbanco, nome, numbanco, agencia, conta, numcarteira, codcompensacao) VALUES"
         " (8611, 'BENCH 237', 237, '1172', '403005', '09', '237'), (8612, 'BENCH 341', 341, '0057', '12345', '109', "
         "'341');"
         " INSERT INTO ztcob (codcob, boleto, codbanco) VALUES ('BEB1', 'S', 8611), ('BEB2', 'S', 8612);"
         " INSERT INTO ztclient (codcli, cliente, sacadoeletronico) VALUES (86101, 'BENCH', 'N');"
         " INSERT INTO ztnfsaid (numtransvenda, numnota, codcli, condvenda) SELECT g, g, 86101, 14"
         " FROM generate_series(" +
             std::to_string(kPrimeiraVenda) + ", " + ultima +
             ") g;"
             " INSERT INTO ztprest (numtransvenda, prest, duplic, codfilial, codcli, codcob, dtvenc, valor)"
             " SELECT g, p::text, g, '1', 86101, CASE WHEN p < 3 THEN 'BEB1' ELSE 'BEB2' END, DATE '2026-12-30' + p,"
             " 10 + p FROM generate_series(" +
             std::to_string(kPrimeiraVenda) + ", " + ultima +
             ") g, generate_series(1, 3) p;"
             " INSERT INTO ztparametros (nome, codfilial, valor) VALUES ('GERARARQUIVOSPDFBOLETOS', '*', 'S'),"
             " ('DIRETORIOARQUIVOSPDFBOLETOS', '*', '" +
             pasta + "');");
}

// What an issue leaves: the titles' bank data, the banks' counters, the folder's files.
void Desfazer(TOraSession& sessao, const std::string& pasta) {
  Script(sessao,
         "UPDATE ztprest SET nossonumbco = NULL, dvcob = NULL, codbarra = NULL, linhadig = NULL, "
         "codbancocm = NULL, pastaarquivoboleto = NULL WHERE numtransvenda BETWEEN 8610000 AND 8619999;"
         " DELETE FROM ztbanconossonumero WHERE codbanco IN (8611, 8612);");
  std::error_code ignorado;
  for (const auto& entrada : std::filesystem::directory_iterator(pasta, ignorado)) {
    std::filesystem::remove(entrada.path(), ignorado);
  }
}

std::vector<TFin_GerarBoletos> Lote(int vendas, bool imprimir) {
  std::vector<TFin_GerarBoletos> boletos;
  for (int i = 0; i < vendas; ++i) {
    TFin_GerarBoletos& boleto = boletos.emplace_back();
    boleto.NUMTRANSVENDA = kPrimeiraVenda + i;
    boleto.getParametros().gerarDadosBancarios(true);
    boleto.getParametros().gerarBoletos(imprimir);
  }
  return boletos;
}

}  // namespace

int main() {
  const char* dsn = std::getenv("QUORVIN_DSN");
  if (dsn == nullptr || *dsn == '\0') {
    std::cerr << "bench_boletos: QUORVIN_DSN não definido.\n";
    return 2;
  }
  const int vendas = Inteiro("QUORVIN_BENCH_BATCH_SIZE", 10);
  const int rodadas = Inteiro("QUORVIN_BENCH_BATCHES", 10);
  const std::string pasta = (std::filesystem::temp_directory_path() / "quorvin-bench-boletos").string();
  std::filesystem::create_directories(pasta);
  try {
    DefinirDiretorios(QUORVIN_PROD_DIR, DiretorioSpool(-1));
    host::THostConfig config;
    config.Dsn = dsn;
    config.Matricula = 1;
    config.Programa = "bench_boletos";
    config.CacheParametros = true;  // one issue is one call, its parameters checked once, as the command line runs it
    host::THostQuorvin host(config);
    auto* gerente = new TGerenteFinanceiro(&host);  // owned by the host component
    host.SetGerenteFinanceiro(gerente);
    IFin_ContasReceber& area = *gerente->GetContasReceber();
    Limpar(host.Sessao());
    Preparar(host.Sessao(), vendas, pasta);

    const auto emitir = [&](bool imprimir) {
      host.NovaChamada();
      std::vector<TFin_GerarBoletos> boletos = Lote(vendas, imprimir);
      (void)area.EmitirBoletosBancarios(boletos, false);
    };
    // Warm-up, then the statements of one printing issue.
    for (int aquecimento = 0; aquecimento < 2; ++aquecimento) {
      Desfazer(host.Sessao(), pasta);
      TOraTransaction transacao(host.Sessao());
      emitir(true);
      transacao.Commit();
    }
    Desfazer(host.Sessao(), pasta);
    bench::PisoLibpq piso(dsn, bench::Capturar(host.Sessao(), [&] { emitir(true); }));

    Clock::duration tempo_dados{}, tempo_pdf{}, tempo_piso{};
    std::uint64_t idas_dados = 0, idas_pdf = 0;
    const auto medir = [&](bool imprimir, Clock::duration& tempo, std::uint64_t& idas) {
      Desfazer(host.Sessao(), pasta);
      const auto inicio = Clock::now();
      const std::uint64_t antes = oradb::RoundTrips(host.Sessao());
      TOraTransaction transacao(host.Sessao());
      emitir(imprimir);
      transacao.Commit();
      idas += oradb::RoundTrips(host.Sessao()) - antes;
      tempo += Clock::now() - inicio;
    };
    for (int rodada = 0; rodada < rodadas; ++rodada) {
      medir(false, tempo_dados, idas_dados);
      medir(true, tempo_pdf, idas_pdf);
      Desfazer(host.Sessao(), pasta);
      const auto inicio = Clock::now();
      piso.Executar({});
      tempo_piso += Clock::now() - inicio;
    }
    const double titulos = static_cast<double>(rodadas) * vendas * kTitulosPorVenda;
    const auto porSegundo = [&](Clock::duration tempo) {
      return titulos / std::chrono::duration<double>(tempo).count();
    };
    std::printf("bench_boletos: %d issues of %d sales (%d titles), %zu statements per issue\n", rodadas, vendas,
                vendas * kTitulosPorVenda, piso.Quantidade());
    std::printf("  bank data only (module):       %8.1f titles/s\n", porSegundo(tempo_dados));
    std::printf("  bank data and PDFs (module):   %8.1f titles/s\n", porSegundo(tempo_pdf));
    std::printf("  floor, statements (bare libpq): %7.1f titles/s\n", porSegundo(tempo_piso));
    // Round trips per title: the module's as its session counted them, the floor's its statements
    // plus BEGIN and COMMIT.
    const double por_titulo = titulos;
    const double titulos_por_emissao = static_cast<double>(vendas) * kTitulosPorVenda;
    bench::LinhaTabela("EmitirBoletosBancarios, dados bancários (por título)", true, porSegundo(tempo_dados),
                       static_cast<double>(idas_dados) / por_titulo);
    bench::LinhaTabela("EmitirBoletosBancarios, dados e PDF (por título)", true, porSegundo(tempo_pdf),
                       static_cast<double>(idas_pdf) / por_titulo);
    bench::LinhaTabela("EmitirBoletosBancarios, dados e PDF (por título)", false, porSegundo(tempo_piso),
                       static_cast<double>(piso.Quantidade() + 2) / titulos_por_emissao);
    Desfazer(host.Sessao(), pasta);
    Limpar(host.Sessao());
  } catch (const std::exception& erro) {
    std::cerr << "bench_boletos: " << erro.what() << "\n";
    return 1;
  }
  std::error_code ignorado;
  std::filesystem::remove_all(pasta, ignorado);
  return 0;
}
