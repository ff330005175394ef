#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "oradb/TClientDataSet.h"
#include "sdk/Exception.h"

namespace {

// Six entries with the types the module filters on: integer codes, amounts, one-letter status,
// accented names, dates and a nullable note.
void FillEntries(TClientDataSet& entries) {
  entries.AddFieldDef("CODCONTA", TFieldType::ftInteger);
  entries.AddFieldDef("NOME", TFieldType::ftString, 20);
  entries.AddFieldDef("VALOR", TFieldType::ftFloat);
  entries.AddFieldDef("STATUS", TFieldType::ftString, 1);
  entries.AddFieldDef("DTLANC", TFieldType::ftDateTime);
  entries.AddFieldDef("OBS", TFieldType::ftString);
  entries.CreateDataSet();
  struct Row {
    long long conta;
    const char* nome;
    double valor;
    const char* status;
    const char* data;
    const char* obs;
  };
  const Row rows[] = {
      {10, "JOÃO", 0, "A", "2026-01-10", nullptr},       {20, "MARIA", 10.5, "I", "2026-01-20 08:30:00", "x"},
      {30, "JOSÉ", -3.25, "A", "2026-01-31", "y"},       {40, "D'ÁVILA", 100, "A", "2026-02-01", nullptr},
      {50, "ANA", 1e6, "I", "2025-12-31 23:59:59", "x"}, {60, "JOAO", 10.5, "B", "2026-01-15", ""},
  };
  for (const Row& row : rows) {
    entries.Append();
    entries.FieldByName("CODCONTA").SetAsInteger(row.conta);
    entries.FieldByName("NOME").SetAsString(row.nome);
    entries.FieldByName("VALOR").SetAsFloat(row.valor);
    entries.FieldByName("STATUS").SetAsString(row.status);
    entries.FieldByName("DTLANC").SetAsString(row.data);
    if (row.obs != nullptr) entries.FieldByName("OBS").SetAsString(row.obs);
    entries.Post();
  }
}

std::vector<long long> VisibleCodes(TClientDataSet& entries) {
  std::vector<long long> codes;
  for (entries.First(); !entries.Eof(); entries.Next()) codes.push_back(entries.FieldByName("CODCONTA").AsInteger());
  return codes;
}

struct FilterCase {
  const char* filter;
  std::vector<long long> visible;
};

class FilterSelects : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterSelects, KeepsExactlyTheMatchingRows) {
  TClientDataSet entries;
  FillEntries(entries);
  entries.SetFilter(GetParam().filter);
  entries.SetFiltered(true);
  EXPECT_EQ(VisibleCodes(entries), GetParam().visible) << GetParam().filter;
  EXPECT_EQ(entries.RecordCount(), GetParam().visible.size());
}

