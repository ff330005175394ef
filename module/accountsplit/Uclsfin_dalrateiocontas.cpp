#include "accountsplit/Uclsfin_dalrateiocontas.h"

#include "costcenter/Uclsfin_parametroscentrocusto.h"
#include "oradb/TOraSession.h"
#include "rtl/Formatacao.h"
#include "sdk/IQuorvin.h"

namespace {

void Montar(TOraQuery& query, const TStringList& sql) {
  query.Close();
  query.SQL.Clear();
  for (const std::string& linha : sql.Lines()) query.SQL.Add(linha);
}

// A description as the rows hold it: at most their width, never splitting a character.
std::string Descricao(const TField& campo) {
  return Utf8Left(campo.AsString(), TParametrosRateioContas::kLarguraDescricao);
}

void DataOuNula(TField campo, TDateTime data) {
  if (data.IsZero()) {
    campo.Clear();
  } else {
    campo.SetAsDateTime(data);
  }
}

}  // namespace

TDALRateioContas::TDALRateioContas(TComponent* owner) : TBaseSubModulo(owner) {}

TDALRateioContas::~TDALRateioContas() = default;

TOraSession& TDALRateioContas::Sessao() {
  return Quorvin().SessaoAtual().BancoDados().Sessao();
}

// ---------------------------------------------------------------------------------------------
// Loaders

void TDALRateioContas::carregarRateioContasComCentroCusto(double pCodigoRateio,
                                                          TParametrosRateioContas& pParametrosRateioContas) {
  TParametrosRateioContas& p = pParametrosRateioContas;
  TClientDataSet& contas = p.CdsContasRateioPadrao();
  TClientDataSet& centros = p.CdsCentroCustoContaPadrao();
  if (!contas.IsEmpty()) TParametrosRateioContas::CriarCdsContasRateio(contas);
  if (!centros.IsEmpty()) TParametrosRateioContas::CriarCdsCentroCustoConta(centros);

  TOraQuery query(&Sessao());
  Montar(query, montarSQLBuscaRateioContas());
  query.ParamByName("CODRATEIOCONTA").SetAsFloat(pCodigoRateio);
  query.ParamByName("CODFUNC").SetAsFloat(p.CodigoFuncionario);
  query.Open();
  for (query.First(); !query.Eof(); query.Next()) AlimentarCdsContasRateio(p, query);
  contas.First();
  centros.First();
  // The proposal as loaded is what a cancelled form returns to.
  contas.MergeChangeLog();
  centros.MergeChangeLog();
}

void TDALRateioContas::AlimentarCdsContasRateio(TParametrosRateioContas& p, TDataSet& conta) {
  TClientDataSet& contas = p.CdsContasRateioPadrao();
  const double codconta = TextoParaNumero(conta.FieldByName("CODIGOCONTA").AsString());
  contas.Append();
  contas.FieldByName("CODCONTA").SetAsFloat(codconta);
  contas.FieldByName("PERCRATEIO").SetAsFloat(conta.FieldByName("PERCENTUAL").AsFloat());
  DataOuNula(contas.FieldByName("DTLANC"), conta.FieldByName("DATA").AsDateTime());
  contas.FieldByName("CODRATEIOCONTA").SetAsFloat(conta.FieldByName("CODRATEIOCONTA").AsFloat());
  contas.FieldByName("CONTATEMPERMISSAO_ZTLIB").SetAsString(conta.FieldByName("CONTATEMPERMISSAO_ZTLIB").AsString());
  if (!conta.FieldByName("GRUPOCONTA").IsNull()) {
    contas.FieldByName("GRUPOCONTA").SetAsFloat(conta.FieldByName("GRUPOCONTA").AsFloat());
  }
  contas.FieldByName("DESCRICAO_GRUPO").SetAsString(Descricao(conta.FieldByName("GRUPO")));
  contas.FieldByName("DESCRICAO_CONTA").SetAsString(Descricao(conta.FieldByName("CONTA")));
  contas.FieldByName("USARATEIOCENTROCUSTO").SetAsString(conta.FieldByName("USARATEIOCENTROCUSTO").AsString());
  for (const char* valor : {"VALOR", "DESCONTOFIN", "TXPERM", "VALORDEVOL"}) contas.FieldByName(valor).SetAsFloat(0);
  contas.Post();

  TOraQuery query(&Sessao());
  Montar(query, montarSQLBuscaRateioCentroCusto());
  query.ParamByName("CODCONTA").SetAsFloat(codconta);
  query.ParamByName("CODFUNC").SetAsFloat(p.CodigoFuncionario);
  query.Open();
  for (query.First(); !query.Eof(); query.Next()) AlimentarCdsCentroCustoConta(p, query, codconta);
}

