#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "costcenter/Uclsfin_dalcentrocusto.h"
#include "sdk/Exception.h"
#include "sdk/Formatacao.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kPermissao =
    "       CASE WHEN (SELECT COUNT(L.CODIGON) QTD FROM ZTLIB L WHERE L.CODTABELA = 10 AND L.CODIGOA = "
    "CC.CODIGOCENTROCUSTO AND L.CODFUNC = :CODFUNC AND ROWNUM = 1) >= 1 THEN 'S' ELSE 'N' END CCTEMPERMISSAO_ZTLIB";
const std::string kExisteLib =
    "   AND EXISTS (SELECT L.CODIGON FROM ZTLIB L WHERE L.CODTABELA = 10 AND L.CODIGOA = CC.CODIGOCENTROCUSTO AND "
    "L.CODFUNC = :CODFUNC)";

const std::string kAtivo = "   AND NVL(CC.ATIVO, 'S') = 'S'";
const std::string kRecebe = "   AND NVL(CC.RECEBE_LANCTO, 'S') = 'S'";
const std::string kOnde =
    " WHERE NVL(RC.CODIGOCENTROCUSTO, RC.CODCENTROCUSTO) = NVL(CC.CODIGOCENTROCUSTO, CC.CODCENTROCUSTO)";

TParametrosCentroCusto& Financeiro(TParametrosCentroCusto& p) {
  p.DefinirTipoLancamento(tlFinanceiro);
  return p;
}

TEST(CostCenterSql, SavedRowsOfAPayableEntryJoinTheirEntryAndOnlyActiveCostCenters) {
  TParametrosCentroCusto p;
  EXPECT_EQ(TDALCentroCusto::GetSQLRegistrosLancto(Financeiro(p), false).Lines(),
            (Lines{"SELECT RC.RECNUM,", "       NVL(RC.CODFILIAL, L.CODFILIAL) CODFILIAL,", "       RC.CODCONTA,",
                   "       NVL(RC.CODIGOCENTROCUSTO, RC.CODCENTROCUSTO) CODIGOCENTROCUSTO,",
                   "       CC.DESCRICAO DESCCENTROCUSTO,", "       RC.VALOR,", "       RC.PERCRATEIO,",
                   "       RC.DTLANC,", "       RC.CONTRAPARTIDA,", kPermissao,
                   "  FROM ZTRATEIOCENTROCUSTO RC, ZTCENTROCUSTO CC, ZTLANC L", kOnde, "   AND RC.RECNUM = L.RECNUM",
                   kAtivo, kRecebe, "   AND RC.RECNUM = :NUMTRANSACAO", " ORDER BY CODIGOCENTROCUSTO"}));
}

TEST(CostCenterSql, HeldRowsAreReadWithTheirHeldEntries) {
  TParametrosCentroCusto p;
  const Lines sql = TDALCentroCusto::GetSQLRegistrosLancto(Financeiro(p), true).Lines();
  EXPECT_EQ(sql[10], "  FROM ZTRATEIOCENTROCUSTOBLOQ RC, ZTCENTROCUSTO CC, ZTLANCBLOQ L");
}

TEST(CostCenterSql, AClonedPrincipalIsReadWithoutItsEntryAndWithInactiveCostCenters) {
  TParametrosCentroCusto p;
  Financeiro(p).FazCloneRegistroPrincipal = true;
  p.NumTransPrinc_CodPlanoConta = 77;
  const Lines sql = TDALCentroCusto::GetSQLRegistrosLancto(p, false).Lines();
  EXPECT_EQ(sql[1], "       RC.CODFILIAL,");
  EXPECT_EQ(sql[10], "  FROM ZTRATEIOCENTROCUSTO RC, ZTCENTROCUSTO CC");
  EXPECT_EQ(Lines(sql.begin() + 11, sql.end()),
            (Lines{kOnde, "   AND RC.RECNUM = :NUMTRANSACAO", " ORDER BY CODIGOCENTROCUSTO"}));
}

