#include "vouchers/Uclsfin_dalvale.h"

#include <exception>
#include <fstream>

#include "frame/Uclsfin_except.h"
#include "frame/Uconstantes.h"
#include "oradb/TClientDataSet.h"
#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"

namespace {

// Texts of a ledger row and of a voucher's movements are cut to their first 40 characters.
constexpr std::size_t kLarguraHistorico = 40;

// The highest voucher number a report asks for when only the first one is given.
constexpr double kMaiorNumeroVale = 9999999999;

[[nodiscard]] std::string Cortar(const std::string& texto) {
  return Utf8Left(texto, kLarguraHistorico);
}

[[nodiscard]] std::string SimNao(bool valor) {
  return valor ? "S" : "N";
}

void BindNumeroOuNulo(TOraQuery& query, const char* nome, double valor) {
  if (valor > 0) {
    query.ParamByName(nome).SetAsFloat(valor);
  } else {
    query.ParamByName(nome).Clear();
  }
}

// Re-raises a failure with the designed prefix, keeping the failure as its cause.
[[noreturn]] void Relancar(const char* prefixo, const std::exception& falha) {
  std::throw_with_nested(Exception(std::string(prefixo) + "\r" + falha.what()));
}

}  // namespace

TDALVale::TDALVale(TComponent* owner) : TBaseSubModulo(owner) {}

TDALVale::~TDALVale() = default;

TOraSession& TDALVale::Sessao() {
  return Quorvin().SessaoAtual().BancoDados().Sessao();
}

// ---- Ledger rows

bool TDALVale::InserirRegistroZTCORREN(const std::string& psCodigoFilial, double pfCodigoFuncionario,
                                       const std::string& pfTipoFuncionario, const std::string& psTipoLancamento,
                                       double pfValor, double pfNumeroDocumento, double pfCodigoHistorico,
                                       const std::string& psHistorico, const std::string& psHistorico2,
                                       TDateTime pdDtVencimento, TDateTime pdDtLancamento, TDateTime pdDtDocumento,
                                       double piCaixaBanco, double pfNumeroTransacao, bool ValeExportado,
                                       double pfNumVale, double pfRecNum, bool pbBaixarVale,
                                       double pfNumeroTransacaoBaixa, bool pbConsideraBaseCalculo,
                                       const std::string& psOrigemLancamento, double pfCodigoComRCA) {
  try {
    IQuorvinSessao& host = Quorvin().SessaoAtual();
    TOraQuery query(&Sessao());
    query.SQL = GetSQLInserirZTCORREN(pfRecNum > 0, !psOrigemLancamento.empty(), pfCodigoComRCA > 0);
    if (pfRecNum > 0) query.ParamByName("RECNUM").SetAsFloat(pfRecNum);
    query.ParamByName("CODFILIAL").SetAsString(psCodigoFilial);
    query.ParamByName("DTLANC").SetAsDateOrNull(pdDtLancamento);
    query.ParamByName("CODFUNC").SetAsFloat(pfCodigoFuncionario);
    query.ParamByName("HISTORICO").SetAsString(Cortar(psHistorico));
    query.ParamByName("TIPOLANC").SetAsString(psTipoLancamento);
    query.ParamByName("VALOR").SetAsFloat(pfValor);
    query.ParamByName("NUMDOC").SetAsFloat(pfNumeroDocumento);
    query.ParamByName("CODHIST").SetAsFloat(pfCodigoHistorico);
    query.ParamByName("HISTORICO2").SetAsString(Cortar(psHistorico2));
    query.ParamByName("DTVENC").SetAsDateOrNull(pdDtVencimento);
    query.ParamByName("DTVENCORIG").SetAsDateOrNull(pdDtVencimento);
    const double numvale = pfNumVale > 0 ? pfNumVale : Quorvin().Numeracao().ProximoNumVale();
    query.ParamByName("NUMVALE").SetAsFloat(numvale);
    query.ParamByName("TIPOFUNC").SetAsString(TipoFuncionarioZTCORREN(pfTipoFuncionario));
    const int emitente = host.Usuario().Matricula();
    query.ParamByName("CODEMITE").SetAsInteger(emitente);
    query.ParamByName("CODFUNCORIG").SetAsFloat(pfCodigoFuncionario);
    query.ParamByName("CODROTINA").SetAsInteger(host.Usuario().CodigoRotina());
    query.ParamByName("CODEMITEORIG").SetAsInteger(emitente);
    query.ParamByName("COBJUROS").Clear();
    query.ParamByName("CODBANCO").SetAsFloat(piCaixaBanco);
    BindNumeroOuNulo(query, "NUMTRANS", pfNumeroTransacao);
    if (pbBaixarVale) {
      query.ParamByName("DTBAIXAVALE").SetAsDateTime(host.BancoDados().DataHoraServidor());
      query.ParamByName("CODFUNBAIXA").SetAsInteger(emitente);
    } else {
      query.ParamByName("DTBAIXAVALE").Clear();
      query.ParamByName("CODFUNBAIXA").Clear();
    }
    query.ParamByName("INDICE").SetAsString("A");
    BindNumeroOuNulo(query, "NUMTRANSBAIXA", pfNumeroTransacaoBaixa);
    query.ParamByName("CONSIDERABASECALCULOIMPOSTO").SetAsString(SimNao(pbConsideraBaseCalculo));
    query.ParamByName("DTDOC").SetAsDateOrNull(pdDtDocumento);
    query.ParamByName("VALEEXPORTADO").SetAsString(SimNao(ValeExportado));
    if (!psOrigemLancamento.empty()) query.ParamByName("ORIGEMLANCAMENTO").SetAsString(psOrigemLancamento);
    if (pfCodigoComRCA > 0) query.ParamByName("CODIGOCOMRCA").SetAsFloat(pfCodigoComRCA);
    query.ExecSQL();
  } catch (const std::exception& falha) {
    Relancar("Erro ao inserir registro na ZTCORREN:", falha);
  }
  return true;
}

