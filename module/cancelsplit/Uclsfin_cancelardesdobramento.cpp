#include "cancelsplit/Uclsfin_cancelardesdobramento.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <unordered_set>

#include "cancelsplit/Uclsfin_dalmapeardesdobramento.h"
#include "cancelsplit/Uclsfin_validacaodesdobramento.h"
#include "oradb/TOraSession.h"
#include "sdk/IQuorvin.h"

TCancelarDesdobramento::TCancelarDesdobramento(TComponent* owner, int codigo_usuario, int codigo_rotina, TModo modo)
    : TBaseSubModulo(owner), FCodigoUsuario(codigo_usuario), FCodigoRotina(codigo_rotina), FModo(modo) {}

TCancelarDesdobramento::~TCancelarDesdobramento() = default;

TOraSession& TCancelarDesdobramento::Sessao() {
  return Quorvin().SessaoAtual().BancoDados().Sessao();
}

void TCancelarDesdobramento::LimparAtributos() {
  FRelacoes.clear();
  FRegistros.clear();
  FIndiceRegistros.Limpar();
  FDestinos.clear();
  FOrigens.clear();
  FDAOZTPrest.reset();
  FDAOZTLanc.reset();
  FDAOZTCreCli.reset();
}

void TCancelarDesdobramento::Carregar(const TArrayOfRegistro& registros, bool forcar, bool a_maior) {
  if (!forcar) {
    bool todos = true;
    for (const TRegistroPtr& r : registros) todos = todos && FIndiceRegistros.Contem(*r);
    if (todos) return;
  }
  try {
    LimparAtributos();
    TMapearDesdobramento mapa(Sessao(), FModo);
    mapa.MapearDesdobramento(registros, a_maior, FRelacoes);
    auto ligar = [](std::unordered_map<std::string, TArrayOfRegistro>& vizinhos, const TRegistro& de,
                    const TRegistroPtr& para) {
      TArrayOfRegistro& lista = vizinhos[de.Chave()];
      if (!EstaNoArray(lista, *para)) lista.push_back(para);
    };
    for (const TipoRegistroPtr& t : FRelacoes) {
      for (const TRegistroPtr& r : {t->Origem, t->Destino}) {
        if (FIndiceRegistros.Adicionar(*r)) FRegistros.push_back(r);
      }
      ligar(FDestinos, *t->Origem, t->Destino);
      ligar(FOrigens, *t->Destino, t->Origem);
    }
    if (FModo == tmZTPrest) {
      TArrayOfRegistro lancamentos;
      TArrayOfRegistro creditos;
      for (const TRegistroPtr& r : FRegistros) {
        const auto* titulo = dynamic_cast<const TRegistroFKZtPrest*>(r.get());
        if (titulo == nullptr) continue;
        for (const TRegistrosFK& fk : titulo->FKs) {
          AdicionarAoArraySeNaoEstiver(fk.Tipo == TZTPrestFK::zpfZTLanc ? lancamentos : creditos, fk.Registro);
        }
      }
      FDAOZTPrest = std::make_unique<TDAOModoZTPrest>(Sessao(), FRegistros);
      if (!lancamentos.empty()) FDAOZTLanc = std::make_unique<TDAOModoZTLanc>(Sessao(), lancamentos);
      if (!creditos.empty()) FDAOZTCreCli = std::make_unique<TDAOZTCreCli>(Sessao(), creditos);
    } else if (FModo == tmZTLanc) {
      FDAOZTLanc = std::make_unique<TDAOModoZTLanc>(Sessao(), FRegistros);
    }
    FPasso = TPasso::tpCarregado;
  } catch (...) {
    FPasso = TPasso::tpFalhou;
    throw;
  }
}

TDAO& TCancelarDesdobramento::DAOModo() const {
  TDAO* dao = FModo == tmZTPrest ? static_cast<TDAO*>(FDAOZTPrest.get()) : static_cast<TDAO*>(FDAOZTLanc.get());
  if (dao == nullptr) throw Exception("Cancelamento de desdobramento não carregado!");
  return *dao;
}

TTipoOperacaoDesdobramento TCancelarDesdobramento::TipoOperacao(const TRegistro& r) const {
  if (FModo == tmZTPrest)
    return ObterTipoOperacaoZTDESDPREST(DAOModo().ObterCampoReplica("OPERACAODESD", r, "TONormal"));
  return ObterTipoOperacaoZTDESDLANCOPERACAO(DAOModo().ObterCampoReplica("OPERACAODESD", r, "NORMAL"));
}

namespace {

TArrayOfRegistro Vizinhos(const std::unordered_map<std::string, TArrayOfRegistro>& mapa, const TRegistro& r,
                          const std::function<bool(const TRegistro&)>& no_universo) {
  TArrayOfRegistro lista;
  const auto achado = mapa.find(r.Chave());
  if (achado == mapa.end()) return lista;
  for (const TRegistroPtr& v : achado->second) {
    if (no_universo(*v)) lista.push_back(v);
  }
  return lista;
}

// Breadth-first closure over one direction, without repeats, in discovery order.
TArrayOfRegistro Fecho(const TRegistro& r, const std::function<TArrayOfRegistro(const TRegistro&)>& vizinhos) {
  TArrayOfRegistro todos;
  TIndiceRegistros vistos;
  std::deque<TRegistroPtr> fila;
  for (const TRegistroPtr& v : vizinhos(r)) fila.push_back(v);
  while (!fila.empty()) {
    const TRegistroPtr atual = fila.front();
    fila.pop_front();
    if (!vistos.Adicionar(*atual)) continue;
    todos.push_back(atual);
    for (const TRegistroPtr& v : vizinhos(*atual)) fila.push_back(v);
  }
  return todos;
}

}  // namespace

