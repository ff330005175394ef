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

constexpr internal::NomeDoCodigo kCodigoBarras{"Código de barras", false};
constexpr internal::NomeDoCodigo kLinhaDigitavel{"Linha digitável", true};

// Positions (0-based) of the barcode.
constexpr std::size_t kPosDigitoGeral = 4;
constexpr std::size_t kPosFator = 5;
constexpr std::size_t kPosValor = 9;
constexpr std::size_t kPosCampoLivre = 19;

// Positions (0-based) of the line: the three fields with their digits, the general digit, factor
// and value.
struct CampoDaLinha {
  std::size_t Inicio;   // first digit of the field
  std::size_t Tamanho;  // digits covered by its check digit, which follows them
};
constexpr CampoDaLinha kCamposDaLinha[] = {{0, 9}, {10, 10}, {21, 10}};
constexpr std::size_t kPosLinhaDigitoGeral = 32;
constexpr std::size_t kPosLinhaFatorValor = 33;

void ValidarPartes(const PartesBoleto& partes) {
  if (partes.Banco < 0 || partes.Banco > 999) throw ECodigoInvalido("Código do banco deve ter 3 dígitos.");
  if (partes.Moeda != kMoedaReal) throw ECodigoInvalido("Código da moeda deve ser 9 (real).");
  if (partes.Fator != kFatorSemVencimento && (partes.Fator < kMenorFator || partes.Fator > kMaiorFator))
    throw ECodigoInvalido("Fator de vencimento deve ser 0000 ou de 1000 a 9999.");
  if (partes.ValorCentavos < 0) throw ECodigoInvalido("Valor negativo não é aceito.");
  if (partes.ValorCentavos > kMaiorValorBoletoCentavos)
    throw ECodigoInvalido("Valor do boleto acima de 99.999.999,99.");
  if (partes.CampoLivre.size() != kDigitosCampoLivre || !internal::SoDigitos(partes.CampoLivre))
    throw ECodigoInvalido("Campo livre do boleto deve ter 25 dígitos.");
}

// The barcode with a valid general digit, from parts already checked.
std::string MontarCodigoBarras(const PartesBoleto& partes) {
  std::string semDigito = Numero(partes.Banco, 3) + Digito(partes.Moeda) + Numero(partes.Fator, 4) +
                          Numero(partes.ValorCentavos, 10) + partes.CampoLivre;
  const int digito = Modulo11Boleto(semDigito);
  return semDigito.insert(kPosDigitoGeral, 1, Digito(digito));
}

// The parts of a 44-digit barcode, its general digit verified.
PartesBoleto PartesDoCodigoBarras(const std::string& codigo, const char* digitoErrado) {
  std::string semDigito = codigo;
  semDigito.erase(kPosDigitoGeral, 1);
  if (Modulo11Boleto(semDigito) != ValorDoDigito(codigo[kPosDigitoGeral])) throw ECodigoInvalido(digitoErrado);
  PartesBoleto partes;
  partes.Banco = static_cast<int>(LerNumero(std::string_view(codigo).substr(0, 3)));
  partes.Moeda = ValorDoDigito(codigo[3]);
  partes.Fator = static_cast<int>(LerNumero(std::string_view(codigo).substr(kPosFator, 4)));
  partes.ValorCentavos = LerNumero(std::string_view(codigo).substr(kPosValor, 10));
  partes.CampoLivre = codigo.substr(kPosCampoLivre);
  if (partes.Moeda != kMoedaReal) throw ECodigoInvalido("Código da moeda deve ser 9 (real).");
  if (partes.Fator != kFatorSemVencimento && partes.Fator < kMenorFator)
    throw ECodigoInvalido("Fator de vencimento " + Numero(partes.Fator, 4) + " inválido.");
  return partes;
}

// The line of a valid barcode.
std::string LinhaDoCodigo(const std::string& codigo) {
  const std::string campoLivre = codigo.substr(kPosCampoLivre);
  const std::string campo1 = codigo.substr(0, 4) + campoLivre.substr(0, 5);
  const std::string campo2 = campoLivre.substr(5, 10);
  const std::string campo3 = campoLivre.substr(15, 10);
  return campo1 + Digito(Modulo10(campo1)) + campo2 + Digito(Modulo10(campo2)) + campo3 + Digito(Modulo10(campo3)) +
         codigo[kPosDigitoGeral] + codigo.substr(kPosFator, 14);
}