bool TDALVale::BaixarZTCORREN(double pfRecNum, double pfCodigoFuncionario, const std::string& psTipoFuncionario,
                              double pfNumVale, bool pbValeExportado, double pfNumeroTransacaoBaixa,
                              bool pbBaixaParcial) {
  long long fechadas = 0;
  try {
    TOraQuery query(&Sessao());
    query.SQL = GetSQLBaixarZTCORREN(pbValeExportado, pbBaixaParcial);
    query.ParamByName("CODFUNBAIXA").SetAsInteger(Quorvin().SessaoAtual().Usuario().Matricula());
    BindNumeroOuNulo(query, "NUMTRANSBAIXA", pfNumeroTransacaoBaixa);
    query.ParamByName("RECNUM").SetAsFloat(pfRecNum);
    query.ParamByName("NUMVALE").SetAsFloat(pfNumVale);
    query.ParamByName("CODFUNC").SetAsFloat(pfCodigoFuncionario);
    query.ParamByName("TIPOFUNC").SetAsString(TipoFuncionarioZTCORREN(psTipoFuncionario));
    query.ExecSQL();
    fechadas = query.RowsAffected();
  } catch (const std::exception& falha) {
    Relancar("Erro ao baixar registro na ZTCORREN:", falha);
  }
  // The open row of a voucher is one; closing several at once would settle money never asked for.
  if (fechadas > 1) {
    throw Exception("Erro ao baixar registro na ZTCORREN:\rHá " + std::to_string(fechadas) +
                    " registros em aberto do vale " + ShortestDecimal(pfNumVale) + " com o RECNUM " +
                    ShortestDecimal(pfRecNum) + ".");
  }
  return fechadas == 1;
}

bool TDALVale::EditarRegistroZTCORREN(const std::string& psHistorico, const std::string& psConsidera,
                                      TDateTime pdDtaVencimento, double pfRecNum) {
  try {
    TOraQuery query(&Sessao());
    query.SQL = GetSQLEditarZTCORREN();
    query.ParamByName("HISTORICO").SetAsString(psHistorico);
    query.ParamByName("DTVENC").SetAsDateOrNull(pdDtaVencimento);
    query.ParamByName("CODFUNCPRORROG").SetAsInteger(Quorvin().SessaoAtual().Usuario().Matricula());
    query.ParamByName("CONSIDERABASECALCULOIMPOSTO").SetAsString(psConsidera);
    query.ParamByName("RECNUM").SetAsFloat(pfRecNum);
    query.ExecSQL();
    return query.RowsAffected() > 0;
  } catch (const std::exception& falha) {
    std::throw_with_nested(ExErroEditandoZTCORREN(falha.what()));
  }
}

