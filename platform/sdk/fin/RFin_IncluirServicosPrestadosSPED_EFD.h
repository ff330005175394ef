#pragma once

#include <string>

#include "sdk/RecordFields.h"

// The services-rendered data of one service taken from a supplier (a row of ZTSERVICOSPEDEFD):
// the service, its gross value and deductions, the social-security withholding and the processes
// that suspend it. Numbers are "set" when not zero, texts when not empty.
struct RFin_IncluirServicosPrestadosSPED_EFD {
  double CODSERVICO = 0;  // the key: the service code written with the payable entry
  double CODCONSTCIVIL = 0;
  double CODTIPOSERVICO = 0;
  std::string SERIENF;
  std::string CODCNAE;
  double VALORBRUTONF = 0;
  double VALORMATERIAL = 0;
  double VALORALIMENTACAO = 0;
  double VALORTRANSPORTE = 0;
  double VALORBASERETENCAO = 0;
  double PERCRETENCAO = 0;
  double VALORRETEMPSUBCONTRA = 0;
  double VALORADICIONAL = 0;
  double VALORSERVAPOS15ANOS = 0;
  double VALORSERVAPOS20ANOS = 0;
  double VALORSERVAPOS25ANOS = 0;
  double VALORRETNAOEFETCONTRATANTE = 0;
  double VALORRETADINAOEFETCONTRATANTE = 0;
  double TIPOPROCESSO = 0;
  std::string NUMPROCESSO;
  std::string CODINDICSUSPENSAO;
  double TIPOPROCESSOADIC = 0;
  std::string NUMPROCESSOADIC;
  std::string CODINDICSUSPENSAOADIC;
  double VALORRETENCAO = 0;
  std::string HOUVEVALORRETENCAOINSS;
  std::string CODIGONACIONALDEOBRAS;

  double CODFORNEC = 0;          // the supplier, for the CPRB question
  bool TRANSACAOABERTA = false;  // the caller has opened a transaction
  std::string MENSAGEM;          // written back: the host's message on success

  // The host's initialiser: everything cleared.
  void Inicializar() { *this = RFin_IncluirServicosPrestadosSPED_EFD{}; }
};

// The record's fields by JSON name, with the widths of their columns.
[[nodiscard]] FieldTable<RFin_IncluirServicosPrestadosSPED_EFD> CamposIncluirServicosPrestadosSPED_EFD();
