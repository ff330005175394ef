#include "host/THostQuorvin.h"

#include <charconv>

#include "host/THostContabil.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/TQuorvinIoC.h"

namespace host {

namespace {

// Global values live under this branch code in ZTPARAMETROS.
constexpr const char* kGlobal = "*";

std::optional<double> ParseNumber(const std::string& text) {
  const std::string trimmed = Trim(text);
  double value = 0;
  const auto result = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
  if (result.ec != std::errc() || result.ptr != trimmed.data() + trimmed.size()) return std::nullopt;
  return value;
}

bool ValidSequenceName(const std::string& nome) {
  if (nome.empty() || nome.size() > 63) return false;
  for (char c : nome) {
    const bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!ok) return false;
  }
  return true;
}

// The routine number a label starts with ("746 [NOVA]" -> "746").
std::string LeadingNumber(const std::string& label) {
  const std::string trimmed = Trim(label);
  std::size_t end = 0;
  while (end < trimmed.size() && trimmed[end] >= '0' && trimmed[end] <= '9') ++end;
  return trimmed.substr(0, end);
}

}  // namespace

THostQuorvin::THostQuorvin(THostConfig config)
    : TComponent(nullptr),
      FConfig(std::move(config)),
      FQueryCompartilhada(&FSessao),
      FConfirmationPolicy([](const std::string&) { return TModalResult::mrCancel; }) {
  FSessao.SetLockTimeout(FConfig.TempoEsperaBloqueio);
  FSessao.Connect(FConfig.Dsn, ClientInfo());
  CarregarNomeFuncionario();
}

THostQuorvin::~THostQuorvin() {
  // The module's objects may still use the host while they are destroyed: free them first.
  DestroyComponents();
}

std::string THostQuorvin::ClientInfo() const {
  return FConfig.Programa + ":" + std::to_string(FConfig.Matricula);
}

void THostQuorvin::SetMatricula(int matricula) {
  FConfig.Matricula = matricula;
  CarregarNomeFuncionario();
}

void THostQuorvin::CarregarNomeFuncionario() {
  TOraQuery query(&FSessao);
  query.SQL.Add("SELECT NOME FROM ZTEMPR WHERE MATRICULA = :MATRICULA");
  query.ParamByName("MATRICULA").SetAsInteger(FConfig.Matricula);
  query.SetStatementSavepoint(FSessao.InTransaction());
  try {
    query.Open();
    FNomeFuncionario = query.IsEmpty() ? std::string() : query.FieldByName("NOME").AsString();
  } catch (const Exception&) {
    FNomeFuncionario.clear();  // a database without the host tables yet (before `db init`)
  }
}

IGerenteFinanceiro* THostQuorvin::GerenteFinanceiro() {
  if (FGerenteFinanceiro == nullptr) {
    FGerenteFinanceiro = TQuorvinIoC::DefaultContainer().Resolve<IGerenteFinanceiro>(this);
  }
  return FGerenteFinanceiro;
}

IGerenteContabil* THostQuorvin::GerenteContabil() {
  if (!FContabil) FContabil = std::make_unique<THostContabil>(FSessao);
  return FContabil.get();
}

IGerenteCompras* THostQuorvin::GerenteCompras() {
  if (!FCompras) FCompras = std::make_unique<THostCompras>(FSessao, *this);
  return FCompras.get();
}

bool THostQuorvin::VerificarRotina(const std::string& rotina, const std::string& label) {
  if (LeadingNumber(label) != Trim(rotina)) return false;
  const auto numero = ParseNumber(rotina);
  return numero.has_value() && TemPermissao(static_cast<int>(*numero), 0);
}

