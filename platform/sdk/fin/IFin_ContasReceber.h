#pragma once

#include <string>

#include "rtl/TDateTime.h"
#include "sdk/fin/TContasReceberZTPrest.h"
#include "sdk/fin/TStatusCobrancaSupplierCard.h"

class TOraQuery;

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
};
