#include <gtest/gtest.h>

#include <string>

#include "loans/Uclsfin_dalcontratoemprestimo.h"
#include "support/StatementBuilders.h"

namespace {

// What loans/loans.sql.test holds, by block name.
const testsupport::StatementBuilders kLoansStatements({
    {"TDALContratoEmprestimo::GetSQLProximoNumSeq", [] { return TDALContratoEmprestimo::GetSQLProximoNumSeq(); }},
    {"TDALContratoEmprestimo::GetSQLInserir", [] { return TDALContratoEmprestimo::GetSQLInserir(); }},
    {"TDALContratoEmprestimo::GetSQLUpdate", [] { return TDALContratoEmprestimo::GetSQLUpdate(); }},
});

TEST(LoansSql, UpdatesEveryColumnByKeyAndInsertsThemAll) {
  const std::string update = TDALContratoEmprestimo::GetSQLUpdate().Text();
  // Every column but the key is set; the key is only the filter, with its trailing blank.
  EXPECT_NE(update.find("\nWHERE NUMSEQCONTRATOEMPRESTIMO = :NUMSEQCONTRATOEMPRESTIMO "), std::string::npos);
  EXPECT_EQ(update.find("SET NUMSEQCONTRATOEMPRESTIMO"), std::string::npos);
  for (const char* coluna :
       {"NUMCONTRATO", "DTCONTRATO", "TIPOCONTRATO", "MOEDAESTRANGEIRA", "DTCOTACAO", "PRAZOPER", "TXJURO", "CODFORNEC",
        "CODBANCO", "OBSERVACAO", "VLRTOTAL", "TIPOEMPRESTIMO", "MOEDANACIONAL"}) {
    EXPECT_NE(update.find(std::string(coluna) + " = :" + coluna), std::string::npos) << coluna;
    EXPECT_NE(TDALContratoEmprestimo::GetSQLInserir().Text().find(std::string(":") + coluna), std::string::npos)
        << coluna;
  }
}

}  // namespace
