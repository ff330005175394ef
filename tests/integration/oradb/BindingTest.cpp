#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "oradb/TOraQuery.h"
#include "support/TestDatabase.h"

namespace {

using Binding = testsupport::DatabaseTest;

TEST_F(Binding, ValuesComeBackAsSent) {
  Exec(
      "CREATE TEMP TABLE bind_probe (id integer, texto varchar(20), valor numeric(14,2), inteiro bigint, "
      "quando timestamp(0), flag boolean)");
  struct Case {
    const char* column;
    std::function<void(TOraParam&)> set;
    const char* as_string;
  };
  const Case cases[] = {
      {"texto", [](TOraParam& p) { p.SetAsString("Ação 'x' \\n"); }, "Ação 'x' \\n"},
      {"valor", [](TOraParam& p) { p.SetAsFloat(9999999999.99); }, "9999999999.99"},
      {"valor", [](TOraParam& p) { p.SetAsString("9999999999.99"); }, "9999999999.99"},
      {"inteiro", [](TOraParam& p) { p.SetAsInteger(9007199254740993LL); }, "9007199254740993"},
      {"quando", [](TOraParam& p) { p.SetAsDate(TDateTime::EncodeDateTime(2026, 1, 31, 10, 0, 0)); }, "31/01/2026"},
      {"quando", [](TOraParam& p) { p.SetAsDateTime(TDateTime::EncodeDateTime(2026, 1, 31, 23, 59, 59)); },
       "31/01/2026 23:59:59"},
      // Dates travel to the second: a fraction is cut, never rounded up.
      {"quando",
       [](TOraParam& p) { p.SetAsDateTime(TDateTime::EncodeDateTime(2026, 12, 31, 23, 59, 58) + 0.4 / 86400.0); },
       "31/12/2026 23:59:58"},
      {"flag", [](TOraParam& p) { p.SetAsString("t"); }, "True"}};
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
  EXPECT_TRUE(query.FieldByName("L").AsBoolean());
}

}  // namespace
