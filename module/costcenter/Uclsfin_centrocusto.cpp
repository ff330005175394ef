#include "costcenter/Uclsfin_centrocusto.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "costcenter/Uclsfin_parametroscentrocustopedidocompraconsumo.h"
#include "costcenter/Uclsfin_rateiolinhas.h"
#include "frame/Uclsfin_except.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/EAbort.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/IQuorvin.h"

using namespace rateio_linhas;

namespace {

constexpr double kTolerancia = TRegrasOrcamentoCentroCusto::GetValorToleranciaDifRateio();

}  // namespace

// =============================================================================================
// Rules on the rows

template <class TParametros>
double TRegrasRateio<TParametros>::aoValidarPercentual(const TParametros& parametros, double percentual) {
  return RoundTo(parametros.ValorLancto * std::fabs(percentual) / 100, 2);
}

std::string TChaveRateio<TParametrosCentroCusto>::Filtro(const TParametrosCentroCusto& parametros) {
  if (parametros.LanctoFinanceiro) return "RECNUM = " + ShortestDecimal(parametros.NumTransacao);
  if (parametros.LanctoContabil) return "NUMTRANSLANCTO = " + ShortestDecimal(parametros.NumTransacao);
  if (parametros.LanctoOrcamento) {
    return "ANO = " + ShortestDecimal(parametros.Ano) + " AND MES = " + ShortestDecimal(parametros.Mes) +
           " AND CODCONTA = " + ShortestDecimal(TextoParaNumero(parametros.CodConta)) +
           " AND CODFILIAL = " + Aspas(parametros.CodFilial);
  }
  return {};
}

template <class TParametros>
bool TRegrasRateio<TParametros>::DistribuirRegistrosLancto(TParametros& parametros, TDataSet& linhas,
                                                           const TContextoRateio& contexto) {
  TParametros& p = parametros;
  const std::size_t quantidade = linhas.RecordCount();
  if (quantidade == 0) return false;
  const bool contrapartida = TChaveRateio<TParametros>::ContraPartida(p);
  double soma_percentual = 0;
  double soma_valor = 0;  // what the rows of the entry now hold
  double acumulado = 0;
  double percentual_ultimo = 0;
  double valor_ultimo = 0;
  std::string centro_custo_ultimo;
  std::string descricao_ultimo;
  std::size_t indice = 0;
  for (linhas.First(); !linhas.Eof(); linhas.Next()) {
    ++indice;
    const double percentual = linhas.FieldByName("PERCRATEIO").AsFloat();
    const double percentual6 = RoundTo(percentual, 6);
    soma_percentual = RoundTo(soma_percentual + percentual6, 6);
    p.CodFilial = linhas.FieldByName("CODFILIAL").AsString();
    p.CCTemPermissao_ZTLib = linhas.FieldByName("CCTEMPERMISSAO_ZTLIB").AsString();
    double valor = 0;
    if (p.FazCloneRegistroPrincipal) {
      valor = RoundTo(p.ValorLancto * percentual6 / 100, 2);
    } else {
      // A counterpart carries the opposite sign of its principal.
      valor = linhas.FieldByName("VALOR").AsFloat();
      if (contrapartida) valor = -valor;
    }
    if (indice < quantidade) acumulado = RoundTo(acumulado + RoundTo(p.ValorLancto * percentual / 100, 2), 2);
    // The last row takes what the others leave, so the rows total the entry.
    if (indice == quantidade && soma_percentual == 100 && !contrapartida) valor = RoundTo(p.ValorLancto - acumulado, 2);
    soma_valor = RoundTo(soma_valor + RoundTo(valor, 2), 2);

    p.PercRateio = percentual;
    p.ValorRateio = valor;
    p.CodCentroCusto = CentroCustoDaLinha(linhas);
    p.DescCentroCusto = linhas.FieldByName("DESCCENTROCUSTO").AsString();
    p.AlterandoLancto = false;
    if (TChaveRateio<TParametros>::InsereCentroCusto(p, false) && p.FazCloneRegistroPrincipal)
      p.StatusCentroCusto = true;
    percentual_ultimo = percentual;
    valor_ultimo = valor;
    centro_custo_ultimo = p.CodCentroCusto;
    descricao_ultimo = p.DescCentroCusto;
  }

  // A difference left between the entry and its rows goes to the last row. Counterparts copy
  // their principal exactly, and budget lines keep the values they were given.
  if (!contrapartida && !TChaveRateio<TParametros>::LinhaOrcamento(p)) {
    const double diferenca = RoundTo(std::fabs(RoundTo(p.ValorLancto, 2) - soma_valor), 2);
    if (diferenca != 0 && (contexto.RateioTotal || diferenca <= kTolerancia)) {
      p.PercRateio = RoundTo(percentual_ultimo + (100 - soma_percentual), 6);
      p.ValorRateio = RoundTo(p.ValorLancto + valor_ultimo - soma_valor, 2);
      p.CodCentroCusto = centro_custo_ultimo;
      p.DescCentroCusto = descricao_ultimo;
      p.AlterandoLancto = false;
      TChaveRateio<TParametros>::InsereCentroCusto(p, false);
    }
  }
  LimpaRegistrosDuplicadosCentroCusto(p);
  return true;
}

template <class TParametros>
bool TRegrasRateio<TParametros>::InserirLinhasPadrao(TParametros& parametros, TDataSet& origem, bool arredondar,
                                                     std::string& repetidos) {
  TParametros& p = parametros;
  TClientDataSet& rateios = p.cdsRateios();
  // The source rows are read first: the source may be the parameters' own rows to replicate.
  struct TLinha {
    std::string CentroCusto;
    std::string Descricao;
    double Percentual;
    std::string Permissao;
  };
  std::vector<TLinha> linhas;
  for (origem.First(); !origem.Eof(); origem.Next()) {
    const auto permissao = origem.FindField("CCTEMPERMISSAO_ZTLIB");
    linhas.push_back({CentroCustoDaLinha(origem), origem.FieldByName("DESCCENTROCUSTO").AsString(),
                      origem.FieldByName("PERCRATEIO").AsFloat(), permissao ? permissao->AsString() : std::string()});
  }
  // The cost centers the rows already hold, kept as rows are added: a source of thousands of rows
  // is not walked once per row.
  std::set<std::string> presentes;
  for (rateios.First(); !rateios.Eof(); rateios.Next()) presentes.insert(CentroCustoDaLinha(rateios));
  for (const TLinha& linha : linhas) {
    double valor = p.ValorLancto * RoundTo(linha.Percentual, 6) / 100;
    const bool presente = presentes.count(linha.CentroCusto) > 0;
    if (arredondar) {
      p.CCTemPermissao_ZTLib = linha.Permissao;
      valor = RoundTo(valor, 2);
    } else if (presente) {
      repetidos += (repetidos.empty() ? "" : " - ") + Aspas(linha.CentroCusto);
      continue;
    }
    // Not rounded yet: ValidaTotalCC_ValorLancto brings the values to the cent.
    p.PercRateio = linha.Percentual;
    p.ValorRateio = valor;
    p.CodCentroCusto = linha.CentroCusto;
    p.DescCentroCusto = linha.Descricao;
    p.AlterandoLancto = false;
    TChaveRateio<TParametros>::InsereCentroCusto(p, !presente);
    presentes.insert(linha.CentroCusto);
  }
  return !linhas.empty();
}

