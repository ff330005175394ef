#include "report/internal/CodigoBarras.h"

#include <zint.h>

#include <chrono>
#include <memory>

#include "febraban/Arrecadacao.h"
#include "febraban/Boleto.h"
#include "febraban/ECodigoInvalido.h"
#include "report/ERelatorio.h"

namespace report::internal {

namespace {

struct ApagarSimbolo {
  void operator()(zint_symbol* simbolo) const noexcept { ZBarcode_Delete(simbolo); }
};

// zint keeps each row's modules as bits, eight to a byte, the first module in the lowest bit.
bool ModuloEscuro(const zint_symbol& simbolo, int modulo) {
  return ((simbolo.encoded_data[0][modulo >> 3] >> (modulo & 7)) & 1) != 0;
}

}  // namespace

TSimboloItf SimboloItf(std::string_view digitos) {
  const std::unique_ptr<zint_symbol, ApagarSimbolo> simbolo(ZBarcode_Create());
  if (!simbolo) throw EDadosRelatorio("Não foi possível preparar o código de barras: memória insuficiente.");
  simbolo->symbology = BARCODE_C25INTER;
  simbolo->show_hrt = 0;
  const std::string texto(digitos);
  const int resultado = ZBarcode_Encode(simbolo.get(), reinterpret_cast<const unsigned char*>(texto.data()),
                                        static_cast<int>(texto.size()));
  if (resultado >= ZINT_ERROR) {
    throw EDadosRelatorio("Não foi possível codificar o código de barras \"" + texto + "\": " + simbolo->errtxt);
  }
  TSimboloItf itf;
  itf.Modulos = simbolo->width;
  for (int modulo = 0; modulo < simbolo->width;) {
    if (!ModuloEscuro(*simbolo, modulo)) {
      ++modulo;
      continue;
    }
    TBarra barra{modulo, 0};
    while (modulo < simbolo->width && ModuloEscuro(*simbolo, modulo)) ++barra.Largura, ++modulo;
    itf.Barras.push_back(barra);
  }
  return itf;
}

std::string ProblemaCodigoSlip(std::string_view codigo) {
  if (codigo.size() != febraban::kDigitosCodigoBarras) {
    return "o código de barras tem " + std::to_string(codigo.size()) + " caracteres, e não 44 dígitos";
  }
  for (const char c : codigo) {
    if (c < '0' || c > '9') return "o código de barras tem caracteres que não são dígitos";
  }
  try {
    if (codigo.front() == '8') {
      (void)febraban::LerCodigoBarrasArrecadacao(codigo);
    } else {
      const auto hoje = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
      (void)febraban::LerCodigoBarrasBoleto(codigo, std::chrono::year_month_day{hoje});
    }
  } catch (const febraban::ECodigoInvalido& erro) {
    return erro.what();
  }
  return {};
}

}  // namespace report::internal
