#include "febraban/Arrecadacao.h"

#include "febraban/Boleto.h"
#include "febraban/ECodigoInvalido.h"
#include "febraban/Modulos.h"
#include "febraban/Valor.h"
#include "febraban/internal/Digitos.h"

namespace febraban {

namespace {

using internal::Digito;
using internal::LerNumero;
using internal::Numero;
using internal::ValorDoDigito;

constexpr internal::NomeDoCodigo kCodigoBarras{"Código de barras de arrecadação", false};
constexpr internal::NomeDoCodigo kLinhaDigitavel{"Linha digitável de arrecadação", true};

constexpr char kProdutoArrecadacao = '8';
// Positions (0-based) of the barcode.
constexpr std::size_t kPosSegmento = 1;
constexpr std::size_t kPosTipoValor = 2;
constexpr std::size_t kPosDigitoGeral = 3;
constexpr std::size_t kPosValor = 4;
constexpr std::size_t kDigitosValor = 11;
constexpr std::size_t kPosIdentificacao = 15;
constexpr std::size_t kDigitosBloco = 11;
constexpr std::size_t kBlocos = 4;

bool TipoValorValido(int tipo) noexcept {
  return tipo >= 6 && tipo <= 9;
}

// Types 6 and 7 are checked with modulus 10, 8 and 9 with modulus 11.
int DigitoDoTipo(int tipoValor, std::string_view digitos) {
  return tipoValor <= 7 ? Modulo10(digitos) : Modulo11Arrecadacao(digitos);
}

void ValidarPartes(const PartesArrecadacao& partes) {
  if (partes.Segmento < 0 || partes.Segmento > 9)
    throw ECodigoInvalido("Segmento do código de arrecadação deve ser um dígito.");
  if (!TipoValorValido(partes.TipoValor))
    throw ECodigoInvalido("Tipo de valor do código de arrecadação deve ser 6, 7, 8 ou 9.");
  if (partes.Valor < 0) throw ECodigoInvalido("Valor negativo não é aceito.");
  if (partes.Valor > kMaiorValorArrecadacao)
    throw ECodigoInvalido("Valor do código de arrecadação acima de 11 dígitos.");
  if (partes.Identificacao.size() != kDigitosIdentificacao || !internal::SoDigitos(partes.Identificacao))
    throw ECodigoInvalido("Identificação do código de arrecadação deve ter 29 dígitos.");
}

std::string MontarCodigoBarras(const PartesArrecadacao& partes) {
  std::string semDigito = std::string(1, kProdutoArrecadacao) + Digito(partes.Segmento) + Digito(partes.TipoValor) +
                          Numero(partes.Valor, kDigitosValor) + partes.Identificacao;
  const int digito = DigitoDoTipo(partes.TipoValor, semDigito);
  return semDigito.insert(kPosDigitoGeral, 1, Digito(digito));
}

// The parts of a 44-digit collection barcode, product, value type and general digit verified.
PartesArrecadacao PartesDoCodigoBarras(const std::string& codigo, const char* digitoErrado) {
  if (codigo[0] != kProdutoArrecadacao) throw ECodigoInvalido("Código de arrecadação deve começar com 8.");
  PartesArrecadacao partes;
  partes.Segmento = ValorDoDigito(codigo[kPosSegmento]);
  partes.TipoValor = ValorDoDigito(codigo[kPosTipoValor]);
  if (!TipoValorValido(partes.TipoValor))
    throw ECodigoInvalido("Tipo de valor do código de arrecadação deve ser 6, 7, 8 ou 9.");
  std::string semDigito = codigo;
  semDigito.erase(kPosDigitoGeral, 1);
  if (DigitoDoTipo(partes.TipoValor, semDigito) != ValorDoDigito(codigo[kPosDigitoGeral]))
    throw ECodigoInvalido(digitoErrado);
  partes.Valor = LerNumero(std::string_view(codigo).substr(kPosValor, kDigitosValor));
  partes.Identificacao = codigo.substr(kPosIdentificacao);
  return partes;
}

std::string LinhaDoCodigo(const std::string& codigo, int tipoValor) {
  std::string linha;
  for (std::size_t bloco = 0; bloco < kBlocos; ++bloco) {
    const std::string digitos = codigo.substr(bloco * kDigitosBloco, kDigitosBloco);
    linha += digitos;
    linha += Digito(DigitoDoTipo(tipoValor, digitos));
  }
  return linha;
}

// The barcode a 48-digit line stands for, the digit of each block verified. The modulus of the
// blocks is the one of the value type the line itself carries (its third digit).
std::string CodigoDaLinha(const std::string& linha) {
  if (linha[0] != kProdutoArrecadacao) throw ECodigoInvalido("Código de arrecadação deve começar com 8.");
  const int tipoValor = ValorDoDigito(linha[kPosTipoValor]);
  if (!TipoValorValido(tipoValor))
    throw ECodigoInvalido("Tipo de valor do código de arrecadação deve ser 6, 7, 8 ou 9.");
  std::string codigo;
  for (std::size_t bloco = 0; bloco < kBlocos; ++bloco) {
    const std::string_view digitos = std::string_view(linha).substr(bloco * (kDigitosBloco + 1), kDigitosBloco);
    if (DigitoDoTipo(tipoValor, digitos) != ValorDoDigito(linha[bloco * (kDigitosBloco + 1) + kDigitosBloco]))
      throw ECodigoInvalido("Dígito verificador do bloco " + std::to_string(bloco + 1) +
                            " da linha digitável de arrecadação inválido.");
    codigo += digitos;
  }
  return codigo;
}

ArrecadacaoLida Lida(const std::string& codigo, PartesArrecadacao partes) {
  ArrecadacaoLida lida;
  lida.DigitoGeral = ValorDoDigito(codigo[kPosDigitoGeral]);
  lida.ValorEmReais = partes.TipoValor == 6 || partes.TipoValor == 8;
  const std::size_t digitosEmpresa = partes.Segmento == kSegmentoCnpj ? 8 : 4;
  lida.Empresa = partes.Identificacao.substr(0, digitosEmpresa);
  lida.CampoLivre = partes.Identificacao.substr(digitosEmpresa);
  lida.LinhaDigitavel = LinhaDoCodigo(codigo, partes.TipoValor);
  lida.CodigoBarras = codigo;
  lida.Partes = std::move(partes);
  return lida;
}

}  // namespace

PartesArrecadacao NovaArrecadacao(int segmento, int tipoValor, double valor, std::string_view identificacao) {
  if (tipoValor != 6 && tipoValor != 8)
    throw ECodigoInvalido("Valor em reais pede tipo de valor 6 ou 8 no código de arrecadação.");
  PartesArrecadacao partes;
  partes.Segmento = segmento;
  partes.TipoValor = tipoValor;
  partes.Valor = ValorEmCentavos(valor);
  partes.Identificacao = std::string(identificacao);
  ValidarPartes(partes);
  return partes;
}

std::string CodigoBarrasArrecadacao(const PartesArrecadacao& partes) {
  ValidarPartes(partes);
  return MontarCodigoBarras(partes);
}

std::string LinhaDigitavelArrecadacao(const PartesArrecadacao& partes) {
  return LinhaDoCodigo(CodigoBarrasArrecadacao(partes), partes.TipoValor);
}

ArrecadacaoLida LerCodigoBarrasArrecadacao(std::string_view codigo) {
  const std::string digitos = internal::DigitosDoCodigo(codigo, kCodigoBarras, kDigitosCodigoBarras);
  PartesArrecadacao partes =
      PartesDoCodigoBarras(digitos, "Dígito verificador do código de barras de arrecadação inválido.");
  return Lida(digitos, std::move(partes));
}

ArrecadacaoLida LerLinhaDigitavelArrecadacao(std::string_view linha) {
  const std::string digitos = internal::DigitosDoCodigo(linha, kLinhaDigitavel, kDigitosLinhaArrecadacao);
  const std::string codigo = CodigoDaLinha(digitos);
  PartesArrecadacao partes =
      PartesDoCodigoBarras(codigo, "Dígito verificador geral da linha digitável de arrecadação inválido.");
  return Lida(codigo, std::move(partes));
}

std::string LinhaDigitavelArrecadacaoDoCodigoBarras(std::string_view codigo) {
  return LerCodigoBarrasArrecadacao(codigo).LinhaDigitavel;
}

std::string CodigoBarrasDaLinhaDigitavelArrecadacao(std::string_view linha) {
  return LerLinhaDigitavelArrecadacao(linha).CodigoBarras;
}

std::string FormatarLinhaDigitavelArrecadacao(std::string_view linha) {
  const std::string d = LerLinhaDigitavelArrecadacao(linha).LinhaDigitavel;
  std::string formatada;
  for (std::size_t bloco = 0; bloco < kBlocos; ++bloco) {
    if (bloco > 0) formatada += ' ';
    formatada += d.substr(bloco * (kDigitosBloco + 1), kDigitosBloco);
    formatada += '-';
    formatada += d[bloco * (kDigitosBloco + 1) + kDigitosBloco];
  }
  return formatada;
}

}  // namespace febraban
