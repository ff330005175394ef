#include <gtest/gtest.h>

#include "loans/Uclsfin_dalcontratoemprestimo.h"
#include "support/StatementBuilders.h"

namespace {

// What loans/loans.sql.test holds, by block name.
const testsupport::StatementBuilders kLoansStatements({
    {"TDALContratoEmprestimo::GetSQLProximoNumSeq", [] { return TDALContratoEmprestimo::GetSQLProximoNumSeq(); }},
    {"TDALContratoEmprestimo::GetSQLInserir", [] { return TDALContratoEmprestimo::GetSQLInserir(); }},
    {"TDALContratoEmprestimo::GetSQLUpdate", [] { return TDALContratoEmprestimo::GetSQLUpdate(); }},
});

}  // namespace
