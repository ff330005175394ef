#include "accountsplit/Uclsfin_rateiocontas.h"

#include <cmath>
#include <exception>
#include <set>

#include "costcenter/Uclsfin_dalcentrocusto.h"
#include "frame/Uclsfin_except.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/IQuorvin.h"

namespace {

// The rows' filter as it was, put back when the scope ends (also on failure).
class TFiltroGuardado {
 public:
  explicit TFiltroGuardado(TDataSet& dados) : FDados(dados), FFiltro(dados.Filter()), FFiltrado(dados.Filtered()) {}
  ~TFiltroGuardado() {
    try {
      FDados.SetFiltered(false);
      FDados.SetFilter(FFiltro);
      FDados.SetFiltered(FFiltrado);
    } catch (...) {  // NOLINT(bugprone-empty-catch): a destructor never throws; the filter was valid before
    }
  }
  TFiltroGuardado(const TFiltroGuardado&) = delete;
  TFiltroGuardado& operator=(const TFiltroGuardado&) = delete;

 private:
  TDataSet& FDados;
  std::string FFiltro;
  bool FFiltrado;
};

void Filtrar(TDataSet& dados, const std::string& filtro) {
  dados.SetFiltered(false);
  dados.SetFilter(filtro);
  dados.SetFiltered(!filtro.empty());
}

// The difference of two amounts in absolute value, to the cent: a split of a negative entry is
// compared the same way as a positive one, and a sum above the value counts as much as one below.
double DiferencaAbsoluta(double valor, double soma) {
  return RoundTo(std::fabs(std::fabs(RoundTo(valor, 2)) - std::fabs(RoundTo(soma, 2))), 2);
}

double Numero(TDataSet& dados, const char* campo) {
  return dados.FieldByName(campo).AsFloat();
}

std::string Codigo(double numero) {
  return ShortestDecimal(numero);
}

// The rows' own walk: the cursor's position among the visible rows, restored afterwards.
class TCursorGuardado {
 public:
  explicit TCursorGuardado(TDataSet& dados) : FDados(dados), FPosicao(dados.RecNo()) {}
  ~TCursorGuardado() {
    try {
      FDados.First();
      for (std::size_t i = 1; i < FPosicao && !FDados.Eof(); ++i) FDados.Next();
    } catch (...) {  // NOLINT(bugprone-empty-catch): a destructor never throws
    }
  }
  TCursorGuardado(const TCursorGuardado&) = delete;
  TCursorGuardado& operator=(const TCursorGuardado&) = delete;

 private:
  TDataSet& FDados;
  std::size_t FPosicao;
};

constexpr const char* kSemCentroCusto =
    "Existe conta que trabalha com rateio de centro de custo e não possui\rnenhum lançamento. Favor inserir "
    "lançamento de rateio!";
constexpr const char* kCentroCustoNaoFecha =
    "O parâmetro \"2664 - Obrigar rateio de Centro de Custos totalizar 100%\"\restá definido como \"Sim\". Favor "
    "fechar em 100% o rateio de centro de custo!";
constexpr const char* kSemRateio = "É necessário informar algum lançamento de rateio!";
constexpr const char* kContasNaoFecham =
    "O parâmetro \"2664 - Obrigar rateio Contas totalizar 100%\"\restá definido como \"Sim\". Favor fechar em 100% "
    "o rateio de centro de custo!";

}  // namespace

// =============================================================================================
// Amounts of an entry

TValoresLancamento TValoresLancamento::DoRegistro(const RFin_IncluirContasPagar& r) {
  return {r.VALOR, r.DESCONTOFIN, r.TXPERM, r.VALORDEV, {r.VLIRRF, r.VLPIS, r.VLCOFINS, r.VLISS, r.VLINSS, r.VLCSRF}};
}

void TValoresLancamento::GravarNoRegistro(RFin_IncluirContasPagar& r) const {
  r.VALOR = VALOR;
  r.DESCONTOFIN = DESCONTOFIN;
  r.TXPERM = TXPERM;
  r.VALORDEV = VALORDEV;
  r.VLIRRF = Impostos[0];
  r.VLPIS = Impostos[1];
  r.VLCOFINS = Impostos[2];
  r.VLISS = Impostos[3];
  r.VLINSS = Impostos[4];
  r.VLCSRF = Impostos[5];
}

// =============================================================================================
// Rules on the rows

std::string TRegrasRateioContas::FiltroConta(double codconta) {
  return "CODCONTA = " + Codigo(codconta);
}

void TRegrasRateioContas::CalcularValoresContas(TDataSet& contas, double total, double desconto, double juros,
                                                double devolucao) {
  const std::size_t quantidade = contas.RecordCount();
  const std::array<double, 4> montantes{total, desconto, juros, devolucao};
  constexpr std::array<const char*, 4> kCampos{"VALOR", "DESCONTOFIN", "TXPERM", "VALORDEVOL"};
  std::array<double, 4> distribuido{};
  std::size_t indice = 0;
  for (contas.First(); !contas.Eof(); contas.Next()) {
    const bool ultima = ++indice == quantidade;
    double percentual = Numero(contas, "PERCRATEIO");
    std::array<double, 4> valores{};
    for (std::size_t k = 0; k < montantes.size(); ++k) {
      valores[k] = ultima ? RoundTo(montantes[k] - distribuido[k], 2) : RoundTo(percentual * montantes[k] / 100, 2);
      distribuido[k] = RoundTo(distribuido[k] + valores[k], 2);
    }
    if (ultima && total != 0) percentual = RoundTo(valores[0] * 100 / total, 2);
    contas.Edit();
    for (std::size_t k = 0; k < kCampos.size(); ++k) contas.FieldByName(kCampos[k]).SetAsFloat(valores[k]);
    contas.FieldByName("PERCRATEIO").SetAsFloat(percentual);
    contas.Post();
  }
  contas.First();
}

