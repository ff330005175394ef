#include <gtest/gtest.h>

#include "CashFixture.h"

namespace {

using cashtest::CashTest;

constexpr double kBanco = 9201;
const TDateTime kData = TDateTime::EncodeDateTime(2025, 4, 2, 10, 0, 0);
const TDateTime kCompensacao = TDateTime::EncodeDate(2025, 4, 3);

struct ReconcileCase {
  std::string name;
  int rotina;
  std::string cob;
  std::string tipo;
  double saldo;            // ZTESTCR.VALOR after, from 1000
  double saldoConciliado;  // ZTESTCR.VALORCONCILIADO after, from 400
};

void PrintTo(const ReconcileCase& c, std::ostream* os) {
  *os << c.name;
}

class CashReconcile : public CashTest, public ::testing::WithParamInterface<ReconcileCase> {};

TEST_P(CashReconcile, MovesTheBalancesAndMarksTheMovement) {
  const ReconcileCase& c = GetParam();
  Host().SetCodigoRotina(c.rotina);
  DefinirSaldo(kBanco, c.cob, 1000, 400);
  const std::string rowid = InserirMovimento(kBanco, c.cob, 1, kData, c.tipo, 70, 1000);
  EXPECT_TRUE(Dal().ConciliarLancamentoZTMOVCR(rowid, 70, c.tipo, kBanco, c.cob, kCompensacao));
  EXPECT_EQ(Saldo(kBanco, c.cob), c.saldo);
  EXPECT_EQ(SaldoConciliado(kBanco, c.cob), c.saldoConciliado);
  const auto rows = Movimentos(kBanco, c.cob);
  ASSERT_EQ(rows.size(), 1U);
  EXPECT_EQ(rows[0].Conciliacao, "OK");
  EXPECT_EQ(rows[0].VlSaldoConcil, c.saldoConciliado);
  EXPECT_EQ(rows[0].DtCompensacao, kCompensacao);
  EXPECT_EQ(rows[0].CodFuncConcil, 1);
  EXPECT_FALSE(rows[0].DtConcil.IsZero());
  // The plain running balance the movement froze at posting is not touched.
  EXPECT_EQ(rows[0].VlSaldo, 1000);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, CashReconcile,
    ::testing::Values(ReconcileCase{"Debit", 632, "D", "D", 1070, 470},
                      ReconcileCase{"Credit", 632, "D", "C", 930, 330},
                      // Routine 1803 consumes unidentified deposits: only the reconciled balance drops.
                      ReconcileCase{"UnidentifiedDepositFrom1803", 1803, "DNI", "C", 1000, 330},
                      ReconcileCase{"UnidentifiedDepositElsewhere", 632, "DNI", "C", 930, 330},
                      ReconcileCase{"OtherCodeFrom1803", 1803, "D", "C", 930, 330},
                      ReconcileCase{"DebitDepositFrom1803", 1803, "DNI", "D", 1070, 470},
                      ReconcileCase{"OtherKindMovesNothing", 632, "D", "X", 1000, 400}),
    [](const ::testing::TestParamInfo<ReconcileCase>& info) { return info.param.name; });

TEST_F(CashTest, ReconcilingTwiceMovesTheBalanceOnce) {
  DefinirSaldo(kBanco, "D", 1000, 400);
  const std::string rowid = InserirMovimento(kBanco, "D", 1, kData, "D", 70, 1000);
  EXPECT_TRUE(Dal().ConciliarLancamentoZTMOVCR(rowid, 70, "D", kBanco, "D", kCompensacao));
  EXPECT_FALSE(Dal().ConciliarLancamentoZTMOVCR(rowid, 70, "D", kBanco, "D", TDateTime::EncodeDate(2025, 5, 1)));
  EXPECT_EQ(Saldo(kBanco, "D"), 1070);
  EXPECT_EQ(SaldoConciliado(kBanco, "D"), 470);
  EXPECT_EQ(Movimentos(kBanco, "D")[0].DtCompensacao, kCompensacao);
}

TEST_F(CashTest, AMovementOfAnotherPairIsNotReconciled) {
  DefinirSaldo(kBanco, "D", 1000, 400);
  const std::string rowid = InserirMovimento(kBanco, "D", 1, kData, "D", 70, 1000);
  EXPECT_FALSE(Dal().ConciliarLancamentoZTMOVCR(rowid, 70, "D", kBanco + 1, "D", kCompensacao));
  EXPECT_FALSE(Dal().ConciliarLancamentoZTMOVCR(rowid, 70, "D", kBanco, "DNI", kCompensacao));
  EXPECT_FALSE(Dal().ConciliarLancamentoZTMOVCR("999999999", 70, "D", kBanco, "D", kCompensacao));
  EXPECT_EQ(SaldoConciliado(kBanco, "D"), 400);
  EXPECT_EQ(Movimentos(kBanco, "D")[0].Conciliacao, "");
  EXPECT_FALSE(Saldo(kBanco + 1, "D").has_value());
}

TEST_F(CashTest, ReconcilingCreatesAMissingBalanceRow) {
  const std::string rowid = InserirMovimento(kBanco, "DNI", 1, kData, "C", 70, 0);
  EXPECT_TRUE(Dal().ConciliarLancamentoZTMOVCR(rowid, 70, "C", kBanco, "DNI", kCompensacao));
  EXPECT_EQ(Saldo(kBanco, "DNI"), -70);
  EXPECT_EQ(SaldoConciliado(kBanco, "DNI"), -70);
  EXPECT_EQ(Movimentos(kBanco, "DNI")[0].VlSaldoConcil, -70);
}

TEST_F(CashTest, ReconciliationRefusesABadRowIdAsAPlainException) {
  try {
    (void)Dal().ConciliarLancamentoZTMOVCR("1' OR '1' = '1", 70, "D", kBanco, "D", kCompensacao);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.ClassName(), "Exception");
    EXPECT_EQ(e.Message(), "Identificador de linha (ROWID) inválido: '1' OR '1' = '1'.");
  }
}

}  // namespace
