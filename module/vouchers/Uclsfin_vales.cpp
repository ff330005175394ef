#include "vouchers/Uclsfin_vales.h"

#include <exception>

#include "frame/Uclsfin_except.h"
#include "oradb/TOraSavepoint.h"
#include "oradb/TOraSession.h"
#include "rtl/Formatacao.h"
#include "vouchers/Uclsfin_dalvale.h"
#include "vouchers/Uclsfin_validacaofinanceira.h"

namespace {

[[nodiscard]] bool TipoParceiroValido(const std::string& tipo) {
  return tipo == "F" || tipo == "M" || tipo == "R" || tipo == "P";
}

[[nodiscard]] bool Funcionario(const std::string& tipo) {
  return tipo == "F";
}

// The nature opposite to a voucher's: what settles it.
[[nodiscard]] std::string NaturezaOposta(const std::string& natureza) {
  return natureza == "D" ? "C" : "D";
}

// The voucher's own letter in a write-off: "D" for a debit voucher, "C" for a credit one.
[[nodiscard]] std::string NaturezaVale(const RFin_ParamBaixaVale& p) {
  return p.NATUREZAVALE == nvDebito ? "D" : "C";
}

// Adds a payable entry's RECNUM to the caller's list as the host joins it: "1, 2, 3".
void AdicionarRecNum(TStringList& lista, double recnum) {
  if (Trim(lista.Text()).empty()) {
    lista.Add(ShortestDecimal(recnum));
  } else {
    lista.Add(", " + ShortestDecimal(recnum));
  }
}

constexpr const char* kSequenciaZTCORREN = "DFSEQ_ZTCORREN";

}  // namespace

TBLLVale::TBLLVale(TComponent* owner) : TBaseSubModulo(owner), ControladorDALVale(new TDALVale(this)) {}

// The data access is a child of this component and goes with it.
TBLLVale::~TBLLVale() = default;

TOraSession& TBLLVale::Sessao() {
  return Quorvin().SessaoAtual().BancoDados().Sessao();
}

TDateTime TBLLVale::Hoje() {
  return Quorvin().SessaoAtual().BancoDados().DataServidor();
}

void TBLLVale::VerificarTransacao() {
  GetValidador().Clear();
  CheckTransacao();
  if (!GetValidador().IsEmpty()) throw ExTransacaoNaoIniciada();
}

// ---- Inclusion

void TBLLVale::ValidarInclusao(const RFin_ParametrosInclusaoVale& p) {
  if (Trim(p.CODFILIAL).empty()) throw ExCodigoFilialObrigatorio();
  if (!TipoParceiroValido(p.TIPOPARCEIRO)) throw ExTipoParceiroObrigatorio();
  if (!(p.CODPARCEIRO > 0)) throw ExCodigoParceiroObrigatorio();
  if (p.NATUREZA != "D" && p.NATUREZA != "C") throw ExNaturezaValeObrigatorio();
  if (!(p.VALOR > 0)) throw ExValorValeObrigatorio();
  if (!(p.DTLANC.Value() > 0)) throw ExDataLancamentoObrigatorio();
  // The money side needs the account it moves.
  if ((p.MOVIMENTARCONTAVALE || p.PAGOEMDINHEIRO) && !(p.CODBANCO > 0)) throw ExCodigoCaixaBancoObrigatorio();
  if (p.LANCARCONTASPAGAR && !p.PAGOEMDINHEIRO && !(p.CODCONTA > 0)) throw ExCodigoContaObrigatorio();
}