INSTANTIATE_TEST_SUITE_P(
    Expressions, FilterSelects,
    ::testing::Values(
        FilterCase{"STATUS = 'A'", {10, 30, 40}}, FilterCase{"status = 'A'", {10, 30, 40}},
        FilterCase{"CODCONTA = 10 AND VALOR > 0", {}}, FilterCase{"CODCONTA >= 20 AND VALOR > 0", {20, 40, 50, 60}},
        FilterCase{"VALOR <> 10.5", {10, 30, 40, 50}}, FilterCase{"VALOR != 10.5", {10, 30, 40, 50}},
        FilterCase{"VALOR < 0", {30}}, FilterCase{"VALOR <= 0", {10, 30}},
        FilterCase{"VALOR > -3.25", {10, 20, 40, 50, 60}}, FilterCase{"VALOR = 1000000", {50}},
        // A quoted number against a number field compares as numbers, as the module quotes codes.
        FilterCase{"CODCONTA = '20'", {20}}, FilterCase{"CODCONTA = '020'", {20}},
        FilterCase{"NOT (STATUS = 'A')", {20, 50, 60}}, FilterCase{"NOT STATUS = 'A' AND NOT STATUS = 'I'", {60}},
        FilterCase{"(STATUS = 'A' OR STATUS = 'I') AND CODCONTA <> 10", {20, 30, 40, 50}},
        FilterCase{"STATUS = 'A' OR STATUS = 'I' AND CODCONTA <> 10", {10, 20, 30, 40, 50}},
        // '' is NULL; a comparison with NULL is neither true nor false, so NOT keeps it out too.
        FilterCase{"OBS IS NULL", {10, 40, 60}}, FilterCase{"OBS IS NOT NULL", {20, 30, 50}},
        FilterCase{"OBS = 'x'", {20, 50}}, FilterCase{"NOT (OBS = 'x')", {30}}, FilterCase{"OBS = NULL", {}},
        FilterCase{"OBS = 'x' OR CODCONTA = 10", {10, 20, 50}}, FilterCase{"NOME LIKE 'JO%'", {10, 30, 60}},
        FilterCase{"NOME LIKE '__S_'", {30}}, FilterCase{"NOME LIKE 'JO_O'", {10, 60}},
        FilterCase{"NOME NOT LIKE '%A%'", {10, 30}}, FilterCase{"NOME LIKE '%'", {10, 20, 30, 40, 50, 60}},
        FilterCase{"NOME = 'D''ÁVILA'", {40}}, FilterCase{"NOME = 'joão'", {}}, FilterCase{"[NOME] = 'ANA'", {50}},
        FilterCase{"DTLANC >= '2026-01-20'", {20, 30, 40}}, FilterCase{"DTLANC = '31/01/2026'", {30}},
        FilterCase{"DTLANC < '01/01/2026'", {50}}, FilterCase{"DTLANC = '20/01/2026 08:30:00'", {20}},
        FilterCase{"  ", {10, 20, 30, 40, 50, 60}}));

struct MalformedCase {
  const char* filter;
  const char* message;
};

class MalformedFilter : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedFilter, IsRefusedWithItsReasonAndKeepsThePreviousFilter) {
  TClientDataSet entries;
  FillEntries(entries);
  entries.SetFilter("STATUS = 'I'");
  entries.SetFiltered(true);
  try {
    entries.SetFilter(GetParam().filter);
    FAIL() << "accepted " << GetParam().filter;
  } catch (const Exception& error) {
    EXPECT_STREQ(error.ClassName(), "Exception");
    EXPECT_EQ(error.Message(), GetParam().message);
  }
  EXPECT_EQ(entries.Filter(), "STATUS = 'I'");
  EXPECT_EQ(VisibleCodes(entries), (std::vector<long long>{20, 50}));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MalformedFilter,
    ::testing::Values(
        MalformedCase{"STATUS = ",
                      "Filtro inválido \"STATUS = \": esperado um campo ou valor, encontrado fim do filtro."},
        MalformedCase{"STATUS = 'A",
                      "Filtro inválido \"STATUS = 'A\": texto entre aspas sem fechamento na posição 10."},
        MalformedCase{"(STATUS = 'A'",
                      "Filtro inválido \"(STATUS = 'A'\": parêntese aberto na posição 1 sem fechamento."},
        MalformedCase{"STATUS = 'A')", "Filtro inválido \"STATUS = 'A')\": símbolo inesperado ')' na posição 13."},
        MalformedCase{
            "STATUS 'A'",
            "Filtro inválido \"STATUS 'A'\": esperado um operador de comparação, encontrado 'A' na posição 8."},
        MalformedCase{"STATUS = 'A' AND",
                      "Filtro inválido \"STATUS = 'A' AND\": esperado um campo ou valor, encontrado fim do filtro."},
        MalformedCase{"STATUS == 'A'",
                      "Filtro inválido \"STATUS == 'A'\": esperado um campo ou valor, encontrado '=' na posição 9."},
        MalformedCase{"VALOR > 1.2.3", "Filtro inválido \"VALOR > 1.2.3\": número malformado na posição 9."},
        MalformedCase{"OBS IS 'x'",
                      "Filtro inválido \"OBS IS 'x'\": esperado NULL após IS, encontrado 'x' na posição 8."},
        MalformedCase{"NOME NOT 'A'",
                      "Filtro inválido \"NOME NOT 'A'\": esperado LIKE após NOT, encontrado 'A' na posição 10."},
        MalformedCase{"STATUS = 'A'; DELETE",
                      "Filtro inválido \"STATUS = 'A'; DELETE\": caractere inesperado ';' na posição 13."},
        MalformedCase{"AND = 1",
                      "Filtro inválido \"AND = 1\": esperado um campo ou valor, encontrado 'AND' na posição 1."},
        MalformedCase{"()", "Filtro inválido \"()\": esperado um campo ou valor, encontrado ')' na posição 2."}));