TEST(CostCenterSql, SavedRowsOfAnAccountingEntryAndOfABudgetLine) {
  TParametrosCentroCusto p;
  p.DefinirTipoLancamento(tlContabil);
  EXPECT_EQ(TDALCentroCusto::GetSQLRegistrosLancto(p, false).Lines(),
            (Lines{"SELECT DISTINCT NVL(RC.CODFILIAL, L.CODFILIAL) CODFILIAL,", "       RC.NUMTRANSLANCTO,",
                   "       RC.NATUREZA,", "       RC.CODIGOCENTROCUSTO,", "       CC.DESCRICAO DESCCENTROCUSTO,",
                   "       RC.VALOR,", "       RC.PERCRATEIO,", kPermissao,
                   "  FROM ZTRATEIOCONTABILCC RC, ZTCENTROCUSTO CC, ZTLANCAMENTO L",
                   " WHERE RC.CODIGOCENTROCUSTO = NVL(CC.CODIGOCENTROCUSTO, CC.CODCENTROCUSTO)",
                   "   AND RC.NUMTRANSLANCTO = L.NUMTRANSLANCTO", kAtivo, kRecebe,
                   "   AND RC.NUMTRANSLANCTO = :NUMTRANSACAO", " ORDER BY CODIGOCENTROCUSTO"}));
  p.DefinirTipoLancamento(tlOrcamento);
  EXPECT_EQ(TDALCentroCusto::GetSQLRegistrosLancto(p, false).Lines(),
            (Lines{"SELECT DISTINCT RC.ANO,", "       RC.MES,", "       RC.CODFILIAL,", "       RC.CODCONTA,",
                   "       RC.VALOR,", "       RC.CODIGOCENTROCUSTO,", "       CC.DESCRICAO DESCCENTROCUSTO,",
                   "       RC.PERCRATEIO,", kPermissao, "  FROM ZTORCLANCENTROCUSTO RC, ZTCENTROCUSTO CC",
                   " WHERE RC.CODIGOCENTROCUSTO = NVL(CC.CODIGOCENTROCUSTO, CC.CODCENTROCUSTO)", kAtivo, kRecebe,
                   kExisteLib, "   AND RC.ANO = :ANO", "   AND RC.MES = :MES", "   AND RC.CODFILIAL = :CODFILIAL",
                   "   AND RC.CODCONTA = :CODCONTA", " ORDER BY CODIGOCENTROCUSTO"}));
  p.DefinirTipoLancamento(tlContaPadrao);
  EXPECT_TRUE(TDALCentroCusto::GetSQLRegistrosLancto(p, false).IsEmpty());
}

TEST(CostCenterSql, SplitTitlesShareTheirTotalPerCostCenter) {
  EXPECT_EQ(
      TDALCentroCusto::GetSQLRegistrosDesdobramento("10,11,12").Lines(),
      (Lines{"SELECT DISTINCT RC.CODCONTA,", "       NVL(RC.CODIGOCENTROCUSTO, RC.CODCENTROCUSTO) CODIGOCENTROCUSTO,",
             "       CC.DESCRICAO DESCCENTROCUSTO,", "       ((SUM(RC.VALOR) / :VLRTOTAL) * 100) PERCRATEIO,",
             "       SUM(RC.VALOR) VALOR,",
             "       CASE WHEN (SELECT COUNT(L.CODIGON) QTD FROM ZTLIB L WHERE L.CODTABELA = 10 AND L.CODIGOA = "
             "RC.CODIGOCENTROCUSTO AND L.CODFUNC = :CODFUNC AND ROWNUM = 1) >= 1 THEN 'S' ELSE 'N' END "
             "CCTEMPERMISSAO_ZTLIB",
             "  FROM ZTRATEIOCENTROCUSTO RC, ZTCENTROCUSTO CC, ZTLANC L", kOnde, "   AND RC.RECNUM = L.RECNUM",
             "   AND RC.RECNUM IN (10,11,12)",
             " GROUP BY RC.CODCONTA, CC.DESCRICAO, RC.CODIGOCENTROCUSTO, NVL(RC.CODIGOCENTROCUSTO, "
             "RC.CODCENTROCUSTO)",
             " ORDER BY CODIGOCENTROCUSTO"}));
}

