#include "cancelsplit/Uclsfin_dalcancelardesdobramento.h"

#include <cstdlib>
#include <utility>

#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"

namespace {

std::optional<std::string> Coluna(const std::vector<std::optional<std::string>>& valores,
                                  const std::vector<std::string>& colunas, const std::string& nome) {
  for (std::size_t i = 0; i < colunas.size(); ++i) {
    if (colunas[i] == nome) return valores[i];
  }
  return std::nullopt;
}

long long Inteiro(const std::optional<std::string>& valor) {
  return valor ? std::strtoll(valor->c_str(), nullptr, 10) : 0;
}

double Numero(const std::optional<std::string>& valor, double padrao) {
  return valor ? std::strtod(valor->c_str(), nullptr) : padrao;
}

// "SELECT * FROM <tabela> WHERE " and the records' conditions joined by "OR ", or "1 = 2" for none.
template <class Condicao>
std::string Select(const std::string& tabela, const TArrayOfRegistro& registros, Condicao condicao) {
  std::string sql = "SELECT * FROM " + tabela + " WHERE ";
  if (registros.empty()) return sql + "1 = 2";
  bool primeiro = true;
  for (const TRegistroPtr& registro : registros) {
    if (!primeiro) sql += "OR ";
    primeiro = false;
    sql += condicao(*registro);
  }
  return sql;
}

}  // namespace

std::string TextoSql(const std::string& valor) {
  std::string texto = "'";
  for (const char c : valor) {
    texto += c;
    if (c == '\'') texto += '\'';
  }
  return texto + "'";
}

void TLinhasDesdobramento::DefinirColunas(std::vector<std::string> colunas) {
  FColunas = std::move(colunas);
  FIndice.clear();
  for (std::size_t i = 0; i < FColunas.size(); ++i) FIndice[FColunas[i]] = i;
}

void TLinhasDesdobramento::Adicionar(const std::string& chave, std::vector<std::optional<std::string>> valores) {
  FLinhas[chave] = std::move(valores);
}

std::optional<std::string> TLinhasDesdobramento::Valor(const std::string& campo, const TRegistro& registro) const {
  const auto linha = FLinhas.find(registro.Chave());
  if (linha == FLinhas.end()) return std::nullopt;
  const auto coluna = FIndice.find(campo);
  if (coluna == FIndice.end()) throw Exception("Campo '" + campo + "' não encontrado.");
  return linha->second[coluna->second];
}

TDAO::TDAO(TOraSession& session, TArrayOfRegistro registros) : FSession(session), FRegistros(std::move(registros)) {}

TDAO::~TDAO() = default;

void TDAO::Ler(const std::string& sql, TLinhasDesdobramento& linhas) {
  TOraQuery q(&FSession);
  q.SQL.Add(sql);
  q.Open();
  std::vector<std::string> colunas;
  for (const auto& def : q.FieldDefs()) colunas.push_back(def.Name);
  linhas.DefinirColunas(colunas);
  for (; !q.Eof(); q.Next()) {
    std::vector<std::optional<std::string>> valores;
    for (std::size_t i = 0; i < colunas.size(); ++i) valores.push_back(q.Fields(i).RawValue());
    const std::string chave = ChaveDaLinha(valores, colunas);
    linhas.Adicionar(chave, std::move(valores));
  }
}

void TDAO::Carregar(const std::string& tabela, const std::string& tabela_replica) {
  const std::string sql = ObterSelect(FRegistros);
  Ler(sql, FDados);
  std::string faltando;
  for (const TRegistroPtr& registro : FRegistros) {
    if (!FDados.Existe(*registro)) faltando += registro->Descricao() + "\n";
  }
  if (!faltando.empty()) {
    throw Exception("Não é possível continuar, pois o(s) seguinte(s) registro(s) não existe(m) na " + tabela + ": \n" +
                    faltando);
  }
  if (tabela_replica.empty()) return;
  // The same statement on the copies: only the table's name after FROM changes.
  const std::string de = "SELECT * FROM " + tabela + " WHERE ";
  Ler("SELECT * FROM " + tabela_replica + " WHERE " + sql.substr(de.size()), FReplicas);
}

std::string TDAO::Obter(const std::string& campo, const TRegistro& registro, const std::string& padrao) const {
  return FDados.Valor(campo, registro).value_or(padrao);
}

double TDAO::Obter(const std::string& campo, const TRegistro& registro, double padrao) const {
  return Numero(FDados.Valor(campo, registro), padrao);
}

std::string TDAO::ObterCampoReplica(const std::string& campo, const TRegistro& registro,
                                    const std::string& padrao) const {
  return FReplicas.Valor(campo, registro).value_or(padrao);
}

double TDAO::ObterCampoReplica(const std::string& campo, const TRegistro& registro, double padrao) const {
  return Numero(FReplicas.Valor(campo, registro), padrao);
}

// ---- ZTPREST

TDAOModoZTPrest::TDAOModoZTPrest(TOraSession& session, TArrayOfRegistro registros)
    : TDAO(session, std::move(registros)) {
  Carregar("ZTPREST", "ZTDESDPREST");
}