TEST(FilterOnData, UnknownFieldIsReportedAndThePreviousFilterStays) {
  TClientDataSet entries;
  FillEntries(entries);
  entries.SetFilter("STATUS = 'I'");
  entries.SetFiltered(true);
  try {
    entries.SetFilter("CODFILIAL = 1");
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Campo 'CODFILIAL' não encontrado.");
  }
  EXPECT_EQ(VisibleCodes(entries), (std::vector<long long>{20, 50}));
}

TEST(FilterOnData, TextThatIsNotANumberCannotBeComparedWithOne) {
  TClientDataSet entries;
  FillEntries(entries);
  entries.SetFiltered(true);
  try {
    entries.SetFilter("NOME = 10");
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Filtro: o valor 'JOÃO' não é um número válido.");
  }
}

TEST(FilterOnData, SwitchingOffShowsEveryRowAndNavigationCountsVisibleRows) {
  TClientDataSet entries;
  FillEntries(entries);
  entries.SetFilter("STATUS = 'A'");
  EXPECT_EQ(entries.RecordCount(), 6u);  // set but not switched on
  entries.SetFiltered(true);
  entries.Last();
  EXPECT_TRUE(entries.Eof());
  EXPECT_EQ(entries.FieldByName("CODCONTA").AsInteger(), 40);
  EXPECT_EQ(entries.RecNo(), 3u);
  entries.Prior();
  EXPECT_EQ(entries.FieldByName("CODCONTA").AsInteger(), 30);
  entries.Prior();
  entries.Prior();
  EXPECT_TRUE(entries.Bof());
  EXPECT_EQ(entries.FieldByName("CODCONTA").AsInteger(), 10);
  entries.SetFiltered(false);
  EXPECT_EQ(entries.RecordCount(), 6u);
  EXPECT_EQ(VisibleCodes(entries).size(), 6u);
}

TEST(FilterOnData, AFilterThatHidesEverythingLeavesAnEmptyDataSet) {
  TClientDataSet entries;
  FillEntries(entries);
  entries.SetFilter("STATUS = 'Z'");
  entries.SetFiltered(true);
  EXPECT_TRUE(entries.IsEmpty());
  EXPECT_TRUE(entries.Eof());
  EXPECT_TRUE(entries.Bof());
  EXPECT_EQ(entries.RecNo(), 0u);
  EXPECT_TRUE(entries.FieldByName("NOME").IsNull());
}

TEST(FilterOnData, AnEditedRowThatLeavesTheFilterDisappearsFromView) {
  TClientDataSet entries;
  FillEntries(entries);
  entries.SetFilter("STATUS = 'A'");
  entries.SetFiltered(true);
  entries.First();
  entries.Edit();
  entries.FieldByName("STATUS").SetAsString("I");
  entries.Post();
  EXPECT_EQ(entries.FieldByName("CODCONTA").AsInteger(), 30);
  EXPECT_EQ(VisibleCodes(entries), (std::vector<long long>{30, 40}));
}

}  // namespace
