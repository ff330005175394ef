#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "costcenter/Uclsfin_dalcentrocusto.h"
#include "rtl/Exception.h"

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
const std::string kCodigoCC = "NVL(CC.CODIGOCENTROCUSTO, CC.CODCENTROCUSTO)";
const std::string kOnde = " WHERE NVL(RC.CODIGOCENTROCUSTO, RC.CODCENTROCUSTO) = " + kCodigoCC;

// A payable entry's rows join their entry and only active cost centers (the held ones their held
// entry); a principal is read with inactive cost centers, a cloned one without its entry.
TEST(CostCenterSql, SavedRowsOfAnEntryByKindOfEntry) {
  TParametrosCentroCusto p;
  p.DefinirTipoLancamento(tlFinanceiro);
  const Lines financeiro(
      {"SELECT RC.RECNUM,", "       NVL(RC.CODFILIAL, L.CODFILIAL) CODFILIAL,", "       RC.CODCONTA,",
       "       NVL(RC.CODIGOCENTROCUSTO, RC.CODCENTROCUSTO) CODIGOCENTROCUSTO,", "       CC.DESCRICAO DESCCENTROCUSTO,",
       "       RC.VALOR,", "       RC.PERCRATEIO,", "       RC.DTLANC,", "       RC.CONTRAPARTIDA,", kPermissao,
       "  FROM ZTRATEIOCENTROCUSTO RC, ZTCENTROCUSTO CC, ZTLANC L", kOnde, "   AND RC.RECNUM = L.RECNUM", kAtivo,
       kRecebe, "   AND RC.RECNUM = :NUMTRANSACAO", " ORDER BY CODIGOCENTROCUSTO"});
  EXPECT_EQ(TDALCentroCusto::GetSQLRegistrosLancto(p, false).Lines(), financeiro);
  Lines bloqueado = financeiro;
  bloqueado[10] = "  FROM ZTRATEIOCENTROCUSTOBLOQ RC, ZTCENTROCUSTO CC, ZTLANCBLOQ L";
  EXPECT_EQ(TDALCentroCusto::GetSQLRegistrosLancto(p, true).Lines(), bloqueado);
  // A counterpart reads its principal's rows whether or not the principal is in ZTLANC.
  p.NumTransPrinc_CodPlanoConta = 77;
  Lines principal = financeiro;
  principal[12] = "   AND RC.RECNUM = L.RECNUM(+)";
  principal.erase(principal.begin() + 13, principal.begin() + 15);
  EXPECT_EQ(TDALCentroCusto::GetSQLRegistrosLancto(p, false).Lines(), principal);
  p.FazCloneRegistroPrincipal = true;
  Lines clone(financeiro.begin(), financeiro.begin() + 10);
  clone[1] = "       RC.CODFILIAL,";
  clone.insert(clone.end(), {"  FROM ZTRATEIOCENTROCUSTO RC, ZTCENTROCUSTO CC", kOnde,
                             "   AND RC.RECNUM = :NUMTRANSACAO", " ORDER BY CODIGOCENTROCUSTO"});
  EXPECT_EQ(TDALCentroCusto::GetSQLRegistrosLancto(p, false).Lines(), clone);

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
  // The list is pasted into the statement: only whole numbers reach it.
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

TEST(CostCenterSql, StandardApportionments) {
  EXPECT_EQ(
      TDALCentroCusto::GetSQLRateioPadrao().Lines(),
      (Lines{"SELECT DISTINCT IC.CODIGOCENTROCUSTO,", "       CC.DESCRICAO DESCCENTROCUSTO,",
             "       IC.PERCENTUAL PERCRATEIO",
             "  FROM ZTRATEIOPADRAOCC RP, ZTITENSRATEIOPADRAOCC IC, ZTCENTROCUSTO CC",
             " WHERE RP.CODRATEIOCC = IC.CODRATEIOCC", "   AND IC.CODIGOCENTROCUSTO = CC.CODIGOCENTROCUSTO",
             "   AND IC.CODRATEIOCC = :CODRATEIOCC", kAtivo, kRecebe, kExisteLib, " ORDER BY IC.CODIGOCENTROCUSTO"}));
  const Lines padrao({"SELECT DISTINCT NVL(CO.CODIGOCENTROCUSTO, CO.CODCENTROCUSTO) CODIGOCENTROCUSTO,",
                      "       CC.DESCRICAO DESCCENTROCUSTO,", "       CO.PERCRATEIO",
                      "  FROM ZTCONTACENTROCUSTO CO, ZTCENTROCUSTO CC",
                      " WHERE NVL(CO.CODIGOCENTROCUSTO, CO.CODCENTROCUSTO) = " + kCodigoCC,
                      "   AND CO.CODCONTA = :CODCONTA", kAtivo, kRecebe, kExisteLib, " ORDER BY CODIGOCENTROCUSTO"});
  EXPECT_EQ(TDALCentroCusto::GetSQLRateioPadraoConta(false).Lines(), padrao);
  Lines item = padrao;
  item[3] = "  FROM ZTCONTACENTROCUSTOITEMSOLMAT CO, ZTCENTROCUSTO CC";
  item.insert(item.begin() + 6,
              {"   AND CO.NUMEROSOLICITACAO = :NUMEROSOLICITACAO", "   AND CO.CODPRODUTO = :CODPRODUTO"});
  EXPECT_EQ(TDALCentroCusto::GetSQLRateioPadraoConta(true).Lines(), item);
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

TEST(CostCenterSql, WritersDeletesAndUpdates) {
  TParametrosCentroCusto p;
  const auto apagar = [&p](TTipoLancamento tipo) {
    p.DefinirTipoLancamento(tipo);
    return TDALCentroCusto::GetSQLDeleteTodos(p).Text();
  };
  const std::pair<std::string, std::string> casos[] = {
      {TDALCentroCusto::GetSQLInsertZTRATEIOCENTROCUSTO("ZTRATEIOCENTROCUSTOBLOQ").Text(),
       "INSERT INTO ZTRATEIOCENTROCUSTOBLOQ (RECNUM, CODCONTA, CODIGOCENTROCUSTO, VALOR, PERCRATEIO, DTLANC, "
       "CONTRAPARTIDA, RECNUMPRINC, CODFILIAL, ORCAMENTOEXCEDIDO) VALUES (:RECNUM, :CODCONTA, :CODIGOCENTROCUSTO, "
       ":VALOR, :PERCRATEIO, :DTLANC, :CONTRAPARTIDA, :RECNUMPRINC, :CODFILIAL, :ORCAMENTOEXCEDIDO)"},
      {TDALCentroCusto::GetSQLInsertZTRATEIOCONTABILCC().Text(),
       "INSERT INTO ZTRATEIOCONTABILCC (CODFILIAL, NUMTRANSLANCTO, CODIGOCENTROCUSTO, NATUREZA, VALOR, PERCRATEIO) "
       "VALUES (:CODFILIAL, :NUMTRANSLANCTO, :CODIGOCENTROCUSTO, :NATUREZA, :VALOR, :PERCRATEIO)"},
      {TDALCentroCusto::GetSQLInsertZTORCLANCENTROCUSTO().Text(),
       "INSERT INTO ZTORCLANCENTROCUSTO (ANO, MES, CODFILIAL, CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO, VALOR) "
       "VALUES (:ANO, :MES, :CODFILIAL, :CODCONTA, :CODIGOCENTROCUSTO, :PERCRATEIO, :VALOR)"},
      {TDALCentroCusto::GetSQLInsertZTCONTACENTROCUSTO().Text(),
       "INSERT INTO ZTCONTACENTROCUSTO (CODCONTA, CODCENTROCUSTO, PERCRATEIO, CODIGOCENTROCUSTO) VALUES "
       "(:CODCONTA, :CODCENTROCUSTO, :PERCRATEIO, :CODIGOCENTROCUSTO)"},
      {TDALCentroCusto::GetSQLInsertZTRATEIOCENTROCUSTOPRIORITARIO().Text(),
       "INSERT INTO ZTRATEIOCENTROCUSTOPRIORITARIO (RECNUM, CODCONTA, CODIGOCENTROCUSTO) VALUES (:RECNUM, "
       ":CODCONTA, :CODIGOCENTROCUSTO)"},
      {apagar(tlFinanceiro), "DELETE FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = :NUMTRANSACAO"},
      {apagar(tlContabil), "DELETE FROM ZTRATEIOCONTABILCC WHERE NUMTRANSLANCTO = :NUMTRANSACAO"},
      {apagar(tlOrcamento),
       "DELETE FROM ZTORCLANCENTROCUSTO WHERE ANO = :ANO AND MES = :MES AND CODFILIAL = :CODFILIAL AND CODCONTA = "
       ":CODCONTA"},
      {apagar(tlContaPrioritaria), "DELETE FROM ZTCONTACENTROCUSTO WHERE CODCONTA = :NUMTRANSACAO"},
      {TDALCentroCusto::GetSQLDeleteBloqueados().Text(), "DELETE FROM ZTRATEIOCENTROCUSTOBLOQ WHERE RECNUM = :RECNUM"},
      {TDALCentroCusto::GetSQLDeletePrioritario().Text(),
       "DELETE FROM ZTRATEIOCENTROCUSTOPRIORITARIO WHERE CODCONTA = :CODCONTA"},
      {TDALCentroCusto::GetSQLEditaContabil().Text(),
       "UPDATE ZTRATEIOCONTABILCC SET CODFILIAL = :CODFILIAL WHERE NUMTRANSLANCTO = :NUMTRANSACAO"},
      {TDALCentroCusto::GetSQLAlterarConta().Text(),
       "UPDATE ZTRATEIOCENTROCUSTO SET CODCONTA = :CODCONTA WHERE RECNUM = :RECNUM AND CODFILIAL = :CODFILIAL"},
      // Guards of reversal, replication, the account change and of saving one entry at a time.
      {TDALCentroCusto::GetSQLTravarLancamentos(3, false).Text(),
       "SELECT RECNUM FROM ZTLANC WHERE RECNUM IN (:RECNUM1, :RECNUM2, :RECNUM3) ORDER BY RECNUM FOR UPDATE"},
      {TDALCentroCusto::GetSQLTravarLancamentos(1, true).Text(),
       "SELECT RECNUM FROM ZTLANCBLOQ WHERE RECNUM IN (:RECNUM1) ORDER BY RECNUM FOR UPDATE"},
      {TDALCentroCusto::GetSQLTravarLancamentoContabil().Text(),
       "SELECT NUMTRANSLANCTO FROM ZTLANCAMENTO WHERE NUMTRANSLANCTO = :NUMTRANSLANCTO FOR UPDATE"},
      {TDALCentroCusto::GetSQLTravarConta().Text(),
       "SELECT CODCONTA FROM ZTCONTA WHERE CODCONTA = :CODCONTA FOR UPDATE"},
      {TDALCentroCusto::GetSQLTravarOrcamentoCentroCusto().Text(),
       "SELECT CODIGOCENTROCUSTO FROM ZTORCLANCENTROCUSTO WHERE CODCONTA = :CODCONTA AND CODFILIAL = :CODFILIAL AND "
       "MES = :MES AND ANO = :ANO AND CODIGOCENTROCUSTO = :CODIGOCENTROCUSTO FOR UPDATE"},
      {TDALCentroCusto::GetSQLQuantidadeRateios().Text(),
       "SELECT COUNT(*) QTD FROM ZTRATEIOCENTROCUSTO WHERE RECNUM = :RECNUM"},
      {TDALCentroCusto::GetSQLExisteConta().Text(), "SELECT COUNT(*) QTD FROM ZTCONTA WHERE CODCONTA = :CODCONTA"},
  };
  for (const auto& [sql, esperado] : casos) EXPECT_EQ(sql, esperado);
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

// The budget query names the month column with two digits; the realized ones end each line with a
// carriage return and read held rows, by accrual, leaving rejected supplementations out.
TEST(CostCenterSql, BudgetAndRealizedQueries) {
  EXPECT_EQ(
      TDALCentroCusto::GetSQLOrcamentoConta(3).Lines(),
      (Lines{" --CONSULTANDO ORCAMENTO E RATEIO DA CONTA ", " SELECT C.CODCONTA, ",
             "        NVL(O.VLORCMES03, 0) AS ORCAMENTO_MES_CONTA, ", "        C.CODIGOCENTROCUSTO, ",
             "        C.PERCRATEIO, ", "        NVL(C.VALOR,0) AS ORCAMENTO_MES_CENTRO_CUSTO ",
             " FROM ZTORCLANCENTROCUSTO C, ZTORCLAN O ", " WHERE C.CODCONTA  = O.CODCONTA ",
             " AND   C.ANO       = O.ANO ", " AND   C.CODFILIAL = O.CODFILIAL ", " AND C.CODCONTA    = :CODCONTA ",
             " AND O.CODFILIAL   = :CODFILIAL ", " AND C.MES         = :MES ", " AND O.ANO         = :ANO "}));
  EXPECT_EQ(TDALCentroCusto::GetSQLOrcamentoConta(12).Lines()[2],
            "        NVL(O.VLORCMES12, 0) AS ORCAMENTO_MES_CONTA, ");
  const Lines vencimento({" --TOTAL DE LANCAMENTOS DO MES PARA A CONTA AGRUPADO POR CENTRO DE CUSTO \r",
                          " SELECT NVL(SUM(NVL(R.VALOR,0)),0) AS TOTAL, R.CODIGOCENTROCUSTO \r",
                          " FROM ZTRATEIOCENTROCUSTO R, ZTLANC L\r", " WHERE R.RECNUM    = L.RECNUM \r",
                          " AND   R.CODFILIAL = :CODFILIAL \r", " AND   R.CODCONTA  = :CODCONTA\r",
                          " AND EXTRACT(MONTH FROM L.DTVENC) = :MES \r", " AND EXTRACT(YEAR FROM L.DTVENC)  = :ANO \r",
                          " GROUP BY R.CODIGOCENTROCUSTO\r"});
  EXPECT_EQ(TDALCentroCusto::GetSQLRealizadoConta(false, false).Lines(), vencimento);
  Lines bloqueados = vencimento;
  bloqueados[2] = " FROM ZTRATEIOCENTROCUSTOBLOQ R, ZTLANCBLOQ L\r";
  bloqueados[6] = " AND EXTRACT(MONTH FROM L.DTCOMPETENCIA) = :MES \r";
  bloqueados[7] = " AND EXTRACT(YEAR FROM L.DTCOMPETENCIA)  = :ANO \r";
  bloqueados.insert(bloqueados.begin() + 8, " AND L.DTREJEICAOSUPLORC IS NULL \r");
  EXPECT_EQ(TDALCentroCusto::GetSQLRealizadoConta(true, true).Lines(), bloqueados);
}

}  // namespace
