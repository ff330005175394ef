#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "report/TModeloRelatorio.h"

class TDataSet;

namespace report::internal {
struct TPaginaPosta;
class TAcessoRelatorio;
}  // namespace report::internal

// A report: a template, the datasets bound to its pipelines by name, and where it goes. The
// datasets stay the caller's (open queries or client datasets); the report reads their current
// record and walks the main pipeline's records, leaving its cursor where it found it.
namespace report {

// Where a report goes.
enum class TDispositivo {
  dvPDF,         // a PDF file
  dvImpressora,  // a printer, through CUPS `lp`
  dvTela,        // the host's viewer (preview on screen)
};

// Which records of the main pipeline are printed.
enum class TIntervalo {
  irTodos,          // every record, from the first
  irRegistroAtual,  // the current record alone
};

// What the host's viewer is asked to do with a report shown on screen.
struct TOpcoesTela {
  std::string Titulo;
  bool MostrarDialogoImpressao = false;
  bool Maximizada = false;
  bool Modal = false;
  bool PermitirArquivo = false;  // the viewer may save or archive the document
};

// The host's screen: receives the rendered PDF and shows it.
using TVisualizador = std::function<void(const std::string& pdf, const TOpcoesTela& opcoes)>;

// The viewer of reports that have none of their own, set by the host at start-up (a module that
// prints to the screen cannot reach the host's screens otherwise). An empty one removes it.
void DefinirVisualizadorPadrao(TVisualizador visualizador);

struct TPropriedadesImpressao {
  TDispositivo Dispositivo = TDispositivo::dvTela;
  TIntervalo Intervalo = TIntervalo::irTodos;
  std::string ArquivoPDF;  // dvPDF: the file written
  // dvPDF: false refuses to replace an existing file (the check and the creation are one step).
  bool SobrescreverArquivo = true;
  std::string Impressora;               // dvImpressora: the CUPS destination
  int Copias = 1;                       // dvImpressora
  std::string ComandoImpressao = "lp";  // dvImpressora: the CUPS client, looked up on PATH
  TOpcoesTela Tela;                     // dvTela
  // PDF document information; an empty title takes the template's.
  std::string Autor;
  std::string Titulo;
  std::string Assunto;
};

class TRelatorio {
 public:
  explicit TRelatorio(TModeloRelatorio modelo);

  [[nodiscard]] const TModeloRelatorio& Modelo() const noexcept { return FModelo; }
  [[nodiscard]] TPropriedadesImpressao& Impressao() noexcept { return FImpressao; }
  [[nodiscard]] const TPropriedadesImpressao& Impressao() const noexcept { return FImpressao; }

  // Binds a pipeline name to a dataset (kept by reference: it must outlive the printing).
  void DefinirPipeline(const std::string& nome, TDataSet& dados);
  void DefinirVisualizador(TVisualizador visualizador) { FVisualizador = std::move(visualizador); }

  // The report as a PDF document, every check done first: each pipeline the template names is bound
  // to an open dataset that has each field the template reads, the main pipeline has a record to
  // print, each barcode is a valid slip code (EDadosRelatorio otherwise). Answers the document.
  [[nodiscard]] std::string GerarPDF();
  // Pages of the last document produced.
  [[nodiscard]] int Paginas() const noexcept { return FPaginas; }

  // Renders and sends the report to its device (EDispositivoRelatorio when the device fails; nothing
  // is left behind: no partial file, no temporary file).
  void Imprimir();

 private:
  friend class internal::TAcessoRelatorio;
  void ConferirDados();
  // The pages laid out, every field turned into text (after ConferirDados).
  [[nodiscard]] std::vector<internal::TPaginaPosta> Diagramar();
  void ImprimirEmArquivo(const std::string& pdf) const;
  void ImprimirNaImpressora(const std::string& pdf) const;

  TModeloRelatorio FModelo;
  TPropriedadesImpressao FImpressao;
  std::map<std::string, TDataSet*, std::less<>> FPipelines;
  TVisualizador FVisualizador;
  int FPaginas = 0;
};

}  // namespace report
