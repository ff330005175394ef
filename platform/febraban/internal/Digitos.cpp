#include "febraban/internal/Digitos.h"

#include "febraban/ECodigoInvalido.h"

namespace febraban::internal {

namespace {

bool Separador(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '.' || c == '_' || c == '-';
}

}  // namespace

std::string DigitosDoCodigo(std::string_view codigo, NomeDoCodigo nome, std::size_t tamanho) {
  const std::string oQue(nome.Nome);
  std::string digitos;
  digitos.reserve(tamanho);
  bool invalido = false;
  for (const char c : codigo) {
    if (Separador(c)) continue;
    if (c < '0' || c > '9') {
      invalido = true;
      continue;
    }
    // A code far longer than any layout is refused by its length; the copy need not grow with it.
    if (digitos.size() <= tamanho) digitos += c;
  }
  if (invalido) throw ECodigoInvalido(oQue + " contém caracteres inválidos.");
  if (digitos.empty()) throw ECodigoInvalido(oQue + (nome.Feminino ? " não informada." : " não informado."));
  if (digitos.size() != tamanho) throw ECodigoInvalido(oQue + " deve ter " + std::to_string(tamanho) + " dígitos.");
  return digitos;
}

bool SoDigitos(std::string_view texto) noexcept {
  for (const char c : texto)
    if (c < '0' || c > '9') return false;
  return true;
}

std::string Numero(std::int64_t valor, std::size_t largura) {
  std::string texto(largura, '0');
  for (std::size_t pos = largura; pos > 0 && valor > 0; --pos) {
    texto[pos - 1] = Digito(static_cast<int>(valor % 10));
    valor /= 10;
  }
  return texto;
}

std::int64_t LerNumero(std::string_view texto) noexcept {
  std::int64_t valor = 0;
  for (const char c : texto) valor = valor * 10 + ValorDoDigito(c);
  return valor;
}

}  // namespace febraban::internal
