// Feeds arbitrary bytes to the FEBRABAN codes library. Every call must answer or raise
// febraban::ECodigoInvalido: a crash, another exception or a sanitizer report is a fault. What is
// read must also build back to the same code, so a parser that accepts what the builder would not
// write, or reads a part wrong, is a fault too.
//
// An input starting with byte 0xFE drives the builders instead: after it come a double (8 bytes), a
// day count relative to 2026-03-10 (4 bytes, signed), a bank (2 bytes), a segment and a value type
// (1 byte each) and the free field digits as text.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "febraban/Arrecadacao.h"
#include "febraban/Boleto.h"
#include "febraban/ECodigoInvalido.h"
#include "febraban/FatorVencimento.h"
#include "febraban/Valor.h"

namespace {

using namespace std::chrono;

constexpr year_month_day kReferencia{year{2026}, March, day{10}};

void Exigir(bool condicao) {
  if (!condicao) std::abort();
}

template <typename Acao>
void Tentar(Acao acao) {
  try {
    acao();
  } catch (const febraban::ECodigoInvalido& erro) {
    Exigir(std::strlen(erro.what()) > 0);
  }
}

void ConferirBoleto(const febraban::BoletoLido& lido) {
  Exigir(febraban::CodigoBarrasBoleto(lido.Partes) == lido.CodigoBarras);
  Exigir(febraban::LinhaDigitavelBoleto(lido.Partes) == lido.LinhaDigitavel);
  Exigir(febraban::CodigoBarrasDaLinhaDigitavel(lido.LinhaDigitavel) == lido.CodigoBarras);
  Exigir(lido.Vencimento.has_value() == (lido.Partes.Fator != 0));
  if (lido.Vencimento) Exigir(febraban::FatorVencimento(*lido.Vencimento) == lido.Partes.Fator);
}

void ConferirArrecadacao(const febraban::ArrecadacaoLida& lida) {
  Exigir(febraban::CodigoBarrasArrecadacao(lida.Partes) == lida.CodigoBarras);
  Exigir(febraban::LinhaDigitavelArrecadacao(lida.Partes) == lida.LinhaDigitavel);
  Exigir(lida.CodigoBarras[0] == '8' && lida.Empresa.size() + lida.CampoLivre.size() == 29);
}

void LerTexto(std::string_view texto) {
  Tentar([&] { ConferirBoleto(febraban::LerCodigoBarrasBoleto(texto, kReferencia)); });
  Tentar([&] { ConferirBoleto(febraban::LerLinhaDigitavelBoleto(texto, kReferencia)); });
  Tentar([&] { ConferirArrecadacao(febraban::LerCodigoBarrasArrecadacao(texto)); });
  Tentar([&] { ConferirArrecadacao(febraban::LerLinhaDigitavelArrecadacao(texto)); });
  Tentar([&] {
    const std::string impressa = febraban::FormatarLinhaDigitavelBoleto(texto);
    ConferirBoleto(febraban::LerLinhaDigitavelBoleto(impressa, kReferencia));
  });
  Tentar([&] {
    const std::string impressa = febraban::FormatarLinhaDigitavelArrecadacao(texto);
    ConferirArrecadacao(febraban::LerLinhaDigitavelArrecadacao(impressa));
  });
}

template <typename T>
T Ler(const std::uint8_t*& dados) {
  T valor;
  std::memcpy(&valor, dados, sizeof valor);
  dados += sizeof valor;
  return valor;
}

void Montar(const std::uint8_t* dados, std::size_t tamanho) {
  constexpr std::size_t kCabecalho = 1 + 8 + 4 + 2 + 1 + 1;
  if (tamanho < kCabecalho) return;
  const std::uint8_t* fim = dados + tamanho;
  ++dados;
  const auto valor = Ler<double>(dados);
  const auto dias = Ler<std::int32_t>(dados);
  const auto banco = Ler<std::int16_t>(dados);
  const auto segmento = Ler<std::int8_t>(dados);
  const auto tipo = Ler<std::int8_t>(dados);
  const std::string campo(reinterpret_cast<const char*>(dados), static_cast<std::size_t>(fim - dados));
  // Days kept within some 30,000 years either side, inside what year_month_day holds.
  const year_month_day data(sys_days(kReferencia) + std::chrono::days(dias % 11'000'000));

  Tentar([&] {
    const std::int64_t centavos = febraban::ValorEmCentavos(valor);
    Exigir(centavos >= 0 && static_cast<double>(centavos) - valor * 100 <= 1 &&
           valor * 100 - static_cast<double>(centavos) <= 1);
  });
  Tentar([&] {
    const int fator = febraban::FatorVencimento(data);
    Exigir(fator >= 1000 && fator <= 9999);
    if (data.year() <= year{9999}) Exigir(febraban::VencimentoDoFator(fator, data) == data);
  });
  Tentar([&] { static_cast<void>(febraban::VencimentoDoFator(dias % 20'000, data)); });
  Tentar([&] {
    const febraban::PartesBoleto partes = febraban::NovoBoleto(banco, data, valor, campo);
    ConferirBoleto(febraban::LerCodigoBarrasBoleto(febraban::CodigoBarrasBoleto(partes), data));
  });
  Tentar([&] {
    const febraban::PartesArrecadacao partes = febraban::NovaArrecadacao(segmento, tipo, valor, campo);
    ConferirArrecadacao(febraban::LerCodigoBarrasArrecadacao(febraban::CodigoBarrasArrecadacao(partes)));
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 0 && data[0] == 0xFE) {
    Montar(data, size);
  } else {
    LerTexto(std::string_view(reinterpret_cast<const char*>(data), size));
  }
  return 0;
}
