#pragma once

#include <memory>
#include <string>
#include <vector>

#include "rtl/TStringList.h"
#include "sdk/TBase.h"
#include "sdk/fin/TContasReceberZTPrest.h"
#include "sdk/fin/TCreditoCliente.h"

class TOraSession;

// Data access of customer credits: the rows of ZTCRECLI, their change log in ZTLOGALTERACAODADOS
// (on the host's second session, committed at once), the settlement of a title as credit, and the
// PL/SQL blocks of the credit services. Every other statement runs on the host session in the
// caller's transaction; queries are locals, freed on success and on failure.
class TDALCreditoCliente : public TBaseSubModulo {
 public:
  explicit TDALCreditoCliente(TComponent* owner);
  ~TDALCreditoCliente() override;

  // Inserts the credit row with its NULL rules; true. A failure raises "Falha no INSERT da tabela ZTCRECLI. ".
  bool InserirZTCreCli(const TCreditoCliente& poCreditoCliente);
  // The open credit with the code (no use date), as a new object the caller owns.
  [[nodiscard]] std::unique_ptr<TCreditoCliente> ObterCredito(double pfCodigoCredito);
  // Whether a row with the code exists; psMsgErro says why not.
  bool CreditoExiste(double pfCodigoCredito, std::string& psMsgErro);
  // Writes the fields present of the credit by its code; true when a row changed. With
  // pbSomenteAberto only an open credit changes, so a credit is closed once.
  bool UpdateZTCreCli(const TCreditoCliente& poCreditoCliente, bool pbSomenteAberto = false);
  // Pays the title as customer credit ("CRED") and posts its discount when asked; true. Every
  // refusal and failure raises ExErroAoBaixarCreditoCliente.
  bool BaixarTituloComoCredito(const TContasReceberZTPrest& poTituloContasReceber, bool pbConsideraDesconto);

  // Log rows; never fail.
  bool InserirLog(const std::string& psObs, const std::string& psMetodo, const TCreditoCliente& poCreditoCliente);
  bool InserirLog(const std::string& psObs, const std::string& psMetodo, double pfCodigoCredito, double pfValorCredito,
                  double pfValorAproveitado, double pfNumeroTransacaoVendaGeracao,
                  double pfNumeroTransacaoVendaDesconto, const std::string& psMotivo, const std::string& psHistorico,
                  double pfNumeroTransacaoEntradaDevolucaoCliente, double pfCodigoFuncionarioCaixa);

  // Saves a block's text in the spool folder under `arquivo` and runs it on the host session.
  void ExecutarBloco(const TStringList& sql, const std::string& arquivo);
  // Runs a one-row select and answers its first column as text ("" for NULL).
  std::string ExecutarFuncao(const TStringList& sql, const std::vector<std::pair<std::string, std::string>>& textos,
                             const std::vector<std::pair<std::string, double>>& numeros);

  // Statement texts, as they are sent.
  [[nodiscard]] static TStringList GetSQLInserirZTCreCli();
  [[nodiscard]] static TStringList GetSQLObterCredito();
  [[nodiscard]] static TStringList GetSQLCreditoExiste();
  [[nodiscard]] static TStringList GetSQLInserirLog();
  [[nodiscard]] static TStringList GetSQLUpdateZTCreCli(const TCreditoCliente& credito, bool somenteAberto);
  [[nodiscard]] static TStringList GetSQLDTPAGTitulo();
  [[nodiscard]] static TStringList GetSQLBaixarTituloComoCredito(bool juros, bool caixa, bool fechamento,
                                                                 bool zerarDesconto);
  [[nodiscard]] static TStringList GetSQLBaixarUmCreditoComUmOuVariosTitulos(
      double codigoCredito, const std::vector<TContasReceberZTPrest>& titulos, int usuario, int rotina);
  [[nodiscard]] static TStringList GetSQLBaixarUmTituloComUmOuVariosCreditos(
      const TContasReceberZTPrest& titulo, const std::vector<TCreditoCliente>& creditos, int usuario, int rotina);
  [[nodiscard]] static TStringList GetSQLEstornarTituloBaixadoComCredito(double numeroTransacaoVenda,
                                                                         const std::string& prestacao, int usuario,
                                                                         int rotina);
  [[nodiscard]] static TStringList GetSQLApenasGerarContraPartidaCredito(double codigoCredito, double numCred,
                                                                         double numeroNota, double numeroTransacaoVenda,
                                                                         int usuario, int rotina);
  [[nodiscard]] static TStringList GetSQLInserirRegistroDesdobramento(double origem, double destino, int usuario,
                                                                      int rotina);
  [[nodiscard]] static TStringList GetSQLApenasBaixarCredito(const TCreditoCliente& credito, int usuario, int rotina);
  [[nodiscard]] static TStringList GetSQLBaixarCreditoClienteVarejo();
  [[nodiscard]] static TStringList GetSQLAtualizarBaixarCreditoClienteVarejo();
  [[nodiscard]] static TStringList GetSQLEstornarBaixaCreditoClienteVarejo();

  // A text as a PL/SQL literal: quoted, its quotes doubled.
  [[nodiscard]] static std::string QuotedStr(const std::string& texto);
  // The file name part of a program path ("C:\\Q\\ZTSIS1207.EXE" -> "ZTSIS1207.EXE").
  [[nodiscard]] static std::string NomeArquivo(const std::string& caminho);

  static constexpr const char* kArquivoBaixarUmCreditoVariosTitulos =
      "SERVICO_CREDITO_CLIENTE_BAIXAR_UM_CREDITO_COM_UM_VARIOS_TITULOS.SQL";
  static constexpr const char* kArquivoBaixarUmTituloVariosCreditos =
      "SERVICO_CREDITO_CLIENTE_BAIXAR_UM_TITULO_COM_UM_VARIOS_CREDITOS.SQL";
  static constexpr const char* kArquivoEstornarTituloBaixado =
      "SERVICO_CREDITO_CLIENTE_ESTORNAR_TITULO_BAIXADO_COM_CREDITO.SQL";
  static constexpr const char* kArquivoContraPartida =
      "SERVICO_CREDITO_CLIENTE_APENAS_GERAR_CONTRA_PARTIDA_CREDITO.SQL";
  static constexpr const char* kArquivoDesdobramento = "SERVICO_CREDITO_CLIENTE_INSERIR_REGISTRO_DESDOBRAMENTO.SQL";
  static constexpr const char* kHistoricoInclusao = "INCLUSAO MANUAL DE CREDITO CLIENTE";

 private:
  [[nodiscard]] TOraSession& Sessao();
  // The paid payable entry of the title's discount.
  void LancarDescontoTitulo(const TContasReceberZTPrest& titulo);
};
