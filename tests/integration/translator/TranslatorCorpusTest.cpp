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
  PgSession db;
  ASSERT_TRUE(db.Connected());
  db.Exec("DO $check$ BEGIN IF false THEN " + oradb::Translate(GetParam().text).Text + "\n; END IF; END $check$");
}

INSTANTIATE_TEST_SUITE_P(Module, TranslatorCorpusOnServer, ::testing::ValuesIn(Statements()),
                         [](const ::testing::TestParamInfo<CorpusCase>& info) {
                           return "Line" + std::to_string(info.param.line);
                         });

}  // namespace
}  // namespace translatortest
