#include "cancelsplit/Uclsfin_cancelardesdobramento.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <unordered_set>

#include "cancelsplit/Uclsfin_dalmapeardesdobramento.h"
#include "cancelsplit/Uclsfin_validacaodesdobramento.h"
#include "oradb/TOraSavepoint.h"
#include "oradb/TOraSession.h"
#include "sdk/IQuorvin.h"

TCancelarDesdobramento::TCancelarDesdobramento(TComponent* owner, int codigo_usuario, int codigo_rotina, TModo modo)
    : TBaseSubModulo(owner), FCodigoUsuario(codigo_usuario), FCodigoRotina(codigo_rotina), FModo(modo) {
  if (modo == tmZTPrest) {
    FFerramentasZTPREST = std::make_unique<TFerramentasCancelarDesobramentoZTPREST>();
  } else if (modo == tmZTLanc) {
    FFerramentasZTLANC = std::make_unique<TFerramentasCancelarDesobramentoZTLANC>();
  }
}

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
  FListaAcoes.reset();
}

void TCancelarDesdobramento::Carregar(const TArrayOfRegistro& registros, bool forcar, bool a_maior) {
  if (!forcar) {
    bool todos = true;
    for (const TRegistroPtr& r : registros) todos = todos && FIndiceRegistros.Contem(*r);
    if (todos) return;
  }
  try {
    LimparAtributos();
    FAMaior = a_maior;
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
      FDAOZTPrest = std::make_unique<TDAOModoZTPrest>(Quorvin(), Sessao(), FRegistros);
      if (!lancamentos.empty()) FDAOZTLanc = std::make_unique<TDAOModoZTLanc>(Quorvin(), Sessao(), lancamentos);
      if (!creditos.empty()) FDAOZTCreCli = std::make_unique<TDAOZTCreCli>(Quorvin(), Sessao(), creditos);
    } else if (FModo == tmZTLanc) {
      FDAOZTLanc = std::make_unique<TDAOModoZTLanc>(Quorvin(), Sessao(), FRegistros);
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

TArrayOfRegistro TCancelarDesdobramento::Folhas(const TArrayOfRegistro& afetados) const {
  TIndiceRegistros universo;
  for (const TRegistroPtr& r : afetados) universo.Adicionar(*r);
  TArrayOfRegistro folhas;
  for (const TRegistroPtr& r : afetados) {
    if (obterDestinos(*r, &universo).empty() && !DAOModo().Baixado(*r)) folhas.push_back(r);
  }
  return folhas;
}

namespace {

namespace MC = MensagensCancelamento;

template <class TAcaoModo>
std::vector<TAcaoDefinidaPtr> Definidas(const TArrayOfRegistro& registros) {
  std::vector<TAcaoDefinidaPtr> acoes;
  for (const TRegistroPtr& r : registros) acoes.push_back(std::make_shared<TAcaoModo>(r));
  return acoes;
}

TArrayOfRegistro RegistrosDe(const std::vector<TAcaoDefinidaPtr>& acoes) {
  TArrayOfRegistro registros;
  for (const TAcaoDefinidaPtr& acao : acoes) registros.push_back(acao->Registro);
  return registros;
}

}  // namespace

TListaAcoes& TCancelarDesdobramento::ListaAcoes(const TArrayOfRegistro& selecionados) {
  FListaAcoes.reset();
  if (FPasso == TPasso::tpFalhou || FPasso == TPasso::tpCriado || FPasso == TPasso::tpConfirmado) {
    Carregar(selecionados, true, true);
  } else {
    // A selection the run did not load is loaded now, as a first listing would.
    Carregar(selecionados, false, true);
  }
  try {
    const bool titulos = FModo == tmZTPrest;
    std::unique_ptr<TListaAcoes> lista;
    if (titulos) {
      lista = std::make_unique<TListaAcoesZTPrest>();
    } else {
      lista = std::make_unique<TListaAcoesZTLanc>();
    }
    TDAO& dao = DAOModo();
    lista->Hoje = dao.hoje();
    lista->Dados = dao.Dados();
    lista->Selecionados = selecionados;
    const TArrayOfRegistro afetados = Afetados(selecionados);
    const TArrayOfRegistro raizes = Raizes(afetados);
    lista->Afetados = titulos ? Definidas<TAcaoDefinidaZTPrest>(afetados) : Definidas<TAcaoDefinidaZTLanc>(afetados);
    lista->Raizes = titulos ? Definidas<TAcaoDefinidaZTPrest>(raizes) : Definidas<TAcaoDefinidaZTLanc>(raizes);
    for (const TRegistroPtr& r : raizes) {
      const TDateTime dtvenc = dao.ObterData("DTVENC", *r);
      if (!(dtvenc < lista->Hoje)) continue;
      if (titulos) {
        lista->Vencimentos.push_back(std::make_shared<TAcaoVencAnteriorDataAtualZTPrest>(r, dtvenc));
      } else {
        lista->Vencimentos.push_back(std::make_shared<TAcaoVencAnteriorDataAtualZTLanc>(r, dtvenc));
      }
    }
    if (titulos) {
      for (const TRegistroPtr& r : RaizesAMaior(raizes)) {
        TAcaoAMaiorPtr acao = CriarAcaoDesdobramentoAMaior(r, dao.Obter("CODCOBORIG", *r, std::string()));
        if (!acao) throw Exception(MC::kCobrancaInvalida);
        lista->DesdobramentosAMaior.push_back(std::move(acao));
      }
    }
    const TArrayOfRegistro folhas = Folhas(afetados);
    lista->Folhas = titulos ? Definidas<TAcaoDefinidaZTPrest>(folhas) : Definidas<TAcaoDefinidaZTLanc>(folhas);
    if (titulos) {
      for (const TRegistroPtr& r : afetados) {
        if (dao.Obter("NUMTRANSVENDOR", *r, 0.0) > 0 && dao.ObterData("DTVENDOR", *r).Value() > 0 && dao.Baixado(*r)) {
          lista->Vendor.push_back(std::make_shared<TAcaoImpeditivaDesdVendorZTPrest>(r, ""));
        }
      }
    }
    lista->Impeditivas = Validar(afetados, raizes);
    FListaAcoes = std::move(lista);
    FPasso = TPasso::tpAcoesListadas;
    return *FListaAcoes;
  } catch (...) {
    FPasso = TPasso::tpFalhou;
    throw;
  }
}

TListaAcoes& TCancelarDesdobramento::ListaAcoes() {
  if (!FListaAcoes) throw Exception(MC::kListaAcoesInvalida);
  return *FListaAcoes;
}

void TCancelarDesdobramento::TravarRegistros() {
  DAOModo().Travar();
  if (FModo == tmZTPrest && FDAOZTLanc) FDAOZTLanc->Travar();
  if (FDAOZTCreCli) FDAOZTCreCli->Travar();
}

bool TCancelarDesdobramento::ListaAindaIgual() {
  auto gemeo = std::make_unique<TCancelarDesdobramento>(Owner(), FCodigoUsuario, FCodigoRotina, FModo);
  gemeo->Carregar(FListaAcoes->Selecionados, true, FAMaior);
  return FListaAcoes->igual(gemeo->ListaAcoes(FListaAcoes->Selecionados));
}

void TCancelarDesdobramento::Confirmar() {
  GetValidador().Clear();
  CheckTransacao();
  if (!GetValidador().IsEmpty()) throw Exception(MC::kSemTransacao);
  if (FPasso != TPasso::tpAcoesListadas || !FListaAcoes) {
    throw Exception(FPasso == TPasso::tpFalhou ? MC::kFalhou : MC::kListaAcoesInvalida);
  }
  if (!FListaAcoes->Impeditivas.empty()) throw Exception(MC::kImpeditivas);
  if (!FListaAcoes->TodosAMaiorConfirmados()) throw Exception(MC::kAMaiorNaoConfirmado);
  if (!FListaAcoes->TodosVencimentosConfirmados()) throw Exception(MC::kVencimentoNaoConfirmado);
  if (!FListaAcoes->Vendor.empty()) throw Exception(MC::kVendor);
  try {
    // Every row of the run stays locked until the caller's transaction ends; a second session
    // confirming the same cancellation waits here, then finds the rows changed.
    TravarRegistros();
    if (!ListaAindaIgual()) throw ExceptionTitulosAlterados();
    // A failed write leaves nothing behind, even for a caller that commits after the failure.
    FRestaurados.clear();
    TOraSavepoint escrita(Sessao());
    if (FModo == tmZTPrest) {
      GravarZTPrest();
    } else {
      GravarZTLanc();
    }
    escrita.Release();
    FPasso = TPasso::tpConfirmado;
  } catch (...) {
    FRestaurados.clear();
    FPasso = TPasso::tpFalhou;
    throw;
  }
}

void TCancelarDesdobramento::GravarZTPrest() {
  TDAO& dao = DAOModo();
  const TDateTime hoje = FListaAcoes->Hoje;
  TArrayOfRegistro restaurados;
  for (const TRegistroPtr& raiz : RegistrosDe(FListaAcoes->Raizes)) {
    const TRegistroPtr restaurado = dao.Replicar(*raiz);
    restaurados.push_back(restaurado);
    if (const TAcaoDesdobramentoAMaiorZTPrest* acao = FListaAcoes->DesdobramentoAMaior(*raiz)) {
      TratarDesdobramentoAMaior(*acao, *raiz);
    }
    const TAcaoVencAnteriorDataAtual* vencimento = FListaAcoes->Vencimento(*raiz);
    if (vencimento != nullptr && vencimento->NovaDataVencimento != dao.ObterData("DTVENC", *raiz)) {
      dao.AtualizarCampo(*restaurado, "DTVENC", vencimento->NovaDataVencimento);
      dao.AtualizarCampo(*restaurado, "DTRECEBIMENTOPREVISTO", vencimento->NovaDataVencimento);
      dao.AtualizarCampo(*restaurado, "DTLANCPRORROG", hoje);
    }
  }
  const TArrayOfRegistro folhas = RegistrosDe(FListaAcoes->Folhas);
  dao.Vincular(folhas, restaurados);
  dao.Baixar(folhas);
  FRestaurados = restaurados;
}

void TCancelarDesdobramento::GravarZTLanc() {
  TDAOModoZTLanc& dao = *FDAOZTLanc;
  const TDateTime hoje = FListaAcoes->Hoje;
  const TArrayOfRegistro raizes = RegistrosDe(FListaAcoes->Raizes);
  TArrayOfRegistro restaurados;
  for (const TRegistroPtr& raiz : raizes) {
    const TRegistroPtr restaurado = dao.ReplicarZTLanc(*raiz, false);
    restaurados.push_back(restaurado);
    const TAcaoVencAnteriorDataAtual* vencimento = FListaAcoes->Vencimento(*raiz);
    if (vencimento != nullptr && vencimento->NovaDataVencimento != dao.ObterData("DTVENC", *raiz)) {
      dao.AtualizarCampo(*restaurado, "DTVENC", vencimento->NovaDataVencimento);
      dao.AtualizarCampo(*restaurado, "DTPRORROG", hoje);
    }
  }
  const TArrayOfRegistro folhas = RegistrosDe(FListaAcoes->Folhas);
  dao.Vincular(folhas, restaurados);
  dao.Baixar(folhas);
  TArrayOfRegistro contrapartidas;
  for (const TRegistroPtr& folha : folhas) contrapartidas.push_back(dao.ReplicarZTLanc(*folha, true));
  dao.ProcessarRateioCentroCusto(raizes, restaurados, folhas, contrapartidas);
  FRestaurados = restaurados;
}

void TCancelarDesdobramento::TratarDesdobramentoAMaior(const TAcaoDesdobramentoAMaiorZTPrest& acao,
                                                       const TRegistro& registro) {
  TDAO& dao = DAOModo();
  dao.Baixar(TArrayOfRegistro{RegistroDaExecucao(registro)});
  if (dao.ObterCampoReplica("QTREPLICAS", registro, 0.0) != 1) return;
  TDAO* destino = nullptr;
  if (dynamic_cast<const TAcaoDesdobramentoAMaiorZTPrestCRED*>(&acao) != nullptr) {
    destino = FDAOZTCreCli.get();
  } else if (dynamic_cast<const TAcaoDesdobramentoAMaiorZTPrestZTLanc*>(&acao) != nullptr) {
    destino = FDAOZTLanc.get();
  } else {
    throw Exception(MC::kTipoAMaiorInvalido);
  }
  const auto* titulo = dynamic_cast<const TRegistroFKZtPrest*>(RegistroDaExecucao(registro).get());
  if (titulo == nullptr || destino == nullptr) return;
  for (const TRegistrosFK& fk : titulo->FKs) {
    const bool do_destino = (fk.Tipo == TZTPrestFK::zpfZTCreCli) == (destino == FDAOZTCreCli.get());
    if (do_destino) destino->Cancelar(*fk.Registro);
  }
}

TRegistroPtr TCancelarDesdobramento::RegistroDaExecucao(const TRegistro& registro) const {
  for (const TRegistroPtr& r : FRegistros) {
    if (r->Igual(registro)) return r;
  }
  throw Exception("O registro " + registro.Descricao() + " não faz parte do cancelamento!");
}
