#include "febraban/Modulos.h"

#include "febraban/ECodigoInvalido.h"
#include "febraban/internal/Digitos.h"

namespace febraban {

namespace {

void ExigirDigitos(std::string_view digitos) {
  if (digitos.empty() || !internal::SoDigitos(digitos))
    throw ECodigoInvalido("Dígito verificador calculado sobre um texto que não é só de dígitos.");
}

// The sum of the digits weighted 2, 3, ..., 9, 2, 3, ... from the right.
int SomaPesos2a9(std::string_view digitos) {
  ExigirDigitos(digitos);
  int soma = 0;
  int peso = 2;
  for (auto it = digitos.rbegin(); it != digitos.rend(); ++it) {
    soma += internal::ValorDoDigito(*it) * peso;
    peso = peso == 9 ? 2 : peso + 1;
  }
  return soma;
}

}  // namespace

int Modulo10(std::string_view digitos) {
  ExigirDigitos(digitos);
  int soma = 0;
  int peso = 2;
  for (auto it = digitos.rbegin(); it != digitos.rend(); ++it) {
    const int produto = internal::ValorDoDigito(*it) * peso;
    soma += produto / 10 + produto % 10;
    peso = 3 - peso;
  }
  const int resto = soma % 10;
  return resto == 0 ? 0 : 10 - resto;
}

int Modulo11Boleto(std::string_view digitos) {
  const int digito = 11 - SomaPesos2a9(digitos) % 11;
  return digito >= 10 ? 1 : digito;  // 10 and 11 (remainders 1 and 0) become 1, and 0 never occurs
}

int Modulo11Arrecadacao(std::string_view digitos) {
  const int resto = SomaPesos2a9(digitos) % 11;
  if (resto == 0 || resto == 1) return 0;
  if (resto == 10) return 1;
  return 11 - resto;
}

}  // namespace febraban
