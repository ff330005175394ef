#include "report/TRelatorio.h"

#include <cairo.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "oradb/TDataSet.h"
#include "report/ERelatorio.h"
#include "report/internal/CodigoBarras.h"
#include "report/internal/Desenho.h"
#include "report/internal/Formatos.h"
#include "report/internal/Saida.h"
#include "rtl/Formatacao.h"

namespace report {

namespace {

using internal::kPontosPorMm;
using internal::TLinhaPosta;
using internal::TPaginaPosta;
using internal::TRetanguloPosto;
using internal::TTextoPosto;

// How far a line that does not fit its box is scaled down before it is clipped.
constexpr double kMenorReducaoFonte = 0.6;

struct ApagarSuperficie {
  void operator()(cairo_surface_t* superficie) const noexcept { cairo_surface_destroy(superficie); }
};
struct ApagarContexto {
  void operator()(cairo_t* cr) const noexcept { cairo_destroy(cr); }
};

// Measures texts as the PDF will set them (no hinting of metrics, as on a PDF surface).
class Medidor {
 public:
  explicit Medidor(const std::string& familia)
      : FSuperficie(cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1)),
        FCr(cairo_create(FSuperficie.get())),
        FFamilia(familia) {
    cairo_font_options_t* opcoes = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(opcoes, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(opcoes, CAIRO_HINT_STYLE_NONE);
    cairo_set_font_options(FCr.get(), opcoes);
    cairo_font_options_destroy(opcoes);
  }

  void Fonte(double tamanho, bool negrito) {
    cairo_select_font_face(FCr.get(), FFamilia.c_str(), CAIRO_FONT_SLANT_NORMAL,
                           negrito ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(FCr.get(), tamanho);
  }
  [[nodiscard]] double Largura(const std::string& texto) {
    cairo_text_extents_t medida;
    cairo_text_extents(FCr.get(), texto.c_str(), &medida);
    return medida.x_advance;
  }
  [[nodiscard]] cairo_font_extents_t Metricas() {
    cairo_font_extents_t metricas;
    cairo_font_extents(FCr.get(), &metricas);
    return metricas;
  }

 private:
  std::unique_ptr<cairo_surface_t, ApagarSuperficie> FSuperficie;
  std::unique_ptr<cairo_t, ApagarContexto> FCr;
  std::string FFamilia;
};

// Words of a text broken into lines no wider than `largura`; a word wider than the line stands alone
// and is clipped.
std::vector<std::string> Quebrar(const std::string& texto, double largura, Medidor& medidor) {
  std::vector<std::string> linhas;
  std::size_t inicio = 0;
  while (inicio <= texto.size()) {
    const std::size_t fim = std::min(texto.find('\n', inicio), texto.size());
    const std::string paragrafo = texto.substr(inicio, fim - inicio);
    std::string linha;
    std::size_t posicao = 0;
    while (posicao < paragrafo.size()) {
      const std::size_t espaco = std::min(paragrafo.find(' ', posicao), paragrafo.size());
      const std::string palavra = paragrafo.substr(posicao, espaco - posicao);
      const std::string tentativa = linha.empty() ? palavra : linha + " " + palavra;
      if (!linha.empty() && medidor.Largura(tentativa) > largura) {
        linhas.push_back(linha);
        linha = palavra;
      } else {
        linha = tentativa;
      }
      posicao = espaco + 1;
    }
    linhas.push_back(linha);
    inicio = fim + 1;
  }
  return linhas;
}

// Lays out one band at a vertical position of the page, reading the bound datasets' current
// records.
class Diagramador {
 public:
  Diagramador(const TModeloRelatorio& modelo, const std::map<std::string, TDataSet*, std::less<>>& pipelines)
      : FModelo(modelo), FPipelines(pipelines), FMedidor(modelo.FamiliaFonte) {}

  void Banda(const TBanda& banda, double topo_mm, TPaginaPosta& pagina) {
    FX0 = FModelo.Pagina.MargemEsquerda;
    FY0 = topo_mm;
    for (const TElemento& elemento : banda.Elementos) {
      if (const auto* texto = std::get_if<TElementoTexto>(&elemento)) {
        Texto(*texto, pagina);
      } else if (const auto* linha = std::get_if<TElementoLinha>(&elemento)) {
        pagina.Operacoes.emplace_back(TLinhaPosta{Px(linha->X1), Py(linha->Y1), Px(linha->X2), Py(linha->Y2),
                                                  linha->Espessura * kPontosPorMm, linha->Tracejada});
      } else if (const auto* caixa = std::get_if<TElementoCaixa>(&elemento)) {
        pagina.Operacoes.emplace_back(TRetanguloPosto{Px(caixa->X), Py(caixa->Y), caixa->Largura * kPontosPorMm,
                                                      caixa->Altura * kPontosPorMm, caixa->Espessura * kPontosPorMm,
                                                      caixa->Preenchimento});
      } else {
        CodigoBarras(std::get<TElementoCodigoBarras>(elemento), pagina);
      }
    }
  }

 private:
  [[nodiscard]] double Px(double mm) const { return (FX0 + mm) * kPontosPorMm; }
  [[nodiscard]] double Py(double mm) const { return (FY0 + mm) * kPontosPorMm; }

  [[nodiscard]] TField Campo(const TReferenciaCampo& referencia) const {
    return FPipelines.find(referencia.Pipeline)->second->FieldByName(referencia.Campo);
  }

  [[nodiscard]] std::string Resolver(const TTextoModelo& texto) const {
    std::string resultado;
    for (const auto& parte : texto.Partes) {
      resultado += parte.Campo ? internal::FormatarCampo(Campo(*parte.Campo), parte.Campo->Formato) : parte.Literal;
    }
    return resultado;
  }

  void Texto(const TElementoTexto& elemento, TPaginaPosta& pagina) {
    if (elemento.VisivelSe && !internal::TemValor(Campo(*elemento.VisivelSe))) return;
    const std::string texto = internal::TextoDesenhavel(Resolver(elemento.Texto), elemento.Multilinha);
    if (texto.empty()) return;
    const double largura = elemento.Largura * kPontosPorMm;
    double tamanho = elemento.Fonte.Tamanho;
    FMedidor.Fonte(tamanho, elemento.Fonte.Negrito);
    if (!elemento.Multilinha) {
      // A line too long for its box is set smaller rather than cut: a clipped typeable line or value
      // would print a wrong number. Past the smallest size it is clipped.
      const double medida = FMedidor.Largura(texto);
      if (medida > largura) {
        tamanho = std::max(tamanho * largura / medida, tamanho * kMenorReducaoFonte);
        FMedidor.Fonte(tamanho, elemento.Fonte.Negrito);
      }
    }
    const cairo_font_extents_t metricas = FMedidor.Metricas();
    const std::vector<std::string> linhas =
        elemento.Multilinha ? Quebrar(texto, largura, FMedidor) : std::vector<std::string>{texto};
    double base = Py(elemento.Y) + metricas.ascent;
    for (const std::string& linha : linhas) {
      double x = Px(elemento.X);
      if (elemento.Alinhamento != TAlinhamento::taEsquerda) {
        const double sobra = largura - FMedidor.Largura(linha);
        x += elemento.Alinhamento == TAlinhamento::taDireita ? sobra : sobra / 2;
      }
      pagina.Operacoes.emplace_back(TTextoPosto{x, base, tamanho, elemento.Fonte.Negrito, linha, Px(elemento.X),
                                                Py(elemento.Y), largura, elemento.Altura * kPontosPorMm});
      base += metricas.height;
    }
  }

  void CodigoBarras(const TElementoCodigoBarras& elemento, TPaginaPosta& pagina) {
    const TField campo = Campo(elemento.Campo);
    const std::string codigo = Trim(campo.AsString());
    if (const std::string problema = internal::ProblemaCodigoSlip(codigo); !problema.empty()) {
      TDataSet& dados = *FPipelines.find(elemento.Campo.Pipeline)->second;
      throw EDadosRelatorio("Relatório \"" + FModelo.Nome + "\": o campo " + elemento.Campo.Pipeline + "." +
                            elemento.Campo.Campo + " do registro " + std::to_string(dados.RecNo()) +
                            " não é um código de barras de boleto válido (" + problema + ").");
    }
    const internal::TSimboloItf simbolo = internal::SimboloItf(codigo);
    const double modulo = elemento.LarguraModulo * kPontosPorMm;
    for (const internal::TBarra& barra : simbolo.Barras) {
      pagina.Operacoes.emplace_back(TRetanguloPosto{Px(elemento.X) + barra.Inicio * modulo, Py(elemento.Y),
                                                    barra.Largura * modulo, elemento.Altura * kPontosPorMm, 0, 0.0});
    }
  }

  const TModeloRelatorio& FModelo;
  const std::map<std::string, TDataSet*, std::less<>>& FPipelines;
  Medidor FMedidor;
  double FX0 = 0;
  double FY0 = 0;
};

// Puts the main pipeline's cursor back on the record it was on, whatever happens while printing.
class Marcador {
 public:
  explicit Marcador(TDataSet& dados) : FDados(dados), FRegistro(dados.RecNo()) {}
  ~Marcador() {
    try {
      FDados.First();
      while (!FDados.Eof() && FDados.RecNo() < FRegistro) FDados.Next();
    } catch (...) {
      // The position is a courtesy to the caller; a dataset that cannot move has already said why.
    }
  }
  Marcador(const Marcador&) = delete;
  Marcador& operator=(const Marcador&) = delete;

 private:
  TDataSet& FDados;
  std::size_t FRegistro;
};

struct VisualizadorPadrao {
  std::mutex Trava;
  TVisualizador Visualizador;
};

VisualizadorPadrao& Padrao() {
  static VisualizadorPadrao padrao;
  return padrao;
}

TVisualizador VisualizadorDoHost() {
  const std::lock_guard trava(Padrao().Trava);
  return Padrao().Visualizador;
}

const TBanda* BandaDoTipo(const TModeloRelatorio& modelo, TTipoBanda tipo) {
  for (const TBanda& banda : modelo.Bandas) {
    if (banda.Tipo == tipo) return &banda;
  }
  return nullptr;
}

}  // namespace

void DefinirVisualizadorPadrao(TVisualizador visualizador) {
  const std::lock_guard trava(Padrao().Trava);
  Padrao().Visualizador = std::move(visualizador);
}

TRelatorio::TRelatorio(TModeloRelatorio modelo) : FModelo(std::move(modelo)) {}

void TRelatorio::DefinirPipeline(const std::string& nome, TDataSet& dados) {
  FPipelines[nome] = &dados;
}

void TRelatorio::ConferirDados() {
  for (const std::string& pipeline : FModelo.Pipelines()) {
    const auto it = FPipelines.find(pipeline);
    if (it == FPipelines.end()) {
      throw EDadosRelatorio("Relatório \"" + FModelo.Nome + "\": o pipeline \"" + pipeline +
                            "\" não foi ligado a um conjunto de dados.");
    }
    if (!it->second->Active()) {
      throw EDadosRelatorio("Relatório \"" + FModelo.Nome + "\": o conjunto de dados do pipeline \"" + pipeline +
                            "\" não está aberto.");
    }
  }
  for (const TReferenciaCampo& campo : FModelo.Campos()) {
    if (!FPipelines.find(campo.Pipeline)->second->FindField(campo.Campo)) {
      throw EDadosRelatorio("Relatório \"" + FModelo.Nome + "\": o campo \"" + campo.Campo +
                            "\" não existe no pipeline \"" + campo.Pipeline + "\".");
    }
  }
  TDataSet& principal = *FPipelines.find(FModelo.PipelinePrincipal)->second;
  if (principal.IsEmpty() || (FImpressao.Intervalo == TIntervalo::irRegistroAtual && principal.RecNo() == 0)) {
    throw EDadosRelatorio("Relatório \"" + FModelo.Nome + "\": não há registros para imprimir no pipeline \"" +
                          FModelo.PipelinePrincipal + "\".");
  }
}

std::vector<TPaginaPosta> TRelatorio::Diagramar() {
  TDataSet& principal = *FPipelines.find(FModelo.PipelinePrincipal)->second;
  const TBanda& detalhe = *BandaDoTipo(FModelo, TTipoBanda::tbDetalhe);
  const TBanda* cabecalho = BandaDoTipo(FModelo, TTipoBanda::tbCabecalho);
  const TBanda* rodape = BandaDoTipo(FModelo, TTipoBanda::tbRodape);
  const TPaginaModelo& folha = FModelo.Pagina;
  const double topo = folha.MargemSuperior + (cabecalho ? cabecalho->Altura : 0);
  const double fundo = folha.Altura - folha.MargemInferior - (rodape ? rodape->Altura : 0);

  Diagramador diagramador(FModelo, FPipelines);
  std::vector<TPaginaPosta> paginas;
  double y = 0;
  const auto fecharPagina = [&] {
    if (rodape) diagramador.Banda(*rodape, fundo, paginas.back());
  };
  const auto abrirPagina = [&] {
    if (!paginas.empty()) fecharPagina();
    paginas.emplace_back();
    if (cabecalho) diagramador.Banda(*cabecalho, folha.MargemSuperior, paginas.back());
    y = topo;
  };
  const auto registro = [&] {
    if (paginas.empty() || (detalhe.NovaPagina && y > topo) || y + detalhe.Altura > fundo + 0.01) abrirPagina();
    diagramador.Banda(detalhe, y, paginas.back());
    y += detalhe.Altura;
  };
  {
    const Marcador marcador(principal);
    if (FImpressao.Intervalo == TIntervalo::irRegistroAtual) {
      registro();
    } else {
      for (principal.First(); !principal.Eof(); principal.Next()) registro();
    }
    fecharPagina();
  }
  return paginas;
}

std::string TRelatorio::GerarPDF() {
  ConferirDados();
  const std::vector<TPaginaPosta> paginas = Diagramar();
  const TPaginaModelo& folha = FModelo.Pagina;
  internal::TInformacaoPdf informacao;
  informacao.Titulo = FImpressao.Titulo.empty() ? FModelo.Titulo : FImpressao.Titulo;
  informacao.Autor = FImpressao.Autor;
  informacao.Assunto = FImpressao.Assunto;
  informacao.Criador = "Quorvin";
  std::string pdf = internal::DocumentoPdf(folha.Largura * kPontosPorMm, folha.Altura * kPontosPorMm,
                                           FModelo.FamiliaFonte, paginas, informacao);
  FPaginas = static_cast<int>(paginas.size());
  return pdf;
}

void TRelatorio::ImprimirEmArquivo(const std::string& pdf) const {
  internal::GravarArquivo(FImpressao.ArquivoPDF, pdf, FImpressao.SobrescreverArquivo);
}

void TRelatorio::ImprimirNaImpressora(const std::string& pdf) const {
  if (const std::string problema = internal::ProblemaNomeImpressora(FImpressao.Impressora); !problema.empty()) {
    throw EDispositivoRelatorio("Impressora \"" + FImpressao.Impressora + "\" inválida: " + problema + ".");
  }
  if (FImpressao.Copias < 1 || FImpressao.Copias > 999) {
    throw EDispositivoRelatorio("Número de cópias inválido: " + std::to_string(FImpressao.Copias) + ".");
  }
  const char* pasta = std::getenv("TMPDIR");
  static std::atomic<unsigned long> sequencia{0};
  const std::string arquivo = std::string(pasta != nullptr && *pasta != '\0' ? pasta : "/tmp") + "/quorvin-relatorio-" +
                              std::to_string(::getpid()) + "-" + std::to_string(++sequencia) + ".pdf";
  internal::GravarArquivo(arquivo, pdf, false);
  try {
    const std::string titulo = FImpressao.Titulo.empty() ? FModelo.Titulo : FImpressao.Titulo;
    internal::Executar(
        internal::ArgumentosLp(FImpressao.ComandoImpressao, FImpressao.Impressora, FImpressao.Copias, titulo, arquivo));
  } catch (...) {
    ::unlink(arquivo.c_str());
    throw;
  }
  ::unlink(arquivo.c_str());
}

void TRelatorio::Imprimir() {
  // Checked before rendering, so a wrong destination costs nothing.
  const TVisualizador visualizador = FVisualizador ? FVisualizador : VisualizadorDoHost();
  if (FImpressao.Dispositivo == TDispositivo::dvTela && !visualizador) {
    throw EDispositivoRelatorio("Não há visualizador de tela no host para mostrar o relatório \"" + FModelo.Nome +
                                "\".");
  }
  const std::string pdf = GerarPDF();
  switch (FImpressao.Dispositivo) {
    case TDispositivo::dvPDF:
      ImprimirEmArquivo(pdf);
      break;
    case TDispositivo::dvImpressora:
      ImprimirNaImpressora(pdf);
      break;
    case TDispositivo::dvTela: {
      TOpcoesTela opcoes = FImpressao.Tela;
      if (opcoes.Titulo.empty()) opcoes.Titulo = FImpressao.Titulo.empty() ? FModelo.Titulo : FImpressao.Titulo;
      visualizador(pdf, opcoes);
      break;
    }
  }
}

}  // namespace report
