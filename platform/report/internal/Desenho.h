#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

using cairo_t = struct _cairo;

// A laid-out page: what is drawn where, in PDF points from the page's top-left corner, every field
// already turned into text. Private to the report engine and its benchmark.
namespace report::internal {

inline constexpr double kPontosPorMm = 72.0 / 25.4;

struct TTextoPosto {
  double X = 0, Y = 0;  // start of the baseline
  double Tamanho = 8;
  bool Negrito = false;
  std::string Texto;                                                 // valid UTF-8, no control characters
  double CaixaX = 0, CaixaY = 0, CaixaLargura = 0, CaixaAltura = 0;  // clip
};

struct TLinhaPosta {
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  double Espessura = 0;
  bool Tracejada = false;
};

// A box; a barcode bar is a box filled black without border.
struct TRetanguloPosto {
  double X = 0, Y = 0, Largura = 0, Altura = 0;
  double Espessura = 0;
  std::optional<double> Preenchimento;  // grey level
};

using TOperacao = std::variant<TTextoPosto, TLinhaPosta, TRetanguloPosto>;

struct TPaginaPosta {
  std::vector<TOperacao> Operacoes;
};

// Draws one laid-out page on a cairo context (the caller shows the page).
void Desenhar(cairo_t* cr, const std::string& familia, const TPaginaPosta& pagina);

// A PDF document of laid-out pages, `largura` x `altura` points each, with its information
// dictionary. A cairo failure raises EDadosRelatorio.
struct TInformacaoPdf {
  std::string Titulo, Autor, Assunto, Criador;
};
[[nodiscard]] std::string DocumentoPdf(double largura, double altura, const std::string& familia,
                                       const std::vector<TPaginaPosta>& paginas, const TInformacaoPdf& informacao);

}  // namespace report::internal