bool TBLLVale::IncluirVale(RFin_ParametrosInclusaoVale& Parametros) {
  VerificarTransacao();
  std::string mensagem;
  if (!TValidacaoFinanceira::ValidarCaixaCReceber(mensagem, Sessao(), Quorvin().SessaoAtual().Usuario().Matricula(),
                                                  Parametros.CODBANCO)) {
    throw ExValidacaoCaixaReceber(mensagem);
  }
  RFin_ParametrosInclusaoVale p = Parametros;
  p.VALOR = RoundTo(p.VALOR, 2);
  ValidarInclusao(p);

  IQuorvinNumeracao& numeracao = Quorvin().Numeracao();
  TOraSavepoint ponto(Sessao());
  if (!(p.NUMTRANS > 0)) p.NUMTRANS = numeracao.ProximoNumTrans();
  if (p.HISTORICO2MOVIMENTO.empty()) p.HISTORICO2MOVIMENTO = p.HISTORICO2;
  // The voucher number and the row number are drawn here, not inside the insert, so the movements
  // carry the voucher number and the caller learns both.
  if (!(p.NUMVALE > 0)) p.NUMVALE = numeracao.ProximoNumVale();
  if (!(p.RECNUM > 0)) p.RECNUM = numeracao.ProximoValorSequencia(kSequenciaZTCORREN);
  GravarInclusao(p);
  ponto.Release();
  // Written back only once everything is recorded: a failed inclusion leaves the caller's record as it was.
  Parametros = p;
  return true;
}

void TBLLVale::GravarInclusao(const RFin_ParametrosInclusaoVale& p) {
  TDALVale& dal = *ControladorDALVale;
  dal.InserirRegistroZTCORREN(p.CODFILIAL, p.CODPARCEIRO, p.TIPOPARCEIRO, p.NATUREZA, p.VALOR, p.NUMDOC, p.CODHIST,
                              p.HISTORICO, p.HISTORICO2, p.DTVENC, p.DTLANC, p.DTDOC, p.CODBANCO, p.NUMTRANS, false,
                              p.NUMVALE, p.RECNUM, false, 0, p.CONSIDERABASECALCULOIMPOSTO, p.ORIGEMLANCAMENTO, 0);
  if (p.MOVIMENTARCONTAVALE) {
    dal.InserirRegistroZTMOVCR(p.NUMTRANS, "VALE", p.NATUREZA, p.VALOR, p.CODBANCO, "A", p.HISTORICO,
                               p.HISTORICO2MOVIMENTO, p.NUMVALE, p.PAGOEMDINHEIRO ? 0 : p.CODCONTA);
  }
  if (p.PAGOEMDINHEIRO) {
    dal.InserirRegistroZTMOVCR(p.NUMTRANS, "D", NaturezaOposta(p.NATUREZA), p.VALOR, p.CODBANCO, "A", p.HISTORICO,
                               p.HISTORICO2MOVIMENTO, p.NUMVALE, 0);
    return;
  }
  if (!p.LANCARCONTASPAGAR) return;
  const bool funcionario = Funcionario(p.TIPOPARCEIRO);
  const double valor = p.NATUREZA == "D" ? -p.VALOR : p.VALOR;
  // The entry is tagged with the voucher's entry date, document and transaction, which is how a
  // transfer finds it again; it is paid today.
  dal.InserirRegistroZTLANC(p.CODCONTA, funcionario ? 0 : p.CODPARCEIRO, p.HISTORICO,
                            funcionario ? p.HISTORICO2FUNCIONARIO : p.HISTORICO2, p.NUMDOC, "", valor, valor,
                            p.CODFILIAL, "A", ShortestDecimal(p.NUMTRANS), TDALVale::TipoParceiroZTLANC(p.TIPOPARCEIRO),
                            "C", p.NUMTRANS, TDateTime(), "R", p.DTVENC, p.CODBANCO, p.RECNUMLANC, p.DTLANC,
                            TDateTime(), 0, p.DTLANC);
}

// ---- Write-off