void TRegrasRateioContas::CalcularValoresCentrosCusto(TDataSet& centros, double valor_conta) {
  const std::size_t quantidade = centros.RecordCount();
  double distribuido = 0;
  std::size_t indice = 0;
  for (centros.First(); !centros.Eof(); centros.Next()) {
    const bool ultima = ++indice == quantidade;
    double percentual = Numero(centros, "PERCRATEIO");
    const double valor = ultima ? RoundTo(valor_conta - distribuido, 2) : RoundTo(valor_conta * percentual / 100, 2);
    distribuido = RoundTo(distribuido + valor, 2);
    // An account of value 0 gives its cost centers nothing to take a share of.
    if (ultima && valor_conta != 0) percentual = RoundTo(valor * 100 / valor_conta, 2);
    centros.Edit();
    centros.FieldByName("VALOR").SetAsFloat(valor);
    centros.FieldByName("PERCRATEIO").SetAsFloat(percentual);
    centros.Post();
  }
  centros.First();
}

void TRegrasRateioContas::ValidarTotais(TDataSet& contas, TDataSet& centros, double total, bool rateio_total) {
  TCursorGuardado cursor(contas);
  double soma_percentual = 0;
  double soma_valor = 0;
  for (contas.First(); !contas.Eof(); contas.Next()) {
    const double valor_conta = Numero(contas, "VALOR");
    soma_percentual += Numero(contas, "PERCRATEIO");
    soma_valor = RoundTo(soma_valor + RoundTo(valor_conta, 2), 2);
    if (Trim(contas.FieldByName("USARATEIOCENTROCUSTO").AsString()) != "S") continue;
    double percentual_centros = 0;
    double valor_centros = 0;
    {
      TFiltroGuardado filtro(centros);
      Filtrar(centros, FiltroConta(Numero(contas, "CODCONTA")));
      for (centros.First(); !centros.Eof(); centros.Next()) {
        percentual_centros += Numero(centros, "PERCRATEIO");
        valor_centros = RoundTo(valor_centros + RoundTo(Numero(centros, "VALOR"), 2), 2);
      }
    }
    if (!rateio_total && percentual_centros == 0) throw Exception(kSemCentroCusto);
    if (rateio_total && DiferencaAbsoluta(valor_conta, valor_centros) >= kTolerancia) {
      throw Exception(kCentroCustoNaoFecha);
    }
  }
  if (!rateio_total && soma_percentual == 0) throw Exception(kSemRateio);
  if (rateio_total && DiferencaAbsoluta(total, soma_valor) >= kTolerancia) throw Exception(kContasNaoFecham);
}

std::vector<TValoresLancamento> TRegrasRateioContas::RepartirLancamento(const TValoresLancamento& inicial,
                                                                        const std::vector<TParteConta>& partes) {
  std::vector<TValoresLancamento> lancamentos;
  lancamentos.reserve(partes.size());
  TValoresLancamento distribuido;
  const auto acumular = [](double& acumulado, double valor) { acumulado = RoundTo(acumulado + valor, 2); };
  const auto resto = [](double inicio, double dado) { return RoundTo(inicio - dado, 2); };
  for (std::size_t indice = 0; indice < partes.size(); ++indice) {
    const TParteConta& parte = partes[indice];
    TValoresLancamento lancamento;
    if (indice + 1 == partes.size()) {
      lancamento.VALOR = resto(inicial.VALOR, distribuido.VALOR);
      lancamento.DESCONTOFIN = resto(inicial.DESCONTOFIN, distribuido.DESCONTOFIN);
      lancamento.TXPERM = resto(inicial.TXPERM, distribuido.TXPERM);
      lancamento.VALORDEV = resto(inicial.VALORDEV, distribuido.VALORDEV);
      for (std::size_t k = 0; k < TValoresLancamento::kImpostos; ++k) {
        lancamento.Impostos[k] = resto(inicial.Impostos[k], distribuido.Impostos[k]);
      }
    } else {
      double impostos = 0;
      for (std::size_t k = 0; k < TValoresLancamento::kImpostos; ++k) {
        lancamento.Impostos[k] = RoundTo(parte.PercRateio * inicial.Impostos[k] / 100, 2);
        impostos = RoundTo(impostos + lancamento.Impostos[k], 2);
      }
      lancamento.VALOR = RoundTo(parte.Valor - impostos, 2);
      lancamento.DESCONTOFIN = RoundTo(parte.Desconto, 2);
      lancamento.TXPERM = RoundTo(parte.Juros, 2);
      lancamento.VALORDEV = RoundTo(parte.Devolucao, 2);
    }
    acumular(distribuido.VALOR, lancamento.VALOR);
    acumular(distribuido.DESCONTOFIN, lancamento.DESCONTOFIN);
    acumular(distribuido.TXPERM, lancamento.TXPERM);
    acumular(distribuido.VALORDEV, lancamento.VALORDEV);
    for (std::size_t k = 0; k < TValoresLancamento::kImpostos; ++k) {
      acumular(distribuido.Impostos[k], lancamento.Impostos[k]);
    }
    lancamentos.push_back(lancamento);
  }
  return lancamentos;
}

