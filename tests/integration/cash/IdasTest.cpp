#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "CashFixture.h"
#include "oradb/RoundTrips.h"
#include "oradb/TOraSession.h"

// A cash movement in a transaction of its own, as a host posts it: BEGIN travels with the balance
// row's statement and the new NUMTRANS, the movement's insert with the balance's update (locked
// way) or alone (in place), and COMMIT. These tests commit, so they use an account of their own
// and remove what they wrote.
namespace {

using cashtest::CashTest;

struct Caso {
  bool Travar;
  bool Conciliado;
};

class CashIdas : public CashTest, public ::testing::WithParamInterface<Caso> {
 protected:
  void SetUp() override {
    CashTest::SetUp();
    Session().Rollback();  // the fixture's transaction: these postings commit
    Limpar();
    // No reconciled balance yet (NULL, not the column's default 0): a movement that does not
    // reconcile leaves it and its date as they are.
    Committed("INSERT INTO ZTESTCR (CODCOB, CODBANCO, VALOR, VALORCONCILIADO, DTULTCONCILIA) VALUES ('IDA', " + kConta +
              ", 0, NULL, TO_DATE('2025-01-02 03:04:05', 'YYYY-MM-DD HH24:MI:SS'))");
  }
  void TearDown() override {
    if (Session().InTransaction()) Session().Rollback();
    Limpar();
    CashTest::TearDown();
  }

  void Committed(const std::string& sql) {
    Session().StartTransaction();
    Exec(sql);
    Session().Commit();
  }
  void Limpar() {
    Committed("DELETE FROM ZTMOVCR WHERE CODBANCO = " + kConta);
    Committed("DELETE FROM ZTESTCR WHERE CODBANCO = " + kConta);
  }

  // Round trips of one movement posted and committed, StartTransaction to Commit.
  std::uint64_t Postar(const std::string& tipo, double valor) {
    RFin_IncluirMovimentacaoNumerarios m = NovoMovimento(tipo, valor);
    m.CODBANCO = 9191;
    m.TRAVARSALDO = GetParam().Travar;
    if (GetParam().Conciliado) {
      m.DTCONCIL = TDateTime::EncodeDateTime(2025, 3, 11, 10, 0, 0);
      m.DTCOMPENSACAO = TDateTime::EncodeDate(2025, 3, 11);
    }
    const std::uint64_t antes = oradb::RoundTrips(Session());
    Session().StartTransaction();
    Caixa().Incluir(m);
    Session().Commit();
    return oradb::RoundTrips(Session()) - antes;
  }

  const std::string kConta = "9191";
};

// Three round trips per movement, BEGIN and COMMIT included, once its statements are prepared; the balance,
// the balance frozen in each movement, and the columns the movement does not move (the reconciled
// balance and its date without reconciliation) come out as when every statement travelled alone.
TEST_P(CashIdas, AMovementCostsThreeRoundTripsAndMovesTheBalanceAsBefore) {
  Cob = "IDA";
  static_cast<void>(Postar("D", 10));  // prepares what the session has not run yet
  EXPECT_EQ(Postar("C", 4), 3u);
  EXPECT_EQ(Postar("D", 2.5), 3u);
  Session().StartTransaction();
  const std::string conta = " FROM ZTMOVCR WHERE CODBANCO = 9191 AND CODCOB = 'IDA'";
  EXPECT_EQ(
      Linhas("SELECT VLSALDO, VLSALDOCONCIL" + conta + " ORDER BY NUMTRANS"),
      GetParam().Conciliado ? cashtest::Rows({"10|10", "6|6", "8.5|8.5"}) : cashtest::Rows({"10|", "6|", "8.5|"}));
  EXPECT_EQ(Scalar("SELECT COUNT(DISTINCT NUMTRANS)" + conta + " AND NUMTRANS > 0"), "3");
  EXPECT_EQ(Linhas("SELECT VALOR, VALORCONCILIADO, TO_CHAR(DTULTCONCILIA, 'YYYY-MM-DD HH24:MI:SS') FROM ZTESTCR "
                   "WHERE CODBANCO = 9191 AND CODCOB = 'IDA'"),
            cashtest::Rows({GetParam().Conciliado ? "8.5|8.5|2025-03-11 10:00:00" : "8.5||2025-01-02 03:04:05"}));
  Session().Rollback();
}

INSTANTIATE_TEST_SUITE_P(Cash, CashIdas,
                         ::testing::Values(Caso{true, false}, Caso{true, true}, Caso{false, false}, Caso{false, true}),
                         [](const auto& info) {
                           return std::string(info.param.Travar ? "Locked" : "InPlace") +
                                  (info.param.Conciliado ? "Reconciled" : "Plain");
                         });

}  // namespace