bool TDALVale::TransferenciaRegistroZTCORREN(double pfRecNumVale, double pfCodigoFuncionarioDestino,
                                             const std::string& psTipoFuncionarioDestino) {
  try {
    TOraQuery query(&Sessao());
    query.SQL = GetSQLTransferenciaZTCORREN();
    query.ParamByName("CODFUNC").SetAsFloat(pfCodigoFuncionarioDestino);
    query.ParamByName("CODEMITE").SetAsInteger(Quorvin().SessaoAtual().Usuario().Matricula());
    query.ParamByName("TIPOFUNC").SetAsString(TipoFuncionarioZTCORREN(psTipoFuncionarioDestino));
    query.ParamByName("RECNUM").SetAsFloat(pfRecNumVale);
    query.ExecSQL();
    return query.RowsAffected() == 1;
  } catch (const std::exception& falha) {
    Relancar("Erro ao editar registro na ZTCORREN:", falha);
  }
}

std::optional<TValeAberto> TDALVale::LerValeAberto(double pfRecNum) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLValeAberto();
  query.ParamByName("RECNUM").SetAsFloat(pfRecNum);
  query.Open();
  if (query.IsEmpty()) return std::nullopt;
  TValeAberto vale;
  vale.CodigoFuncionario = query.FieldByName("CODFUNC").AsFloat();
  vale.TipoFuncionario = query.FieldByName("TIPOFUNC").AsString();
  vale.NumeroTransacao = query.FieldByName("NUMTRANS").AsFloat();
  vale.NumeroDocumento = query.FieldByName("NUMDOC").AsFloat();
  vale.DataLancamento = query.FieldByName("DTLANC").AsDateTime();
  vale.Transferido = !query.FieldByName("DTTRANSF").IsNull();
  query.Next();
  if (!query.Eof()) {
    throw Exception("Há mais de um registro em aberto com o RECNUM " + ShortestDecimal(pfRecNum) + " na ZTCORREN.");
  }
  return vale;
}

// ---- Payable entries

double TDALVale::ObterRecnumLancamentoPrincipal(double NumVale) {
  if (NumVale == 0) return 0;
  TOraQuery query(&Sessao());
  query.SQL = GetSQLRecnumLancamentoPrincipal();
  query.ParamByName("NUMVALE").SetAsFloat(NumVale);
  query.Open();
  if (query.IsEmpty()) return 0;
  return query.FieldByName("RECNUM").AsFloat();
}

RFin_IncluirContasPagar TDALVale::MontarLancamento(
    double pfCodigoConta, double pfCodigoFornecedor, const std::string& psHistorico, const std::string& psHistorico2,
    double pfNumeroNota, const std::string& psDuplic, double pfValor, double pfValorPago,
    const std::string& psCodigoFilial, const std::string& psIndice, const std::string& psLocal,
    const std::string& psTipoParceiro, const std::string& psTipoLancamento, double pfNumeroTransacao,
    TDateTime pdDataEmissao, const std::string& psMoeda, TDateTime pdDtaVencimento, double piCaixaBanco,
    double pfRecNum, TDateTime pdDataLancamento, TDateTime pdDataPgto, double NumVale, TDateTime pdDataCompetencia) {
  IQuorvinSessao& host = Quorvin().SessaoAtual();
  const TDateTime hoje = host.BancoDados().DataServidor();
  const auto ouHoje = [hoje](TDateTime data) { return data.Value() > 0 ? data : hoje; };
  RFin_IncluirContasPagar r;
  r.Inicializar();
  r.RECNUM = pfRecNum > 0 ? pfRecNum : Quorvin().Numeracao().ProximoRecNum();
  r.CODCONTA = pfCodigoConta;
  r.CODFORNEC = pfCodigoFornecedor;
  r.HISTORICO = psHistorico;
  r.HISTORICO2 = psHistorico2;
  r.NUMNOTA = pfNumeroNota;
  r.DUPLIC = psDuplic;
  r.VALOR = pfValor;
  r.VPAGO = pfValorPago;
  r.CODFILIAL = psCodigoFilial;
  r.INDICE = psIndice;
  r.LOCALIZACAO = psLocal;
  r.TIPOPARCEIRO = TipoFuncionarioZTCORREN(psTipoParceiro);
  r.TIPOLANC = psTipoLancamento;
  r.NUMTRANS = pfNumeroTransacao;
  r.DTEMISSAO = ouHoje(pdDataEmissao);
  r.MOEDA = psMoeda;
  r.DTVENC = pdDtaVencimento;
  if (piCaixaBanco > 0) r.NUMBANCO = piCaixaBanco;
  r.DTLANC = ouHoje(pdDataLancamento);
  r.DTPAGTO = ouHoje(pdDataPgto);
  r.DTCOMPETENCIA = pdDataCompetencia.Value() > 0 ? pdDataCompetencia : r.DTLANC;
  r.NOMEFUNC = host.BancoDados()
                   .Localizar("ZTEMPR", "NOME_GUERRA", "MATRICULA = " + std::to_string(host.Usuario().Matricula()))
                   .value_or("");
  r.RECNUMPRINC = ObterRecnumLancamentoPrincipal(NumVale);
  return r;
}