TEST(CostCenterSql, StandardApportionments) {
  EXPECT_EQ(
      TDALCentroCusto::GetSQLRateioPadrao().Lines(),
      (Lines{"SELECT DISTINCT IC.CODIGOCENTROCUSTO,", "       CC.DESCRICAO DESCCENTROCUSTO,",
             "       IC.PERCENTUAL PERCRATEIO",
             "  FROM ZTRATEIOPADRAOCC RP, ZTITENSRATEIOPADRAOCC IC, ZTCENTROCUSTO CC",
             " WHERE RP.CODRATEIOCC = IC.CODRATEIOCC", "   AND IC.CODIGOCENTROCUSTO = CC.CODIGOCENTROCUSTO",
             "   AND IC.CODRATEIOCC = :CODRATEIOCC", kAtivo, kRecebe, kExisteLib, " ORDER BY IC.CODIGOCENTROCUSTO"}));
  const Lines padrao = TDALCentroCusto::GetSQLRateioPadraoConta(false).Lines();
  EXPECT_EQ(padrao,
            (Lines{"SELECT DISTINCT NVL(CO.CODIGOCENTROCUSTO, CO.CODCENTROCUSTO) CODIGOCENTROCUSTO,",
                   "       CC.DESCRICAO DESCCENTROCUSTO,", "       CO.PERCRATEIO",
                   "  FROM ZTCONTACENTROCUSTO CO, ZTCENTROCUSTO CC",
                   " WHERE NVL(CO.CODIGOCENTROCUSTO, CO.CODCENTROCUSTO) = NVL(CC.CODIGOCENTROCUSTO, "
                   "CC.CODCENTROCUSTO)",
                   "   AND CO.CODCONTA = :CODCONTA", kAtivo, kRecebe, kExisteLib, " ORDER BY CODIGOCENTROCUSTO"}));
  const Lines item = TDALCentroCusto::GetSQLRateioPadraoConta(true).Lines();
  EXPECT_EQ(item[3], "  FROM ZTCONTACENTROCUSTOITEMSOLMAT CO, ZTCENTROCUSTO CC");
  EXPECT_EQ(Lines(item.begin() + 5, item.begin() + 8),
            (Lines{"   AND CO.CODCONTA = :CODCONTA", "   AND CO.NUMEROSOLICITACAO = :NUMEROSOLICITACAO",
                   "   AND CO.CODPRODUTO = :CODPRODUTO"}));
  EXPECT_EQ(TDALCentroCusto::GetSQLLanctoPadraoContabil().Lines(),
            (Lines{"SELECT DISTINCT CO.CODLANCPADRAO,", "       CO.CODIGOCENTROCUSTO,",
                   "       CC.DESCRICAO DESCCENTROCUSTO,", "       CO.PERCENTUAL PERCRATEIO",
                   "  FROM ZTITENSCCCONTALANCTOPADRAO CO, ZTCENTROCUSTO CC",
                   " WHERE CO.CODIGOCENTROCUSTO = NVL(CC.CODIGOCENTROCUSTO, CC.CODCENTROCUSTO)",
                   "   AND CO.CODREDUZIDO_ZT = :CODCONTA", "   AND CO.CODLANCPADRAO = :CODLANCPADRAO", kAtivo, kRecebe,
                   kExisteLib, " ORDER BY CO.CODIGOCENTROCUSTO"}));
}

