#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "accountsplit/Uclsfin_rateiocontas.h"
#include "rtl/Exception.h"
#include "support/MemoryHost.h"

// The account-apportionment area's checks that need no database, on a host without one: the
// preconditions of a proposal, the form's account checks and the refusal of an empty posting.
namespace {

class RateioSemBanco : public ::testing::Test {
 protected:
  void SetUp() override { Nova(); }

  // A new area on the host (which owns it), for a case of its own.
  TValidaRateioConta& Nova() { return *(FArea = new TValidaRateioConta(&FHost)); }
  TValidaRateioConta& Area() { return *FArea; }
  std::vector<std::string> Mensagens() { return Area().GetValidador().Lines(); }

  testsupport::MemoryHost FHost;
  TValidaRateioConta* FArea = nullptr;
};

// Each refusal goes to the validator list and raises its catalogue class; the values were stored
// before the checks, so the host reads what it asked for.
TEST_F(RateioSemBanco, ProposalPreconditionsRefuseWithTheirClassAndMessage) {
  struct Caso {
    double Codigo;
    const char* Filial;
    double Valor;
    const char* Classe;
    const char* Mensagem;
  };
  const Caso casos[] = {
      {0, "1", 100, "ExCodRateioContaNaoInformado", "Favor informar o código para rateio de contas!"},
      {-3, "1", 100, "ExCodRateioContaNaoInformado", "Favor informar o código para rateio de contas!"},
      {5, "  ", 100, "ExFilialNaoInformada", "Favor informar a filial para o lançamento do rateio de contas!"},
      {5, "1", 0, "ExValorIgualZero", "Favor informar um valor para se fazer o rateio!"},
      // The code is checked first.
      {0, "", 0, "ExCodRateioContaNaoInformado", "Favor informar o código para rateio de contas!"},
  };
  const TDateTime dia = TDateTime::EncodeDate(2030, 5, 10);
  for (const Caso& caso : casos) {
    SCOPED_TRACE(std::to_string(caso.Codigo) + " '" + caso.Filial + "' " + std::to_string(caso.Valor));
    try {
      (void)Nova().ProcessoRateioConta(true, tlFinanceiro, caso.Filial, caso.Codigo, caso.Valor, dia, 7, false, 0, 0,
                                       0);
      ADD_FAILURE() << "aceitou";
    } catch (const Exception& falha) {
      EXPECT_STREQ(falha.ClassName(), caso.Classe);
    }
    EXPECT_EQ(Mensagens(), std::vector<std::string>{caso.Mensagem});
    EXPECT_EQ(Area().GetCodigoFilial(), caso.Filial);
    EXPECT_EQ(Area().GetValorTotalLancamento(), caso.Valor);
    EXPECT_EQ(Area().GetCodigoRateioPadrao(), caso.Codigo);
    EXPECT_TRUE(Area().GetPermissaoEditarLancamento());
  }
}

// The account row checks, first failure wins; account 3101 is already in the split.
TEST_F(RateioSemBanco, FormAccountRowAnswersTheFirstFailedCheck) {
  struct Caso {
    const char* Nome;
    double Conta, Percentual, Valor;
    const char* Filial;
    double CodRateio;
    bool Alterando;
    double Total;
    int Codigo;
    const char* Mensagem;  // nullptr for code 0
  };
  const Caso casos[] = {
      {"SemRateio", 0, 0, 0, "", 0, false, 100, 2, "Favor informar a conta do rateio padrão!"},
      {"SemConta", 0, 0, 0, "", 5, false, 100, 11, "Favor informar a conta para fazer o rateio!"},
      {"SemFilial", 3102, 0, 0, " ", 5, false, 100, 1, "Favor informar a filial da conta para o rateio!"},
      {"SemPercentual", 3102, 0, -1, "1", 5, false, 100, 4,
       "Favor informar o percentual de rateio do lançamento para inclusão!"},
      {"PercentualNegativo", 3102, -5, 0, "1", 5, false, 100, 7,
       "Favor informar o percentual de rateio maior que zero!"},
      {"ValorNegativoEmTotalPositivo", 3102, 5, -5, "1", 5, false, 100, 9,
       "Favor o valor do lançamento e do rateio devem ser ambos positivos ou negativos!"},
      {"ValorNegativoEmTotalNegativo", 3102, 5, -5, "1", 5, false, -100, 0, nullptr},
      {"SemValor", 3102, 5, 0, "1", 5, false, 100, 5, "Favor informar o valor de rateio do lançamento para inclusão!"},
      {"ContaRepetida", 3101, 5, 5, "1", 5, false, 100, 12, "Conta 3101 já existe para esse rateio!"},
      {"ContaRepetidaSendoAlterada", 3101, 5, 5, "1", 5, true, 100, 0, nullptr},
      {"ContaNova", 3102, 5, 5, "1", 5, false, 100, 0, nullptr},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.Nome);
    TClientDataSet& contas = *Nova().GetCdsContasRateio();
    contas.Append();
    contas.FieldByName("CODCONTA").SetAsFloat(3101);
    contas.Post();
    Area().Parametros().ValorTotalLancamento = caso.Total;
    Area().SetParametrosConta(caso.Conta, caso.Percentual, caso.Valor, caso.Filial, caso.CodRateio, caso.Alterando, 0,
                              0, 0);
    EXPECT_EQ(Area().ValidaCamposInterfaceRateioConta(), caso.Codigo);
    EXPECT_EQ(Mensagens(),
              caso.Mensagem != nullptr ? std::vector<std::string>{caso.Mensagem} : std::vector<std::string>{});
  }
}

