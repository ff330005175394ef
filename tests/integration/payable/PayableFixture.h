#pragma once

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "AreasDeTeste.h"
#include "payable/Uclsfin_contaspagar.h"
#include "sdk/Exception.h"
#include "sdk/Formatacao.h"
#include "support/TestHost.h"

namespace payabletest {

// The entries of these tests live in branch "1", account 3101, in May 2030 unless a test says
// otherwise; every test runs in its own transaction, rolled back at the end.
class PayableTest : public testsupport::HostTest {
 protected:
  static constexpr double kConta = 3101;
  static constexpr int kAno = 2030;
  static constexpr int kMes = 5;

  void SetUp() override {
    testsupport::HostTest::SetUp();
    // The cost-center tables the payable area reads and writes, when their area's schema is absent.
    Session().ExecuteScript(
        "CREATE TABLE IF NOT EXISTS ZTORCLAN (CODCONTA numeric(10), CODFILIAL varchar(2), ANO numeric(4),"
        " VLORCMES01 numeric(14,2), VLORCMES02 numeric(14,2), VLORCMES03 numeric(14,2), VLORCMES04 numeric(14,2),"
        " VLORCMES05 numeric(14,2), VLORCMES06 numeric(14,2), VLORCMES07 numeric(14,2), VLORCMES08 numeric(14,2),"
        " VLORCMES09 numeric(14,2), VLORCMES10 numeric(14,2), VLORCMES11 numeric(14,2), VLORCMES12 numeric(14,2));"
        "CREATE TABLE IF NOT EXISTS ZTRATEIOCENTROCUSTO (RECNUM numeric(10), CODCONTA numeric(10),"
        " CODIGOCENTROCUSTO varchar(40), CODCENTROCUSTO varchar(40), VALOR numeric(14,2), PERCRATEIO numeric(12,6),"
        " DTLANC timestamp(0), CONTRAPARTIDA varchar(1), RECNUMPRINC numeric(10), CODFILIAL varchar(2),"
        " ORCAMENTOEXCEDIDO varchar(1), CODFUNCAUTSUPLORC numeric(10), DATAAUTSUPLORC timestamp(0));"
        "CREATE TABLE IF NOT EXISTS ZTRATEIOCENTROCUSTOBLOQ (LIKE ZTRATEIOCENTROCUSTO);");
    Exec("INSERT INTO ZTFORNEC (CODFORNEC, FORNECEDOR) VALUES (501, 'PAPELARIA CENTRAL LTDA')");
  }

  [[nodiscard]] TContasPagar& ContasPagar() {
    auto* contas_pagar = dynamic_cast<TContasPagar*>(Financeiro().GetContasPagar());
    EXPECT_NE(contas_pagar, nullptr);
    return *contas_pagar;
  }

  [[nodiscard]] static TDateTime Dia(int dia, int mes = kMes, int ano = kAno) {
    return TDateTime::EncodeDate(ano, mes, dia);
  }

  // An entry every rule accepts (with the host's routine 0 and no parameters set).
  [[nodiscard]] RFin_IncluirContasPagar Valida() {
    RFin_IncluirContasPagar registro;
    registro.Inicializar();
    registro.RECNUM = Host().ProximoRecNum();
    registro.TIPOLANC = "C";
    registro.VALOR = 100;
    registro.CODCONTA = kConta;
    registro.HISTORICO = "MATERIAL DE ESCRITORIO";
    registro.TIPOPARCEIRO = "F";
    registro.CODFORNEC = 501;
    registro.CODFILIAL = "1";
    registro.DTLANC = Dia(10);
    registro.DTVENC = Dia(20);
    registro.DTEMISSAO = Dia(10);
    return registro;
  }

  CentroCustoDeTeste& InstalarCentroCusto() {
    auto* centro_custo = new CentroCustoDeTeste(&Host());  // owned by the host component
    Financeiro().SetCentroCusto(centro_custo);
    return *centro_custo;
  }

  NumerariosDeTeste& InstalarNumerarios() {
    auto* numerarios = new NumerariosDeTeste(&Host());
    Financeiro().SetMovimentacaoNumerarios(numerarios);
    return *numerarios;
  }

  [[nodiscard]] int Linhas(const std::string& tabela, double recnum) {
    return static_cast<int>(
        ScalarNumber("SELECT COUNT(*) FROM " + tabela + " WHERE RECNUM = " + ShortestDecimal(recnum)));
  }

  void Orcamento(double valor, const std::string& filial = "1", int mes = kMes) {
    const std::string coluna = std::string(mes < 10 ? "VLORCMES0" : "VLORCMES") + std::to_string(mes);
    Exec("INSERT INTO ZTORCLAN (CODCONTA, CODFILIAL, ANO, " + coluna + ") VALUES (3101, '" + filial + "', " +
         std::to_string(kAno) + ", " + ShortestDecimal(valor) + ")");
  }

  void PermitirRotina746() { Exec("INSERT INTO ZTPERMISSAO (MATRICULA, CODROTINA, CODPERMISSAO) VALUES (1, 746, 0)"); }
};

// Runs `acao` and checks that it fails with exactly this class and message.
inline void EsperarFalha(const std::function<void()>& acao, const std::string& classe, const std::string& mensagem) {
  try {
    acao();
    ADD_FAILURE() << "esperada a falha " << classe << ": " << mensagem;
  } catch (const Exception& erro) {
    EXPECT_EQ(erro.ClassName(), classe);
    EXPECT_EQ(erro.Message(), mensagem);
  }
}

}  // namespace payabletest
