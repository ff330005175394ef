#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// A report template: the page, its bands and what each band draws, read from our declarative JSON
// format (README.md of this folder). Lengths are millimetres from the band's top-left corner inside
// the page margins; font sizes are points.
namespace report {

enum class TAlinhamento { taEsquerda, taCentro, taDireita };

// How a field's value becomes text.
enum class TFormato {
  fmTexto,           // the value as stored, blanks trimmed
  fmValor,           // money with the host's separators: 1.234,50
  fmData,            // dd/mm/yyyy (empty when not set)
  fmInteiro,         // a whole number, no separators
  fmLinhaDigitavel,  // 47 or 48 digits in the printed groups of a slip's line
  fmBancoComDigito,  // a bank's compensation code and its digit: 237-2 (from a code, barcode or line)
  fmDocumento,       // CNPJ 00.000.000/0000-00 or CPF 000.000.000-00 by its digit count
  fmCep,             // 00000-000
};

// "PIPELINE.CAMPO", with the format its value is shown in.
struct TReferenciaCampo {
  std::string Pipeline;
  std::string Campo;  // upper case, as datasets name their fields
  TFormato Formato = TFormato::fmTexto;
};

// A text of literal pieces and field references ("Vencimento: {BDEBoleta.DTVENC:data}").
struct TTextoModelo {
  struct Parte {
    std::string Literal;
    std::optional<TReferenciaCampo> Campo;
  };
  std::vector<Parte> Partes;
};

struct TFonte {
  double Tamanho = 8;
  bool Negrito = false;
};

// A text, static or bound; clipped to its box. Multi-line texts wrap at words and honour line breaks.
struct TElementoTexto {
  double X = 0, Y = 0, Largura = 0, Altura = 0;
  TTextoModelo Texto;
  TFonte Fonte;
  TAlinhamento Alinhamento = TAlinhamento::taEsquerda;
  bool Multilinha = false;
  // Drawn only when this field holds a value (not NULL, not blank, not zero).
  std::optional<TReferenciaCampo> VisivelSe;
};

struct TElementoLinha {
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
  double Espessura = 0.2;
  bool Tracejada = false;
};

struct TElementoCaixa {
  double X = 0, Y = 0, Largura = 0, Altura = 0;
  double Espessura = 0.2;               // 0: no border
  std::optional<double> Preenchimento;  // grey level, 0 black to 1 white
};

// The interleaved 2 of 5 barcode of a slip: narrow module `LarguraModulo`, wide bars three times
// that, `Altura` tall. The field must hold a valid 44-digit bank-slip or collection-slip code.
struct TElementoCodigoBarras {
  double X = 0, Y = 0;
  double Altura = 13;
  double LarguraModulo = 0.254;
  TReferenciaCampo Campo;
};

using TElemento = std::variant<TElementoTexto, TElementoLinha, TElementoCaixa, TElementoCodigoBarras>;

enum class TTipoBanda {
  tbCabecalho,  // top of every page
  tbDetalhe,    // once per record of the main pipeline
  tbRodape,     // bottom of every page
};

struct TBanda {
  TTipoBanda Tipo = TTipoBanda::tbDetalhe;
  double Altura = 0;
  bool NovaPagina = false;  // detail: every record starts a page
  std::vector<TElemento> Elementos;
};

struct TPaginaModelo {
  double Largura = 210;  // A4 portrait
  double Altura = 297;
  double MargemEsquerda = 10, MargemSuperior = 10, MargemDireita = 10, MargemInferior = 10;
  [[nodiscard]] double LarguraUtil() const noexcept { return Largura - MargemEsquerda - MargemDireita; }
  [[nodiscard]] double AlturaUtil() const noexcept { return Altura - MargemSuperior - MargemInferior; }
};

struct TModeloRelatorio {
  std::string Nome;    // the template's file name, used in messages
  std::string Titulo;  // the report's name (the PDF title when the caller gives none)
  TPaginaModelo Pagina;
  std::string FamiliaFonte = "DejaVu Sans";
  std::string PipelinePrincipal;  // the detail band repeats over its records
  std::vector<TBanda> Bandas;

  // Every field the template reads, in the order it appears.
  [[nodiscard]] std::vector<TReferenciaCampo> Campos() const;
  // Every pipeline the template names, the main one first.
  [[nodiscard]] std::vector<std::string> Pipelines() const;
};

// Reads a template from its text; `nome` names it in messages. A text that is not JSON, a missing or
// ill-typed property, an unknown property, element type or format, a field reference that is not
// "PIPELINE.CAMPO", or an element outside its band raises EModeloInvalido.
[[nodiscard]] TModeloRelatorio LerModelo(std::string_view texto, const std::string& nome);

// Reads a template file (at most 1 MiB); the file name is the template's name.
[[nodiscard]] TModeloRelatorio CarregarModelo(const std::filesystem::path& arquivo);

}  // namespace report
