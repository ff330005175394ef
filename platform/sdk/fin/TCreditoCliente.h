#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "rtl/TDateTime.h"
#include "sdk/RecordFields.h"

// How the money side of a customer credit is posted: a cash movement on a cash/bank account, or a
// paid payable entry on a management account.
enum class TTipoMovimentacaoFinanceira : int { tMovimentarNumerario = 0, tMovimentarContaGerencial = 1 };

// The money movement of a customer credit.
struct TMovimentacaoFinanceira {
  TTipoMovimentacaoFinanceira Tipo = TTipoMovimentacaoFinanceira::tMovimentarNumerario;
  int CodigoCaixaBanco = 0;
  std::string CodigoCobranca;
  double ContaGerencial = 0;
  TDateTime DataCompetencia;
};

// One customer credit: a row of ZTCRECLI, field by column, and the movement that posts its money
// (none for a credit read back from the table).
class TCreditoCliente {
 public:
  TCreditoCliente() = default;
  TCreditoCliente(double codcli, double valor, const std::string& codfilial)
      : CODCLI(codcli), CODFILIAL(codfilial), VALOR(valor) {}

  double CODCLI = 0;
  TDateTime DTLANC;
  std::string CODFILIAL;
  double NUMNOTA = 0;
  double NUMTRANSVENDA = 0;
  std::string SERIE;
  double VALOR = 0;
  TDateTime DTDESCONTO;  // use date: an open credit has none
  std::string CODFILIALDESC;
  std::string SERIEDESC;
  double NUMNOTADESC = 0;
  double CODFUNC = 0;
  double HORA = 0;
  double MINUTO = 0;
  std::string ORIGEM;
  double NUMTRANSVENDADESC = 0;
  double NUMTRANSENTDEVCLI = 0;
  std::string HISTORICO;
  double CODFUNCLANC = 0;
  double NUMPED = 0;
  std::string NUMERARIO;  // as stored: "S", "N" or empty
  double CODMOVIMENTO = 0;
  double NUMLANCBAIXA = 0;
  double NUMTRANSBAIXA = 0;
  double NUMLANC = 0;
  double NUMTRANS = 0;
  double NUMPEDECF = 0;
  double NUMCAIXA = 0;
  double CODFUNCCX = 0;
  std::string NUMSERIEEQUIP;
  double CODROTINA = 0;
  std::string PRESTRESTCLI;
  std::string SITUACAO;
  double NUMINDENIZ = 0;
  std::string OBS;
  std::string CODADMCARTAO;
  double NUMCUPOM = 0;
  std::string NSUTEF;
  double BIN = 0;
  double CODIGO = 0;  // the key; 0 = drawn from DFSEQ_ZTCRECLI when inserted
  double VALORESTORNOLIBERADO = 0;
  double CODCLIORIG = 0;
  double NUMGIFTCARD = 0;
  TDateTime DTEMISSAOTITULO;
  double NUMCRED = 0;
  TDateTime DTESTORNO;
  std::string PRESTORIG;
  std::int64_t CODPLPAG = 0;
  std::optional<TMovimentacaoFinanceira> Movimentacao;
};

// The credit's fields by JSON name (all but CODPLPAG, a 64-bit integer, and the movement).
[[nodiscard]] FieldTable<TCreditoCliente> CamposCreditoCliente();
// The movement's fields by JSON name ("Tipo" as its ordinal).
struct TMovimentacaoFinanceiraCampos {
  int Tipo = 0;
  double CodigoCaixaBanco = 0;
  std::string CodigoCobranca;
  double ContaGerencial = 0;
  TDateTime DataCompetencia;
};
[[nodiscard]] FieldTable<TMovimentacaoFinanceiraCampos> CamposMovimentacaoFinanceira();