TEST(CostCenterSql, EntriesOfAnInvoiceAndOfASale) {
  const std::string aberto =
      "   AND (ZTLANC.DTPAGTO IS NULL OR (ZTLANC.DTPAGTO IS NOT NULL AND ZTLANC.VALOR < 0 AND ZTLANC.CODROTINABAIXA IN "
      "(1349, 3010, 1301)))";
  EXPECT_EQ(
      TDALCentroCusto::GetSQLLancamentosEntrada().Lines(),
      (Lines{"SELECT DISTINCT RECNUM, NUMNOTA, CODFILIAL, VALOR, CODCONTA, DTLANC",
             "  FROM (SELECT ZTLANC.RECNUM, ZTLANC.NUMNOTA, ZTLANC.CODFILIAL, ZTLANC.VALOR, ZTLANC.CODCONTA, "
             "ZTLANC.DTLANC",
             "          FROM ZTLANC", "         WHERE NVL(ZTLANC.NUMTRANSENTNF, ZTLANC.NUMTRANSENT) = :NUMTRANSENT",
             aberto, "        UNION ALL",
             "        SELECT ZTLANC.RECNUM, ZTLANC.NUMNOTA, ZTLANC.CODFILIAL, ZTLANC.VALOR, ZTLANC.CODCONTA, "
             "ZTLANC.DTLANC",
             "          FROM ZTLANC, ZTNFENTFRETE", "         WHERE ZTNFENTFRETE.NUMTRANSENTNF = :NUMTRANSENT",
             "           AND ZTLANC.NUMTRANSENT = ZTNFENTFRETE.NUMTRANSENT",
             "           AND ZTLANC.LOCALIZACAO LIKE '%'||:NUMNOTANF||'%'", aberto, "       ) LANCAMENTOS",
             " ORDER BY RECNUM"}));
  EXPECT_EQ(TDALCentroCusto::GetSQLLancamentosSaida().Text(),
            "SELECT DISTINCT ZTLANC.RECNUM, ZTLANC.NUMNOTA, ZTLANC.CODFILIAL, ZTLANC.VALOR, ZTLANC.CODCONTA, "
            "ZTLANC.DTLANC FROM ZTLANC WHERE NUMTRANSVENDA = :NUMTRANSVENDA");
}

TEST(CostCenterSql, AccountsThatUseCostCentersByKindOfEntry) {
  const std::string financeiras =
      "SELECT DISTINCT CODCONTA, USARATEIOCENTROCUSTO USACENTROCUSTO FROM ZTCONTA WHERE NVL(USARATEIOCENTROCUSTO, "
      "'N') = 'S'";
  EXPECT_EQ(TDALCentroCusto::GetSQLContasCentroCusto(tlFinanceiro).Text(), financeiras);
  EXPECT_EQ(TDALCentroCusto::GetSQLContasCentroCusto(tlOrcamento).Text(), financeiras);
  EXPECT_EQ(TDALCentroCusto::GetSQLContasCentroCusto(tlContabil).Text(),
            "SELECT DISTINCT CODREDUZIDO_ZT CODCONTA, USACENTROCUSTO, CODPLANOCONTA FROM ZTMODELOZT WHERE "
            "NVL(USACENTROCUSTO, 'N') = 'S'");
  EXPECT_TRUE(TDALCentroCusto::GetSQLContasCentroCusto(tlContaPadrao).IsEmpty());
  EXPECT_EQ(TDALCentroCusto::GetSQLItemSolicitacaoMateriais().Text(),
            "SELECT L.CODCONTA, L.HISTORICO2 FROM ZTLANC L WHERE L.RECNUM = :RECNUM AND L.HISTORICO2 IS NOT NULL");
  EXPECT_EQ(TDALCentroCusto::GetSQLCentroCustoPrioritario().Lines(),
            (Lines{"SELECT RCOP.CODIGOCENTROCUSTO,", "       CC.DESCRICAO DESCCENTROCUSTO",
                   "  FROM ZTRATEIOCENTROCUSTOPRIORITARIO RCOP, ZTCENTROCUSTO CC",
                   " WHERE RCOP.CODIGOCENTROCUSTO = NVL(CC.CODIGOCENTROCUSTO, CC.CODCENTROCUSTO)",
                   "   AND RCOP.CODCONTA = :CODCONTA", kAtivo, kRecebe, " ORDER BY RCOP.CODIGOCENTROCUSTO"}));
}

