#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "customercredit/Uclsfin_bllcreditocliente.h"
#include "customercredit/Uclsfin_dalcreditocliente.h"
#include "oradb/TOraQuery.h"
#include "rtl/Formatacao.h"
#include "sdk/ZTCore.h"
#include "support/TestHost.h"

namespace creditotest {

using Textos = std::vector<std::string>;

// Credits of these tests: customer 8801 (and 8802), branch "1", cash account 9961, management
// account 3101, titles of sale transactions 880100 and up. Every test runs in its own transaction,
// rolled back; the log rows, committed apart, carry the test's own history mark. Block files go
// to a spool folder of the test's own.
class CreditoClienteTest : public testsupport::HostTest {
 protected:
  static constexpr double kCliente = 8801;
  static constexpr double kOutroCliente = 8802;
  static constexpr int kCaixa = 9961;
  static constexpr double kConta = 3101;

  void SetUp() override {
    testsupport::HostTest::SetUp();
    FProdAnterior = DiretorioProd(-1);
    FSpoolAnterior = DiretorioSpool(-1);
    FSpool = std::filesystem::temp_directory_path() /
             ("quorvin-credito-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::filesystem::create_directories(FSpool);
    DefinirDiretorios(FProdAnterior, FSpool.string());
    FMarca = "T" + std::to_string(std::chrono::system_clock::now().time_since_epoch().count() % 100000000000LL);
    Exec(
        "INSERT INTO ZTEMPR (MATRICULA, NOME, NOME_GUERRA, TIPO, SITUACAO) SELECT 1, 'OPERADOR', 'OPERADOR UM', "
        "'F', 'A' FROM DUAL WHERE NOT EXISTS (SELECT 1 FROM ZTEMPR WHERE MATRICULA = 1)");
    Exec("INSERT INTO ZTBANCO (CODBANCO, NOME) VALUES (9961, 'CAIXA CREDITOS')");
  }

  void TearDown() override {
    DefinirDiretorios(FProdAnterior, FSpoolAnterior);
    std::error_code ignorado;
    std::filesystem::remove_all(FSpool, ignorado);
    testsupport::HostTest::TearDown();
  }

  [[nodiscard]] IFin_CreditoCliente& Credito() { return *Financeiro().GetCreditoCliente(); }
  [[nodiscard]] IFin_BaixaTituloComoCredito& BaixaTitulo() {
    return dynamic_cast<IFin_BaixaTituloComoCredito&>(Credito());
  }

  // A credit of `valor` for the customer, its money side a cash movement on account 9961.
  [[nodiscard]] TCreditoCliente PorCaixa(double valor, double cliente = kCliente) {
    TCreditoCliente c(cliente, valor, "1");
    c.NUMNOTA = 4455;
    c.HISTORICO = "DEVOLUCAO " + FMarca;
    c.Movimentacao = Caixa();
    return c;
  }

  // The cash movement on account 9961.
  [[nodiscard]] static TMovimentacaoFinanceira Caixa() {
    TMovimentacaoFinanceira m;
    m.Tipo = TTipoMovimentacaoFinanceira::tMovimentarNumerario;
    m.CodigoCaixaBanco = kCaixa;
    m.CodigoCobranca = "D";
    return m;
  }

  // A credit included by cash; answers its code.
  double Incluido(double valor, double cliente = kCliente) {
    TCreditoCliente c = PorCaixa(valor, cliente);
    std::string mensagem;
    EXPECT_TRUE(Credito().IncluirCreditoCliente(c, mensagem)) << mensagem;
    return c.CODIGO;
  }

  // An open title of the customer.
  void Titulo(double numtransvenda, const std::string& prest, double valor, double cliente = kCliente,
              const std::string& extra_colunas = "", const std::string& extra_valores = "") {
    Exec("INSERT INTO ZTPREST (NUMTRANSVENDA, PREST, DUPLIC, CODFILIAL, CODCLI, CODCOB, VALOR" + extra_colunas +
         ") VALUES (" + ShortestDecimal(numtransvenda) + ", '" + prest + "', " +
         ShortestDecimal(numtransvenda - 880000) + ", '1', " + ShortestDecimal(cliente) + ", 'BK', " +
         ShortestDecimal(valor) + extra_valores + ")");
  }

  [[nodiscard]] static TContasReceberZTPrest Registro(double numtransvenda, const std::string& prest, double valor) {
    TContasReceberZTPrest t;
    t.NUMTRANSVENDA = numtransvenda;
    t.PREST = prest;
    t.DUPLIC = numtransvenda - 880000;
    t.VALOR = valor;
    t.CODCOB = "BK";
    t.CODCLI = kCliente;
    t.CODFILIAL = "1";
    return t;
  }

  // Each row of a query as its columns joined by '|' (NULL as ""), in the query's order.
  [[nodiscard]] Textos Linhas(const std::string& sql) {
    TOraQuery query(&Session());
    query.SQL.SetText(sql);
    query.Open();
    Textos linhas;
    for (query.First(); !query.Eof(); query.Next()) {
      std::string linha;
      for (std::size_t i = 0; i < query.FieldCount(); ++i) {
        if (i > 0) linha += "|";
        linha += query.Fields(i).IsNull() ? "" : query.Fields(i).AsString();
      }
      linhas.push_back(linha);
    }
    return linhas;
  }

  // The credits of the customer: value, used, reversed, history; by code.
  [[nodiscard]] Textos Creditos(double cliente = kCliente) {
    return Linhas(
        "SELECT VALOR, DECODE(DTDESCONTO, NULL, 'aberto', 'usado'), DECODE(DTESTORNO, NULL, '-', 'estornado'), "
        "HISTORICO FROM ZTCRECLI WHERE CODCLI = " +
        ShortestDecimal(cliente) + " ORDER BY CODIGO");
  }

  // The log steps of this test, in order.
  [[nodiscard]] Textos Passos() {
    return Linhas("SELECT OBSERVACOES FROM ZTLOGALTERACAODADOS WHERE OBSERVACOES2 LIKE '%" + FMarca +
                  "%' ORDER BY DATA, ROWID");
  }

  [[nodiscard]] std::string Contagem() {
    return Scalar(
        "SELECT (SELECT COUNT(*) FROM ZTCRECLI WHERE CODCLI IN (8801, 8802)) || '/' || "
        "(SELECT COUNT(*) FROM ZTMOVCR WHERE CODBANCO = 9961) || '/' || "
        "(SELECT COUNT(*) FROM ZTLANC WHERE CODFORNEC IN (8801, 8802)) FROM DUAL");
  }

  [[nodiscard]] bool ArquivoSalvo(const std::string& nome) const { return std::filesystem::exists(FSpool / nome); }

  std::string FMarca;
  std::filesystem::path FSpool;

 private:
  std::string FProdAnterior;
  std::string FSpoolAnterior;
};

}  // namespace creditotest
