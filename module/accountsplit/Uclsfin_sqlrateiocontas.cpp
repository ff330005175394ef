// The statement texts of the account apportionment's data access: each builds its SQL without
// running it.
#include <string>

#include "accountsplit/Uclsfin_dalrateiocontas.h"

namespace {

TStringList Linhas(std::initializer_list<const char*> linhas) {
  TStringList sql;
  for (const char* linha : linhas) sql.Add(linha);
  return sql;
}

}  // namespace

// The accounts of a named apportionment. The groups are joined outer, so an account without group
// keeps its share; the account order makes the last account (the one that takes the rounding
// remainders) the same every time.
TStringList TDALRateioContas::montarSQLBuscaRateioContas() {
  return Linhas({
      "SELECT I.CODRATEIOCONTA,",
      "       C.CONTA,",
      "       I.PERCENTUAL,",
      "       I.CODIGOCONTA,",
      "       C.GRUPOCONTA,",
      "       G.GRUPO,",
      "       C.USARATEIOCENTROCUSTO,",
      "       CASE WHEN (SELECT COUNT(L.CODIGON) QTD FROM ZTLIB L WHERE L.CODTABELA = 6 AND L.CODIGON= C.GRUPOCONTA "
      "AND L.CODFUNC = :CODFUNC AND ROWNUM = 1) >= 1 THEN 'S' ELSE 'N' END CONTATEMPERMISSAO_ZTLIB,",
      "       TRUNC(SYSDATE) DATA",
      "  FROM ZTITENSRATEIOPADRAOCONTA I, ZTCONTA C, ZTGRUPO G",
      " WHERE TO_NUMBER(I.CODIGOCONTA) = C.CODCONTA",
      "   AND C.GRUPOCONTA = G.CODGRUPO(+)",
      "   AND I.CODRATEIOCONTA = :CODRATEIOCONTA",
      " ORDER BY TO_NUMBER(I.CODIGOCONTA), I.PERCENTUAL",
  });
}

// The standard cost centers of an account; unlike the cost-center area's own loader, one the user
// may not use is listed too, with the flag 'N'. Table 10 keys its rows by CODIGOA (CODIGON stays
// empty there), so that is the column counted.
TStringList TDALRateioContas::montarSQLBuscaRateioCentroCusto() {
  return Linhas({
      "SELECT NVL(CO.CODIGOCENTROCUSTO, CO.CODCENTROCUSTO) CODIGOCENTROCUSTO,",
      "       CC.DESCRICAO DESCCENTROCUSTO,",
      "       CO.PERCRATEIO,",
      "       CASE WHEN (SELECT COUNT(L.CODIGOA) QTD FROM ZTLIB L WHERE L.CODTABELA = 10 AND L.CODIGOA = "
      "NVL(CO.CODIGOCENTROCUSTO, CO.CODCENTROCUSTO) AND L.CODFUNC = :CODFUNC AND ROWNUM = 1) >= 1 THEN 'S' ELSE 'N' "
      "END CCTEMPERMISSAO_ZTLIB,",
      "       TRUNC(SYSDATE) DATA",
      "  FROM ZTCONTACENTROCUSTO CO, ZTCENTROCUSTO CC",
      " WHERE NVL(CO.CODIGOCENTROCUSTO, CO.CODCENTROCUSTO) = NVL(CC.CODIGOCENTROCUSTO, CC.CODCENTROCUSTO)",
      "   AND CO.CODCONTA = :CODCONTA",
      "   AND NVL(CC.ATIVO, 'S') = 'S'",
      "   AND NVL(CC.RECEBE_LANCTO, 'S') = 'S'",
      " ORDER BY NVL(CO.CODIGOCENTROCUSTO, CO.CODCENTROCUSTO)",
  });
}

// The group joined outer, as in the accounts query.
TStringList TDALRateioContas::montarSQLDescricaoContaEGrupo() {
  return Linhas({
      "SELECT C.CODCONTA, C.CONTA, C.GRUPOCONTA, G.GRUPO FROM ZTCONTA C, ZTGRUPO G WHERE C.GRUPOCONTA = G.CODGRUPO(+) "
      "AND C.CODCONTA = :CODCONTA",
  });
}

TStringList TDALRateioContas::montarSQLUsaRateioCentroCusto() {
  return Linhas({"SELECT USARATEIOCENTROCUSTO FROM ZTCONTA WHERE CODCONTA = :CODCONTA"});
}

TStringList TDALRateioContas::montarSQLQuantidadeItensRateio() {
  return Linhas({"SELECT COUNT(*) QTD FROM ZTITENSRATEIOPADRAOCONTA WHERE CODRATEIOCONTA = :CODRATEIOCONTA"});
}

TStringList TDALRateioContas::montarSQLInserirRateioConta() {
  return Linhas({
      "INSERT INTO ZTRATEIOCONTAS( RECNUM, CODCONTA, VALOR, PERCRATEIO, DTLANC, CONTRAPARTIDA, RECNUMPRINC, CODFILIAL, "
      "CODRATEIOCONTA) VALUES( :RECNUM, :CODCONTA, :VALOR, :PERCRATEIO, :DTLANC, :CONTRAPARTIDA, :RECNUMPRINC, "
      ":CODFILIAL, :CODRATEIOCONTA)",
  });
}

TStringList TDALRateioContas::montarSQLInserirRateioCentroCusto(bool pRetido) {
  const std::string tabela = pRetido ? "ZTRATEIOCENTROCUSTOBLOQ" : "ZTRATEIOCENTROCUSTO";
  TStringList sql;
  sql.Add("INSERT INTO " + tabela +
          "( RECNUM, CODCONTA, VALOR, PERCRATEIO, DTLANC, CONTRAPARTIDA, RECNUMPRINC, CODFILIAL, CODIGOCENTROCUSTO) "
          "VALUES( :RECNUM, :CODCONTA, :VALOR, :PERCRATEIO, :DTLANC, :CONTRAPARTIDA, :RECNUMPRINC, :CODFILIAL, "
          ":CODIGOCENTROCUSTO)");
  return sql;
}
