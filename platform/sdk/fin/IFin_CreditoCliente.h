#pragma once

#include <string>
#include <vector>

#include "sdk/fin/TContasReceberZTPrest.h"
#include "sdk/fin/TCreditoCliente.h"

// Customer credits: amounts the company owes a customer, included with their money side, reversed
// in full or in part, and used to pay receivable titles and retail sales. Every operation runs in
// the caller's transaction; the change log of the credits is written apart and survives a rollback.
class IFin_CreditoCliente {
 public:
  static constexpr const char* InterfaceName = "IFin_CreditoCliente";
  virtual ~IFin_CreditoCliente();

  // Posts the credit's money side and inserts it; writes back its numbers. True when the row exists
  // afterwards; psMsgErro holds the existence check's text.
  virtual bool IncluirCreditoCliente(TCreditoCliente& poCreditoCliente, std::string& psMsgErro) = 0;
  // Pays pfValorEstorno of an open credit back out and closes it; a partial reversal leaves a new
  // open credit for the rest. True when recorded; psMsgErro holds the failure's text.
  virtual bool EstornarCreditoCliente(double pfCodigoCredito, double pfValorEstorno, const std::string& psMotivo,
                                      const std::string& psHistorico, const TMovimentacaoFinanceira& poMovimentacao,
                                      std::string& psMsgErro) = 0;
  // Settles the titles of the list with one credit (each title's VALORAPROVEITADOCREDITO of it).
  virtual bool BaixarUmCreditoComUmOuVariosTitulos(const TCreditoCliente& poCreditoCliente,
                                                   const std::vector<TContasReceberZTPrest>& poListaTitulos,
                                                   bool pbConsideraDescontoNaBaixaCredito, std::string& psMsgErro) = 0;
  // Settles one title with the credits of the list, in their order.
  virtual bool BaixarUmTituloComUmOuVariosCreditos(const TContasReceberZTPrest& poTitulos,
                                                   const std::vector<TCreditoCliente>& poListaCreditoCliente,
                                                   bool pbConsideraDescontoNaBaixaCredito, std::string& psMsgErro) = 0;
  // Reopens a title settled with credit and gives the credits it used back.
  virtual bool EstornarTituloBaixadoComCredito(double pfNumeroTransacaoVenda, const std::string& psPrestacao,
                                               std::string& psMsgErro) = 0;
  // Uses pfValorBaixar of a credit in a retail sale; the codes of the credits generated for the rest
  // come back in psListaCodigosCreditosGerados.
  virtual bool BaixarCreditoClienteVarejo(double pfCodigoCredito, double pfValorBaixar, double pfNumeroPedidoECF,
                                          const std::string& psNumeroSerieEquipamento, double pfNumeroCaixa,
                                          double pfNumeroCupom, const std::string& psHistorico,
                                          const std::string& psCodigoFilialDesconto,
                                          std::string& psListaCodigosCreditosGerados) = 0;
  // Reverses a credit in full with the given NUMCRED, naming the invoice and sale it was split in.
  virtual bool ApenasGerarContraPartidaCredito(double pfCodigoCredito, double pfNumCred, double pfNumeroNota,
                                               double pfNumeroTransacaoVenda) = 0;
  // Links a credit split from another to its origin.
  virtual bool InserirRegistroDesdobramentoCreditoCliente(double pfCodigoCreditoOrigem,
                                                          double pfCodigoCreditoDestino) = 0;
  // Confirms the retail use of a credit.
  virtual bool AtualizarBaixarCreditoClienteVarejo(double pfCodigoCredito) = 0;
  // Gives back the credits a retail sale used.
  virtual bool EstornarBaixaCreditoClienteVarejo(double pfNumeroTransacaoVenda) = 0;
  // Marks a credit as used with the use fields of the given object.
  virtual bool ApenasBaixarCredito(TCreditoCliente& poCreditoCliente, std::string& psMsgErro) = 0;
};

// The settlement of one receivable title as paid with customer credit. No slot of the area carries
// it; the credit sub-module implements it beside its area interface.
class IFin_BaixaTituloComoCredito {
 public:
  static constexpr const char* InterfaceName = "IFin_BaixaTituloComoCredito";
  virtual ~IFin_BaixaTituloComoCredito() = default;

  virtual bool BaixarTituloComoCredito(const TContasReceberZTPrest& poTituloContasReceber,
                                       bool pbConsideraDesconto) = 0;
};
