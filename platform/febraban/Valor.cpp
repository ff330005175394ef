#include "febraban/Valor.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "febraban/ECodigoInvalido.h"
#include "febraban/internal/Digitos.h"

namespace febraban {

namespace {

// Larger amounts do not fit any code, and their cents would come near the limits of int64.
constexpr double kLimiteValor = 1e13;

}  // namespace

std::int64_t ValorEmCentavos(double valor) {
  if (!std::isfinite(valor)) throw ECodigoInvalido("Valor inválido.");
  if (valor < 0) throw ECodigoInvalido("Valor negativo não é aceito.");
  if (valor >= kLimiteValor) throw ECodigoInvalido("Valor acima do limite aceito.");
  if (valor == 0) return 0;  // -0.0 as well, whose text starts with a sign
  // The shortest decimal text that reads back as this double is the amount that was meant: 1.005
  // is stored as 1.00499999999999989..., but "1.005" is its shortest text. The cents come from that
  // text, rounded half away from zero on the third decimal.
  char texto[400];  // the fixed notation of the smallest double has some 330 characters
  const auto escrito = std::to_chars(texto, texto + sizeof texto, valor, std::chars_format::fixed);
  const std::string_view decimal(texto, static_cast<std::size_t>(escrito.ptr - texto));
  const std::size_t ponto = decimal.find('.');
  const std::string_view inteiro = decimal.substr(0, ponto);
  const std::string_view fracao = ponto == std::string_view::npos ? std::string_view() : decimal.substr(ponto + 1);
  std::int64_t centavos = internal::LerNumero(inteiro) * 100;
  if (!fracao.empty()) centavos += internal::ValorDoDigito(fracao[0]) * 10;
  if (fracao.size() > 1) centavos += internal::ValorDoDigito(fracao[1]);
  if (fracao.size() > 2 && fracao[2] >= '5') ++centavos;
  return centavos;
}

}  // namespace febraban
