// The receivable side's shared tables against shared_columns.tsv beside this file: the script builds
// them on a database that lacks them, runs again over existing rows, and gives every listed column
// its type class and every table the key its rows are addressed by.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "oradb/TOraQuery.h"
#include "support/TestDatabase.h"

namespace {

struct ExpectedColumn {
  std::string Table;
  std::string Column;
  std::string TypeClass;
  bool Key = false;
};

// Table, column, type class and "key" for primary-key columns, tab-separated. A table with key
// columns is created whole by the script; one without is an older table the script only extends.
const std::vector<ExpectedColumn>& Expected() {
  static const std::vector<ExpectedColumn> columns = [] {
    std::vector<ExpectedColumn> rows;
    std::ifstream file(std::string(QUORVIN_SOURCE_DIR) + "/tests/integration/schema/shared_columns.tsv");
    for (std::string line; std::getline(file, line);) {
      if (line.empty() || line.starts_with('#')) continue;
      std::istringstream fields(line);
      ExpectedColumn& column = rows.emplace_back();
      std::string key;
      std::getline(fields, column.Table, '\t');
      std::getline(fields, column.Column, '\t');
      std::getline(fields, column.TypeClass, '\t');
      std::getline(fields, key, '\t');
      column.Key = key == "key";
    }
    return rows;
  }();
  return columns;
}

std::set<std::string> CreatedTables() {
  std::set<std::string> tables;
  for (const auto& column : Expected()) {
    if (column.Key) tables.insert(column.Table);
  }
  return tables;
}

std::string InList(const std::set<std::string>& names) {
  std::string list;
  for (const auto& name : names) list += (list.empty() ? "'" : ", '") + name + "'";
  return list;
}

// The class a column's type belongs to, from the dictionary's Oracle view of it.
std::string TypeClassOf(TOraQuery& column) {
  const std::string type = column.FieldByName("DATA_TYPE").AsString();
  if (type == "DATE") return "date";
  if (type == "VARCHAR2") return column.FieldByName("DATA_LENGTH").AsString() == "1" ? "flag" : "text";
  if (type == "NUMBER") {
    static const std::map<std::string, std::string> by_scale{{"0", "integer"}, {"2", "amount"}, {"6", "rate"}};
    const auto found = by_scale.find(column.FieldByName("DATA_SCALE").AsString());
    return found == by_scale.end() ? "NUMBER scale " + column.FieldByName("DATA_SCALE").AsString() : found->second;
  }
  return type;
}

class SharedTables : public testsupport::DatabaseTest {
 protected:
  void ApplyScript() {
    std::stringstream script;
    script << std::ifstream(std::string(QUORVIN_SOURCE_DIR) + "/platform/schema/012_shared.sql").rdbuf();
    ASSERT_FALSE(script.str().empty());
    // As the schema installer runs it: objects land in public.
    Exec("SET LOCAL search_path TO public, oracle, pg_catalog;\n" + script.str());
  }

  // Back to the database this script first meets: its tables absent, the older tables without the
  // columns it adds (all inside the test's transaction).
  void RemoveWhatTheScriptAdds() {
    for (const auto& table : CreatedTables()) Exec("DROP TABLE IF EXISTS public." + table);
    for (const auto& column : Expected()) {
      if (CreatedTables().count(column.Table) == 0) {
        Exec("ALTER TABLE public." + column.Table + " DROP COLUMN IF EXISTS " + column.Column);
      }
    }
  }

  std::map<std::string, std::string> DictionaryClasses() {
    std::set<std::string> tables;
    for (const auto& column : Expected()) tables.insert(column.Table);
    TOraQuery query(&Session());
    query.SQL.Add("SELECT TABLE_NAME, COLUMN_NAME, DATA_TYPE, DATA_LENGTH, DATA_SCALE FROM USER_TAB_COLUMNS");
    query.SQL.Add("WHERE TABLE_NAME IN (" + InList(tables) + ")");
    query.Open();
    std::map<std::string, std::string> classes;
    for (; !query.Eof(); query.Next()) {
      classes[query.FieldByName("TABLE_NAME").AsString() + "." + query.FieldByName("COLUMN_NAME").AsString()] =
          TypeClassOf(query);
    }
    return classes;
  }

