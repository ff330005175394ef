#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "oradb/TClientDataSet.h"
#include "support/Failure.h"

namespace {

using testsupport::Failure;
using Codes = std::vector<long long>;

// Six entries with the types the module filters on: integer codes, amounts, one-letter status,
// accented names, dates and a nullable note.
class Entries : public ::testing::Test {
 protected:
  void SetUp() override {
    entries.AddFieldDef("CODCONTA", TFieldType::ftInteger);
    entries.AddFieldDef("NOME", TFieldType::ftString, 20);
    entries.AddFieldDef("VALOR", TFieldType::ftFloat);
    entries.AddFieldDef("STATUS", TFieldType::ftString, 1);
    entries.AddFieldDef("DTLANC", TFieldType::ftDateTime);
    entries.AddFieldDef("OBS", TFieldType::ftString);
    entries.CreateDataSet();
    const std::vector<std::vector<const char*>> rows = {
        {"10", "JOÃO", "0", "A", "2026-01-10", nullptr},       {"20", "MARIA", "10.5", "I", "2026-01-20 08:30:00", "x"},
        {"30", "JOSÉ", "-3.25", "A", "2026-01-31", "y"},       {"40", "D'ÁVILA", "100", "A", "2026-02-01", nullptr},
        {"50", "ANA", "1e6", "I", "2025-12-31 23:59:59", "x"}, {"60", "JOAO", "10.5", "B", "2026-01-15", ""}};
    for (const auto& row : rows) {
      entries.Append();
      for (std::size_t i = 0; i < row.size(); ++i) {
        if (row[i] != nullptr) entries.Fields(i).SetAsString(row[i]);
      }
      entries.Post();
    }
  }

  Codes Visible() {
    Codes codes;
    for (entries.First(); !entries.Eof(); entries.Next()) codes.push_back(entries.FieldByName("CODCONTA").AsInteger());
    return codes;
  }

  TClientDataSet entries;
};

TEST_F(Entries, FilterKeepsExactlyTheMatchingRows) {
  struct Case {
    const char* filter;
    Codes visible;
  };
  const Case cases[] = {{"STATUS = 'A'", {10, 30, 40}},
                        {"VALOR <> 10.5", {10, 30, 40, 50}},
                        {"valor < 0", {30}},
                        // A quoted number against a number field compares as numbers, as the module quotes codes.
                        {"CODCONTA = '020'", {20}},
                        {"NOT STATUS = 'A' AND NOT STATUS = 'I'", {60}},
                        {"(STATUS = 'A' OR STATUS = 'I') AND CODCONTA <> 10", {20, 30, 40, 50}},
                        {"STATUS = 'A' OR STATUS = 'I' AND CODCONTA <> 10", {10, 20, 30, 40, 50}},
                        // '' is NULL; a comparison with NULL is neither true nor false, so NOT keeps it out too.
                        {"OBS IS NULL", {10, 40, 60}},
                        {"OBS IS NOT NULL", {20, 30, 50}},
                        {"NOT (OBS = 'x')", {30}},
                        {"OBS = NULL", {}},
                        {"OBS = 'x' OR CODCONTA = 10", {10, 20, 50}},
                        {"NOME LIKE 'JO_O'", {10, 60}},
                        {"NOME NOT LIKE '%A%'", {10, 30}},
                        {"NOME = 'D''ÁVILA'", {40}},
                        {"NOME = 'joão'", {}},
                        {"DTLANC >= '2026-01-20'", {20, 30, 40}},
                        {"DTLANC = '20/01/2026 08:30:00'", {20}},
                        {"  ", {10, 20, 30, 40, 50, 60}}};
  entries.SetFiltered(true);
  for (const Case& c : cases) {
    entries.SetFilter(c.filter);
    EXPECT_EQ(Visible(), c.visible) << c.filter;
    EXPECT_EQ(entries.RecordCount(), c.visible.size()) << c.filter;
  }
}

TEST_F(Entries, AMalformedFilterIsRefusedWithItsReasonAndThePreviousFilterStays) {
  const std::pair<const char*, const char*> cases[] = {
      {"STATUS = ", "esperado um campo ou valor, encontrado fim do filtro."},
      {"STATUS = 'A", "texto entre aspas sem fechamento na posição 10."},
      {"(STATUS = 'A'", "parêntese aberto na posição 1 sem fechamento."},
      {"VALOR > 1.2.3", "número malformado na posição 9."},
      {"STATUS = 'A'; DELETE", "caractere inesperado ';' na posição 13."}};
  entries.SetFilter("STATUS = 'I'");
  entries.SetFiltered(true);
  const auto refused = [&](const std::string& filter, const std::string& message) {
    EXPECT_EQ(Failure([&] { entries.SetFilter(filter); }), "Exception: " + message);
    EXPECT_EQ(entries.Filter(), "STATUS = 'I'");
    EXPECT_EQ(Visible(), (Codes{20, 50})) << filter;
  };
  for (const auto& [filter, reason] : cases) {
    refused(filter, "Filtro inválido \"" + std::string(filter) + "\": " + reason);
  }
  refused("CODFILIAL = 1", "Campo 'CODFILIAL' não encontrado.");
  refused("NOME = 10", "Filtro: o valor 'JOÃO' não é um número válido.");
}

// Positions count the visible rows and an edited row that leaves the filter disappears from view; a
// filter set but not switched on hides nothing, and one that hides every row leaves an empty dataset.
TEST_F(Entries, NavigationCountsVisibleRowsAndAnEditedRowLeavesTheView) {
  entries.SetFilter("STATUS = 'A'");
  EXPECT_EQ(entries.RecordCount(), 6u);
  entries.SetFiltered(true);
  entries.Last();
  EXPECT_TRUE(entries.Eof());
  EXPECT_EQ(entries.FieldByName("CODCONTA").AsInteger(), 40);
  EXPECT_EQ(entries.RecNo(), 3u);
  entries.Prior();
  entries.Prior();
  entries.Prior();
  EXPECT_TRUE(entries.Bof());
  EXPECT_EQ(entries.FieldByName("CODCONTA").AsInteger(), 10);
  entries.Edit();
  entries.FieldByName("STATUS").SetAsString("I");
  entries.Post();
  EXPECT_EQ(entries.FieldByName("CODCONTA").AsInteger(), 30);
  EXPECT_EQ(Visible(), (Codes{30, 40}));
  entries.SetFiltered(false);
  EXPECT_EQ(Visible().size(), 6u);
  entries.SetFilter("STATUS = 'Z'");
  entries.SetFiltered(true);
  EXPECT_TRUE(entries.IsEmpty() && entries.Eof() && entries.Bof());
  EXPECT_EQ(entries.RecNo(), 0u);
  EXPECT_TRUE(entries.FieldByName("NOME").IsNull());
}

}  // namespace
