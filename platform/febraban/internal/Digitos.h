#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Helpers the codes share: the digits of a typed code, fixed-width numbers and digit fields.
namespace febraban::internal {

// What a code is called in its messages: "Código de barras", or "Linha digitável" (feminine).
struct NomeDoCodigo {
  std::string_view Nome;
  bool Feminino = false;
};

// The digits of a typed code with blanks (space, tab, line breaks), ".", "_" and "-" removed. Empty
// after that: "<nome> não informado(a)."; any other character: "<nome> contém caracteres inválidos.";
// not `tamanho` digits: "<nome> deve ter <tamanho> dígitos.".
[[nodiscard]] std::string DigitosDoCodigo(std::string_view codigo, NomeDoCodigo nome, std::size_t tamanho);

[[nodiscard]] bool SoDigitos(std::string_view texto) noexcept;

// `valor` (not negative) written with exactly `largura` digits, zeros on the left.
[[nodiscard]] std::string Numero(std::int64_t valor, std::size_t largura);

// The number written by the digits of `texto` (all digits, at most 18 of them).
[[nodiscard]] std::int64_t LerNumero(std::string_view texto) noexcept;

[[nodiscard]] inline char Digito(int valor) noexcept {
  return static_cast<char>('0' + valor);
}
[[nodiscard]] inline int ValorDoDigito(char digito) noexcept {
  return digito - '0';
}

}  // namespace febraban::internal