template <class TParametros>
void TRegrasRateio<TParametros>::LimpaRegistrosDuplicadosCentroCusto(TParametros& parametros) {
  TParametros& p = parametros;
  TClientDataSet& rateios = p.cdsRateios();
  if (rateios.IsEmpty()) return;
  TFiltroGuardado filtro(rateios);
  const bool sem_filtro = !rateios.Filtered() || Trim(rateios.Filter()).empty();
  if (sem_filtro && TChaveRateio<TParametros>::FiltraDuplicados(p)) {
    rateios.SetFilter(FiltroLancamento(p));
    rateios.SetFiltered(true);
  } else {
    filtro.Descartar();
  }
  // Positions of the later rows of a key; deleted from the last, so earlier positions hold.
  const std::string transacao = TChaveRateio<TParametros>::Chave(p);
  std::set<std::string> vistos;
  std::vector<std::size_t> repetidas;
  std::size_t posicao = 0;
  for (rateios.First(); !rateios.Eof(); rateios.Next(), ++posicao) {
    if (!vistos.insert(transacao + "-" + CentroCustoDaLinha(rateios)).second) repetidas.push_back(posicao);
  }
  for (auto it = repetidas.rbegin(); it != repetidas.rend(); ++it) {
    IrPara(rateios, *it);
    rateios.Delete();
  }
  rateios.First();
}

template <class TParametros>
void TRegrasRateio<TParametros>::ValidaTotalCC_ValorLancto(TParametros& parametros) {
  TParametros& p = parametros;
  if (TChaveRateio<TParametros>::MantemValores(p)) return;
  TClientDataSet& rateios = p.cdsRateios();
  if (rateios.IsEmpty()) return;
  const double valor_lancto = RoundTo(p.ValorLancto, 2);
  const auto somar = [&rateios]() {
    double total = 0;
    for (rateios.First(); !rateios.Eof(); rateios.Next()) {
      total = RoundTo(total + RoundTo(rateios.FieldByName("VALOR").AsFloat(), 2), 2);
    }
    return total;
  };
  const auto gravar_valor = [&rateios](double valor) {
    rateios.Edit();
    rateios.FieldByName("VALOR").SetAsFloat(valor);
    rateios.Post();
  };

  // Values as they will be stored, to the cent: when they already total the entry, they stay.
  if (somar() == valor_lancto) {
    for (rateios.First(); !rateios.Eof(); rateios.Next()) {
      const double valor = rateios.FieldByName("VALOR").AsFloat();
      if (!rateios.FieldByName("VALOR").IsNull() && RoundTo(valor, 2) != valor) gravar_valor(RoundTo(valor, 2));
    }
    rateios.First();
    return;
  }
  for (rateios.First(); !rateios.Eof(); rateios.Next()) {
    gravar_valor(aoValidarPercentual(p, rateios.FieldByName("PERCRATEIO").AsFloat()));
  }
  const double total = somar();
  const double diferenca = RoundTo(std::fabs(valor_lancto - total), 2);
  if (diferenca <= kTolerancia) {
    std::size_t posicao = 0;
    std::size_t ultima = 0;
    bool achou = false;
    for (rateios.First(); !rateios.Eof(); rateios.Next(), ++posicao) {
      if (rateios.FieldByName("VALOR").AsFloat() != 0) {
        ultima = posicao;
        achou = true;
      }
    }
    if (achou) {
      IrPara(rateios, ultima);
      gravar_valor(RoundTo(p.ValorLancto + rateios.FieldByName("VALOR").AsFloat() - total, 2));
    }
  }
  rateios.First();
}

template <class TParametros>
void TRegrasRateio<TParametros>::ValidaTotaisInclusao(TParametros& parametros, const TContextoRateio& contexto) {
  TParametros& p = parametros;
  TClientDataSet& rateios = p.cdsRateios();
  double soma_percentual = 0;
  double soma_valor = 0;
  for (rateios.First(); !rateios.Eof(); rateios.Next()) {
    soma_percentual += rateios.FieldByName("PERCRATEIO").AsFloat();
    soma_valor += rateios.FieldByName("VALOR").AsFloat();
  }
  rateios.First();
  const bool com_tipo = TChaveRateio<TParametros>::TemTipo(p);
  if (com_tipo && rateios.IsEmpty()) throw Exception("Favor informar ao menos um registro!");
  if ((com_tipo || !rateios.IsEmpty()) && contexto.RateioTotal &&
      RoundTo(std::fabs(std::fabs(p.ValorLancto) - std::fabs(soma_valor)), 6) >= 0.009) {
    throw Exception(
        "O parâmetro \"2664 - Obrigar rateio de Centro de Custos totalizar 100%\" está definido como \"Sim\". Favor "
        "fechar em 100% o rateio!");
  }
  if (com_tipo && !contexto.RateioTotal && RoundTo(soma_valor, 2) == 0) {
    throw Exception("Favor informar valor para ao menos um registro!");
  }
  if (RoundTo(soma_percentual - 100, 6) > 0.009) {
    throw Exception("O percentual de rateio não pode ser maior que 100%. Favor verificar!");
  }
}

bool TRegrasOrcamentoCentroCusto::ExisteOrcamentoExcedido(TDataSet& rateios) {
  bool excedido = false;
  for (rateios.First(); !rateios.Eof() && !excedido; rateios.Next()) {
    excedido = rateios.FieldByName("ORCAMENTOEXCEDIDO").AsString() == "S";
  }
  rateios.First();
  return excedido;
}

std::string TRegrasOrcamentoCentroCusto::MensagemOrcamentoExcedido(const std::string& centro_custo, int mes, int ano,
                                                                   const std::string& filial, double realizado,
                                                                   double orcado, double saldo,
                                                                   const std::string& ultima_linha,
                                                                   const std::string& rotulo_realizado) {
  return "Lançamentos do centro de custo " + centro_custo + " para " + ZeroPad(mes, 2) + "/" + std::to_string(ano) +
         " na filial " + filial + " ultrapassou o valor orçado na rotina 755!" + "\r" + rotulo_realizado +
         FormatarValor(realizado) + "\r" + "Valor orçado: " + FormatarValor(orcado) + "\r" +
         "Saldo disponível: " + FormatarValor(saldo) + "\r" + ultima_linha;
}

double TRegrasOrcamentoCentroCusto::SaldoDisponivel(double orcado, double realizado) noexcept {
  if (orcado == 0) return 0;
  const bool mantem_sinal = orcado > 0 ? orcado > realizado : orcado < realizado;
  return mantem_sinal ? orcado - realizado : 0;
}

