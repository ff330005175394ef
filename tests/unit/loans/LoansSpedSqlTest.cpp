#include <gtest/gtest.h>

#include <string>

#include "loans/Uclsfin_dalcontratoemprestimo.h"
#include "sped/Uclsfin_dalservicosprestadossped_efd.h"

namespace {

using Sped = TDALServicosPrestadosSPED_EFD;

TEST(LoansSql, DrawsTheKeyFromItsSequenceAndUpdatesByKey) {
  EXPECT_EQ(TDALContratoEmprestimo::GetSQLProximoNumSeq().Text(),
            "SELECT DFSEQ_ZTCONTRATOEMPRESTIMO.NEXTVAL NUMSEQ FROM DUAL");
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

// A record with nothing set sends the key, the three leading codes and the withholding flag only.
TEST(SpedSql, InsertOfAnEmptyRecordNamesOnlyTheColumnsAlwaysSent) {
  RFin_IncluirServicosPrestadosSPED_EFD r;
  r.Inicializar();
  EXPECT_EQ(Sped::GetSQLInsertZTSERVICOSPEDEFD(r),
            "INSERT INTO ZTSERVICOSPEDEFD( CODSERVICO ,CODCONSTCIVIL,CODTIPOSERVICO,SERIENF, HOUVEVALORRETENCAOINSS"
            ") VALUES(:CODSERVICO, :CODCONSTCIVIL, :CODTIPOSERVICO, :SERIENF, :HOUVEVALORRETENCAOINSS) ");
}

// Each column's own condition, in table order: a "set" amount may be negative, a "> 0" amount is
// judged after rounding to cents, texts count when not empty.
TEST(SpedSql, InsertNamesEachColumnWhoseConditionHoldsInTableOrder) {
  RFin_IncluirServicosPrestadosSPED_EFD r;
  r.Inicializar();
  r.CODCNAE = "4120400";
  r.VALORBRUTONF = -5;        // set: sent
  r.VALORMATERIAL = 0.004;    // rounds to 0.00: not sent
  r.VALORALIMENTACAO = -1;    // not > 0: not sent
  r.VALORTRANSPORTE = 0.006;  // rounds to 0.01: sent
  r.PERCRETENCAO = 11;
  r.TIPOPROCESSO = 1;
  r.NUMPROCESSO = "";
  r.CODINDICSUSPENSAO = "123";
  r.VALORRETENCAO = 1100;
  r.CODIGONACIONALDEOBRAS = "90.000.00000/00";
  EXPECT_EQ(Sped::GetSQLInsertZTSERVICOSPEDEFD(r),
            "INSERT INTO ZTSERVICOSPEDEFD( CODSERVICO ,CODCONSTCIVIL,CODTIPOSERVICO,SERIENF, CODCNAE, VALORBRUTONF, "
            "VALORTRANSPORTE, PERCRETENCAO, TIPOPROCESSO, CODINDICSUSPENSAO, VALORRETENCAO, HOUVEVALORRETENCAOINSS, "
            "CODIGONACIONALDEOBRAS) VALUES(:CODSERVICO, :CODCONSTCIVIL, :CODTIPOSERVICO, :SERIENF, :CODCNAE, "
            ":VALORBRUTONF, :VALORTRANSPORTE, :PERCRETENCAO, :TIPOPROCESSO, :CODINDICSUSPENSAO, :VALORRETENCAO, "
            ":HOUVEVALORRETENCAOINSS, :CODIGONACIONALDEOBRAS) ");
}

TEST(SpedSql, UpdateSetsEveryColumnButTheKey) {
  const std::string sql = Sped::GetSQLUpdateZTSERVICOSPEDEFD().Text();
  EXPECT_EQ(sql.rfind("UPDATE ZTSERVICOSPEDEFD SET\n  CODCONSTCIVIL = :CODCONSTCIVIL,\n", 0), 0u) << sql;
  EXPECT_NE(sql.find("  CODIGONACIONALDEOBRAS = :CODIGONACIONALDEOBRAS\nWHERE CODSERVICO = :CODSERVICO"),
            std::string::npos)
      << sql;
  EXPECT_EQ(sql.find("CODSERVICO = :CODSERVICO,"), std::string::npos);
  for (const TColunaServicoSPED& coluna : ColunasServicoSPED()) {
    EXPECT_NE(sql.find(std::string(":") + coluna.Nome), std::string::npos) << coluna.Nome;
  }
  EXPECT_EQ(Sped::GetSQLContribuinteCPRB().Text(),
            "SELECT CONTRIBUINTEDOCPRB FROM ZTFORNEC WHERE CODFORNEC = :CODFORNEC");
}

}  // namespace