bool TDALVale::InserirRegistroZTLANC(double pfCodigoConta, double pfCodigoFornecedor, const std::string& psHistorico,
                                     const std::string& psHistorico2, double pfNumeroNota, const std::string& psDuplic,
                                     double pfValor, double pfValorPago, const std::string& psCodigoFilial,
                                     const std::string& psIndice, const std::string& psLocal,
                                     const std::string& psTipoParceiro, const std::string& psTipoLancamento,
                                     double pfNumeroTransacao, TDateTime pdDataEmissao, const std::string& psMoeda,
                                     TDateTime pdDtaVencimento, double piCaixaBanco, double pfRecNum,
                                     TDateTime pdDataLancamento, TDateTime pdDataPgto, double NumVale,
                                     TDateTime pdDataCompetencia) {
  try {
    RFin_IncluirContasPagar lancamento = MontarLancamento(
        pfCodigoConta, pfCodigoFornecedor, psHistorico, psHistorico2, pfNumeroNota, psDuplic, pfValor, pfValorPago,
        psCodigoFilial, psIndice, psLocal, psTipoParceiro, psTipoLancamento, pfNumeroTransacao, pdDataEmissao, psMoeda,
        pdDtaVencimento, piCaixaBanco, pfRecNum, pdDataLancamento, pdDataPgto, NumVale, pdDataCompetencia);
    IGerenteFinanceiro* financeiro = Quorvin().GerenteFinanceiro();
    IFin_ContasPagar* contas_pagar = financeiro != nullptr ? financeiro->GetContasPagar() : nullptr;
    if (contas_pagar == nullptr) throw Exception("Contas a pagar indisponível no módulo financeiro.");
    if (!contas_pagar->Incluir(lancamento)) throw Exception("O lançamento não foi incluído.");
  } catch (const std::exception& falha) {
    std::throw_with_nested(ExErroInserindoZTLANC(falha.what()));
  }
  return true;
}

bool TDALVale::AtualizarTransferenciaRegistroZTLANC(double pfNumTransVale, double pfNumeroDocumentoVale,
                                                    TDateTime pdDataLancamentoVale, double pfCodigoFuncionarioDestino,
                                                    const std::string& psTipoFuncionarioDestino,
                                                    const std::string& psNomeFuncionarioDestino) {
  try {
    TOraQuery query(&Sessao());
    query.SQL = GetSQLLancamentosTransferencia();
    query.ParamByName("DTLANC").SetAsDateOrNull(pdDataLancamentoVale);
    query.ParamByName("NUMNOTA").SetAsFloat(pfNumeroDocumentoVale);
    query.ParamByName("LOCALIZACAO").SetAsString(ShortestDecimal(pfNumTransVale));
    query.Open();
    if (query.IsEmpty()) return true;
    if (query.RecordCount() > 1) {
      // Which of them belongs to the voucher cannot be told: moving one of them would be a guess.
      throw Exception("Há " + std::to_string(query.RecordCount()) + " lançamentos na ZTLANC com a transação " +
                      ShortestDecimal(pfNumTransVale) + " do vale.");
    }
    const auto texto = [&query](const char* campo) { return query.FieldByName(campo).AsString(); };
    const auto numero = [&query](const char* campo) { return query.FieldByName(campo).AsFloat(); };
    const auto data = [&query](const char* campo) { return query.FieldByName(campo).AsDateTime(); };
    // The entry as it was, reversed: it leaves the first partner's account.
    InserirRegistroZTLANC(numero("CODCONTA"), numero("CODFORNEC"), texto("HISTORICO"), texto("HISTORICO2"),
                          numero("NUMNOTA"), texto("DUPLIC"), RoundTo(-numero("VALOR"), 2),
                          RoundTo(-numero("VPAGO"), 2), texto("CODFILIAL"), texto("INDICE"), texto("LOCALIZACAO"),
                          texto("TIPOPARCEIRO"), texto("TIPOLANC"), numero("NUMTRANS"), data("DTEMISSAO"),
                          texto("MOEDA"), data("DTVENC"), numero("NUMBANCO"), 0, data("DTLANC"), data("DTPAGTO"), 0,
                          TDateTime());
    // ... and the same entry for the destination partner.
    const bool funcionario = psTipoFuncionarioDestino == "F";
    InserirRegistroZTLANC(numero("CODCONTA"), funcionario ? 0 : pfCodigoFuncionarioDestino, texto("HISTORICO"),
                          ShortestDecimal(pfCodigoFuncionarioDestino) + "-" + psNomeFuncionarioDestino,
                          numero("NUMNOTA"), texto("DUPLIC"), numero("VALOR"), numero("VPAGO"), texto("CODFILIAL"),
                          texto("INDICE"), texto("LOCALIZACAO"), TipoParceiroZTLANC(psTipoFuncionarioDestino),
                          texto("TIPOLANC"), numero("NUMTRANS"), data("DTEMISSAO"), texto("MOEDA"), data("DTVENC"),
                          numero("NUMBANCO"), 0, data("DTLANC"), data("DTPAGTO"), 0, TDateTime());
  } catch (const std::exception& falha) {
    Relancar("Erro ao transferir registro na ZTLANC:", falha);
  }
  return true;
}