bool TRegrasOrcamentoCentroCusto::OrcamentoExcedido(double orcado, double realizado, double valor) noexcept {
  // Binary noise of double sums never counts as going past a budget.
  constexpr double kRuidoBinario = 1e-9;
  const double total = valor + realizado;
  if (orcado > 0) return total - orcado > kRuidoBinario;
  if (orcado < 0) return orcado - total > kRuidoBinario;
  return false;  // a zero budget is not controlled
}

std::string TChaveRateio<TParametrosCentroCusto>::Chave(const TParametrosCentroCusto& p) {
  return ShortestDecimal(p.NumTransacao);
}

bool TChaveRateio<TParametrosCentroCusto>::InsereCentroCusto(TParametrosCentroCusto& p, bool nova) {
  return TDALCentroCusto::InsereCentroCusto(p, nova);
}

template <class TParametros>
std::uint8_t TRegrasRateio<TParametros>::ValidaCamposLinha(const TParametros& parametros,
                                                           const std::function<bool()>& usa_centro_custo,
                                                           const std::string& mensagem_filial, TStringList& validador) {
  const TParametros& p = parametros;
  const std::string centro_custo = Trim(p.CodCentroCusto);
  const std::string rateio_padrao = Trim(p.CodRateioPadrao);
  // Branch and value checks apply to entries with a value of their own (not accounting rows).
  const bool com_valor = TChaveRateio<TParametros>::ComValor(p);
  const auto falha = [&validador](std::uint8_t codigo, const std::string& mensagem) {
    validador.Add(mensagem);
    return codigo;
  };
  if (Trim(p.CodConta).empty()) return falha(2, "Favor informar a conta do Centro de Custo!");
  if (com_valor && Trim(p.CodFilial).empty()) return falha(1, "Favor informar a filial do Centro de Custo!");
  if (centro_custo.empty() && rateio_padrao.empty()) {
    return falha(3, "Favor informar o Rateio Padrão ou Centro de Custo válido para inclusão!");
  }
  if (!centro_custo.empty() && p.PercRateio == 0) {
    return falha(4, "Favor informar o percentual de rateio do lançamento para inclusão!");
  }
  if (p.PercRateio < 0) return falha(7, "Favor informar o percentual de rateio maior que zero!");
  if (com_valor && p.ValorRateio < 0 && p.ValorLancto > 0) {
    return falha(9, "Favor o valor do lançamento e do rateio devem ser ambos positivos ou negativos!");
  }
  if (com_valor && !centro_custo.empty() && p.ValorRateio == 0) {
    return falha(5, "Favor informar o valor de rateio do lançamento para inclusão!");
  }
  if (TChaveRateio<TParametros>::TemTipo(p) && !usa_centro_custo()) return falha(10, mensagem_filial);
  return 0;
}

template class TRegrasRateio<TParametrosCentroCusto>;
template class TRegrasRateio<TParametrosCentroCustoPedidoCompraConsumo>;

// =============================================================================================
// The sub-module

TValidaCentroCusto::TValidaCentroCusto(TComponent* owner) : TBaseSubModulo(owner) {}

TValidaCentroCusto::~TValidaCentroCusto() = default;

TParametrosCentroCusto& TValidaCentroCusto::Parametros() {
  if (!fParametrosCentroCusto) fParametrosCentroCusto = std::make_unique<TParametrosCentroCusto>();
  return *fParametrosCentroCusto;
}

TDALCentroCusto& TValidaCentroCusto::DALCentroCusto() {
  if (fDALCentroCusto == nullptr) fDALCentroCusto = new TDALCentroCusto(this, fTipoLancamento);  // owned by this
  fDALCentroCusto->SetTipoLancamento(fTipoLancamento);
  return *fDALCentroCusto;
}

TOraSession& TValidaCentroCusto::Sessao() {
  return Quorvin().SessaoAtual().BancoDados().Sessao();
}

IFin_ContasPagar* TValidaCentroCusto::ContasPagar() {
  IGerenteFinanceiro* gerente = Quorvin().GerenteFinanceiro();
  return gerente == nullptr ? nullptr : gerente->GetContasPagar();
}

bool TValidaCentroCusto::ParametroFilial(const char* nome) {
  return Quorvin().Parametros().ValorTextoFilial(nome, Parametros().CodFilial, "N") == "S";
}

TContextoRateio TValidaCentroCusto::Contexto() {
  return {GetRATEIOTOTALCC_2664() == "S", Quorvin().SessaoAtual().Usuario().CodigoRotina()};
}

void TValidaCentroCusto::FiltrarLancamento(const std::string& condicao_extra) {
  TClientDataSet& rateios = Parametros().cdsRateios();
  std::string filtro = TRegrasRateioCentroCusto::FiltroLancamento(Parametros());
  if (!condicao_extra.empty()) filtro = filtro.empty() ? condicao_extra : filtro + " AND " + condicao_extra;
  rateios.SetFiltered(false);
  rateios.SetFilter(filtro);
  rateios.SetFiltered(true);
}

// ---------------------------------------------------------------------------------------------
// Parameters of the host

std::string TValidaCentroCusto::GetUTILIZACENTROCUSTO_2663() {
  if (Quorvin().ParametrosExplicitos()) return fUTILIZACENTROCUSTO_2663;
  return Quorvin().Parametros().ValorTextoFilial("UTILIZACENTROCUSTO", Parametros().CodFilial, "N");
}

std::string TValidaCentroCusto::GetRATEIOTOTALCC_2664() {
  if (Quorvin().ParametrosExplicitos()) return fRATEIOTOTALCC_2664;
  const std::string valor = Trim(Quorvin().Parametros().ValorTexto("RATEIOTOTALCC"));
  return valor.empty() ? "N" : valor;
}

// ---------------------------------------------------------------------------------------------
// Main entry

bool TValidaCentroCusto::ProcessoCentroCusto(bool pbEditaLancto, TTipoLancamento ptTipoLancto,
                                             const std::string& psCodFilial, const std::string& psCodConta,
                                             double prNumTransacao, double prValorLancto, TDateTime pdDataLancto,
                                             bool pbShowForm, const std::string& psContraPartida_Natureza,
                                             std::int64_t prRecNumPrinc_CodPlanoConta,
                                             bool pbPermitirGerarLancamentoAcimaOrcado, TDateTime pdDataCompetencia,
                                             TDateTime pdDataVencimento, bool pbLancarZTLancBloq) {
  GetValidador().Clear();
  return Processar(pbEditaLancto, ptTipoLancto, psCodFilial, psCodConta, nullptr, nullptr, prNumTransacao,
                   prValorLancto, pdDataLancto, pbShowForm, psContraPartida_Natureza, prRecNumPrinc_CodPlanoConta,
                   pbPermitirGerarLancamentoAcimaOrcado, pdDataCompetencia, pdDataVencimento, pbLancarZTLancBloq);
}

