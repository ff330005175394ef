#include "dni/Uclsfin_blldepositonaoidentificadocomverba.h"

#include <exception>
#include <set>

#include "cash/Uclsfin_dalmovimentacaonumerarios.h"
#include "cash/Uclsfin_movimentacaonumerarios.h"
#include "frame/Uclsfin_except.h"
#include "oradb/TOraSavepoint.h"
#include "oradb/TOraSession.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"

namespace {

constexpr const char* kCodigoCobrancaDNI = "DNI";
constexpr const char* kIndice = "B";
constexpr std::size_t kTamanhoHistorico2 = 40;

constexpr const char* kSemDNIs = "Não foram localizados DNIs para o banco informado.";
constexpr const char* kOperacaoCancelada = "Operação cancelada pelo usuário";
constexpr const char* kSemDataCompensacao = "Favor informar a data de compensação";
constexpr const char* kInformeLimite = "Informe o valor até o limite disponível em DNI para baixa.";

[[nodiscard]] std::string TextoNumero(double numero) {
  return ShortestDecimal(numero);
}

[[nodiscard]] std::string HistoricoBaixa(double NumeroVerba) {
  return "BAIXA DE DNI COM VERBA N.: " + TextoNumero(NumeroVerba);
}

[[nodiscard]] std::string Historico2Origem(double NumTrans) {
  return Utf8Left("NUMTRANS DNI ORIGEM.:" + TextoNumero(NumTrans), kTamanhoHistorico2);
}

// The grid's seven-digit transaction number; a longer one is shown whole.
[[nodiscard]] std::string NumTransExibido(double NumTrans) {
  const std::string texto = TextoNumero(NumTrans);
  return texto.size() >= 7 ? texto : std::string(7 - texto.size(), '0') + texto;
}

// The text of a failure as the user sees it.
[[nodiscard]] std::string MensagemDe(const std::exception& falha) {
  const auto* conhecida = dynamic_cast<const Exception*>(&falha);
  return conhecida != nullptr ? conhecida->Message() : std::string(falha.what());
}

// A row address pasted into a statement holds only the characters row addresses are made of.
[[nodiscard]] bool EnderecoDeLinha(const std::string& rowid) {
  if (rowid.empty() || rowid.size() > 64) return false;
  for (const char c : rowid) {
    const bool permitido =
        (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '+' || c == '/';
    if (!permitido) return false;
  }
  return true;
}

// A clearing date a user can mean: a calendar day between 1900 and 2999.
[[nodiscard]] bool DataPlausivel(TDateTime data) {
  if (data.IsZero()) return false;
  const int ano = data.Year();
  return ano >= 1900 && ano <= 2999;
}

}  // namespace

TBLLDepositoNaoIdentificadoComVerba::TBLLDepositoNaoIdentificadoComVerba(TComponent* owner) : TBaseSubModulo(owner) {}

TBLLDepositoNaoIdentificadoComVerba::~TBLLDepositoNaoIdentificadoComVerba() = default;

TDALDepositoNaoIdentificadoComVerba& TBLLDepositoNaoIdentificadoComVerba::GetDALDepositoNaoIdentificadoComVerba() {
  if (fDALDepositoNaoIdentificadoComVerba == nullptr) {
    fDALDepositoNaoIdentificadoComVerba = new TDALDepositoNaoIdentificadoComVerba(Owner());
  }
  return *fDALDepositoNaoIdentificadoComVerba;
}

void TBLLDepositoNaoIdentificadoComVerba::VerificarTransacao() {
  GetValidador().Clear();
  CheckTransacao();
  if (!GetValidador().IsEmpty()) throw ExTransacaoNaoIniciada();
}

IFin_MovimentacaoNumerarios& TBLLDepositoNaoIdentificadoComVerba::Numerarios() {
  IGerenteFinanceiro* financeiro = Quorvin().GerenteFinanceiro();
  IFin_MovimentacaoNumerarios* numerarios = financeiro != nullptr ? financeiro->GetMovimentacaoNumerarios() : nullptr;
  if (numerarios == nullptr) throw Exception("Movimentação de numerários indisponível no módulo financeiro.");
  return *numerarios;
}

TDALMovimentacaoNumerarios& TBLLDepositoNaoIdentificadoComVerba::DALNumerarios() {
  // The reconciliation of one movement belongs to the cash area's data access, reached through the
  // cash sub-module the facade hands out.
  auto* numerarios = dynamic_cast<TMovimentacaoNumerarios*>(&Numerarios());
  if (numerarios == nullptr) throw Exception("Conciliação de numerários indisponível no módulo financeiro.");
  return numerarios->GetDALMovimentacaoNumerarios();
}

// ---- Settlement

bool TBLLDepositoNaoIdentificadoComVerba::BaixarVerbaComDNI(double pfCodigoCliente, int pfCodigoBanco,
                                                            double pfNumeroVerba, double pfValorVerba) {
  try {
    VerificarTransacao();
    if (!(pfCodigoCliente > 0)) throw ExCodigoClienteObrigatorio();
    if (!(pfCodigoBanco > 0)) throw ExCodigoBancoNaoInformado();
    if (!(pfNumeroVerba > 0)) throw ExNumeroVerbaObrigatorio();
    const double valor = RoundTo(pfValorVerba, 2);
    if (!(valor > 0)) throw ExValorZerado();
    // Elsewhere the reconciliation of a deposit takes its value off the plain DNI balance a second
    // time, and the balance would no longer match the open deposits.
    if (Quorvin().SessaoAtual().Usuario().CodigoRotina() != kRotinaBaixaVerbaComDNI) {
      throw Exception("A baixa de verbas com DNI é feita pela rotina " + std::to_string(kRotinaBaixaVerbaComDNI) +
                      "; a rotina atual é " + std::to_string(Quorvin().SessaoAtual().Usuario().CodigoRotina()) + ".");
    }
    FCodigoCliente = pfCodigoCliente;
    FCodigoBanco = pfCodigoBanco;
    FNumeroVerba = pfNumeroVerba;
    FValorVerba = valor;
    if (ConsultarDNIs() == 0) throw Exception(kSemDNIs);

    auto* seletor = dynamic_cast<IQuorvinSelecaoDNI*>(&Quorvin());
    if (seletor == nullptr) throw Exception("O host não oferece a seleção de DNIs.");
    const TJanelaSelecaoDNI janela = ConstruirFormularioBaixaVerbaComDNI();
    const TModalResult resultado =
        seletor->SelecionarDNIs(janela, [this](const TSelecaoDNI& selecao) { OnClickConfirmar(selecao); });
    if (resultado != TModalResult::mrOk) throw Exception(kOperacaoCancelada);
    return true;
  } catch (const ExErroAoBaixarVerbaComDNI&) {
    throw;
  } catch (const std::exception& falha) {
    std::throw_with_nested(ExErroAoBaixarVerbaComDNI(MensagemDe(falha)));
  }
}

std::size_t TBLLDepositoNaoIdentificadoComVerba::ConsultarDNIs() {
  qryDNIs = GetDALDepositoNaoIdentificadoComVerba().ConsultarDNIs(FCodigoBanco, FCodigoCliente);
  for (TDepositoNaoIdentificado& dni : qryDNIs) {
    dni.VALOR = RoundTo(dni.VALOR, 2);
    dni.VALORTOTALASSOCIADO = RoundTo(dni.VALORTOTALASSOCIADO, 2);
    dni.VALORDISPONIVEL = RoundTo(dni.VALORDISPONIVEL, 2);
  }
  return qryDNIs.size();
}

TJanelaSelecaoDNI TBLLDepositoNaoIdentificadoComVerba::ConstruirFormularioBaixaVerbaComDNI() {
  TJanelaSelecaoDNI janela;
  janela.Titulo = "Baixa de verbas com DNI";
  const std::string cliente = TextoNumero(FCodigoCliente);
  const std::string nome =
      Quorvin().SessaoAtual().BancoDados().Localizar("ZTCLIENT", "CLIENTE", "CODCLI = " + cliente).value_or("");
  janela.Campos = {
      {"Banco", std::to_string(FCodigoBanco) + " - DNI"},
      {"Cliente", cliente + " - " + nome},
      {"Valor", FormatarValor(FValorVerba)},
      {"Número verba", TextoNumero(FNumeroVerba)},
  };
  janela.TituloDataCompensacao = "Data compensação";
  ConstruirGrid(janela);
  janela.BotaoConfirmar = "&Confirmar";
  janela.BotaoCancelar = "C&ancelar";
  return janela;
}

void TBLLDepositoNaoIdentificadoComVerba::ConstruirGrid(TJanelaSelecaoDNI& janela) const {
  janela.TituloGrade = "Lista de DNIs";
  janela.Colunas = {
      {"SELECIONADO", "X"},
      {"DATA", "Data lanc."},
      {"NUMTRANS", "Numtrans"},
      {"VALOR", "Valor"},
      {"VALORTOTALASSOCIADO", "Valor associado"},
      {"VALORDISPONIVEL", "Valor disponível"},
      {"NUMASSOCDNI", "Núm. assoc. DNI"},
      {"DTASSOCIADNICLI", "Data assoc. DNI"},
      {"NUMDOC", "Núm. documento"},
      {"HISTORICO", "Histórico"},
  };
  const auto data = [](TDateTime valor) { return valor.IsZero() ? std::string() : valor.ToBrazilian(); };
  for (const TDepositoNaoIdentificado& dni : qryDNIs) {
    janela.Linhas.push_back({dni.NUMTRANS,
                             {dni.SELECIONADO, data(dni.DATA), NumTransExibido(dni.NUMTRANS), FormatarValor(dni.VALOR),
                              FormatarValor(dni.VALORTOTALASSOCIADO), FormatarValor(dni.VALORDISPONIVEL),
                              dni.NUMASSOCDNI != 0 ? TextoNumero(dni.NUMASSOCDNI) : std::string(),
                              data(dni.DTASSOCIADNICLI), dni.NUMDOC, dni.HISTORICO}});
  }
}

double TBLLDepositoNaoIdentificadoComVerba::TotalDNIsSelecionados() const {
  double total = 0;
  for (const TDepositoNaoIdentificado& dni : qryDNIs) {
    if (dni.SELECIONADO == "S") total = RoundTo(total + dni.VALORDISPONIVEL, 2);
  }
  return total;
}

void TBLLDepositoNaoIdentificadoComVerba::MarcarSelecionados(const TSelecaoDNI& selecao) {
  for (TDepositoNaoIdentificado& dni : qryDNIs) dni.SELECIONADO = "N";
  std::set<double> vistos;
  for (const double numtrans : selecao.NUMTRANS) {
    if (!vistos.insert(numtrans).second) {
      throw Exception("O DNI de numtrans " + TextoNumero(numtrans) + " foi selecionado mais de uma vez.");
    }
    TDepositoNaoIdentificado* achado = nullptr;
    for (TDepositoNaoIdentificado& dni : qryDNIs) {
      if (dni.NUMTRANS != numtrans) continue;
      // Two open deposits under one transaction cannot be told apart by a pick.
      if (achado != nullptr) {
        throw Exception("O numtrans " + TextoNumero(numtrans) + " identifica mais de um DNI da lista.");
      }
      achado = &dni;
    }
    if (achado == nullptr) {
      throw Exception("O DNI de numtrans " + TextoNumero(numtrans) + " não está na lista de DNIs do banco informado.");
    }
    if (!EnderecoDeLinha(achado->ROWID)) {
      throw Exception("Endereço de linha inválido no DNI de numtrans " + TextoNumero(numtrans) + ".");
    }
    achado->SELECIONADO = "S";
  }
}

void TBLLDepositoNaoIdentificadoComVerba::OnClickConfirmar(const TSelecaoDNI& selecao) {
  try {
    VerificarTransacao();
    if (!DataPlausivel(selecao.DataCompensacao)) {
      throw Exception(selecao.DataCompensacao.IsZero()
                          ? kSemDataCompensacao
                          : "Data de compensação inválida: " + selecao.DataCompensacao.ToBrazilian() + ".");
    }
    MarcarSelecionados(selecao);
    // A failed attempt leaves nothing behind, so the user may correct the picks and confirm again.
    TOraSavepoint ponto(Quorvin().SessaoAtual().BancoDados().Sessao());
    IniciarBaixaDeVerbaComDNI(selecao.DataCompensacao.DateOnly());
    ponto.Release();
  } catch (const ExErroAoBaixarVerbaComDNI&) {
    throw;
  } catch (const std::exception& falha) {
    std::throw_with_nested(ExErroAoBaixarVerbaComDNI(MensagemDe(falha)));
  }
}

void TBLLDepositoNaoIdentificadoComVerba::IniciarBaixaDeVerbaComDNI(TDateTime DataCompensacao) {
  const double total = TotalDNIsSelecionados();
  if (total < FValorVerba) {
    throw Exception("O valor da verba (" + FormatarValor(FValorVerba) +
                    ") é maior que o total dos DNIs selecionados (" + FormatarValor(total) + ").\r" + kInformeLimite);
  }
  double restante = FValorVerba;
  const TDepositoNaoIdentificado* ultimo = nullptr;
  for (const TDepositoNaoIdentificado& dni : qryDNIs) {
    if (!(restante > 0)) break;
    if (dni.SELECIONADO != "S") continue;
    BaixarDNI(dni, DataCompensacao);
    restante = RoundTo(restante - dni.VALORDISPONIVEL, 2);
    ultimo = &dni;
  }
  if (restante < 0 && ultimo != nullptr) {
    // The excess over the allowance stays open, tied as the last deposit consumed was.
    RFin_IncluirMovimentacaoNumerarios excesso =
        MovimentoDNI(FCodigoBanco, "C", -restante, "DIF. BAIXA DE DNI COM VERBA N.: " + TextoNumero(FNumeroVerba),
                     ultimo->NUMTRANS, FNumeroVerba);
    Associar(excesso, ultimo->NUMASSOCDNI, ultimo->DTASSOCIADNICLI, ultimo->CODFUNCDNICLI, ultimo->CODCLI);
    Lancar(excesso);
  }
}

void TBLLDepositoNaoIdentificadoComVerba::BaixarDNI(const TDepositoNaoIdentificado& dni, TDateTime DataCompensacao) {
  // A deposit another session reconciled since the list was read is not consumed again.
  if (!DALNumerarios().ConciliarLancamentoZTMOVCR(dni.ROWID, dni.VALOR, "C", FCodigoBanco, kCodigoCobrancaDNI,
                                                  DataCompensacao)) {
    throw Exception("O DNI de numtrans " + TextoNumero(dni.NUMTRANS) +
                    " não está mais em aberto: foi conciliado por outro processo.");
  }
  // The debit clears the whole deposit from the DNI balance. It is posted reconciled at the moment
  // its own date was read: the cash area reads the server's clock for those only when they are empty.
  TDateTime agora;
  RFin_IncluirMovimentacaoNumerarios baixa =
      MovimentoDNI(FCodigoBanco, "D", dni.VALOR, HistoricoBaixa(FNumeroVerba), dni.NUMTRANS, FNumeroVerba, &agora);
  baixa.CONCILIACAO = "OK";
  baixa.DTCONCIL = agora;
  baixa.DTCOMPENSACAO = agora.DateOnly();
  Associar(baixa, dni.NUMASSOCDNI, dni.DTASSOCIADNICLI, dni.CODFUNCDNICLI, dni.CODCLI);
  Lancar(baixa);
  if (dni.VALORTOTALASSOCIADO > 0) {
    // The part tied to titles stays an open deposit with the same association; only the
    // available part covers the allowance.
    RFin_IncluirMovimentacaoNumerarios desdobramento =
        MovimentoDNI(FCodigoBanco, "C", dni.VALORTOTALASSOCIADO,
                     "DESDOBRAMENTO NA BAIXA DE DNI COM VERBA N.: " + TextoNumero(FNumeroVerba) + " - VALOR DNI: " +
                         FormatarValor(dni.VALOR) + " - VALOR ASSOCIADO: " + FormatarValor(dni.VALORTOTALASSOCIADO) +
                         " - VALOR DISPONIVEL: " + FormatarValor(dni.VALORDISPONIVEL),
                     dni.NUMTRANS, FNumeroVerba);
    Associar(desdobramento, dni.NUMASSOCDNI, dni.DTASSOCIADNICLI, dni.CODFUNCDNICLI, dni.CODCLI);
    Lancar(desdobramento);
  }
}

RFin_IncluirMovimentacaoNumerarios TBLLDepositoNaoIdentificadoComVerba::MovimentoDNI(
    double CodigoBanco, const std::string& Tipo, double Valor, const std::string& Historico, double NumTransOrigem,
    double NumeroVerba, TDateTime* Lido) {
  IQuorvinSessao& sessao = Quorvin().SessaoAtual();
  // Date, hour and minute of one reading of the server's clock.
  const TDateTime agora = sessao.BancoDados().DataHoraServidor();
  if (Lido != nullptr) *Lido = agora;
  int hora = 0;
  int minuto = 0;
  int segundo = 0;
  agora.DecodeTime(hora, minuto, segundo);
  RFin_IncluirMovimentacaoNumerarios movimento;
  movimento.Inicializar();
  movimento.NUMTRANS = 0;
  movimento.DATA = agora.DateOnly();
  movimento.CODBANCO = CodigoBanco;
  movimento.CODCOB = kCodigoCobrancaDNI;
  movimento.VALOR = RoundTo(Valor, 2);
  movimento.TIPO = Tipo;
  movimento.HISTORICO = Historico;
  movimento.HISTORICO2 = Historico2Origem(NumTransOrigem);
  movimento.NUMCARR = NumeroVerba;
  movimento.HORA = hora;
  movimento.MINUTO = minuto;
  movimento.CODFUNC = sessao.Usuario().Matricula();
  movimento.CODCONTADEB = 0;
  movimento.CODCONTACRED = 0;
  movimento.INDICE = kIndice;
  movimento.CODROTINALANC = sessao.Usuario().CodigoRotina();
  return movimento;
}

void TBLLDepositoNaoIdentificadoComVerba::Associar(RFin_IncluirMovimentacaoNumerarios& movimento, double NUMASSOCDNI,
                                                   TDateTime DTASSOCIADNICLI, double CODFUNCDNICLI, double CODCLI) {
  movimento.NUMASSOCDNI = NUMASSOCDNI;
  movimento.DTASSOCIADNICLI = DTASSOCIADNICLI;
  movimento.CODFUNCDNICLI = CODFUNCDNICLI;
  movimento.CODCLI = CODCLI;
}

void TBLLDepositoNaoIdentificadoComVerba::Lancar(RFin_IncluirMovimentacaoNumerarios& movimento) {
  if (!Numerarios().Incluir(movimento)) throw Exception(movimento.MENSAGEM);
}

// ---- Reversal

bool TBLLDepositoNaoIdentificadoComVerba::EstornarBaixaDNIComVerba(double pfNumeroVerba, double pfValorVerba) {
  try {
    VerificarTransacao();
    if (!(pfNumeroVerba > 0)) throw ExNumeroVerbaObrigatorio();
    const double valor = RoundTo(pfValorVerba, 2);
    if (!(valor > 0)) throw ExValorZerado();
    const std::string naoLocalizada =
        "Não foi possível localizar a baixa para estorno da verba n.: " + TextoNumero(pfNumeroVerba) +
        " - Valor.: " + FormatarValor(valor);
    TDALDepositoNaoIdentificadoComVerba& dal = GetDALDepositoNaoIdentificadoComVerba();
    TOraSavepoint ponto(Quorvin().SessaoAtual().BancoDados().Sessao());
    const std::vector<TBaixaDNIComVerba> baixas = dal.LocalizarBaixaParaEstorno(pfNumeroVerba);
    if (baixas.empty()) throw Exception(naoLocalizada);
    // The mark is the reversal's claim: a second reversal, also one running at the same moment,
    // finds nothing left to reverse and posts nothing.
    if (dal.MarcarBaixaEstornada(pfNumeroVerba) == 0) throw Exception(naoLocalizada);
    const TBaixaDNIComVerba& primeira = baixas.front();
    RFin_IncluirMovimentacaoNumerarios estorno =
        MovimentoDNI(primeira.CODBANCO, "C", valor, "ESTORNO BAIXA DE DNI COM VERBA N.: " + TextoNumero(pfNumeroVerba),
                     primeira.NUMTRANS, pfNumeroVerba);
    Associar(estorno, primeira.NUMASSOCDNI, primeira.DTASSOCIADNICLI, primeira.CODFUNCDNICLI, primeira.CODCLI);
    Lancar(estorno);
    ponto.Release();
    return true;
  } catch (const std::exception& falha) {
    std::throw_with_nested(ExErroAoEstornarVerbaBaixadaComDNI(MensagemDe(falha)));
  }
}
