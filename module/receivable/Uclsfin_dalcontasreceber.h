#pragma once

#include <string>
#include <variant>
#include <vector>

#include "receivable/Uclsfin_dalboletos.h"
#include "rtl/TDateTime.h"
#include "rtl/TStringList.h"
#include "sdk/TBase.h"
#include "sdk/fin/RFin_FiltrosOpcoesContasReceber.h"

class TOraQuery;
class TOraSession;

// A receivable title as bank data generation needs it: its key, branch, charge and payer kind.
struct TTituloDadosBancarios {
  double NUMTRANSVENDA = 0;
  std::string PREST;
  std::string CODFILIAL;
  std::string CODCOB;
  std::string SACADOELETRONICO;
};

// The bank row that chooses the generator and the template.
struct TBancoDadosBancarios {
  double CODBANCO = 0;
  double NUMBANCO = 0;
  std::string NOMERTM;
  double NUMDIASPROTESTO = 0;
};

// What bank data generation hands the database package for one title.
struct TParametrosGerarDadosBancarios {
  std::string CODFILIAL;
  std::string CODCOB;
  double CODBANCO = 0;
  double NUMTRANSVENDA = 0;
  double NUMDIASPROTESTO = 0;
  std::string PREST;
  bool FilialVirtual = false;
  bool UtilizaValorBruto = false;
  bool PrimeiraImpressao = true;
};

// A statement of the title listing with the values its binds take, in the order they appear.
struct TSQLContasReceber {
  struct TBind {
    std::string Nome;
    std::variant<long long, std::string, TDateTime> Valor;
  };
  TStringList SQL;
  std::vector<TBind> Binds;
};

// One payment-tracking row, as the temporary table takes it; empty values are written as NULL.
struct TRastreioPagamento {
  std::string CODFILIAL;
  long long NUMNOTA = 0;
  long long NUMTRANSVENDA = 0;
  std::string DOCBAIXA;
  TDateTime DTPAG;
  double VALORNOTA = 0;
  double VALORPARCELA = 0;
  double VALOR = 0;
  double VLDESCONTO = 0;
  double VLJUROS = 0;
  double VLDESPESAS = 0;
  double VLMULTA = 0;
};

// The TIPO letter of a kind of tracking run.
[[nodiscard]] const char* LetraTipoRastreamento(TTipoRegistrosRastreamento Tipo);

// Data access of the receivable titles' bank data: the titles of a sale, the bank of a charge, the
// bank row and its lock, and the database package that writes own number, barcode and line.
class TDALContasReceber : public TBaseSubModulo {
 public:
  explicit TDALContasReceber(TComponent* owner);
  ~TDALContasReceber() override;

  // The instalment of the sale transaction, with its customer's electronic-payer flag.
  [[nodiscard]] std::vector<TTituloDadosBancarios> LocalizarTitulo(double NUMTRANSVENDA, const std::string& PREST);
  // Every slip-charged instalment that answers for the sale transaction (as its own or as its
  // second transaction), in instalment order.
  [[nodiscard]] std::vector<TTituloDadosBancarios> LocalizarTituloSomenteNUMTRANSVENDA(double NUMTRANSVENDA);
  // The bank of a charge, 0 when the charge has none or does not exist.
  [[nodiscard]] double RetornarBancoCobranca(const std::string& CODCOB);
  // The bank row; false when there is none.
  [[nodiscard]] bool BuscarInformacoesBanco(double CODBANCO, TBancoDadosBancarios& banco);
  // Locks the bank rows without waiting; false, with the transaction still usable, when another
  // session holds one of them. The lock lasts until the caller's transaction ends.
  [[nodiscard]] bool BloquearRegistroBancarioNoBancoDeDados(double CODBANCO);
  [[nodiscard]] bool BloquearRegistroBancarioNoBancoDeDados(const std::vector<double>& CODBANCOS);
  // Runs the database package for one title.
  void GerarDadosBancarios(const TParametrosGerarDadosBancarios& parametros);

  // Issuing slips (Uclsfin_dalboletos.cpp): access, sale condition, charge, the queries the slip
  // templates are bound to (each opened on the query given), the host folder and the PDF folder.
  [[nodiscard]] bool ValidarPermissaoAcesso530(double ROTINA, double ACESSO, double CODIGO);
  // The invoice's sale condition; 0 when the sale has no invoice or no condition.
  [[nodiscard]] double BuscarCondVendaZTNfSaid(double NUMTRANSVENDA);
  // True when the invoice is a return to a supplier (sale kind "DF").
  [[nodiscard]] bool VerificaNotaDevFornec(double NUMTRANSVENDA);
  [[nodiscard]] bool CobrancaMarcadaParaEmitirBoleto(const std::string& CODCOB);
  void BuscarInformacoesBanco(TOraQuery& banco, double CODBANCO);
  void BuscarInformacoesParaGerarDadosBancarios(TOraQuery& titulos, double NUMTRANSVENDA, const std::string& PREST);
  void BuscarInformacoesParaImprimirBoleto(TOraQuery& dados, const TFiltroImpressaoBoleto& filtro);
  void BuscarInformacoesFilial(TOraQuery& filial, const std::string& CODIGO);
  void BuscarDataHoraServidor(TOraQuery& data);
  [[nodiscard]] std::string RetornarDiretorioQuorvin();
  // Rows changed: the titles of the invoice.
  int AtualizarPastaPDFBoletoZTPREST(const std::string& PASTAARQUIVOBOLETO, double NUMTRANSVENDA, double DUPLIC);

