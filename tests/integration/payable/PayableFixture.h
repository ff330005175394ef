#pragma once

#include <functional>
#include <string>
#include <vector>

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

  void SetUp() override {
    testsupport::HostTest::SetUp();
    Exec("INSERT INTO ZTFORNEC (CODFORNEC, FORNECEDOR) VALUES (501, 'PAPELARIA CENTRAL LTDA')");
  }

  [[nodiscard]] TContasPagar& ContasPagar() {
    auto* contas_pagar = dynamic_cast<TContasPagar*>(Financeiro().GetContasPagar());
    EXPECT_NE(contas_pagar, nullptr);
    return *contas_pagar;
  }

  [[nodiscard]] static TDateTime Dia(int dia, int mes = 5) { return TDateTime::EncodeDate(2030, mes, dia); }

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

  // The columns of one row as text ("" for NULL).
  [[nodiscard]] std::vector<std::string> Valores(const std::string& tabela, double recnum,
                                                 const std::vector<std::string>& colunas) {
    std::vector<std::string> valores;
    for (const std::string& coluna : colunas) {
      valores.push_back(Scalar("SELECT " + coluna + " FROM " + tabela + " WHERE RECNUM = " + ShortestDecimal(recnum)));
    }
    return valores;
  }
};

using Textos = std::vector<std::string>;

[[nodiscard]] inline std::string Repetir(const std::string& texto, int vezes) {
  std::string resultado;
  for (int i = 0; i < vezes; ++i) resultado += texto;
  return resultado;
}

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
