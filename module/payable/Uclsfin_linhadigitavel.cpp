#include "payable/Uclsfin_linhadigitavel.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "febraban/Arrecadacao.h"
#include "febraban/Boleto.h"
#include "febraban/ECodigoInvalido.h"
#include "febraban/FatorVencimento.h"
#include "febraban/Modulos.h"
#include "febraban/Valor.h"
#include "rtl/Formatacao.h"

namespace {

using R = RFin_ValidarLinhaDigitavel;
namespace chr = std::chrono;

// Lengths of a typeable bank-slip line that lacks its fifth field (factor and value): it is completed
// with a zero factor and the title's value.
constexpr std::size_t kMenorLinhaCurta = 37;
constexpr std::size_t kMaiorLinhaCurta = 46;
constexpr std::size_t kCamposSemFatorValor = 33;

[[nodiscard]] bool SoDigitos(std::string_view texto) {
  if (texto.empty()) return false;
  for (char c : texto) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The code without the separators people type or print: blanks, ".", "_" and "-".
[[nodiscard]] std::string SemSeparadores(std::string_view codigo) {
  std::string limpo;
  for (char c : codigo) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '.' || c == '_' || c == '-') continue;
    limpo += c;
  }
  return limpo;
}

[[nodiscard]] chr::year_month_day Data(TDateTime data) {
  return chr::year_month_day{chr::year{data.Year()}, chr::month{static_cast<unsigned>(data.Month())},
                             chr::day{static_cast<unsigned>(data.Day())}};
}

// Cents of the title after the slip's deductions are taken from the slip: the title's value plus
// them, so both sides are whole cents before they are compared.
[[nodiscard]] std::int64_t CentavosEsperados(const R& registro) {
  return febraban::ValorEmCentavos(RoundTo(registro.VALOR + registro.VLDESCONTO + registro.VLABATIMENTO, 2));
}

bool Recusar(R& registro, const char* mensagem) {
  registro.MENSAGEM = mensagem;
  return false;
}

bool Aceitar(R& registro, std::string codigo_barras) {
  registro.CODIGOBARRAS = std::move(codigo_barras);
  return true;
}

// The value of a bank slip is compared only when its due date is the title's: a slip due on
// another day may carry interest or a discount of its own.
[[nodiscard]] bool ValorConfere(const R& registro, const febraban::BoletoLido& boleto,
                                chr::year_month_day vencimento_titulo) {
  const chr::year_month_day vencimento = boleto.Vencimento.value_or(vencimento_titulo);
  if (vencimento != vencimento_titulo) return true;
  try {
    return boleto.Partes.ValorCentavos == CentavosEsperados(registro);
  } catch (const febraban::ECodigoInvalido&) {
    return false;  // a title value no slip can carry
  }
}

// A typeable line without its fifth field: the three fields (each with its digit) and the general
// digit, completed with a zero factor and the title's value. Its general digit covers the factor and
// value the line lacks, so only the field digits can be verified, and there is no value to compare.
bool ValidarLinhaCurta(R& registro, const std::string& linha) {
  constexpr struct {
    std::size_t Inicio;
    std::size_t Tamanho;
  } kCampos[] = {{0, 9}, {10, 10}, {21, 10}};
  for (const auto& campo : kCampos) {
    const int digito = febraban::Modulo10(std::string_view(linha).substr(campo.Inicio, campo.Tamanho));
    if (linha[campo.Inicio + campo.Tamanho] - '0' != digito) {
      return Recusar(registro, TValidaLinhaDigitavel::kDigitoInvalido);
    }
  }
  std::int64_t centavos = 0;
  try {
    centavos = febraban::ValorEmCentavos(RoundTo(registro.VALOR, 2));
  } catch (const febraban::ECodigoInvalido&) {
    return Recusar(registro, TValidaLinhaDigitavel::kBoletoInvalido);
  }
  if (centavos > febraban::kMaiorValorBoletoCentavos) return Recusar(registro, TValidaLinhaDigitavel::kBoletoInvalido);
  std::string valor = std::to_string(centavos);
  valor.insert(0, 10 - valor.size(), '0');
  const std::string campos = linha.substr(0, kCamposSemFatorValor);
  return Aceitar(registro, campos.substr(0, 4) + campos[32] + "0000" + valor + campos.substr(4, 5) +
                               campos.substr(10, 10) + campos.substr(21, 10));
}

