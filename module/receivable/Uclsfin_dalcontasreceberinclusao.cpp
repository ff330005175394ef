#include "receivable/Uclsfin_dalcontasreceberinclusao.h"

#include "oradb/TOraPipeline.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"

namespace {

void TextoOuNulo(TOraQuery& bloco, const char* nome, const std::string& valor) {
  if (valor.empty()) {
    bloco.ParamByName(nome).Clear();
  } else {
    bloco.ParamByName(nome).SetAsString(valor);
  }
}

}  // namespace

TDALContasReceberTitulos::TDALContasReceberTitulos(TComponent* owner) : TBaseSubModulo(owner) {}

TDALContasReceberTitulos::~TDALContasReceberTitulos() = default;

TOraSession& TDALContasReceberTitulos::Sessao() {
  return Quorvin().SessaoAtual().BancoDados().Sessao();
}

// The block and the read of the instalment it took travel together: the read runs only when the
// block went through.
std::string TDALContasReceberTitulos::Incluir(const TContasReceberZTPrest& Titulo, int usuario) {
  TOraQuery bloco(&Sessao());
  bloco.SQL = GetSQLIncluir(usuario);
  bloco.ParamByName("CODFILIAL").SetAsString(Titulo.CODFILIAL);
  bloco.ParamByName("NUMTRANSVENDA").SetAsFloat(Titulo.NUMTRANSVENDA);
  bloco.ParamByName("DUPLIC").SetAsFloat(Titulo.DUPLIC);
  bloco.ParamByName("DTVENC").SetAsDate(Titulo.DTVENC);
  bloco.ParamByName("DTVENCORIG").SetAsDate(Titulo.DTVENCORIG);
  bloco.ParamByName("DTEMISSAO").SetAsDate(Titulo.DTEMISSAO);
  bloco.ParamByName("DTEMISSAOORIG").SetAsDate(Titulo.DTEMISSAOORIG);
  bloco.ParamByName("CODCOB").SetAsString(Titulo.CODCOB);
  bloco.ParamByName("CODCOBORIG").SetAsString(Titulo.CODCOBORIG);
  bloco.ParamByName("VALOR").SetAsFloat(Titulo.VALOR);
  bloco.ParamByName("VALORORIG").SetAsFloat(Titulo.VALORORIG);
  bloco.ParamByName("CODCLI").SetAsFloat(Titulo.CODCLI);
  bloco.ParamByName("STATUS").SetAsString(Titulo.STATUS);
  bloco.ParamByName("CODUSUR").SetAsFloat(Titulo.CODUSUR);
  TextoOuNulo(bloco, "OBS2", Titulo.OBS2);

  TOraQuery prestacao(&Sessao());
  prestacao.SQL = GetSQLPrestacaoIncluida();
  prestacao.ParamByName("NUMTRANSVENDA").SetAsFloat(Titulo.NUMTRANSVENDA);
  TOraPipeline lote(&Sessao());
  lote.ExecSQL(bloco);
  lote.Open(prestacao);
  lote.Execute();
  return prestacao.FieldByName("PREST").AsString();
}

double TDALContasReceberTitulos::ContarDesdobramentosForcaVendas(double NUMTRANSVENDA, const std::string& PREST) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLTituloDesdobradoPeloForcaVendas();
  query.ParamByName("NUMTRANSVENDA").SetAsFloat(NUMTRANSVENDA);
  query.ParamByName("PREST").SetAsString(PREST);
  query.Open();
  return query.FieldByName("TOTAL").AsFloat();
}

double TDALContasReceberTitulos::ContarTitulosNaRota(double NUMTRANSVENDA, const std::string& PREST, bool movimento,
                                                     const std::string& DIASEMANA) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLTituloEstaNaRotaDeAlgumRCA(movimento);
  query.ParamByName("NUMTRANSVENDA").SetAsFloat(NUMTRANSVENDA);
  query.ParamByName("PREST").SetAsString(PREST);
  query.ParamByName("DIASEMANA").SetAsString(DIASEMANA);
  query.Open();
  return query.FieldByName("TOTAL").AsFloat();
}

std::optional<std::string> TDALContasReceberTitulos::CobrancaSupplierCard(const std::string& CODCOB) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLCobrancaESupplierCard();
  query.ParamByName("CODCOB").SetAsString(CODCOB);
  query.Open();
  if (query.IsEmpty()) return std::nullopt;
  return query.FieldByName("COBSUPPLIERCARD").AsString();
}

std::optional<TFilaSupplierCard> TDALContasReceberTitulos::FilaSupplierCard(double NUMTRANSVENDA) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLRetornarStatusCobrancaSupplierCard();
  query.ParamByName("NUMTRANSVENDA").SetAsFloat(NUMTRANSVENDA);
  query.Open();
  if (query.IsEmpty()) return std::nullopt;
  return TFilaSupplierCard{query.FieldByName("ENVIADOSUPPLI").AsString(),
                           query.FieldByName("APROVADOSUPPLI").AsString()};
}

void TDALContasReceberTitulos::IncluirProrrogacaoSupplierCard(double NUMTRANSVENDA, const std::string& PREST,
                                                              int CODROTINACAD) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLComunicarProrrogacaoCobrancaSupplierCard();
  query.ParamByName("NUMTRANSVENDA").SetAsFloat(NUMTRANSVENDA);
  query.ParamByName("PREST").SetAsString(PREST);
  query.ParamByName("CODROTINACAD").SetAsInteger(CODROTINACAD);
  query.ExecSQL();
}
