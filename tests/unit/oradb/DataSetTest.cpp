#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "oradb/TClientDataSet.h"
#include "sdk/Exception.h"

namespace {

// The apportionment rows the cost-center area keeps in memory.
class Apportionment : public ::testing::Test {
 protected:
  void SetUp() override {
    rows.AddFieldDef("RECNUM", TFieldType::ftInteger, 0, true);
    rows.AddFieldDef("CODIGOCENTROCUSTO", TFieldType::ftString, 5, true);
    rows.AddFieldDef("DESCCENTROCUSTO", TFieldType::ftString, 10);
    rows.AddFieldDef("VALOR", TFieldType::ftFloat);
    rows.AddFieldDef("DTLANC", TFieldType::ftDateTime);
    rows.CreateDataSet();
  }

  void Add(long long recnum, const std::string& center, double value, const std::string& description = "") {
    rows.Append();
    rows.FieldByName("RECNUM").SetAsInteger(recnum);
    rows.FieldByName("CODIGOCENTROCUSTO").SetAsString(center);
    rows.FieldByName("DESCCENTROCUSTO").SetAsString(description);
    rows.FieldByName("VALOR").SetAsFloat(value);
    rows.FieldByName("DTLANC").SetAsDateTime(TDateTime::EncodeDate(2026, 1, 31));
    rows.Post();
  }

  std::vector<std::string> Centers() {
    std::vector<std::string> centers;
    for (rows.First(); !rows.Eof(); rows.Next()) centers.push_back(rows.FieldByName("CODIGOCENTROCUSTO").AsString());
    return centers;
  }

  static std::string MessageOf(const std::function<void()>& action) {
    try {
      action();
    } catch (const Exception& error) {
      return error.Message();
    }
    return "(no exception)";
  }