bool TValidaCentroCusto::ProcessoCentroCusto(
    bool pbEditaLancto, TTipoLancamento ptTipoLancto, const std::string& psCodFilial, const std::string& psCodConta,
    const std::string& psCodContaAReplicar, TClientDataSet* pdCdsRateiosAReplicar, double prNumTransacao,
    double prValorLancto, TDateTime pdDataLancto, bool pbShowForm, const std::string& psContraPartida_Natureza,
    std::int64_t prRecNumPrinc_CodPlanoConta, bool pbPermitirGerarLancamentoAcimaOrcado, TDateTime pdDataCompetencia,
    TDateTime pdDataVencimento, bool pbLancarZTLancBloq) {
  GetValidador().Clear();
  return Processar(pbEditaLancto, ptTipoLancto, psCodFilial, psCodConta, &psCodContaAReplicar, pdCdsRateiosAReplicar,
                   prNumTransacao, prValorLancto, pdDataLancto, pbShowForm, psContraPartida_Natureza,
                   prRecNumPrinc_CodPlanoConta, pbPermitirGerarLancamentoAcimaOrcado, pdDataCompetencia,
                   pdDataVencimento, pbLancarZTLancBloq);
}

bool TValidaCentroCusto::Processar(bool pbEditaLancto, TTipoLancamento ptTipoLancto, const std::string& psCodFilial,
                                   const std::string& psCodConta, const std::string* psCodContaAReplicar,
                                   TClientDataSet* pdCdsRateiosAReplicar, double prNumTransacao, double prValorLancto,
                                   TDateTime pdDataLancto, bool pbShowForm, const std::string& psContraPartida_Natureza,
                                   std::int64_t prRecNumPrinc_CodPlanoConta, bool pbPermitirGerarLancamentoAcimaOrcado,
                                   TDateTime pdDataCompetencia, TDateTime pdDataVencimento, bool pbLancarZTLancBloq) {
  TParametrosCentroCusto& p = Parametros();
  fTipoLancamento = ptTipoLancto;
  p.DefinirTipoLancamento(ptTipoLancto);
  if (p.cdsRateios().IsEmpty()) p.ShowForm = pbShowForm;

  fEditaLancto = pbEditaLancto;
  p.EditaLancto = pbEditaLancto;
  p.CodFilial = psCodFilial;
  p.ValorLancto = prValorLancto;
  p.NumTransacao = prNumTransacao;
  p.CodConta = psCodConta;
  p.DataLancto = pdDataLancto;
  p.ContraPartida_Natureza = psContraPartida_Natureza;
  p.NumTransPrinc_CodPlanoConta = static_cast<double>(prRecNumPrinc_CodPlanoConta);
  p.PermitirGerarLancamentoAcimaOrcado = pbPermitirGerarLancamentoAcimaOrcado;
  if (psCodContaAReplicar != nullptr) {
    // A copy: the rows outlive the caller's dataset, for this run and the ones that follow.
    p.CodContaAReplicar = *psCodContaAReplicar;
    p.SetcdsRateiosAReplicar(nullptr);
    TClientDataSet& a_replicar = p.cdsRateiosAReplicar();
    if (pdCdsRateiosAReplicar != nullptr && pdCdsRateiosAReplicar->Active()) {
      a_replicar.CopyFrom(*pdCdsRateiosAReplicar);
    } else {
      TParametrosCentroCusto::CriarCdsRateios(a_replicar);
    }
  } else {
    p.CodContaAReplicar.clear();
  }
  p.DataCompetencia = pdDataCompetencia.Value() > 0 ? pdDataCompetencia : pdDataLancto;
  p.DataVencimento = pdDataVencimento.Value() > 0 ? pdDataVencimento : pdDataLancto;

  if (!ValidaDados_ProcessoCentroCusto(psCodFilial, psCodConta, prNumTransacao, prValorLancto)) return false;
  if (psCodContaAReplicar != nullptr) ConferirRateiosAReplicar();

  if (p.LanctoContabil && p.ContraPartida_Natureza == "D") {
    p.CodFilialDebito = p.CodFilial;
    p.CodContaDebito = p.CodConta;
    p.NumTransacaoDebito = p.NumTransacao;
  } else if (p.LanctoContabil && p.ContraPartida_Natureza == "C") {
    p.CodFilialCredito = p.CodFilial;
    p.CodContaCredito = p.CodConta;
    p.NumTransacaoCredito = p.NumTransacao;
  }
  if (p.LanctoOrcamento) {
    p.Ano = p.DataLancto.Year();
    p.Mes = p.DataLancto.Month();
  }
  FLancarZTLancBloq = pbLancarZTLancBloq;
  Inicializar();

  if (pbShowForm) {
    p.StatusCentroCusto = false;  // the host shows the form and calls the form operations
    return false;
  }
  Confirmar();
  // Saving forgets the entry (and its status), so the answer is taken before.
  const bool produziu = !p.cdsRateios().IsEmpty();
  p.StatusCentroCusto = produziu;
  if (produziu) InsertCentroCusto_Banco();
  return produziu;
}

bool TValidaCentroCusto::ProcessoCentroCusto(bool pbEditaLancto, TTipoLancamento ptTipoLancto, double prNumTransEnt,
                                             double prNumNota, bool pbPermitirGerarLancamentoAcimaOrcado,
                                             TDateTime pdDataCompetencia, TDateTime pdDataVencimento) {
  GetValidador().Clear();
  const TLinhasCarregadas lancamentos = DALCentroCusto().LancamentosEntrada(prNumTransEnt, prNumNota);
  if (!lancamentos.TemLinhas) return false;
  return ProcessarLancamentos(lancamentos.Dados(), pbEditaLancto, ptTipoLancto, pbPermitirGerarLancamentoAcimaOrcado,
                              pdDataCompetencia, pdDataVencimento);
}

bool TValidaCentroCusto::ProcessoCentroCusto(bool pbEditaLancto, TTipoLancamento ptTipoLancto, double prNumTransVenda,
                                             bool pbPermitirGerarLancamentoAcimaOrcado, TDateTime pdDataCompetencia,
                                             TDateTime pdDataVencimento) {
  GetValidador().Clear();
  const TLinhasCarregadas lancamentos = DALCentroCusto().LancamentosSaida(prNumTransVenda);
  if (!lancamentos.TemLinhas) return false;
  return ProcessarLancamentos(lancamentos.Dados(), pbEditaLancto, ptTipoLancto, pbPermitirGerarLancamentoAcimaOrcado,
                              pdDataCompetencia, pdDataVencimento);
}

bool TValidaCentroCusto::ProcessarLancamentos(TDataSet& lancamentos, bool pbEditaLancto, TTipoLancamento ptTipoLancto,
                                              bool pbPermitirGerarLancamentoAcimaOrcado, TDateTime pdDataCompetencia,
                                              TDateTime pdDataVencimento) {
  struct TLancamento {
    std::string CodFilial;
    std::string CodConta;
    double RecNum;
    double Valor;
    TDateTime DtLanc;
  };
  std::vector<TLancamento> lista;
  for (lancamentos.First(); !lancamentos.Eof(); lancamentos.Next()) {
    lista.push_back({lancamentos.FieldByName("CODFILIAL").AsString(), lancamentos.FieldByName("CODCONTA").AsString(),
                     lancamentos.FieldByName("RECNUM").AsFloat(), lancamentos.FieldByName("VALOR").AsFloat(),
                     lancamentos.FieldByName("DTLANC").AsDateTime()});
  }
  bool algum = false;
  for (const TLancamento& lancamento : lista) {
    // Every entry's messages are kept for the caller.
    const bool gravou = Processar(pbEditaLancto, ptTipoLancto, lancamento.CodFilial, lancamento.CodConta, nullptr,
                                  nullptr, lancamento.RecNum, lancamento.Valor, lancamento.DtLanc, false, "N", 0,
                                  pbPermitirGerarLancamentoAcimaOrcado, pdDataCompetencia, pdDataVencimento, false);
    algum = algum || gravou;
  }
  return algum;
}