  // Statement texts, as they are sent.
  [[nodiscard]] static TStringList GetSQLLocalizarTitulo();
  [[nodiscard]] static TStringList GetSQLLocalizarTituloSomenteNUMTRANSVENDA();
  [[nodiscard]] static TStringList GetSQLRetornarBancoCobranca();
  [[nodiscard]] static TStringList GetSQLBuscarInformacoesBanco();
  [[nodiscard]] static TStringList GetSQLBloquearRegistroBancario();
  [[nodiscard]] static TStringList GetSQLBloquearRegistrosBancarios(const std::vector<double>& CODBANCOS);
  [[nodiscard]] static TStringList GetSQLGerarDadosBancarios();

  // Title listing and payment tracking. The builders refuse a caller's list that is not numbers or
  // single-quoted texts before any statement runs.
  [[nodiscard]] static TSQLContasReceber MontarSQLCarregarTitulos(const RFin_FiltrosOpcoesContasReceber& Filtros);
  [[nodiscard]] static TSQLContasReceber MontarSQLCarregarTitulos(int NumTransVenda, const std::string& Prest);
  [[nodiscard]] static TSQLContasReceber MontarSQLCarregarTitulos(const std::string& Filiais,
                                                                  const RFin_PeriodoData& Periodo);
  // "AND (<coluna> IN ( ... )) " for a caller's list, each value quoted when the column is text;
  // empty for an empty list.
  [[nodiscard]] static std::string ClausulaListaIN(const std::string& Coluna, const std::string& Lista,
                                                   bool ColunaTexto);
  [[nodiscard]] static TStringList GetSQLDetalhePagamento();
  [[nodiscard]] static TStringList GetSQLExisteRastreioNaoRastreavel();
  [[nodiscard]] static TStringList GetSQLIncluirRastreiosPagamento();
  [[nodiscard]] static TStringList GetSQLApagarDadosRastreamentoDePagamento();
  [[nodiscard]] static TStringList GetSQLLerRastreiosPagamento();

  // Sets the statement and its binds on the query (closed first) without opening it.
  static void Preparar(TOraQuery& Qry, const TSQLContasReceber& Sql);
  // The payment detail of one title, open.
  void AbrirDetalhePagamento(TOraQuery& Qry, long long NumTransVenda, const std::string& Prest);
  // Writes one tracking row of the kind; an untraced invoice already written for the kind is not
  // written again.
  void IncluirRastreiosPagamento(TOraSession& Session, const TRastreioPagamento& Rastreio,
                                 TTipoRegistrosRastreamento Tipo, TStatusRastreamentoTitulos Status);
  void ApagarDadosRastreamentoDePagamento(TOraSession& Session, TTipoRegistrosRastreamento Tipo);
  // The session's tracking rows of the kind, open.
  void AbrirRastreiosPagamento(TOraSession& Session, TOraQuery& Qry, TTipoRegistrosRastreamento Tipo);
  // Statement texts of slip issuing (Uclsfin_sqlboletos.cpp).
  [[nodiscard]] static TStringList GetSQLValidarPermissaoAcesso530();
  [[nodiscard]] static TStringList GetSQLBuscarCondVendaZTNfSaid();
  [[nodiscard]] static TStringList GetSQLVerificaNotaDevFornec();
  [[nodiscard]] static TStringList GetSQLCobrancaMarcadaParaEmitirBoleto();
  [[nodiscard]] static TStringList GetSQLBuscarInformacoesParaGerarDadosBancarios();
  [[nodiscard]] static TStringList GetSQLBuscarInformacoesParaImprimirBoleto();
  [[nodiscard]] static TStringList GetSQLBuscarInformacoesFilial();
  [[nodiscard]] static TStringList GetSQLBuscarDataHoraServidor();
  [[nodiscard]] static TStringList GetSQLRetornarDiretorioQuorvin();
  [[nodiscard]] static TStringList GetSQLAtualizarPastaPDFBoletoZTPREST();

 private:
  [[nodiscard]] TOraSession& Sessao();
  [[nodiscard]] bool Bloquear(TOraQuery& query);
};
