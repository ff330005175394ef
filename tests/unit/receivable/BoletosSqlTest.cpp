#include "receivable/Uclsfin_dalcontasreceber.h"
#include "support/StatementBuilders.h"

namespace {

// What receivable/boletos.sql.test holds, by block name.
const testsupport::StatementBuilders kBoletosStatements({
    {"TDALContasReceber::GetSQLValidarPermissaoAcesso530",
     [] { return TDALContasReceber::GetSQLValidarPermissaoAcesso530(); }},
    {"TDALContasReceber::GetSQLBuscarCondVendaZTNfSaid",
     [] { return TDALContasReceber::GetSQLBuscarCondVendaZTNfSaid(); }},
    {"TDALContasReceber::GetSQLVerificaNotaDevFornec", [] { return TDALContasReceber::GetSQLVerificaNotaDevFornec(); }},
    {"TDALContasReceber::GetSQLCobrancaMarcadaParaEmitirBoleto",
     [] { return TDALContasReceber::GetSQLCobrancaMarcadaParaEmitirBoleto(); }},
    {"TDALContasReceber::GetSQLBuscarInformacoesParaGerarDadosBancarios",
     [] { return TDALContasReceber::GetSQLBuscarInformacoesParaGerarDadosBancarios(); }},
    {"TDALContasReceber::GetSQLBuscarInformacoesParaImprimirBoleto",
     [] { return TDALContasReceber::GetSQLBuscarInformacoesParaImprimirBoleto(); }},
    {"TDALContasReceber::GetSQLBuscarInformacoesFilial",
     [] { return TDALContasReceber::GetSQLBuscarInformacoesFilial(); }},
    {"TDALContasReceber::GetSQLBuscarDataHoraServidor",
     [] { return TDALContasReceber::GetSQLBuscarDataHoraServidor(); }},
    {"TDALContasReceber::GetSQLRetornarDiretorioQuorvin",
     [] { return TDALContasReceber::GetSQLRetornarDiretorioQuorvin(); }},
    {"TDALContasReceber::GetSQLAtualizarPastaPDFBoletoZTPREST",
     [] { return TDALContasReceber::GetSQLAtualizarPastaPDFBoletoZTPREST(); }},
});

}  // namespace