bool THostQuorvin::TemPermissao(int rotina, int permissao) {
  TOraQuery query(&FSessao);
  query.SQL.Add("SELECT COUNT(*) QTD FROM ZTPERMISSAO");
  query.SQL.Add(" WHERE MATRICULA = :MATRICULA AND CODROTINA = :CODROTINA AND CODPERMISSAO = :CODPERMISSAO");
  query.ParamByName("MATRICULA").SetAsInteger(FConfig.Matricula);
  query.ParamByName("CODROTINA").SetAsInteger(rotina);
  query.ParamByName("CODPERMISSAO").SetAsInteger(permissao);
  query.Open();
  return query.FieldByName("QTD").AsInteger() > 0;
}

TOraSession& THostQuorvin::SessaoAutonoma() {
  if (!FSessaoAutonoma) {
    auto sessao = std::make_unique<TOraSession>();
    sessao->SetLockTimeout(FConfig.TempoEsperaBloqueio);
    sessao->Connect(FConfig.Dsn, ClientInfo());
    FSessaoAutonoma = std::move(sessao);
  }
  return *FSessaoAutonoma;
}

TDateTime THostQuorvin::DataServidor() {
  return DataHoraServidor().DateOnly();
}

TDateTime THostQuorvin::DataHoraServidor() {
  const auto aberta = oradb::OpenTransaction(FSessao);
  if (aberta && FRelogio && FRelogio->Transacao == *aberta) return FRelogio->Momento;
  TOraQuery query(&FSessao);
  query.SQL.Add("SELECT SYSDATE AGORA FROM DUAL");
  query.Open();
  const TDateTime agora = query.FieldByName("AGORA").AsDateTime();
  // The reading may itself have opened the transaction (its BEGIN travels with it).
  const auto depois = oradb::OpenTransaction(FSessao);
  FRelogio.reset();
  if (depois) FRelogio = TLeituraRelogio{*depois, agora};
  return agora;
}

std::optional<std::string> THostQuorvin::Localizar(const std::string& tabela, const std::string& expressao,
                                                   const std::string& condicao) {
  TOraQuery query(&FSessao);
  query.SQL.Add("SELECT " + expressao + " VALOR FROM " + tabela);
  if (!Trim(condicao).empty()) query.SQL.Add(" WHERE " + condicao);
  query.Open();
  if (query.IsEmpty() || query.FieldByName("VALOR").IsNull()) return std::nullopt;
  return query.FieldByName("VALOR").AsString();
}

TModalResult THostQuorvin::Confirmar(const std::string& texto) {
  const TModalResult resposta = FConfirmationPolicy(texto);
  FConfirmacoes.push_back({texto, resposta});
  return resposta;
}

TModalResult THostQuorvin::SelecionarDNIs(const TJanelaSelecaoDNI& janela, const TConfirmarSelecaoDNI& confirmar) {
  if (!FSeletorDNI) return TModalResult::mrCancel;
  return FSeletorDNI(janela, confirmar);
}

std::optional<std::string> THostQuorvin::LerParametroDoBanco(const std::string& nome, const std::string& codfilial) {
  ++FLeiturasParametros;
  TOraQuery query(&FSessao);
  query.SQL.Add("SELECT VALOR FROM ZTPARAMETROS WHERE NOME = :NOME AND CODFILIAL = :CODFILIAL");
  query.ParamByName("NOME").SetAsString(UpperAscii(nome));
  query.ParamByName("CODFILIAL").SetAsString(codfilial);
  query.Open();
  if (query.IsEmpty() || query.FieldByName("VALOR").IsNull()) return std::nullopt;
  return query.FieldByName("VALOR").AsString();
}

void THostQuorvin::VerificarVersaoParametros() {
  ++FLeiturasParametros;
  TOraQuery query(&FSessao);
  query.SQL.Add("SELECT VERSAO FROM ZTPARAMETROSVERSAO");
  query.Open();
  const std::optional<std::int64_t> versao =
      query.IsEmpty() ? std::nullopt : std::optional<std::int64_t>(query.FieldByName("VERSAO").AsInteger());
  // No version row means no way to know of a change: nothing is kept then.
  if (!versao || versao != FVersaoParametros) FParametros.clear();
  FVersaoParametros = versao;
  FVerificarParametros = !versao.has_value();
}