std::string TDAOModoZTPrest::GetSQLSelect(const TArrayOfRegistro& registros) {
  return Select("ZTPREST", registros, [](const TRegistro& r) {
    const auto& t = dynamic_cast<const TRegistroZtPrest&>(r);
    return "(NUMTRANSVENDA = " + std::to_string(t.NUMTRANSVENDA) + " AND PREST = " + TextoSql(t.PREST) + ") ";
  });
}

std::string TDAOModoZTPrest::ChaveDaLinha(const std::vector<std::optional<std::string>>& valores,
                                          const std::vector<std::string>& colunas) const {
  return TRegistroZtPrest(Inteiro(Coluna(valores, colunas, "NUMTRANSVENDA")),
                          Coluna(valores, colunas, "PREST").value_or(""))
      .Chave();
}

bool TDAOModoZTPrest::Baixado(const TRegistro& registro) const {
  if (Obter("CODCOB", registro, std::string()) == "DESD") return false;
  if (!Preenchido("VALORESTORNO", registro)) return Preenchido("DTPAG", registro);
  return Obter("VPAGO", registro, 0.0) > Obter("VALORESTORNO", registro, 0.0);
}

// ---- ZTLANC

TDAOModoZTLanc::TDAOModoZTLanc(TOraSession& session, TArrayOfRegistro registros) : TDAO(session, std::move(registros)) {
  Carregar("ZTLANC", "ZTDESDLANCOPERACAO");
}

std::string TDAOModoZTLanc::GetSQLSelect(const TArrayOfRegistro& registros) {
  return Select("ZTLANC", registros, [](const TRegistro& r) {
    return "(RECNUM = " + std::to_string(dynamic_cast<const TRegistroZTLanc&>(r).RECNUM) + ") ";
  });
}

std::string TDAOModoZTLanc::ChaveDaLinha(const std::vector<std::optional<std::string>>& valores,
                                         const std::vector<std::string>& colunas) const {
  return TRegistroZTLanc(Inteiro(Coluna(valores, colunas, "RECNUM"))).Chave();
}

bool TDAOModoZTLanc::Baixado(const TRegistro& registro) const {
  return !Preenchido("DTCANCEL", registro) && !Preenchido("DTDESD", registro) &&
         !Preenchido("DTESTORNOBAIXA", registro) && Preenchido("DTPAGTO", registro) &&
         Preenchido("CODFUNCBAIXA", registro);
}

std::string TDAOModoZTLanc::GetSQLSaldoVerba() {
  return "SELECT NVL(SUM(DECODE(TIPO, 'D', VALOR, (VALOR * (-1)))), 0) SALDOVERBA FROM ZTMOVCRFOR WHERE NUMLANC = "
         ":NUMLANC";
}

std::string TDAOModoZTLanc::GetSQLDevolucaoEstornada() {
  return "SELECT COUNT(N.NUMNOTA) AS ENCONTRADOS FROM ZTNFSAID N, ZTLANC L WHERE L.RECNUM = :RECNUM AND L.NUMNOTADEV "
         "IS "
         "NOT NULL AND L.NUMNOTADEV = N.NUMNOTA AND L.CODFORNEC = N.CODFORNEC AND N.DTCANCEL IS NOT NULL AND N.OBS "
         "LIKE "
         "'%NF%CANCELADA%' AND N.ROTINALANC LIKE '%1327%'";
}

bool TDAOModoZTLanc::TituloVinculadoAVerba(const TRegistro& registro) const {
  TOraQuery q(&FSession);
  q.SQL.Add(GetSQLSaldoVerba());
  q.ParamByName("NUMLANC").SetAsInteger(dynamic_cast<const TRegistroZTLanc&>(registro).RECNUM);
  q.Open();
  return !q.Eof() && q.FieldByName("SALDOVERBA").AsFloat() != 0;
}

bool TDAOModoZTLanc::TituloTeveDevolucaoEstornadaNa1327(const TRegistro& registro) const {
  TOraQuery q(&FSession);
  q.SQL.Add(GetSQLDevolucaoEstornada());
  q.ParamByName("RECNUM").SetAsInteger(dynamic_cast<const TRegistroZTLanc&>(registro).RECNUM);
  q.Open();
  return !q.Eof() && q.FieldByName("ENCONTRADOS").AsInteger() > 0;
}

// ---- ZTCRECLI

TDAOZTCreCli::TDAOZTCreCli(TOraSession& session, TArrayOfRegistro registros) : TDAO(session, std::move(registros)) {
  Carregar("ZTCRECLI", "");
}

std::string TDAOZTCreCli::ObterSelect(const TArrayOfRegistro& registros) const {
  return Select("ZTCRECLI", registros, [](const TRegistro& r) {
    return "(CODIGO = " + std::to_string(dynamic_cast<const TRegistroZTCreCli&>(r).CODIGO) + ") ";
  });
}

std::string TDAOZTCreCli::ChaveDaLinha(const std::vector<std::optional<std::string>>& valores,
                                       const std::vector<std::string>& colunas) const {
  return TRegistroZTCreCli(Inteiro(Coluna(valores, colunas, "CODIGO"))).Chave();
}

bool TDAOZTCreCli::Baixado(const TRegistro& registro) const {
  return Preenchido("NUMTRANSVENDADESC", registro);
}
