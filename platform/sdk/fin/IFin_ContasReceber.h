#pragma once

#include <string>

#include "sdk/fin/RFin_FiltrosOpcoesContasReceber.h"

class TCancDesdQry;
class TClientDataSet;
class TOraSession;

// Area interface IFin_ContasReceber, declared by the host. Its operations come with the area.
class IFin_ContasReceber {
 public:
  static constexpr const char* InterfaceName = "IFin_ContasReceber";
  virtual ~IFin_ContasReceber();

  // Title listing and payment tracking.
  virtual void CarregarTitulos(TCancDesdQry& Qry, const RFin_FiltrosOpcoesContasReceber& Filtros) = 0;
  virtual void CarregarTitulos(TCancDesdQry& Qry, int NumTransVenda, const std::string& Prest) = 0;
  virtual void CarregarTitulos(TCancDesdQry& Qry, const std::string& Filiais, const RFin_PeriodoData& Periodo) = 0;
  virtual void CarregarPagamentos(TOraSession& Session, const RFin_FiltrosOpcoesContasReceber& Filtros,
                                  TStatusRastreamentoTitulos Status, TTipoRegistrosRastreamento Tipo,
                                  TPersistenciaDados Persistencia, TClientDataSet& Resultado) = 0;
  virtual void CarregarPagamentos(TOraSession& Session, int NumTransVenda, const std::string& Prest,
                                  TStatusRastreamentoTitulos Status, TTipoRegistrosRastreamento Tipo,
                                  TPersistenciaDados Persistencia, TClientDataSet& Resultado) = 0;
  virtual void CarregarPagamentos(TOraSession& Session, const std::string& Filiais, const RFin_PeriodoData& Periodo,
                                  TStatusRastreamentoTitulos Status, TTipoRegistrosRastreamento Tipo,
                                  TPersistenciaDados Persistencia, TClientDataSet& Resultado) = 0;
  virtual void ConfigurarDataSetPagamentos(TClientDataSet& DataSet) = 0;
  virtual void ApagarDadosRastreamentoDePagamento(TOraSession& Session, TTipoRegistrosRastreamento Tipo) = 0;
};
