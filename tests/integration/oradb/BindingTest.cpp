#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "oradb/TOraQuery.h"
#include "support/TestDatabase.h"

namespace {

using testsupport::DatabaseTest;

class Binding : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    Exec(
        "CREATE TEMP TABLE bind_probe (id integer, texto varchar(20), valor numeric(14,2), inteiro bigint, "
        "quando timestamp(0), dia date, flag boolean, dbl double precision)");
  }

  // Inserts one row setting `column` through `set`, then reads the column back.
  TOraQuery& RoundTrip(const std::string& column, const std::function<void(TOraParam&)>& set) {
    TOraQuery insert(&Session());
    insert.SQL.Add("INSERT INTO bind_probe (id, " + column + ")");
    insert.SQL.Add("VALUES (1, :VALUE)");
    set(insert.ParamByName("VALUE"));
    insert.ExecSQL();
    EXPECT_EQ(insert.RowsAffected(), 1);
    read.SQL.Clear();
    read.SQL.Add("SELECT " + column + " AS V FROM bind_probe WHERE id = 1");
    read.Open();
    return read;
  }

  TOraQuery read{nullptr};
};

struct BindCase {
  const char* label;
  const char* column;
  std::function<void(TOraParam&)> set;
  const char* as_string;  // nullptr: NULL
};

class BindRoundTrip : public Binding, public ::testing::WithParamInterface<BindCase> {};

