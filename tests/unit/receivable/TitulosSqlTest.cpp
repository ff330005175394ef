#include <gtest/gtest.h>

#include "receivable/Uclsfin_contasreceber.h"
#include "receivable/Uclsfin_dalcontasreceberinclusao.h"
#include "support/StatementBuilders.h"

namespace {

using D = TDALContasReceberTitulos;

// What receivable/receivable_titulos.sql.test holds, by block name.
const testsupport::StatementBuilders kTitulosStatements({
    {"TDALContasReceberTitulos::GetSQLIncluir (user 5)", [] { return D::GetSQLIncluir(5); }},
    {"TDALContasReceberTitulos::GetSQLPrestacaoIncluida", [] { return D::GetSQLPrestacaoIncluida(); }},
    {"TDALContasReceberTitulos::GetSQLTituloDesdobradoPeloForcaVendas",
     [] { return D::GetSQLTituloDesdobradoPeloForcaVendas(); }},
    {"TDALContasReceberTitulos::GetSQLTituloEstaNaRotaDeAlgumRCA (route as sold)",
     [] { return D::GetSQLTituloEstaNaRotaDeAlgumRCA(true); }},
    {"TDALContasReceberTitulos::GetSQLTituloEstaNaRotaDeAlgumRCA (registered route)",
     [] { return D::GetSQLTituloEstaNaRotaDeAlgumRCA(false); }},
    {"TDALContasReceberTitulos::GetSQLCobrancaESupplierCard", [] { return D::GetSQLCobrancaESupplierCard(); }},
    {"TDALContasReceberTitulos::GetSQLRetornarStatusCobrancaSupplierCard",
     [] { return D::GetSQLRetornarStatusCobrancaSupplierCard(); }},
    {"TDALContasReceberTitulos::GetSQLComunicarProrrogacaoCobrancaSupplierCard",
     [] { return D::GetSQLComunicarProrrogacaoCobrancaSupplierCard(); }},
});

// Monday is 1 and Sunday 7, whatever the time of day, before and after the calendar's day 0.
TEST(ReceivableRoute, WeekdaysRunFromMondayToSunday) {
  struct Caso {
    TDateTime momento;
    int dia;
  };
  const Caso casos[] = {
      {TDateTime::EncodeDate(2026, 12, 7), 1},                  // Monday
      {TDateTime::EncodeDateTime(2026, 12, 8, 23, 59, 59), 2},  // Tuesday, late
      {TDateTime::EncodeDate(2026, 12, 12), 6},
      {TDateTime::EncodeDateTime(2026, 12, 13, 0, 0, 1), 7},   // Sunday
      {TDateTime::EncodeDate(1899, 12, 30), 6},                // day 0, a Saturday
      {TDateTime::EncodeDateTime(1899, 12, 24, 12, 0, 0), 7},  // before day 0, a Sunday
  };
  for (const Caso& c : casos) EXPECT_EQ(DiaDaSemana(c.momento), c.dia) << c.momento.ToIso();
}

}  // namespace
