#pragma once

#include <string>
#include <vector>

#include "rtl/TDateTime.h"
#include "sdk/fin/RFin_FiltrosOpcoesContasReceber.h"
#include "sdk/fin/TContasReceberZTPrest.h"
#include "sdk/fin/TFin_GerarBoletos.h"
#include "sdk/fin/TStatusCobrancaSupplierCard.h"

class TCancDesdQry;
class TClientDataSet;
class TOraQuery;
class TOraSession;

// Area interface IFin_ContasReceber, declared by the host. Its operations come with the area.
class IFin_ContasReceber {
 public:
  static constexpr const char* InterfaceName = "IFin_ContasReceber";
  virtual ~IFin_ContasReceber();

  // ---- Insertion of a title and questions about one title
  // Inserts the title under the next free instalment of its sale; the record gets the instalment
  // taken and the defaults filled.
  virtual void Incluir(TContasReceberZTPrest& Titulo) = 0;
  [[nodiscard]] virtual bool TituloDesdobradoPeloForcaVendas(double NumTransVenda, const std::string& Prest) = 0;
  [[nodiscard]] virtual bool TituloEstaNaRotaDeAlgumRCA(double NumTransVenda, const std::string& Prest) = 0;
  [[nodiscard]] virtual TStatusCobrancaSupplierCard RetornarStatusCobrancaSupplierCard(double NumTransVenda) = 0;
  [[nodiscard]] virtual bool ComunicarProrrogacaoCobrancaSupplierCard(double NumTransVenda,
                                                                      const std::string& Prest) = 0;
  [[nodiscard]] virtual bool CobrancaESupplierCard(const std::string& CodCob) = 0;
  [[nodiscard]] virtual double CalcularDSR(double Valor, TDateTime DataIni, TDateTime DataFim, int Dias) = 0;
  [[nodiscard]] virtual bool TitulosParaImpressaoBoletoComCobrancasDiferentes(TOraQuery& Qry) = 0;
  // Host parameters of the area (the preset values when the module runs without the parameter store).
  [[nodiscard]] virtual std::string GetDiretorioArquivosPDFBoletos() = 0;
  [[nodiscard]] virtual bool GetGerarArquivosPDFBoletos() = 0;
  [[nodiscard]] virtual bool GetUsaBaixaTituloComRotRCA3035() = 0;
  [[nodiscard]] virtual bool GetUtilizaRoteirizacao2659() = 0;
  [[nodiscard]] virtual bool GetAtualizaRotaNoMomentoVenda2660() = 0;
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
  // Bank slips: generates the bank data of the request's titles and prints their slips (printer,
  // screen or one PDF file per title). `VerificarCobrancaBoleto` first asks that the title's charge
  // issue slips. True when done or when there was nothing to do.
  virtual bool EmitirBoletosBancarios(TFin_GerarBoletos& Boleto, bool VerificarCobrancaBoleto) = 0;
  // The same for a batch: the checks once, with the first request's options, and every bank of every
  // title locked before the first one is written.
  virtual bool EmitirBoletosBancarios(std::vector<TFin_GerarBoletos>& Boletos, bool VerificarCobrancaBoleto) = 0;
};