void TDALRateioContas::AlimentarCdsCentroCustoConta(TParametrosRateioContas& p, TDataSet& centro_custo,
                                                    double codconta) {
  TClientDataSet& centros = p.CdsCentroCustoContaPadrao();
  centros.Append();
  centros.FieldByName("CODCONTA").SetAsFloat(codconta);
  centros.FieldByName("CODIGOCENTROCUSTO").SetAsString(Trim(centro_custo.FieldByName("CODIGOCENTROCUSTO").AsString()));
  centros.FieldByName("DESCCENTROCUSTO").SetAsString(Descricao(centro_custo.FieldByName("DESCCENTROCUSTO")));
  centros.FieldByName("PERCRATEIO").SetAsFloat(centro_custo.FieldByName("PERCRATEIO").AsFloat());
  centros.FieldByName("CCTEMPERMISSAO_ZTLIB").SetAsString(centro_custo.FieldByName("CCTEMPERMISSAO_ZTLIB").AsString());
  DataOuNula(centros.FieldByName("DTLANC"), centro_custo.FieldByName("DATA").AsDateTime());
  centros.FieldByName("VALOR").SetAsFloat(0);
  centros.Post();
}

void TDALRateioContas::carregarCentroCustoPadrao(TParametrosRateioContas& pParametrosRateioContas,
                                                 TClientDataSet& pClientDataSet) {
  const TParametrosRateioContas& p = pParametrosRateioContas;
  TOraQuery query(&Sessao());
  Montar(query, montarSQLBuscaRateioCentroCusto());
  query.ParamByName("CODCONTA").SetAsFloat(p.CodConta);
  query.ParamByName("CODFUNC").SetAsFloat(p.CodigoFuncionario);
  query.Open();
  for (query.First(); !query.Eof(); query.Next()) {
    const double percentual = query.FieldByName("PERCRATEIO").AsFloat();
    pClientDataSet.Append();
    pClientDataSet.FieldByName("CODCONTA").SetAsFloat(p.CodConta);
    pClientDataSet.FieldByName("PERCRATEIO").SetAsFloat(percentual);
    pClientDataSet.FieldByName("VALOR").SetAsFloat(RoundTo(p.ValorRateio * percentual / 100, 2));
    DataOuNula(pClientDataSet.FieldByName("DTLANC"), p.DtLanc);
    pClientDataSet.FieldByName("CONTRAPARTIDA").SetAsString(p.ContraPartida);
    if (p.RecNumPrinc != 0) pClientDataSet.FieldByName("RECNUMPRINC").SetAsFloat(p.RecNumPrinc);
    pClientDataSet.FieldByName("CODFILIAL").SetAsString(p.CodFilial);
    pClientDataSet.FieldByName("CODIGOCENTROCUSTO")
        .SetAsString(Trim(query.FieldByName("CODIGOCENTROCUSTO").AsString()));
    pClientDataSet.FieldByName("CCTEMPERMISSAO_ZTLIB")
        .SetAsString(query.FieldByName("CCTEMPERMISSAO_ZTLIB").AsString());
    pClientDataSet.FieldByName("DESCCENTROCUSTO").SetAsString(Descricao(query.FieldByName("DESCCENTROCUSTO")));
    pClientDataSet.Post();
  }
}

// ---------------------------------------------------------------------------------------------
// Look-ups

void TDALRateioContas::obterDescricaoContaEGrupo(double codConta, std::string& descricaoConta, double& grupoConta,
                                                 std::string& descricaoGrupo) {
  TOraQuery query(&Sessao());
  Montar(query, montarSQLDescricaoContaEGrupo());
  query.ParamByName("CODCONTA").SetAsFloat(codConta);
  query.Open();
  descricaoConta = query.IsEmpty() ? std::string() : Descricao(query.FieldByName("CONTA"));
  grupoConta = query.IsEmpty() ? 0 : query.FieldByName("GRUPOCONTA").AsFloat();
  descricaoGrupo = query.IsEmpty() ? std::string() : Descricao(query.FieldByName("GRUPO"));
}

std::string TDALRateioContas::PesquisaUsarateiocentrocusto(const std::string& pCodconta) {
  TOraQuery query(&Sessao());
  Montar(query, montarSQLUsaRateioCentroCusto());
  query.ParamByName("CODCONTA").SetAsString(pCodconta);
  query.Open();
  return query.IsEmpty() ? std::string() : query.FieldByName("USARATEIOCENTROCUSTO").AsString();
}

