#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cash/Uclsfin_dalmovimentacaonumerarios.h"
#include "rtl/Exception.h"

namespace {

using DAL = TDALMovimentacaoNumerarios;
using Movement = RFin_IncluirMovimentacaoNumerarios;

const std::string kWalk =
    "SELECT ROWID, NUMTRANS, DTCONCIL, VALOR, TIPO, NUMCARR, CODBANCO, CODCOB, VLSALDOCONCIL,\n       DTCOMPENSACAO\n"
    "  FROM ZTMOVCR\n WHERE CODBANCO = :CODBANCO\n   AND CODCOB   = :CODMOEDA\n";
const std::string kMonthSums =
    "SELECT EXTRACT(YEAR FROM ZTMOVCR.DTCOMPENSACAO) ANO\n     , EXTRACT(MONTH FROM ZTMOVCR.DTCOMPENSACAO) MES\n"
    "     , SUM(DECODE(ZTMOVCR.TIPO, 'C', ZTMOVCR.VALOR, 0)) VALORCREDITO\n"
    "     , SUM(DECODE(ZTMOVCR.TIPO, 'D', ZTMOVCR.VALOR, 0)) VALORDEBITO\n  FROM ZTMOVCR\n"
    " WHERE ZTMOVCR.CODBANCO = :CODBANCO\n   AND ZTMOVCR.CODCOB = :CODCOB\n   AND ZTMOVCR.CONCILIACAO = 'OK'\n"
    "   AND ZTMOVCR.DTCOMPENSACAO IS NOT NULL\n";
const std::string kMonthGroup =
    " GROUP BY EXTRACT(YEAR FROM ZTMOVCR.DTCOMPENSACAO), EXTRACT(MONTH FROM ZTMOVCR.DTCOMPENSACAO)\n ORDER BY ";
const std::string kMonthKey =
    "\n WHERE CODBANCO = :CODBANCO\n   AND CODMOEDA = :CODMOEDA\n   AND MES      = :MES\n"
    "   AND ANO      = :ANO";
const std::string kMonthReset =
    "UPDATE ZTESTCRCOMPENSACAO\nSET VALORCREDITO = 0,\nVALORDEBITO  = 0,\n    SALDO        = :SALDOFINAL,\n"
    "    SALDOINICIAL = :SALDOINICIAL\n WHERE CODBANCO = :CODBANCO\n   AND CODMOEDA = :CODMOEDA\n   AND (ANO || MES) ";
const std::string kMonthDate =
    "TO_DATE(('01/' || ZTESTCRCOMPENSACAO.MES || '/' || ZTESTCRCOMPENSACAO.ANO), 'DD/MM/YYYY')";

// Every statement the area sends, as sent. The balance row is moved by the database itself when
// it is not locked first, never written back from a value read earlier; the plain rebuild walks
// the account in date order, the reconciled one skips operation 99 in reconciliation order; the
// monthly sums run newest first before the start date and oldest first after it.
TEST(CashStatements, AreSentAsWritten) {
  // A movement's optional columns are written only when set; negative account codes and
  // operations are not set.
  Movement nenhum;
  nenhum.Inicializar();
  nenhum.CODCONTADEB = -1, nenhum.CODCONTACRED = -5, nenhum.OPERACAO = -99;
  Movement todos;
  todos.Inicializar();
  todos.CONCILIACAO = "OK", todos.CODCONTADEB = 1, todos.CODCONTACRED = 2, todos.OPERACAO = 3, todos.NUMASSOCDNI = 4;
  todos.DTASSOCIADNICLI = TDateTime::EncodeDate(2025, 1, 2), todos.CODFUNCDNICLI = 5, todos.CODCLI = 6;
  todos.CODFILIAL = "01";
  const std::vector<std::pair<TStringList, std::string>> cases = {
      {DAL::GetSQLInserirZTMOVCR(nenhum),
       "INSERT INTO ZTMOVCR\n  (NUMTRANS, DATA, CODBANCO, CODCOB, HISTORICO, HISTORICO2, VALOR, TIPO, NUMCARR, NUMDOC, "
       "VLSALDO\n  , HORA, MINUTO, CODFUNC\n  , INDICE, CODROTINALANC\n  )\nVALUES\n  (:NUMTRANS, :DATA, :CODBANCO, "
       ":CODCOB, :HISTORICO, :HISTORICO2, :VALOR, :TIPO, :NUMCARR, :NUMDOC, :VLSALDO\n  , :HORA, :MINUTO, :CODFUNC\n"
       "  , :INDICE, :CODROTINALANC\n  )"},
      {DAL::GetSQLInserirZTMOVCR(todos),
       "INSERT INTO ZTMOVCR\n  (NUMTRANS, DATA, CODBANCO, CODCOB, HISTORICO, HISTORICO2, VALOR, TIPO, NUMCARR, NUMDOC, "
       "VLSALDO\n  , VLSALDOCONCIL, DTCONCIL, CODFUNCCONCIL, CONCILIACAO, DTCOMPENSACAO\n  , HORA, MINUTO, CODFUNC\n"
       "  , CODCONTADEB\n  , CODCONTACRED\n  , OPERACAO\n  , INDICE, CODROTINALANC\n  , NUMASSOCDNI\n  , "
       "DTASSOCIADNICLI\n  , CODFUNCDNICLI\n  , CODCLI\n  , CODFILIAL\n  )\nVALUES\n  (:NUMTRANS, :DATA, :CODBANCO, "
       ":CODCOB, :HISTORICO, :HISTORICO2, :VALOR, :TIPO, :NUMCARR, :NUMDOC, :VLSALDO\n  , :VLSALDOCONCIL, :DTCONCIL, "
       ":CODFUNCCONCIL, :CONCILIACAO, :DTCOMPENSACAO\n  , :HORA, :MINUTO, :CODFUNC\n  , :CODCONTADEB\n  , "
       ":CODCONTACRED\n  , :OPERACAO\n  , :INDICE, :CODROTINALANC\n  , :NUMASSOCDNI\n  , :DTASSOCIADNICLI\n  , "
       ":CODFUNCDNICLI\n  , :CODCLI\n  , :CODFILIAL\n  )"},
      {DAL::GetSQLSaldoZTESTCR(false), "SELECT *\nFROM ZTESTCR\nWHERE CODCOB   = :CODCOB\n  AND CODBANCO = :CODBANCO"},
      {DAL::GetSQLSaldoZTESTCR(true),
       "SELECT *\nFROM ZTESTCR\nWHERE CODCOB   = :CODCOB\n  AND CODBANCO = :CODBANCO\n FOR UPDATE "},
      {DAL::GetSQLAtualizarSaldoEditado(),
       "UPDATE ZTESTCR\n   SET VALOR           = :VALOR,\n       VALORCONCILIADO = :VALORCONCILIADO,\n"
       "       DTULTCONCILIA   = :DTULTCONCILIA\n WHERE CODCOB   = :OLD_CODCOB\n   AND CODBANCO = :OLD_CODBANCO"},
      {DAL::GetSQLSomarSaldoZTESTCR(false),
       "UPDATE ZTESTCR\n   SET VALOR           = NVL(VALOR, 0) + :VALOR\n WHERE CODCOB   = :CODCOB\n"
       "   AND CODBANCO = :CODBANCO"},
      {DAL::GetSQLSomarSaldoZTESTCR(true),
       "UPDATE ZTESTCR\n   SET VALOR           = NVL(VALOR, 0) + :VALOR\n"
       "     , VALORCONCILIADO = NVL(VALORCONCILIADO, 0) + :VALORCONCILIADO\n"
       "     , DTULTCONCILIA   = :DTULTCONCILIA\n WHERE CODCOB   = :CODCOB\n   AND CODBANCO = :CODBANCO"},
      {DAL::GetSQLInserirZTESTCR(), "INSERT INTO ZTESTCR (CODCOB, CODBANCO, VALOR) \nVALUES (:CODCOB, :CODBANCO, 0)"},
      {DAL::GetSQLConciliacaoSaldoZTESTCR(),
       "SELECT * FROM ZTESTCR \nWHERE CODCOB = :CODCOB AND CODBANCO = :CODBANCO "},
      {DAL::GetSQLConciliacaoInserirZTESTCR(),
       "INSERT INTO ZTESTCR (CODCOB, CODBANCO, VALOR) \nVALUES (:CODCOB, :CODBANCO, 0) "},
      {DAL::GetSQLInserirZTESTCRZerado(),
       "INSERT INTO ZTESTCR (CODCOB, CODBANCO, VALOR, VALORCONCILIADO) \nVALUES (:CODCOB, :CODBANCO, 0, 0)"},
      {DAL::GetSQLMovimentacaoConciliavel("12"),
       "SELECT ROWID\n  FROM ZTMOVCR\n WHERE ROWID = '12'\n   AND CODCOB = :CODCOB\n   AND CODBANCO = :CODBANCO\n"
       "   AND ((DTCONCIL IS NULL) OR (CONCILIACAO <> 'OK'))"},
      {DAL::GetSQLConciliarZTMOVCR("12"),
       "UPDATE ZTMOVCR\n   SET CONCILIACAO   = 'OK',\n       DTCONCIL      = SYSDATE,\n"
       "       VLSALDOCONCIL = :VLSALDOCONCIL,\n       CODFUNCCONCIL = :CODFUNCCONCIL,\n"
       "       DTCOMPENSACAO = :DTCOMPENSACAO\n WHERE ROWID = '12'\n   AND CODCOB = :CODCOB\n"
       "   AND ((DTCONCIL IS NULL) OR (CONCILIACAO <> 'OK'))"},
      {DAL::GetSQLMovimentacoesSaldo(false), kWalk + "ORDER BY ZTMOVCR.DATA, ZTMOVCR.NUMTRANS"},
      {DAL::GetSQLMovimentacoesSaldo(true), kWalk + "AND  TRUNC(ZTMOVCR.DATA) BETWEEN :DATAINICIAL AND :DATAFINAL\n"
                                                    "ORDER BY ZTMOVCR.DATA, ZTMOVCR.NUMTRANS"},
      {DAL::GetSQLMovimentacoesSaldoConciliado(true),
       kWalk + "   AND CONCILIACAO = 'OK'\n   AND ((OPERACAO <> 99) OR (OPERACAO IS NULL))\n"
               "AND  TRUNC(ZTMOVCR.DTCONCIL) BETWEEN :DATAINICIAL AND :DATAFINAL\n"
               "ORDER BY ZTMOVCR.DTCONCIL, ZTMOVCR.DATA, ZTMOVCR.NUMTRANS"},
      {DAL::GetSQLGravarVLSALDO(), "UPDATE ZTMOVCR SET VLSALDO = :VALOR WHERE  NUMTRANS = :NUMTRANS AND ROWID = :ID"},
      {DAL::GetSQLGravarVLSALDOCONCIL(),
       "UPDATE ZTMOVCR SET VLSALDOCONCIL = :VALOR WHERE  NUMTRANS = :NUMTRANS AND ROWID = :ID"},
      {DAL::GetSQLAtualizarZTESTCR(true),
       "UPDATE ZTESTCR\n   SET VALORCONCILIADO = :VALOR,\n       DTULTCONCILIA   = SYSDATE\n"
       "WHERE CODBANCO = :CODBANCO\n AND CODCOB = :CODCOB"},
      {DAL::GetSQLAtualizarZTESTCR(false),
       "UPDATE ZTESTCR\n   SET VALOR = :VALOR\nWHERE CODBANCO = :CODBANCO\n AND CODCOB = :CODCOB"},
      {DAL::GetSQLSomasMensais(kDirecaoMesesAnteriores),
       kMonthSums + "   AND ZTMOVCR.DTCOMPENSACAO < :DATAINICIAL\n" + kMonthGroup +
           "EXTRACT(YEAR FROM ZTMOVCR.DTCOMPENSACAO) DESC, EXTRACT(MONTH FROM ZTMOVCR.DTCOMPENSACAO) DESC"},
      {DAL::GetSQLSomasMensais(kDirecaoMesesPosteriores),
       kMonthSums + "   AND ZTMOVCR.DTCOMPENSACAO BETWEEN :DATAINICIAL AND TRUNC(SYSDATE)\n" + kMonthGroup +
           "EXTRACT(YEAR FROM ZTMOVCR.DTCOMPENSACAO), EXTRACT(MONTH FROM ZTMOVCR.DTCOMPENSACAO)"},
      {DAL::GetSQLExisteZTESTCRCompensacao(),
       "SELECT COUNT(*) QTD\n  FROM ZTESTCRCOMPENSACAO\n WHERE CODBANCO = :CODBANCO\n   AND MES      = :MES\n"
       "   AND CODMOEDA = :CODMOEDA\n   AND ANO      = :ANO"},
      {DAL::GetSQLAtualizarZTESTCRCOMPENSACAO(false, false),
       "UPDATE ZTESTCRCOMPENSACAO\n   SET VALORCREDITO = VALORCREDITO + :VALORCREDITO,        \n"
       "       VALORDEBITO  = VALORDEBITO  + :VALORDEBITO,         \n"
       "       SALDO        = SALDO + :VALORDEBITO - :VALORCREDITO " +
           kMonthKey},
      {DAL::GetSQLAtualizarZTESTCRCOMPENSACAO(true, false),
       "UPDATE ZTESTCRCOMPENSACAO\n   SET VALORCREDITO = :VALORCREDITO,\n       VALORDEBITO  = :VALORDEBITO,\n"
       "       SALDOINICIAL = :SALDOINICIAL,\n       SALDO        = :SALDO" +
           kMonthKey},
      // Only a rebuild with a start date writes it.
      {DAL::GetSQLAtualizarZTESTCRCOMPENSACAO(true, true),
       "UPDATE ZTESTCRCOMPENSACAO\n   SET VALORCREDITO = :VALORCREDITO,\n       VALORDEBITO  = :VALORDEBITO,\n"
       "       SALDOINICIAL = :SALDOINICIAL,\n       SALDO        = :SALDO\n     , DATASALDOINICIAL = "
       ":DATASALDOINICIAL " +
           kMonthKey},
      {DAL::GetSQLInserirZTESTCRCOMPENSACAO(),
       "INSERT INTO ZTESTCRCOMPENSACAO(MES, ANO, CODBANCO, CODMOEDA, VALORDEBITO, VALORCREDITO, DATASALDOINICIAL, "
       "SALDO, SALDOINICIAL)\nVALUES(:MES, :ANO, :CODBANCO, :CODMOEDA, :VALORDEBITO, :VALORCREDITO, "
       ":DATASALDOINICIAL, :SALDO, :SALDOINICIAL)"},
      // The reset of the months without movements looks past the given month.
      {DAL::GetSQLLimparMesesSemMovimentacao(kDirecaoMesesPosteriores), kMonthReset + "> :ANOMES"},
      {DAL::GetSQLLimparMesesSemMovimentacao(kDirecaoMesesAnteriores), kMonthReset + "< :ANOMES"},
      {DAL::GetSQLSaldoMes(),
       "SELECT SALDO\n  FROM ZTESTCRCOMPENSACAO\n WHERE CODBANCO = :CODBANCO\n   AND CODMOEDA = :CODMOEDA\n"
       "   AND ANO      = :ANO\n   AND MES      = :MES"},
      {DAL::GetSQLSaldoInicialCompensacao(),
       "SELECT SALDOINICIAL\n  FROM ZTESTCRCOMPENSACAO\n WHERE CODBANCO = :CODBANCO\n   AND CODMOEDA = :CODMOEDA\n"
       "   AND (ANO || MES) = (SELECT MIN(ANO || MES)\n                         FROM ZTESTCRCOMPENSACAO\n"
       "                        WHERE CODBANCO = :CODBANCO\n                          AND CODMOEDA = :CODMOEDA)"},
      {DAL::GetSQLSaldoFinalUltimoMes(),
       "SELECT SUM(NVL(ZTESTCRCOMPENSACAO.SALDO, 0)) SALDO\n  FROM ZTESTCRCOMPENSACAO\n"
       " WHERE ZTESTCRCOMPENSACAO.CODBANCO = :CODBANCO\n   AND ZTESTCRCOMPENSACAO.CODMOEDA = :CODMOEDA\n   AND " +
           kMonthDate + " =\n       (SELECT MAX(" + kMonthDate +
           ")\n          FROM ZTESTCRCOMPENSACAO\n         WHERE ZTESTCRCOMPENSACAO.CODBANCO = :CODBANCO\n"
           "           AND ZTESTCRCOMPENSACAO.CODMOEDA = :CODMOEDA\n           AND " +
           kMonthDate + " < :DTCONCIL)"}};
  for (const auto& [sql, text] : cases) EXPECT_EQ(sql.Text(), text);
}

// The row id is pasted into the text: anything but a row address is refused before any SQL.
TEST(CashReconciliationRowid, OnlyRowAddressesReachTheText) {
  for (const std::string rowid : {"", "1' OR '1' = '1", "12; DELETE FROM ZTMOVCR", "12 ", "AAAB-c"}) {
    try {
      (void)DAL::GetSQLConciliarZTMOVCR(rowid);
      ADD_FAILURE() << "accepted " << rowid;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Identificador de linha (ROWID) inválido: '" + rowid + "'.");
    }
    EXPECT_THROW((void)DAL::GetSQLMovimentacaoConciliavel(rowid), Exception) << rowid;
  }
  for (const std::string rowid : {"AAAR3sAAEAAAACXAAA", "AAAB+c/1", "123456"}) {
    EXPECT_NO_THROW((void)DAL::GetSQLConciliarZTMOVCR(rowid)) << rowid;
  }
}

}  // namespace