// A posting with no account rows refuses, instead of answering as if it had posted the entry.
TEST_F(RateioSemBanco, PostingAnEmptySplitRefuses) {
  RFin_IncluirContasPagar registro;
  registro.Inicializar();
  registro.RECNUM = 9;
  registro.VALOR = 100;
  registro.AddRecNum(9);
  try {
    Area().InserirRateioConta(registro);
    ADD_FAILURE() << "aceitou";
  } catch (const Exception& falha) {
    EXPECT_EQ(falha.Message(), "Nenhuma conta informada para o rateio de contas! Nenhum lançamento foi incluído.");
  }
  EXPECT_EQ(registro.RecNums(), std::vector<double>{9});
  EXPECT_EQ(registro.RECNUM, 9);
}

// Cancelling the form takes the working rows back to the proposal; forgetting the split empties
// them and starts the run anew.
TEST_F(RateioSemBanco, CancelledFormReturnsToTheProposal) {
  TParametrosRateioContas& p = Area().Parametros();
  p.CodFilial = "1";
  TClientDataSet& padrao = p.CdsContasRateioPadrao();
  padrao.Append();
  padrao.FieldByName("CODCONTA").SetAsFloat(3101);
  padrao.FieldByName("VALOR").SetAsFloat(60);
  padrao.Post();
  Area().PopularCdsValoresPadroes();
  TClientDataSet& contas = *Area().GetCdsContasRateio();
  EXPECT_EQ(contas.FieldByName("CODFILIAL").AsString(), "1");
  contas.Edit();
  contas.FieldByName("VALOR").SetAsFloat(75);
  contas.Post();
  contas.Append();
  contas.FieldByName("CODCONTA").SetAsFloat(3102);
  contas.Post();
  p.StatusRateioContas = true;

  EXPECT_TRUE(Area().CancelaRateioContas());
  EXPECT_FALSE(Area().GetStatusRateioContas());
  ASSERT_EQ(contas.RecordCount(), 1u);
  contas.First();
  EXPECT_EQ(contas.FieldByName("VALOR").AsFloat(), 60);

  Area().CancelarUltimoRateioEfetuado();
  EXPECT_TRUE(Area().GetCdsContasRateio()->IsEmpty());
  EXPECT_TRUE(Area().Parametros().CdsContasRateioPadrao().IsEmpty());
  EXPECT_EQ(Area().GetCodigoFilial(), "");
}

}  // namespace
