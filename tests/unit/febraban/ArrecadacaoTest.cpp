#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "Falha.h"
#include "febraban/Arrecadacao.h"
#include "febraban/Modulos.h"

namespace {

using febraban::ArrecadacaoLida;
using febraban::PartesArrecadacao;
using febrabantest::Falha;

// Segment 3 (energy and gas), company 0046, the rest its free field.
constexpr const char* kIdentificacao = "00460179160607593050865831483";

PartesArrecadacao Partes(int tipoValor, std::int64_t valor) {
  PartesArrecadacao partes;
  partes.Segmento = 3;
  partes.TipoValor = tipoValor;
  partes.Valor = valor;
  partes.Identificacao = kIdentificacao;
  return partes;
}

// Each value type with its modulus, values chosen so the general digit lands on the special cases.
// The sums are over the 43 digits without position 4: for types 6 and 7 the digit sums of the
// products by 2, 1, ... from the right; for 8 and 9 the products by 2..9. Each builds and reads back
// in both forms, and any other general digit is refused.
TEST(ArrecadacaoTipo, BuildsAndReadsBothFormsAndRefusesAnyOtherGeneralDigit) {
  struct Caso {
    const char* nome;
    int tipoValor;
    std::int64_t valor;
    const char* codigo;
    const char* linha;
  };
  const Caso casos[] = {
      // Sum 145: 10 - 5 = 5.
      {"Tipo6", 6, 16232, "83650000001623200460179160607593050865831483",
       "836500000010623200460177916060759302508658314838"},
      // Sum 150, remainder 0: digit 0.
      {"Tipo6Resto0", 6, 16237, "83600000001623700460179160607593050865831483",
       "836000000015623700460172916060759302508658314838"},
      {"Tipo7Resto0", 7, 16235, "83700000001623500460179160607593050865831483",
       "837000000013623500460174916060759302508658314838"},
      // Sum 783 = 71 * 11 + 2: 11 - 2 = 9.
      {"Tipo8", 8, 16232, "83890000001623200460179160607593050865831483",
       "838900000013623200460177916060759309508658314839"},
      // Sum 825 = 75 * 11: 0.
      {"Tipo8Resto0", 8, 16238, "83800000001623800460179160607593050865831483",
       "838000000017623800460178916060759309508658314839"},
      // Sum 804 = 73 * 11 + 1: 11 - 1 would be 10, the digit is 0.
      {"Tipo8Resto1", 8, 16235, "83800000001623500460179160607593050865831483",
       "838000000017623500460172916060759309508658314839"},
      // Sum 791 = 71 * 11 + 10: 1.
      {"Tipo8Resto10", 8, 16242, "83810000001624200460179160607593050865831483",
       "838100000019624200460175916060759309508658314839"},
      {"Tipo9Resto0", 9, 16233, "83900000001623300460179160607593050865831483",
       "839000000015623300460179916060759309508658314839"},
      {"Tipo9Resto1", 9, 16242, "83900000001624200460179160607593050865831483",
       "839000000015624200460175916060759309508658314839"},
      {"Tipo9Resto10", 9, 16236, "83910000001623600460179160607593050865831483",
       "839100000017623600460174916060759309508658314839"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.nome);
    const PartesArrecadacao partes = Partes(c.tipoValor, c.valor);
    EXPECT_EQ(febraban::CodigoBarrasArrecadacao(partes), c.codigo);
    EXPECT_EQ(febraban::LinhaDigitavelArrecadacao(partes), c.linha);
    EXPECT_EQ(febraban::LinhaDigitavelArrecadacaoDoCodigoBarras(c.codigo), c.linha);
    EXPECT_EQ(febraban::CodigoBarrasDaLinhaDigitavelArrecadacao(c.linha), c.codigo);
    for (const ArrecadacaoLida& lida :
         {febraban::LerCodigoBarrasArrecadacao(c.codigo), febraban::LerLinhaDigitavelArrecadacao(c.linha)}) {
      EXPECT_EQ(lida.Partes, partes);
      EXPECT_EQ(lida.DigitoGeral, c.codigo[3] - '0');
      EXPECT_EQ(lida.ValorEmReais, c.tipoValor == 6 || c.tipoValor == 8);
      EXPECT_EQ(lida.Empresa, "0046");
      EXPECT_EQ(lida.CampoLivre, "0179160607593050865831483");
    }
    for (char outro = '0'; outro <= '9'; ++outro) {
      if (outro == c.codigo[3]) continue;
      std::string errado = c.codigo;
      errado[3] = outro;
      EXPECT_EQ(Falha([&] { (void)febraban::LerCodigoBarrasArrecadacao(errado); }),
                "Dígito verificador do código de barras de arrecadação inválido.")
          << errado;
    }
  }
}

// The check-digit examples of the collection standard: 01230067896 gives 3 with modulus 10
// (digit sums 37, 10 - 7) and 0 with modulus 11 (products 176 = 16 * 11).
TEST(ArrecadacaoModulos, ExamplesOfTheStandard) {
  EXPECT_EQ(febraban::Modulo10("01230067896"), 3);
  EXPECT_EQ(febraban::Modulo11Arrecadacao("01230067896"), 0);
  // The bank slip's modulus gives 1 where the collection's gives 0.
  EXPECT_EQ(febraban::Modulo11Boleto("01230067896"), 1);
  EXPECT_EQ(Falha([] { (void)febraban::Modulo10("0123 45"); }),
            "Dígito verificador calculado sobre um texto que não é só de dígitos.");
  EXPECT_EQ(Falha([] { (void)febraban::Modulo11Arrecadacao(""); }),
            "Dígito verificador calculado sobre um texto que não é só de dígitos.");
}

// Each block's digit uses the modulus of the value type; one digit mistyped names its block (the
// general digit, inside block 1, included). Value 16232: block digits 0 7 2 8 (type 6) and 3 7 9 9
// (type 8). Modulus 11 gives 0 for both remainders 0 and 1, so a block whose digit is 0 would miss
// some mistypings; none is 0 here.
TEST(ArrecadacaoBlocoErrado, IsRefusedNamingTheBlock) {
  for (const int tipoValor : {6, 8}) {
    const std::string linha = febraban::LinhaDigitavelArrecadacao(Partes(tipoValor, 16232));
    for (std::size_t bloco = 1; bloco <= 4; ++bloco) {
      SCOPED_TRACE("type " + std::to_string(tipoValor) + ", block " + std::to_string(bloco));
      const std::string mensagem =
          "Dígito verificador do bloco " + std::to_string(bloco) + " da linha digitável de arrecadação inválido.";
      // The first three digits decide the product and the modulus; they have their own messages.
      for (std::size_t pos = std::max<std::size_t>((bloco - 1) * 12, 3); pos < bloco * 12; ++pos) {
        for (char outro = '0'; outro <= '9'; ++outro) {
          if (outro == linha[pos]) continue;
          std::string errada = linha;
          errada[pos] = outro;
          EXPECT_EQ(Falha([&] { (void)febraban::LerLinhaDigitavelArrecadacao(errada); }), mensagem)
              << "position " << pos + 1 << ": " << errada;
        }
      }
    }
  }
}

// A line whose blocks all carry their right digits around a wrong general digit.
TEST(ArrecadacaoLinha, WrongGeneralDigitBehindRightBlockDigitsIsRefused) {
  std::string codigo = febraban::CodigoBarrasArrecadacao(Partes(6, 16232));
  codigo[3] = '4';  // 5 is right
  std::string linha;
  for (std::size_t bloco = 0; bloco < 4; ++bloco) {
    const std::string digitos = codigo.substr(bloco * 11, 11);
    linha += digitos + static_cast<char>('0' + febraban::Modulo10(digitos));
  }
  EXPECT_EQ(Falha([&] { (void)febraban::LerLinhaDigitavelArrecadacao(linha); }),
            "Dígito verificador geral da linha digitável de arrecadação inválido.");
}

TEST(ArrecadacaoLeitura, PrintedLineWithHyphensAndBlanksIsRead) {
  const std::string linha = febraban::LinhaDigitavelArrecadacao(Partes(6, 16232));
  const std::string impressa = febraban::FormatarLinhaDigitavelArrecadacao(linha);
  EXPECT_EQ(impressa, "83650000001-0 62320046017-7 91606075930-2 50865831483-8");
  EXPECT_EQ(febraban::LerLinhaDigitavelArrecadacao(impressa).LinhaDigitavel, linha);
}

TEST(ArrecadacaoLeitura, SegmentSixCarriesTheCnpjRoot) {
  // R$ 19,99 of a company identified by CNPJ root 12345678.
  const PartesArrecadacao partes = febraban::NovaArrecadacao(6, 8, 19.99, "12345678000000000000000000001");
  EXPECT_EQ(partes.Valor, 1999);
  const std::string codigo = febraban::CodigoBarrasArrecadacao(partes);
  EXPECT_EQ(codigo, "86840000000199912345678000000000000000000001");
  const ArrecadacaoLida lida = febraban::LerCodigoBarrasArrecadacao(codigo);
  EXPECT_EQ(lida.Empresa, "12345678");
  EXPECT_EQ(lida.CampoLivre, "000000000000000000001");
}

TEST(ArrecadacaoIdaEVolta, EveryTypeBarcodeToLineToBarcode) {
  std::uint64_t estado = 88;
  const auto proximo = [&estado](std::uint64_t limite) {
    estado = estado * 6364136223846793005ULL + 1442695040888963407ULL;
    return (estado >> 17) % limite;
  };
  for (int n = 0; n < 2000; ++n) {
    PartesArrecadacao partes;
    partes.Segmento = static_cast<int>(proximo(10));
    partes.TipoValor = 6 + static_cast<int>(proximo(4));
    partes.Valor = n % 5 == 0 ? febraban::kMaiorValorArrecadacao
                              : static_cast<std::int64_t>(proximo(febraban::kMaiorValorArrecadacao + 1));
    for (int i = 0; i < 29; ++i) partes.Identificacao += static_cast<char>('0' + proximo(10));
    const std::string codigo = febraban::CodigoBarrasArrecadacao(partes);
    const std::string linha = febraban::LinhaDigitavelArrecadacaoDoCodigoBarras(codigo);
    ASSERT_EQ(febraban::CodigoBarrasDaLinhaDigitavelArrecadacao(linha), codigo);
    ASSERT_EQ(febraban::LerLinhaDigitavelArrecadacao(febraban::FormatarLinhaDigitavelArrecadacao(linha)).Partes,
              partes);
  }
}

TEST(ArrecadacaoRecusa, WithAClearMessage) {
  struct Caso {
    const char* nome;
    const char* codigo;
    bool linha;  // read as a typeable line, else as a barcode
    const char* mensagem;
  };
  const Caso casos[] = {
      {"Vazio", "  ", false, "Código de barras de arrecadação não informado."},
      {"LinhaVazia", "", true, "Linha digitável de arrecadação não informada."},
      {"BoletoNoLugar", "00191100000000010000000001234567000000000118", false,
       "Código de arrecadação deve começar com 8."},
      {"LinhaDeBoleto", "00190000090123456700400000001180110000000001000", true,
       "Linha digitável de arrecadação deve ter 48 dígitos."},
      {"TipoDeValor5", "83550000001623200460179160607593050865831483", false,
       "Tipo de valor do código de arrecadação deve ser 6, 7, 8 ou 9."},
      {"LinhaTipoDeValor5", "835500000010623200460177916060759302508658314838", true,
       "Tipo de valor do código de arrecadação deve ser 6, 7, 8 ou 9."},
      {"LinhaSemOito", "736500000010623200460177916060759302508658314838", true,
       "Código de arrecadação deve começar com 8."},
      {"CodigoCurto", "8365000000162320046017916060759305086583148", false,
       "Código de barras de arrecadação deve ter 44 dígitos."},
      {"Letra", "83650000001623200460179160607593050865831483x", false,
       "Código de barras de arrecadação contém caracteres inválidos."},
  };
  for (const Caso& c : casos) {
    EXPECT_EQ(Falha([&] {
                if (c.linha)
                  (void)febraban::LerLinhaDigitavelArrecadacao(c.codigo);
                else
                  (void)febraban::LerCodigoBarrasArrecadacao(c.codigo);
              }),
              c.mensagem)
        << c.nome;
  }
}

TEST(ArrecadacaoMontagem, RefusesPartsThatDoNotFit) {
  using Ajuste = void (*)(PartesArrecadacao&);
  const std::pair<Ajuste, const char*> casos[] = {
      {[](PartesArrecadacao& p) { p.TipoValor = 5; }, "Tipo de valor do código de arrecadação deve ser 6, 7, 8 ou 9."},
      {[](PartesArrecadacao& p) { p.Valor = -1; }, "Valor negativo não é aceito."},
      {[](PartesArrecadacao& p) { p.Valor = 100'000'000'000; }, "Valor do código de arrecadação acima de 11 dígitos."},
      {[](PartesArrecadacao& p) { p.Segmento = 10; }, "Segmento do código de arrecadação deve ser um dígito."},
      {[](PartesArrecadacao& p) { p.Identificacao.pop_back(); },
       "Identificação do código de arrecadação deve ter 29 dígitos."},
  };
  for (const auto& [ajuste, mensagem] : casos) {
    PartesArrecadacao partes = Partes(6, 1);
    ajuste(partes);
    EXPECT_EQ(Falha([&] { (void)febraban::CodigoBarrasArrecadacao(partes); }), mensagem);
  }
  EXPECT_EQ(Falha([] { (void)febraban::NovaArrecadacao(3, 7, 1.0, kIdentificacao); }),
            "Valor em reais pede tipo de valor 6 ou 8 no código de arrecadação.");
  EXPECT_EQ(Falha([] { (void)febraban::NovaArrecadacao(3, 6, 1'000'000'000.0, kIdentificacao); }),
            "Valor do código de arrecadação acima de 11 dígitos.");
}

}  // namespace
