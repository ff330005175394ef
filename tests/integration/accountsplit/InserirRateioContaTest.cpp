#include <string>
#include <vector>

#include "RateioContasFixture.h"
#include "sdk/fin/RFin_AprovarSuplementacao.h"
#include "support/Failure.h"

namespace accountsplit_it {
namespace {

// The split of 100.00 by apportionment 950: the accounts in code order, the last (9503, without
// group) taking the cent the percentages leave.
TEST_F(RateioContasTest, ProposalSplitsTheValueAndKeepsAnAccountWithoutGroup) {
  EXPECT_FALSE(Propor(950, 100));
  TClientDataSet& contas = *Area().GetCdsContasRateio();
  EXPECT_EQ(Linhas(contas, {"CODCONTA", "PERCRATEIO", "VALOR", "CODFILIAL", "GRUPOCONTA", "DESCRICAO_GRUPO",
                            "DESCRICAO_CONTA", "USARATEIOCENTROCUSTO", "CONTATEMPERMISSAO_ZTLIB"}),
            "9501:33.33:33.33:5:95:DESPESAS RATEADAS:ENERGIA:S:S 9502:33.33:33.33:5:95:DESPESAS RATEADAS:ALUGUEL:S:S "
            "9503:33.34:33.34:5:::TARIFAS:N:N");
  // The form sees the first account's cost centers; the inactive one is not proposed.
  TClientDataSet& centros = *Area().GetCdsCentroCustoConta();
  EXPECT_EQ(Linhas(centros, {"CODCONTA", "CODIGOCENTROCUSTO", "PERCRATEIO", "VALOR", "CODFILIAL"}),
            "9501:RC1:50:16.66:5 9501:RC2:50.02:16.67:5");
  // A cost center the user may not use is listed with its flag; its description is cut to the rows'
  // width without splitting a character.
  centros.SetFilter("CODCONTA = 9502");
  EXPECT_EQ(Linhas(centros, {"CODIGOCENTROCUSTO", "PERCRATEIO", "VALOR", "CCTEMPERMISSAO_ZTLIB"}),
            "RC1:33.33:11.11:S RC2:33.33:11.11:S RC3:33.33:11.11:N");
  centros.Last();
  EXPECT_EQ(centros.FieldByName("DESCCENTROCUSTO").AsString(), Longa("TRES ", 40));
  EXPECT_FALSE(Area().GetStatusRateioContas());
}

// One entry per account through the payable area, each with the first entry as its principal (the
// first one included), the split recorded, and the cost centers of each entry written once.
TEST_F(RateioContasTest, PostingCreatesOneEntryPerAccount) {
  (void)Propor(950, 100);
  ASSERT_TRUE(Area().ValidarDadosInformadosParaInclusao());
  EXPECT_TRUE(Area().GetStatusRateioContas());
  RFin_IncluirContasPagar registro = Registro(100);
  registro.AddRecNum(1);  // a leftover of an earlier use of the record
  Area().InserirRateioConta(registro);

  const std::vector<double> recnums = registro.RecNums();
  ASSERT_EQ(recnums.size(), 3u);
  EXPECT_TRUE(recnums[0] < recnums[1] && recnums[1] < recnums[2]);
  const std::string lista = Lista(recnums);
  const std::string principal = ShortestDecimal(recnums[0]);
  EXPECT_EQ(Todas("SELECT CODCONTA, VALOR, UTILIZOURATEIOCONTA, PRCRATEIOUTILIZADO, RECNUMPRINC - " + principal +
                  " FROM ZTLANC WHERE RECNUM IN (" + lista + ") ORDER BY RECNUM"),
            "9501:33.33:S:33.33:0 9502:33.33:S:33.33:0 9503:33.34:S:33.34:0");
  EXPECT_EQ(Todas("SELECT CODCONTA, VALOR, PERCRATEIO, CODFILIAL, CODRATEIOCONTA, RECNUMPRINC - " + principal +
                  " FROM ZTRATEIOCONTAS WHERE RECNUM IN (" + lista + ") ORDER BY RECNUM"),
            "9501:33.33:33.33:5:950:0 9502:33.33:33.33:5:950:0 9503:33.34:33.34:5:950:0");
  EXPECT_EQ(Todas("SELECT R.CODCONTA, R.CODIGOCENTROCUSTO, R.VALOR, R.PERCRATEIO, R.RECNUMPRINC - " + principal +
                  " FROM ZTRATEIOCENTROCUSTO R, ZTLANC L WHERE L.RECNUM = R.RECNUM AND L.CODCONTA = R.CODCONTA AND "
                  "R.RECNUM IN (" +
                  lista + ") ORDER BY R.RECNUM, R.CODIGOCENTROCUSTO"),
            "9501:RC1:16.66:50:0 9501:RC2:16.67:50.02:0 9502:RC1:11.11:33.33:0 9502:RC2:11.11:33.33:0 "
            "9502:RC3:11.11:33.33:0");
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTO WHERE RECNUM IN (" + lista + ")"), 5);
  // The record ends as the last entry; the area is ready for the next split.
  EXPECT_EQ(registro.RECNUM, recnums[2]);
  EXPECT_FALSE(Area().GetStatusRateioContas());
  EXPECT_FALSE(Financeiro().GetCentroCusto()->GetFazCloneRegistroPrincipal());
  TClientDataSet& centros = *Area().GetCdsCentroCustoConta();
  EXPECT_EQ(centros.Filter(), "CODCONTA = 9501");
  EXPECT_EQ(Area().GetCdsContasRateio()->RecNo(), 1u);
}

// The taxes go by percentage, each entry's value net of its share, discount, interest and returns
// by the proposal; the last entry takes every remainder, so the entries add up to the record. With
// the host's selector the cost centers split the entry's net value, to the cent.
TEST_F(RateioContasTest, AmountsAndTaxesAreSharedWithTheRemainderOnTheLastEntry) {
  (void)Propor(950, 100, 10.01, 0.05, 1.01);
  EXPECT_EQ(Linhas(*Area().GetCdsContasRateio(), {"DESCONTOFIN", "TXPERM", "VALORDEVOL"}),
            "3.34:0.02:0.34 3.34:0.02:0.34 3.33:0.01:0.33");
  RFin_IncluirContasPagar registro = Registro(97.85);
  registro.VLIRRF = 1.5;
  registro.VLPIS = 0.65;
  registro.DESCONTOFIN = 10.01;
  registro.TXPERM = 0.05;
  registro.VALORDEV = 1.01;
  registro.SELETORVALORCENTROCUSTO = 1;
  Area().InserirRateioConta(registro);

  const std::string lista = Lista(registro.RecNums());
  EXPECT_EQ(Todas("SELECT CODCONTA, VALOR, DESCONTOFIN, TXPERM, VALORDEV, VLIRRF, VLPIS, NVL(VLCOFINS, 0) FROM ZTLANC "
                  "WHERE RECNUM IN (" +
                  lista + ") ORDER BY RECNUM"),
            "9501:32.61:3.34:0.02:0.34:0.5:0.22:0 9502:32.61:3.34:0.02:0.34:0.5:0.22:0 "
            "9503:32.63:3.33:0.01:0.33:0.5:0.21:0");
  EXPECT_EQ(
      Todas("SELECT SUM(VALOR), SUM(VLIRRF), SUM(VLPIS), SUM(DESCONTOFIN) FROM ZTLANC WHERE RECNUM IN (" + lista + ")"),
      "97.85:1.5:0.65:10.01");
  EXPECT_EQ(Todas("SELECT VALOR FROM ZTRATEIOCONTAS WHERE RECNUM IN (" + lista + ") ORDER BY RECNUM"),
            "32.61 32.61 32.63");
  EXPECT_EQ(Todas("SELECT CODCONTA, CODIGOCENTROCUSTO, VALOR FROM ZTRATEIOCENTROCUSTO WHERE RECNUM IN (" + lista +
                  ") ORDER BY RECNUM, CODIGOCENTROCUSTO"),
            "9501:RC1:16.3 9501:RC2:16.31 9502:RC1:10.87 9502:RC2:10.87 9502:RC3:10.87");
}

// An account whose entry is held for a budget supplementation keeps its cost centers beside it, in
// the held twin, so approving the entry brings them along instead of leaving them orphaned.
TEST_F(RateioContasTest, AHeldAccountKeepsItsCostCentersWithTheHeldEntry) {
  Host().SetCodigoRotina(749);
  AnswerConfirmations(TModalResult::mrOk);
  SetParametro("TRABSUPLORC", "S", "5");
  Exec(
      "INSERT INTO ZTORCLAN (CODCONTA, CODFILIAL, ANO, VLORCMES05) VALUES (9501, '5', 2030, 100000), "
      "(9502, '5', 2030, 10), (9503, '5', 2030, 100000)");
  (void)Propor(950, 100);
  RFin_IncluirContasPagar registro = Registro(100);
  Area().InserirRateioConta(registro);
  const std::vector<double> recnums = registro.RecNums();
  ASSERT_EQ(recnums.size(), 3u);
  const std::string retido = ShortestDecimal(recnums[1]);

  EXPECT_EQ(Todas("SELECT CODCONTA FROM ZTLANC WHERE RECNUM IN (" + Lista(recnums) + ") ORDER BY RECNUM"), "9501 9503");
  EXPECT_EQ(Todas("SELECT CODCONTA, RECNUMPRINC - " + ShortestDecimal(recnums[0]) +
                  " FROM ZTLANCBLOQ WHERE RECNUM = " + retido),
            "9502:0");
  EXPECT_EQ(
      Todas("SELECT CODIGOCENTROCUSTO, VALOR FROM ZTRATEIOCENTROCUSTOBLOQ WHERE RECNUM = " + retido + " ORDER BY 1"),
      "RC1:11.11 RC2:11.11 RC3:11.11");
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = " + retido), 0);
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = " + ShortestDecimal(recnums[0])), 2);

  RFin_AprovarSuplementacao aprovacao;
  aprovacao.Inicializar();
  aprovacao.RECNUM = recnums[1];
  ASSERT_TRUE(Financeiro().GetContasPagar()->AprovarSuplementacao(aprovacao)) << aprovacao.MENSAGEM;
  EXPECT_EQ(Todas("SELECT CODIGOCENTROCUSTO, VALOR FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = " + retido + " ORDER BY 1"),
            "RC1:11.11 RC2:11.11 RC3:11.11");
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTOBLOQ WHERE RECNUM = " + retido), 0);
}

// An account without standard cost centers yields its row and none of them; the split cannot be
// confirmed until it has some. Its description, wider than the rows, is cut.
TEST_F(RateioContasTest, AnAccountWithoutStandardCostCentersHasNoneProposed) {
  (void)Propor(951, 200);
  TClientDataSet& contas = *Area().GetCdsContasRateio();
  EXPECT_EQ(Linhas(contas, {"CODCONTA", "VALOR", "USARATEIOCENTROCUSTO"}), "9501:100:S 9504:100:S");
  contas.Last();
  EXPECT_EQ(contas.FieldByName("DESCRICAO_CONTA").AsString(), Longa("DESPESAS GERAIS ", 40));
  TClientDataSet& centros = *Area().GetCdsCentroCustoConta();
  centros.SetFilter("CODCONTA = 9504");
  EXPECT_TRUE(centros.IsEmpty());
  EsperarFalha([&] { Area().ValidarDadosInformadosParaInclusao(); }, "Exception",
               "Existe conta que trabalha com rateio de centro de custo e não possui\rnenhum lançamento. Favor "
               "inserir lançamento de rateio!");
  EXPECT_FALSE(Area().GetStatusRateioContas());
}

// A second proposal with another code in the same session loads that apportionment instead of
// filtering the first one's rows down to nothing; the same code again reuses the rows.
TEST_F(RateioContasTest, AnotherApportionmentInTheSameSessionIsLoaded) {
  (void)Propor(950, 100);
  (void)Propor(951, 200);
  EXPECT_EQ(Linhas(*Area().GetCdsContasRateio(), {"CODCONTA", "VALOR", "CODRATEIOCONTA"}), "9501:100:951 9504:100:951");
  (void)Propor(951, 300);
  EXPECT_EQ(Linhas(*Area().GetCdsContasRateio(), {"CODCONTA", "VALOR"}), "9501:150 9504:150");
  (void)Propor(950, 300);
  EXPECT_EQ(Linhas(*Area().GetCdsContasRateio(), {"CODCONTA", "VALOR"}), "9501:99.99 9502:99.99 9503:100.02");
  RFin_IncluirContasPagar registro = Registro(300);
  Area().InserirRateioConta(registro);
  EXPECT_EQ(
      Todas("SELECT CODCONTA, VALOR FROM ZTLANC WHERE RECNUM IN (" + Lista(registro.RecNums()) + ") ORDER BY RECNUM"),
      "9501:99.99 9502:99.99 9503:100.02");
}

// An item whose account is not a number fails the accounts query: a Portuguese message, the
// database failure as its cause, and no rows proposed.
TEST_F(RateioContasTest, ANonNumericAccountFailsTheLoadCleanly) {
  try {
    (void)Propor(952, 100);
    ADD_FAILURE() << "aceitou";
  } catch (const Exception& falha) {
    EXPECT_EQ(falha.Message().rfind("Não foi possível carregar o rateio de contas 952. Verifique se as contas do "
                                    "rateio são códigos numéricos de contas gerenciais. Mensagem original: ",
                                    0),
              0u)
        << falha.Message();
    EXPECT_TRUE(testsupport::CausaDoBanco(falha));
  }
  ASSERT_EQ(Mensagens().size(), 1u);
  EXPECT_TRUE(Area().GetCdsContasRateio()->IsEmpty());
}

// An item naming an account that is not registered would hand its share to the last account.
TEST_F(RateioContasTest, AnUnregisteredAccountIsRefused) {
  EsperarFalha([&] { (void)Propor(953, 100); }, "Exception",
               "O rateio de contas 953 possui conta não cadastrada no plano de contas gerencial. Favor verificar!");
  EXPECT_TRUE(Area().GetCdsContasRateio()->IsEmpty());
  EXPECT_TRUE(Sub().Parametros().CdsContasRateioPadrao().IsEmpty());
}

}  // namespace
}  // namespace accountsplit_it
