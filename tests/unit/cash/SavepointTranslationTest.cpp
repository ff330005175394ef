#include <gtest/gtest.h>

#include <string>

#include "oradb/EOraError.h"
#include "oradb/Translator.h"

namespace {

// The statement as it reaches the server, or "refused".
std::string Sent(const std::string& oracle) {
  try {
    const oradb::Translation translation = oradb::Translate(oracle);
    EXPECT_FALSE(translation.ReturnsRows) << oracle;
    EXPECT_TRUE(translation.ParamNames.empty()) << oracle;
    return translation.Text;
  } catch (const ETranslationError&) {
    return "refused";
  }
}

// Each balance rebuild runs under a savepoint so its failure leaves the transaction usable; the
// two savepoint statements read the same in both dialects. A bare ROLLBACK or anything after the
// name stays refused.
TEST(RebuildSavepoint, OnlyTheTwoSavepointFormsAreCarriedOver) {
  EXPECT_EQ(Sent("SAVEPOINT RECALCULO_SALDO"), "SAVEPOINT RECALCULO_SALDO");
  EXPECT_EQ(Sent("ROLLBACK TO SAVEPOINT RECALCULO_SALDO"), "ROLLBACK TO SAVEPOINT RECALCULO_SALDO");
  EXPECT_EQ(Sent("rollback to recalculo_saldo"), "ROLLBACK TO SAVEPOINT RECALCULO_SALDO");
  for (const char* refused : {"ROLLBACK", "SAVEPOINT", "SAVEPOINT A B", "ROLLBACK TO", "ROLLBACK TO SAVEPOINT",
                              "ROLLBACK TO SAVEPOINT A; DELETE FROM ZTMOVCR"}) {
    EXPECT_EQ(Sent(refused), "refused") << refused;
  }
}

}  // namespace
