// Title listing and payment tracking of the receivable sub-module: which invoices the payments of
// the listed titles paid, following the splits of titles back to the titles they came from.
#include <string>
#include <vector>

#include "cancelsplit/Uclsfin_cancelardesdobramento.h"
#include "cancelsplit/Uclsfin_validacaodesdobramento.h"
#include "frame/Uclsfin_except.h"
#include "oradb/TClientDataSet.h"
#include "oradb/TOraSavepoint.h"
#include "oradb/TOraSession.h"
#include "receivable/Uclsfin_contasreceber.h"
#include "receivable/Uclsfin_dalcontasreceber.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/fin/TCancDesdQry.h"

namespace {

// The payment detail of one title.
struct TDetalhePagamento {
  std::string CODFILIAL;
  long long NUMNOTA = 0;
  long long NUMTRANSVENDA = 0;
  std::string PREST;
  std::string DOCBAIXA;
  double VALOR = 0;
  double VPAGO = 0;
  TDateTime DTPAG;
  bool Estornado = false;
  double VLTOTGER = 0;
  double VALORDESC = 0;
  double TXPERM = 0;
  double VLROUTROSACRESC = 0;
  double VALORMULTA = 0;
};

bool LerDetalhe(TDALContasReceber& dal, TOraSession& session, long long numtransvenda, const std::string& prest,
                TDetalhePagamento& detalhe) {
  TOraQuery query(&session);
  dal.AbrirDetalhePagamento(query, numtransvenda, prest);
  if (query.IsEmpty()) return false;
  detalhe.CODFILIAL = query.FieldByName("CODFILIAL").AsString();
  detalhe.NUMNOTA = query.FieldByName("NUMNOTA").AsInteger();
  detalhe.NUMTRANSVENDA = query.FieldByName("NUMTRANSVENDA").AsInteger();
  detalhe.PREST = query.FieldByName("PREST").AsString();
  detalhe.DOCBAIXA = query.FieldByName("DOCBAIXA").AsString();
  detalhe.VALOR = RoundTo(query.FieldByName("VALOR").AsFloat(), 2);
  detalhe.VPAGO = RoundTo(query.FieldByName("VPAGO").AsFloat(), 2);
  detalhe.DTPAG = query.FieldByName("DTPAG").AsDateTime();
  detalhe.Estornado = !query.FieldByName("DTESTORNO").IsNull();
  detalhe.VLTOTGER = RoundTo(query.FieldByName("VLTOTGER").AsFloat(), 2);
  detalhe.VALORDESC = RoundTo(query.FieldByName("VALORDESC").AsFloat(), 2);
  detalhe.TXPERM = RoundTo(query.FieldByName("TXPERM").AsFloat(), 2);
  detalhe.VLROUTROSACRESC = RoundTo(query.FieldByName("VLROUTROSACRESC").AsFloat(), 2);
  detalhe.VALORMULTA = RoundTo(query.FieldByName("VALORMULTA").AsFloat(), 2);
  return true;
}

// An origin of a paying title: its detail and whether its part can be traced.
struct TOrigem {
  TDetalhePagamento Detalhe;
  bool Rastreavel = true;
};

// The row of an invoice whose payments could not be traced.
TRastreioPagamento NaoRastreado(const TDetalhePagamento& origem) {
  TRastreioPagamento r;
  r.CODFILIAL = origem.CODFILIAL;
  r.NUMNOTA = origem.NUMNOTA;
  r.NUMTRANSVENDA = origem.NUMTRANSVENDA;
  r.VALORNOTA = origem.VLTOTGER;
  return r;
}

TRastreioPagamento Rastreado(const TDetalhePagamento& origem, const TDetalhePagamento& pagamento, double valor) {
  TRastreioPagamento r;
  r.CODFILIAL = origem.CODFILIAL;
  r.NUMNOTA = origem.NUMNOTA;
  r.NUMTRANSVENDA = origem.NUMTRANSVENDA;
  r.DOCBAIXA = pagamento.DOCBAIXA;
  r.DTPAG = pagamento.DTPAG;
  r.VALORNOTA = origem.VLTOTGER;
  r.VALORPARCELA = pagamento.VALOR;
  r.VALOR = valor;
  r.VLDESCONTO = pagamento.VALORDESC;
  r.VLJUROS = pagamento.TXPERM;
  r.VLDESPESAS = pagamento.VLROUTROSACRESC;
  r.VLMULTA = pagamento.VALORMULTA;
  return r;
}

void DataOuNulo(TField field, TDateTime valor) {
  if (valor.IsZero()) {
    field.Clear();
  } else {
    field.SetAsDateTime(valor);
  }
}

// The split-cancellation run of receivable titles, emptied when the tracking is done with it so the
// screens that share it never see the tracked graph.
class TRunDesdobramento {
 public:
  explicit TRunDesdobramento(TCancelarDesdobramento& run) : FRun(run) {}
  ~TRunDesdobramento() { FRun.LimparAtributos(); }
  TRunDesdobramento(const TRunDesdobramento&) = delete;
  TRunDesdobramento& operator=(const TRunDesdobramento&) = delete;
  TCancelarDesdobramento& operator*() const noexcept { return FRun; }
  TCancelarDesdobramento* operator->() const noexcept { return &FRun; }

