#include <gtest/gtest.h>

#include <functional>

#include "CentroCustoFixture.h"
#include "costcenter/Uclsfin_centrocusto.h"
#include "frame/Uclsfin_except.h"
#include "oradb/TClientDataSet.h"
#include "sdk/Exception.h"

namespace {

using costcenter_it::CentroCustoTest;

TEST_F(CentroCustoTest, ANewEntryIsSavedWithItsAccountsStandardApportionmentToTheCent) {
  EXPECT_TRUE(Apportion(5001, 10.00));
  // T4 is inactive and T5 is not the user's: neither is proposed.
  EXPECT_EQ(Linhas(5001), "T1=3.33 T2=3.33 T3=3.34");
  EXPECT_EQ(
      Scalar("SELECT CODFILIAL || '/' || CODCONTA || '/' || CONTRAPARTIDA || '/' || NVL(ORCAMENTOEXCEDIDO, '-') || "
             "'/' || TO_CHAR(DTLANC, 'YYYY-MM-DD') FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = 5001 AND "
             "CODIGOCENTROCUSTO = 'T3'"),
      "9/910001/N/-/2026-03-10");
  EXPECT_DOUBLE_EQ(ScalarNumber("SELECT PERCRATEIO FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = 5001 AND "
                                "CODIGOCENTROCUSTO = 'T3'"),
                   33.34);
  // Saving forgets the entry: the next one starts from empty rows.
  EXPECT_TRUE(Area().GetCdsRateios()->IsEmpty());
  EXPECT_EQ(Area().GetCodConta(), "");
}

TEST_F(CentroCustoTest, ApportioningAnEntryAgainReplacesItsRows) {
  ASSERT_TRUE(Apportion(5002, 10.00));
  ASSERT_TRUE(Apportion(5002, 20.00));
  EXPECT_EQ(Linhas(5002), "T1=6.67 T2=6.67 T3=6.66");
}

TEST_F(CentroCustoTest, SavedRowsAreReloadedWithTheRemainderOnTheLastCostCenter) {
  Lancamento(5003, 910001, 100, "2026-03-10");
  Rateio(5003, 910001, "T1", 33.33, 33.33);
  Rateio(5003, 910001, "T2", 33.33, 33.33);
  Rateio(5003, 910001, "T3", 33.34, 33.33);  // an old row that left the entry a cent short
  ASSERT_TRUE(Apportion(5003, 100));
  EXPECT_EQ(Linhas(5003), "T1=33.33 T2=33.33 T3=33.34");
}

TEST_F(CentroCustoTest, ACounterpartCopiesItsPrincipalNegatedEvenWhenTheApportionmentMustTotal) {
  SetParametro("RATEIOTOTALCC", "S");
  Lancamento(5010, 910001, 10, "2026-03-10");
  Rateio(5010, 910001, "T1", 33.33, 3.33);
  Rateio(5010, 910001, "T2", 33.33, 3.33);
  Rateio(5010, 910001, "T3", 33.34, 3.34);
  Host().SetCodigoRotina(749);
  ASSERT_TRUE(Apportion(5011, -10, "910001", "9", "S", 5010));
  EXPECT_EQ(Linhas(5011), "T1=-3.33 T2=-3.33 T3=-3.34");
  EXPECT_EQ(Scalar("SELECT MIN(CONTRAPARTIDA) || MAX(CONTRAPARTIDA) || MIN(RECNUMPRINC) FROM ZTRATEIOCENTROCUSTO "
                   "WHERE RECNUM = 5011"),
            "SS5010");
}

TEST_F(CentroCustoTest, HeldRowsAreTheOnesReloadedWhileThePayableAreaPostsHeldEntries) {
  Lancamento(5020, 910001, 50, "2026-03-10", {}, "ZTLANCBLOQ");
  Rateio(5020, 910001, "T2", 100, 50, "ZTRATEIOCENTROCUSTOBLOQ");
  ContasPagar().SetLancarZTLancBloqGeral(true);
  SetParametro("TRABSUPLORC", "S", "9");
  ASSERT_TRUE(Apportion(5020, 50));
  // Written again as held rows: they replace the entry's earlier held rows.
  EXPECT_EQ(Linhas(5020, "ZTRATEIOCENTROCUSTOBLOQ"), "T2=50");
  EXPECT_EQ(Linhas(5020), "");
}

// ---------------------------------------------------------------------------------------------
// Preconditions

struct Recusa {
  const char* nome;
  std::function<bool()> chamada;
  const char* classe;    // nullptr: answers false without raising
  const char* mensagem;  // the exception's message
  const char* validador;
};

TEST_F(CentroCustoTest, BadInputIsRefusedWithTheDocumentedExceptionAndNothingIsWritten) {
  const Recusa casos[] = {
      {"conta vazia", [this]() { return Apportion(6001, 10, " "); }, "ExCodigoContaVazio",
       "Código de conta não informado.", "Favor informar a conta para lançamento do Centro de Custo!"},
      {"filial vazia", [this]() { return Apportion(6001, 10, "910001", ""); }, "ExFilialNaoInformada",
       "A filial não foi informada.", "Favor informar a filial para o lançamento do Centro de Custo!"},
      {"valor zero", [this]() { return Apportion(6001, 0); }, "ExValorNaoInformado", "Valor não informado.",
       "Favor informar o valor para lançamento do Centro de Custo!"},
      {"sem lançamento", [this]() { return Apportion(0, 10); }, "ExNumeroLanctoZerado",
       "Número de lançamento não informado.",
       "É necessário o Número da Transação de contas a pagar para lançamento do Centro de Custo!"},
      {"filial sem centro de custo", [this]() { return Apportion(6001, 10, "910001", "8"); }, nullptr, nullptr,
       "Filial não trabalha com Centro de Custo!"},
      {"conta sem centro de custo", [this]() { return Apportion(6001, 10, "910009"); }, nullptr, nullptr,
       "Conta gerencial não trabalha com Centro de Custo!"},
      {"conta que não é número", [this]() { return Apportion(6001, 10, "910001' OR '1'='1"); }, nullptr, nullptr,
       "Conta gerencial não trabalha com Centro de Custo!"},
  };
  for (const Recusa& caso : casos) {
    SCOPED_TRACE(caso.nome);
    if (caso.classe == nullptr) {
      EXPECT_FALSE(caso.chamada());
    } else {
      try {
        (void)caso.chamada();
        ADD_FAILURE() << "não recusou";
      } catch (const ExFinanceiro& falha) {
        EXPECT_STREQ(falha.ClassName(), caso.classe);
        EXPECT_EQ(falha.Message(), caso.mensagem);
      }
    }
    ASSERT_EQ(Validador().Count(), 1u);  // earlier runs' messages are gone
    EXPECT_EQ(Validador()[0], caso.validador);
    EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTRATEIOCENTROCUSTO"), 0);
    Area().LimparDadosUltimoLancto();
  }
}

TEST_F(CentroCustoTest, TheBudgetRoutinePostsWithoutATransactionNumber) {
  Host().SetCodigoRotina(755);
  EXPECT_TRUE(Apportion(0, 10));
  EXPECT_EQ(Linhas(0), "T1=3.33 T2=3.33 T3=3.34");
}

TEST_F(CentroCustoTest, ABudgetLineNeedsNoTransactionNumberAndIsSavedByYearMonthAndAccount) {
  const TDateTime marco = TDateTime::EncodeDate(2026, 3, 1);
  ASSERT_TRUE(Area().ProcessoCentroCusto(false, tlOrcamento, "9", "910001", 0, 1000, marco, false, "N", 0, false, marco,
                                         marco, false));
  ASSERT_TRUE(Area().ProcessoCentroCusto(false, tlOrcamento, "9", "910001", 0, 2000, marco, false, "N", 0, false, marco,
                                         marco, false));
  // The second run reloaded the saved rows and replaced them with the new value's shares.
  EXPECT_EQ(ScalarNumber("SELECT COUNT(*) FROM ZTORCLANCENTROCUSTO WHERE ANO = 2026 AND MES = 3 AND CODFILIAL = '9' "
                         "AND CODCONTA = 910001"),
            3);
  EXPECT_DOUBLE_EQ(ScalarNumber("SELECT SUM(VALOR) FROM ZTORCLANCENTROCUSTO WHERE CODCONTA = 910001"), 2000);
}

TEST_F(CentroCustoTest, ARunWithoutEntryTypeAnswersFalseSilently) {
  const TDateTime data = TDateTime::EncodeDate(2026, 3, 10);
  EXPECT_FALSE(Area().ProcessoCentroCusto(false, tlContaPadrao, "9", "910001", 7, 10, data, false, "N", 0, false, data,
                                          data, false));
  EXPECT_EQ(Validador().Count(), 0u);
}

// ---------------------------------------------------------------------------------------------
// Sources of the proposed rows

TEST_F(CentroCustoTest, MaterialRequestEntriesOfRoutine3424UseTheirItemsApportionment) {
  Host().SetCodigoRotina(3424);
  Exec(
      "INSERT INTO ZTCONTACENTROCUSTOITEMSOLMAT (CODCONTA, NUMEROSOLICITACAO, CODPRODUTO, CODIGOCENTROCUSTO, "
      "PERCRATEIO) VALUES (910001, 1234, 567, 'T2', 100)");
  Lancamento(7001, 910001, 80, "2026-03-10");
  Exec("UPDATE ZTLANC SET HISTORICO2 = '1234;567' WHERE RECNUM = 7001");
  ASSERT_TRUE(Apportion(7001, 80));
  EXPECT_EQ(Linhas(7001), "T2=80");
  // Without ";" (or without rows for the item) the account's standard apportionment is used.
  Lancamento(7002, 910001, 10, "2026-03-10");
  Exec("UPDATE ZTLANC SET HISTORICO2 = '1234 567' WHERE RECNUM = 7002");
  ASSERT_TRUE(Apportion(7002, 10));
  EXPECT_EQ(Linhas(7002), "T1=3.33 T2=3.33 T3=3.34");
}

TEST_F(CentroCustoTest, RowsToReplicateReplaceTheStandardApportionment) {
  TClientDataSet rateios;
  rateios.AddFieldDef("CODIGOCENTROCUSTO", TFieldType::ftString, 40);
  rateios.AddFieldDef("DESCCENTROCUSTO", TFieldType::ftString, 80);
  rateios.AddFieldDef("PERCRATEIO", TFieldType::ftFloat);
  rateios.CreateDataSet();
  for (const auto& [codigo, percentual] : {std::pair{"T3", 25.0}, std::pair{"T1", 75.0}}) {
    rateios.Append();
    rateios.FieldByName("CODIGOCENTROCUSTO").SetAsString(codigo);
    rateios.FieldByName("PERCRATEIO").SetAsFloat(percentual);
    rateios.Post();
  }
  const TDateTime data = TDateTime::EncodeDate(2026, 3, 10);
  {
    TClientDataSet copia;
    copia.CopyFrom(rateios);
    ASSERT_TRUE(Area().ProcessoCentroCusto(false, tlFinanceiro, "9", "910002", "", &copia, 7101, 99.99, data, false,
                                           "N", 0, false, data, data, false));
  }  // the caller's dataset is gone: the area kept its own copy
  EXPECT_EQ(Linhas(7101), "T1=74.99 T3=25");
  ASSERT_TRUE(Apportion(7102, 10, "910002"));
  EXPECT_EQ(Linhas(7102), "T1=7.5 T3=2.5");
}

TEST_F(CentroCustoTest, EntriesOfAnInboundInvoiceIncludeItsFreightAndReversedPayments) {
  Lancamento(7201, 910001, 10, "2026-03-10");
  Lancamento(7202, 910001, 20, "2026-03-10");
  Lancamento(7203, 910001, -30, "2026-03-10");
  Lancamento(7204, 910001, 40, "2026-03-10");
  Lancamento(7205, 910001, 50, "2026-03-10");
  Exec("UPDATE ZTLANC SET NUMTRANSENT = 4444 WHERE RECNUM IN (7201, 7202, 7203)");
  Exec("UPDATE ZTLANC SET DTPAGTO = DTVENC WHERE RECNUM IN (7202, 7203)");  // paid: out, unless a reversal
  Exec("UPDATE ZTLANC SET CODROTINABAIXA = 1301 WHERE RECNUM = 7203");
  Exec("UPDATE ZTLANC SET NUMTRANSENT = 5555, LOCALIZACAO = 'CTE 321' WHERE RECNUM IN (7204, 7205)");
  Exec("UPDATE ZTLANC SET LOCALIZACAO = 'CTE 999' WHERE RECNUM = 7205");
  Exec("INSERT INTO ZTNFENTFRETE (NUMTRANSENTNF, NUMTRANSENT) VALUES (4444, 5555)");
  const TDateTime data = TDateTime::EncodeDate(2026, 3, 10);
  EXPECT_TRUE(Area().ProcessoCentroCusto(false, tlFinanceiro, 4444, 321, false, data, data));
  EXPECT_EQ(ScalarNumber("SELECT COUNT(DISTINCT RECNUM) FROM ZTRATEIOCENTROCUSTO"), 3);
  EXPECT_EQ(Linhas(7203), "T1=-10 T2=-10 T3=-10");
  EXPECT_EQ(Linhas(7204), "T1=13.33 T2=13.33 T3=13.34");
  EXPECT_FALSE(Area().ProcessoCentroCusto(false, tlFinanceiro, 4445, 321, false, data, data));
}

TEST_F(CentroCustoTest, EntriesOfASaleAreApportionedOneByOne) {
  Lancamento(7301, 910001, 10, "2026-03-10");
  Lancamento(7302, 910009, 10, "2026-03-10");
  Exec("UPDATE ZTLANC SET NUMTRANSVENDA = 8888 WHERE RECNUM IN (7301, 7302)");
  const TDateTime data = TDateTime::EncodeDate(2026, 3, 10);
  EXPECT_TRUE(Area().ProcessoCentroCusto(false, tlFinanceiro, 8888, false, data, data));
  EXPECT_EQ(Linhas(7301), "T1=3.33 T2=3.33 T3=3.34");
  EXPECT_EQ(Linhas(7302), "");  // its account does not work with cost centers
}

}  // namespace

