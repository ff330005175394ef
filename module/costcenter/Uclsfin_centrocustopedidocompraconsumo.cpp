#include "costcenter/Uclsfin_centrocustopedidocompraconsumo.h"

#include <cmath>
#include <exception>
#include <set>

#include "costcenter/Uclsfin_rateiolinhas.h"
#include "frame/Uclsfin_except.h"
#include "oradb/TOraSession.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IQuorvin.h"

using namespace rateio_linhas;

namespace {

using Regras = TRegrasRateioPedidoCompraConsumo;

// The widest order number the order tables hold (numeric(10)).
constexpr double kMaiorPedido = 9999999999.0;

}  // namespace

TValidaCentroCustoPedidoCompraConsumo::TValidaCentroCustoPedidoCompraConsumo(TComponent* owner)
    : TBaseSubModulo(owner) {}

TValidaCentroCustoPedidoCompraConsumo::~TValidaCentroCustoPedidoCompraConsumo() = default;

TParametrosCentroCustoPedidoCompraConsumo& TValidaCentroCustoPedidoCompraConsumo::Parametros() {
  if (!fParametrosCentroCusto) fParametrosCentroCusto = std::make_unique<TParametrosCentroCustoPedidoCompraConsumo>();
  return *fParametrosCentroCusto;
}

TDALCentroCustoPedidoCompraConsumo& TValidaCentroCustoPedidoCompraConsumo::DALCentroCustoPedidoCompraConsumo() {
  if (fDALCentroCusto == nullptr) fDALCentroCusto = new TDALCentroCustoPedidoCompraConsumo(this);  // owned by this
  return *fDALCentroCusto;
}

// ---------------------------------------------------------------------------------------------
// Parameters of the host

bool TValidaCentroCustoPedidoCompraConsumo::ParametroFilial(const char* nome) {
  return Quorvin().Parametros().ValorTextoFilial(nome, Parametros().CodFilial, "N") == "S";
}

bool TValidaCentroCustoPedidoCompraConsumo::GetREALIZA_RATEIO_PEDIDO_COMPRA_CONSUMO_3919() {
  return ParametroFilial("REALIZARATEIOPEDIDOCOMPRACONSUMO");
}

bool TValidaCentroCustoPedidoCompraConsumo::GetBLOQUEAR_LANCAMENTO_ACIMA_DO_ORCADO_CENTRO_CUSTO_3921() {
  return ParametroFilial("BLOQLANCACIMAORCADOCENTROCUSTO");
}

std::string TValidaCentroCustoPedidoCompraConsumo::GetRATEIOTOTALCC_2664() {
  if (Quorvin().ParametrosExplicitos()) return fRATEIOTOTALCC_2664;
  const std::string valor = Trim(Quorvin().Parametros().ValorTexto("RATEIOTOTALCC"));
  return valor.empty() ? "N" : valor;
}

TContextoRateio TValidaCentroCustoPedidoCompraConsumo::Contexto() {
  return {GetRATEIOTOTALCC_2664() == "S", Quorvin().SessaoAtual().Usuario().CodigoRotina()};
}

// ---------------------------------------------------------------------------------------------
// Keys

void TValidaCentroCustoPedidoCompraConsumo::ConferirNumeroPedido(double numero_pedido) {
  if (!(numero_pedido > 0 && numero_pedido <= kMaiorPedido) || std::floor(numero_pedido) != numero_pedido) {
    throw Exception("Número de pedido inválido para o rateio de Centro de Custo: " + ShortestDecimal(numero_pedido) +
                    "!");
  }
}

void TValidaCentroCustoPedidoCompraConsumo::ConferirPrestacao(const std::string& prestacao) {
  const std::string limpa = Trim(prestacao);
  if (limpa.empty()) throw Exception("Prestação não informada.");
  if (CharCount(limpa) > 2) {
    throw Exception("Prestação \"" + limpa + "\" inválida para o rateio de Centro de Custo: informe até 2 caracteres!");
  }
}

void TValidaCentroCustoPedidoCompraConsumo::ConferirTransacao() {
  // The form's messages stay: only a message added by the check means no transaction.
  const std::size_t mensagens = GetValidador().Count();
  CheckTransacao();
  if (GetValidador().Count() > mensagens) throw ExTransacaoNaoIniciada();
}

// ---------------------------------------------------------------------------------------------
// Main entry

