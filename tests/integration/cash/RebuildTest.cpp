#include <gtest/gtest.h>

#include "CashFixture.h"
#include "oradb/TOraSession.h"

namespace {

using namespace cashtest;

using Recalculo = RFin_RecalculaNumerario;

const std::string kSaldos = "VLSALDO, VLSALDOCONCIL";
const std::string kFalha = "Exception: Erro ao realizar o recálculo do saldo do Caixa/Banco";

class CashRebuild : public CashTest {
 protected:
  enum Opcao { kSaldo = 1, kConciliado = 2, kCompensacao = 4, kSoPosteriores = 8 };

  // A rebuild of the account from `saldo`; dates 'YYYY-MM-DD', empty for none.
  [[nodiscard]] Recalculo Pedido(const std::string& inicio, const std::string& fim, double saldo, int opcoes) const {
    Recalculo p;
    p.Inicializar();
    p.CODBANCO = kBanco;
    p.CODCOB = Cob;
    if (!inicio.empty()) p.DATAINICIAL = *TDateTime::FromIso(inicio);
    if (!fim.empty()) p.DATAFINAL = *TDateTime::FromIso(fim);
    p.SALDOINICIAL = saldo;
    p.RECALCULARSALDO = (opcoes & kSaldo) != 0;
    p.RECALCULARSALDOCONCILIADO = (opcoes & kConciliado) != 0;
    p.RECALCULARSALDOCOMPENSACAO = (opcoes & kCompensacao) != 0;
    p.SOMENTEMESESPOSTERIORES = (opcoes & kSoPosteriores) != 0;
    return p;
  }

