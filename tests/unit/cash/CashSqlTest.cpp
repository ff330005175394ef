#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cash/Uclsfin_dalmovimentacaonumerarios.h"
#include "sdk/Exception.h"

namespace {

using DAL = TDALMovimentacaoNumerarios;
using Movement = RFin_IncluirMovimentacaoNumerarios;

// The movement insert's column list; its VALUES list must bind each column by its own name.
std::string Columns(void (*set)(Movement&)) {
  Movement p;
  p.Inicializar();
  set(p);
  const std::string text = DAL::GetSQLInserirZTMOVCR(p).Text();
  const auto list = [&text](std::size_t from) {
    const std::size_t start = text.find('(', from) + 1;
    std::string names = text.substr(start, text.find(')', start) - start);
    for (std::size_t at; (at = names.find("\n  ")) != std::string::npos;) names.erase(at, 3);
    return names;
  };
  const std::string columns = list(0);
  std::string binds = ":" + columns;
  for (std::size_t at = 0; (at = binds.find(", ", at)) != std::string::npos; at += 3) binds.insert(at + 2, ":");
  EXPECT_EQ(list(text.find("VALUES")), binds);
  return columns;
}

TEST(CashMovementInsert, WritesAnOptionalColumnOnlyWhenItIsSet) {
  const std::vector<std::pair<std::string, void (*)(Movement&)>> cases = {
      {"", [](Movement&) {}},
      // Negative account codes and operations are not set.
      {"", [](Movement& p) { p.CODCONTADEB = -1, p.CODCONTACRED = -5, p.OPERACAO = -99; }},
      {"CODCONTADEB", [](Movement& p) { p.CODCONTADEB = 1101; }},
      {"CODCONTACRED", [](Movement& p) { p.CODCONTACRED = 2101; }},
      {"OPERACAO", [](Movement& p) { p.OPERACAO = 99; }},
      {"NUMASSOCDNI", [](Movement& p) { p.NUMASSOCDNI = 7; }},
      {"DTASSOCIADNICLI", [](Movement& p) { p.DTASSOCIADNICLI = TDateTime::EncodeDate(2025, 1, 2); }},
      {"CODFUNCDNICLI", [](Movement& p) { p.CODFUNCDNICLI = 3; }},
      {"CODCLI", [](Movement& p) { p.CODCLI = 55; }},
      {"CODFILIAL", [](Movement& p) { p.CODFILIAL = "01"; }}};
  for (const auto& [column, set] : cases) {
    std::string columns = Columns(set);
    if (!column.empty()) {
      const std::size_t at = columns.find(", " + column);
      ASSERT_NE(at, std::string::npos) << column;
      columns.erase(at, column.size() + 2);
    }
    EXPECT_EQ(columns,
              "NUMTRANS, DATA, CODBANCO, CODCOB, HISTORICO, HISTORICO2, VALOR, TIPO, NUMCARR, NUMDOC, VLSALDO, HORA, "
              "MINUTO, CODFUNC, INDICE, CODROTINALANC")
        << column;
  }
}

TEST(CashMovementInsert, EveryColumnInItsOrder) {
  EXPECT_EQ(Columns([](Movement& p) {
              p.CONCILIACAO = "OK", p.CODCONTADEB = 1, p.CODCONTACRED = 2, p.OPERACAO = 3, p.NUMASSOCDNI = 4;
              p.DTASSOCIADNICLI = TDateTime::EncodeDate(2025, 1, 2), p.CODFUNCDNICLI = 5, p.CODCLI = 6;
              p.CODFILIAL = "01";
            }),
            "NUMTRANS, DATA, CODBANCO, CODCOB, HISTORICO, HISTORICO2, VALOR, TIPO, NUMCARR, NUMDOC, VLSALDO, "
            "VLSALDOCONCIL, DTCONCIL, CODFUNCCONCIL, CONCILIACAO, DTCOMPENSACAO, HORA, MINUTO, CODFUNC, CODCONTADEB, "
            "CODCONTACRED, OPERACAO, INDICE, CODROTINALANC, NUMASSOCDNI, DTASSOCIADNICLI, CODFUNCDNICLI, CODCLI, "
            "CODFILIAL");
}

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
  const std::vector<std::pair<TStringList, std::string>> cases = {
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

// The command-line host refuses what the database would refuse: the record's text widths are
// the widths of the ZTMOVCR columns they fill.
TEST(CashMovementRecord, TextWidthsMatchTheMovementTable) {
  std::ifstream schema(std::string(QUORVIN_SOURCE_DIR) + "/platform/schema/030_cash.sql");
  std::stringstream all;
  all << schema.rdbuf();
  const std::size_t start = all.str().find("CREATE TABLE IF NOT EXISTS ZTMOVCR");
  ASSERT_NE(start, std::string::npos) << "030_cash.sql without ZTMOVCR";
  std::stringstream lines(all.str().substr(start, all.str().find(");", start) - start));
  std::map<std::string, std::size_t> widths;
  for (std::string name, type; lines >> name >> type; lines.ignore(1000, '\n')) {
    if (type.rfind("varchar(", 0) == 0) widths[name] = std::stoul(type.substr(8));
  }
  std::map<std::string, std::size_t> record;
  for (const auto& field : CamposIncluirMovimentacaoNumerarios()) {
    if (field.Kind == FieldKind::Text && std::string(field.Name) != "MENSAGEM") record[field.Name] = field.MaxChars;
  }
  EXPECT_FALSE(widths.empty());
  EXPECT_EQ(record, widths);
}

}  // namespace
