#pragma once

#include <string>
#include <vector>

#include "rtl/TDateTime.h"
#include "sdk/RecordFields.h"

// A payable entry: one future row of ZTLANC (or of ZTLANCBLOQ while it waits for a budget
// supplementation). One field per ZTLANC column, named after it, plus the fields that travel with
// the entry without being stored. Numbers are doubles, dates are TDateTime (0 = not set).
struct RFin_IncluirContasPagar {
  // Written on every insert.
  double RECNUM = 0;
  TDateTime DTLANC;
  std::string HISTORICO;
  std::string DUPLIC;
  std::string LOCALIZACAO;
  std::string CODFILIAL;
  std::string INDICE;
  std::string NUMCHEQUE;
  std::string TIPOLANC;
  std::string TIPOPARCEIRO;
  std::string NOMEFUNC;
  std::string ASSINATURA;
  std::string TIPOPAGTO;
  std::string NUMDVDESTDOC;
  std::string NUMCODBARRA;
  std::string HISTORICO2;
  std::string MOEDA;
  std::string DVAG;
  std::string PORTADORCHEQUE;
  std::string NUMDIIMPORTACAO;
  std::string ADIANTAMENTO;
  std::string NFSERVICO;
  std::string PREST;
  std::string BOLETO;
  std::string PAGTONOMEDOCLIENTE;
  std::string OBSBLOQ;
  std::string AGENDAMENTO;
  std::string NUMCONTRATOCAMBIO;
  std::string IDCONTROLEEMBARQUE;
  std::string FORMAPGTO;
  std::string CODROTINACAD;
  std::string DTMOEDA;
  std::string CODROTINAALT;
  std::string PARCELA;
  double NUMNOTA = 0;
  double CODFORNEC = 0;
  double VLRUTILIZADOADIANTFORNEC = 0;
  std::string TIPOSERVICO;
  std::string IDENTIFICADORFGTS;
  int LACREDIGCONECSOCIAL = 0;
  int OPCAOPAGAMENTOIPVA = 0;
  std::string UTILIZOURATEIOCONTA;
  double PRCRATEIOUTILIZADO = 0;

  // Numbers written when set (see the insert for each one's condition).
  double VALOR = 0;
  double CODCONTA = 0;
  double VPAGO = 0;
  double NUMNOTADEV = 0;
  double VALORDEV = 0;
  double PRORROG = 0;
  double NUMBORDERO = 0;
  double VPAGOBORDERO = 0;
  double NUMSEQBORDERO = 0;
  double NUMCHEQUE2 = 0;
  double NUMBANCO = 0;
  double DESCONTOFIN = 0;
  double TXPERM = 0;
  double NUMVIA = 0;
  double NUMBCODESTDOC = 0;
  double NUMAGDESTDOC = 0;
  double NUMCCDESTDOC = 0;
  double NUMTRANSENT = 0;
  double NUMTAB = 0;
  double CODFORNECPRINC = 0;
  double VLIRRF = 0;
  double VLSESTSENAT = 0;
  double NUMTRANSADIANTFOR = 0;
  double CODFUNCBAIXA = 0;
  double NUMAGDESTDOC2 = 0;
  double NUMVIASFICHACP = 0;
  double CODFUNCAUTOR = 0;
  double NUMTRANS = 0;
  double CODFUNCESTORNOBAIXA = 0;
  double CODFUNCRECLASSIFIC = 0;
  double CODCOMPRADOR = 0;
  double MOEDAESTRANGEIRA = 0;
  double COTACAO = 0;
  double RECNUMPRINC = 0;
  double COTACAOBAIXA = 0;
  double FROTA_QTLITROS = 0;
  double FROTA_CODPRACA = 0;
  double FROTA_NUMCAR = 0;
  double FROTA_CODVEICULO = 0;
  double FROTA_COMISSAO = 0;
  double FROTA_KMABASTECE = 0;
  double NUMTRANSVENDA = 0;
  double NUMNEGOCIACAO = 0;
  double PERCDESCFINREAL = 0;
  double VALORMOEDAESTRANGEIRA = 0;
  double FROTA_PESO = 0;
  double CODFUNCULTALTER = 0;
  double CODPROJETO = 0;
  double VLISS = 0;
  double VLINSS = 0;
  double VLCSRF = 0;
  double FUNCBLOQ = 0;
  double VLPIS = 0;
  double VLCOFINS = 0;
  double VLVARIACAOCAMBIAL = 0;
  double VLOUTRAS = 0;
  double NUMTRANSENTNF = 0;
  double CODRECEITA = 0;
  double VRECEITABRUTA = 0;
  double PERCRECEITABRUTA = 0;
  double NUMPARCELAMENTO = 0;
  double NUMSEQPARCELAMENTO = 0;
  double VLRPARIDADEMOEDA = 0;
  double MOEDAPARIDADE = 0;
  double NUMSEQCONTRATOEMPRESTIMO = 0;
  double CODROTINABAIXA = 0;
  double VLDESPFIN = 0;