bool ValidarBoleto(R& registro, const std::string& digitado, chr::year_month_day vencimento_titulo) {
  std::string linha;
  febraban::BoletoLido boleto;
  try {
    if (registro.FORMATO == 0) {
      // A scanned barcode is 44 digits; dots mean a typeable line given in the wrong format.
      const std::string codigo = Trim(digitado);
      if (codigo.find('.') != std::string::npos) return Recusar(registro, TValidaLinhaDigitavel::kFormatoInvalido);
      const std::string digitos = SemSeparadores(codigo);
      if (digitos.size() != febraban::kDigitosCodigoBarras || !SoDigitos(digitos)) {
        return Recusar(registro, TValidaLinhaDigitavel::kFormatoInvalido);
      }
      boleto = febraban::LerCodigoBarrasBoleto(digitos, vencimento_titulo);
    } else {
      linha = SemSeparadores(digitado);
      if (!SoDigitos(linha)) return Recusar(registro, TValidaLinhaDigitavel::kFormatoInvalido);
      if (linha.size() >= kMenorLinhaCurta && linha.size() <= kMaiorLinhaCurta) {
        return ValidarLinhaCurta(registro, linha);
      }
      if (linha.size() != febraban::kDigitosLinhaBoleto) {
        return Recusar(registro, TValidaLinhaDigitavel::kFormatoInvalido);
      }
      boleto = febraban::LerLinhaDigitavelBoleto(linha, vencimento_titulo);
    }
  } catch (const febraban::ECodigoInvalido&) {
    return Recusar(registro, TValidaLinhaDigitavel::kDigitoInvalido);
  }
  if (!ValorConfere(registro, boleto, vencimento_titulo)) {
    return Recusar(registro, TValidaLinhaDigitavel::kBoletoInvalido);
  }
  return Aceitar(registro, boleto.CodigoBarras);
}

// The check digit of a collection barcode by its value type: modulus 10 for 6 and 7, modulus 11 for
// 8 and 9; any other type has none, and its digit must be 0.
[[nodiscard]] int DigitoArrecadacao(const std::string& codigo) {
  const std::string semDigito = codigo.substr(0, 3) + codigo.substr(4);
  switch (codigo[2]) {
    case '6':
    case '7':
      return febraban::Modulo10(semDigito);
    case '8':
    case '9':
      return febraban::Modulo11Arrecadacao(semDigito);
    default:
      return 0;
  }
}

bool ValidarArrecadacao(R& registro, const std::string& digitado) {
  const std::string codigo_digitado = SemSeparadores(digitado);
  if (codigo_digitado.empty() || codigo_digitado[0] != '8') {
    return Recusar(registro, TValidaLinhaDigitavel::kNaoArrecadacao);
  }
  if (!SoDigitos(codigo_digitado)) return Recusar(registro, TValidaLinhaDigitavel::kFormatoInvalido);
  std::string codigo;
  if (registro.FORMATO == 0) {
    if (codigo_digitado.size() != febraban::kDigitosCodigoBarras) {
      return Recusar(registro, TValidaLinhaDigitavel::kFormatoInvalido);
    }
    codigo = codigo_digitado;
  } else {
    if (codigo_digitado.size() != febraban::kDigitosLinhaArrecadacao) {
      return Recusar(registro, TValidaLinhaDigitavel::kFormatoInvalido);
    }
    // Four blocks of 11 digits, each followed by its own digit in the modulus of the value type.
    const bool modulo10 = codigo_digitado[2] == '6' || codigo_digitado[2] == '7';
    const bool modulo11 = codigo_digitado[2] == '8' || codigo_digitado[2] == '9';
    for (std::size_t bloco = 0; bloco < 4; ++bloco) {
      const std::string digitos = codigo_digitado.substr(bloco * 12, 11);
      if (modulo10 || modulo11) {
        const int digito = modulo10 ? febraban::Modulo10(digitos) : febraban::Modulo11Arrecadacao(digitos);
        if (codigo_digitado[bloco * 12 + 11] - '0' != digito) {
          return Recusar(registro, TValidaLinhaDigitavel::kDigitoArrecadacaoInvalido);
        }
      }
      codigo += digitos;
    }
  }
  // Types 6 and 8 carry a value in reais; 7 and 9 a reference quantity, which is not the title's value.
  if (codigo[2] == '6' || codigo[2] == '8') {
    bool confere = false;
    try {
      confere = std::stoll(codigo.substr(4, 11)) == CentavosEsperados(registro);
    } catch (const febraban::ECodigoInvalido&) {
      confere = false;
    }
    if (!confere) return Recusar(registro, TValidaLinhaDigitavel::kDigitoArrecadacaoInvalido);
  }
  if (codigo[3] - '0' != DigitoArrecadacao(codigo)) {
    return Recusar(registro, TValidaLinhaDigitavel::kDigitoArrecadacaoInvalido);
  }
  return Aceitar(registro, codigo);
}

}  // namespace

bool TValidaLinhaDigitavel::Validar(RFin_ValidarLinhaDigitavel& registro, TDateTime hoje) {
  registro.MENSAGEM.clear();
  registro.CODIGOBARRAS.clear();
  if (Trim(registro.CODIGO).empty()) return Recusar(registro, kNaoInformado);
  if (registro.FORMATO != 0 && registro.FORMATO != 1) return Recusar(registro, kFormatoInvalido);
  if (registro.TIPODOCUMENTO == 1) return ValidarArrecadacao(registro, registro.CODIGO);
  if (registro.TIPODOCUMENTO != 0) return Recusar(registro, kFormatoInvalido);
  const TDateTime vencimento = registro.DTVENC.IsZero() ? hoje : registro.DTVENC;
  return ValidarBoleto(registro, registro.CODIGO, Data(vencimento));
}
