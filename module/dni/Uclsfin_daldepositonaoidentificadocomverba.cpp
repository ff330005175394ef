#include "dni/Uclsfin_daldepositonaoidentificadocomverba.h"

#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"

TDALDepositoNaoIdentificadoComVerba::TDALDepositoNaoIdentificadoComVerba(TComponent* owner) : TBaseSubModulo(owner) {}

TDALDepositoNaoIdentificadoComVerba::~TDALDepositoNaoIdentificadoComVerba() = default;

TOraSession& TDALDepositoNaoIdentificadoComVerba::Sessao() {
  return Quorvin().SessaoAtual().BancoDados().Sessao();
}

std::vector<TDepositoNaoIdentificado> TDALDepositoNaoIdentificadoComVerba::ConsultarDNIs(int CodigoBanco,
                                                                                         double CodigoCliente) {
  TOraQuery qryDNIs(&Sessao());
  qryDNIs.SQL = GetSQLConsultarDNIs(CodigoBanco, CodigoCliente);
  qryDNIs.Open();
  std::vector<TDepositoNaoIdentificado> lista;
  for (; !qryDNIs.Eof(); qryDNIs.Next()) {
    TDepositoNaoIdentificado dni;
    dni.SELECIONADO = qryDNIs.FieldByName("SELECIONADO").AsString();
    dni.DATA = qryDNIs.FieldByName("DATA").AsDateTime();
    dni.NUMDOC = qryDNIs.FieldByName("NUMDOC").AsString();
    dni.HISTORICO = qryDNIs.FieldByName("HISTORICO").AsString();
    dni.NUMTRANS = qryDNIs.FieldByName("NUMTRANS").AsFloat();
    dni.ROWID = qryDNIs.FieldByName("ROWID").AsString();
    dni.VALOR = qryDNIs.FieldByName("VALOR").AsFloat();
    dni.NUMASSOCDNI = qryDNIs.FieldByName("NUMASSOCDNI").AsFloat();
    dni.DTASSOCIADNICLI = qryDNIs.FieldByName("DTASSOCIADNICLI").AsDateTime();
    dni.CODCLI = qryDNIs.FieldByName("CODCLI").AsFloat();
    dni.CODFUNCDNICLI = qryDNIs.FieldByName("CODFUNCDNICLI").AsFloat();
    dni.VALORTOTALASSOCIADO = qryDNIs.FieldByName("VALORTOTALASSOCIADO").AsFloat();
    dni.VALORDISPONIVEL = qryDNIs.FieldByName("VALORDISPONIVEL").AsFloat();
    lista.push_back(std::move(dni));
  }
  return lista;
}

std::vector<TBaixaDNIComVerba> TDALDepositoNaoIdentificadoComVerba::LocalizarBaixaParaEstorno(double NumeroVerba) {
  TOraQuery& query = Quorvin().SessaoAtual().BancoDados().QueryCompartilhada();
  query.Close();
  query.SQL = GetSQLLocalizarBaixaParaEstorno(NumeroVerba);
  query.ParamByName("NUMEROVERBA").SetAsFloat(NumeroVerba);
  query.Open();
  std::vector<TBaixaDNIComVerba> baixas;
  for (; !query.Eof(); query.Next()) {
    TBaixaDNIComVerba baixa;
    baixa.NUMTRANS = query.FieldByName("NUMTRANS").AsFloat();
    baixa.CODBANCO = query.FieldByName("CODBANCO").AsFloat();
    baixa.NUMASSOCDNI = query.FieldByName("NUMASSOCDNI").AsFloat();
    baixa.DTASSOCIADNICLI = query.FieldByName("DTASSOCIADNICLI").AsDateTime();
    baixa.CODCLI = query.FieldByName("CODCLI").AsFloat();
    baixa.CODFUNCDNICLI = query.FieldByName("CODFUNCDNICLI").AsFloat();
    baixas.push_back(baixa);
  }
  // The shared query is the host's: what it read is copied out, and it is left closed for the next user.
  query.Close();
  return baixas;
}

long long TDALDepositoNaoIdentificadoComVerba::MarcarBaixaEstornada(double NumeroVerba) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLMarcarBaixaEstornada(NumeroVerba);
  query.ParamByName("NUMEROVERBA").SetAsFloat(NumeroVerba);
  query.ExecSQL();
  return query.RowsAffected();
}