std::optional<std::string> THostQuorvin::LerParametro(const std::string& nome, const std::string& codfilial) {
  if (!FConfig.CacheParametros) return LerParametroDoBanco(nome, codfilial);
  if (FVerificarParametros) VerificarVersaoParametros();
  if (!FVersaoParametros) return LerParametroDoBanco(nome, codfilial);
  const auto chave = std::make_pair(UpperAscii(nome), codfilial);
  if (const auto found = FParametros.find(chave); found != FParametros.end()) return found->second;
  std::optional<std::string> valor = LerParametroDoBanco(nome, codfilial);
  FParametros.emplace(chave, valor);
  return valor;
}

double THostQuorvin::ValorNumerico(const std::string& nome) {
  const auto valor = LerParametro(nome, kGlobal);
  if (!valor) return 0;
  const auto numero = ParseNumber(*valor);
  if (!numero) throw Exception("O parâmetro " + nome + " não é numérico: \"" + *valor + "\".");
  return *numero;
}

std::string THostQuorvin::ValorTexto(const std::string& nome) {
  return LerParametro(nome, kGlobal).value_or("");
}

bool THostQuorvin::ValorLogico(const std::string& nome) {
  return UpperAscii(Trim(ValorTexto(nome))) == "S";
}

double THostQuorvin::ValorNumericoFilial(const std::string& nome, const std::string& codfilial, double padrao) {
  auto valor = LerParametro(nome, codfilial);
  if (!valor) valor = LerParametro(nome, kGlobal);
  if (!valor) return padrao;
  const auto numero = ParseNumber(*valor);
  if (!numero) throw Exception("O parâmetro " + nome + " não é numérico: \"" + *valor + "\".");
  return *numero;
}

std::string THostQuorvin::ValorTextoFilial(const std::string& nome, const std::string& codfilial,
                                           const std::string& padrao) {
  auto valor = LerParametro(nome, codfilial);
  if (!valor) valor = LerParametro(nome, kGlobal);
  return valor.value_or(padrao);
}

void THostQuorvin::DefinirParametro(const std::string& nome, const std::string& valor, const std::string& codfilial) {
  // The host's own write: nothing kept is trusted until the version is read again.
  FParametros.clear();
  FVerificarParametros = true;
  const std::string filial = Trim(codfilial).empty() ? std::string(kGlobal) : Trim(codfilial);
  TOraQuery query(&FSessao);
  query.SQL.Add("DELETE FROM ZTPARAMETROS WHERE NOME = :NOME AND CODFILIAL = :CODFILIAL");
  query.ParamByName("NOME").SetAsString(UpperAscii(nome));
  query.ParamByName("CODFILIAL").SetAsString(filial);
  query.ExecSQL();
  query.SQL.Clear();
  query.SQL.Add("INSERT INTO ZTPARAMETROS (NOME, CODFILIAL, VALOR) VALUES (:NOME, :CODFILIAL, :VALOR)");
  query.ParamByName("NOME").SetAsString(UpperAscii(nome));
  query.ParamByName("CODFILIAL").SetAsString(filial);
  query.ParamByName("VALOR").SetAsString(valor);
  query.ExecSQL();
}

std::string THostQuorvin::SQLProximoValorSequencia(const std::string& nome) {
  if (!ValidSequenceName(nome)) throw Exception("Nome de sequência inválido: \"" + nome + "\".");
  return "SELECT " + nome + ".NEXTVAL VALOR FROM DUAL";
}

double THostQuorvin::ProximoValorSequencia(const std::string& nome) {
  TOraQuery query(&FSessao);
  query.SQL.Add(SQLProximoValorSequencia(nome));
  query.Open();
  return query.FieldByName("VALOR").AsFloat();
}

}  // namespace host