void TBLLVale::ValidarBaixa(const RFin_ParamBaixaVale& p) {
  if (!(p.CODHIST > 0)) throw ExCodigoHistoricoObrigatorio();
  if (Trim(p.HISTORICO).empty()) throw ExHistoricoObrigatorio();
  if (!(p.CODBANCOBAIXA > 0)) throw ExCodigoCaixaBancoObrigatorio();
  if (!p.PAGOEMDINHEIRO && !(p.CODCONTA > 0)) throw ExCodigoContaObrigatorio();
  // Nothing to settle is not a write-off: it would close the voucher and reopen it for more.
  if (!(p.VALORBAIXA > 0)) throw ExValorBaixarValeCreditoDebitoObrigatorio();
  if (!(p.VALORVALE > 0)) throw ExValorValeObrigatorio();
  if (!TipoParceiroValido(p.TIPOPARCEIRO)) throw ExTipoParceiroObrigatorio();
}

bool TBLLVale::BaixarValeIndividual(const RFin_ParamBaixaVale& ParamBaixaVale, TStringList* pListaRecNumZTLanc) {
  VerificarTransacao();
  RFin_ParamBaixaVale p = ParamBaixaVale;
  p.VALORVALE = RoundTo(p.VALORVALE, 2);
  p.VALORBAIXA = RoundTo(p.VALORBAIXA, 2);
  ValidarBaixa(p);
  TStringList propria;
  TStringList& lista = pListaRecNumZTLanc != nullptr ? *pListaRecNumZTLanc : propria;
  const TStringList lista_antes = lista;
  try {
    TOraSavepoint ponto(Sessao());
    if (p.VALORBAIXA < p.VALORVALE) {
      BaixaParcial(p, lista);
    } else {
      BaixaTotal(p, lista);
    }
    ponto.Release();
  } catch (const std::exception& falha) {
    lista = lista_antes;
    std::throw_with_nested(ExProcessoBaixaVale(falha.what()));
  }
  return true;
}

void TBLLVale::FecharVale(const RFin_ParamBaixaVale& p, bool parcial) {
  if (!ControladorDALVale->BaixarZTCORREN(p.RECNUM, p.CODPARCEIRO, p.TIPOPARCEIRO, p.NUMVALE, p.VALEEXPORTADO,
                                          p.NUMTRANSBAIXA, parcial)) {
    throw ExValeJaEstavaBaixado(ShortestDecimal(p.NUMVALE));
  }
}

void TBLLVale::BaixaTotal(const RFin_ParamBaixaVale& p, TStringList& lista) {
  TDALVale& dal = *ControladorDALVale;
  FecharVale(p, false);
  const double numtrans = Quorvin().Numeracao().ProximoNumTrans();
  const std::string liquidacao = NaturezaOposta(NaturezaVale(p));
  const TDateTime hoje = Hoje();
  // A write-off of more than the voucher settles the voucher's value.
  dal.InserirRegistroZTCORREN(p.CODFILIAL, p.CODPARCEIRO, p.TIPOPARCEIRO, liquidacao, p.VALORVALE, p.NUMDOC, p.CODHIST,
                              p.HISTORICO, p.HISTORICO2, p.DTVENC, hoje, hoje, p.CODBANCOBAIXA, numtrans,
                              p.VALEEXPORTADO, p.NUMVALE, 0, true, p.NUMTRANSBAIXA, p.CONSIDERABASECALCULOIMPOSTO, "",
                              p.CODIGOCOMRCA);
  const std::string historico2 = Quorvin().SessaoAtual().Usuario().CodigoRotina() == kRotinaBaixaValeParceiro
                                     ? ShortestDecimal(p.CODPARCEIRO) + " - " + p.TEXTOFUNCIONARIO
                                     : p.HISTORICO2;
  dal.InserirRegistroZTMOVCR(numtrans, "VALE", liquidacao, p.VALORVALE, p.CODBANCOBAIXA, "A", p.HISTORICO, historico2,
                             p.NUMVALE, 0);
  if (p.PAGOEMDINHEIRO) {
    dal.InserirRegistroZTMOVCR(numtrans, "D", NaturezaVale(p), p.VALORVALE, p.CODBANCOBAIXA, "A", p.HISTORICO,
                               p.HISTORICO2, p.NUMVALE, 0);
  } else {
    LancarContasPagarBaixa(p, p.VALORVALE, numtrans, lista);
  }
}

