#pragma once

#include <string>

#include "rtl/TDateTime.h"
#include "sdk/RecordFields.h"

// A pair of dates, valid when both are set and the first does not come after the second.
struct RFin_PeriodoData {
  TDateTime DataInicial;
  TDateTime DataFinal;
  [[nodiscard]] bool PeriodoValido() const noexcept {
    return !DataInicial.IsZero() && !DataFinal.IsZero() && DataInicial.Value() <= DataFinal.Value();
  }
};

// A pair of integers, valid when the last is positive and the first not negative nor above it.
struct RFin_IntervaloInteiro {
  int Inicial = 0;
  int Final = 0;
  [[nodiscard]] bool IntervalorValido() const noexcept { return Final > 0 && Inicial >= 0 && Inicial <= Final; }
};

// Whether payment tracking reached the payment of a title, and which rows a tracking answer keeps:
// the traced ones, the untraced invoices, or both.
enum class TStatusRastreamentoTitulos : int { srtRastreado = 0, srtNaoRastreado = 1, srtTodos = 2 };

// The kind of run that writes payment-tracking rows; each kind keeps its own rows ('S', 'R', 'C').
enum class TTipoRegistrosRastreamento : int { trrSped = 0, trrRelatorio = 1, trrConsulta = 2 };

// Where the tracking engine keeps its rows: the session's temporary table or the answer dataset only.
enum class TPersistenciaDados : int { tpdTabelaTemporaria = 0, tpdMemoria = 1 };

// Kind of a title's bearer (TIPOPORTADOR): supplier, employee, RCA; any other value is "other".
enum class TTipoPortador : int { tpFornecedor = 0, tpFuncionario = 1, tpRCA = 2, tpOutros = 3 };

// The filter of the receivable title listing. Lists are the caller's text: comma-separated numbers
// or single-quoted texts. Periods and the transaction interval count only when valid.
struct RFin_FiltrosOpcoesContasReceber {
  int NUMTRANSVENDA = 0;
  std::string PREST;
  int NUMNOTA = 0;
  std::string Filiais;
  int CODBANCO = 0;
  int NUMTRANSINI = 0;
  int NUMTRANSFIM = 0;
  std::string Cobrancas;
  std::string RCAs;
  std::string Rotas;
  std::string CODPORTADOR;
  int TipoPortador = 0;  // TTipoPortador
  std::string Cobradores;
  std::string Supervisores;
  std::string ClientesPrincipais;
  std::string Clientes;
  std::string CODPROFISSIONAL;
  std::string CobrancasBanco;
  std::string CodigosBaixa;
  int NUMDOC = 0;
  int NUMASSOCDNI = 0;
  bool DesconsiderarChequesDevolvidos = false;
  bool DesconsiderarJuros = false;
  bool DesconsiderarTransferencias = false;
  bool DesconsiderarVales = false;
  bool DesconsiderarContraPartidaEstorno = false;
  bool SomenteDevolucoes = false;
  bool SomenteBonificacoes = false;
  bool SomenteCreditos = false;
  bool DesconsiderarCartao = false;
  bool DesconsiderarEstornados = false;
  // With DesconsiderarEstornados: also leaves out, inside the same negation, paid titles that may not
  // be reversed and the reversal counterparts.
  bool DesconsiderarEstornadosContraPartida = false;
  bool DesconsiderarCancelados = false;
  int TipoTitulo = -1;  // 0: only 'M' titles, 1: all but 'M', any other: all
  bool SomenteAbertos = false;
  TDateTime DTBAIXAINI, DTBAIXAFIM;
  TDateTime DTPAGINI, DTPAGFIM;
  TDateTime DTVENCINI, DTVENCFIM;
  TDateTime DTEMISSAOINI, DTEMISSAOFIM;
  TDateTime DTDESDINI, DTDESDFIM;
  TDateTime DTREFINI, DTREFFIM;
  int OrdenacaoColuna = -1;  // 0..8: the first sort key; any other: no ordering
  int OrdenacaoModo = 0;     // 2: then by customer code, 3: then by customer name; any other: none

  [[nodiscard]] RFin_IntervaloInteiro IntervaloNumTrans() const noexcept { return {NUMTRANSINI, NUMTRANSFIM}; }
  [[nodiscard]] RFin_PeriodoData PeriodoBaixa() const noexcept { return {DTBAIXAINI, DTBAIXAFIM}; }
  [[nodiscard]] RFin_PeriodoData PeriodoPagamento() const noexcept { return {DTPAGINI, DTPAGFIM}; }
  [[nodiscard]] RFin_PeriodoData PeriodoVencimento() const noexcept { return {DTVENCINI, DTVENCFIM}; }
  [[nodiscard]] RFin_PeriodoData PeriodoEmissao() const noexcept { return {DTEMISSAOINI, DTEMISSAOFIM}; }
  [[nodiscard]] RFin_PeriodoData PeriodoDesdobramento() const noexcept { return {DTDESDINI, DTDESDFIM}; }
  [[nodiscard]] RFin_PeriodoData PeriodoReferencia() const noexcept { return {DTREFINI, DTREFFIM}; }

  void Inicializar() { *this = RFin_FiltrosOpcoesContasReceber{}; }
};

// The filter's fields by JSON name.
[[nodiscard]] FieldTable<RFin_FiltrosOpcoesContasReceber> CamposFiltrosOpcoesContasReceber();