  // A trigger that fails the statement writing `coluna` on this account.
  void FalharAoGravar(const std::string& coluna, const std::string& texto) {
    const std::string nome = "tst_falha_" + coluna;
    Session().ExecuteScript("CREATE FUNCTION public." + nome +
                            "() RETURNS trigger LANGUAGE plpgsql AS $f$ BEGIN\n  IF NEW.codbanco = 9101 AND NEW." +
                            coluna + " IS DISTINCT FROM OLD." + coluna + " THEN RAISE EXCEPTION '" + texto +
                            "'; END IF;\n  RETURN NEW;\nEND $f$;\nCREATE TRIGGER " + nome +
                            " BEFORE UPDATE ON ztmovcr FOR EACH ROW EXECUTE FUNCTION public." + nome + "();");
  }
};

// Starting balance 100 and movements D 50, C 30 of March, typed in the wrong order and carrying
// stale balances; a kind other than "D" or "C" moves nothing; April lies outside the range and
// keeps its balance but still counts in the live balance; the missing balance row is created. A range without movements
// changes nothing, not even the balance row; without a range the whole history is walked.
TEST_F(CashRebuild, PlainBalanceFollowsTheDateOrder) {
  InserirMovimento(20, "2025-03-20", "C", 30, 999);
  InserirMovimento(21, "2025-03-10", "D", 50, 999);
  InserirMovimento(22, "2025-03-15", "X", 20, 999);
  InserirMovimento(23, "2025-04-01", "D", 5, 999);
  EXPECT_TRUE(Caixa().RecalcularSaldos(Pedido("2025-03-01", "2025-03-31", 100, kSaldo | kConciliado)));
  EXPECT_EQ(Movimentos(kSaldos), (Rows{"120|-1", "150|-1", "150|-1", "999|-1"}));
  EXPECT_EQ(Saldo(), Rows{"125|0"});
  EXPECT_TRUE(Caixa().RecalcularSaldos(Pedido("2025-02-01", "2025-02-28", 0, kSaldo | kConciliado)));
  EXPECT_EQ(Movimentos(kSaldos), (Rows{"120|-1", "150|-1", "150|-1", "999|-1"}));
  EXPECT_EQ(Saldo(), Rows{"125|0"});
  EXPECT_TRUE(Caixa().RecalcularSaldos(Pedido("", "", 0, kSaldo | kConciliado)));
  EXPECT_EQ(Movimentos(kSaldos), (Rows{"20|-1", "50|-1", "50|-1", "25|-1"}));
  EXPECT_EQ(Saldo(), Rows{"25|0"});
}

// Movements of 100 on 1 October, 1 December and 5 December, all reconciled the same day; a plain
// and a reconciled rebuild of 1 November to 2 December from 100 walk the period to 200, and the
// live balances take the movement of 5 December too: both end where the movements sum to, 300.
TEST_F(CashRebuild, APeriodRebuildKeepsTheLiveBalanceEqualToTheSumOfTheMovements) {
  InserirMovimento(31, "2025-10-01", "D", 100, 100, "2025-10-01");
  InserirMovimento(32, "2025-12-01", "D", 100, 200, "2025-12-01");
  InserirMovimento(33, "2025-12-05", "D", 100, 300, "2025-12-05");
  DefinirSaldo(300, 300);
  EXPECT_TRUE(Caixa().RecalcularSaldos(Pedido("2025-11-01", "2025-12-02", 100, kSaldo | kConciliado)));
  EXPECT_EQ(Movimentos(kSaldos), (Rows{"100|-1", "200|200", "300|-1"}));
  EXPECT_EQ(Saldo(), Rows{"300|300"});
  EXPECT_EQ(Saldo(), (Rows{Scalar("SELECT SUM(VALOR) FROM ZTMOVCR" + DaConta()) + "|" +
                           Scalar("SELECT SUM(VALOR) FROM ZTMOVCR" + DaConta() + " AND CONCILIACAO = 'OK'")}));
}

// Reconciled movements in reconciliation order; operation 99 and open movements are skipped.
TEST_F(CashRebuild, ReconciledBalanceWalksReconciledMovementsInReconciliationOrder) {
  DefinirSaldo(5, 5);
  InserirMovimento(1, "2025-03-01", "D", 100, 0, "2025-03-05");
  InserirMovimento(2, "2025-03-02", "C", 30, 0, "2025-03-03");
  InserirMovimento(3, "2025-03-03", "D", 10, 0);
  InserirMovimento(4, "2025-03-04", "D", 500, 0, "2025-03-04", "", "99");
  const TDateTime antes = Host().DataHoraServidor();
  EXPECT_TRUE(Caixa().RecalcularSaldos(Pedido("", "", 0, kConciliado)));
  EXPECT_EQ(Movimentos(kSaldos), (Rows{"0|70", "0|-30", "0|-1", "0|-1"}));
  EXPECT_EQ(Saldo(), Rows{"5|70"});
  EXPECT_GE(Scalar("SELECT TO_CHAR(DTULTCONCILIA, 'YYYY-MM-DD HH24:MI:SS') FROM ZTESTCR" + DaConta()), antes.ToIso());
}

// Starting balance 1000 on 1 March; reconciled movements cleared in March (D 200) and May (C 50);
// April's movement is not reconciled. Later months only: February is left as it was; the months
// after May are reset and keep the start date of the rebuild that wrote them.
TEST_F(CashRebuild, LaterMonthsCarryTheBalanceAndResetTheMonthsAfter) {
  InserirMovimento(1, "2025-03-02", "D", 200, 0, "2025-03-02", "2025-03-04");
  InserirMovimento(2, "2025-05-02", "C", 50, 0, "2025-05-02", "2025-05-06");
  InserirMovimento(3, "2025-04-02", "D", 70, 0, "", "2025-04-06");
  for (const auto& [ano, mes] : std::vector<std::pair<int, int>>{{2025, 2}, {2025, 4}, {2025, 6}, {2026, 1}}) {
    InserirMes(ano, mes, 1, 1, "2020-01-01");
  }
  EXPECT_TRUE(Caixa().RecalcularSaldos(Pedido("2025-03-01", "", 1000, kCompensacao | kSoPosteriores)));
  EXPECT_EQ(Meses(), (Rows{"2025-02|9|9|1|1|2020-01-01", "2025-03|200|0|1000|1200|2025-03-01",
                           "2025-04|0|0|1200|1200|2025-03-01", "2025-05|0|50|1200|1150|2025-03-01",
                           "2025-06|0|0|1150|1150|2020-01-01", "2026-01|0|0|1150|1150|2020-01-01"}));
}

// Starting balance 1000 on 1 March; February sums D 300, C 100 and December before D 50; no
// later movements, so the months after the start carry it.
TEST_F(CashRebuild, EarlierMonthsWalkBackFromTheStart) {
  InserirMovimento(1, "2025-02-02", "D", 300, 0, "2025-02-02", "2025-02-03");
  InserirMovimento(2, "2025-02-09", "C", 100, 0, "2025-02-09", "2025-02-10");
  InserirMovimento(3, "2024-12-02", "D", 50, 0, "2024-12-02", "2024-12-03");
  InserirMes(2025, 4, 9, 9);
  EXPECT_TRUE(Caixa().RecalcularSaldos(Pedido("2025-03-01", "", 1000, kCompensacao)));
  EXPECT_EQ(Meses(), (Rows{"2024-12|50|0|750|800|2025-03-01", "2025-01|0|0|800|800|2025-03-01",
                           "2025-02|300|100|800|1000|2025-03-01", "2025-03|0|0|1000|1000|2025-03-01",
                           "2025-04|0|0|1000|1000|"}));
  EXPECT_EQ(Caixa().ObterSaldoInicialCompensacao(kBanco, Cob), 750);
}

TEST_F(CashRebuild, ChecksRefuseInOrderInsideTheRebuildWrapper) {
  const auto recusa = [&](void (*ajuste)(Recalculo&), bool semTransacao = false) {
    Recalculo p = Pedido("", "", 0, kConciliado);
    ajuste(p);
    if (semTransacao) Session().Rollback();
    const std::string falha = Failure([&] { Caixa().RecalcularSaldos(p); });
    if (semTransacao) Session().StartTransaction();
    return falha;
  };
  const std::string antes = kFalha + ":\r";
  EXPECT_EQ(recusa([](Recalculo& p) { p.Inicializado = false, p.CODBANCO = 0; }, true),
            antes + "Parâmetros não inicializados.");
  EXPECT_EQ(recusa([](Recalculo& p) { p.CODBANCO = 0; }, true), antes + "Transação não iniciada.");
  EXPECT_EQ(recusa([](Recalculo& p) { p.CODBANCO = 0, p.CODCOB.clear(); }),
            antes + "O código do Banco para o recálculo não foi informado.");
  EXPECT_EQ(recusa([](Recalculo& p) { p.CODCOB.clear(), p.RECALCULARSALDOCONCILIADO = false; }),
            antes + "O código da Moeda para o recálculo não foi informado.");
  // A code of blanks is no code.
  EXPECT_EQ(recusa([](Recalculo& p) { p.CODCOB = "   "; }),
            antes + "O código da Moeda para o recálculo não foi informado.");
  EXPECT_EQ(recusa([](Recalculo& p) { p.RECALCULARSALDOCONCILIADO = false, p.RECALCULARSALDO = true; }),
            antes +
                "Nenhuma opção para recálculo foi selecionada. Escolha pelo menos uma: Saldo Conciliado ou Saldo por "
                "Data de Compensação.");
}

// Each rebuild runs under its own savepoint: a failing one has its writes undone and does not stop
// the others, and the last failure is the one reported.
TEST_F(CashRebuild, AFailingRebuildDoesNotStopTheOthers) {
  DefinirSaldo(7, 7);
  InserirMovimento(1, "2025-03-01", "D", 100, 0, "2025-03-01", "2025-03-02");
  InserirMovimento(2, "2025-03-02", "C", 40, 0, "2025-03-02", "2025-03-03");
  FalharAoGravar("vlsaldo", "falha simulada no saldo");
  const Recalculo p = Pedido("2025-03-01", "2025-03-31", 10, kSaldo | kConciliado | kCompensacao | kSoPosteriores);
  std::string falha = Failure([&] { Caixa().RecalcularSaldos(p); });
  EXPECT_EQ(falha.rfind(kFalha + " '9101' - 'TST': \r", 0), 0U) << falha;
  EXPECT_NE(falha.find("falha simulada no saldo"), std::string::npos) << falha;
  EXPECT_EQ(Movimentos(kSaldos), (Rows{"0|110", "0|70"}));
  EXPECT_EQ(Saldo(), Rows{"7|70"});
  EXPECT_EQ(Meses(), Rows{"2025-03|100|40|10|70|2025-03-01"});

  FalharAoGravar("vlsaldoconcil", "falha simulada no conciliado");
  falha = Failure([&] { Caixa().RecalcularSaldos(Pedido("", "", 0, kSaldo | kConciliado)); });
  EXPECT_NE(falha.find("falha simulada no conciliado"), std::string::npos) << falha;
  EXPECT_EQ(falha.find("falha simulada no saldo"), std::string::npos) << falha;
  EXPECT_EQ(Movimentos(kSaldos), (Rows{"0|110", "0|70"}));
}

// The getters of the monthly balances: months are ordered across years by ANO || MES, January's
// previous month is December of the year before, and other collection codes are not looked at.
TEST_F(CashRebuild, MonthlyBalanceGetters) {
  EXPECT_EQ(Caixa().ObterSaldoInicialCompensacao(kBanco, Cob), 0);
  InserirMes(2023, 12, 10, 321.5);
  InserirMes(2024, 1, 20, 100);
  InserirMes(2024, 3, 0, 300);
  InserirMes(2024, 5, 0, 500);
  InserirMes(2024, 12, 0, 999);
  InserirMes(2020, 1, 99, 444, "", "OUT");
  InserirMes(2024, 4, 0, 444, "", "OUT");
  EXPECT_EQ(Caixa().ObterSaldoInicialCompensacao(kBanco, Cob), 10);
  EXPECT_EQ(Caixa().ObterSaldoFinalMesAnterior(kBanco, Cob, 2024, 1), 321.5);
  EXPECT_EQ(Caixa().ObterSaldoFinalMesAnterior(kBanco, Cob, 2024, 2), 100);
  EXPECT_EQ(Caixa().ObterSaldoFinalMesAnterior(kBanco, Cob, 2024, 5), 0);
  EXPECT_EQ(Failure([&] { (void)Caixa().ObterSaldoFinalMesAnterior(kBanco, Cob, 2024, 13); }),
            "Exception: Mês inválido: 13.");
  // The closing balance of the latest month starting before the date.
  for (const auto& [data, saldo] : std::vector<std::pair<std::string, double>>{
           {"2024-03-15", 300}, {"2024-03-01", 100}, {"2024-04-30", 300}, {"2023-12-01", 0}, {"2026-01-01", 999}}) {
    EXPECT_EQ(Caixa().ObterSaldoFinalUltimoMes(kBanco, Cob, *TDateTime::FromIso(data)), saldo) << data;
  }
}

}  // namespace