  TClientDataSet rows;
};

TEST_F(Apportionment, NavigationKeepsTheLastRowCurrentAtEof) {
  Add(1, "A", 10);
  Add(1, "B", 20);
  rows.First();
  EXPECT_TRUE(rows.Bof());
  EXPECT_FALSE(rows.Eof());
  rows.Next();
  rows.Next();
  EXPECT_TRUE(rows.Eof());
  EXPECT_EQ(rows.FieldByName("CODIGOCENTROCUSTO").AsString(), "B");
  EXPECT_EQ(rows.RecNo(), 2u);
  rows.Last();
  EXPECT_TRUE(rows.Eof());
  EXPECT_FALSE(rows.Bof());
}

TEST_F(Apportionment, AnEmptyDataSetReadsNullsAndIsAtBothEnds) {
  EXPECT_TRUE(rows.IsEmpty());
  EXPECT_TRUE(rows.Eof());
  EXPECT_TRUE(rows.Bof());
  EXPECT_TRUE(rows.FieldByName("VALOR").IsNull());
  EXPECT_EQ(rows.FieldByName("VALOR").AsFloat(), 0.0);
  EXPECT_EQ(rows.FieldByName("DTLANC").AsDateTime().Value(), 0.0);
  EXPECT_EQ(MessageOf([&] { rows.Delete(); }), "Não há registro para excluir: o conjunto de dados está vazio.");
}

TEST_F(Apportionment, FieldNamesAreCaseInsensitiveAndAMissingOneIsNamed) {
  Add(7, "A", 1);
  EXPECT_EQ(rows.FieldByName("recnum").AsInteger(), 7);
  EXPECT_EQ(rows.FieldByName(" Recnum ").AsInteger(), 7);
  EXPECT_FALSE(rows.FindField("CODFILIAL").has_value());
  EXPECT_EQ(MessageOf([&] { static_cast<void>(rows.FieldByName("CodFilial")); }), "Campo 'CodFilial' não encontrado.");
}

TEST_F(Apportionment, PostRefusesAMissingRequiredFieldAndStaysInInsert) {
  rows.Append();
  rows.FieldByName("RECNUM").SetAsInteger(1);
  EXPECT_EQ(MessageOf([&] { rows.Post(); }), "Campo 'CODIGOCENTROCUSTO' deve ser preenchido.");
  EXPECT_EQ(rows.State(), TDataSetState::dsInsert);
  rows.FieldByName("CODIGOCENTROCUSTO").SetAsString("");  // '' is NULL: still missing
  EXPECT_EQ(MessageOf([&] { rows.Post(); }), "Campo 'CODIGOCENTROCUSTO' deve ser preenchido.");
  rows.Cancel();
  EXPECT_TRUE(rows.IsEmpty());
}

struct WidthCase {
  const char* text;
  bool fits;
};

class TextWidth : public Apportionment, public ::testing::WithParamInterface<WidthCase> {};

TEST_P(TextWidth, CountsCharactersNotBytes) {
  rows.Append();
  rows.FieldByName("RECNUM").SetAsInteger(1);
  rows.FieldByName("CODIGOCENTROCUSTO").SetAsString(GetParam().text);
  if (GetParam().fits) {
    EXPECT_NO_THROW(rows.Post());
    EXPECT_EQ(rows.FieldByName("CODIGOCENTROCUSTO").AsString(), GetParam().text);
  } else {
    EXPECT_EQ(MessageOf([&] { rows.Post(); }), "Campo 'CODIGOCENTROCUSTO' excede o tamanho máximo de 5 caracteres.");
  }
}

INSTANTIATE_TEST_SUITE_P(Accents, TextWidth,
                         ::testing::Values(WidthCase{"ÇÃÕÉÁ", true}, WidthCase{"AÇÃO1", true},
                                           WidthCase{"ÇÃÕÉÁÍ", false}, WidthCase{"ABCDEF", false},
                                           WidthCase{"€€€€€", true}));

TEST_F(Apportionment, EditThenCancelRestoresAndOldValueShowsTheRowBeforeTheEdit) {
  Add(1, "A", 10);
  rows.Edit();
  rows.FieldByName("VALOR").SetAsFloat(99.5);
  EXPECT_EQ(rows.FieldByName("VALOR").AsString(), "99.5");
  EXPECT_EQ(rows.FieldByName("VALOR").OldValue(), std::optional<std::string>("10"));
  rows.Cancel();
  EXPECT_EQ(rows.FieldByName("VALOR").AsFloat(), 10.0);
}

TEST_F(Apportionment, SettingAFieldOutsideAnEditIsRefused) {
  Add(1, "A", 10);
  EXPECT_EQ(MessageOf([&] { rows.FieldByName("VALOR").SetAsFloat(1); }),
            "O conjunto de dados não está em modo de edição ou inclusão.");
}

TEST_F(Apportionment, MovingTheCursorPostsAPendingEdit) {
  Add(1, "A", 10);
  Add(1, "B", 20);
  rows.First();
  rows.Edit();
  rows.FieldByName("VALOR").SetAsFloat(11);
  rows.Next();
  EXPECT_EQ(rows.State(), TDataSetState::dsBrowse);
  rows.First();
  EXPECT_EQ(rows.FieldByName("VALOR").AsFloat(), 11.0);
}

TEST_F(Apportionment, EditOfAnEmptyDataSetAppends) {
  rows.Edit();
  EXPECT_EQ(rows.State(), TDataSetState::dsInsert);
}

// The duplicate clean-up walk: delete a row and continue with the one that took its place; deleting
// the last row ends the walk instead of visiting the previous row again.
TEST_F(Apportionment, DeleteWhileWalkingVisitsEveryRowOnce) {
  for (const char* center : {"A", "B", "A", "C", "B", "A"}) Add(1, center, 1);
  std::set<std::string> seen;
  int visits = 0;
  rows.First();
  while (!rows.Eof()) {
    ++visits;
    const std::string key = rows.FieldByName("CODIGOCENTROCUSTO").AsString();
    if (!seen.insert(key).second) {
      rows.Delete();
    } else {
      rows.Next();
    }
  }
  EXPECT_EQ(visits, 6);
  EXPECT_EQ(Centers(), (std::vector<std::string>{"A", "B", "C"}));
}

TEST_F(Apportionment, LocateFindsCompositeKeysAndLeavesTheCursorWhenAbsent) {
  Add(1, "A", 10, "ADMINISTR");
  Add(2, "A", 20, "Ação");
  Add(2, "B", 30);
  rows.Last();
  EXPECT_TRUE(rows.Locate("RECNUM;CODIGOCENTROCUSTO", {2LL, std::string("A")}));
  EXPECT_EQ(rows.FieldByName("VALOR").AsFloat(), 20.0);
  EXPECT_FALSE(rows.Eof());
  EXPECT_FALSE(rows.Locate("RECNUM;CODIGOCENTROCUSTO", {3LL, std::string("A")}));
  EXPECT_EQ(rows.FieldByName("VALOR").AsFloat(), 20.0);
  // A number given as text or as a double matches the integer field.
  EXPECT_TRUE(rows.Locate("RECNUM", {std::string("1")}));
  EXPECT_EQ(rows.RecNo(), 1u);
  EXPECT_TRUE(rows.Locate("VALOR", {30.0}));
  EXPECT_EQ(rows.RecNo(), 3u);
  // Case-insensitive look-ups fold accented capitals too.
  EXPECT_FALSE(rows.Locate("DESCCENTROCUSTO", {std::string("AÇÃO")}));
  EXPECT_TRUE(rows.Locate("DESCCENTROCUSTO", {std::string("AÇÃO")}, true));
  EXPECT_EQ(rows.RecNo(), 2u);
  // NULL (or '') finds the row without a description.
  EXPECT_TRUE(rows.Locate("DESCCENTROCUSTO", {std::monostate{}}));
  EXPECT_EQ(rows.RecNo(), 3u);
  EXPECT_TRUE(rows.Locate("DTLANC", {TDateTime::EncodeDate(2026, 1, 31)}));
}

TEST_F(Apportionment, LocateSkipsRowsTheFilterHides) {
  Add(1, "A", 10);
  Add(2, "B", 20);
  rows.SetFilter("RECNUM = 2");
  rows.SetFiltered(true);
  EXPECT_FALSE(rows.Locate("CODIGOCENTROCUSTO", {std::string("A")}));
  EXPECT_TRUE(rows.Locate("CODIGOCENTROCUSTO", {std::string("B")}));
}

TEST_F(Apportionment, LocateWithMismatchedKeysOrUnknownFieldsFails) {
  Add(1, "A", 10);
  EXPECT_EQ(MessageOf([&] { rows.Locate("RECNUM;VALOR", {1LL}); }),
            "A busca por 'RECNUM;VALOR' recebeu 1 valor(es) para 2 campo(s).");
  EXPECT_EQ(MessageOf([&] {
              rows.Locate("RECNUM;;VALOR", {1LL, 1LL});
            }),
            "Campos de busca inválidos: 'RECNUM;;VALOR'.");
  EXPECT_EQ(MessageOf([&] { rows.Locate("CODFILIAL", {1LL}); }), "Campo 'CODFILIAL' não encontrado.");
}

TEST_F(Apportionment, CancelUpdatesReturnsToTheLastMergedState) {
  Add(1, "A", 10);
  rows.MergeChangeLog();
  EXPECT_FALSE(rows.HasChanges());
  Add(1, "B", 20);
  rows.First();
  rows.Edit();
  rows.FieldByName("VALOR").SetAsFloat(15);
  rows.Post();
  EXPECT_TRUE(rows.HasChanges());
  rows.CancelUpdates();
  EXPECT_FALSE(rows.HasChanges());
  EXPECT_EQ(Centers(), (std::vector<std::string>{"A"}));
  EXPECT_EQ(rows.FieldByName("VALOR").AsFloat(), 10.0);
  rows.Delete();
  rows.CancelUpdates();
  EXPECT_EQ(Centers(), (std::vector<std::string>{"A"}));
}

TEST_F(Apportionment, CancelUpdatesDropsAnEditInProgress) {
  Add(1, "A", 10);
  rows.MergeChangeLog();
  rows.Edit();
  rows.FieldByName("VALOR").SetAsFloat(1);
  rows.CancelUpdates();
  EXPECT_EQ(rows.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(rows.FieldByName("VALOR").AsFloat(), 10.0);
}

TEST_F(Apportionment, EmptyDataSetKeepsTheFields) {
  Add(1, "A", 10);
  rows.EmptyDataSet();
  EXPECT_TRUE(rows.IsEmpty());
  EXPECT_EQ(rows.FieldCount(), 5u);
  Add(2, "B", 1);
  EXPECT_EQ(rows.RecordCount(), 1u);
}

TEST_F(Apportionment, CopyFromTakesTheVisibleRowsAsAnUnchangedBaseline) {
  Add(1, "A", 10);
  Add(2, "B", 20);
  Add(3, "C", 30);
  rows.SetFilter("VALOR >= 20");
  rows.SetFiltered(true);
  TClientDataSet copy;
  copy.CopyFrom(rows);
  EXPECT_EQ(copy.FieldCount(), 5u);
  EXPECT_EQ(copy.RecordCount(), 2u);
  EXPECT_FALSE(copy.HasChanges());
  EXPECT_EQ(copy.FieldDefs()[1].Size, 5);
  copy.First();
  copy.Delete();
  copy.CancelUpdates();
  EXPECT_EQ(copy.RecordCount(), 2u);
  EXPECT_EQ(copy.FieldByName("CODIGOCENTROCUSTO").AsString(), "B");
  EXPECT_EQ(MessageOf([&] { copy.CopyFrom(copy); }), "Um conjunto de dados não pode ser copiado sobre si mesmo.");
  TClientDataSet closed;
  EXPECT_EQ(MessageOf([&] { copy.CopyFrom(closed); }), "O conjunto de dados de origem está fechado.");
}

TEST(ClientDataSetDefinition, RefusesDuplicateOrMissingFields) {
  TClientDataSet data;
  EXPECT_THROW(data.CreateDataSet(), Exception);
  data.AddFieldDef("valor", TFieldType::ftFloat);
  try {
    data.AddFieldDef("VALOR", TFieldType::ftString);
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "Campo 'VALOR' definido mais de uma vez.");
  }
}

// ---- Values as the server sends them, read through fields ----

struct ReadCase {
  TFieldType type;
  const char* raw;
  const char* as_string;
  double as_float;
};

class FieldReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(FieldReading, ConvertsTheServerText) {
  TClientDataSet data;
  data.AddFieldDef("F", GetParam().type);
  data.CreateDataSet();
  data.Append();
  data.FieldByName("F").SetAsString(GetParam().raw);
  data.Post();
  EXPECT_EQ(data.FieldByName("F").AsString(), GetParam().as_string);
  EXPECT_DOUBLE_EQ(data.FieldByName("F").AsFloat(), GetParam().as_float);
}

INSTANTIATE_TEST_SUITE_P(
    Types, FieldReading,
    ::testing::Values(ReadCase{TFieldType::ftFloat, "12.50", "12.5", 12.5},
                      ReadCase{TFieldType::ftFloat, "12.00", "12", 12},
                      ReadCase{TFieldType::ftFloat, "9999999999.99", "9999999999.99", 9999999999.99},
                      ReadCase{TFieldType::ftFloat, "-0.000", "0", 0},
                      ReadCase{TFieldType::ftFloat, "1e+20", "100000000000000000000", 1e20},
                      ReadCase{TFieldType::ftFloat, "0.1", "0.1", 0.1},
                      // More digits than a double holds stay in the text.
                      ReadCase{TFieldType::ftFloat, "12345678901234567890.12", "12345678901234567890.12",
                               12345678901234567890.12},
                      ReadCase{TFieldType::ftInteger, "42", "42", 42},
                      ReadCase{TFieldType::ftDateTime, "2026-01-31 00:00:00", "31/01/2026", 46053},
                      ReadCase{TFieldType::ftDateTime, "2026-01-31 12:00:00", "31/01/2026 12:00:00", 46053.5},
                      ReadCase{TFieldType::ftDateTime, "31/01/2026 06:00", "31/01/2026 06:00:00", 46053.25},
                      ReadCase{TFieldType::ftDate, "2026-01-31 12:00:00", "31/01/2026", 46053}));

TEST(FieldConversions, RefuseTextThatIsNotWhatTheFieldHolds) {
  TClientDataSet data;
  data.AddFieldDef("N", TFieldType::ftFloat);
  data.AddFieldDef("D", TFieldType::ftDateTime);
  data.AddFieldDef("S", TFieldType::ftString);
  data.CreateDataSet();
  data.Append();
  try {
    data.FieldByName("N").SetAsString("12,5");
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "O valor '12,5' não é um número válido para o campo 'N'.");
  }
  try {
    data.FieldByName("D").SetAsString("31/02/2026");
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "O valor '31/02/2026' não é uma data válida para o campo 'D'.");
  }
  data.FieldByName("S").SetAsString("abc");
  try {
    static_cast<void>(data.FieldByName("S").AsFloat());
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "O valor 'abc' do campo 'S' não é um número válido.");
  }
}

TEST(FieldConversions, IntegersRoundAndDatesWriteTheirIsoText) {
  TClientDataSet data;
  data.AddFieldDef("I", TFieldType::ftInteger);
  data.AddFieldDef("F", TFieldType::ftFloat);
  data.AddFieldDef("D", TFieldType::ftDateTime);
  data.CreateDataSet();
  data.Append();
  data.FieldByName("I").SetAsFloat(2.5);
  data.FieldByName("F").SetAsString("2.5");
  data.FieldByName("D").SetAsDateTime(TDateTime::EncodeDateTime(2026, 3, 1, 23, 59, 59));
  data.Post();
  EXPECT_EQ(data.FieldByName("I").AsInteger(), 3);
  EXPECT_EQ(data.FieldByName("F").AsInteger(), 3);
  EXPECT_EQ(data.FieldByName("D").RawValue(), std::optional<std::string>("2026-03-01 23:59:59"));
  EXPECT_EQ(data.FieldByName("D").AsString(), "01/03/2026 23:59:59");
  EXPECT_EQ(data.FieldByName("I").AsString(), "3");
}

}  // namespace
