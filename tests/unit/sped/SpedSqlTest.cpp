#include <gtest/gtest.h>

#include <string>

#include "sped/Uclsfin_dalservicosprestadossped_efd.h"
#include "support/StatementBuilders.h"

namespace {

using Sped = TDALServicosPrestadosSPED_EFD;

RFin_IncluirServicosPrestadosSPED_EFD NadaInformado() {
  RFin_IncluirServicosPrestadosSPED_EFD r;
  r.Inicializar();
  return r;
}

// Each column's own condition, in table order: a "set" amount may be negative, a "> 0" amount is
// judged after rounding to cents, texts count when not empty.
RFin_IncluirServicosPrestadosSPED_EFD CondicoesMistas() {
  RFin_IncluirServicosPrestadosSPED_EFD r = NadaInformado();
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
  return r;
}

// What sped/sped.sql.test holds, by block name.
const testsupport::StatementBuilders kSpedStatements({
    {"TDALServicosPrestadosSPED_EFD::GetSQLInsertZTSERVICOSPEDEFD (nothing set)",
     [] { return Sped::GetSQLInsertZTSERVICOSPEDEFD(NadaInformado()); }},
    {"TDALServicosPrestadosSPED_EFD::GetSQLInsertZTSERVICOSPEDEFD (each column by its own condition)",
     [] { return Sped::GetSQLInsertZTSERVICOSPEDEFD(CondicoesMistas()); }},
    {"TDALServicosPrestadosSPED_EFD::GetSQLUpdateZTSERVICOSPEDEFD",
     [] { return Sped::GetSQLUpdateZTSERVICOSPEDEFD(); }},
    {"TDALServicosPrestadosSPED_EFD::GetSQLContribuinteCPRB", [] { return Sped::GetSQLContribuinteCPRB(); }},
});

// The update's text is pinned in its block; a column added to the column table must reach it too.
TEST(SpedSql, UpdateSetsEveryColumnOfTheTable) {
  const std::string sql = Sped::GetSQLUpdateZTSERVICOSPEDEFD().Text();
  for (const TColunaServicoSPED& coluna : ColunasServicoSPED()) {
    EXPECT_NE(sql.find(std::string(":") + coluna.Nome), std::string::npos) << coluna.Nome;
  }
}

}  // namespace