// The barcode a 47-digit line stands for, the digits of its three fields verified.
std::string CodigoDaLinha(const std::string& linha) {
  for (std::size_t campo = 0; campo < std::size(kCamposDaLinha); ++campo) {
    const CampoDaLinha& posicao = kCamposDaLinha[campo];
    const std::string_view digitos = std::string_view(linha).substr(posicao.Inicio, posicao.Tamanho);
    if (Modulo10(digitos) != ValorDoDigito(linha[posicao.Inicio + posicao.Tamanho]))
      throw ECodigoInvalido("Dígito verificador do campo " + std::to_string(campo + 1) +
                            " da linha digitável inválido.");
  }
  return linha.substr(0, 4) + linha[kPosLinhaDigitoGeral] + linha.substr(kPosLinhaFatorValor, 14) + linha.substr(4, 5) +
         linha.substr(10, 10) + linha.substr(21, 10);
}

BoletoLido Lido(const std::string& codigo, PartesBoleto partes, std::chrono::year_month_day referencia) {
  BoletoLido lido;
  lido.DigitoGeral = ValorDoDigito(codigo[kPosDigitoGeral]);
  lido.Vencimento = VencimentoDoFator(partes.Fator, referencia);
  lido.Partes = std::move(partes);
  lido.CodigoBarras = codigo;
  lido.LinhaDigitavel = LinhaDoCodigo(codigo);
  return lido;
}

}  // namespace

PartesBoleto NovoBoleto(int banco, std::optional<std::chrono::year_month_day> vencimento, double valor,
                        std::string_view campoLivre) {
  PartesBoleto partes;
  partes.Banco = banco;
  partes.Fator = vencimento ? FatorVencimento(*vencimento) : kFatorSemVencimento;
  partes.ValorCentavos = ValorEmCentavos(valor);
  partes.CampoLivre = std::string(campoLivre);
  ValidarPartes(partes);
  return partes;
}

std::string CodigoBarrasBoleto(const PartesBoleto& partes) {
  ValidarPartes(partes);
  return MontarCodigoBarras(partes);
}

std::string LinhaDigitavelBoleto(const PartesBoleto& partes) {
  return LinhaDoCodigo(CodigoBarrasBoleto(partes));
}

BoletoLido LerCodigoBarrasBoleto(std::string_view codigo, std::chrono::year_month_day referencia) {
  const std::string digitos = internal::DigitosDoCodigo(codigo, kCodigoBarras, kDigitosCodigoBarras);
  PartesBoleto partes = PartesDoCodigoBarras(digitos, "Dígito verificador do código de barras inválido.");
  return Lido(digitos, std::move(partes), referencia);
}

BoletoLido LerLinhaDigitavelBoleto(std::string_view linha, std::chrono::year_month_day referencia) {
  const std::string digitos = internal::DigitosDoCodigo(linha, kLinhaDigitavel, kDigitosLinhaBoleto);
  const std::string codigo = CodigoDaLinha(digitos);
  PartesBoleto partes = PartesDoCodigoBarras(codigo, "Dígito verificador geral da linha digitável inválido.");
  return Lido(codigo, std::move(partes), referencia);
}

std::string LinhaDigitavelDoCodigoBarras(std::string_view codigo) {
  const std::string digitos = internal::DigitosDoCodigo(codigo, kCodigoBarras, kDigitosCodigoBarras);
  static_cast<void>(PartesDoCodigoBarras(digitos, "Dígito verificador do código de barras inválido."));
  return LinhaDoCodigo(digitos);
}

std::string CodigoBarrasDaLinhaDigitavel(std::string_view linha) {
  const std::string digitos = internal::DigitosDoCodigo(linha, kLinhaDigitavel, kDigitosLinhaBoleto);
  const std::string codigo = CodigoDaLinha(digitos);
  static_cast<void>(PartesDoCodigoBarras(codigo, "Dígito verificador geral da linha digitável inválido."));
  return codigo;
}

std::string FormatarLinhaDigitavelBoleto(std::string_view linha) {
  const std::string d = LinhaDoCodigo(CodigoBarrasDaLinhaDigitavel(linha));
  return d.substr(0, 5) + '.' + d.substr(5, 5) + ' ' + d.substr(10, 5) + '.' + d.substr(15, 6) + ' ' + d.substr(21, 5) +
         '.' + d.substr(26, 6) + ' ' + d[32] + ' ' + d.substr(33);
}

}  // namespace febraban