namespace {

using costcenter_it::CentroCustoTest;

TEST_F(CentroCustoTest, AnEntryFromASplitTakesEachCostCentersShareOfTheSplitTitles) {
  for (const int recnum : {7401, 7402, 7403}) Lancamento(recnum, 910001, 100, "2026-03-10");
  Rateio(7401, 910001, "T1", 100, 100);
  Rateio(7402, 910001, "T1", 50, 50);
  Rateio(7402, 910001, "T2", 50, 50);
  Rateio(7403, 910001, "T3", 100, 100);
  TParametrosCentroCusto& parametros = dynamic_cast<TValidaCentroCusto&>(Area()).Parametros();
  parametros.DesdobramentoZTLanc = true;
  parametros.ListaRecNumDesdobramento = "7401,7402,7403";
  parametros.VlrTotalTitulosSelecionadosDesd = 300;
  ASSERT_TRUE(Apportion(7404, 90));
  EXPECT_EQ(Linhas(7404), "T1=45 T2=15 T3=30");
  EXPECT_DOUBLE_EQ(ScalarNumber("SELECT PERCRATEIO FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = 7404 AND "
                                "CODIGOCENTROCUSTO = 'T1'"),
                   50);

  parametros.DesdobramentoZTLanc = true;  // saving forgot the split
  parametros.ListaRecNumDesdobramento = "7401) OR (1=1";
  try {
    (void)Apportion(7405, 90);
    FAIL() << "a lista foi colada no comando";
  } catch (const Exception& falha) {
    EXPECT_EQ(falha.Message(), "Lista de lançamentos do desdobramento inválida: \"7401) OR (1=1\".");
  }
  EXPECT_EQ(Linhas(7405), "");
}

TEST_F(CentroCustoTest, TheRowsOfAnAccountingEntryMoveToTheParametersBranch) {
  Exec(
      "INSERT INTO ZTRATEIOCONTABILCC (CODFILIAL, NUMTRANSLANCTO, CODIGOCENTROCUSTO, NATUREZA, VALOR, PERCRATEIO) "
      "VALUES ('8', 4301, 'T1', 'C', 10, 100)");
  auto& area = dynamic_cast<TValidaCentroCusto&>(Area());
  area.SetTipoLancamento(tlContabil);
  area.Parametros().CodFilial = "9";
  EXPECT_TRUE(area.EditaLanctosContabeis(4301, true));
  EXPECT_EQ(Scalar("SELECT CODFILIAL FROM ZTRATEIOCONTABILCC WHERE NUMTRANSLANCTO = 4301"), "9");
  area.SetTipoLancamento(tlFinanceiro);
  EXPECT_FALSE(area.EditaLanctosContabeis(4301, true));
}

}  // namespace
