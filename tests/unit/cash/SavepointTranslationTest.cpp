#include <gtest/gtest.h>

#include <string>

#include "oradb/EOraError.h"
#include "oradb/Translator.h"

namespace {

struct SavepointCase {
  std::string oracle;
  std::string postgres;
};

class RebuildSavepoint : public ::testing::TestWithParam<SavepointCase> {};

// Each balance rebuild runs under a savepoint so its failure leaves the transaction usable; the
// statements read the same in both dialects.
TEST_P(RebuildSavepoint, ReachesTheServerAsWritten) {
  const oradb::Translation translation = oradb::Translate(GetParam().oracle);
  EXPECT_EQ(translation.Text, GetParam().postgres);
  EXPECT_FALSE(translation.ReturnsRows);
  EXPECT_TRUE(translation.ParamNames.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Statements, RebuildSavepoint,
    ::testing::Values(SavepointCase{"SAVEPOINT RECALCULO_SALDO", "SAVEPOINT RECALCULO_SALDO"},
                      SavepointCase{"ROLLBACK TO SAVEPOINT RECALCULO_SALDO", "ROLLBACK TO SAVEPOINT RECALCULO_SALDO"},
                      SavepointCase{"rollback to recalculo_saldo", "ROLLBACK TO SAVEPOINT RECALCULO_SALDO"}));

class RebuildSavepointRefused : public ::testing::TestWithParam<std::string> {};

// Only the two savepoint forms pass: a bare ROLLBACK or anything after the name stays refused.
TEST_P(RebuildSavepointRefused, IsNotCarriedOver) {
  EXPECT_THROW((void)oradb::Translate(GetParam()), ETranslationError);
}

INSTANTIATE_TEST_SUITE_P(Statements, RebuildSavepointRefused,
                         ::testing::Values("ROLLBACK", "SAVEPOINT", "SAVEPOINT A B", "ROLLBACK TO",
                                           "ROLLBACK TO SAVEPOINT", "ROLLBACK TO SAVEPOINT A; DELETE FROM ZTMOVCR"));

}  // namespace
