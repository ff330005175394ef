#include <gtest/gtest.h>

#include "CashFixture.h"

namespace {

using namespace cashtest;

const TDateTime kCompensacao = TDateTime::EncodeDate(2025, 4, 3);
const std::string kMarca = "CONCILIACAO, VLSALDOCONCIL, TO_CHAR(DTCOMPENSACAO, 'YYYY-MM-DD'), CODFUNCCONCIL, VLSALDO";

struct ReconcileCase {
  int rotina;
  std::string cob;
  std::string tipo;
  std::string saldo;  // ZTESTCR after, from 1000|400
};

void PrintTo(const ReconcileCase& c, std::ostream* os) {
  *os << c.rotina << " " << c.cob << " " << c.tipo;
}

class CashReconcile : public CashTest, public ::testing::WithParamInterface<ReconcileCase> {};

// The balances move by the kind; the movement is marked with the reconciled balance, the clearing
// date and the user, and keeps the plain running balance it froze at posting.
TEST_P(CashReconcile, MovesTheBalancesAndMarksTheMovement) {
  const ReconcileCase& c = GetParam();
  Host().SetCodigoRotina(c.rotina);
  Cob = c.cob;
  DefinirSaldo(1000, 400);
  const std::string rowid = InserirMovimento(1, "2025-04-02", c.tipo, 70, 1000);
  EXPECT_TRUE(Dal().ConciliarLancamentoZTMOVCR(rowid, 70, c.tipo, kBanco, c.cob, kCompensacao));
  EXPECT_EQ(Saldo(), Rows{c.saldo});
  EXPECT_EQ(Movimentos(kMarca), Rows{"OK|" + c.saldo.substr(c.saldo.find('|') + 1) + "|2025-04-03|1|1000"});
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, CashReconcile,
    ::testing::Values(ReconcileCase{632, "D", "D", "1070|470"}, ReconcileCase{632, "D", "C", "930|330"},
                      // Routine 1803 consumes unidentified deposits: only the
                      // reconciled balance drops.
                      ReconcileCase{1803, "DNI", "C", "1000|330"}, ReconcileCase{632, "DNI", "C", "930|330"},
                      ReconcileCase{1803, "D", "C", "930|330"}, ReconcileCase{1803, "DNI", "D", "1070|470"},
                      ReconcileCase{632, "D", "X", "1000|400"}));

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
  EXPECT_EQ(
      Falha([&] { (void)Dal().ConciliarLancamentoZTMOVCR("1' OR '1' = '1", 70, "D", kBanco, "D", kCompensacao); }),
      "Exception: Identificador de linha (ROWID) inválido: '1' OR '1' = '1'.");
}

}  // namespace
