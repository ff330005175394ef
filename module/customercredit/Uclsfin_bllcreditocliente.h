#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sdk/TBase.h"
#include "sdk/fin/IFin_CreditoCliente.h"

class TDALCreditoCliente;
class TOraSession;

// The customer-credit area: includes a credit with its money side (a cash movement or a paid payable
// entry), reverses it in full or in part, settles titles as paid with credit, and hands the credit
// services to the database package. Each step is traced in the data-change log, which survives a
// rollback of the caller's transaction. Every write runs under a savepoint of that transaction.
class TBLLCreditoCliente : public TBaseSubModulo, public IFin_CreditoCliente, public IFin_BaixaTituloComoCredito {
 public:
  explicit TBLLCreditoCliente(TComponent* owner);
  ~TBLLCreditoCliente() override;

  bool IncluirCreditoCliente(TCreditoCliente& poCreditoCliente, std::string& psMsgErro) override;
  bool EstornarCreditoCliente(double pfCodigoCredito, double pfValorEstorno, const std::string& psMotivo,
                              const std::string& psHistorico, const TMovimentacaoFinanceira& poMovimentacao,
                              std::string& psMsgErro) override;
  bool BaixarUmCreditoComUmOuVariosTitulos(const TCreditoCliente& poCreditoCliente,
                                           const std::vector<TContasReceberZTPrest>& poListaTitulos,
                                           bool pbConsideraDescontoNaBaixaCredito, std::string& psMsgErro) override;
  bool BaixarUmTituloComUmOuVariosCreditos(const TContasReceberZTPrest& poTitulos,
                                           const std::vector<TCreditoCliente>& poListaCreditoCliente,
                                           bool pbConsideraDescontoNaBaixaCredito, std::string& psMsgErro) override;
  bool EstornarTituloBaixadoComCredito(double pfNumeroTransacaoVenda, const std::string& psPrestacao,
                                       std::string& psMsgErro) override;
  bool BaixarCreditoClienteVarejo(double pfCodigoCredito, double pfValorBaixar, double pfNumeroPedidoECF,
                                  const std::string& psNumeroSerieEquipamento, double pfNumeroCaixa,
                                  double pfNumeroCupom, const std::string& psHistorico,
                                  const std::string& psCodigoFilialDesconto,
                                  std::string& psListaCodigosCreditosGerados) override;
  bool ApenasGerarContraPartidaCredito(double pfCodigoCredito, double pfNumCred, double pfNumeroNota,
                                       double pfNumeroTransacaoVenda) override;
  bool InserirRegistroDesdobramentoCreditoCliente(double pfCodigoCreditoOrigem, double pfCodigoCreditoDestino) override;
  bool AtualizarBaixarCreditoClienteVarejo(double pfCodigoCredito) override;
  bool EstornarBaixaCreditoClienteVarejo(double pfNumeroTransacaoVenda) override;
  bool ApenasBaixarCredito(TCreditoCliente& poCreditoCliente, std::string& psMsgErro) override;
  bool BaixarTituloComoCredito(const TContasReceberZTPrest& poTituloContasReceber, bool pbConsideraDesconto) override;

  void ValidarParametrosInclusaoCredito(const TCreditoCliente& poCreditoCliente);
  // A new credit with every field of the given one; the caller owns it.
  [[nodiscard]] static std::unique_ptr<TCreditoCliente> ClonarObjeto(const TCreditoCliente& poCreditoCliente);

  [[nodiscard]] TDALCreditoCliente& GetControladorDALCredito() noexcept { return *FControladorDALCredito; }

  // The routine whose reversal keeps the closed credit's history.
  static constexpr int kRotinaMantemHistorico = 619;

 private:
  [[nodiscard]] TOraSession& Sessao();
  [[nodiscard]] int Usuario();
  [[nodiscard]] int Rotina();
  void VerificarTransacao();
  void LancarNumerario(const TCreditoCliente& c, double numtrans, int banco, double valor, const std::string& tipo,
                       const std::string& historico, bool comClienteFilial);
  void LancarContasPagar(const TCreditoCliente& c, double recnum, double conta, const std::string& historico,
                         double valor, TDateTime competencia);
  void Estornar(const TCreditoCliente& credito, double valor, const std::string& motivo, const std::string& historico,
                const TMovimentacaoFinanceira& movimentacao);

  TDALCreditoCliente* FControladorDALCredito;  // owned by this component
};