std::vector<double> TRegrasRateioContas::ValoresCentrosCustoLancamento(const std::vector<TParteCentroCusto>& linhas,
                                                                       double valor_lancamento, bool pelo_percentual) {
  std::vector<double> valores;
  valores.reserve(linhas.size());
  double distribuido = 0;
  for (std::size_t indice = 0; indice < linhas.size(); ++indice) {
    double valor = RoundTo(linhas[indice].Valor, 2);
    if (pelo_percentual) {
      valor = indice + 1 == linhas.size() ? RoundTo(valor_lancamento - distribuido, 2)
                                          : RoundTo(linhas[indice].PercRateio * valor_lancamento / 100, 2);
    }
    distribuido = RoundTo(distribuido + valor, 2);
    valores.push_back(valor);
  }
  return valores;
}

// =============================================================================================
// The sub-module

TValidaRateioConta::TValidaRateioConta(TComponent* owner) : TBaseSubModulo(owner) {}

TValidaRateioConta::~TValidaRateioConta() = default;

TParametrosRateioContas& TValidaRateioConta::Parametros() {
  if (!fParametrosRateioContas) fParametrosRateioContas = std::make_unique<TParametrosRateioContas>();
  return *fParametrosRateioContas;
}

TParametrosCentroCusto& TValidaRateioConta::ParametrosCentroCusto() {
  if (!fParametrosCentroCusto) {
    fParametrosCentroCusto = std::make_unique<TParametrosCentroCusto>();
    fParametrosCentroCusto->DefinirTipoLancamento(tlFinanceiro);
  }
  return *fParametrosCentroCusto;
}

TClientDataSet& TValidaRateioConta::CdsRateioContas() {
  if (!fCdsRateioContas) {
    fCdsRateioContas = std::make_unique<TClientDataSet>();
    TParametrosRateioContas::CriarCdsContasRateio(*fCdsRateioContas);
  }
  return *fCdsRateioContas;
}

TClientDataSet& TValidaRateioConta::CdsRateioCentroCusto() {
  if (!fCdsRateioCentroCusto) {
    fCdsRateioCentroCusto = std::make_unique<TClientDataSet>();
    TParametrosRateioContas::CriarCdsCentroCustoConta(*fCdsRateioCentroCusto);
  }
  return *fCdsRateioCentroCusto;
}

TDALRateioContas& TValidaRateioConta::DALRateioContas() {
  if (fDALRateioContas == nullptr) fDALRateioContas = new TDALRateioContas(this);  // owned by this
  return *fDALRateioContas;
}

std::string TValidaRateioConta::GetUTILIZACENTROCUSTO_2663() {
  if (Quorvin().ParametrosExplicitos()) return fUTILIZACENTROCUSTO_2663;
  return Quorvin().Parametros().ValorTextoFilial("UTILIZACENTROCUSTO", Parametros().CodFilial, "N");
}

bool TValidaRateioConta::RateioTotal() {
  // Parameter 2664 belongs to the cost-center area: its explicit value, when the host gives them, is
  // the one given to that area.
  if (IFin_CentroCusto* centro_custo = CentroCusto()) return centro_custo->GetRATEIOTOTALCC_2664() == "S";
  if (Quorvin().ParametrosExplicitos()) return false;
  return Trim(Quorvin().Parametros().ValorTexto("RATEIOTOTALCC")) == "S";
}

IFin_ContasPagar& TValidaRateioConta::ContasPagar() {
  IGerenteFinanceiro* financeiro = Quorvin().GerenteFinanceiro();
  IFin_ContasPagar* contas_pagar = financeiro != nullptr ? financeiro->GetContasPagar() : nullptr;
  if (contas_pagar == nullptr) throw Exception("A área de contas a pagar não está disponível para o rateio de contas.");
  return *contas_pagar;
}

IFin_CentroCusto* TValidaRateioConta::CentroCusto() {
  IGerenteFinanceiro* financeiro = Quorvin().GerenteFinanceiro();
  return financeiro != nullptr ? financeiro->GetCentroCusto() : nullptr;
}

void TValidaRateioConta::FiltrarCentrosCusto(double codconta) {
  // Already on the account: the cursor stays on the row the form is on.
  TClientDataSet& centros = CdsRateioCentroCusto();
  const std::string filtro = TRegrasRateioContas::FiltroConta(codconta);
  if (centros.Filtered() && centros.Filter() == filtro) return;
  Filtrar(centros, filtro);
}

// ---------------------------------------------------------------------------------------------
// Proposal

bool TValidaRateioConta::ProcessoRateioConta(bool pPermissaoEditarLancamento, TTipoLancamento pTipoLancto,
                                             const std::string& pCodFilial, double pCodRateioConta, double pValorLancto,
                                             TDateTime pDataLancto, double pCodigoFuncionario, bool pShowForm,
                                             double pValorDesconto, double pValorJuros, double pValorDevol) {
  GetValidador().Clear();
  TParametrosRateioContas& p = Parametros();
  if (p.CdsContasRateioPadrao().IsEmpty()) p.ShowForm = pShowForm;
  p.PermissaoEditarLancamento = pPermissaoEditarLancamento;
  p.CodFilial = pCodFilial;
  p.ValorTotalLancamento = pValorLancto;
  p.CodRateioConta = pCodRateioConta;
  p.DtLanc = pDataLancto;
  p.CodigoFuncionario = pCodigoFuncionario;
  ParametrosCentroCusto().DefinirTipoLancamento(pTipoLancto);

  TStringList& validador = GetValidador();
  if (!(pCodRateioConta > 0)) {
    validador.Add("Favor informar o código para rateio de contas!");
    throw ExCodRateioContaNaoInformado();
  }
  if (Trim(pCodFilial).empty()) {
    validador.Add("Favor informar a filial para o lançamento do rateio de contas!");
    throw ExFilialNaoInformada();
  }
  if (pValorLancto == 0) {
    validador.Add("Favor informar um valor para se fazer o rateio!");
    throw ExValorIgualZero();
  }

  Inicializar(pValorLancto, pValorDesconto, pValorJuros, pValorDevol);
  PopularCdsValoresPadroes();
  if (pShowForm) p.StatusRateioContas = false;  // the user confirms in the form
  return p.StatusRateioContas;
}

