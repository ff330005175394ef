#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "accountsplit/Uclsfin_dalrateiocontas.h"

namespace {

using Lines = std::vector<std::string>;
using Dal = TDALRateioContas;

// The accounts of a named apportionment: groups joined outer and a fixed account order, so the last
// account (which takes the remainders) is always the same one and no account drops out for lack of
// a group.
TEST(AccountSplitSql, AccountsOfANamedApportionment) {
  EXPECT_EQ(Dal::montarSQLBuscaRateioContas().Lines(),
            (Lines{"SELECT I.CODRATEIOCONTA,", "       C.CONTA,", "       I.PERCENTUAL,", "       I.CODIGOCONTA,",
                   "       C.GRUPOCONTA,", "       G.GRUPO,", "       C.USARATEIOCENTROCUSTO,",
                   "       CASE WHEN (SELECT COUNT(L.CODIGON) QTD FROM ZTLIB L WHERE L.CODTABELA = 6 AND L.CODIGON= "
                   "C.GRUPOCONTA AND L.CODFUNC = :CODFUNC AND ROWNUM = 1) >= 1 THEN 'S' ELSE 'N' END "
                   "CONTATEMPERMISSAO_ZTLIB,",
                   "       TRUNC(SYSDATE) DATA", "  FROM ZTITENSRATEIOPADRAOCONTA I, ZTCONTA C, ZTGRUPO G",
                   " WHERE TO_NUMBER(I.CODIGOCONTA) = C.CODCONTA", "   AND C.GRUPOCONTA = G.CODGRUPO(+)",
                   "   AND I.CODRATEIOCONTA = :CODRATEIOCONTA", " ORDER BY TO_NUMBER(I.CODIGOCONTA), I.PERCENTUAL"}));
}

// Inactive cost centers and those that take no entries stay out; those the user may not use are
// listed with the flag 'N' (the permission is a column, not a condition).
TEST(AccountSplitSql, StandardCostCentersOfAnAccount) {
  const Lines sql = Dal::montarSQLBuscaRateioCentroCusto().Lines();
  EXPECT_EQ(sql, (Lines{"SELECT NVL(CO.CODIGOCENTROCUSTO, CO.CODCENTROCUSTO) CODIGOCENTROCUSTO,",
                        "       CC.DESCRICAO DESCCENTROCUSTO,", "       CO.PERCRATEIO,",
                        "       CASE WHEN (SELECT COUNT(L.CODIGOA) QTD FROM ZTLIB L WHERE L.CODTABELA = 10 AND "
                        "L.CODIGOA = NVL(CO.CODIGOCENTROCUSTO, CO.CODCENTROCUSTO) AND L.CODFUNC = :CODFUNC AND ROWNUM "
                        "= 1) >= 1 THEN 'S' ELSE 'N' END CCTEMPERMISSAO_ZTLIB,",
                        "       TRUNC(SYSDATE) DATA", "  FROM ZTCONTACENTROCUSTO CO, ZTCENTROCUSTO CC",
                        " WHERE NVL(CO.CODIGOCENTROCUSTO, CO.CODCENTROCUSTO) = NVL(CC.CODIGOCENTROCUSTO, "
                        "CC.CODCENTROCUSTO)",
                        "   AND CO.CODCONTA = :CODCONTA", "   AND NVL(CC.ATIVO, 'S') = 'S'",
                        "   AND NVL(CC.RECEBE_LANCTO, 'S') = 'S'",
                        " ORDER BY NVL(CO.CODIGOCENTROCUSTO, CO.CODCENTROCUSTO)"}));
  for (const std::string& linha : sql) EXPECT_EQ(linha.find("EXISTS"), std::string::npos) << linha;
}

TEST(AccountSplitSql, LookUpsOfAnAccount) {
  EXPECT_EQ(Dal::montarSQLDescricaoContaEGrupo().Text(),
            "SELECT C.CODCONTA, C.CONTA, C.GRUPOCONTA, G.GRUPO FROM ZTCONTA C, ZTGRUPO G WHERE C.GRUPOCONTA = "
            "G.CODGRUPO(+) AND C.CODCONTA = :CODCONTA");
  EXPECT_EQ(Dal::montarSQLUsaRateioCentroCusto().Text(),
            "SELECT USARATEIOCENTROCUSTO FROM ZTCONTA WHERE CODCONTA = :CODCONTA");
  EXPECT_EQ(Dal::montarSQLQuantidadeItensRateio().Text(),
            "SELECT COUNT(*) QTD FROM ZTITENSRATEIOPADRAOCONTA WHERE CODRATEIOCONTA = :CODRATEIOCONTA");
}

// The cost-center rows of an entry held for supplementation go to the held twin, the same columns.
TEST(AccountSplitSql, WritersOfThePostedSplit) {
  EXPECT_EQ(Dal::montarSQLInserirRateioConta().Text(),
            "INSERT INTO ZTRATEIOCONTAS( RECNUM, CODCONTA, VALOR, PERCRATEIO, DTLANC, CONTRAPARTIDA, RECNUMPRINC, "
            "CODFILIAL, CODRATEIOCONTA) VALUES( :RECNUM, :CODCONTA, :VALOR, :PERCRATEIO, :DTLANC, :CONTRAPARTIDA, "
            ":RECNUMPRINC, :CODFILIAL, :CODRATEIOCONTA)");
  const std::string lancado =
      "INSERT INTO ZTRATEIOCENTROCUSTO( RECNUM, CODCONTA, VALOR, PERCRATEIO, DTLANC, CONTRAPARTIDA, RECNUMPRINC, "
      "CODFILIAL, CODIGOCENTROCUSTO) VALUES( :RECNUM, :CODCONTA, :VALOR, :PERCRATEIO, :DTLANC, :CONTRAPARTIDA, "
      ":RECNUMPRINC, :CODFILIAL, :CODIGOCENTROCUSTO)";
  EXPECT_EQ(Dal::montarSQLInserirRateioCentroCusto(false).Text(), lancado);
  std::string retido = lancado;
  retido.replace(retido.find("ZTRATEIOCENTROCUSTO"), 19, "ZTRATEIOCENTROCUSTOBLOQ");
  EXPECT_EQ(Dal::montarSQLInserirRateioCentroCusto(true).Text(), retido);
}

using Kinds = std::vector<std::pair<std::string, TParamKind>>;

Kinds KindsOf(TOraQuery& query) {
  Kinds kinds;
  for (std::size_t indice = 0; indice < query.Params().Count(); ++indice) {
    kinds.emplace_back(query.Params()[indice].Name(), query.Params()[indice].Kind());
  }
  return kinds;
}

// Numbers as numbers, the date with its time, branch, counterpart and cost center as text; a date
// not set is NULL, not the host's day zero.
TEST(AccountSplitSql, WritersBindNumbersDatesAndTexts) {
  const TDateTime dia = TDateTime::EncodeDateTime(2030, 5, 10, 14, 30, 0);
  TOraQuery conta;
  conta.SQL.SetText(Dal::montarSQLInserirRateioConta().Text());
  Dal::VincularRateioConta(conta, 71, 3101, 33.33, 33.33, dia, "N", 70, "1", 5);
  EXPECT_EQ(KindsOf(conta), (Kinds{{"RECNUM", TParamKind::pkFloat},
                                   {"CODCONTA", TParamKind::pkFloat},
                                   {"VALOR", TParamKind::pkFloat},
                                   {"PERCRATEIO", TParamKind::pkFloat},
                                   {"DTLANC", TParamKind::pkDateTime},
                                   {"CONTRAPARTIDA", TParamKind::pkString},
                                   {"RECNUMPRINC", TParamKind::pkFloat},
                                   {"CODFILIAL", TParamKind::pkString},
                                   {"CODRATEIOCONTA", TParamKind::pkFloat}}));
  EXPECT_EQ(conta.ParamByName("DTLANC").WireValue(), "2030-05-10 14:30:00");
  EXPECT_EQ(conta.ParamByName("VALOR").WireValue(), "33.33");

  TOraQuery centro;
  centro.SQL.SetText(Dal::montarSQLInserirRateioCentroCusto(false).Text());
  Dal::VincularRateioCentroCusto(centro, 71, 3101, "1.01", 11.11, 33.33, TDateTime(), "N", 70, "1");
  EXPECT_EQ(KindsOf(centro), (Kinds{{"RECNUM", TParamKind::pkFloat},
                                    {"CODCONTA", TParamKind::pkFloat},
                                    {"VALOR", TParamKind::pkFloat},
                                    {"PERCRATEIO", TParamKind::pkFloat},
                                    {"DTLANC", TParamKind::pkNull},
                                    {"CONTRAPARTIDA", TParamKind::pkString},
                                    {"RECNUMPRINC", TParamKind::pkFloat},
                                    {"CODFILIAL", TParamKind::pkString},
                                    {"CODIGOCENTROCUSTO", TParamKind::pkString}}));
  EXPECT_EQ(centro.ParamByName("CODIGOCENTROCUSTO").WireValue(), "1.01");
}

}  // namespace