bool TValidaCentroCusto::ValidaDados_ProcessoCentroCusto(const std::string& psCodFilial, const std::string& psCodConta,
                                                         double prNumTransacao, double prValorLancto) {
  TParametrosCentroCusto& p = Parametros();
  TStringList& validador = GetValidador();
  if (Trim(psCodConta).empty()) {
    validador.Add("Favor informar a conta para lançamento do Centro de Custo!");
    throw ExCodigoContaVazio();
  }
  if (!p.TemTipoLancamento()) return false;
  // An entry without a branch meets the branch switch first and is answered false, so an invoice
  // or sale run goes on with its other entries.
  if (GetUTILIZACENTROCUSTO_2663() != "S") {
    validador.Add("Filial não trabalha com Centro de Custo!");
    return false;
  }
  if (!ContaTrabalhaCentroCusto(psCodFilial, psCodConta, tlFinanceiro)) {
    validador.Add("Conta gerencial não trabalha com Centro de Custo!");
    return false;
  }
  if (prValorLancto == 0) {
    validador.Add("Favor informar o valor para lançamento do Centro de Custo!");
    throw ExValorNaoInformado();
  }
  // A negative number names no entry, whatever the routine.
  const bool sem_transacao =
      prNumTransacao < 0 || (prNumTransacao == 0 && Quorvin().SessaoAtual().Usuario().CodigoRotina() != 755);
  if (sem_transacao && !p.LanctoOrcamento) {
    validador.Add("É necessário o Número da Transação de contas a pagar para lançamento do Centro de Custo!");
    throw ExNumeroLanctoZerado();
  }
  if (Trim(psCodFilial).empty()) {
    validador.Add("Favor informar a filial para o lançamento do Centro de Custo!");
    throw ExFilialNaoInformada();
  }
  return true;
}

void TValidaCentroCusto::ConferirRateiosAReplicar() {
  // The rows to replicate replace what a user would type in the form: each passes the form's row
  // checks (with the form's messages), names a registered cost center that takes entries, and
  // together they make a whole apportionment (a copy of 100%, never part of one).
  TParametrosCentroCusto& p = Parametros();
  TClientDataSet& a_replicar = p.cdsRateiosAReplicar();
  if (!a_replicar.Active() || a_replicar.IsEmpty()) return;
  const auto recusar = [this, &a_replicar](const std::string& mensagem) {
    TParametrosCentroCusto::CriarCdsRateios(a_replicar);  // refused rows are not kept for later runs
    GetValidador().Add(mensagem);
    throw Exception(mensagem);
  };
  std::vector<std::string> codigos;
  std::set<std::string> vistos;
  double soma_percentual = 0;
  for (a_replicar.First(); !a_replicar.Eof(); a_replicar.Next()) {
    const std::string codigo = CentroCustoDaLinha(a_replicar);
    const double percentual = a_replicar.FieldByName("PERCRATEIO").AsFloat();
    if (codigo.empty()) recusar("Favor informar o Rateio Padrão ou Centro de Custo válido para inclusão!");
    if (percentual == 0) recusar("Favor informar o percentual de rateio do lançamento para inclusão!");
    if (!(percentual > 0)) recusar("Favor informar o percentual de rateio maior que zero!");
    if (!vistos.insert(codigo).second) recusar("Centro de Custo " + codigo + " já existe!");
    codigos.push_back(codigo);
    soma_percentual = RoundTo(soma_percentual + RoundTo(percentual, 6), 6);
  }
  if (soma_percentual - 100 > 0.009) recusar("O percentual de rateio não pode ser maior que 100%. Favor verificar!");
  if (100 - soma_percentual > 0.009) {
    std::string soma = ShortestDecimal(soma_percentual);
    std::replace(soma.begin(), soma.end(), '.', ',');
    recusar("O rateio a replicar soma " + soma + "% e deve totalizar 100%. Favor verificar!");
  }
  const std::map<std::string, bool> cadastrados = DALCentroCusto().CentrosCustoCadastrados(codigos);
  for (const std::string& codigo : codigos) {
    const auto cadastrado = cadastrados.find(codigo);
    if (cadastrado == cadastrados.end()) recusar("Centro de Custo " + codigo + " não cadastrado!");
    if (!cadastrado->second) recusar("Centro de Custo " + codigo + " inativo ou não recebe lançamentos!");
  }
  const std::unique_ptr<TOraQuery> prioritarios = DALCentroCusto().ExisteCentroCustoPrioritario(p.CodConta);
  if (prioritarios->IsEmpty()) return;
  for (const std::string& codigo : codigos) {
    if (!ContemCentroCusto(*prioritarios, codigo)) {
      recusar("Centro de custo informado não está parametrizado como restrito para a conta gerencial");
    }
  }
}

void TValidaCentroCusto::Inicializar() {
  TParametrosCentroCusto& p = Parametros();
  TClientDataSet& rateios = p.cdsRateios();
  FiltrarLancamento("");
  if (!p.DesdobramentoZTLanc) {
    if (rateios.IsEmpty() && p.LanctoFinanceiro && p.NumTransPrinc_CodPlanoConta != 0) {
      InsereRegistrosLancto(p.NumTransPrinc_CodPlanoConta);
    } else if (rateios.IsEmpty()) {
      InsereRegistrosLancto(p.NumTransacao);
    }
    if (rateios.IsEmpty()) InsereItensRateioPadrao(p.CodConta, "");
  } else {
    InsereItensDesdobramento();
  }
  if (!rateios.IsEmpty()) TRegrasRateioCentroCusto::ValidaTotalCC_ValorLancto(p);
}

void TValidaCentroCusto::InsereRegistrosLancto(double prNumTransacao) {
  TParametrosCentroCusto& p = Parametros();
  if (!(prNumTransacao > 0 || p.LanctoOrcamento)) return;
  const TLinhasCarregadas linhas = DALCentroCusto().RegistrosLancto(p, prNumTransacao);
  if (!linhas.TemLinhas) return;
  TRegrasRateioCentroCusto::DistribuirRegistrosLancto(p, linhas.Dados(), Contexto());
}

