// Receivable titles: insertion of a title and the questions the host asks about one title.
#include <cmath>

#include "frame/Uclsfin_except.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSavepoint.h"
#include "oradb/TOraSession.h"
#include "receivable/Uclsfin_contasreceber.h"
#include "receivable/Uclsfin_dalcontasreceberinclusao.h"
#include "rtl/Formatacao.h"

namespace {

constexpr const char* kTransacaoInvalida = "Número de transação de venda informado inválido!";

}  // namespace

int DiaDaSemana(TDateTime momento) {
  // Day 0 of the host's calendar (1899-12-30) was a Saturday, day 6 of the week.
  const long long dia = static_cast<long long>(std::floor(momento.Value()));
  return static_cast<int>(((dia + 5) % 7 + 7) % 7) + 1;
}

TDALContasReceberTitulos& TContasReceber::GetDALContasReceberTitulos() {
  if (fDALContasReceberTitulos == nullptr) fDALContasReceberTitulos = new TDALContasReceberTitulos(Owner());
  return *fDALContasReceberTitulos;
}

// ---- Insertion

// The checks run in their order and the defaults are filled between them, so the first missing
// field is the one reported. Amounts are rounded to cents before they are checked and stored.
void TContasReceber::ValidarInclusao(TContasReceberZTPrest& t) {
  if (Trim(t.CODFILIAL).empty()) throw ExCodigoFilialNaoPreenchido();
  if (t.NUMTRANSVENDA <= 0) throw ExErroAoInserirZTPrest("Deve ser informado o número de transação de venda");
  if (t.DUPLIC <= 0) throw ExErroAoInserirZTPrest("Deve ser informado o número da nota fiscal");
  if (t.DTVENC.IsZero()) throw ExDataVencimentoNaoInformada();
  if (t.DTVENCORIG.IsZero()) t.DTVENCORIG = t.DTVENC;
  if (t.DTEMISSAO.IsZero()) t.DTEMISSAO = Quorvin().SessaoAtual().BancoDados().DataServidor();
  if (t.DTEMISSAOORIG.IsZero()) t.DTEMISSAOORIG = t.DTEMISSAO;
  if (Trim(t.CODCOB).empty()) throw ExErroAoInserirZTPrest("Deve ser informado o código da cobrança");
  if (Trim(t.CODCOBORIG).empty()) t.CODCOBORIG = t.CODCOB;
  t.VALOR = RoundTo(t.VALOR, 2);
  t.VALORORIG = RoundTo(t.VALORORIG, 2);
  if (t.VALOR <= 0) throw ExValorZerado();
  if (t.VALORORIG == 0) t.VALORORIG = t.VALOR;
  if (t.CODCLI <= 0) throw ExCodigoClienteObrigatorio();
  if (Trim(t.STATUS).empty()) t.STATUS = "A";
  if (t.CODUSUR <= 0) throw ExErroAoInserirZTPrest("Deve ser informado o código do RCA da venda");
}

// The caller's record changes only once the title is written: a refused or failed insertion leaves
// it as it was, and a failure after the block leaves no title behind.
void TContasReceber::Incluir(TContasReceberZTPrest& Titulo) {
  GetValidador().Clear();
  CheckTransacao();
  if (!GetValidador().IsEmpty()) throw ExTransacaoNaoIniciada();
  TContasReceberZTPrest titulo = Titulo;
  ValidarInclusao(titulo);
  IQuorvinSessao& sessao = Quorvin().SessaoAtual();
  TOraSavepoint ponto(sessao.BancoDados().Sessao());
  titulo.PREST = GetDALContasReceberTitulos().Incluir(titulo, sessao.Usuario().Matricula());
  ponto.Release();
  Titulo = titulo;
}

// ---- Questions about one title

void TContasReceber::ValidarTitulo(double NumTransVenda, const std::string& Prest) {
  if (!(NumTransVenda > 0)) throw ExNumtransvendaInvalido();
  if (Trim(Prest).empty()) throw ExPrestInvalida();
}

bool TContasReceber::TituloDesdobradoPeloForcaVendas(double NumTransVenda, const std::string& Prest) {
  ValidarTitulo(NumTransVenda, Prest);
  return GetDALContasReceberTitulos().ContarDesdobramentosForcaVendas(NumTransVenda, Trim(Prest)) > 0;
}

// The weekday is the server's, the same clock that gives the week of the month in the statement.
bool TContasReceber::TituloEstaNaRotaDeAlgumRCA(double NumTransVenda, const std::string& Prest) {
  ValidarTitulo(NumTransVenda, Prest);
  if (!(GetUtilizaRoteirizacao2659() && GetUsaBaixaTituloComRotRCA3035())) return false;
  const int dia = DiaDaSemana(Quorvin().SessaoAtual().BancoDados().DataHoraServidor());
  return GetDALContasReceberTitulos().ContarTitulosNaRota(NumTransVenda, Trim(Prest),
                                                          GetAtualizaRotaNoMomentoVenda2660(), std::to_string(dia)) > 0;
}