void TBLLVale::BaixaParcial(const RFin_ParamBaixaVale& p, TStringList& lista) {
  TDALVale& dal = *ControladorDALVale;
  FecharVale(p, true);
  const std::string propria = NaturezaVale(p);
  const std::string liquidacao = NaturezaOposta(propria);
  const TDateTime hoje = Hoje();
  // The voucher leaves the ledger whole ...
  dal.InserirRegistroZTCORREN(p.CODFILIAL, p.CODPARCEIRO, p.TIPOPARCEIRO, "E", -p.VALORVALE, p.NUMDOC, p.CODHIST,
                              p.HISTORICO, p.HISTORICO2, p.DTVENC, hoje, hoje, p.CODBANCOVALE, 0, p.VALEEXPORTADO,
                              p.NUMVALE, 0, true, p.NUMTRANSBAIXA, p.CONSIDERABASECALCULOIMPOSTO, "", p.CODIGOCOMRCA);
  // ... the amount settled now is recorded as a pair of rows sharing one transaction and one row number ...
  IQuorvinNumeracao& numeracao = Quorvin().Numeracao();
  const double numtrans = numeracao.ProximoNumTrans();
  const double recnum = numeracao.ProximoValorSequencia(kSequenciaZTCORREN);
  dal.InserirRegistroZTCORREN(p.CODFILIAL, p.CODPARCEIRO, p.TIPOPARCEIRO, liquidacao, p.VALORBAIXA, p.NUMDOC, p.CODHIST,
                              p.HISTORICO, p.HISTORICO2, p.DTVENC, hoje, hoje, p.CODBANCOBAIXA, numtrans,
                              p.VALEEXPORTADO, p.NUMVALE, recnum, true, p.NUMTRANSBAIXA, p.CONSIDERABASECALCULOIMPOSTO,
                              "", 0);
  dal.InserirRegistroZTMOVCR(numtrans, "VALE", liquidacao, p.VALORBAIXA, p.CODBANCOBAIXA, "A", p.HISTORICO,
                             p.HISTORICO2, p.NUMVALE, 0);
  dal.InserirRegistroZTCORREN(p.CODFILIAL, p.CODPARCEIRO, p.TIPOPARCEIRO, propria, p.VALORBAIXA, p.NUMDOC, p.CODHIST,
                              p.HISTORICO, p.HISTORICO2, p.DTVENC, hoje, hoje, p.CODBANCOBAIXA, numtrans,
                              p.VALEEXPORTADO, p.NUMVALE, recnum, true, p.NUMTRANSBAIXA, p.CONSIDERABASECALCULOIMPOSTO,
                              "", 0);
  if (p.PAGOEMDINHEIRO) {
    dal.InserirRegistroZTMOVCR(numtrans, "D", propria, p.VALORBAIXA, p.CODBANCOBAIXA, "A", p.HISTORICO, p.HISTORICO2,
                               p.NUMVALE, 0);
  } else {
    LancarContasPagarBaixa(p, p.VALORBAIXA, numtrans, lista);
  }
  // ... and what remains is a new open voucher with the same number.
  dal.InserirRegistroZTCORREN(
      p.CODFILIAL, p.CODPARCEIRO, p.TIPOPARCEIRO, propria, RoundTo(p.VALORVALE - p.VALORBAIXA, 2), p.NUMDOC, p.CODHIST,
      kHistoricoSaldoRemanescente, kPrefixoTransacaoBaixa + ShortestDecimal(p.NUMTRANSBAIXA), p.DTVENC, hoje, hoje,
      p.CODBANCOBAIXA, 0, p.VALEEXPORTADO, p.NUMVALE, 0, false, 0, p.CONSIDERABASECALCULOIMPOSTO, "", 0);
}

