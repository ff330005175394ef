#pragma once

#include <string>

#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/TBase.h"
#include "support/TestHost.h"

namespace costcenter_it {

// Branch "9" works with cost centers. Cost centers T1..T3 are active and usable by user 1, T4 is
// inactive, T5 is not the user's. Account 910001 works with cost centers and its standard
// apportionment is T1 33.33%, T2 33.33%, T3 33.34% (plus T4 and T5, never proposed); account
// 910002 works with cost centers without a standard apportionment; 910009 does not work with them.
class CentroCustoTest : public testsupport::HostTest {
 protected:
  void SetUp() override {
    testsupport::HostTest::SetUp();
    Exec(
        "INSERT INTO ZTCENTROCUSTO (CODIGOCENTROCUSTO, DESCRICAO, ATIVO, RECEBE_LANCTO) "
        "SELECT 'T1', 'UM', 'S', 'S' FROM DUAL UNION ALL SELECT 'T2', 'DOIS', 'S', 'S' FROM DUAL UNION ALL "
        "SELECT 'T3', 'TRES', 'S', NULL FROM DUAL UNION ALL SELECT 'T4', 'INATIVO', 'N', 'S' FROM DUAL UNION ALL "
        "SELECT 'T5', 'ALHEIO', 'S', 'S' FROM DUAL");
    for (const char* codigo : {"T1", "T2", "T3", "T4"}) {
      Exec(std::string("INSERT INTO ZTLIB (CODTABELA, CODFUNC, CODIGOA) VALUES (10, 1, '") + codigo + "')");
    }
    Exec("INSERT INTO ZTLIB (CODTABELA, CODFUNC, CODIGOA) VALUES (10, 2, 'T5')");
    Exec("INSERT INTO ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (910001, 'RATEADA', 'S')");
    Exec("INSERT INTO ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (910002, 'SEM PADRAO', 'S')");
    Exec("INSERT INTO ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (910009, 'SEM RATEIO', 'N')");
    Padrao(910001, "T1", 33.33);
    Padrao(910001, "T2", 33.33);
    Padrao(910001, "T3", 33.34);
    Padrao(910001, "T4", 10);
    Padrao(910001, "T5", 10);
    SetParametro("UTILIZACENTROCUSTO", "S", "9");
  }

  [[nodiscard]] IFin_CentroCusto& Area() { return *Financeiro().GetCentroCusto(); }
  [[nodiscard]] TStringList& Validador() { return dynamic_cast<TBaseSubModulo&>(Area()).GetValidador(); }
  [[nodiscard]] IFin_ContasPagar& ContasPagar() { return *Financeiro().GetContasPagar(); }

  void Padrao(int conta, const std::string& centro_custo, double percentual) {
    Exec("INSERT INTO ZTCONTACENTROCUSTO (CODCONTA, PERCRATEIO, CODIGOCENTROCUSTO) VALUES (" + std::to_string(conta) +
         ", " + std::to_string(percentual) + ", '" + centro_custo + "')");
  }

  // A payable entry (in ZTLANC, or ZTLANCBLOQ when held) with its due and accrual dates.
  void Lancamento(int recnum, int conta, double valor, const std::string& vencimento,
                  const std::string& competencia = {}, const std::string& tabela = "ZTLANC") {
    Exec("INSERT INTO " + tabela +
         " (RECNUM, CODFILIAL, CODCONTA, VALOR, DTLANC, DTVENC, DTCOMPETENCIA, HISTORICO) VALUES (" +
         std::to_string(recnum) + ", '9', " + std::to_string(conta) + ", " + std::to_string(valor) + ", TO_DATE('" +
         vencimento + "', 'YYYY-MM-DD'), TO_DATE('" + vencimento + "', 'YYYY-MM-DD'), " +
         (competencia.empty() ? std::string("NULL") : "TO_DATE('" + competencia + "', 'YYYY-MM-DD')") + ", 'TESTE')");
  }

  // A saved apportionment row of a payable entry.
  void Rateio(int recnum, int conta, const std::string& centro_custo, double percentual, double valor,
              const std::string& tabela = "ZTRATEIOCENTROCUSTO") {
    Exec("INSERT INTO " + tabela +
         " (RECNUM, CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO, VALOR, CODFILIAL, CONTRAPARTIDA) VALUES (" +
         std::to_string(recnum) + ", " + std::to_string(conta) + ", '" + centro_custo + "', " +
         std::to_string(percentual) + ", " + std::to_string(valor) + ", '9', 'N')");
  }

  // The saved rows of an entry as "CC=value ..." in cost-center order.
  [[nodiscard]] std::string Linhas(int recnum, const std::string& tabela = "ZTRATEIOCENTROCUSTO") {
    TOraQuery linhas(&Session());
    linhas.SQL.Add("SELECT CODIGOCENTROCUSTO, VALOR FROM " + tabela + " WHERE RECNUM = :RECNUM ORDER BY 1");
    linhas.ParamByName("RECNUM").SetAsInteger(recnum);
    linhas.Open();
    std::string texto;
    for (linhas.First(); !linhas.Eof(); linhas.Next()) {
      if (!texto.empty()) texto += ' ';
      texto += linhas.Fields(0).AsString() + "=" + linhas.Fields(1).AsString();
    }
    return texto;
  }

  // Overload 1 without form for a payable entry of account 910001 in branch 9.
  bool Apportion(double recnum, double valor, const std::string& conta = "910001", const std::string& filial = "9",
                 const std::string& contrapartida = "N", int principal = 0, bool lancar_bloqueado = false,
                 bool permitir = false) {
    const TDateTime data = TDateTime::EncodeDate(2026, 3, 10);
    return Area().ProcessoCentroCusto(false, tlFinanceiro, filial, conta, recnum, valor, data, false, contrapartida,
                                      principal, permitir, data, data, lancar_bloqueado);
  }

 private:
};

}  // namespace costcenter_it