bool TValidaCentroCusto::InsereItensRateioPadrao(const std::string& psCodConta, const std::string& psCodRateio) {
  TParametrosCentroCusto& p = Parametros();
  TLinhasCarregadas consulta;
  if (!Trim(psCodRateio).empty()) {
    consulta = DALCentroCusto().RateioPadrao(Trim(psCodRateio));
  } else if (p.LanctoFinanceiro || p.LanctoOrcamento) {
    consulta = DALCentroCusto().RateioPadraoConta_Gerencial(p);
  }
  if (p.LanctoContabil && !p.ShowForm) {
    consulta = DALCentroCusto().LanctoPadrao_Contabil(psCodConta, p.CodLanctoPadraoContabil);
  }
  TDataSet* origem = consulta.Consulta ? &consulta.Dados() : nullptr;
  TClientDataSet& a_replicar = p.cdsRateiosAReplicar();
  if (a_replicar.Active() && !a_replicar.IsEmpty()) origem = &a_replicar;

  std::string repetidos;
  const bool teve_linhas =
      origem != nullptr && TRegrasRateioCentroCusto::InserirLinhasPadrao(p, *origem, false, repetidos);
  TRegrasRateioCentroCusto::LimpaRegistrosDuplicadosCentroCusto(p);
  if (!repetidos.empty() && !Trim(psCodRateio).empty()) {
    GetValidador().Add("Centro(s) de Custo(s) " + repetidos + " já existe(m)! Foi inserido apenas os não encontrados.");
  }
  return teve_linhas;
}

void TValidaCentroCusto::InsereItensDesdobramento() {
  TParametrosCentroCusto& p = Parametros();
  const TLinhasCarregadas linhas = DALCentroCusto().RegistrosDesdobramento(p);
  if (!linhas.TemLinhas) {
    InsereItensRateioPadrao(p.CodConta, "");
    return;
  }
  std::string repetidos;
  TRegrasRateioCentroCusto::InserirLinhasPadrao(p, linhas.Dados(), true, repetidos);
  TRegrasRateioCentroCusto::LimpaRegistrosDuplicadosCentroCusto(p);
}

// ---------------------------------------------------------------------------------------------
// Form operations

void TValidaCentroCusto::SetParametros(double prPercentual, double prValorRateio, const std::string& psCodFilial,
                                       const std::string& psCodRateioPadrao, const std::string& psCodCentroCusto,
                                       const std::string& psDescCentroCusto, bool pbAlterandoLancto) {
  TParametrosCentroCusto& p = Parametros();
  p.PercRateio = prPercentual;
  p.ValorRateio = prValorRateio;
  p.CodFilial = psCodFilial;
  p.CodRateioPadrao = psCodRateioPadrao;
  p.CodCentroCusto = psCodCentroCusto;
  p.DescCentroCusto = psDescCentroCusto;
  p.AlterandoLancto = pbAlterandoLancto;
}

std::uint8_t TValidaCentroCusto::ValidaCamposInterface() {
  TParametrosCentroCusto& p = Parametros();
  TStringList& validador = GetValidador();
  const std::string centro_custo = Trim(p.CodCentroCusto);
  const std::string rateio_padrao = Trim(p.CodRateioPadrao);
  const auto falha = [&validador](std::uint8_t codigo, const std::string& mensagem) {
    validador.Add(mensagem);
    return codigo;
  };
  if (const std::uint8_t codigo = TRegrasRateioCentroCusto::ValidaCamposLinha(
          p, [this] { return GetUTILIZACENTROCUSTO_2663() == "S"; },
          "Filial selecionada não usa Centro de Custo conforme definido no parâmetro 2663 da Rotina 132!", validador);
      codigo != 0) {
    return codigo;
  }
  {
    const std::unique_ptr<TOraQuery> prioritarios = DALCentroCusto().ExisteCentroCustoPrioritario(p.CodConta);
    if (!prioritarios->IsEmpty() && !ContemCentroCusto(*prioritarios, centro_custo)) {
      const std::string mensagem =
          "Centro de custo informado não está parametrizado como restrito para a conta gerencial";
      validador.Add(mensagem);
      throw Exception(mensagem);
    }
  }
  TClientDataSet& rateios = p.cdsRateios();
  if (p.AlterandoLancto && rateios.Active() && !rateios.Eof() && !rateios.IsEmpty() &&
      CentroCustoDaLinha(rateios) == centro_custo) {
    return 0;
  }
  if (!centro_custo.empty() && ContemCentroCusto(rateios, centro_custo)) {
    return falha(6, "Centro de Custo " + centro_custo + " já existe!");
  }
  if (!rateio_padrao.empty() && InsereItensRateioPadrao("", rateio_padrao)) return 8;
  return 0;
}

bool TValidaCentroCusto::ValidaCentroCustoPrioritario(const std::string& pCodConta,
                                                      const std::string& pCodCentroCusto) {
  return DALCentroCusto().ValidaCentroCustoPrioritario(pCodConta, pCodCentroCusto);
}

bool TValidaCentroCusto::InsereCentroCusto_Client() {
  return TDALCentroCusto::InsereCentroCusto(Parametros());
}

void TValidaCentroCusto::ValidarOrcamentoConta(TParametrosCentroCusto& p) {
  IQuorvinParametros& parametros = Quorvin().Parametros();
  const bool por_competencia = parametros.ValorTextoFilial("ORCREGCOMPETENCIA", p.CodFilial, "N") == "S";
  const TDateTime referencia = por_competencia ? p.DataCompetencia : p.DataVencimento;
  const int mes = referencia.Month();
  const int ano = referencia.Year();
  const bool suplementacao = parametros.ValorTextoFilial("TRABSUPLORC", p.CodFilial, "N") == "S";
  std::set<std::string> centros;
  {
    TClientDataSet& linhas = p.cdsRateios();
    for (linhas.First(); !linhas.Eof(); linhas.Next()) {
      centros.insert(Trim(linhas.FieldByName("CODIGOCENTROCUSTO").AsString()));
    }
    linhas.First();
  }
  const TOrcamentosCentroCusto orcamentos = DALCentroCusto().ValidarOrcamentoConta(
      p.CodConta, p.CodFilial, mes, ano, por_competencia, suplementacao, centros);
  if (orcamentos.empty()) return;
  TClientDataSet& rateios = p.cdsRateios();
  for (rateios.First(); !rateios.Eof(); rateios.Next()) {
    const std::string centro_custo = Trim(rateios.FieldByName("CODIGOCENTROCUSTO").AsString());
    const auto orcamento = orcamentos.find(centro_custo);
    if (orcamento == orcamentos.end()) continue;
    const double realizado = orcamento->second.Realizado;
    const double orcado = orcamento->second.Orcado;
    if (!TRegrasRateioCentroCusto::OrcamentoExcedido(orcado, realizado, rateios.FieldByName("VALOR").AsFloat()))
      continue;
    const double saldo = TRegrasRateioCentroCusto::SaldoDisponivel(orcado, realizado);
    if (!p.PermitirGerarLancamentoAcimaOrcado && !suplementacao) {
      throw Exception(TRegrasRateioCentroCusto::MensagemOrcamentoExcedido(
          centro_custo, mes, ano, p.CodFilial, realizado, orcado, saldo,
          "Usuário sem permissão para lançar acima do orçamento.\rConforme definido no parâmetro 2961 - Bloqueio de "
          "lançamento de despesa acima do orçado para o centro de custo da rotina 132."));
    }
    const std::string pergunta =
        suplementacao && !p.PermitirGerarLancamentoAcimaOrcado
            ? "Confirma geração de lançamento acima do orçamento para suplementação orçamentária?"
            : "Confirma geração de lançamento acima do orçamento ?";
    const std::string texto = TRegrasRateioCentroCusto::MensagemOrcamentoExcedido(centro_custo, mes, ano, p.CodFilial,
                                                                                  realizado, orcado, saldo, pergunta);
    if (Quorvin().SessaoAtual().Mensagens().Confirmar(texto) != TModalResult::mrOk) throw EAbort();
    rateios.Edit();
    rateios.FieldByName("ORCAMENTOEXCEDIDO").SetAsString("S");
    rateios.Post();
  }
  rateios.First();
}