TEST(CostCenterSql, WritersInsertOneRowEach) {
  EXPECT_EQ(TDALCentroCusto::GetSQLInsertZTRATEIOCENTROCUSTO("ZTRATEIOCENTROCUSTOBLOQ").Text(),
            "INSERT INTO ZTRATEIOCENTROCUSTOBLOQ (RECNUM, CODCONTA, CODIGOCENTROCUSTO, VALOR, PERCRATEIO, DTLANC, "
            "CONTRAPARTIDA, RECNUMPRINC, CODFILIAL, ORCAMENTOEXCEDIDO) VALUES (:RECNUM, :CODCONTA, "
            ":CODIGOCENTROCUSTO, :VALOR, :PERCRATEIO, :DTLANC, :CONTRAPARTIDA, :RECNUMPRINC, :CODFILIAL, "
            ":ORCAMENTOEXCEDIDO)");
  EXPECT_EQ(TDALCentroCusto::GetSQLInsertZTRATEIOCONTABILCC().Text(),
            "INSERT INTO ZTRATEIOCONTABILCC (CODFILIAL, NUMTRANSLANCTO, CODIGOCENTROCUSTO, NATUREZA, VALOR, "
            "PERCRATEIO) VALUES (:CODFILIAL, :NUMTRANSLANCTO, :CODIGOCENTROCUSTO, :NATUREZA, :VALOR, :PERCRATEIO)");
  EXPECT_EQ(TDALCentroCusto::GetSQLInsertZTORCLANCENTROCUSTO().Text(),
            "INSERT INTO ZTORCLANCENTROCUSTO (ANO, MES, CODFILIAL, CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO, VALOR) "
            "VALUES (:ANO, :MES, :CODFILIAL, :CODCONTA, :CODIGOCENTROCUSTO, :PERCRATEIO, :VALOR)");
  EXPECT_EQ(TDALCentroCusto::GetSQLInsertZTCONTACENTROCUSTO().Text(),
            "INSERT INTO ZTCONTACENTROCUSTO (CODCONTA, CODCENTROCUSTO, PERCRATEIO, CODIGOCENTROCUSTO) VALUES "
            "(:CODCONTA, :CODCENTROCUSTO, :PERCRATEIO, :CODIGOCENTROCUSTO)");
  EXPECT_EQ(TDALCentroCusto::GetSQLInsertZTRATEIOCENTROCUSTOPRIORITARIO().Text(),
            "INSERT INTO ZTRATEIOCENTROCUSTOPRIORITARIO (RECNUM, CODCONTA, CODIGOCENTROCUSTO) VALUES (:RECNUM, "
            ":CODCONTA, :CODIGOCENTROCUSTO)");
}

// Rows of a payable entry go to the held table only for an entry held for supplementation in a
// branch that works with it, unless the caller allowed posting above the budget.
TEST(CostCenterSql, FinancialWriterTableBySupplementationHeldFlagAndPermission) {
  const std::tuple<bool, bool, bool, const char*> casos[] = {{true, true, false, "ZTRATEIOCENTROCUSTOBLOQ"},
                                                             {true, true, true, "ZTRATEIOCENTROCUSTO"},
                                                             {true, false, false, "ZTRATEIOCENTROCUSTO"},
                                                             {false, true, false, "ZTRATEIOCENTROCUSTO"}};
  for (const auto& [suplementacao, bloqueado, permitir, tabela] : casos) {
    EXPECT_EQ(TDALCentroCusto::TabelaRateioFinanceiro(suplementacao, bloqueado, permitir), tabela)
        << suplementacao << bloqueado << permitir;
  }
}

