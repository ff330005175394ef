#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "oradb/TOraQuery.h"
#include "support/TestDatabase.h"

namespace {

class Binding : public testsupport::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    Exec(
        "CREATE TEMP TABLE bind_probe (id integer, texto varchar(20), valor numeric(14,2), inteiro bigint, "
        "quando timestamp(0), dia date, flag boolean, dbl double precision)");
  }

  // Opens `sql` with its bind :V set through `set`.
  std::string Count(const std::string& sql, const std::function<void(TOraParam&)>& set) {
    TOraQuery query(&Session());
    query.SQL.Add(sql);
    set(query.ParamByName("V"));
    query.Open();
    return query.Fields(0).AsString();
  }
};

TEST_F(Binding, ValuesComeBackAsSent) {
  struct Case {
    const char* column;
    std::function<void(TOraParam&)> set;
    const char* as_string;
  };
  const Case cases[] = {
      {"texto", [](TOraParam& p) { p.SetAsString("Ação 'x' \\n"); }, "Ação 'x' \\n"},
      {"texto", [](TOraParam& p) { p.SetAsString(""); }, "<NULL>"},
      {"valor", [](TOraParam&) {}, "<NULL>"},
      {"valor", [](TOraParam& p) { p.SetAsFloat(12.5); }, "12.5"},
      {"valor", [](TOraParam& p) { p.SetAsFloat(9999999999.99); }, "9999999999.99"},
      {"valor", [](TOraParam& p) { p.SetAsString("9999999999.99"); }, "9999999999.99"},
      {"valor", [](TOraParam& p) { p.SetAsInteger(-3); }, "-3"},
      {"inteiro", [](TOraParam& p) { p.SetAsInteger(9007199254740993LL); }, "9007199254740993"},
      {"quando", [](TOraParam& p) { p.SetAsDate(TDateTime::EncodeDateTime(2026, 1, 31, 10, 0, 0)); }, "31/01/2026"},
      {"quando", [](TOraParam& p) { p.SetAsDateTime(TDateTime::EncodeDateTime(2026, 1, 31, 23, 59, 59)); },
       "31/01/2026 23:59:59"},
      // Dates travel to the second: a fraction is cut, never rounded up.
      {"quando",
       [](TOraParam& p) { p.SetAsDateTime(TDateTime::EncodeDateTime(2026, 12, 31, 23, 59, 58) + 0.4 / 86400.0); },
       "31/12/2026 23:59:58"},
      {"dia", [](TOraParam& p) { p.SetAsDateTime(TDateTime::EncodeDateTime(2026, 2, 28, 0, 0, 0)); }, "28/02/2026"},
      {"flag", [](TOraParam& p) { p.SetAsString("t"); }, "True"},
      {"dbl", [](TOraParam& p) { p.SetAsFloat(0.1); }, "0.1"}};
  int id = 0;
  for (const Case& c : cases) {
    const std::string column = c.column;
    TOraQuery insert(&Session());
    insert.SQL.Add("INSERT INTO bind_probe (id, " + column + ") VALUES (:ID, :V)");
    insert.ParamByName("ID").SetAsInteger(++id);
    c.set(insert.ParamByName("V"));
    insert.ExecSQL();
    EXPECT_EQ(insert.RowsAffected(), 1);
    TOraQuery read(&Session());
    read.SQL.Add("SELECT " + column + " AS V FROM bind_probe WHERE id = " + std::to_string(id));
    read.Open();
    EXPECT_EQ(read.FieldByName("V").IsNull() ? "<NULL>" : read.FieldByName("V").AsString(), c.as_string) << id;
  }
}

// The same bind value compares with a text column in one statement and a number column in another:
// untyped binds let the server take the column's type, as Oracle converts implicitly. A repeated
// name is one value.
TEST_F(Binding, UntypedBindsTakeTheTypeOfWhatTheyAreComparedWith) {
  Exec("INSERT INTO bind_probe (id, texto, valor) VALUES (1, '10', 10), (2, 'B', NULL)");
  EXPECT_EQ(Count("SELECT count(*) FROM bind_probe WHERE texto = :V", [](TOraParam& p) { p.SetAsInteger(10); }), "1");
  EXPECT_EQ(Count("SELECT count(*) FROM bind_probe WHERE valor = :V", [](TOraParam& p) { p.SetAsString("10"); }), "1");
  EXPECT_EQ(Count("SELECT count(*) FROM bind_probe WHERE texto = :V AND texto || 'x' = :V || 'x'",
                  [](TOraParam& p) { p.SetAsString("B"); }),
            "1");
}

TEST_F(Binding, ResultTypesComeFromTheServerTypes) {
  TOraQuery query(&Session());
  query.SQL.Add(
      "SELECT 1::integer AS i, 2::bigint AS b, 1.50::numeric(5,2) AS n, 0.5::float8 AS f, "
      "TIMESTAMP '2026-01-31 00:00:00' AS t, DATE '2026-01-31' AS d, true AS l, 'x'::varchar(7) AS v, "
      "'y'::text AS s");
  query.Open();
  const std::pair<const char*, TFieldType> types[] = {
      {"I", TFieldType::ftInteger}, {"B", TFieldType::ftInteger},  {"N", TFieldType::ftFloat},
      {"F", TFieldType::ftFloat},   {"T", TFieldType::ftDateTime}, {"D", TFieldType::ftDateTime},
      {"L", TFieldType::ftBoolean}, {"V", TFieldType::ftString},   {"S", TFieldType::ftString}};
  for (const auto& [name, type] : types) EXPECT_EQ(query.FieldByName(name).DataType(), type) << name;
  EXPECT_EQ(query.FieldByName("v").Size(), 7);
  EXPECT_EQ(query.FieldByName("N").AsString(), "1.5");
  EXPECT_EQ(query.FieldByName("D").AsString(), "31/01/2026");
  EXPECT_TRUE(query.FieldByName("L").AsBoolean());
}

}  // namespace