bool TValidaRateioConta::PadraoDoRateio(double pCodRateioConta) {
  // The standard rows serve again only for the apportionment they were loaded for: filtering the
  // rows of another one would leave nothing to split.
  TClientDataSet& contas = Parametros().CdsContasRateioPadrao();
  if (contas.IsEmpty()) return false;
  TFiltroGuardado filtro(contas);
  Filtrar(contas, "");
  for (contas.First(); !contas.Eof(); contas.Next()) {
    if (Numero(contas, "CODRATEIOCONTA") != pCodRateioConta) return false;
  }
  return true;
}

void TValidaRateioConta::CarregarRateio(double pCodRateioConta) {
  TParametrosRateioContas& p = Parametros();
  const std::string codigo = Codigo(pCodRateioConta);
  int itens = 0;
  try {
    DALRateioContas().carregarRateioContasComCentroCusto(pCodRateioConta, p);
    itens = DALRateioContas().QuantidadeItensRateio(pCodRateioConta);
  } catch (const Exception& falha) {
    const std::string mensagem = "Não foi possível carregar o rateio de contas " + codigo +
                                 ". Verifique se as contas do rateio são códigos numéricos de contas gerenciais. "
                                 "Mensagem original: " +
                                 falha.Message();
    GetValidador().Add(mensagem);
    std::throw_with_nested(Exception(mensagem));
  }
  // An item whose account is not registered would leave its share to the last account.
  if (static_cast<std::size_t>(itens) != p.CdsContasRateioPadrao().RecordCount()) {
    TParametrosRateioContas::CriarCdsContasRateio(p.CdsContasRateioPadrao());
    TParametrosRateioContas::CriarCdsCentroCustoConta(p.CdsCentroCustoContaPadrao());
    const std::string mensagem =
        "O rateio de contas " + codigo + " possui conta não cadastrada no plano de contas gerencial. Favor verificar!";
    GetValidador().Add(mensagem);
    throw Exception(mensagem);
  }
}

void TValidaRateioConta::Inicializar(double pValorLancto, double pValorDesconto, double pValorJuros,
                                     double pValorDevol) {
  TParametrosRateioContas& p = Parametros();
  if (!PadraoDoRateio(p.CodRateioConta)) CarregarRateio(p.CodRateioConta);
  Filtrar(p.CdsContasRateioPadrao(), "CODRATEIOCONTA = " + Codigo(p.CodRateioConta));
  CalcularValorRateado(pValorLancto, pValorDesconto, pValorJuros, pValorDevol);
}

void TValidaRateioConta::CalcularValorRateado(double pValorTotal, double pValorDesconto, double pValorJuros,
                                              double pValorDevol) {
  TParametrosRateioContas& p = Parametros();
  TClientDataSet& contas = p.CdsContasRateioPadrao();
  TClientDataSet& centros = p.CdsCentroCustoContaPadrao();
  TRegrasRateioContas::CalcularValoresContas(contas, pValorTotal, pValorDesconto, pValorJuros, pValorDevol);
  TFiltroGuardado filtro(centros);
  for (contas.First(); !contas.Eof(); contas.Next()) {
    Filtrar(centros, TRegrasRateioContas::FiltroConta(Numero(contas, "CODCONTA")));
    TRegrasRateioContas::CalcularValoresCentrosCusto(centros, Numero(contas, "VALOR"));
  }
  contas.First();
}

namespace {

// Copies the visible rows of `origem` into `destino` field by field, in `filial`.
void CopiarLinhas(TDataSet& origem, TClientDataSet& destino, const std::string& filial) {
  for (origem.First(); !origem.Eof(); origem.Next()) {
    destino.Append();
    for (std::size_t indice = 0; indice < origem.FieldCount(); ++indice) {
      const TField campo = origem.Fields(indice);
      if (auto alvo = destino.FindField(campo.FieldName()); alvo && !campo.IsNull()) {
        if (alvo->DataType() == TFieldType::ftDateTime) {
          alvo->SetAsDateTime(campo.AsDateTime());
        } else if (alvo->DataType() == TFieldType::ftFloat) {
          alvo->SetAsFloat(campo.AsFloat());
        } else {
          alvo->SetAsString(campo.AsString());
        }
      }
    }
    destino.FieldByName("CODFILIAL").SetAsString(filial);
    destino.Post();
  }
  origem.First();
  destino.First();
  destino.MergeChangeLog();  // a cancelled form returns to the copy
}

}  // namespace

void TValidaRateioConta::PopularCdsValoresPadroes() {
  TParametrosRateioContas& p = Parametros();
  TClientDataSet& contas = CdsRateioContas();
  TClientDataSet& centros = CdsRateioCentroCusto();
  TParametrosRateioContas::CriarCdsContasRateio(contas);
  TParametrosRateioContas::CriarCdsCentroCustoConta(centros);
  CopiarLinhas(p.CdsContasRateioPadrao(), contas, p.CodFilial);
  CopiarLinhas(p.CdsCentroCustoContaPadrao(), centros, p.CodFilial);
  // The form shows the cost centers of the account it is on.
  if (!contas.IsEmpty()) FiltrarCentrosCusto(Numero(contas, "CODCONTA"));
}

