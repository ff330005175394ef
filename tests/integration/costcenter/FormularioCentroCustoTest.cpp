#include <gtest/gtest.h>

#include <memory>

#include "CentroCustoFixture.h"
#include "oradb/TClientDataSet.h"
#include "oradb/TOraQuery.h"
#include "sdk/Exception.h"

namespace {

using costcenter_it::CentroCustoTest;

// Entry 9001 of account 910002 (no standard apportionment) opened in the form.
class FormularioTest : public CentroCustoTest {
 protected:
  void SetUp() override {
    CentroCustoTest::SetUp();
    const TDateTime data = TDateTime::EncodeDate(2026, 3, 10);
    ASSERT_FALSE(Area().ProcessoCentroCusto(false, tlFinanceiro, "9", "910002", 9001, 100, data, true, "N", 0, false,
                                            data, data, false));
    ASSERT_TRUE(Area().GetCdsRateios()->IsEmpty());
  }

  // Gives the form's row and asks whether it may be added; the validator's new message, if any.
  std::uint8_t Verificar(double percentual, double valor, const std::string& centro_custo,
                         const std::string& rateio_padrao = {}, const std::string& filial = "9",
                         bool alterando = false) {
    FMensagens = Validador().Count();
    Area().SetParametros(percentual, valor, filial, rateio_padrao, centro_custo, "DESC " + centro_custo, alterando);
    return Area().ValidaCamposInterface();
  }
  std::string Mensagem() { return Validador().Count() > FMensagens ? Validador()[FMensagens] : std::string(); }

  void Adicionar(double percentual, double valor, const std::string& centro_custo) {
    ASSERT_EQ(Verificar(percentual, valor, centro_custo), 0) << Mensagem();
    ASSERT_TRUE(Area().InsereCentroCusto_Client());
  }

