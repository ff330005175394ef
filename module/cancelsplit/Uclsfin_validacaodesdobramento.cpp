#include "cancelsplit/Uclsfin_validacaodesdobramento.h"

#include <cmath>

#include "cancelsplit/Uclsfin_cancelardesdobramento.h"
#include "rtl/Formatacao.h"

namespace MensagensValidacao {

std::string Vendor(const std::string& duplic, const std::string& prest) {
  return "O título " + duplic + "-" + prest +
         " não pode ser desdobrado porque foi feita sua negociação de Vendor/Desconto nas rotinas 1234 e 1238!";
}

std::string CreditosBaixados(const std::string& lista) {
  return "Os Créditos " + TextoSql(lista) + " vinculados a este título já foram baixados!";
}

std::string Verba(const std::string& recnum) {
  return "O lançamento (" + recnum + ") não poderá ser cancelado, pois está vinculado a verba de fornecedor!";
}

}  // namespace MensagensValidacao

namespace M = MensagensValidacao;

TValidacao::~TValidacao() = default;

void TValidacao::Validar(TArrayOfAcaoImpeditiva& impeditivas) const {
  for (const TRegistroPtr& registro : FRegistros) {
    std::string mensagem;
    Teste(*registro, FRegistros, mensagem);
    if (mensagem.empty()) continue;
    if (LocalizarNaLista(impeditivas, *registro) >= 0) continue;
    if (FCanc.Modo() == tmZTPrest) {
      impeditivas.push_back(std::make_shared<TAcaoImpeditivaDesdEstruturasInvalidasZTPrest>(registro, mensagem));
    } else {
      impeditivas.push_back(std::make_shared<TAcaoImpeditivaDesdEstruturasInvalidasZTLanc>(registro, mensagem));
    }
  }
}

void TValidacaoConjuguesComDestinosDistintos::Teste(const TRegistro& registro, const TArrayOfRegistro&,
                                                    std::string& mensagem) const {
  const TArrayOfRegistro destinos = FCanc.obterDestinos(registro);
  for (const TRegistroPtr& conjugue : FCanc.obterConjugues(registro)) {
    if (!ArrayIgual(FCanc.obterDestinos(*conjugue), destinos)) {
      mensagem = M::kConjugues;
      return;
    }
  }
}

void TValidacaoIrmaosComOrigensDistintas::Teste(const TRegistro& registro, const TArrayOfRegistro&,
                                                std::string& mensagem) const {
  const TArrayOfRegistro origens = FCanc.obterOrigens(registro);
  for (const TRegistroPtr& irmao : FCanc.obterIrmaos(registro)) {
    if (!ArrayIgual(FCanc.obterOrigens(*irmao), origens)) {
      mensagem = M::kIrmaos;
      return;
    }
  }
}

void TValidacaoRefereciaCircular::Teste(const TRegistro& registro, const TArrayOfRegistro&,
                                        std::string& mensagem) const {
  if (EstaNoArray(FCanc.obterTodosDestinos(registro), registro)) mensagem = M::kCircular;
}

void TValidacaoZTDESDPREST::Teste(const TRegistro& registro, const TArrayOfRegistro&, std::string& mensagem) const {
  if (!FCanc.DAOModo().ExisteReplica(registro)) mensagem = M::kSemReplica;
}

void TValidacaoZTDESDLANCOPERACAO::Teste(const TRegistro& registro, const TArrayOfRegistro&,
                                         std::string& mensagem) const {
  if (!FCanc.DAOModo().ExisteReplica(registro)) mensagem = M::kSemReplica;
}

void TValidacao1209::Teste(const TRegistro& registro, const TArrayOfRegistro&, std::string& mensagem) const {
  if (FCanc.DAOModo().Preenchido("DTESTORNO", registro) && FCanc.obterOrigens(registro).empty()) mensagem = M::k1209;
}

void TValidacao775::Teste(const TRegistro& registro, const TArrayOfRegistro&, std::string& mensagem) const {
  if (FCanc.DAOModo().Preenchido("DTESTORNOBAIXA", registro) && FCanc.obterDestinos(registro).empty()) {
    mensagem = M::k775;
  }
}

