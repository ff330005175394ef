// Bank slips rendered to PDF, one document per title as slip files are produced: the report engine
// from the bound datasets (field checks, formats, text layout, ITF barcode, PDF), beside the floor
// of cairo alone writing the same laid-out page. Slips per second of each; no database.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

#include "BoletoExemplo.h"
#include "report/Boletos.h"
#include "report/TRelatorio.h"
#include "report/internal/Acesso.h"
#include "report/internal/Desenho.h"
#include "support/Tabela.h"

namespace {

constexpr int kBoletos = 300;

double Segundos(const std::function<void()>& trabalho) {
  const auto inicio = std::chrono::steady_clock::now();
  trabalho();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
}

void Relatar(const char* caminho, double segundos, std::size_t bytes, bool modulo) {
  std::printf("%-44s %6d boletos  %6.2f s  %8.1f boletos/s  %6zu bytes/PDF\n", caminho, kBoletos, segundos,
              kBoletos / segundos, bytes);
  bench::LinhaTabela("boleto em PDF (um arquivo por título)", modulo, kBoletos / segundos, NAN);
}

}  // namespace

int main() {
  cli::TBoletoExemplo dados(kBoletos);
  report::TRelatorio relatorio(
      report::CarregarModeloBoleto(QUORVIN_SOURCE_DIR "/platform/report/templates/BoletoPadrao.rtm"));
  dados.Ligar(relatorio);
  relatorio.Impressao().Intervalo = report::TIntervalo::irRegistroAtual;
  relatorio.Impressao().Autor = report::kAutorPdfBoleto;
  relatorio.Impressao().Assunto = report::AssuntoPdfBoleto(1452);

  std::size_t bytes = 0;
  const double modulo = Segundos([&] {
    for (dados.Boleta.First(); !dados.Boleta.Eof(); dados.Boleta.Next()) bytes = relatorio.GerarPDF().size();
  });
  Relatar("motor de relatórios (modelo + dados)", modulo, bytes, true);

  dados.Boleta.First();
  const auto paginas = report::internal::TAcessoRelatorio::Diagramar(relatorio);
  const report::internal::TInformacaoPdf informacao{"Boleto bancário", report::kAutorPdfBoleto,
                                                    report::AssuntoPdfBoleto(1452), "Quorvin"};
  const double piso = Segundos([&] {
    for (int i = 0; i < kBoletos; ++i) {
      bytes = report::internal::DocumentoPdf(210 * report::internal::kPontosPorMm, 297 * report::internal::kPontosPorMm,
                                             "DejaVu Sans", paginas, informacao)
                  .size();
    }
  });
  Relatar("piso: cairo com a página já diagramada", piso, bytes, false);
  return 0;
}