// ---- Cash movements

double TDALVale::GetCodContaContabil(double CodBanco) {
  TOraQuery query(&Sessao());
  query.SQL = GetSQLCodContaContabil();
  query.ParamByName("CODBANCO").SetAsFloat(CodBanco);
  query.Open();
  if (query.IsEmpty()) return 0;
  return query.FieldByName("CODCONTABIL").AsFloat();
}

bool TDALVale::InserirRegistroZTMOVCR(double pfNumeroTransacao, const std::string& psMoeda, const std::string& psTipo,
                                      double pfValor, double piCaixaBanco, const std::string& psIndice,
                                      const std::string& psHistorico, const std::string& psHistorico2,
                                      double pfCampoNUMCARR, double pfCodContaCred) {
  try {
    IQuorvinSessao& host = Quorvin().SessaoAtual();
    const TDateTime agora = host.BancoDados().DataHoraServidor();
    int hora = 0;
    int minuto = 0;
    int segundo = 0;
    agora.DecodeTime(hora, minuto, segundo);
    RFin_IncluirMovimentacaoNumerarios movimento;
    movimento.Inicializar();
    // The voucher's movements start from a cleared record: the cash area moves the balance row in
    // place, under its row lock.
    movimento.TRAVARSALDO = false;
    movimento.NUMTRANS = pfNumeroTransacao;
    movimento.DATA = agora.DateOnly();  // the date of the same reading as the time
    movimento.CODBANCO = piCaixaBanco;
    movimento.CODCOB = psMoeda;
    movimento.HISTORICO = Cortar(psHistorico);
    movimento.HISTORICO2 = Cortar(psHistorico2);
    movimento.VALOR = pfValor;
    movimento.TIPO = psTipo;
    movimento.NUMCARR = pfCampoNUMCARR;
    movimento.HORA = hora;
    movimento.MINUTO = minuto;
    movimento.CODFUNC = host.Usuario().Matricula();
    movimento.CODCONTADEB = pfCodContaCred > 0 ? GetCodContaContabil(piCaixaBanco) : 0;
    movimento.CODCONTACRED = pfCodContaCred;
    movimento.INDICE = psIndice;
    movimento.CODROTINALANC = host.Usuario().CodigoRotina();
    IGerenteFinanceiro* financeiro = Quorvin().GerenteFinanceiro();
    IFin_MovimentacaoNumerarios* numerarios = financeiro != nullptr ? financeiro->GetMovimentacaoNumerarios() : nullptr;
    if (numerarios == nullptr) throw Exception("Movimentação de numerários indisponível no módulo financeiro.");
    numerarios->Incluir(movimento);
  } catch (const std::exception& falha) {
    Relancar("Erro ao inserir registro na ZTMOVCR:", falha);
  }
  return true;
}

// ---- Reports

void TDALVale::GetClientDataSet(TDataSet& dataset, TClientDataSet& clientDataSet) {
  clientDataSet.CopyFrom(dataset);
}

