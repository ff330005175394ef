#pragma once

#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "accountsplit/Uclsfin_rateiocontas.h"
#include "oradb/TOraQuery.h"
#include "rtl/Exception.h"
#include "rtl/Formatacao.h"
#include "sdk/IGerenteFinanceiro.h"
#include "support/TestHost.h"

namespace accountsplit_it {

// A description of exactly `largura` characters, accented, so a cut that splits a character shows.
inline std::string Longa(const std::string& inicio, std::size_t largura) {
  std::string texto = inicio;
  while (CharCount(texto) < largura) texto += "Ç";
  return texto;
}

// Branch "5" works with cost centers; user 1 may use group 95 and cost centers RC1, RC2 (RC3 is
// listed but not the user's; RC9 is inactive). Accounts, all working with cost centers unless said:
//   9501 ENERGIA, group 95, standard RC1 50% / RC2 50% (and the inactive RC9)
//   9502 ALUGUEL, group 95, standard RC1 33.33% / RC2 33.33% / RC3 33.34%
//   9503 TARIFAS, no group, no cost centers
//   9504 a 60-character description, group 95, no standard cost centers
// Named apportionments: 950 = 9501 33.33% + 9502 33.33% + 9503 33.34%; 951 = 9501 50% + 9504 50%;
// 952 has an item whose account is not a number; 953 names an account that is not registered.
class RateioContasTest : public testsupport::HostTest {
 protected:
  void SetUp() override {
    testsupport::HostTest::SetUp();
    Exec("INSERT INTO ZTGRUPO (CODGRUPO, GRUPO) VALUES (95, 'DESPESAS RATEADAS')");
    Exec(
        "INSERT INTO ZTCONTA (CODCONTA, CONTA, GRUPOCONTA, USARATEIOCENTROCUSTO) VALUES (9501, 'ENERGIA', 95, 'S'), "
        "(9502, 'ALUGUEL', 95, 'S'), (9503, 'TARIFAS', NULL, 'N'), (9504, '" +
        Longa("DESPESAS GERAIS ", 60) + "', 95, 'S')");
    Exec(
        "INSERT INTO ZTCENTROCUSTO (CODIGOCENTROCUSTO, DESCRICAO, ATIVO, RECEBE_LANCTO) VALUES ('RC1', 'UM', 'S', "
        "'S'), ('RC2', 'DOIS', 'S', 'S'), ('RC3', '" +
        Longa("TRES ", 80) + "', 'S', 'S'), ('RC9', 'INATIVO', 'N', 'S')");
    Exec(
        "INSERT INTO ZTLIB (CODTABELA, CODFUNC, CODIGOA, CODIGON) VALUES (10, 1, 'RC1', NULL), (10, 1, 'RC2', NULL), "
        "(6, 1, NULL, 95)");
    Exec(
        "INSERT INTO ZTCONTACENTROCUSTO (CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO) VALUES (9501, 'RC1', 50), "
        "(9501, 'RC2', 50), (9501, 'RC9', 10), (9502, 'RC1', 33.33), (9502, 'RC2', 33.33), (9502, 'RC3', 33.34)");
    Exec(
        "INSERT INTO ZTITENSRATEIOPADRAOCONTA (CODRATEIOCONTA, CODIGOCONTA, PERCENTUAL) VALUES (950, '9502', 33.33), "
        "(950, '9503', 33.34), (950, '9501', 33.33), (951, '9504', 50), (951, '9501', 50), (952, '9501', 50), "
        "(952, 'ABC', 50), (953, '9501', 50), (953, '9599', 50)");
    Exec("INSERT INTO ZTFORNEC (CODFORNEC, FORNECEDOR) VALUES (9501, 'FORNECEDOR DO RATEIO')");
    SetParametro("UTILIZACENTROCUSTO", "S", "5");
  }

  [[nodiscard]] IFin_RateioContas& Area() { return *Financeiro().GetRateioContas(); }
  [[nodiscard]] TValidaRateioConta& Sub() { return dynamic_cast<TValidaRateioConta&>(Area()); }
  [[nodiscard]] std::vector<std::string> Mensagens() { return Sub().GetValidador().Lines(); }

  [[nodiscard]] static TDateTime Dia(int dia) { return TDateTime::EncodeDate(2030, 5, dia); }

  // The proposal of `valor` by apportionment `codigo`, without the form.
  bool Propor(double codigo, double valor, double desconto = 0, double juros = 0, double devolucao = 0,
              bool form = false) {
    return Area().ProcessoRateioConta(true, tlFinanceiro, "5", codigo, valor, Dia(10), 1, form, desconto, juros,
                                      devolucao);
  }

  // A payable entry every rule accepts, to be split.
  [[nodiscard]] static RFin_IncluirContasPagar Registro(double valor) {
    RFin_IncluirContasPagar registro;
    registro.Inicializar();
    registro.TIPOLANC = "C";
    registro.VALOR = valor;
    registro.HISTORICO = "CONTA DE CONSUMO RATEADA";
    registro.TIPOPARCEIRO = "F";
    registro.CODFORNEC = 9501;
    registro.CODFILIAL = "5";
    registro.DTLANC = Dia(10);
    registro.DTVENC = Dia(20);
    registro.DTEMISSAO = Dia(10);
    return registro;
  }

  // The rows of a query, each as "column:column", separated by blanks.
  [[nodiscard]] std::string Todas(const std::string& sql) {
    TOraQuery consulta(&Session());
    consulta.SQL.Add(sql);
    consulta.Open();
    std::string texto;
    for (; !consulta.Eof(); consulta.Next()) {
      if (!texto.empty()) texto += ' ';
      for (std::size_t i = 0; i < consulta.FieldCount(); ++i) {
        texto += (i > 0 ? ":" : "") + consulta.Fields(i).AsString();
      }
    }
    return texto;
  }

  // The visible rows of a dataset, each as "column:column", separated by blanks.
  [[nodiscard]] static std::string Linhas(TDataSet& dados, const std::vector<const char*>& colunas) {
    std::string texto;
    for (dados.First(); !dados.Eof(); dados.Next()) {
      if (!texto.empty()) texto += ' ';
      for (std::size_t i = 0; i < colunas.size(); ++i)
        texto += (i > 0 ? ":" : "") + dados.FieldByName(colunas[i]).AsString();
    }
    dados.First();
    return texto;
  }

  [[nodiscard]] static std::string Lista(const std::vector<double>& numeros) {
    std::string texto;
    for (const double numero : numeros) texto += (texto.empty() ? "" : ",") + ShortestDecimal(numero);
    return texto;
  }
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

}  // namespace accountsplit_it