 private:
  std::size_t FMensagens = 0;
};

TEST_F(FormularioTest, EachFieldCheckHasItsCodeAndMessage) {
  struct Caso {
    double percentual;
    double valor;
    const char* centro_custo;
    const char* filial;
    int codigo;
    const char* mensagem;
  };
  const Caso casos[] = {
      {10, 10, "T1", "", 1, "Favor informar a filial do Centro de Custo!"},
      {10, 10, "", "9", 3, "Favor informar o Rateio Padrão ou Centro de Custo válido para inclusão!"},
      {0, 10, "T1", "9", 4, "Favor informar o percentual de rateio do lançamento para inclusão!"},
      {-10, 10, "T1", "9", 7, "Favor informar o percentual de rateio maior que zero!"},
      {10, -10, "T1", "9", 9, "Favor o valor do lançamento e do rateio devem ser ambos positivos ou negativos!"},
      {10, 0, "T1", "9", 5, "Favor informar o valor de rateio do lançamento para inclusão!"},
      {10, 10, "T1", "8", 10,
       "Filial selecionada não usa Centro de Custo conforme definido no parâmetro 2663 da Rotina 132!"},
      {10, 10, "T1", "9", 0, ""},
  };
  for (const Caso& caso : casos) {
    SCOPED_TRACE(caso.codigo);
    EXPECT_EQ(Verificar(caso.percentual, caso.valor, caso.centro_custo, {}, caso.filial), caso.codigo);
    EXPECT_EQ(Mensagem(), caso.mensagem);
  }
  Area().SetCodConta(" ");
  EXPECT_EQ(Verificar(10, 10, "T1"), 2);
  EXPECT_EQ(Mensagem(), "Favor informar a conta do Centro de Custo!");
}

TEST_F(FormularioTest, ACostCenterIsAddedOnceButMayBeReplacedInPlace) {
  Adicionar(40, 40, "T1");
  EXPECT_EQ(Verificar(60, 60, "T1"), 6);
  EXPECT_EQ(Mensagem(), "Centro de Custo T1 já existe!");
  Area().GetCdsRateios()->First();
  EXPECT_EQ(Verificar(60, 60, "T1", {}, "9", true), 0);
  ASSERT_TRUE(Area().InsereCentroCusto_Client());
  EXPECT_EQ(Area().GetCdsRateios()->RecordCount(), 1u);
  EXPECT_EQ(Area().GetCdsRateios()->FieldByName("VALOR").AsFloat(), 60);
}

TEST_F(FormularioTest, ANamedApportionmentAddsItsCostCentersAndReportsThoseAlreadyThere) {
  Exec("INSERT INTO ZTRATEIOPADRAOCC (CODRATEIOCC, DESCRICAO) VALUES ('77', 'METADES')");
  Exec("INSERT INTO ZTITENSRATEIOPADRAOCC (CODRATEIOCC, CODIGOCENTROCUSTO, PERCENTUAL) VALUES ('77', 'T1', 50)");
  Exec("INSERT INTO ZTITENSRATEIOPADRAOCC (CODRATEIOCC, CODIGOCENTROCUSTO, PERCENTUAL) VALUES ('77', 'T2', 50)");
  Adicionar(50, 50, "T1");
  EXPECT_EQ(Verificar(0, 0, "", "77"), 8);
  EXPECT_EQ(Mensagem(), "Centro(s) de Custo(s) 'T1' já existe(m)! Foi inserido apenas os não encontrados.");
  EXPECT_EQ(Area().GetCdsRateios()->RecordCount(), 2u);
  EXPECT_EQ(Verificar(0, 0, "", "78"), 0);  // an unknown code adds nothing
}

TEST_F(FormularioTest, TheWholeApportionmentIsValidatedThenSaved) {
  SetParametro("RATEIOTOTALCC", "S");
  Adicionar(33.33, 33.33, "T1");
  Adicionar(66.64, 66.64, "T2");
  EXPECT_THROW(Area().ValidaDadosInformados_Inclusao(), Exception);  // 0.03 short of the entry
  ASSERT_TRUE(Area().GetCdsRateios()->Locate("CODIGOCENTROCUSTO", {TVariant(std::string("T2"))}));
  Area().SetParametros(66.67, 66.67, "9", "", "T2", "DOIS", true);
  ASSERT_TRUE(Area().InsereCentroCusto_Client());
  ASSERT_TRUE(Area().ValidaDadosInformados_Inclusao());
  EXPECT_TRUE(Area().GetStatusCentroCusto());
  ASSERT_TRUE(Area().InsertCentroCusto_Banco());
  EXPECT_EQ(Linhas(9001), "T1=33.33 T2=66.67");
}

TEST_F(FormularioTest, CancellingDiscardsTheFormsRows) {
  Adicionar(100, 100, "T1");
  EXPECT_TRUE(Area().CancelaCentroCusto());
  EXPECT_TRUE(Area().GetCdsRateios()->IsEmpty());
  EXPECT_FALSE(Area().GetStatusCentroCusto());
}

TEST_F(FormularioTest, AnAccountWithPriorityCostCentersRefusesAnyOther) {
  Exec("INSERT INTO ZTRATEIOCENTROCUSTOPRIORITARIO (CODCONTA, CODIGOCENTROCUSTO) VALUES (910002, 'T2')");
  try {
    (void)Verificar(10, 10, "T1");
    FAIL() << "aceitou um centro de custo fora dos prioritários";
  } catch (const Exception& falha) {
    EXPECT_EQ(falha.Message(), "Centro de custo informado não está parametrizado como restrito para a conta gerencial");
    EXPECT_EQ(Mensagem(), falha.Message());
  }
  EXPECT_EQ(Verificar(10, 10, "T2"), 0);
  EXPECT_TRUE(Area().ValidaCentroCustoPrioritario("910002", "T2"));
  EXPECT_FALSE(Area().ValidaCentroCustoPrioritario("910002", "T1"));
  EXPECT_FALSE(Area().ValidaCentroCustoPrioritario("910001", "T1"));  // an account without a list
  const std::unique_ptr<TOraQuery> lista = Area().ExisteCentroCustoPrioritario("910002' OR '1'='1");
  EXPECT_TRUE(lista->IsEmpty());
}

// ---------------------------------------------------------------------------------------------
// Standard and priority apportionments of an account (runs without entry type)

class ContaPadraoTest : public CentroCustoTest {
 protected:
  void Salvar(bool prioritaria) {
    Area().LimparDadosUltimoLancto();
    Area().SetTipoLancamento(tlContaPadrao);
    Area().SetContaGerencialPrioritaria(prioritaria);
    Area().SetCodConta("910002");
    Area().SetNumTransacao(910002);
    for (const auto& [codigo, percentual] : {std::pair{"T2", 70.0}, std::pair{"T3", 30.0}}) {
      Area().SetParametros(percentual, 0, "9", "", codigo, "", false);
      ASSERT_TRUE(Area().InsereCentroCusto_Client());
    }
    ASSERT_TRUE(Area().InsertCentroCusto_Banco());
  }
  std::string PadraoSalvo() {
    TOraQuery linhas(&Session());
    linhas.SQL.Add("SELECT CODIGOCENTROCUSTO, PERCRATEIO, NVL(CODCENTROCUSTO, '-') ANTIGO FROM ZTCONTACENTROCUSTO");
    linhas.SQL.Add(" WHERE CODCONTA = 910002 ORDER BY 1");
    linhas.Open();
    std::string texto;
    for (; !linhas.Eof(); linhas.Next()) {
      texto +=
          linhas.Fields(0).AsString() + ":" + linhas.Fields(1).AsString() + ":" + linhas.Fields(2).AsString() + " ";
    }
    return texto;
  }
};

TEST_F(ContaPadraoTest, TheStandardApportionmentIsRewrittenWithTheCurrentCodeOnly) {
  Padrao(910002, "T1", 100);
  Salvar(false);
  EXPECT_EQ(PadraoSalvo(), "T2:70:- T3:30:- ");
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTOPRIORITARIO"), 0);
  // The question is about the account of the entry the area holds, not the argument.
  EXPECT_FALSE(Area().ContaTemRateioPadrao("910002"));
  Area().SetCodConta("910002");
  EXPECT_TRUE(Area().ContaTemRateioPadrao("910009"));
}

TEST_F(ContaPadraoTest, ThePriorityListIsReplacedWholeAlongWithTheStandardApportionment) {
  Exec("INSERT INTO ZTRATEIOCENTROCUSTOPRIORITARIO (CODCONTA, CODIGOCENTROCUSTO) VALUES (910002, 'T1')");
  Salvar(true);
  EXPECT_EQ(Scalar("SELECT MIN(CODIGOCENTROCUSTO) || MAX(CODIGOCENTROCUSTO) || COUNT(*) FROM "
                   "ZTRATEIOCENTROCUSTOPRIORITARIO WHERE CODCONTA = 910002"),
            "T2T32");
  EXPECT_EQ(PadraoSalvo(), "T2:70:- T3:30:- ");
}

// ---------------------------------------------------------------------------------------------
// Accounting entries

TEST_F(CentroCustoTest, AnAccountingEntryTakesItsStandardEntrysCostCentersAndItsNature) {
  Exec("INSERT INTO ZTLANCAMENTO (NUMTRANSLANCTO, CODFILIAL) VALUES (4001, '9')");
  Exec(
      "INSERT INTO ZTITENSCCCONTALANCTOPADRAO (CODLANCPADRAO, CODREDUZIDO_ZT, CODIGOCENTROCUSTO, PERCENTUAL) "
      "VALUES (0, 910001, 'T1', 60)");
  Exec(
      "INSERT INTO ZTITENSCCCONTALANCTOPADRAO (CODLANCPADRAO, CODREDUZIDO_ZT, CODIGOCENTROCUSTO, PERCENTUAL) "
      "VALUES (0, 910001, 'T2', 40)");
  const TDateTime data = TDateTime::EncodeDate(2026, 3, 10);
  ASSERT_TRUE(Area().ProcessoCentroCusto(false, tlContabil, "9", "910001", 4001, 250, data, false, "D", 1, false, data,
                                         data, false));
  TOraQuery linhas(&Session());
  linhas.SQL.Add("SELECT CODIGOCENTROCUSTO || ':' || NATUREZA || ':' || CODFILIAL || ':' || VALOR FROM");
  linhas.SQL.Add(" ZTRATEIOCONTABILCC WHERE NUMTRANSLANCTO = 4001 ORDER BY 1");
  linhas.Open();
  std::string texto;
  for (; !linhas.Eof(); linhas.Next()) texto += linhas.Fields(0).AsString() + " ";
  EXPECT_EQ(texto, "T1:D:9:150.00 T2:D:9:100.00 ");
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTO"), 0);
}

TEST_F(CentroCustoTest, AnAccountChangeMovesOnlyTheRowsOfTheEntryInItsBranch) {
  Rateio(4101, 910001, "T1", 100, 10);
  Exec(
      "INSERT INTO ZTRATEIOCENTROCUSTO (RECNUM, CODCONTA, CODIGOCENTROCUSTO, VALOR, CODFILIAL) VALUES (4101, 910001, "
      "'T2', 5, '8')");
  Area().AlterarContaCentroCusto(4101, 910002, "9");
  EXPECT_EQ(Scalar("SELECT CODCONTA FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = 4101 AND CODIGOCENTROCUSTO = 'T1'"),
            "910002");
  EXPECT_EQ(Scalar("SELECT CODCONTA FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = 4101 AND CODIGOCENTROCUSTO = 'T2'"),
            "910001");
}

TEST_F(CentroCustoTest, DeletingTheRowsOfAnEntryLeavesTheOthers) {
  Rateio(4201, 910001, "T1", 100, 10);
  Rateio(4202, 910001, "T1", 100, 10);
  Area().SetTipoLancamento(tlFinanceiro);
  Area().DeleteTodosRegistrosLancto(4201);
  Area().DeleteTodosRegistrosLancto(0);  // nothing for a zero transaction
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTO"), 1);
  EXPECT_EQ(Linhas(4202), "T1=10");
}

TEST_F(CentroCustoTest, AnAccountWorksWithCostCentersPerKindOfEntry) {
  Exec("INSERT INTO ZTMODELOZT (CODREDUZIDO_ZT, CODPLANOCONTA, USACENTROCUSTO) VALUES (910001, 7, 'S')");
  EXPECT_TRUE(Area().ContaTrabalhaCentroCusto("9", "910001", tlFinanceiro));
  EXPECT_FALSE(Area().ContaTrabalhaCentroCusto("9", "910009", tlFinanceiro));
  EXPECT_FALSE(Area().ContaTrabalhaCentroCusto("", "910001", tlFinanceiro));
  EXPECT_FALSE(Area().ContaTrabalhaCentroCusto("8", "910001", tlFinanceiro));
  // Accounting accounts come from the chart of accounts, matched with the entry's chart.
  EXPECT_FALSE(Area().ContaTrabalhaCentroCusto("9", "910001", tlContabil));
  const TDateTime data = TDateTime::EncodeDate(2026, 3, 10);
  (void)Area().ProcessoCentroCusto(false, tlContabil, "9", "910001", 1, 1, data, true, "D", 7, false, data, data,
                                   false);
  EXPECT_TRUE(Area().ContaTrabalhaCentroCusto("9", "910001", tlContabil));
  EXPECT_TRUE(Area().ContaTrabalhaCentroCusto("9", "910001", tlFinanceiro));
}

}  // namespace
