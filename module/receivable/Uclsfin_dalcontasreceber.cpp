#include "receivable/Uclsfin_dalcontasreceber.h"

#include "oradb/EOraError.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSQL.h"
#include "oradb/TOraSession.h"
#include "rtl/Formatacao.h"

namespace {

[[nodiscard]] TStringList Linhas(std::initializer_list<const char*> linhas) {
  TStringList sql;
  for (const char* linha : linhas) sql.Add(linha);
  return sql;
}

[[nodiscard]] const char* SimNao(bool valor) {
  return valor ? "S" : "N";
}

std::vector<TTituloDadosBancarios> LerTitulos(TOraQuery& query) {
  std::vector<TTituloDadosBancarios> titulos;
  for (query.First(); !query.Eof(); query.Next()) {
    TTituloDadosBancarios titulo;
    titulo.NUMTRANSVENDA = query.FieldByName("NUMTRANSVENDA").AsFloat();
    titulo.PREST = query.FieldByName("PREST").AsString();
    titulo.CODFILIAL = query.FieldByName("CODFILIAL").AsString();
    titulo.CODCOB = query.FieldByName("CODCOB").AsString();
    titulo.SACADOELETRONICO = query.FieldByName("SACADOELETRONICO").AsString();
    titulos.push_back(std::move(titulo));
  }
  return titulos;
}

}  // namespace

TDALContasReceber::TDALContasReceber(TComponent* owner) : TBaseSubModulo(owner) {}

TDALContasReceber::~TDALContasReceber() = default;

TOraSession& TDALContasReceber::Sessao() {
  return Quorvin().SessaoAtual().BancoDados().Sessao();
}

TStringList TDALContasReceber::GetSQLLocalizarTitulo() {
  return Linhas({
      "SELECT ZTPREST.*, NVL(ZTCLIENT.SACADOELETRONICO, 'N') SACADOELETRONICO",
      "  FROM ZTPREST, ZTCLIENT",
      " WHERE ZTPREST.CODCLI = ZTCLIENT.CODCLI",
      "   AND ZTPREST.NUMTRANSVENDA = :NUMTRANSVENDA",
      "   AND PREST = :PREST",
  });
}

TStringList TDALContasReceber::GetSQLLocalizarTituloSomenteNUMTRANSVENDA() {
  return Linhas({
      "SELECT ZTPREST.*, NVL(ZTCLIENT.SACADOELETRONICO, 'N') SACADOELETRONICO",
      "  FROM ZTPREST, ZTCLIENT",
      " WHERE ZTPREST.CODCLI = ZTCLIENT.CODCLI",
      "   AND :NUMTRANSVENDA IN (ZTPREST.NUMTRANSVENDA ,ZTPREST.NUMTRANSVENDAST )",
      "   AND ZTPREST.CODCOB NOT IN ('DESD','CANC','CRED')",
      "   AND (SELECT NVL(BOLETO, 'N') FROM ZTCOB WHERE CODCOB = ZTPREST.CODCOB) = 'S'",
      " ORDER BY PREST",
  });
}

TStringList TDALContasReceber::GetSQLRetornarBancoCobranca() {
  return Linhas({"SELECT NVL(CODBANCO, 0) CODBANCO FROM ZTCOB WHERE CODCOB = :CODCOB"});
}

TStringList TDALContasReceber::GetSQLBuscarInformacoesBanco() {
  return Linhas({
      "SELECT CODBANCO, NOME, NUMBANCO, AGENCIA, CONTA, NUMCARTEIRA, NUMCONVENIO, CODCEDENTE, NOMERTM,",
      "       NVL(NUMDIASPROTESTO, 0) NUMDIASPROTESTO, CODCOMPENSACAO, CODCONTABIL, UTILIZAFECHAMENTOCAIXA",
      "  FROM ZTBANCO",
      " WHERE CODBANCO = :CODBANCO",
  });
}

TStringList TDALContasReceber::GetSQLBloquearRegistroBancario() {
  return Linhas({"SELECT * FROM ZTBANCO WHERE CODBANCO = :CODBANCO FOR UPDATE NOWAIT"});
}

TStringList TDALContasReceber::GetSQLBloquearRegistrosBancarios(const std::vector<double>& CODBANCOS) {
  // The codes are numbers written by the module, never text from the caller.
  std::string lista;
  for (const double codigo : CODBANCOS) {
    if (!lista.empty()) lista += ", ";
    lista += ShortestDecimal(codigo);
  }
  TStringList sql;
  sql.Add("SELECT * FROM ZTBANCO WHERE 0 = 0");
  sql.Add(lista.empty() ? "AND 1 = 0" : "AND CODBANCO IN (" + lista + ")");
  sql.Add("FOR UPDATE NOWAIT");
  return sql;
}

