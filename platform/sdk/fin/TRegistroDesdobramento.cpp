#include "sdk/fin/TRegistroDesdobramento.h"

TRegistro::~TRegistro() = default;
TAcao::~TAcao() = default;
TipoRegistro::~TipoRegistro() = default;

std::string TRegistroZtPrest::Chave() const {
  return "ZTPREST:" + std::to_string(NUMTRANSVENDA) + ":" + std::to_string(PREST.size()) + ":" + PREST;
}

std::string TRegistroZtPrest::Descricao() const {
  return std::to_string(NUMTRANSVENDA) + "-" + PREST;
}

std::string TRegistroZTLanc::Chave() const {
  return "ZTLANC:" + std::to_string(RECNUM);
}

std::string TRegistroZTLanc::Descricao() const {
  return std::to_string(RECNUM);
}

std::string TRegistroZTCreCli::Chave() const {
  return "ZTCRECLI:" + std::to_string(CODIGO);
}

std::string TRegistroZTCreCli::Descricao() const {
  return std::to_string(CODIGO);
}

std::string TipoRegistro::Chave() const {
  const std::string origem = Origem->Chave();
  return std::to_string(origem.size()) + ">" + origem + Destino->Chave();
}

bool EstaNoArray(const TArrayOfRegistro& array, const TRegistro& registro) {
  for (const TRegistroPtr& item : array) {
    if (item->Igual(registro)) return true;
  }
  return false;
}

bool EstaNoArray(const TArrayOfTipoRegistro& array, const TipoRegistro& tipo) {
  for (const TipoRegistroPtr& item : array) {
    if (item->igual(tipo)) return true;
  }
  return false;
}

bool AdicionarAoArraySeNaoEstiver(TArrayOfRegistro& array, const TRegistroPtr& registro) {
  if (EstaNoArray(array, *registro)) return false;
  array.push_back(registro);
  return true;
}

bool AdicionarAoArraySeNaoEstiver(TArrayOfTipoRegistro& array, const TipoRegistroPtr& tipo) {
  if (EstaNoArray(array, *tipo)) return false;
  array.push_back(tipo);
  return true;
}

TArrayOfRegistro Filtrar(const TArrayOfRegistro& array, const std::function<bool(const TRegistro&)>& predicado) {
  TArrayOfRegistro filtrado;
  for (const TRegistroPtr& item : array) {
    if (!predicado(*item)) filtrado.push_back(item);
  }
  return filtrado;
}

bool ArrayIgual(const TArrayOfRegistro& a, const TArrayOfRegistro& b) {
  TIndiceRegistros em_a;
  TIndiceRegistros em_b;
  for (const TRegistroPtr& item : a) em_a.Adicionar(*item);
  for (const TRegistroPtr& item : b) {
    if (!em_a.Contem(*item)) return false;
    em_b.Adicionar(*item);
  }
  for (const TRegistroPtr& item : a) {
    if (!em_b.Contem(*item)) return false;
  }
  return true;
}

ExceptionTitulosAlterados::ExceptionTitulosAlterados() : Exception(Mensagem) {}
ExceptionTitulosAlterados::~ExceptionTitulosAlterados() = default;

int LocalizarNaLista(const TArrayOfAcaoImpeditiva& lista, const TRegistro& registro) {
  for (std::size_t i = 0; i < lista.size(); ++i) {
    if (lista[i]->Registro->Igual(registro)) return static_cast<int>(i);
  }
  return -1;
}

namespace {

TTipoOperacaoDesdobramento TipoOperacao(const std::string& texto, const char* normal, const char* a_maior,
                                        const char* baixado) {
  if (texto == normal || texto == "0") return todNormal;
  if (texto == a_maior || texto == "1") return todAMaior;
  if (texto == baixado || texto == "2") return todBaixadoNoDesdobramento;
  throw Exception("Tipo de operação de desdobramento desconhecido: '" + texto + "'!");
}

}  // namespace

TTipoOperacaoDesdobramento ObterTipoOperacaoZTDESDPREST(const std::string& texto) {
  return TipoOperacao(texto, "TONormal", "TODesdobramentoAMaior", "TOBaixadoNoDesdobramento");
}

TTipoOperacaoDesdobramento ObterTipoOperacaoZTDESDLANCOPERACAO(const std::string& texto) {
  return TipoOperacao(texto, "NORMAL", "AMAIOR", "BAIXADO");
}