// ---- SupplierCard

bool TContasReceber::CobrancaESupplierCard(const std::string& CodCob) {
  if (Trim(CodCob).empty()) throw Exception("Código de cobrança informado inválido!");
  return GetDALContasReceberTitulos().CobrancaSupplierCard(Trim(CodCob)).value_or("N") == "S";
}

// A pair the queue should never hold is reported, never read as one of the four statuses.
TStatusCobrancaSupplierCard TContasReceber::RetornarStatusCobrancaSupplierCard(double NumTransVenda) {
  if (!(NumTransVenda > 0)) throw Exception(kTransacaoInvalida);
  const std::optional<TFilaSupplierCard> fila = GetDALContasReceberTitulos().FilaSupplierCard(NumTransVenda);
  if (!fila || fila->ENVIADOSUPPLI == "N") return TStatusCobrancaSupplierCard::scNaoEnviado;
  if (fila->ENVIADOSUPPLI != "S") {
    throw ExRetornarStatusCobrancaSupplierCard("Situação de envio desconhecida: " + fila->ENVIADOSUPPLI);
  }
  if (fila->APROVADOSUPPLI.empty()) return TStatusCobrancaSupplierCard::scAguardandoRetorno;
  if (fila->APROVADOSUPPLI == "N") return TStatusCobrancaSupplierCard::scRecusado;
  if (fila->APROVADOSUPPLI == "S") return TStatusCobrancaSupplierCard::scAprovado;
  throw ExRetornarStatusCobrancaSupplierCard("Situação de aprovação desconhecida: " + fila->APROVADOSUPPLI);
}

bool TContasReceber::ComunicarProrrogacaoCobrancaSupplierCard(double NumTransVenda, const std::string& Prest) {
  GetValidador().Clear();
  CheckTransacao();
  if (!GetValidador().IsEmpty()) throw ExTransacaoNaoIniciada();
  if (!(NumTransVenda > 0)) throw Exception(kTransacaoInvalida);
  if (Trim(Prest).empty()) throw Exception("Número de prestação informada inválida!");
  GetDALContasReceberTitulos().IncluirProrrogacaoSupplierCard(NumTransVenda, Trim(Prest),
                                                              Quorvin().SessaoAtual().Usuario().CodigoRotina());
  return true;
}

// ---- Calculations over titles

// The whole days between the dates, in either order; a span shorter than one day counts as one.
double TContasReceber::CalcularDSR(double Valor, TDateTime DataIni, TDateTime DataFim, int Dias) {
  double dias = std::floor(std::fabs(DataFim - DataIni) + 1e-9);
  if (dias < 1) dias = 1;
  return Valor / dias * Dias;
}

bool TContasReceber::TitulosParaImpressaoBoletoComCobrancasDiferentes(TOraQuery& Qry) {
  if (!Qry.Active() || Qry.RecordCount() <= 1) return false;
  Qry.First();
  const std::string cobranca = Qry.FieldByName("CODCOB").AsString();
  const std::string banco = Qry.FieldByName("CODBANCOCM").AsString();
  bool diferentes = false;
  for (Qry.Next(); !Qry.Eof(); Qry.Next()) {
    if (Qry.FieldByName("CODCOB").AsString() != cobranca && Qry.FieldByName("CODBANCOCM").AsString() != banco) {
      diferentes = true;
      break;
    }
  }
  Qry.First();
  return diferentes;
}

// ---- Host parameters: the preset value without the parameter store, the store otherwise (read on
// every get, so a change of the parameter is seen at once).

std::string TContasReceber::ParametroTexto(const std::string& preset, const char* nome) {
  if (Quorvin().ParametrosExplicitos()) return preset;
  return Quorvin().Parametros().ValorTexto(nome);
}

bool TContasReceber::ParametroSim(bool preset, const char* nome) {
  if (Quorvin().ParametrosExplicitos()) return preset;
  return Quorvin().Parametros().ValorTexto(nome) == "S";
}

std::string TContasReceber::GetDiretorioArquivosPDFBoletos() {
  return ParametroTexto(fDiretorioArquivosPDFBoletos, "DIRETORIOARQUIVOSPDFBOLETOS");
}

bool TContasReceber::GetGerarArquivosPDFBoletos() {
  return ParametroSim(fGerarArquivosPDFBoletos, "GERARARQUIVOSPDFBOLETOS");
}

bool TContasReceber::GetUsaBaixaTituloComRotRCA3035() {
  return ParametroSim(fUsaBaixaTituloComRotRCA3035, "USABAIXATITULOCOMROTRCA");
}

bool TContasReceber::GetUtilizaRoteirizacao2659() {
  return ParametroSim(fUtilizaRoteirizacao2659, "UTILIZAROTEIRIZACAO");
}

bool TContasReceber::GetAtualizaRotaNoMomentoVenda2660() {
  return ParametroSim(fAtualizaRotaNoMomentoVenda2660, "ATUALIZAROTANOMOMENTOVENDA");
}
