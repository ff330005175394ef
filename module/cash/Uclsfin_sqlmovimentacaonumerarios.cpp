// The statement texts of the cash area's data access: each builds its SQL without running it.
#include <initializer_list>
#include <string>

#include "cash/Uclsfin_dalmovimentacaonumerarios.h"
#include "rtl/Exception.h"

namespace {

[[nodiscard]] TStringList Linhas(std::initializer_list<const char*> linhas) {
  TStringList sql;
  for (const char* linha : linhas) sql.Add(linha);
  return sql;
}

// A ROWID is pasted into the statement as a quoted literal: only the characters a row address
// is made of get there.
void ValidarROWID(const std::string& rowid) {
  bool valido = !rowid.empty() && rowid.size() <= 64;
  for (const char c : rowid) {
    const bool permitido =
        (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '+' || c == '/';
    if (!permitido) valido = false;
  }
  if (!valido) throw Exception("Identificador de linha (ROWID) inválido: '" + rowid + "'.");
}

}  // namespace

TStringList TDALMovimentacaoNumerarios::GetSQLSaldoZTESTCR(bool Travar) {
  TStringList sql = Linhas({"SELECT *", "FROM ZTESTCR", "WHERE CODCOB   = :CODCOB", "  AND CODBANCO = :CODBANCO"});
  if (Travar) sql.Add(" FOR UPDATE ");
  return sql;
}

TStringList TDALMovimentacaoNumerarios::GetSQLAtualizarSaldoEditado() {
  return Linhas({"UPDATE ZTESTCR", "   SET VALOR           = :VALOR,", "       VALORCONCILIADO = :VALORCONCILIADO,",
                 "       DTULTCONCILIA   = :DTULTCONCILIA", " WHERE CODCOB   = :OLD_CODCOB",
                 "   AND CODBANCO = :OLD_CODBANCO"});
}

TStringList TDALMovimentacaoNumerarios::GetSQLSomarSaldoZTESTCR(bool Conciliado) {
  TStringList sql = Linhas({"UPDATE ZTESTCR", "   SET VALOR           = NVL(VALOR, 0) + :VALOR"});
  if (Conciliado) {
    sql.Add("     , VALORCONCILIADO = NVL(VALORCONCILIADO, 0) + :VALORCONCILIADO");
    sql.Add("     , DTULTCONCILIA   = :DTULTCONCILIA");
  }
  sql.Add(" WHERE CODCOB   = :CODCOB");
  sql.Add("   AND CODBANCO = :CODBANCO");
  return sql;
}

TStringList TDALMovimentacaoNumerarios::GetSQLInserirZTESTCR() {
  return Linhas({"INSERT INTO ZTESTCR (CODCOB, CODBANCO, VALOR) ", "VALUES (:CODCOB, :CODBANCO, 0)"});
}

TStringList TDALMovimentacaoNumerarios::GetSQLInserirZTMOVCR(const RFin_IncluirMovimentacaoNumerarios& p) {
  const bool conciliado = !p.CONCILIACAO.empty();
  TStringList sql;
  sql.Add("INSERT INTO ZTMOVCR");
  sql.Add("  (NUMTRANS, DATA, CODBANCO, CODCOB, HISTORICO, HISTORICO2, VALOR, TIPO, NUMCARR, NUMDOC, VLSALDO");
  if (conciliado) sql.Add("  , VLSALDOCONCIL, DTCONCIL, CODFUNCCONCIL, CONCILIACAO, DTCOMPENSACAO");
  sql.Add("  , HORA, MINUTO, CODFUNC");
  if (p.CODCONTADEB > 0) sql.Add("  , CODCONTADEB");
  if (p.CODCONTACRED > 0) sql.Add("  , CODCONTACRED");
  if (p.OPERACAO > 0) sql.Add("  , OPERACAO");
  sql.Add("  , INDICE, CODROTINALANC");
  if (p.NUMASSOCDNI != 0) sql.Add("  , NUMASSOCDNI");
  if (!p.DTASSOCIADNICLI.IsZero()) sql.Add("  , DTASSOCIADNICLI");
  if (p.CODFUNCDNICLI != 0) sql.Add("  , CODFUNCDNICLI");
  if (p.CODCLI != 0) sql.Add("  , CODCLI");
  if (!p.CODFILIAL.empty()) sql.Add("  , CODFILIAL");
  sql.Add("  )");
  sql.Add("VALUES");
  sql.Add(
      "  (:NUMTRANS, :DATA, :CODBANCO, :CODCOB, :HISTORICO, :HISTORICO2, :VALOR, :TIPO, :NUMCARR, :NUMDOC, "
      ":VLSALDO");
  if (conciliado) sql.Add("  , :VLSALDOCONCIL, :DTCONCIL, :CODFUNCCONCIL, :CONCILIACAO, :DTCOMPENSACAO");
  sql.Add("  , :HORA, :MINUTO, :CODFUNC");
  if (p.CODCONTADEB > 0) sql.Add("  , :CODCONTADEB");
  if (p.CODCONTACRED > 0) sql.Add("  , :CODCONTACRED");
  if (p.OPERACAO > 0) sql.Add("  , :OPERACAO");
  sql.Add("  , :INDICE, :CODROTINALANC");
  if (p.NUMASSOCDNI != 0) sql.Add("  , :NUMASSOCDNI");
  if (!p.DTASSOCIADNICLI.IsZero()) sql.Add("  , :DTASSOCIADNICLI");
  if (p.CODFUNCDNICLI != 0) sql.Add("  , :CODFUNCDNICLI");
  if (p.CODCLI != 0) sql.Add("  , :CODCLI");
  if (!p.CODFILIAL.empty()) sql.Add("  , :CODFILIAL");
  sql.Add("  )");
  return sql;
}

TStringList TDALMovimentacaoNumerarios::GetSQLConciliacaoSaldoZTESTCR() {
  return Linhas({"SELECT * FROM ZTESTCR ", "WHERE CODCOB = :CODCOB AND CODBANCO = :CODBANCO "});
}

TStringList TDALMovimentacaoNumerarios::GetSQLConciliacaoInserirZTESTCR() {
  return Linhas({"INSERT INTO ZTESTCR (CODCOB, CODBANCO, VALOR) ", "VALUES (:CODCOB, :CODBANCO, 0) "});
}

TStringList TDALMovimentacaoNumerarios::GetSQLMovimentacaoConciliavel(const std::string& psROWID) {
  ValidarROWID(psROWID);
  TStringList sql = Linhas({"SELECT ROWID", "  FROM ZTMOVCR"});
  sql.Add(" WHERE ROWID = '" + psROWID + "'");
  sql.Add("   AND CODCOB = :CODCOB");
  sql.Add("   AND CODBANCO = :CODBANCO");
  sql.Add("   AND ((DTCONCIL IS NULL) OR (CONCILIACAO <> 'OK'))");
  return sql;
}

TStringList TDALMovimentacaoNumerarios::GetSQLConciliarZTMOVCR(const std::string& psROWID) {
  ValidarROWID(psROWID);
  TStringList sql = Linhas({"UPDATE ZTMOVCR", "   SET CONCILIACAO   = 'OK',", "       DTCONCIL      = SYSDATE,",
                            "       VLSALDOCONCIL = :VLSALDOCONCIL,", "       CODFUNCCONCIL = :CODFUNCCONCIL,",
                            "       DTCOMPENSACAO = :DTCOMPENSACAO"});
  sql.Add(" WHERE ROWID = '" + psROWID + "'");
  sql.Add("   AND CODCOB = :CODCOB");
  sql.Add("   AND ((DTCONCIL IS NULL) OR (CONCILIACAO <> 'OK'))");
  return sql;
}

TStringList TDALMovimentacaoNumerarios::GetSQLMovimentacoesSaldo(bool ComPeriodo) {
  TStringList sql =
      Linhas({"SELECT ROWID, NUMTRANS, DTCONCIL, VALOR, TIPO, NUMCARR, CODBANCO, CODCOB, VLSALDOCONCIL,",
              "       DTCOMPENSACAO", "  FROM ZTMOVCR", " WHERE CODBANCO = :CODBANCO", "   AND CODCOB   = :CODMOEDA"});
  if (ComPeriodo) sql.Add("AND  TRUNC(ZTMOVCR.DATA) BETWEEN :DATAINICIAL AND :DATAFINAL");
  sql.Add("ORDER BY ZTMOVCR.DATA, ZTMOVCR.NUMTRANS");
  return sql;
}

TStringList TDALMovimentacaoNumerarios::GetSQLMovimentacoesSaldoConciliado(bool ComPeriodo) {
  TStringList sql =
      Linhas({"SELECT ROWID, NUMTRANS, DTCONCIL, VALOR, TIPO, NUMCARR, CODBANCO, CODCOB, VLSALDOCONCIL,",
              "       DTCOMPENSACAO", "  FROM ZTMOVCR", " WHERE CODBANCO = :CODBANCO", "   AND CODCOB   = :CODMOEDA",
              "   AND CONCILIACAO = 'OK'", "   AND ((OPERACAO <> 99) OR (OPERACAO IS NULL))"});
  if (ComPeriodo) sql.Add("AND  TRUNC(ZTMOVCR.DTCONCIL) BETWEEN :DATAINICIAL AND :DATAFINAL");
  sql.Add("ORDER BY ZTMOVCR.DTCONCIL, ZTMOVCR.DATA, ZTMOVCR.NUMTRANS");
  return sql;
}

TStringList TDALMovimentacaoNumerarios::GetSQLMovimentacoesPosteriores(bool Conciliado) {
  TStringList sql =
      Linhas({"SELECT VALOR, TIPO", "  FROM ZTMOVCR", " WHERE CODBANCO = :CODBANCO", "   AND CODCOB   = :CODMOEDA"});
  if (Conciliado) {
    sql.Add("   AND CONCILIACAO = 'OK'");
    sql.Add("   AND ((OPERACAO <> 99) OR (OPERACAO IS NULL))");
    sql.Add("   AND TRUNC(ZTMOVCR.DTCONCIL) > :DATAFINAL");
  } else {
    sql.Add("   AND TRUNC(ZTMOVCR.DATA) > :DATAFINAL");
  }
  return sql;
}

TStringList TDALMovimentacaoNumerarios::GetSQLGravarVLSALDO() {
  return Linhas({"UPDATE ZTMOVCR SET VLSALDO = :VALOR WHERE  NUMTRANS = :NUMTRANS AND ROWID = :ID"});
}

TStringList TDALMovimentacaoNumerarios::GetSQLGravarVLSALDOCONCIL() {
  return Linhas({"UPDATE ZTMOVCR SET VLSALDOCONCIL = :VALOR WHERE  NUMTRANS = :NUMTRANS AND ROWID = :ID"});
}

TStringList TDALMovimentacaoNumerarios::GetSQLInserirZTESTCRZerado() {
  return Linhas(
      {"INSERT INTO ZTESTCR (CODCOB, CODBANCO, VALOR, VALORCONCILIADO) ", "VALUES (:CODCOB, :CODBANCO, 0, 0)"});
}

TStringList TDALMovimentacaoNumerarios::GetSQLAtualizarZTESTCR(bool Conciliado) {
  TStringList sql;
  sql.Add("UPDATE ZTESTCR");
  if (Conciliado) {
    sql.Add("   SET VALORCONCILIADO = :VALOR,");
    sql.Add("       DTULTCONCILIA   = SYSDATE");
  } else {
    sql.Add("   SET VALOR = :VALOR");
  }
  sql.Add("WHERE CODBANCO = :CODBANCO");
  sql.Add(" AND CODCOB = :CODCOB");
  return sql;
}

TStringList TDALMovimentacaoNumerarios::GetSQLSomasMensais(int Direcao) {
  TStringList sql = Linhas({"SELECT EXTRACT(YEAR FROM ZTMOVCR.DTCOMPENSACAO) ANO",
                            "     , EXTRACT(MONTH FROM ZTMOVCR.DTCOMPENSACAO) MES",
                            "     , SUM(DECODE(ZTMOVCR.TIPO, 'C', ZTMOVCR.VALOR, 0)) VALORCREDITO",
                            "     , SUM(DECODE(ZTMOVCR.TIPO, 'D', ZTMOVCR.VALOR, 0)) VALORDEBITO", "  FROM ZTMOVCR",
                            " WHERE ZTMOVCR.CODBANCO = :CODBANCO", "   AND ZTMOVCR.CODCOB = :CODCOB",
                            "   AND ZTMOVCR.CONCILIACAO = 'OK'", "   AND ZTMOVCR.DTCOMPENSACAO IS NOT NULL"});
  if (Direcao == kDirecaoMesesAnteriores) {
    sql.Add("   AND ZTMOVCR.DTCOMPENSACAO < :DATAINICIAL");
  } else {
    sql.Add("   AND ZTMOVCR.DTCOMPENSACAO BETWEEN :DATAINICIAL AND TRUNC(SYSDATE)");
  }
  sql.Add(" GROUP BY EXTRACT(YEAR FROM ZTMOVCR.DTCOMPENSACAO), EXTRACT(MONTH FROM ZTMOVCR.DTCOMPENSACAO)");
  if (Direcao == kDirecaoMesesAnteriores) {
    sql.Add(" ORDER BY EXTRACT(YEAR FROM ZTMOVCR.DTCOMPENSACAO) DESC, EXTRACT(MONTH FROM ZTMOVCR.DTCOMPENSACAO) DESC");
  } else {
    sql.Add(" ORDER BY EXTRACT(YEAR FROM ZTMOVCR.DTCOMPENSACAO), EXTRACT(MONTH FROM ZTMOVCR.DTCOMPENSACAO)");
  }
  return sql;
}

TStringList TDALMovimentacaoNumerarios::GetSQLExisteZTESTCRCompensacao() {
  return Linhas({"SELECT COUNT(*) QTD", "  FROM ZTESTCRCOMPENSACAO", " WHERE CODBANCO = :CODBANCO",
                 "   AND MES      = :MES", "   AND CODMOEDA = :CODMOEDA", "   AND ANO      = :ANO"});
}

TStringList TDALMovimentacaoNumerarios::GetSQLAtualizarZTESTCRCOMPENSACAO(bool Recalculo, bool ComDataInicial) {
  TStringList sql;
  sql.Add("UPDATE ZTESTCRCOMPENSACAO");
  if (Recalculo) {
    sql.Add("   SET VALORCREDITO = :VALORCREDITO,");
    sql.Add("       VALORDEBITO  = :VALORDEBITO,");
    sql.Add("       SALDOINICIAL = :SALDOINICIAL,");
    sql.Add("       SALDO        = :SALDO");
    if (ComDataInicial) sql.Add("     , DATASALDOINICIAL = :DATASALDOINICIAL ");
  } else {
    sql.Add("   SET VALORCREDITO = VALORCREDITO + :VALORCREDITO,        ");
    sql.Add("       VALORDEBITO  = VALORDEBITO  + :VALORDEBITO,         ");
    sql.Add("       SALDO        = SALDO + :VALORDEBITO - :VALORCREDITO ");
  }
  sql.Add(" WHERE CODBANCO = :CODBANCO");
  sql.Add("   AND CODMOEDA = :CODMOEDA");
  sql.Add("   AND MES      = :MES");
  sql.Add("   AND ANO      = :ANO");
  return sql;
}

TStringList TDALMovimentacaoNumerarios::GetSQLInserirZTESTCRCOMPENSACAO() {
  return Linhas(
      {"INSERT INTO ZTESTCRCOMPENSACAO(MES, ANO, CODBANCO, CODMOEDA, VALORDEBITO, VALORCREDITO, "
       "DATASALDOINICIAL, SALDO, SALDOINICIAL)",
       "VALUES(:MES, :ANO, :CODBANCO, :CODMOEDA, :VALORDEBITO, :VALORCREDITO, :DATASALDOINICIAL, :SALDO, "
       ":SALDOINICIAL)"});
}

TStringList TDALMovimentacaoNumerarios::GetSQLLimparMesesSemMovimentacao(int Direcao) {
  TStringList sql = Linhas({"UPDATE ZTESTCRCOMPENSACAO", "SET VALORCREDITO = 0,", "VALORDEBITO  = 0,",
                            "    SALDO        = :SALDOFINAL,", "    SALDOINICIAL = :SALDOINICIAL",
                            " WHERE CODBANCO = :CODBANCO", "   AND CODMOEDA = :CODMOEDA"});
  // ANO || MES ("2024" || "03") orders the months across years.
  if (Direcao == kDirecaoMesesPosteriores) {
    sql.Add("   AND (ANO || MES) > :ANOMES");
  } else {
    sql.Add("   AND (ANO || MES) < :ANOMES");
  }
  return sql;
}

TStringList TDALMovimentacaoNumerarios::GetSQLSaldoMes() {
  return Linhas({"SELECT SALDO", "  FROM ZTESTCRCOMPENSACAO", " WHERE CODBANCO = :CODBANCO",
                 "   AND CODMOEDA = :CODMOEDA", "   AND ANO      = :ANO", "   AND MES      = :MES"});
}

TStringList TDALMovimentacaoNumerarios::GetSQLSaldoInicialCompensacao() {
  return Linhas(
      {"SELECT SALDOINICIAL", "  FROM ZTESTCRCOMPENSACAO", " WHERE CODBANCO = :CODBANCO", "   AND CODMOEDA = :CODMOEDA",
       "   AND (ANO || MES) = (SELECT MIN(ANO || MES)", "                         FROM ZTESTCRCOMPENSACAO",
       "                        WHERE CODBANCO = :CODBANCO", "                          AND CODMOEDA = :CODMOEDA)"});
}

TStringList TDALMovimentacaoNumerarios::GetSQLSaldoFinalUltimoMes() {
  return Linhas(
      {"SELECT SUM(NVL(ZTESTCRCOMPENSACAO.SALDO, 0)) SALDO", "  FROM ZTESTCRCOMPENSACAO",
       " WHERE ZTESTCRCOMPENSACAO.CODBANCO = :CODBANCO", "   AND ZTESTCRCOMPENSACAO.CODMOEDA = :CODMOEDA",
       "   AND TO_DATE(('01/' || ZTESTCRCOMPENSACAO.MES || '/' || ZTESTCRCOMPENSACAO.ANO), 'DD/MM/YYYY') =",
       "       (SELECT MAX(TO_DATE(('01/' || ZTESTCRCOMPENSACAO.MES || '/' || ZTESTCRCOMPENSACAO.ANO), 'DD/MM/YYYY'))",
       "          FROM ZTESTCRCOMPENSACAO", "         WHERE ZTESTCRCOMPENSACAO.CODBANCO = :CODBANCO",
       "           AND ZTESTCRCOMPENSACAO.CODMOEDA = :CODMOEDA",
       "           AND TO_DATE(('01/' || ZTESTCRCOMPENSACAO.MES || '/' || ZTESTCRCOMPENSACAO.ANO), 'DD/MM/YYYY') < "
       ":DTCONCIL)"});
}
