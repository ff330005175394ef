#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "oradb/TOraQuery.h"
#include "support/TestDatabase.h"

namespace {

using testsupport::DatabaseTest;

std::string ReadSchemaFile(const std::string& name) {
  std::ifstream file(std::string(QUORVIN_SOURCE_DIR) + "/platform/schema/" + name);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class PlatformSchema : public DatabaseTest {
 protected:
  void ApplyScripts() {
    for (const char* name : {"000_platform.sql", "001_compat_views.sql"}) {
      const std::string script = ReadSchemaFile(name);
      ASSERT_FALSE(script.empty()) << name;
      Exec(script);
    }
  }
};

TEST_F(PlatformSchema, ScriptsRunTwiceAndSetTheDatabaseSearchPath) {
  ApplyScripts();
  ApplyScripts();
  EXPECT_EQ(Value("SELECT count(*) FROM pg_extension WHERE extname = 'orafce'"), "1");
  EXPECT_EQ(Value("SELECT array_to_string(s.setconfig, ';') FROM pg_db_role_setting s "
                  "JOIN pg_database d ON d.oid = s.setdatabase WHERE d.datname = current_database() "
                  "AND s.setrole = 0"),
            "search_path=oracle, pg_catalog, \"$user\", public");
}

TEST_F(PlatformSchema, SessionViewsDescribeThisSessionAsTheLockQueryReadsIt) {
  ApplyScripts();
  TOraQuery session(&Session());
  session.SQL.Add(
      "SELECT B.SID, B.USERNAME, B.OSUSER, B.PROGRAM, B.TERMINAL, B.MACHINE, I.CLIENT_INFO, I.PROGRAM AS P2");
  session.SQL.Add("  FROM V$SESSION B JOIN SYS.V_$SESS_INFO I ON I.SID = B.SID");
  session.SQL.Add(" WHERE B.SID = pg_backend_pid()");
  session.Open();
  ASSERT_EQ(session.RecordCount(), 1u);
  EXPECT_EQ(session.FieldByName("SID").AsInteger(), Session().ServerPid());
  EXPECT_EQ(session.FieldByName("PROGRAM").AsString(), "tests");
  EXPECT_EQ(session.FieldByName("P2").AsString(), "tests");
  EXPECT_EQ(session.FieldByName("CLIENT_INFO").AsString(), "tests:0");
  EXPECT_EQ(session.FieldByName("MACHINE").AsString(), "[local]");
  EXPECT_EQ(session.FieldByName("USERNAME").AsString(), *Value("SELECT upper(current_user)"));
}

TEST_F(PlatformSchema, ObjectViewsNameTablesInUpperCaseWithTheirSchema) {
  ApplyScripts();
  Exec("CREATE TABLE public.ztschema_probe (id integer)");
  TOraQuery object(&Session());
  object.SQL.Add(
      "SELECT D.NAME || '.' || C.NAME AS NAME FROM SYS.OBJ$ C JOIN SYS.USER$ D ON C.\"owner#\" = D.\"user#\"");
  object.SQL.Add(" WHERE C.\"obj#\" = 'public.ztschema_probe'::regclass::oid::bigint");
  object.Open();
  EXPECT_EQ(object.FieldByName("NAME").AsString(), "PUBLIC.ZTSCHEMA_PROBE");
  Exec("LOCK TABLE public.ztschema_probe IN ROW SHARE MODE");
  EXPECT_EQ(Value("SELECT A.LMODE FROM V$LOCK A JOIN SYS.OBJ$ C ON C.\"obj#\" = A.ID1 "
                  "WHERE UPPER(C.NAME) = UPPER('ztschema_probe') AND A.SID = pg_backend_pid()"),
            "2");
}

}  // namespace
