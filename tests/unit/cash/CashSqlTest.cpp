#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cash/Uclsfin_dalmovimentacaonumerarios.h"
#include "rtl/Exception.h"
#include "support/Failure.h"
#include "support/StatementBuilders.h"

namespace {

using DAL = TDALMovimentacaoNumerarios;
using Movement = RFin_IncluirMovimentacaoNumerarios;

Movement NothingOptional() {
  Movement nenhum;
  nenhum.Inicializar();
  nenhum.CODCONTADEB = -1, nenhum.CODCONTACRED = -5, nenhum.OPERACAO = -99;
  return nenhum;
}

Movement EverythingSet() {
  Movement todos;
  todos.Inicializar();
  todos.CONCILIACAO = "OK", todos.CODCONTADEB = 1, todos.CODCONTACRED = 2, todos.OPERACAO = 3, todos.NUMASSOCDNI = 4;
  todos.DTASSOCIADNICLI = TDateTime::EncodeDate(2025, 1, 2), todos.CODFUNCDNICLI = 5, todos.CODCLI = 6;
  todos.CODFILIAL = "01";
  return todos;
}

// What cash/cash.sql.test holds, by block name.
const testsupport::StatementBuilders kCashStatements({
    {"TDALMovimentacaoNumerarios::GetSQLInserirZTMOVCR (nothing optional set)",
     [] { return DAL::GetSQLInserirZTMOVCR(NothingOptional()); }},
    {"TDALMovimentacaoNumerarios::GetSQLInserirZTMOVCR (everything set)",
     [] { return DAL::GetSQLInserirZTMOVCR(EverythingSet()); }},
    {"TDALMovimentacaoNumerarios::GetSQLSaldoZTESTCR (plain)", [] { return DAL::GetSQLSaldoZTESTCR(false); }},
    {"TDALMovimentacaoNumerarios::GetSQLSaldoZTESTCR (locked)", [] { return DAL::GetSQLSaldoZTESTCR(true); }},
    {"TDALMovimentacaoNumerarios::GetSQLAtualizarSaldoEditado", [] { return DAL::GetSQLAtualizarSaldoEditado(); }},
    {"TDALMovimentacaoNumerarios::GetSQLSomarSaldoZTESTCR (balance only)",
     [] { return DAL::GetSQLSomarSaldoZTESTCR(false); }},
    {"TDALMovimentacaoNumerarios::GetSQLSomarSaldoZTESTCR (with the reconciled balance)",
     [] { return DAL::GetSQLSomarSaldoZTESTCR(true); }},
    {"TDALMovimentacaoNumerarios::GetSQLInserirZTESTCR", [] { return DAL::GetSQLInserirZTESTCR(); }},
    {"TDALMovimentacaoNumerarios::GetSQLConciliacaoSaldoZTESTCR", [] { return DAL::GetSQLConciliacaoSaldoZTESTCR(); }},
    {"TDALMovimentacaoNumerarios::GetSQLConciliacaoInserirZTESTCR",
     [] { return DAL::GetSQLConciliacaoInserirZTESTCR(); }},
    {"TDALMovimentacaoNumerarios::GetSQLInserirZTESTCRZerado", [] { return DAL::GetSQLInserirZTESTCRZerado(); }},
    {"TDALMovimentacaoNumerarios::GetSQLMovimentacaoConciliavel (row 12)",
     [] { return DAL::GetSQLMovimentacaoConciliavel("12"); }},
    {"TDALMovimentacaoNumerarios::GetSQLConciliarZTMOVCR (row 12)", [] { return DAL::GetSQLConciliarZTMOVCR("12"); }},
    {"TDALMovimentacaoNumerarios::GetSQLMovimentacoesSaldo (whole account)",
     [] { return DAL::GetSQLMovimentacoesSaldo(false); }},
    {"TDALMovimentacaoNumerarios::GetSQLMovimentacoesSaldo (period)",
     [] { return DAL::GetSQLMovimentacoesSaldo(true); }},
    {"TDALMovimentacaoNumerarios::GetSQLMovimentacoesSaldoConciliado (period)",
     [] { return DAL::GetSQLMovimentacoesSaldoConciliado(true); }},
    {"TDALMovimentacaoNumerarios::GetSQLGravarVLSALDO", [] { return DAL::GetSQLGravarVLSALDO(); }},
    {"TDALMovimentacaoNumerarios::GetSQLGravarVLSALDOCONCIL", [] { return DAL::GetSQLGravarVLSALDOCONCIL(); }},
    {"TDALMovimentacaoNumerarios::GetSQLAtualizarZTESTCR (reconciled)",
     [] { return DAL::GetSQLAtualizarZTESTCR(true); }},
    {"TDALMovimentacaoNumerarios::GetSQLAtualizarZTESTCR (balance)", [] { return DAL::GetSQLAtualizarZTESTCR(false); }},
    {"TDALMovimentacaoNumerarios::GetSQLSomasMensais (earlier months)",
     [] { return DAL::GetSQLSomasMensais(kDirecaoMesesAnteriores); }},
    {"TDALMovimentacaoNumerarios::GetSQLSomasMensais (later months)",
     [] { return DAL::GetSQLSomasMensais(kDirecaoMesesPosteriores); }},
    {"TDALMovimentacaoNumerarios::GetSQLExisteZTESTCRCompensacao",
     [] { return DAL::GetSQLExisteZTESTCRCompensacao(); }},
    {"TDALMovimentacaoNumerarios::GetSQLAtualizarZTESTCRCOMPENSACAO (adding)",
     [] { return DAL::GetSQLAtualizarZTESTCRCOMPENSACAO(false, false); }},
    {"TDALMovimentacaoNumerarios::GetSQLAtualizarZTESTCRCOMPENSACAO (rebuild)",
     [] { return DAL::GetSQLAtualizarZTESTCRCOMPENSACAO(true, false); }},
    {"TDALMovimentacaoNumerarios::GetSQLAtualizarZTESTCRCOMPENSACAO (rebuild from a start date)",
     [] { return DAL::GetSQLAtualizarZTESTCRCOMPENSACAO(true, true); }},
    {"TDALMovimentacaoNumerarios::GetSQLInserirZTESTCRCOMPENSACAO",
     [] { return DAL::GetSQLInserirZTESTCRCOMPENSACAO(); }},
    {"TDALMovimentacaoNumerarios::GetSQLLimparMesesSemMovimentacao (later months)",
     [] { return DAL::GetSQLLimparMesesSemMovimentacao(kDirecaoMesesPosteriores); }},
    {"TDALMovimentacaoNumerarios::GetSQLLimparMesesSemMovimentacao (earlier months)",
     [] { return DAL::GetSQLLimparMesesSemMovimentacao(kDirecaoMesesAnteriores); }},
    {"TDALMovimentacaoNumerarios::GetSQLSaldoMes", [] { return DAL::GetSQLSaldoMes(); }},
    {"TDALMovimentacaoNumerarios::GetSQLSaldoInicialCompensacao", [] { return DAL::GetSQLSaldoInicialCompensacao(); }},
    {"TDALMovimentacaoNumerarios::GetSQLSaldoFinalUltimoMes", [] { return DAL::GetSQLSaldoFinalUltimoMes(); }},
});

// The row id is pasted into the text: anything but a row address is refused before any SQL.
TEST(CashReconciliationRowid, OnlyRowAddressesReachTheText) {
  for (const std::string rowid : {"", "1' OR '1' = '1", "12; DELETE FROM ZTMOVCR", "12 ", "AAAB-c"}) {
    const std::string refused = "Exception: Identificador de linha (ROWID) inválido: '" + rowid + "'.";
    EXPECT_FAILS_WITH(DAL::GetSQLConciliarZTMOVCR(rowid), refused);
    EXPECT_FAILS_WITH(DAL::GetSQLMovimentacaoConciliavel(rowid), refused);
  }
  for (const std::string rowid : {"AAAR3sAAEAAAACXAAA", "AAAB+c/1", "123456"}) {
    EXPECT_NO_THROW((void)DAL::GetSQLConciliarZTMOVCR(rowid)) << rowid;
  }
}

}  // namespace
