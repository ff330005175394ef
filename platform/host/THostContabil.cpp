#include "host/THostContabil.h"

#include "oradb/TOraQuery.h"

namespace host {

bool THostContabil::PeriodoBloqueadoEncerrado(const RCont_ParamFilialData& parametros) {
  if (parametros.DATA.IsZero()) return false;
  TOraQuery query(&FSessao);
  query.SQL.Add("SELECT COUNT(*) QTD FROM ZTPERIODOCONTABIL");
  query.SQL.Add(" WHERE CODFILIAL = :CODFILIAL");
  query.SQL.Add("   AND SITUACAO IN ('B', 'E')");
  query.SQL.Add("   AND TRUNC(:DATA) BETWEEN DTINICIO AND DTFIM");
  query.ParamByName("CODFILIAL").SetAsString(parametros.CODFILIAL);
  query.ParamByName("DATA").SetAsDateTime(parametros.DATA);
  query.Open();
  return query.FieldByName("QTD").AsInteger() > 0;
}

bool THostContabil::BancoMoedaIntegradoContabilidade(const RCont_ParamBancoMoeda& parametros) {
  return !FilialBancoMoeda(parametros).empty();
}

std::string THostContabil::FilialBancoMoeda(const RCont_ParamBancoMoeda& parametros) {
  TOraQuery query(&FSessao);
  query.SQL.Add("SELECT CODFILIAL FROM ZTBANCOMOEDACONTABIL");
  query.SQL.Add(" WHERE CODBANCO = :CODBANCO AND CODCOB = :CODCOB");
  query.ParamByName("CODBANCO").SetAsFloat(parametros.CODBANCO);
  query.ParamByName("CODCOB").SetAsString(parametros.CODCOB);
  query.Open();
  return query.IsEmpty() ? std::string() : query.FieldByName("CODFILIAL").AsString();
}

}  // namespace host
