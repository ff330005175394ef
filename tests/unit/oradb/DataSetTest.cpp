#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "oradb/TClientDataSet.h"
#include "support/Failure.h"

namespace {

using testsupport::Failure;
using Texts = std::vector<std::string>;

// The apportionment rows the cost-center area keeps in memory.
class Apportionment : public ::testing::Test {
 protected:
  void SetUp() override {
    rows.AddFieldDef("RECNUM", TFieldType::ftInteger, 0, true);
    rows.AddFieldDef("CODIGOCENTROCUSTO", TFieldType::ftString, 5, true);
    rows.AddFieldDef("VALOR", TFieldType::ftFloat);
    rows.CreateDataSet();
  }

  void Add(long long recnum, const std::string& center, double value) {
    rows.Append();
    F("RECNUM").SetAsInteger(recnum);
    F("CODIGOCENTROCUSTO").SetAsString(center);
    F("VALOR").SetAsFloat(value);
    rows.Post();
  }

  TField F(const char* name) { return rows.FieldByName(name); }

  Texts Centers() {
    Texts centers;
    for (rows.First(); !rows.Eof(); rows.Next()) centers.push_back(F("CODIGOCENTROCUSTO").AsString());
    return centers;
  }

  TClientDataSet rows;
};

// Empty, a dataset reads NULL as 0 and Edit appends; with rows, Eof keeps the last row current and
// moving posts a pending edit.
TEST_F(Apportionment, NavigationFromEmptyToEofPostsAPendingEdit) {
  EXPECT_EQ(F("VALOR").AsFloat(), 0.0);
  EXPECT_EQ(Failure([&] { rows.Delete(); }),
            "Exception: Não há registro para excluir: o conjunto de dados está vazio.");
  rows.Edit();
  EXPECT_EQ(rows.State(), TDataSetState::dsInsert);
  rows.Cancel();
  Add(1, "A", 10);
  Add(1, "B", 20);
  rows.First();
  EXPECT_TRUE(rows.Bof() && !rows.Eof());
  rows.Edit();
  F("VALOR").SetAsFloat(11);
  rows.Next();
  EXPECT_EQ(rows.State(), TDataSetState::dsBrowse);
  rows.Next();
  EXPECT_TRUE(rows.Eof());
  EXPECT_EQ(F("CODIGOCENTROCUSTO").AsString(), "B");
  EXPECT_EQ(rows.RecNo(), 2u);
  rows.Last();
  EXPECT_TRUE(rows.Eof() && !rows.Bof());
  rows.First();
  EXPECT_EQ(F(" Valor ").AsFloat(), 11.0);  // names are trimmed and case-insensitive
  EXPECT_FALSE(rows.FindField("CODFILIAL").has_value());
}

TEST_F(Apportionment, PostRefusesAMissingRequiredFieldAndTextWiderThanItsCharacters) {
  const auto post_center = [&](const char* center) {
    rows.Append();
    F("RECNUM").SetAsInteger(1);
    F("CODIGOCENTROCUSTO").SetAsString(center);
    return Failure([&] { rows.Post(); });
  };
  EXPECT_EQ(post_center(""), "Exception: Campo 'CODIGOCENTROCUSTO' deve ser preenchido.");  // '' is NULL
  EXPECT_EQ(rows.State(), TDataSetState::dsInsert);
  rows.Cancel();
  EXPECT_EQ(post_center("ÇÃÕÉÁÍ"), "Exception: Campo 'CODIGOCENTROCUSTO' excede o tamanho máximo de 5 caracteres.");
  rows.Cancel();
  EXPECT_EQ(post_center("€€€€€"), "(no exception)");  // five characters, fifteen bytes
  EXPECT_EQ(F("CODIGOCENTROCUSTO").AsString(), "€€€€€");
}

// The duplicate clean-up walk: delete a row and continue with the one that took its place; deleting
// the last row ends the walk instead of visiting the previous row again.
TEST_F(Apportionment, DeleteWhileWalkingVisitsEveryRowOnce) {
  for (const char* center : {"A", "B", "A", "C", "B", "A"}) Add(1, center, 1);
  std::set<std::string> seen;
  int visits = 0;
  for (rows.First(); !rows.Eof(); ++visits) {
    if (seen.insert(F("CODIGOCENTROCUSTO").AsString()).second) {
      rows.Next();
    } else {
      rows.Delete();
    }
  }
  EXPECT_EQ(visits, 6);
  EXPECT_EQ(Centers(), (Texts{"A", "B", "C"}));
}

TEST_F(Apportionment, LocateFindsCompositeKeysAndLeavesTheCursorWhenAbsent) {
  Add(1, "A", 10);
  Add(2, "A", 20);
  Add(2, "B", 30);
  rows.Last();
  EXPECT_TRUE(rows.Locate("RECNUM;CODIGOCENTROCUSTO", {2LL, std::string("A")}));
  EXPECT_EQ(F("VALOR").AsFloat(), 20.0);
  EXPECT_FALSE(rows.Eof());
  EXPECT_FALSE(rows.Locate("RECNUM;CODIGOCENTROCUSTO", {3LL, std::string("A")}));
  EXPECT_EQ(F("VALOR").AsFloat(), 20.0);
  rows.SetFilter("RECNUM = 2");
  rows.SetFiltered(true);
  EXPECT_FALSE(rows.Locate("CODIGOCENTROCUSTO;RECNUM", {std::string("A"), 1LL}));  // hidden by the filter
  EXPECT_EQ(Failure([&] { rows.Locate("RECNUM;VALOR", {1LL}); }),
            "Exception: A busca por 'RECNUM;VALOR' recebeu 1 valor(es) para 2 campo(s).");
  EXPECT_EQ(Failure([&] { rows.Locate("CODFILIAL", {1LL}); }), "Exception: Campo 'CODFILIAL' não encontrado.");
}

// Cancel drops the edit in progress; CancelUpdates returns to the last merged state, undoing
// appends, posted edits, deletes and an edit still in progress.
TEST_F(Apportionment, EditingNeedsEditModeAndCancelAndCancelUpdatesRestore) {
  Add(1, "A", 10);
  EXPECT_EQ(Failure([&] { F("VALOR").SetAsFloat(1); }),
            "Exception: O conjunto de dados não está em modo de edição ou inclusão.");
  rows.Edit();
  F("VALOR").SetAsFloat(99.5);
  rows.Cancel();
  EXPECT_EQ(F("VALOR").AsFloat(), 10.0);
  rows.MergeChangeLog();
  Add(1, "B", 20);
  rows.First();
  rows.Edit();
  F("VALOR").SetAsFloat(15);
  rows.Post();
  rows.Delete();
  EXPECT_TRUE(rows.HasChanges());
  rows.CancelUpdates();
  EXPECT_FALSE(rows.HasChanges());
  EXPECT_EQ(Centers(), (Texts{"A"}));
  EXPECT_EQ(F("VALOR").AsFloat(), 10.0);
  rows.Edit();
  F("VALOR").SetAsFloat(1);
  rows.CancelUpdates();
  EXPECT_EQ(rows.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(F("VALOR").AsFloat(), 10.0);
}

// ---- Values as the server sends them, read and written through fields ----

// Server text reads as the shortest number or as a dd/mm/yyyy date; text a field cannot hold is
// refused; integers round half up; dates keep their ISO text for the server.
TEST(FieldConversions, ReadTheServerTextAndRefuseWhatTheFieldCannotHold) {
  TClientDataSet data;
  data.AddFieldDef("I", TFieldType::ftInteger);
  data.AddFieldDef("N", TFieldType::ftFloat);
  data.AddFieldDef("D", TFieldType::ftDateTime);
  data.AddFieldDef("T", TFieldType::ftDate);
  data.AddFieldDef("S", TFieldType::ftString);
  EXPECT_EQ(Failure([&] { data.AddFieldDef("n", TFieldType::ftString); }),
            "Exception: Campo 'N' definido mais de uma vez.");
  data.CreateDataSet();
  data.Append();
  struct Case {
    const char* field;
    const char* raw;
    const char* as_string;
    double as_float;
  };
  const Case cases[] = {
      {"N", "12.00", "12", 12},
      {"N", "-0.000", "0", 0},
      {"N", "1e+20", "100000000000000000000", 1e20},
      // More digits than a double holds stay in the text.
      {"N", "12345678901234567890.12", "12345678901234567890.12", 12345678901234567890.12},
      {"D", "31/01/2026 06:00", "31/01/2026 06:00:00", 46053.25},
      {"T", "2026-01-31 12:00:00", "31/01/2026", 46053},
  };
  for (const Case& c : cases) {
    data.FieldByName(c.field).SetAsString(c.raw);
    EXPECT_EQ(data.FieldByName(c.field).AsString(), c.as_string) << c.raw;
    EXPECT_DOUBLE_EQ(data.FieldByName(c.field).AsFloat(), c.as_float) << c.raw;
  }
  EXPECT_EQ(Failure([&] { data.FieldByName("N").SetAsString("12,5"); }),
            "Exception: O valor '12,5' não é um número válido para o campo 'N'.");
  EXPECT_EQ(Failure([&] { data.FieldByName("D").SetAsString("31/02/2026"); }),
            "Exception: O valor '31/02/2026' não é uma data válida para o campo 'D'.");
  data.FieldByName("S").SetAsString("abc");
  EXPECT_EQ(Failure([&] { static_cast<void>(data.FieldByName("S").AsFloat()); }),
            "Exception: O valor 'abc' do campo 'S' não é um número válido.");
  data.FieldByName("I").SetAsFloat(2.5);
  data.FieldByName("N").SetAsString("2.5");
  data.FieldByName("D").SetAsDateTime(TDateTime::EncodeDateTime(2026, 3, 1, 23, 59, 59));
  data.Post();
  EXPECT_EQ(data.FieldByName("I").AsString(), "3");
  EXPECT_EQ(data.FieldByName("N").AsInteger(), 3);
  EXPECT_EQ(data.FieldByName("D").RawValue(), std::optional<std::string>("2026-03-01 23:59:59"));
  EXPECT_EQ(data.FieldByName("D").AsString(), "01/03/2026 23:59:59");
}

}  // namespace
