#include "cancelsplit/Uclsfin_dalcancelardesdobramento.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/IQuorvin.h"
#include "sdk/fin/RFin_IncluirContasPagar.h"

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

long long RecNum(const TRegistro& registro) {
  return dynamic_cast<const TRegistroZTLanc&>(registro).RECNUM;
}

const TRegistroZtPrest& Titulo(const TRegistro& registro) {
  return dynamic_cast<const TRegistroZtPrest&>(registro);
}

void Bind(TOraParam& param, const TValorColuna& valor) {
  if (valor.Data) {
    param.SetAsDateTimeOrNull(*valor.Data);
  } else if (valor.Numero) {
    param.SetAsFloat(*valor.Numero);
  } else if (valor.Texto) {
    param.SetAsString(*valor.Texto);
  } else {
    param.Clear();
  }
}

// Runs a write that must change exactly one row of the record.
void ExecutarUmaLinha(TOraQuery& q, const TRegistro& registro, const std::string& tabela) {
  q.ExecSQL();
  if (q.RowsAffected() != 1) {
    throw Exception("O registro " + registro.Descricao() + " não foi encontrado na " + tabela + "!");
  }
}

bool Contem(const std::vector<std::string>& lista, const std::string& nome) {
  return std::find(lista.begin(), lista.end(), nome) != lista.end();
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

const std::string& NomeDeCampo(const std::string& campo) {
  const bool valido = !campo.empty() && std::all_of(campo.begin(), campo.end(),
                                                    [](unsigned char c) { return std::isalnum(c) != 0 || c == '_'; });
  if (!valido) throw Exception("Nome de campo inválido: '" + campo + "'.");
  return campo;
}

TDAO::TDAO(IQuorvin& quorvin, TOraSession& session, TArrayOfRegistro registros)
    : FQuorvin(quorvin), FSession(session), FRegistros(std::move(registros)) {}

TDAO::~TDAO() = default;

void TDAO::Ler(const std::string& sql, TCancDesdCds& linhas) {
  TCancDesdQry q(&FSession);
  q.SQL.Add(sql);
  q.OpenSaveOrLoad();
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
  FTabela = tabela;
  FTabelaReplica = tabela_replica;
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

void TDAO::Recarregar() {
  FDados.Limpar();
  FReplicas.Limpar();
  Carregar(FTabela, FTabelaReplica);
}

void TDAO::AdicionarRegistro(const TRegistroPtr& registro) {
  if (!AdicionarAoArraySeNaoEstiver(FRegistros, registro)) return;
  TCancDesdCds linha;
  Ler(ObterSelect({registro}), linha);
  const TCancDesdCds::TLinha* valores = linha.Linha(*registro);
  if (valores == nullptr)
    throw Exception("O registro " + registro->Descricao() + " não foi gravado na " + FTabela + "!");
  FDados.Adicionar(registro->Chave(), *valores);
}

std::string TDAO::Obter(const std::string& campo, const TRegistro& registro, const std::string& padrao) const {
  return FDados.Valor(campo, registro).value_or(padrao);
}

double TDAO::Obter(const std::string& campo, const TRegistro& registro, double padrao) const {
  return Numero(FDados.Valor(campo, registro), padrao);
}

TDateTime TDAO::ObterData(const std::string& campo, const TRegistro& registro) const {
  const std::optional<std::string> valor = FDados.Valor(campo, registro);
  if (!valor) return TDateTime();
  const std::optional<TDateTime> data = TDateTime::FromIso(*valor);
  if (!data)
    throw Exception("Data inválida no campo " + campo + " do registro " + registro.Descricao() + ": " + *valor);
  return *data;
}

std::string TDAO::ObterCampoReplica(const std::string& campo, const TRegistro& registro,
                                    const std::string& padrao) const {
  return FReplicas.Valor(campo, registro).value_or(padrao);
}

double TDAO::ObterCampoReplica(const std::string& campo, const TRegistro& registro, double padrao) const {
  return Numero(FReplicas.Valor(campo, registro), padrao);
}

TDateTime TDAO::hoje() const {
  return FQuorvin.SessaoAtual().BancoDados().DataServidor().DateOnly();
}

int TDAO::Usuario() const {
  return FQuorvin.SessaoAtual().Usuario().Matricula();
}

int TDAO::Rotina() const {
  return FQuorvin.SessaoAtual().Usuario().CodigoRotina();
}

std::string TDAO::NomeUsuario() const {
  return FQuorvin.SessaoAtual().Usuario().NomeFuncionario();
}

double TDAO::ProximoRecNum() const {
  return FQuorvin.Numeracao().ProximoRecNum();
}

void TDAO::Travar() {
  if (FRegistros.empty()) return;
  TOraQuery q(&FSession);
  q.SQL.Add(GetSQLTravar(ObterSelect(FRegistros), FChaveOrdem));
  q.Open();
}

std::vector<std::string> TDAO::ColunasModelo(const std::string& tabela) {
  TCancDesdQry modelo(&FSession);
  modelo.SQL.Add("SELECT * FROM " + tabela + " WHERE 1 = 2");
  modelo.OpenSaveOrLoad();
  std::vector<std::string> colunas;
  for (const auto& def : modelo.FieldDefs()) colunas.push_back(def.Name);
  return colunas;
}

std::string TDAO::GetSQLInserir(const std::string& tabela, const std::vector<std::string>& colunas) {
  std::string nomes;
  std::string binds;
  for (const std::string& coluna : colunas) {
    if (!nomes.empty()) {
      nomes += ", ";
      binds += ", ";
    }
    nomes += NomeDeCampo(coluna);
    binds += ":" + coluna;
  }
  return "INSERT INTO " + tabela + " (" + nomes + ") VALUES (" + binds + ")";
}

void TDAO::Inserir(const std::string& tabela, const std::vector<std::string>& colunas,
                   const std::map<std::string, TValorColuna>& valores) {
  TOraQuery q(&FSession);
  q.SQL.Add(GetSQLInserir(tabela, colunas));
  for (const std::string& coluna : colunas) {
    const auto valor = valores.find(coluna);
    Bind(q.ParamByName(coluna), valor == valores.end() ? TValorColuna::Nulo() : valor->second);
  }
  q.ExecSQL();
}

TValorColuna TDAO::CopiaDaReplica(const std::string& coluna, const TRegistro& registro) const {
  if (!FReplicas.Existe(registro)) {
    throw Exception("Não é possível restaurar o registro " + registro.Descricao() + ", pois não existe sua cópia na " +
                    FTabelaReplica + "!");
  }
  if (!FReplicas.TemColuna(coluna)) {
    throw Exception("Não foi possível copiar o campo " + coluna + " da " + FTabelaReplica + " para o registro " +
                    registro.Descricao() + "!");
  }
  return TValorColuna::DeTexto(FReplicas.Valor(coluna, registro));
}

// ---- ZTPREST

const std::vector<std::string> TDAOModoZTPrest::kCamposLimposNaReplica = {
    "NUMTRANS", "DTPAG",      "VPAGO",      "DTBAIXA", "VLRDESPCARTORAIS", "VLRDESPBANCARIAS", "VLROUTROSACRESC",
    "HORADESD", "MINUTODESD", "DTULTALTER", "DTDESD",  "CODFUNCDESD",      "ROTDESD"};

TDAOModoZTPrest::TDAOModoZTPrest(IQuorvin& quorvin, TOraSession& session, TArrayOfRegistro registros)
    : TDAO(quorvin, session, std::move(registros)) {
  FChaveOrdem = "NUMTRANSVENDA, PREST";
  Carregar("ZTPREST", "ZTDESDPREST");
}

std::string TDAOModoZTPrest::GetSQLSelect(const TArrayOfRegistro& registros) {
  return Select("ZTPREST", registros, [](const TRegistro& r) {
    const auto& t = Titulo(r);
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

void TDAOModoZTPrest::Baixar(const TArrayOfRegistro& registros) {
  const std::vector<std::string> colunas = ColunasModelo("ZTPREST");
  for (const TRegistroPtr& registro : registros) {
    const TRegistroZtPrest& titulo = Titulo(*registro);
    TOraQuery copia(&FSession);
    copia.SQL.Add(GetSQLReplicarParaBaixa(colunas));
    copia.ParamByName("NUMTRANSVENDA").SetAsInteger(titulo.NUMTRANSVENDA);
    copia.ParamByName("PREST").SetAsString(titulo.PREST);
    copia.ExecSQL();
    TOraQuery bloco(&FSession);
    bloco.SQL.Add(GetSQLBaixar());
    bloco.ParamByName("CODFUNC").SetAsInteger(Usuario());
    bloco.ParamByName("NUMTRANSVENDA").SetAsInteger(titulo.NUMTRANSVENDA);
    bloco.ParamByName("PREST").SetAsString(titulo.PREST);
    bloco.ExecSQL();
  }
  Recarregar();
}

TRegistroPtr TDAOModoZTPrest::Replicar(const TRegistro& registro) {
  const TRegistroZtPrest& titulo = Titulo(registro);
  TOraQuery contar(&FSession);
  contar.SQL.Add(GetSQLContarReplica());
  contar.ParamByName("NUMTRANSVENDA").SetAsInteger(titulo.NUMTRANSVENDA);
  contar.ParamByName("PREST").SetAsString(titulo.PREST);
  ExecutarUmaLinha(contar, registro, "ZTDESDPREST");

  TOraQuery proxima(&FSession);
  proxima.SQL.Add(GetSQLProximaPrest());
  proxima.ParamByName("NUMTRANSVENDA").SetAsInteger(titulo.NUMTRANSVENDA);
  proxima.Open();
  const std::string prest = proxima.Fields(0).AsString();

  const std::vector<std::string> colunas = ColunasModelo("ZTPREST");
  std::map<std::string, TValorColuna> valores;
  for (const std::string& coluna : colunas) {
    if (coluna == "NUMTRANSVENDA") {
      valores[coluna] = TValorColuna::DeNumero(static_cast<double>(titulo.NUMTRANSVENDA));
    } else if (coluna == "PREST") {
      valores[coluna] = TValorColuna::DeTexto(prest);
    } else if (coluna == "CODFUNCULTALTER") {
      valores[coluna] = TValorColuna::DeNumero(Usuario());
    } else if (Contem(kCamposLimposNaReplica, coluna)) {
      valores[coluna] = TValorColuna::Nulo();
    } else {
      valores[coluna] = CopiaDaReplica(coluna, registro);
    }
  }
  Inserir("ZTPREST", colunas, valores);
  auto novo = std::make_shared<TRegistroZtPrest>(titulo.NUMTRANSVENDA, prest);
  AdicionarRegistro(novo);
  return novo;
}

void TDAOModoZTPrest::Vincular(const TArrayOfRegistro& origens, const TArrayOfRegistro& destinos) {
  for (const TRegistroPtr& origem : origens) {
    for (const TRegistroPtr& destino : destinos) {
      TOraQuery q(&FSession);
      q.SQL.Add(GetSQLVincular());
      q.ParamByName("NUMTRANSVENDAORIG").SetAsInteger(Titulo(*origem).NUMTRANSVENDA);
      q.ParamByName("PRESTORIG").SetAsString(Titulo(*origem).PREST);
      q.ParamByName("NUMTRANSVENDADEST").SetAsInteger(Titulo(*destino).NUMTRANSVENDA);
      q.ParamByName("PRESTDEST").SetAsString(Titulo(*destino).PREST);
      q.ParamByName("DTLANC").SetAsDate(hoje());
      Bind(q.ParamByName("CODCLI"), TValorColuna::DeTexto(FDados.Valor("CODCLI", *origem)));
      Bind(q.ParamByName("CODCLIORIG"), TValorColuna::DeTexto(FDados.Valor("CODCLI", *origem)));
      Bind(q.ParamByName("CODCLIDEST"), TValorColuna::DeTexto(FDados.Valor("CODCLI", *destino)));
      q.ParamByName("CODFUNCCXMOT").SetAsInteger(Usuario());
      q.ParamByName("CODROTINA").SetAsInteger(Rotina());
      q.ExecSQL();
    }
  }
}

void TDAOModoZTPrest::AtualizarCampo(const TRegistro& registro, const std::string& campo, TDateTime valor) {
  TOraQuery q(&FSession);
  q.SQL.Add(GetSQLAtualizarCampo(campo));
  q.ParamByName("VALOR_CAMPO").SetAsDateOrNull(valor);
  q.ParamByName("NUMTRANSVENDA").SetAsInteger(Titulo(registro).NUMTRANSVENDA);
  q.ParamByName("PREST").SetAsString(Titulo(registro).PREST);
  ExecutarUmaLinha(q, registro, "ZTPREST");
}

void TDAOModoZTPrest::Cancelar(const TRegistro&) {
  throw Exception("Método TDAOModoZTPrest.Cancelar não implementado!");
}

// ---- ZTLANC

const std::vector<std::string> TDAOModoZTLanc::kCamposLimposNaReplica = {
    "VPAGO",         "DTPAGTO",      "NUMBORDERO",   "DTBORDER", "VPAGOBORDERO",        "NUMSEQBORDERO",
    "ASSINATURA",    "DTASSINATURA", "CODFUNCBAIXA", "NUMTRANS", "CODFUNCESTORNOBAIXA", "DTESTORNOBAIXA",
    "CODROTINABAIXA"};

const std::vector<std::string> TDAOModoZTLanc::kValoresNegados = {"VALOR",  "VPAGO",    "DESCONTOFIN",
                                                                  "TXPERM", "VALORDEV", "VALORMOEDAESTRANGEIRA"};

TDAOModoZTLanc::TDAOModoZTLanc(IQuorvin& quorvin, TOraSession& session, TArrayOfRegistro registros)
    : TDAO(quorvin, session, std::move(registros)) {
  FChaveOrdem = "RECNUM";
  Carregar("ZTLANC", "ZTDESDLANCOPERACAO");
}

std::string TDAOModoZTLanc::GetSQLSelect(const TArrayOfRegistro& registros) {
  return Select("ZTLANC", registros,
                [](const TRegistro& r) { return "(RECNUM = " + std::to_string(RecNum(r)) + ") "; });
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

void TDAOModoZTLanc::Baixar(const TArrayOfRegistro& registros) {
  const std::vector<std::string> colunas = ColunasModelo("ZTLANC");
  for (const TRegistroPtr& registro : registros) {
    TOraQuery copia(&FSession);
    copia.SQL.Add(GetSQLReplicarParaBaixa(colunas));
    copia.ParamByName("RECNUM").SetAsInteger(RecNum(*registro));
    copia.ParamByName("CODROTINADESD").SetAsInteger(Rotina());
    copia.ExecSQL();
    TOraQuery q(&FSession);
    q.SQL.Add(GetSQLBaixar());
    q.ParamByName("CODFUNC").SetAsInteger(Usuario());
    q.ParamByName("RECNUM").SetAsInteger(RecNum(*registro));
    ExecutarUmaLinha(q, *registro, "ZTLANC");
  }
  Recarregar();
}

TRegistroPtr TDAOModoZTLanc::ReplicarZTLanc(const TRegistro& registro, bool contrapartida) {
  if (!FDados.Existe(registro)) throw Exception("O registro " + registro.Descricao() + " não existe na ZTLANC!");
  const TDateTime data_servidor = hoje();
  const std::vector<std::string> colunas = ColunasModelo("ZTLANC");
  std::map<std::string, TValorColuna> valores;
  long long recnum = 0;
  for (const std::string& coluna : colunas) {
    TValorColuna& valor = valores[coluna];
    if (coluna == "RECNUM") {
      recnum = std::llround(ProximoRecNum());
      valor = TValorColuna::DeNumero(static_cast<double>(recnum));
    } else if (coluna == "CODFUNCULTALTER") {
      valor = TValorColuna::DeNumero(Usuario());
    } else if (contrapartida && (coluna == "DTPAGTO" || coluna == "DTDESD")) {
      valor = TValorColuna::DeData(data_servidor);
    } else if (contrapartida && coluna == "CODFUNCBAIXA") {
      valor = TValorColuna::DeNumero(Usuario());
    } else if (contrapartida && coluna == "NOMEFUNC") {
      valor = TValorColuna::DeTexto(NomeUsuario());
    } else if (contrapartida && coluna == "CODROTINABAIXA") {
      valor = TValorColuna::DeNumero(Rotina());
    } else if (contrapartida && coluna == "LOCALIZACAO") {
      valor = TValorColuna::DeTexto(std::string("TITULO DESDOBRADO."));
    } else if (contrapartida && Contem(kValoresNegados, coluna)) {
      // Money rounded once, here, before it is stored; a column not set stays NULL.
      if (Preenchido(coluna, registro)) valor = TValorColuna::DeNumero(RoundTo(-Obter(coluna, registro, 0.0), 2) + 0.0);
    } else if (coluna == "DTCANCEL") {
      if (contrapartida) valor = TValorColuna::DeData(data_servidor);
    } else if (Contem(kCamposLimposNaReplica, coluna)) {
      valor = TValorColuna::Nulo();
    } else {
      valor = CopiaDaReplica(coluna, registro);
    }
  }
  Inserir("ZTLANC", colunas, valores);
  auto novo = std::make_shared<TRegistroZTLanc>(recnum);
  AdicionarRegistro(novo);
  return novo;
}

void TDAOModoZTLanc::Vincular(const TArrayOfRegistro& origens, const TArrayOfRegistro& destinos) {
  static const char* const kDoLancamento[] = {"DTLANC",      "NUMTRANSENT", "CODCONTA",     "VALOR",    "VALORDEV",
                                              "DESCONTOFIN", "TXPERM",      "NUMNOTA",      "DUPLIC",   "CODFILIAL",
                                              "INDICE",      "CODFORNEC",   "TIPOPARCEIRO", "HISTORICO"};
  for (const TRegistroPtr& origem : origens) {
    for (const TRegistroPtr& destino : destinos) {
      TOraQuery q(&FSession);
      q.SQL.Add(GetSQLVincular());
      q.ParamByName("RECNUMORIG").SetAsInteger(RecNum(*origem));
      q.ParamByName("RECNUMDESTINO").SetAsInteger(RecNum(*destino));
      for (const char* campo : kDoLancamento) {
        Bind(q.ParamByName(campo), TValorColuna::DeTexto(FDados.Valor(campo, *destino)));
      }
      q.ExecSQL();
    }
  }
}

void TDAOModoZTLanc::AtualizarCampo(const TRegistro& registro, const std::string& campo, TDateTime valor) {
  TOraQuery q(&FSession);
  q.SQL.Add(GetSQLAtualizarCampo(campo));
  q.ParamByName("VALOR_CAMPO").SetAsDateOrNull(valor);
  q.ParamByName("RECNUM").SetAsInteger(RecNum(registro));
  ExecutarUmaLinha(q, registro, "ZTLANC");
}

void TDAOModoZTLanc::Cancelar(const TRegistro& registro) {
  IGerenteFinanceiro* financeiro = FQuorvin.GerenteFinanceiro();
  IFin_ContasPagar* contas_pagar = financeiro != nullptr ? financeiro->GetContasPagar() : nullptr;
  if (contas_pagar == nullptr) throw Exception("Contas a pagar não disponível para cancelar o lançamento!");
  RFin_IncluirContasPagar r;
  r.Inicializar();
  const TDateTime data = hoje();
  r.RECNUM = ProximoRecNum();
  r.DTLANC = data;
  r.DTVENC = data;
  r.DTPAGTO = data;
  // The payable rules want an issue date on every entry.
  r.DTEMISSAO = data;
  const double valor = Obter("VALOR", registro, 0.0);
  const double pago = Obter("VPAGO", registro, 0.0);
  r.VALOR = RoundTo(-valor, 2) + 0.0;
  // A paid entry needs a payment: an offset of an open entry pays its whole value.
  r.VPAGO = RoundTo(-(pago != 0 ? pago : valor), 2) + 0.0;
  r.CODCONTA = Obter("CODCONTA", registro, 0.0);
  r.CODFORNEC = Obter("CODFORNEC", registro, 0.0);
  r.TIPOPARCEIRO = Obter("TIPOPARCEIRO", registro, std::string());
  r.NUMNOTA = Obter("NUMNOTA", registro, 0.0);
  r.DUPLIC = Obter("DUPLIC", registro, std::string());
  r.CODFILIAL = Obter("CODFILIAL", registro, std::string());
  r.INDICE = Obter("INDICE", registro, std::string());
  r.NOMEFUNC = Obter("NOMEFUNC", registro, std::string());
  r.CODFORNECPRINC = Obter("CODFORNECPRINC", registro, 0.0);
  r.LOCALIZACAO = Obter("LOCALIZACAO", registro, std::string());
  r.NUMTRANSVENDA = Obter("NUMTRANSVENDA", registro, 0.0);
  r.TIPOLANC = Obter("TIPOLANC", registro, std::string());
  r.HISTORICO = "REF. CANC. DE DESDOBRAMENTO";
  r.CODROTINACAD = std::to_string(Rotina());
  contas_pagar->Incluir(r);
}

void TDAOModoZTLanc::ProcessarRateioCentroCusto(const TArrayOfRegistro& raizes, const TArrayOfRegistro& restaurados,
                                                const TArrayOfRegistro& folhas,
                                                const TArrayOfRegistro& contrapartidas) {
  IGerenteFinanceiro* financeiro = FQuorvin.GerenteFinanceiro();
  IFin_CentroCusto* centro_custo = financeiro != nullptr ? financeiro->GetCentroCusto() : nullptr;
  if (centro_custo == nullptr) throw Exception("Centro de custo não disponível para o rateio dos lançamentos!");
  const auto ratear = [&](const TRegistro& lancamento, const std::string& contrapartida, long long principal) {
    (void)centro_custo->ProcessoCentroCusto(false, tlFinanceiro, Obter("CODFILIAL", lancamento, std::string()),
                                            Obter("CODCONTA", lancamento, std::string()),
                                            static_cast<double>(RecNum(lancamento)), Obter("VALOR", lancamento, 0.0),
                                            ObterData("DTLANC", lancamento), false, contrapartida, principal, false,
                                            TDateTime(), TDateTime(), false);
  };
  for (std::size_t i = 0; i < restaurados.size() && i < raizes.size(); ++i) {
    ratear(*restaurados[i], "N", RecNum(*raizes[i]));
  }
  // A counter-entry takes its leaf's cost centers, with the opposite sign.
  for (std::size_t i = 0; i < contrapartidas.size() && i < folhas.size(); ++i) {
    ratear(*contrapartidas[i], "S", RecNum(*folhas[i]));
  }
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
  q.ParamByName("NUMLANC").SetAsInteger(RecNum(registro));
  q.Open();
  return !q.Eof() && q.FieldByName("SALDOVERBA").AsFloat() != 0;
}

bool TDAOModoZTLanc::TituloTeveDevolucaoEstornadaNa1327(const TRegistro& registro) const {
  TOraQuery q(&FSession);
  q.SQL.Add(GetSQLDevolucaoEstornada());
  q.ParamByName("RECNUM").SetAsInteger(RecNum(registro));
  q.Open();
  return !q.Eof() && q.FieldByName("ENCONTRADOS").AsInteger() > 0;
}

// ---- ZTCRECLI

TDAOZTCreCli::TDAOZTCreCli(IQuorvin& quorvin, TOraSession& session, TArrayOfRegistro registros)
    : TDAO(quorvin, session, std::move(registros)) {
  FChaveOrdem = "CODIGO";
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

void TDAOZTCreCli::Baixar(const TArrayOfRegistro&) {
  throw Exception("Método TDAOZTCreCli.Baixar não implementado");
}

TRegistroPtr TDAOZTCreCli::Replicar(const TRegistro&) {
  return nullptr;
}

void TDAOZTCreCli::Vincular(const TArrayOfRegistro&, const TArrayOfRegistro&) {
  throw Exception("Método TDAOZTCreCli.Vincular não implementado");
}

void TDAOZTCreCli::AtualizarCampo(const TRegistro& registro, const std::string& campo, TDateTime valor) {
  TOraQuery q(&FSession);
  q.SQL.Add(GetSQLAtualizarCampo(campo));
  q.ParamByName("VALOR_CAMPO").SetAsDateOrNull(valor);
  q.ParamByName("CODIGO").SetAsInteger(dynamic_cast<const TRegistroZTCreCli&>(registro).CODIGO);
  ExecutarUmaLinha(q, registro, "ZTCRECLI");
}

void TDAOZTCreCli::Cancelar(const TRegistro& registro) {
  IGerenteFinanceiro* financeiro = FQuorvin.GerenteFinanceiro();
  IFin_CreditoCliente* credito = financeiro != nullptr ? financeiro->GetCreditoCliente() : nullptr;
  if (credito == nullptr) throw Exception("Crédito de cliente não disponível para cancelar o crédito!");
  (void)credito->ApenasGerarContraPartidaCredito(
      static_cast<double>(dynamic_cast<const TRegistroZTCreCli&>(registro).CODIGO), Obter("NUMCRED", registro, 0.0),
      Obter("NUMNOTA", registro, 0.0), Obter("NUMTRANSVENDA", registro, 0.0));
}