namespace {

// The titles born of R's origins add up to those origins, and R's destinations add up to R and its
// co-origins. Records kept with a split with excess are left out of every sum.
bool ValoresConferem(const TCancelarDesdobramento& canc, const TRegistro& registro, const TArrayOfRegistro& registros) {
  const TDAO& dao = canc.DAOModo();
  TIndiceRegistros filtrado;
  for (const TRegistroPtr& r : Filtrar(
           registros, [&](const TRegistro& x) { return dao.ExisteReplica(x) && canc.TipoOperacao(x) == todAMaior; })) {
    filtrado.Adicionar(*r);
  }
  // A split with excess does not balance by design: its own record is judged by the excess checks.
  if (!filtrado.Contem(registro)) return true;
  auto soma = [&](const TArrayOfRegistro& conjunto) {
    double total = 0;
    for (const TRegistroPtr& r : conjunto) total += std::fabs(RoundTo(dao.Obter("VALOR", *r, 0.0), 2));
    return RoundTo(total, 2);
  };
  return soma(canc.obterIrmaos(registro, &filtrado)) == soma(canc.obterOrigens(registro, &filtrado)) &&
         soma(canc.obterDestinos(registro, &filtrado)) == soma(canc.obterConjugues(registro, &filtrado));
}

}  // namespace

void TValidacaoValoresZTPrest::Teste(const TRegistro& registro, const TArrayOfRegistro& registros,
                                     std::string& mensagem) const {
  if (!ValoresConferem(FCanc, registro, registros)) mensagem = M::kValores;
}

void TValidacaoValoresZTLanc::Teste(const TRegistro& registro, const TArrayOfRegistro& registros,
                                    std::string& mensagem) const {
  if (!ValoresConferem(FCanc, registro, registros)) mensagem = M::kValores;
}

void TValidarTituloComVendor::Teste(const TRegistro& registro, const TArrayOfRegistro&, std::string& mensagem) const {
  const TDAO& dao = FCanc.DAOModo();
  if (dao.Obter("NUMTRANSVENDOR", registro, 0.0) > 0 &&
      (dao.Preenchido("DTVENDOR", registro) || dao.Preenchido("DTFECHAVENDOR", registro))) {
    mensagem = M::Vendor(dao.Obter("DUPLIC", registro, std::string()), dao.Obter("PREST", registro, std::string()));
  }
}

void TValidacaoAMaiorCRED::Teste(const TRegistro& registro, const TArrayOfRegistro&, std::string& mensagem) const {
  const auto* titulo = dynamic_cast<const TRegistroFKZtPrest*>(&registro);
  const TDAOZTCreCli* creditos = FCanc.DAOZTCreCli();
  if (titulo == nullptr || creditos == nullptr) return;
  std::string lista;
  for (const TRegistrosFK& fk : titulo->FKs) {
    if (fk.Tipo != TZTPrestFK::zpfZTCreCli || !creditos->Baixado(*fk.Registro)) continue;
    if (!lista.empty()) lista += ",";
    lista += fk.Registro->Descricao();
  }
  if (!lista.empty()) mensagem = M::CreditosBaixados(lista);
}

void TValidacaoBaixadoPREST::Teste(const TRegistro& registro, const TArrayOfRegistro&, std::string& mensagem) const {
  const TDAO& dao = FCanc.DAOModo();
  if (!dao.Baixado(registro)) return;
  const std::string codcob = dao.ExisteReplica(registro) && FCanc.TipoOperacao(registro) == todBaixadoNoDesdobramento
                                 ? "DESD"
                                 : dao.Obter("CODCOB", registro, std::string());
  if (codcob != "DESD") mensagem = M::kBaixadoPrest;
}

void TValidacaoBaixadoLANC::Teste(const TRegistro& registro, const TArrayOfRegistro&, std::string& mensagem) const {
  if (FCanc.DAOModo().Baixado(registro)) mensagem = M::kBaixadoLanc;
}

void TValidacaoDevolucaoLanc::Teste(const TRegistro&, const TArrayOfRegistro& registros, std::string& mensagem) const {
  const TDAO& dao = FCanc.DAOModo();
  for (const TRegistroPtr& l : registros) {
    if (std::fabs(dao.Obter("VALORDEV", *l, 0.0)) > 0 && dao.Obter("TIPOPARCEIRO", *l, std::string()) == "F" &&
        !FCanc.DAOZTLanc()->TituloTeveDevolucaoEstornadaNa1327(*l)) {
      mensagem = std::string(M::kDevolucao) + "\rLançamento n. " + l->Descricao();
      return;
    }
  }
}

void TValidarTituloBaixadoComVerba::Teste(const TRegistro&, const TArrayOfRegistro& registros,
                                          std::string& mensagem) const {
  const TDAO& dao = FCanc.DAOModo();
  for (const TRegistroPtr& l : registros) {
    if (std::fabs(dao.Obter("DESCONTOFIN", *l, 0.0)) > 0 && FCanc.DAOZTLanc()->TituloVinculadoAVerba(*l)) {
      mensagem = M::Verba(l->Descricao());
      return;
    }
  }
}