TEST_P(BindRoundTrip, ComesBackAsSent) {
  read.SetSession(&Session());
  TOraQuery& result = RoundTrip(GetParam().column, GetParam().set);
  if (GetParam().as_string == nullptr) {
    EXPECT_TRUE(result.FieldByName("V").IsNull());
  } else {
    EXPECT_FALSE(result.FieldByName("V").IsNull());
    EXPECT_EQ(result.FieldByName("V").AsString(), GetParam().as_string);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BindRoundTrip,
    ::testing::Values(
        BindCase{"text", "texto", [](TOraParam& p) { p.SetAsString("Ação 'x' \\n"); }, "Ação 'x' \\n"},
        BindCase{"empty_text_is_null", "texto", [](TOraParam& p) { p.SetAsString(""); }, nullptr},
        BindCase{"unset_is_null", "valor", [](TOraParam&) {}, nullptr},
        BindCase{"float", "valor", [](TOraParam& p) { p.SetAsFloat(12.5); }, "12.5"},
        BindCase{"float_money", "valor", [](TOraParam& p) { p.SetAsFloat(9999999999.99); }, "9999999999.99"},
        BindCase{"numeric_text", "valor", [](TOraParam& p) { p.SetAsString("9999999999.99"); }, "9999999999.99"},
        BindCase{"integer_to_numeric", "valor", [](TOraParam& p) { p.SetAsInteger(-3); }, "-3"},
        BindCase{"big_integer", "inteiro", [](TOraParam& p) { p.SetAsInteger(9007199254740993LL); },
                 "9007199254740993"},
        BindCase{"date", "quando", [](TOraParam& p) { p.SetAsDate(TDateTime::EncodeDateTime(2026, 1, 31, 10, 0, 0)); },
                 "31/01/2026"},
        BindCase{"date_time", "quando",
                 [](TOraParam& p) { p.SetAsDateTime(TDateTime::EncodeDateTime(2026, 1, 31, 23, 59, 59)); },
                 "31/01/2026 23:59:59"},
        BindCase{"date_time_to_date", "dia",
                 [](TOraParam& p) { p.SetAsDateTime(TDateTime::EncodeDateTime(2026, 2, 28, 0, 0, 0)); }, "28/02/2026"},
        BindCase{"flag", "flag", [](TOraParam& p) { p.SetAsString("t"); }, "True"},
        BindCase{"double", "dbl", [](TOraParam& p) { p.SetAsFloat(0.1); }, "0.1"}),
    [](const ::testing::TestParamInfo<BindCase>& info) { return std::string(info.param.label); });

TEST_F(Binding, EmptyTextIsStoredAsNullAndMatchesNothing) {
  Exec("INSERT INTO bind_probe (id, texto) VALUES (1, NULL), (2, 'A')");
  TOraQuery query(&Session());
  query.SQL.Add("SELECT count(*) FROM bind_probe WHERE texto = :TEXTO");
  query.ParamByName("TEXTO").SetAsString("");
  query.Open();
  EXPECT_EQ(query.Fields(0).AsInteger(), 0);
  EXPECT_EQ(Value("SELECT count(*) FROM bind_probe WHERE texto IS NULL"), "1");
}

TEST_F(Binding, MoneyKeepsEveryDigitAsTextAndAsDouble) {
  TOraQuery insert(&Session());
  insert.SQL.Add("INSERT INTO bind_probe (id, valor) VALUES (:ID, :VALOR)");
  insert.ParamByName("ID").SetAsInteger(1);
  insert.ParamByName("VALOR").SetAsFloat(9999999999.99);
  insert.ExecSQL();
  EXPECT_EQ(Value("SELECT valor::text FROM bind_probe"), "9999999999.99");
  TOraQuery read(&Session());
  read.SQL.Add("SELECT valor FROM bind_probe");
  read.Open();
  EXPECT_EQ(read.FieldByName("VALOR").AsFloat(), 9999999999.99);
  EXPECT_EQ(read.FieldByName("VALOR").AsString(), "9999999999.99");
}

// The same bind value compares with a text column in one statement and a number column in another:
// untyped binds let the server take the column's type, as Oracle converts implicitly.
TEST_F(Binding, UntypedBindsTakeTheTypeOfWhatTheyAreComparedWith) {
  Exec("INSERT INTO bind_probe (id, texto, valor) VALUES (1, '10', 10)");
  TOraQuery by_text(&Session());
  by_text.SQL.Add("SELECT id FROM bind_probe WHERE texto = :CODCONTA");
  by_text.ParamByName("CODCONTA").SetAsInteger(10);
  by_text.Open();
  EXPECT_EQ(by_text.RecordCount(), 1u);
  TOraQuery by_number(&Session());
  by_number.SQL.Add("SELECT id FROM bind_probe WHERE valor = :CODCONTA");
  by_number.ParamByName("CODCONTA").SetAsString("10");
  by_number.Open();
  EXPECT_EQ(by_number.RecordCount(), 1u);
}

TEST_F(Binding, DatesTravelToTheSecond) {
  TOraQuery insert(&Session());
  insert.SQL.Add("INSERT INTO bind_probe (id, quando) VALUES (1, :QUANDO)");
  insert.ParamByName("QUANDO").SetAsDateTime(TDateTime::EncodeDateTime(2026, 12, 31, 23, 59, 58) + 0.4 / 86400.0);
  insert.ExecSQL();
  EXPECT_EQ(Value("SELECT to_char(quando, 'YYYY-MM-DD HH24:MI:SS') FROM bind_probe"), "2026-12-31 23:59:58");
  TOraQuery read(&Session());
  read.SQL.Add("SELECT quando FROM bind_probe WHERE quando = :QUANDO");
  read.ParamByName("QUANDO").SetAsDateTime(TDateTime::EncodeDateTime(2026, 12, 31, 23, 59, 58));
  read.Open();
  ASSERT_EQ(read.RecordCount(), 1u);
  EXPECT_EQ(read.FieldByName("QUANDO").AsDateTime(), TDateTime::EncodeDateTime(2026, 12, 31, 23, 59, 58));
}

TEST_F(Binding, ARepeatedBindNameIsOneValue) {
  Exec("INSERT INTO bind_probe (id, texto) VALUES (1, 'A'), (2, 'B')");
  TOraQuery query(&Session());
  query.SQL.Add("SELECT count(*) FROM bind_probe WHERE texto = :T OR texto || 'x' = :T || 'x'");
  query.ParamByName("T").SetAsString("B");
  query.Open();
  EXPECT_EQ(query.Fields(0).AsInteger(), 1);
  EXPECT_EQ(query.Params().Count(), 1u);
}

TEST_F(Binding, ResultTypesComeFromTheServerTypes) {
  TOraQuery query(&Session());
  query.SQL.Add(
      "SELECT 1::integer AS i, 2::bigint AS b, 1.50::numeric(5,2) AS n, 0.5::float8 AS f, "
      "TIMESTAMP '2026-01-31 00:00:00' AS t, DATE '2026-01-31' AS d, true AS l, 'x'::varchar(7) AS v, "
      "'y'::text AS s");
  query.Open();
  const auto type_of = [&](const char* name) { return query.FieldByName(name).DataType(); };
  EXPECT_EQ(type_of("I"), TFieldType::ftInteger);
  EXPECT_EQ(type_of("B"), TFieldType::ftInteger);
  EXPECT_EQ(type_of("N"), TFieldType::ftFloat);
  EXPECT_EQ(type_of("F"), TFieldType::ftFloat);
  EXPECT_EQ(type_of("T"), TFieldType::ftDateTime);
  EXPECT_EQ(type_of("D"), TFieldType::ftDateTime);
  EXPECT_EQ(type_of("L"), TFieldType::ftBoolean);
  EXPECT_EQ(type_of("V"), TFieldType::ftString);
  EXPECT_EQ(query.FieldByName("v").Size(), 7);
  EXPECT_EQ(type_of("S"), TFieldType::ftString);
  EXPECT_EQ(query.FieldByName("N").AsString(), "1.5");
  EXPECT_EQ(query.FieldByName("D").AsString(), "31/01/2026");
  EXPECT_TRUE(query.FieldByName("L").AsBoolean());
}

}  // namespace
