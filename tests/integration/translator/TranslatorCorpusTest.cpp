// The module's statements, read from corpus.tsv beside this file: every one translates with nothing
// Oracle-only left in the PostgreSQL text, and PostgreSQL parses every translated SQL statement
// (compiled inside a PL/pgSQL block that never runs it, so no table has to exist). Blocks need the
// server-side objects; TranslatorBlockTest runs blocks over stand-ins.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "oradb/Translator.h"
#include "support/TestDatabase.h"

namespace {

struct CorpusCase {
  std::string name;
  std::string text;
  std::size_t line;  // in corpus.tsv: names the test
};

// A label, a tab, the text on one line with its line breaks written \r and \n.
const std::vector<CorpusCase>& Corpus() {
  static const std::vector<CorpusCase> corpus = [] {
    std::vector<CorpusCase> cases;
    std::ifstream file(std::string(QUORVIN_SOURCE_DIR) + "/tests/integration/translator/corpus.tsv");
    std::size_t number = 0;
    for (std::string line; std::getline(file, line);) {
      const std::size_t tab = line.find('\t');
      ++number;
      if (line.starts_with('#') || tab == std::string::npos) continue;
      CorpusCase& c = cases.emplace_back(CorpusCase{line.substr(0, tab), "", number});
      for (std::size_t i = tab + 1; i < line.size(); ++i) {
        const bool escape = line[i] == '\\' && i + 1 < line.size() && (line[i + 1] == 'r' || line[i + 1] == 'n');
        c.text += escape ? (line[++i] == 'r' ? '\r' : '\n') : line[i];
      }
    }
    return cases;
  }();
  return corpus;
}

TEST(TranslatorCorpusFile, HoldsTheModulesStatements) {
  EXPECT_GE(Corpus().size(), 80u);
}

class TranslatorCorpus : public testsupport::DatabaseTest, public ::testing::WithParamInterface<CorpusCase> {};

TEST_P(TranslatorCorpus, TranslatesWithoutOracleLeftoversAndParsesOnPostgreSQL) {
  const CorpusCase& c = GetParam();
  oradb::Translation translation;
  ASSERT_NO_THROW(translation = oradb::Translate(c.text)) << c.name;
  const std::string& text = translation.Text;
  for (const char* leftover : {"(+)", "ROWNUM", "SYSDATE", "NEXTVAL", "DECODE(", "USER_TAB_COLUMNS", "||"}) {
    EXPECT_EQ(text.find(leftover), std::string::npos) << c.name << " keeps " << leftover << "\n" << text;
  }
  // Every bind of the text has become $n, in the order of the names.
  for (std::size_t k = 0; k < translation.ParamNames.size(); ++k) {
    EXPECT_NE(text.find("$" + std::to_string(k + 1)), std::string::npos) << c.name;
    EXPECT_EQ(text.find(":" + translation.ParamNames[k]), std::string::npos) << c.name;
  }
  EXPECT_EQ(translation.IsBlock, c.text.find("BEGIN") != std::string::npos) << c.name;
  if (!translation.IsBlock) Exec("DO $check$ BEGIN IF false THEN " + text + "\n; END IF; END $check$");
}

INSTANTIATE_TEST_SUITE_P(Module, TranslatorCorpus, ::testing::ValuesIn(Corpus()),
                         [](const ::testing::TestParamInfo<CorpusCase>& info) {
                           return "Line" + std::to_string(info.param.line);
                         });

}  // namespace