  // Dates written when set.
  TDateTime DTVENC;
  TDateTime DTPAGTO;
  TDateTime DTBORDER;
  TDateTime DTEMISSAO;
  TDateTime DTCHEQ;
  TDateTime DTASSINATURA;
  TDateTime DTAUTOR;
  TDateTime DTESTORNOBAIXA;
  TDateTime DTRECLASSIFIC;
  TDateTime DTPRORROG;
  TDateTime FROTA_DTABASTECE;
  TDateTime DTCOTACAO;
  TDateTime DTPAGADIANTFOR;
  TDateTime DTULTALTER;
  TDateTime DTCOMPETENCIA;
  TDateTime DTDESD;
  TDateTime DTBLOQ;
  TDateTime DTAGENDAMENTO;
  TDateTime DTCANCEL;
  TDateTime DTIMPRESSAO;

  // Card, SEFAZ and SPED data written when set.
  std::string CODLANCAMENTORM;
  std::string FORNECEDOR;
  std::string CODCOBSEFAZ;
  double CODSERVICOSPEDEFD = 0;
  double RECNUMBAIXA = 0;
  std::string RAZAOCREDENCCARTAO;
  std::string CNPJCREDENCCARTAO;
  std::string NSUTEF;
  int BANDEIRACARTAO = 0;

  // Filled by settlement and supplementation, never by the insert.
  std::string AUTENTICACAO;
  TDateTime DTPROCESSAMENTO;
  std::string OBSRETORNO;
  double CODFUNCAUTSUPLORC = 0;
  TDateTime DATAAUTSUPLORC;
  TDateTime DTREJEICAOSUPLORC;

  // Not stored in ZTLANC.
  bool Inicializado = false;
  std::string MENSAGEM;                   // written by Incluir: the host's message, or the failure
  std::string LABELROTINA;                // the calling routine's label ("746", "746 [NOVA]")
  bool DENTROAPROVACAOORCAMENTO = false;  // already approved: may pass its budget without supplementation
  double NUMNEGOCIACAO2 = 0;              // older callers' field for NUMNEGOCIACAO; the column's own field wins
  std::string CODCOBSEFAZ2;               // older callers' field for CODCOBSEFAZ; the column's own field wins
  double SELETORVALORCENTROCUSTO = 0;     // > 0: account apportionment computes cost-center values from percentages

  // The host's initialiser: everything cleared, the record marked as initialised.
  void Inicializar();

  // Entries created from this record (account apportionment posts one per account).
  void ClearRecNums() noexcept { FRecNums.clear(); }
  void AddRecNum(double recnum) { FRecNums.push_back(recnum); }
  [[nodiscard]] const std::vector<double>& RecNums() const noexcept { return FRecNums; }

 private:
  std::vector<double> FRecNums;
};

// The record's fields by JSON name: every ZTLANC column, then the non-column fields.
[[nodiscard]] FieldTable<RFin_IncluirContasPagar> CamposIncluirContasPagar();

// The ZTLANC columns among the fields above, in table order.
[[nodiscard]] FieldTable<RFin_IncluirContasPagar> ColunasZTLANC();
