#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "support/TestDatabase.h"

namespace {

using PlatformSchema = testsupport::DatabaseTest;

TEST_F(PlatformSchema, ScriptsRunTwiceAndSetTheDatabaseSearchPath) {
  for (int run = 0; run < 2; ++run) {
    for (const char* name : {"000_platform.sql", "001_compat_views.sql"}) {
      std::stringstream script;
      script << std::ifstream(std::string(QUORVIN_SOURCE_DIR) + "/platform/schema/" + name).rdbuf();
      ASSERT_FALSE(script.str().empty()) << name;
      Exec(script.str());
    }
  }
  EXPECT_EQ(Value("SELECT count(*) FROM pg_extension WHERE extname = 'orafce'"), "1");
  EXPECT_EQ(Value("SELECT array_to_string(s.setconfig, ';') FROM pg_db_role_setting s "
                  "JOIN pg_database d ON d.oid = s.setdatabase WHERE d.datname = current_database() "
                  "AND s.setrole = 0"),
            "search_path=oracle, pg_catalog, \"$user\", public");
}

}  // namespace