bool TValidaCentroCusto::ValidaDadosInformados_Inclusao() {
  TParametrosCentroCusto& p = Parametros();
  if (!p.ShowForm) return true;
  const TContextoRateio contexto = Contexto();
  TRegrasRateioCentroCusto::ValidaTotaisInclusao(p, contexto);
  if ((ParametroFilial("TRABSUPLORC") || ParametroFilial("BLOQLANCDESPMAIORORCCC")) && contexto.Rotina != 755) {
    ValidarOrcamentoConta(p);
  }
  if (!p.cdsRateios().IsEmpty()) TRegrasRateioCentroCusto::ValidaTotalCC_ValorLancto(p);
  p.StatusCentroCusto = true;
  return true;
}

bool TValidaCentroCusto::InsertCentroCusto_Banco() {
  TParametrosCentroCusto& p = Parametros();
  TClientDataSet& rateios = p.cdsRateios();
  TFiltroGuardado filtro(rateios);
  try {
    IFin_ContasPagar* contas_pagar = ContasPagar();
    if (contas_pagar != nullptr && contas_pagar->GetLancarZTLancBloqGeral() && !GetLancarZTLancBloq()) {
      SetLancarZTLancBloq(true);
    }
    p.SetaProviderFlags();
    TRegrasRateioCentroCusto::ValidaTotalCC_ValorLancto(p);
    TravarLancamento();
    if (p.LanctoContabil) {
      if (p.NumTransacaoDebito > 0) DeleteTodosRegistrosLancto(p.NumTransacaoDebito);
      if (p.NumTransacaoCredito > 0) DeleteTodosRegistrosLancto(p.NumTransacaoCredito);
    }
    if (Quorvin().SessaoAtual().Usuario().CodigoRotina() != 3421 && p.TemTipoLancamento()) {
      DeleteTodosRegistrosLancto(p.NumTransacao);
    }
    FiltrarLancamento("PERCRATEIO > 0");
    if (!rateios.IsEmpty()) {
      ConferirTransacaoGravada();
      Inserir();
    }
    filtro.Descartar();
    LimparDadosUltimoLancto();
    return true;
  } catch (const Exception& falha) {
    std::throw_with_nested(Exception(
        "Não foi possível inserir lançamentos de centro de custo! \r\rMensagem original: " + falha.Message()));
  }
}

namespace {

// A number of the parameters as a key to lock by; nothing when it names no record.
std::optional<std::int64_t> Chave(double numero) {
  constexpr double kMaiorChave = 1e15;
  if (!(numero > 0 && numero < kMaiorChave) || std::floor(numero) != numero) return std::nullopt;
  return static_cast<std::int64_t>(numero);
}

}  // namespace

void TValidaCentroCusto::TravarLancamento() {
  // Saving deletes the entry's rows and writes them again: another session saving the same entry
  // waits here until this transaction ends, then deletes what this one wrote. A payable entry
  // locks its row (posted or held); one not posted yet, a budget line and a standard
  // apportionment lock their account instead.
  TParametrosCentroCusto& p = Parametros();
  TDALCentroCusto& dal = DALCentroCusto();
  const std::optional<std::int64_t> transacao = Chave(p.NumTransacao);
  if (p.LanctoFinanceiro && transacao) {
    if (!dal.TravarLancamentos({*transacao}).empty() || !dal.TravarLancamentos({*transacao}, true).empty()) return;
  } else if (p.LanctoContabil) {
    if (transacao) dal.TravarLancamentoContabil(*transacao);
    return;
  }
  const std::optional<std::int64_t> conta = Chave(p.TemTipoLancamento() ? TextoParaNumero(p.CodConta) : p.NumTransacao);
  if (conta) dal.TravarConta(*conta);
}

void TValidaCentroCusto::ConferirTransacaoGravada() {
  // Rows of a payable or accounting entry are keyed by its number: a whole number above zero
  // (routine 755 may open the form without one, but never saves rows for entry 0).
  const TParametrosCentroCusto& p = Parametros();
  if (!p.LanctoFinanceiro && !p.LanctoContabil) return;
  if (p.NumTransacao <= 0 || std::floor(p.NumTransacao) != p.NumTransacao) {
    throw Exception(
        "Número de lançamento inválido para o rateio de Centro de Custo: " + ShortestDecimal(p.NumTransacao) + "!");
  }
}

void TValidaCentroCusto::Inserir() {
  TParametrosCentroCusto& p = Parametros();
  TDALCentroCusto& dal = DALCentroCusto();
  if (p.LanctoFinanceiro) {
    FLancarZTLancBloq = FLancarZTLancBloq || VerificarOrcamentoExcedido();
    if (FLancarZTLancBloq) {
      IFin_ContasPagar* contas_pagar = ContasPagar();
      if (contas_pagar != nullptr && !contas_pagar->GetLancarZTLancBloqGeral()) {
        contas_pagar->SetLancarZTLancBloqGeral(true);
      }
    }
    dal.InserirZTRATEIOCENTROCUSTO(p, FLancarZTLancBloq);
  } else if (p.LanctoContabil) {
    dal.InserirZTRATEIOCONTABILCC(p);
  } else if (p.LanctoOrcamento) {
    dal.InserirZTORCLANCENTROCUSTO(p);
  } else {
    if (p.ContaGerencialPrioritaria) {
      DeleteTodosRegistrosLancto(p.NumTransacao);
      // The list is written whole each time, so a cost center taken off it goes.
      dal.DeleteCentroCustoPrioritario(p);
      dal.InserirZTRATEIOCENTROCUSTOPRIORITARIO(p);
    }
    DeleteTodosRegistrosLancto(p.NumTransacao);
    dal.InserirZTCONTACENTROCUSTO(p);
  }
}

bool TValidaCentroCusto::CancelaCentroCusto() {
  try {
    Parametros().CancelarRateios();
    return true;
  } catch (const Exception& falha) {
    std::throw_with_nested(Exception(falha.Message()));
  }
}

void TValidaCentroCusto::LimparDadosUltimoLancto() {
  Parametros().LimparRateios();
  Parametros().NumTransacao = 0;
}

// ---------------------------------------------------------------------------------------------
// Queries, switches, row maintenance