bool TValidaCentroCustoPedidoCompraConsumo::ProcessoCentroCusto(
    bool pbEditaLancto, const std::string& psCodFilial, const std::string& psCodConta, double prValorLancto,
    double pfNumeroPedido, const std::string& psPrestacao, TDateTime pdDataLancto, bool pbShowForm,
    bool pbValidarCentroDeCustoExistentePeloNumeroDoPedido) {
  // Without the form the run saves: nothing is read before the transaction is known to be open.
  if (!pbShowForm) ConferirTransacao();
  GetValidador().Clear();
  TParametrosCentroCustoPedidoCompraConsumo& p = Parametros();
  if (p.cdsRateios().IsEmpty()) p.ShowForm = pbShowForm;
  fEditaLancto = pbEditaLancto;
  p.EditaLancto = pbEditaLancto;
  p.CodFilial = psCodFilial;
  p.CodConta = psCodConta;
  p.ValorLancto = prValorLancto;
  p.NumeroPedido = pfNumeroPedido;
  p.Prestacao = Trim(psPrestacao);
  p.DataLancto = pdDataLancto;
  p.ValidarCentroDeCustoExistentePeloNumeroDoPedido = pbValidarCentroDeCustoExistentePeloNumeroDoPedido;

  if (!ValidaDados_ProcessoCentroCusto(psCodFilial, psCodConta, prValorLancto, pfNumeroPedido, psPrestacao)) {
    return false;
  }
  Inicializar();
  if (pbShowForm) {
    p.StatusCentroCusto = false;  // the host shows the form and calls the form operations
    return false;
  }
  ValidaDadosInformados_Inclusao();
  const bool produziu = !p.cdsRateios().IsEmpty();
  // A branch that refuses installments above the budget refuses them with or without the form.
  if (produziu && GetBLOQUEAR_LANCAMENTO_ACIMA_DO_ORCADO_CENTRO_CUSTO_3921()) ValidarOrcamentoConta();
  // Saving forgets the installment (and its status), so the answer is taken before.
  p.StatusCentroCusto = produziu;
  if (produziu) InsertCentroCusto_Banco();
  return produziu;
}

bool TValidaCentroCustoPedidoCompraConsumo::ValidaDados_ProcessoCentroCusto(const std::string& psCodFilial,
                                                                            const std::string& psCodConta,
                                                                            double prValorLancto, double pfNumeroPedido,
                                                                            const std::string& psPrestacao) {
  TStringList& validador = GetValidador();
  if (Trim(psCodConta).empty()) {
    validador.Add("Favor informar a conta para lançamento do Centro de Custo!");
    throw ExCodigoContaVazio();
  }
  if (!GetREALIZA_RATEIO_PEDIDO_COMPRA_CONSUMO_3919()) {
    validador.Add("Filial não trabalha com Centro de Custo!");
    return false;
  }
  if (!ContaTrabalhaCentroCusto(psCodFilial, psCodConta)) {
    validador.Add("Conta gerencial não trabalha com Centro de Custo!");
    return false;
  }
  if (prValorLancto == 0) {
    validador.Add("Favor informar o valor para lançamento do Centro de Custo!");
    throw ExValorNaoInformado();
  }
  if (pfNumeroPedido == 0) {
    validador.Add("É necessário o número do pedido de compra de consumo para lançamento do Centro de Custo!");
    throw Exception("Número de pedido não informado.");
  }
  try {
    ConferirNumeroPedido(pfNumeroPedido);
  } catch (const Exception& falha) {
    validador.Add(falha.Message());
    throw;
  }
  if (Trim(psPrestacao).empty()) {
    validador.Add("É necessário informar a prestação para lançamento do Centro de Custo!");
    throw Exception("Prestação não informada.");
  }
  try {
    ConferirPrestacao(psPrestacao);
  } catch (const Exception& falha) {
    validador.Add(falha.Message());
    throw;
  }
  if (Trim(psCodFilial).empty()) {
    validador.Add("Favor informar a filial para o lançamento do Centro de Custo!");
    throw ExFilialNaoInformada();
  }
  return true;
}

void TValidaCentroCustoPedidoCompraConsumo::FiltrarPrestacao(const std::string& condicao_extra) {
  TClientDataSet& rateios = Parametros().cdsRateios();
  std::string filtro = Regras::FiltroLancamento(Parametros());
  if (!condicao_extra.empty()) filtro += " AND " + condicao_extra;
  rateios.SetFiltered(false);
  rateios.SetFilter(filtro);
  rateios.SetFiltered(true);
}

