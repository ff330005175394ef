#pragma once

#include <string>

#include "oradb/TOraQuery.h"
#include "oradb/TOraSession.h"
#include "sdk/IGerenteFinanceiro.h"
#include "sdk/TBase.h"
#include "support/Failure.h"
#include "support/TestHost.h"

namespace costcenter_it {

// The rows of a query as "column:column ..." separated by blanks.
inline std::string Todas(TOraSession& sessao, const std::string& sql) {
  TOraQuery consulta(&sessao);
  consulta.SQL.Add(sql);
  consulta.Open();
  std::string texto;
  for (; !consulta.Eof(); consulta.Next()) {
    if (!texto.empty()) texto += ' ';
    for (std::size_t i = 0; i < consulta.FieldCount(); ++i) texto += (i > 0 ? ":" : "") + consulta.Fields(i).AsString();
  }
  return texto;
}

// Branch "9" works with cost centers. Cost centers T1..T3 are active and usable by user 1, T4 is
// inactive, T5 is not the user's. Account 910001 works with cost centers and its standard
// apportionment is T1 33.33%, T2 33.33%, T3 33.34% (plus T4 and T5, never proposed); account
// 910002 works with cost centers without a standard apportionment; 910009 does not work with them.
class CentroCustoTest : public testsupport::HostTest {
 protected:
  void SetUp() override {
    testsupport::HostTest::SetUp();
    Exec(
        "INSERT INTO ZTCENTROCUSTO (CODIGOCENTROCUSTO, DESCRICAO, ATIVO, RECEBE_LANCTO) VALUES ('T1', 'UM', 'S', 'S'), "
        "('T2', 'DOIS', 'S', 'S'), ('T3', 'TRES', 'S', NULL), ('T4', 'INATIVO', 'N', 'S'), ('T5', 'ALHEIO', 'S', 'S')");
    Exec(
        "INSERT INTO ZTLIB (CODTABELA, CODFUNC, CODIGOA) VALUES (10, 1, 'T1'), (10, 1, 'T2'), (10, 1, 'T3'), "
        "(10, 1, 'T4'), (10, 2, 'T5')");
    Exec(
        "INSERT INTO ZTCONTA (CODCONTA, CONTA, USARATEIOCENTROCUSTO) VALUES (910001, 'RATEADA', 'S'), "
        "(910002, 'SEM PADRAO', 'S'), (910009, 'SEM RATEIO', 'N')");
    Exec(
        "INSERT INTO ZTCONTACENTROCUSTO (CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO) VALUES (910001, 'T1', 33.33), "
        "(910001, 'T2', 33.33), (910001, 'T3', 33.34), (910001, 'T4', 10), (910001, 'T5', 10)");
    SetParametro("UTILIZACENTROCUSTO", "S", "9");
  }

  [[nodiscard]] IFin_CentroCusto& Area() { return *Financeiro().GetCentroCusto(); }
  [[nodiscard]] TStringList& Validador() { return dynamic_cast<TBaseSubModulo&>(Area()).GetValidador(); }
  [[nodiscard]] IFin_ContasPagar& ContasPagar() { return *Financeiro().GetContasPagar(); }
  [[nodiscard]] std::string Todas(const std::string& sql) { return costcenter_it::Todas(Session(), sql); }

  // A payable entry of branch 9 (in ZTLANC, or ZTLANCBLOQ when held) due and posted on `data`.
  void Lancamento(int recnum, int conta, double valor, const std::string& data = "2026-03-10",
                  const std::string& tabela = "ZTLANC") {
    Exec("INSERT INTO " + tabela + " (RECNUM, CODFILIAL, CODCONTA, VALOR, DTLANC, DTVENC, HISTORICO) VALUES (" +
         std::to_string(recnum) + ", '9', " + std::to_string(conta) + ", " + std::to_string(valor) + ", TO_DATE('" +
         data + "', 'YYYY-MM-DD'), TO_DATE('" + data + "', 'YYYY-MM-DD'), 'TESTE')");
  }

  // A saved apportionment row of a payable entry of branch 9.
  void Rateio(int recnum, int conta, const std::string& centro_custo, double percentual, double valor,
              const std::string& tabela = "ZTRATEIOCENTROCUSTO") {
    Exec("INSERT INTO " + tabela +
         " (RECNUM, CODCONTA, CODIGOCENTROCUSTO, PERCRATEIO, VALOR, CODFILIAL, CONTRAPARTIDA) VALUES (" +
         std::to_string(recnum) + ", " + std::to_string(conta) + ", '" + centro_custo + "', " +
         std::to_string(percentual) + ", " + std::to_string(valor) + ", '9', 'N')");
  }

  // The saved rows of an entry as "CC:column:column ..." in cost-center order.
  [[nodiscard]] std::string Linhas(int recnum, const std::string& colunas = "VALOR",
                                   const std::string& tabela = "ZTRATEIOCENTROCUSTO") {
    return Todas("SELECT CODIGOCENTROCUSTO, " + colunas + " FROM " + tabela +
                 " WHERE RECNUM = " + std::to_string(recnum) + " ORDER BY 1");
  }

  static TDateTime Data(int ano, int mes, int dia) { return TDateTime::EncodeDate(ano, mes, dia); }

  // A payable entry to apportion: by default of account 910001 in branch 9 on 2026-03-10, saved
  // without the form.
  struct Lancto {
    double recnum = 0;
    double valor = 0;
    std::string conta = "910001";
    std::string filial = "9";
    bool form = false;
    bool permitir = false;  // posting above the budget allowed
    TDateTime data = Data(2026, 3, 10);
    TDateTime vencimento = data;
    TDateTime competencia = data;
  };
  bool Processar(const Lancto& l) {
    return Area().ProcessoCentroCusto(false, tlFinanceiro, l.filial, l.conta, l.recnum, l.valor, l.data, l.form, "N", 0,
                                      l.permitir, l.competencia, l.vencimento, false);
  }
  bool Apportion(double recnum, double valor, const std::string& conta = "910001") {
    return Processar({.recnum = recnum, .valor = valor, .conta = conta});
  }
};

}  // namespace costcenter_it