TStringList TDALContasReceber::GetSQLGerarDadosBancarios() {
  return Linhas({
      "BEGIN PKG_DADOSBANCARIOS.P_GERADADOSBANCARIOS(:CODFILIAL, :CODCOB, :CODBANCO, :NUMTRANSVENDA, "
      ":NUMDIASPROTESTO, :PREST, :FILIALVIRTUAL, :UTILIZAVALORBRUTO, :PRIMEIRAIMPRESSAO); END;",
  });
}

std::vector<TTituloDadosBancarios> TDALContasReceber::LocalizarTitulo(double NUMTRANSVENDA, const std::string& PREST) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLLocalizarTitulo();
  query.ParamByName("NUMTRANSVENDA").SetAsFloat(NUMTRANSVENDA);
  query.ParamByName("PREST").SetAsString(PREST);
  query.Open();
  return LerTitulos(query);
}

std::vector<TTituloDadosBancarios> TDALContasReceber::LocalizarTituloSomenteNUMTRANSVENDA(double NUMTRANSVENDA) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLLocalizarTituloSomenteNUMTRANSVENDA();
  query.ParamByName("NUMTRANSVENDA").SetAsFloat(NUMTRANSVENDA);
  query.Open();
  return LerTitulos(query);
}

double TDALContasReceber::RetornarBancoCobranca(const std::string& CODCOB) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLRetornarBancoCobranca();
  query.ParamByName("CODCOB").SetAsString(CODCOB);
  query.Open();
  return query.IsEmpty() ? 0 : query.FieldByName("CODBANCO").AsFloat();
}

bool TDALContasReceber::BuscarInformacoesBanco(double CODBANCO, TBancoDadosBancarios& banco) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLBuscarInformacoesBanco();
  query.ParamByName("CODBANCO").SetAsFloat(CODBANCO);
  query.Open();
  if (query.IsEmpty()) return false;
  banco.CODBANCO = query.FieldByName("CODBANCO").AsFloat();
  banco.NUMBANCO = query.FieldByName("NUMBANCO").AsFloat();
  banco.NOMERTM = query.FieldByName("NOMERTM").AsString();
  banco.NUMDIASPROTESTO = query.FieldByName("NUMDIASPROTESTO").AsFloat();
  return true;
}

bool TDALContasReceber::Bloquear(TOraQuery& query) {
  // A busy row fails the statement alone; the caller reports it and the transaction stays usable.
  query.SetStatementSavepoint(true);
  try {
    query.Open();
  } catch (const EOraBusy&) {
    return false;
  }
  return true;
}

bool TDALContasReceber::BloquearRegistroBancarioNoBancoDeDados(double CODBANCO) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLBloquearRegistroBancario();
  query.ParamByName("CODBANCO").SetAsFloat(CODBANCO);
  return Bloquear(query);
}

bool TDALContasReceber::BloquearRegistroBancarioNoBancoDeDados(const std::vector<double>& CODBANCOS) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLBloquearRegistrosBancarios(CODBANCOS);
  return Bloquear(query);
}

void TDALContasReceber::GerarDadosBancarios(const TParametrosGerarDadosBancarios& parametros) {
  TOraSQL bloco(&Sessao());
  bloco.SQL = GetSQLGerarDadosBancarios();
  bloco.ParamByName("CODFILIAL").SetAsString(parametros.CODFILIAL);
  bloco.ParamByName("CODCOB").SetAsString(parametros.CODCOB);
  bloco.ParamByName("CODBANCO").SetAsFloat(parametros.CODBANCO);
  bloco.ParamByName("NUMTRANSVENDA").SetAsFloat(parametros.NUMTRANSVENDA);
  bloco.ParamByName("NUMDIASPROTESTO").SetAsFloat(parametros.NUMDIASPROTESTO);
  bloco.ParamByName("PREST").SetAsString(parametros.PREST);
  bloco.ParamByName("FILIALVIRTUAL").SetAsString(SimNao(parametros.FilialVirtual));
  bloco.ParamByName("UTILIZAVALORBRUTO").SetAsString(SimNao(parametros.UtilizaValorBruto));
  bloco.ParamByName("PRIMEIRAIMPRESSAO").SetAsString(SimNao(parametros.PrimeiraImpressao));
  bloco.Execute();
}