void TValidaCentroCustoPedidoCompraConsumo::Inicializar() {
  TParametrosCentroCustoPedidoCompraConsumo& p = Parametros();
  TClientDataSet& rateios = p.cdsRateios();
  FiltrarPrestacao("");
  // Saved rows are not loaded here: the host asks for them with InsereRegistrosLancto.
  if (p.DesdobramentoZTLanc) {
    InsereItensDesdobramento();
  } else if (rateios.IsEmpty() || p.ValidarCentroDeCustoExistentePeloNumeroDoPedido) {
    InsereItensRateioPadrao(p.CodConta, "");
  }
  if (!rateios.IsEmpty()) Regras::ValidaTotalCC_ValorLancto(p);
}

bool TValidaCentroCustoPedidoCompraConsumo::InsereItensRateioPadrao(const std::string& psCodConta,
                                                                    const std::string& psCodRateio) {
  TParametrosCentroCustoPedidoCompraConsumo& p = Parametros();
  TDALCentroCustoPedidoCompraConsumo& dal = DALCentroCustoPedidoCompraConsumo();
  const std::string rateio = Trim(psCodRateio);
  const std::string conta = Trim(psCodConta).empty() ? p.CodConta : psCodConta;
  TLinhasCarregadas origem;
  if (!rateio.empty()) {
    origem = dal.RateioPadrao(rateio);
  } else if (p.ValidarCentroDeCustoExistentePeloNumeroDoPedido) {
    // The cost centers the same order and installment were already given, else the account's.
    origem = dal.RateioPeloNumeroPedido(p.NumeroPedido, p.Prestacao);
    if (!origem.TemLinhas) origem = dal.RateioPadraoConta_Gerencial(conta);
  } else {
    origem = dal.RateioPadraoConta_Gerencial(conta);
  }
  std::string repetidos;
  const bool teve_linhas = Regras::InserirLinhasPadrao(p, origem.Dados(), false, repetidos);
  Regras::LimpaRegistrosDuplicadosCentroCusto(p);
  if (!repetidos.empty() && !rateio.empty()) {
    GetValidador().Add("Centro(s) de Custo(s) " + repetidos + " já existe(m)! Foi inserido apenas os não encontrados.");
  }
  return teve_linhas;
}

void TValidaCentroCustoPedidoCompraConsumo::InsereItensDesdobramento() {
  TParametrosCentroCustoPedidoCompraConsumo& p = Parametros();
  const TLinhasCarregadas linhas = DALCentroCustoPedidoCompraConsumo().RegistrosDesdobramento(p);
  if (!linhas.TemLinhas) {
    InsereItensRateioPadrao(p.CodConta, "");
    return;
  }
  std::string repetidos;
  Regras::InserirLinhasPadrao(p, linhas.Dados(), true, repetidos);
  Regras::LimpaRegistrosDuplicadosCentroCusto(p);
}

void TValidaCentroCustoPedidoCompraConsumo::InsereRegistrosLancto(double prNumeroPedido,
                                                                  const std::string& psPrestacao) {
  ConferirNumeroPedido(prNumeroPedido);
  ConferirPrestacao(psPrestacao);
  TParametrosCentroCustoPedidoCompraConsumo& p = Parametros();
  const TLinhasCarregadas linhas = DALCentroCustoPedidoCompraConsumo().RegistrosLancto(prNumeroPedido, psPrestacao);
  if (!linhas.TemLinhas) return;
  Regras::DistribuirRegistrosLancto(p, linhas.Dados(), Contexto());
}

// ---------------------------------------------------------------------------------------------
// Form operations

void TValidaCentroCustoPedidoCompraConsumo::SetParametros(
    double prPercentual, double prValorRateio, const std::string& psCodFilial, const std::string& psCodRateioPadrao,
    const std::string& psCodCentroCusto, const std::string& psDescCentroCusto, bool pbAlterandoLancto) {
  TParametrosCentroCustoPedidoCompraConsumo& p = Parametros();
  p.PercRateio = prPercentual;
  p.ValorRateio = prValorRateio;
  p.CodFilial = psCodFilial;
  p.CodRateioPadrao = psCodRateioPadrao;
  p.CodCentroCusto = psCodCentroCusto;
  p.DescCentroCusto = psDescCentroCusto;
  p.AlterandoLancto = pbAlterandoLancto;
}

