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

bool THostCompras::Verbas_Avulso_Incluir(RCom_Verbas_Avulso_Incluir& prParametros) {
  prParametros.MENSAGEM.clear();
  if (prParametros.TIPO != "D" && prParametros.TIPO != "C") {
    prParametros.MENSAGEM = "Tipo da verba deve ser 'D' ou 'C'.";
    return false;
  }
  if (prParametros.CODFORNEC <= 0) {
    prParametros.MENSAGEM = "Fornecedor da verba não informado.";
    return false;
  }
  if (prParametros.VALOR <= 0) {
    prParametros.MENSAGEM = "O valor da verba deve ser maior que zero.";
    return false;
  }
  TOraQuery numero(&FSessao);
  numero.SQL.Add("SELECT DFSEQ_ZTVERBA.NEXTVAL NUMVERBA FROM DUAL");
  numero.Open();
  const double numverba = numero.FieldByName("NUMVERBA").AsFloat();
  TOraQuery query(&FSessao);
  query.SQL.Add("INSERT INTO ZTVERBA (NUMVERBA, CODFORNEC, TIPO, CODCONTA, VALOR, DTEMISSAO, HISTORICO, OBS, CODFUNC,");
  query.SQL.Add("                     CODROTINA, NUMLANC)");
  query.SQL.Add("VALUES (:NUMVERBA, :CODFORNEC, :TIPO, :CODCONTA, :VALOR, :DTEMISSAO, :HISTORICO, :OBS, :CODFUNC,");
  query.SQL.Add("        :CODROTINA, :NUMLANC)");
  query.ParamByName("NUMVERBA").SetAsFloat(numverba);
  query.ParamByName("CODFORNEC").SetAsFloat(prParametros.CODFORNEC);
  query.ParamByName("TIPO").SetAsString(prParametros.TIPO);
  if (prParametros.CODCONTA > 0) {
    query.ParamByName("CODCONTA").SetAsFloat(prParametros.CODCONTA);
  } else {
    query.ParamByName("CODCONTA").Clear();
  }
  query.ParamByName("VALOR").SetAsFloat(prParametros.VALOR);
  query.ParamByName("DTEMISSAO").SetAsDateTime(prParametros.DTEMISSAO);
  query.ParamByName("HISTORICO").SetAsString(prParametros.HISTORICO);
  query.ParamByName("OBS").SetAsString(prParametros.OBS);
  query.ParamByName("CODFUNC").SetAsInteger(FUsuario.Matricula());
  query.ParamByName("CODROTINA").SetAsInteger(FUsuario.CodigoRotina());
  query.ParamByName("NUMLANC").SetAsFloat(prParametros.NUMLANC);
  query.ExecSQL();
  prParametros.NUMVERBA = numverba;
  return true;
}

}  // namespace host