 private:
  TCancelarDesdobramento& FRun;
};

}  // namespace

bool OrigemNaoRastreavel(const std::string& MensagemImpeditiva, bool PagamentoEstornado) {
  if (MensagemImpeditiva == MensagensValidacao::kSemReplica) return true;
  return MensagemImpeditiva == MensagensValidacao::kBaixadoPrest && !PagamentoEstornado;
}

void TContasReceber::ExigirTransacao() {
  GetValidador().Clear();
  CheckTransacao();
  if (!GetValidador().IsEmpty()) throw ExTransacaoNaoIniciada();
}

void TContasReceber::CarregarTitulos(TCancDesdQry& Qry, const RFin_FiltrosOpcoesContasReceber& Filtros) {
  TDALContasReceber::Preparar(Qry, TDALContasReceber::MontarSQLCarregarTitulos(Filtros));
  Qry.OpenSaveOrLoad();
}

void TContasReceber::CarregarTitulos(TCancDesdQry& Qry, int NumTransVenda, const std::string& Prest) {
  TDALContasReceber::Preparar(Qry, TDALContasReceber::MontarSQLCarregarTitulos(NumTransVenda, Prest));
  Qry.OpenSaveOrLoad();
}

void TContasReceber::CarregarTitulos(TCancDesdQry& Qry, const std::string& Filiais, const RFin_PeriodoData& Periodo) {
  TDALContasReceber::Preparar(Qry, TDALContasReceber::MontarSQLCarregarTitulos(Filiais, Periodo));
  Qry.OpenSaveOrLoad();
}

void TContasReceber::ConfigurarDataSetPagamentos(TClientDataSet& DataSet) {
  DataSet.Close();
  DataSet.ClearFieldDefs();
  DataSet.AddFieldDef("CODFILIAL", TFieldType::ftString, 2, true);
  DataSet.AddFieldDef("NUMNOTA", TFieldType::ftInteger, 0, true);
  DataSet.AddFieldDef("NUMTRANSVENDA", TFieldType::ftInteger);
  DataSet.AddFieldDef("DOCBAIXA", TFieldType::ftString, 20);
  DataSet.AddFieldDef("DTPAG", TFieldType::ftDateTime);
  for (const char* nome : {"VLRNOTA", "VLRRECEBIDO", "VLRPARCELA", "VLRJUROSDESPS", "VLRJUROS", "VLRDESPESAS",
                           "VLRDESCONTO", "VLRMULTA", "VLRPAGO"}) {
    DataSet.AddFieldDef(nome, TFieldType::ftFloat);
  }
  DataSet.AddFieldDef("RASTREAVEL", TFieldType::ftString, 1, true);
  DataSet.CreateDataSet();
}

void TContasReceber::ApagarDadosRastreamentoDePagamento(TOraSession& Session, TTipoRegistrosRastreamento Tipo) {
  ExigirTransacao();
  GetDALContasReceber().ApagarDadosRastreamentoDePagamento(Session, Tipo);
}