void TBLLVale::LancarContasPagarBaixa(const RFin_ParamBaixaVale& p, double valor, double numtrans, TStringList& lista) {
  const double recnum = Quorvin().Numeracao().ProximoRecNum();
  const bool funcionario = Funcionario(p.TIPOPARCEIRO);
  const double assinado = p.NATUREZAVALE == nvDebito ? valor : -valor;
  ControladorDALVale->InserirRegistroZTLANC(
      p.CODCONTA, funcionario ? 0 : p.CODPARCEIRO, p.HISTORICO, funcionario ? p.TEXTOFUNCIONARIO : p.HISTORICO2,
      p.NUMDOC, "", assinado, assinado, p.CODFILIAL, "A", ShortestDecimal(numtrans),
      TDALVale::TipoParceiroZTLANC(p.TIPOPARCEIRO), "C", numtrans, Hoje(), "R", p.DTVENC, p.CODBANCOBAIXA, recnum,
      TDateTime(), TDateTime(), p.NUMVALE, TDateTime());
  AdicionarRecNum(lista, recnum);
}

// ---- Edit and transfer

bool TBLLVale::EditarVales(const std::string& psHistorico, const std::string& psConsidera, TDateTime pdDtaVencimento,
                           double pfRecNum) {
  if (psConsidera != "S" && psConsidera != "N") {
    throw Exception("Informe \"S\" ou \"N\" para o vale compor a base de cálculo de impostos.");
  }
  return ControladorDALVale->EditarRegistroZTCORREN(psHistorico, psConsidera, pdDtaVencimento, pfRecNum);
}

bool TBLLVale::TransferirVales(double pfRecNum, double pfCodigoParceiroDestino, double pfNumTrans, double pfNumDoc,
                               const std::string& psTipoParceiroDestino, const std::string& psNomeParceiro,
                               TDateTime pdDtLanc) {
  VerificarTransacao();
  if (!TipoParceiroValido(psTipoParceiroDestino)) throw ExTipoParceiroObrigatorio();
  if (!(pfCodigoParceiroDestino > 0)) throw ExCodigoParceiroObrigatorio();
  TDALVale& dal = *ControladorDALVale;
  TOraSavepoint ponto(Sessao());
  // The open row, locked: a write-off or another transfer of the same voucher waits for this one.
  const auto vale = dal.LerValeAberto(pfRecNum);
  if (!vale) {
    throw Exception("Nenhum vale em aberto com o RECNUM " + ShortestDecimal(pfRecNum) +
                    ": a transferência não foi feita.");
  }
  if (vale->Transferido) throw ExValeJaTransferido();
  if (vale->CodigoFuncionario == pfCodigoParceiroDestino &&
      vale->TipoFuncionario == TDALVale::TipoFuncionarioZTCORREN(psTipoParceiroDestino)) {
    throw ExNaoTransferirValeEntreMesmoParceiro();
  }
  // The payable entry is found by the voucher's own transaction, document and date: other values
  // would move another voucher's entry.
  if (vale->NumeroTransacao != pfNumTrans || vale->NumeroDocumento != pfNumDoc ||
      vale->DataLancamento.DateOnly().Value() != pdDtLanc.DateOnly().Value()) {
    throw Exception("A transação, o documento ou a data de lançamento informados não são os do vale de RECNUM " +
                    ShortestDecimal(pfRecNum) + ".");
  }
  if (!dal.TransferenciaRegistroZTCORREN(pfRecNum, pfCodigoParceiroDestino, psTipoParceiroDestino)) {
    throw Exception("O vale de RECNUM " + ShortestDecimal(pfRecNum) + " não foi transferido.");
  }
  dal.AtualizarTransferenciaRegistroZTLANC(pfNumTrans, pfNumDoc, pdDtLanc, pfCodigoParceiroDestino,
                                           psTipoParceiroDestino, psNomeParceiro);
  ponto.Release();
  return true;
}

