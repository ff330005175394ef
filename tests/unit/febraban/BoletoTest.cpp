#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>

#include "Falha.h"
#include "febraban/Boleto.h"
#include "febraban/ECodigoInvalido.h"

namespace {

using namespace std::chrono;
using febraban::BoletoLido;
using febraban::PartesBoleto;
using febrabantest::Falha;

constexpr year_month_day kHoje{year{2026}, March, day{10}};

// The worked example: bank 001, currency 9, due 3 July 2000 (factor 1000), R$ 10,00 and a free field
// whose three line fields are
//   001900000  -> products 0 0 2 9 0 0 0 0 0, sum 11, 10 - 1 = 9
//   0123456700 -> products 0 2 2 6 4 10 6 14 0 0, digit sums 26, 10 - 6 = 4
//   0000000118 -> products ... 2 1 16, digit sums 2 + 1 + 7 = 10, remainder 0 -> 0
// The general digit weighs the 43 other digits 2..9 from the right:
//   1*2 + 9*9 + 1*8 + 1*6 + 1*4 + 2*3 + 3*2 + 4*9 + 5*8 + 6*7 + 7*6 + 1*4 + 1*3 + 8*2 = 296
//   296 = 26 * 11 + 10, 11 - 10 = 1.
constexpr const char* kCampoLivre = "0000001234567000000000118";
constexpr const char* kCodigoExemplo = "00191100000000010000000001234567000000000118";
constexpr const char* kLinhaExemplo = "00190000090123456700400000001180110000000001000";
constexpr const char* kLinhaImpressa = "00190.00009 01234.567004 00000.001180 1 10000000001000";

PartesBoleto Partes(std::int64_t centavos, int fator = 1000) {
  PartesBoleto partes;
  partes.Banco = 1;
  partes.Fator = fator;
  partes.ValorCentavos = centavos;
  partes.CampoLivre = kCampoLivre;
  return partes;
}

TEST(BoletoExemplo, BuildsTheWorkedBarcodeAndLineAndReadsEveryPartBackFromEitherForm) {
  EXPECT_EQ(febraban::CodigoBarrasBoleto(Partes(1000)), kCodigoExemplo);
  EXPECT_EQ(febraban::LinhaDigitavelBoleto(Partes(1000)), kLinhaExemplo);
  EXPECT_EQ(febraban::FormatarLinhaDigitavelBoleto(kLinhaExemplo), kLinhaImpressa);
  for (const BoletoLido& lido : {febraban::LerCodigoBarrasBoleto(kCodigoExemplo, kHoje),
                                 febraban::LerLinhaDigitavelBoleto(kLinhaImpressa, kHoje)}) {
    EXPECT_EQ(lido.Partes, Partes(1000));
    EXPECT_EQ(lido.Partes.Moeda, 9);
    EXPECT_EQ(lido.DigitoGeral, 1);
    EXPECT_EQ(lido.CodigoBarras, kCodigoExemplo);
    EXPECT_EQ(lido.LinhaDigitavel, kLinhaExemplo);
    // Factor 1000 is 3 July 2000 or 22 February 2025; from 2026 the later one is nearer.
    EXPECT_EQ(lido.Vencimento, year_month_day(year{2025}, February, day{22}));
  }
}

TEST(BoletoExemplo, BuildsFromTheTitlesDueDateAndValue) {
  const PartesBoleto partes =
      febraban::NovoBoleto(1, year_month_day(year{2000}, July, day{3}), 10.0, std::string(kCampoLivre));
  EXPECT_EQ(partes, Partes(1000));
  const PartesBoleto semVencimento = febraban::NovoBoleto(237, std::nullopt, 19.99, kCampoLivre);
  EXPECT_EQ(semVencimento.Fator, 0);
  EXPECT_EQ(semVencimento.ValorCentavos, 1999);
  const BoletoLido lido = febraban::LerCodigoBarrasBoleto(febraban::CodigoBarrasBoleto(semVencimento), kHoje);
  EXPECT_EQ(lido.Partes.Banco, 237);
  EXPECT_FALSE(lido.Vencimento.has_value());
}

// The general digit is 11 - r, and 1 where that gives 10 or 11: the digit of a bank slip is never 0.
// It lands at position 5 and any other digit there is refused.
TEST(BoletoDigitoGeral, LandsAtPositionFiveAndNoOtherDigitIsAccepted) {
  struct Caso {
    std::int64_t centavos;  // the value varied over the worked example
    int resto;              // weighted sum mod 11
    char digito;
  };
  // Sums 296, 308 = 28 * 11, 320 = 29 * 11 + 1, 299, 311.
  for (const Caso& c :
       {Caso{1000, 10, '1'}, Caso{1004, 0, '1'}, Caso{1008, 1, '1'}, Caso{1001, 2, '9'}, Caso{1005, 3, '8'}}) {
    SCOPED_TRACE("remainder " + std::to_string(c.resto));
    const std::string codigo = febraban::CodigoBarrasBoleto(Partes(c.centavos));
    EXPECT_EQ(codigo[4], c.digito);
    EXPECT_EQ(febraban::LerCodigoBarrasBoleto(codigo, kHoje).DigitoGeral, c.digito - '0');
    for (char outro = '0'; outro <= '9'; ++outro) {
      if (outro == c.digito) continue;
      std::string errado = codigo;
      errado[4] = outro;
      EXPECT_EQ(Falha([&] { (void)febraban::LerCodigoBarrasBoleto(errado, kHoje); }),
                "Dígito verificador do código de barras inválido.")
          << errado;
    }
  }
}

// One digit of the line typed wrong is caught by the field it falls in: the modulus-10 digit of
// fields 1 to 3, the general digit for fields 4 and 5. The line has general digit 8 (remainder 3), so
// no mistyping can reach another remainder that also gives its digit.
TEST(BoletoLinhaDigitoErrado, IsRefusedNamingTheField) {
  struct Caso {
    std::size_t inicio;  // 0-based positions of the field in the 47 digits, its check digit included
    std::size_t fim;
    const char* mensagem;
  };
  const std::string linha = febraban::LinhaDigitavelBoleto(Partes(1005));
  ASSERT_EQ(linha[32], '8');
  for (const Caso& c : {Caso{0, 10, "Dígito verificador do campo 1 da linha digitável inválido."},
                        Caso{10, 21, "Dígito verificador do campo 2 da linha digitável inválido."},
                        Caso{21, 32, "Dígito verificador do campo 3 da linha digitável inválido."},
                        Caso{32, 47, "Dígito verificador geral da linha digitável inválido."}}) {
    for (std::size_t pos = c.inicio; pos < c.fim; ++pos) {
      for (char outro = '0'; outro <= '9'; ++outro) {
        if (outro == linha[pos]) continue;
        std::string errada = linha;
        errada[pos] = outro;
        EXPECT_EQ(Falha([&] { (void)febraban::LerLinhaDigitavelBoleto(errada, kHoje); }), c.mensagem)
            << "position " << pos + 1 << ": " << errada;
        EXPECT_EQ(Falha([&] { (void)febraban::CodigoBarrasDaLinhaDigitavel(errada); }), c.mensagem)
            << "position " << pos + 1;
      }
    }
  }
}

// Two fields swapped keep their own digits; the general digit still catches the exchange.
TEST(BoletoLinha, FieldsTypedInTheWrongOrderAreRefused) {
  const std::string linha = febraban::LinhaDigitavelBoleto(Partes(1005));
  const std::string trocada = linha.substr(0, 10) + linha.substr(21, 11) + linha.substr(10, 11) + linha.substr(32);
  EXPECT_EQ(Falha([&] { (void)febraban::LerLinhaDigitavelBoleto(trocada, kHoje); }),
            "Dígito verificador geral da linha digitável inválido.");
}

// A deterministic spread of parts: every bank width, factor 0 and both ends, values up to the limit.
PartesBoleto PartesNumero(std::uint64_t n) {
  std::uint64_t estado = n * 6364136223846793005ULL + 1442695040888963407ULL;
  const auto proximo = [&estado](std::uint64_t limite) {
    estado = estado * 6364136223846793005ULL + 1442695040888963407ULL;
    return (estado >> 17) % limite;
  };
  PartesBoleto partes;
  partes.Banco = static_cast<int>(proximo(1000));
  const int fatores[] = {0, 1000, 9999, static_cast<int>(1000 + proximo(9000))};
  partes.Fator = fatores[proximo(4)];
  partes.ValorCentavos = n % 7 == 0 ? febraban::kMaiorValorBoletoCentavos
                                    : static_cast<std::int64_t>(proximo(febraban::kMaiorValorBoletoCentavos + 1));
  for (int i = 0; i < 25; ++i) partes.CampoLivre += static_cast<char>('0' + proximo(10));
  return partes;
}

TEST(BoletoIdaEVolta, BarcodeToLineToBarcodeKeepsEveryPart) {
  for (std::uint64_t n = 0; n < 2000; ++n) {
    const PartesBoleto partes = PartesNumero(n);
    const std::string codigo = febraban::CodigoBarrasBoleto(partes);
    const std::string linha = febraban::LinhaDigitavelDoCodigoBarras(codigo);
    ASSERT_EQ(febraban::CodigoBarrasDaLinhaDigitavel(linha), codigo);
    ASSERT_EQ(linha, febraban::LinhaDigitavelBoleto(partes));
    const BoletoLido lido = febraban::LerLinhaDigitavelBoleto(febraban::FormatarLinhaDigitavelBoleto(linha), kHoje);
    ASSERT_EQ(lido.Partes, partes) << codigo;
    ASSERT_EQ(lido.CodigoBarras, codigo);
    ASSERT_EQ(febraban::LerCodigoBarrasBoleto(codigo, kHoje).LinhaDigitavel, linha);
  }
}

TEST(BoletoLeitura, IgnoresBlanksDotsAndUnderscores) {
  EXPECT_EQ(febraban::CodigoBarrasDaLinhaDigitavel(" 00190.00009_01234.567004\t00000.001180 1 10000000001000\r\n"),
            kCodigoExemplo);
  EXPECT_EQ(febraban::LinhaDigitavelDoCodigoBarras("0019 1100 0000 0001 0000 0000 0123 4567 0000 0000 0118"),
            kLinhaExemplo);
}

TEST(BoletoRecusa, WithAClearMessage) {
  struct Caso {
    const char* nome;
    const char* codigo;
    bool linha;  // read as a typeable line, else as a barcode
    const char* mensagem;
  };
  const Caso casos[] = {
      {"CodigoVazio", "", false, "Código de barras não informado."},
      {"CodigoSoSeparadores", " . _ ", false, "Código de barras não informado."},
      {"LinhaVazia", "", true, "Linha digitável não informada."},
      {"CodigoCurto", "0019110000000001000000000123456700000000011", false, "Código de barras deve ter 44 dígitos."},
      {"CodigoLongo", "001911000000000100000000012345670000000001180", false, "Código de barras deve ter 44 dígitos."},
      {"LinhaNoLugarDoCodigo", kLinhaExemplo, false, "Código de barras deve ter 44 dígitos."},
      {"CodigoNoLugarDaLinha", kCodigoExemplo, true, "Linha digitável deve ter 47 dígitos."},
      {"CodigoComLetra", "0019110000000001000000000123456700000000011A", false,
       "Código de barras contém caracteres inválidos."},
      {"LinhaComLetraNoLugarDeUmDigito", "00190.00009 01234.567004 00000.00118O 1 10000000001000", true,
       "Linha digitável contém caracteres inválidos."},
      {"DigitoAcentuado", "00191100000000010000000001234567000000000118\xc2\xb9", false,
       "Código de barras contém caracteres inválidos."},
      // Currency 0 with its own valid general digit.
      {"MoedaDiferenteDeReal", "00105100000000010000000001234567000000000118", false,
       "Código da moeda deve ser 9 (real)."},
      // Factor 0500 (a date of 1999, before factors were printed), its general digit valid.
      {"FatorAbaixoDe1000", "00197050000000010000000001234567000000000118", false,
       "Fator de vencimento 0500 inválido."},
  };
  for (const Caso& c : casos) {
    EXPECT_EQ(Falha([&] {
                if (c.linha)
                  (void)febraban::LerLinhaDigitavelBoleto(c.codigo, kHoje);
                else
                  (void)febraban::LerCodigoBarrasBoleto(c.codigo, kHoje);
              }),
              c.mensagem)
        << c.nome;
  }
}

TEST(BoletoMontagem, RefusesPartsThatDoNotFitTheLayout) {
  using Ajuste = void (*)(PartesBoleto&);
  const std::pair<Ajuste, const char*> casos[] = {
      {[](PartesBoleto& p) { p.Banco = 1000; }, "Código do banco deve ter 3 dígitos."},
      {[](PartesBoleto& p) { p.Banco = -1; }, "Código do banco deve ter 3 dígitos."},
      {[](PartesBoleto& p) { p.Moeda = 0; }, "Código da moeda deve ser 9 (real)."},
      {[](PartesBoleto& p) { p.Fator = 999; }, "Fator de vencimento deve ser 0000 ou de 1000 a 9999."},
      {[](PartesBoleto& p) { p.Fator = 10000; }, "Fator de vencimento deve ser 0000 ou de 1000 a 9999."},
      {[](PartesBoleto& p) { p.ValorCentavos = 10'000'000'000; }, "Valor do boleto acima de 99.999.999,99."},
      {[](PartesBoleto& p) { p.ValorCentavos = -1; }, "Valor negativo não é aceito."},
      {[](PartesBoleto& p) { p.CampoLivre.pop_back(); }, "Campo livre do boleto deve ter 25 dígitos."},
      {[](PartesBoleto& p) { p.CampoLivre[23] = ' '; }, "Campo livre do boleto deve ter 25 dígitos."},
  };
  for (const auto& [ajuste, mensagem] : casos) {
    PartesBoleto partes = Partes(1000);
    ajuste(partes);
    EXPECT_EQ(Falha([&] { (void)febraban::CodigoBarrasBoleto(partes); }), mensagem);
  }
}

TEST(BoletoMontagem, RefusesTitlesThatDoNotFit) {
  const auto falha = [](std::optional<year_month_day> vencimento, double valor) {
    return Falha([&] { (void)febraban::NovoBoleto(1, vencimento, valor, kCampoLivre); });
  };
  EXPECT_EQ(falha(std::nullopt, 99'999'999.99), "(nenhuma falha)");
  EXPECT_EQ(falha(std::nullopt, 100'000'000.00), "Valor do boleto acima de 99.999.999,99.");
  EXPECT_EQ(falha(std::nullopt, -0.01), "Valor negativo não é aceito.");
  EXPECT_EQ(falha(year_month_day(year{2000}, July, day{2}), 10.0),
            "Data de vencimento anterior a 03/07/2000 não tem fator de vencimento.");
  EXPECT_EQ(falha(year_month_day(year{2025}, February, day{30}), 10.0), "Data de vencimento inválida.");
}

}  // namespace