std::uint8_t TValidaCentroCustoPedidoCompraConsumo::ValidaCamposInterface() {
  TParametrosCentroCustoPedidoCompraConsumo& p = Parametros();
  TStringList& validador = GetValidador();
  const std::string centro_custo = Trim(p.CodCentroCusto);
  const std::string rateio_padrao = Trim(p.CodRateioPadrao);
  if (const std::uint8_t codigo = Regras::ValidaCamposLinha(
          p, [this] { return GetREALIZA_RATEIO_PEDIDO_COMPRA_CONSUMO_3919(); },
          "Filial selecionada não usa Centro de Custo conforme definido no parâmetro 3919 da Rotina 132!", validador);
      codigo != 0) {
    return codigo;
  }
  TClientDataSet& rateios = p.cdsRateios();
  if (p.AlterandoLancto && rateios.Active() && !rateios.Eof() && !rateios.IsEmpty() &&
      CentroCustoDaLinha(rateios) == centro_custo) {
    return 0;
  }
  if (!centro_custo.empty() && ContemCentroCusto(rateios, centro_custo)) {
    validador.Add("Centro de Custo " + centro_custo + " já existe!");
    return 6;
  }
  if (!rateio_padrao.empty() && InsereItensRateioPadrao("", rateio_padrao)) return 8;
  return 0;
}

bool TValidaCentroCustoPedidoCompraConsumo::InsereCentroCusto_Client() {
  return TDALCentroCustoPedidoCompraConsumo::InsereCentroCusto(Parametros());
}

void TValidaCentroCustoPedidoCompraConsumo::ValidarOrcamentoConta() {
  TParametrosCentroCustoPedidoCompraConsumo& p = Parametros();
  TDALCentroCustoPedidoCompraConsumo& dal = DALCentroCustoPedidoCompraConsumo();
  // The month of the installment: its entry date, or with accrual budgets ("ORCREGCOMPETENCIA"
  // other than "N") its due date in ZTLANC3, the entry date when it has none. An installment
  // without a date is checked against the server's month.
  const bool por_vencimento = Quorvin().Parametros().ValorTextoFilial("ORCREGCOMPETENCIA", p.CodFilial, "N") != "N";
  TDateTime referencia = p.DataLancto;
  if (por_vencimento) {
    const TDateTime vencimento = dal.VencimentoPrestacao(p.NumeroPedido, p.Prestacao);
    if (!vencimento.IsZero()) referencia = vencimento;
  }
  if (referencia.IsZero()) referencia = Quorvin().SessaoAtual().BancoDados().DataServidor();
  const int mes = referencia.Month();
  const int ano = referencia.Year();
  TClientDataSet& rateios = p.cdsRateios();
  std::set<std::string> centros;
  for (rateios.First(); !rateios.Eof(); rateios.Next()) centros.insert(CentroCustoDaLinha(rateios));
  const TOrcamentosCentroCusto orcamentos =
      dal.ValidarOrcamentoConta(p.CodConta, p.CodFilial, mes, ano, por_vencimento, centros);
  for (rateios.First(); !rateios.Eof(); rateios.Next()) {
    const std::string centro_custo = CentroCustoDaLinha(rateios);
    const auto orcamento = orcamentos.find(centro_custo);
    if (orcamento == orcamentos.end()) continue;
    const double orcado = orcamento->second.Orcado;
    const double realizado = orcamento->second.Realizado;
    if (!Regras::OrcamentoExcedido(orcado, realizado, rateios.FieldByName("VALOR").AsFloat())) continue;
    throw Exception(Regras::MensagemOrcamentoExcedido(centro_custo, mes, ano, p.CodFilial, realizado, orcado,
                                                      Regras::SaldoDisponivel(orcado, realizado), "",
                                                      "Valor dos lançamentos: "));
  }
  rateios.First();
}

bool TValidaCentroCustoPedidoCompraConsumo::ValidaDadosInformados_Inclusao() {
  TParametrosCentroCustoPedidoCompraConsumo& p = Parametros();
  if (!p.ShowForm) return true;
  Regras::ValidaTotaisInclusao(p, Contexto());
  if (GetBLOQUEAR_LANCAMENTO_ACIMA_DO_ORCADO_CENTRO_CUSTO_3921()) ValidarOrcamentoConta();
  if (!p.cdsRateios().IsEmpty()) Regras::ValidaTotalCC_ValorLancto(p);
  p.StatusCentroCusto = true;
  return true;
}

void TValidaCentroCustoPedidoCompraConsumo::TravarPrestacao() {
  // Saving deletes the installment's rows and writes them again: another session saving the same
  // installment waits here until this transaction ends, then deletes what this one wrote. An
  // installment not in ZTLANC3 yet locks its account instead.
  TParametrosCentroCustoPedidoCompraConsumo& p = Parametros();
  TDALCentroCustoPedidoCompraConsumo& dal = DALCentroCustoPedidoCompraConsumo();
  if (dal.TravarPrestacao(p.NumeroPedido, p.Prestacao)) return;
  const double conta = TextoParaNumero(p.CodConta);
  if (conta > 0 && conta < 1e15 && std::floor(conta) == conta) dal.TravarConta(static_cast<std::int64_t>(conta));
}