void TContasReceber::PersistirDados(TOraSession& Session, const TRastreioPagamento& Rastreio,
                                    TTipoRegistrosRastreamento Tipo, TStatusRastreamentoTitulos Status,
                                    TPersistenciaDados Persistencia, TClientDataSet& Destino) {
  const bool rastreado = Status == TStatusRastreamentoTitulos::srtRastreado;
  if (Persistencia == TPersistenciaDados::tpdTabelaTemporaria) {
    GetDALContasReceber().IncluirRastreiosPagamento(Session, Rastreio, Tipo, Status);
    return;
  }
  // An invoice is listed as untraced once, however many of its titles could not be traced.
  if (!rastreado &&
      Destino.Locate("CODFILIAL;NUMNOTA;RASTREAVEL", {Rastreio.CODFILIAL, Rastreio.NUMNOTA, std::string("N")})) {
    return;
  }
  Destino.Append();
  Destino.FieldByName("CODFILIAL").SetAsString(Rastreio.CODFILIAL);
  Destino.FieldByName("NUMNOTA").SetAsInteger(Rastreio.NUMNOTA);
  if (Rastreio.NUMTRANSVENDA != 0) Destino.FieldByName("NUMTRANSVENDA").SetAsInteger(Rastreio.NUMTRANSVENDA);
  Destino.FieldByName("DOCBAIXA").SetAsString(Rastreio.DOCBAIXA);
  DataOuNulo(Destino.FieldByName("DTPAG"), Rastreio.DTPAG);
  Destino.FieldByName("VLRNOTA").SetAsFloat(Rastreio.VALORNOTA);
  Destino.FieldByName("VLRRECEBIDO").SetAsFloat(0);
  Destino.FieldByName("VLRPARCELA").SetAsFloat(Rastreio.VALORPARCELA);
  Destino.FieldByName("VLRJUROSDESPS").SetAsFloat(RoundTo(Rastreio.VLJUROS + Rastreio.VLDESPESAS, 2));
  Destino.FieldByName("VLRJUROS").SetAsFloat(Rastreio.VLJUROS);
  Destino.FieldByName("VLRDESPESAS").SetAsFloat(Rastreio.VLDESPESAS);
  Destino.FieldByName("VLRDESCONTO").SetAsFloat(Rastreio.VLDESCONTO);
  Destino.FieldByName("VLRMULTA").SetAsFloat(Rastreio.VLMULTA);
  Destino.FieldByName("VLRPAGO").SetAsFloat(Rastreio.VALOR);
  Destino.FieldByName("RASTREAVEL").SetAsString(rastreado ? "S" : "N");
  Destino.Post();
}

