#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "costcenter/Uclsfin_centrocusto.h"
#include "costcenter/Uclsfin_dalcentrocustopedidocompraconsumo.h"
#include "costcenter/Uclsfin_parametroscentrocustopedidocompraconsumo.h"
#include "sdk/TBase.h"
#include "sdk/fin/IFin_CentroCustoPedidoCompraConsumo.h"
#include "sdk/fin/TTipoLancamento.h"

using TRegrasRateioPedidoCompraConsumo = TRegrasRateio<TParametrosCentroCustoPedidoCompraConsumo>;

// The cost centers of consumption purchase orders: apportions one installment (order number and
// installment) over cost centers with the rules of the payable cost centers, validates and saves
// the rows. One object serves one installment at a time and keeps its run between the form's
// calls; each ProcessoCentroCusto starts with an empty validation list.
class TValidaCentroCustoPedidoCompraConsumo : public TBaseSubModulo, public IFin_CentroCustoPedidoCompraConsumo {
 public:
  explicit TValidaCentroCustoPedidoCompraConsumo(TComponent* owner);
  ~TValidaCentroCustoPedidoCompraConsumo() override;

  bool ContaTrabalhaCentroCusto(const std::string& psCodFilial, const std::string& psCodConta) override;
  bool CancelaCentroCusto() override;
  void SetParametros(double prPercentual, double prValorRateio, const std::string& psCodFilial,
                     const std::string& psCodRateioPadrao, const std::string& psCodCentroCusto,
                     const std::string& psDescCentroCusto, bool pbAlterandoLancto) override;
  std::uint8_t ValidaCamposInterface() override;
  bool ValidaDadosInformados_Inclusao() override;
  bool InsereCentroCusto_Client() override;
  bool InsertCentroCusto_Banco() override;
  void LimparDadosUltimoLancto() override;
  void InsereRegistrosLancto(double prNumeroPedido, const std::string& psPrestacao) override;
  void AlterarContaCentroCusto(double prNumeroPedido, const std::string& psPrestacao, std::int64_t CodConta,
                               const std::string& CodFilial) override;
  bool ProcessoCentroCusto(bool pbEditaLancto, const std::string& psCodFilial, const std::string& psCodConta,
                           double prValorLancto, double pfNumeroPedido, const std::string& psPrestacao,
                           TDateTime pdDataLancto, bool pbShowForm,
                           bool pbValidarCentroDeCustoExistentePeloNumeroDoPedido) override;
  void DeleteTodosRegistrosLancto(double prNumeroPedido, const std::string& psPrestacao) override;
  void SetRATEIOTOTALCC_2664(const std::string& value) override { fRATEIOTOTALCC_2664 = value; }
  std::string GetRATEIOTOTALCC_2664() override;
  bool GetREALIZA_RATEIO_PEDIDO_COMPRA_CONSUMO_3919() override;
  bool GetBLOQUEAR_LANCAMENTO_ACIMA_DO_ORCADO_CENTRO_CUSTO_3921() override;
  bool GetFazCloneRegistroPrincipal() override { return Parametros().FazCloneRegistroPrincipal; }
  void SetFazCloneRegistroPrincipal(bool value) override { Parametros().FazCloneRegistroPrincipal = value; }
  bool GetStatusCentroCusto() override { return Parametros().StatusCentroCusto; }
  TClientDataSet* GetCdsRateios() override;
  void SetCdsRateios(TClientDataSet* value) override;
  std::string GetCodFilial() override { return Parametros().CodFilial; }
  std::string GetCodConta() override { return Parametros().CodConta; }
  void SetCodConta(const std::string& value) override { Parametros().CodConta = value; }
  double GetNumeroPedido() override { return Parametros().NumeroPedido; }
  void SetNumeroPedido(double value) override { Parametros().NumeroPedido = value; }
  std::string GetPrestacao() override { return Parametros().Prestacao; }
  void SetPrestacao(const std::string& value) override { Parametros().Prestacao = value; }
  double GetValorLancto() override { return Parametros().ValorLancto; }
  void SetValorLancto(double value) override { Parametros().ValorLancto = value; }
  TDateTime GetDataLancto() override { return Parametros().DataLancto; }
  void SetDataLancto(TDateTime value) override { Parametros().DataLancto = value; }
  bool GetShowForm() override { return Parametros().ShowForm; }
  bool GetEditaLancamento() override { return Parametros().EditaLancto; }
  bool ContaTemRateioPadrao(const std::string& psCodCOnta) override;

  [[nodiscard]] TParametrosCentroCustoPedidoCompraConsumo& Parametros();
  [[nodiscard]] TDALCentroCustoPedidoCompraConsumo& DALCentroCustoPedidoCompraConsumo();

  // An order number names an order: a whole number above zero that the order table holds
  // (up to 10 digits). Raises with the text the host shows.
  static void ConferirNumeroPedido(double numero_pedido);
  // An installment is 1 or 2 characters after trimming. Raises with the text the host shows.
  static void ConferirPrestacao(const std::string& prestacao);

 private:
  bool ValidaDados_ProcessoCentroCusto(const std::string& psCodFilial, const std::string& psCodConta,
                                       double prValorLancto, double pfNumeroPedido, const std::string& psPrestacao);
  void Inicializar();
  bool InsereItensRateioPadrao(const std::string& psCodConta, const std::string& psCodRateio);
  void InsereItensDesdobramento();
  void FiltrarPrestacao(const std::string& condicao_extra);
  void TravarPrestacao();
  void ConferirTransacao();
  // Checks each row's share against its cost center's monthly budget; an exceeded budget
  // raises, with no way to confirm.
  void ValidarOrcamentoConta();
  [[nodiscard]] TContextoRateio Contexto();
  [[nodiscard]] bool ParametroFilial(const char* nome);

  std::string fRATEIOTOTALCC_2664;
  TTipoLancamento fTipoLancamento = tlFinanceiro;
  TClientDataSet* fCdsRateios = nullptr;
  bool fEditaLancto = false;
  TDALCentroCustoPedidoCompraConsumo* fDALCentroCusto = nullptr;  // owned as a child component
  std::unique_ptr<TParametrosCentroCustoPedidoCompraConsumo> fParametrosCentroCusto;
};
