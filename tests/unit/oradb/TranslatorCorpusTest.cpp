// Every statement of the module's corpus must translate, and nothing Oracle-only may survive in the
// PostgreSQL text.
#include <gtest/gtest.h>

#include "integration/translator/TranslatorCorpus.h"
#include "oradb/Translator.h"

namespace {

using translatortest::CorpusCase;

TEST(TranslatorCorpusFile, HoldsTheModulesStatements) {
  EXPECT_GE(translatortest::Corpus().size(), 80u);
}

class TranslatorCorpus : public ::testing::TestWithParam<CorpusCase> {};

TEST_P(TranslatorCorpus, TranslatesWithoutOracleLeftovers) {
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
}

INSTANTIATE_TEST_SUITE_P(Module, TranslatorCorpus, ::testing::ValuesIn(translatortest::Corpus()),
                         [](const ::testing::TestParamInfo<CorpusCase>& info) {
                           return "Line" + std::to_string(info.param.line);
                         });

}  // namespace
