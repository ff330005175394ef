#include <memory>

#include "cancelsplit/Uclsfin_dalcancelardesdobramento.h"
#include "cancelsplit/Uclsfin_dalmapeardesdobramento.h"
#include "support/StatementBuilders.h"

namespace {

using Mapa = TMapearDesdobramento;

// What cancelsplit/cancelsplit.sql.test holds, by block name.
const testsupport::StatementBuilders kCancelSplitStatements({
    {"TMapearDesdobramento::GetSQLDependenciasZTPrest", [] { return Mapa::GetSQLDependenciasZTPrest(); }},
    {"TMapearDesdobramento::GetSQLDependenciasZTLanc", [] { return Mapa::GetSQLDependenciasZTLanc(); }},
    {"TMapearDesdobramento::GetSQLTituloAMaior", [] { return Mapa::GetSQLTituloAMaior(); }},
    {"TMapearDesdobramento::GetSQLZTLancAMaior", [] { return Mapa::GetSQLZTLancAMaior(); }},
    {"TMapearDesdobramento::GetSQLZTCreCliAMaior", [] { return Mapa::GetSQLZTCreCliAMaior(); }},
    {"TDAOModoZTLanc::GetSQLSaldoVerba", [] { return TDAOModoZTLanc::GetSQLSaldoVerba(); }},
    {"TDAOModoZTLanc::GetSQLDevolucaoEstornada", [] { return TDAOModoZTLanc::GetSQLDevolucaoEstornada(); }},
    {"TDAOModoZTPrest::ObterSelect (an instalment with a quote stays one literal)",
     [] {
       return TDAOModoZTPrest::GetSQLSelect(
           {std::make_shared<TRegistroZtPrest>(10, "1"), std::make_shared<TRegistroZtPrest>(11, "A'")});
     }},
    {"TDAOModoZTPrest::ObterSelect (no records)", [] { return TDAOModoZTPrest::GetSQLSelect({}); }},
    {"TDAOModoZTLanc::ObterSelect",
     [] {
       return TDAOModoZTLanc::GetSQLSelect(
           {std::make_shared<TRegistroZTLanc>(5), std::make_shared<TRegistroZTLanc>(6)});
     }},
});

}  // namespace
