#include <initializer_list>

#include "receivable/Uclsfin_dalcontasreceberinclusao.h"

namespace {

[[nodiscard]] TStringList Linhas(std::initializer_list<std::string> linhas) {
  TStringList sql;
  for (const std::string& linha : linhas) sql.Add(linha);
  return sql;
}

// The title's fields the insertion block assigns from binds of the same names, in order.
constexpr const char* kCamposIncluir[] = {"CODFILIAL", "NUMTRANSVENDA", "DUPLIC", "DTVENC",     "DTVENCORIG",
                                          "DTEMISSAO", "DTEMISSAOORIG", "CODCOB", "CODCOBORIG", "VALOR",
                                          "VALORORIG", "CODCLI",        "STATUS", "CODUSUR",    "OBS2"};

}  // namespace

// The object is built for the user who inserts, so the title records who wrote it.
TStringList TDALContasReceberTitulos::GetSQLIncluir(int usuario) {
  TStringList sql;
  sql.Add("DECLARE");
  sql.Add("  voCONTASRECEBER T_ZT_CONTASRECEBER;");
  sql.Add("BEGIN");
  sql.Add("  voCONTASRECEBER := T_ZT_CONTASRECEBER(" + std::to_string(usuario) + ");");
  for (const char* campo : kCamposIncluir) {
    sql.Add(std::string("  voCONTASRECEBER.") + campo + " := :" + campo + ";");
  }
  sql.Add("  voCONTASRECEBER.PREST := FNC_GETPROXIMAPREST(voCONTASRECEBER.NUMTRANSVENDA);");
  sql.Add("  voCONTASRECEBER.INSERIR;");
  sql.Add("END;");
  return sql;
}

// Inside the inserting transaction the sale stays locked, so the next free instalment is one past
// the instalment just taken.
TStringList TDALContasReceberTitulos::GetSQLPrestacaoIncluida() {
  return Linhas({"SELECT TO_CHAR(TO_NUMBER(FNC_GETPROXIMAPREST(:NUMTRANSVENDA)) - 1) PREST FROM DUAL"});
}

TStringList TDALContasReceberTitulos::GetSQLTituloDesdobradoPeloForcaVendas() {
  return Linhas({
      "SELECT COUNT(*) AS TOTAL",
      "  FROM ZTPREST P, ZTRECEBIMENTOFV R, ZTDESDRECEBIMENTOFV D",
      " WHERE P.NUMTRANSVENDA = D.NUMTRANSVENDA_ZTPREST",
      "   AND P.PREST = D.PREST_ZTPREST",
      "   AND R.NUMTRANSVENDA = D.NUMTRANSVENDA_ZTRECEBIMENTOFV",
      "   AND R.PREST = D.PREST_ZTRECEBIMENTOFV",
      "   AND NVL(R.CANCELADO,'N') = 'N'",
      "   AND NVL(D.DESDOBRAMENTOEFETUADO,'N') = 'N'",
      "   AND D.SEQUENCIAL_DESDOBRAMENTO IS NOT NULL",
      "   AND P.NUMTRANSVENDA = :NUMTRANSVENDA",
      "   AND P.PREST = :PREST",
  });
}

TStringList TDALContasReceberTitulos::GetSQLTituloEstaNaRotaDeAlgumRCA(bool movimento) {
  return Linhas({
      std::string("SELECT COUNT(*) AS TOTAL FROM ZTPREST P, ZTNFSAID N, ") +
          (movimento ? "ZTMOVROTACLI" : "ZTROTACLI") + " R",
      " WHERE P.NUMTRANSVENDA = N.NUMTRANSVENDA",
      "   AND N.CODUSUR = R.CODUSUR",
      "   AND N.CODCLI = R.CODCLI",
      "   AND N.CONDVENDA = 14",
      "   AND P.NUMTRANSVENDA = :NUMTRANSVENDA",
      "   AND P.PREST = :PREST",
      "   AND R.DIASEMANA = UPPER(:DIASEMANA)",
      "   AND R.NUMSEMANA = TO_CHAR(SYSDATE,'W')",
  });
}

TStringList TDALContasReceberTitulos::GetSQLCobrancaESupplierCard() {
  return Linhas({"SELECT NVL(COBSUPPLIERCARD,'N') AS COBSUPPLIERCARD FROM ZTCOB WHERE CODCOB = :CODCOB"});
}

TStringList TDALContasReceberTitulos::GetSQLRetornarStatusCobrancaSupplierCard() {
  return Linhas({
      "SELECT NVL(S.ENVIADOSUPPLI,'N') AS ENVIADOSUPPLI, S.APROVADOSUPPLI FROM ZTFILASUPPLI S WHERE S.NUMTRANSVENDA = "
      ":NUMTRANSVENDA AND S.TIPOINF = '1'",
  });
}

TStringList TDALContasReceberTitulos::GetSQLComunicarProrrogacaoCobrancaSupplierCard() {
  return Linhas({
      "INSERT INTO ZTFILASUPPLI(NUMTRANSVENDA, PREST, TIPOINF, DTHORAINC, CODROTINACAD) VALUES (:NUMTRANSVENDA, "
      ":PREST, 2, TRUNC(SYSDATE), :CODROTINACAD)",
  });
}