// ---------------------------------------------------------------------------------------------
// Form: account rows

void TValidaRateioConta::SetParametrosConta(double pContaGerencial, double pPercentual, double pValorRateio,
                                            const std::string& pCodFilial, double pCodRateioConta,
                                            bool pAlterandoLancto, double pValorDesc, double pValorJuros,
                                            double pValorDevol) {
  TParametrosRateioContas& p = Parametros();
  p.CodConta = pContaGerencial;
  p.PercRateio = pPercentual;
  p.ValorRateio = pValorRateio;
  p.CodFilial = pCodFilial;
  p.CodRateioConta = pCodRateioConta;
  p.AlterandoLancto = pAlterandoLancto;
  p.ValorDesc = pValorDesc;
  p.ValorJuros = pValorJuros;
  p.ValorDevol = pValorDevol;
}

std::uint8_t TValidaRateioConta::ValidaCamposInterfaceRateioConta() {
  TParametrosRateioContas& p = Parametros();
  TStringList& validador = GetValidador();
  const auto falha = [&validador](std::uint8_t codigo, const std::string& mensagem) {
    validador.Add(mensagem);
    return codigo;
  };
  if (p.CodRateioConta <= 0) return falha(2, "Favor informar a conta do rateio padrão!");
  if (p.CodConta <= 0) return falha(11, "Favor informar a conta para fazer o rateio!");
  if (Trim(p.CodFilial).empty()) return falha(1, "Favor informar a filial da conta para o rateio!");
  if (p.PercRateio == 0) return falha(4, "Favor informar o percentual de rateio do lançamento para inclusão!");
  if (p.PercRateio < 0) return falha(7, "Favor informar o percentual de rateio maior que zero!");
  if (p.ValorRateio < 0 && p.ValorTotalLancamento > 0) {
    return falha(9, "Favor o valor do lançamento e do rateio devem ser ambos positivos ou negativos!");
  }
  if (p.ValorRateio == 0) return falha(5, "Favor informar o valor de rateio do lançamento para inclusão!");
  if (!p.AlterandoLancto) {
    TClientDataSet& contas = CdsRateioContas();
    TCursorGuardado cursor(contas);
    for (contas.First(); !contas.Eof(); contas.Next()) {
      if (Numero(contas, "CODCONTA") == p.CodConta) {
        return falha(12, "Conta " + Codigo(p.CodConta) + " já existe para esse rateio!");
      }
    }
  }
  return 0;
}

void TValidaRateioConta::InserirContasCdsRateioContas() {
  TParametrosRateioContas& p = Parametros();
  TClientDataSet& contas = CdsRateioContas();
  TClientDataSet& centros = CdsRateioCentroCusto();
  std::string descricao_conta;
  std::string descricao_grupo;
  double grupo = 0;
  DALRateioContas().obterDescricaoContaEGrupo(p.CodConta, descricao_conta, grupo, descricao_grupo);
  const std::string usa_centro_custo = DALRateioContas().PesquisaUsarateiocentrocusto(Codigo(p.CodConta));

  // The row being changed is the one the form is on (after a walk to the end, the last one).
  const bool editar = p.PermissaoEditarLancamento && p.AlterandoLancto && contas.RecNo() > 0;
  const double conta_anterior = editar ? Numero(contas, "CODCONTA") : 0;
  if (editar) {
    contas.Edit();
  } else {
    contas.Append();
  }
  contas.FieldByName("CODCONTA").SetAsFloat(p.CodConta);
  contas.FieldByName("VALOR").SetAsFloat(RoundTo(p.ValorRateio, 2));
  contas.FieldByName("PERCRATEIO").SetAsFloat(p.PercRateio);
  if (p.DtLanc.IsZero()) {
    contas.FieldByName("DTLANC").Clear();
  } else {
    contas.FieldByName("DTLANC").SetAsDateTime(p.DtLanc);
  }
  contas.FieldByName("CONTRAPARTIDA").SetAsString(p.ContraPartida);
  if (p.RecNumPrinc != 0) contas.FieldByName("RECNUMPRINC").SetAsFloat(p.RecNumPrinc);
  contas.FieldByName("CODFILIAL").SetAsString(p.CodFilial);
  contas.FieldByName("CODRATEIOCONTA").SetAsFloat(p.CodRateioConta);
  contas.FieldByName("DESCONTOFIN").SetAsFloat(RoundTo(p.ValorDesc, 2));
  contas.FieldByName("TXPERM").SetAsFloat(RoundTo(p.ValorJuros, 2));
  contas.FieldByName("VALORDEVOL").SetAsFloat(RoundTo(p.ValorDevol, 2));
  contas.FieldByName("DESCRICAO_CONTA").SetAsString(descricao_conta);
  if (grupo != 0) {
    contas.FieldByName("GRUPOCONTA").SetAsFloat(grupo);
  } else {
    contas.FieldByName("GRUPOCONTA").Clear();
  }
  contas.FieldByName("DESCRICAO_GRUPO").SetAsString(descricao_grupo);
  contas.FieldByName("USARATEIOCENTROCUSTO").SetAsString(usa_centro_custo);
  contas.Post();

  // A row moved to another account takes its cost centers away with it.
  if (editar && conta_anterior != p.CodConta) {
    FiltrarCentrosCusto(conta_anterior);
    while (!centros.IsEmpty()) {
      centros.First();
      centros.Delete();
    }
  }
  FiltrarCentrosCusto(p.CodConta);
  if (centros.IsEmpty()) {
    DALRateioContas().carregarCentroCustoPadrao(p, centros);
    FiltrarCentrosCusto(p.CodConta);
    TRegrasRateioContas::CalcularValoresCentrosCusto(centros, RoundTo(p.ValorRateio, 2));
  }
  centros.First();
}