void TDALVale::BindRelatorio(TOraQuery& qry, const TFiltroRelatorioVale& f) {
  const auto bind = [&qry](const char* nome) { return qry.Params().FindParam(nome); };
  if (TOraParam* p = bind("dDTAINI")) p->SetAsDate(f.DtaInicio);
  if (TOraParam* p = bind("dDTAFIM")) p->SetAsDate(f.DtaFim);
  if (TOraParam* p = bind("fCODFUNC")) p->SetAsFloat(f.CodigoParceiro);
  if (TOraParam* p = bind("fCODSUPERVISOR")) p->SetAsFloat(f.CodigoParceiro);
  if (TOraParam* p = bind("sCODFILIAL")) p->SetAsString(Trim(f.CodigoFilial));
  // One end of the range alone leaves the other open, instead of a range that holds nothing.
  if (TOraParam* p = bind("fNUMVALEINI")) p->SetAsFloat(f.NumeroIniVale > 0 ? f.NumeroIniVale : 0);
  if (TOraParam* p = bind("fNUMVALEFIM")) p->SetAsFloat(f.NumeroFimVale > 0 ? f.NumeroFimVale : kMaiorNumeroVale);
  if (TOraParam* p = bind("fCODHIST")) p->SetAsFloat(f.CodigoHistorico);
  if (TOraParam* p = bind("fCODEMITE")) p->SetAsFloat(f.CodigoEmitente);
}

void TDALVale::SalvarSQLRelatorio(const TStringList& sql) {
  const std::string caminho = cDIRSPOOL() + kArquivoSQLRelatorio;
  std::ofstream arquivo(caminho, std::ios::binary | std::ios::trunc);
  arquivo << sql.Text();
  arquivo.close();
  if (!arquivo) throw Exception("Não foi possível gravar o arquivo " + caminho + ".");
}

bool TDALVale::EmissaoVales(TOraQuery& qry, const std::string& psCodigoFilial, TPesquisaPeriodoVale pPesquisaPeriodo,
                            TDateTime pdDtaInicio, TDateTime pdDtaFim, TTipoParceiroVale pTipoParceiro,
                            double pfCodigoParceiro, double pfCodigoEmitente, double pfCodigoHistorico,
                            double pfNumeroIniVale, double pfNumeroFimVale, TTipoOrdenacaoVale pTipoOrdenacao,
                            TTipoRelatorioVale pTipoRelatorioVale, TTipoRelatorioExtratoVale pTipoRelatorioExtratoVale,
                            bool pbSaldoDiferenteZero, TStatusParceiroVale pStatusParceiro,
                            const std::string& psTituloVale, TSituacaoVales pSituacaoVales) {
  TFiltroRelatorioVale filtro;
  filtro.CodigoFilial = psCodigoFilial;
  filtro.PesquisaPeriodo = pPesquisaPeriodo;
  filtro.DtaInicio = pdDtaInicio;
  filtro.DtaFim = pdDtaFim;
  filtro.TipoParceiro = pTipoParceiro;
  filtro.CodigoParceiro = pfCodigoParceiro;
  filtro.CodigoEmitente = pfCodigoEmitente;
  filtro.CodigoHistorico = pfCodigoHistorico;
  filtro.NumeroIniVale = pfNumeroIniVale;
  filtro.NumeroFimVale = pfNumeroFimVale;
  filtro.TipoOrdenacao = pTipoOrdenacao;
  filtro.TipoRelatorio = pTipoRelatorioVale;
  filtro.TipoRelatorioExtrato = pTipoRelatorioExtratoVale;
  filtro.SaldoDiferenteZero = pbSaldoDiferenteZero;
  filtro.StatusParceiro = pStatusParceiro;
  filtro.TituloVale = psTituloVale;
  filtro.SituacaoVales = pSituacaoVales;

  qry.Close();
  qry.SQL.Clear();
  qry.Params().Clear();
  qry.SQL = GetSQLEmissaoVales(filtro);
  BindRelatorio(qry, filtro);
  SalvarSQLRelatorio(qry.SQL);
  qry.SetFiltered(false);
  const std::string filtro_status = FiltroStatusParceiro(pStatusParceiro);
  qry.SetFilter(filtro_status);
  if (!filtro_status.empty()) qry.SetFiltered(true);
  qry.Open();
  return !qry.IsEmpty();
}
