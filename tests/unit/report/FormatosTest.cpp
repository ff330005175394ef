#include <gtest/gtest.h>

#include <string>

#include "report/internal/Formatos.h"

namespace {

using report::TFormato;
using report::internal::FormatarTexto;
using report::internal::TextoDesenhavel;

TEST(FormatoRelatorio, SlipCodesDocumentsAndPostcodesPrintInTheirGroups) {
  struct Caso {
    const char* Valor;
    TFormato Formato;
    const char* Esperado;
  };
  const Caso casos[] = {
      {"00190000090123456700400000001180110000000001000", TFormato::fmLinhaDigitavel,
       "00190.00009 01234.567004 00000.001180 1 10000000001000"},
      {"836200000005667800481000180975657313001589636081", TFormato::fmLinhaDigitavel,
       "83620000000-5 66780048100-0 18097565731-3 00158963608-1"},
      {"0019000009012345", TFormato::fmLinhaDigitavel, "0019000009012345"},  // not a line: as stored
      {"237", TFormato::fmBancoComDigito, "237-2"},
      {"1", TFormato::fmBancoComDigito, "001-9"},
      {"104", TFormato::fmBancoComDigito, "104-0"},  // remainder 1: Caixa prints 0
      {"748", TFormato::fmBancoComDigito, "748-X"},  // remainder 1: Sicredi prints X
      {"00191100000000010000000001234567000000000118", TFormato::fmBancoComDigito, "001-9"},
      {"077", TFormato::fmBancoComDigito, "077-9"},  // not in the table: modulus 11
      {"11222333000181", TFormato::fmDocumento, "11.222.333/0001-81"},
      {"12345678909", TFormato::fmDocumento, "123.456.789-09"},
      {"1234", TFormato::fmDocumento, "1234"},
      {"04567000", TFormato::fmCep, "04567-000"},
      {"  texto  ", TFormato::fmTexto, "texto"},
  };
  for (const Caso& caso : casos) {
    EXPECT_EQ(FormatarTexto(caso.Valor, caso.Formato), caso.Esperado) << caso.Valor;
  }
}

TEST(FormatoRelatorio, StoredTextIsMadeSafeToDraw) {
  EXPECT_EQ(TextoDesenhavel("RUA A\r\nSALA 2\rFUNDOS\nX", false), "RUA A SALA 2 FUNDOS X");
  EXPECT_EQ(TextoDesenhavel("RUA A\r\nSALA 2\rFUNDOS\nX", true), "RUA A\nSALA 2\nFUNDOS\nX");
  EXPECT_EQ(TextoDesenhavel("S\xC3\xA3o Paulo\t\x01", false), "S\xC3\xA3o Paulo  ");
  // Latin-1 bytes, a cut sequence, an overlong form and a surrogate: each bad byte one "?".
  EXPECT_EQ(TextoDesenhavel("S\xE3o", false), "S?o");
  EXPECT_EQ(TextoDesenhavel("fim\xC3", false), "fim?");
  EXPECT_EQ(TextoDesenhavel("\xC0\xAF", false), "??");
  EXPECT_EQ(TextoDesenhavel("\xED\xA0\x80", false), "???");
  EXPECT_EQ(TextoDesenhavel("\xF0\x9F\x98\x80", false), "\xF0\x9F\x98\x80");
}

}  // namespace
