#include "report/internal/Desenho.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <memory>

#include "report/ERelatorio.h"

namespace report::internal {

namespace {

struct ApagarSuperficie {
  void operator()(cairo_surface_t* superficie) const noexcept { cairo_surface_destroy(superficie); }
};
struct ApagarContexto {
  void operator()(cairo_t* cr) const noexcept { cairo_destroy(cr); }
};

cairo_status_t Acrescentar(void* destino, const unsigned char* dados, unsigned int tamanho) {
  static_cast<std::string*>(destino)->append(reinterpret_cast<const char*>(dados), tamanho);
  return CAIRO_STATUS_SUCCESS;
}

void Texto(cairo_t* cr, const std::string& familia, const TTextoPosto& texto) {
  cairo_save(cr);
  cairo_rectangle(cr, texto.CaixaX, texto.CaixaY, texto.CaixaLargura, texto.CaixaAltura);
  cairo_clip(cr);
  cairo_select_font_face(cr, familia.c_str(), CAIRO_FONT_SLANT_NORMAL,
                         texto.Negrito ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, texto.Tamanho);
  cairo_move_to(cr, texto.X, texto.Y);
  cairo_show_text(cr, texto.Texto.c_str());
  cairo_restore(cr);
}

void Linha(cairo_t* cr, const TLinhaPosta& linha) {
  cairo_save(cr);
  cairo_set_line_width(cr, linha.Espessura);
  if (linha.Tracejada) {
    const double traco[] = {3.0, 2.0};
    cairo_set_dash(cr, traco, 2, 0);
  }
  cairo_move_to(cr, linha.X1, linha.Y1);
  cairo_line_to(cr, linha.X2, linha.Y2);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void Retangulo(cairo_t* cr, const TRetanguloPosto& retangulo) {
  cairo_rectangle(cr, retangulo.X, retangulo.Y, retangulo.Largura, retangulo.Altura);
  if (retangulo.Preenchimento) {
    cairo_set_source_rgb(cr, *retangulo.Preenchimento, *retangulo.Preenchimento, *retangulo.Preenchimento);
    if (retangulo.Espessura > 0) {
      cairo_fill_preserve(cr);
    } else {
      cairo_fill(cr);
    }
    cairo_set_source_rgb(cr, 0, 0, 0);
  }
  if (retangulo.Espessura > 0) {
    cairo_set_line_width(cr, retangulo.Espessura);
    cairo_stroke(cr);
  }
}

}  // namespace

void Desenhar(cairo_t* cr, const std::string& familia, const TPaginaPosta& pagina) {
  cairo_set_source_rgb(cr, 0, 0, 0);
  for (const TOperacao& operacao : pagina.Operacoes) {
    if (const auto* texto = std::get_if<TTextoPosto>(&operacao)) {
      Texto(cr, familia, *texto);
    } else if (const auto* linha = std::get_if<TLinhaPosta>(&operacao)) {
      Linha(cr, *linha);
    } else {
      Retangulo(cr, std::get<TRetanguloPosto>(operacao));
    }
  }
}

std::string DocumentoPdf(double largura, double altura, const std::string& familia,
                         const std::vector<TPaginaPosta>& paginas, const TInformacaoPdf& informacao) {
  std::string documento;
  {
    const std::unique_ptr<cairo_surface_t, ApagarSuperficie> superficie(
        cairo_pdf_surface_create_for_stream(Acrescentar, &documento, largura, altura));
    cairo_pdf_surface_set_metadata(superficie.get(), CAIRO_PDF_METADATA_TITLE, informacao.Titulo.c_str());
    cairo_pdf_surface_set_metadata(superficie.get(), CAIRO_PDF_METADATA_AUTHOR, informacao.Autor.c_str());
    cairo_pdf_surface_set_metadata(superficie.get(), CAIRO_PDF_METADATA_SUBJECT, informacao.Assunto.c_str());
    cairo_pdf_surface_set_metadata(superficie.get(), CAIRO_PDF_METADATA_CREATOR, informacao.Criador.c_str());
    const std::unique_ptr<cairo_t, ApagarContexto> cr(cairo_create(superficie.get()));
    for (const TPaginaPosta& pagina : paginas) {
      Desenhar(cr.get(), familia, pagina);
      cairo_show_page(cr.get());
    }
    cairo_surface_finish(superficie.get());
    // A drawing error is sticky in cairo: it leaves the rest undrawn, so the document is refused
    // rather than handed on incomplete.
    cairo_status_t status = cairo_status(cr.get());
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(superficie.get());
    if (status != CAIRO_STATUS_SUCCESS) {
      throw EDadosRelatorio(std::string("Não foi possível gerar o PDF do relatório: ") +
                            cairo_status_to_string(status) + ".");
    }
  }
  return documento;
}

}  // namespace report::internal