int TDALRateioContas::QuantidadeItensRateio(double pCodigoRateio) {
  TOraQuery query(&Sessao());
  Montar(query, montarSQLQuantidadeItensRateio());
  query.ParamByName("CODRATEIOCONTA").SetAsFloat(pCodigoRateio);
  query.Open();
  return static_cast<int>(query.FieldByName("QTD").AsInteger());
}

// ---------------------------------------------------------------------------------------------
// Writers

void TDALRateioContas::VincularRateioConta(TOraQuery& query, double pRecNum, double pCodConta, double pValor,
                                           double pPercRateio, TDateTime pDtLanc, const std::string& pContraPartida,
                                           double pRecNumPrinc, const std::string& pCodFilial, double pCodRateioConta) {
  query.ParamByName("RECNUM").SetAsFloat(pRecNum);
  query.ParamByName("CODCONTA").SetAsFloat(pCodConta);
  query.ParamByName("VALOR").SetAsFloat(pValor);
  query.ParamByName("PERCRATEIO").SetAsFloat(pPercRateio);
  query.ParamByName("DTLANC").SetAsDateTimeOrNull(pDtLanc);
  query.ParamByName("CONTRAPARTIDA").SetAsString(pContraPartida);
  query.ParamByName("RECNUMPRINC").SetAsFloat(pRecNumPrinc);
  query.ParamByName("CODFILIAL").SetAsString(pCodFilial);
  query.ParamByName("CODRATEIOCONTA").SetAsFloat(pCodRateioConta);
}

void TDALRateioContas::VincularRateioCentroCusto(TOraQuery& query, double pRecNum, double pCodConta,
                                                 const std::string& pCodigoCentroCusto, double pValor,
                                                 double pPercRateio, TDateTime pDtLanc,
                                                 const std::string& pContraPartida, double pRecNumPrinc,
                                                 const std::string& pCodFilial) {
  query.ParamByName("RECNUM").SetAsFloat(pRecNum);
  query.ParamByName("CODCONTA").SetAsFloat(pCodConta);
  query.ParamByName("VALOR").SetAsFloat(pValor);
  query.ParamByName("PERCRATEIO").SetAsFloat(pPercRateio);
  query.ParamByName("DTLANC").SetAsDateTimeOrNull(pDtLanc);
  query.ParamByName("CONTRAPARTIDA").SetAsString(pContraPartida);
  query.ParamByName("RECNUMPRINC").SetAsFloat(pRecNumPrinc);
  query.ParamByName("CODFILIAL").SetAsString(pCodFilial);
  query.ParamByName("CODIGOCENTROCUSTO").SetAsString(pCodigoCentroCusto);
}

void TDALRateioContas::inserirRateioConta(double pRecNum, double pCodConta, double pValor, double pPercRateio,
                                          TDateTime pDtLanc, const std::string& pContraPartida, double pRecNumPrinc,
                                          const std::string& pCodFilial, double pCodRateioConta) {
  TOraQuery query(&Sessao());
  Montar(query, montarSQLInserirRateioConta());
  VincularRateioConta(query, pRecNum, pCodConta, pValor, pPercRateio, pDtLanc, pContraPartida, pRecNumPrinc, pCodFilial,
                      pCodRateioConta);
  query.ExecSQL();
}

void TDALRateioContas::inserirRateioCentroCusto(double pRecNum, double pCodConta, const std::string& pCodigoCentroCusto,
                                                double pValor, double pPercRateio, TDateTime pDtLanc,
                                                const std::string& pContraPartida, double pRecNumPrinc,
                                                const std::string& pCodFilial, bool pRetido) {
  TOraQuery query(&Sessao());
  Montar(query, montarSQLInserirRateioCentroCusto(pRetido));
  VincularRateioCentroCusto(query, pRecNum, pCodConta, pCodigoCentroCusto, pValor, pPercRateio, pDtLanc, pContraPartida,
                            pRecNumPrinc, pCodFilial);
  query.ExecSQL();
}

void TDALRateioContas::gravarRateioContas(TParametrosRateioContas& pParametrosRateioContas) {
  TClientDataSet& contas = pParametrosRateioContas.CdsContasRateioPadrao();
  for (contas.First(); !contas.Eof(); contas.Next()) {
    inserirRateioConta(contas.FieldByName("RECNUM").AsFloat(), contas.FieldByName("CODCONTA").AsFloat(),
                       contas.FieldByName("VALOR").AsFloat(), contas.FieldByName("PERCRATEIO").AsFloat(),
                       contas.FieldByName("DTLANC").AsDateTime(), contas.FieldByName("CONTRAPARTIDA").AsString(),
                       contas.FieldByName("RECNUMPRINC").AsFloat(), contas.FieldByName("CODFILIAL").AsString(),
                       contas.FieldByName("CODRATEIOCONTA").AsFloat());
  }
  contas.First();
}