TEST(CostCenterSql, DeletesAndUpdatesOfSavedRows) {
  TParametrosCentroCusto p;
  p.DefinirTipoLancamento(tlFinanceiro);
  EXPECT_EQ(TDALCentroCusto::GetSQLDeleteTodos(p).Text(),
            "DELETE FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = :NUMTRANSACAO");
  p.DefinirTipoLancamento(tlContabil);
  EXPECT_EQ(TDALCentroCusto::GetSQLDeleteTodos(p).Text(),
            "DELETE FROM ZTRATEIOCONTABILCC WHERE NUMTRANSLANCTO = :NUMTRANSACAO");
  p.DefinirTipoLancamento(tlOrcamento);
  EXPECT_EQ(TDALCentroCusto::GetSQLDeleteTodos(p).Text(),
            "DELETE FROM ZTORCLANCENTROCUSTO WHERE ANO = :ANO AND MES = :MES AND CODFILIAL = :CODFILIAL AND CODCONTA "
            "= :CODCONTA");
  p.DefinirTipoLancamento(tlContaPrioritaria);
  EXPECT_EQ(TDALCentroCusto::GetSQLDeleteTodos(p).Text(),
            "DELETE FROM ZTCONTACENTROCUSTO WHERE CODCONTA = :NUMTRANSACAO");
  EXPECT_EQ(TDALCentroCusto::GetSQLDeleteBloqueados().Text(),
            "DELETE FROM ZTRATEIOCENTROCUSTOBLOQ WHERE RECNUM = :RECNUM");
  EXPECT_EQ(TDALCentroCusto::GetSQLDeletePrioritario().Text(),
            "DELETE FROM ZTRATEIOCENTROCUSTOPRIORITARIO WHERE CODCONTA = :CODCONTA");
  EXPECT_EQ(TDALCentroCusto::GetSQLEditaContabil().Text(),
            "UPDATE ZTRATEIOCONTABILCC SET CODFILIAL = :CODFILIAL WHERE NUMTRANSLANCTO = :NUMTRANSACAO");
  EXPECT_EQ(TDALCentroCusto::GetSQLAlterarConta().Text(),
            "UPDATE ZTRATEIOCENTROCUSTO SET CODCONTA = :CODCONTA WHERE RECNUM = :RECNUM AND CODFILIAL = :CODFILIAL");
}

TEST(CostCenterSql, ReversalWritesTheNegativeLegAndThePositiveOneUnlessMinusOne) {
  const std::string insert =
      "INSERT INTO ZTRATEIOCENTROCUSTO "
      "(RECNUM,CODCONTA,VALOR,PERCRATEIO,DTLANC,CONTRAPARTIDA,CODCENTROCUSTO,RECNUMPRINC,CODFILIAL,CODIGOCENTROCUSTO) "
      "(";
  const std::string negativa =
      "SELECT 501,CODCONTA,-VALOR,PERCRATEIO,DTLANC,'S',CODCENTROCUSTO,RECNUMPRINC,CODFILIAL,CODIGOCENTROCUSTO FROM "
      "ZTRATEIOCENTROCUSTO WHERE RECNUM = :recNoEstornado";
  EXPECT_EQ(TDALCentroCusto::GetSQLEstornarRateio(501, -1).Lines(), (Lines{insert, negativa, ")"}));
  EXPECT_EQ(TDALCentroCusto::GetSQLEstornarRateio(501, 502).Lines(),
            (Lines{insert, negativa,
                   "UNION ALL SELECT 502,CODCONTA, VALOR,PERCRATEIO,DTLANC,CONTRAPARTIDA,CODCENTROCUSTO,RECNUMPRINC,"
                   "CODFILIAL,CODIGOCENTROCUSTO FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = :recNoEstornado",
                   ")"}));
  EXPECT_EQ(TDALCentroCusto::GetSQLReplicarRateio(900).Text(),
            "INSERT INTO ZTRATEIOCENTROCUSTO "
            "(RECNUM,CODCONTA,VALOR,PERCRATEIO,DTLANC,CONTRAPARTIDA,CODCENTROCUSTO,RECNUMPRINC,CODFILIAL,"
            "CODIGOCENTROCUSTO) (SELECT 900,CODCONTA, VALOR,PERCRATEIO,DTLANC,CONTRAPARTIDA,CODCENTROCUSTO,"
            "RECNUMPRINC,CODFILIAL,CODIGOCENTROCUSTO FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = :RECNUMAREPLICAR)");
}

TEST(CostCenterSql, BudgetQueryNamesTheMonthColumnWithTwoDigits) {
  const Lines sql = TDALCentroCusto::GetSQLOrcamentoConta(3).Lines();
  EXPECT_EQ(
      sql, (Lines{" --CONSULTANDO ORCAMENTO E RATEIO DA CONTA ", " SELECT C.CODCONTA, ",
                  "        NVL(O.VLORCMES03, 0) AS ORCAMENTO_MES_CONTA, ", "        C.CODIGOCENTROCUSTO, ",
                  "        C.PERCRATEIO, ", "        NVL(C.VALOR,0) AS ORCAMENTO_MES_CENTRO_CUSTO ",
                  " FROM ZTORCLANCENTROCUSTO C, ZTORCLAN O ", " WHERE C.CODCONTA  = O.CODCONTA ",
                  " AND   C.ANO       = O.ANO ", " AND   C.CODFILIAL = O.CODFILIAL ", " AND C.CODCONTA    = :CODCONTA ",
                  " AND O.CODFILIAL   = :CODFILIAL ", " AND C.MES         = :MES ", " AND O.ANO         = :ANO "}));
  EXPECT_EQ(TDALCentroCusto::GetSQLOrcamentoConta(12).Lines()[2],
            "        NVL(O.VLORCMES12, 0) AS ORCAMENTO_MES_CONTA, ");
}