TArrayOfRegistro TCancelarDesdobramento::obterDestinos(const TRegistro& r, const TUniverso* u) const {
  return Vizinhos(FDestinos, r, [u](const TRegistro& x) { return NoUniverso(x, u); });
}

TArrayOfRegistro TCancelarDesdobramento::obterOrigens(const TRegistro& r, const TUniverso* u) const {
  return Vizinhos(FOrigens, r, [u](const TRegistro& x) { return NoUniverso(x, u); });
}

TArrayOfRegistro TCancelarDesdobramento::obterConjugues(const TRegistro& r, const TUniverso* u) const {
  const TArrayOfRegistro destinos = obterDestinos(r, u);
  if (destinos.empty()) return {};
  return obterOrigens(*destinos.front(), u);
}

TArrayOfRegistro TCancelarDesdobramento::obterIrmaos(const TRegistro& r, const TUniverso* u) const {
  const TArrayOfRegistro origens = obterOrigens(r, u);
  if (origens.empty()) return {};
  return obterDestinos(*origens.front(), u);
}

TArrayOfRegistro TCancelarDesdobramento::obterTodosDestinos(const TRegistro& r, const TUniverso* u) const {
  return Fecho(r, [&](const TRegistro& x) { return obterDestinos(x, u); });
}

TArrayOfRegistro TCancelarDesdobramento::obterTodasOrigens(const TRegistro& r, const TUniverso* u) const {
  return Fecho(r, [&](const TRegistro& x) { return obterOrigens(x, u); });
}

int TCancelarDesdobramento::obterMaiorGeracao(const TRegistro& r) const {
  std::unordered_map<std::string, int> calculada;
  std::unordered_set<std::string> na_cadeia;
  std::function<int(const TRegistro&)> geracao = [&](const TRegistro& x) -> int {
    const std::string chave = x.Chave();
    if (const auto achada = calculada.find(chave); achada != calculada.end()) return achada->second;
    na_cadeia.insert(chave);
    int maior = 0;
    for (const TRegistroPtr& o : obterOrigens(x)) {
      if (na_cadeia.count(o->Chave()) > 0) continue;
      maior = std::max(maior, geracao(*o) + 1);
    }
    na_cadeia.erase(chave);
    calculada[chave] = maior;
    return maior;
  };
  return geracao(r);
}

TArrayOfRegistro TCancelarDesdobramento::Afetados(const TArrayOfRegistro& selecionados) const {
  TArrayOfRegistro afetados;
  TIndiceRegistros indice;
  auto adicionar = [&](const TRegistroPtr& r) {
    if (indice.Adicionar(*r)) afetados.push_back(r);
  };
  for (const TRegistroPtr& s : selecionados) {
    const TArrayOfRegistro destinos = obterTodosDestinos(*s);
    for (const TRegistroPtr& d : destinos) adicionar(d);
    for (const TRegistroPtr& d : destinos) {
      for (const TRegistroPtr& o : obterOrigens(*d)) adicionar(o);
    }
  }
  return afetados;
}

TArrayOfRegistro TCancelarDesdobramento::Raizes(const TArrayOfRegistro& afetados) const {
  TIndiceRegistros universo;
  for (const TRegistroPtr& r : afetados) universo.Adicionar(*r);
  TArrayOfRegistro raizes;
  for (const TRegistroPtr& r : afetados) {
    if (obterOrigens(*r, &universo).empty()) raizes.push_back(r);
  }
  return raizes;
}

TArrayOfRegistro TCancelarDesdobramento::RaizesAMaior(const TArrayOfRegistro& raizes) const {
  TArrayOfRegistro a_maior;
  if (FModo != tmZTPrest) return a_maior;
  for (const TRegistroPtr& r : raizes) {
    if (DAOModo().ExisteReplica(*r) && TipoOperacao(*r) == todAMaior) a_maior.push_back(r);
  }
  return a_maior;
}

TArrayOfAcaoImpeditiva TCancelarDesdobramento::Validar(const TArrayOfRegistro& afetados,
                                                       const TArrayOfRegistro& raizes) const {
  TArrayOfAcaoImpeditiva impeditivas;
  auto rodar = [&](const TValidacao& validacao) {
    TArrayOfAcaoImpeditiva achadas;
    validacao.Validar(achadas);
    for (const TAcaoImpeditivaPtr& acao : achadas) {
      if (LocalizarNaLista(impeditivas, *acao->Registro) < 0) impeditivas.push_back(acao);
    }
  };
  rodar(TValidacaoConjuguesComDestinosDistintos(FRegistros, *this));
  rodar(TValidacaoIrmaosComOrigensDistintas(FRegistros, *this));
  rodar(TValidacaoRefereciaCircular(FRegistros, *this));
  if (FModo == tmZTPrest) {
    rodar(TValidacaoZTDESDPREST(raizes, *this));
    rodar(TValidacao1209(afetados, *this));
    rodar(TValidacaoValoresZTPrest(FRegistros, *this));
    rodar(TValidarTituloComVendor(FRegistros, *this));
    rodar(TValidacaoAMaiorCRED(RaizesAMaior(raizes), *this));
    rodar(TValidacaoBaixadoPREST(afetados, *this));
  } else if (FModo == tmZTLanc) {
    rodar(TValidacaoZTDESDLANCOPERACAO(raizes, *this));
    rodar(TValidacao775(afetados, *this));
    rodar(TValidacaoDevolucaoLanc(afetados, *this));
    rodar(TValidacaoValoresZTLanc(FRegistros, *this));
    rodar(TValidacaoBaixadoLANC(afetados, *this));
    rodar(TValidarTituloBaixadoComVerba(afetados, *this));
  }
  return impeditivas;
}
