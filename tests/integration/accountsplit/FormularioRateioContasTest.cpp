#include <string>
#include <vector>

#include "RateioContasFixture.h"

namespace accountsplit_it {
namespace {

const std::string kCentrosNaoFecham =
    "O parâmetro \"2664 - Obrigar rateio de Centro de Custos totalizar 100%\"\restá definido como \"Sim\". Favor "
    "fechar em 100% o rateio de centro de custo!";

// The form adds an account: its description, group and switch are looked up, its standard cost
// centers come with it, valued at its share; the same account again is refused. Changing the row
// to another account takes the old account's cost centers away.
TEST_F(RateioContasTest, FormAddsAnAccountWithItsStandardCostCenters) {
  EXPECT_FALSE(Propor(951, 200, 0, 0, 0, true));
  Area().SetParametrosConta(9502, 25, 50, "5", 951, false, 1, 0, 0);
  ASSERT_EQ(Area().ValidaCamposInterfaceRateioConta(), 0);
  Area().InserirContasCdsRateioContas();
  TClientDataSet& contas = *Area().GetCdsContasRateio();
  EXPECT_EQ(Linhas(contas, {"CODCONTA", "VALOR", "PERCRATEIO", "DESCONTOFIN", "DESCRICAO_CONTA", "GRUPOCONTA",
                            "DESCRICAO_GRUPO", "USARATEIOCENTROCUSTO", "CODRATEIOCONTA"}),
            "9501:100:50:0:ENERGIA:95:DESPESAS RATEADAS:S:951 9504:100:50:0:" + Longa("DESPESAS GERAIS ", 40) +
                ":95:DESPESAS RATEADAS:S:951 9502:50:25:1:ALUGUEL:95:DESPESAS RATEADAS:S:951");
  TClientDataSet& centros = *Area().GetCdsCentroCustoConta();
  EXPECT_EQ(centros.Filter(), "CODCONTA = 9502");
  EXPECT_EQ(Linhas(centros, {"CODIGOCENTROCUSTO", "PERCRATEIO", "VALOR", "CODFILIAL"}),
            "RC1:33.33:16.66:5 RC2:33.33:16.66:5 RC3:33.36:16.68:5");

  Area().SetParametrosConta(9502, 25, 50, "5", 951, false, 0, 0, 0);
  EXPECT_EQ(Area().ValidaCamposInterfaceRateioConta(), 12);
  EXPECT_EQ(Mensagens().back(), "Conta 9502 já existe para esse rateio!");

  contas.Last();
  Area().SetParametrosConta(9503, 25, 50, "5", 951, true, 0, 0, 0);
  ASSERT_EQ(Area().ValidaCamposInterfaceRateioConta(), 0);
  Area().InserirContasCdsRateioContas();
  EXPECT_EQ(Linhas(contas, {"CODCONTA", "DESCRICAO_CONTA", "USARATEIOCENTROCUSTO"}),
            "9501:ENERGIA:S 9504:" + Longa("DESPESAS GERAIS ", 40) + ":S 9503:TARIFAS:N");
  centros.SetFiltered(false);
  EXPECT_EQ(Linhas(centros, {"CODCONTA"}), "9501 9501");
}

struct CasoCentroCusto {
  const char* Nome;
  double Percentual, Valor;
  const char* Filial;
  const char* RateioPadrao;
  const char* CentroCusto;
  bool Alterando;
  double Conta;
  bool FilialUsaCentroCusto;
  int Codigo;
  const char* Mensagem;  // nullptr: none
};

class CentroCustoDoFormulario : public RateioContasTest, public ::testing::WithParamInterface<CasoCentroCusto> {};

// The cost-center row checks on the proposal of 951 (9501 has RC1 and RC2, 9504 none), the form on
// 9501's first row. Standard cost-center apportionment RPX is RC1 60% and RC2 40%.
TEST_P(CentroCustoDoFormulario, AnswersTheFirstFailedCheck) {
  const CasoCentroCusto& caso = GetParam();
  Exec("INSERT INTO ZTRATEIOPADRAOCC (CODRATEIOCC, DESCRICAO) VALUES ('RPX', 'SESSENTA QUARENTA')");
  Exec(
      "INSERT INTO ZTITENSRATEIOPADRAOCC (CODRATEIOCC, CODIGOCENTROCUSTO, PERCENTUAL) VALUES ('RPX', 'RC1', 60), "
      "('RPX', 'RC2', 40)");
  if (!caso.FilialUsaCentroCusto) SetParametro("UTILIZACENTROCUSTO", "N", "5");
  (void)Propor(951, 200, 0, 0, 0, true);
  Area().SetParametrosCentroCusto(caso.Percentual, caso.Valor, caso.Filial, caso.RateioPadrao, caso.CentroCusto, "UM",
                                  caso.Alterando, caso.Conta, 100);
  EXPECT_EQ(Area().ValidaCamposInterfaceCentroCusto(), caso.Codigo);
  EXPECT_EQ(Mensagens(),
            caso.Mensagem != nullptr ? std::vector<std::string>{caso.Mensagem} : std::vector<std::string>{});
  if (caso.Codigo == 8) {
    TClientDataSet& centros = *Area().GetCdsCentroCustoConta();
    EXPECT_EQ(centros.Filter(), "CODCONTA = 9504");
    EXPECT_EQ(Linhas(centros, {"CODIGOCENTROCUSTO", "PERCRATEIO", "VALOR"}), "RC1:60:60 RC2:40:40");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Formulario, CentroCustoDoFormulario,
    ::testing::Values(
        CasoCentroCusto{"SemFilial", 50, 50, " ", "", "RC1", false, 9504, true, 1,
                        "Favor informar a filial do Centro de Custo!"},
        CasoCentroCusto{"SemCentroCustoNemRateio", 50, 50, "5", "", " ", false, 9504, true, 3,
                        "Favor informar o Rateio Padrão ou Centro de Custo válido para inclusão!"},
        CasoCentroCusto{"SemPercentual", 0, 50, "5", "", "RC1", false, 9504, true, 4,
                        "Favor informar o percentual de rateio do lançamento para inclusão!"},
        CasoCentroCusto{"PercentualNegativo", -1, 50, "5", "RPX", "", false, 9504, true, 7,
                        "Favor informar o percentual de rateio maior que zero!"},
        CasoCentroCusto{"ValorNegativo", 50, -50, "5", "", "RC1", false, 9504, true, 9,
                        "Favor o valor do lançamento e do rateio devem ser ambos positivos ou negativos!"},
        CasoCentroCusto{"SemValor", 50, 0, "5", "", "RC1", false, 9504, true, 5,
                        "Favor informar o valor de rateio do lançamento para inclusão!"},
        CasoCentroCusto{
            "FilialSemCentroCusto", 50, 50, "5", "", "RC1", false, 9504, false, 10,
            "Filial selecionada não usa Centro de Custo conforme definido no parâmetro 2663 da Rotina 132!"},
        CasoCentroCusto{"RepetidoNaConta", 50, 50, "5", "", "RC1", false, 9501, true, 6,
                        "Centro de Custo RC1 já existe para essa conta!"},
        CasoCentroCusto{"MesmoCentroEmOutraConta", 50, 50, "5", "", "RC1", false, 9504, true, 0, nullptr},
        CasoCentroCusto{"AlterandoOProprio", 50, 50, "5", "", "RC1", true, 9501, true, 0, nullptr},
        CasoCentroCusto{"RateioPadrao", 0, 0, "5", "RPX", "", false, 9504, true, 8, nullptr}),
    [](const ::testing::TestParamInfo<CasoCentroCusto>& info) { return std::string(info.param.Nome); });

// With parameter 2664 the account's cost centers must close its value: 0.02 short is refused, the
// row corrected in place passes, and the posted entry carries the corrected row.
TEST_F(RateioContasTest, WholeSplitWithParameter2664ThenPosting) {
  SetParametro("RATEIOTOTALCC", "S");
  (void)Propor(951, 200, 0, 0, 0, true);
  EsperarFalha([&] { Area().ValidarDadosInformadosParaInclusao(); }, "Exception", kCentrosNaoFecham);

  Area().SetParametrosCentroCusto(100, 99.98, "5", "", "RC1", "UM", false, 9504, 100);
  ASSERT_EQ(Area().ValidaCamposInterfaceCentroCusto(), 0);
  Area().InserirCentroCustoCdsRateioCentroCusto();
  EsperarFalha([&] { Area().ValidarDadosInformadosParaInclusao(); }, "Exception", kCentrosNaoFecham);

  Area().SetParametrosCentroCusto(100, 100, "5", "", "RC1", "UM", true, 9504, 100);
  ASSERT_EQ(Area().ValidaCamposInterfaceCentroCusto(), 0);
  Area().InserirCentroCustoCdsRateioCentroCusto();
  ASSERT_TRUE(Area().ValidarDadosInformadosParaInclusao());
  EXPECT_TRUE(Area().GetStatusRateioContas());

  RFin_IncluirContasPagar registro = Registro(200);
  Area().InserirRateioConta(registro);
  ASSERT_EQ(registro.RecNums().size(), 2u);
  EXPECT_EQ(Todas("SELECT CODCONTA, CODIGOCENTROCUSTO, VALOR, PERCRATEIO FROM ZTRATEIOCENTROCUSTO WHERE RECNUM IN (" +
                  Lista(registro.RecNums()) + ") ORDER BY RECNUM, CODIGOCENTROCUSTO"),
            "9501:RC1:50:50 9501:RC2:50:50 9504:RC1:100:100");
}

// In the host's explicit-parameter mode both switches come from the setters: 2663 from this area's,
// 2664 from the cost-center area's.
TEST_F(RateioContasTest, ExplicitParametersComeFromTheSetters) {
  Host().SetParametrosExplicitos(true);
  EXPECT_EQ(Area().GetUTILIZACENTROCUSTO_2663(), "");
  Area().setUTILIZACENTROCUSTO_2663("S");
  EXPECT_EQ(Area().GetUTILIZACENTROCUSTO_2663(), "S");
  (void)Propor(951, 200, 0, 0, 0, true);
  Area().SetParametrosCentroCusto(100, 99.98, "5", "", "RC1", "UM", false, 9504, 100);
  ASSERT_EQ(Area().ValidaCamposInterfaceCentroCusto(), 0);
  Area().InserirCentroCustoCdsRateioCentroCusto();
  EXPECT_TRUE(Area().ValidarDadosInformadosParaInclusao());
  Financeiro().GetCentroCusto()->SetRATEIOTOTALCC_2664("S");
  EsperarFalha([&] { Area().ValidarDadosInformadosParaInclusao(); }, "Exception", kCentrosNaoFecham);
}

}  // namespace
}  // namespace accountsplit_it
