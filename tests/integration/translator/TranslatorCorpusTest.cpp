// The module's statements, read from corpus.tsv beside this file: every one translates with nothing
// Oracle-only left in the PostgreSQL text, and PostgreSQL parses every translated SQL statement
// (compiled inside a PL/pgSQL block that never runs it, so no table has to exist). Blocks need the
// server-side objects; TranslatorBlockTest runs blocks over stand-ins. corpus.expected.tsv holds the
// exact text each statement translates to, so a change in what the module sends shows as a data diff
// (QUORVIN_WRITE_EXPECTED=1 rewrites it from the current translator, for review with git diff).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <ostream>
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

// A statement prints as its name and line, in test listings and failure reports.
void PrintTo(const CorpusCase& c, std::ostream* out) {
  *out << c.name << " (corpus.tsv:" << c.line << ")";
}

std::string CorpusPath(const char* file) {
  return std::string(QUORVIN_SOURCE_DIR) + "/tests/integration/translator/" + file;
}

// A label, a tab, the text on one line with its line breaks written \r and \n.
std::vector<CorpusCase> ReadCases(const char* file_name) {
  std::vector<CorpusCase> cases;
  std::ifstream file(CorpusPath(file_name));
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
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  return out;
}

const std::vector<CorpusCase>& Corpus() {
  static const std::vector<CorpusCase> corpus = ReadCases("corpus.tsv");
  return corpus;
}

// What each statement of the corpus translates to, in the corpus's order.
TEST(TranslatorCorpusFile, EveryStatementTranslatesToTheTextItHasAlwaysSent) {
  if (std::getenv("QUORVIN_WRITE_EXPECTED") != nullptr) {
    std::ofstream out(CorpusPath("corpus.expected.tsv"));
    out << "# What each statement of corpus.tsv translates to (same order, same escapes).\n";
    for (const CorpusCase& c : Corpus()) out << c.name << '\t' << Escaped(oradb::Translate(c.text).Text) << '\n';
  }
  const std::vector<CorpusCase> expected = ReadCases("corpus.expected.tsv");
  ASSERT_GE(Corpus().size(), 80u) << "corpus.tsv was not read whole";
  ASSERT_EQ(expected.size(), Corpus().size());
  for (std::size_t k = 0; k < expected.size(); ++k) {
    const CorpusCase& c = Corpus()[k];
    const std::string text = oradb::Translate(c.text).Text;
    const auto [mine, theirs] =
        std::mismatch(text.begin(), text.end(), expected[k].text.begin(), expected[k].text.end());
    EXPECT_EQ(text, expected[k].text) << c.name << " (corpus.tsv line " << c.line << ") differs from byte "
                                      << (mine - text.begin()) << ": ..."
                                      << std::string(mine, text.end()).substr(0, 60);
    static_cast<void>(theirs);
  }
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