// ---- Reports

bool TBLLVale::EmissaoVales(TOraQuery& pQry, const std::string& psCodigoFilial, TPesquisaPeriodoVale pPesquisaPeriodo,
                            TDateTime pdDtaInicio, TDateTime pdDtaFim, TTipoParceiroVale pTipoParceiro,
                            double pfCodigoParceiro, double pfCodigoEmitente, double pfCodigoHistorico,
                            double pfNumeroIniVale, double pfNumeroFimVale, TTipoOrdenacaoVale pTipoOrdenacao,
                            TStatusParceiroVale pStatusParceiro, const std::string& psTituloVale,
                            TSituacaoVales pSituacaoVales) {
  if (pdDtaInicio.Value() > 0 && pdDtaFim.Value() > 0 && pdDtaInicio.Value() > pdDtaFim.Value()) {
    throw ExIntervaloDatasInvalida();
  }
  if (pfNumeroIniVale > 0 && pfNumeroFimVale > 0 && pfNumeroIniVale > pfNumeroFimVale) {
    throw ExNumeroValeInicialMaiorNumeroValeFinal();
  }
  try {
    return ControladorDALVale->EmissaoVales(pQry, psCodigoFilial, pPesquisaPeriodo, pdDtaInicio, pdDtaFim,
                                            pTipoParceiro, pfCodigoParceiro, pfCodigoEmitente, pfCodigoHistorico,
                                            pfNumeroIniVale, pfNumeroFimVale, pTipoOrdenacao,
                                            TTipoRelatorioVale::trEmissao, TTipoRelatorioExtratoVale::teAnalitico,
                                            false, pStatusParceiro, psTituloVale, pSituacaoVales);
  } catch (const std::exception& falha) {
    std::throw_with_nested(
        Exception(std::string("Ocorreu um erro durante o processo de emissão de vale. \r") + falha.what()));
  }
}

bool TBLLVale::ExtratoVales(TOraQuery& pQry, const std::string& psCodigoFilial, TPesquisaPeriodoVale pPesquisaPeriodo,
                            TDateTime pdDtaInicio, TDateTime pdDtaFim, TTipoParceiroVale pTipoParceiro,
                            double pfCodigoParceiro, double pfCodigoHistorico, TTipoRelatorioExtratoVale pTipoRelatorio,
                            TTipoOrdenacaoVale pTipoOrdenacao, TStatusParceiroVale pStatusParceiro,
                            bool pbSaldoDiferenteZero, TSituacaoVales pSituacaoVales, double pfNumeroIniVale,
                            double pfNumeroFimVale) {
  if (pdDtaInicio.Value() > 0 && pdDtaFim.Value() > 0 && pdDtaInicio.Value() > pdDtaFim.Value()) {
    throw ExIntervaloDatasInvalida();
  }
  if (pTipoRelatorio != TTipoRelatorioExtratoVale::teAnalitico &&
      pTipoRelatorio != TTipoRelatorioExtratoVale::teSintetico) {
    return false;
  }
  try {
    return ControladorDALVale->EmissaoVales(pQry, psCodigoFilial, pPesquisaPeriodo, pdDtaInicio, pdDtaFim,
                                            pTipoParceiro, pfCodigoParceiro, -1, pfCodigoHistorico, pfNumeroIniVale,
                                            pfNumeroFimVale, pTipoOrdenacao, TTipoRelatorioVale::trExtrato,
                                            pTipoRelatorio, pbSaldoDiferenteZero, pStatusParceiro, "", pSituacaoVales);
  } catch (const std::exception& falha) {
    std::throw_with_nested(
        Exception(std::string("Ocorreu um erro durante o processo de extrato de vale. \r") + falha.what()));
  }
}