// ---------------------------------------------------------------------------------------------
// Form: cost-center rows

void TValidaRateioConta::SetParametrosCentroCusto(double pPercentual, double pValorRateio,
                                                  const std::string& pCodFilial, const std::string& pCodRateioPadrao,
                                                  const std::string& pCodCentroCusto,
                                                  const std::string& pDescCentroCusto, bool pAlterandoLancto,
                                                  double pContaGerencial, double pValorLanctoConta) {
  TParametrosCentroCusto& p = ParametrosCentroCusto();
  p.PercRateio = pPercentual;
  p.ValorRateio = pValorRateio;
  p.CodFilial = pCodFilial;
  p.CodRateioPadrao = pCodRateioPadrao;
  p.CodCentroCusto = pCodCentroCusto;
  p.DescCentroCusto = pDescCentroCusto;
  p.AlterandoLancto = pAlterandoLancto;
  p.CodContaGerencial = pContaGerencial;
  p.CodConta = Codigo(pContaGerencial);
  p.ValorLancto = pValorLanctoConta;
}

std::uint8_t TValidaRateioConta::ValidaCamposInterfaceCentroCusto() {
  TParametrosCentroCusto& p = ParametrosCentroCusto();
  TStringList& validador = GetValidador();
  const std::string centro_custo = Trim(p.CodCentroCusto);
  const std::string rateio_padrao = Trim(p.CodRateioPadrao);
  const bool financeiro_ou_orcamento = p.LanctoFinanceiro || p.LanctoOrcamento;
  const auto falha = [&validador](std::uint8_t codigo, const std::string& mensagem) {
    validador.Add(mensagem);
    return codigo;
  };
  if (financeiro_ou_orcamento && Trim(p.CodFilial).empty()) {
    return falha(1, "Favor informar a filial do Centro de Custo!");
  }
  if (centro_custo.empty() && rateio_padrao.empty()) {
    return falha(3, "Favor informar o Rateio Padrão ou Centro de Custo válido para inclusão!");
  }
  if (!centro_custo.empty() && p.PercRateio == 0) {
    return falha(4, "Favor informar o percentual de rateio do lançamento para inclusão!");
  }
  if (p.PercRateio < 0) return falha(7, "Favor informar o percentual de rateio maior que zero!");
  if (financeiro_ou_orcamento && p.ValorRateio < 0 && p.ValorLancto > 0) {
    return falha(9, "Favor o valor do lançamento e do rateio devem ser ambos positivos ou negativos!");
  }
  if (financeiro_ou_orcamento && !centro_custo.empty() && p.ValorRateio == 0) {
    return falha(5, "Favor informar o valor de rateio do lançamento para inclusão!");
  }
  if (p.TemTipoLancamento() && GetUTILIZACENTROCUSTO_2663() != "S") {
    return falha(10, "Filial selecionada não usa Centro de Custo conforme definido no parâmetro 2663 da Rotina 132!");
  }
  TClientDataSet& centros = CdsRateioCentroCusto();
  if (p.AlterandoLancto && centros.RecNo() > 0 &&
      Trim(centros.FieldByName("CODIGOCENTROCUSTO").AsString()) == centro_custo &&
      Numero(centros, "CODCONTA") == p.CodContaGerencial) {
    return 0;
  }
  if (!centro_custo.empty()) {
    TFiltroGuardado filtro(centros);
    Filtrar(centros, "");
    const bool existe = centros.Locate("CODIGOCENTROCUSTO;CODCONTA", {centro_custo, p.CodContaGerencial});
    if (existe) return falha(6, "Centro de Custo " + centro_custo + " já existe para essa conta!");
  }
  if (!rateio_padrao.empty() && InsereItensRateioPadrao(rateio_padrao)) return 8;
  return 0;
}