TEST(CostCenterSql, RealizedQueriesEndEachLineWithACarriageReturn) {
  EXPECT_EQ(TDALCentroCusto::GetSQLRealizadoConta(false, false).Lines(),
            (Lines{" --TOTAL DE LANCAMENTOS DO MES PARA A CONTA AGRUPADO POR CENTRO DE CUSTO \r",
                   " SELECT NVL(SUM(NVL(R.VALOR,0)),0) AS TOTAL, R.CODIGOCENTROCUSTO \r",
                   " FROM ZTRATEIOCENTROCUSTO R, ZTLANC L\r", " WHERE R.RECNUM    = L.RECNUM \r",
                   " AND   R.CODFILIAL = :CODFILIAL \r", " AND   R.CODCONTA  = :CODCONTA\r",
                   " AND EXTRACT(MONTH FROM L.DTVENC) = :MES \r", " AND EXTRACT(YEAR FROM L.DTVENC)  = :ANO \r",
                   " GROUP BY R.CODIGOCENTROCUSTO\r"}));
  EXPECT_EQ(
      TDALCentroCusto::GetSQLRealizadoConta(true, true).Lines(),
      (Lines{" --TOTAL DE LANCAMENTOS DO MES PARA A CONTA AGRUPADO POR CENTRO DE CUSTO \r",
             " SELECT NVL(SUM(NVL(R.VALOR,0)),0) AS TOTAL, R.CODIGOCENTROCUSTO \r",
             " FROM ZTRATEIOCENTROCUSTOBLOQ R, ZTLANCBLOQ L\r", " WHERE R.RECNUM    = L.RECNUM \r",
             " AND   R.CODFILIAL = :CODFILIAL \r", " AND   R.CODCONTA  = :CODCONTA\r",
             " AND EXTRACT(MONTH FROM L.DTCOMPETENCIA) = :MES \r", " AND EXTRACT(YEAR FROM L.DTCOMPETENCIA)  = :ANO \r",
             " AND L.DTREJEICAOSUPLORC IS NULL \r", " GROUP BY R.CODIGOCENTROCUSTO\r"}));
}

TEST(CostCenterSql, MaterialRequestItemIsReadBeforeAndAfterTheFirstSemicolon) {
  const auto ler = [](const std::string& historico2) {
    TItemSolicitacaoMateriais item{-1, -1, -1};
    const bool achou = TDALCentroCusto::LerItemSolicitacao(historico2, item);
    return std::to_string(achou) + ":" + ShortestDecimal(item.NumeroSolicitacao) + ":" +
           ShortestDecimal(item.CodProduto);
  };
  EXPECT_EQ(ler("1234;567"), "1:1234:567");
  EXPECT_EQ(ler("REQ;9;8"), "1:0:0");
  EXPECT_EQ(ler("1234 567"), "0:-1:-1");
}

TEST(CostCenterSql, SplitListReachesTheStatementOnlyAsNumbers) {
  EXPECT_EQ(TDALCentroCusto::ListaRecNumSegura(" 10, 11 ,12,"), "10,11,12");
  for (const std::string ruim : {"10) OR (1=1", "10,'11'", "1.5", "-3", ",", ""}) {
    try {
      (void)TDALCentroCusto::ListaRecNumSegura(ruim);
      ADD_FAILURE() << "aceitou \"" << ruim << "\"";
    } catch (const Exception& falha) {
      EXPECT_EQ(falha.Message(), "Lista de lançamentos do desdobramento inválida: \"" + ruim + "\".");
    }
  }
}

}  // namespace