bool TValidaCentroCustoPedidoCompraConsumo::InsertCentroCusto_Banco() {
  ConferirTransacao();
  TParametrosCentroCustoPedidoCompraConsumo& p = Parametros();
  TClientDataSet& rateios = p.cdsRateios();
  TFiltroGuardado filtro(rateios);
  try {
    ConferirNumeroPedido(p.NumeroPedido);
    ConferirPrestacao(p.Prestacao);
    Regras::ValidaTotalCC_ValorLancto(p);
    TravarPrestacao();
    DALCentroCustoPedidoCompraConsumo().DeleteTodosCentroCusto(p.NumeroPedido, p.Prestacao);
    FiltrarPrestacao("PERCRATEIO > 0");
    if (!rateios.IsEmpty()) DALCentroCustoPedidoCompraConsumo().InserirZTRATEIOCENTROCUSTOZTLANC3(p);
    filtro.Descartar();
    LimparDadosUltimoLancto();
    return true;
  } catch (const Exception&) {
    std::throw_with_nested(Exception("Não foi possível inserir lançamentos de centro de custo."));
  }
}

bool TValidaCentroCustoPedidoCompraConsumo::CancelaCentroCusto() {
  try {
    Parametros().CancelarRateios();
    return true;
  } catch (const Exception& falha) {
    std::throw_with_nested(Exception(falha.Message()));
  }
}

void TValidaCentroCustoPedidoCompraConsumo::LimparDadosUltimoLancto() {
  Parametros().LimparRateios();
  Parametros().NumeroPedido = 0;
  Parametros().Prestacao.clear();
}

// ---------------------------------------------------------------------------------------------
// Queries, switches, row maintenance

bool TValidaCentroCustoPedidoCompraConsumo::ContaTrabalhaCentroCusto(const std::string& psCodFilial,
                                                                     const std::string& psCodConta) {
  TParametrosCentroCustoPedidoCompraConsumo& p = Parametros();
  const auto nao = [&p]() {
    p.StatusCentroCusto = false;
    return false;
  };
  if (Trim(psCodConta).empty() || Trim(psCodFilial).empty()) return nao();
  if (Quorvin().Parametros().ValorTextoFilial("REALIZARATEIOPEDIDOCOMPRACONSUMO", psCodFilial, "N") == "N") {
    return nao();
  }
  return DALCentroCustoPedidoCompraConsumo().ContaUsaCentroCusto(psCodConta) || nao();
}

void TValidaCentroCustoPedidoCompraConsumo::DeleteTodosRegistrosLancto(double prNumeroPedido,
                                                                       const std::string& psPrestacao) {
  ConferirTransacao();
  ConferirNumeroPedido(prNumeroPedido);
  ConferirPrestacao(psPrestacao);
  DALCentroCustoPedidoCompraConsumo().DeleteTodosCentroCusto(prNumeroPedido, psPrestacao);
}

void TValidaCentroCustoPedidoCompraConsumo::AlterarContaCentroCusto(double prNumeroPedido,
                                                                    const std::string& psPrestacao,
                                                                    std::int64_t CodConta,
                                                                    const std::string& CodFilial) {
  ConferirTransacao();
  ConferirNumeroPedido(prNumeroPedido);
  ConferirPrestacao(psPrestacao);
  TDALCentroCustoPedidoCompraConsumo& dal = DALCentroCustoPedidoCompraConsumo();
  if (CodConta <= 0 || !dal.ExisteConta(CodConta)) {
    throw Exception("Conta gerencial " + std::to_string(CodConta) + " não cadastrada!");
  }
  (void)dal.AlterarContaCentroCusto(prNumeroPedido, psPrestacao, CodConta, CodFilial);
}

TClientDataSet* TValidaCentroCustoPedidoCompraConsumo::GetCdsRateios() {
  fCdsRateios = &Parametros().cdsRateios();
  return fCdsRateios;
}

void TValidaCentroCustoPedidoCompraConsumo::SetCdsRateios(TClientDataSet* value) {
  Parametros().SetcdsRateios(value);
  fCdsRateios = nullptr;
}

bool TValidaCentroCustoPedidoCompraConsumo::ContaTemRateioPadrao(const std::string& /*psCodCOnta*/) {
  // The account asked about is the one of the installment being apportioned.
  return DALCentroCustoPedidoCompraConsumo().RateioPadraoConta_Gerencial(Parametros().CodConta).TemLinhas;
}