bool TValidaRateioConta::InsereItensRateioPadrao(const std::string& codigo) {
  TParametrosCentroCusto& pc = ParametrosCentroCusto();
  TParametrosRateioContas& p = Parametros();
  if (fDALCentroCusto == nullptr) fDALCentroCusto = new TDALCentroCusto(this, tlFinanceiro);  // owned by this
  const TLinhasCarregadas linhas = fDALCentroCusto->RateioPadrao(codigo);
  if (!linhas.TemLinhas) return false;
  TClientDataSet& centros = CdsRateioCentroCusto();
  FiltrarCentrosCusto(pc.CodContaGerencial);
  std::set<std::string> presentes;
  for (centros.First(); !centros.Eof(); centros.Next()) {
    presentes.insert(Trim(centros.FieldByName("CODIGOCENTROCUSTO").AsString()));
  }
  TDataSet& origem = linhas.Dados();
  for (origem.First(); !origem.Eof(); origem.Next()) {
    const std::string centro_custo = Trim(origem.FieldByName("CODIGOCENTROCUSTO").AsString());
    if (!presentes.insert(centro_custo).second) continue;
    const double percentual = origem.FieldByName("PERCRATEIO").AsFloat();
    centros.Append();
    centros.FieldByName("CODCONTA").SetAsFloat(pc.CodContaGerencial);
    centros.FieldByName("CODIGOCENTROCUSTO").SetAsString(centro_custo);
    centros.FieldByName("DESCCENTROCUSTO")
        .SetAsString(
            Utf8Left(origem.FieldByName("DESCCENTROCUSTO").AsString(), TParametrosRateioContas::kLarguraDescricao));
    centros.FieldByName("PERCRATEIO").SetAsFloat(percentual);
    centros.FieldByName("VALOR").SetAsFloat(RoundTo(pc.ValorLancto * RoundTo(percentual, 6) / 100, 2));
    if (!p.DtLanc.IsZero()) centros.FieldByName("DTLANC").SetAsDateTime(p.DtLanc);
    centros.FieldByName("CODFILIAL").SetAsString(Trim(pc.CodFilial).empty() ? p.CodFilial : pc.CodFilial);
    centros.FieldByName("CCTEMPERMISSAO_ZTLIB").SetAsString("S");  // the standard query lists only permitted ones
    centros.Post();
  }
  centros.First();
  return true;
}

void TValidaRateioConta::InserirCentroCustoCdsRateioCentroCusto() {
  TParametrosCentroCusto& pc = ParametrosCentroCusto();
  TParametrosRateioContas& p = Parametros();
  TClientDataSet& centros = CdsRateioCentroCusto();
  FiltrarCentrosCusto(pc.CodContaGerencial);
  // The row being changed is the current one, if the form is on a row of this account.
  const bool editar = p.PermissaoEditarLancamento && pc.AlterandoLancto && centros.RecNo() > 0;
  if (editar) {
    centros.Edit();
  } else {
    centros.Append();
  }
  centros.FieldByName("CODCONTA").SetAsFloat(pc.CodContaGerencial);
  centros.FieldByName("CODIGOCENTROCUSTO").SetAsString(Trim(pc.CodCentroCusto));
  centros.FieldByName("DESCCENTROCUSTO")
      .SetAsString(Utf8Left(pc.DescCentroCusto, TParametrosRateioContas::kLarguraDescricao));
  centros.FieldByName("PERCRATEIO").SetAsFloat(pc.PercRateio);
  centros.FieldByName("VALOR").SetAsFloat(RoundTo(pc.ValorRateio, 2));
  if (p.DtLanc.IsZero()) {
    centros.FieldByName("DTLANC").Clear();
  } else {
    centros.FieldByName("DTLANC").SetAsDateTime(p.DtLanc);
  }
  centros.FieldByName("CONTRAPARTIDA").SetAsString(p.ContraPartida);
  if (p.RecNumPrinc != 0) centros.FieldByName("RECNUMPRINC").SetAsFloat(p.RecNumPrinc);
  centros.FieldByName("CODFILIAL").SetAsString(Trim(pc.CodFilial).empty() ? p.CodFilial : pc.CodFilial);
  if (!pc.CCTemPermissao_ZTLib.empty()) {
    centros.FieldByName("CCTEMPERMISSAO_ZTLIB").SetAsString(pc.CCTemPermissao_ZTLib);
  }
  centros.Post();
}

// ---------------------------------------------------------------------------------------------
// Whole split, cancellation

bool TValidaRateioConta::ValidarDadosInformadosParaInclusao() {
  TParametrosRateioContas& p = Parametros();
  TRegrasRateioContas::ValidarTotais(CdsRateioContas(), CdsRateioCentroCusto(), p.ValorTotalLancamento, RateioTotal());
  p.StatusRateioContas = true;
  return true;
}

bool TValidaRateioConta::CancelaRateioContas() {
  try {
    TParametrosRateioContas& p = Parametros();
    p.StatusRateioContas = false;
    p.CdsContasRateioPadrao().CancelUpdates();
    p.CdsCentroCustoContaPadrao().CancelUpdates();
    // The form edits the working rows: they return to the proposal too.
    CdsRateioContas().CancelUpdates();
    CdsRateioCentroCusto().CancelUpdates();
    return true;
  } catch (const Exception& falha) {
    std::throw_with_nested(Exception(falha.Message()));
  }
}

void TValidaRateioConta::CancelarUltimoRateioEfetuado() {
  for (TClientDataSet* dados : {&CdsRateioContas(), &Parametros().CdsContasRateioPadrao()}) {
    if (dados->Active()) TParametrosRateioContas::CriarCdsContasRateio(*dados);
  }
  for (TClientDataSet* dados : {&CdsRateioCentroCusto(), &Parametros().CdsCentroCustoContaPadrao()}) {
    if (dados->Active()) TParametrosRateioContas::CriarCdsCentroCustoConta(*dados);
  }
  fParametrosRateioContas = std::make_unique<TParametrosRateioContas>();
  fParametrosCentroCusto.reset();
  delete fDALRateioContas;  // leaves this component's list by itself
  fDALRateioContas = new TDALRateioContas(this);
  Parametros().StatusRateioContas = false;
}

// ---------------------------------------------------------------------------------------------
// Posting

namespace {

// The cost-center area copies no rows of its own for the entries of a split (they get the split's
// rows); the flag is put back after each entry, also on failure.
class TCloneDoPrincipal {
 public:
  explicit TCloneDoPrincipal(IFin_CentroCusto* centro_custo) : FCentroCusto(centro_custo) {
    if (FCentroCusto != nullptr) FCentroCusto->SetFazCloneRegistroPrincipal(true);
  }
  ~TCloneDoPrincipal() {
    if (FCentroCusto != nullptr) FCentroCusto->SetFazCloneRegistroPrincipal(false);
  }
  TCloneDoPrincipal(const TCloneDoPrincipal&) = delete;
  TCloneDoPrincipal& operator=(const TCloneDoPrincipal&) = delete;