  std::set<std::string> PrimaryKey(const std::string& table) {
    TOraQuery query(&Session());
    query.SQL.Add(
        "SELECT UPPER(K.COLUMN_NAME) COLUMN_NAME FROM INFORMATION_SCHEMA.TABLE_CONSTRAINTS T, "
        "INFORMATION_SCHEMA.KEY_COLUMN_USAGE K WHERE K.CONSTRAINT_NAME = T.CONSTRAINT_NAME AND K.TABLE_SCHEMA = "
        "T.TABLE_SCHEMA AND T.CONSTRAINT_TYPE = 'PRIMARY KEY' AND T.TABLE_SCHEMA = 'public' AND UPPER(T.TABLE_NAME) = "
        "'" +
        table + "'");
    query.Open();
    std::set<std::string> key;
    for (; !query.Eof(); query.Next()) key.insert(query.FieldByName("COLUMN_NAME").AsString());
    return key;
  }

  // What a "SELECT *" of the table returns, as the split cancellation's row templates read it.
  std::set<std::string> SelectedColumns(const std::string& table) {
    TOraQuery query(&Session());
    query.SQL.Add("SELECT * FROM " + table + " WHERE 1 = 2");
    query.Open();
    std::set<std::string> names;
    for (const auto& def : query.FieldDefs()) names.insert(def.Name);
    return names;
  }
};

TEST_F(SharedTables, BuiltOnADatabaseWithoutThemAndAgainWithEveryColumnKeyAndTypeClass) {
  ASSERT_GE(Expected().size(), 100u) << "shared_columns.tsv was not read";
  RemoveWhatTheScriptAdds();
  ApplyScript();
  ApplyScript();

  const auto classes = DictionaryClasses();
  std::map<std::string, std::set<std::string>> listed;
  std::map<std::string, std::set<std::string>> keys;
  for (const auto& column : Expected()) {
    const auto found = classes.find(column.Table + "." + column.Column);
    if (found == classes.end()) {
      ADD_FAILURE() << column.Table << "." << column.Column << " is missing";
      continue;
    }
    EXPECT_EQ(found->second, column.TypeClass) << column.Table << "." << column.Column;
    listed[column.Table].insert(column.Column);
    if (column.Key) keys[column.Table].insert(column.Column);
  }
  for (const auto& table : CreatedTables()) {
    EXPECT_EQ(PrimaryKey(table), keys[table]) << table;
    // Whole: nothing beyond the list, in particular no technical column a row copy would carry.
    EXPECT_EQ(SelectedColumns(table), listed[table]) << table;
  }
}

TEST_F(SharedTables, RunningAgainKeepsTheRowsAlreadyThere) {
  Exec(
      "INSERT INTO ZTCLIENT (CODCLI, CLIENTE, USABKCNPJCODCLIPRINC, RECEBERBOLETOPOREMAIL) "
      "VALUES (7001, 'MERCADO BOA VISTA', 'S', 'N');"
      "INSERT INTO ZTBANCO (CODBANCO, NOME, NUMBANCO, CODCOMPENSACAO) VALUES (6375, 'COBRANCA PROPRIA', 6375, '001');"
      "INSERT INTO ZTCOB (CODCOB, BOLETO, CODBANCO) VALUES ('BK', 'S', 6375);"
      "INSERT INTO ZTNFSAID (NUMTRANSVENDA, NUMNOTA, CODCLI, VLTOTGER) VALUES (880001, 4410, 7001, 1500.75);"
      "INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODCLI, CODCOB, VALOR) "
      "VALUES (880001, '1', 4410, 7001, 'BK', 750.37), (880001, 'A', 4410, 7001, 'BK', 750.38)");
  ApplyScript();

  EXPECT_EQ(Value("SELECT SUM(VALOR) FROM ZTPREST WHERE NUMTRANSVENDA = 880001"), "1500.75");
  EXPECT_EQ(Value("SELECT VLTOTGER FROM ZTNFSAID WHERE NUMTRANSVENDA = 880001"), "1500.75");
  EXPECT_EQ(Value("SELECT CODBANCO FROM ZTCOB WHERE CODCOB = 'BK'"), "6375");
  EXPECT_EQ(Value("SELECT CODCOMPENSACAO FROM ZTBANCO WHERE CODBANCO = 6375"), "001");
  EXPECT_EQ(Value("SELECT USABKCNPJCODCLIPRINC || RECEBERBOLETOPOREMAIL FROM ZTCLIENT WHERE CODCLI = 7001"), "SN");
}

}  // namespace
