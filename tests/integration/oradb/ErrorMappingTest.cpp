#include <gtest/gtest.h>

#include <string>

#include "oradb/EOraError.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSavepoint.h"
#include "support/Failure.h"
#include "support/TestDatabase.h"

namespace {

class ErrorMapping : public testsupport::DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    Exec(
        "CREATE TEMP TABLE err_probe (id integer PRIMARY KEY, nome varchar(5) NOT NULL, valor numeric(5,2));"
        "INSERT INTO err_probe VALUES (1, 'A', 1);"
        "CREATE TEMP TABLE err_child (id integer, parent_id integer REFERENCES err_probe (id));"
        "INSERT INTO err_child VALUES (1, 1);");
  }
};

// One case per code the callers tell apart, and per mapping that reads the message: the rest of the
// SQLSTATE table is looked up the same way.
TEST_F(ErrorMapping, CarriesTheOracleCodeTheStateAndTheStatement) {
  const struct {
    const char* label;
    const char* sql;  // Oracle text through a query, or (native) PostgreSQL text through a script
    bool native;
    const char* bind;  // text of the statement's one bind, if any
    const char* class_name;
    const char* sqlstate;
    std::string message;  // "ORA-nnnnn: ...": the code is the number
  } cases[] = {
      {"duplicate_key", "INSERT INTO err_probe (id, nome) VALUES (:ID, 'B')", false, "1", "EOraDuplicateKey", "23505",
       "ORA-00001: duplicate key value violates unique constraint \"err_probe_pkey\""},
      // Oracle stores '' as NULL, so an empty text into a NOT NULL column fails the same way.
      {"empty_text_not_null", "INSERT INTO err_probe (id, nome) VALUES (2, :NOME)", false, "", "EOraNotNull", "23502",
       "ORA-01400: null value in column \"nome\" of relation \"err_probe\" violates not-null constraint"},
      {"too_wide", "INSERT INTO err_probe (id, nome) VALUES (2, :NOME)", false, "ABCDEF", "EOraTooWide", "22001",
       "ORA-12899: value too long for type character varying(5)"},
      {"invalid_number", "UPDATE err_probe SET valor = :VALOR", false, "12,50", "EOraInvalidNumber", "22P02",
       "ORA-01722: invalid input syntax for type numeric: \"12,50\""},
      {"wider_than_the_column", "UPDATE err_probe SET valor = 1000", false, nullptr, "EOraError", "22003",
       "ORA-01438: numeric field overflow"},
      {"arithmetic_overflow", "SELECT CAST(2147483647 AS integer) + 1 FROM err_probe", false, nullptr, "EOraError",
       "22003", "ORA-01426: integer out of range"},
      {"no_data_found", "DO $$ DECLARE v integer; BEGIN SELECT id INTO STRICT v FROM err_probe WHERE id = 99; END $$",
       true, nullptr, "EOraNoDataFound", "P0002", "ORA-01403: query returned no rows"},
      {"parent_key_missing", "INSERT INTO err_child VALUES (2, 99)", false, nullptr, "EOraError", "23503",
       "ORA-02291: insert or update on table \"err_child\" violates foreign key constraint "
       "\"err_child_parent_id_fkey\""},
      {"child_record_found", "DELETE FROM err_probe WHERE id = 1", false, nullptr, "EOraError", "23503",
       "ORA-02292: update or delete on table \"err_probe\" violates foreign key constraint "
       "\"err_child_parent_id_fkey\" on table \"err_child\""},
      {"missing_function", "SELECT err_nowhere(id) FROM err_probe", false, nullptr, "EOraError", "42883",
       "ORA-00904: function err_nowhere(integer) does not exist"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    // The failed statement is undone with its savepoint, so the next case finds the transaction usable.
    const TOraSavepoint undone(Session());
    try {
      if (c.native) {
        Session().ExecuteScript(c.sql);
      } else {
        TOraQuery query(&Session());
        query.SQL.Add(c.sql);
        if (c.bind != nullptr) query.Params()[0].SetAsString(c.bind);
        query.ExecSQL();
      }
      ADD_FAILURE() << "no error";
    } catch (const EOraError& error) {
      EXPECT_EQ(testsupport::ClassAndMessage(error), std::string(c.class_name) + ": " + c.message);
      EXPECT_EQ(error.ErrorCode(), std::stoi(c.message.substr(4, 5)));
      EXPECT_EQ(error.SqlState(), c.sqlstate);
      EXPECT_EQ(error.Statement(), c.sql);
    }
  }
}

}  // namespace