void TContasReceber::CarregarDataSetPagamentos(TOraSession& Session, TCancDesdQry& Titulos, TClientDataSet& Destino,
                                               TTipoRegistrosRastreamento Tipo, TPersistenciaDados Persistencia) {
  TDALContasReceber& dal = GetDALContasReceber();
  std::unique_ptr<TRunDesdobramento> run;
  auto desdobramento = [&]() -> TCancelarDesdobramento& {
    if (run == nullptr) {
      IGerenteFinanceiro* financeiro = Quorvin().GerenteFinanceiro();
      auto* canc = financeiro == nullptr
                       ? nullptr
                       : dynamic_cast<TCancelarDesdobramento*>(financeiro->CancelarDesdobramento(tmZTPrest));
      if (canc == nullptr) throw Exception("O cancelamento de desdobramento não está disponível para o rastreamento.");
      run = std::make_unique<TRunDesdobramento>(*canc);
    }
    return **run;
  };
  auto gravar = [&](const TRastreioPagamento& rastreio, TStatusRastreamentoTitulos status) {
    PersistirDados(Session, rastreio, Tipo, status, Persistencia, Destino);
  };

  for (Titulos.First(); !Titulos.Eof(); Titulos.Next()) {
    TDetalhePagamento pagamento;
    if (!LerDetalhe(dal, Session, Titulos.FieldByName("NUMTRANSVENDA").AsInteger(),
                    Titulos.FieldByName("PREST").AsString(), pagamento)) {
      continue;
    }
    std::vector<TOrigem> origens;
    if (Titulos.FieldByName("EXISTE").AsString() != "S") {
      origens.push_back({pagamento, true});
    } else {
      TCancelarDesdobramento& canc = desdobramento();
      const auto titulo = std::make_shared<TRegistroZtPrest>(pagamento.NUMTRANSVENDA, pagamento.PREST);
      canc.Carregar(titulo, true, false);
      // The titles the payment came from: the first ones of the chains of splits above it.
      TArrayOfRegistro raizes;
      for (const TRegistroPtr& r : canc.obterTodasOrigens(*titulo)) {
        if (canc.obterOrigens(*r).empty()) AdicionarAoArraySeNaoEstiver(raizes, r);
      }
      if (raizes.empty()) raizes.push_back(titulo);
      bool umaVenda = true;
      for (const TRegistroPtr& r : raizes) {
        const auto* t = dynamic_cast<const TRegistroZtPrest*>(r.get());
        const auto* primeiro = dynamic_cast<const TRegistroZtPrest*>(raizes.front().get());
        umaVenda = umaVenda && t != nullptr && primeiro != nullptr && t->NUMTRANSVENDA == primeiro->NUMTRANSVENDA;
      }
      if (!umaVenda) {
        gravar(NaoRastreado(pagamento), TStatusRastreamentoTitulos::srtNaoRastreado);
        continue;
      }
      const TArrayOfRegistro afetados = canc.Afetados(raizes);
      const TArrayOfAcaoImpeditiva impeditivas = canc.Validar(afetados, canc.Raizes(afetados));
      for (const TRegistroPtr& r : raizes) {
        const auto& t = static_cast<const TRegistroZtPrest&>(*r);
        TOrigem origem;
        if (!LerDetalhe(dal, Session, t.NUMTRANSVENDA, t.PREST, origem.Detalhe)) continue;
        const int indice = LocalizarNaLista(impeditivas, *r);
        const std::string mensagem = indice >= 0 ? impeditivas[static_cast<std::size_t>(indice)]->Mensagem : "";
        origem.Rastreavel = !OrigemNaoRastreavel(mensagem, origem.Detalhe.Estornado);
        origens.push_back(std::move(origem));
      }
    }

    // Each paying title is apportioned over its own origins only.
    double total = 0;
    for (const TOrigem& o : origens) total = RoundTo(total + o.Detalhe.VLTOTGER, 2);
    bool todosRastreaveis = true;
    for (const TOrigem& o : origens) todosRastreaveis = todosRastreaveis && o.Rastreavel;
    double distribuido = 0;
    for (std::size_t i = 0; i < origens.size(); ++i) {
      const TOrigem& o = origens[i];
      if (!o.Rastreavel) {
        gravar(NaoRastreado(o.Detalhe), TStatusRastreamentoTitulos::srtNaoRastreado);
        continue;
      }
      double valor = total > 0 ? RoundTo(o.Detalhe.VLTOTGER / total * pagamento.VPAGO, 2) : 0;
      // The last part takes the cents rounding left over, so the parts add up to the payment.
      if (total > 0 && todosRastreaveis && i + 1 == origens.size()) valor = RoundTo(pagamento.VPAGO - distribuido, 2);
      distribuido = RoundTo(distribuido + valor, 2);
      gravar(Rastreado(o.Detalhe, pagamento, valor), TStatusRastreamentoTitulos::srtRastreado);
    }
  }

  if (Persistencia != TPersistenciaDados::tpdTabelaTemporaria) return;
  TOraQuery lidos(&Session);
  dal.AbrirRastreiosPagamento(Session, lidos, Tipo);
  for (lidos.First(); !lidos.Eof(); lidos.Next()) {
    Destino.Append();
    Destino.FieldByName("CODFILIAL").SetAsString(lidos.FieldByName("CODFILIAL").AsString());
    Destino.FieldByName("NUMNOTA").SetAsInteger(lidos.FieldByName("NUMNOTA").AsInteger());
    if (!lidos.FieldByName("NUMTRANSVENDA").IsNull()) {
      Destino.FieldByName("NUMTRANSVENDA").SetAsInteger(lidos.FieldByName("NUMTRANSVENDA").AsInteger());
    }
    Destino.FieldByName("DOCBAIXA").SetAsString(lidos.FieldByName("DOCBAIXA").AsString());
    DataOuNulo(Destino.FieldByName("DTPAG"), lidos.FieldByName("DTPAG").AsDateTime());
    const double juros = RoundTo(lidos.FieldByName("VLJUROS").AsFloat(), 2);
    const double despesas = RoundTo(lidos.FieldByName("VLDESPESAS").AsFloat(), 2);
    Destino.FieldByName("VLRNOTA").SetAsFloat(lidos.FieldByName("VALORNOTA").AsFloat());
    Destino.FieldByName("VLRRECEBIDO").SetAsFloat(0);
    Destino.FieldByName("VLRPARCELA").SetAsFloat(lidos.FieldByName("VALORPARCELA").AsFloat());
    Destino.FieldByName("VLRJUROSDESPS").SetAsFloat(RoundTo(juros + despesas, 2));
    Destino.FieldByName("VLRJUROS").SetAsFloat(juros);
    Destino.FieldByName("VLRDESPESAS").SetAsFloat(despesas);
    Destino.FieldByName("VLRDESCONTO").SetAsFloat(lidos.FieldByName("VLDESCONTO").AsFloat());
    Destino.FieldByName("VLRMULTA").SetAsFloat(lidos.FieldByName("VLMULTA").AsFloat());
    Destino.FieldByName("VLRPAGO").SetAsFloat(lidos.FieldByName("VALOR").AsFloat());
    Destino.FieldByName("RASTREAVEL").SetAsString(lidos.FieldByName("RASTREAVEL").AsString());
    Destino.Post();
  }
}

