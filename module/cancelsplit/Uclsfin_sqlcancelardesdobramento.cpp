// Statement texts of the cancellation's writes.
#include "cancelsplit/Uclsfin_dalcancelardesdobramento.h"

namespace {

// "c1, c2, ..." of a column list, each name checked before it is pasted.
std::string Lista(const std::vector<std::string>& colunas) {
  std::string lista;
  for (const std::string& coluna : colunas) {
    if (!lista.empty()) lista += ", ";
    lista += NomeDeCampo(coluna);
  }
  return lista;
}

}  // namespace

// ---- ZTPREST

std::string TDAOModoZTPrest::GetSQLBaixar() {
  return "DECLARE CR T_ZT_CONTASRECEBER; BEGIN CR := T_ZT_CONTASRECEBER(:CODFUNC); "
         "CR.BUSCARREGISTRO(:NUMTRANSVENDA,:PREST); CR.DESDOBRAR; END;";
}

// The title as it is now becomes its copy, unless it has one.
std::string TDAOModoZTPrest::GetSQLReplicarParaBaixa(const std::vector<std::string>& colunas) {
  const std::string lista = Lista(colunas);
  return "INSERT INTO ZTDESDPREST (" + lista + ", OPERACAODESD, QTREPLICAS) SELECT " + lista +
         ", 'TONormal', 0 FROM ZTPREST WHERE NUMTRANSVENDA = :NUMTRANSVENDA AND PREST = :PREST AND NOT EXISTS "
         "(SELECT 1 FROM ZTDESDPREST R WHERE R.NUMTRANSVENDA = :NUMTRANSVENDA AND R.PREST = :PREST)";
}

std::string TDAOModoZTPrest::GetSQLContarReplica() {
  return "UPDATE ZTDESDPREST SET QTREPLICAS = NVL(QTREPLICAS, 0) + 1 WHERE NUMTRANSVENDA = :NUMTRANSVENDA AND PREST = "
         ":PREST";
}

std::string TDAOModoZTPrest::GetSQLProximaPrest() {
  return "SELECT FNC_GETPROXIMAPREST(:NUMTRANSVENDA) FROM DUAL";
}

std::string TDAOModoZTPrest::GetSQLVincular() {
  return GetSQLInserir("ZTDESD", {"NUMTRANSVENDAORIG", "PRESTORIG", "NUMTRANSVENDADEST", "PRESTDEST", "DTLANC",
                                  "CODCLI", "CODCLIORIG", "CODCLIDEST", "CODFUNCCXMOT", "CODROTINA"});
}

std::string TDAOModoZTPrest::GetSQLAtualizarCampo(const std::string& campo) {
  return "UPDATE ZTPREST SET " + NomeDeCampo(campo) +
         " = :VALOR_CAMPO WHERE NUMTRANSVENDA = :NUMTRANSVENDA AND PREST = :PREST";
}

// ---- ZTLANC

std::string TDAOModoZTLanc::GetSQLBaixar() {
  return "UPDATE ZTLANC SET VPAGO = NVL(ZTLANC.VALOR, 0) - NVL(ZTLANC.VALORDEV, 0), VPAGOBORDERO = CASE WHEN NUMTRANS "
         "IS NOT NULL AND NUMBORDERO IS NULL AND NUMCHEQUE2 IS NULL THEN NULL ELSE NVL(VALOR,0) - NVL(VALORDEV,0) + "
         "NVL(TXPERM,0) - NVL(DESCONTOFIN,0) + NVL(VLVARIACAOCAMBIAL,0) END, DTPAGTO = TRUNC(SYSDATE), CODFUNCBAIXA = "
         ":CODFUNC, NUMTRANS = NULL, CODROTINABAIXA = 737, DTCANCEL = TRUNC(SYSDATE) WHERE RECNUM = :RECNUM";
}

// The entry as it is now becomes its copy, unless it has one.
std::string TDAOModoZTLanc::GetSQLReplicarParaBaixa(const std::vector<std::string>& colunas) {
  const std::string lista = Lista(colunas);
  return "INSERT INTO ZTDESDLANCOPERACAO (" + lista + ", OPERACAODESD, CODROTINADESD) SELECT " + lista +
         ", 'NORMAL', :CODROTINADESD FROM ZTLANC WHERE RECNUM = :RECNUM AND NOT EXISTS (SELECT 1 FROM "
         "ZTDESDLANCOPERACAO R WHERE R.RECNUM = :RECNUM)";
}

std::string TDAOModoZTLanc::GetSQLVincular() {
  return GetSQLInserir("ZTDESDLANC", {"RECNUMORIG", "RECNUMDESTINO", "DTLANC", "NUMTRANSENT", "CODCONTA", "VALOR",
                                      "VALORDEV", "DESCONTOFIN", "TXPERM", "NUMNOTA", "DUPLIC", "CODFILIAL", "INDICE",
                                      "CODFORNEC", "TIPOPARCEIRO", "HISTORICO"});
}

std::string TDAOModoZTLanc::GetSQLAtualizarCampo(const std::string& campo) {
  return "UPDATE ZTLANC SET " + NomeDeCampo(campo) + " = :VALOR_CAMPO WHERE RECNUM = :RECNUM";
}

// ---- ZTCRECLI

std::string TDAOZTCreCli::GetSQLAtualizarCampo(const std::string& campo) {
  return "UPDATE ZTCRECLI SET " + NomeDeCampo(campo) + " = :VALOR_CAMPO WHERE CODIGO = :CODIGO";
}