bool TValidaCentroCusto::ContaTrabalhaCentroCusto(const std::string& psCodFilial, const std::string& psCodConta,
                                                  TTipoLancamento tipoLancamento) {
  TParametrosCentroCusto& p = Parametros();
  const std::string conta = Trim(psCodConta);
  const auto nao = [&p]() {
    p.StatusCentroCusto = false;
    return false;
  };
  if (conta.empty() || Trim(psCodFilial).empty()) return nao();
  const std::string utiliza = Quorvin().ParametrosExplicitos()
                                  ? fUTILIZACENTROCUSTO_2663
                                  : Quorvin().Parametros().ValorTextoFilial("UTILIZACENTROCUSTO", psCodFilial, "N");
  if (utiliza == "N") return nao();
  TDALCentroCusto& dal = DALCentroCusto();
  dal.CarregaContasCentroCusto(tipoLancamento);
  TClientDataSet& contas = dal.GetCdsContaCentroCusto();
  const std::string plano = ShortestDecimal(p.NumTransPrinc_CodPlanoConta);
  for (contas.First(); !contas.Eof(); contas.Next()) {
    if (Trim(contas.FieldByName("CODCONTA").AsString()) != conta) continue;
    if (tipoLancamento == tlContabil && Trim(contas.FieldByName("CODPLANOCONTA").AsString()) != plano) continue;
    return true;
  }
  return nao();
}

std::unique_ptr<TOraQuery> TValidaCentroCusto::ExisteCentroCustoPrioritario(const std::string& pCodConta) {
  return DALCentroCusto().ExisteCentroCustoPrioritario(pCodConta);
}

void TValidaCentroCusto::DeleteTodosRegistrosLancto(double prNumTransacao) {
  TParametrosCentroCusto& p = Parametros();
  if (prNumTransacao > 0 || p.LanctoOrcamento) DALCentroCusto().DeleteTodosCentroCusto(p, prNumTransacao);
}

bool TValidaCentroCusto::VerificarOrcamentoExcedido() {
  TClientDataSet* rateios = fCdsRateios != nullptr ? fCdsRateios : GetCdsRateios();
  return TRegrasRateioCentroCusto::ExisteOrcamentoExcedido(*rateios);
}

TClientDataSet* TValidaCentroCusto::GetCdsRateios() {
  fCdsRateios = &Parametros().cdsRateios();
  return fCdsRateios;
}

void TValidaCentroCusto::SetCdsRateios(TClientDataSet* value) {
  Parametros().SetcdsRateios(value);
  fCdsRateios = nullptr;  // the next look is at the new rows
}

namespace {

// A record number the area writes rows for, or copies rows from, names a record: > 0.
void ConferirRecNum(std::int64_t recnum) {
  if (recnum <= 0) {
    throw Exception("Número de lançamento inválido para o rateio de Centro de Custo: " + std::to_string(recnum) + "!");
  }
}

}  // namespace

void TValidaCentroCusto::AlterarContaCentroCusto(std::int64_t RecNum, std::int64_t CodConta,
                                                 const std::string& CodFilial) {
  ConferirRecNum(RecNum);
  if (CodConta <= 0 || !DALCentroCusto().ExisteConta(CodConta)) {
    throw Exception("Conta gerencial " + std::to_string(CodConta) + " não cadastrada!");
  }
  DALCentroCusto().AlterarContaCentroCusto(RecNum, CodConta, CodFilial);
}

void TValidaCentroCusto::ConferirCopiaRateio(std::int64_t origem, const std::vector<std::int64_t>& destinos,
                                             const char* acao) {
  ConferirRecNum(origem);
  for (const std::int64_t destino : destinos) ConferirRecNum(destino);
  const std::set<std::int64_t> distintos(destinos.begin(), destinos.end());
  if (distintos.size() != destinos.size() || distintos.count(origem) > 0) {
    throw Exception(std::string("Para ") + acao +
                    " o rateio de Centro de Custo, informe lançamentos distintos do lançamento de origem!");
  }
  // The source's row (and those of the targets already posted) stay locked until the commit, so a
  // replayed call waits and then finds the rows the first one wrote.
  std::vector<std::int64_t> travar = destinos;
  travar.push_back(origem);
  TDALCentroCusto& dal = DALCentroCusto();
  if (dal.TravarLancamentos(travar).count(origem) == 0) {
    throw Exception("Lançamento " + std::to_string(origem) + " não encontrado em contas a pagar!");
  }
  if (dal.QuantidadeRateios(origem) == 0) {
    throw Exception("Lançamento " + std::to_string(origem) + " não possui rateio de Centro de Custo para " + acao +
                    "!");
  }
  for (const std::int64_t destino : destinos) {
    if (dal.QuantidadeRateios(destino) > 0) {
      throw Exception("Lançamento " + std::to_string(destino) + " já possui rateio de Centro de Custo!");
    }
  }
}

void TValidaCentroCusto::estornarRateio(std::int64_t recNumEstornado, std::int64_t recNumPernaNegativa,
                                        std::int64_t recnumPernaPositiva) {
  std::vector<std::int64_t> pernas{recNumPernaNegativa};
  if (recnumPernaPositiva != -1) pernas.push_back(recnumPernaPositiva);  // -1: no positive leg
  ConferirCopiaRateio(recNumEstornado, pernas, "estornar");
  DALCentroCusto().estornarRateio(recNumEstornado, recNumPernaNegativa, recnumPernaPositiva);
}

void TValidaCentroCusto::ReplicarRateio(std::int64_t recNumAReplicar, std::int64_t recNumNovoRateio) {
  ConferirCopiaRateio(recNumAReplicar, {recNumNovoRateio}, "replicar");
  DALCentroCusto().ReplicarRateio(recNumAReplicar, recNumNovoRateio);
}

bool TValidaCentroCusto::ContaTemRateioPadrao(const std::string& /*psCodCOnta*/) {
  // The account asked about is the one of the entry being apportioned (or the one to replicate).
  return DALCentroCusto().RateioPadraoConta_Gerencial(Parametros()).TemLinhas;
}

void TValidaCentroCusto::SetTipoLancamento(TTipoLancamento tipo) {
  fTipoLancamento = tipo;
  Parametros().DefinirTipoLancamento(tipo);
}

void TValidaCentroCusto::DeletaRegistro(double prNumTransacao) {
  if (prNumTransacao <= 0) return;
  TParametrosCentroCusto& p = Parametros();
  TClientDataSet& rateios = p.cdsRateios();
  TFiltroGuardado filtro(rateios);
  const double transacao = p.NumTransacao;
  p.NumTransacao = prNumTransacao;
  const std::string chave = TRegrasRateioCentroCusto::FiltroLancamento(p);
  p.NumTransacao = transacao;
  rateios.SetFiltered(false);
  rateios.SetFilter(chave);
  rateios.SetFiltered(true);
  while (!rateios.IsEmpty()) {
    rateios.First();
    rateios.Delete();
  }
}

bool TValidaCentroCusto::EditaLanctosContabeis(double prNumTransacao, bool pbFilial) {
  return DALCentroCusto().EditaLanctosCentroCustoContabil(Parametros(), prNumTransacao, pbFilial);
}