 private:
  IFin_CentroCusto* FCentroCusto;
};

}  // namespace

void TValidaRateioConta::InserirRateioConta(RFin_IncluirContasPagar& prParametros) {
  TParametrosRateioContas& p = Parametros();
  TClientDataSet& contas = CdsRateioContas();
  TClientDataSet& centros = CdsRateioCentroCusto();
  if (contas.IsEmpty()) {
    const std::string mensagem = "Nenhuma conta informada para o rateio de contas! Nenhum lançamento foi incluído.";
    GetValidador().Add(mensagem);
    throw Exception(mensagem);
  }
  const TValoresLancamento inicial = TValoresLancamento::DoRegistro(prParametros);
  prParametros.ClearRecNums();

  std::vector<TParteConta> partes;
  for (contas.First(); !contas.Eof(); contas.Next()) {
    partes.push_back({Numero(contas, "PERCRATEIO"), Numero(contas, "VALOR"), Numero(contas, "DESCONTOFIN"),
                      Numero(contas, "TXPERM"), Numero(contas, "VALORDEVOL")});
  }
  const std::vector<TValoresLancamento> valores = TRegrasRateioContas::RepartirLancamento(inicial, partes);

  double recnum_principal = 0;
  std::size_t indice = 0;
  for (contas.First(); !contas.Eof(); contas.Next(), ++indice) {
    const double recnum = Quorvin().Numeracao().ProximoRecNum();
    if (indice == 0) recnum_principal = recnum;
    contas.Edit();
    contas.FieldByName("RECNUM").SetAsFloat(recnum);
    contas.FieldByName("RECNUMPRINC").SetAsFloat(recnum_principal);
    contas.Post();
    prParametros.RECNUM = recnum;
    IncluirLancamentoConta(prParametros, valores[indice], recnum_principal);
  }

  p.StatusRateioContas = false;
  contas.First();
  FiltrarCentrosCusto(Numero(contas, "CODCONTA"));
  centros.First();
}

void TValidaRateioConta::IncluirLancamentoConta(RFin_IncluirContasPagar& registro, const TValoresLancamento& valores,
                                                double recnum_principal) {
  TClientDataSet& contas = CdsRateioContas();
  const double codconta = Numero(contas, "CODCONTA");
  valores.GravarNoRegistro(registro);
  registro.CODCONTA = codconta;
  registro.CODFILIAL = contas.FieldByName("CODFILIAL").AsString();
  registro.RECNUMPRINC = recnum_principal;
  registro.UTILIZOURATEIOCONTA = "S";
  registro.PRCRATEIOUTILIZADO = Numero(contas, "PERCRATEIO");

  IFin_ContasPagar& contas_pagar = ContasPagar();
  bool incluido = false;
  {
    const TCloneDoPrincipal clone(CentroCusto());
    incluido = contas_pagar.Incluir(registro);
  }
  if (!incluido) {
    throw Exception("Não foi possível incluir o lançamento da conta " + Codigo(codconta) + " do rateio de contas! " +
                    registro.MENSAGEM);
  }
  registro.AddRecNum(registro.RECNUM);
  // The payable area tells whether this entry went to ZTLANCBLOQ: its cost centers follow it.
  const bool retido = contas_pagar.GetLancarZTLancBloqGeral();

  TDateTime data = contas.FieldByName("DTLANC").AsDateTime();
  if (data.IsZero()) data = registro.DTLANC;
  DALRateioContas().inserirRateioConta(registro.RECNUM, codconta, registro.VALOR, Numero(contas, "PERCRATEIO"), data,
                                       contas.FieldByName("CONTRAPARTIDA").AsString(), recnum_principal,
                                       registro.CODFILIAL, Numero(contas, "CODRATEIOCONTA"));
  if (Trim(contas.FieldByName("USARATEIOCENTROCUSTO").AsString()) == "S") {
    EscreverCentrosCusto(registro, codconta, retido);
  }
}

void TValidaRateioConta::EscreverCentrosCusto(const RFin_IncluirContasPagar& registro, double codconta, bool retido) {
  TClientDataSet& centros = CdsRateioCentroCusto();
  FiltrarCentrosCusto(codconta);
  std::vector<TParteCentroCusto> linhas;
  for (centros.First(); !centros.Eof(); centros.Next()) {
    linhas.push_back({Numero(centros, "PERCRATEIO"), Numero(centros, "VALOR")});
  }
  const std::vector<double> valores =
      TRegrasRateioContas::ValoresCentrosCustoLancamento(linhas, registro.VALOR, registro.SELETORVALORCENTROCUSTO > 0);
  std::size_t indice = 0;
  // The rows belong to the new entry: its date and branch, as the cost-center area writes them.
  for (centros.First(); !centros.Eof(); centros.Next(), ++indice) {
    DALRateioContas().inserirRateioCentroCusto(
        registro.RECNUM, codconta, Trim(centros.FieldByName("CODIGOCENTROCUSTO").AsString()), valores[indice],
        Numero(centros, "PERCRATEIO"), registro.DTLANC, centros.FieldByName("CONTRAPARTIDA").AsString(),
        registro.RECNUMPRINC, registro.CODFILIAL, retido);
  }
}
