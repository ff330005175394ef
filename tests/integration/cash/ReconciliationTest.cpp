#include <gtest/gtest.h>

#include <tuple>

#include "CashFixture.h"

namespace {

using namespace cashtest;

const TDateTime kCompensacao = TDateTime::EncodeDate(2025, 4, 3);
const std::string kMarca = "CONCILIACAO, VLSALDOCONCIL, TO_CHAR(DTCOMPENSACAO, 'YYYY-MM-DD'), CODFUNCCONCIL, VLSALDO";

// Routine, collection code, kind, and the ZTESTCR balances after (from 1000|400).
class CashReconcile : public CashTest,
                      public ::testing::WithParamInterface<std::tuple<int, std::string, std::string, std::string>> {};

// The balances move by the kind; the movement is marked with the reconciled balance, the clearing
// date and the user, and keeps the plain running balance it froze at posting.
TEST_P(CashReconcile, MovesTheBalancesAndMarksTheMovement) {
  const auto& [rotina, cob, tipo, saldo] = GetParam();
  Host().SetCodigoRotina(rotina);
  Cob = cob;
  DefinirSaldo(1000, 400);
  const std::string rowid = InserirMovimento(1, "2025-04-02", tipo, 70, 1000);
  EXPECT_TRUE(Dal().ConciliarLancamentoZTMOVCR(rowid, 70, tipo, kBanco, cob, kCompensacao));
  EXPECT_EQ(Saldo(), Rows{saldo});
  EXPECT_EQ(Movimentos(kMarca), Rows{"OK|" + saldo.substr(saldo.find('|') + 1) + "|2025-04-03|1|1000"});
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, CashReconcile,
    ::testing::Values(std::make_tuple(632, "D", "D", "1070|470"), std::make_tuple(632, "D", "C", "930|330"),
                      // Routine 1803 consumes unidentified deposits: only the
                      // reconciled balance drops.
                      std::make_tuple(1803, "DNI", "C", "1000|330"), std::make_tuple(632, "DNI", "C", "930|330"),
                      std::make_tuple(1803, "D", "C", "930|330"), std::make_tuple(1803, "DNI", "D", "1070|470"),
                      std::make_tuple(632, "D", "X", "1000|400")));

// A movement of another pair, an unknown row or one reconciled already changes nothing; the
// first reconciliation creates a missing balance row.
TEST_F(CashTest, OnlyAnOpenMovementOfThePairIsReconciledOnce) {
  Cob = "DNI";
  const std::string rowid = InserirMovimento(1, "2025-04-02", "C", 70, 0);
  EXPECT_FALSE(Dal().ConciliarLancamentoZTMOVCR(rowid, 70, "C", kBanco + 1, "DNI", kCompensacao));
  EXPECT_FALSE(Dal().ConciliarLancamentoZTMOVCR(rowid, 70, "C", kBanco, "D", kCompensacao));
  EXPECT_FALSE(Dal().ConciliarLancamentoZTMOVCR("999999999", 70, "C", kBanco, "DNI", kCompensacao));
  EXPECT_EQ(Linhas("SELECT CODBANCO, CODCOB FROM ZTESTCR WHERE CODBANCO IN (9101, 9102)"), Rows{});
  EXPECT_TRUE(Dal().ConciliarLancamentoZTMOVCR(rowid, 70, "C", kBanco, "DNI", kCompensacao));
  EXPECT_FALSE(Dal().ConciliarLancamentoZTMOVCR(rowid, 70, "C", kBanco, "DNI", TDateTime::EncodeDate(2025, 5, 1)));
  EXPECT_EQ(Saldo(), Rows{"-70|-70"});
  EXPECT_EQ(Movimentos(kMarca), Rows{"OK|-70|2025-04-03|1|0"});
}

}  // namespace
