#include "receivable/Uclsfin_dalboletos.h"

#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "receivable/Uclsfin_dalcontasreceber.h"
#include "rtl/Formatacao.h"

bool TDALContasReceber::ValidarPermissaoAcesso530(double ROTINA, double ACESSO, double CODIGO) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLValidarPermissaoAcesso530();
  query.ParamByName("ROTINA").SetAsFloat(ROTINA);
  query.ParamByName("ACESSO").SetAsFloat(ACESSO);
  query.ParamByName("CODIGO").SetAsFloat(CODIGO);
  query.Open();
  return !query.IsEmpty() && query.FieldByName("ACESSO").AsString() == "S";
}

double TDALContasReceber::BuscarCondVendaZTNfSaid(double NUMTRANSVENDA) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLBuscarCondVendaZTNfSaid();
  query.ParamByName("NUMTRANSVENDA").SetAsFloat(NUMTRANSVENDA);
  query.Open();
  return query.IsEmpty() ? 0 : query.FieldByName("CONDVENDA").AsFloat();
}

bool TDALContasReceber::VerificaNotaDevFornec(double NUMTRANSVENDA) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLVerificaNotaDevFornec();
  query.ParamByName("NUMTRANSVENDA").SetAsFloat(NUMTRANSVENDA);
  query.Open();
  return !query.IsEmpty() && query.FieldByName("TIPOVENDA").AsString() == "DF";
}

bool TDALContasReceber::CobrancaMarcadaParaEmitirBoleto(const std::string& CODCOB) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLCobrancaMarcadaParaEmitirBoleto();
  query.ParamByName("CODCOB").SetAsString(CODCOB);
  query.Open();
  return !query.IsEmpty() && query.FieldByName("BOLETO").AsString() == "S";
}

void TDALContasReceber::BuscarInformacoesBanco(TOraQuery& banco, double CODBANCO) {
  banco.Close();
  banco.SQL = GetSQLBuscarInformacoesBanco();
  banco.ParamByName("CODBANCO").SetAsFloat(CODBANCO);
  banco.Open();
}

void TDALContasReceber::BuscarInformacoesParaGerarDadosBancarios(TOraQuery& titulos, double NUMTRANSVENDA,
                                                                 const std::string& PREST) {
  titulos.Close();
  titulos.SQL = GetSQLBuscarInformacoesParaGerarDadosBancarios();
  titulos.ParamByName("NUMTRANSVENDA").SetAsFloat(NUMTRANSVENDA);
  titulos.ParamByName("PREST").SetAsString(PREST);
  titulos.Open();
}

void TDALContasReceber::BuscarInformacoesParaImprimirBoleto(TOraQuery& dados, const TFiltroImpressaoBoleto& filtro) {
  dados.Close();
  dados.SQL = GetSQLBuscarInformacoesParaImprimirBoleto();
  dados.ParamByName("NUMTRANSVENDA").SetAsFloat(filtro.NUMTRANSVENDA);
  dados.ParamByName("PREST").SetAsString(filtro.PREST);
  dados.ParamByName("UTILIZAVALORBRUTO").SetAsString(filtro.UtilizaValorBruto ? "S" : "N");
  dados.Open();
}

void TDALContasReceber::BuscarInformacoesFilial(TOraQuery& filial, const std::string& CODIGO) {
  filial.Close();
  filial.SQL = GetSQLBuscarInformacoesFilial();
  filial.ParamByName("CODIGO").SetAsString(CODIGO);
  filial.Open();
}

void TDALContasReceber::BuscarDataHoraServidor(TOraQuery& data) {
  data.Close();
  data.SQL = GetSQLBuscarDataHoraServidor();
  data.Open();
}

std::string TDALContasReceber::RetornarDiretorioQuorvin() {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLRetornarDiretorioQuorvin();
  query.Open();
  return query.IsEmpty() ? std::string() : Trim(query.FieldByName("DIRQUORVIN").AsString());
}

int TDALContasReceber::AtualizarPastaPDFBoletoZTPREST(const std::string& PASTAARQUIVOBOLETO, double NUMTRANSVENDA,
                                                      double DUPLIC) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLAtualizarPastaPDFBoletoZTPREST();
  query.ParamByName("PASTAARQUIVOBOLETO").SetAsString(PASTAARQUIVOBOLETO);
  query.ParamByName("NUMTRANSVENDA").SetAsFloat(NUMTRANSVENDA);
  query.ParamByName("DUPLIC").SetAsFloat(DUPLIC);
  query.ExecSQL();
  return static_cast<int>(query.RowsAffected());
}
