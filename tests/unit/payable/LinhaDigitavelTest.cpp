#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "febraban/Arrecadacao.h"
#include "febraban/Boleto.h"
#include "payable/Uclsfin_linhadigitavel.h"

// Slips checked against the title they are to pay. The codes are built with the FEBRABAN library,
// so every digit they carry is right unless a test spoils it.
namespace {

namespace chr = std::chrono;
using V = TValidaLinhaDigitavel;

constexpr const char* kCampoLivre = "0000001234567890012345678";

chr::year_month_day Ymd(int ano, unsigned mes, unsigned dia) {
  return chr::year_month_day{chr::year{ano}, chr::month{mes}, chr::day{dia}};
}

TDateTime Data(chr::year_month_day d) {
  return TDateTime::EncodeDate(static_cast<int>(d.year()), static_cast<int>(static_cast<unsigned>(d.month())),
                               static_cast<int>(static_cast<unsigned>(d.day())));
}

febraban::PartesBoleto Boleto(chr::year_month_day vencimento, double valor, const char* campo = kCampoLivre) {
  return febraban::NovoBoleto(341, vencimento, valor, campo);
}

RFin_ValidarLinhaDigitavel Registro(int tipo, int formato, const std::string& codigo, double valor,
                                    chr::year_month_day vencimento) {
  RFin_ValidarLinhaDigitavel registro;
  registro.Inicializar();
  registro.TIPODOCUMENTO = tipo;
  registro.FORMATO = formato;
  registro.CODIGO = codigo;
  registro.VALOR = valor;
  registro.DTVENC = Data(vencimento);
  return registro;
}

const TDateTime kHoje = TDateTime::EncodeDate(2026, 12, 7);

struct Resultado {
  bool Aceito;
  std::string Mensagem;
  std::string CodigoBarras;
};

Resultado Validar(RFin_ValidarLinhaDigitavel registro) {
  const bool aceito = V::Validar(registro, kHoje);
  return {aceito, registro.MENSAGEM, registro.CODIGOBARRAS};
}

// Both forms of a bank slip are accepted and give the same 44 digits, also for a value whose
// binary double lies below its cents (19.99) and for slips due after the factor restarted at 1000
// on 2025-02-22, whose value must still be compared.
TEST(LinhaDigitavel, BankSlipInBothFormatsStoresTheBarcodeAndComparesItsValueInCents) {
  for (const auto vencimento : {Ymd(2024, 5, 10), Ymd(2025, 2, 21), Ymd(2025, 2, 22), Ymd(2026, 12, 20)}) {
    const auto partes = Boleto(vencimento, 19.99);
    const std::string codigo = febraban::CodigoBarrasBoleto(partes);
    const std::string linha = febraban::FormatarLinhaDigitavelBoleto(febraban::LinhaDigitavelBoleto(partes));
    SCOPED_TRACE(codigo);
    EXPECT_EQ(codigo.substr(9, 10), "0000001999");

    const Resultado barra = Validar(Registro(0, 0, codigo, 19.99, vencimento));
    EXPECT_TRUE(barra.Aceito) << barra.Mensagem;
    EXPECT_EQ(barra.CodigoBarras, codigo);
    const Resultado digitada = Validar(Registro(0, 1, linha, 19.99, vencimento));
    EXPECT_TRUE(digitada.Aceito) << digitada.Mensagem;
    EXPECT_EQ(digitada.CodigoBarras, codigo);
    EXPECT_EQ(digitada.CodigoBarras.size(), 44u);

    // One cent off on the title's own due date: refused in both forms.
    EXPECT_EQ(Validar(Registro(0, 0, codigo, 19.98, vencimento)).Mensagem, V::kBoletoInvalido);
    EXPECT_FALSE(Validar(Registro(0, 1, linha, 20.00, vencimento)).Aceito);
  }
}

TEST(LinhaDigitavel, SlipDeductionsAndOtherDueDates) {
  const auto vencimento = Ymd(2026, 3, 10);
  const std::string codigo = febraban::CodigoBarrasBoleto(Boleto(vencimento, 110.00));
  // The slip carries 110.00; with 10.00 of discount it pays a title of 100.00.
  RFin_ValidarLinhaDigitavel registro = Registro(0, 0, codigo, 100.00, vencimento);
  registro.VLDESCONTO = 6.5;
  registro.VLABATIMENTO = 3.5;
  EXPECT_TRUE(Validar(registro).Aceito);
  // A slip due on another day than the title is not held to the title's value.
  EXPECT_TRUE(Validar(Registro(0, 0, codigo, 100.00, Ymd(2026, 3, 9))).Aceito);
}

// The general digit is never 0: where modulus 11 gives 0, 10 or 11 the slip carries 1.
TEST(LinhaDigitavel, GeneralDigitOfOneWhereTheModulusGivesZeroTenOrEleven) {
  int achados = 0;
  for (int centavos = 100; centavos < 400 && achados < 3; ++centavos) {
    const std::string codigo = febraban::CodigoBarrasBoleto(Boleto(Ymd(2026, 6, 1), centavos / 100.0));
    if (codigo[4] != '1') continue;
    ++achados;
    EXPECT_TRUE(Validar(Registro(0, 0, codigo, centavos / 100.0, Ymd(2026, 6, 1))).Aceito) << codigo;
    std::string zero = codigo;
    zero[4] = '0';
    EXPECT_EQ(Validar(Registro(0, 0, zero, centavos / 100.0, Ymd(2026, 6, 1))).Mensagem, V::kDigitoInvalido) << zero;
  }
  EXPECT_EQ(achados, 3);
}

TEST(LinhaDigitavel, WrongDigitsAndFormatsAreRefusedNeverCrash) {
  const auto vencimento = Ymd(2026, 6, 1);
  const auto partes = Boleto(vencimento, 250.00);
  const std::string codigo = febraban::CodigoBarrasBoleto(partes);
  const std::string linha = febraban::LinhaDigitavelBoleto(partes);
  std::string digito_geral = codigo;
  digito_geral[4] = digito_geral[4] == '9' ? '2' : static_cast<char>(digito_geral[4] + 1);
  std::string campo2 = linha;
  campo2[20] = campo2[20] == '9' ? '0' : static_cast<char>(campo2[20] + 1);

  struct Caso {
    int Formato;
    std::string Codigo;
    const char* Mensagem;
  };
  const Caso casos[] = {
      {0, "   ", V::kNaoInformado},
      {0, digito_geral, V::kDigitoInvalido},
      {1, campo2, V::kDigitoInvalido},
      {0, febraban::FormatarLinhaDigitavelBoleto(linha), V::kFormatoInvalido},  // a line in barcode format
      {0, codigo.substr(0, 43), V::kFormatoInvalido},
      {0, codigo + "0", V::kFormatoInvalido},
      {0, codigo.substr(0, 20) + "X" + codigo.substr(21), V::kFormatoInvalido},
      {1, linha.substr(0, 36), V::kFormatoInvalido},
      {1, linha + "1", V::kFormatoInvalido},
      {1, "1", V::kFormatoInvalido},
      {1, std::string(400, '9'), V::kFormatoInvalido},
      {1, linha.substr(0, 10) + "é" + linha.substr(11), V::kFormatoInvalido},
  };
  for (const Caso& caso : casos) {
    const Resultado resultado = Validar(Registro(0, caso.Formato, caso.Codigo, 250.00, vencimento));
    EXPECT_FALSE(resultado.Aceito) << caso.Codigo;
    EXPECT_EQ(resultado.Mensagem, caso.Mensagem) << caso.Codigo;
    EXPECT_EQ(resultado.CodigoBarras, "") << caso.Codigo;
  }
}

// A line of 37 to 46 characters lacks its factor and value: it is completed with a zero factor and
// the title's value, so only its field digits decide.
TEST(LinhaDigitavel, ShortLineIsCompletedWithAZeroFactorAndTheTitlesValue) {
  const auto partes = Boleto(Ymd(2026, 6, 1), 80.00);
  const std::string linha = febraban::LinhaDigitavelBoleto(partes);
  const std::string curta = linha.substr(0, 40);
  const Resultado resultado = Validar(Registro(0, 1, curta, 1234.56, Ymd(2026, 6, 1)));
  ASSERT_TRUE(resultado.Aceito) << resultado.Mensagem;
  EXPECT_EQ(resultado.CodigoBarras, linha.substr(0, 4) + linha[32] + "0000" + "0000123456" + kCampoLivre);

  std::string errada = curta;
  errada[9] = errada[9] == '9' ? '0' : static_cast<char>(errada[9] + 1);
  EXPECT_EQ(Validar(Registro(0, 1, errada, 1234.56, Ymd(2026, 6, 1))).Mensagem, V::kDigitoInvalido);
}

// Collection slips of every value type, barcode and line: 6 and 8 carry reais and are compared with
// the title; 7 and 9 carry a reference quantity, never compared.
TEST(LinhaDigitavel, CollectionSlipsOfEveryValueType) {
  for (const int tipo : {6, 7, 8, 9}) {
    febraban::PartesArrecadacao partes;
    partes.Segmento = 3;
    partes.TipoValor = tipo;
    partes.Valor = 4590;  // 45.90 for types 6 and 8
    partes.Identificacao = "00460179160607593050865831483";
    const std::string codigo = febraban::CodigoBarrasArrecadacao(partes);
    const std::string linha = febraban::LinhaDigitavelArrecadacao(partes);
    SCOPED_TRACE(codigo);
    const bool em_reais = tipo == 6 || tipo == 8;

    const Resultado barra = Validar(Registro(1, 0, codigo, 45.90, Ymd(2026, 6, 1)));
    EXPECT_TRUE(barra.Aceito) << barra.Mensagem;
    EXPECT_EQ(barra.CodigoBarras, codigo);
    const Resultado digitada =
        Validar(Registro(1, 1, febraban::FormatarLinhaDigitavelArrecadacao(linha), 45.90, Ymd(2026, 6, 1)));
    EXPECT_TRUE(digitada.Aceito) << digitada.Mensagem;
    EXPECT_EQ(digitada.CodigoBarras, codigo);

    const Resultado outro_valor = Validar(Registro(1, 0, codigo, 45.91, Ymd(2026, 6, 1)));
    EXPECT_EQ(outro_valor.Aceito, !em_reais);
    EXPECT_EQ(outro_valor.Mensagem, em_reais ? V::kDigitoArrecadacaoInvalido : "");

    std::string geral = codigo;
    geral[3] = geral[3] == '9' ? '0' : static_cast<char>(geral[3] + 1);
    EXPECT_EQ(Validar(Registro(1, 0, geral, 45.90, Ymd(2026, 6, 1))).Mensagem, V::kDigitoArrecadacaoInvalido);
    std::string bloco = linha;
    bloco[23] = bloco[23] == '9' ? '0' : static_cast<char>(bloco[23] + 1);
    EXPECT_EQ(Validar(Registro(1, 1, bloco, 45.90, Ymd(2026, 6, 1))).Mensagem, V::kDigitoArrecadacaoInvalido);
    EXPECT_EQ(Validar(Registro(1, 1, linha.substr(0, 47), 45.90, Ymd(2026, 6, 1))).Mensagem, V::kFormatoInvalido);
  }
  const std::string bancario = febraban::CodigoBarrasBoleto(Boleto(Ymd(2026, 6, 1), 45.90));
  EXPECT_EQ(Validar(Registro(1, 0, bancario, 45.90, Ymd(2026, 6, 1))).Mensagem, V::kNaoArrecadacao);
}

}  // namespace
