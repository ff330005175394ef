#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cash/Uclsfin_dalmovimentacaonumerarios.h"
#include "sdk/Exception.h"

namespace {

using DAL = TDALMovimentacaoNumerarios;

std::vector<std::string> Between(const std::string& text, const std::string& open, const std::string& close,
                                 std::size_t from) {
  const std::size_t start = text.find(open, from);
  const std::size_t end = text.find(close, start);
  std::vector<std::string> items;
  std::stringstream list(text.substr(start + open.size(), end - start - open.size()));
  std::string item;
  while (std::getline(list, item, ',')) {
    item.erase(0, item.find_first_not_of(" \n"));
    item.erase(item.find_last_not_of(" \n") + 1);
    items.push_back(item);
  }
  return items;
}

// The insert's column list and its VALUES list, both in order.
struct InsertLists {
  std::vector<std::string> columns;
  std::vector<std::string> values;
};

InsertLists Lists(const TStringList& sql) {
  const std::string text = sql.Text();
  const std::size_t values = text.find("VALUES");
  return {Between(text, "(", ")", 0), Between(text, "(", ")", values)};
}

RFin_IncluirMovimentacaoNumerarios Movimento() {
  RFin_IncluirMovimentacaoNumerarios p;
  p.Inicializar();
  p.CODBANCO = 1;
  p.CODCOB = "D";
  p.VALOR = 10;
  p.TIPO = "D";
  return p;
}

const std::vector<std::string> kFixedColumns = {
    "NUMTRANS", "DATA",   "CODBANCO", "CODCOB", "HISTORICO", "HISTORICO2", "VALOR",  "TIPO",
    "NUMCARR",  "NUMDOC", "VLSALDO",  "HORA",   "MINUTO",    "CODFUNC",    "INDICE", "CODROTINALANC"};

TEST(CashMovementInsert, LeavesOptionalColumnsOutWhenNotSet) {
  const InsertLists lists = Lists(DAL::GetSQLInserirZTMOVCR(Movimento()));
  EXPECT_EQ(lists.columns, kFixedColumns);
}

struct OptionalColumnCase {
  std::string column;
  void (*set)(RFin_IncluirMovimentacaoNumerarios&);
};

void PrintTo(const OptionalColumnCase& c, std::ostream* os) {
  *os << c.column;
}

class CashMovementOptionalColumn : public ::testing::TestWithParam<OptionalColumnCase> {};

TEST_P(CashMovementOptionalColumn, IsWrittenWithItsOwnBindWhenSet) {
  RFin_IncluirMovimentacaoNumerarios p = Movimento();
  GetParam().set(p);
  const InsertLists lists = Lists(DAL::GetSQLInserirZTMOVCR(p));
  ASSERT_EQ(lists.columns.size(), lists.values.size());
  for (std::size_t i = 0; i < lists.columns.size(); ++i) EXPECT_EQ(":" + lists.columns[i], lists.values[i]);
  EXPECT_EQ(lists.columns.size(), kFixedColumns.size() + 1);
  EXPECT_NE(std::find(lists.columns.begin(), lists.columns.end(), GetParam().column), lists.columns.end());
}

INSTANTIATE_TEST_SUITE_P(Columns, CashMovementOptionalColumn,
                         ::testing::Values(OptionalColumnCase{"CODCONTADEB", [](auto& p) { p.CODCONTADEB = 1101; }},
                                           OptionalColumnCase{"CODCONTACRED", [](auto& p) { p.CODCONTACRED = 2101; }},
                                           OptionalColumnCase{"OPERACAO", [](auto& p) { p.OPERACAO = 99; }},
                                           OptionalColumnCase{"NUMASSOCDNI", [](auto& p) { p.NUMASSOCDNI = 7; }},
                                           OptionalColumnCase{
                                               "DTASSOCIADNICLI",
                                               [](auto& p) { p.DTASSOCIADNICLI = TDateTime::EncodeDate(2025, 1, 2); }},
                                           OptionalColumnCase{"CODFUNCDNICLI", [](auto& p) { p.CODFUNCDNICLI = 3; }},
                                           OptionalColumnCase{"CODCLI", [](auto& p) { p.CODCLI = 55; }},
                                           OptionalColumnCase{"CODFILIAL", [](auto& p) { p.CODFILIAL = "01"; }}),
                         [](const ::testing::TestParamInfo<OptionalColumnCase>& info) { return info.param.column; });

TEST(CashMovementInsert, NegativeAccountsAndOperationStayOut) {
  RFin_IncluirMovimentacaoNumerarios p = Movimento();
  p.CODCONTADEB = -1;
  p.CODCONTACRED = -5;
  p.OPERACAO = -99;
  EXPECT_EQ(Lists(DAL::GetSQLInserirZTMOVCR(p)).columns, kFixedColumns);
}

TEST(CashMovementInsert, EveryColumnInTheDocumentedOrder) {
  RFin_IncluirMovimentacaoNumerarios p = Movimento();
  p.CONCILIACAO = "OK";
  p.CODCONTADEB = 1;
  p.CODCONTACRED = 2;
  p.OPERACAO = 3;
  p.NUMASSOCDNI = 4;
  p.DTASSOCIADNICLI = TDateTime::EncodeDate(2025, 1, 2);
  p.CODFUNCDNICLI = 5;
  p.CODCLI = 6;
  p.CODFILIAL = "01";
  const InsertLists lists = Lists(DAL::GetSQLInserirZTMOVCR(p));
  const std::vector<std::string> expected = {
      "NUMTRANS",        "DATA",          "CODBANCO", "CODCOB",        "HISTORICO",
      "HISTORICO2",      "VALOR",         "TIPO",     "NUMCARR",       "NUMDOC",
      "VLSALDO",         "VLSALDOCONCIL", "DTCONCIL", "CODFUNCCONCIL", "CONCILIACAO",
      "DTCOMPENSACAO",   "HORA",          "MINUTO",   "CODFUNC",       "CODCONTADEB",
      "CODCONTACRED",    "OPERACAO",      "INDICE",   "CODROTINALANC", "NUMASSOCDNI",
      "DTASSOCIADNICLI", "CODFUNCDNICLI", "CODCLI",   "CODFILIAL"};
  EXPECT_EQ(lists.columns, expected);
  ASSERT_EQ(lists.values.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lists.values[i], ":" + expected[i]);
}

TEST(CashBalanceRow, IsReadAsDocumentedAndLockedOnlyWhenAsked) {
  EXPECT_EQ(DAL::GetSQLSaldoZTESTCR(false).Text(),
            "SELECT *\nFROM ZTESTCR\nWHERE CODCOB   = :CODCOB\n  AND CODBANCO = :CODBANCO");
  EXPECT_EQ(DAL::GetSQLSaldoZTESTCR(true).Text(),
            "SELECT *\nFROM ZTESTCR\nWHERE CODCOB   = :CODCOB\n  AND CODBANCO = :CODBANCO\n FOR UPDATE ");
  EXPECT_EQ(DAL::GetSQLInserirZTESTCR().Text(),
            "INSERT INTO ZTESTCR (CODCOB, CODBANCO, VALOR) \nVALUES (:CODCOB, :CODBANCO, 0)");
  EXPECT_EQ(DAL::GetSQLConciliacaoSaldoZTESTCR().Text(),
            "SELECT * FROM ZTESTCR \nWHERE CODCOB = :CODCOB AND CODBANCO = :CODBANCO ");
  EXPECT_EQ(DAL::GetSQLConciliacaoInserirZTESTCR().Text(),
            "INSERT INTO ZTESTCR (CODCOB, CODBANCO, VALOR) \nVALUES (:CODCOB, :CODBANCO, 0) ");
}

// Without the lock the balance is moved by the database itself, never written back from a value
// read earlier.
TEST(CashBalanceRow, InPlaceUpdateAddsToWhatTheRowHolds) {
  EXPECT_EQ(DAL::GetSQLSomarSaldoZTESTCR(false).Text(),
            "UPDATE ZTESTCR\n   SET VALOR           = NVL(VALOR, 0) + :VALOR\n WHERE CODCOB   = :CODCOB\n"
            "   AND CODBANCO = :CODBANCO");
  EXPECT_EQ(DAL::GetSQLSomarSaldoZTESTCR(true).Text(),
            "UPDATE ZTESTCR\n   SET VALOR           = NVL(VALOR, 0) + :VALOR\n"
            "     , VALORCONCILIADO = NVL(VALORCONCILIADO, 0) + :VALORCONCILIADO\n"
            "     , DTULTCONCILIA   = :DTULTCONCILIA\n WHERE CODCOB   = :CODCOB\n   AND CODBANCO = :CODBANCO");
}

TEST(CashReconciliation, UpdatesOnlyAnOpenMovementOfTheRow) {
  EXPECT_EQ(DAL::GetSQLConciliarZTMOVCR("12").Text(),
            "UPDATE ZTMOVCR\n   SET CONCILIACAO   = 'OK',\n       DTCONCIL      = SYSDATE,\n"
            "       VLSALDOCONCIL = :VLSALDOCONCIL,\n       CODFUNCCONCIL = :CODFUNCCONCIL,\n"
            "       DTCOMPENSACAO = :DTCOMPENSACAO\n WHERE ROWID = '12'\n   AND CODCOB = :CODCOB\n"
            "   AND ((DTCONCIL IS NULL) OR (CONCILIACAO <> 'OK'))");
}

class CashReconciliationRowid : public ::testing::TestWithParam<std::string> {};

// The row id is pasted into the text: anything but a row address is refused before any SQL.
TEST_P(CashReconciliationRowid, RefusesTextThatIsNoRowAddress) {
  try {
    (void)DAL::GetSQLConciliarZTMOVCR(GetParam());
    FAIL() << "accepted " << GetParam();
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Identificador de linha (ROWID) inválido: '" + GetParam() + "'.");
  }
  EXPECT_THROW((void)DAL::GetSQLMovimentacaoConciliavel(GetParam()), Exception);
}

INSTANTIATE_TEST_SUITE_P(Injection, CashReconciliationRowid,
                         ::testing::Values("", "1' OR '1' = '1", "12; DELETE FROM ZTMOVCR", "12 ", "AAAB-c"));

TEST(CashReconciliationRowid, AcceptsOracleAndNumericRowAddresses) {
  EXPECT_NO_THROW((void)DAL::GetSQLConciliarZTMOVCR("AAAR3sAAEAAAACXAAA"));
  EXPECT_NO_THROW((void)DAL::GetSQLConciliarZTMOVCR("AAAB+c/1"));
  EXPECT_NO_THROW((void)DAL::GetSQLConciliarZTMOVCR("123456"));
}

TEST(CashRebuild, PlainWalkReadsTheAccountInDateOrder) {
  EXPECT_EQ(DAL::GetSQLMovimentacoesSaldo(false).Text(),
            "SELECT ROWID, NUMTRANS, DTCONCIL, VALOR, TIPO, NUMCARR, CODBANCO, CODCOB, VLSALDOCONCIL,\n"
            "       DTCOMPENSACAO\n  FROM ZTMOVCR\n WHERE CODBANCO = :CODBANCO\n   AND CODCOB   = :CODMOEDA\n"
            "ORDER BY ZTMOVCR.DATA, ZTMOVCR.NUMTRANS");
  const TStringList comPeriodo = DAL::GetSQLMovimentacoesSaldo(true);
  EXPECT_EQ(comPeriodo[comPeriodo.Count() - 2], "AND  TRUNC(ZTMOVCR.DATA) BETWEEN :DATAINICIAL AND :DATAFINAL");
  EXPECT_EQ(DAL::GetSQLGravarVLSALDO().Text(),
            "UPDATE ZTMOVCR SET VLSALDO = :VALOR WHERE  NUMTRANS = :NUMTRANS AND ROWID = :ID");
}

TEST(CashRebuild, ReconciledWalkSkipsOperation99InReconciliationOrder) {
  const std::string texto = DAL::GetSQLMovimentacoesSaldoConciliado(true).Text();
  EXPECT_NE(texto.find("   AND CONCILIACAO = 'OK'\n   AND ((OPERACAO <> 99) OR (OPERACAO IS NULL))\n"
                       "AND  TRUNC(ZTMOVCR.DTCONCIL) BETWEEN :DATAINICIAL AND :DATAFINAL\n"
                       "ORDER BY ZTMOVCR.DTCONCIL, ZTMOVCR.DATA, ZTMOVCR.NUMTRANS"),
            std::string::npos)
      << texto;
  EXPECT_EQ(DAL::GetSQLAtualizarZTESTCR(true).Text(),
            "UPDATE ZTESTCR\n   SET VALORCONCILIADO = :VALOR,\n       DTULTCONCILIA   = SYSDATE\n"
            "WHERE CODBANCO = :CODBANCO\n AND CODCOB = :CODCOB");
  EXPECT_EQ(DAL::GetSQLAtualizarZTESTCR(false).Text(),
            "UPDATE ZTESTCR\n   SET VALOR = :VALOR\nWHERE CODBANCO = :CODBANCO\n AND CODCOB = :CODCOB");
}

TEST(CashRebuild, MonthlySumsRunNewestFirstBeforeTheStartAndOldestFirstAfterIt) {
  const std::string anteriores = DAL::GetSQLSomasMensais(kDirecaoMesesAnteriores).Text();
  const std::string posteriores = DAL::GetSQLSomasMensais(kDirecaoMesesPosteriores).Text();
  EXPECT_EQ(anteriores.rfind("SELECT EXTRACT(YEAR FROM ZTMOVCR.DTCOMPENSACAO) ANO\n"
                             "     , EXTRACT(MONTH FROM ZTMOVCR.DTCOMPENSACAO) MES\n",
                             0),
            0U);
  EXPECT_NE(anteriores.find("DTCOMPENSACAO < :DATAINICIAL"), std::string::npos);
  EXPECT_NE(anteriores.find("ORDER BY EXTRACT(YEAR FROM ZTMOVCR.DTCOMPENSACAO) DESC, "
                            "EXTRACT(MONTH FROM ZTMOVCR.DTCOMPENSACAO) DESC"),
            std::string::npos);
  EXPECT_NE(posteriores.find("DTCOMPENSACAO BETWEEN :DATAINICIAL AND TRUNC(SYSDATE)"), std::string::npos);
  EXPECT_EQ(posteriores.find("DESC"), std::string::npos);
}

TEST(CashRebuild, MonthWritesCarryTheStartDateOnlyInRecalculation) {
  const std::string recalculo = DAL::GetSQLAtualizarZTESTCRCOMPENSACAO(true, true).Text();
  EXPECT_NE(recalculo.find("\n     , DATASALDOINICIAL = :DATASALDOINICIAL \n"), std::string::npos);
  EXPECT_EQ(DAL::GetSQLAtualizarZTESTCRCOMPENSACAO(true, false).Text().find("DATASALDOINICIAL"), std::string::npos);
  EXPECT_EQ(DAL::GetSQLAtualizarZTESTCRCOMPENSACAO(false, false).Text(),
            "UPDATE ZTESTCRCOMPENSACAO\n   SET VALORCREDITO = VALORCREDITO + :VALORCREDITO,        \n"
            "       VALORDEBITO  = VALORDEBITO  + :VALORDEBITO,         \n"
            "       SALDO        = SALDO + :VALORDEBITO - :VALORCREDITO \n WHERE CODBANCO = :CODBANCO\n"
            "   AND CODMOEDA = :CODMOEDA\n   AND MES      = :MES\n   AND ANO      = :ANO");
}

TEST(CashRebuild, ResetOfMonthsWithoutMovementsLooksPastTheGivenMonth) {
  const TStringList depois = DAL::GetSQLLimparMesesSemMovimentacao(kDirecaoMesesPosteriores);
  EXPECT_EQ(depois[1], "SET VALORCREDITO = 0,");
  EXPECT_EQ(depois[2], "VALORDEBITO  = 0,");
  EXPECT_EQ(depois[depois.Count() - 1], "   AND (ANO || MES) > :ANOMES");
  const TStringList antes = DAL::GetSQLLimparMesesSemMovimentacao(kDirecaoMesesAnteriores);
  EXPECT_EQ(antes[antes.Count() - 1], "   AND (ANO || MES) < :ANOMES");
}

// The command-line host refuses what the database would refuse: the record's text widths are
// the widths of the ZTMOVCR columns they fill.
TEST(CashMovementRecord, TextWidthsMatchTheMovementTable) {
  std::ifstream schema(std::string(QUORVIN_SOURCE_DIR) + "/platform/schema/030_cash.sql");
  ASSERT_TRUE(schema) << "030_cash.sql not found";
  std::stringstream text;
  text << schema.rdbuf();
  const std::string all = text.str();
  const std::size_t start = all.find("CREATE TABLE IF NOT EXISTS ZTMOVCR");
  const std::string table = all.substr(start, all.find(");", start) - start);
  std::map<std::string, std::size_t> widths;
  std::stringstream lines(table);
  std::string line;
  while (std::getline(lines, line)) {
    std::stringstream words(line);
    std::string name;
    std::string type;
    words >> name >> type;
    if (type.rfind("varchar(", 0) == 0) widths[name] = std::stoul(type.substr(8));
  }
  ASSERT_FALSE(widths.empty());
  std::size_t checked = 0;
  for (const auto& field : CamposIncluirMovimentacaoNumerarios()) {
    if (field.Kind != FieldKind::Text || std::string(field.Name) == "MENSAGEM") continue;
    ASSERT_TRUE(widths.count(field.Name)) << field.Name << " has no varchar column";
    EXPECT_EQ(field.MaxChars, widths[field.Name]) << field.Name;
    ++checked;
  }
  EXPECT_EQ(checked, widths.size());
}

}  // namespace
