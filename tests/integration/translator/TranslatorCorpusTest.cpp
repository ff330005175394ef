// PostgreSQL parses every SQL statement of the module's corpus as translated: the statement is
// compiled inside a PL/pgSQL block that never runs it, so no table has to exist.
#include <gtest/gtest.h>

#include "PgSession.h"
#include "TranslatorCorpus.h"
#include "oradb/Translator.h"

namespace translatortest {
namespace {

// Blocks need the server-side objects; TranslatorBlockTest runs blocks over stand-ins.
std::vector<CorpusCase> Statements() {
  std::vector<CorpusCase> statements;
  for (const CorpusCase& c : Corpus()) {
    if (!oradb::Translate(c.text).IsBlock) statements.push_back(c);
  }
  return statements;
}

class TranslatorCorpusOnServer : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(TranslatorCorpusOnServer, ParsesOnPostgreSQL) {
  const CorpusCase& c = GetParam();
  const oradb::Translation translation = oradb::Translate(c.text);
  PgSession db;
  ASSERT_TRUE(db.Connected());
  const std::string check = "DO $check$ BEGIN IF false THEN " + translation.Text + "\n; END IF; END $check$";
  const Outcome outcome = db.Run("SELECT 1 FROM DUAL");  // the session works before the check
  ASSERT_TRUE(outcome.Ok()) << outcome.Error;
  db.Exec(check);
}

INSTANTIATE_TEST_SUITE_P(Module, TranslatorCorpusOnServer, ::testing::ValuesIn(Statements()),
                         [](const ::testing::TestParamInfo<CorpusCase>& info) {
                           return "Statement" + std::to_string(info.index);
                         });

}  // namespace
}  // namespace translatortest