// Checks the transaction, lists the titles (a refused filter stops here, before anything is
// written), clears the kind's rows and runs the engine under a savepoint, so a failure leaves the
// kind's rows as they were. The answer keeps the rows of the requested status.
template <class Carregar>
void TContasReceber::Rastrear(TOraSession& Session, TStatusRastreamentoTitulos Status, TTipoRegistrosRastreamento Tipo,
                              TPersistenciaDados Persistencia, TClientDataSet& Resultado, Carregar carregar) {
  ExigirTransacao();
  (void)LetraTipoRastreamento(Tipo);

  TCancDesdQry titulos(&Session);
  titulos.DisableControls();
  carregar(titulos);
  TClientDataSet trabalho;
  ConfigurarDataSetPagamentos(trabalho);
  TOraSavepoint savepoint(Session);
  ApagarDadosRastreamentoDePagamento(Session, Tipo);
  CarregarDataSetPagamentos(Session, titulos, trabalho, Tipo, Persistencia);
  savepoint.Release();

  if (Status == TStatusRastreamentoTitulos::srtRastreado) trabalho.SetFilter("RASTREAVEL = 'S'");
  if (Status == TStatusRastreamentoTitulos::srtNaoRastreado) trabalho.SetFilter("RASTREAVEL = 'N'");
  trabalho.SetFiltered(Status != TStatusRastreamentoTitulos::srtTodos);
  trabalho.First();
  Resultado.Close();
  Resultado.CopyFrom(trabalho);
}

void TContasReceber::CarregarPagamentos(TOraSession& Session, const RFin_FiltrosOpcoesContasReceber& Filtros,
                                        TStatusRastreamentoTitulos Status, TTipoRegistrosRastreamento Tipo,
                                        TPersistenciaDados Persistencia, TClientDataSet& Resultado) {
  Rastrear(Session, Status, Tipo, Persistencia, Resultado, [&](TCancDesdQry& q) { CarregarTitulos(q, Filtros); });
}

void TContasReceber::CarregarPagamentos(TOraSession& Session, int NumTransVenda, const std::string& Prest,
                                        TStatusRastreamentoTitulos Status, TTipoRegistrosRastreamento Tipo,
                                        TPersistenciaDados Persistencia, TClientDataSet& Resultado) {
  Rastrear(Session, Status, Tipo, Persistencia, Resultado,
           [&](TCancDesdQry& q) { CarregarTitulos(q, NumTransVenda, Prest); });
}

void TContasReceber::CarregarPagamentos(TOraSession& Session, const std::string& Filiais,
                                        const RFin_PeriodoData& Periodo, TStatusRastreamentoTitulos Status,
                                        TTipoRegistrosRastreamento Tipo, TPersistenciaDados Persistencia,
                                        TClientDataSet& Resultado) {
  Rastrear(Session, Status, Tipo, Persistencia, Resultado,
           [&](TCancDesdQry& q) { CarregarTitulos(q, Filiais, Periodo); });
}
